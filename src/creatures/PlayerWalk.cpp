// A creature's thinking and walking: what it heads for when its THINK comes
// (a walk order, its target, its place in the party, a talk, its stay or
// guard cell, something to do nearby), how it plans the way there (the
// straight line, the path finder, a line route around obstacles), and the
// two-pixel steps of its MOVE events, riding platforms and opening doors.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "creatures/AStar.h"
#include "creatures/Player.h"
#include "creatures/PlayerMove.h"
#include "events/GameEvent.h"
#include "media/DDObjects.h"
#include "platform/GameTime.h"
#include "platform/Rand.h"
#include "platform/Saturate.h"
#include "structures/Traversable.h"
#include "structures/Walls.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/World.h"
#include "world/WorldRules.h"

namespace {

// Points a talker stands at, by the facing of the one it talks to.
constexpr qv::Point kTalkOffsets[8] = {{15, 0},  {10, 10},   {0, 15},  {-10, 10},
                                       {-15, 0}, {-10, -10}, {0, -15}, {10, -10}};
// A fixture within this box around a creature is something it may go to.
constexpr int32_t kIdleReachX = 399;
constexpr int32_t kIdleReachY = 199;
// A plain target point counts as reached within this squared distance.
constexpr int64_t kTouchDistanceSq = 200;
// The clear-line walk's length measure: whole steps of this many pixels.
constexpr int64_t kStraightStepLength = 55;

bool IsImpassable(int32_t terrain) {
    return terrain == 3 || terrain == 7 || terrain == 8 || terrain == 14;
}

int32_t Sign2(int32_t d) {
    return d > 0 ? 2 : (d < 0 ? -2 : 0);
}

// The centre of a cell in pixels, held within the coordinates: a stay or
// guard cell read from a file may lie beyond the world.
qv::Point CellCentreWithin(CellPoint c) {
    auto centre = [](int32_t cell, int32_t size) {
        return qv::ClampToInt32(int64_t{cell} * size + size / 2);
    };
    return {centre(c.x, MapMaster::CellWidth), centre(c.y, MapMaster::CellHeight)};
}

}  // namespace

// ---- The interaction with a creature's target holder

int Player::InteractWith(Player* creature, int flag) {
    World* world = GetWorld();
    if (world && world->m_pRules) return world->m_pRules->Approach(creature, flag);
    // In a world without play: a creature walks on until it touches its
    // target, then leaves the set and drops its route.
    if (!creature || !creature->m_pPlayerSet) return 0;
    ObjectHolder* target = creature->m_pPlayerSet;
    MapMaster* map = GetMapMaster();
    const qv::Point d = map ? map->PixelDeltaOf(creature->m_Position, target->pos)
                            : qv::Point{target->pos.x - creature->m_Position.x,
                                        target->pos.y - creature->m_Position.y};
    if (!flag && int64_t{d.x} * d.x + int64_t{d.y} * d.y >= kTouchDistanceSq) return 2;
    creature->LeavePlayerSet();
    creature->ClearRoute();
    return 1;
}

// ---- Thinking

int Player::HandleThinkEvent(int32_t time, MapMaster* context) {
    // Outside any map a creature has nowhere to go and no one to meet: it
    // plans nothing, and answers as a thought that went on (a held one as
    // held).
    if (!context && !GetMapMaster()) return m_bSubdued ? 0 : 1;
    // Only a creature in a group searches for the groups it meets.
    if ((m_bPartyLeader || m_bAttackRandomMonsters) && m_pGroup) {
        World* world = GetWorld();
        if (world && world->m_pAllGroups) {
            qv::Handle<Player> self(this);
            world->m_pAllGroups->UpdateHostility(this);
            if (!self) return 1;
        }
    }
    return Think(time, context);
}

