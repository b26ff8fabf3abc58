#include "items/MissileSpell.h"

#include <memory>

#include "creatures/Player.h"
#include "items/Missile.h"
#include "structures/LightSource.h"
#include "world/Global.h"
#include "world/World.h"

int CastMissileSpell(Spell& spell, Player* caster, Object* target, const MissileRule& rule) {
    if (!target) return SpellResult::Nothing;
    if (rule.anyPlacedObject ? target->m_pHolder == nullptr : target->Type() != PLAYER)
        return SpellResult::Nothing;
    // The missile flies from its caster: a missile spell without one (none
    // is made by a potion, a scroll or a cube) has nowhere to start from.
    World* world = GetWorld();
    if (!caster || !world) return SpellResult::Nothing;
    auto light = std::make_unique<LightSource>("LightSource");
    light->m_iStrength = rule.lightStrength;
    auto* missile = new MagicMissile(rule.look, caster, spell.m_iMissileParam, rule.damageKind,
                                     light.release());
    if (rule.anyPlacedObject) {
        missile->m_iDamageRange = missile_rules::kFireballDamageRange;
        missile->m_iDamageBase = missile_rules::kFireballDamageBase;
    }
    Player* creature = AsCreature(target);
    const Position to =
        rule.anyPlacedObject || !creature ? target->m_pHolder->pos : creature->m_Position;
    if (!LaunchMissile(missile, caster, to, world->m_iGameTime, rule.stepPeriod))
        return SpellResult::Nothing;
    if (creature)
        RewardByExperience(caster, creature, rule.casterShare, rule.targetShare);
    else
        RewardCast(caster, nullptr, missile_rules::kFireballObjectReward, 0.0);
    return SpellResult::Done;
}
