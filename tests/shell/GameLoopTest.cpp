// The game loop stepped tick by tick without a clock: game time, the pause
// bank, the clock and daylight, the turns of "All Groups", the spells and
// flying objects, the scroll step, and what stands still while a window is up.

#include <tuple>

#include "LoopFixture.h"
#include "items/ActiveSpells.h"
#include "items/Spell.h"
#include "media/DDWnd.h"
#include "media/DirectDraw.h"
#include "platform/GameTime.h"
#include "world/Land.h"

using namespace looptest;

namespace {

class GameLoop : public LoopFixture {};

TEST_F(GameLoop, GameTimeGoesOnByAHundredATickAndAThousandInFastTime) {
    EXPECT_EQ(frame->m_Play.m_iStartState, 1);
    Start();  // the first tick runs the world too
    EXPECT_EQ(frame->m_World.m_iGameTime, 100);
    Ticks(9);
    EXPECT_EQ(frame->m_World.m_iGameTime, 1000);
    EXPECT_EQ(frame->m_Play.m_iMusicTime, 1000);
    frame->m_World.m_bFastTime = 1;
    Ticks(3);
    EXPECT_EQ(frame->m_World.m_iGameTime, 4000);

    // Across the top of the count the time wraps and goes on.
    frame->m_World.m_bFastTime = 0;
    frame->m_World.m_iGameTime = 0x7FFFFFC0;
    Ticks(1);
    EXPECT_EQ(frame->m_World.m_iGameTime, static_cast<int32_t>(0x80000024u));
    EXPECT_EQ(qv::TimeDiff(frame->m_World.m_iGameTime, 0x7FFFFFC0), 100);
}

TEST_F(GameLoop, ThePauseBankFillsToItsCapAndAFullBankEndsAPauseAfter130Ticks) {
    Start();
    EXPECT_EQ(frame->m_Play.m_iPauseBudget, 100);
    Ticks(128);
    EXPECT_EQ(frame->m_Play.m_iPauseBudget, 12900);
    EXPECT_EQ(frame->PauseBarFill(), 12900 * 119 / 13000);  // 118, truncated
    Ticks(1);
    EXPECT_EQ(frame->m_Play.m_iPauseBudget, 13000);
    Ticks(5);
    EXPECT_EQ(frame->m_Play.m_iPauseBudget, 13000) << "the bank stops at its cap";
    EXPECT_EQ(frame->PauseBarFill(), 119);

    frame->m_Play.TogglePause();
    ASSERT_TRUE(frame->m_Play.m_bPaused);
    const int32_t stopped = frame->m_World.m_iGameTime;
    Ticks(129);
    EXPECT_TRUE(frame->m_Play.m_bPaused);
    EXPECT_EQ(frame->m_Play.m_iPauseBudget, 100);
    EXPECT_EQ(frame->m_World.m_iGameTime, stopped) << "no game time passes while paused";
    Ticks(1);
    EXPECT_FALSE(frame->m_Play.m_bPaused) << "the 130th paused tick empties the bank";
    EXPECT_EQ(frame->m_Play.m_iPauseBudget, 0);
    Ticks(1);
    EXPECT_EQ(frame->m_World.m_iGameTime, stopped + 100);
    EXPECT_EQ(frame->m_Play.m_iPauseBudget, 100);
}

TEST_F(GameLoop, InFastTimeAFullBankLasts13PausedTicks) {
    Start();
    frame->m_Play.m_iPauseBudget = 13000;
    frame->m_World.m_bFastTime = 1;
    frame->m_Play.TogglePause();
    Ticks(12);
    EXPECT_TRUE(frame->m_Play.m_bPaused);
    EXPECT_EQ(frame->m_Play.m_iPauseBudget, 1000);
    Ticks(1);
    EXPECT_FALSE(frame->m_Play.m_bPaused);
}

TEST_F(GameLoop, APauseWhilePickingATargetStays) {
    Start();
    frame->m_Play.Interacting().SetSelectMode(2);
    frame->m_Play.TogglePause();
    EXPECT_FALSE(frame->m_Play.m_bPaused);
    frame->m_Play.Interacting().SetSelectMode(0);
    frame->m_Play.Interacting().SetTabTarget(1);
    frame->m_Play.TogglePause();
    EXPECT_TRUE(frame->m_Play.m_bPaused);
    EXPECT_FALSE(frame->m_Play.Interacting().IsTabTarget());
}

TEST_F(GameLoop, TheClockAndDaylightFollowGameTimeAcrossMidnight) {
    map->sunlightmode = 1;
    frame->m_World.m_pTimeOfDay->m_sHour = 23;
    frame->m_World.m_pTimeOfDay->m_sMinute = 50;
    frame->m_World.m_bFastTime = 1;  // 1000 a tick: five minutes are 75 ticks
    Start();
    Ticks(73);
    EXPECT_EQ(frame->m_World.m_pTimeOfDay->m_sMinute, 50);
    Ticks(1);  // 75000
    EXPECT_EQ(frame->m_World.m_pTimeOfDay->m_sMinute, 55);
    EXPECT_EQ(map->daylight, MapMaster::DaylightForHour(23));
    Ticks(75);  // 150000
    EXPECT_EQ(frame->m_World.m_pTimeOfDay->m_sHour, 0);
    EXPECT_EQ(frame->m_World.m_pTimeOfDay->m_sMinute, 0);
    EXPECT_EQ(frame->m_World.m_pTimeOfDay->m_strTime, "00:00");
    EXPECT_EQ(map->daylight, MapMaster::DaylightForHour(0));
    // Five hours on, the daylight of dawn comes: the clock catches up with
    // a jump of game time in whole steps.
    frame->m_World.m_iGameTime += 5 * 12 * 75000 - 1000;
    Ticks(1);
    EXPECT_EQ(frame->m_World.m_pTimeOfDay->m_sHour, 5);
    EXPECT_EQ(map->daylight, 40);
}

TEST_F(GameLoop, CreaturesOfAllGroupsTakeTheirTurnsInOrderEveryTick) {
    Group* first = NewGroup();
    Group* second = NewGroup();
    Recorder* a = NewRecorder(first, "a");
    NewRecorder(first, "b");
    NewRecorder(second, "c");
    NewRecorder(frame->m_World.m_pRandomEncounters, "r");
    Start();
    // In the order of the lists: a member joins at the head of its group, so
    // the group made last goes first and "Random Encounters" last.
    EXPECT_EQ(log, (std::vector<std::string>{"c", "b", "a", "r"}));
    Ticks(2);
    EXPECT_EQ(log.size(), 12u);
    EXPECT_EQ(a->m_times, (std::vector<int32_t>{100, 200, 300}));

    // Paused, the turns go on at the time the world stopped.
    frame->m_Play.TogglePause();
    Ticks(2);
    EXPECT_EQ(a->m_times.back(), 300);
    EXPECT_EQ(a->m_times.size(), 5u);
}

TEST_F(GameLoop, APartyMemberOfSlots0To3WhoHasFallenBringsUpTheOptionsWindow) {
    // At the end of a tick, party slots 0 to 3 are looked at: a member whose
    // life state is below 1 shows the options window, a living one leaves
    // the world as it is. Nobody answers the window here: closed unanswered
    // after a death, with no way back to the game, it ends the program.
    qv::MessageLoop::Instance().SetSource(nullptr);
    int showings = 0;
    frame->m_Start.m_StartTrace = [&](const std::string& step) {
        if (step == "options window") ++showings;
    };
    frame->m_Play.m_bOptionsShown = 1;  // its first showing, at the start, is over
    Start();
    struct Row {
        const char* rule;
        size_t slot;
        int16_t lifeState;
        int showings;
    };
    const Row rows[] = {
        {"a living leader: the world as it is", 0, 1, 0},
        {"the leader at life state 0: the options window", 0, 0, 1},
        {"the leader below 0: the options window", 0, -1, 1},
        {"slot 3 fallen: the options window", 3, 0, 1},
        {"slot 3 living: nothing", 3, 1, 0},
        {"slot 4 fallen: not looked at", 4, 0, 0},
    };
    Group* group = NewGroup();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        auto* member = new Player;
        group->AddMember(member);
        member->m_sLifeState = r.lifeState;
        for (auto& slot : frame->m_World.m_Party) slot = nullptr;
        frame->m_World.m_Party[r.slot] = member;
        showings = 0;
        frame->OnTimer(CMainFrame::kTimerId);
        EXPECT_EQ(showings, r.showings);
        EXPECT_EQ(frame->m_bQuitRequested, r.showings);
        frame->m_bQuitRequested = 0;
        for (auto& slot : frame->m_World.m_Party) slot = nullptr;
    }
}

