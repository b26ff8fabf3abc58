#pragma once
// A frame in build mode on a game folder of its own with the start world, the
// editor made for it as the program makes it, and the catalogue built. The
// editor's dialogs are answered by the test: each dialog opened is handed to
// the next answer queued for it (none queued: it is cancelled).

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "data/StartWorld.h"
#include "editor/ControlsDlg.h"
#include "editor/Editor.h"
#include "editor/EditorDialog.h"
#include "items/ObjectCatalogueBuild.h"
#include "platform/Files.h"
#include "platform/MessageLoop.h"
#include "shell/MainFrm.h"
#include "structures/GlobalImages.h"
#include "support/TestFolder.h"
#include "world/Map.h"

namespace editor_test {

namespace fs = std::filesystem;

class EditorFixture : public ::testing::Test {
protected:
    using Answer = std::function<void(CEditorDialog&)>;

    EditorFixture() {
        qv::MessageLoop::Instance().Reset();
        WriteStartWorld(dir.string());
        NewFrame(1);
        BuildObjectCatalogue(frame->m_World.m_Catalogue, nullptr);
        editor = std::make_unique<CEditor>(*frame);
        editor->m_RunDialog = [this](CEditorDialog& d) {
            d.Open();
            titles.push_back(d.Title());
            if (answers.empty()) return int{CEditorDialog::IDCANCEL};
            Answer answer = std::move(answers.front());
            answers.pop_front();
            answer(d);
            return d.GetEndCode() ? d.GetEndCode() : int{CEditorDialog::IDCANCEL};
        };
    }
    ~EditorFixture() override {
        editor.reset();
        frame.reset();
        InvalidateGlobalImages();
        qv::MessageLoop::Instance().Reset();
    }

    // A frame on the game folder, in build mode or in play (the editor, if
    // any, and the frame before go first).
    void NewFrame(int buildMode) {
        editor.reset();
        frame.reset();
        InvalidateGlobalImages();
        frame = std::make_unique<CMainFrame>();
        EXPECT_EQ(frame->InitDirectDraw(0), 1);
        frame->m_Settings.m_strSettingsFile = (dir / "settings").string();
        frame->m_bBuildMode = buildMode;
        frame->m_World.map_master = std::make_unique<MapMaster>();
        frame->m_World.CreateRootGroups();
        frame->m_Play.Saves().UseGameFolder(dir.string() + "/");
    }
    // Answers the next dialog: fills the named fields, then clicks `button`.
    void Queue(std::initializer_list<std::pair<std::string, std::string>> fields,
               std::string button = "OK") {
        std::vector<std::pair<std::string, std::string>> f(fields);
        answers.push_back([f, button](CEditorDialog& d) {
            for (const auto& [name, text] : f) EXPECT_TRUE(d.Gui().Fill(name, text)) << name;
            EXPECT_TRUE(d.Gui().Click(button)) << button;
        });
    }
    // Start-up as build mode has it: the world-creation dialog loads the
    // start world, then the first tick opens the palette.
    void StartOnTheStartWorld() {
        Queue({}, "Load World");
        Queue({{"File name", "start.qvr"}});
        ASSERT_EQ(editor->RunWorldCreation(), 1);
        ASSERT_NE(LoadGlobalImages(&frame->m_World), 0);
        frame->m_iStage = 3;
        frame->RunTick();
        ASSERT_EQ(frame->m_Play.m_iStartState, 0);
        ASSERT_NE(editor->Palette(), nullptr);
    }
    CControlsDlg& Palette() { return *editor->Palette(); }
    EditorGui& PaletteGui() { return editor->Palette()->Gui(); }
    std::string Working(const std::string& name) const { return (dir / "tmp" / name).string(); }

    test_support::TestFolder folder{"editor"};
    const fs::path& dir = folder.dir;
    std::unique_ptr<CMainFrame> frame;
    std::unique_ptr<CEditor> editor;
    std::deque<Answer> answers;
    std::vector<std::string> titles;  // of the dialogs opened, in order
};

}  // namespace editor_test
