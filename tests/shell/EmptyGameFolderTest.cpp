// A game folder that exists but holds nothing: the window opens on the empty
// world that start-up promises, and the world goes on being drawn.

#include <gtest/gtest.h>

#include "platform/Message.h"
#include "support/GameFolder.h"
#include "world/Map.h"

namespace {

TEST(EmptyGameFolder, OpensOnAnEmptyWorldThatIsDrawnTickAfterTick) {
    const game_test::GameFolder dir("empty", false);
    // A failed check would be answered Retry and said: nothing may be.
    qv::ScriptedMessages messages(
        {qv::MessageAnswer::Retry, qv::MessageAnswer::Retry, qv::MessageAnswer::Retry});
    game_test::FrameOn on(dir.dir, true);
    CMainFrame& frame = on.frame;
    EXPECT_EQ(frame.m_Play.Saves().StartInOriginalWorld(), 1);
    MapMaster& map = *frame.m_World.map_master;
    // The least world the window fits in, its focus within the window.
    EXPECT_EQ(map.worldcellx, MapMaster::wide);
    EXPECT_EQ(map.worldcelly, MapMaster::high);
    CellPoint w;
    EXPECT_TRUE(map.CellToWindow(map.focuscell, w));
    frame.m_iStage = 3;
    for (int tick = 0; tick < 5; ++tick) frame.RunTick();
    EXPECT_TRUE(messages.shown.empty()) << messages.shown.front();
    // The window says why it is empty, as the error output did.
    EXPECT_EQ(frame.m_strMessageLine.rfind("No start world in ", 0), 0u) << frame.m_strMessageLine;
    EXPECT_EQ(frame.m_bQuitRequested, 0);
}

}  // namespace