int Player::Think(int32_t T, MapMaster* context) {
    if (m_bSubdued) return 0;
    MapMaster* map = context ? context : GetMapMaster();

    if (m_pOrder && m_pOrder->m_iType == ObjectEventType::MOVE && m_iPartySlot < 0 &&
        m_iTalkState < 0) {
        ScheduleMove(T, m_pOrder->m_iArg1, m_pOrder->m_iArg2, 0);
        return 1;
    }

    int r = 0;
    if (m_pPlayerSet) {
        m_iWaitCount = 0;
        qv::Handle<Player> self(this);
        r = InteractWith(this, 0);
        if (r == -3) return -3;
        if (!self) return -3;  // the creature went away with the world it stood in
    }

    if (m_iWaitCount > 1) {
        ScheduleMove(T, m_Position.x, m_Position.y, 0);
        --m_iWaitCount;
        return 1;
    }

    if (m_Route.HasMorePoints() && m_cRouteMode == 'C') {
        qv::Point p;
        m_Route.NextPoint(&p);
        const qv::Point d = map ? map->PixelDeltaOf(m_Position, Position(p.x, p.y, 0))
                                : qv::Point{p.x - m_Position.x, p.y - m_Position.y};
        if (std::abs(d.x) <= 2 && std::abs(d.y) <= 2) {
            ScheduleMove(T, p.x, p.y, m_iRouteDelay);
            return 1;
        }
        m_Route.DropRest();
    }

    int32_t hurry = 0;
    if (r == 2 && m_pPlayerSet) {
        const Position target = m_pPlayerSet->pos;
        MoveToward(target.x, target.y, map, T, &hurry, 0, 0);
        return 1;
    }

    if (m_iHostileMode) {
        if (Attack(T, map) != 0) return 1;
    } else if (m_iPartySlot < 0) {
        if (m_Opponents.empty()) {
            m_pTarget = nullptr;
            m_iHostileMode = 0;
            if (World* world = GetWorld(); world && world->m_pRules)
                world->m_pRules->LeaderOutOfFight(this);
        }
        hurry = 1;
    } else {
        m_pTarget = nullptr;
    }

    qv::Point next;
    NPCTalk(&next, &hurry);
    MoveToward(next.x, next.y, map, T, &hurry, 0, 0);
    return 1;
}

int Player::NPCTalk(qv::Point* next, int32_t* hurry) {
    World* world = GetWorld();
    MapMaster* map = GetMapMaster();

    qv::Point follow{m_Position.x, m_Position.y};
    if (m_pGroup && m_pGroup->m_pGroupLeader) follow = m_pGroup->GetFormationPosition(this);
    m_ptFollow = follow;

    if (m_iTalkState >= 0) {
        if (Player* other = ResolveActor(m_iTalkState)) {
            const qv::Point o = kTalkOffsets[std::clamp<int>(other->m_sFacing, 0, 7)];
            follow = {other->m_Position.x + o.x, other->m_Position.y + o.y};
        }
    }

    if (m_iWaitCount == 0 && !m_bAttackRandomMonsters) {
        qv::Point offset{0, 0};
        int32_t slot = 0, row = 0;
        if (world && world->GetPartySlot(this, slot, row)) {
            offset = world->m_FormationRows[static_cast<size_t>(row)][static_cast<size_t>(slot)];
            *hurry = 1;
        }
        qv::Point target{follow.x + offset.x, follow.y + offset.y};
        *next = target;
        if (!map) return 1;
        Position f(follow.x, follow.y, 0), t(target.x, target.y, 0);
        map->WrapPosition(f);
        map->WrapPosition(t);
        CellPoint fw, tw;
        const bool fIn = map->WindowCellOf(f, fw);
        const bool tIn = map->WindowCellOf(t, tw);
        bool useFollow = !tIn || IsImpassable(map->GetCell(tw.x, tw.y).terrain);
        if (!useFollow && MapMaster::PixelToCell(f) != MapMaster::PixelToCell(t)) {
            const CellPoint d =
                map->CellDelta(MapMaster::PixelToCell(f), MapMaster::PixelToCell(t));
            useFollow = !fIn || !map->IsLineClear(fw.x, fw.y, d.x, d.y);
        }
        if (useFollow) *next = follow;
        return 1;
    }

    // Waiting or guarding: head for the cell, or stand in it.
    const CellPoint goalCell = m_bAttackRandomMonsters ? m_ptDefenseCell : m_ptStay;
    const CellPoint own = MapMaster::PixelToCell(m_Position);
    if (own != goalCell) {
        const CellPoint c = map ? ClipToWindow(map, goalCell) : goalCell;
        *next = CellCentreWithin(c);
        return 1;
    }
    if (m_iTalkState == -2) {
        if (Player* actor = ResolveActor(m_iTalkActor)) {
            actor->m_iActionOption = ActionOption::Talk;
            actor->m_strMessageNode = m_strTalkNode;
        } else if (world) {
            world->m_EventList.push_back(CTalkEvent::MakeNPCTalk(m_strTalkNode, m_iTalkActor));
        }
        m_iTalkState = -1;
        if (Player* leader = world ? world->m_pLeader.Get() : nullptr) leader->m_iTalkState = -1;
    }
    PickIdleAction();
    *next = {own.x * MapMaster::CellWidth + MapMaster::CellWidth / 2,
             own.y * MapMaster::CellHeight + MapMaster::CellHeight / 2};
    return 1;
}