TEST_F(GameLoop, NothingRunsWhileAWindowThatStopsTheWorldIsUp) {
    Recorder* a = NewRecorder(NewGroup(), "a");
    Start();
    // A window to name; made here it would stand as the frame's modal popup.
    CDDWnd window;
    frame->m_pModalPopup = nullptr;
    frame->m_bModalPopup = 0;
    const auto popups = std::vector<std::function<void(bool)>>{
        [&](bool on) { frame->m_pGameWindows->Open().m_bStatsOpen = on; },
        [&](bool on) { frame->m_pGameWindows->Open().m_bInfoOpen = on; },
        [&](bool on) { frame->m_pGameWindows->Open().m_pTalkWnd = on ? &window : nullptr; },
        [&](bool on) { frame->m_pGameWindows->Open().m_pTradeWnd = on ? &window : nullptr; },
        [&](bool on) { frame->m_pGameWindows->Open().m_pEquipmentWnd = on ? &window : nullptr; },
        [&](bool on) { frame->m_Play.Interacting().SetContainerOpen(on); },
        [&](bool on) { frame->m_pGameWindows->Open().m_pContainerWnd = on ? &window : nullptr; },
    };
    for (size_t k = 0; k < popups.size(); ++k) {
        popups[k](true);
        const int32_t time = frame->m_World.m_iGameTime;
        const int32_t bank = frame->m_Play.m_iPauseBudget;
        Ticks(3);
        EXPECT_EQ(frame->m_World.m_iGameTime, time) << "window " << k;
        EXPECT_EQ(frame->m_Play.m_iPauseBudget, bank) << "window " << k;
        EXPECT_EQ(a->m_times.size(), 1 + k) << "window " << k;
        popups[k](false);
        Ticks(1);
        EXPECT_EQ(frame->m_World.m_iGameTime, time + 100) << "window " << k;
    }
    // The party panel and the inventory do not stop the world.
    frame->m_pGameWindows->Open().m_pInventoryWnd = &window;
    frame->m_pGameWindows->Open().m_pPartyPanel = &window;
    const int32_t time = frame->m_World.m_iGameTime;
    Ticks(1);
    EXPECT_EQ(frame->m_World.m_iGameTime, time + 100);
    frame->m_pGameWindows->Open().m_pInventoryWnd = nullptr;
    frame->m_pGameWindows->Open().m_pPartyPanel = nullptr;

    // Nor does anything run while the program is in the background.
    frame->m_bAppActive = 0;
    Ticks(2);
    EXPECT_EQ(frame->m_World.m_iGameTime, time + 100);
}

