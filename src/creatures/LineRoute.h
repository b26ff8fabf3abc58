#pragma once
// Straight lines across the map in pixels.
//
// BresenhamLine steps along the line between two points two pixels at a time:
// the attack line, a missile's flight and the first leg of a route use it.
// LineRoute plans a creature's walk toward a point: it follows the straight
// line, passes open doors, and when something is in the way it walks around
// it on one side, keeping the points for the creature's later moves.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/Geometry.h"

class MapMaster;
class Object;
class ObjectHolder;
class Player;

class BresenhamLine {
public:
    // Sets the line up from a to b; the deltas are cut toward zero to even
    // numbers, so that two-pixel steps land on the end exactly.
    void Start(const qv::Point* a, const qv::Point* b);
    // One step of a line that is longer in x than in y.
    void Step(qv::Point* out);
    // One step of a line that is longer in y.
    void StepMajorY(qv::Point* out);
    // The step the line's own shape calls for.
    void Next(qv::Point* out) { m_bMajorY ? StepMajorY(out) : Step(out); }
    // Whether the major coordinate has reached the end's.
    bool AtEnd() const { return m_bMajorY ? m_iY == m_iEndY : m_iX == m_iEndX; }

    int32_t m_iDX = 0, m_iDY = 0;
    int32_t m_iMoveStep = 0;   // added to the error when the minor axis moves
    int32_t m_iStillStep = 0;  // added when it does not
    int32_t m_iX = 0, m_iY = 0;
    int32_t m_iEndX = 0, m_iEndY = 0;
    int32_t m_iError = 0;
    int32_t m_iStepX = 2, m_iStepY = 2;
    int32_t m_bMajorY = 0;
};

class LineRoute {
public:
    explicit LineRoute(Player* owner = nullptr);
    LineRoute(const LineRoute&) = delete;
    LineRoute& operator=(const LineRoute&) = delete;

    // Plans a new route from (sx, sy) toward (ex, ey) for the mover within
    // `budget` two-pixel steps; with occupiedEnd 0 nothing is planned when
    // something other than the target stands at the end. The end is taken
    // the short way round the world; the points are kept wrapped.
    void Plan(int32_t sx, int32_t sy, int32_t ex, int32_t ey, Player* mover, MapMaster* map,
              Object* target, int occupiedEnd, int budget, int unused);
    int HasMorePoints() const { return m_iNext < m_Points.size() ? 1 : 0; }
    void NextPoint(qv::Point* out);
    // Forgets the points and the remembered obstacle.
    void Clear();
    // Drops the points not handed out yet.
    void DropRest() { m_Points.resize(m_iNext); }

    static qv::Point TurnClockwise(qv::Point d) { return {-d.y, d.x}; }
    static qv::Point TurnAnticlockwise(qv::Point d) { return {d.y, -d.x}; }
    static qv::Point TurnBack(qv::Point d) { return {-d.x, -d.y}; }

    size_t PointCount() const { return m_Points.size(); }
    const std::vector<qv::Point>& Points() const { return m_Points; }
    // The points handed out so far.
    size_t NextIndex() const { return m_iNext; }
    // The point `ahead` places after the next one, when the route has it.
    bool PeekAhead(size_t ahead, qv::Point* out) const;

    MapMaster* m_pMap = nullptr;
    Player* m_pMover = nullptr;
    Object* m_pTarget = nullptr;
    ObjectHolder* m_pLastObstacle = nullptr;  // compared only, never followed
    int32_t m_iLastSide = 0;

private:
    struct Detour {
        std::vector<qv::Point> points;
        bool touched = false;
    };
    // Walks around the obstacle on one side from `from`, first heading `d`.
    Detour WalkAround(int side, qv::Point from, qv::Point d, int budget);
    ObjectHolder* ObjectAt(qv::Point p);
    void Keep(qv::Point p);

    size_t m_iNext = 0;
    std::vector<qv::Point> m_Points;
};
