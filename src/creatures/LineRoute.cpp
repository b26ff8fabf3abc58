// The two-pixel line stepper and a creature's planned straight route with its
// detours around obstacles.

#include "creatures/LineRoute.h"

#include <cstdlib>

#include "creatures/Player.h"
#include "platform/Rand.h"
#include "structures/Walls.h"
#include "world/Map.h"

namespace {

constexpr int32_t kEmptyDetourAxis = 100;  // the distance of a detour without points, per axis
constexpr int32_t kDoorHalfWidth = 80;     // where on its cell a door splits its two sides
constexpr int32_t kDoorHalfHeight = 56;
constexpr int kTurnsPerStep = 5;

int32_t EvenTowardZero(int32_t v) {
    return v - v % 2;
}

int32_t Mod(int32_t v, int32_t m) {
    const int32_t r = v % m;
    return r < 0 ? r + m : r;
}

int64_t DistanceSq(qv::Point a, qv::Point b) {
    const int64_t dx = int64_t{a.x} - b.x;
    const int64_t dy = int64_t{a.y} - b.y;
    return dx * dx + dy * dy;
}

qv::Point Plus(qv::Point a, qv::Point b) {
    return {a.x + b.x, a.y + b.y};
}

// A door brick in its closed state that its lock does not hold: a route
// walks through it (the creature opens it on the way).
bool IsPassableDoor(Object* o) {
    if (!qv::DynamicCast<FrontDoorBrick>(o) && !qv::DynamicCast<SideDoorBrick>(o)) return false;
    return o->GetState() == 2 && static_cast<Wall*>(o)->m_bLocked == 0;
}

}  // namespace

// ---- BresenhamLine

void BresenhamLine::Start(const qv::Point* a, const qv::Point* b) {
    m_iDX = EvenTowardZero(b->x - a->x);
    m_iDY = EvenTowardZero(b->y - a->y);
    m_iEndX = a->x + m_iDX;
    m_iEndY = a->y + m_iDY;
    const int32_t ax = std::abs(m_iDX);
    const int32_t ay = std::abs(m_iDY);
    m_bMajorY = ay > ax ? 1 : 0;
    m_iStepX = m_iDX < 0 ? -2 : 2;
    m_iStepY = m_iDY < 0 ? -2 : 2;
    m_iMoveStep = 2 * (ax - ay);
    if (m_bMajorY) {
        m_iStillStep = 2 * ax;
        m_iError = 2 * ax - ay;
    } else {
        m_iStillStep = -2 * ay;
        m_iError = ax - 2 * ay;
    }
    m_iX = a->x;
    m_iY = a->y;
}

void BresenhamLine::Step(qv::Point* out) {
    if (m_iError <= 0) {
        m_iError += m_iMoveStep;
        m_iY += m_iStepY;
    } else {
        m_iError += m_iStillStep;
    }
    m_iX += m_iStepX;
    *out = {m_iX, m_iY};
}

void BresenhamLine::StepMajorY(qv::Point* out) {
    if (m_iError >= 1) {
        m_iError += m_iMoveStep;
        m_iX += m_iStepX;
    } else {
        m_iError += m_iStillStep;
    }
    m_iY += m_iStepY;
    *out = {m_iX, m_iY};
}

// ---- LineRoute

LineRoute::LineRoute(Player* owner) : m_pMover(owner) {}

void LineRoute::Clear() {
    m_Points.clear();
    m_iNext = 0;
    m_pLastObstacle = nullptr;
    m_iLastSide = 0;
}

void LineRoute::NextPoint(qv::Point* out) {
    if (m_iNext >= m_Points.size()) return;
    *out = m_Points[m_iNext++];
}

bool LineRoute::PeekAhead(size_t ahead, qv::Point* out) const {
    const size_t i = m_iNext + ahead;
    if (i >= m_Points.size()) return false;
    *out = m_Points[i];
    return true;
}

ObjectHolder* LineRoute::ObjectAt(qv::Point p) {
    return m_pMap->CheckMove(m_pMover, Position(p.x, p.y, 0), nullptr, 1, 0);
}

void LineRoute::Keep(qv::Point p) {
    Position pos(p.x, p.y, 0);
    m_pMap->WrapPosition(pos);
    m_Points.push_back({pos.x, pos.y});
}