// The goal cell pulled back along the line from the creature's cell to the
// edge of the window held in memory, when it lies beyond it.
qv::Point Player::ClipToWindow(MapMaster* map, qv::Point goal) const {
    const CellPoint own = MapMaster::PixelToCell(m_Position);
    CellPoint ow;
    if (!map->CellToWindow(own, ow)) return goal;
    const CellPoint d = map->CellDelta(own, goal);
    // The part of the way to the window's edge on one axis, as num / den;
    // below 1 (num < den) that axis leaves the window.
    struct Ratio {
        int64_t num, den;
    };
    auto ratio = [](int32_t from, int32_t delta, int32_t size) -> Ratio {
        if (from + delta < 0) return {from, -int64_t{delta}};
        if (from + delta >= size) return {size - 1 - from, delta};
        return {1, 1};
    };
    const Ratio rx = ratio(ow.x, d.x, MapMaster::wide);
    const Ratio ry = ratio(ow.y, d.y, MapMaster::high);
    const Ratio r = rx.num * ry.den <= ry.num * rx.den ? rx : ry;
    if (r.num >= r.den) return goal;
    CellPoint c{own.x + static_cast<int32_t>(d.x * r.num / r.den),
                own.y + static_cast<int32_t>(d.y * r.num / r.den)};
    map->WrapCell(c);
    return c;
}

int Player::PickIdleAction() {
    if (m_iActionOption == ActionOption::Nonstandard) {
        m_iWaitCount = 2;
        m_ptStay = MapMaster::PixelToCell(m_Position);
        return 1;
    }
    if (m_iWaitCount < 0) return 1;
    World* world = GetWorld();
    if (world && world->FindPartySlot(this) != -1) return 0;

    std::vector<ObjectHolder*> candidates;
    candidates.reserve(10);
    if (MapMaster* map = GetMapMaster()) {
        for (const auto& h : map->GetFixtures()) {
            ObjectHolder* holder = h.Get();
            if (!holder || !holder->m_pObject) continue;
            const qv::Point d = map->PixelDeltaOf(m_Position, holder->pos);
            if (std::abs(d.x) > kIdleReachX || std::abs(d.y) > kIdleReachY) continue;
            if (holder->m_pObject->CanBeUsedBy(this) != 0) candidates.push_back(holder);
        }
    }
    const int n = static_cast<int>(candidates.size());
    const int m = static_cast<int>(m_MoveList.size());
    const int r = qv::Rand() % (n + m + 5);
    if (r < m) {
        const int k = qv::Rand() % m;
        auto* move = qv::DynamicCast<PlayerMove>(m_MoveList[static_cast<size_t>(k)].get());
        if (!move || move->GetMoveType() != 1) return 0;
        auto* to = static_cast<PlayerMoveTo*>(move);
        m_ptStay = {to->x, to->y};
        m_iWaitCount = 1;
        return 1;
    }
    if (r < m + n) {
        const int k = qv::Rand() % n;
        JoinPlayerSet(candidates[static_cast<size_t>(k)]);
        return 1;
    }
    m_iWaitCount = qv::Rand() % 3;
    return 1;
}

