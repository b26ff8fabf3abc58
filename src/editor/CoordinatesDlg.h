#pragma once
// The "Coordinates" dialog: one cell of the world (X and Y, in cells), for a
// scripted move. A cell outside the world is refused.

#include <cstdint>
#include <functional>

#include "editor/PropertyDialog.h"

class CCoordinatesDlg : public CPropertyDialog {
public:
    CCoordinatesDlg(Play& play, int32_t x, int32_t y);

    bool Validate() override;
    // Hands the cell to the opener (m_OnOk).
    void Apply() override {
        if (m_OnOk) m_OnOk(m_iX, m_iY);
    }
    std::function<void(int32_t x, int32_t y)> m_OnOk;

    int32_t m_iX = 0;
    int32_t m_iY = 0;

protected:
    void DrawFields() override;
};
