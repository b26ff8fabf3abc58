// The lists of the in-game windows on their own: how a thing is named, which
// cell a point falls in, how far a list scrolls and what it takes in.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "items/Bag.h"
#include "items/Money.h"
#include "items/Potions.h"
#include "items/Useable.h"
#include "items/Weapon.h"
#include "play/Play.h"
#include "support/Belongings.h"
#include "windows/Inventory.h"
#include "windows/ListDragBox.h"
#include "world/World.h"

namespace {

TEST(ListDragBox, AThingIsNamedWithTheCountOfItsStack) {
    Dagger dagger;
    Money gold, coin;
    gold.m_iBulkNum = 250;
    coin.m_iBulkNum = 1;
    Potion potion(PotionType::Healing);
    ThrownMissile knives(kThrownDagger);
    knives.m_bStackable = 1;
    knives.m_iBulkNum = 6;
    const struct {
        const char* rule;
        Object* thing;
        std::string label;
    } rows[] = {
        {"a single thing: its name", &dagger, "Dagger"},
        {"money names its count itself, once", &gold, "Gold (250)"},
        {"a stack of one: no count", &coin, "Gold"},
        {"a potion", &potion, "Potion of Healing"},
        {"a stack that names its count too: once", &knives, "Thrown Dagger (6)"},
        {"nothing", nullptr, ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_EQ(ItemLabel(r.thing), r.label);
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
    Object* Thing(int i) { return i < 0 ? nullptr : things[static_cast<size_t>(i)].get(); }
    std::vector<std::unique_ptr<Object>> things;
    CListDragBox box;
};

TEST_F(ListGrid, APointFindsTheThingOfItsCellAndTheListScrollsByRowsToItsLastThing) {
    EXPECT_EQ(box.Cells(), 4);
    // Five things in rows of two take three rows; two rows show, so the
    // second row is the furthest that comes to the top.
    struct Row {
        const char* rule;
        int scroll;  // rows scrolled first
        qv::Point at;
        int thing;  // found there; -1: none
        int first;  // the row then at the top
    };
    const Row rows[] = {
        {"the first cell's corner", 0, {10, 20}, 0, 0},
        {"the first cell's last pixel", 0, {49, 59}, 0, 0},
        {"the second cell", 0, {50, 20}, 1, 0},
        {"the third cell: the next row", 0, {10, 60}, 2, 0},
        {"the fourth cell", 0, {89, 99}, 3, 0},
        {"left of the box", 0, {9, 20}, -1, 0},
        {"below the box", 0, {10, 100}, -1, 0},
        {"one row down: the third and fourth at the top", 1, {10, 20}, 2, 1},
        {"no further than the last row shown at the bottom", 1, {10, 60}, 4, 1},
        {"an empty cell", 0, {50, 60}, -1, 1},
        {"far down: as far as it goes", 5, {50, 20}, 3, 1},
        {"back up", -1, {10, 20}, 0, 0},
        {"above the top: the top", -3, {50, 60}, 3, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        box.Scroll(r.scroll);
        EXPECT_EQ(box.m_iFirst, r.first);
        EXPECT_EQ(box.ItemAt(r.at), Thing(r.thing));
    }
}

TEST_F(ListGrid, ABoxTakesInOnlyWhatItAcceptsAndAnswersAsItsOrder) {
    std::vector<Object*> inserted;
    box.m_Accept = [this](Object* o) { return o == Thing(1); };
    box.m_Insert = [&](Object* o) {
        inserted.push_back(o);
        return 1;
    };
    const struct {
        const char* rule;
        int thing, answer;
    } rows[] = {
        {"accepted: brought in", 1, 1}, {"refused: nothing", 0, 0}, {"nothing: nothing", -1, 0}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_EQ(box.Insert(Thing(r.thing)), r.answer);
    }
    EXPECT_EQ(inserted, (std::vector<Object*>{Thing(1)}));
}

// A bag's window of four cells shows its scroll buttons only for more things than that.
TEST(InventoryWindow, TheScrollButtonsShowOnlyForMoreThingsThanCells) {
    World world;
    Play play(world);
    CInventory w(CInventory::kModeContainer, play, {0, 0, 90, 122});
    ASSERT_EQ(w.Box().Cells(), 4);
    CBag bag;
    w.ShowObjectContents(&bag);
    qv::Surface screen(640, 480);
    for (auto [things, shown] : {std::pair{3, false}, {4, false}, {5, true}}) {
        SCOPED_TRACE(things);
        while (bag.ItemCount() < things) belongings::Hold(&bag, new Useable("Stone"));
        w.Paint(&screen);
        EXPECT_EQ(w.UpButton().m_bVisible != 0, shown);
        EXPECT_EQ(w.DownButton().m_bVisible != 0, shown);
    }
}

}  // namespace
