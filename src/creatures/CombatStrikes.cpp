// The strikes of a fight: walking up to the target, starting a strike or a
// shot, the strike landing or missing, and the load that slows the fighters.

#include <algorithm>
#include <cstdlib>

#include "creatures/Combat.h"
#include "creatures/Player.h"
#include "creatures/PlayerImages.h"
#include "items/Bag.h"
#include "media/DDObjects.h"
#include "media/DDWnd.h"
#include "media/DSound.h"
#include "platform/Format.h"
#include "platform/GameTime.h"
#include "platform/Rand.h"
#include "platform/Saturate.h"
#include "world/Global.h"
#include "world/Map.h"
#include "world/Random.h"
#include "world/World.h"

namespace {

// The species number of humans, whose shot shows a pose of its own.
constexpr int32_t kHumanSpecies = 10;

// A party member that holds its ground does not walk up to its target.
bool HoldsGround(const Player& creature) {
    const World* world = GetWorld();
    return world && world->m_bHoldGround && world->FindPartySlot(&creature) != -1;
}

// Walks up to the target unless the creature holds its ground.
void WalkUpTo(Player& creature, Player& target, MapMaster* map, int32_t now) {
    if (HoldsGround(creature)) return;
    int32_t hurry = 1;
    creature.MoveToward(target.m_Position.x, target.m_Position.y, map, now, &hurry, 1, 0);
}

int64_t PlainDistanceSq(MapMaster* map, const Position& a, const Position& b) {
    const CellPoint d = map ? map->PixelDeltaOf(a, b) : CellPoint{b.x - a.x, b.y - a.y};
    return int64_t{d.x} * d.x + int64_t{d.y} * d.y;
}

// The weight of everything in a bag and in the bags inside it.
int64_t BagLoad(const CBag& bag, int depth = 0) {
    int64_t load = 0;
    for (const auto& item : bag.Items()) {
        if (!item) continue;
        load += item->GetWeight();
        // Bags nest only so deep; a deeper one counts as its own weight.
        if (auto* inner = qv::DynamicCast<CBag>(item.get()); inner && depth < 16)
            load += BagLoad(*inner, depth + 1);
    }
    return load;
}

}  // namespace

CombatWeapon* CombatWeapon::Of(Object* object) {
    return dynamic_cast<CombatWeapon*>(object);
}

CombatArmour* CombatArmour::Of(Object* object) {
    return dynamic_cast<CombatArmour*>(object);
}

Object* Player::StrikeWeaponOf(StrikeWeapon which) const {
    return which == StrikeWeapon::Ranged ? m_pRangedWeapon.Get() : m_pMeleeWeapon.Get();
}

void Player::SetPose(int32_t pose) {
    if (CDDObject* image = GetImage()) image->m_iPose = pose;
}

void Player::PlayCombatSound(const int* number) {
    if (!number || !m_pHolder) return;
    World* world = GetWorld();
    if (world && world->m_PlaySound)
        world->m_PlaySound(*number, {m_pHolder->pos.x, m_pHolder->pos.y});
}

int Player::MeleeAttack(int32_t now, MapMaster* context) {
    Player* target = m_pTarget.Get();
    if (!target) return 0;
    MapMaster* map = context ? context : GetMapMaster();
    const int64_t d = PlainDistanceSq(map, m_Position, target->m_Position);
    if (CombatRules::WithinReach(d, m_iRadius, target->m_iRadius) &&
        IsLineOfAttackClear(target, map)) {
        m_pEvents->Post(ObjectEventType::ATTACK, now, target,
                        static_cast<int32_t>(StrikeWeapon::Melee));
        return 1;
    }
    WalkUpTo(*this, *target, map, now);
    return 1;
}

int Player::RangedAttack(int32_t now, MapMaster* context) {
    Player* target = m_pTarget.Get();
    if (!target) return 0;
    MapMaster* map = context ? context : GetMapMaster();
    if (IsLineOfAttackClear(target, map)) {
        m_pEvents->Post(ObjectEventType::ATTACK, now, target,
                        static_cast<int32_t>(StrikeWeapon::Ranged));
        return 1;
    }
    WalkUpTo(*this, *target, map, now);
    return 1;
}

int Player::StartAttack(int32_t now, Object* targetObject, StrikeWeapon which) {
    // The strike is at the creature the event names, whatever the creature
    // targets now; without it, or without a weapon, nothing starts.
    auto* target = qv::DynamicCast<Player>(targetObject);
    if (!target || target == this || m_bSubdued || target->m_bSubdued || target->m_iHitPoints < 1)
        return 0;
    Object* weaponObject = StrikeWeaponOf(which);
    CombatWeapon* weapon = CombatWeapon::Of(weaponObject);
    if (!weapon) return 0;
    MapMaster* map = GetMapMaster();
    CreatureImageSet* set = GetClassImages();
    int32_t action = ImageAction::ATTACK1;

    if (weapon->IsRanged() == 1) {
        if (!IsLineOfAttackClear(target, map)) return 0;
        if (!weapon->Launch(this, target, now)) return 0;
        if (GetPlayerType() == kHumanSpecies && m_bPoseSheet) SetPose(CombatPose::HumanShot);
        if (CDSound* shot = SharedSound()) shot->PlayAt(m_Position.x, m_Position.y, 0);
        if (set && set->FrameCount(ImageAction::ATTACK2) > 0) action = ImageAction::ATTACK2;
    } else {
        const int64_t d = map ? map->PixelDistanceSq(m_Position, target->m_Position)
                              : PlainDistanceSq(nullptr, m_Position, target->m_Position);
        if (!CombatRules::WithinReach(d, m_iRadius, target->m_iRadius)) return 0;
        if (target->Type() != PLAYER) return 0;
        if (target->IsAlive() &&
            !m_pEvents->Post(ObjectEventType::HIT, qv::TimeAdd(now, m_iAttackTime), target,
                             static_cast<int32_t>(which)))
            ShowGameMessage(qv::Format("%s (%d) attacking %s (%d)", GetDisplayName().c_str(),
                                       m_iHitPoints, target->GetDisplayName().c_str(),
                                       target->m_iHitPoints));
        SetPose(m_bPoseSheet ? CombatPose::SheetStrike : CombatPose::Strike);
        const int sound = PlaySound();
        PlayCombatSound(&sound);
    }

    const int16_t facing = static_cast<int16_t>(FacingFromDelta(m_Position, target->m_Position));
    SetFacing(&facing);
    if (set) {
        const int32_t length = m_iAttackTime;
        CreatureImageSet::StartAction(set, this, action, &now, &length);
    } else {
        m_pEvents->Post(ObjectEventType::THINK, qv::TimeAdd(now, m_iAttackTime));
    }
    ReduceAlertness(1);
    return 1;
}

