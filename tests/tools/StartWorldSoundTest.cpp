// What a player hears in the start world: each land where the party walks
// plays its ambient sounds, and asks for tunes the data program writes.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "data/Music.h"
#include "data/StartWorld.h"
#include "platform/Audio.h"
#include "platform/Settings.h"
#include "shell/MainFrm.h"
#include "support/Tunes.h"
#include "world/Group.h"
#include "world/Land.h"
#include "world/Map.h"

namespace {

namespace fs = std::filesystem;

class StartWorldSound : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = fs::temp_directory_path() / ("qv-startsound-" + std::to_string(::getpid()));
        fs::remove_all(s_dir);
        fs::create_directories(s_dir);
        WriteStartWorld(s_dir.string());
    }
    static void TearDownTestSuite() { fs::remove_all(s_dir); }

    // A frame with the start world open, its party brought into the land at
    // world cell (cx, cy), the sound device open and the music off.
    void OpenAt(int cx, int cy) {
        Close();
        frame_ = std::make_unique<CMainFrame>();
        CMainFrame& frame = *frame_;
        frame.m_World.map_master = std::make_unique<MapMaster>();
        frame.m_World.CreateRootGroups();
        qv::Settings settings;
        settings.SetString("Path", s_dir.string());
        ASSERT_EQ(frame.ApplySettings(settings, "settings"), "");
        ASSERT_EQ(frame.m_Play.OpenStartWorld(), 1);
        frame.m_World.m_ptFocus = {cx * MapMaster::CellWidth + 80, cy * MapMaster::CellHeight + 56};
        frame.MoveToLand();
        ASSERT_EQ(frame.InitDirectSound(), 1);
        frame.m_bMusicOn = 0;
    }
    void Close() {
        if (!frame_) return;
        frame_->ReleaseSounds();
        if (frame_->m_World.map_master) frame_->m_World.map_master->DeleteContents();
        frame_->m_World.DeleteGroups();
        frame_.reset();
    }
    void TearDown() override { Close(); }
    CMainFrame& Frame() { return *frame_; }

    static fs::path s_dir;
    std::unique_ptr<CMainFrame> frame_;
};

fs::path StartWorldSound::s_dir;

struct Place {
    const char* land;
    int cx, cy;  // a world cell of it
};
const Place kPlaces[] = {
    {"Meadow", 25, 28},  // where the party starts
    {"Shore", 52, 20},
    {"Woods", 35, 45},
    {"World", 50, 50},  // the open land between them
};

TEST_F(StartWorldSound, AFewTicksInALandWhereThePartyWalksAreNotSilent) {
    for (const Place& place : kPlaces) {
        SCOPED_TRACE(place.land);
        OpenAt(place.cx, place.cy);
        CMainFrame& frame = Frame();
        EXPECT_EQ(music_test::MixedPeak(), 0) << "nothing sounds before the land is updated";
        int32_t now = 0;
        for (int tick = 0; tick < 3; ++tick) {
            now += 100;
            frame.m_Play.RunWorld(&now);
        }
        ASSERT_NE(frame.m_Play.m_pCurrentLand, nullptr);
        EXPECT_EQ(frame.m_Play.m_pCurrentLand->m_strSpecialName, place.land);
        EXPECT_EQ(frame.m_Play.m_pCurrentLand->ambient, 1);
        // The wind's loop at -20 dB, with now and then a bird, an owl, a drip
        // or a gust.
        EXPECT_GT(music_test::MixedPeak(), 100);
    }
}

TEST_F(StartWorldSound, EveryLandAsksForTunesTheDataProgramWrites) {
    const std::vector<int> written = tunes::TuneNumbers();
    auto isWritten = [&](int tune) {
        return std::find(written.begin(), written.end(), tune) != written.end();
    };
    for (const Place& place : kPlaces) {
        SCOPED_TRACE(place.land);
        OpenAt(place.cx, place.cy);
        CMainFrame& frame = Frame();
        int32_t now = 100;
        frame.m_Play.RunWorld(&now);
        ASSERT_NE(frame.m_Play.m_pCurrentLand, nullptr);
        const Land& land = *frame.m_Play.m_pCurrentLand;
        EXPECT_EQ(land.tune, tunes::kCalmTune);
        EXPECT_EQ(land.combattune, tunes::kCombatTune);
        EXPECT_TRUE(isWritten(land.tune));
        EXPECT_TRUE(isWritten(land.combattune));
    }
}

}  // namespace
