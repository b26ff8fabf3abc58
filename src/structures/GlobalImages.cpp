#include "structures/GlobalImages.h"

#include <map>
#include <memory>
#include <set>
#include <vector>

#include "media/DDObjects.h"
#include "media/Resources.h"
#include "structures/Scenery.h"
#include "world/Map.h"
#include "world/World.h"

namespace {

const int kWindowPictures[] = {913, 568, 576, 1089, 1090, 960, 943, 961,
                               577, 578, 579, 580,  581,  582, 583, 584};

struct GlobalImages {
    std::array<std::unique_ptr<CDDObject>, kTerrainPictureCount> terrain;
    std::array<CDDObject*, kTerrainPictureCount> terrainPointers{};
    std::map<int, std::unique_ptr<CDDObject>> windows;  // by bitmap id
    // The prototypes, each wearing its class's look.
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

// A prototype of random population: a scenery object wearing its class's
// look, marked shared.
template <class Kind, class... Args>
Object* MakePrototype(GlobalImages& g, Args... args) {
    auto proto = std::make_unique<Kind>(args...);
    proto->m_bMoveable = 2;
    g.prototypeObjects.push_back(std::move(proto));
    return g.prototypeObjects.back().get();
}

void BuildPrototypes(GlobalImages& g) {
    auto& t = g.prototypes;
    t[0] = {MakePrototype<LivePine>(g), MakePrototype<LivePineSmall>(g), MakePrototype<DeadPine>(g),
            MakePrototype<LivePine>(g), MakePrototype<LivePineSmall>(g)};
    t[1] = {MakePrototype<BigMountain>(g), MakePrototype<IceMountain>(g), MakePrototype<Rocks>(g),
            MakePrototype<Rocks2>(g), MakePrototype<Rocks>(g)};
    t[2] = {MakePrototype<DarkPatch>(g), MakePrototype<Flower>(g), MakePrototype<Flowers>(g),
            MakePrototype<Rocks>(g), MakePrototype<Rocks2>(g)};
    for (int i = 0; i < 5; ++i) t[3][i] = MakePrototype<Shrub>(g, i);
    t[4] = {MakePrototype<DarkPatch>(g), MakePrototype<Flower>(g), MakePrototype<Flowers>(g),
            MakePrototype<Flower>(g), MakePrototype<Flowers>(g)};
}

// The distinct pictures the prototypes wear.
std::set<CDDObject*> PrototypeImages(const GlobalImages& g) {
    std::set<CDDObject*> images;
    for (const auto& proto : g.prototypeObjects)
        if (CDDObject* image = proto->GetImage()) images.insert(image);
    return images;
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
    for (CDDObject* image : PrototypeImages(g))
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
    for (CDDObject* image : PrototypeImages(g)) image->Release();
    for (auto& [id, image] : g.windows) image->Release();
}

void InvalidateGlobalImages() {
    GlobalImages& g = State();
    g.prototypes = {};
    g.prototypeObjects.clear();
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
