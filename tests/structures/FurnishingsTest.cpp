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
#include "structures/Furnishings.h"
#include "structures/LightSource.h"
#include "structures/Walls.h"
#include "support/HandWrittenRecord.h"
#include "world/ObjectCatalogue.h"
#include "world/World.h"

namespace {

using record_test::Bytes;
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

}  // namespace

// Each kind as the catalogue makes it; a copy of it, its stored fields moved
// away from their defaults, is stored with the same bytes as its original;
// the carried ones go into a bag.
TEST(ObjectKinds, EachStandsInItsListIsWhatItsKindMakesItAndCopiesWhole) {
    World world;
    BuildObjectCatalogue(world.m_Catalogue);
    CBag bag;
    for (const KindRow& r : kKindRows) {
        SCOPED_TRACE(std::string(r.name) + " made " + std::to_string(r.place));
        const ObjectCatalogue::List& list = world.m_Catalogue.Get(r.list);
        ASSERT_LT(r.place, list.size());
        Object* made = list[list.size() - 1 - r.place].get();
        ASSERT_EQ(ClassOf(made), r.name);
        EXPECT_EQ(made->m_strSpecialName, r.name);
        EXPECT_EQ(std::string(made->GetRuntimeClass()->base->name), r.stored);
        EXPECT_EQ(made->Type(), r.type);
        EXPECT_EQ(made->m_iLightSampling >= 2, r.blocks) << "placed by its picture";
        EXPECT_EQ(made->m_bMoveable == 1, r.carried);
        // A sign is gone to and read where it stands.
        EXPECT_EQ(made->CanInteract() == 1, r.carried || r.light > 0 || IsReadable(*made));
        auto* wall = qv::DynamicCast<Wall>(made);
        EXPECT_EQ(wall ? wall->GetWallKind() : kNoWall, r.wallKind);
        EXPECT_EQ(FindObjectKind(r.name) != nullptr, !wall) << "a row of the table of kinds";
        if (LightSource* light = LightOf(made)) {
            // Full at its centre, nothing at its reach.
            Position centre(800, 560, 0);
            light->SetPosition(nullptr, &centre);
            EXPECT_EQ(light->GetIntensityAt(centre), r.light);
            EXPECT_EQ(light->GetIntensityAt(Position(800 + light->GetReach(), 560, 0)), 0.0);
            EXPECT_EQ(light->m_bVisible, 1) << "seen in play, not only by the world maker";
        } else {
            EXPECT_EQ(r.light, 0);
        }

        std::unique_ptr<Object> original(made->Clone());
        ASSERT_NE(original, nullptr);
        original->m_iValue += 7;
        original->m_iState = 2;
        original->m_iOwner = 4;
        original->m_bInteract = 0;
        original->m_iSpare1 = 9;
        if (auto* brick = qv::DynamicCast<Wall>(original.get())) brick->m_bSeeThrough = 1;
        if (auto* light = LightOf(original.get())) light->m_iDuration = 5000;
        std::unique_ptr<Object> copy(original->Clone());
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(ClassOf(copy.get()), r.name);
        EXPECT_EQ(StoreObject(*copy), StoreObject(*original)) << "the copy";
        if (r.carried) {
            EXPECT_EQ(bag.PutItem(copy.release()), 1);
        }
    }
}

// Every kind of the table has a class of its own, and stands on its hot spot
// inside its cell; a kind that blocks has its foot there, so that nothing
// walks through the foot of a table or a column.
TEST(ObjectKinds, EachHasItsClassAndStandsOnItsHotSpotABlockingKindOnItsFoot) {
    constexpr int kFoot = 4;  // pixels about the hot spot
    for (const ObjectKind& kind : ObjectKinds()) {
        SCOPED_TRACE(kind.name);
        const qv::RuntimeClass* cls = qv::RuntimeClass::Find(kind.name);
        ASSERT_NE(cls, nullptr);
        EXPECT_TRUE(cls->versioned);
        EXPECT_EQ(cls->schema, 1u);
        EXPECT_EQ(FindObjectKind(kind.name), &kind);
        EXPECT_EQ(&KindNamed(kind.name), &kind);
        std::unique_ptr<qv::Persistent> made(cls->CreateObject());
        auto* object = qv::DynamicCast<Object>(made.get());
        ASSERT_NE(object, nullptr);
        CDDObject* image = object->m_pDDImage;
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->m_iCellsAcross, kind.variants);
        EXPECT_TRUE(kind.hotX >= 0 && kind.hotX < image->m_iWidth) << kind.hotX;
        EXPECT_TRUE(kind.hotY >= 0 && kind.hotY < image->m_iHeight) << kind.hotY;
        int solid = 0;
        for (int dy = -kFoot; dy <= kFoot; ++dy)
            for (int dx = -kFoot; dx <= kFoot; ++dx) solid += image->HitTest({dx, dy}, 0) != 0;
        if (kind.blocks) {
            EXPECT_GT(solid, 0);
        }
    }
    EXPECT_EQ(FindObjectKind("Shrub"), nullptr) << "a class outside the table";
}

// One record of each family, byte by byte: the kind's class, the classes its
// record extends, the object's fields and the family's own. Read back, it is
// stored unchanged, and what the kind fixes (carrying) is the kind's, not the
// record's; cut short anywhere, it is refused.
TEST(ObjectKinds, RecordsOfEachFamilyByteByByte) {
    struct Row {
        const char* family;
        std::unique_ptr<Object> object;
        std::vector<const char*> bases;  // the classes its record extends, Object's last
        int column, weight, value;
        std::vector<int32_t> own;  // the family's own fields
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
    for (const Row& r : rows) {
        SCOPED_TRACE(r.family);
        Bytes want;
        const std::string name = ClassOf(r.object.get());
        record_test::PutNewClass(want, name, 1);
        for (const char* base : r.bases) record_test::PutNewClass(want, base, 1);
        record_test::PutNewClass(want, "Object", 11);
        record_test::PutInts(want, {r.column, 0, r.weight, r.value});
        record_test::PutString(want, name);
        record_test::PutString(want, name);
        record_test::PutInts(want, {-1, 0, 1, 1, 0, 1, -1, -1});
        for (int32_t v : r.own) record_test::PutInts(want, {v});
        EXPECT_EQ(StoreObject(*r.object), want);
        auto back = record_test::LoadObject<Object>(want);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(StoreObject(*back), want);
        EXPECT_EQ(back->m_bMoveable, r.object->m_bMoveable) << "a kind's own, not stored";
        for (size_t n = 0; n < want.size(); ++n) {
            SCOPED_TRACE("cut to " + std::to_string(n) + " bytes");
            record_test::RefusalOf<Object>(Bytes(want.begin(), want.begin() + n));
        }
    }
}

TEST(ObjectKinds, AVariantOutsideThePictureShowsTheFirst) {
    struct Row {
        const char* rule;
        bool painting;  // else a gem
        int variant, shown;
    };
    const Row rows[] = {
        {"the first gem", false, 0, 0},
        {"the last gem", false, kGemVariants - 1, kGemVariants - 1},
        {"one past the gems", false, kGemVariants, 0},
        {"a gem before the first", false, -1, 0},
        {"the first painting", true, 0, 0},
        {"the last painting", true, kPictureVariants - 1, kPictureVariants - 1},
        {"one past the paintings", true, kPictureVariants, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        std::unique_ptr<Object> object(r.painting ? static_cast<Object*>(new Picture(r.variant))
                                                  : new Gem(r.variant));
        int column = 0, row = 0;
        object->GetImageFrame(&column, &row);
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