void Player::ClearRoute() {
    m_Route.Clear();
}

// ---- Planning the walk

int Player::MoveToward(int32_t x, int32_t y, MapMaster* context, int32_t T, int32_t* hurry,
                       int32_t value, int32_t near) {
    MapMaster* map = context ? context : GetMapMaster();
    m_ptGoal = {x, y};
    m_iRouteDelay = m_iStepTime;
    int64_t arrive = kArriveDistanceSq;
    if (m_iWaitCount < 0) arrive = kStayArriveDistanceSq;
    if (near) arrive = kNearArriveDistanceSq;
    const Position goal(x, y, 0);
    // Without a map the goal is measured plainly, each part held within an
    // int's span so that the squares add up in 64 bits.
    auto part = [](int32_t to, int32_t from) {
        return std::clamp<int64_t>(int64_t{to} - from, -INT32_MAX, INT32_MAX);
    };
    const int64_t dx = part(x, m_Position.x), dy = part(y, m_Position.y);
    const int64_t d = map ? map->PixelDistanceSq(goal, m_Position) : dx * dx + dy * dy / 2;
    const bool hurried = hurry && *hurry;

    if (d > arrive) {
        if (!map) return 0;
        qv::Point leg{x, y};
        bool clear = false;
        if (d <= kStraightLineDistanceSq) {
            const qv::Point a{m_Position.x, m_Position.y};
            const qv::Point delta = map->PixelDeltaOf(m_Position, goal);
            const qv::Point b{a.x + delta.x, a.y + delta.y};
            BresenhamLine line;
            line.Start(&a, &b);
            clear = true;
            while (!line.AtEnd()) {
                qv::Point p;
                line.Next(&p);
                if (map->CheckMove(this, Position(p.x, p.y, 0), nullptr, 1, 0)) {
                    clear = false;
                    break;
                }
            }
        }
        if (!clear) {
            const CellPoint from = MapMaster::PixelToCell(m_Position);
            Position g = goal;
            map->WrapPosition(g);
            const CellPoint to = MapMaster::PixelToCell(g);
            int32_t steps = 0;  // no search from the goal's own cell
            if (from != to) {
                CellPoint s, e;
                AStar::StartAndGoal(*map, from, to, &s, &e);
                // A walk keeps its search while it stays in the same cell
                // heading for the same one and no step on the map changed.
                const RememberedSearch::Answer& search = m_Search.Find(*map, s, e, this);
                steps = search.stepCount;
                if (search.hasStep) {
                    const Position centre = MapMaster::CellCentre(search.firstStep);
                    // The leg's goal the short way from here.
                    const qv::Point dd = map->PixelDeltaOf(m_Position, centre);
                    leg = {m_Position.x + dd.x, m_Position.y + dd.y};
                } else {
                    PickIdleAction();
                }
            }
            // No division by a walk without steps.
            if (hurried && steps >= 1) m_iRouteDelay = m_iStepTime / steps;
            World* world = GetWorld();
            if (world && world->m_pLeader.Get() == this)
                world->m_bFastTime = steps > 4 && m_Opponents.empty() ? 1 : 0;
        } else {
            int64_t n =
                static_cast<int64_t>(std::sqrt(static_cast<double>(d))) / kStraightStepLength;
            if (n < 1) n = 1;
            if (hurried) m_iRouteDelay = static_cast<int32_t>(m_iStepTime / n);
        }

        const int budget = qv::Rand() % 8 + 8 + (hurried ? 20 : 0);
        m_Route.Plan(m_Position.x, m_Position.y, leg.x, leg.y, this, map, m_pTarget.Get(), 1,
                     budget, value);
        if (m_Route.HasMorePoints()) {
            qv::Point p;
            m_Route.NextPoint(&p);
            ScheduleMove(T, p.x, p.y, m_iRouteDelay);
            return 1;
        }
        if (!m_pPlayerSet && !PickIdleAction()) {
            m_ptGoal = {m_Position.x, m_Position.y};
            return 0;
        }
        ScheduleMove(T, leg.x, leg.y, m_iRouteDelay);
        return 1;
    }

    // Arrived.
    if (m_iPartySlot < 0) {
        if (m_pEvents->Count() == 0 &&
            !(GetClassImages() && m_iTalkState == -1 && StartLookAction(PlayerAction::Figit, T)))
            m_pEvents->Post(ObjectEventType::THINK, qv::TimeAdd(T, m_iStepTime));
        return 1;
    }
    if (!PickIdleAction()) m_ptGoal = {m_Position.x, m_Position.y};
    World* world = GetWorld();
    const Player* leader = world ? world->m_pLeader.Get() : nullptr;
    const bool leaderWalking =
        leader && leader != this && world->FindPartySlot(this) != -1 &&
        leader->m_ptGoal != qv::Point{leader->m_Position.x, leader->m_Position.y};
    if (!GetClassImages() || leaderWalking)
        ScheduleMove(T, m_ptGoal.x, m_ptGoal.y, 0);
    else
        StartLookAction(PlayerAction::Stop, T);
    return 1;
}

