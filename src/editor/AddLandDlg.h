#pragma once
// The dialog that adds a land to the world: its name, its land file, and
// either a picture with the world cell of its top-left pixel or, without a
// picture, its rectangle in world cells with the terrain code of every cell.
// A land outside the world is refused before anything is written.

#include <cstdint>
#include <string>

#include "editor/PropertyDialog.h"
#include "world/Map.h"

class CAddLandDlg : public CPropertyDialog {
public:
    explicit CAddLandDlg(Play& play);

    bool Validate() override;
    void Apply() override;

    std::string m_strName = "Land";
    std::string m_strFile;
    std::string m_strPicture;  // empty: the rectangle below
    int32_t m_iOriginX = 0, m_iOriginY = 0;
    CellRect m_Bounds{0, 0, 1, 1};
    int32_t m_iTerrain = 0;

protected:
    void DrawFields() override;
};
