#pragma once
// The new world's name and its size in cells (500 x 500 proposed). OK takes
// only a name and a size the map can hold: at least the map's window of
// cells each way, and no more cells than the largest world.

#include <cstdint>
#include <string>

#include "editor/EditorDialog.h"

class CAddWorldDlg : public CEditorDialog {
public:
    static constexpr int32_t kProposedSize = 500;
    explicit CAddWorldDlg(CDDWnd* parent = nullptr);

    void BuildWidgets() override;
    bool OnOK() override;

    // What the fields hold, and the values OK took.
    std::string m_strName, m_strWidth, m_strHeight;
    int32_t m_iWidth = kProposedSize, m_iHeight = kProposedSize;
};
