#include "editor/AddWorldDlg.h"

#include <imgui.h>

#include "platform/Format.h"
#include "world/Map.h"

CAddWorldDlg::CAddWorldDlg(CDDWnd* parent)
    : CEditorDialog("Add World", {300, 150}, parent),
      m_strWidth(std::to_string(kProposedSize)),
      m_strHeight(std::to_string(kProposedSize)) {}

void CAddWorldDlg::BuildWidgets() {
    ImGui::PushItemWidth(160);
    TextField("Name", m_strName);
    TextField("Width (cells)", m_strWidth);
    TextField("Height (cells)", m_strHeight);
    ImGui::PopItemWidth();
    OkCancelButtons();
}

bool CAddWorldDlg::OnOK() {
    if (m_strName.empty()) {
        Refuse("The world needs a name.");
        return false;
    }
    int64_t width = 0, height = 0;
    if (!ReadNumber(m_strWidth, MapMaster::wide, MapMaster::kMaxWorldCells, width)) {
        Refuse(qv::Format("The width must be a number of cells from %d to %lld.", MapMaster::wide,
                          static_cast<long long>(MapMaster::kMaxWorldCells)));
        return false;
    }
    if (!ReadNumber(m_strHeight, MapMaster::high, MapMaster::kMaxWorldCells, height)) {
        Refuse(qv::Format("The height must be a number of cells from %d to %lld.", MapMaster::high,
                          static_cast<long long>(MapMaster::kMaxWorldCells)));
        return false;
    }
    if (!MapMaster::FitsLargestWorld(static_cast<int32_t>(width), static_cast<int32_t>(height))) {
        Refuse(qv::Format("A world of %lld x %lld cells is too large: it may hold %lld cells.",
                          static_cast<long long>(width), static_cast<long long>(height),
                          static_cast<long long>(MapMaster::kMaxWorldCells)));
        return false;
    }
    m_iWidth = static_cast<int32_t>(width);
    m_iHeight = static_cast<int32_t>(height);
    return true;
}
