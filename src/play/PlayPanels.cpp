// Play's part of the party's windows: a thing or a known spell picked for use
// from a window, and the fighting choices of the combat panel.

#include "creatures/Player.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "play/Play.h"

namespace {
// The attack method is the last of a creature's combat settings.
constexpr size_t kModeOfCombatSetting = 0;
constexpr size_t kAttackWhomSetting = 1;
constexpr size_t kAttackPreferenceSetting = 5;
constexpr size_t kAttackMethodSetting = 6;
}  // namespace

int Play::PickForUse(Player* actor, Object* object) {
    if (!actor || !object || !actor->IsAlive()) return 0;
    const bool known = actor->m_pMagic && actor->m_pMagic->FindSpell(object);
    if (!known && !actor->Owns(object)) return 0;
    if (!object->IsUsableBy(actor)) return 0;
    return object->GetUsePrompt(actor, 0);
}

int Play::SetCombatChoice(Player* actor, int32_t which, int32_t value) {
    // The player chooses for the party alone.
    if (!actor || actor->m_iPartySlot == 0) return 0;
    switch (which) {
        case kChoiceRangedMode:
            if (value < 0 || value >= kRangedModes) return 0;
            // Shooting, always or from afar, wants something to shoot with.
            if (value != 0 && !actor->m_pRangedWeapon) return 0;
            actor->m_iRangedMode = value;
            return 1;
        case kChoiceStandFast:
            if (value == Order::kToggle) value = actor->m_bPanelToggle ? 0 : 1;
            if (value != 0 && value != 1) return 0;
            actor->m_bPanelToggle = value;
            return 1;
        case kChoiceAttackMethod:
            if (value < 0 || value >= kAttackMethods) return 0;
            actor->m_iCombatSettings[kAttackMethodSetting] = value;
            return 1;
        case kChoiceModeOfCombat:
            if (value < 0 || value >= kModesOfCombat) return 0;
            actor->m_iCombatSettings[kModeOfCombatSetting] = value;
            return 1;
        case kChoiceAttackWhom:
            if (value < 0 || value >= kAttackWhomChoices) return 0;
            actor->m_iCombatSettings[kAttackWhomSetting] = value;
            return 1;
        case kChoiceAttackPreference:
            if (value < 0 || value >= kAttackPreferences) return 0;
            actor->m_iCombatSettings[kAttackPreferenceSetting] = value;
            return 1;
        default:
            return 0;
    }
}

int32_t Play::EffectShown(const Player& m, int icon) {
    using EK = SpellEffectKind;
    switch (icon) {
        case 0:
            return m.m_bFireProtection ? EK::ProtectFromFire : EK::None;
        case 1:
            return m.m_bGrounded ? EK::Grounding : EK::None;
        case 2:
            return m.m_bInvisible ? EK::Sight : EK::None;
        case 3:
            return m.m_bShockStrike ? EK::Shock : m.m_bLevitating ? EK::Levitate : EK::None;
        default:
            return EK::None;
    }
}

int Play::EndShownEffect(Player* member, int icon) {
    // The player ends the party's own spells alone.
    if (!member || member->m_iPartySlot == 0) return 0;
    const int32_t kind = EffectShown(*member, icon);
    if (kind == SpellEffectKind::None) return 0;
    return member->CancelSpellsOn(kind) ? 1 : 0;
}

// ---- The orders of the party's windows

int Play::GivePickForUse(const Order& order, Player* actor) {
    return PickForUse(actor, order.object.Get());
}

int Play::GiveStance(const Order& order, Player* actor) {
    return SetCombatChoice(actor, order.value, order.mode);
}

int Play::GiveEndEffect(const Order& order, Player* actor) {
    return EndShownEffect(actor, order.value);
}
