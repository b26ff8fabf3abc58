// The options window, driven by clicks and keys: its two layouts, its answers
// (1 play, 2 quit, 3 a new game cancelled in play), the windows it opens, and
// the sound and music switches it hands to the game.

#include <gtest/gtest.h>

#include <cstring>
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
    // the new-character window every point to Strength, then OK; i Intro and
    // a key that ends it; l Load game. Answers to the questions: y yes, n no.
    struct Row {
        const char *rule, *actions, *answers;
        char where;
        int result;
    };
    const Row rows[] = {
        {"in play: a load window cancelled leaves it open; Esc is Continue", "lee", "", 'p', kPlay},
        {"after a death: Esc does nothing", "eq", "y", 'd', kQuit},
        {"at start: Esc does nothing", "eq", "y", 's', kQuit},
        {"Continue", "c", "", 'p', kPlay},
        {"Quit asks: a No changes nothing, a Yes ends", "qq", "ny", 's', kQuit},
        {"a new game begun at start", "no", "", 's', kPlay},
        {"a new game begun in play", "no", "", 'p', kPlay},
        {"a new game cancelled in play: a confirming window follows", "ne", "", 'p', kCancelled},
        {"a new game cancelled at start: the window stays", "neq", "y", 's', kQuit},
        {"a new game cancelled: the confirming window stays", "neq", "y", 'c', kQuit},
        {"the intro runs and the window stays", "iq", "y", 's', kQuit},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        NextRow();
        for (const char* a = r.answers; *a; ++a)
            messages.answers.push_back(*a == 'y' ? qv::MessageAnswer::Yes : qv::MessageAnswer::No);
        W w(&host, r.where == 's', r.where != 'd', 1, r.where == 'c');
        for (const char* a = r.actions; *a; ++a) {
            if (*a == 'e') Key(qv::VK_ESCAPE);
            if (*a == 'l') Press(w, w.GetButton(W::kIdLoadGame));
            if (*a == 'i') Press(w, w.GetButton(W::kIdIntro));
            if (*a == 'i') Key(qv::VK_SPACE);  // ends the intro
            if (*a == 'c' || *a == 'q' || *a == 'n')
                Press(w, w.GetButton(*a == 'c'   ? W::kIdContinue
                                     : *a == 'q' ? W::kIdQuit
                                                 : W::kIdNewGame));
            if (*a != 'o') continue;
            for (int i = 0; i < CNewCharacterWnd::kStartBonus; ++i) Click({200 + 19, 190 + 19});
            Click({250 + 70, 340 + 19});
        }
        EXPECT_EQ(w.Popup(), r.result);
        EXPECT_TRUE(host.handed.empty());
        ASSERT_EQ(host.newGames.size(), std::strchr(r.actions, 'o') ? 1u : 0u);
        for (const auto& c : host.newGames) EXPECT_EQ(c.playerName + c.dogName, "KorrKaleb");
        if (*r.answers) {
            EXPECT_EQ(messages.shown.front(), "Are you sure you want to Quit?");
        }
        if (*r.actions == 'i') {
            EXPECT_EQ(w.GetButton(W::kIdIntro)->m_bVisible, 1);
            EXPECT_EQ(w.GetTitle()->GetLevel(), CFadeWnd::kSteps) << "the title faded in again";
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
    // Without a device its switch is asleep and its command does nothing.
    for (const bool soundThere : {false, true}) {
        SCOPED_TRACE(soundThere ? "no music" : "no sound");
        NextRow();
        host.soundAvailable = soundThere;
        host.musicAvailable = !soundThere;
        W dumb(&host, false, true, 1);
        EXPECT_EQ(dumb.GetButton(W::kIdSound)->GetState() == kDisabled, !soundThere);
        EXPECT_EQ(dumb.GetButton(W::kIdMusic)->GetState() == kDisabled, soundThere);
        dumb.OnCommand(soundThere ? W::kIdMusic : W::kIdSound);
        EXPECT_TRUE(host.switches.empty());
    }
}

}  // namespace
