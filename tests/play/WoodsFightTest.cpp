// The beasts of the start world's woods: they keep to their places while the
// party is away, fall on it when it comes near, and fight until one side is
// dead.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "PlayFixture.h"
#include "creatures/Player.h"
#include "data/StartWorld.h"
#include "play/Play.h"
#include "structures/GlobalImages.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/World.h"

namespace {
namespace fs = std::filesystem;

constexpr int32_t kBeastGroup = 2;
constexpr int kBeasts = 7;

TEST(WoodsFight, TheBeastsKeepTheirPlacesUntilThePartyComesNearThenFightItToTheDeath) {
    const fs::path dir = fs::temp_directory_path() / ("qv-woods-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    WriteStartWorld(dir.string());
    InvalidateGlobalImages();
    {
        World world;
        Play play{world};
        play_test::ScriptedAsk ask;
        world.map_master = std::make_unique<MapMaster>();
        world.CreateRootGroups();
        play.m_pAsk = &ask;
        play.UseGameFolder(dir.string() + "\\");
        ASSERT_EQ(play.StartInOriginalWorld(), 1);
        ASSERT_NE(LoadGlobalImages(&world), 0);
        ASSERT_TRUE(play.TryReloadWindowAtFocus());
        auto run = [&](int ticks) {
            for (int t = 0; t < ticks; ++t) play.Tick(Play::kNormalTickStep);
        };
        auto beasts = [&] {
            std::vector<Player*> found;
            for (Player* p : world.m_PlayerArray)
                if (p && p->m_iGroupNum == kBeastGroup) found.push_back(p);
            return found;
        };
        run(3);
        // At the edge of the woods, three cells north of the clearing.
        play.Give(Order::At(Order::Kind::Travel, Position(28, 35, 0)));
        Player* hero = world.m_pLeader.Get();
        ASSERT_NE(hero, nullptr);
        ASSERT_EQ(beasts().size(), static_cast<size_t>(kBeasts));
        std::vector<CellPoint> homes;
        for (Player* b : beasts()) homes.push_back(MapMaster::PixelToCell(b->m_Position));
        run(50);
        for (size_t i = 0; i < beasts().size(); ++i) {
            Player* b = beasts()[i];
            SCOPED_TRACE(b->GetDisplayName() + " " + std::to_string(i));
            EXPECT_EQ(b->m_iHostileMode, 0);
            const CellPoint now = MapMaster::PixelToCell(b->m_Position);
            EXPECT_EQ(now.x, homes[i].x);
            EXPECT_EQ(now.y, homes[i].y);
        }
        // Into the clearing: every beast turns on the party and is paired
        // with both of its members.
        play.Give(Order::At(Order::Kind::WalkTo, play_test::At(29, 37)));
        run(100);
        for (Player* b : beasts()) {
            SCOPED_TRACE(b->GetDisplayName());
            EXPECT_EQ(b->m_iHostileMode, 1);
            EXPECT_EQ(b->m_Opponents.size(), 2u);
        }
        // Until one side is dead: the hero, or every beast.
        int living = kBeasts;
        for (int t = 0; t < 2000 && hero->IsAlive() && living > 0; ++t) {
            run(1);
            living = 0;
            for (Player* b : beasts()) living += b->IsAlive() ? 1 : 0;
        }
        EXPECT_TRUE(!hero->IsAlive() || living == 0);
        if (!hero->IsAlive()) {
            EXPECT_TRUE(hero->m_Opponents.empty());
        }
        world.DeleteGroups();
    }
    InvalidateGlobalImages();
    fs::remove_all(dir);
}

}  // namespace
