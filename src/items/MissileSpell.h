#pragma once
// The missile spells (Lightning Bolt, Flame Dart, Fireball, Cold Ray): a cast
// launches a magic missile with a light of its own from the caster toward
// the target; the missile flies and strikes on its own, and the spell is
// spent at once. Only the rows of the table below differ.

#include <cstdint>

#include "creatures/Combat.h"
#include "items/SpellSchools.h"

struct MissileRule {
    int32_t lightStrength;
    int32_t look;        // the missile's picture row
    int32_t damageKind;  // DamageKind::Fire, Shock or Cold
    int32_t stepPeriod;  // game time of one step of its flight
    double casterShare;  // of the target's total experience
    double targetShare;  // of the caster's total experience
    // Fireball: aimed at any object on the map, with damage of its own.
    bool anyPlacedObject;
};

namespace missile_rules {
inline constexpr MissileRule kLightningBolt{20, 2, DamageKind::Shock, 6, 0.01, 0.001, false};
inline constexpr MissileRule kFlameDart{50, 1, DamageKind::Fire, 10, 0.01, 0.001, false};
inline constexpr MissileRule kFireball{70, 1, DamageKind::Fire, 10, 0.1, 0.01, true};
inline constexpr MissileRule kColdRay{10, 3, DamageKind::Cold, 10, 0.1, 0.01, false};
// A Fireball's missile hurts more than the others'.
inline constexpr int32_t kFireballDamageRange = 15;
inline constexpr int32_t kFireballDamageBase = 10;
// What a Fireball's caster gains for a target that is not a creature.
inline constexpr double kFireballObjectReward = 10.0;
}  // namespace missile_rules

// The cast of a missile spell: SpellResult::Nothing when the target is not
// fit (no target; not a creature; for a Fireball, not on the map), Done once
// the missile is launched. Nothing is gained and no target recorded.
int CastMissileSpell(Spell& spell, Player* caster, Object* target, const MissileRule& rule);

template <class School>
class MissileSpell : public School {
public:
    int ApplyEffect(Player* caster, Object* target) override {
        return CastMissileSpell(*this, caster, target, m_Rule);
    }

protected:
    MissileSpell(const SpellKind& kind, const MissileRule& rule) : School(kind), m_Rule(rule) {}

private:
    const MissileRule& m_Rule;
};
