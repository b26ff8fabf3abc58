// The start world the build writes: the slot folder "original" with its world
// file, lands, pictures, "Position" and "players", which start-up brings into
// play with every land, wall, door, light and group in its place.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>

#include "creatures/Player.h"
#include "data/StartWorld.h"
#include "platform/Files.h"
#include "platform/Settings.h"
#include "shell/MainFrm.h"
#include "structures/LightSource.h"
#include "structures/Walls.h"
#include "world/Group.h"
#include "world/Land.h"
#include "world/Map.h"

namespace {

namespace fs = std::filesystem;

TEST(StartWorld, TheOriginalSlotHoldsAWorldThatStartUpBringsIntoPlay) {
    const fs::path dir =
        fs::temp_directory_path() / ("qv-startworld-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    WriteStartWorld(dir.string());
    for (const char* file :
         {"start.qvr", "Position", "players", "world.lnd", "Meadow.lnd", "Shore.lnd", "Woods.lnd"})
        EXPECT_TRUE(fs::exists(dir / "original" / file)) << file;
    EXPECT_TRUE(fs::exists(dir / "Images" / "Meadow.bmp"));
    EXPECT_FALSE(fs::exists(dir / "saved"));
    EXPECT_FALSE(fs::exists(dir / "start-world.part"));
    // Written again, the slot is replaced whole.
    WriteStartWorld(dir.string());
    EXPECT_FALSE(fs::exists(dir / "original.old"));

    {
        CMainFrame frame;
        frame.m_World.map_master = std::make_unique<MapMaster>();
        frame.m_World.CreateRootGroups();
        qv::Settings settings;
        settings.SetString("Path", dir.string());
        ASSERT_EQ(frame.ApplySettings(settings, "settings"), "");
        ASSERT_EQ(frame.OpenStartWorld(), 1);
        EXPECT_EQ(frame.m_strWorldFile, "start.qvr");
        EXPECT_EQ(frame.m_strPlayerName, "Hero");
        // The default formation: slot 1 stands 25 pixels down and right.
        EXPECT_EQ(frame.m_FormationOffsets[1], (qv::Point{25, 25}));
        EXPECT_EQ(frame.m_FormationOffsets[5], (qv::Point{55, -40}));
        MapMaster& map = *frame.m_World.map_master;
        EXPECT_EQ(map.worldcellx, 100);
        EXPECT_EQ(map.worldcelly, 80);

        std::set<ObjectHolder*> holders;
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j)
                for (ObjectHolder* h : map.GetCell(i, j).holders) holders.insert(h);
        std::map<std::string, int> kinds;
        for (ObjectHolder* h : holders) {
            Object* o = h->m_pObject;
            if (!o) continue;
            if (dynamic_cast<FrontDoorBrick*>(o))
                ++kinds["door"];
            else if (dynamic_cast<Wall*>(o))
                ++kinds["wall"];
            else if (dynamic_cast<LightSource*>(o))
                ++kinds["light"];
            else if (auto* p = dynamic_cast<Player*>(o))
                ++kinds["group " + std::to_string(p->m_pGroup ? p->m_pGroup->m_iOwnGroupNum : -1)];
        }
        EXPECT_EQ(kinds["door"], 1);
        EXPECT_EQ(kinds["wall"], 23);
        // The yard's two lamps; the shore's beacon lies east of the window.
        EXPECT_EQ(kinds["light"], 2);
        EXPECT_EQ(kinds["group 2"], 3);
        EXPECT_EQ(kinds["group 3"], 2);
        // The party waits in "players" for its first move into its land.
        const auto party = CMainFrame::ReadPlayersFrom(
            qv::ReadWholeFile((dir / "tmp" / "players").string()), "players");
        ASSERT_EQ(party->Members().size(), 1u);
        EXPECT_EQ(party->m_iOwnGroupNum, 1);
        party->RemoveFromMap();

        // The first move into the land brings the party to its place in the
        // meadow, around the focus, and the leader is the one controlled.
        frame.MoveToLand();
        Player* hero = frame.m_World.m_pLeader.Get();
        ASSERT_NE(hero, nullptr);
        EXPECT_EQ(hero->m_strSpecialName, "Hero");
        EXPECT_EQ(frame.m_World.m_pControlPlayer.Get(), hero);
        // Followers have their places from the start, turned to the
        // leader's facing.
        EXPECT_EQ(frame.m_World.m_FormationRows[1][1], (qv::Point{-25, 25}));
        ASSERT_NE(hero->m_pHolder, nullptr);
        EXPECT_EQ(hero->m_pHolder->pos.x, frame.m_World.m_ptFocus.x + 10);
        EXPECT_EQ(hero->m_pHolder->pos.y, frame.m_World.m_ptFocus.y + 10);
        CellPoint wc;
        ASSERT_TRUE(map.WindowCellOf(hero->m_pHolder->pos, wc));
        ASSERT_NE(map.GetCell(wc.x, wc.y).land, nullptr);
        EXPECT_EQ(map.GetCell(wc.x, wc.y).land->m_strSpecialName, "Meadow");
        EXPECT_TRUE(map.GetCell(wc.x, wc.y).holders.Find(hero->m_pHolder));
        // With the party there, a step of the world lights the meadow by its
        // own steady daylight.
        int32_t now = 100;
        frame.RunWorld(&now);
        ASSERT_NE(frame.m_pCurrentLand, nullptr);
        EXPECT_EQ(frame.m_pCurrentLand->m_strSpecialName, "Meadow");
        EXPECT_EQ(map.daylight, 100);
        map.DeleteContents();
        frame.m_World.DeleteGroups();
    }
    fs::remove_all(dir);
}

}  // namespace
