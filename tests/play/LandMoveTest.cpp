// Moving the party into its land and between worlds, on a World and a Play of
// the test's own: where the party stands
// after a world change, a load and a save; a new character's names and
// attributes; the groups' leaders; the waiting events and the spells of the
// dead, bounded; the "players" file refused when bad; stairs to another world
// and back; and the editor's new worlds, lands and world loads.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "events/GameEvent.h"
#include "items/ActiveSpells.h"
#include "items/Spell.h"
#include "platform/Message.h"
#include "play/PartyFixture.h"
#include "structures/Fixtures.h"
#include "support/Figures.h"
#include "support/HandWrittenRecord.h"

namespace {

namespace fs = std::filesystem;
using record_test::Bytes;
using worldfile_test::At;

// An event that answers what it is told and notes each run.
class ScriptedEvent : public CGameEvent {
public:
    ScriptedEvent(std::vector<std::string>* log, std::string name, int answer)
        : m_log(log), m_name(std::move(name)), m_answer(answer) {
        m_iStatus = 1;
    }
    int Execute() override {
        m_log->push_back(m_name);
        return m_answer;
    }
    std::vector<std::string>* m_log;
    std::string m_name;
    int m_answer;
};

// An event that moves the party into its land while it runs.
class MovingEvent : public ScriptedEvent {
public:
    MovingEvent(std::vector<std::string>* log, Play* play)
        : ScriptedEvent(log, "moves", 0), m_play(play) {}
    int Execute() override {
        m_log->push_back(m_name);
        m_play->MoveToLand();
        return 0;
    }
    Play* m_play;
};

class LandMove : public partytest::PlayPartyFixture {};

TEST_F(LandMove, AfterAWorldChangeThePartyStandsInRowsOfThreeFromTheFocusInItsOrder) {
    Open();
    PartyOf({"Ayla", "Rex", "Kit", "Bo"});
    ChangeWorld();
    EXPECT_EQ(world.m_pLeader.Get(), nullptr);
    const Position focus = At(20, 18, 30, 40);  // (3230, 2056)
    Focus(focus);
    ASSERT_EQ(play.MoveToLand(), 1);
    ExpectAt("Ayla", 3240, 2066);
    ExpectAt("Rex", 3260, 2066);
    ExpectAt("Kit", 3280, 2066);
    ExpectAt("Bo", 3240, 2086);
    // The leader leads, is controlled, holds slot 0 and its group is slot 1.
    World& w = world;
    Player* leader = w.m_pLeader.Get();
    ASSERT_NE(leader, nullptr);
    EXPECT_EQ(leader->m_strSpecialName, "Ayla");
    EXPECT_EQ(w.m_pControlPlayer.Get(), leader);
    EXPECT_EQ(w.m_Party[0].Get(), leader);
    EXPECT_EQ(w.m_Party[3]->m_strSpecialName, "Bo");
    EXPECT_EQ(w.GetGroupByNumber(1), leader->m_pGroup);
    EXPECT_FALSE(play.Travelling().IsPlacingParty());
    EXPECT_FALSE(play.Saves().IsLoadingGame());
}

TEST_F(LandMove, ALoadedGameKeepsThePartysPlacesUnlessANewCharacterIsMade) {
    Open();
    PartyOf({"Ayla", "Rex"});
    const Position ayla = At(24, 24, 20, 50), rex = At(24, 24, 60, 50);
    Focus(At(10, 10));
    Read(Store(), true);
    play.Travelling().SetLandMovePending(false);
    play.Saves().SetLoadingGame(1);
    play.MoveToLand();
    ExpectAt("Ayla", ayla.x, ayla.y);
    ExpectAt("Rex", rex.x, rex.y);
    EXPECT_FALSE(play.Saves().IsLoadingGame());

    // A new game: the new character stands in formation at the focus.
    const Position focus = At(10, 10, 0, 0);
    Read(Store(), true);
    Focus(focus);
    play.Travelling().SetLandMovePending(false);
    play.Saves().SetLoadingGame(1);
    play.PartyChoices().SetNewCharacterPending(1);
    play.MoveToLand();
    ExpectAt("Ayla", focus.x + 10, focus.y + 10);
    ExpectAt("Rex", focus.x + 30, focus.y + 10);
    EXPECT_FALSE(play.PartyChoices().IsNewCharacterPending());
}

TEST_F(LandMove, AfterASaveThePartyComesBackWhereItStood) {
    Open();
    PartyOf({"Ayla", "Rex"});
    Focus(At(10, 10));
    Store();
    ASSERT_TRUE(play.Travelling().IsLandMovePending());
    EXPECT_TRUE(Where("Ayla").empty());
    play.MoveToLand();
    ExpectAt("Ayla", At(24, 24, 20, 50).x, At(24, 24, 20, 50).y);
    ExpectAt("Rex", At(24, 24, 60, 50).x, At(24, 24, 60, 50).y);
    // The flag is the loop's to clear: a second move reads "players" again,
    // and the party is there once.
    play.MoveToLand();
    EXPECT_EQ(Where("Ayla").size(), 1u);
    EXPECT_EQ(Where("Rex").size(), 1u);
    EXPECT_EQ(world.m_pControlPlayer.Get(), world.m_pLeader.Get());
    EXPECT_EQ(world.m_pLeader->m_strSpecialName, "Ayla");
}

// A world larger than the window; the party's leader stood outside it. The
// first pass keeps the stored places and counts those it placed; a second
// pass goes on counting from there.
class LandMoveSecondPass : public LandMove {
protected:
    // Moves the party of Ayla and Rex, with `inner` placed in the window in a
    // group of their own inside the party (no leader of that group), and
    // checks where each named creature stands from the focus.
    void Move(std::vector<const char*> inner,
              const std::vector<std::tuple<const char*, int32_t, int32_t>>& at) {
        map.SetWorldSize(120, 100);
        root->bounds = {0, 0, 120, 100};
        Open();
        std::vector<Player*> p = PartyOf({"Ayla", "Rex"});
        auto* pair = inner.empty() ? nullptr : new Group("Group");
        if (pair) pair->m_iOwnGroupNum = -7, p[0]->m_pGroup->AddMemberDirect(pair);
        for (const char* name : inner) {
            Player* c = Creature(name, -7);
            pair->AddMemberDirect(c);
            Position pos = At(12, 12, 40, 40);
            ASSERT_EQ(map.AddHolder(pos, new ObjectHolder(pos, c)), 1);
        }
        for (Player* creature : p) creature->m_Position = At(60, 60);
        const Position focus = At(10, 10, 0, 0);
        Focus(focus);
        Store();
        play.MoveToLand();
        for (const auto& [name, dx, dy] : at) ExpectAt(name, focus.x + dx, focus.y + dy);
    }
};

TEST_F(LandMoveSecondPass, APartyWhoseLeaderStoodOutsideTheWindowComesToTheFocus) {
    Move({}, {{"Ayla", 50, 10}, {"Rex", 10, 30}});  // the first pass counted two
}

TEST_F(LandMoveSecondPass, AGroupInsideThePartyTakesItsOwnWhenThePartysLeaderIsOutside) {
    // First pass 0 to 3; the inner group again at 4 and 5; then the whole
    // party at 6 to 9.
    Move({"Kit", "Bo"}, {{"Ayla", 10, 50}, {"Rex", 30, 50}, {"Kit", 50, 50}, {"Bo", 10, 70}});
}

TEST_F(LandMove, AfterAMoveTheLeaderIsControlledAndMarkedSoAlone) {
    Open();
    std::vector<Player*> p = PartyOf({"Ayla", "Rex"});
    // Control had passed to Rex.
    p[0]->m_iPartySlot = 0;
    p[1]->m_iPartySlot = -1;
    world.m_pControlPlayer = p[1];
    play.MoveToLand();
    EXPECT_EQ(world.m_pControlPlayer.Get(), p[0]);
    EXPECT_LT(p[0]->m_iPartySlot, 0);
    EXPECT_EQ(p[1]->m_iPartySlot, 1);
}

TEST_F(LandMove, ANewCharacterWithoutNamesKeepsThoseOfActors234And235) {
    Open();
    std::vector<Player*> p = PartyOf({"Korr", "Kaleb"}, 234);
    p[1]->m_strMessageNode = "HELLO";
    ChangeWorld();
    play.PartyChoices().SetNewCharacter(Play::NewCharacterAttribute::kPlayerName, 0, "");
    play.PartyChoices().SetNewCharacter(Play::NewCharacterAttribute::kDogName, 0, "");
    play.PartyChoices().SetNewCharacterPending(1);
    play.PartyChoices().SetNewCharacter(Play::NewCharacterAttribute::kStrength, 61, "");
    play.PartyChoices().SetNewCharacter(Play::NewCharacterAttribute::kDexterity, 52, "");
    play.PartyChoices().SetNewCharacter(Play::NewCharacterAttribute::kIntelligence, 57, "");
    play.MoveToLand();
    Player* leader = world.m_pLeader.Get();
    ASSERT_NE(leader, nullptr);
    EXPECT_EQ(leader->m_strSpecialName, "Korr");
    EXPECT_EQ(play.PartyChoices().PlayerName(), "Korr");
    EXPECT_EQ(play.PartyChoices().DogName(), "Kaleb");
    EXPECT_EQ(creature_test::Figures(*leader), std::tuple(61, 52, 57, 61, 52, 57));
    Player* dog = world.m_Party[1].Get();
    ASSERT_NE(dog, nullptr);
    EXPECT_EQ(dog->m_strSpecialName, "Kaleb");
    EXPECT_EQ(dog->m_strMessageNode, "DOGHELLO");

    // Chosen names are given.
    ChangeWorld();
    play.PartyChoices().SetNewCharacter(Play::NewCharacterAttribute::kPlayerName, 0, "Ayla");
    play.PartyChoices().SetNewCharacter(Play::NewCharacterAttribute::kDogName, 0, "Rex");
    play.PartyChoices().SetNewCharacterPending(1);
    play.MoveToLand();
    EXPECT_EQ(world.m_pLeader->m_strSpecialName, "Ayla");
    EXPECT_EQ(world.m_Party[1]->m_strSpecialName, "Rex");
}

TEST_F(LandMove, GroupsFindTheirLeadersByNumberAndHostileOnesTurnOnTheParty) {
    Group* wolves = GroupOf(2, "wolves", "Wolf", At(27, 26));
    Group* deer = GroupOf(3, "deer", "Doe", At(20, 26));
    Group* bears = GroupOf(4, "bears", "Bear", At(21, 20));
    Open();
    PartyOf({"Ayla"});
    Player* wolf = dynamic_cast<Player*>(wolves->Members().front());
    Player* doe = dynamic_cast<Player*>(deer->Members().front());
    ASSERT_TRUE(wolf && doe);
    wolves->m_iLeaderId = wolf->m_iPlayerNumber;
    deer->m_iLeaderId = -1;
    deer->m_pGroupLeader = doe;
    bears->m_iLeaderId = 1000000;  // beyond every actor
    wolves->m_iHostileMode = 1;
    play.MoveToLand();
    EXPECT_EQ(wolves->m_pGroupLeader.Get(), wolf);
    EXPECT_EQ(deer->m_pGroupLeader.Get(), nullptr);
    EXPECT_EQ(bears->m_pGroupLeader.Get(), nullptr);
    EXPECT_EQ(wolf->m_iHostileMode, 1);
    EXPECT_EQ(world.m_pLeader->m_iHostileMode, 1);
    EXPECT_EQ(doe->m_iHostileMode, 0);
}

TEST_F(LandMove, WaitingEventsRunUntilNoneChangesTheListAndALoopingOneIsCut) {
    Open();
    std::vector<std::string> log;
    auto& events = world.m_EventList;
    events.emplace_back(new ScriptedEvent(&log, "stays", 0));
    events.emplace_back(new ScriptedEvent(&log, "ends", -1));
    auto* idle = new ScriptedEvent(&log, "idle", 5);
    idle->m_iStatus = 0;
    events.emplace_back(idle);
    events.emplace_back(new ScriptedEvent(&log, "after", 0));
    play.MoveToLand();
    // The ended event goes and the walk starts again from the head.
    EXPECT_EQ(log, (std::vector<std::string>{"stays", "ends", "stays", "after"}));
    std::vector<std::string> left;
    for (const auto& e : events) left.push_back(static_cast<ScriptedEvent*>(e.get())->m_name);
    EXPECT_EQ(left, (std::vector<std::string>{"stays", "idle", "after"}));

    // An event that always claims a change: the move still ends.
    events.clear();
    log.clear();
    events.emplace_back(new ScriptedEvent(&log, "first", 0));
    events.emplace_back(new ScriptedEvent(&log, "loops", 1));
    play.MoveToLand();
    const auto loops = std::count(log.begin(), log.end(), "loops");
    EXPECT_GE(loops, 2);
    EXPECT_LE(loops, 4);
    EXPECT_EQ(events.size(), 2u);
}

TEST_F(LandMove, AnEventThatMovesThePartyLeavesTheWalkToTheMoveAlreadyRunning) {
    Open();
    std::vector<std::string> log;
    auto& events = world.m_EventList;
    events.emplace_back(new MovingEvent(&log, &play));
    events.emplace_back(new ScriptedEvent(&log, "ends", -1));
    play.MoveToLand();
    // The inner move ran no event; the outer walk went on past the mover.
    EXPECT_EQ(log, (std::vector<std::string>{"moves", "ends", "moves"}));
    EXPECT_EQ(events.size(), 1u);
}

TEST_F(LandMove, SpellsOfTheDeadThatCannotEndDoNotHoldTheLoad) {
    Open();
    std::vector<Player*> p = PartyOf({"Ayla", "Rex"});
    p[1]->m_sLifeState = 0;
    auto cast = std::make_unique<Spell>();
    cast->m_iCaster = p[1]->m_iPlayerNumber;
    world.m_ActiveSpells->Add(cast.release());
    auto on = std::make_unique<Spell>();
    on->m_iCaster = -1;
    on->m_Targets = {p[0]->m_iPlayerNumber, p[1]->m_iPlayerNumber};
    world.m_ActiveSpells->Add(on.release());
    play.Saves().SetLoadingGame(1);
    EXPECT_EQ(play.MoveToLand(), 1);
    EXPECT_FALSE(play.Saves().IsLoadingGame());
}

TEST_F(LandMove, TheEditorsPartyKeptInTheWorldStaysWhenPlayersIsNotRead) {
    Open();
    PartyOf({"Ayla", "Rex"});
    world.m_pLeader = nullptr;  // the editor works without a leader
    Read(Store(), false);
    play.Saves().SetSkipsPlayersFile(1);
    play.MoveToLand();
    EXPECT_EQ(Where("Ayla").size(), 1u);
    EXPECT_EQ(Where("Rex").size(), 1u);
}

TEST_F(LandMove, StairsToAnotherWorldAndBackLoseAndDoubleNoOne) {
    // World b: its own land with a bear.
    GroupOf(2, "wolves", "Wolf", At(27, 26));
    Open();
    OtherWorld(Creature("Bear", -1));
    PartyOf({"Ayla", "Rex", "Kit"});
    play.Saves().SetWorldFile("a.qvr");
    play.m_iStartState = 0;

    EXPECT_EQ(play.GoToWorld("b.qvr", 5, 6), 1);
    EXPECT_EQ(play.Saves().WorldFile(), "b.qvr");
    EXPECT_EQ(world.m_ptFocus.x, 5 * 160 + 10);
    EXPECT_EQ(world.m_ptFocus.y, 6 * 112 + 10);
    ExpectAt("Ayla", 820, 692);
    ExpectAt("Rex", 840, 692);
    ExpectAt("Kit", 860, 692);
    EXPECT_EQ(Where("Bear").size(), 1u);
    EXPECT_TRUE(Where("Wolf").empty());
    EXPECT_EQ(world.m_pLeader->m_strSpecialName, "Ayla");
    EXPECT_FALSE(play.Travelling().IsPlacingParty());
    EXPECT_TRUE(play.Travelling().IsRefreshPending());  // the loop refreshes the windows

    EXPECT_EQ(play.GoToWorld("a.qvr", 25, 24), 1);
    ExpectAt("Ayla", 25 * 160 + 20, 24 * 112 + 20);
    ExpectAt("Rex", 25 * 160 + 40, 24 * 112 + 20);
    ExpectAt("Kit", 25 * 160 + 60, 24 * 112 + 20);
    EXPECT_EQ(Where("Wolf").size(), 1u);
    EXPECT_TRUE(Where("Bear").empty());
    // Every creature is entered once among the actors.
    std::map<std::string, int> actors;
    for (Player* p : world.m_PlayerArray)
        if (p) ++actors[p->m_strSpecialName];
    for (const char* name : {"Ayla", "Rex", "Kit", "Wolf"}) EXPECT_EQ(actors[name], 1) << name;
    EXPECT_EQ(world.m_pLeader->m_pGroup->Members().size(), 3u);
}

TEST_F(LandMove, StairsThatNameNoWorldFileOfTheGameAreRefusedBeforeAnythingChanges) {
    Open();
    PartyOf({"Ayla"});
    play.Saves().SetWorldFile("a.qvr");
    for (const char* name : {"../a.qvr", "/etc/passwd", "sub\\b.qvr", "..", "missing.qvr", ""}) {
        messages.shown.clear();
        EXPECT_EQ(play.GoToWorld(name, 1, 1), 0) << name;
        EXPECT_EQ(messages.shown.size(), 1u) << name;
        EXPECT_EQ(Where("Ayla").size(), 1u) << name;
        EXPECT_FALSE(fs::exists(folder.Working("a.qvr"))) << name;
    }
    // Without a leader nothing happens.
    world.m_pLeader = nullptr;
    messages.shown.clear();
    EXPECT_EQ(play.GoToWorld("a.qvr", 1, 1), 0);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(LandMove, TheLoopTakesTheStairsItWasGiven) {
    Open();
    Bytes b = Store();
    qv::WriteWholeFile(folder.Working("b.qvr").string(), b);
    map.ReloadWindowAt(25, 24);
    PartyOf({"Ayla"});
    play.Saves().SetWorldFile("a.qvr");
    play.m_iStartState = 0;
    auto* stairs = new Stairs;
    stairs->m_strWorldFile = "b.qvr";
    stairs->m_iTargetX = 30;
    stairs->m_iTargetY = 20;
    auto* holder = new ObjectHolder(At(26, 26), stairs);
    ASSERT_EQ(map.AddHolder(holder->pos, holder), 1);
    play.Travelling().SetPendingWorld(stairs);
    int32_t now = 0;
    play.UpdateTick(&now);
    EXPECT_FALSE(play.Travelling().PendingWorld());
    EXPECT_EQ(play.Saves().WorldFile(), "b.qvr");
    ExpectAt("Ayla", 30 * 160 + 20, 20 * 112 + 20);
    EXPECT_FALSE(play.Travelling().IsChangingWorld());
}

// ---- The editor's worlds

TEST_F(LandMove, ALandFileNameIsAPlainNameChosenInTheDialog) {
    std::vector<Play::FileDialogRequest> asked;
    std::optional<std::string> answer;
    Play::EditorHooks hooks;
    hooks.chooseFile = [&](const Play::FileDialogRequest& r) {
        asked.push_back(r);
        return answer;
    };
    play.InstallEditor(std::move(hooks));
    std::string name = "Marsh";
    answer = std::nullopt;
    EXPECT_EQ(play.AskLandFileName(name), 0);
    EXPECT_EQ(name, "Marsh");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_TRUE(asked[0].save);
    EXPECT_EQ(asked[0].extension, "lnd");
    EXPECT_EQ(asked[0].proposed, "Marsh");
    EXPECT_EQ(asked[0].filter, "Land Files (*.lnd) | *.lnd;*.lnd ||");
    answer = "/home/builder/lands/marsh.lnd";
    EXPECT_EQ(play.AskLandFileName(name), 1);
    EXPECT_EQ(name, "marsh.lnd");
    answer = "C:\\lands\\..";
    EXPECT_EQ(play.AskLandFileName(name), 0);
    EXPECT_EQ(name, "marsh.lnd");
    play.InstallEditor({});
    EXPECT_EQ(play.AskLandFileName(name), 0);
}

TEST_F(LandMove, ANewWorldIsOneLandOfTheChosenSizeAndACancelChangesNothing) {
    Open();
    const int32_t width = map.worldcellx;
    std::optional<std::string> file;
    bool askWorld = false;
    Play::EditorHooks hooks;
    hooks.askNewWorld = [&](Play::NewWorldRequest& r) {
        EXPECT_EQ(r.width, 500);
        EXPECT_EQ(r.height, 500);
        r.name = "Isle";
        r.width = 60;
        r.height = 50;
        return askWorld;
    };
    hooks.chooseFile = [&](const Play::FileDialogRequest&) { return file; };
    play.InstallEditor(std::move(hooks));
    EXPECT_EQ(play.NewWorld(), 2);
    askWorld = true;
    EXPECT_EQ(play.NewWorld(), 2);  // the land's file was not chosen
    EXPECT_EQ(map.worldcellx, width);
    EXPECT_EQ(map.GetRootLand()->m_strSpecialName, "World");

    file = "isle.lnd";
    EXPECT_EQ(play.NewWorld(), 1);
    MapMaster& now = *world.map_master;
    EXPECT_EQ(now.worldcellx, 60);
    EXPECT_EQ(now.worldcelly, 50);
    EXPECT_EQ(world.m_ptFocus.x, 0);
    EXPECT_EQ(world.m_ptFocus.y, 0);
    EXPECT_EQ(play.Saves().SaveFolder(), "original\\");
    EXPECT_EQ(play.Saves().CurrentFolder(), folder.Base() + "tmp\\");
    ASSERT_TRUE(fs::exists(folder.Working("isle.lnd")));
    std::unique_ptr<Land> land = Land::ReadFile(folder.Working("isle.lnd").string());
    EXPECT_EQ(land->m_strSpecialName, "Isle");
    EXPECT_EQ(land->terraincode, 3);
    EXPECT_EQ(land->bounds.right, 60);
    EXPECT_EQ(land->bounds.bottom, 50);
    Land* root = now.GetRootLand();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->m_strSpecialName, "Isle");
    EXPECT_EQ(now.GetCell(0, 0).terrain, 3);
}

// The editor makes no world larger than the game can hold: the world in
// play stays as it was, and the builder is told the bounds.
TEST_F(LandMove, ANewWorldIsMadeUpToTheLargestTheGameHolds) {
    Open();
    struct Row {
        const char* rule;
        int32_t width, height;
        bool made;
    };
    const Row rows[] = {
        {"the largest square world", 4096, 4096, true},
        {"a row more than the largest", 4096, 4097, false},
        {"a column narrower than the window", 50, 48, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        const int32_t width = map.worldcellx;
        Play::EditorHooks hooks;
        hooks.askNewWorld = [&](Play::NewWorldRequest& q) {
            q.name = "Isle";
            q.width = r.width;
            q.height = r.height;
            return true;
        };
        hooks.chooseFile = [](const Play::FileDialogRequest&) {
            return std::optional<std::string>("isle.lnd");
        };
        play.InstallEditor(std::move(hooks));
        qv::ScriptedMessages messages;
        EXPECT_EQ(play.NewWorld(), r.made ? 1 : 2);
        const MapMaster& now = *world.map_master;
        if (r.made) {
            EXPECT_EQ(now.worldcellx, r.width);
            EXPECT_EQ(now.worldcelly, r.height);
            EXPECT_TRUE(messages.shown.empty());
            continue;
        }
        EXPECT_EQ(now.worldcellx, width);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0],
                  "A world of " + std::to_string(r.width) + " x " + std::to_string(r.height) +
                      " cells cannot be made: it takes at least 51 x 48, and at most 16777216 "
                      "cells.");
    }
}

