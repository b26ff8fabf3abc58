// Land files byte for byte, their older schemas, their refusals, and the cell
// codes of land pictures.

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "platform/Archive.h"
#include "platform/Files.h"
#include "support/HandWrittenRecord.h"
#include "support/TestPaths.h"
#include "support/WorldFixture.h"
#include "world/LandFixture.h"
#include "world/Map.h"
#include "world/ObjectHolder.h"
#include "world/RandomEncounter.h"

namespace {

using namespace record_test;
using landtest::GameFolder;

// The fields of a land after its Object record, as written by hand.
void PutLandTail(Bytes& b, int32_t terrain, std::initializer_list<int32_t> rect,
                 std::initializer_list<int32_t> origin, int32_t hasbitmap,
                 const std::string& name) {
    PutInt(b, terrain);
    PutInts(b, rect);
    PutInts(b, origin);
    PutInt(b, hasbitmap);
    PutString(b, name);
}

Bytes DefaultLandBytes() {
    Bytes b;
    PutNewClass(b, "Land", 6);
    PutNewClass(b, "Object", 11);
    PutObjectDefaults(b, "Land");
    PutWord(b, 0);  // no holders
    PutLandTail(b, 0, {0, 0, 0, 0}, {0, 0}, 0, "");
    PutWord(b, 0);                // no encounters
    PutInts(b, {1, 1, 0, 0, 0});  // combat tune, tune, sunlight, light level, ambient
    return b;
}

// A land with one placed thing and one encounter: the archive counts classes
// and objects together, so the holder's Object names class 3.
Bytes FullLandBytes() {
    Bytes b;
    PutNewClass(b, "Land", 6);     // class 1, the land 2
    PutNewClass(b, "Object", 11);  // class 3
    PutObjectDefaults(b, "Green Vale");
    PutWord(b, 1);
    PutNewClass(b, "ObjectHolder", 10);  // class 4, the holder 5
    PutInts(b, {1600, 2240});
    PutWord(b, 0x8003);  // an Object, object 6
    PutObjectDefaults(b, "Object");
    PutLandTail(b, 5, {10, 20, 30, 40}, {10, 20}, 1, "hills.bmp");
    PutWord(b, 1);
    PutNewClass(b, "RandomEncounter", 1);  // class 7, the encounter 8
    PutWord(b, 0x8003);                    // its Object base
    PutObjectDefaults(b, "Object");
    PutWord(b, 0);  // no group
    PutInt(b, 3);
    PutInts(b, {4, 2, 1, 7, 1});
    return b;
}

std::unique_ptr<Land> FullLand() {
    auto land = std::make_unique<Land>("Green Vale");
    land->KeepHolder(new ObjectHolder(Position(1600, 2240, 0), new Object("Object")));
    land->terraincode = 5;
    land->bounds = {10, 20, 30, 40};
    land->origin = {10, 20};
    land->hasbitmap = 1;
    land->bitmapname = "hills.bmp";
    auto e = std::make_unique<RandomEncounter>();
    e->time = 3;
    land->encounters.push_back(std::move(e));
    land->combattune = 4;
    land->tune = 2;
    land->sunlight = 1;
    land->lightlevel = 7;
    land->ambient = 1;
    return land;
}

TEST(LandFile, ADefaultLandIs137BytesLaidOutAsStored) {
    Land land;
    const Bytes expected = DefaultLandBytes();
    ASSERT_EQ(expected.size(), 137u);
    EXPECT_EQ(land.StoreBytes(), expected);
    auto back = LoadObject<Land>(expected);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Type(), LAND);
    EXPECT_EQ(back->tune, 1);
    EXPECT_EQ(back->combattune, 1);
    EXPECT_EQ(back->StoreBytes(), expected);
}

