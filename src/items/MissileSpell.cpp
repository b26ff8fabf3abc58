#include "items/MissileSpell.h"

#include "creatures/Player.h"

int CastMissileSpell(Spell&, Player*, Object* target, const MissileRule& rule) {
    if (!target) return SpellResult::Nothing;
    if (rule.anyPlacedObject ? target->m_pHolder == nullptr : target->Type() != PLAYER)
        return SpellResult::Nothing;
    // The magic missile and its flight come with the flying missiles; until
    // then the cast finds nothing to launch and costs nothing.
    return SpellResult::Nothing;
}
