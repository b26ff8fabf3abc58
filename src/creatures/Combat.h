#pragma once
// The arithmetic of a fight that does not depend on who fights: damage kinds,
// how close is close enough to strike, how a hit's stun delays the target,
// what experience a hit earns, and how the load carried slows a creature.

#include <array>
#include <cstdint>

#include "platform/Saturate.h"

class Object;
class Player;

// The kinds of damage (a weapon's, a spell's, a trap's, what a species
// answers to); any other value is plain damage.
struct DamageKind {
    static constexpr int32_t Fire = 2;
    static constexpr int32_t Shock = 3;
    static constexpr int32_t Cold = 4;
    static constexpr int32_t Poison = 5;
};

struct CombatRules {
    // A close strike reaches while D - 2 x (r1 x r1 + r2 x r2) is at most this,
    // D a squared pixel distance and r1, r2 the two body radii.
    static constexpr int64_t kReach = 4000;
    static bool WithinReach(int64_t distanceSq, int32_t r1, int32_t r2) {
        return distanceSq - 2 * (int64_t{r1} * r1 + int64_t{r2} * r2) <= kReach;
    }

    // A hit's roll (0..99) hits when it is at most the chance.
    static bool Hits(int roll, int chance) { return roll <= chance; }
    // What every chance of a strike gets on top of the weapon's.
    static constexpr int kChanceBonus = 5;
    // The flat chance of a subduing strike.
    static constexpr int kSubduingChance = 5;
    // A shock strike adds 3 + (r mod 7) of shock damage to a close hit.
    static constexpr int kShockBase = 3;
    static constexpr int kShockRange = 7;

    // How much later the target's queued events come after a hit by a weapon
    // of `stun` (a weapon's or a missile's): (stun x step time / 100) x 0.5,
    // each cut toward zero, and held to the integers.
    static int32_t StunDelay(int32_t stun, int32_t targetStepTime) {
        const int64_t s = int64_t{stun} * targetStepTime / 100;
        return qv::TruncateToInt32(static_cast<double>(s) * 0.5);
    }

    // The experience a hit of `damage` earns against a target: damage /
    // maximum hit points x the sum of its three pools x 0.01. A target without
    // hit points to lose gives none.
    static double HitExperience(int32_t damage, int32_t targetMaxHitPoints,
                                const std::array<double, 3>& targetPools) {
        if (targetMaxHitPoints <= 0) return 0.0;
        return static_cast<double>(damage) / targetMaxHitPoints *
               (targetPools[0] + targetPools[1] + targetPools[2]) * 0.01;
    }
    // The pools of AddExperience: a shot or missile counts as long range, a
    // close hit as short range.
    static constexpr int32_t kLongRangePool = 0;
    static constexpr int32_t kShortRangePool = 1;

    // The load classes: the ratio load x 20 / effective strength decides the
    // class and the percentage of the speed that is left.
    struct Load {
        int32_t loadClass;
        int32_t percent;
    };
    static Load LoadClassOf(int64_t load, int32_t effectiveStrength) {
        // A creature without strength carries as one of strength 1.
        const int64_t ratio = load * 20 / (effectiveStrength > 0 ? effectiveStrength : 1);
        if (ratio < 10) return {0, 100};
        if (ratio < 25) return {1, 90};
        if (ratio < 50) return {2, 75};
        if (ratio < 75) return {3, 50};
        if (ratio < 90) return {4, 25};
        return {5, 0};
    }
    // The speed left after the load and the speed spells: at least 1, halved
    // when slowed, doubled when hasted, and still at least 1.
    static int32_t LoadedSpeed(int32_t speed, int32_t percent, int32_t speedState) {
        int64_t s = int64_t{speed} * percent / 100;
        if (s < 1) s = 1;
        if (speedState < 0) s /= 2;
        if (speedState > 0) s *= 2;
        if (s < 1) s = 1;
        return qv::ClampToInt32(s);
    }
    // The game time of one step and of a strike's swing at a loaded speed.
    static constexpr int32_t kStepTimeBase = 5000;
    static constexpr int32_t kAttackTimeBase = 70000;
};

// Which of its weapons a queued strike (ATTACK or HIT) uses: the weapon is
// looked up when the strike comes, so a weapon put away meanwhile is never
// struck with. It is the event's value.
enum class StrikeWeapon : int32_t { Melee = 0, Ranged = 1 };

// What a fight asks of the weapon it strikes or shoots with. The weapon
// classes answer it; an object that does not is no weapon, and a creature
// holding only such a thing does not strike with it.
class CombatWeapon {
public:
    virtual ~CombatWeapon() = default;
    // A missile in flight answers kMissileKind.
    virtual int GetWeaponKind() = 0;
    virtual int IsRanged() = 0;
    // The percentage chance to hit, 5 to 95; with `flag` set invisibility
    // does not count.
    virtual int GetHitChance(Player* attacker, Player* defender, int flag) = 0;
    // The hit points a hit takes.
    virtual int GetDamage(Player* attacker, Player* defender, int average) = 0;
    // How long a hit holds the target up, and the kind of its damage.
    virtual int32_t GetStun() = 0;
    virtual int32_t GetDamageKind() = 0;
    // How much the weapon slows the hand that holds it (100: not at all).
    virtual int32_t GetSpeedFactor() { return 100; }
    // Shoots a missile from `shooter` at `target` at game time `now`: 1 when
    // one flies. Only ranged weapons shoot.
    virtual int Launch(Player* shooter, Player* target, int32_t now) {
        (void)shooter, (void)target, (void)now;
        return 0;
    }

    static constexpr int kMissileKind = 23;
    // The weapon an object is, or null.
    static CombatWeapon* Of(Object* object);
};

// What a fight asks of worn armour.
class CombatArmour {
public:
    virtual ~CombatArmour() = default;
    virtual int32_t GetArmourSpeedFactor() = 0;
    virtual int32_t GetAbsorption() = 0;
    // A creature's natural armour answers 1.
    virtual int GetArmourKind() { return 0; }
    static CombatArmour* Of(Object* object);
};

// The combat orders a creature can be given (the type of its combat order,
// held in the order event's type).
enum class CombatOrderType : int32_t { Hold = 0, WalkTo = 1, AttackWith = 3, CastOn = 5 };

// The numbers of a fight's decisions, in squared pixels.
struct CombatRange {
    // Nearer than this an opponent is close: it is fought hand to hand and a
    // new target.
    static constexpr int64_t kClose = 4000;
    // A party member in formation turns to an opponent this near.
    static constexpr int64_t kFormationClose = 15;
    // An evading creature steps away from an opponent nearer than this.
    static constexpr int64_t kEvade = 3600;
    // Under a hold order only an opponent this near is struck.
    static constexpr int64_t kHold = 2000;
    // A walk order is done this near its point.
    static constexpr int64_t kWalkDone = 9;
    // A party member farther than this from its place in the formation goes
    // back to it.
    static constexpr int64_t kFormationPlace = 10;
};

// The poses a creature's picture takes in a fight.
struct CombatPose {
    static constexpr int32_t Strike = 1;
    static constexpr int32_t SheetStrike = 4;
    static constexpr int32_t SheetFollowThrough = 5;
    static constexpr int32_t HumanShot = 7;
};

// The sounds of a fight, by their number in the frame's table.
struct CombatSound {
    static constexpr int Hurt = 1;
    static constexpr int Death = 2;
};
