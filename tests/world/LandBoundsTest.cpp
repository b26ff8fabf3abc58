// The rectangles of lands read from files lie in the world: a land file's
// against the running map's size, an index entry's against the largest world
// a position can address, and each entry of a world's index against the world
// its root land spans. A rectangle outside is refused naming the file.

#include <gtest/gtest.h>

#include <climits>

#include "platform/Archive.h"
#include "support/HandWrittenRecord.h"
#include "support/WorldFixture.h"
#include "world/Land.h"
#include "world/Map.h"

namespace {

using namespace record_test;

// A default land (as a land file holds it) with the given rectangle.
Bytes LandWithRect(int32_t l, int32_t t, int32_t r, int32_t b) {
    Bytes bytes;
    PutNewClass(bytes, "Land", 6);
    PutNewClass(bytes, "Object", 11);
    PutObjectDefaults(bytes, "Land");
    PutWord(bytes, 0);  // no holders
    PutInt(bytes, 0);   // terrain
    PutInts(bytes, {l, t, r, b});
    PutInts(bytes, {0, 0});  // origin
    PutInt(bytes, 0);        // no picture
    PutString(bytes, "");
    PutWord(bytes, 0);                // no encounters
    PutInts(bytes, {1, 1, 0, 0, 0});  // tunes, sunlight, light level, ambient
    return bytes;
}

// The error of reading a land file's bytes, or "read".
std::string Refusal(const Bytes& bytes) {
    try {
        Land::FromBytes(bytes, "vale.lnd");
    } catch (const qv::ArchiveError& e) {
        EXPECT_EQ(e.file, "vale.lnd");
        EXPECT_EQ(e.cause, qv::ArchiveError::BadIndex);
        return e.what();
    }
    return "read";
}

TEST(LandBounds, ALandFileLiesInTheRunningWorld) {
    world_test::SmallWorld small;  // 100 x 80 cells
    EXPECT_EQ(Refusal(LandWithRect(0, 0, 100, 80)), "read");
    EXPECT_EQ(Refusal(LandWithRect(90, 70, 10, 5)), "read") << "across the seam";
    EXPECT_EQ(Refusal(LandWithRect(0, 0, 0, 0)), "read");
    for (auto rect :
         {std::array{-1, 0, 10, 10}, std::array{0, -1, 10, 10}, std::array{0, 0, 101, 10},
          std::array{0, 0, 10, 81}, std::array{101, 0, 10, 10}, std::array{0, 81, 10, 10},
          std::array{INT32_MIN, 0, INT32_MAX, 10}}) {
        const std::string why = Refusal(LandWithRect(rect[0], rect[1], rect[2], rect[3]));
        EXPECT_NE(why.find("outside a world of 100 x 80 cells"), std::string::npos) << why;
        EXPECT_NE(why.find("vale.lnd"), std::string::npos) << why;
    }
}

TEST(LandBounds, WithoutAMapALandFileLiesInTheLargestWorld) {
    World none;
    EXPECT_EQ(Refusal(LandWithRect(0, 0, Land::kMaxWorldCellsX, Land::kMaxWorldCellsY)), "read");
    EXPECT_NE(Refusal(LandWithRect(0, 0, Land::kMaxWorldCellsX + 1, 10)), "read");
    EXPECT_NE(Refusal(LandWithRect(0, 0, 10, Land::kMaxWorldCellsY + 1)), "read");
    // 2147483647 / 160 and / 112.
    EXPECT_EQ(Land::kMaxWorldCellsX, 13421772);
    EXPECT_EQ(Land::kMaxWorldCellsY, 19173961);
}

TEST(LandBounds, AnIndexEntryWithANegativeOrHugeEdgeIsRefused) {
    for (auto rect :
         {qv::Rect{-5, 0, 10, 10}, qv::Rect{0, 0, INT32_MAX, 10}, qv::Rect{0, INT32_MIN, 10, 10}}) {
        LandInfo info;
        info.filename = "vale.lnd";
        info.bounds = rect;
        EXPECT_EQ(RefusalOf<LandInfo>(StoreObject(info)), qv::ArchiveError::BadIndex);
    }
}

// A world's index whose root spans 200 x 160 cells, with one land under it.
Bytes MapRecordWith(const qv::Rect& child) {
    LandGraph root;
    root.info = std::make_unique<LandInfo>();
    root.info->filename = "world.lnd";
    root.info->bounds = {0, 0, 200, 160};
    auto node = std::make_unique<LandGraph>();
    node->info = std::make_unique<LandInfo>();
    node->info->filename = "isle.lnd";
    node->info->bounds = child;
    root.children.push_back(std::move(node));
    qv::Archive out("world.qvr");
    out.SerializeClass(&MapMaster::classInfo);
    out.WriteObject(&root);
    Bytes bytes = out.TakeBytes();
    bytes.resize(bytes.size() + 25 * 160, 0);  // nothing explored
    return bytes;
}

TEST(LandBounds, EveryLandOfAWorldsIndexLiesInTheWorldItsRootSpans) {
    auto read = [](const Bytes& bytes, MapMaster& map) -> std::string {
        qv::Archive in(bytes, "world.qvr");
        in.SerializeClass(&MapMaster::classInfo);
        try {
            map.Serialize(in);
        } catch (const qv::ArchiveError& e) {
            EXPECT_EQ(e.file, "world.qvr");
            return e.what();
        }
        return "read";
    };
    for (auto rect : {qv::Rect{150, 140, 200, 160}, qv::Rect{190, 150, 10, 20}}) {
        MapMaster map;
        EXPECT_EQ(read(MapRecordWith(rect), map), "read");
        EXPECT_EQ(map.worldcellx, 200);
        map.DeleteContents();
    }
    for (auto rect :
         {qv::Rect{190, 150, 210, 160}, qv::Rect{0, 0, 10, 161}, qv::Rect{201, 0, 10, 10}}) {
        MapMaster map;
        map.SetWorldSize(100, 80);
        const std::string why = read(MapRecordWith(rect), map);
        EXPECT_NE(why.find("isle.lnd"), std::string::npos) << why;
        EXPECT_NE(why.find("outside a world of 200 x 160 cells"), std::string::npos) << why;
        // The map keeps its world.
        EXPECT_EQ(map.worldcellx, 100);
    }
}

}  // namespace
