// The start world the game ships, made by the game's own classes and writers:
// a world of 100 x 80 cells with a meadow, a lake shore and woods, a walled
// yard with a door, light sources, scenery, two groups of creatures and a
// party of one, written into the slot folder "original" of a game folder.
//
// Everything is put together in a staging game folder beside it and the
// finished slot folder takes the place of the old one, so a run that fails
// leaves the previous start world, and the game folder's saved games and
// working folder are never touched.

#include "data/StartWorld.h"

#include "creatures/Player.h"
#include "media/DIBitmap.h"
#include "platform/Files.h"
#include "shell/MainFrm.h"
#include "structures/LightSource.h"
#include "structures/Scenery.h"
#include "structures/Walls.h"
#include "world/Group.h"
#include "world/Land.h"
#include "world/Map.h"
#include "world/ObjectHolder.h"
#include "world/UnusedNumbers.h"

namespace {

constexpr int32_t kWorldW = 100;
constexpr int32_t kWorldH = 80;
// Picture pixels and the cell codes they give (Land::CellCodeOfPixel).
constexpr uint8_t kOpenGround = 8;  // code 0
constexpr uint8_t kRough = 16;      // code 1
constexpr uint8_t kDense = 24;      // code 2
constexpr uint8_t kSteep = 32;      // code 3
// The lands' steady daylight levels (the map's daylight is the level + 1).
constexpr int32_t kBright = 99;
constexpr int32_t kShaded = 60;
const char* const kWorldFile = "start.qvr";

Position CellPos(int cx, int cy, int dx = 80, int dy = 56) {
    return {cx * MapMaster::CellWidth + dx, cy * MapMaster::CellHeight + dy, 0};
}

struct Maker {
    CMainFrame& frame;
    MapMaster& map;
    LandGraph* tree;
    std::string stage;

    // A land of w x h cells at `origin`, its picture filled with `ground`
    // and painted by `paint`, kept in its file once `fill` has given it its
    // objects.
    template <class Paint, class Fill>
    void AddLand(const std::string& name, CellPoint origin, int w, int h, uint8_t ground,
                 int32_t light, Paint paint, Fill fill) {
        CDIBitmap picture(w, h);
        picture.FillRect(0, 0, w, h, ground);
        paint(picture);
        if (!picture.Save(stage + "Images/" + name + ".bmp"))
            throw qv::FileError(qv::FileError::Other, name + ".bmp");
        Land land(name);
        land.bitmapname = name + ".bmp";
        land.hasbitmap = 1;
        land.lightlevel = light;  // a steady daylight of light + 1
        land.origin = origin;
        land.bounds = {origin.x, origin.y, origin.x + w, origin.y + h};
        fill(land);
        auto info = std::make_unique<LandInfo>(name + ".lnd", &land);
        info->land = nullptr;
        tree->Insert(std::move(info), &map, 1);
    }
    static void Keep(Land& land, Object* object, const Position& pos) {
        land.KeepHolder(new ObjectHolder(pos, object));
    }
    Player* Creature(const std::string& name, int32_t group, int32_t hitPoints) {
        auto* p = new Player;
        p->SetName(name);
        p->m_iGroupNum = group;
        p->m_iMaxHitPoints = hitPoints;
        p->m_iHitPoints = hitPoints;
        return p;
    }
};

}  // namespace

