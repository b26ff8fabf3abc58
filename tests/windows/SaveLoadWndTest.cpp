// The load and save windows, driven by clicks and keys: which slot a press
// chooses, what the description field shows, the buttons' states, and what
// is handed to the game.

#include <gtest/gtest.h>

#include "windows/SaveLoadWnd.h"
#include "windows/WindowsFixture.h"

namespace {

using windows_test::WindowsFixture;
using SlotWindows = WindowsFixture;

constexpr int kUp = 0, kPressed = 1, kDisabled = 3;

qv::Point SlotPoint(const CSlotsWnd& w, int index) {
    const qv::Rect r = CSlotsWnd::SlotRect(index);
    return {w.m_rcWindow.left + (r.left + r.right) / 2, w.m_rcWindow.top + (r.top + r.bottom) / 2};
}

TEST_F(SlotWindows, TheSlotButtonsStandInAColumnLabelledByTheirGames) {
    struct Row {
        const char* name;
        int index;
        const char* label;
        int top;
    };
    const Row rows[] = {{"the first game", 0, "Game 1", 60},
                        {"the second, 25 lower", 1, "Game 2", 85},
                        {"the tenth", 9, "Game 10", 285},
                        {"the quick save", 10, "QuickSave", 310}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CSlotsWnd::SlotLabel(row.index), row.label);
        EXPECT_EQ(CSlotsWnd::SlotRect(row.index).left, 20);
        EXPECT_EQ(CSlotsWnd::SlotRect(row.index).top, row.top);
    }
    CLoadGameWnd load(&host, CSlotsWnd::kStartPlace);
    EXPECT_EQ(load.GetSlotCount(), 11);
    EXPECT_EQ(load.m_rcWindow, (qv::Rect{119, 110, 523, 456}));
    EXPECT_EQ(load.GetConfirmButton()->m_rcWindow, (qv::Rect{220, 250, 360, 289}));
    EXPECT_EQ(load.GetCancelButton()->m_rcWindow, (qv::Rect{220, 300, 360, 339}));
    EXPECT_EQ(load.GetSlotButton(1)->GetCommandId(), 1094);
    CSaveLoadWnd save(&host, CSlotsWnd::kPlayPlace);
    EXPECT_EQ(save.GetSlotCount(), 10) << "the quick save is F5's alone";
    EXPECT_EQ(save.m_rcWindow, (qv::Rect{119, 8, 523, 354}));
}

