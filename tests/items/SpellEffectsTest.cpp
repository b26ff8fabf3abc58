// What each spell does to its target, school by school: the figure before,
// after the cast, and after the spell has ended (by time, or cancelled with
// its caster's spells).

#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "items/SpellFixture.h"
#include "items/SpellsAir.h"
#include "items/SpellsEarth.h"
#include "items/SpellsFire.h"
#include "items/SpellsWater.h"

namespace {

using spell_test::SpellWorld;

template <class S>
int Cast(SpellWorld& w, Player* caster, Player& target) {
    return w.Apply<S>(caster, &target);
}

constexpr int32_t kCancelled = -1;  // ended with its caster's spells
constexpr int32_t kSpent = 0;       // nothing to end: it was spent at once
constexpr int32_t kNever = -2;      // no caster to cancel it, and no end by time

struct Row {
    const char* rule;
    int (*cast)(SpellWorld&, Player*, Player&);
    bool withCaster;
    int32_t Player::*figure;
    int32_t before;
    int result;
    int32_t after;
    int32_t endAt;  // a game time past its end, kCancelled or kSpent
    int32_t ended;
    void (*setup)(Player& caster, Player& target) = nullptr;
};

void RunTable(const Row* rows, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const Row& r = rows[i];
        SCOPED_TRACE(r.rule);
        SpellWorld w;
        Player& caster = w.Creature(1, 100, 0.0f);
        caster.m_iPartySlot = 1;
        Player& target = w.Creature(2);
        target.m_iMaxHitPoints = 100;
        if (r.setup) r.setup(caster, target);
        target.*r.figure = r.before;
        EXPECT_EQ(r.cast(w, r.withCaster ? &caster : nullptr, target), r.result);
        EXPECT_EQ(target.*r.figure, r.after);
        if (r.endAt == kSpent) {
            EXPECT_EQ(w.spells.Count(), 0u);
            continue;
        }
        if (r.endAt == kNever) {
            w.Tick(100000);
            EXPECT_EQ(target.*r.figure, r.after);
            EXPECT_EQ(w.spells.Count(), 1u);
            continue;
        }
        if (r.endAt == kCancelled) {
            w.Tick(100000);  // never ends by time
            EXPECT_EQ(target.*r.figure, r.after);
            caster.CancelCastSpells(SpellEffectKind::Any);
        } else {
            w.Tick(r.endAt - 1);
            EXPECT_EQ(target.*r.figure, r.after);
            w.Tick(r.endAt);
        }
        EXPECT_EQ(target.*r.figure, r.ended);
        EXPECT_EQ(w.spells.Count(), 0u);
    }
}

// The first roll of a freshly seeded chance generator (seed 1).
constexpr int kFirstRoll = 41;

void Dead(Player&, Player& target) {
    target.m_sLifeState = 0;
}
// The caster's Earth skill is 0 but for these.
void Skill1(Player& caster, Player&) {
    caster.m_pMagic->m_fEarthSkill = 1.0f;
}
void Skill30(Player& caster, Player&) {
    caster.m_pMagic->m_fEarthSkill = 30.0f;
}
void Skill0_7(Player& caster, Player&) {
    caster.m_pMagic->m_fEarthSkill = 0.7f;
}

