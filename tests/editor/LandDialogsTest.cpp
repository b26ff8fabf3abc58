// The land dialogs on a world of 51 x 48 cells with its own land: lands added
// (a land outside the world refused before anything is written), shown in
// the land tree, removed from it, and a land's own values at their limits.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "editor/AddLandDlg.h"
#include "editor/LandTreeDlg.h"
#include "editor/ModifyLandDlg.h"
#include "platform/Message.h"
#include "shell/WorldFileFixture.h"
#include "world/Land.h"

namespace {

namespace fs = std::filesystem;

class LandDialogs : public worldfile_test::WorldFileTest {
protected:
    LandDialogs() { Open(); }
    Play& play = frame.m_Play;
    qv::ScriptedMessages refusals;  // a refusal's message box, answered at once
    // The tree as "depth name" lines.
    std::vector<std::string> Tree() {
        CLandTreeDlg tree(play);
        std::vector<std::string> out;
        for (const auto& line : tree.Lines())
            out.push_back(std::to_string(line.depth) + " " + line.name);
        return out;
    }
    bool AddLand(const std::string& name, const std::string& file, const CellRect& rect) {
        CAddLandDlg add(play);
        add.m_strName = name;
        add.m_strFile = file;
        add.m_Bounds = rect;
        add.m_iTerrain = 6;
        return add.Ok();
    }
};

struct AddRow {
    const char* what;
    const char* file;
    CellRect rect;
    bool accepted;
};

const AddRow kAddRows[] = {
    {"inside the world", "pond.lnd", {20, 20, 30, 28}, true},
    {"right edge on the world's edge", "east.lnd", {41, 0, 51, 4}, true},
    {"right edge one past the world", "over.lnd", {42, 0, 52, 4}, false},
    {"bottom one past the world", "south.lnd", {0, 40, 4, 49}, false},
    {"left edge below zero", "west.lnd", {-1, 0, 4, 4}, false},
    {"a rectangle of no cell", "flat.lnd", {5, 5, 5, 9}, false},
    {"a file name with a folder", "a\\b.lnd", {1, 1, 3, 3}, false},
    {"a file the world has already", "pond.lnd", {1, 1, 3, 3}, false},
};

TEST_F(LandDialogs, ALandIsAddedOnlyInsideTheWorldAndWrittenToItsFile) {
    for (const AddRow& r : kAddRows) {
        SCOPED_TRACE(r.what);
        qv::ScriptedMessages messages;
        const bool existed = fs::exists(folder.Working(r.file));
        EXPECT_EQ(AddLand("Land", r.file, r.rect), r.accepted);
        EXPECT_EQ(fs::exists(folder.Working(r.file)), r.accepted || existed);
    }
    EXPECT_EQ(Tree(), (std::vector<std::string>{"0 World", "1 Land", "1 Land"}));
}

TEST_F(LandDialogs, ALandIsInsertedUnderTheLandThatHoldsItAndRemovedFromTheTree) {
    ASSERT_TRUE(AddLand("Pond", "pond.lnd", {20, 20, 30, 28}));
    ASSERT_TRUE(AddLand("Isle", "isle.lnd", {22, 22, 25, 25}));
    EXPECT_EQ(Tree(), (std::vector<std::string>{"0 World", "1 Pond", "2 Isle"}));
    qv::ScriptedMessages messages;
    CLandTreeDlg tree(play);
    EXPECT_FALSE(tree.Remove(0));  // the world's own land
    EXPECT_FALSE(tree.Remove(3));
    EXPECT_TRUE(tree.Remove(1));
    EXPECT_EQ(Tree(), (std::vector<std::string>{"0 World", "1 Isle"}));
    EXPECT_EQ(play.FindLandInfo("pond.lnd"), nullptr);
}

struct ModifyRow {
    const char* what;
    int32_t CModifyLandDlg::*field;
    int32_t Land::*stored;
    int32_t value;
    bool accepted;
};

const ModifyRow kModifyRows[] = {
    {"light level -1", &CModifyLandDlg::m_iLightLevel, &Land::lightlevel, -1, false},
    {"light level 0", &CModifyLandDlg::m_iLightLevel, &Land::lightlevel, 0, true},
    {"light level 127: the most", &CModifyLandDlg::m_iLightLevel, &Land::lightlevel, 127, true},
    {"light level 128", &CModifyLandDlg::m_iLightLevel, &Land::lightlevel, 128, false},
    {"terrain 255", &CModifyLandDlg::m_iTerrain, &Land::terraincode, 255, true},
    {"terrain 256", &CModifyLandDlg::m_iTerrain, &Land::terraincode, 256, false},
    {"terrain -1", &CModifyLandDlg::m_iTerrain, &Land::terraincode, -1, false},
    {"light follows the hour", &CModifyLandDlg::m_bSunlight, &Land::sunlight, 1, true},
    {"light mode 2", &CModifyLandDlg::m_bSunlight, &Land::sunlight, 2, false},
    {"ambient on", &CModifyLandDlg::m_bAmbient, &Land::ambient, 1, true},
    {"ambient 2", &CModifyLandDlg::m_bAmbient, &Land::ambient, 2, false},
    {"tune 3", &CModifyLandDlg::m_iTune, &Land::tune, 3, true},
    {"tune -1", &CModifyLandDlg::m_iTune, &Land::tune, -1, false},
    {"combat tune 0", &CModifyLandDlg::m_iCombatTune, &Land::combattune, 0, true},
};

TEST_F(LandDialogs, ALandsValuesStayInsideTheirLimits) {
    ASSERT_TRUE(AddLand("Pond", "pond.lnd", {20, 20, 30, 28}));
    LandInfo* info = play.FindLandInfo("pond.lnd");
    ASSERT_NE(info, nullptr);
    ASSERT_NE(info->land, nullptr);  // in the window
    Land& pond = *info->land;
    for (const ModifyRow& r : kModifyRows) {
        SCOPED_TRACE(r.what);
        qv::ScriptedMessages messages;
        const int32_t before = pond.*r.stored;
        CModifyLandDlg dialog(play, pond);
        dialog.*r.field = r.value;
        EXPECT_EQ(dialog.Ok(), r.accepted);
        EXPECT_EQ(pond.*r.stored, r.accepted ? r.value : before);
        EXPECT_EQ(dialog.Message().empty(), r.accepted);
    }
}

}  // namespace