TEST(LandFile, ALandWithObjectsAndEncountersReadsAndWritesAlike) {
    const Bytes expected = FullLandBytes();
    EXPECT_EQ(FullLand()->StoreBytes(), expected);

    auto back = LoadObject<Land>(expected);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->holders.size(), 1u);
    ObjectHolder* h = back->holders[0];
    EXPECT_EQ(h->pos.x, 1600);
    EXPECT_EQ(h->pos.y, 2240);
    ASSERT_NE(h->m_pObject, nullptr);
    EXPECT_EQ(h->m_pObject->m_pHolder, h);
    EXPECT_EQ(back->terraincode, 5);
    EXPECT_EQ(back->bounds.right, 30);
    EXPECT_EQ(back->bounds.bottom, 40);
    EXPECT_EQ(back->origin.y, 20);
    EXPECT_EQ(back->bitmapname, "hills.bmp");
    ASSERT_EQ(back->encounters.size(), 1u);
    EXPECT_EQ(back->encounters[0]->time, 3);
    EXPECT_EQ(back->lightlevel, 7);
    EXPECT_EQ(back->ambient, 1);
    // Write, read, write again: the same bytes.
    EXPECT_EQ(back->StoreBytes(), expected);
}

// A land record of an older schema: the Object record, no holders, the tail,
// then whatever the schema had of the last fields.
Bytes OldLand(uint16_t schema, std::initializer_list<int32_t> last) {
    return Record(Land::classInfo, schema, [&](qv::Archive& ar) {
        ar.SerializeClass(&Object::classInfo);
        for (int32_t v : {0, 0, 1, 0}) ar.WriteInt(v);
        ar.WriteString("Old");
        ar.WriteString("Old");
        for (int32_t v : {-1, 0, 1, 1, 0, 1, -1, -1}) ar.WriteInt(v);
        ar.WriteCount(0);
        for (int32_t v : {3, 1, 2, 5, 6, 1, 2, 0}) ar.WriteInt(v);
        ar.WriteString("");
        ar.WriteCount(0);
        for (int32_t v : last) ar.WriteInt(v);
    });
}

TEST(LandFile, OlderSchemasReadWithTheirMissingFieldsAtZeroAndStoreAsSix) {
    // Schema 4: combat tune, tune; no light, no ambient.
    auto four = LoadObject<Land>(OldLand(4, {9, 8}));
    ASSERT_TRUE(four);
    EXPECT_EQ(four->terraincode, 3);
    EXPECT_EQ(four->combattune, 9);
    EXPECT_EQ(four->tune, 8);
    EXPECT_EQ(four->sunlight, 0);
    EXPECT_EQ(four->lightlevel, 0);
    EXPECT_EQ(four->ambient, 0);
    const Bytes stored = four->StoreBytes();
    EXPECT_EQ(stored[2], 6);
    EXPECT_EQ(stored.size(), 137u - 2u);  // "Old" for "Land" in both names

    // Schema 5: the light fields, no ambient switch.
    auto five = LoadObject<Land>(OldLand(5, {9, 8, 1, 12}));
    ASSERT_TRUE(five);
    EXPECT_EQ(five->sunlight, 1);
    EXPECT_EQ(five->lightlevel, 12);
    EXPECT_EQ(five->ambient, 0);

    // Schemas the game never wrote are refused.
    EXPECT_EQ(RefusalOf<Land>(OldLand(3, {9, 8})), qv::ArchiveError::BadSchema);
    EXPECT_EQ(RefusalOf<Land>(OldLand(7, {9, 8, 1, 12, 1, 0})), qv::ArchiveError::BadSchema);
}

TEST(LandFile, EveryTruncationIsRefused) {
    for (const Bytes& whole : {DefaultLandBytes(), FullLandBytes()})
        for (size_t n = 0; n < whole.size(); ++n) {
            Bytes cut(whole.begin(), whole.begin() + static_cast<long>(n));
            qv::Archive in(cut, "cut.lnd");
            EXPECT_THROW(delete in.ReadObjectOf<Land>(), qv::ArchiveError) << n << " bytes";
        }
}