TEST_F(GameLoop, NoTickRunsInsideAnotherNorUnderAModalPopup) {
    Recorder* a = NewRecorder(NewGroup(), "a");
    Start();
    // A turn that reaches the loop again (as a message box's nested loop
    // would) gets nothing.
    int inner = 0;
    a->m_onTurn = [&] {
        const int32_t before = frame->m_World.m_iGameTime;
        frame->RunTick();
        inner += frame->m_World.m_iGameTime != before;
    };
    Ticks(2);
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(frame->m_World.m_iGameTime, 300);
    a->m_onTurn = nullptr;

    // Under a popup's own loop the frame's timer is not delivered at all.
    qv::ManualClock clock;
    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    loop.SetClock(&clock);
    ASSERT_TRUE(frame->StartTimer());
    loop.SetMainHandler(frame.get());
    CMessageWnd box("Are you sure?", CMessageWnd::Buttons::YesNo);
    int polls = 0;
    loop.SetIdleHook([&] {
        clock.Advance(CMainFrame::kTickMs);
        if (++polls == 10) box.EndPopup(CMessageWnd::kIdYes);
        return true;
    });
    loop.SetSource(nullptr);
    EXPECT_EQ(box.Popup(), CMessageWnd::kIdYes);
    EXPECT_EQ(frame->m_World.m_iGameTime, 300);
    // Once it is closed the timer drives the loop again.
    clock.Advance(CMainFrame::kTickMs);
    loop.PumpAll();
    EXPECT_EQ(frame->m_World.m_iGameTime, 400);
}

