#pragma once
// The arithmetic of a fight that does not depend on who fights: damage kinds,
// how close is close enough to strike, how a hit's stun delays the target,
// what experience a hit earns, and how the load carried slows a creature.

#include <array>
#include <cstdint>

// The kinds of damage (a weapon's, a spell's, a trap's); any other value is
// plain damage.
struct DamageKind {
    static constexpr int32_t Fire = 2;
    static constexpr int32_t Shock = 3;
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

    // How much later the target's queued events come after a hit by a weapon
    // of `stun`: (stun x step time / 100) x 0.5, each cut toward zero.
    static int32_t StunDelay(int32_t stun, int32_t targetStepTime) {
        const int64_t s = int64_t{stun} * targetStepTime / 100;
        return static_cast<int32_t>(static_cast<double>(s) * 0.5);
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
        if (s > INT32_MAX) s = INT32_MAX;
        return static_cast<int32_t>(s);
    }
    // The game time of one step and of a strike's swing at a loaded speed.
    static constexpr int32_t kStepTimeBase = 5000;
    static constexpr int32_t kAttackTimeBase = 70000;
};
