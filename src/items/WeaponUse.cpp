// What a weapon does in a fight: the chance to hit, the damage, and the
// evaluation of an attack that feeds the attack training records.

#include <algorithm>
#include <cmath>

#include "creatures/LineRoute.h"
#include "creatures/Player.h"
#include "items/Weapon.h"
#include "platform/Rand.h"
#include "platform/Saturate.h"
#include "world/Global.h"
#include "world/Map.h"

namespace {

// A missing attacker's skill with a ranged weapon, and its rating.
constexpr double kNoAttackerSkill = 2.0;
constexpr double kNoAttackerRating = 50.0;
// Invisibility and the Hesitation spell move the chance by these.
constexpr int kInvisibleShift = 30;
constexpr int kHesitationShift = 20;
constexpr int32_t kHesitating = -1;
constexpr int kMaxChance = 95;
constexpr int kMinChance = 5;
// EvaluateUse walks the line only to candidates nearer than this.
constexpr int32_t kClearLineReach = 401;
// Start values of the choice by hit points and by distance.
constexpr int32_t kFewestStart = 100000;
constexpr int32_t kMostStart = 0;
constexpr int32_t kNearestStart = 1000000;
// A remembered target is measured again after 5 to 14 uses.
constexpr int kMemoryMinUses = 5;
constexpr int kMemoryUseSpread = 10;

// The attack method (the seventh combat setting), 0..2.
double Method(const Player* p) {
    return p->m_iCombatSettings[6];
}

// The percentage of a part of a whole; 0 when the whole is 0 or less.
int32_t Percent(double part, double whole) {
    if (whole <= 0.0) return 0;
    return qv::TruncateToInt32(part / whole * 100.0);
}

int32_t DistanceBetween(MapMaster* map, const Player* a, const Player* b) {
    if (!map) return 0;
    return qv::TruncateToInt32(
        std::sqrt(static_cast<double>(map->PixelDistanceSq(a->m_Position, b->m_Position))));
}

// Whether the line from the creature to the candidate meets no other holder.
bool LineIsClear(MapMaster* map, Player* creature, Player* candidate) {
    const qv::Point d = map->PixelDeltaOf(creature->m_Position, candidate->m_Position);
    const qv::Point from{creature->m_Position.x, creature->m_Position.y};
    const qv::Point to{from.x + d.x, from.y + d.y};
    BresenhamLine line;
    line.Start(&from, &to);
    const ObjectIgnoreList ignore{creature, candidate};
    while (!line.AtEnd()) {
        qv::Point p;
        line.Next(&p);
        if (map->CheckMove(nullptr, Position(p.x, p.y, 0), &ignore, 1, 0)) return false;
    }
    return true;
}

}  // namespace

int Weapon::GetHitChance(Player* attacker, Player* defender, int flag) {
    if (!defender) return kMinChance;
    const bool ranged = IsRanged() != 0;
    double attackerSkill = kNoAttackerSkill;
    if (attacker)
        attackerSkill = ranged ? attacker->m_iLevelLongRange : attacker->m_iLevelShortRange;
    const double defenderSkill =
        ranged ? defender->m_iLevelLongRange : defender->m_iLevelShortRange;
    const double attackerRating =
        attacker ? attacker->m_iCombatDexterity + (10.0 * Method(attacker) - 10.0)
                 : kNoAttackerRating;
    const double defenderRating = defender->m_iCombatDexterity - (10.0 * Method(defender) - 10.0);
    const double x = (attackerSkill - defenderSkill) + 0.05 * (attackerRating - defenderRating);
    int64_t chance = qv::TruncateToInt32(50.0 + 10.0 * x);
    if (flag == 0) {
        if (defender->m_bInvisible != 0) chance -= kInvisibleShift;
        if (attacker && attacker->m_bInvisible != 0) chance += kInvisibleShift;
    }
    if (defender->m_bHesitation == kHesitating) chance += kHesitationShift;
    if (attacker && attacker->m_bHesitation == kHesitating) chance -= kHesitationShift;
    if (chance > kMaxChance) chance = kMaxChance;
    if (chance < kMinChance) chance = kMinChance;
    return static_cast<int>(chance);
}

int Weapon::GetDamage(Player* attacker, Player* defender, int average) {
    double d = m_iDamageBase;
    if (!IsRanged() && defender) d += 0.05 * (defender->m_iCurStr - 50);
    if (attacker) d = d * (Method(attacker) + 1) * 0.5;
    if (defender) d = d * (Method(defender) + 1) * 0.5;
    if (average)
        d += m_iDamageRange * 0.5;
    else if (m_iDamageRange != 0)
        d += qv::Rand() % m_iDamageRange;
    if (defender) d *= 1.0 - static_cast<double>(defender->m_dArmourFactor);
    // A weak defender can bring the sum below nothing: a hit never heals.
    return std::max(0, qv::TruncateToInt32(d));
}

