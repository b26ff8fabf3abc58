#include "items/SpellsWater.h"

#include "creatures/Player.h"
#include "platform/Archive.h"
#include "world/Global.h"

namespace {

using TK = SpellTargetKind;
using EK = SpellEffectKind;

// name, mana, level, duration, flags, target kind, effect kind, missile value, picture
constexpr SpellKind kAlertness{"Alertness", 5, 0, 0, 5, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kDispelThirst{"Dispel Thirst", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kWaterWalk{"Water Walk", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kHesitation{"Hesitation",        15,        15, 1,   1,
                                TK::HostileOutsider, EK::Sight, 0,  1008};
constexpr SpellKind kTranslation{"Translation", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kMindSense{"MindSense", 20, 20, 20000, 1, TK::PartyMember, EK::Sight, 0, 1008};
constexpr SpellKind kMindShield{"MindShield", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kColdRay{"ColdRay", 5, 10, 0, 1, TK::HostileOutsider, EK::None, 8, 907};
constexpr SpellKind kFreezeMonster{"FreezeMonster", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kWaterBreathing{"WaterBreathing", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kQuenchFire{"QuenchFire", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kConfusion{"Confusion", 5, 0, 0, 2, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kCharmMonster{"CharmMonster", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kMajorFreeze{"MajorFreeze", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};
constexpr SpellKind kMindshatter{"Mindshatter", 5, 0, 0, 1, TK::AnyLiving, EK::None, 0, 0};

// What a troubling spell teaches: shares of the other's total experience.
constexpr double kTroubleCasterShare = 0.1;
constexpr double kTroubleTargetShare = 0.01;
// What a caster gains for sensing a creature that senses minds itself.
constexpr double kSenseReward = 10.0;
constexpr int32_t kMagicPool = 4;

}  // namespace

QV_IMPLEMENT_SERIAL(Hesitation, WaterSpell, 1, false)
QV_IMPLEMENT_SERIAL(MindSense, WaterSpell, 1, false)
QV_IMPLEMENT_SERIAL(ColdRay, WaterSpell, 1, false)
QV_SERIALIZE_BASE_ONLY(Hesitation, WaterSpell)
QV_SERIALIZE_BASE_ONLY(MindSense, WaterSpell)
QV_SERIALIZE_BASE_ONLY(ColdRay, WaterSpell)

QV_IMPLEMENT_SPELL_KIND(Alertness, WaterSpell, kAlertness)
QV_IMPLEMENT_SPELL_KIND(DispelThirst, WaterSpell, kDispelThirst)
QV_IMPLEMENT_SPELL_KIND(WaterWalk, WaterSpell, kWaterWalk)
QV_IMPLEMENT_SPELL_KIND(Translation, WaterSpell, kTranslation)
QV_IMPLEMENT_SPELL_KIND(MindShield, WaterSpell, kMindShield)
QV_IMPLEMENT_SPELL_KIND(FreezeMonster, WaterSpell, kFreezeMonster)
QV_IMPLEMENT_SPELL_KIND(WaterBreathing, WaterSpell, kWaterBreathing)
QV_IMPLEMENT_SPELL_KIND(QuenchFire, WaterSpell, kQuenchFire)
QV_IMPLEMENT_SPELL_KIND(Confusion, WaterSpell, kConfusion)
QV_IMPLEMENT_SPELL_KIND(CharmMonster, WaterSpell, kCharmMonster)
QV_IMPLEMENT_SPELL_KIND(MajorFreeze, WaterSpell, kMajorFreeze)
QV_IMPLEMENT_SPELL_KIND(Mindshatter, WaterSpell, kMindshatter)

// ---- Hesitation

Hesitation::Hesitation() : FlagSpell(kHesitation, &Player::m_bHesitation, kHesitating) {}

void Hesitation::Reward(Player* caster, Player* target) {
    RewardByExperience(caster, target, kTroubleCasterShare, kTroubleTargetShare);
}

// ---- Mind Sense

MindSense::MindSense() : WaterSpell(kMindSense) {}

MindSense::~MindSense() {
    EndEffect();
}

int MindSense::ApplyEffect(Player* caster, Object* target) {
    if (Player* p = AsCreature(target)) {
        if (p->m_bMindSense && caster) caster->AddExperience(kMagicPool, kSenseReward);
        SetDebugView(1);
    }
    return ApplyBaseEffect(caster, target, target);
}

int MindSense::CheckExpired(int32_t now) {
    return m_iDuration > 0 ? Spell::CheckExpired(now) : 1;
}

void MindSense::UndoEffect() {
    SetDebugView(0);
}

// ---- Cold Ray

ColdRay::ColdRay() : MissileSpell(kColdRay, missile_rules::kColdRay) {}