// A spell whose check is counted, and which may end others when checked.
class CountedSpell : public Spell {
public:
    int CheckExpired(int32_t now) override {
        ++m_checks;
        if (m_onCheck) m_onCheck();
        return Spell::CheckExpired(now);
    }
    int m_checks = 0;
    std::function<void()> m_onCheck;
};

TEST_F(GameLoop, FinishedSpellsLeaveTheListAndARemovalStartsTheWalkAgain) {
    Start();  // game time 100
    auto add = [&](int32_t duration) {
        auto s = std::make_unique<CountedSpell>();
        s->m_iStartTime = 0;
        s->m_iDuration = duration;
        CountedSpell* raw = s.get();
        frame->m_World.m_ActiveSpells->Add(s.release());
        return raw;
    };
    CountedSpell* first = add(10000);
    CountedSpell* ending = add(150);  // over once the time passes 150
    CountedSpell* last = add(10000);
    qv::Handle<Object> gone(ending);
    Ticks(1);  // time 200: the second spell ends; the walk starts again
    EXPECT_FALSE(gone);
    ASSERT_EQ(frame->m_World.m_ActiveSpells->Count(), 2u);
    EXPECT_EQ(first->m_checks, 2) << "checked again after the restart";
    EXPECT_EQ(last->m_checks, 1);

    // A check that ends another spell (the one being walked next) is safe.
    first->m_onCheck = [&] {
        first->m_onCheck = nullptr;
        frame->m_World.m_ActiveSpells->End(frame->m_World.m_ActiveSpells->Spells().back());
    };
    Ticks(1);
    ASSERT_EQ(frame->m_World.m_ActiveSpells->Count(), 1u);
    EXPECT_EQ(first->m_checks, 4);
}

// A missile that flies for a number of ticks, then asks to be taken away.
class Missile : public Object {
public:
    Missile(int ticks, int* gone) : m_ticks(ticks), m_gone(gone) {}
    ~Missile() override { ++*m_gone; }
    int Update(int32_t, MapMaster*) override { return --m_ticks > 0 ? 1 : -2; }
    int m_ticks;
    int* m_gone;
};

TEST_F(GameLoop, AFlyingObjectThatLandsIsTakenOffAndDeleted) {
    int gone = 0;
    frame->m_World.m_FlyingObjects.push_back(std::make_unique<Missile>(1, &gone));
    frame->m_World.m_FlyingObjects.push_back(std::make_unique<Missile>(3, &gone));
    Start();
    EXPECT_EQ(gone, 1);
    EXPECT_EQ(frame->m_World.m_FlyingObjects.size(), 1u);
    Ticks(2);
    EXPECT_EQ(gone, 2);
    EXPECT_TRUE(frame->m_World.m_FlyingObjects.empty());
}

