// Ending the program: a handler that asks to quit returns at once and the
// frame stays whole until the event loop has ended; tearing the frame down
// from any state leaves nothing behind (run under the sanitizers, a leak or a
// use after free fails the test run).

#include <chrono>

#include "../world/MapFixture.h"
#include "LoopFixture.h"
#include "items/ActiveSpells.h"
#include "items/Spell.h"

using namespace looptest;

namespace {

class Shutdown : public LoopFixture {
protected:
    // A creature of a new group placed on the map.
    Player* PlacedCreature(Group* group, Position pos) {
        auto* p = new Player;
        group->AddMember(p);
        auto* holder = new ObjectHolder(pos, p);
        EXPECT_EQ(map->AddHolder(pos, holder), 1);
        return p;
    }
    // A world in full swing: a party on the map, a group kept aside, a
    // spell in effect, a missile in flight, a hovered creature, a walk
    // target and a carried object.
    void Populate() {
        Group* party = NewGroup();
        Player* a = PlacedCreature(party, At(35, 34, 40, 40));
        Player* b = PlacedCreature(party, At(36, 34));
        frame->m_World.m_Party[0] = a;
        frame->m_World.m_Party[1] = b;
        frame->m_World.m_pLeader = a;
        party->m_pGroupLeader = a;
        // The group kept aside is listed under "All Groups", which owns it.
        auto* aside = new Group;
        frame->m_World.m_pAllGroups->AddMember(aside);
        frame->m_World.m_pGroupTempStorage = aside;
        PlacedCreature(aside, At(37, 35));
        auto* spell = new Spell;
        spell->m_iDuration = 100000;
        frame->m_World.m_ActiveSpells->Add(spell);
        frame->m_World.m_FlyingObjects.push_back(std::make_unique<Object>("Arrow"));
        frame->m_World.m_pHoverHolder = b->m_pHolder;
        b->JoinPlayerSet(new ObjectHolder(At(38, 36), nullptr));
        auto* carried = new ObjectHolder(At(35, 35), new Object("Pouch"));
        EXPECT_EQ(map->AddHolder(carried->pos, carried), 1);
        frame->m_Play.Interacting().SetDragHolder(carried);
    }
};

TEST_F(Shutdown, AQuitAskedForDuringATurnEndsTheTickAndTheLoopNotTheFrame) {
    Group* group = NewGroup();
    Recorder* quitter = NewRecorder(group, "quitter");
    Start();
    int flights = 0;
    struct Counted : Object {
        explicit Counted(int* n) : m_n(n) {}
        int Update(int32_t, MapMaster*) override { return ++*m_n, 1; }
        int* m_n;
    };
    frame->m_World.m_FlyingObjects.push_back(std::make_unique<Counted>(&flights));
    Ticks(1);
    ASSERT_EQ(flights, 1);

    quitter->m_onTurn = [&] { frame->RequestQuit(0); };
    Ticks(1);
    EXPECT_TRUE(frame->m_bQuitRequested);
    EXPECT_EQ(flights, 1) << "the tick ends with the turn that asked";
    EXPECT_FALSE(qv::MessageLoop::Instance().HasTimer(CMainFrame::kTimerId));
    // Later ticks do nothing; the frame is still whole.
    const int32_t time = frame->m_World.m_iGameTime;
    Ticks(3);
    EXPECT_EQ(frame->m_World.m_iGameTime, time);
    EXPECT_EQ(quitter->m_times.size(), 3u);
    // The request reaches the loop once the handler has returned.
    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    EXPECT_FALSE(loop.IsQuitting());
    loop.SetSource(nullptr);
    loop.PumpAll();
    EXPECT_TRUE(loop.IsQuitting());
    EXPECT_EQ(loop.ExitCode(), 0);
    // Asking again changes nothing.
    frame->RequestQuit(3);
    EXPECT_EQ(frame->m_iQuitCode, 0);
}

TEST_F(Shutdown, TheTimerDrivesTheLoopUntilTheQuitRequest) {
    Recorder* quitter = NewRecorder(NewGroup(), "quitter");
    qv::ManualClock clock;
    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    loop.SetClock(&clock);
    loop.SetSource(nullptr);
    loop.SetMainHandler(frame.get());
    ASSERT_TRUE(frame->StartTimer());
    EXPECT_EQ(frame->m_nTimerID, static_cast<uint32_t>(CMainFrame::kTimerId));
    for (int i = 0; i < 5; ++i) {
        clock.Advance(CMainFrame::kTickMs);
        loop.PumpAll();
    }
    EXPECT_EQ(frame->m_World.m_iGameTime, 500);
    EXPECT_EQ(frame->m_Play.m_iStartState, 0);
    quitter->m_onTurn = [&] { frame->RequestQuit(0); };
    clock.Advance(CMainFrame::kTickMs);
    loop.PumpAll();
    EXPECT_TRUE(loop.IsQuitting());
    EXPECT_EQ(frame->m_nTimerID, 0u);
    EXPECT_EQ(frame->m_World.m_iGameTime, 600);
}

TEST_F(Shutdown, InTheRealWindowTheTimerTicksEvery50Milliseconds) {
    // The program's own loop on the system clock, reading the window (SDL's
    // dummy driver); the third turn asks to quit.
    Recorder* quitter = NewRecorder(NewGroup(), "quitter");
    quitter->m_onTurn = [&] {
        if (quitter->m_times.size() == 3) frame->RequestQuit(0);
    };
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(frame->RunMessageLoop(), 0);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                        std::chrono::steady_clock::now() - start)
                        .count();
    EXPECT_EQ(frame->m_World.m_iGameTime, 300);
    EXPECT_GE(ms, 149) << "three ticks take three periods of the timer";
}

