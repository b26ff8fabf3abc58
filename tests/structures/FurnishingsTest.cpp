// The world maker's furnishings, lights, wall pieces of brick and small
// carried things: where each stands in the catalogue, what it is (blocking,
// lit, carried, its broad class), its stored record and its copies.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "items/Bag.h"
#include "items/ObjectCatalogueBuild.h"
#include "items/Trinkets.h"
#include "media/DDObjects.h"
#include "media/Resources.h"
#include "platform/Surface.h"
#include "structures/Furnishings.h"
#include "structures/LightSource.h"
#include "structures/Walls.h"
#include "support/HandWrittenRecord.h"
#include "support/WorldFixture.h"
#include "world/ObjectCatalogue.h"
#include "world/World.h"

namespace {

using record_test::Bytes;
using record_test::LoadObject;
using record_test::PutInts;
using record_test::PutNewClass;
using record_test::PutString;
using record_test::StoreObject;

std::string ClassOf(const Object* object) {
    return object ? object->GetRuntimeClass()->name : "(none)";
}

constexpr CatalogueList W = CatalogueList::Walls, M = CatalogueList::Misc, G = CatalogueList::Magic;
constexpr bool kBlocks = true, kFlat = false, kCarried = true, kPlaced = false;
constexpr int kNoWall = -1;

// One row a kind: its stored class, its list and its place there counted in
// the order the lists are made (from the tail), whether it blocks, the light
// at its centre, whether it is carried, its type code, the class whose record
// it extends, and for a wall piece its wall kind.
struct KindRow {
    const char* name;
    CatalogueList list;
    size_t place;
    bool blocks;
    int light;
    bool carried;
    int type;
    const char* stored;
    int wallKind;
};

// clang-format off
const KindRow kKindRows[] = {
    {"PegBrick", W, 0, kBlocks, 0, kPlaced, WALL, "Peg", 3},
    {"Net", W, 1, kBlocks, 0, kPlaced, SCENERY, "Scenery", kNoWall},
    {"Rope", W, 2, kBlocks, 0, kPlaced, SCENERY, "Scenery", kNoWall},
    {"FrontWallBrick", W, 15, kBlocks, 0, kPlaced, WALL, "FrontWall", 1},
    {"SideWallBrick", W, 17, kBlocks, 0, kPlaced, WALL, "SideWall", 2},
    {"Sign", W, 24, kBlocks, 0, kPlaced, 0, "Object", kNoWall},
    {"Whistle", M, 0, kFlat, 0, kCarried, USEABLE, "Useable", kNoWall},
    {"Trash", M, 1, kFlat, 0, kCarried, USEABLE, "Useable", kNoWall},
    {"SnakeSkin", M, 2, kFlat, 0, kCarried, USEABLE, "Useable", kNoWall},
    {"Gem", M, 3, kFlat, 0, kCarried, USEABLE, "Useable", kNoWall},
    {"Gem", M, 10, kFlat, 0, kCarried, USEABLE, "Useable", kNoWall},
    {"BookCase", M, 12, kBlocks, 0, kPlaced, SCENERY, "Scenery", kNoWall},
    {"Book", M, 13, kFlat, 0, kCarried, 0, "Object", kNoWall},
    {"Letter", M, 14, kFlat, 0, kCarried, 0, "Object", kNoWall},
    {"Table", M, 16, kBlocks, 0, kPlaced, SCENERY, "Scenery", kNoWall},
    {"Bench", M, 17, kBlocks, 0, kPlaced, SCENERY, "Scenery", kNoWall},
    {"FloorChange", M, 21, kFlat, 0, kPlaced, 0, "Object", kNoWall},
    {"Gas", M, 22, kFlat, 0, kPlaced, 0, "Object", kNoWall},
    {"CampFire", M, 23, kBlocks, 120, kPlaced, 0, "LightSource", kNoWall},
    {"Torch", M, 24, kFlat, 100, kCarried, 0, "LightSource", kNoWall},
    {"Candle", M, 25, kFlat, 60, kCarried, 0, "LightSource", kNoWall},
    {"WallTorch", M, 27, kFlat, 100, kPlaced, 0, "LightSource", kNoWall},
    {"Hearth", M, 28, kBlocks, 128, kPlaced, 0, "LightSource", kNoWall},
    {"Candelabra", M, 29, kBlocks, 80, kPlaced, 0, "LightSource", kNoWall},
    {"Candelabra2", M, 30, kBlocks, 100, kPlaced, 0, "LightSource", kNoWall},
    {"Column", M, 34, kBlocks, 0, kPlaced, SCENERY, "Scenery", kNoWall},
    {"Fountain", M, 36, kBlocks, 0, kPlaced, SCENERY, "Scenery", kNoWall},
    {"Forge", M, 37, kBlocks, 0, kPlaced, SCENERY, "Scenery", kNoWall},
    {"Picture", M, 38, kFlat, 0, kPlaced, SCENERY, "Scenery", kNoWall},
    {"Picture", M, 43, kFlat, 0, kPlaced, SCENERY, "Scenery", kNoWall},
    {"Altar", M, 44, kBlocks, 0, kPlaced, SCENERY, "Scenery", kNoWall},
    {"Target", M, 45, kBlocks, 0, kPlaced, SCENERY, "Scenery", kNoWall},
    {"Clock", M, 48, kBlocks, 0, kPlaced, SCENERY, "Scenery", kNoWall},
    {"Blocks", M, 50, kBlocks, 0, kPlaced, SCENERY, "Scenery", kNoWall},
    {"SpriteTest", M, 51, kFlat, 0, kPlaced, 0, "Object", kNoWall},
    {"BandAid", G, 0, kFlat, 0, kCarried, USEABLE, "Useable", kNoWall},
};
// clang-format on

// The prototype made `place`-th in its list.
Object* MadeAt(const ObjectCatalogue& catalogue, CatalogueList list, size_t place) {
    const ObjectCatalogue::List& entries = catalogue.Get(list);
    return place < entries.size() ? entries[entries.size() - 1 - place].get() : nullptr;
}

// Stored fields away from their defaults, so that a copy or a record that
// dropped one shows it.
void Unsettle(Object& object) {
    object.m_iXImageNum = 0;
    object.m_iValue += 7;
    object.m_iState = 2;
    object.m_iOwner = 4;
    object.m_bInteract = 0;
    object.m_iSpare1 = 9;
}

}  // namespace