void WriteStartWorld(const std::string& gameFolder) {
    std::string game = gameFolder;
    if (game.empty() || (game.back() != '/' && game.back() != '\\')) game += '/';
    const std::string stage = game + "start-world.part/";
    qv::RemoveFolder(stage);
    qv::MakeFolder(stage + "Images");
    qv::MakeFolder(stage + "tmp");

    {
        CMainFrame frame;
        frame.m_strGameFolder = stage;
        frame.m_strCurrentFolder = stage + "tmp/";
        frame.m_World.CreateRootGroups();
        frame.m_World.map_master = std::make_unique<MapMaster>();
        MapMaster& map = *frame.m_World.map_master;
        map.SetWorldSize(kWorldW, kWorldH);
        Maker make{frame, map, new LandGraph, stage};
        map.landgraph = make.tree;

        auto root = std::make_unique<Land>("World");
        root->bounds = {0, 0, kWorldW, kWorldH};
        root->lightlevel = kBright;
        {
            auto info = std::make_unique<LandInfo>("world.lnd", root.get());
            info->land = nullptr;
            make.tree->Insert(std::move(info), &map, 1);
        }

        frame.m_World.AddNumberedGroup(2, "Wolves");
        frame.m_World.AddNumberedGroup(3, "Villagers");

        // The meadow: a walled yard with a door in its south wall, two lamps,
        // shrubs, and the villagers.
        make.AddLand(
            "Meadow", {10, 10}, 30, 24, kOpenGround, kBright,
            [](CDIBitmap& p) {
                for (int x = 0; x < 30; x += 3) p.SetPixel(x, 23 - x % 5, kRough);
            },
            [&](Land& land) {
                for (int i = 0; i < 6; ++i) {
                    Object* wall = i == 3 ? static_cast<Object*>(new FrontDoorBrick)
                                          : static_cast<Object*>(new FrontWall);
                    Maker::Keep(land, wall, CellPos(22 + i, 26, 0, 0));
                    Maker::Keep(land, new FrontWall, CellPos(22 + i, 20, 0, 0));
                }
                for (int j = 0; j < 6; ++j) {
                    Maker::Keep(land, new SideWall, CellPos(22, 20 + j, 0, 0));
                    Maker::Keep(land, new SideWall, CellPos(28, 20 + j, 0, 0));
                }
                for (int k = 0; k < 2; ++k) {
                    auto* lamp = new LightSource("Lamp");
                    lamp->m_iStrength = 110;
                    lamp->m_iRadius = 400;
                    Maker::Keep(land, lamp, CellPos(24 + 2 * k, 23));
                }
                for (int k = 0; k < 8; ++k)
                    Maker::Keep(land, new Shrub(k % 5), CellPos(12 + 3 * k, 14 + k % 3));
                Maker::Keep(land, make.Creature("Miller", 3, 30), CellPos(24, 22));
                Maker::Keep(land, make.Creature("Weaver", 3, 30), CellPos(26, 24));
            });
        // The lake shore: rough ground along the water's edge and a lamp.
        make.AddLand(
            "Shore", {45, 12}, 20, 16, kSteep, kBright,
            [](CDIBitmap& p) { p.FillRect(0, 10, 20, 16, kRough); },
            [&](Land& land) {
                auto* lamp = new LightSource("Beacon");
                lamp->m_iRadius = 600;
                Maker::Keep(land, lamp, CellPos(54, 24));
            });
        // The woods, where the wolves roam.
        make.AddLand(
            "Woods", {20, 40}, 25, 20, kDense, kShaded,
            [](CDIBitmap& p) { p.FillRect(10, 8, 15, 12, kOpenGround); },
            [&](Land& land) {
                for (int k = 0; k < 3; ++k)
                    Maker::Keep(land, make.Creature("Wolf", 2, 15), CellPos(31 + k, 49 + k % 2));
            });

        // The party waits in "players" for the first move into its land.
        Group party;
        party.m_bGrouped = 1;
        party.m_iOwnGroupNum = 1;
        party.m_strSpecialName = "Party";
        Player* hero = make.Creature("Hero", 1, 40);
        hero->m_Position = CellPos(25, 28);
        party.AddMember(hero);
        qv::WriteWholeFile(stage + "tmp/players", CMainFrame::StorePlayers(party));
        party.RemoveFromMap();

        frame.m_World.m_ptFocus = {CellPos(25, 28).x, CellPos(25, 28).y};
        frame.m_strPlayerName = "Hero";
        // The party keeps its default formation: whoever joins the hero
        // stands beside it, not on it.
        frame.InitFormation();
        frame.m_strWorldFile = kWorldFile;
        frame.SaveWorldFile(kWorldFile);
        qv::WriteWholeFile(stage + "tmp/Position", CMainFrame::StorePosition(kWorldFile));
        map.DeleteContents();
        frame.m_World.DeleteGroups();
    }

    // The finished slot and the pictures take their places.
    qv::MakeFolder(game + "Images");
    for (const std::string& name : qv::ListFiles(stage + "Images/"))
        qv::WriteWholeFile(game + "Images/" + name, qv::ReadWholeFile(stage + "Images/" + name));
    const std::string original = game + "original/";
    const std::string old = game + "original.old/";
    qv::RemoveFolder(old);
    if (qv::FolderExists(original)) qv::RenameFolder(original, old);
    qv::RenameFolder(stage + "tmp/", original);
    qv::RemoveFolder(old);
    qv::RemoveFolder(stage);
}