TEST_F(SlotWindows, AnEmptySlotShowsEmptyAndKeepsTheChoice) {
    host.slots[1] = {true, "the yard"};
    host.slots[10] = {true, "quick"};
    CLoadGameWnd w(&host, CSlotsWnd::kStartPlace);
    struct Row {
        const char* name;
        int press;
        int selected;
        const char* shown;
    };
    const Row rows[] = {
        {"an empty slot before any choice", 0, -1, "[Empty]"},
        {"a used slot is chosen", 1, 1, "the yard"},
        {"an empty slot keeps the choice", 4, 1, "[Empty]"},
        {"the quick save", 10, 10, "quick"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        w.Select(row.press);
        EXPECT_EQ(w.GetSelection(), row.selected);
        EXPECT_EQ(w.Description().GetText(), row.shown);
    }
    // The chosen button pressed, the other used one up, the empty ones asleep.
    EXPECT_EQ(w.GetSlotButton(10)->GetState(), kPressed);
    EXPECT_EQ(w.GetSlotButton(1)->GetState(), kUp);
    EXPECT_EQ(w.GetSlotButton(0)->GetState(), kDisabled);
    EXPECT_EQ(w.GetSlotButton(9)->GetState(), kDisabled);
}

TEST_F(SlotWindows, LoadBringsTheChosenSlotIntoPlay) {
    host.slots[3] = {true, "three"};
    CLoadGameWnd w(&host, CSlotsWnd::kPlayPlace);
    Click(SlotPoint(w, 3));
    Press(w, w.GetConfirmButton());
    EXPECT_EQ(w.Popup(), 1);
    EXPECT_EQ(host.loads, std::vector<int>{3});
}

TEST_F(SlotWindows, LoadWithoutAChoiceEndsWithTwoAndLoadsNothing) {
    CLoadGameWnd w(&host, CSlotsWnd::kPlayPlace);
    Press(w, w.GetConfirmButton());
    EXPECT_EQ(w.Popup(), 2);
    EXPECT_TRUE(host.loads.empty());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SlotWindows, ASlotThatCannotBeReadLeavesTheWindowOpenForAnother) {
    host.slots[0] = {true, "cut"};
    host.slots[1] = {true, "whole"};
    host.loadSucceeds = false;
    CLoadGameWnd w(&host, CSlotsWnd::kPlayPlace);
    w.Select(0);
    w.OnCommand(CSlotsWnd::kIdConfirm);
    EXPECT_TRUE(w.GetEndCode() == 0) << "still open";
    host.loadSucceeds = true;
    Click(SlotPoint(w, 1));
    Press(w, w.GetConfirmButton());
    EXPECT_EQ(w.Popup(), 1);
    EXPECT_EQ(host.loads, (std::vector<int>{0, 1}));
}

TEST_F(SlotWindows, CancelAndEscEndWithTwo) {
    host.slots[0] = {true, "one"};
    for (const bool byKey : {false, true}) {
        SCOPED_TRACE(byKey ? "Esc" : "Cancel");
        CLoadGameWnd w(&host, CSlotsWnd::kStartPlace);
        Click(SlotPoint(w, 0));
        if (byKey)
            Key(qv::VK_ESCAPE);
        else
            Press(w, w.GetCancelButton());
        EXPECT_EQ(w.Popup(), 2);
    }
    EXPECT_TRUE(host.loads.empty());
}

TEST_F(SlotWindows, SaveWaitsForASlotAndSavesUnderTheDescriptionTyped) {
    CSaveLoadWnd w(&host, CSlotsWnd::kPlayPlace);
    Click(SlotPoint(w, 2));
    Type("at the door");
    Press(w, w.GetConfirmButton());
    EXPECT_EQ(w.Popup(), 1);
    ASSERT_EQ(host.saves.size(), 1u);
    EXPECT_EQ(host.saves[0], (std::pair<int, std::string>{2, "at the door"}));
    EXPECT_TRUE(messages.shown.empty()) << "an empty slot asks nothing";
    EXPECT_EQ(w.GetSlotButton(2)->GetState(), kPressed);
    EXPECT_EQ(w.GetSlotButton(3)->GetState(), kUp);
}

TEST_F(SlotWindows, SaveWithNoSlotChosenIsAsleepAndSavesNothing) {
    CSaveLoadWnd w(&host, CSlotsWnd::kPlayPlace);
    Press(w, w.GetConfirmButton());  // asleep: no command
    Key(qv::VK_ESCAPE);
    EXPECT_EQ(w.Popup(), 2);
    EXPECT_EQ(w.GetConfirmButton()->GetState(), kDisabled);
    // The command itself, with no slot chosen, ends with 2.
    CSaveLoadWnd again(&host, CSlotsWnd::kPlayPlace);
    again.OnCommand(CSlotsWnd::kIdConfirm);
    EXPECT_EQ(again.GetEndCode(), 2);
    EXPECT_TRUE(host.saves.empty());
}

TEST_F(SlotWindows, SavingOverAUsedSlotAsksFirstAndANoLeavesTheWindowOpen) {
    host.slots[6] = {true, "old"};
    qv::ScriptedMessages answers({qv::MessageAnswer::No, qv::MessageAnswer::Yes});
    CSaveLoadWnd w(&host, CSlotsWnd::kPlayPlace);
    Click(SlotPoint(w, 6));
    Press(w, w.GetConfirmButton());  // no: stays
    Press(w, w.GetConfirmButton());  // yes
    EXPECT_EQ(w.Popup(), 1);
    ASSERT_EQ(answers.shown.size(), 2u);
    EXPECT_EQ(answers.shown[0], "Sure you want to save over Game 7?");
    ASSERT_EQ(host.saves.size(), 1u);
    EXPECT_EQ(host.saves[0], (std::pair<int, std::string>{6, "old"}));
}

TEST_F(SlotWindows, ASaveThatFailsEndsWithTwo) {
    host.saveSucceeds = false;
    CSaveLoadWnd w(&host, CSlotsWnd::kPlayPlace);
    w.Select(0);
    w.OnCommand(CSlotsWnd::kIdConfirm);
    EXPECT_EQ(w.GetEndCode(), 2);
    EXPECT_FALSE(host.slots[0].used);
}

}  // namespace
