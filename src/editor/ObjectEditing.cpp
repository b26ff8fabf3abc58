#include "editor/ObjectEditing.h"

#include "creatures/MonsterGenerator.h"
#include "creatures/Player.h"
#include "editor/ContainerDlg.h"
#include "editor/ModifyLandDlg.h"
#include "editor/MonsterCreatorDlg.h"
#include "editor/ObjectPropertiesDlg.h"
#include "editor/PlayerPropertySheet.h"
#include "editor/WeaponDlg.h"
#include "items/Container.h"
#include "items/Weapon.h"
#include "world/Land.h"

std::unique_ptr<CPropertyDialog> MakeObjectDialog(Play& play, Object& object) {
    if (auto* creature = qv::DynamicCast<Player>(&object))
        return std::make_unique<CPlayerPropertySheet>(play, *creature);
    if (auto* generator = qv::DynamicCast<MonsterGenerator>(&object))
        return std::make_unique<CMonsterCreatorDlg>(play, *generator);
    if (auto* container = qv::DynamicCast<Container>(&object))
        return std::make_unique<CContainerDlg>(play, *container);
    if (auto* weapon = qv::DynamicCast<Weapon>(&object))
        return std::make_unique<CWeaponDlg>(play, *weapon);
    if (auto* land = qv::DynamicCast<Land>(&object))
        return std::make_unique<CModifyLandDlg>(play, *land);
    return std::make_unique<CObjectPropertiesDlg>(play, object);
}