TEST_F(GameLoop, AWorldChangeDuringTheGroupsTurnsEndsTheStepBeforeTheFlyingObjects) {
    Recorder* mover = NewRecorder(NewGroup(), "mover");
    int gone = 0;
    frame->m_World.m_FlyingObjects.push_back(std::make_unique<Missile>(2, &gone));
    Start();
    EXPECT_EQ(frame->m_World.m_FlyingObjects.size(), 1u);
    mover->m_answer = Object::kWorldChanged;
    Ticks(1);
    EXPECT_EQ(gone, 0) << "the missile did not fly this tick";
    mover->m_answer = 1;
    Ticks(1);
    EXPECT_EQ(gone, 1);
}

class Scrolling : public LoopFixture {
protected:
    // Holds the left button with the cursor at view point (vx, vy).
    void HoldAt(int vx, int vy) {
        frame->m_bLeftHeld = 1;
        frame->m_iButtonHeldTime = 1000;
        frame->m_ptCursor = {frame->m_View.m_ptViewOrigin.x + vx,
                             frame->m_View.m_ptViewOrigin.y + vy};
    }
    qv::Point Focus() const { return frame->m_World.m_ptFocus; }
};

TEST_F(Scrolling, TheCursorOnTheViewCentreTakesNoStep) {
    Start();
    const qv::Point before = Focus();
    HoldAt(268, 179);
    Ticks(3);
    EXPECT_EQ(Focus(), before);
}

