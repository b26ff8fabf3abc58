// The new character's rules: three figures of at least 50 and a pool of 10
// that always add up to 160, buttons that follow them, OK only with the pool
// spent, and the choice handed to the game; driven by clicks and keys.

#include <gtest/gtest.h>

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

TEST_F(NewCharacter, TheFiguresAndTheButtonsFollowEachPress) {
    // The buttons' states in letter order: u up, x asleep (states 0 and 3).
    struct Row {
        const char* rule;
        std::string presses;
        int str, dex, intel, bonus;
        const char* buttons;
    };
    const Row rows[] = {
        {"at the start: each figure at its minimum, the pool full", "", 50, 50, 50, 10, "uuuxxx"},
        {"one point to Strength: its \"-\" wakes", "S", 51, 50, 50, 9, "uuuuxx"},
        {"a \"-\" at the minimum does nothing", "d", 50, 50, 50, 10, "uuuxxx"},
        {"nine points to Strength leave one", "SSSSSSSSS", 59, 50, 50, 1, "uuuuxx"},
        {"ten: the pool empty, every \"+\" asleep", "SSSSSSSSSS", 60, 50, 50, 0, "xxxuxx"},
        {"an eleventh \"+\" does nothing", "SSSSSSSSSSS", 60, 50, 50, 0, "xxxuxx"},
        {"a point given back wakes the \"+\" again", "SSSSSSSSSSs", 59, 50, 50, 1, "uuuuxx"},
        {"spread over the three", "SDDIII", 51, 52, 53, 4, "uuuuuu"},
        {"down to the minimum again: that \"-\" sleeps", "Iii", 50, 50, 50, 10, "uuuxxx"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Wnd w(&host);
        for (char c : r.presses) w.OnCommand(ButtonOf(c));
        Key(qv::VK_ESCAPE);  // the buttons are set at the popup and after every change
        EXPECT_EQ(w.Popup(), 2);
        const int str = w.GetValue(Wnd::kStrength), dex = w.GetValue(Wnd::kDexterity);
        const int intel = w.GetValue(Wnd::kIntelligence);
        EXPECT_EQ(std::tie(str, dex, intel), std::tie(r.str, r.dex, r.intel));
        EXPECT_EQ(w.GetBonus(), r.bonus);
        EXPECT_EQ(str + dex + intel + w.GetBonus(), 160);
        std::string states;
        for (char c : kLetters) states += "u??x"[w.GetButton(ButtonOf(c))->GetState() & 3];
        EXPECT_EQ(states, r.buttons);
    }
    EXPECT_TRUE(host.newGames.empty());
}

TEST_F(NewCharacter, TheWindowFillsTheScreenWithItsControlsWhereTheyBelong) {
    Wnd w(&host);
    EXPECT_EQ(w.m_rcWindow, (qv::Rect{0, 0, 640, 480}));
    const std::pair<int, qv::Rect> places[] = {
        {Wnd::kIdOk, {250, 340, 390, 379}},
        {Wnd::kIdCancel, {250, 400, 390, 439}},
        {Wnd::kIdStrengthUp, {200, 190, 239, 229}},
        {Wnd::kIdDexterityUp, {200, 230, 239, 269}},
        {Wnd::kIdIntelligenceUp, {200, 270, 239, 309}},
        {Wnd::kIdStrengthDown, {250, 190, 289, 229}},
        {Wnd::kIdDexterityDown, {250, 230, 289, 269}},
        {Wnd::kIdIntelligenceDown, {250, 270, 289, 309}},
    };
    for (const auto& [id, rect] : places) {
        SCOPED_TRACE(id);
        ASSERT_NE(w.GetButton(id), nullptr);
        EXPECT_EQ(w.GetButton(id)->m_rcWindow, rect);
    }
    EXPECT_EQ(w.PlayerName().GetText(), "Korr");
    EXPECT_EQ(w.DogName().GetText(), "Kaleb");
    EXPECT_EQ(w.PlayerName().m_rcWindow.left, 50);
    EXPECT_EQ(w.PlayerName().m_rcWindow.top, 140);
    EXPECT_EQ(w.DogName().m_rcWindow.top, 400);
    EXPECT_FALSE(w.HasPanel()) << "the panel is made when the window pops up";
}

TEST_F(NewCharacter, OnlyOkWithThePoolSpentBeginsAGameAndNothingElseChangesAnything) {
    enum End { kOk, kCancel, kEsc };
    struct Row {
        const char* rule;
        int points;  // to Strength
        End end;
        bool reads;  // the start world
        int result;
        bool refused;
    };
    const Row rows[] = {
        {"OK with one point left: refused, the window stays", 9, kOk, true, 2, true},
        {"OK with the pool spent: the game begins", 10, kOk, true, 1, false},
        {"a start world that cannot be read: the window stays as it was", 10, kOk, false, 2, false},
        {"Cancel", 10, kCancel, true, 2, false},
        {"Esc", 10, kEsc, true, 2, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        NextRow();
        host.newGameSucceeds = r.reads;
        Wnd w(&host);
        for (int i = 0; i < r.points; ++i) w.OnCommand(Wnd::kIdStrengthUp);
        if (r.end != kEsc) Press(w, w.GetButton(r.end == kOk ? Wnd::kIdOk : Wnd::kIdCancel));
        if (r.result == 2) Key(qv::VK_ESCAPE);
        EXPECT_EQ(w.Popup(), r.result);
        EXPECT_EQ(host.newGames.size(), r.end == kOk && r.points == 10 ? 1u : 0u);
        EXPECT_EQ(messages.shown.size(), r.refused ? 1u : 0u);
        if (r.refused) {
            EXPECT_EQ(messages.shown[0], "Please use all bonus points before leaving this screen.");
        }
        EXPECT_EQ(w.GetValue(Wnd::kStrength), 50 + r.points);
        if (r.end == kOk) {
            EXPECT_EQ(w.HasPanel(), r.result == 2) << "it goes once OK is taken";
        }
    }
}

TEST_F(NewCharacter, TheChoiceHandedToTheGameIsWhatWasTypedAndClicked) {
    {
        // A name typed over the one proposed, the dog's kept; the figures by
        // clicks on "+" and "-", a double click counting as one.
        Wnd w(&host);
        for (int i = 0; i < 4; ++i) Char('\b');
        Type("Mira");
        for (char c : std::string("SSSSDdIIIII")) Press(w, w.GetButton(ButtonOf(c)));
        const qv::Point up = Centre(w, *w.GetButton(Wnd::kIdIntelligenceUp));
        loop.Inject(qv::Event::Mouse(qv::EventKind::LButtonDblClk, up.x, up.y));
        loop.Inject(qv::Event::Mouse(qv::EventKind::LButtonUp, up.x, up.y));
        Press(w, w.GetButton(Wnd::kIdOk));
        EXPECT_EQ(w.Popup(), 1);
    }
    {
        // Both names emptied are handed on empty.
        Wnd w(&host);
        for (int i = 0; i < 10; ++i) w.OnCommand(Wnd::kIdDexterityUp);
        for (int i = 0; i < 4; ++i) Char('\b');  // the player's name has the focus
        w.SetFocus(&w.DogName());
        w.DogName().SetText("");
        Press(w, w.GetButton(Wnd::kIdOk));
        EXPECT_EQ(w.Popup(), 1);
    }
    ASSERT_EQ(host.newGames.size(), 2u);
    const auto choice = [](const NewCharacterChoice& c) {
        return std::make_tuple(c.strength, c.dexterity, c.intelligence, c.playerName, c.dogName);
    };
    EXPECT_EQ(choice(host.newGames[0]), choice({54, 50, 56, "Mira", "Kaleb"}));
    EXPECT_EQ(choice(host.newGames[1]), choice({50, 60, 50, "", ""}));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(NewCharacter, ANameTakesAtMostTwentyLetters) {
    for (const int typed : {19, 20, 21}) {
        SCOPED_TRACE(typed);
        Wnd w(&host);
        for (int i = 0; i < 4; ++i) Char('\b');
        Type(std::string(static_cast<size_t>(typed), 'a'));
        Key(qv::VK_ESCAPE);
        w.Popup();
        EXPECT_EQ(w.PlayerName().GetText().size(), std::min<size_t>(typed, 20));
    }
}

}  // namespace
