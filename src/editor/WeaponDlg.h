#pragma once
// The "Weapon properties" dialog: the weapon's special name, its general
// name (shown only), and its four fighting numbers, speed, damage base,
// damage range and stun. OK gives the weapon the special name and the four
// numbers; "Obj. Prop." opens the object properties of the weapon itself.

#include <cstdint>
#include <memory>
#include <string>

#include "editor/ObjectPropertiesDlg.h"
#include "editor/PropertyDialog.h"
#include "platform/Handle.h"

class Weapon;

class CWeaponDlg : public CPropertyDialog {
public:
    CWeaponDlg(Play& play, Weapon& weapon);
    ~CWeaponDlg() override;

    bool Validate() override;
    void Apply() override;

    // "Obj. Prop.": the object properties of the weapon.
    CObjectPropertiesDlg& OpenObjectProperties();

    std::string m_strSpecialName;
    std::string m_strGeneralName;  // shown, not changed here
    int32_t m_iSpeed = 0;
    int32_t m_iDamageBase = 0;
    int32_t m_iDamageRange = 0;
    int32_t m_iStun = 0;

protected:
    void DrawFields() override;

private:
    Weapon* Target() const;
    qv::Handle<Object> m_pWeapon;
    // The four numbers as the weapon had them: only a changed one is
    // checked and set, so that a weapon from an old record keeps a number
    // the editor would not give while its name is changed.
    int32_t m_iOld[4] = {};
    std::unique_ptr<CObjectPropertiesDlg> m_pObjectProperties;
};
