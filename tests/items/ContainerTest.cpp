// Containers: acting on one (locked, opened beside the party's inventory, a
// rain barrel that never opens), the kinds' bags, and their stored records at
// every schema, a missing bag and the oldest chests' item lists among them.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "items/Container.h"
#include "items/Useable.h"
#include "items/Weapon.h"
#include "media/DDObjects.h"
#include "support/HandWrittenRecord.h"
#include "world/World.h"

namespace {

using namespace record_test;

// Stands in for the party's inventory window.
class Windows : public InventoryWindows {
public:
    Windows() { SetInventoryWindows(this); }
    ~Windows() override { SetInventoryWindows(nullptr); }
    bool IsInventoryOpen() override { return open; }
    void ShowContainer(CBag* bag) override { shown.push_back(bag); }
    bool open = true;
    std::vector<CBag*> shown;
};

struct ActRow {
    const char* what;
    const char* cls;
    int locked, rain;
    bool inventoryOpen;
    int action, answer;
    bool shown;
    int lockedAfter;
};

const ActRow kActs[] = {
    {"an open chest beside the open inventory", "Chest", 0, 0, true, -1, 1, true, 0},
    {"the inventory closed: nothing opens", "Chest", 0, 0, false, -1, 0, false, 0},
    {"locked: its sound, nothing shown", "Chest", 1, 0, true, -1, 0, false, 1},
    {"locked, action 3: unlocked and opened at once", "Chest", 1, 0, true, 3, 1, true, 0},
    {"open, action 3: locked again, nothing shown", "Coffin", 0, 0, true, 3, 0, false, 1},
    {"a rain barrel never opens", "Barrel", 0, 1, true, -1, 1, false, 0},
    {"a locked rain barrel neither", "Barrel", 1, 1, true, 3, 1, false, 1},
    {"a plain barrel opens", "Barrel", 0, 0, true, -1, 1, true, 0},
};

TEST(Containers, ActingOnOne) {
    World world;
    for (const ActRow& row : kActs) {
        SCOPED_TRACE(row.what);
        Windows windows;
        windows.open = row.inventoryOpen;
        std::unique_ptr<Container> c(
            qv::DynamicCast<Container>(qv::RuntimeClass::Find(row.cls)->CreateObject()));
        ASSERT_NE(c, nullptr);
        c->m_bLocked = row.locked;
        if (auto* barrel = qv::DynamicCast<Barrel>(c.get())) barrel->SetRainBarrel(row.rain);
        int action = row.action;
        EXPECT_EQ(c->Activate(&action, nullptr), row.answer);
        EXPECT_EQ(c->m_bLocked, row.lockedAfter);
        EXPECT_EQ(windows.shown,
                  row.shown ? std::vector<CBag*>{c->GetBag()} : std::vector<CBag*>{});
    }
    // Without the windows no inventory is open.
    Chest chest;
    int action = -1;
    EXPECT_EQ(chest.Activate(&action, nullptr), 0);
}

struct KindRow {
    const char* cls;
    const char* name;
    int32_t bagKind;
};
const KindRow kKinds[] = {{"Chest", "Chest", 4},
                          {"Coffin", "Coffin", 6},
                          {"Barrel", "Barrel", 5},
                          {"Container", "Container", 0}};

TEST(Containers, TheKinds) {
    World world;
    for (const KindRow& k : kKinds) {
        SCOPED_TRACE(k.cls);
        std::unique_ptr<Container> c(
            qv::DynamicCast<Container>(qv::RuntimeClass::Find(k.cls)->CreateObject()));
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->m_strSpecialName, k.name);
        EXPECT_EQ(c->GetBag()->m_iBagKind, k.bagKind);
        EXPECT_EQ(c->m_bInteract, 0);
        EXPECT_EQ(c->m_bMoveable, k.bagKind ? 0 : 1);
        EXPECT_EQ(c->Type(), SCENERY);
        ASSERT_NE(c->GetItemList(), nullptr);
        EXPECT_TRUE(c->GetItemList()->empty());
    }
    Barrel barrel;
    barrel.SetRainBarrel(1);
    EXPECT_EQ(barrel.m_strSpecialName, "RainBarrel");
    EXPECT_EQ(barrel.m_iXImageNum, 1);
    barrel.SetRainBarrel(0);
    EXPECT_EQ(barrel.m_strSpecialName, "Barrel");
    EXPECT_EQ(barrel.m_iXImageNum, 0);
}

