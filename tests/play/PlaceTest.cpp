// Dropping objects on the map, wall pieces on their cells, the key records and
// the script variables, on a World and a Play of the test's own.

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "platform/Files.h"
#include "play/CountingThing.h"
#include "play/PlayFixture.h"
#include "structures/Walls.h"
#include "support/TestFolder.h"
#include "world/Global.h"
#include "world/KeyStorage.h"
#include "world/MapFixture.h"
#include "world/ScriptVariables.h"

using play_test::At;
using play_test::Pictured;
using play_test::Thing;

namespace {

class Place : public play_test::PlayFixture {
protected:
    Place() { FocusOn(35, 34); }
    // A stack of `count` of a stackable thing, kept by the test.
    Thing* Stack(int count) { return play_test::KeptStack(kept, count); }
    // A blocking picture centred on its holder: columns -left..right-1 and
    // rows -up..down-1 of the holder's position are solid.
    std::unique_ptr<CDDObject> Block(int left, int right, int up, int down) {
        return maptest::SolidImage(left + right, up + down, left, up);
    }
    std::vector<std::unique_ptr<Object>> kept;
};

TEST_F(Place, ASingleStackableIsDroppedWithoutAskingAndEmptiesTheCallersStack) {
    Thing* arrow = Stack(1);
    // No key is waiting: a window would end unconfirmed and drop nothing.
    Play::DropResult r = play.DropObject(arrow, At(36, 35, 20, 20));
    ASSERT_TRUE(r);
    EXPECT_EQ(r.holder->m_pObject->m_iBulkNum, 1);
    EXPECT_TRUE(r.stackEmptied);
    EXPECT_EQ(arrow->m_iBulkNum, 0);
    // What is left of it is nothing: dropped again, nothing is made.
    EXPECT_FALSE(play.DropObject(arrow, At(36, 35, 60, 20)));
    EXPECT_EQ(arrow->m_iBulkNum, 0);
}

TEST_F(Place, AnObjectThatIsNotAStackIsPlacedItself) {
    auto* lamp = new Thing("Lamp");
    const Position w = At(36, 35, 10, 100);
    Play::DropResult r = play.DropObject(lamp, w);
    ASSERT_TRUE(r);
    EXPECT_TRUE(r.placedItself);
    EXPECT_EQ(r.holder->m_pObject, lamp);
    EXPECT_EQ(lamp->m_pHolder, r.holder);
    EXPECT_EQ(r.holder->pos, w);
}

TEST_F(Place, ADropOnAFrontWallWalksDownTowardThePointBelowIt) {
    auto image = Block(20, 20, 10, 10);  // rows -10..9 of the wall's position
    auto* wall = Pictured<FrontWall>(image.get());
    ObjectHolder* placedWall = play.PlaceObjectAt(wall, At(36, 35, 5, 5));
    ASSERT_NE(placedWall, nullptr);
    const Position w = placedWall->pos;  // the cell's north edge, 80 pixels in
    ASSERT_EQ(w, At(36, 35, 80, 0));
    // Aimed at (w.x + 1, w.y + 30): one pixel down a step, x still w.x
    // when the wall's lowest row (9) has been passed.
    auto* lamp = new Thing("Lamp");
    ObjectHolder* own = Lay(lamp, At(36, 35, 20, 20));
    play.RemoveFromMap(own);
    EXPECT_FALSE(map.IsListedAnywhere(own));
    EXPECT_EQ(lamp->m_pHolder, own);  // holder and object stay
    delete own;
    Play::DropResult r = play.DropObject(lamp, w);
    ASSERT_TRUE(r);
    EXPECT_EQ(r.holder->pos, Position(w.x, w.y + 10, 0));
}

TEST_F(Place, ADropOnASideWallWalksRightAndSteps1DownOnlyHalfWay) {
    // Aimed at (w.x + 30, w.y + 1): the error starts at 30 - 2 and falls by 2
    // with each step right alone, so the 15th step is the first to go down.
    struct Case {
        int solidRight;  // columns up to w.x + solidRight - 1 block
        Position at;     // where the drop comes to rest, off w
    } cases[] = {{14, Position(14, 0, 0)}, {15, Position(15, 1, 0)}};
    int cx = 36;
    for (const Case& c : cases) {
        auto image = Block(20, c.solidRight, 20, 20);
        auto* wall = Pictured<SideWall>(image.get());
        ObjectHolder* placedWall = play.PlaceObjectAt(wall, At(cx, 35, 5, 5));
        ASSERT_NE(placedWall, nullptr);
        const Position w = placedWall->pos;  // the cell's west edge, 56 pixels down
        ASSERT_EQ(w, At(cx, 35, 0, 56));
        Play::DropResult r = play.DropObject(new Thing("Lamp"), w);
        ASSERT_TRUE(r) << c.solidRight;
        EXPECT_EQ(r.holder->pos, Position(w.x + c.at.x, w.y + c.at.y, 0)) << c.solidRight;
        DeleteHolderWithObject(r.holder);
        DeleteHolderWithObject(placedWall);
        cx += 2;
    }
}

TEST_F(Place, ADropJustLeftOfABlockedCentreAimsTenPixelsPastIt) {
    const Position centre = At(36, 35);
    const Position w(centre.x - 2, centre.y, 0);
    const struct {
        const char* what;
        int solidRight;  // columns up to centre.x + solidRight - 1 block
        bool placed;
    } rows[] = {
        {"blocked up to 9 right: the walk's last point, 10 right, takes it", 10, true},
        {"blocked through 10 right: a beep, the copy gone, the stack whole", 11, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        auto image = Block(8, row.solidRight, 8, 8);
        ObjectHolder* block = Lay(Pictured<Thing>(image.get()), centre);
        Thing* arrows = Stack(1);
        const int beeps = play.WarningBeeps();
        const int objectsBefore = Thing::live;
        Play::DropResult r = play.DropObject(arrows, w);
        EXPECT_EQ(play.WarningBeeps(), beeps + (row.placed ? 0 : 1));
        if (row.placed) {
            ASSERT_TRUE(r);
            EXPECT_EQ(r.holder->pos, Position(centre.x + 10, centre.y, 0));
            DeleteHolderWithObject(r.holder);
        } else {
            EXPECT_FALSE(r);
            EXPECT_EQ(arrows->m_iBulkNum, 1);
            EXPECT_EQ(Thing::live, objectsBefore);
        }
        DeleteHolderWithObject(block);
    }
}

TEST_F(Place, DropTargetsBesideWallsAndNearTheCentre) {
    auto front = std::make_unique<FrontWall>();
    auto side = std::make_unique<SideWall>();
    auto peg = std::make_unique<Peg>();
    ObjectHolder f(At(36, 35, 80, 0), front.get()), s(At(36, 35, 0, 56), side.get()),
        p(At(36, 35, 0, 0), peg.get());
    const Position w = At(36, 35, 50, 3);
    EXPECT_EQ(Play::DropTarget(w, &f), Position(w.x + 1, w.y + 30, 0));
    EXPECT_EQ(Play::DropTarget(w, &s), Position(w.x + 30, w.y + 1, 0));
    EXPECT_EQ(Play::DropTarget(w, &p), w);
    // Off the centre by d: 1..3 pulls 10 past it, -3..-1 10 short, 0 and 4 or
    // more keep the centre.
    const Position c = At(36, 35);
    struct Case {
        int d;
        int aim;
    } cases[] = {{0, 0}, {1, 10}, {3, 10}, {4, 0}, {-1, -10}, {-3, -10}, {-4, 0}, {30, 0}};
    for (const Case& k : cases) {
        const Position from(c.x - k.d, c.y + k.d, 0);
        EXPECT_EQ(Play::DropTarget(from, nullptr), Position(c.x + k.aim, c.y - k.aim, 0)) << k.d;
    }
}

TEST_F(Place, WallPiecesTakeTheirPlacesOnTheCellUnderThePoint) {
    // Each piece in a cell of its own, at a point inside the cell.
    auto point = [](int cx) { return At(cx, 35, 33, 71); };
    auto origin = [](int cx) { return At(cx, 35, 0, 0); };
    auto* peg = new Peg;
    auto* tile = new Tile;
    auto* front = new FrontWall;
    auto* side = new SideWall;
    ObjectHolder* h = play.PlaceObjectAt(peg, point(36));
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->pos, origin(36));
    EXPECT_EQ(peg->m_pHolder, h);
    h = play.PlaceObjectAt(tile, point(38));
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->pos, Position(origin(38).x, origin(38).y, 45));
    EXPECT_EQ(tile->m_pHolder, h);
    h = play.PlaceObjectAt(front, point(40));
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->pos, Position(origin(40).x + 80, origin(40).y, 0));
    EXPECT_EQ(front->m_pHolder, h);
    // Dropped, a side wall is placed the same way, wherever the point lies
    // in its cell.
    Play::DropResult r = play.DropObject(side, point(42));
    ASSERT_TRUE(r);
    EXPECT_TRUE(r.placedItself);
    EXPECT_EQ(r.holder->pos, Position(origin(42).x, origin(42).y + 56, 0));
    EXPECT_EQ(side->m_pHolder, r.holder);
    const Position q = point(44);

    // A plain wall belongs to no edge: refused, nothing changed.
    Wall plain;
    EXPECT_EQ(play.PlaceObjectAt(&plain, q), nullptr);
    EXPECT_EQ(plain.m_pHolder, nullptr);
    // Outside the map's window nothing is placed, and the piece keeps the
    // holder it had.
    auto other = std::make_unique<Peg>();
    ObjectHolder before(At(1, 1), other.get());
    EXPECT_EQ(play.PlaceObjectAt(other.get(), At(90, 70)), nullptr);
    EXPECT_EQ(other->m_pHolder, &before);
}

