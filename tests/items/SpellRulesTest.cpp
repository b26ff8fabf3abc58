#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "items/SpellSchools.h"

namespace {

using namespace spell_rules;

TEST(SpellRules, SuccessChance) {
    // 3 x (skill - level - resist) + 50, held to 0..100.
    struct Row {
        const char* rule;
        int skill, level, resist, want;
    };
    const Row rows[] = {
        {"skill 50, level 10: 170, held to 100", 50, 10, 0, 100},
        {"skill 0, level 20: -10, held to 0", 0, 20, 0, 0},
        {"a resisting target of the caster's skill lowers by 3 x its skill", 30, 10, 30, 20},
        {"skill equal to the level: the base", 10, 10, 0, 50},
        {"16 points above: 98", 26, 10, 0, 98},
        {"17 points above: 101, held to 100", 27, 10, 0, 100},
        {"16 points below: 2", 0, 16, 0, 2},
        {"17 points below: -1, held to 0", 0, 17, 0, 0},
        {"resistance counts as level", 20, 5, 10, 65},
        {"numbers from a file cannot overflow", std::numeric_limits<int>::max(),
         std::numeric_limits<int>::min(), 0, 100},
        {"nor underflow", std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
         std::numeric_limits<int>::max(), 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_EQ(SuccessChance(r.skill, r.level, r.resist), r.want);
    }
}

TEST(SpellRules, SkillGain) {
    // (100 - chance) x 0.1, held to 0..5.
    struct Row {
        const char* rule;
        int chance;
        float want;
    };
    const Row rows[] = {
        {"a sure cast teaches nothing", 100, 0.0f},
        {"chance 50 teaches 5", 50, 5.0f},
        {"chance 0 teaches 10, held to 5", 0, 5.0f},
        {"chance 51 teaches 4.9", 51, 4.9f},
        {"chance 49 teaches 5.1, held to 5", 49, 5.0f},
        {"chance 97 teaches 0.3", 97, 0.3f},
        {"chance 99 teaches 0.1", 99, 0.1f},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_FLOAT_EQ(SkillGain(r.chance), r.want);
    }
}

TEST(SpellRules, SkillsCountInWholePoints) {
    struct Row {
        const char* rule;
        float skill;
        int want;
    };
    const Row rows[] = {
        {"truncated", 12.9f, 12},
        {"below 1 is 0", 0.7f, 0},
        {"toward zero below 0", -0.5f, 0},
        {"toward zero below -1", -1.5f, -1},
        {"not a number counts as 0", std::nanf(""), 0},
        {"an absurd skill stays a number", 1.0e30f, 1000000000},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_EQ(WholeSkill(r.skill), r.want);
    }
}

TEST(SpellRules, AFightersChoice) {
    // The weapon weighs 100 when an attack is open; the spells follow in
    // their order, and the first at which the running sum passes the roll
    // is cast.
    const std::vector<int> three{10, 10, 10};
    struct Row {
        const char* rule;
        bool weapon;
        std::vector<int> weights;
        int64_t roll;
        int want;
    };
    const Row rows[] = {
        {"a roll below 100 keeps the weapon", true, three, 99, kChooseWeapon},
        {"100 is the first spell", true, three, 100, 0},
        {"109 is still the first", true, three, 109, 0},
        {"110 is the second", true, three, 110, 1},
        {"129 is the third", true, three, 129, 2},
        {"without a weapon, 0 is the first spell", false, three, 0, 0},
        {"without a weapon, 10 is the second", false, three, 10, 1},
        {"without a weapon, 29 is the third", false, three, 29, 2},
        {"a spell of weight 0 is never chosen", false, {0, 10}, 0, 1},
        {"no weapon and no spell: nothing", false, {}, 0, kChooseNothing},
        {"spells that weigh nothing: nothing", false, {0, 0}, 0, kChooseNothing},
        {"a weapon alone keeps the weapon", true, {}, 0, kChooseWeapon},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_EQ(ChooseAction(r.weapon, r.weights, r.roll), r.want);
    }
    EXPECT_EQ(ChoiceTotal(true, three), 130);
    EXPECT_EQ(ChoiceTotal(false, {}), 0);
}

}  // namespace