// The scenery part of a container record as its class writes it.
void PutSceneryPart(Bytes& b, const char* cls, uint16_t schema, const char* name) {
    PutNewClass(b, cls, schema);
    PutNewClass(b, "Container", 3);
    PutNewClass(b, "Scenery", 1);
    PutNewClass(b, "Object", 11);
    PutInts(b, {0, 0, 1, 0});
    PutString(b, name);
    PutString(b, name);
    PutInts(b, {-1, 0, 1, 1, 0, 0, -1, -1});  // interact 0
}

TEST(ContainerRecords, AChestWithASwordAsStored) {
    World world;
    Chest chest;
    chest.m_bLocked = 1;
    auto* sword = new Sword;
    chest.GetBag()->PutItem(sword, 1);
    Bytes expected;
    PutSceneryPart(expected, "Chest", 2, "Chest");
    PutInts(expected, {1});  // a bag follows
    PutNewClass(expected, "CBag", 2);
    PutWord(expected, 0x8000 | 5);  // Object's class, met already (after Chest, the chest,
                                    // Container and Scenery)
    PutInts(expected, {0, 0, 8, 0});
    PutString(expected, "Bag");
    PutString(expected, "Bag");
    PutInts(expected, {-1, 0, 1, 1, 0, 1, -1, -1});
    PutWord(expected, 1);  // one entry
    PutNewClass(expected, "Sword", 1);
    PutNewClass(expected, "Weapon", 2);
    PutNewClass(expected, "Useable", 1);
    PutWord(expected, 0x8000 | 5);
    PutInts(expected, {0, 0, 30, 40});
    PutString(expected, "Sword");
    PutString(expected, "Sword");
    PutInts(expected, {-1, 1, 1, 1, 0, 1, 0, -1});  // in place 0 of the bag
    PutInts(expected, {90, 5, 10, 3, 50});
    PutInts(expected, {1, 4});  // the bag's count and kind
    PutInts(expected, {1});     // locked
    EXPECT_EQ(StoreObject(chest), expected);
    EXPECT_EQ(StoreObject(*LoadObject<Chest>(expected)), expected);
}

TEST(ContainerRecords, OlderAndDamagedRecords) {
    World world;
    // A marker of 0 keeps the constructor's empty bag; a marker of 1 with a
    // null object gives an empty bag of the class's kind.
    for (int withNull : {0, 1}) {
        SCOPED_TRACE(withNull);
        Bytes b;
        PutSceneryPart(b, "Barrel", 2, "Barrel");
        PutInts(b, {withNull});
        if (withNull) PutWord(b, 0);
        PutInts(b, {0, 1});  // not locked; a rain barrel
        auto barrel = LoadObject<Barrel>(b);
        ASSERT_NE(barrel->GetBag(), nullptr);
        EXPECT_EQ(barrel->GetBag()->m_iBagKind, 5);
        EXPECT_EQ(barrel->m_bRainBarrel, 1);
        EXPECT_EQ(barrel->m_strSpecialName, "RainBarrel");
        EXPECT_EQ(barrel->m_iXImageNum, 1);
    }
    // A stored bag of another kind takes its container's.
    Chest chest;
    chest.GetBag()->m_iBagKind = 9;
    auto back = LoadObject<Chest>(StoreObject(chest));
    EXPECT_EQ(back->GetBag()->m_iBagKind, 4);
}

