// Build mode's start and its tool palette, driven through their widgets: the
// world-creation dialog, the material lists, the placing of a chosen
// material, the Build Mode check, the clock, the cell labels, the script
// variables and Load World.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <set>

#include "EditorFixture.h"
#include "creatures/Player.h"
#include "editor/TimeOfDayDlg.h"
#include "platform/Message.h"
#include "platform/Settings.h"
#include "structures/Walls.h"
#include "world/ObjectHolder.h"
#include "world/ScriptVariables.h"
#include "world/TimeOfDay.h"

using namespace editor_test;

namespace {

// Every placed object of the window's cells, each once.
std::set<Object*> PlacedObjects(MapMaster& map) {
    std::set<Object*> out;
    for (int i = 0; i < MapMaster::wide; ++i)
        for (int j = 0; j < MapMaster::high; ++j)
            for (ObjectHolder* h : map.GetCell(i, j).holders)
                if (h && h->m_pObject) out.insert(h->m_pObject);
    return out;
}

}  // namespace

TEST_F(EditorFixture, StartUpLoadsTheChosenWorldWithoutAPartyAndKeepsTheFolder) {
    StartOnTheStartWorld();
    EXPECT_EQ(titles, (std::vector<std::string>{"World Creation", "Open"}));
    EXPECT_EQ(frame->m_Play.Saves().WorldFile(), "start.qvr");
    EXPECT_EQ(frame->m_World.m_pLeader.Get(), nullptr);
    EXPECT_EQ(qv::Settings::Load((dir / "settings").string()).GetString("Path"),
              dir.string() + "/");
    // The palette beside the picture, entered in play.
    EXPECT_EQ(frame->m_pToolPalette, editor->Palette());
    EXPECT_EQ(Palette().m_rcWindow, (qv::Rect{640, 0, 900, 480}));
}

