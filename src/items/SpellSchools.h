#pragma once
// The four spell schools between Spell and the spell kinds, and the rules of
// casting: how likely a cast is to succeed, what it teaches the caster, and
// how a creature outside the party picks a spell in a fight.

#include <cstdint>
#include <vector>

#include "items/Spell.h"

namespace spell_rules {

// A caster without magic casts as if its skill were this.
inline constexpr int kSkillWithoutMagic = 50;
// Each point of skill above the level asked for (less the target's
// resistance) adds this much to the chance, from this base.
inline constexpr int kChancePerSkillPoint = 3;
inline constexpr int kBaseChance = 50;
// A cast teaches a tenth of the chance it lacked, at most this much.
inline constexpr float kMaxSkillGain = 5.0f;

// A school skill as the rules count it: truncated toward zero (a skill that
// is not a number counts as 0).
int WholeSkill(float skill);
// 3 x (skill - level - resist) + 50, held to 0..100.
int SuccessChance(int skill, int level, int resist);
// (100 - chance) x 0.1 as a 32-bit float, held to 0..5.
float SkillGain(int chance);

// A creature's choice of action in a fight: a weapon attack (weight 100)
// when one is open to it, and its known spells with their cast weights, in
// order. `roll` is rand() % the total weight.
inline constexpr int kWeaponAttackWeight = 100;
inline constexpr int kChooseWeapon = -1;
inline constexpr int kChooseNothing = -2;
// The total weight of the options (0: nothing to choose).
int64_t ChoiceTotal(bool weaponOpen, const std::vector<int>& spellWeights);
// The index of the spell the roll falls on, kChooseWeapon, or kChooseNothing.
int ChooseAction(bool weaponOpen, const std::vector<int>& spellWeights, int64_t roll);

}  // namespace spell_rules

// The class names of every spell kind, school by school (Fire, Water, Air,
// Earth), in the order the object catalogue lists them.
const std::vector<const char*>& SpellKindNames();

// Tells the player how much mana a cast lacks: "You need %d more mana.".
void ShowManaShortage(uint32_t shortfall);

// A school's success chance and skill gain are written once, in Spell; each
// school answers its number and records Spell as its base.
#define QV_SPELL_SCHOOL(Name, Number)                                                       \
    class Name : public Spell {                                                             \
        QV_DECLARE_CLASS(Name)                                                              \
    public:                                                                                 \
        Name();                                                                             \
        explicit Name(const SpellKind& kind) : Spell(kind) {}                               \
        void Serialize(qv::Archive& ar) override;                                           \
        int GetSchool() override { return Number; }                                         \
        int GetSuccessChance(Player* caster, Object* target) override;                      \
        void GainSkill(Magic* magic, float gain) override { GainSchoolSkill(magic, gain); } \
    };

QV_SPELL_SCHOOL(FireSpell, SpellSchool::Fire)
QV_SPELL_SCHOOL(EarthSpell, SpellSchool::Earth)
QV_SPELL_SCHOOL(AirSpell, SpellSchool::Air)
QV_SPELL_SCHOOL(WaterSpell, SpellSchool::Water)

// A spell kind whose behaviour is its school's: a class the archive can name,
// built from its row of the school's table.
#define QV_SPELL_KIND(Name, School)               \
    class Name : public School {                  \
        QV_DECLARE_CLASS(Name)                    \
    public:                                       \
        Name();                                   \
        void Serialize(qv::Archive& ar) override; \
    };

// In the kind's source file: its class record and constructor. Schema 1,
// and a file must hold that schema.
#define QV_IMPLEMENT_SPELL_KIND(Name, School, Kind) \
    QV_IMPLEMENT_SERIAL(Name, School, 1, false)     \
    Name::Name() : School(Kind) {}                  \
    QV_SERIALIZE_BASE_ONLY(Name, School)
