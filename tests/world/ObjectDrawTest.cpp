// Drawing an object with the map's light: the level at its position, the
// corners of its picture for things placed by their picture, and the mark
// of an object left undrawn outside the lit window.

#include "MapFixture.h"
#include "platform/Surface.h"
#include "structures/LightSource.h"
#include "world/MapLight.h"
#include "world/World.h"

using namespace maptest;

namespace {

class ObjectDrawing : public MapFixture {
protected:
    ObjectDrawing() {
        map.daylight = 50;
        map.focuscell = {35, 34};
        // 128 levels: a level is the map's darkness itself.
        picture = SolidImage(64, 64, 32, 32);
        picture->m_iNumLevels = 128;
        thing.m_pDDImage = thing.m_pClassDDImage = picture.get();
    }
    ~ObjectDrawing() override { thing.m_pDDImage = thing.m_pClassDDImage = &Object::ClassImage(); }
    int DrawnLevel(const Position& pos) {
        picture->m_iLightLevel = -99;
        thing.Draw(&screen, {320, 240}, screen.Bounds(), pos, 0);
        return picture->m_iLightLevel;
    }

    // A light on the top-left corner of a picture drawn at the place below,
    // then the map's light computed around the focus.
    void LampOnTheCorner(int strength, int radius) {
        Position lamp = At(35, 34, 16, 4);
        auto* light = Make<LightSource>();
        light->m_iStrength = strength;
        light->m_iRadius = radius;
        ASSERT_EQ(map.AddHolder(lamp, Hold(light)), 1);
        map.ComputeLight(At(35, 34), 0);
    }
    const Position place = At(35, 34, 48, 36);

    std::unique_ptr<CDDObject> picture;
    Object thing;
    qv::Surface screen{640, 480};
};

TEST_F(ObjectDrawing, ThePictureTakesTheLightestLitCornerNoDarkerThanItsPlace) {
    // A faint light: darkness 40 at the place; at the corners (top-left,
    // top-right, bottom-left, bottom-right) 38, 41, 41, 42.
    LampOnTheCorner(40, 1000);
    ASSERT_EQ(map.GetLightAt(place), 40);
    ASSERT_EQ(map.GetLightAt(At(35, 34, 16, 4)), 38);
    ASSERT_EQ(map.GetLightAt(At(35, 34, 80, 68)), 42);

    thing.m_iLightSampling = 1;
    EXPECT_EQ(DrawnLevel(place), 40) << "a point-placed thing samples its place only";
    thing.m_iLightSampling = 2;
    EXPECT_EQ(DrawnLevel(place), 38);
    EXPECT_EQ(thing.m_bNotDrawn, 0);
}

TEST_F(ObjectDrawing, FullyLitAndUnlitCornersAreIgnored) {
    // A strong short light: darkness 0 on the corner, 49 at the place, 78, 72
    // and 78 at the other corners.
    LampOnTheCorner(100, 60);
    thing.m_iLightSampling = 2;
    ASSERT_EQ(map.GetLightAt(At(35, 34, 16, 4)), 0);
    EXPECT_EQ(DrawnLevel(place), 49);

    // On the top row of the lit window the upper corners are outside it.
    const Position edge = At(35, 31, 80, 10);
    ASSERT_EQ(map.GetLightAt(At(35, 31, 48, -22)), -1);
    EXPECT_EQ(DrawnLevel(edge), 78);
    EXPECT_EQ(thing.m_bNotDrawn, 0);
}

TEST_F(ObjectDrawing, OutsideTheLitWindowNothingIsDrawnAndTheObjectIsMarked) {
    map.ComputeLight(At(35, 34), 0);
    thing.m_iLightSampling = 2;
    picture->m_iNumLevels = 1;  // its one frame is drawn
    EXPECT_EQ(DrawnLevel(At(35, 34)), 0);
    EXPECT_NE(screen.GetPixel(320, 240), 0);
    qv::Surface clean(640, 480);
    picture->m_iLightLevel = 5;
    EXPECT_EQ(thing.Draw(&clean, {320, 240}, clean.Bounds(), At(35, 30), 0), 0);
    EXPECT_EQ(thing.m_bNotDrawn, 1);
    EXPECT_EQ(picture->m_iLightLevel, 5) << "the picture is left as it was";
    EXPECT_EQ(clean.GetPixel(320, 240), 0);
}

}  // namespace
