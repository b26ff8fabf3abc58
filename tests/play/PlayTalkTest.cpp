// The start world's conversations, through their choices to each ending: what
// is said, what is offered, and what the talk changes in the world.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "PlayFixture.h"
#include "data/StartTalk.h"
#include "events/TalkScript.h"
#include "events/TalkScriptFile.h"
#include "items/Bag.h"
#include "items/Potions.h"
#include "items/Store.h"
#include "play/PlayTalk.h"
#include "world/ObjectHolder.h"

namespace {

using play_test::At;
using Lines = std::vector<std::string>;

// The yard: the leader and its dog, the villagers and the stall.
class StartTalk : public play_test::PlayFixture {
public:  // a table's rows each build a yard of their own
    void TestBody() override {}
    using PlayFixture::ask, PlayFixture::world, PlayFixture::play, PlayFixture::PlaceMember;
    StartTalk() {
        leader = PlaceMember(0, At(20, 20));
        leader->m_iPartySlot = -1;
        world.m_pLeader = leader;
        villagers = new Group;
        villagers->SetGroupNumber(-1);
        world.m_pAllGroups->AddMember(villagers);
        dog = PlaceMember(1, At(20, 21));
        dog->m_strSpecialName = "Kaleb";
        dog->m_strMessageNode = start_talk::kDogNode;
        miller = Villager("Miller", start_talk::kMillerNode, At(22, 20));
        miller->AddToBag(potion = new Potion(PotionType::Healing), 0);
        weaver = Villager("Weaver", start_talk::kWeaverNode, At(22, 22));
        keeper = Villager("Shop keeper", start_talk::kShopKeeperNode, At(21, 22));
        auto store = std::make_unique<Store>("Yard Stall");
        store->m_iStoreId = start_talk::kStoreId;
        play.Trade().AddStore(std::move(store));
        play.Talks().InstallTrade([this](Store& s, int32_t) { trades.push_back(s.m_iStoreId); });
        const std::string text = start_talk::Script();
        script = std::make_shared<const TalkScriptFile>(
            ReadTalkScript({text.begin(), text.end()}, start_talk::kScriptFile));
    }

    Player* Villager(const std::string& name, const std::string& node, const Position& at) {
        auto* p = new Player;
        p->m_strSpecialName = name, p->m_strMessageNode = node, p->m_Position = at;
        villagers->AddMember(p);
        Lay(p, at);
        return p;
    }
    int32_t Variable(const std::string& name) const {
        for (const auto& v : world.m_ScriptVariableList)
            if (v->m_strSpecialName == name) return v->m_iValue;
        return 0;
    }
    void SetVariable(const std::string& name, int32_t value) {
        auto v = std::make_unique<Object>(name);
        v->m_iValue = value;
        world.m_ScriptVariableList.push_back(std::move(v));
    }
    // What the talk changed, as one line.
    std::string Changes() const {
        std::ostringstream out;
        out << "Wolves=" << Variable(start_talk::kTaskVariable)
            << " WeaverJoined=" << Variable(start_talk::kJoinedVariable) << " party";
        for (const auto& member : world.m_Party)
            if (member) out << " " << member->m_strSpecialName << "@" << member->m_iPartySlot;
        out << " trades";
        for (int32_t id : trades) out << " " << id;
        out << " potion " << (miller->m_pBag->Contains(potion) ? "kept" : "")
            << (potion->m_pHolder ? "dropped" : "");
        return out.str();
    }