TEST(SpellEffects, Earth) {
    const Row rows[] = {
        {"Heal 95 of 100: at most the maximum", Cast<Heal>, true, &Player::m_iHitPoints, 95,
         SpellResult::Done, 100, kSpent, 0},
        {"Heal 5 + roll % 10", Cast<Heal>, true, &Player::m_iHitPoints, 50, SpellResult::Done,
         50 + 5 + kFirstRoll % 10, kSpent, 0},
        {"Heal on the dead is spent and heals nothing", Cast<Heal>, true, &Player::m_iHitPoints, 0,
         SpellResult::Done, 0, kSpent, 0, Dead},
        {"Major Heal 20 + roll % 40", Cast<MajorHeal>, true, &Player::m_iHitPoints, 10,
         SpellResult::Done, 10 + 20 + kFirstRoll % 40, kSpent, 0},
        {"Cure Poison without a caster takes 10", Cast<CurePoison>, false, &Player::m_iPoison, 25,
         SpellResult::Done, 15, kSpent, 0},
        {"Cure Poison never leaves poison below 0", Cast<CurePoison>, false, &Player::m_iPoison, 4,
         SpellResult::Done, 0, kSpent, 0},
        {"Cure Poison from a caster of Earth skill 0 takes nothing", Cast<CurePoison>, true,
         &Player::m_iPoison, 25, SpellResult::Done, 25, kSpent, 0},
        {"Cure Poison: skill 0.7 counts as 0", Cast<CurePoison>, true, &Player::m_iPoison, 25,
         SpellResult::Done, 25, kSpent, 0, Skill0_7},
        {"Cure Poison: skill 1, roll % 1 is 0", Cast<CurePoison>, true, &Player::m_iPoison, 25,
         SpellResult::Done, 25, kSpent, 0, Skill1},
        {"Cure Poison: skill 30, roll % 30", Cast<CurePoison>, true, &Player::m_iPoison, 25,
         SpellResult::Done, 25 - kFirstRoll % 30, kSpent, 0, Skill30},
        {"Toughskin: armour +1 for 20000", Cast<Toughskin>, false, &Player::m_iArmourBonus, 0,
         SpellResult::Stays, 1, 20001, 0},
        {"Toughskin on the dead gives and takes back nothing", Cast<Toughskin>, false,
         &Player::m_iArmourBonus, 3, SpellResult::Stays, 3, 20001, 3, Dead},
        {"Haste: speed +1 for 20000", Cast<Haste>, true, &Player::m_iSpeedState, 0,
         SpellResult::Stays, 1, 20001, 0},
        {"Slow: speed -1 for 20000", Cast<Slow>, true, &Player::m_iSpeedState, 0,
         SpellResult::Stays, -1, 20001, 0},
        {"Weaken on strength 5 takes 4", Cast<Weaken>, true, &Player::m_iCurStr, 5,
         SpellResult::Stays, 1, kCancelled, 5},
        {"Weaken without a caster lasts 20000", Cast<Weaken>, false, &Player::m_iCurStr, 50,
         SpellResult::Stays, 40, 20001, 50},
        {"Strength on 95 adds 5", Cast<Strength>, true, &Player::m_iCurStr, 95, SpellResult::Stays,
         100, kCancelled, 95},
        {"Strength on 100 adds nothing", Cast<Strength>, true, &Player::m_iCurStr, 100,
         SpellResult::Stays, 100, kCancelled, 100},
        {"Strength marks the bonus", Cast<Strength>, true, &Player::m_iStrengthBonus, 0,
         SpellResult::Stays, 1, kCancelled, 0},
        {"Weaken marks the bonus", Cast<Weaken>, true, &Player::m_iStrengthBonus, 0,
         SpellResult::Stays, -1, kCancelled, 0},
        {"Grounding lasts until cancelled", Cast<Grounding>, true, &Player::m_bGrounded, 0,
         SpellResult::Stays, 1, kCancelled, 0},
        {"Grounding of no caster never ends by time either", Cast<Grounding>, false,
         &Player::m_bGrounded, 0, SpellResult::Stays, 1, kNever, 1},
    };
    RunTable(rows, std::size(rows));
}

TEST(SpellEffects, Air) {
    const Row rows[] = {
        {"Shock lasts until cancelled", Cast<Shock>, true, &Player::m_bShockStrike, 0,
         SpellResult::Stays, 1, kCancelled, 0},
        {"Shock of no caster never ends by time", Cast<Shock>, false, &Player::m_bShockStrike, 0,
         SpellResult::Stays, 1, kNever, 1},
        {"Levitate lasts until cancelled", Cast<Levitate>, true, &Player::m_bLevitating, 0,
         SpellResult::Stays, 1, kCancelled, 0},
        {"Invisibility from a caster lasts until cancelled", Cast<Invisibility>, true,
         &Player::m_bInvisible, 0, SpellResult::Stays, 1, kCancelled, 0},
        {"Invisibility from a scroll lasts 20000", Cast<Invisibility>, false, &Player::m_bInvisible,
         0, SpellResult::Stays, 1, 20001, 0},
        {"a base-only spell changes nothing", Cast<Teleport>, true, &Player::m_iHitPoints, 10,
         SpellResult::Stays, 10, kSpent, 10},
        {"Lightning Bolt at a creature", Cast<LightningBolt>, true, &Player::m_iHitPoints, 10,
         SpellResult::Nothing, 10, kSpent, 10},
    };
    RunTable(rows, std::size(rows));
}