// ---- key records

class Switch : public Object {
public:
    explicit Switch(int key) {
        m_iItemNum = key;
        if (World* w = GetWorld()) w->AddToKeyStorage(this);
    }
    int Activate(int*, Player*) override { return ++signals, 1; }
    int signals = 0;
};

TEST_F(Place, AKeySignalReachesEachObjectOfItsRecordOnceAndNoneAfterItIsDestroyed) {
    World& w = world;
    auto a = std::make_unique<Switch>(7);
    auto b = std::make_unique<Switch>(7);
    Switch other(8);
    world.AddToKeyStorage(a.get());  // entered again: still listed once
    ASSERT_EQ(w.m_KeyStorageList.size(), 2u);
    EXPECT_EQ(w.m_KeyStorageList[0]->m_strName, "Lost or Temp Key");
    EXPECT_EQ(w.m_KeyStorageList[0]->m_ObjectList.size(), 2u);

    Player* holderOfKey = PlaceMember(0, At(35, 34));
    holderOfKey->m_iKeyNumber = 7;
    holderOfKey->Update(w.m_iGameTime, &map);
    EXPECT_EQ(a->signals, 1);
    EXPECT_EQ(b->signals, 1);
    EXPECT_EQ(other.signals, 0);

    // The editor gave b another number after it was entered; destroyed, it
    // is gone from every record all the same.
    b->m_iItemNum = 8;
    b.reset();
    a.reset();
    for (const auto& record : w.m_KeyStorageList) {
        for (const auto& h : record->m_ObjectList) EXPECT_NE(h.Get(), nullptr);
    }
    EXPECT_TRUE(w.m_KeyStorageList[0]->m_ObjectList.empty());
    EXPECT_EQ(w.m_KeyStorageList[1]->m_ObjectList.size(), 1u);
    holderOfKey->Update(w.m_iGameTime, &map);  // nothing left to signal, nothing touched
    world.RemoveFromKeyStorage(&other);
    EXPECT_TRUE(w.m_KeyStorageList[1]->m_ObjectList.empty());
    EXPECT_EQ(w.m_KeyStorageList.size(), 2u);  // the records stay, empty
}