// ---- Walking steps

int Player::HandleMoveEvent(int32_t T, int32_t x, int32_t y, MapMaster* context, int32_t depth) {
    if (!m_Opponents.empty() && !m_pPlayerSet && m_bPanelToggle == 1) return 0;
    MapMaster* map = context ? context : GetMapMaster();
    if (!map) return 0;  // outside any map there is nowhere to step
    m_cRouteMode = 'C';
    const Position point(x, y, 0);
    const qv::Point delta = map->PixelDelta(m_Position, point);
    if (delta.x == 0 && delta.y == 0 && m_iTalkState == -1) {
        m_pEvents->Post(ObjectEventType::THINK, 0);
        return 1;
    }

    if (m_ptLastStep != qv::Point{x, y}) {
        m_ptLastStep = {x, y};
        qv::Point toward{m_Position.x + delta.x, m_Position.y + delta.y};
        qv::Point ahead;
        const bool walkOrder = m_pOrder && m_pOrder->m_iType == ObjectEventType::MOVE;
        if (!walkOrder && m_Route.PointCount() - m_Route.NextIndex() > 3 &&
            m_Route.PeekAhead(2, &ahead)) {
            const qv::Point d = map ? map->PixelDeltaOf(m_Position, Position(ahead.x, ahead.y, 0))
                                    : qv::Point{ahead.x - m_Position.x, ahead.y - m_Position.y};
            toward = {m_Position.x + d.x, m_Position.y + d.y};
        }
        m_sFacing = static_cast<int16_t>(
            FacingFromDelta(m_Position, Position(toward.x, toward.y, m_Position.z)));
        if (m_bPoseSheet) {
            SetFacing(&m_sFacing);
            AdvanceFrame();
        }
    }

    // Walking frames: running when hasted and the look has them.
    if (GetClassImages() && m_iNPCNumber == 0) {
        const int32_t action =
            m_bHasted && LookHasFrames(PlayerAction::Run) ? PlayerAction::Run : PlayerAction::Move;
        if (m_iAction != action) {
            m_iAction = action;
            m_iFrame = 0;
        }
    }

    int result = 1;
    const int made = StepOnce({Sign2(delta.x), Sign2(delta.y)}, map);
    if (made < 0) return -3;
    bool moved = made != 0;

    if (!moved && depth == 0) {
        const int32_t px = m_Position.x, py = m_Position.y;
        struct Slide {
            qv::Point first, second;
            bool twice;
        };
        Slide s{};
        switch (m_sFacing) {
            case 0:
                s = {{px, py + 2}, {}, false};
                break;
            case 4:
                s = {{px, py - 2}, {}, false};
                break;
            case 2:
            case 3:
                s = {{px + 2, py}, {}, false};
                break;
            case 6:
            case 7:
                s = {{px - 2, py}, {}, false};
                break;
            case 5:
                s = {{px, py + 2}, {px + 2, py}, true};
                break;
            case 1:
                s = {{px - 2, py}, {px, py - 2}, true};
                break;
            default:
                break;
        }
        int r = HandleMoveEvent(T, s.first.x, s.first.y, map, 1);
        if (r == -3) return -3;
        if (r == 0 && s.twice) {
            r = HandleMoveEvent(T, s.second.x, s.second.y, map, 2);
            if (r == -3) return -3;
        }
        moved = r != 0;
        if (moved) result = r;
    }

    if (m_pEvents->Count() == 0 ||
        (m_pEvents->Count() == 1 && m_pEvents->At(0).m_iType == ObjectEventType::SPECIAL))
        m_pEvents->Post(ObjectEventType::THINK, 0);

    if (!moved) {
        m_cRouteMode = 'B';
        return 0;
    }
    result = 1;
    if (m_iPartySlot < 0) {
        if (World* world = GetWorld()) world->m_ptFocus = {m_Position.x, m_Position.y};
        if (map) result = map->CheckFocusEdge(m_Position);
    }
    if (Player* led = m_iMemberSpare.Get(); led && led != this && led->m_bSubdued)
        led->ScheduleMove(T, x, y, m_iStepTime);
    return result;
}

