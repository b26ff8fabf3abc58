// The land dialogs on a world of 51 x 48 cells with its own land: lands added
// (a land outside the world refused before anything is written), shown in
// the land tree, removed from it, and a land's own values at their limits.

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "editor/AddLandDlg.h"
#include "editor/DialogFixture.h"
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
    EXPECT_EQ(play.Editor().FindLandInfo("pond.lnd"), nullptr);
}

// A land's picture lies in the Images folder: play's property and the add
// dialog refuse a name leading out of it before anything is written, and a
// picture that cannot be read with the reader's reason. The dialogs offer
// the folder's pictures.
TEST_F(LandDialogs, APictureFromOutsideTheImagesFolderIsRefused) {
    frame.m_World.m_ptFocus = {worldfile_test::At(25, 24).x, worldfile_test::At(25, 24).y};
    folder.Picture("isle.bmp", 4, 4, 8);
    folder.Picture("../outside.bmp", 4, 4, 8);
    folder.Picture("broken.bmp", 4, 4, 8);
    fs::resize_file(folder.dir / "Images" / "broken.bmp", 20);
    ASSERT_TRUE(AddLand("Pond", "pond.lnd", {20, 20, 30, 28}));
    EXPECT_EQ(Land::PictureChoices(), (std::vector<std::string>{"broken.bmp", "isle.bmp"}));
    const struct {
        std::string picture, reason;
    } rows[] = {{"../outside.bmp", "plain file name"},
                {"..\\outside.bmp", "plain file name"},
                {"/isle.bmp", "plain file name"},
                {"broken.bmp", "broken.bmp: not a bitmap file"},
                {"isle.bmp", ""}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.picture);
        const bool accepted = r.reason.empty();
        qv::ScriptedMessages messages;
        Land* pond = play.Editor().FindLandInfo("pond.lnd")->land;
        CModifyLandDlg modify(play, *pond);
        modify.m_strPicture = r.picture;
        EXPECT_EQ(modify.Ok(), accepted);
        EXPECT_NE(modify.Message().find(r.reason), std::string::npos) << modify.Message();
        EXPECT_EQ(pond->bitmapname, accepted ? r.picture : "");
        EXPECT_EQ(play.Editor().SetProperty(pond, Play::Property::kPicture, 0, r.picture),
                  accepted ? 1 : 0);
        CAddLandDlg add(play);
        add.m_strFile = "isle.lnd";
        add.m_strPicture = r.picture;
        EXPECT_EQ(add.Ok(), accepted);
        EXPECT_NE(add.Message().find(r.reason), std::string::npos) << add.Message();
        EXPECT_EQ(fs::exists(folder.Working("isle.lnd")), accepted);
    }
}

TEST_F(LandDialogs, ALandsValuesStayInsideTheirLimits) {
    ASSERT_TRUE(AddLand("Pond", "pond.lnd", {20, 20, 30, 28}));
    LandInfo* info = play.Editor().FindLandInfo("pond.lnd");
    ASSERT_NE(info, nullptr);
    ASSERT_NE(info->land, nullptr);  // in the window
    using D = CModifyLandDlg;
    editor_test::CheckRanges<D, Land>(
        play,
        {{"light level", &D::m_iLightLevel, &Land::lightlevel, 0, 127},
         {"terrain", &D::m_iTerrain, &Land::terraincode, 0, 255},
         {"light follows the hour", &D::m_bSunlight, &Land::sunlight, 0, 1},
         {"ambient", &D::m_bAmbient, &Land::ambient, 0, 1},
         {"tune", &D::m_iTune, &Land::tune, 0, INT32_MAX},
         {"combat tune", &D::m_iCombatTune, &Land::combattune, 0, INT32_MAX},
         {"origin x, inside the world's width", &D::m_iOriginX,
          [](Land& land) -> int32_t& { return land.origin.x; }, 0, worldfile_test::kWorldW - 1},
         {"origin y, inside its height", &D::m_iOriginY,
          [](Land& land) -> int32_t& { return land.origin.y; }, 0, worldfile_test::kWorldH - 1}},
        [&]() -> Land& { return *info->land; });
}

// Each accepted encounter adds 2000 x time to the total, and the waits
// combine as rates do; "Set Time" and "Delete" work the rate out again.
TEST_F(LandDialogs, ALandsEncountersAreAddedTimedAndDeletedWithinTheirLimits) {
    ASSERT_TRUE(AddLand("Pond", "pond.lnd", {20, 20, 30, 28}));
    Land* pond = play.Editor().FindLandInfo("pond.lnd")->land;
    CLandTreeDlg tree(play);  // its "Modify" on the pond's line
    CModifyLandDlg* dlg = tree.OpenModifyLand(1);
    ASSERT_TRUE(pond && dlg);
    enum Op { Add, SetFirst, DeleteSecond };
    const int32_t most = Editing::kMaxEncounterTime;
    const double rest = 1 / (2000.0 * most);  // the rate of the longest
    const struct {
        const char* what;
        Op op;
        int32_t count, time;
        bool accepted;
        int64_t total;
        double interval;
    } rows[] = {
        // clang-format off
        {"time 0, below the least", Add, 1, 0, false, 0, 0},
        {"no creature", Add, 0, 10, false, 0, 0},
        {"time 1, the least", Add, 1, 1, true, 2000, 2000},
        {"eleven creatures, one too many", Add, 11, 10, false, 2000, 2000},
        {"time one past the most", Add, 1, most + 1, false, 2000, 2000},
        {"ten creatures, the most time", Add, 10, most, true, 2000 + 2000LL * most, 1 / (1 / 2000.0 + rest)},
        {"the first set to time 0", SetFirst, 0, 0, false, 2000 + 2000LL * most, 1 / (1 / 2000.0 + rest)},
        {"the first set to time 30", SetFirst, 0, 30, true, 60000 + 2000LL * most, 1 / (1 / 60000.0 + rest)},
        {"the second deleted", DeleteSecond, 0, 0, true, 60000, 60000},
        {"no second to delete", DeleteSecond, 0, 0, false, 60000, 60000},
        // clang-format on
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        qv::ScriptedMessages messages;
        EXPECT_EQ(r.op == Add        ? dlg->AddEncounter(0, r.count, r.time)
                  : r.op == SetFirst ? dlg->SetEncounterTime(0, r.time)
                                     : dlg->DeleteEncounter(1),
                  r.accepted);
        EXPECT_EQ(pond->encountertotal, r.total);
        EXPECT_EQ(dlg->EncounterLines().empty(), r.total == 0);
        EXPECT_DOUBLE_EQ(pond->encounterinterval, r.interval);
    }
}

}  // namespace