// ---- script variables

TEST(ScriptNumbers, ReadAsDecimalAndHeldAtTheEdgesOfTheRange) {
    EXPECT_EQ(ParseScriptNumber("25"), 25);
    EXPECT_EQ(ParseScriptNumber("  -0012abc"), -12);
    EXPECT_EQ(ParseScriptNumber("+7"), 7);
    EXPECT_EQ(ParseScriptNumber(""), 0);
    EXPECT_EQ(ParseScriptNumber("x1"), 0);
    EXPECT_EQ(ParseScriptNumber("-"), 0);
    EXPECT_EQ(ParseScriptNumber("2147483647"), INT_MAX);
    EXPECT_EQ(ParseScriptNumber("2147483648"), INT_MAX);
    EXPECT_EQ(ParseScriptNumber("-2147483648"), INT_MIN);
    EXPECT_EQ(ParseScriptNumber("-2147483649"), INT_MIN);
    EXPECT_EQ(ParseScriptNumber("99999999999999999999999999"), INT_MAX);
}

class ScriptFile : public Place {
protected:
    ScriptFile() {
        play.Saves().SetGameFolder(folder.string() + "/");
        play.Saves().SetSaveFolder("save3\\");
    }
    void Write(const std::string& text) {
        std::ofstream(folder / "save3" / "MessageFile.h", std::ios::binary) << text;
    }
    std::vector<std::pair<std::string, int>> Variables() const {
        std::vector<std::pair<std::string, int>> out;
        for (const auto& v : world.m_ScriptVariableList)
            out.emplace_back(v->m_strSpecialName, v->GetValue());
        return out;
    }
    test_support::TestFolder temp{"script", {"save3"}};
    const std::filesystem::path& folder = temp.dir;
};

TEST_F(ScriptFile, EachLineIsANameAndANumber) {
    Write("Gold 25\n  Troll\t -7xyz  \r\n42abc\nBig 99999999999\nLow -99999999999\nLast");
    play.Saves().ReadScriptVariables();
    using V = std::vector<std::pair<std::string, int>>;
    EXPECT_EQ(
        Variables(),
        (V{{"Gold", 25}, {"Troll", -7}, {"", 42}, {"Big", INT_MAX}, {"Low", INT_MIN}, {"", 0}}));
    // Written back as lines that read as the same variables.
    const std::vector<uint8_t> stored = StoreScriptVariables(world.m_ScriptVariableList);
    EXPECT_EQ(std::string(stored.begin(), stored.end()),
              "Gold 25\nTroll -7\n42\nBig 2147483647\nLow -2147483648\n0\n");
}

TEST_F(ScriptFile, AFileThatCannotBeReadLeavesTheVariablesAsTheyWere) {
    Write("Gold 25\n");
    play.Saves().ReadScriptVariables();
    std::filesystem::remove(folder / "save3" / "MessageFile.h");
    EXPECT_THROW(play.Saves().ReadScriptVariables(), qv::FileError);
    using V = std::vector<std::pair<std::string, int>>;
    EXPECT_EQ(Variables(), (V{{"Gold", 25}}));
    // An empty file is read: no variables.
    Write("");
    play.Saves().ReadScriptVariables();
    EXPECT_TRUE(Variables().empty());
}

}  // namespace
