// The new character's rules: three figures of at least 50 and a pool of 10
// that always add up to 160, buttons that follow them, OK only with the pool
// spent, and the choice handed to the game; driven by clicks and keys.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "windows/NewCharacterWnd.h"
#include "windows/WindowsFixture.h"

namespace {

using windows_test::WindowsFixture;
using Wnd = CNewCharacterWnd;
using NewCharacter = WindowsFixture;

constexpr int kUp = 0, kDisabled = 3;

// The state of the figures and of the six buttons after a run of presses.
struct FigureRow {
    const char* name;
    std::vector<int> presses;  // button ids, in order
    int strength, dexterity, intelligence, bonus;
    int upState;                    // the three "+" buttons
    int strDown, dexDown, intDown;  // the "-" buttons
};

const std::vector<FigureRow> kFigureRows = {
    {"at the start: each figure at its minimum, the pool full",
     {},
     50,
     50,
     50,
     10,
     kUp,
     kDisabled,
     kDisabled,
     kDisabled},
    {"one point to Strength: its \"-\" wakes",
     {Wnd::kIdStrengthUp},
     51,
     50,
     50,
     9,
     kUp,
     kUp,
     kDisabled,
     kDisabled},
    {"a \"-\" at the minimum does nothing",
     {Wnd::kIdDexterityDown},
     50,
     50,
     50,
     10,
     kUp,
     kDisabled,
     kDisabled,
     kDisabled},
    {"nine points to Strength leave one", std::vector<int>(9, Wnd::kIdStrengthUp), 59, 50, 50, 1,
     kUp, kUp, kDisabled, kDisabled},
    {"ten points to Strength: 60, the pool empty, every \"+\" asleep",
     std::vector<int>(10, Wnd::kIdStrengthUp), 60, 50, 50, 0, kDisabled, kUp, kDisabled, kDisabled},
    {"an eleventh \"+\" with the pool empty does nothing", std::vector<int>(11, Wnd::kIdStrengthUp),
     60, 50, 50, 0, kDisabled, kUp, kDisabled, kDisabled},
    {"a point given back wakes the \"+\" again",
     [] {
         std::vector<int> v(10, Wnd::kIdStrengthUp);
         v.push_back(Wnd::kIdStrengthDown);
         return v;
     }(),
     59, 50, 50, 1, kUp, kUp, kDisabled, kDisabled},
    {"spread over the three",
     {Wnd::kIdStrengthUp, Wnd::kIdDexterityUp, Wnd::kIdDexterityUp, Wnd::kIdIntelligenceUp,
      Wnd::kIdIntelligenceUp, Wnd::kIdIntelligenceUp},
     51,
     52,
     53,
     4,
     kUp,
     kUp,
     kUp,
     kUp},
    {"down to the minimum again: that \"-\" sleeps",
     {Wnd::kIdIntelligenceUp, Wnd::kIdIntelligenceDown, Wnd::kIdIntelligenceDown},
     50,
     50,
     50,
     10,
     kUp,
     kDisabled,
     kDisabled,
     kDisabled},
};

TEST_F(NewCharacter, TheFiguresAndTheButtonsFollowEachPress) {
    for (const FigureRow& row : kFigureRows) {
        SCOPED_TRACE(row.name);
        Wnd w(&host);
        for (int id : row.presses) w.OnCommand(id);
        // The buttons are set at the popup and after every change.
        Key(qv::VK_ESCAPE);
        EXPECT_EQ(w.Popup(), 2);
        EXPECT_EQ(w.GetValue(Wnd::kStrength), row.strength);
        EXPECT_EQ(w.GetValue(Wnd::kDexterity), row.dexterity);
        EXPECT_EQ(w.GetValue(Wnd::kIntelligence), row.intelligence);
        EXPECT_EQ(w.GetBonus(), row.bonus);
        EXPECT_EQ(w.GetValue(Wnd::kStrength) + w.GetValue(Wnd::kDexterity) +
                      w.GetValue(Wnd::kIntelligence) + w.GetBonus(),
                  160);
        for (int id : {Wnd::kIdStrengthUp, Wnd::kIdDexterityUp, Wnd::kIdIntelligenceUp})
            EXPECT_EQ(w.GetButton(id)->GetState(), row.upState) << id;
        EXPECT_EQ(w.GetButton(Wnd::kIdStrengthDown)->GetState(), row.strDown);
        EXPECT_EQ(w.GetButton(Wnd::kIdDexterityDown)->GetState(), row.dexDown);
        EXPECT_EQ(w.GetButton(Wnd::kIdIntelligenceDown)->GetState(), row.intDown);
    }
    EXPECT_TRUE(host.newGames.empty());
}

TEST_F(NewCharacter, TheWindowFillsTheScreenWithItsControlsWhereTheyBelong) {
    Wnd w(&host);
    EXPECT_EQ(w.m_rcWindow, (qv::Rect{0, 0, 640, 480}));
    struct Place {
        int id;
        qv::Rect rect;
    };
    const Place places[] = {
        {Wnd::kIdOk, {250, 340, 390, 379}},
        {Wnd::kIdCancel, {250, 400, 390, 439}},
        {Wnd::kIdStrengthUp, {200, 190, 239, 229}},
        {Wnd::kIdDexterityUp, {200, 230, 239, 269}},
        {Wnd::kIdIntelligenceUp, {200, 270, 239, 309}},
        {Wnd::kIdStrengthDown, {250, 190, 289, 229}},
        {Wnd::kIdDexterityDown, {250, 230, 289, 269}},
        {Wnd::kIdIntelligenceDown, {250, 270, 289, 309}},
    };
    for (const Place& p : places) {
        SCOPED_TRACE(p.id);
        ASSERT_NE(w.GetButton(p.id), nullptr);
        EXPECT_EQ(w.GetButton(p.id)->m_rcWindow, p.rect);
    }
    EXPECT_EQ(w.PlayerName().GetText(), "Korr");
    EXPECT_EQ(w.DogName().GetText(), "Kaleb");
    EXPECT_EQ(w.PlayerName().m_rcWindow.left, 50);
    EXPECT_EQ(w.PlayerName().m_rcWindow.top, 140);
    EXPECT_EQ(w.DogName().m_rcWindow.top, 400);
    EXPECT_FALSE(w.HasPanel()) << "the panel is made when the window pops up";
}

TEST_F(NewCharacter, ClicksOnThePlusAndMinusButtonsCountAsPresses) {
    Wnd w(&host);
    for (int i = 0; i < 3; ++i) Press(w, w.GetButton(Wnd::kIdDexterityUp));
    Press(w, w.GetButton(Wnd::kIdDexterityDown));
    // A double click counts too.
    const qv::Point up = Centre(w, *w.GetButton(Wnd::kIdIntelligenceUp));
    loop.Inject(qv::Event::Mouse(qv::EventKind::LButtonDblClk, up.x, up.y));
    loop.Inject(qv::Event::Mouse(qv::EventKind::LButtonUp, up.x, up.y));
    Key(qv::VK_ESCAPE);
    EXPECT_EQ(w.Popup(), 2);
    EXPECT_EQ(w.GetValue(Wnd::kDexterity), 52);
    EXPECT_EQ(w.GetValue(Wnd::kIntelligence), 51);
    EXPECT_EQ(w.GetBonus(), 7);
}

TEST_F(NewCharacter, OkWithPointsLeftIsRefusedAndTheWindowStays) {
    // The pool at 1 and at 0, either side of the bound.
    Wnd w(&host);
    for (int i = 0; i < 9; ++i) w.OnCommand(Wnd::kIdStrengthUp);
    Press(w, w.GetButton(Wnd::kIdOk));  // one point left: refused
    Key(qv::VK_ESCAPE);
    EXPECT_EQ(w.Popup(), 2);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "Please use all bonus points before leaving this screen.");
    EXPECT_TRUE(host.newGames.empty());
    EXPECT_EQ(w.GetBonus(), 1);
}

