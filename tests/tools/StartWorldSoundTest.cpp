// What a player hears in the start world: each land where the party walks
// plays its ambient sounds, and asks for tunes the data program writes.

#include <gtest/gtest.h>

#include <algorithm>

#include "data/Music.h"
#include "platform/Audio.h"
#include "support/GameFolder.h"
#include "support/Tunes.h"
#include "world/Land.h"
#include "world/Map.h"

namespace {

TEST(StartWorldSound, EveryLandWhereThePartyWalksSoundsAndAsksForTunesTheDataProgramWrites) {
    const game_test::GameFolder dir("startsound", true);
    const std::vector<int> written = tunes::TuneNumbers();
    const struct {
        const char* land;
        int cx, cy;  // a world cell of it
    } places[] = {
        {"Meadow", 25, 28},  // where the party starts
        {"Shore", 52, 20},
        {"Woods", 35, 45},
        {"World", 50, 50},  // the open land between them
    };
    for (const auto& place : places) {
        SCOPED_TRACE(place.land);
        // The start world open, its party brought into the land at the
        // place's cell, the sound device open and the music off.
        game_test::FrameOn on(dir.dir);
        CMainFrame& frame = on.frame;
        ASSERT_EQ(frame.m_Play.Saves().OpenStartWorld(), 1);
        frame.m_World.m_ptFocus = {place.cx * MapMaster::CellWidth + 80,
                                   place.cy * MapMaster::CellHeight + 56};
        frame.m_Play.MoveToLand();
        ASSERT_EQ(frame.InitDirectSound(), 1);
        frame.m_bMusicOn = 0;
        EXPECT_EQ(music_test::MixedPeak(), 0) << "nothing sounds before the land is updated";
        for (int32_t now = 100; now <= 300; now += 100) frame.m_Play.RunWorld(&now);
        ASSERT_NE(frame.m_Play.Travelling().CurrentLand(), nullptr);
        const Land& land = *frame.m_Play.Travelling().CurrentLand();
        EXPECT_EQ(land.m_strSpecialName, place.land);
        EXPECT_EQ(land.ambient, 1);
        // The wind's loop at -20 dB, with now and then a bird, an owl, a drip
        // or a gust.
        EXPECT_GT(music_test::MixedPeak(), 100);
        EXPECT_EQ(std::pair(land.tune, land.combattune),
                  std::pair(tunes::kCalmTune, tunes::kCombatTune));
        for (int tune : {land.tune, land.combattune})
            EXPECT_NE(std::find(written.begin(), written.end(), tune), written.end()) << tune;
        frame.ReleaseSounds();
    }
}

}  // namespace