TEST(ObjectKinds, EachStandsInItsListAndIsWhatItsKindMakesIt) {
    World world;
    BuildObjectCatalogue(world.m_Catalogue);
    for (const KindRow& r : kKindRows) {
        SCOPED_TRACE(std::string(r.name) + " made " + std::to_string(r.place));
        Object* made = MadeAt(world.m_Catalogue, r.list, r.place);
        ASSERT_EQ(ClassOf(made), r.name);
        EXPECT_EQ(made->m_strSpecialName, r.name);
        EXPECT_EQ(std::string(made->GetRuntimeClass()->base->name), r.stored);
        EXPECT_EQ(made->Type(), r.type);
        EXPECT_EQ(made->m_iLightSampling >= 2, r.blocks) << "placed by its picture";
        EXPECT_EQ(made->m_bMoveable == 1, r.carried);
        EXPECT_EQ(made->CanInteract() == 1, r.carried || r.light > 0);
        auto* wall = qv::DynamicCast<Wall>(made);
        EXPECT_EQ(wall ? wall->GetWallKind() : kNoWall, r.wallKind);
        EXPECT_EQ(FindObjectKind(r.name) != nullptr, !wall) << "a row of the table of kinds";
        LightSource* light = LightOf(made);
        ASSERT_EQ(light != nullptr, r.light > 0);
        if (light) {
            // Full at its centre, nothing at its reach.
            Position centre(800, 560, 0);
            light->SetPosition(nullptr, &centre);
            EXPECT_EQ(light->GetIntensityAt(centre), r.light);
            EXPECT_EQ(light->GetIntensityAt(Position(800 + light->GetReach(), 560, 0)), 0.0);
            EXPECT_EQ(light->m_bVisible, 1) << "seen in play, not only by the world maker";
        }
    }
}