TEST_F(LandMove, AnAddedLandIsWrittenToItsFileAndStreamedIn) {
    Open();
    auto pond = std::make_unique<Land>("Land");
    pond->SetName("Pond");
    pond->terraincode = 6;
    pond->bounds = {20, 20, 30, 28};
    play.AddLand(std::move(pond), "pond.lnd");
    EXPECT_TRUE(fs::exists(folder.Working("pond.lnd")));
    CellPoint wc;
    ASSERT_TRUE(map.CellToWindow({22, 22}, wc));
    ASSERT_NE(map.GetCell(wc.x, wc.y).land, nullptr);
    EXPECT_EQ(map.GetCell(wc.x, wc.y).land->m_strSpecialName, "Pond");
    EXPECT_EQ(map.GetCell(wc.x, wc.y).terrain, 6);
}

TEST_F(LandMove, LoadingAWorldAsksBeforeItTouchesTheWorkingFolder) {
    Open();
    play.Saves().SetWorldFile("a.qvr");
    const Bytes a = Store();
    map.ReloadWindowAt(25, 24);
    fs::create_directories(folder.dir / "original");
    qv::WriteWholeFile((folder.dir / "original" / "a.qvr").string(), a);
    qv::WriteWholeFile((folder.dir / "original" / "world.lnd").string(),
                       qv::ReadWholeFile(folder.Working("world.lnd").string()));
    qv::WriteWholeFile((folder.dir / "original" / "notes").string(), Bytes{1, 2, 3});
    qv::WriteWholeFile(folder.Working("notes").string(), Bytes{9});

    play.Saves().SetSkipsPlayersFile(1);  // the editor's world, without its party
    std::optional<std::string> chosen;
    Play::FileDialogRequest asked;
    Play::EditorHooks hooks;
    hooks.chooseFile = [&](const Play::FileDialogRequest& r) {
        asked = r;
        return chosen;
    };
    play.InstallEditor(std::move(hooks));
    EXPECT_EQ(play.OnLoadWorld(), 2);
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back(), "Load Cancelled");
    EXPECT_EQ(qv::ReadWholeFile(folder.Working("notes").string()), Bytes{9});
    EXPECT_FALSE(asked.save);
    EXPECT_EQ(asked.extension, "qvr");
    EXPECT_EQ(asked.proposed, "a.qvr");
    EXPECT_EQ(asked.filter, "Quorvale Files (*.qvr) | *.qvr;*.qvr ||");

    chosen = "/anywhere/a.qvr";
    EXPECT_EQ(play.OnLoadWorld(), 1);
    EXPECT_EQ((qv::ReadWholeFile(folder.Working("notes").string())), (Bytes{1, 2, 3}));
    EXPECT_EQ(play.Saves().WorldFile(), "a.qvr");
    EXPECT_EQ(play.Saves().SaveFolder(), "original\\");
    EXPECT_EQ(play.Saves().CurrentFolder(), folder.Base() + "tmp\\");

    // Reloading without asking takes the world in play.
    play.InstallEditor({});
    play.Saves().SetReloadsWithoutAsking(1);
    EXPECT_EQ(play.OnLoadWorld(), 1);
}

}  // namespace
