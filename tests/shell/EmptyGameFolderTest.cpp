// A game folder that exists but holds nothing: the window opens on the empty
// world that start-up promises, and the world goes on being drawn.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/Message.h"
#include "platform/MessageLoop.h"
#include "platform/Settings.h"
#include "shell/MainFrm.h"
#include "world/Map.h"

namespace {

namespace fs = std::filesystem;

TEST(EmptyGameFolder, OpensOnAnEmptyWorldThatIsDrawnTickAfterTick) {
    const fs::path dir = fs::temp_directory_path() / ("qv-empty-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    qv::MessageLoop::Instance().Reset();
    {
        // A failed check would be answered Retry and said: nothing may be.
        qv::ScriptedMessages messages(
            {qv::MessageAnswer::Retry, qv::MessageAnswer::Retry, qv::MessageAnswer::Retry});
        CMainFrame frame;
        ASSERT_EQ(frame.InitDirectDraw(0), 1);
        frame.m_World.map_master = std::make_unique<MapMaster>();
        frame.m_World.CreateRootGroups();
        qv::Settings settings;
        settings.SetString("Path", dir.string());
        ASSERT_EQ(frame.ApplySettings(settings, "settings"), "");
        EXPECT_EQ(frame.m_Play.StartInOriginalWorld(), 1);
        MapMaster& map = *frame.m_World.map_master;
        // The least world the window fits in, its focus within the window.
        EXPECT_EQ(map.worldcellx, MapMaster::wide);
        EXPECT_EQ(map.worldcelly, MapMaster::high);
        CellPoint w;
        EXPECT_TRUE(map.CellToWindow(map.focuscell, w));
        frame.m_iStage = 3;
        for (int tick = 0; tick < 5; ++tick) frame.RunTick();
        EXPECT_TRUE(messages.shown.empty()) << messages.shown.front();
        EXPECT_EQ(frame.m_bQuitRequested, 0);
        map.DeleteContents();
        frame.m_World.DeleteGroups();
    }
    qv::MessageLoop::Instance().Reset();
    fs::remove_all(dir);
}

}  // namespace