TEST(ObjectKinds, GemsAndPaintingsAreMadeInTheirVariantsOrder) {
    World world;
    BuildObjectCatalogue(world.m_Catalogue);
    struct Row {
        const char* kind;
        size_t first;
        std::vector<int> columns;
    };
    const Row rows[] = {
        {"Gem", 3, {0, 1, 4, 5, 2, 3, 6, 7}},
        {"Picture", 38, {0, 1, 2, 3, 4, 5}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        std::vector<int> seen;
        for (size_t i = 0; i < r.columns.size(); ++i) {
            Object* made = MadeAt(world.m_Catalogue, M, r.first + i);
            ASSERT_EQ(ClassOf(made), r.kind);
            int column = 0, row = 0;
            made->GetImageFrame(&column, &row);
            seen.push_back(column);
        }
        EXPECT_EQ(seen, r.columns);
    }
}

TEST(ObjectKinds, EveryKindOfTheTableHasAClassAndEveryRowOfTheTestIsOne) {
    for (const ObjectKind& kind : ObjectKinds()) {
        SCOPED_TRACE(kind.name);
        const qv::RuntimeClass* cls = qv::RuntimeClass::Find(kind.name);
        ASSERT_NE(cls, nullptr);
        EXPECT_TRUE(cls->versioned);
        EXPECT_EQ(cls->schema, 1u);
        EXPECT_EQ(FindObjectKind(kind.name), &kind);
        EXPECT_EQ(&KindNamed(kind.name), &kind);
    }
    EXPECT_EQ(FindObjectKind("Shrub"), nullptr) << "a class outside the table";
}

// A kind stands on its hot spot, inside its cell; a kind that blocks has its
// foot there, so that nothing walks through the foot of a table or a column.
TEST(ObjectKinds, EachStandsOnItsHotSpotAndABlockingKindOnItsFoot) {
    constexpr int kFoot = 4;  // pixels about the hot spot
    for (const ObjectKind& kind : ObjectKinds()) {
        SCOPED_TRACE(kind.name);
        std::unique_ptr<qv::Persistent> made(qv::RuntimeClass::Find(kind.name)->CreateObject());
        auto* object = qv::DynamicCast<Object>(made.get());
        ASSERT_NE(object, nullptr);
        CDDObject* image = object->m_pDDImage;
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->m_iCellsAcross, kind.variants);
        EXPECT_GE(kind.hotX, 0);
        EXPECT_LT(kind.hotX, image->m_iWidth);
        EXPECT_GE(kind.hotY, 0);
        EXPECT_LT(kind.hotY, image->m_iHeight);
        int solid = 0;
        for (int dy = -kFoot; dy <= kFoot; ++dy)
            for (int dx = -kFoot; dx <= kFoot; ++dx) solid += image->HitTest({dx, dy}, 0) != 0;
        if (kind.blocks) {
            EXPECT_GT(solid, 0);
        }
    }
}

// Copies and records keep every stored field: a copy is stored with the same
// bytes as its original, and a record read back is stored again unchanged.
TEST(ObjectKinds, CopiesAndRecordsKeepEveryStoredField) {
    World world;
    BuildObjectCatalogue(world.m_Catalogue);
    for (const KindRow& r : kKindRows) {
        SCOPED_TRACE(std::string(r.name) + " made " + std::to_string(r.place));
        std::unique_ptr<Object> original(MadeAt(world.m_Catalogue, r.list, r.place)->Clone());
        ASSERT_NE(original, nullptr);
        int variant = -1, row = -1;
        MadeAt(world.m_Catalogue, r.list, r.place)->GetImageFrame(&variant, &row);
        Unsettle(*original);
        original->m_iXImageNum = variant;
        if (auto* wall = qv::DynamicCast<Wall>(original.get())) wall->m_bSeeThrough = 1;
        if (auto* light = LightOf(original.get())) light->m_iDuration = 5000;
        const Bytes bytes = StoreObject(*original);
        std::unique_ptr<Object> copy(original->Clone());
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(ClassOf(copy.get()), r.name);
        EXPECT_EQ(StoreObject(*copy), bytes) << "the copy";
        auto back = LoadObject<Object>(bytes);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(ClassOf(back.get()), r.name);
        EXPECT_EQ(StoreObject(*back), bytes) << "read back";
        EXPECT_EQ(back->m_bMoveable, original->m_bMoveable) << "a kind's own, not stored";
    }
}

TEST(ObjectKinds, CarriedKindsGoIntoABag) {
    World world;
    BuildObjectCatalogue(world.m_Catalogue);
    CBag bag;
    size_t carried = 0;
    for (const KindRow& r : kKindRows) {
        if (!r.carried) continue;
        SCOPED_TRACE(r.name);
        Object* thing = MadeAt(world.m_Catalogue, r.list, r.place)->Clone();
        EXPECT_EQ(bag.PutItem(thing), 1);
        ++carried;
    }
    EXPECT_EQ(bag.ItemCount(), static_cast<int>(carried));
}

