#pragma once
// Shared parts of the map tests: a world of 100 x 80 cells with the window at
// a chosen origin and every window cell filled, pictures with known pixels,
// placeable things and creatures.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "media/DDObjects.h"
#include "media/DIBitmap.h"
#include "support/WorldFixture.h"
#include "world/Map.h"
#include "world/MapCreature.h"
#include "world/Object.h"
#include "world/ObjectHolder.h"
#include "world/World.h"

namespace maptest {

// Palette indices of the test pictures and the hit codes they read back.
inline constexpr uint8_t kSolid = 1;  // any opaque colour: blocks
inline constexpr uint8_t kDeck = 2;   // reads as pixel code 2
inline constexpr uint8_t kSnare = 3;  // reads as pixel code 3

// A picture of one w x h cell (cols x rows cells) with the hot spot at
// (hotX, hotY); pixel(x, y) gives the palette index of each pixel of the grid.
inline std::unique_ptr<CDDObject> MakeImage(int w, int h, int hotX, int hotY,
                                            const std::function<uint8_t(int, int)>& pixel,
                                            int cols = 1, int rows = 1) {
    auto image = std::make_unique<CDDObject>();
    image->Create(w, h, hotX, hotY, nullptr, cols, rows);
    auto bitmap = std::make_shared<CDIBitmap>(w * cols, h * rows);
    Palette palette{};
    palette[kSolid] = {255, 0, 0};
    palette[kDeck] = {0, 0, 16};   // 5-6-5 pixel 2
    palette[kSnare] = {0, 0, 24};  // 5-6-5 pixel 3
    bitmap->SetPalette(palette);
    for (int y = 0; y < h * rows; ++y)
        for (int x = 0; x < w * cols; ++x) bitmap->SetPixel(x, y, pixel(x, y));
    image->SetFrameBitmap(0, bitmap);
    image->Load();
    return image;
}

inline std::unique_ptr<CDDObject> SolidImage(int w, int h, int hotX, int hotY) {
    return MakeImage(w, h, hotX, hotY, [](int, int) { return kSolid; });
}

// A placeable object with a picture of its own and a chosen type code.
class Thing : public Object {
public:
    Thing(CDDObject* image, int type = 0, int collision = 2) : m_image(image), m_type(type) {
        m_iLightSampling = collision;
    }
    CDDObject* GetImage() override { return m_image; }
    int Type() override { return m_type; }
    CDDObject* m_image;
    int m_type;
};

// A class of the game given a picture of the test's own.
template <class Base>
struct Pictured : Base {
    CDDObject* image = nullptr;
    CDDObject* GetImage() override { return image; }
};

// A creature as the map sees it.
class Creature : public Object, public MapCreature {
public:
    explicit Creature(int radius = 20) : m_radius(radius) {}
    int Type() override { return PLAYER; }
    MapCreature* GetMapCreature() override { return this; }
    int MapHitPoints() override { return m_hp; }
    int MapSpacingRadius() override { return m_radius; }
    int MapPartySlot() override { return m_partySlot; }
    Object* MapAttackTarget() override { return m_target; }
    bool MapIsRemoved() override { return m_removed; }
    void MapSetLightExposure(int exposure) override { m_exposure = exposure; }
    void SetPosition(MapCell*, Position* pos) override {
        if (pos) m_pos = *pos;
    }

    int m_hp = 10;
    int m_radius;
    int m_partySlot = 0;
    Object* m_target = nullptr;
    bool m_removed = false;
    int m_exposure = -999;
    Position m_pos;
};

// A world of 100 x 80 cells whose window starts at world cell `origin`,
// every window cell filled with open ground; the map is the world's own.
class MapFixture : public ::testing::Test {
protected:
    explicit MapFixture(CellPoint origin = {10, 10}) : small(origin) {}
    ~MapFixture() override {
        // Every test leaves the map without the holders it owns.
        for (auto& h : owned) {
            map.RemoveHolder(h->pos, h.get());
            EXPECT_FALSE(map.IsListedAnywhere(h.get())) << "a holder stayed listed";
        }
    }

    // A holder owned by the test (removed from the map at the end).
    ObjectHolder* Hold(Object* obj, Position pos = {}) {
        owned.push_back(std::make_unique<ObjectHolder>(pos, obj));
        return owned.back().get();
    }
    template <class T, class... Args>
    T* Make(Args&&... args) {
        objects.push_back(std::make_unique<T>(std::forward<Args>(args)...));
        return static_cast<T*>(objects.back().get());
    }
    MapCell& WindowCellAt(const Position& pos) {
        CellPoint wc;
        EXPECT_TRUE(map.WindowCellOf(pos, wc));
        return map.GetCell(wc.x, wc.y);
    }
    // Pixel position of world cell (cx, cy) plus an offset.
    static Position At(int cx, int cy, int dx = 80, int dy = 56) {
        return {cx * 160 + dx, cy * 112 + dy, 0};
    }
    int CountListings(const ObjectHolder* h) const {
        int n = 0;
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j) n += map.GetCell(i, j).holders.Find(h);
        return n;
    }

    std::vector<std::unique_ptr<Object>> objects;  // declared before the map: outlives it
    world_test::SmallWorld small;
    World& world = small.world;
    MapMaster& map = small.map;
    std::vector<std::unique_ptr<ObjectHolder>> owned;
};

}  // namespace maptest
