#include "editor/FileDlg.h"

#include <imgui.h>

#include <algorithm>
#include <cctype>

#include "platform/Files.h"

namespace {

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool HasExtension(const std::string& name, const std::string& extension) {
    const std::string tail = "." + Lower(extension);
    return name.size() > tail.size() && Lower(name).ends_with(tail);
}

}  // namespace

CFileDlg::CFileDlg(bool save, const std::string& folder, const std::string& extension,
                   const std::string& proposed, CDDWnd* parent)
    : CEditorDialog(save ? "Save As" : "Open", {360, 260}, parent),
      m_strName(proposed),
      m_bSave(save),
      m_strExtension(extension) {
    try {
        for (const std::string& name : qv::ListFiles(folder))
            if (HasExtension(name, extension)) m_Files.push_back(name);
    } catch (const qv::FileError&) {
        // A folder that cannot be read lists nothing; a name can still be typed.
    }
    std::sort(m_Files.begin(), m_Files.end());
}

void CFileDlg::BuildWidgets() {
    ImGui::BeginChild("files", ImVec2(0, 160), true);
    for (const std::string& name : m_Files) {
        if (ImGui::Selectable(name.c_str(), name == m_strName)) m_strName = name;
        Gui().Remember("file " + name);
        if (Gui().DoubleClicked() && ImGui::IsItemHovered()) {
            m_strName = name;
            Gui().Later([this] {
                if (OnOK()) EndPopup(IDOK);
            });
        }
    }
    ImGui::EndChild();
    ImGui::PushItemWidth(220);
    TextField("File name", m_strName);
    ImGui::PopItemWidth();
    OkCancelButtons();
}

bool CFileDlg::OnOK() {
    std::string name = m_strName;
    if (!name.empty() && !HasExtension(name, m_strExtension)) name += "." + m_strExtension;
    if (m_strName.empty() || !qv::IsPlainFileName(name)) {
        Refuse("Give the name of a file in this folder, without a folder in it.");
        return false;
    }
    if (!m_bSave && std::find(m_Files.begin(), m_Files.end(), name) == m_Files.end()) {
        Refuse(name + " not found.");
        return false;
    }
    m_strChosen = name;
    return true;
}
