// The load and save windows, driven by clicks and keys: which slot a press
// chooses, what the description field shows, the buttons' states, and what
// is handed to the game.

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <memory>
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

TEST_F(SlotWindows, TheChosenSlotIsHandedToTheGameAndNothingElseIs) {
    // Actions: a digit clicks that slot, small letters are typed, O presses
    // Load or Save, C Cancel, E Esc. Slots 0, 1, 3 and 6 are used; a load or
    // save of slot 3 fails. Answers to the questions: y yes, n no.
    struct Row {
        const char *rule, *actions, *answers, *handed;
        bool save;
        int result;
    };
    const Row rows[] = {
        {"load: the chosen slot", "1O", "", "load 1", false, 1},
        {"load without a choice ends with two", "O", "", "", false, 2},
        {"a slot that cannot be read: the window stays", "3O1O", "", "load 3, load 1", false, 1},
        {"Cancel", "1C", "", "", false, 2},
        {"Esc", "1E", "", "", false, 2},
        {"save: an empty slot, as typed, nothing asked", "2campO", "", "save 2 camp", true, 1},
        {"save with no slot chosen: asleep", "OE", "", "", true, 2},
        {"over a used slot: asked first, a No leaves it open", "6OO", "ny", "save 6 old", true, 1},
        {"a save that fails ends with two", "3O", "y", "save 3 used", true, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        NextRow();
        for (int used : {0, 1, 3, 6}) host.slots[used] = {true, used == 6 ? "old" : "used"};
        for (const char* a = r.answers; *a; ++a)
            messages.answers.push_back(*a == 'y' ? qv::MessageAnswer::Yes : qv::MessageAnswer::No);
        std::unique_ptr<CSlotsWnd> w;
        if (r.save)
            w = std::make_unique<CSaveLoadWnd>(&host, CSlotsWnd::kPlayPlace);
        else
            w = std::make_unique<CLoadGameWnd>(&host, CSlotsWnd::kPlayPlace);
        for (const char* a = r.actions; *a; ++a) {
            if (std::isdigit(*a)) Click(SlotPoint(*w, *a - '0'));
            if (std::islower(*a)) Char(*a);
            if (*a == 'O') Press(*w, w->GetConfirmButton());
            if (*a == 'C') Press(*w, w->GetCancelButton());
            if (*a == 'E') Key(qv::VK_ESCAPE);
        }
        EXPECT_EQ(w->Popup(), r.result);
        EXPECT_EQ(host.handed, r.handed);
        if (r.save && !std::isdigit(*r.actions)) {
            EXPECT_EQ(w->GetConfirmButton()->GetState(), kDisabled);
        }
        EXPECT_EQ(messages.shown.size(), std::strlen(r.answers));
        for (const std::string& asked : messages.shown)  // the game's number, one up
            EXPECT_EQ(asked, "Sure you want to save over Game " +
                                 std::to_string(*r.actions - '0' + 1) + "?");
    }
    // The command of a Save asleep, given all the same, ends with 2.
    NextRow();
    CSaveLoadWnd w(&host, CSlotsWnd::kPlayPlace);
    w.OnCommand(CSlotsWnd::kIdConfirm);
    EXPECT_EQ(w.GetEndCode(), 2);
    EXPECT_TRUE(host.handed.empty());
}

}  // namespace
