// F5 through the message loop: the quick save is refused during a fight and
// with any window open, saves nothing then, and otherwise fills the quick-save
// slot with a game that loads back.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <utility>
#include <vector>

#include "media/DDWnd.h"
#include "platform/Message.h"
#include "platform/MessageLoop.h"
#include "shell/WorldFileFixture.h"

namespace {

namespace fs = std::filesystem;
using worldfile_test::At;
using worldfile_test::WorldFileTest;

class QuickSaveKey : public WorldFileTest {
protected:
    QuickSaveKey() {
        qv::MessageLoop::Instance().Reset();
        qv::MessageLoop::Instance().SetMainHandler(&frame);
        NumberedGroup(2, "party");
        NumberedGroup(3, "wolves");
        Keep(Creature("Hero", 2), At(25, 24));
        Keep(Creature("Wolf", 3), At(27, 26));
        Keep(Thing("lamp"), At(24, 23));
        frame.m_World.m_ptFocus = {At(25, 24).x, At(25, 24).y};
        frame.m_Play.Saves().SetWorldFile("world.qvr");
        Open();
        hero = Named("Hero");
        wolf = Named("Wolf");
        frame.m_World.m_pLeader = hero;
    }
    ~QuickSaveKey() override { qv::MessageLoop::Instance().Reset(); }

    Player* Named(const std::string& name) {
        for (Player* p : frame.m_World.m_PlayerArray)
            if (p && p->m_strSpecialName == name) return p;
        return nullptr;
    }
    void F5() {
        qv::MessageLoop& loop = qv::MessageLoop::Instance();
        loop.Inject(qv::Event::Key(true, qv::VK_F5));
        loop.Inject(qv::Event::Key(false, qv::VK_F5));
        loop.PumpAll();
    }
    bool NothingSaved() const {
        return !fs::exists(folder.dir / "quicksave") &&
               frame.m_Play.Saves().Slots()[10].inUse == 0 &&
               frame.m_Play.Saves().Slots()[10].description.empty();
    }

    qv::ScriptedMessages messages;
    Player* hero = nullptr;
    Player* wolf = nullptr;
};

TEST_F(QuickSaveKey, DuringAFightOrWithAWindowOpenNothingIsSaved) {
    ASSERT_NE(hero, nullptr);
    ASSERT_NE(wolf, nullptr);
    // Each window or window flag alone refuses it, as a fight and the want
    // of a leader do.
    CDDWnd window;
    OpenWindows& w = frame.m_pGameWindows->Open();
    const std::vector<std::pair<const char*, std::function<void(bool)>>> rows = {
        {"a fight", [&](bool on) { hero->m_Opponents.assign(on ? 1 : 0, wolf); }},
        {"a conversation", [&](bool on) { w.m_pTalkWnd = on ? &window : nullptr; }},
        {"a trade", [&](bool on) { w.m_pTradeWnd = on ? &window : nullptr; }},
        {"the equipment", [&](bool on) { w.m_pEquipmentWnd = on ? &window : nullptr; }},
        {"the figures", [&](bool on) { w.m_bStatsOpen = on; }},
        {"the information", [&](bool on) { w.m_bInfoOpen = on; }},
        {"a container", [&](bool on) { frame.m_Play.Interacting().SetContainerOpen(on); }},
        {"no leader", [&](bool on) { frame.m_World.m_pLeader = on ? nullptr : hero; }},
    };
    for (const auto& [rule, open] : rows) {
        SCOPED_TRACE(rule);
        open(true);
        messages.shown.clear();
        F5();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown.back(), "Cannot QuickSave here.");
        EXPECT_TRUE(NothingSaved());
        open(false);
    }
}

TEST_F(QuickSaveKey, OtherwiseTheQuickSaveSlotHoldsAGameThatLoadsBack) {
    F5();
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back(), "QuickSave completed.");
    EXPECT_EQ(frame.m_Play.Saves().Slots()[10].inUse, 1);
    EXPECT_EQ(frame.m_Play.Saves().Slots()[10].description, "QuickSave");
    EXPECT_TRUE(frame.m_Play.m_bOptionsShown);
    EXPECT_EQ(frame.m_Play.Saves().CurrentSlot(), 10);
    EXPECT_TRUE(fs::exists(folder.dir / "quicksave" / "world.qvr"));
    EXPECT_TRUE(fs::exists(folder.dir / "quicksave" / "Position"));
    const auto table =
        savefile::ReadSaveSlotsFrom(qv::ReadWholeFile((folder.dir / "saved").string()), "saved");
    EXPECT_EQ(table[10].description, "QuickSave");
    EXPECT_EQ(table[10].inUse, 1);

    // The world changes; the quick save brings it back.
    Player* w = Named("Wolf");
    ASSERT_NE(w, nullptr);
    const int32_t hp = w->m_iHitPoints;
    w->m_iHitPoints = hp + 5;
    frame.m_World.m_ptFocus.x += 10;
    frame.m_Play.m_iStartState = 1;
    ASSERT_EQ(frame.m_Play.Saves().LoadSlot(10), 1);
    EXPECT_EQ(frame.m_Play.Saves().SaveFolder(), "quicksave\\");
    EXPECT_EQ(frame.m_World.m_ptFocus, (qv::Point{At(25, 24).x, At(25, 24).y}));
    w = Named("Wolf");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->m_iHitPoints, hp);
}

TEST_F(QuickSaveKey, ASaveThatCannotBeMadeIsNotReportedAsDone) {
    frame.m_Play.Saves().SetWorldFile("");
    F5();
    ASSERT_FALSE(messages.shown.empty());
    for (const std::string& text : messages.shown) EXPECT_NE(text, "QuickSave completed.");
    EXPECT_TRUE(NothingSaved());
}

}  // namespace