void GiveHand(Player&, Player& target) {
    target.m_BodySlotList.emplace_back(1);
}

TEST(SpellEffects, Fire) {
    const Row rows[] = {
        {"Protect from Fire lasts until cancelled", Cast<ProtectFromFire>, true,
         &Player::m_bFireProtection, 0, SpellResult::Stays, 1, kCancelled, 0},
        {"Light lights a creature with a hand until cancelled", Cast<Light>, true,
         &Player::m_iLight, 0, SpellResult::Stays, 1, kCancelled, 0, GiveHand},
        {"Light on a creature without a hand stays on, lighting nothing", Cast<Light>, true,
         &Player::m_iLight, 0, SpellResult::Stays, 0, kCancelled, 0},
        {"Sunlight with no undead about changes nothing", Cast<Sunlight>, true,
         &Player::m_iHitPoints, 10, SpellResult::Stays, 10, kSpent, 10},
        {"a base-only spell changes nothing", Cast<Dazzle>, true, &Player::m_iHitPoints, 10,
         SpellResult::Stays, 10, kSpent, 10},
    };
    RunTable(rows, std::size(rows));
}

TEST(SpellEffects, ALightTiresItsCasterOnceEvery5000) {
    // The game time; the caster's alertness then.
    const std::pair<int32_t, int> rows[] = {{5000, 1000}, {5001, 999}, {10000, 999}, {10001, 998}};
    for (const auto& [now, alertness] : rows) {
        SCOPED_TRACE(now);
        SpellWorld w;
        Player& caster = w.Creature(1, 100);
        caster.m_iPartySlot = 1;
        Player& target = w.Creature(2);
        GiveHand(caster, target);
        w.Apply<Light>(&caster, &target);
        w.Tick(now);
        EXPECT_EQ(caster.m_iAlertness, alertness);
    }
}

TEST(SpellEffects, Water) {
    const Row rows[] = {
        {"Hesitation lasts until cancelled", Cast<Hesitation>, true, &Player::m_bHesitation, 0,
         SpellResult::Stays, -1, kCancelled, 0},
        {"Mind Sense lasts 20000 and marks nothing on the creature", Cast<MindSense>, true,
         &Player::m_bMindSense, 0, SpellResult::Stays, 0, 20001, 0},
        {"a base-only spell changes nothing", Cast<Confusion>, true, &Player::m_iHitPoints, 10,
         SpellResult::Stays, 10, kSpent, 10},
    };
    RunTable(rows, std::size(rows));
}

