#include "structures/GlobalImages.h"

#include <map>
#include <memory>
#include <vector>

#include "media/DDObjects.h"
#include "media/Resources.h"
#include "structures/Scenery.h"
#include "world/Map.h"
#include "world/World.h"

namespace {

// How a scenery kind looks: its bitmap, cell size, hot spot and grid.
struct SceneryLook {
    int bitmap, width, height, hotX, hotY, across;
};

constexpr int kSceneryLevels = 4;

const int kWindowPictures[] = {913, 568, 576, 1089, 1090, 960, 943, 961,
                               577, 578, 579, 580,  581,  582, 583, 584};

struct GlobalImages {
    std::array<std::unique_ptr<CDDObject>, kTerrainPictureCount> terrain;
    std::array<CDDObject*, kTerrainPictureCount> terrainPointers{};
    std::map<int, std::unique_ptr<CDDObject>> scenery;  // by bitmap id
    std::map<int, std::unique_ptr<CDDObject>> windows;  // by bitmap id
    // Declared last so the prototypes go before the images they use.
    std::vector<std::unique_ptr<Object>> prototypeObjects;
    SceneryPrototypeTable prototypes{};
    bool loaded = false;
};

GlobalImages& State() {
    static GlobalImages state;
    return state;
}

std::unique_ptr<CDDObject> MakeImage(int bitmap, int width, int height, int hotX, int hotY,
                                     int across, int levels) {
    auto image = std::make_unique<CDDObject>();
    image->m_iWidth = width;
    image->m_iHeight = height;
    image->m_iHotX = hotX;
    image->m_iHotY = hotY;
    int down = 1;
    image->SetCellGrid(across, down);
    image->SetFrameCount(levels);
    image->m_iNumLevels = levels;
    for (int i = 0; i < levels; ++i) {
        int n = levels, frame = i, id = bitmap;
        image->SetFrameLevels(i, n);
        image->SetFrameImage(id, 0, 0, frame);
    }
    image->Load();
    return image;
}

// Gives a prototype its look: the kind's shared image in place of the plain
// object's, with a use counted for it.
void Dress(Object* proto, CDDObject* image) {
    proto->ReleaseImages();
    ++image->m_iUseCount;
    proto->m_pDDImage = image;
    proto->m_pClassDDImage = image;
    proto->m_iNumLevels = image->m_iNumLevels;
    proto->m_bMoveable = 2;
}

template <class Kind, class... Args>
Object* MakePrototype(GlobalImages& g, const SceneryLook& look, Args... args) {
    auto& image = g.scenery[look.bitmap];
    if (!image)
        image = MakeImage(look.bitmap, look.width, look.height, look.hotX, look.hotY, look.across,
                          kSceneryLevels);
    auto proto = std::make_unique<Kind>(args...);
    Dress(proto.get(), image.get());
    g.prototypeObjects.push_back(std::move(proto));
    return g.prototypeObjects.back().get();
}

void BuildPrototypes(GlobalImages& g) {
    const SceneryLook pine{kBitmapLivePine, 64, 96, 32, 90, 1};
    const SceneryLook smallPine{kBitmapLivePineSmall, 40, 64, 20, 60, 1};
    const SceneryLook deadPine{kBitmapDeadPine, 64, 96, 32, 90, 1};
    const SceneryLook mountain{kBitmapBigMountain, 272, 150, 112, 38, 1};
    const SceneryLook iceMountain{kBitmapIceMountain, 272, 150, 112, 38, 1};
    const SceneryLook rocks{kBitmapRocks, 40, 24, 20, 16, 1};
    const SceneryLook rocks2{kBitmapRocks2, 56, 30, 28, 20, 1};
    const SceneryLook darkPatch{kBitmapDarkPatch, 60, 30, 30, 15, 1};
    const SceneryLook flower{kBitmapFlower, 12, 12, 6, 10, 1};
    const SceneryLook flowers{kBitmapFlowers, 30, 20, 15, 14, 1};
    const SceneryLook shrub{kBitmapShrub, 32, 28, 16, 24, 5};
    auto& t = g.prototypes;
    t[0] = {MakePrototype<LivePine>(g, pine), MakePrototype<LivePineSmall>(g, smallPine),
            MakePrototype<DeadPine>(g, deadPine), MakePrototype<LivePine>(g, pine),
            MakePrototype<LivePineSmall>(g, smallPine)};
    t[1] = {MakePrototype<BigMountain>(g, mountain), MakePrototype<IceMountain>(g, iceMountain),
            MakePrototype<Rocks>(g, rocks), MakePrototype<Rocks2>(g, rocks2),
            MakePrototype<Rocks>(g, rocks)};
    t[2] = {MakePrototype<DarkPatch>(g, darkPatch), MakePrototype<Flower>(g, flower),
            MakePrototype<Flowers>(g, flowers), MakePrototype<Rocks>(g, rocks),
            MakePrototype<Rocks2>(g, rocks2)};
    for (int i = 0; i < 5; ++i) t[3][i] = MakePrototype<Shrub>(g, shrub, i);
    t[4] = {MakePrototype<DarkPatch>(g, darkPatch), MakePrototype<Flower>(g, flower),
            MakePrototype<Flowers>(g, flowers), MakePrototype<Flower>(g, flower),
            MakePrototype<Flowers>(g, flowers)};
}

void HandToMap(World* world) {
    if (!world || !world->map_master) return;
    GlobalImages& g = State();
    world->map_master->SetTerrainPictures(g.terrainPointers);
    world->map_master->prototypes = g.prototypes;
}

}  // namespace