// One two-pixel step: 1 made, 0 not made, -1 the world changed under it.
int Player::StepOnce(qv::Point step, MapMaster* map) {
    if (m_pAboard && RideAboard(step, map)) return 1;

    if (m_pGroup) {
        Player* leader = m_pGroup->m_pGroupLeader.Get();
        if (leader && leader != this && leader->m_pAboard) return 1;
    }

    Position to(m_Position.x + step.x, m_Position.y + step.y, m_Position.z);
    if (!map || !m_pHolder) {
        if (map) map->WrapPosition(to);
        m_Position = to;
        return 1;
    }
    ObjectIgnoreList accepted;
    for (;;) {
        ObjectHolder* h = map->CheckMove(this, to, &accepted, 0, 0);
        if (!h) {
            ObjectHolder* own = m_pHolder;
            const Position from = own->pos;
            if (!map->MoveHolder(own->pos, to, own, &accepted)) return 0;
            m_Position.x = own->pos.x;
            m_Position.y = own->pos.y;
            return StepOntoFloor(from, map) ? 1 : -1;
        }
        if (h == m_pPlayerSet) {
            qv::Handle<Player> self(this);
            if (InteractWith(this, 0) == -3 || !self) return -1;
            return 0;
        }
        Object* o = h->m_pObject;
        if (!o) return 0;
        if (o->Type() == WALL && o->CanInteract() && o->GetState() == 2) {
            Wall* wall = qv::DynamicCast<Wall>(o);
            if (wall && wall->m_bLocked == 0) {
                int code = -1;
                qv::Handle<Player> self(this);
                if (o->Activate(&code, this) == -3 || !self) return -1;
                return 0;
            }
        }
        Position at = to;
        if (!o->StepOn(&at, this)) return 0;
        accepted.push_back(o);
        if (auto* deck = qv::DynamicCast<Traversable>(o)) {
            if (map->CheckMoveInList(this, to, &accepted, 1, deck->GetCarried())) return 0;
            // Placed anew, the creature finds the deck under it again.
            ObjectHolder* own = m_pHolder;
            if (!map->MoveHolder(own->pos, to, own)) return 0;
            m_Position.x = own->pos.x;
            m_Position.y = own->pos.y;
            return 1;
        }
    }
}