TEST(SpellEffects, AToughskinEndsWithoutTakingAnArmourBonusASavedGameLost) {
    struct Row {
        const char* rule;
        int32_t bonusAfterReading;  // what the creature has when its record is read back
        int32_t ended;
    };
    const Row rows[] = {
        {"the bonus was lost: nothing is taken", 0, 0},
        {"a bonus of 1 left: 1 is taken", 1, 0},
        {"a bonus of 2 left: 1 is taken", 2, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        SpellWorld w;
        Player& target = w.Creature(2);
        w.Apply<Toughskin>(nullptr, &target);
        target.m_iArmourBonus = r.bonusAfterReading;
        w.Tick(20001);
        EXPECT_EQ(target.m_iArmourBonus, r.ended);
    }
}

TEST(SpellEffects, SpellsCastOneAfterAnother) {
    // Each cast 5000 after the one before, from time 0; then the time moves
    // to `later`. Without a caster a spell lasts 20000.
    using CastFn = int (*)(SpellWorld&, Player*, Player&);
    struct Row {
        const char* rule;
        CastFn first, second;
        bool withCaster;
        int32_t Player::*figure;
        int32_t before, after;
        size_t inEffect;
        int32_t later = 0, afterThat = 0;  // later 0: not moved on
        CastFn third = nullptr;
    };
    const Row rows[] = {
        {"Toughskins add up and end one by one", Cast<Toughskin>, Cast<Toughskin>, false,
         &Player::m_iArmourBonus, 0, 2, 2, 20001, 1},
        {"the second Toughskin ends 20000 after its cast", Cast<Toughskin>, Cast<Toughskin>, false,
         &Player::m_iArmourBonus, 0, 2, 2, 25001, 0},
        {"a second Weaken replaces the first", Cast<Weaken>, Cast<Weaken>, true, &Player::m_iCurStr,
         50, 40, 1},
        {"a Weaken on a strengthened creature only lifts the Strength", Cast<Strength>,
         Cast<Weaken>, true, &Player::m_iCurStr, 50, 50, 0},
        {"and the strength bonus is taken back", Cast<Strength>, Cast<Weaken>, true,
         &Player::m_iStrengthBonus, 0, 0, 0},
        {"and any spell of the shared kind goes with it", Cast<Strength>, Cast<Invisibility>, true,
         &Player::m_bInvisible, 0, 0, 0, 0, 0, Cast<Weaken>},
        {"a Shock ends a Levitate", Cast<Levitate>, Cast<Shock>, true, &Player::m_bLevitating, 0, 0,
         1},
        {"a second Shock replaces the first", Cast<Shock>, Cast<Shock>, true,
         &Player::m_bShockStrike, 0, 1, 1},
        {"a Levitate ends a Shock", Cast<Shock>, Cast<Levitate>, true, &Player::m_bShockStrike, 0,
         0, 1},
        {"a second Invisibility is a spell of its own; the first to end takes the flag",
         Cast<Invisibility>, Cast<Invisibility>, false, &Player::m_bInvisible, 0, 1, 2, 20001, 0},
        {"a second Protect from Fire replaces the first", Cast<ProtectFromFire>,
         Cast<ProtectFromFire>, true, &Player::m_bFireProtection, 0, 1, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        SpellWorld w;
        Player& caster = w.Creature(1, 100);
        Player& target = w.Creature(2);
        target.*r.figure = r.before;
        int32_t now = 0;
        for (CastFn cast : {r.first, r.second, r.third}) {
            if (!cast) continue;
            w.Tick(now);
            cast(w, r.withCaster ? &caster : nullptr, target);
            now += 5000;
        }
        EXPECT_EQ(target.*r.figure, r.after);
        EXPECT_EQ(w.spells.Count(), r.inEffect);
        if (r.later == 0) continue;
        w.Tick(r.later);
        EXPECT_EQ(target.*r.figure, r.afterThat);
    }
}

TEST(SpellEffects, Rewards) {
    // Experience goes to the magic pool: caster +10 and target +1 for a
    // spell that reaches its target; shares of the other's experience for
    // one that troubles it.
    struct Row {
        const char* rule;
        int (*cast)(SpellWorld&, Player*, Player&);
        double caster, target;
    };
    const Row rows[] = {
        {"Toughskin: +10, +1", Cast<Toughskin>, 10.0, 1.0},
        {"Slow: 0.01 of 300, and 0.001 of the caster's new total", Cast<Slow>, 3.0,
         0.001 * (300 + 3.0)},
        {"Hesitation: 0.1 and 0.01", Cast<Hesitation>, 30.0, 0.01 * (300 + 30.0)},
        {"Grounding on an ungrounded creature: nothing", Cast<Grounding>, 0.0, 0.0},
        {"Mind Sense on a creature that senses nothing: nothing", Cast<MindSense>, 0.0, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        SpellWorld w;
        Player& caster = w.Creature(1, 100);
        Player& target = w.Creature(2);
        caster.m_dExperience = {100.0, 100.0, 100.0};
        target.m_dExperience = {100.0, 100.0, 100.0};
        r.cast(w, &caster, target);
        EXPECT_NEAR(caster.m_dExperience[2] - 100.0, r.caster, 1e-9);
        EXPECT_NEAR(target.m_dExperience[2] - 100.0, r.target, 1e-9);
    }
}

TEST(SpellEffects, MissileSpellsAtUnfitTargetsCostNothing) {
    SpellWorld w;
    Player& caster = w.Creature(1, 100);
    Object wall;
    EXPECT_EQ(w.Apply<LightningBolt>(&caster, nullptr), SpellResult::Nothing);
    EXPECT_EQ(w.Apply<LightningBolt>(&caster, &wall), SpellResult::Nothing);
    EXPECT_EQ(w.Apply<ColdRay>(&caster, &wall), SpellResult::Nothing);
    EXPECT_EQ(w.Apply<FlameDart>(&caster, &wall), SpellResult::Nothing);
    // A fireball wants something on the map.
    EXPECT_EQ(w.Apply<Fireball>(&caster, &wall), SpellResult::Nothing);
    // Light on a thing is spent and does nothing.
    EXPECT_EQ(w.Apply<Light>(&caster, &wall), SpellResult::Done);
}

}  // namespace
