// The new character's rules: three figures of at least 50 and a pool of 10
// that always add up to 160, buttons that follow them, OK only with the pool
// spent, and the choice handed to the game; driven by clicks and keys.

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <tuple>

#include "windows/NewCharacterWnd.h"
#include "windows/WindowsFixture.h"

namespace {

using windows_test::WindowsFixture;
using Wnd = CNewCharacterWnd;
using NewCharacter = WindowsFixture;

// The buttons by letter: the "+" of Strength, Dexterity and Intelligence,
// then their "-".
const std::string kLetters = "SDIsdi";
int ButtonOf(char letter) {
    const int ids[] = {Wnd::kIdStrengthUp,   Wnd::kIdDexterityUp,   Wnd::kIdIntelligenceUp,
                       Wnd::kIdStrengthDown, Wnd::kIdDexterityDown, Wnd::kIdIntelligenceDown};
    return ids[kLetters.find(letter)];
}

TEST_F(NewCharacter, TheFiguresAndTheButtonsFollowEachPressAndOnlyASpentPoolBeginsAGame) {
    // Presses by letter, then maybe O: OK, X: OK with a start world that
    // cannot be read, C: Cancel; a window still open is left with Esc. The
    // buttons' states in letter order: u up, x asleep (states 0 and 3).
    struct Row {
        const char *rule, *presses, *buttons;
        int str, dex, intel, bonus, result;
    };
    const Row rows[] = {
        {"at the start: each figure at its minimum", "", "uuuxxx", 50, 50, 50, 10, 2},
        {"a \"-\" at the minimum does nothing", "d", "uuuxxx", 50, 50, 50, 10, 2},
        {"nine leave one, its \"-\" awake: OK refused", "SSSSSSSSSO", "uuuuxx", 59, 50, 50, 1, 2},
        {"ten: the pool empty, every \"+\" asleep", "SSSSSSSSSS", "xxxuxx", 60, 50, 50, 0, 2},
        {"an eleventh \"+\" does nothing", "SSSSSSSSSSS", "xxxuxx", 60, 50, 50, 0, 2},
        {"a point given back wakes the \"+\" again", "SSSSSSSSSSs", "uuuuxx", 59, 50, 50, 1, 2},
        {"spread over the three", "SDDIII", "uuuuuu", 51, 52, 53, 4, 2},
        {"down to the minimum again: that \"-\" sleeps", "Iii", "uuuxxx", 50, 50, 50, 10, 2},
        {"OK with the pool spent: the game begins", "SSSSSSSSSSO", "xxxuxx", 60, 50, 50, 0, 1},
        {"a start world that cannot be read: no change", "DDDDDDDDDDX", "xxxxux", 50, 60, 50, 0, 2},
        {"Cancel: no change", "IIIIIIIIIIC", "xxxxxu", 50, 50, 60, 0, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        NextRow();
        Wnd w(&host);
        const std::string presses = r.presses;
        const char end = presses.empty() ? 0 : presses.back();
        for (char c : presses)
            if (kLetters.find(c) != std::string::npos) w.OnCommand(ButtonOf(c));
        host.newGameSucceeds = end != 'X';
        if (end == 'O' || end == 'X' || end == 'C')
            Press(w, w.GetButton(end == 'C' ? Wnd::kIdCancel : Wnd::kIdOk));
        if (r.result == 2) Key(qv::VK_ESCAPE);
        EXPECT_EQ(w.Popup(), r.result);
        const int str = w.GetValue(Wnd::kStrength), dex = w.GetValue(Wnd::kDexterity);
        const int intel = w.GetValue(Wnd::kIntelligence);
        EXPECT_EQ(std::tie(str, dex, intel), std::tie(r.str, r.dex, r.intel));
        EXPECT_EQ(w.GetBonus(), r.bonus);
        EXPECT_EQ(str + dex + intel + w.GetBonus(), 160);
        std::string states;
        for (char c : kLetters) states += "u??x"[w.GetButton(ButtonOf(c))->GetState() & 3];
        EXPECT_EQ(states, r.buttons);
        const bool ok = end == 'O' || end == 'X';
        ASSERT_EQ(host.newGames.size(), ok && r.bonus == 0 ? 1u : 0u);
        for (const NewCharacterChoice& c : host.newGames) {  // the names proposed
            EXPECT_EQ(std::tie(c.strength, c.dexterity, c.intelligence), std::tie(str, dex, intel));
            EXPECT_EQ(c.playerName + "/" + c.dogName, "Korr/Kaleb");
        }
        const std::deque<std::string> refusal{
            "Please use all bonus points before leaving this screen."};
        EXPECT_EQ(messages.shown, ok && r.bonus > 0 ? refusal : std::deque<std::string>{});
        if (ok) {
            EXPECT_EQ(w.HasPanel(), r.result == 2) << "the panel goes once OK is taken";
        }
    }
}

TEST_F(NewCharacter, TheNamesTypedAreHandedOnAsTheyStandUpToTwentyLetters) {
    // Over the name proposed; none at all, with the dog's emptied too.
    for (const size_t typed : {0, 19, 20, 21}) {
        SCOPED_TRACE(typed);
        NextRow();
        Wnd w(&host);
        for (int i = 0; i < 10; ++i) w.OnCommand(Wnd::kIdDexterityUp);
        for (int i = 0; i < 4; ++i) Char('\b');  // the player's name has the focus
        Type(std::string(typed, 'a'));
        if (typed == 0) w.DogName().SetText("");
        Press(w, w.GetButton(Wnd::kIdOk));
        EXPECT_EQ(w.Popup(), 1);
        ASSERT_EQ(host.newGames.size(), 1u);
        EXPECT_EQ(host.newGames[0].playerName, std::string(std::min<size_t>(typed, 20), 'a'));
        EXPECT_EQ(host.newGames[0].dogName, typed == 0 ? "" : "Kaleb");
    }
}

}  // namespace
