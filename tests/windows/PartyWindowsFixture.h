#pragma once
// The party's windows on the start world's party: the frame's own World and
// Play read the start world the build ships (written once for the suite into
// a game folder of its own), the party brought into its land by the first
// tick, and the windows driven by the clicks and keys a test injects.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "creatures/Player.h"
#include "data/StartWorld.h"
#include "play/Play.h"
#include "play/PlayFixture.h"
#include "structures/GlobalImages.h"
#include "windows/WindowsFixture.h"
#include "world/Map.h"
#include "world/World.h"

namespace windows_test {

class PartyWindowsFixture : public WindowsFixture {
protected:
    static std::filesystem::path& Folder() {
        static std::filesystem::path folder;
        return folder;
    }
    static void SetUpTestSuite() {
        Folder() = std::filesystem::temp_directory_path() /
                   ("qv-party-windows-" + std::to_string(::getpid()));
        std::filesystem::remove_all(Folder());
        std::filesystem::create_directories(Folder());
        WriteStartWorld(Folder().string());
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(Folder()); }

    void SetUp() override {
        WindowsFixture::SetUp();
        world.map_master = std::make_unique<MapMaster>();
        world.CreateRootGroups();
        play.m_pAsk = &ask;
        play.Saves().UseGameFolder(Folder().string() + "\\");
        ASSERT_EQ(play.Saves().StartInOriginalWorld(), 1);
        ASSERT_NE(LoadGlobalImages(&world), 0);
        // The first tick brings the party out of "players" into its land.
        play.Tick(Play::kNormalTickStep);
        hero = world.m_Party[0].Get();
        ASSERT_NE(hero, nullptr);
        for (size_t i = 1; i < world.m_Party.size() && !dog; ++i) dog = world.m_Party[i].Get();
        ASSERT_NE(dog, nullptr);
    }
    void TearDown() override {
        if (world.map_master) world.map_master->DeleteContents();
        world.DeleteGroups();
        WindowsFixture::TearDown();
    }
    World& world = frame.m_World;
    Play& play = frame.m_Play;
    play_test::ScriptedAsk ask;
    Player* hero = nullptr;
    Player* dog = nullptr;
};

}  // namespace windows_test
