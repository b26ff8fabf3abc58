#pragma once
// The world editor as the frame sees it in build mode: it runs the world-
// creation dialog at start-up, keeps the tool palette beside the game's
// picture, and answers play's questions for the editor's worlds (the new
// world's name and size, the files to load and write) with its dialogs.
//
// The application owns it; it refers to the frame, which outlives it.

#include <functional>
#include <memory>

#include "shell/BuildTools.h"

class CControlsDlg;
class CEditorDialog;
class CMainFrame;

class CEditor : public CBuildTools {
public:
    // Becomes the frame's build tools and play's chooser of worlds and files.
    explicit CEditor(CMainFrame& frame);
    ~CEditor() override;
    CEditor(const CEditor&) = delete;
    CEditor& operator=(const CEditor&) = delete;

    int RunWorldCreation() override;
    void OpenToolPalette(Player* leader) override;
    void Refresh(int fromPaint) override;
    bool OnPaletteInput(const qv::Event& e) override;
    bool PlaceChosenMaterial(qv::Point clientPoint) override;

    // Runs one of the editor's dialogs: modally on the screen, or through
    // m_RunDialog (a test's answers) when set. IDOK or IDCANCEL.
    int Run(CEditorDialog& dialog);
    std::function<int(CEditorDialog&)> m_RunDialog;
    CControlsDlg* Palette() const { return m_pPalette.get(); }

private:
    CMainFrame& m_frame;
    std::unique_ptr<CControlsDlg> m_pPalette;
};