TEST_F(NewCharacter, OkWithThePoolSpentHandsTheChoiceToTheGame) {
    Wnd w(&host);
    // The name typed over the one proposed, the dog's kept.
    for (int i = 0; i < 4; ++i) Char('\b');
    Type("Mira");
    for (int i = 0; i < 4; ++i) Press(w, w.GetButton(Wnd::kIdStrengthUp));
    for (int i = 0; i < 6; ++i) Press(w, w.GetButton(Wnd::kIdIntelligenceUp));
    Press(w, w.GetButton(Wnd::kIdOk));
    EXPECT_EQ(w.Popup(), 1);
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(host.newGames.size(), 1u);
    const NewCharacterChoice& c = host.newGames[0];
    EXPECT_EQ(c.strength, 54);
    EXPECT_EQ(c.dexterity, 50);
    EXPECT_EQ(c.intelligence, 56);
    EXPECT_EQ(c.playerName, "Mira");
    EXPECT_EQ(c.dogName, "Kaleb");
    EXPECT_FALSE(w.HasPanel()) << "the labels and panel go once OK is taken";
}

TEST_F(NewCharacter, BothNamesEmptiedAreHandedOnEmpty) {
    Wnd w(&host);
    for (int i = 0; i < 10; ++i) w.OnCommand(Wnd::kIdDexterityUp);
    for (int i = 0; i < 4; ++i) Char('\b');  // the player's name has the focus
    w.SetFocus(&w.DogName());
    w.DogName().SetText("");
    Press(w, w.GetButton(Wnd::kIdOk));
    EXPECT_EQ(w.Popup(), 1);
    ASSERT_EQ(host.newGames.size(), 1u);
    EXPECT_EQ(host.newGames[0].playerName, "");
    EXPECT_EQ(host.newGames[0].dogName, "");
    EXPECT_EQ(host.newGames[0].dexterity, 60);
}

