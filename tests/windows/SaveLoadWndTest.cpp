// The load and save windows, driven by clicks and keys: which slot a press
// chooses, what the description field shows, the buttons' states, and what
// is handed to the game.

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <tuple>
#include <vector>

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
    const std::tuple<const char*, int, int> slots[] = {
        {"Game 1", 0, 60}, {"Game 2", 1, 85}, {"Game 10", 9, 285}, {"QuickSave", 10, 310}};
    for (const auto& [label, index, top] : slots) {
        SCOPED_TRACE(label);
        EXPECT_EQ(CSlotsWnd::SlotLabel(index), label);
        EXPECT_EQ(CSlotsWnd::SlotRect(index).left, 20);
        EXPECT_EQ(CSlotsWnd::SlotRect(index).top, top);
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
    const std::tuple<const char*, int, int, const char*> rows[] = {
        {"an empty slot before any choice", 0, -1, "[Empty]"},
        {"a used slot is chosen", 1, 1, "the yard"},
        {"an empty slot keeps the choice", 4, 1, "[Empty]"},
        {"the quick save", 10, 10, "quick"},
    };
    for (const auto& [rule, press, selected, shown] : rows) {
        SCOPED_TRACE(rule);
        w.Select(press);
        EXPECT_EQ(w.GetSelection(), selected);
        EXPECT_EQ(w.Description().GetText(), shown);
    }
    // The chosen button pressed, the other used one up, the empty ones asleep.
    EXPECT_EQ(w.GetSlotButton(10)->GetState(), kPressed);
    EXPECT_EQ(w.GetSlotButton(1)->GetState(), kUp);
    EXPECT_EQ(w.GetSlotButton(0)->GetState(), kDisabled);
    EXPECT_EQ(w.GetSlotButton(9)->GetState(), kDisabled);
}

TEST_F(SlotWindows, LoadBringsTheChosenSlotIntoPlayAndAnythingElseLoadsNothing) {
    // Actions: a digit clicks that slot, L Load, c Cancel, e Esc. Slots 0, 1
    // and 3 are used; slot 0 cannot be read.
    struct Row {
        const char *rule, *actions;
        int result;
        std::vector<int> loads;
    };
    const Row rows[] = {
        {"the chosen slot is loaded", "3L", 1, {3}},
        {"Load without a choice ends with two", "L", 2, {}},
        {"a slot that cannot be read leaves the window open for another", "0L1L", 1, {0, 1}},
        {"Cancel", "0c", 2, {}},
        {"Esc", "0e", 2, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        NextRow();
        for (int used : {0, 1, 3}) host.slots[used] = {true, "used"};
        host.unreadableSlot = 0;
        CLoadGameWnd w(&host, CSlotsWnd::kPlayPlace);
        for (const char* a = r.actions; *a; ++a) {
            if (std::isdigit(*a)) Click(SlotPoint(w, *a - '0'));
            if (*a == 'L') Press(w, w.GetConfirmButton());
            if (*a == 'c') Press(w, w.GetCancelButton());
            if (*a == 'e') Key(qv::VK_ESCAPE);
        }
        EXPECT_EQ(w.Popup(), r.result);
        EXPECT_EQ(host.loads, r.loads);
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST_F(SlotWindows, SaveWaitsForASlotAndAsksBeforeItSavesOverAUsedOne) {
    // Slot 6 is used. Answers: y yes, n no, one Save pressed for each.
    struct Row {
        const char* rule;
        int slot;  // clicked, if any
        const char *typed, *answers;
        bool succeeds;
        int result;
        const char* saved;  // the description handed to the game, if any
    };
    const Row rows[] = {
        {"an empty slot: saved as typed, nothing asked", 2, "camp", "", true, 1, "camp"},
        {"no slot chosen: Save asleep", -1, "", "", true, 2, nullptr},
        {"over a used slot: asked first, a No leaves the window open", 6, "", "ny", true, 1, "old"},
        {"a save that fails ends with two, its slot empty", 0, "x", "", false, 2, "x"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        NextRow();
        host.slots[6] = {true, "old"};
        host.saveSucceeds = r.succeeds;
        for (const char* a = r.answers; *a; ++a)
            messages.answers.push_back(*a == 'y' ? qv::MessageAnswer::Yes : qv::MessageAnswer::No);
        CSaveLoadWnd w(&host, CSlotsWnd::kPlayPlace);
        if (r.slot >= 0) Click(SlotPoint(w, r.slot));
        Type(r.typed);
        Press(w, w.GetConfirmButton());
        if (*r.answers) Press(w, w.GetConfirmButton());
        if (r.slot < 0) Key(qv::VK_ESCAPE);
        EXPECT_EQ(w.Popup(), r.result);
        EXPECT_EQ(messages.shown.size(), std::strlen(r.answers));
        for (const std::string& asked : messages.shown)
            EXPECT_EQ(asked, "Sure you want to save over Game 7?");
        ASSERT_EQ(host.saves.size(), r.saved ? 1u : 0u);
        if (r.saved) {
            EXPECT_EQ(host.saves[0], (std::pair<int, std::string>{r.slot, r.saved}));
        }
        EXPECT_FALSE(host.slots[0].used);
        if (r.slot < 0) {
            EXPECT_EQ(w.GetConfirmButton()->GetState(), kDisabled);
        }
    }
    // The command itself, with no slot chosen, ends with 2.
    NextRow();
    CSaveLoadWnd w(&host, CSlotsWnd::kPlayPlace);
    w.OnCommand(CSlotsWnd::kIdConfirm);
    EXPECT_EQ(w.GetEndCode(), 2);
    EXPECT_TRUE(host.saves.empty());
}

}  // namespace
