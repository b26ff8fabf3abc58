#pragma once
// For the tests that start the game on a game folder of their own: the folder,
// with the start world the data program writes when asked, and a frame opened
// on it as start-up opens one.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "data/StartWorld.h"
#include "platform/Files.h"
#include "platform/MessageLoop.h"
#include "platform/Settings.h"
#include "shell/MainFrm.h"
#include "support/TestFolder.h"
#include "world/Map.h"

namespace game_test {

// An empty folder of the test's own, with the start world in it when asked.
struct GameFolder : test_support::TestFolder {
    explicit GameFolder(const std::string& name, bool startWorld) : TestFolder(name) {
        if (startWorld) WriteStartWorld(dir.string());
    }
    // A file of the start world's slot "original".
    std::vector<uint8_t> File(const std::string& name) const {
        return qv::ReadWholeFile((dir / "original" / name).string());
    }
};

// A frame with its map and root groups whose settings name `folder` as the
// game folder; with `screen` its screen is made first, on a fresh message
// loop. Its world is emptied when it goes.
struct FrameOn {
    explicit FrameOn(const std::filesystem::path& folder, bool screen = false) : loop{screen} {
        if (screen) {
            qv::MessageLoop::Instance().Reset();
            EXPECT_EQ(frame.InitDirectDraw(0), 1);
        }
        frame.m_World.map_master = std::make_unique<MapMaster>();
        frame.m_World.CreateRootGroups();
        qv::Settings settings;
        settings.SetString("Path", folder.string());
        EXPECT_EQ(frame.ApplySettings(settings, "settings"), "");
    }
    ~FrameOn() {
        frame.m_World.map_master->DeleteContents();
        frame.m_World.DeleteGroups();
    }
    FrameOn(const FrameOn&) = delete;
    FrameOn& operator=(const FrameOn&) = delete;
    // Resets the message loop once the frame has gone, when it was reset for it.
    struct LoopReset {
        bool on;
        ~LoopReset() {
            if (on) qv::MessageLoop::Instance().Reset();
        }
    } loop;
    CMainFrame frame;
};

}  // namespace game_test
