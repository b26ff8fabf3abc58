// What a creature does when it thinks in a fight: keep its place in the
// formation, carry out its combat order, choose whom to fight, step away
// while it evades, and choose between a strike, a shot, a spell and standing.

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "creatures/Combat.h"
#include "creatures/Player.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "platform/GameTime.h"
#include "platform/Rand.h"
#include "world/Global.h"
#include "world/Map.h"
#include "world/World.h"

namespace {

// The route's next point, when it lies within a step: stepped to.
bool StepOnRoute(Player& creature, MapMaster* map, int32_t T) {
    if (!creature.m_Route.HasMorePoints() || creature.m_cRouteMode != 'C') return false;
    qv::Point p;
    creature.m_Route.NextPoint(&p);
    const CellPoint d = map ? map->PixelDeltaOf(creature.m_Position, Position(p.x, p.y, 0))
                            : CellPoint{p.x - creature.m_Position.x, p.y - creature.m_Position.y};
    if (std::abs(d.x) <= 2 && std::abs(d.y) <= 2) {
        creature.ScheduleMove(T, p.x, p.y, creature.m_iRouteDelay);
        return true;
    }
    creature.m_Route.DropRest();
    return false;
}

int64_t DistanceSq(MapMaster* map, const Position& a, const Position& b) {
    const CellPoint d = map ? map->PixelDeltaOf(a, b) : CellPoint{b.x - a.x, b.y - a.y};
    return int64_t{d.x} * d.x + int64_t{d.y} * d.y;
}

// One cell's step each way: east, south, west, north.
constexpr std::array<qv::Point, 4> kEvadeSteps{{{160, 0}, {0, 112}, {-160, 0}, {0, -112}}};

}  // namespace

