#include "editor/WeaponDlg.h"

#include <imgui.h>

#include <array>
#include <utility>

#include "items/Weapon.h"
#include "play/Play.h"

CWeaponDlg::CWeaponDlg(Play& play, Weapon& weapon)
    : CPropertyDialog(play, "Weapon properties", {380, 300}), m_pWeapon(&weapon) {
    m_strSpecialName = weapon.m_strSpecialName;
    m_strGeneralName = weapon.m_strGeneralName;
    m_iSpeed = weapon.m_iSpeed;
    m_iDamageBase = weapon.m_iDamageBase;
    m_iDamageRange = weapon.m_iDamageRange;
    m_iStun = weapon.m_iStun;
    m_iOld[0] = m_iSpeed;
    m_iOld[1] = m_iDamageBase;
    m_iOld[2] = m_iDamageRange;
    m_iOld[3] = m_iStun;
}

CWeaponDlg::~CWeaponDlg() = default;

Weapon* CWeaponDlg::Target() const {
    return qv::DynamicCast<Weapon>(m_pWeapon.Get());
}

CObjectPropertiesDlg& CWeaponDlg::OpenObjectProperties() {
    m_pObjectProperties = std::make_unique<CObjectPropertiesDlg>(m_Play, *Target());
    return *m_pObjectProperties;
}

namespace {

// The four numbers beside the property each one sets.
std::array<std::pair<const char*, int32_t*>, 4> Numbers(CWeaponDlg& d) {
    using P = Play::Property;
    return {{{P::kSpeed, &d.m_iSpeed},
             {P::kDamageBase, &d.m_iDamageBase},
             {P::kDamageRange, &d.m_iDamageRange},
             {P::kStun, &d.m_iStun}}};
}

}  // namespace

bool CWeaponDlg::Validate() {
    Weapon* weapon = Target();
    if (!weapon) return Refused("The weapon is gone.");
    const auto numbers = Numbers(*this);
    for (size_t i = 0; i < numbers.size(); ++i)
        if (*numbers[i].second != m_iOld[i] &&
            !Allows(weapon, numbers[i].first, *numbers[i].second))
            return false;
    return true;
}

void CWeaponDlg::Apply() {
    Weapon* weapon = Target();
    if (!weapon) return;
    const auto numbers = Numbers(*this);
    for (size_t i = 0; i < numbers.size(); ++i)
        if (*numbers[i].second != m_iOld[i]) Set(weapon, numbers[i].first, *numbers[i].second);
    SetText(weapon, Play::Property::kSpecialName, m_strSpecialName);
}

void CWeaponDlg::DrawFields() {
    TextField("Special Name", m_strSpecialName);
    ImGui::Text("General Name: %s", m_strGeneralName.c_str());
    IntField("Speed", &m_iSpeed);
    IntField("Dam. Base", &m_iDamageBase);
    IntField("Dam. Range", &m_iDamageRange);
    IntField("Stun", &m_iStun);
    if (ImGui::Button("Obj. Prop."))
        Later([this] {
            m_Run(OpenObjectProperties());
            m_pObjectProperties.reset();
        });
    Gui().Remember("Obj. Prop.");
}