class LandFiles : public testing::Test {
protected:
    GameFolder folder;
    landtest::FrameInFolder frame{folder};
    std::string Path(const std::string& name) { return folder.Working(name).string(); }
};

TEST_F(LandFiles, BadFilesAreRefusedNamingTheFile) {
    auto refusal = [&](const Bytes& bytes) -> std::string {
        qv::WriteWholeFile(Path("bad.lnd"), bytes);
        try {
            Land::ReadFile(Path("bad.lnd"));
        } catch (const qv::ArchiveError& e) {
            return e.file;
        } catch (const qv::FileError& e) {
            return e.fileName;
        }
        return "read";
    };
    EXPECT_EQ(refusal({}), Path("bad.lnd"));
    Bytes cut = DefaultLandBytes();
    cut.resize(100);
    EXPECT_EQ(refusal(cut), Path("bad.lnd"));
    // A class the game does not know, and an object that is not a land.
    Bytes unknown = DefaultLandBytes();
    unknown[6] = 'X';
    EXPECT_EQ(refusal(unknown), Path("bad.lnd"));
    EXPECT_EQ(refusal(StoreObject(Object("Land"))), Path("bad.lnd"));
    // A picture outside the Images folder.
    auto sneaky = FullLand();
    sneaky->bitmapname = "..\\..\\tmp\\world.qvr";
    EXPECT_EQ(refusal(sneaky->StoreBytes()), Path("bad.lnd"));
    // Bytes after the land.
    Bytes longer = DefaultLandBytes();
    longer.push_back(0);
    EXPECT_EQ(refusal(longer), Path("bad.lnd"));
    // A file that is not there.
    try {
        Land::ReadFile(Path("none.lnd"));
        ADD_FAILURE();
    } catch (const qv::FileError& e) {
        EXPECT_EQ(e.cause, qv::FileError::NotFound);
        EXPECT_EQ(e.fileName, Path("none.lnd"));
    }
}

TEST_F(LandFiles, ThePictureIsReadFromTheImagesFolderAndAMissingOneIsReported) {
    folder.Picture("hills.bmp", 20, 20, 8);
    auto full = FullLand();
    full->WriteFile(Path("full.lnd"));
    auto land = Land::ReadFile(Path("full.lnd"));
    ASSERT_TRUE(land->bitmap);
    EXPECT_EQ(land->bitmap->Width(), 20);
    EXPECT_EQ(land->GetCellCode(12, 22, nullptr), 0);

    std::filesystem::remove(folder.dir / "Images" / "hills.bmp");
    try {
        Land::ReadFile(Path("full.lnd"));
        ADD_FAILURE() << "read without its picture";
    } catch (const qv::FileError& e) {
        EXPECT_EQ(e.cause, qv::FileError::NotFound);
        EXPECT_NE(e.fileName.find("hills.bmp"), std::string::npos);
    }
}

// A land's picture gives each cell a pixel: it has at most as many pixels as
// the running world has cells, and one that claims more is refused before it
// is decoded, naming the picture.
TEST_F(LandFiles, ALandPictureHasAtMostAPixelForEachCellOfTheWorld) {
    world_test::GiveMap(frame.frame.m_World).SetWorldSize(100, 80);  // 8000 cells
    struct Row {
        const char* rule;
        int width, height;
        bool read;
    };
    const Row rows[] = {
        {"a pixel for each cell of the world", 100, 80, true},
        {"as many pixels, turned", 80, 100, true},
        {"a row more", 100, 81, false},
        {"a column more", 101, 80, false},
    };
    FullLand()->WriteFile(Path("full.lnd"));
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        folder.Picture("hills.bmp", r.width, r.height, 8);
        try {
            auto land = Land::ReadFile(Path("full.lnd"));
            EXPECT_TRUE(r.read);
            ASSERT_TRUE(land->bitmap);
            EXPECT_EQ(land->bitmap->Width(), r.width);
        } catch (const qv::FileError& e) {
            EXPECT_FALSE(r.read) << e.what();
            EXPECT_NE(e.fileName.find("hills.bmp"), std::string::npos);
            EXPECT_NE(std::string(e.what()).find("more than the 8000 its use can take"),
                      std::string::npos)
                << e.what();
        }
    }
}