bool Player::StepOntoFloor(const Position& from, MapMaster* map) {
    CellPoint wc;
    if (m_bLevitating || !m_pHolder || !map->WindowCellOf(m_pHolder->pos, wc)) return true;
    const Position here = m_pHolder->pos;
    // Flat things never block: the creature's foot point is on one while it
    // lies within its picture's frame.
    const auto under = [&](ObjectHolder* h, const Position& at) {
        const CDDObject* image = h->m_pObject->GetImage();
        const CellPoint rel = map->PixelDeltaOf(h->pos, at);
        return image && image->BoxContains({rel.x, rel.y});
    };
    std::vector<qv::Handle<ObjectHolder>> stepped;
    for (ObjectHolder* h : map->GetCell(wc.x, wc.y).holders) {
        Object* o = h->m_pObject;
        if (!o || o == this || o->Type() == PLAYER || o->m_iLightSampling >= 2) continue;
        if (under(h, here) && !under(h, from)) stepped.emplace_back(h);
    }
    const qv::Handle<Player> self(this);
    for (const auto& entry : stepped) {
        ObjectHolder* h = entry.Get();
        if (!h || !h->m_pObject) continue;
        Position at = here;
        h->m_pObject->StepOn(&at, this);
        if (!self) return false;
    }
    return true;
}

// Moves the platform the creature stands on by the step, with everything it
// carries; a ship turns to the steerer's facing. False when the platform
// cannot go there, or is a drawbridge: then the creature is no longer aboard
// and walks the step itself, off the deck where the land lets it.
bool Player::RideAboard(qv::Point step, MapMaster* map) {
    auto* deck = qv::DynamicCast<Traversable>(m_pAboard.Get());
    ObjectHolder* holder = deck ? deck->m_pHolder : nullptr;
    // A drawbridge stays where it was built: its walkers cross it on foot.
    if (!map || !holder || qv::DynamicCast<DrawBridge>(deck)) {
        m_pAboard = nullptr;
        return false;
    }
    deck->CollectCarriedObjects();
    ObjectHolderList load = deck->GetCarried();
    std::vector<Position> was;
    for (ObjectHolder* h : load) {
        was.push_back(h->pos);
        map->RemoveHolder(h->pos, h);
    }
    const Position old = holder->pos;
    map->RemoveHolder(old, holder);
    Ship* ship = qv::DynamicCast<Ship>(deck);
    const int oldDirection = ship ? ship->m_iDirection : 0;
    if (ship) ship->m_iDirection = m_sFacing / 2;
    Position moved(old.x + step.x, old.y + step.y, old.z);
    bool placed = map->AddHolder(moved, holder) != 0;
    if (!placed && ship && ship->m_iDirection != oldDirection) {
        ship->m_iDirection = oldDirection;
        moved = Position(old.x + step.x, old.y + step.y, old.z);
        placed = map->AddHolder(moved, holder) != 0;
    }
    if (!placed) {
        Position back = old;
        map->AddHolder(back, holder);
    }
    const qv::Point shift = placed ? map->PixelDeltaOf(old, holder->pos) : qv::Point{0, 0};
    size_t i = 0;
    for (ObjectHolder* h : load) {
        Position p(was[i].x + shift.x, was[i].y + shift.y, was[i].z);
        ++i;
        if (!map->AddHolder(p, h)) {
            Position back = was[i - 1];
            map->AddHolder(back, h);
        }
        if (auto* rider = qv::DynamicCast<Player>(h->m_pObject)) {
            rider->m_Position.x = h->pos.x;
            rider->m_Position.y = h->pos.y;
            rider->m_pAboard = deck;
        }
    }
    if (!placed) m_pAboard = nullptr;
    return placed;
}
