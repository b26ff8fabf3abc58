#include "editor/WorldCreationDlg.h"

#include <imgui.h>

#include "platform/Files.h"
#include "platform/Format.h"
#include "platform/Settings.h"
#include "shell/MainFrm.h"

CWorldCreationDlg::CWorldCreationDlg(CMainFrame& frame, CDDWnd* parent)
    : CEditorDialog("World Creation", {400, 90}, parent),
      m_strFolder(frame.m_Play.Saves().GameFolder()),
      m_frame(frame) {}

void CWorldCreationDlg::BuildWidgets() {
    ImGui::PushItemWidth(280);
    TextField("Game folder", m_strFolder);
    ImGui::PopItemWidth();
    ImGui::Separator();
    if (ImGui::Button("Load World", ImVec2(110, 0))) Gui().Later([this] { LoadWorld(); });
    Gui().Remember("Load World");
    ImGui::SameLine();
    if (ImGui::Button("New World", ImVec2(110, 0))) Gui().Later([this] { NewWorld(); });
    Gui().Remember("New World");
    ImGui::SameLine();
    if (ImGui::Button("Cancel", ImVec2(110, 0))) OnCancel();
    Gui().Remember("Cancel");
}

bool CWorldCreationDlg::TakeFolder() {
    std::string folder = m_strFolder;
    if (folder.empty() || !qv::FolderExists(folder)) {
        Refuse(qv::Format("The game folder %s does not exist.", folder.c_str()));
        return false;
    }
    if (folder.back() != '/' && folder.back() != '\\') folder += '\\';
    if (folder != m_frame.m_Play.Saves().GameFolder()) m_frame.m_Play.Saves().UseGameFolder(folder);
    const std::string settings = m_frame.m_Settings.m_strSettingsFile.empty()
                                     ? CGameSettings::SettingsFilePath()
                                     : m_frame.m_Settings.m_strSettingsFile;
    try {
        qv::Settings::WriteValues(settings, {{"Path", folder}});
    } catch (const qv::FileError& error) {
        // The folder is used all the same; only the next start will not know it.
        Refuse(qv::Format("The settings file %s cannot be written: %s", settings.c_str(),
                          error.what()));
    }
    return true;
}

void CWorldCreationDlg::LoadWorld() {
    if (!TakeFolder()) return;
    // The world the editor works on is asked for and read without a party.
    if (m_frame.m_Play.Give(Order::Of(Order::Kind::LoadWorld)) != 1) return;
    m_bWorldMade = 1;
    EndPopup(IDOK);
}

void CWorldCreationDlg::NewWorld() {
    if (!TakeFolder()) return;
    if (m_frame.m_Play.NewWorld() != 1) return;
    m_bWorldMade = 1;
    EndPopup(IDOK);
}
