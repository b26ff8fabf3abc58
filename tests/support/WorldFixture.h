#pragma once
// A small world for the tests of world rules: a World (the current one while
// it lives) with a map of its own, 100 x 80 cells whose window starts at a
// chosen world cell, every window cell open ground. Tests that need the group
// tree make it with world.CreateRootGroups().

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "media/DDObjects.h"
#include "world/Map.h"
#include "world/World.h"
#include "world/WorldRules.h"

namespace world_test {

// A path finder whose answer the test gives; none set: no way is found.
struct TestPaths : PathFinder {
    std::function<bool(MapMaster& map, qv::Point from, qv::Point to)> reaches;
    bool Reaches(MapMaster& map, qv::Point from, qv::Point to) override {
        return reaches && reaches(map, from, to);
    }
};

// Rules of play whose answers the test gives: a creature's approach (none
// set: nothing to do) and the conversations opened.
struct TestRules : WorldRules {
    std::function<int(Player* creature, int flag)> approach;
    std::function<void(Player* speaker, const std::string& node)> talk;
    int Approach(Player* creature, int flag) override {
        return approach ? approach(creature, flag) : 0;
    }
    // No `talk`: no conversation can open.
    bool OpenConversation(Player* speaker, const std::string& node) override {
        if (!talk) return false;
        talk(speaker, node);
        return true;
    }
    std::string GameFolder() const override { return folder; }
    int IsEditing() const override { return editing; }
    // The uses that waited for a target, as they asked, and the pauses ended.
    struct Choice {
        Object* item;
        Player* user;
        int selectMode, pause;
        std::string prompt;
    };
    void BeginTargetChoice(Object* item, Player* user, int selectMode, int pause,
                           const std::string& prompt) override {
        choices.push_back({item, user, selectMode, pause, prompt});
    }
    void EndUsePause() override { ++pausesEnded; }
    std::string folder;
    int editing = 0;
    std::vector<Choice> choices;
    int pausesEnded = 0;
};

// Gives `world` a fresh map of its own and answers it.
inline MapMaster& GiveMap(World& world) {
    world.map_master = std::make_unique<MapMaster>();
    return *world.map_master;
}

struct SmallWorld {
    explicit SmallWorld(CellPoint origin = {10, 10}) : map(GiveMap(world)) {
        map.SetWorldSize(100, 80);
        map.SetOrigin(origin);
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j) map.GetCell(i, j).image = &floor;
    }

    CDDObject floor;  // declared before the world: outlives its map
    World world;
    MapMaster& map;
};

}  // namespace world_test
