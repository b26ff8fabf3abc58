// The lists of the in-game windows on their own: how a thing is named, which
// cell a point falls in, and how far a list scrolls.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "items/Money.h"
#include "items/Potions.h"
#include "items/Weapon.h"
#include "windows/ListDragBox.h"

namespace {

TEST(ListDragBox, AThingIsNamedWithTheCountOfItsStack) {
    Dagger dagger;
    Money gold;
    gold.m_iBulkNum = 250;
    Money coin;
    coin.m_iBulkNum = 1;
    Potion potion(PotionType::Healing);
    ThrownMissile knives(kThrownDagger);
    knives.m_bStackable = 1;
    knives.m_iBulkNum = 6;
    struct Row {
        const char* what;
        Object* thing;
        std::string label;
    };
    const Row rows[] = {
        {"a single thing: its name", &dagger, "Dagger"},
        {"money names its count itself, once", &gold, "Gold (250)"},
        {"a stack of one: no count", &coin, "Gold"},
        {"a potion", &potion, "Potion of Healing"},
        {"a stack that names its count too: once", &knives, "Thrown Dagger (6)"},
        {"nothing", nullptr, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(ItemLabel(row.thing), row.label);
    }
}

// A box of two columns and two rows of 40-pixel cells at (10, 20), showing
// five things.
struct ListGrid : ::testing::Test {
    ListGrid() : box({10, 20, 90, 100}, nullptr, {40, 40, false}) {
        for (int i = 0; i < 5; ++i) things.push_back(std::make_unique<Dagger>());
        box.m_Items = [this] {
            std::vector<Object*> list;
            for (auto& t : things) list.push_back(t.get());
            return list;
        };
    }
    std::vector<std::unique_ptr<Object>> things;
    CListDragBox box;
};

TEST_F(ListGrid, APointFindsTheThingOfItsCell) {
    EXPECT_EQ(box.Cells(), 4);
    struct Row {
        const char* what;
        qv::Point at;
        int thing;  // -1: none
    };
    const Row rows[] = {
        {"the first cell's corner", {10, 20}, 0}, {"the first cell's last pixel", {49, 59}, 0},
        {"the second cell", {50, 20}, 1},         {"the third cell: the next row", {10, 60}, 2},
        {"the fourth cell", {89, 99}, 3},         {"left of the box", {9, 20}, -1},
        {"below the box", {10, 100}, -1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Object* found = box.ItemAt(row.at);
        EXPECT_EQ(found, row.thing < 0 ? nullptr : things[static_cast<size_t>(row.thing)].get());
    }
}

TEST_F(ListGrid, AListScrollsByRowsAndNoFurtherThanItsLastThing) {
    struct Row {
        const char* what;
        int rows;
        int first;
    };
    // Five things in rows of two take three rows; two rows show, so the
    // second row is the furthest that comes to the top.
    const Row rows[] = {
        {"one row down", 1, 1},
        {"no further than the last row shown at the bottom", 1, 1},
        {"far down: as far as it goes", 5, 1},
        {"back up", -1, 0},
        {"above the top: the top", -3, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        box.Scroll(row.rows);
        EXPECT_EQ(box.m_iFirst, row.first);
    }
    box.Scroll(1);
    EXPECT_EQ(box.ItemAt({10, 20}), things[2].get()) << "the top row shows the third and fourth";
    EXPECT_EQ(box.ItemAt({10, 60}), things[4].get());
    EXPECT_EQ(box.ItemAt({50, 60}), nullptr) << "an empty cell";
}

TEST_F(ListGrid, ABoxTakesInOnlyWhatItAcceptsAndAnswersAsItsOrder) {
    std::vector<Object*> inserted;
    box.m_Accept = [this](Object* o) { return o == things[1].get(); };
    box.m_Insert = [&](Object* o) {
        inserted.push_back(o);
        return 1;
    };
    struct Row {
        const char* what;
        Object* thing;
        int answer;
    };
    const Row rows[] = {
        {"accepted: brought in", things[1].get(), 1},
        {"refused: nothing", things[0].get(), 0},
        {"nothing: nothing", nullptr, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(box.Insert(row.thing), row.answer);
    }
    EXPECT_EQ(inserted, (std::vector<Object*>{things[1].get()}));
}

}  // namespace