TEST_F(NewCharacter, ANameTakesAtMostTwentyLetters) {
    struct Row {
        const char* name;
        int typed;
        size_t kept;
    };
    const Row rows[] = {{"nineteen", 19, 19}, {"twenty", 20, 20}, {"twenty-one", 21, 20}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Wnd w(&host);
        for (int i = 0; i < 4; ++i) Char('\b');
        Type(std::string(static_cast<size_t>(row.typed), 'a'));
        Key(qv::VK_ESCAPE);
        w.Popup();
        EXPECT_EQ(w.PlayerName().GetText().size(), row.kept);
    }
}

TEST_F(NewCharacter, CancelAndEscChangeNothing) {
    for (const bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "Esc" : "Cancel");
        Wnd w(&host);
        for (int i = 0; i < 10; ++i) w.OnCommand(Wnd::kIdStrengthUp);
        if (byKey)
            Key(qv::VK_ESCAPE);
        else
            Press(w, w.GetButton(Wnd::kIdCancel));
        EXPECT_EQ(w.Popup(), 2);
    }
    EXPECT_TRUE(host.newGames.empty());
}

TEST_F(NewCharacter, AStartWorldThatCannotBeReadLeavesTheWindowAsItWas) {
    host.newGameSucceeds = false;
    Wnd w(&host);
    for (int i = 0; i < 10; ++i) w.OnCommand(Wnd::kIdStrengthUp);
    Press(w, w.GetButton(Wnd::kIdOk));
    Key(qv::VK_ESCAPE);
    EXPECT_EQ(w.Popup(), 2);
    EXPECT_EQ(host.newGames.size(), 1u);
    EXPECT_TRUE(w.HasPanel());
    EXPECT_EQ(w.GetValue(Wnd::kStrength), 60);
}

}  // namespace
