#pragma once
// A spell that sets one flag of the creature it is cast on (shock strike,
// levitation, invisibility, fire protection, hesitation, grounding) and
// clears it again when it ends. Cast by a creature it lasts until cancelled
// and tires its caster meanwhile; a kind may say otherwise.

#include <cstdint>

#include "creatures/Player.h"
#include "items/SpellSchools.h"

template <class School>
class FlagSpell : public School {
public:
    ~FlagSpell() override { this->EndEffect(); }

    int ApplyEffect(Player* caster, Object* target) override {
        Player* p = AsCreature(target);
        if (p) {
            MakeRoom(caster, *p);
            p->*m_pFlag = m_iValue;
            Reward(caster, p);
        }
        return this->ApplyBaseEffect(caster, target, p);
    }
    int CheckExpired(int32_t now) override { return this->DrainCaster(now, m_iDrainInterval); }

    // The caster loses 1 alertness every this much game time.
    int32_t m_iDrainInterval = Spell::kDrainInterval;

protected:
    FlagSpell(const SpellKind& kind, int32_t Player::*flag, int32_t value = 1)
        : School(kind), m_pFlag(flag), m_iValue(value) {}
    // Before the flag is set: ends what may not stand beside it.
    virtual void MakeRoom(Player*, Player&) {}
    // What the caster and the target gain once the flag is set.
    virtual void Reward(Player* caster, Player* target) {
        RewardCast(caster, target, kCasterReward, kTargetReward);
    }
    void UndoOn(Player* target) override { target->*m_pFlag = 0; }

    static constexpr double kCasterReward = 10.0;
    static constexpr double kTargetReward = 1.0;

private:
    int32_t Player::*m_pFlag;
    int32_t m_iValue;
};