// One record of each family, byte by byte: the kind's class, the classes its
// record extends, the object's fields and the family's own.
TEST(ObjectKinds, RecordsOfEachFamilyByteByByte) {
    struct Row {
        const char* family;
        std::unique_ptr<Object> object;
        std::vector<const char*> bases;  // the classes its record extends, Object's last
        int column, weight, value;
        std::vector<int32_t> own;  // the family's own fields
        Bytes want = {};
    };
    // clang-format off
    Row rows[] = {
        {"furniture", std::make_unique<Table>(), {"Scenery"}, 0, 1, 0, {}},
        {"a painting, its variant its column", std::make_unique<Picture>(4), {"Scenery"}, 4, 1, 0, {}},
        // Strength, reach, seen in play, lit, lasting for ever.
        {"a light", std::make_unique<CampFire>(), {"LightSource"}, 0, 1, 0, {120, 280, 1, 1, 0}},
        {"a plain kind", std::make_unique<Book>(), {}, 0, 2, 10, {}},
        {"a carried item", std::make_unique<Gem>(5), {"Useable"}, 5, 1, 50, {}},
        // Walk through, see through, locked.
        {"a wall piece", std::make_unique<FrontWallBrick>(), {"FrontWall", "Wall"}, 0, 1, 0, {0, 0, 0}},
    };
    // clang-format on
    for (Row& r : rows) {
        Bytes& b = r.want;
        const std::string name = ClassOf(r.object.get());
        PutNewClass(b, name, 1);
        for (const char* base : r.bases) PutNewClass(b, base, 1);
        PutNewClass(b, "Object", 11);
        PutInts(b, {r.column, 0, r.weight, r.value});
        PutString(b, name);
        PutString(b, name);
        PutInts(b, {-1, 0, 1, 1, 0, 1, -1, -1});
        for (int32_t v : r.own) PutInts(b, {v});
    }
    for (const Row& r : rows) {
        SCOPED_TRACE(r.family);
        EXPECT_EQ(StoreObject(*r.object), r.want);
        auto back = LoadObject<Object>(r.want);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(ClassOf(back.get()), ClassOf(r.object.get()));
        EXPECT_EQ(back->m_iXImageNum, r.object->m_iXImageNum);
        // Every record cut short is refused.
        for (size_t n = 0; n < r.want.size(); ++n) {
            SCOPED_TRACE("cut to " + std::to_string(n) + " bytes");
            const Bytes cut(r.want.begin(), r.want.begin() + static_cast<std::ptrdiff_t>(n));
            record_test::RefusalOf<Object>(cut);
        }
    }
}

TEST(ObjectKinds, AVariantOutsideThePictureShowsTheFirst) {
    struct Row {
        const char* rule;
        std::unique_ptr<Object> object;
        int shown;
    };
    Row rows[] = {
        {"the first gem", std::make_unique<Gem>(0), 0},
        {"the last gem", std::make_unique<Gem>(kGemVariants - 1), kGemVariants - 1},
        {"one past the gems", std::make_unique<Gem>(kGemVariants), 0},
        {"a gem before the first", std::make_unique<Gem>(-1), 0},
        {"the first painting", std::make_unique<Picture>(0), 0},
        {"the last painting", std::make_unique<Picture>(kPictureVariants - 1),
         kPictureVariants - 1},
        {"one past the paintings", std::make_unique<Picture>(kPictureVariants), 0},
    };
    for (Row& r : rows) {
        SCOPED_TRACE(r.rule);
        int column = 0, row = 0;
        r.object->GetImageFrame(&column, &row);
        EXPECT_EQ(column, r.shown);
        EXPECT_EQ(row, 0);
    }
}

TEST(ObjectKinds, FloorChangesAndGasKeepWhereTheyArePut) {
    FloorChange change;
    Gas gas;
    Position at(330, 145, 0);
    change.SetPosition(nullptr, &at);
    gas.SetPosition(nullptr, &at);
    EXPECT_EQ(change.m_Position, at);
    EXPECT_EQ(gas.m_Position, at);
    change.SetPosition(nullptr, nullptr);
    EXPECT_EQ(change.m_Position, at) << "no place given changes nothing";
}

// Lights of a kind are seen in play; a bare light source only by the world
// maker.
TEST(ObjectKinds, LightsOfAKindAreSeenInPlay) {
    World world;
    world_test::TestRules rules;
    world.m_pRules = &rules;
    qv::Surface screen(200, 200);
    auto drawn = [&](Object& o) {
        screen.Fill(0);
        o.Draw(&screen, {100, 150}, screen.Bounds(), Position(0, 0, 0), 0);
        int lit = 0;
        for (int y = 0; y < screen.Height(); ++y)
            for (int x = 0; x < screen.Width(); ++x) lit += screen.GetPixel(x, y) != 0;
        return lit;
    };
    CampFire fire;
    Candle candle;
    LightSource bare;
    EXPECT_GT(drawn(fire), 0);
    EXPECT_GT(drawn(candle), 0);
    EXPECT_EQ(drawn(bare), 0);
    world.m_pRules = nullptr;
}
