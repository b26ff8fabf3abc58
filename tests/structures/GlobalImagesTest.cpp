#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "media/DDObjects.h"
#include "media/Resources.h"
#include "structures/GlobalImages.h"
#include "structures/Scenery.h"
#include "support/WorldFixture.h"
#include "world/Map.h"
#include "world/Object.h"
#include "world/World.h"

namespace {

class GlobalImagesTest : public ::testing::Test {
protected:
    void TearDown() override { InvalidateGlobalImages(); }
};

}  // namespace

TEST_F(GlobalImagesTest, TheWorkerThreadBuildsEveryTerrainPicture) {
    EXPECT_EQ(GetTerrainPicture(0), nullptr);
    int result = 0;
    std::thread worker([&] { result = LoadGlobalImages(nullptr); });
    worker.join();
    ASSERT_EQ(result, 1);
    std::set<CDDObject*> distinct;
    for (int code = 0; code < 45; ++code) {
        CDDObject* t = GetTerrainPicture(code);
        ASSERT_NE(t, nullptr) << code;
        distinct.insert(t);
        EXPECT_EQ(t->m_iWidth, 160);
        EXPECT_EQ(t->m_iHeight, 112);
        EXPECT_EQ(t->m_iCellsAcross, 1) << code;
        EXPECT_EQ(t->m_iSurfaceCnt, code == 3 ? 4 : 1) << code;
        ASSERT_TRUE(t->IsLoaded());
    }
    EXPECT_EQ(distinct.size(), 45u);
    EXPECT_EQ(GetTerrainPicture(45), nullptr);
    EXPECT_EQ(GetTerrainPicture(-1), nullptr);
    ASSERT_NE(GetWindowPicture(913), nullptr);
    EXPECT_EQ(GetWindowPicture(913)->m_iWidth, 640);
    EXPECT_EQ(GetWindowPicture(12345), nullptr);
}

TEST_F(GlobalImagesTest, FloorPiecesComeFromTheirPlaceInThePicture) {
    ASSERT_EQ(LoadGlobalImages(nullptr), 1);
    const TerrainPiece p = TerrainPieceSource(4, 7);
    EXPECT_EQ(p.left, 128);
    EXPECT_EQ(p.top, 98);
    EXPECT_EQ(p.right, 160);
    EXPECT_EQ(p.bottom, 112);
    // Each water frame shows its own animation step.
    CDDObject* water = GetTerrainPicture(3);
    const auto waterPicture = FindBitmapResource(kBitmapTerrain + 3);
    for (int step = 0; step < 4; ++step)
        EXPECT_EQ(water->GetFrameSurface(step)->GetPixel(3, 6),
                  PaletteIndexToPixel(waterPicture->GetPixel(step * 160 + 3, 6)));
    // A piece drawn at darkness 0 copies the picture's pixels.
    CDDObject* grass = GetTerrainPicture(0);
    qv::Surface screen(64, 64);
    const qv::Rect src{p.left, p.top, p.right, p.bottom};
    ASSERT_EQ(grass->DrawPiece(&screen, {10, 20}, screen.Bounds(), src, 0), qv::kDrawOk);
    EXPECT_EQ(screen.GetPixel(10, 20), grass->GetFrameSurface(0)->GetPixel(128, 98));
    EXPECT_EQ(screen.GetPixel(41, 33), grass->GetFrameSurface(0)->GetPixel(159, 111));
}

TEST_F(GlobalImagesTest, PrototypesAreSharedSceneryWithTheirOwnPictures) {
    ASSERT_EQ(LoadGlobalImages(nullptr), 1);
    const SceneryPrototypeTable& t = GetSceneryPrototypes();
    int count = 0;
    for (const auto& row : t)
        for (Object* o : row) {
            ASSERT_NE(o, nullptr);
            ++count;
            EXPECT_EQ(o->m_bMoveable, 2);
            ASSERT_NE(o->GetImage(), nullptr);
            EXPECT_TRUE(o->GetImage()->IsLoaded());
            EXPECT_EQ(o->GetImage()->m_iNumLevels, 4);
        }
    EXPECT_EQ(count, 25);
    EXPECT_NE(qv::DynamicCast<LivePine>(t[0][0]), nullptr);
    EXPECT_NE(qv::DynamicCast<LivePineSmall>(t[0][1]), nullptr);
    EXPECT_NE(qv::DynamicCast<DeadPine>(t[0][2]), nullptr);
    EXPECT_NE(qv::DynamicCast<BigMountain>(t[1][0]), nullptr);
    EXPECT_NE(qv::DynamicCast<IceMountain>(t[1][1]), nullptr);
    EXPECT_NE(qv::DynamicCast<Rocks>(t[1][2]), nullptr);
    EXPECT_NE(qv::DynamicCast<Rocks2>(t[1][3]), nullptr);
    for (int i = 0; i < 5; ++i) {
        ASSERT_NE(qv::DynamicCast<Shrub>(t[3][i]), nullptr);
        int col = 0, row = 0;
        t[3][i]->GetImageFrame(&col, &row);
        EXPECT_EQ(col, i);
    }
    EXPECT_NE(qv::DynamicCast<DarkPatch>(t[4][0]), nullptr);
    EXPECT_NE(qv::DynamicCast<Flower>(t[4][1]), nullptr);
    EXPECT_NE(qv::DynamicCast<Flowers>(t[4][2]), nullptr);
    // Kinds share one image; the pine's image counts its two users.
    EXPECT_EQ(t[0][0]->GetImage(), t[0][3]->GetImage());
    EXPECT_EQ(t[0][0]->GetImage()->m_iUseCount, 2);
    // A prototype is hit where its picture is and not beside it.
    CDDObject* pine = t[0][0]->GetImage();
    pine->m_iCurrentColumn = pine->m_iCurrentRow = 0;
    EXPECT_NE(pine->HitTest({0, -3}, 0), 0);     // the trunk just above the foot
    EXPECT_EQ(pine->HitTest({-31, -88}, 0), 0);  // a top corner is see-through
}

TEST_F(GlobalImagesTest, ReloadRefillsLostSurfacesAndInvalidateForgetsAll) {
    ASSERT_EQ(LoadGlobalImages(nullptr), 1);
    CDDObject* water = GetTerrainPicture(3);
    const uint16_t before = water->GetFrameSurface(0)->GetPixel(5, 5);
    water->GetFrameSurface(0)->Fill(0);
    water->GetFrameSurface(0)->MarkLost();
    ASSERT_EQ(ReloadGlobalImages(nullptr), 1);
    EXPECT_EQ(GetTerrainPicture(3), water);  // the same pictures, refilled
    EXPECT_FALSE(water->GetFrameSurface(0)->IsLost());
    EXPECT_EQ(water->GetFrameSurface(0)->GetPixel(5, 5), before);
    InvalidateGlobalImages();
    EXPECT_EQ(GetTerrainPicture(3), nullptr);
    EXPECT_EQ(GetSceneryPrototypes()[0][0], nullptr);
    EXPECT_EQ(GetWindowPicture(913), nullptr);
    // Loading again after forgetting builds afresh.
    ASSERT_EQ(ReloadGlobalImages(nullptr), 1);
    EXPECT_NE(GetTerrainPicture(3), nullptr);
}

TEST_F(GlobalImagesTest, TheFramesMapGetsThePicturesAndPrototypes) {
    World world;
    MapMaster& map = world_test::GiveMap(world);
    ASSERT_EQ(LoadGlobalImages(&world), 1);
    EXPECT_EQ(map.prototypes, GetSceneryPrototypes());
    EXPECT_NE(map.prototypes[3][4], nullptr);
}
