#include "editor/Editor.h"

#include <utility>

#include "editor/AddWorldDlg.h"
#include "editor/ControlsDlg.h"
#include "editor/FileDlg.h"
#include "editor/ObjectEditing.h"
#include "editor/PropertyDialog.h"
#include "editor/WorldCreationDlg.h"
#include "shell/MainFrm.h"

CEditor::CEditor(CMainFrame& frame) : m_frame(frame) {
    SetBuildTools(this);
    Play::EditorHooks hooks;
    hooks.askNewWorld = [this](Play::NewWorldRequest& world) {
        CAddWorldDlg dialog;
        if (Run(dialog) != CEditorDialog::IDOK) return false;
        world.name = dialog.m_strName;
        world.width = dialog.m_iWidth;
        world.height = dialog.m_iHeight;
        return true;
    };
    hooks.chooseFile =
        [this](const Play::FileDialogRequest& request) -> std::optional<std::string> {
        // The editor's worlds and lands are those of the start world's slot.
        Play& p = m_frame.m_Play;
        CFileDlg dialog(
            request.save,
            p.Saves().GameFolderPath(savefile::GetSaveFolder(SavedGames::kOriginalSlot)),
            request.extension, request.proposed);
        if (Run(dialog) != CEditorDialog::IDOK) return std::nullopt;
        return dialog.m_strChosen;
    };
    // An object's own dialog, and those it opens, run as every other.
    hooks.editObject = [this](Object& object) {
        std::unique_ptr<CPropertyDialog> dialog = MakeObjectDialog(m_frame.m_Play, object);
        dialog->m_Run = [this](CEditorDialog& d) { return Run(d); };
        return Run(*dialog) == CEditorDialog::IDOK ? 1 : 0;
    };
    m_frame.m_Play.InstallEditor(std::move(hooks));
}

CEditor::~CEditor() {
    m_pPalette.reset();
    m_frame.m_Play.InstallEditor({});
    if (GetBuildTools() == this) SetBuildTools(nullptr);
}

int CEditor::Run(CEditorDialog& dialog) {
    return m_RunDialog ? m_RunDialog(dialog) : dialog.DoModal();
}

int CEditor::RunWorldCreation() {
    CWorldCreationDlg dialog(m_frame);
    // While it runs it is the frame's open tool window.
    CDDWnd* before = m_frame.m_pToolPalette;
    m_frame.m_pToolPalette = &dialog;
    Run(dialog);
    m_frame.m_pToolPalette = before;
    return dialog.m_bWorldMade;
}

void CEditor::OpenToolPalette(Player* leader) {
    m_pPalette.reset();
    m_pPalette = std::make_unique<CControlsDlg>(m_frame, leader);
    m_pPalette->m_RunDialog = [this](CEditorDialog& dialog) { return Run(dialog); };
    m_pPalette->Refresh(0);
}

void CEditor::Refresh(int fromPaint) {
    if (m_pPalette) m_pPalette->Refresh(fromPaint);
}

bool CEditor::OnPaletteInput(const qv::Event& e) {
    return m_pPalette && m_pPalette->OnInput(e);
}

bool CEditor::PlaceChosenMaterial(qv::Point clientPoint) {
    return m_pPalette && m_pPalette->PlaceChosenMaterial(clientPoint);
}
