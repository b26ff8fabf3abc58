// The land tree: where a land is inserted, what it adopts, what its removal
// lifts, and the tree's record in the world file.

#include <gtest/gtest.h>

#include "platform/Archive.h"
#include "support/HandWrittenRecord.h"
#include "world/Land.h"
#include "world/Map.h"

namespace {

std::unique_ptr<LandInfo> Info(const std::string& name, CellRect bounds) {
    auto info = std::make_unique<LandInfo>();
    info->filename = name;
    info->bounds = bounds;
    return info;
}

// The tree as text: each node's file name with its children in brackets.
std::string Shape(const LandGraph& node) {
    std::string s = node.info ? node.info->filename : "-";
    if (node.children.empty()) return s;
    s += "(";
    for (size_t i = 0; i < node.children.size(); ++i)
        s += (i ? " " : "") + Shape(*node.children[i]);
    return s + ")";
}

class LandTree : public testing::Test {
protected:
    LandTree() { map.SetWorldSize(100, 80); }
    // Inserts the lands in order, each with adopt.
    void Build(std::initializer_list<std::pair<const char*, CellRect>> lands) {
        for (const auto& [name, rect] : lands) root.Insert(Info(name, rect), &map, 1);
    }
    MapMaster map;
    LandGraph root;
};

TEST_F(LandTree, AnEmptyRootTakesTheFirstLandAndLaterOnesGoUnderTheSmallestContainer) {
    Build({{"world", {0, 0, 100, 80}},
           {"vale", {10, 10, 30, 30}},
           {"cave", {12, 12, 14, 14}},
           {"isle", {40, 40, 50, 50}}});
    EXPECT_EQ(Shape(root), "world(isle vale(cave))");  // the others go again after it
}

TEST_F(LandTree, ALandContainingSiblingsAdoptsThemWithTheirSubtreesOnce) {
    Build({{"world", {0, 0, 100, 80}},
           {"vale", {10, 10, 30, 30}},
           {"cave", {12, 12, 14, 14}},
           {"isle", {40, 40, 50, 50}},
           {"realm", {5, 5, 35, 35}}});
    EXPECT_EQ(Shape(root), "world(realm(vale(cave)) isle)");
    // Without adopt the siblings stay where they are.
    root.Insert(Info("sea", {38, 38, 60, 60}), &map, 0);
    EXPECT_EQ(Shape(root), "world(realm(vale(cave)) isle sea)");
}

TEST_F(LandTree, ALandFlushWithItsContainersEdgeOrAcrossTheSeamIsNested) {
    // Corner reaches vale's right and bottom bounds; strait straddles the
    // seam, and reef and bay lie in it on either side of the seam.
    Build({{"world", {0, 0, 100, 80}},
           {"vale", {10, 10, 30, 30}},
           {"corner", {20, 20, 30, 30}},
           {"strait", {95, 10, 5, 20}},
           {"reef", {97, 12, 2, 15}},
           {"bay", {1, 12, 4, 14}}});
    EXPECT_EQ(Shape(root), "world(strait(bay reef) vale(corner))");
    // Overlapping without being inside: a sibling.
    root.Insert(Info("ridge", {25, 25, 35, 35}), &map, 1);
    EXPECT_EQ(Shape(root), "world(ridge strait(bay reef) vale(corner))");
}

TEST_F(LandTree, NestingIsTheSameWhateverTheOrderOfInsertion) {
    const std::vector<std::pair<std::string, CellRect>> lands = {
        {"realm", {5, 5, 35, 35}}, {"vale", {10, 10, 30, 30}}, {"cave", {12, 12, 14, 14}}};
    for (int order : {0, 1, 2, 3, 4, 5}) {
        LandGraph tree;
        tree.Insert(Info("world", {0, 0, 100, 80}), &map, 1);
        std::vector<size_t> idx = {0, 1, 2};
        for (int k = 0; k < order; ++k) std::next_permutation(idx.begin(), idx.end());
        for (size_t i : idx) tree.Insert(Info(lands[i].first, lands[i].second), &map, 1);
        EXPECT_EQ(Shape(tree), "world(realm(vale(cave)))") << "order " << order;
    }
}

TEST_F(LandTree, RemovingALandLiftsItsChildrenToItsParent) {
    Build({{"world", {0, 0, 100, 80}},
           {"realm", {5, 5, 35, 35}},
           {"vale", {10, 10, 30, 30}},
           {"cave", {12, 12, 14, 14}},
           {"hut", {31, 31, 33, 33}}});
    ASSERT_EQ(Shape(root), "world(realm(hut vale(cave)))");
    LandInfo* vale = root.children[0]->children[1]->info.get();
    root.Remove(vale, &map);
    EXPECT_EQ(Shape(root), "world(realm(cave hut))");
    // A land that is not in the tree: nothing happens.
    LandInfo stranger;
    root.Remove(&stranger, &map);
    EXPECT_EQ(Shape(root), "world(realm(cave hut))");
}

TEST_F(LandTree, TheTreeIsStoredAsChildrenThenInfo) {
    root.Insert(Info("world.lnd", {0, 0, 100, 80}), &map, 1);
    root.Insert(Info("vale.lnd", {10, 10, 30, 30}), &map, 1);
    root.children[0]->info->landname = "Vale";
    using namespace record_test;
    Bytes b;
    PutNewClass(b, "LandGraph", 1);  // class 1, root 2
    PutWord(b, 1);
    PutWord(b, 0x8001);             // the child node 3
    PutWord(b, 0);                  // no children
    PutNewClass(b, "LandInfo", 1);  // class 4, vale's info 5
    PutInts(b, {10, 10, 30, 30});
    PutString(b, "vale.lnd");
    PutString(b, "Vale");
    PutWord(b, 0x8004);  // the root's info 6
    PutInts(b, {0, 0, 100, 80});
    PutString(b, "world.lnd");
    PutString(b, "");
    EXPECT_EQ(StoreObject(root), b);
    auto back = LoadObject<LandGraph>(b);
    ASSERT_TRUE(back);
    EXPECT_EQ(Shape(*back), "world.lnd(vale.lnd)");
    EXPECT_EQ(back->children[0]->info->landname, "Vale");
    EXPECT_EQ(back->info->bounds.bottom, 80);
}

}  // namespace

namespace {

TEST(LandInfoRecord, AFileNameWithAFolderOrAWayUpIsRefused) {
    using namespace record_test;
    for (const char* name :
         {"..\\..\\world.qvr", "/etc/vale.lnd", "tmp/vale.lnd", "C:vale.lnd", ""}) {
        LandInfo info;
        info.filename = name;
        EXPECT_EQ(RefusalOf<LandInfo>(StoreObject(info)), qv::ArchiveError::BadString) << name;
    }
    LandInfo plain;
    plain.filename = "Vale 2.lnd";
    EXPECT_EQ(LoadObject<LandInfo>(StoreObject(plain))->filename, "Vale 2.lnd");
}

}  // namespace
