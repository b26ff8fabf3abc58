// The options window, driven by clicks and keys: its two layouts, its answers
// (1 play, 2 quit, 3 a new game cancelled in play), the windows it opens, and
// the sound and music switches it hands to the game.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "windows/NewCharacterWnd.h"
#include "windows/OptionsWnd.h"
#include "windows/SaveLoadWnd.h"
#include "windows/WindowsFixture.h"

namespace {

using windows_test::WindowsFixture;
using Options = WindowsFixture;
using W = COptionsWnd;

constexpr int kDisabled = 3;
constexpr int kPlay = W::kResultPlay, kQuit = W::kResultQuit;
constexpr int kCancelled = W::kResultNewGameCancelled;

std::set<int> MadeButtons(const W& w) {
    std::set<int> ids;
    for (int id : {W::kIdNewGame, W::kIdLoadGame, W::kIdSaveGame, W::kIdNothing, W::kIdIntro,
                   W::kIdSound, W::kIdMusic, W::kIdContinue, W::kIdQuit})
        if (w.GetButton(id)) ids.insert(id);
    return ids;
}

TEST_F(Options, EachLayoutMakesItsButtonsInItsPlace) {
    const auto layout = [&](const char* rule, bool start, qv::Rect rect, std::set<int> buttons) {
        SCOPED_TRACE(rule);
        W w(&host, start, true, 1);
        EXPECT_EQ(w.m_rcWindow, rect);
        EXPECT_EQ(MadeButtons(w), buttons);
        EXPECT_EQ(w.GetTitle() != nullptr, start) << "the fading title is the start's";
        for (int id : buttons) {
            // Every button lies inside its window, where the layout puts it.
            const qv::Rect onScreen =
                w.GetButton(id)->m_rcWindow.Offset(w.m_rcWindow.left, w.m_rcWindow.top);
            EXPECT_EQ(onScreen, W::ButtonRect(id, start)) << id;
            EXPECT_EQ(onScreen.Intersect(w.m_rcWindow), onScreen) << id;
        }
    };
    layout("the start layout fills the screen", true, {0, 0, 640, 480},
           {W::kIdNewGame, W::kIdLoadGame, W::kIdNothing, W::kIdIntro, W::kIdQuit});
    layout("the in-game layout is 404 x 346 at (119, 8)", false, {119, 8, 523, 354},
           {W::kIdNewGame, W::kIdLoadGame, W::kIdSaveGame, W::kIdSound, W::kIdMusic, W::kIdContinue,
            W::kIdQuit});
    W start(&host, true, true, 1);
    EXPECT_EQ(start.GetButton(W::kIdNothing)->GetState(), kDisabled);
    // After a death Continue is asleep and its command does nothing.
    W dead(&host, false, false, 0);
    EXPECT_EQ(dead.GetButton(W::kIdContinue)->GetState(), kDisabled);
    dead.OnCommand(W::kIdContinue);
    EXPECT_EQ(dead.GetEndCode(), 0);
}

TEST_F(Options, EachWayOutEndsTheWindowWithItsAnswer) {
    // Where: s at start, p in play, d in play after a death, c in play as the
    // confirming window. Actions: e Esc; c, q, n Continue, Quit, New game; o in
    // the new-character window every point to Strength, then OK. Answers to
    // the questions: y yes, n no.
    struct Row {
        const char* rule;
        char where;
        std::string actions, answers;
        int result;
    };
    const Row rows[] = {
        {"in play: Esc is Continue", 'p', "e", "", kPlay},
        {"after a death: Esc does nothing", 'd', "eq", "y", kQuit},
        {"at start: Esc does nothing", 's', "eq", "y", kQuit},
        {"Continue", 'p', "c", "", kPlay},
        {"Quit asks: a No changes nothing, a Yes ends", 's', "qq", "ny", kQuit},
        {"a new game begun at start", 's', "no", "", kPlay},
        {"a new game begun in play", 'p', "no", "", kPlay},
        {"a new game cancelled in play: a confirming window follows", 'p', "ne", "", kCancelled},
        {"a new game cancelled at start: the window stays", 's', "neq", "y", kQuit},
        {"a new game cancelled: the confirming window stays", 'c', "neq", "y", kQuit},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        NextRow();
        for (char a : r.answers)
            messages.answers.push_back(a == 'y' ? qv::MessageAnswer::Yes : qv::MessageAnswer::No);
        W w(&host, r.where == 's', r.where != 'd', 1, r.where == 'c');
        for (char a : r.actions) {
            if (a == 'e') Key(qv::VK_ESCAPE);
            if (a == 'c') Press(w, w.GetButton(W::kIdContinue));
            if (a == 'q') Press(w, w.GetButton(W::kIdQuit));
            if (a == 'n') Press(w, w.GetButton(W::kIdNewGame));
            if (a != 'o') continue;
            for (int i = 0; i < CNewCharacterWnd::kStartBonus; ++i) Click({200 + 19, 190 + 19});
            Click({250 + 70, 340 + 19});
        }
        EXPECT_EQ(w.Popup(), r.result);
        EXPECT_EQ(host.newGames.size(), r.actions.find('o') != std::string::npos ? 1u : 0u);
        if (!r.answers.empty()) {
            EXPECT_EQ(messages.shown.front(), "Are you sure you want to Quit?");
        }
    }
}

TEST_F(Options, ALoadOrSaveMadeThroughItsWindowEndsTheOptionsWindowWithOne) {
    struct Row {
        const char* rule;
        bool start;
        int button, slot;  // no slot: the load or save window is left with Esc
        const char* typed;
        int loaded;  // the slot loaded, if any
        bool saved;
    };
    const Row rows[] = {
        {"a load at start, its window under the title", true, W::kIdLoadGame, 2, "", 2, false},
        {"a save in play, its window at the top of the screen", false, W::kIdSaveGame, 5, "camp",
         -1, true},
        {"a load window cancelled leaves this one open", false, W::kIdLoadGame, -1, "", -1, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        NextRow();
        host.slots[2] = {true, "by the lake"};
        W w(&host, r.start, true, 1);
        Press(w, w.GetButton(r.button));
        const qv::Point at = r.start ? CSlotsWnd::kStartPlace : CSlotsWnd::kPlayPlace;
        const auto click = [&](const qv::Rect& rc) {
            Click({at.x + rc.left + 4, at.y + rc.top + 4});
        };
        if (r.slot >= 0) {
            click(CSlotsWnd::SlotRect(r.slot));
            Type(r.typed);
            click(CSlotsWnd::kConfirmRect);
        }
        Key(qv::VK_ESCAPE);  // the load window if still open,
        Key(qv::VK_ESCAPE);  // then the options window: back to the game
        EXPECT_EQ(w.Popup(), kPlay);
        EXPECT_EQ(host.loads, r.loaded < 0 ? std::vector<int>{} : std::vector<int>{r.loaded});
        EXPECT_EQ(host.saves.size(), r.saved ? 1u : 0u);
        if (r.saved) {
            EXPECT_EQ(host.saves[0], (std::pair<int, std::string>{r.slot, r.typed}));
        }
    }
}

TEST_F(Options, TheSwitchesFlipWithTheirPicturesAndAreHandedToTheGame) {
    W w(&host, false, true, 1);
    Press(w, w.GetButton(W::kIdSound));
    Press(w, w.GetButton(W::kIdMusic));
    Press(w, w.GetButton(W::kIdMusic));
    Key(qv::VK_ESCAPE);
    EXPECT_EQ(w.Popup(), kPlay);
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
        NextRow();
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
    EXPECT_EQ(w.Popup(), kQuit);
    EXPECT_EQ(w.GetButton(W::kIdIntro)->m_bVisible, 1);
    EXPECT_EQ(w.GetTitle()->GetLevel(), CFadeWnd::kSteps) << "the title has faded in again";
}

}  // namespace
