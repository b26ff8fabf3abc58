// Who fights whom: the pairing of opponents, always both ways, and parting
// them again.

#include "creatures/Combat.h"

#include <algorithm>

#include "creatures/LineRoute.h"
#include "creatures/Player.h"
#include "items/Spell.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Map.h"

namespace {

bool Lists(const std::vector<qv::Handle<Player>>& list, const Player* p) {
    return std::any_of(list.begin(), list.end(),
                       [p](const qv::Handle<Player>& h) { return h.Get() == p; });
}

void Drop(std::vector<qv::Handle<Player>>& list, const Player* p) {
    list.erase(std::remove_if(list.begin(), list.end(),
                              [p](const qv::Handle<Player>& h) { return h.Get() == p; }),
               list.end());
}

// A creature that can be paired: alive and in play.
bool CanFight(const Player& p) {
    return p.IsAlive() && !p.m_bInactive;
}

}  // namespace

double Player::FindOpponents(Member* other) {
    if (IsAlive()) GatherOpponents(other);
    return 0.0;
}

void Player::GatherOpponents(Member* group) {
    if (!group || !CanFight(*this)) return;
    if (group->Type() == GROUP) {
        if (auto* g = qv::DynamicCast<Group>(group))
            for (Member* m : g->Members()) GatherOpponents(m);
        return;
    }
    auto* other = qv::DynamicCast<Player>(group);
    // A creature never fights itself.
    if (!other || other == this || group->Type() != PLAYER || !CanFight(*other)) return;
    if (Lists(m_Opponents, other)) return;
    m_Opponents.emplace_back(other);
    if (!Lists(other->m_Opponents, this)) other->m_Opponents.emplace_back(this);
}

void Player::LeaveOpponents(bool dropStrikes) {
    while (!m_Opponents.empty()) {
        Player* opponent = m_Opponents.front().Get();
        m_Opponents.erase(m_Opponents.begin());
        if (!opponent) continue;
        if (dropStrikes) {
            opponent->Events().RemoveAllOfTypeFor(ObjectEventType::HIT, this);
            opponent->Events().RemoveAllOfTypeFor(ObjectEventType::ATTACK, this);
            Events().RemoveAllOfTypeFor(ObjectEventType::HIT, opponent);
            Events().RemoveAllOfTypeFor(ObjectEventType::ATTACK, opponent);
        }
        Drop(opponent->m_Opponents, this);
        if (opponent->m_pTarget == this) opponent->m_pTarget = nullptr;
    }
}

bool Player::IsLineOfAttackClear(Player* target, MapMaster* map) {
    if (!target || !map) return false;
    const CellPoint d = map->PixelDeltaOf(m_Position, target->m_Position);
    const qv::Point from{m_Position.x, m_Position.y};
    const qv::Point to{from.x + d.x, from.y + d.y};
    BresenhamLine line;
    line.Start(&from, &to);
    while (!line.AtEnd()) {
        qv::Point p;
        line.Next(&p);
        if (ObjectHolder* hit =
                map->CheckMove(this, Position(p.x, p.y, m_Position.z), nullptr, 1, 0))
            return hit->m_pObject == target;
    }
    return true;
}

double Player::ProximityWeight(Player* other, MapMaster* map) {
    if (!other || other->Type() != PLAYER || other->m_sLifeState < 1) return 0.0;
    if (!map) map = GetMapMaster();
    const int64_t d = map ? map->PixelDistanceSq(m_Position, other->m_Position) : 0;
    return 1.0 / (static_cast<double>(d) + 1.0);
}

int Player::SetActive(int32_t flag) {
    m_bInactive = flag ? 0 : 1;
    if (!flag) {
        LeaveOpponents(false);
        CancelCastSpells(SpellEffectKind::Any);
        CancelSpellsOn(SpellEffectKind::Any);
    }
    return m_bInactive ? 0 : 1;
}