TEST_F(LandFiles, SavingReplacesTheFileOnlyWhenWholeAndCopiesBoundsAndName) {
    auto land = FullLand();
    LandInfo info;
    EXPECT_EQ(info.SaveLand(), 0);  // no land
    info.filename = "vale.lnd";
    info.land = land.get();
    EXPECT_EQ(info.SaveLand(), 1);
    EXPECT_EQ(qv::ReadWholeFile(Path("vale.lnd")), FullLandBytes());
    EXPECT_EQ(info.bounds.right, 30);
    EXPECT_EQ(info.landname, land->GetDisplayName());

    // A write that cannot finish leaves the old file whole and is reported.
    std::filesystem::create_directories(folder.Working("vale.lnd.part"));
    land->terraincode = 9;
    EXPECT_THROW(info.SaveLand(), qv::FileError);
    EXPECT_EQ(qv::ReadWholeFile(Path("vale.lnd")), FullLandBytes());
}

// Cell codes of picture pixels, range by range as the game reads them.
TEST(LandCells, EveryPixelValueGivesItsCode) {
    struct Range {
        int first, last, code;
        bool counts;  // the code rises with the pixel
    };
    const Range table[] = {
        {0, 7, -1, false},     {8, 8, 0, false},      {9, 9, 5, false},      {10, 10, 6, false},
        {11, 15, 12, false},   {16, 16, 1, false},    {17, 23, 4, false},    {24, 31, 2, false},
        {32, 39, 3, false},    {40, 40, 1, false},    {41, 47, 4, false},    {48, 55, 8, false},
        {56, 63, 10, false},   {64, 71, 11, false},   {72, 79, 15, true},    {80, 86, 23, true},
        {87, 87, -1, false},   {88, 95, 30, true},    {96, 102, 38, true},   {103, 111, -1, false},
        {112, 112, 13, false}, {113, 113, 14, false}, {114, 255, -1, false},
    };
    int checked = 0;
    for (const Range& r : table)
        for (int p = r.first; p <= r.last; ++p, ++checked)
            EXPECT_EQ(Land::CellCodeOfPixel(p), r.counts ? r.code + (p - r.first) : r.code)
                << "pixel " << p;
    EXPECT_EQ(checked, 256);
}

TEST(LandCells, ALandWithoutAPictureOfCode11PaintsTheCellBlackOnTheMiniMap) {
    // Asked for a cell of the window, a land without a picture answers its
    // terrain code, and for code 11 also paints the cell's four mini-map
    // pixels in colour 0; a code from a picture paints nothing.
    World world;
    MapMaster& map = world_test::GiveMap(world);
    map.SetWorldSize(100, 80);
    map.SetOrigin({0, 0});
    // Explored, the cell would show its picture's colour if plotted so.
    map.SetExplored({3, 2});
    struct Row {
        const char* rule;
        int32_t terraincode;
        uint8_t picturePixel;  // 0: no picture
        int code;
        uint8_t minimap;  // the cell's pixels afterwards (7 before)
    };
    const Row rows[] = {
        {"no picture, code 11: black", 11, 0, 11, 0},
        {"no picture, code 10: untouched", 10, 0, 10, 7},
        {"no picture, code 12: untouched", 12, 0, 12, 7},
        {"code 11 from a picture: untouched", 0, 64, 11, 7},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Land land;
        land.terraincode = r.terraincode;
        if (r.picturePixel) {
            land.bitmap = std::make_unique<CDIBitmap>(8, 8);
            land.bitmap->FillRect(0, 0, 8, 8, r.picturePixel);
            land.origin = {0, 0};
        }
        map.FillMinimap(7);
        EXPECT_EQ(land.GetCellCode(3, 2, &map), r.code);
        for (int x : {6, 7})
            for (int y : {4, 5}) EXPECT_EQ(map.GetMinimapPixel(x, y), r.minimap);
        EXPECT_EQ(map.GetMinimapPixel(8, 4), 7);  // the cell beside it
    }
}