TEST_F(EditorFixture, ACancelledStartLeavesTheDialogUntilAWorldIsMadeOrItIsCancelled) {
    struct Row {
        const char* rule;
        std::vector<std::string> steps;  // the buttons pressed, dialog by dialog
        int made;
    };
    const Row rows[] = {
        {"the dialog cancelled", {"Cancel"}, 0},
        {"a load cancelled in its file dialog", {"Load World", "Cancel"}, 0},
        {"a new world cancelled in its size dialog", {"New World", "Cancel"}, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        answers.clear();
        titles.clear();
        qv::ScriptedMessages messages;
        for (const std::string& b : r.steps) Queue({}, b);
        EXPECT_EQ(editor->RunWorldCreation(), r.made);
        EXPECT_EQ(titles.size(), r.steps.size());
        EXPECT_EQ(frame->m_Play.Saves().WorldFile(), "");
    }
}

TEST_F(EditorFixture, ANewWorldIsMadeThroughTheAddWorldAndFileDialogs) {
    Queue({}, "New World");
    Queue({{"Name", "Isle"}, {"Width (cells)", "60"}, {"Height (cells)", "50"}});
    Queue({{"File name", "isle"}});
    ASSERT_EQ(editor->RunWorldCreation(), 1);
    EXPECT_EQ(titles, (std::vector<std::string>{"World Creation", "Add World", "Save As"}));
    const MapMaster& map = *frame->m_World.map_master;
    EXPECT_EQ(map.worldcellx, 60);
    EXPECT_EQ(map.worldcelly, 50);
    EXPECT_TRUE(fs::exists(Working("isle.lnd")));
}

TEST_F(EditorFixture, EachListLabelShowsItsCatalogueListAndOnlyItsPrototypes) {
    StartOnTheStartWorld();
    const char* labels[] = {"Walls", "Traps", "Weapons", "Armour", "Magic", "Misc."};
    for (int i = 0; i < CControlsDlg::kListCount; ++i) {
        const CatalogueList list = CControlsDlg::kLists[i];
        SCOPED_TRACE(labels[i]);
        EXPECT_STREQ(ObjectCatalogue::Label(list), labels[i]);
        ASSERT_TRUE(PaletteGui().Click(std::string("list ") + labels[i]));
        EXPECT_EQ(Palette().m_iList, i);
        const size_t count = frame->m_World.m_Catalogue.Get(list).size();
        ASSERT_GT(count, 0u);
        EXPECT_EQ(PaletteGui().CountMade("material "), static_cast<int>(count));
    }
    // Traps has three prototypes: rows 0 to 2; another list takes the choice away.
    ASSERT_TRUE(PaletteGui().Click("list Traps"));
    EXPECT_EQ(PaletteGui().CountMade("material "), 3);
    ASSERT_TRUE(PaletteGui().Click("material 2"));
    EXPECT_EQ(Palette().m_iMaterial, 2);
    ASSERT_TRUE(PaletteGui().Click("list Walls"));
    EXPECT_EQ(Palette().m_iMaterial, -1);
}

TEST_F(EditorFixture, ADoubleClickInTheViewPutsACopyOfTheChosenMaterialThere) {
    StartOnTheStartWorld();
    MapMaster& map = *frame->m_World.map_master;
    frame->m_Play.Editor().SetEditing(true);
    struct Row {
        const char* rule;
        const char* list;
        int row;  // -1: none chosen
        bool placed;
    };
    const Row rows[] = {
        {"nothing chosen: the builder is asked which", "Misc.", -1, false},
        {"a chest from the walls list", "Walls", -2, true},
        {"the first of the misc. list", "Misc.", 0, true},
    };
    const ObjectCatalogue::List& walls = frame->m_World.m_Catalogue.Get(CatalogueList::Walls);
    int chest = -1;
    for (size_t j = 0; j < walls.size(); ++j)
        if (walls[j]->GetDisplayName() == "Chest") chest = static_cast<int>(j);
    ASSERT_GE(chest, 0);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        qv::ScriptedMessages messages;
        ASSERT_TRUE(PaletteGui().Click(std::string("list ") + r.list));
        const int row = r.row == -2 ? chest : r.row;
        if (row >= 0) {
            ASSERT_TRUE(PaletteGui().DoubleClick("material " + std::to_string(row)));
        }
        const std::set<Object*> before = PlacedObjects(map);
        const qv::Point spot{frame->m_View.m_ptViewOrigin.x + 300,
                             frame->m_View.m_ptViewOrigin.y + 200};
        frame->m_World.m_pHoverHolder = nullptr;
        frame->OnLButtonDblClk(spot);
        std::set<Object*> after = PlacedObjects(map);
        for (Object* o : before) after.erase(o);
        ASSERT_EQ(after.size(), r.placed ? 1u : 0u);
        EXPECT_EQ(messages.shown.size(), r.placed ? 0u : 1u);
        if (!r.placed) continue;
        Object* placed = *after.begin();
        // A copy: the catalogue keeps its prototype.
        const auto& list = frame->m_World.m_Catalogue.Get(CControlsDlg::kLists[Palette().m_iList]);
        EXPECT_NE(placed, list[static_cast<size_t>(row)].get());
        EXPECT_EQ(placed->GetDisplayName(), list[static_cast<size_t>(row)]->GetDisplayName());
        // Near the point under the click (a drop may step aside to a free spot).
        const Position at = frame->m_View.ViewToWorld(spot);
        ASSERT_NE(placed->m_pHolder, nullptr);
        EXPECT_LE(std::abs(placed->m_pHolder->pos.x - at.x), 160);
        EXPECT_LE(std::abs(placed->m_pHolder->pos.y - at.y), 112);
    }
}