TEST_F(Shutdown, FromBeforeTheFirstTick) {
    Populate();
}

TEST_F(Shutdown, FromRunningPlay) {
    Populate();
    Start();
    Ticks(3);
}

TEST_F(Shutdown, FromAPauseWithAWindowUp) {
    Populate();
    Start();
    frame->SetDragObject(frame->m_Play.Interacting().DragHolder());
    frame->m_pGameWindows->Open().m_bStatsOpen = 1;
    Ticks(2);
    EXPECT_TRUE(frame->m_Play.m_bPaused);
}

TEST_F(Shutdown, FromATickThatAskedToQuit) {
    Populate();
    Recorder* quitter = NewRecorder(NewGroup(), "quitter");
    Start();
    quitter->m_onTurn = [&] { frame->RequestQuit(0); };
    Ticks(1);
    EXPECT_TRUE(frame->m_bQuitRequested);
}

TEST_F(Shutdown, WhatTheFrameWaitsOnMayGoFirst) {
    Start();
    auto* pouch = new Object("Pouch");
    auto* holder = new ObjectHolder(At(35, 35), pouch);
    ASSERT_EQ(map->AddHolder(holder->pos, holder), 1);
    frame->SetDragObject(holder);
    auto* stairs = new Object("Stairs");
    auto* potion = new Object("Potion");
    frame->m_Play.Interacting().SetPendingItem(potion);
    frame->m_Play.Interacting().SetSelectMode(3);
    frame->m_Play.Travelling().SetPendingWorld(stairs);
    delete pouch;  // its holder goes with it
    delete potion;
    delete stairs;
    EXPECT_FALSE(frame->m_Play.Interacting().DragHolder());
    EXPECT_FALSE(frame->m_Play.Interacting().PendingItem());
    EXPECT_FALSE(frame->m_Play.Travelling().PendingWorld());
    // The ticks go on over the place where the pouch was.
    frame->m_ptCursor = {frame->m_View.m_rcView.left + 270, frame->m_View.m_rcView.top + 180};
    frame->m_Play.Interacting().SetSelectMode(0);
    frame->m_Play.m_bPaused = 0;
    const int32_t time = frame->m_World.m_iGameTime;
    Ticks(3);
    EXPECT_EQ(frame->m_World.m_iGameTime, time + 300);
}