TEST(ContainerRecords, TheOldestChestsItemsJoinTheBagAndNoneIsLost) {
    World world;
    // A schema-1 chest: the container part (no bag, schema 1), then its own
    // list: twelve sticks and two stacks of gold.
    Bytes b;
    PutNewClass(b, "Chest", 1);
    PutNewClass(b, "Container", 1);
    PutNewClass(b, "Scenery", 1);
    PutNewClass(b, "Object", 11);
    PutInts(b, {0, 0, 1, 0});
    PutString(b, "Chest");
    PutString(b, "Chest");
    PutInts(b, {-1, 0, 1, 1, 0, 1, -1, -1});
    PutWord(b, 14);
    PutNewClass(b, "Useable", 1);  // index 6 (Object's is 5)
    PutWord(b, 0x8000 | 5);
    PutInts(b, {0, 0, 1, 0});
    PutString(b, "Gold");
    PutString(b, "Gold");
    PutInts(b, {-1, 0, 1, 3, 1, 1, -1, -1});  // 3, stackable
    for (int i = 0; i < 12; ++i) {
        PutWord(b, 0x8000 | 6);  // Useable's class
        PutWord(b, 0x8000 | 5);
        PutInts(b, {0, 0, 1, 0});
        PutString(b, "Stick");
        PutString(b, "Stick");
        PutInts(b, {-1, 0, 1, 1, 0, 1, -1, -1});
    }
    PutWord(b, 0x8000 | 6);
    PutWord(b, 0x8000 | 5);
    PutInts(b, {0, 0, 1, 0});
    PutString(b, "Gold");
    PutString(b, "Gold");
    PutInts(b, {-1, 0, 1, 4, 1, 1, -1, -1});
    auto chest = LoadObject<Chest>(b);
    CBag* bag = chest->GetBag();
    ASSERT_EQ(bag->Items().size(), 13u)
        << "the gold joined; the sticks beyond the room went in too";
    EXPECT_EQ(bag->ItemCount(), 13);
    EXPECT_EQ(bag->Items().back()->m_strSpecialName, "Gold");
    EXPECT_EQ(bag->Items().back()->m_iBulkNum, 7);
}

// ---- A frame read from a file is kept within its picture's grid

struct FrameRow {
    const char* what;
    int column, row;            // the stored frame
    int askX, askY;             // what the caller asks for (below 0: not asked)
    int shownColumn, shownRow;  // what it is told
};

// The picture has 2 columns and 3 rows of cells.
const FrameRow kFrames[] = {
    {"the first cell", 0, 0, 0, 0, 0, 0},
    {"the last column and row", 1, 2, 0, 0, 1, 2},
    {"one column beyond: the first", 2, 2, 0, 0, 0, 2},
    {"one row beyond: the first", 1, 3, 0, 0, 1, 0},
    {"a negative column: the first", -1, 1, 0, 0, 0, 1},
    {"far beyond both", 1000, -7, 0, 0, 0, 0},
    {"a column not asked for stays untouched", 9, 9, -1, 0, -1, 0},
    {"a row not asked for stays untouched", 9, 1, 0, -1, 0, -1},
};

TEST(ItemFrames, AFrameBeyondThePictureShowsTheFirst) {
    World world;
    CDDObject picture;
    int across = 2, down = 3;
    picture.SetCellGrid(across, down);
    Chest chest;
    Useable item("Thing");
    for (Object* o : {static_cast<Object*>(&chest), static_cast<Object*>(&item)}) {
        CDDObject* own = o->m_pDDImage;
        o->m_pDDImage = &picture;
        for (const FrameRow& row : kFrames) {
            SCOPED_TRACE(std::string(o->GetRuntimeClass()->name) + ": " + row.what);
            o->m_iXImageNum = row.column;
            o->m_iYImageNum = row.row;
            int x = row.askX, y = row.askY;
            o->GetImageFrame(&x, &y);
            EXPECT_EQ(x, row.shownColumn);
            EXPECT_EQ(y, row.shownRow);
            // The stored numbers themselves are kept.
            EXPECT_EQ(o->m_iXImageNum, row.column);
            EXPECT_EQ(o->m_iYImageNum, row.row);
        }
        o->m_pDDImage = own;
    }
}

}  // namespace