TEST_F(Scrolling, WithoutALeaderTheViewMovesACellTowardTheCursorsSector) {
    Start();
    struct Row {
        const char* rule;
        int vx, vy;                              // the cursor in the view
        std::vector<std::pair<int, int>> steps;  // the focus's moves, step by step
    };
    // Up and to the left, |ny| between 0.25 and 0.75: the move (-2 ux, -uy),
    // taken as (-ux, 0) and (-ux, -uy) by turns; down and to the right the
    // halves are (+ux, 0) and (+ux, +uy).
    const Row rows[] = {
        {"up and to the left: by halves", 268 - 120, 179 - 80, {{-160, 0}, {-160, -112}}},
        {"down and to the right: by halves", 268 + 120, 179 + 80, {{160, 0}, {160, 112}}},
        {"right", 500, 180, {{160, 0}}},
        {"left", 10, 180, {{-160, 0}}},
        {"straight down the screen: south-east in the world", 268, 350, {{160, 112}}},
        {"straight up", 268, 10, {{-160, -112}}},
        {"the steep sector with nx > 0 above the centre: north only", 400, 60, {{0, -112}}},
        {"its like below the centre: south only", 100, 300, {{0, 112}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        HoldAt(r.vx, r.vy);
        for (const auto& [dx, dy] : r.steps) {
            const qv::Point before = Focus();
            frame->ScrollStep();
            EXPECT_EQ(std::pair(Focus().x - before.x, Focus().y - before.y), std::pair(dx, dy));
        }
    }
}

TEST_F(Scrolling, HoldingScrollsOnlyAfterMoreThan200AndALeaderIsSentWalking) {
    Recorder* leader = NewLeader();
    Start();
    frame->m_bLeftHeld = 1;
    frame->m_iButtonHeldTime = 0;
    frame->m_ptCursor = {frame->m_View.m_ptViewOrigin.x + 500,
                         frame->m_View.m_ptViewOrigin.y + 180};
    Ticks(1);  // 100 held
    EXPECT_EQ(leader->m_pOrder->m_iType, 0);
    Ticks(1);  // 200 held: not yet
    EXPECT_EQ(leader->m_pOrder->m_iType, 0);
    Ticks(1);  // 300 held
    EXPECT_EQ(leader->m_pOrder->m_iType, ObjectEventType::MOVE);
    EXPECT_EQ(leader->m_pOrder->m_iArg1, frame->m_World.m_ptFocus.x + 100);
    EXPECT_EQ(leader->m_pOrder->m_iArg2, frame->m_World.m_ptFocus.y);
    // The view itself waits for the leader to walk.
    EXPECT_EQ(frame->m_World.m_ptFocus.x, At(35, 34).x);
    // Let go: the walk request is cleared.
    frame->m_bLeftHeld = 0;
    Ticks(1);
    EXPECT_EQ(leader->m_pOrder->m_iType, 0);
    EXPECT_EQ(leader->m_pOrder->m_iArg1, 0);
}

TEST_F(GameLoop, WithNoLandUnderTheFocusTheAreaStepIsSkipped) {
    NewLeader();
    map->daylight = 33;
    map->sunlightmode = 0;
    frame->m_Play.m_iMusicTime = 6000;
    Start();
    Ticks(3);
    EXPECT_EQ(frame->m_Play.Travelling().CurrentLand(), nullptr);
    EXPECT_EQ(map->daylight, 33);
    EXPECT_EQ(frame->m_Play.m_iMusicTime, 6400) << "no music is chosen without a land";
}

TEST_F(GameLoop, TheLandUnderTheFocusSetsTheLightAndEvery5000TheMusic) {
    NewLeader();
    Land land;
    land.sunlight = 0;
    land.lightlevel = 40;
    land.tune = 3;
    land.combattune = 4;
    CellPoint w;
    ASSERT_TRUE(map->CellToWindow(MapMaster::PixelToCell(At(35, 34)), w));
    map->GetCell(w.x, w.y).land = &land;
    map->sunlightmode = 1;
    frame->m_Play.m_iMusicTime = 4800;
    Start();   // the first frame finds the focus cell; music time 4900
    Ticks(1);  // 5000: the land is found, but the music waits for more than 5000
    EXPECT_EQ(frame->m_Play.Travelling().CurrentLand(), &land);
    EXPECT_EQ(map->sunlightmode, 0);
    EXPECT_EQ(map->daylight, 41);
    EXPECT_EQ(frame->m_Play.m_iMusicTime, 5000);
    Ticks(1);  // 5100: the land's tune is chosen and the count starts again
    EXPECT_EQ(frame->m_Play.m_iMusicTime, 0);
    map->GetCell(w.x, w.y).land = nullptr;
}

TEST(DrawingErrors, EachCodeHasItsTextAndAnyOtherTheDefault) {
    EXPECT_EQ(DDErrorString(0), "");
    EXPECT_EQ(DDErrorString(0x887601C2u), "Direct Draw Surface Lost");
    EXPECT_EQ(DDErrorString(0x80070057u), "Direct Draw Invalid Parameters");
    EXPECT_EQ(DDErrorString(0x8007000Eu), "Direct Draw Default Error");
    EXPECT_EQ(DDErrorString(0x8876024Bu), "Direct Draw Default Error");
    EXPECT_EQ(DDErrorString(0x8876023Fu), "Direct Draw No Blit Hardware");
    EXPECT_EQ(DDRestoreErrorString(0), "");
    EXPECT_EQ(DDRestoreErrorString(0x8007000Eu), "Direct Draw Restore - Out of Memory");
    EXPECT_EQ(DDRestoreErrorString(0x8876024Cu),
              "Direct Draw Restore - Implicitly Created Surface");
    EXPECT_EQ(DDRestoreErrorString(0x887601C2u), "Direct Draw Restore Default Error");
    EXPECT_EQ(DDRestoreErrorString(0x88760037u), "Direct Draw Restore Default Error");
    EXPECT_EQ(DDRestoreErrorString(0x80004005u), "Direct Draw Restore - Generic Error");
}

}  // namespace

namespace {

class Formation : public LoopFixture {};

TEST_F(Formation, TheDefaultIsSetOnceAndRebasingPutsTheLeadersSlotAtTheCentre) {
    frame->m_Play.PartyChoices().InitFormation();
    EXPECT_TRUE(frame->m_Play.PartyChoices().IsFormationSet());
    EXPECT_EQ(frame->m_Play.PartyChoices().FormationOffsets()[4], (qv::Point{55, 40}));
    frame->m_Play.PartyChoices().SetFormationOffset(4, {1, 2});
    frame->m_Play.PartyChoices().InitFormation();
    EXPECT_EQ(frame->m_Play.PartyChoices().FormationOffsets()[4], (qv::Point{1, 2}))
        << "set once only";
    frame->m_Play.PartyChoices().SetFormationSet(false);
    frame->m_Play.PartyChoices().InitFormation();

    // Leader in slot 0: nothing moves; the rows are the quarter turns.
    Group* party = NewGroup();
    Player* members[4];
    for (auto& m : members) m = NewRecorder(party, "m");
    for (size_t i = 0; i < 4; ++i) frame->m_World.m_Party[i] = members[i];
    frame->m_World.m_pLeader = members[0];
    frame->m_Play.PartyChoices().RebaseFormation(frame->m_World);
    const auto& rows = frame->m_World.m_FormationRows;
    EXPECT_EQ(rows[0][1], (qv::Point{25, 25}));
    EXPECT_EQ(rows[1][1], (qv::Point{-25, 25}));
    EXPECT_EQ(rows[2][1], (qv::Point{-25, -25}));
    EXPECT_EQ(rows[3][1], (qv::Point{25, -25}));
    EXPECT_EQ(rows[1][5], (qv::Point{40, 55}));

    // Leader in slot 3 (40, 0): every offset moves by (-40, 0).
    frame->m_World.m_pLeader = members[3];
    frame->m_Play.PartyChoices().RebaseFormation(frame->m_World);
    EXPECT_EQ(frame->m_Play.PartyChoices().FormationOffsets()[3], (qv::Point{0, 0}));
    EXPECT_EQ(frame->m_Play.PartyChoices().FormationOffsets()[0], (qv::Point{-40, 0}));
    EXPECT_EQ(frame->m_Play.PartyChoices().FormationOffsets()[5], (qv::Point{15, -40}));
    EXPECT_EQ(rows[0][5], (qv::Point{15, -40}));
    EXPECT_EQ(rows[1][5], (qv::Point{40, 15}));

    // The row a member stands in follows the leader's facing.
    int32_t slot = -1, row = -1;
    members[3]->m_sFacing = 7;
    ASSERT_TRUE(frame->m_World.GetPartySlot(members[1], slot, row));
    EXPECT_EQ(slot, 1);
    EXPECT_EQ(row, 3);
}

TEST_F(GameLoop, AWoundAndADeathInAFightAreHeardFromTheFramesCombatSounds) {
    // A creature on the map that loses hit points plays the frame's combat
    // sound 1 (hurt); one that dies of it plays sound 2 (death) as well.
    ASSERT_EQ(frame->InitDirectSound(), 1);
    for (auto [rule, damage, death] : {std::tuple{"a wound", 5, false}, {"a death", 50, true}}) {
        SCOPED_TRACE(rule);
        for (auto& sound : frame->m_CombatSounds) sound.reset();
        auto* p = new Player;
        NewGroup()->AddMember(p);
        p->m_iHitPoints = p->m_iMaxHitPoints = 20;
        p->m_Position = At(35, 34);
        ASSERT_EQ(map->AddHolder(p->m_Position, new ObjectHolder(p->m_Position, p)), 1);
        p->TakeDamage(damage, 1);  // a plain blow, no fire, shock, cold or poison
        const auto heard = [&](const auto& s) { return s && s->IsPlaying(); };
        EXPECT_EQ(std::tuple(heard(frame->m_CombatSounds[1]), heard(frame->m_CombatSounds[2])),
                  std::tuple(true, death));
    }
}

}  // namespace
