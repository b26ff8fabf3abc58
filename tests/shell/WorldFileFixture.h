#pragma once
// The world of the tests of the world file (play/WorldFileFixture.h) on a
// frame's World and Play, for the tests of saved games, the keys, start-up
// and the editor that need the frame around them.

#include <gtest/gtest.h>

#include "play/WorldFileFixture.h"
#include "shell/MainFrm.h"

namespace worldfile_test {

struct WithFrame {
    CMainFrame frame;
};

class WorldFileTest : public testing::Test,
                      protected WithGameFolder,
                      protected WithFrame,
                      public WorldFileWorld {
protected:
    WorldFileTest() : WorldFileWorld(folder, frame.m_World, frame.m_Play) {}
};

}  // namespace worldfile_test
