#include "items/SpellSchools.h"

#include <algorithm>
#include <cmath>

#include "media/DDWnd.h"
#include "platform/Archive.h"
#include "platform/Format.h"
#include "world/Global.h"

// ---- The rules

namespace spell_rules {

int WholeSkill(float skill) {
    // Far beyond any skill a game can reach; keeps the truncation defined.
    constexpr float kLimit = 1.0e9f;
    if (std::isnan(skill)) return 0;
    return static_cast<int>(std::clamp(skill, -kLimit, kLimit));
}

int SuccessChance(int skill, int level, int resist) {
    const int64_t chance = kChancePerSkillPoint * (int64_t{skill} - level - resist) + kBaseChance;
    return static_cast<int>(std::clamp<int64_t>(chance, 0, 100));
}

float SkillGain(int chance) {
    const float gain = static_cast<float>((100 - int64_t{chance}) * 0.1);
    return std::clamp(gain, 0.0f, kMaxSkillGain);
}

int64_t ChoiceTotal(bool weaponOpen, const std::vector<int>& spellWeights) {
    int64_t total = weaponOpen ? kWeaponAttackWeight : 0;
    for (int w : spellWeights) total += w;
    return total;
}

int ChooseAction(bool weaponOpen, const std::vector<int>& spellWeights, int64_t roll) {
    if (ChoiceTotal(weaponOpen, spellWeights) <= 0) return kChooseNothing;
    int64_t sum = 0;
    if (weaponOpen) {
        if (roll < kWeaponAttackWeight) return kChooseWeapon;
        sum = kWeaponAttackWeight;
    }
    for (size_t i = 0; i < spellWeights.size(); ++i) {
        sum += spellWeights[i];
        if (sum > roll) return static_cast<int>(i);
    }
    return kChooseNothing;
}

}  // namespace spell_rules

const std::vector<const char*>& SpellKindNames() {
    static const std::vector<const char*> names = {
        // Fire
        "Light", "Dazzle", "FlameDart", "FlameWeapon", "ProtectFromFire", "Sunlight", "Aurasight",
        "Incinerate", "FireAura", "Fireball", "MajorDazzle", "Immolation", "InvokeDaemon",
        // Water
        "Alertness", "DispelThirst", "WaterWalk", "Hesitation", "Translation", "MindSense",
        "MindShield", "ColdRay", "FreezeMonster", "WaterBreathing", "QuenchFire", "Confusion",
        "CharmMonster", "MajorFreeze", "Mindshatter",
        // Air
        "Shock", "WindChange", "Telekinesis", "Shelter", "Dispel", "Blink", "SummonAnimals",
        "LightningBolt", "Invisibility", "Levitate", "ForceBarrier", "WeatherChange", "Teleport",
        "ForceBlast",
        // Earth
        "Heal", "Weaken", "Materialize", "Toughskin", "CurePoison", "Haste", "Grounding", "Slow",
        "Strength", "Stoneskin", "Etherealize", "MajorHeal", "Revive", "Depetrification",
        "Petrification", "Earthquake"};
    return names;
}

void ShowManaShortage(uint32_t shortfall) {
    ShowGameMessage(qv::Format("You need %d more mana.", static_cast<int>(shortfall)));
}

// ---- The schools

namespace {
// A bare school spell, as the archive makes one by its class name.
constexpr SpellKind kFireSpell{"Fire Spell", 0, 0, 0, 1, 0, 0, 0, 0};
constexpr SpellKind kEarthSpell{"Earth Spell", 0, 0, 0, 1, 0, 0, 0, 0};
constexpr SpellKind kAirSpell{"Air Spell", 0, 0, 0, 1, 0, 0, 0, 0};
constexpr SpellKind kWaterSpell{"Water Spell", 0, 0, 0, 1, 0, 0, 0, 0};
}  // namespace

QV_IMPLEMENT_SERIAL(FireSpell, Spell, 1, false)
QV_IMPLEMENT_SERIAL(EarthSpell, Spell, 1, false)
QV_IMPLEMENT_SERIAL(AirSpell, Spell, 1, false)
QV_IMPLEMENT_SERIAL(WaterSpell, Spell, 1, false)

FireSpell::FireSpell() : Spell(kFireSpell) {}
EarthSpell::EarthSpell() : Spell(kEarthSpell) {}
AirSpell::AirSpell() : Spell(kAirSpell) {}
WaterSpell::WaterSpell() : Spell(kWaterSpell) {}

QV_SERIALIZE_BASE_ONLY(FireSpell, Spell)
QV_SERIALIZE_BASE_ONLY(EarthSpell, Spell)
QV_SERIALIZE_BASE_ONLY(AirSpell, Spell)
QV_SERIALIZE_BASE_ONLY(WaterSpell, Spell)

int FireSpell::GetSuccessChance(Player* caster, Object* target) {
    return SchoolSuccessChance(caster, target);
}

int EarthSpell::GetSuccessChance(Player* caster, Object* target) {
    // Earth spells are always aimed; without a target there is no resistance.
    QV_CHECK_TEXT(target != nullptr, "pObj != NULL");
    return SchoolSuccessChance(caster, target);
}

int AirSpell::GetSuccessChance(Player* caster, Object* target) {
    return SchoolSuccessChance(caster, target);
}

int WaterSpell::GetSuccessChance(Player* caster, Object* target) {
    return SchoolSuccessChance(caster, target);
}