TEST_F(EditorFixture, EachButtonOfThePaletteDoesItsOwnThing) {
    StartOnTheStartWorld();
    const Play& play = frame->m_Play;
    const int& labelCells = frame->m_World.map_master->labelcells;
    const std::function<int()> editing = [&play] { return play.IsEditing(); };
    const std::function<int()> labels = [&labelCells] { return labelCells; };
    struct Row {
        const char* button;
        const std::function<int()>* state;  // null: the title of the dialog it opens
        int want;
        const char* opened;
    };
    const Row rows[] = {
        {"Build Mode", &editing, 1, nullptr},  {"Build Mode", &editing, 0, nullptr},
        {"Build Mode", &editing, 1, nullptr},  {"labels Coordinates", &labels, 1, nullptr},
        {"labels Rooms", &labels, 2, nullptr}, {"labels Off", &labels, 0, nullptr},
        {"Keys", nullptr, 0, "Key List"},      {"Lands", nullptr, 0, "Lands"},
    };
    EXPECT_EQ(editing(), 0);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.button);
        ASSERT_TRUE(PaletteGui().Click(r.button));
        if (r.state) {
            EXPECT_EQ((*r.state)(), r.want);
        } else {
            EXPECT_EQ(titles.back(), r.opened);
        }
    }
    // Editing set elsewhere (the modes cleared), the check follows at the next tick.
    frame->ClearModes();
    frame->RunTick();
    ASSERT_TRUE(PaletteGui().Click("Build Mode"));
    EXPECT_EQ(editing(), 1);
}

TEST_F(EditorFixture, TheFramesClicksOverThePaletteReachIt) {
    StartOnTheStartWorld();
    const qv::Rect check = *PaletteGui().Where("Build Mode");
    const qv::Point p{640 + check.left + 4, check.top + 4};
    frame->OnMouseMove(p);
    frame->OnLButtonDown(p);
    frame->OnLButtonUp(p);
    EXPECT_EQ(frame->m_Play.IsEditing(), 1);
    // The window shows the palette at (640, 0): its grey face.
    const std::vector<uint16_t>& shown = qv::Window::Current()->Picture();
    EXPECT_EQ(shown[static_cast<size_t>(470) * 900 + 890], 0xC618);
}

TEST_F(EditorFixture, TheTimeButtonCopiesTheClockIntoTheDialogAndBack) {
    StartOnTheStartWorld();
    CTimeOfDay& clock = *frame->m_World.m_pTimeOfDay;
    struct Row {
        const char* rule;
        const char* hour;
        const char* minute;
        int wantHour, wantMinute;
    };
    const Row rows[] = {
        {"a quarter past six", "6", "15", 6, 15},
        {"23:59 is refused and the clock stays", "23", "59", 6, 15},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        qv::ScriptedMessages messages;
        const int16_t hourBefore = clock.m_sHour, minuteBefore = clock.m_sMinute;
        std::string shownHour, shownMinute;
        answers.push_back([&](CEditorDialog& d) {
            auto& t = dynamic_cast<CTimeOfDayDlg&>(d);
            shownHour = t.m_strHour;
            shownMinute = t.m_strMinute;
            t.Gui().Fill("Hour:", r.hour);
            t.Gui().Fill("Minute (15):", r.minute);
            t.Gui().Click("OK");
        });
        ASSERT_TRUE(PaletteGui().Click("Time"));
        EXPECT_EQ(shownHour, std::to_string(hourBefore));
        EXPECT_EQ(shownMinute, std::to_string(minuteBefore));
        EXPECT_EQ(clock.m_sHour, r.wantHour);
        EXPECT_EQ(clock.m_sMinute, r.wantMinute);
    }
    EXPECT_EQ(clock.m_strTime, "06:15");
}

