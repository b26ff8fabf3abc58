// A creature's casting: the cast itself (mana, the roll, the effect, the
// sounds), the spell it picks in a fight, and the ending of the spells it
// cast or that work on it.

#include <algorithm>

#include "creatures/Player.h"
#include "items/ActiveSpells.h"
#include "items/Magic.h"
#include "items/SpellSchools.h"
#include "media/DSound.h"
#include "platform/Rand.h"
#include "world/Global.h"
#include "world/ObjectHolder.h"

namespace {

// The picture column a giant shows while it casts, and the one it goes back to.
constexpr int kGiantCastingColumn = 9;
constexpr int kRestingColumn = 0;
constexpr PlayerType kGiant = 4;

void PlayAtCaster(CDSound* sound, const Player& caster) {
    if (sound && caster.m_pHolder) sound->PlayAt(caster.m_pHolder->pos.x, caster.m_pHolder->pos.y);
}

void ShowColumn(Player& creature, int column) {
    int row = -1;
    creature.SetImageFrame(&column, &row);
}

}  // namespace

int Player::CastSpell(std::unique_ptr<Spell> spell, Object* target, int32_t report) {
    if (!spell) return 0;
    ReduceAlertness(1);
    Magic* magic = m_pMagic.get();
    if (!magic || spell->m_iMana > magic->m_uMana) {
        if (report && magic) ShowManaShortage(spell->m_iMana - magic->m_uMana);
        return 0;
    }
    const int chance = spell->GetSuccessChance(this, target);
    const int roll = qv::Rand() % 100;
    int result = SpellResult::Done;  // a failed roll spends the spell
    if (roll < chance) {
        result = spell->ApplyEffect(this, target);
        PlayAtCaster(Spell::SuccessSound(), *this);
    } else {
        PlayAtCaster(Spell::FailureSound(), *this);
    }
    if (result == SpellResult::Nothing) {
        SettleSpell(std::move(spell));
        return 0;
    }
    if (GetPlayerType() == kGiant) ShowColumn(*this, kGiantCastingColumn);
    // The effect may have taken the magic away; the cost is paid from what
    // is left, never below 0.
    if (Magic* m = m_pMagic.get()) m->m_uMana -= std::min(spell->m_iMana, m->m_uMana);
    if (result == SpellResult::Done) ShowColumn(*this, kRestingColumn);
    // Kept while the list of spells in effect holds it; deleted otherwise.
    SettleSpell(std::move(spell));
    return 1;
}

bool Player::CastFightSpell(bool attackOpen) {
    if (m_iPartySlot != 0 || !m_pMagic) return false;
    std::vector<int> weights;
    weights.reserve(m_pMagic->m_SpellList.size());
    for (const auto& spell : m_pMagic->m_SpellList)
        weights.push_back(std::max(0, spell->GetCastWeight(nullptr)));
    const int64_t total = spell_rules::ChoiceTotal(attackOpen, weights);
    if (total <= 0) return false;
    const int64_t roll = qv::Rand() % total;
    const int chosen = spell_rules::ChooseAction(attackOpen, weights, roll);
    if (chosen < 0) return false;
    Spell* known = m_pMagic->m_SpellList[static_cast<size_t>(chosen)].get();
    // A spell for the party's kind is cast on the caster; any other on its
    // target. A target gone meanwhile takes nothing, and the turn is spent.
    Object* target = this;
    if (known->GetTargetKind() != SpellTargetKind::PartyMember) target = m_pTarget.Get();
    if (target) known->CastCopy(this, target);
    return true;
}

bool Player::CancelCastSpells(int32_t kind) {
    ActiveSpells* list = ActiveSpells::Current();
    // A creature that was never numbered cast nothing that names it.
    if (!list || m_iPlayerNumber == -1) return false;
    const int32_t me = m_iPlayerNumber;
    return list->EndWhere([kind, me](Spell& s) {
        return (kind == SpellEffectKind::Any || s.GetEffectKind() == kind) && s.m_iCaster == me;
    });
}

bool Player::CancelSpellsOn(int32_t kind) {
    ActiveSpells* list = ActiveSpells::Current();
    if (!list) return false;
    return list->EndWhere([this, kind](Spell& s) {
        if (kind != SpellEffectKind::Any && s.GetEffectKind() != kind) return false;
        for (int32_t number : s.m_Targets)
            if (ResolveSpellTarget(number) == this) return true;
        return false;
    });
}