void LineRoute::Plan(int32_t sx, int32_t sy, int32_t ex, int32_t ey, Player* mover, MapMaster* map,
                     Object* target, int occupiedEnd, int budget, int) {
    m_pMap = map;
    m_pMover = mover;
    m_pTarget = target;
    m_Points.clear();
    m_iNext = 0;
    if (!map) return;

    // The line runs the short way round the world.
    const qv::Point a{sx, sy};
    const qv::Point d = map->PixelDeltaOf(Position(sx, sy, 0), Position(ex, ey, 0));
    const qv::Point b{sx + d.x, sy + d.y};
    BresenhamLine line;
    line.Start(&a, &b);

    ObjectIgnoreList ignore;
    if (target) ignore.push_back(target);
    ObjectHolder* atEnd = map->CheckMove(mover, Position(b.x, b.y, 0), &ignore, 1, 0);
    if (atEnd && !occupiedEnd) return;

    // The first leg: straight on until something other than an open door
    // is in the way.
    std::vector<qv::Point> leg;
    int used = 0;
    bool budgetGone = false;
    ObjectHolder* hit = nullptr;
    qv::Point hitPoint{};
    while (!line.AtEnd() && used < budget) {
        qv::Point p;
        line.Next(&p);
        ++used;
        ObjectHolder* h = ObjectAt(p);
        if (!h || IsPassableDoor(h->m_pObject)) {
            leg.push_back(p);
            continue;
        }
        hit = h;
        hitPoint = p;
        if (h == atEnd) budgetGone = true;
        break;
    }
    if (used >= budget) budgetGone = true;
    if (!hit || budgetGone || (hitPoint.x == b.x && hitPoint.y == b.y)) {
        for (qv::Point p : leg) Keep(p);
        return;
    }

    // Which side to walk around on.
    const bool remembered = hit == m_pLastObstacle;
    bool doorFixed = false;
    int side = m_iLastSide;
    if (!remembered) {
        side = qv::Rand() % 2 == 0 ? 1 : 0;
        Object* o = hit->m_pObject;
        const bool front = qv::DynamicCast<FrontDoorBrick>(o) != nullptr;
        const bool sideDoor = qv::DynamicCast<SideDoorBrick>(o) != nullptr;
        if (front || sideDoor) {
            Position struck(hitPoint.x, hitPoint.y, 0);
            map->WrapPosition(struck);
            const int32_t ox = Mod(struck.x, MapMaster::CellWidth);
            const int32_t oy = Mod(struck.y, MapMaster::CellHeight);
            if (front)
                side = (line.m_iDY < 0 ? ox <= kDoorHalfWidth : ox > kDoorHalfWidth) ? 1 : 0;
            else
                side = (line.m_iDX < 0 ? oy > kDoorHalfHeight : oy <= kDoorHalfHeight) ? 1 : 0;
            doorFixed = true;
            // A door that will not open for the route: the creature goes to
            // it instead, to try it.
            if (o->GetState() == 2 && mover && !mover->m_pPlayerSet) {
                mover->m_iWaitCount = 0;
                mover->JoinPlayerSet(hit, false);
                budgetGone = true;
            }
        }
    }
    m_pLastObstacle = hit;
    m_iLastSide = side;
    if (!remembered) {
        for (qv::Point p : leg) Keep(p);
    } else {
        used = 0;
    }
    const int left = budgetGone ? 0 : budget - used;

    // Each side's detour starts where the leg stopped (at the start when it
    // kept nothing), first heading for the obstacle.
    const qv::Point from = leg.empty() ? a : leg.back();
    const qv::Point lastStep{hitPoint.x - from.x, hitPoint.y - from.y};
    const bool fixed = remembered || doorFixed;
    Detour detours[2];
    for (int s = 0; s < 2; ++s)
        if (!fixed || side == s) detours[s] = WalkAround(s, from, lastStep, left);

    int taken = side;
    if (!fixed) {
        auto distance = [&](const Detour& t) {
            if (t.points.empty()) return 2 * int64_t{kEmptyDetourAxis} * kEmptyDetourAxis;
            return DistanceSq(t.points.back(), b);
        };
        taken = distance(detours[1]) < distance(detours[0]) ? 1 : 0;
    }
    for (qv::Point p : detours[taken].points) Keep(p);
    m_iLastSide = taken;
}

LineRoute::Detour LineRoute::WalkAround(int side, qv::Point from, qv::Point lastStep, int budget) {
    Detour detour;
    qv::Point cur = from;
    qv::Point d = lastStep;
    for (int n = 0; n < budget; ++n) {
        for (int k = 0; k < kTurnsPerStep; ++k) {
            d = side ? TurnClockwise(d) : TurnAnticlockwise(d);
            ObjectHolder* h = ObjectAt(Plus(cur, d));
            if (!h) break;
            if (m_pTarget && h->m_pObject == m_pTarget) {
                detour.touched = true;
                m_pLastObstacle = h;
                return detour;
            }
        }
        cur = Plus(cur, d);
        detour.points.push_back(cur);
        if (d == lastStep)
            d = side ? TurnAnticlockwise(d) : TurnClockwise(d);
        else
            d = TurnBack(d);
    }
    return detour;
}
