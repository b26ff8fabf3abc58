// The options window, driven by clicks and keys: its two layouts, its answers
// (1 play, 2 quit, 3 a new game cancelled in play), the windows it opens, and
// the sound and music switches it hands to the game.

#include <gtest/gtest.h>

#include <set>

#include "windows/NewCharacterWnd.h"
#include "windows/OptionsWnd.h"
#include "windows/SaveLoadWnd.h"
#include "windows/WindowsFixture.h"

namespace {

using windows_test::WindowsFixture;
using Options = WindowsFixture;
using W = COptionsWnd;

constexpr int kDisabled = 3;

std::set<int> MadeButtons(const W& w) {
    std::set<int> ids;
    for (int id : {W::kIdNewGame, W::kIdLoadGame, W::kIdSaveGame, W::kIdNothing, W::kIdIntro,
                   W::kIdSound, W::kIdMusic, W::kIdContinue, W::kIdQuit})
        if (w.GetButton(id)) ids.insert(id);
    return ids;
}

TEST_F(Options, EachLayoutMakesItsButtonsInItsPlace) {
    struct Row {
        const char* name;
        bool start;
        qv::Rect rect;
        std::set<int> buttons;
    };
    const Row rows[] = {
        {"the start layout fills the screen",
         true,
         {0, 0, 640, 480},
         {W::kIdNewGame, W::kIdLoadGame, W::kIdNothing, W::kIdIntro, W::kIdQuit}},
        {"the in-game layout is 404 x 346 at (119, 8)",
         false,
         {119, 8, 523, 354},
         {W::kIdNewGame, W::kIdLoadGame, W::kIdSaveGame, W::kIdSound, W::kIdMusic, W::kIdContinue,
          W::kIdQuit}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        W w(&host, row.start, true, 1);
        EXPECT_EQ(w.m_rcWindow, row.rect);
        EXPECT_EQ(MadeButtons(w), row.buttons);
        EXPECT_EQ(w.GetTitle() != nullptr, row.start) << "the fading title is the start's";
        for (int id : row.buttons) {
            // Every button lies inside its window, where the layout puts it.
            const qv::Rect onScreen =
                w.GetButton(id)->m_rcWindow.Offset(w.m_rcWindow.left, w.m_rcWindow.top);
            EXPECT_EQ(onScreen, W::ButtonRect(id, row.start)) << id;
            EXPECT_EQ(onScreen.Intersect(w.m_rcWindow), onScreen) << id;
        }
    }
    W start(&host, true, true, 1);
    EXPECT_EQ(start.GetButton(W::kIdNothing)->GetState(), kDisabled);
}

TEST_F(Options, EscGoesBackToTheGameOnlyInPlayWhereContinuingIsAllowed) {
    struct Row {
        const char* name;
        bool start, continueAllowed;
        int result;  // after Esc, then Quit answered yes
    };
    const Row rows[] = {
        {"in play: Esc is Continue", false, true, W::kResultPlay},
        {"after a death: Esc does nothing", false, false, W::kResultQuit},
        {"at start: Esc does nothing", true, true, W::kResultQuit},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        qv::ScriptedMessages yes({qv::MessageAnswer::Yes});
        W w(&host, row.start, row.continueAllowed, 1);
        Key(qv::VK_ESCAPE);
        Press(w, w.GetButton(W::kIdQuit));
        EXPECT_EQ(w.Popup(), row.result);
        loop.Reset();
        loop.SetClock(&clock);
        loop.SetMainHandler(&handler);
    }
}

TEST_F(Options, ContinueIsDisabledAfterADeathAndEndsWithOneOtherwise) {
    {
        W w(&host, false, true, 1);
        Press(w, w.GetButton(W::kIdContinue));
        EXPECT_EQ(w.Popup(), W::kResultPlay);
    }
    W dead(&host, false, false, 0);
    EXPECT_EQ(dead.GetButton(W::kIdContinue)->GetState(), kDisabled);
    dead.OnCommand(W::kIdContinue);
    EXPECT_TRUE(dead.GetEndCode() == 0);
}

TEST_F(Options, QuitAsksAndOnlyAYesEndsWithTwo) {
    qv::ScriptedMessages answers({qv::MessageAnswer::No, qv::MessageAnswer::Yes});
    W w(&host, true, true, 1);
    Press(w, w.GetButton(W::kIdQuit));  // no: nothing happens
    Press(w, w.GetButton(W::kIdQuit));  // yes
    EXPECT_EQ(w.Popup(), W::kResultQuit);
    ASSERT_EQ(answers.shown.size(), 2u);
    EXPECT_EQ(answers.shown[0], "Are you sure you want to Quit?");
}

TEST_F(Options, ANewGameBegunEndsTheWindowWithOne) {
    for (const bool start : {true, false}) {
        SCOPED_TRACE(start ? "start layout" : "in-game layout");
        W w(&host, start, true, 1);
        Press(w, w.GetButton(W::kIdNewGame));
        // The new-character window: every point to Strength, then OK.
        const qv::Point plus{200 + 19, 190 + 19}, ok{250 + 70, 340 + 19};
        for (int i = 0; i < CNewCharacterWnd::kStartBonus; ++i) Click(plus);
        Click(ok);
        EXPECT_EQ(w.Popup(), W::kResultPlay);
    }
    ASSERT_EQ(host.newGames.size(), 2u);
    EXPECT_EQ(host.newGames[1].strength, 60);
    EXPECT_EQ(host.newGames[1].playerName, "Korr");
    EXPECT_EQ(host.newGames[1].dogName, "Kaleb");
}

TEST_F(Options, ANewGameCancelledEndsWithThreeInPlayAndLeavesTheWindowOpenElsewhere) {
    struct Row {
        const char* name;
        bool start, confirming;
        int result;  // after New game, Cancel, then Quit answered yes
    };
    const Row rows[] = {
        {"in play: the window makes way for a confirming one", false, false,
         W::kResultNewGameCancelled},
        {"at start: the window stays", true, false, W::kResultQuit},
        {"the confirming window stays", false, true, W::kResultQuit},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        qv::ScriptedMessages yes({qv::MessageAnswer::Yes});
        W w(&host, row.start, true, 1, row.confirming);
        Press(w, w.GetButton(W::kIdNewGame));
        Key(qv::VK_ESCAPE);  // the new-character window: cancelled
        Press(w, w.GetButton(W::kIdQuit));
        EXPECT_EQ(w.Popup(), row.result);
        loop.Reset();
        loop.SetClock(&clock);
        loop.SetMainHandler(&handler);
    }
    EXPECT_TRUE(host.newGames.empty());
}

TEST_F(Options, ALoadOrSaveMadeThroughItsWindowEndsTheOptionsWindowWithOne) {
    host.slots[2] = {true, "by the lake"};
    {
        W w(&host, true, true, 1);
        Press(w, w.GetButton(W::kIdLoadGame));
        // The load window opens under the title at start.
        const qv::Point at = CSlotsWnd::kStartPlace;
        const qv::Rect slot = CSlotsWnd::SlotRect(2);
        Click({at.x + slot.left + 4, at.y + slot.top + 4});
        Click({at.x + CSlotsWnd::kConfirmRect.left + 4, at.y + CSlotsWnd::kConfirmRect.top + 4});
        EXPECT_EQ(w.Popup(), W::kResultPlay);
        EXPECT_EQ(host.loads, std::vector<int>{2});
    }
    {
        W w(&host, false, true, 1);
        Press(w, w.GetButton(W::kIdSaveGame));
        // In play the save window opens at the top of the screen.
        const qv::Point at = CSlotsWnd::kPlayPlace;
        const qv::Rect slot = CSlotsWnd::SlotRect(5);
        Click({at.x + slot.left + 4, at.y + slot.top + 4});
        Type("camp");
        Click({at.x + CSlotsWnd::kConfirmRect.left + 4, at.y + CSlotsWnd::kConfirmRect.top + 4});
        EXPECT_EQ(w.Popup(), W::kResultPlay);
        ASSERT_EQ(host.saves.size(), 1u);
        EXPECT_EQ(host.saves[0], (std::pair<int, std::string>{5, "camp"}));
    }
    {
        // A load window cancelled leaves the options window open.
        W w(&host, false, true, 1);
        Press(w, w.GetButton(W::kIdLoadGame));
        Key(qv::VK_ESCAPE);
        Key(qv::VK_ESCAPE);  // the options window: back to the game
        EXPECT_EQ(w.Popup(), W::kResultPlay);
        EXPECT_EQ(host.loads, std::vector<int>{2});
    }
}

TEST_F(Options, TheSwitchesFlipWithTheirPicturesAndAreHandedToTheGame) {
    W w(&host, false, true, 1);
    Press(w, w.GetButton(W::kIdSound));
    Press(w, w.GetButton(W::kIdMusic));
    Press(w, w.GetButton(W::kIdMusic));
    Key(qv::VK_ESCAPE);
    EXPECT_EQ(w.Popup(), W::kResultPlay);
    EXPECT_EQ(host.switches, (std::vector<std::string>{"Sound=0", "Midi=0", "Midi=1"}));
    EXPECT_FALSE(host.soundOn);
    EXPECT_TRUE(host.musicOn);
}

TEST_F(Options, WithoutADeviceASwitchIsDisabledAndItsCommandDoesNothing) {
    struct Row {
        const char* name;
        bool sound, music;
    };
    const Row rows[] = {{"no sound", false, true}, {"no music", true, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        host.switches.clear();
        host.soundAvailable = row.sound;
        host.musicAvailable = row.music;
        W w(&host, false, true, 1);
        EXPECT_EQ(w.GetButton(W::kIdSound)->GetState() == kDisabled, !row.sound);
        EXPECT_EQ(w.GetButton(W::kIdMusic)->GetState() == kDisabled, !row.music);
        w.OnCommand(row.sound ? W::kIdMusic : W::kIdSound);
        EXPECT_TRUE(host.switches.empty());
    }
}

TEST_F(Options, TheIntroRunsAndTheWindowStaysWithItsIntroButtonBack) {
    W w(&host, true, true, 1);
    Press(w, w.GetButton(W::kIdIntro));
    Key(qv::VK_SPACE);  // ends the intro
    qv::ScriptedMessages yes({qv::MessageAnswer::Yes});
    Press(w, w.GetButton(W::kIdQuit));
    EXPECT_EQ(w.Popup(), W::kResultQuit);
    EXPECT_EQ(w.GetButton(W::kIdIntro)->m_bVisible, 1);
    EXPECT_EQ(w.GetTitle()->GetLevel(), CFadeWnd::kSteps) << "the title has faded in again";
}

}  // namespace