TEST_F(EditorFixture, ParReadsTheScriptVariablesAndAMissingFileKeepsThem) {
    StartOnTheStartWorld();
    auto& vars = frame->m_World.m_ScriptVariableList;
    const size_t before = vars.size();
    const std::string file = (dir / "original" / "MessageFile.h").string();
    struct Row {
        const char* rule;
        const char* text;  // null: no file
        size_t want;       // variables after; SIZE_MAX: as before
        size_t messages;
    };
    const Row rows[] = {
        {"no file: the variables stay, the builder is told", nullptr, SIZE_MAX, 1},
        {"two lines make two variables", "Gate 1\nBell 25\n", 2, 0},
        {"the file gone again: the two stay", nullptr, 2, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        qv::ScriptedMessages messages;
        fs::remove(file);
        if (r.text) {
            const std::string t = r.text;
            qv::WriteWholeFile(file, std::vector<uint8_t>(t.begin(), t.end()));
        }
        ASSERT_TRUE(PaletteGui().Click("Par"));
        EXPECT_EQ(vars.size(), r.want == SIZE_MAX ? before : r.want);
        EXPECT_EQ(messages.shown.size(), r.messages);
    }
}

TEST_F(EditorFixture, LoadWorldCancelledKeepsTheUnsavedWorkAndTheWorkingFolder) {
    StartOnTheStartWorld();
    // Unsaved work: a land file of the working folder written since the load,
    // and a placed wall in the world in play.
    const std::string land = Working("Meadow.lnd");
    const std::vector<uint8_t> edited{'e', 'd', 'i', 't'};
    qv::WriteWholeFile(land, edited);
    MapMaster& map = *frame->m_World.map_master;
    const size_t placed = PlacedObjects(map).size();
    qv::ScriptedMessages messages;
    Queue({}, "Cancel");
    ASSERT_TRUE(PaletteGui().Click("Load World"));
    EXPECT_EQ(titles.back(), "Open");
    EXPECT_EQ(qv::ReadWholeFile(land), edited);
    EXPECT_EQ(PlacedObjects(*frame->m_World.map_master).size(), placed);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "Load Cancelled");
    // The palette asked for the world and no party.
    EXPECT_FALSE(frame->m_Play.Saves().ReloadsWithoutAsking());
    EXPECT_TRUE(frame->m_Play.Saves().SkipsPlayersFile());

    // Chosen: the world is read again from the start world's slot.
    Queue({{"File name", "start.qvr"}});
    ASSERT_TRUE(PaletteGui().Click("Load World"));
    EXPECT_NE(qv::ReadWholeFile(land), edited);
}

TEST_F(EditorFixture, ANewWorldSavedFromThePaletteIsTheWorldTheNextGameStartsIn) {
    Queue({}, "New World");
    Queue({{"Name", "Isle"}, {"Width (cells)", "60"}, {"Height (cells)", "50"}});
    Queue({{"File name", "isle"}});
    ASSERT_EQ(editor->RunWorldCreation(), 1);
    const auto enter = [&] {  // the world's pictures, then its first tick
        ASSERT_NE(LoadGlobalImages(&frame->m_World), 0);
        frame->m_iStage = 3;
        frame->RunTick();
    };
    enter();
    const std::string position = (dir / "original" / "Position").string();
    for (const bool cancel : {true, false}) {
        SCOPED_TRACE(cancel ? "cancelled: nothing saved" : "named: the start world");
        qv::ScriptedMessages messages;
        Queue({{"File name", "isle"}}, cancel ? "Cancel" : "OK");
        ASSERT_TRUE(PaletteGui().Click("Save"));
        EXPECT_EQ(titles.back(), "Save As");
        EXPECT_EQ(messages.shown.size() == 1 && messages.shown[0] == "Save Cancelled", cancel);
        EXPECT_EQ(savefile::ReadPositionFrom(qv::ReadWholeFile(position), position),
                  cancel ? "start.qvr" : "isle.qvr");
        EXPECT_EQ(fs::exists(dir / "original" / "isle.lnd"), !cancel);
    }
    // Quit, and a new game: it starts in the new world.
    NewFrame(0);
    ASSERT_EQ(frame->m_Play.Saves().OpenStartWorld(), 1);
    enter();
    EXPECT_EQ(frame->m_World.map_master->worldcellx, 60);
    Player* leader = frame->m_World.m_pLeader.Get();
    EXPECT_TRUE(leader && leader->m_pHolder) << "the party stands in it";
}