Player* Weapon::EvaluateUse(Player* creature, int filter, Weapon*, int* clearLine) {
    if (!creature) return nullptr;
    const int32_t rule = creature->m_iCombatSettings[1];
    if (rule == 4) return nullptr;
    if (rule < 0 || rule > 2) {
        AssertFailed(__LINE__, "WeaponUse", "FALSE");
        return nullptr;
    }
    int64_t best = rule == 0 ? kFewestStart : rule == 1 ? kMostStart : kNearestStart;
    Player* chosen = nullptr;
    MapMaster* map = GetMapMaster();
    for (const auto& h : creature->m_Opponents) {
        Player* candidate = h.Get();
        if (!candidate || candidate->Type() != PLAYER || candidate->m_sLifeState < 1) continue;
        if (filter != 2 && candidate->m_iCombatSettings[0] != filter) continue;
        // The mark tells of the candidate looked at last.
        const int32_t distance = DistanceBetween(map, creature, candidate);
        const bool clear =
            distance < kClearLineReach && (!map || LineIsClear(map, creature, candidate));
        if (clearLine) *clearLine = clear ? 1 : 0;
        const int64_t measure = rule == 2 ? distance : candidate->m_iHitPoints;
        const bool better = rule == 1 ? measure > best : measure < best;
        if (better) {
            best = measure;
            chosen = candidate;
        }
    }
    return chosen;
}

int Weapon::IsUsableBy(Player* creature) {
    if (!creature) return 1;
    const int32_t hand = creature->m_iCombatSettings[0];
    if ((hand == 0 && !IsRanged()) || (hand == 1 && IsRanged())) return 1;

    int clearLine = 1;
    const int32_t filter = creature->m_iCombatSettings[5];
    Player* target = EvaluateUse(creature, filter, this, &clearLine);
    if (!target && filter < 2) target = EvaluateUse(creature, 1 - filter, this, &clearLine);
    if (!target) {
        for (auto it = creature->m_Opponents.rbegin(); it != creature->m_Opponents.rend(); ++it) {
            Player* p = it->Get();
            if (p && p->Type() == PLAYER && p->m_sLifeState >= 1) {
                target = p;
                break;
            }
        }
    }
    if (!target) return 1;

    const int chance = GetHitChance(creature, target, 1);
    const int damage = GetDamage(creature, target, 1);

    // The distance and the clear line of a target weighed up lately are
    // used again until the record has served its turns.
    auto& memory = creature->m_TargetMemory;
    auto it = std::find_if(memory.begin(), memory.end(),
                           [target](const Player::TargetMemory& m) { return m.target == target; });
    int32_t distance = 0;
    int32_t value = 0;
    bool fresh = it == memory.end();
    if (!fresh) {
        if (++it->uses > it->limit) {
            memory.erase(it);
            fresh = true;
        } else {
            distance = it->distance;
            value = it->clearLine;
        }
    }
    if (fresh) {
        Player::TargetMemory m;
        m.target = target;
        m.distance = DistanceBetween(GetMapMaster(), creature, target);
        m.clearLine = clearLine;
        m.uses = 0;
        m.limit = kMemoryMinUses + qv::Rand() % kMemoryUseSpread;
        distance = m.distance;
        value = m.clearLine;
        memory.push_back(m);
    }

    AttackSituation s;
    s.targetShortRange = static_cast<float>(target->m_iLevelShortRange);
    s.targetLongRange = static_cast<float>(target->m_iLevelLongRange);
    s.targetMagic = static_cast<float>(target->m_iLevelMagic);
    s.targetHealth = Percent(target->m_iHitPoints, target->m_iMaxHitPoints);
    s.creature = creature;
    s.target = target;
    s.weapon = this;
    s.chance = chance;
    s.damage = Percent(damage, target->m_iMaxHitPoints);
    s.shortRange = static_cast<float>(creature->m_iLevelShortRange);
    s.longRange = static_cast<float>(creature->m_iLevelLongRange);
    s.magic = static_cast<float>(creature->m_iLevelMagic);
    s.health = Percent(creature->m_iHitPoints, creature->m_iMaxHitPoints);
    s.distance = distance;
    s.clearLine = value;
    AddAttackRecord(s);
    return 1;
}

void AddAttackRecord(const AttackSituation&) {
    // The game keeps no attack training records: the data program's
    // training records its own fights' strikes, and an attack evaluated in
    // play leaves no record.
}