int LoadGlobalImages(World* world) {
    GlobalImages& g = State();
    if (!g.loaded) {
        for (int code = 0; code < kTerrainPictureCount; ++code) {
            g.terrain[code] =
                MakeImage(kBitmapTerrain + code, kTerrainWidth, kTerrainHeight, 0, 0, 1, 1);
            g.terrainPointers[code] = g.terrain[code].get();
        }
        // Water moves: one frame per animation step, each from its part of
        // the picture, chosen with m_iWhichSurf.
        CDDObject& water = *g.terrain[3];
        water.SetFrameCount(kWaterAnimationSteps);
        for (int step = 0; step < kWaterAnimationSteps; ++step) {
            int id = kBitmapTerrain + 3, frame = step;
            water.SetFrameImage(id, step * kTerrainWidth, 0, frame);
        }
        water.Load();
        for (int id : kWindowPictures) {
            auto bm = FindBitmapResource(id);
            const int w = bm ? bm->Width() : 1, h = bm ? bm->Height() : 1;
            g.windows[id] = MakeImage(id, w, h, 0, 0, 1, 1);
        }
        BuildPrototypes(g);
        g.loaded = true;
    }
    HandToMap(world);
    return 1;
}

int ReloadGlobalImages(World* world) {
    GlobalImages& g = State();
    if (!g.loaded) return LoadGlobalImages(world);
    int ok = 1;
    for (auto& image : g.terrain)
        if (!image->Load()) ok = 0;
    for (auto& [id, image] : g.scenery)
        if (!image->Load()) ok = 0;
    for (auto& [id, image] : g.windows)
        if (!image->Load()) ok = 0;
    HandToMap(world);
    return ok;
}

void ReleaseGlobalImages() {
    GlobalImages& g = State();
    for (auto& image : g.terrain)
        if (image) image->Release();
    for (auto& [id, image] : g.scenery) image->Release();
    for (auto& [id, image] : g.windows) image->Release();
}

void InvalidateGlobalImages() {
    GlobalImages& g = State();
    g.prototypes = {};
    g.prototypeObjects.clear();  // before their images
    g.scenery.clear();
    g.windows.clear();
    for (auto& image : g.terrain) image.reset();
    g.terrainPointers = {};
    g.loaded = false;
}

CDDObject* GetTerrainPicture(int code) {
    if (code < 0 || code >= kTerrainPictureCount) return nullptr;
    return State().terrainPointers[code];
}

const SceneryPrototypeTable& GetSceneryPrototypes() {
    return State().prototypes;
}

CDDObject* GetWindowPicture(int bitmapId) {
    auto& w = State().windows;
    auto it = w.find(bitmapId);
    return it == w.end() ? nullptr : it->second.get();
}

TerrainPiece TerrainPieceSource(int i, int j) {
    return {32 * i, 14 * j, 32 * i + 32, 14 * j + 14};
}
