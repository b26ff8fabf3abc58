#include "editor/ModifyLandDlg.h"

#include <imgui.h>

#include "play/Play.h"
#include "world/Land.h"

std::string PictureNameRefused(const std::string& name) {
    return "The picture needs a plain file name of the Images folder, such as \"Island.bmp\": \"" +
           name + "\" is refused.";
}

CModifyLandDlg::CModifyLandDlg(Play& play, Land& land)
    : CPropertyDialog(play, "Modify Land", {420, 380}), m_pLand(&land) {
    m_strPicture = land.bitmapname;
    m_iTerrain = land.terraincode;
    m_iOriginX = land.origin.x;
    m_iOriginY = land.origin.y;
    m_iTune = land.tune;
    m_iCombatTune = land.combattune;
    m_bSunlight = land.sunlight;
    m_iLightLevel = land.lightlevel;
    m_bAmbient = land.ambient;
}

Land* CModifyLandDlg::Target() const {
    return qv::DynamicCast<Land>(m_pLand.Get());
}

std::vector<CModifyLandDlg::Field> CModifyLandDlg::Fields() const {
    using P = Play::Property;
    Land* land = Target();
    if (!land) return {};
    auto* self = const_cast<CModifyLandDlg*>(this);
    return {{P::kTerrain, &self->m_iTerrain, land->terraincode},
            {P::kOriginX, &self->m_iOriginX, land->origin.x},
            {P::kOriginY, &self->m_iOriginY, land->origin.y},
            {P::kTune, &self->m_iTune, land->tune},
            {P::kCombatTune, &self->m_iCombatTune, land->combattune},
            {P::kSunlight, &self->m_bSunlight, land->sunlight},
            {P::kLightLevel, &self->m_iLightLevel, land->lightlevel},
            {P::kAmbient, &self->m_bAmbient, land->ambient}};
}

bool CModifyLandDlg::Validate() {
    Land* land = Target();
    if (!land) return Refused("The land is not in memory any more.");
    if (m_strPicture != land->bitmapname && !Land::IsPictureName(m_strPicture))
        return Refused(PictureNameRefused(m_strPicture));
    return AllowsChanged(land, Fields());
}

void CModifyLandDlg::Apply() {
    Land* land = Target();
    if (!land) return;
    // The picture first: the origin places it.
    if (m_strPicture != land->bitmapname && !SetText(land, Play::Property::kPicture, m_strPicture))
        Refused("The picture \"" + m_strPicture + "\" cannot be loaded; the old one stays.");
    SetChanged(land, Fields());
}

void CModifyLandDlg::DrawFields() {
    Land* land = Target();
    if (!land) return;
    ImGui::Text("%s", land->m_strSpecialName.c_str());
    ImGui::Text("Bounds: (%d, %d) - (%d, %d)", land->bounds.left, land->bounds.top,
                land->bounds.right, land->bounds.bottom);
    ImGui::Text("Encounters: %d, one every %.0f", static_cast<int>(land->encounters.size()),
                land->encounterinterval);
    TextField("Picture", m_strPicture);
    IntField("Origin X", &m_iOriginX);
    IntField("Origin Y", &m_iOriginY);
    IntField("Terrain Code", &m_iTerrain);
    IntField("Tune", &m_iTune);
    IntField("Combat Tune", &m_iCombatTune);
    FlagField("Light Follows the Hour", &m_bSunlight);
    IntField("Light Level", &m_iLightLevel);
    FlagField("Ambient Sounds", &m_bAmbient);
}
