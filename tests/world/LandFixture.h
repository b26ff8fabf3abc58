#pragma once
// Shared parts of the land tests: a game folder of the test's own (with its
// "Images\" and working "tmp\" folders), a frame whose game folder it is, land
// pictures and land files written by the game's land writer.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "media/DIBitmap.h"
#include "shell/MainFrm.h"
#include "support/TestFolder.h"
#include "world/Land.h"

namespace landtest {

namespace fs = std::filesystem;

class GameFolder : public test_support::TestFolder {
public:
    GameFolder() : TestFolder("lands", {"Images", "tmp"}) {}

    // The game folder as the frame keeps it: ending in a separator.
    std::string Base() const { return dir.string() + "/"; }
    fs::path Working(const std::string& name) const { return dir / "tmp" / name; }

    // An 8-bit picture of w x h pixels, every one `fill`, saved under Images.
    void Picture(const std::string& name, int w, int h, uint8_t fill,
                 const std::function<void(CDIBitmap&)>& paint = {}) const {
        CDIBitmap bmp(w, h);
        bmp.FillRect(0, 0, w, h, fill);
        if (paint) paint(bmp);
        ASSERT_TRUE(bmp.Save((dir / "Images" / name).string()));
    }
};

// A frame whose game folder is the test's.
struct FrameInFolder {
    explicit FrameInFolder(const GameFolder& folder) {
        frame.m_Play.Saves().SetGameFolder(folder.Base());
    }
    CMainFrame frame;
};

}  // namespace landtest