TEST_F(Shutdown, TheGroupsLeaveTheMapBeforeItGoes) {
    Populate();
    Start();
    // Every creature still stands on the map while the groups are deleted;
    // the map, deleted after them, finds none of them left.
    std::vector<qv::Handle<ObjectHolder>> holders;
    for (int i = 0; i < MapMaster::wide; ++i)
        for (int j = 0; j < MapMaster::high; ++j)
            for (ObjectHolder* h : map->GetCell(i, j).holders)
                if (h->Type() == PLAYER) holders.emplace_back(h);
    ASSERT_EQ(holders.size() >= 3, true);
    frame->m_World.DeleteGroups();
    // The group kept aside is one of the tree's, so its creature went too.
    EXPECT_EQ(frame->m_World.m_pGroupTempStorage.Get(), nullptr);
    int left = 0;
    for (auto& h : holders)
        if (h) ++left;
    EXPECT_EQ(left, 0);
}

}  // namespace

namespace {

class Activation : public LoopFixture {};

TEST_F(Activation, InFullScreenNoGameTimePassesWhileTheProgramIsInTheBackground) {
    frame->m_bWindowed = 0;
    ASSERT_EQ(frame->InitDirectDraw(0), 1);
    Start();
    ASSERT_TRUE(frame->StartTimer());
    frame->OnActivateApp(false);
    EXPECT_FALSE(frame->m_bAppActive);
    EXPECT_EQ(frame->m_nTimerID, 0u);
    EXPECT_FALSE(qv::MessageLoop::Instance().HasTimer(CMainFrame::kTimerId));
    const int32_t time = frame->m_World.m_iGameTime;
    Ticks(3);
    EXPECT_EQ(frame->m_World.m_iGameTime, time);

    frame->OnActivateApp(true);
    EXPECT_TRUE(frame->m_bAppActive);
    EXPECT_TRUE(qv::MessageLoop::Instance().HasTimer(CMainFrame::kTimerId));
    Ticks(1);
    EXPECT_EQ(frame->m_World.m_iGameTime, time + 100);
}

TEST_F(Activation, InAWindowTheProgramRunsOnInTheBackground) {
    Start();
    ASSERT_TRUE(frame->StartTimer());
    frame->OnActivateApp(false);
    EXPECT_TRUE(frame->m_bAppActive);
    EXPECT_TRUE(qv::MessageLoop::Instance().HasTimer(CMainFrame::kTimerId));
}

TEST_F(Activation, LosingTheFocusEndsAWalkAfterTheHeldButtonAndPausesTheMusic) {
    Start();
    frame->m_pMidi = std::make_unique<CMIDIStream>(1);
    frame->m_bLeftHeld = 1;
    frame->m_bMouseWalking = 1;
    frame->m_iButtonHeldTime = 900;
    frame->m_iTickStep = 50;
    frame->OnActivateApp(false);
    EXPECT_FALSE(frame->m_bLeftHeld);
    EXPECT_FALSE(frame->m_bMouseWalking);
    EXPECT_EQ(frame->m_iButtonHeldTime, 0);
    EXPECT_EQ(frame->m_iTickStep, 100);
    EXPECT_TRUE(frame->m_pMidi->IsPaused());
    frame->m_bMusicOn = 0;
    frame->OnActivateApp(true);
    EXPECT_TRUE(frame->m_pMidi->IsPaused()) << "music off: it stays quiet";
    frame->m_bMusicOn = 1;
    frame->OnActivateApp(true);
    EXPECT_FALSE(frame->m_pMidi->IsPaused());
}

TEST_F(Activation, TheViewAndTheMiniMapKeepTheirPlacesInTheWindow) {
    frame->m_View.Place({10, 20});
    EXPECT_EQ(frame->m_View.m_ptViewOrigin, (qv::Point{13, 23}));
    EXPECT_EQ(frame->m_View.m_rcView, (qv::Rect{13, 23, 13 + 536, 23 + 359}));
    EXPECT_EQ(frame->m_View.m_ptMinimapOrigin, (qv::Point{217, 391}));
    // Moving the window on the screen moves nothing inside it.
    frame->OnMove({200, 100});
    EXPECT_EQ(frame->m_View.m_ptViewOrigin, (qv::Point{3, 3}));
    EXPECT_EQ(frame->m_View.m_rcView, (qv::Rect{3, 3, 539, 362}));
    EXPECT_EQ(frame->m_View.m_ptMinimapOrigin, (qv::Point{207, 371}));
}

}  // namespace