int Player::ResolveHit(Object* target, StrikeWeapon which) {
    return ResolveHitWith(qv::DynamicCast<Player>(target), StrikeWeaponOf(which));
}

int Player::ResolveHitWith(Player* target, Object* weaponObject) {
    ReduceAlertness(1);
    CombatWeapon* weapon = CombatWeapon::Of(weaponObject);
    // No weapon, no target, or a creature striking itself: nothing happens.
    if (!weapon || !target || target == this) return 0;
    const bool debug = IsDebugView() != 0;

    auto stun = [&] {
        target->Events().ShiftTimes(CombatRules::StunDelay(weapon->GetStun(), target->m_iStepTime));
    };
    auto experience = [&](int32_t damage, int32_t pool) {
        const double gain =
            CombatRules::HitExperience(damage, target->m_iMaxHitPoints, target->m_dExperience);
        if (gain != 0.0) AddExperience(pool, gain);
    };

    if (weapon->GetWeaponKind() == CombatWeapon::kMissileKind) {
        const int chance = weapon->GetHitChance(this, target, debug) + CombatRules::kChanceBonus;
        if (!CombatRules::Hits(qv::Rand() % 100, chance)) return 0;
        stun();
        const int damage = weapon->GetDamage(this, target, 0);
        experience(damage, CombatRules::kLongRangePool);
        target->TakeDamage(damage, weapon->GetDamageKind());
        return 1;
    }

    if (m_sLifeState < 1) return 0;
    MapMaster* map = GetMapMaster();
    if (!IsLineOfAttackClear(target, map)) {
        if (m_bPoseSheet) SetPose(CombatPose::SheetFollowThrough);
        return 0;
    }
    const int chance = m_iAttackMode == 0
                           ? weapon->GetHitChance(this, target, debug) + CombatRules::kChanceBonus
                           : CombatRules::kSubduingChance;
    if (!CombatRules::Hits(qv::Rand() % 100, chance)) return 0;
    if (m_iAttackMode == 0) stun();
    const int damage = weapon->GetDamage(this, target, 0);
    experience(damage, CombatRules::kShortRangePool);
    if (m_bPoseSheet) SetPose(CombatPose::SheetFollowThrough);
    // The target may die of the blow; the shock that follows finds it so.
    qv::Handle<Player> struck(target);
    target->TakeDamage(damage, weapon->GetDamageKind());
    if (m_bShockStrike && struck)
        struck->TakeDamage(CombatRules::kShockBase + qv::Rand() % CombatRules::kShockRange,
                           DamageKind::Shock);
    return 1;
}

void Player::ComputeLoadSpeed() {
    int64_t load = 0;
    for (const auto& item : m_InUseList)
        if (item) load += item->GetWeight();
    if (m_pBag) load += BagLoad(*m_pBag);
    m_iLoad = qv::ClampToInt32(load);
    const CombatRules::Load klass = CombatRules::LoadClassOf(m_iLoad, m_iCurStr);
    m_iLoadClass = klass.loadClass;
    m_iLoadedSpeed = CombatRules::LoadedSpeed(m_iSpeed, klass.percent, 0);
}

int Player::RecomputeLoad() {
    ComputeLoadSpeed();
    const CombatRules::Load klass = CombatRules::LoadClassOf(m_iLoad, m_iCurStr);
    m_iLoadedSpeed = CombatRules::LoadedSpeed(m_iSpeed, klass.percent, m_iSpeedState);
    m_iStepTime = CombatRules::kStepTimeBase / m_iLoadedSpeed;
    m_iAttackTime = CombatRules::kAttackTimeBase / m_iLoadedSpeed;
    int64_t penalty = 0, armour = 0;
    for (const auto& item : m_InUseList) {
        if (CombatWeapon* w = CombatWeapon::Of(item.get())) {
            penalty += (100 - int64_t{w->GetSpeedFactor()}) / 2;
        } else if (CombatArmour* a = CombatArmour::Of(item.get())) {
            penalty += (100 - int64_t{a->GetArmourSpeedFactor()}) / 2;
            armour += a->GetAbsorption();
        }
    }
    double factor = static_cast<double>(armour) * 0.01;
    if (m_iArmourBonus != 0) factor += m_iArmourBonus * static_cast<double>(0.1f);
    m_dArmourFactor = static_cast<float>(factor);
    if (m_dArmourFactor > 1.0f) m_dArmourFactor = 1.0f;
    m_iCombatDexterity = qv::ClampToInt32(m_iDexterity - penalty);
    return 1;
}