TEST(LandCells, APictureCoversItsRectangleAcrossTheSeamAndALandWithoutOneCoversAll) {
    World world;
    MapMaster& map = world_test::GiveMap(world);
    map.SetWorldSize(100, 80);

    Land land;
    land.terraincode = 6;
    // Without a picture: the terrain code everywhere, inside or not.
    EXPECT_EQ(land.GetCellCode(0, 0, &map), 6);
    EXPECT_EQ(land.GetCellCode(77, 55, &map), 6);

    land.bitmap = std::make_unique<CDIBitmap>(4, 2);
    land.bitmap->SetPixel(0, 0, 8);    // open ground
    land.bitmap->SetPixel(2, 0, 48);   // mountains
    land.bitmap->SetPixel(3, 1, 113);  // ice
    land.bitmap->SetPixel(1, 1, 3);    // left to an enclosing land
    land.origin = {98, 5};
    EXPECT_EQ(land.GetCellCode(98, 5, &map), 0);
    EXPECT_EQ(land.GetCellCode(0, 5, &map), 8);  // across the seam
    EXPECT_EQ(land.GetCellCode(1, 6, &map), 14);
    EXPECT_EQ(land.GetCellCode(99, 6, &map), -1);
    EXPECT_EQ(land.GetCellCode(2, 5, &map), -1);   // past the picture's width
    EXPECT_EQ(land.GetCellCode(97, 5, &map), -1);  // before it
    EXPECT_EQ(land.GetCellCode(98, 7, &map), -1);  // below it

    // An origin at the integer range's edges, as a damaged land file may
    // hold, places the picture nowhere in this world.
    const CellPoint kept = land.origin;
    land.origin = {INT32_MIN, INT32_MAX};
    EXPECT_EQ(land.GetCellCode(5, 5, &map), -1);
    EXPECT_EQ(land.GetCellCode(99, 0, &map), -1);
    land.origin = {INT32_MAX, INT32_MIN};
    EXPECT_EQ(land.GetCellCode(0, 79, &map), -1);
    land.origin = kept;

    land.ComputeBounds(1);
    EXPECT_EQ(land.bounds.left, 98);
    EXPECT_EQ(land.bounds.top, 5);
    EXPECT_EQ(land.bounds.right, 2);  // straddles the seam
    EXPECT_EQ(land.bounds.bottom, 7);
}

}  // namespace

namespace {

// The fuzz corpus holds lands as the game writes them: each reads, and stores
// back to its own bytes.
TEST(LandFile, TheFuzzCorpusLandsReadAndStoreBackUnchanged) {
    const std::string corpus = test_support::TestDataFolder() + "/../../fuzz/corpus/land_file/";
    for (const char* name : {"default.lnd", "objects.lnd"}) {
        const auto bytes = qv::ReadWholeFile(corpus + name);
        EXPECT_EQ(Land::FromBytes(bytes, name)->StoreBytes(), bytes) << name;
    }
    EXPECT_EQ(qv::ReadWholeFile(corpus + "default.lnd"), DefaultLandBytes());
    EXPECT_EQ(qv::ReadWholeFile(corpus + "objects.lnd"), FullLandBytes());
    auto old = Land::FromBytes(qv::ReadWholeFile(corpus + "schema4.lnd"), "schema4.lnd");
    EXPECT_EQ(old->tune, 8);
}

}  // namespace