    Player *leader = nullptr, *dog = nullptr, *miller = nullptr, *weaver = nullptr,
           *keeper = nullptr;
    Potion* potion = nullptr;
    Group* villagers = nullptr;
    std::vector<int32_t> trades;
    std::shared_ptr<const TalkScriptFile> script;
    PlayTalkHost host{play};
};

// What a conversation shows, as one line: its lines, " ? ", its choices.
std::string Shown(const CTalkScript& talk) {
    auto join = [](const Lines& parts) {
        std::string out;
        for (const std::string& part : parts) out += (out.empty() ? "" : " / ") + part;
        return out;
    };
    return join(talk.Lines()) + " ? " + join(talk.Choices());
}

TEST(StartTalkRows, EachConversationOfTheYardRunsToWhatItChanges) {
    struct Row {
        const char* rule;
        Player* StartTalk::*speaker;
        int32_t wolves, joined;
        const char* choices;  // the choices taken, in turn
        std::string first;    // what the conversation opens with
        std::string last;     // after the last choice
        bool over;
        std::string changes;
    };
    const std::string none = "Wolves=0 WeaverJoined=0 party Korr@-1 Kaleb@1 trades potion kept";
    const std::string gone = " ? ";  // nothing said, nothing offered
    const std::string miller =
        "Good day to you, stranger. / Wolves come out of the woods to the south and take my sheep."
        " ? I will drive them off. / Farewell.";
    const std::string shop =
        "Welcome to my stall! Potions, blades and leather, all fairly priced. ? Show me your "
        "wares. / What news? / Farewell.";
    const std::vector<Row> rows = {
        {"the dog sits", &StartTalk::dog, 0, 0, "0",
         "The dog wags its tail and looks up at you. ? Sit! / Fetch! / Good dog.",
         "The dog sits and waits, ears pricked. ? Good dog.", false, none},
        {"the miller's task is taken", &StartTalk::miller, 0, 0, "0", miller,
         "Thank you! Take this for the road: you will need it more than I do. ? I will be careful.",
         false, "Wolves=1 WeaverJoined=0 party Korr@-1 Kaleb@1 trades potion dropped"},
        {"the miller waits for the task to be done", &StartTalk::miller, 1, 0, "0",
         "Good day to you, stranger. / Have you been to the woods yet? Mind their teeth. ? "
         "Farewell.",
         gone, true, "Wolves=1 WeaverJoined=0 party Korr@-1 Kaleb@1 trades potion kept"},
        {"the weaver before the task", &StartTalk::weaver, 0, 0, "0",
         "Mind the loom, it bites. / They say the miller needs a strong arm. ? Farewell.", gone,
         true, none},
        {"the weaver joins once the task is taken", &StartTalk::weaver, 1, 0, "0",
         "Mind the loom, it bites. / You are off to the woods? I know every path there. ? Come "
         "with us, then. / Farewell.",
         "Gladly. I will fetch my shawl. ? ", true,
         "Wolves=1 WeaverJoined=1 party Korr@-1 Kaleb@1 Weaver@2 trades potion kept"},
        {"the weaver in the party", &StartTalk::weaver, 1, 1, "",
         "Lead on, I am right behind you. ? ", "Lead on, I am right behind you. ? ", true,
         "Wolves=1 WeaverJoined=1 party Korr@-1 Kaleb@1 trades potion kept"},
        {"the shop keeper opens the stall", &StartTalk::keeper, 0, 0, "0", shop, "Come again! ? ",
         true, "Wolves=0 WeaverJoined=0 party Korr@-1 Kaleb@1 trades 1 potion kept"},
        {"the shop keeper's news, then the greeting again", &StartTalk::keeper, 1, 0, "1", shop,
         "So you took the miller's task? Buy a potion or two first. / " + shop, false,
         "Wolves=1 WeaverJoined=0 party Korr@-1 Kaleb@1 trades potion kept"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        StartTalk fresh;  // each ending from the same yard
        fresh.leader->m_strSpecialName = "Korr";
        if (row.wolves) fresh.SetVariable(start_talk::kTaskVariable, row.wolves);
        if (row.joined) fresh.SetVariable(start_talk::kJoinedVariable, row.joined);
        Player* speaker = fresh.*row.speaker;
        CTalkScript talk(fresh.world, fresh.host);
        ASSERT_TRUE(talk.Open(fresh.leader, speaker, fresh.script, speaker->m_strMessageNode));
        EXPECT_EQ(Shown(talk), row.first);
        for (const char* c = row.choices; *c; ++c) EXPECT_TRUE(talk.Choose(size_t(*c - '0')));
        EXPECT_EQ(Shown(talk), row.last);
        EXPECT_EQ(talk.IsOver(), row.over);
        EXPECT_EQ(fresh.Changes(), row.changes);
        EXPECT_TRUE(fresh.ask.told.empty());
    }
}

TEST(StartTalkRows, TheWeaverTakesTheFirstFreeSlotOrAFullPartyTurnsItAwayAndTellsWhy) {
    // The dog holds slot 1; the weaver takes the first free slot after it.
    struct Row {
        const char* rule;
        int freeSlot;  // 0: none
    };
    const Row rows[] = {
        {"a full party turns the weaver away", 0},
        {"only the last slot free: the weaver takes it", Play::kPartySlots - 1},
        {"only the first after the dog's free", 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        StartTalk fresh;
        for (int slot = 2; slot < Play::kPartySlots; ++slot)
            if (slot != r.freeSlot) fresh.PlaceMember(slot, At(19, 19 + slot));
        EXPECT_EQ(fresh.play.Talks().JoinParty(fresh.weaver), r.freeSlot ? 1 : 0);
        EXPECT_EQ(fresh.ask.told, r.freeSlot ? Lines{} : Lines{"The party is full."});
        EXPECT_EQ(fresh.weaver->m_pGroup == fresh.villagers, r.freeSlot == 0);
        EXPECT_EQ(fresh.weaver->m_iPartySlot, r.freeSlot);
        if (r.freeSlot) {
            EXPECT_EQ(fresh.world.m_Party[size_t(r.freeSlot)].Get(), fresh.weaver);
        }
        EXPECT_EQ(fresh.play.Talks().JoinParty(fresh.dog), 0) << "already in the party";
    }
}

TEST_F(StartTalk, AConversationAskedDuringTheTurnsOpensAfterThemWithItsListener) {
    std::vector<std::string> opened;
    play.Talks().InstallConversation([&](Player* listener, Player* speaker,
                                         const std::string& node) {
        opened.push_back((listener == leader ? std::string("leader") : listener->m_strSpecialName) +
                         " hears " + speaker->m_strSpecialName + " " + node);
    });
    play.AskConversation(leader, miller);
    world.m_OpenDeathTalk(leader, weaver);
    play.AskConversation(dog, miller);
    EXPECT_TRUE(opened.empty()) << "not during the turns";
    int32_t now = 0;
    play.RunWorld(&now);
    EXPECT_EQ(opened,
              (std::vector<std::string>{"leader hears Miller MILLER", "leader hears Weaver WEAVER",
                                        "Kaleb hears Miller MILLER"}));
    play.RunWorld(&now);
    EXPECT_EQ(opened.size(), 3u) << "each once";
    // A listener gone before the turns are over: that talk is dropped.
    play.AskConversation(weaver, miller);
    play.TakeHolderOffMap(weaver);
    weaver->m_pGroup->RemoveMember(weaver);
    delete weaver;
    weaver = nullptr;
    play.RunWorld(&now);
    EXPECT_EQ(opened.size(), 3u);
}

}  // namespace
