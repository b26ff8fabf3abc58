#pragma once
// A running world in a game folder of the test's own: a World and a Play whose
// map is a 51 x 48 world of one root land kept in the working folder "tmp\",
// with the group tree made, for the tests of the world file and of saved games.
// The shell's tests give it the frame's World and Play (shell/WorldFileFixture.h).

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "creatures/Player.h"
#include "platform/Archive.h"
#include "platform/Files.h"
#include "play/Play.h"
#include "support/WorldFixture.h"
#include "world/Group.h"
#include "world/Land.h"
#include "world/LandFixture.h"
#include "world/Map.h"
#include "world/ObjectHolder.h"
#include "world/TimeOfDay.h"

namespace worldfile_test {

constexpr int32_t kWorldW = MapMaster::wide;
constexpr int32_t kWorldH = MapMaster::high;

// Every file of a folder with its bytes (none when the folder is not there).
inline std::map<std::string, std::vector<uint8_t>> Files(const std::filesystem::path& dir) {
    std::map<std::string, std::vector<uint8_t>> files;
    if (!std::filesystem::exists(dir)) return files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.is_regular_file())
            files[entry.path().filename().string()] = qv::ReadWholeFile(entry.path().string());
    return files;
}

// `read` refuses every cut of `bytes` (each `step`-th length) and the bytes
// with one more at their end.
template <class Read>
void ExpectCutsAndLongerRefused(const std::vector<uint8_t>& bytes, Read read, size_t step = 1) {
    for (size_t n = 0; n < bytes.size(); n += step)
        EXPECT_THROW(
            read(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(n))),
            qv::ArchiveError)
            << n;
    std::vector<uint8_t> longer = bytes;
    longer.push_back('x');
    EXPECT_THROW(read(longer), qv::ArchiveError);
}

inline Position At(int cx, int cy, int dx = 80, int dy = 56) {
    return {cx * MapMaster::CellWidth + dx, cy * MapMaster::CellHeight + dy, 0};
}

// The game folder, made before the world that uses it and gone after it.
struct WithGameFolder {
    landtest::GameFolder folder;
};

// The world's map, land tree and group tree on the World and Play given.
class WorldFileWorld {
protected:
    WorldFileWorld(const landtest::GameFolder& folder, World& w, Play& p)
        : world(w), play(p), map(world_test::GiveMap(w)) {
        play.Saves().SetGameFolder(folder.Base());
        play.Saves().SetCurrentFolder(folder.Base() + "tmp\\");
        world.CreateRootGroups();
        map.SetWorldSize(kWorldW, kWorldH);
        root = std::make_unique<Land>("World");
        root->bounds = {0, 0, kWorldW, kWorldH};
        map.landgraph = new LandGraph;
        auto info = std::make_unique<LandInfo>("world.lnd", root.get());
        rootInfo = info.get();
        map.landgraph->Insert(std::move(info), &map, 1);
    }
    ~WorldFileWorld() {
        map.DeleteContents();
        world.DeleteGroups();
    }
    WorldFileWorld(const WorldFileWorld&) = delete;
    WorldFileWorld& operator=(const WorldFileWorld&) = delete;

    // Puts the root land in memory with the things and creatures it keeps,
    // written to its file, and streams it into the window around cell (25, 24).
    void Open() {
        rootInfo->land = root.get();
        rootInfo->SaveLand();
        rootInfo->land = nullptr;
        root.reset();
        map.ReloadWindowAt(25, 24);
    }
    void Keep(Object* obj, const Position& pos) {
        ASSERT_TRUE(root);
        root->KeepHolder(new ObjectHolder(pos, obj));
    }
    static Object* Thing(const std::string& name) {
        auto* obj = new Object("Object");
        obj->m_strSpecialName = name;
        return obj;
    }
    static Player* Creature(const std::string& name, int32_t group) {
        auto* p = new Player;
        p->m_strSpecialName = name;
        p->m_iGroupNum = group;
        return p;
    }
    // A group of the table at `number`, under "All Groups".
    Group* NumberedGroup(int32_t number, const std::string& name) {
        return world.AddNumberedGroup(number, name);
    }
    // That group, keeping its one creature `creature` at pos.
    Group* GroupOf(int32_t number, const std::string& name, const std::string& creature,
                   const Position& pos) {
        Keep(Creature(creature, number), pos);
        return NumberedGroup(number, name);
    }

    // Every named object on the map, with its cell position and, for a
    // creature, its group's number and hit points.
    std::map<std::string, std::string> Census() {
        std::map<std::string, std::string> seen;
        std::set<ObjectHolder*> onMap;
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j)
                for (ObjectHolder* h : map.GetCell(i, j).holders) onMap.insert(h);
        for (ObjectHolder* h : onMap) {
            Object* o = h->m_pObject;
            if (!o || o->m_strSpecialName.empty()) continue;
            std::string what = std::to_string(h->pos.x) + "," + std::to_string(h->pos.y);
            if (auto* p = dynamic_cast<Player*>(o))
                what += " group " +
                        std::to_string(p->m_pGroup ? p->m_pGroup->m_iOwnGroupNum : -99) + " hp " +
                        std::to_string(p->m_iHitPoints);
            seen[o->m_strSpecialName] += what + ";";
        }
        return seen;
    }

    std::vector<uint8_t> Store() {
        qv::Archive ar("world.qvr");
        play.Saves().Serialize(ar);
        return ar.TakeBytes();
    }
    // Reads a world from bytes as a saved game (replace) or a world change.
    void Read(const std::vector<uint8_t>& bytes, bool replace = true) {
        qv::Archive ar(bytes, "world.qvr");
        play.Saves().SetLoadingGame(replace ? 1 : 0);
        play.Saves().Serialize(ar);
        play.Saves().SetLoadingGame(0);
        EXPECT_EQ(ar.Remaining(), 0u);
    }

    World& world;
    Play& play;
    MapMaster& map;
    std::unique_ptr<Land> root;
    LandInfo* rootInfo = nullptr;
};

// The world and play of the test's own.
struct WithOwnPlay {
    World ownWorld;
    Play ownPlay{ownWorld};
};

class PlayWorldFileTest : public testing::Test,
                          protected WithGameFolder,
                          protected WithOwnPlay,
                          public WorldFileWorld {
protected:
    PlayWorldFileTest() : WorldFileWorld(folder, ownWorld, ownPlay) {}
};

}  // namespace worldfile_test