int Player::Attack(int32_t T, MapMaster* context) {
    MapMaster* map = context ? context : GetMapMaster();
    World* world = GetWorld();
    m_iRouteDelay = m_iStepTime;

    // Forget opponents that are gone.
    std::erase_if(m_Opponents, [](const qv::Handle<Player>& h) { return !h; });
    if (m_Opponents.empty()) {
        UpdateLevel();
        m_pCombatOrder.reset();
        m_pTarget = nullptr;
        m_iHostileMode = 0;
        return 0;
    }

    // The party's formation.
    bool formation = false;
    if (world && world->m_bPartyFormation && world->FindPartySlot(this) != -1) {
        formation = true;
        if (StepOnRoute(*this, map, T)) return 1;
        qv::Point place{m_Position.x, m_Position.y};
        int32_t hurry = 0;
        NPCTalk(&place, &hurry);
        if (DistanceSq(map, m_Position, Position(place.x, place.y, 0)) >
                CombatRange::kFormationPlace &&
            MoveToward(place.x, place.y, map, T, &hurry, 0, 0))
            return 1;
    }

    // The combat order.
    bool hold = false;
    if (m_pCombatOrder) {
        ObjectEvent& order = *m_pCombatOrder;
        switch (static_cast<CombatOrderType>(order.m_iType)) {
            case CombatOrderType::Hold:
                hold = true;
                break;
            case CombatOrderType::WalkTo: {
                const Position point(order.m_iArg1, order.m_iArg2, 0);
                if (DistanceSq(map, m_Position, point) > CombatRange::kWalkDone) {
                    int32_t cleared = 0;
                    MoveToward(point.x, point.y, map, T, &cleared, 0, 1);
                    return 1;
                }
                m_pCombatOrder.reset();
                break;
            }
            case CombatOrderType::AttackWith: {
                auto* victim = qv::DynamicCast<Player>(order.m_pObject.Get());
                if (!victim || !victim->IsAlive() || victim == this) {
                    m_pTarget = nullptr;
                    m_pCombatOrder.reset();
                    break;
                }
                m_pTarget = victim;
                const auto which = static_cast<StrikeWeapon>(order.m_iValue);
                if (which == StrikeWeapon::Melee && m_pMeleeWeapon) return MeleeAttack(T, map), 1;
                if (which == StrikeWeapon::Ranged && m_pRangedWeapon)
                    return RangedAttack(T, map), 1;
                if (!m_pRangedWeapon) return MeleeAttack(T, map), 1;
                if (DistanceSq(map, m_Position, victim->m_Position) < CombatRange::kClose)
                    MeleeAttack(T, map);
                else
                    RangedAttack(T, map);
                return 1;
            }
            case CombatOrderType::CastOn: {
                Object* target = order.m_pObject.Get();
                if (order.m_pSpell) {
                    std::unique_ptr<Spell> copy(qv::DynamicCast<Spell>(order.m_pSpell->Clone()));
                    if (copy) m_pEvents->PostSpell(T, target, std::move(copy));
                }
                m_pCombatOrder.reset();
                break;
            }
            default:
                // An order of no known kind stays, and the fight goes on.
                break;
        }
    }

    // The living opponents: whether any shoots or casts, and the nearest.
    bool opponentShoots = false, opponentCasts = false;
    Player* nearest = nullptr;
    int64_t nearestSq = 0;
    for (const auto& h : m_Opponents) {
        Player* o = h.Get();
        if (!o || !o->IsAlive() || o == this) continue;
        if (o->m_pRangedWeapon) opponentShoots = true;
        if (o->m_pMagic) opponentCasts = true;
        const int64_t d = DistanceSq(map, m_Position, o->m_Position);
        if (!nearest || d < nearestSq) {
            nearest = o;
            nearestSq = d;
        }
    }

    // The target.
    Player* target = m_pTarget.Get();
    const int64_t targetSq = target ? DistanceSq(map, m_Position, target->m_Position) : 0;
    if (nearest && (!target || !target->IsAlive() ||
                    (nearestSq < CombatRange::kClose && targetSq >= CombatRange::kClose) ||
                    (formation && nearestSq < CombatRange::kFormationClose &&
                     targetSq >= CombatRange::kFormationClose)))
        m_pTarget = nearest;
    // A target that died and no living opponent left: none.
    if (!nearest && m_pTarget && !m_pTarget->IsAlive()) m_pTarget = nullptr;

    // Evading.
    if (m_bEvading) {
        if (StepOnRoute(*this, map, T)) return 1;
        m_Route.Clear();
        if (nearest && nearestSq < CombatRange::kEvade && map) {
            std::vector<qv::Point> steps;
            const CellPoint here = MapMaster::PixelToCell(m_Position);
            for (const qv::Point& s : kEvadeSteps) {
                const CellPoint to{here.x + s.x / MapMaster::CellWidth,
                                   here.y + s.y / MapMaster::CellHeight};
                if (!map->IsStepBlocked(here, to, 0)) steps.push_back(s);
            }
            const CellPoint d = map->PixelDeltaOf(m_Position, nearest->m_Position);
            // The step toward the opponent along an axis: the one whose sign
            // matches the delta (0 counts as positive).
            auto dropToward = [&](bool alongY) {
                const int32_t delta = alongY ? d.y : d.x;
                const int32_t sign = delta >= 0 ? 1 : -1;
                std::erase_if(steps, [&](const qv::Point& s) {
                    const int32_t v = alongY ? s.y : s.x;
                    return v != 0 && (v > 0 ? 1 : -1) == sign;
                });
            };
            const bool yIsSmaller = std::abs(d.y) <= std::abs(d.x);
            if (steps.size() > 1) dropToward(yIsSmaller);
            if (steps.size() > 1) dropToward(!yIsSmaller);
            if (!steps.empty()) {
                const qv::Point s = steps[static_cast<size_t>(qv::Rand()) % steps.size()];
                m_Route.Plan(m_Position.x, m_Position.y, m_Position.x + s.x, m_Position.y + s.y,
                             this, map, nullptr, 1, 16, 0);
                if (m_Route.HasMorePoints()) {
                    qv::Point p;
                    m_Route.NextPoint(&p);
                    ScheduleMove(T, p.x, p.y, m_iRouteDelay);
                    return 1;
                }
            }
        }
    }

    // The choice of attack.
    const bool shoots = m_pRangedWeapon.Get() != nullptr;
    bool melee = false, ranged = false;
    if ((opponentShoots || opponentCasts) && (!shoots || m_iRangedMode == 0)) melee = true;
    const Player* leader = world ? world->m_pLeader.Get() : nullptr;
    if (!shoots && (!leader || leader->m_pGroup != m_pGroup)) melee = true;
    const bool close = nearest && nearestSq < CombatRange::kClose;
    if (close && m_iRangedMode != 1) melee = true;
    if (m_iCombatSettings[6] == 0) {
        if (close && (!shoots || m_iRangedMode == 0)) melee = true;
    } else if (!shoots || m_iRangedMode == 0) {
        melee = true;
    }
    if ((!melee && shoots) || m_iRangedMode == 1) ranged = true;
    if (hold) {
        ranged = false;
        melee = nearest && nearestSq < CombatRange::kHold;
    }
    if (!m_pMeleeWeapon) melee = false;
    if (!shoots) ranged = false;
    // Without a living opponent there is no one to strike at.
    if (!nearest) melee = ranged = false;

    // A monster's spells, weighed against the weapon while an attack is open.
    if (CastFightSpell(melee || ranged)) {
        m_pEvents->Post(ObjectEventType::THINK, qv::TimeAdd(T, m_iAttackTime));
        return 1;
    }
    if (melee) {
        m_iFightMode = 1;
        MeleeAttack(T, map);
        return 1;
    }
    if (ranged) {
        m_iFightMode = 0;
        RangedAttack(T, map);
        return 1;
    }
    m_iFightMode = 3;
    ScheduleMove(T, m_Position.x, m_Position.y, 0);
    return 1;
}
