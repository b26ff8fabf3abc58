#pragma once
// For the editor's dialogs: a Dear ImGui context of the test's own, in which a
// dialog draws one frame headless (nothing is rendered to pixels), and a world
// with its play (play_test::PlayFixture) for the dialogs to edit.

#include <gtest/gtest.h>
#include <imgui.h>

#include "editor/EditorDialog.h"
#include "play/PlayFixture.h"

namespace editor_test {

// A context with a display and a built font atlas, made for one test.
class ImGuiFrames {
public:
    ImGuiFrames() {
        m_pContext = ImGui::CreateContext();
        ImGuiIO& io = ImGui::GetIO();
        io.DisplaySize = ImVec2(900.0f, 480.0f);
        io.IniFilename = nullptr;
        unsigned char* pixels = nullptr;
        int w = 0, h = 0;
        io.Fonts->GetTexDataAsRGBA32(&pixels, &w, &h);
    }
    ~ImGuiFrames() { ImGui::DestroyContext(m_pContext); }
    ImGuiFrames(const ImGuiFrames&) = delete;
    ImGuiFrames& operator=(const ImGuiFrames&) = delete;

    // One frame with the dialog drawn in it; the number of triangles'
    // corners it produced.
    int Draw(EditorDialog& dialog) {
        ImGui::GetIO().DeltaTime = 1.0f / 20.0f;
        ImGui::NewFrame();
        dialog.Draw();
        ImGui::Render();
        const ImDrawData* data = ImGui::GetDrawData();
        return data ? data->TotalVtxCount : 0;
    }

private:
    ImGuiContext* m_pContext = nullptr;
};

class EditorFixture : public play_test::PlayFixture {
protected:
    ImGuiFrames imgui;
};

}  // namespace editor_test
