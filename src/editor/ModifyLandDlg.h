#pragma once
// The dialog of one land: its terrain code (the code of every cell of a land
// without a picture), the picture and the world cell of its top-left pixel
// (which give its rectangle), its tunes out of and in combat, whether its
// light follows the hour or stays at a fixed level, and its ambient sounds.
// Its rectangle and encounter rate are shown as play works them out.

#include <cstdint>
#include <string>
#include <vector>

#include "editor/PropertyDialog.h"
#include "platform/Handle.h"

class Land;

// The refusal of a land picture's name that leads out of the "Images\" folder
// (the add and modify dialogs both refuse it before anything changes).
std::string PictureNameRefused(const std::string& name);

class CModifyLandDlg : public CPropertyDialog {
public:
    CModifyLandDlg(Play& play, Land& land);

    bool Validate() override;
    void Apply() override;

    std::string m_strPicture;
    int32_t m_iTerrain = 0;
    int32_t m_iOriginX = 0, m_iOriginY = 0;
    int32_t m_iTune = 1, m_iCombatTune = 1;
    int32_t m_bSunlight = 0;
    int32_t m_iLightLevel = 0;
    int32_t m_bAmbient = 0;

protected:
    void DrawFields() override;

private:
    std::vector<Field> Fields() const;
    Land* Target() const;
    qv::Handle<Object> m_pLand;
};
