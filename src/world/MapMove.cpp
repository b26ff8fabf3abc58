// Movement and sight tests: can an object stand at a point, can a creature
// step from one cell to the next, is the way between two cells clear to see.
// Everything outside the window of cells counts as blocked.

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cstddef>
#include <cstdlib>

#include "media/DDObjects.h"
#include "platform/Archive.h"
#include "world/Map.h"
#include "world/MapCreature.h"
#include "world/MapImage.h"
#include "world/MapStructures.h"
#include "world/Object.h"

MapCreature* AsMapCreature(Object* obj) {
    if (!obj || obj->Type() != PLAYER) return nullptr;
    return obj->GetMapCreature();
}

MapWall* AsMapWall(Object* obj) {
    return obj ? obj->GetMapWall() : nullptr;
}

MapDeck* AsMapDeck(Object* obj) {
    return obj ? obj->GetMapDeck() : nullptr;
}

MapLamp* LampOf(Object* obj) {
    Object* light = obj ? obj->GetLightSource() : nullptr;
    return light ? light->GetMapLamp() : nullptr;
}

qv::Rect FrameRectOf(Object* obj) {
    CDDObject* image = obj ? obj->GetImage() : nullptr;
    if (!image) return {};
    return image->GetCellRect();
}

int HitCodeOf(Object* obj, qv::Point rel) {
    CDDObject* image = obj ? obj->GetImage() : nullptr;
    if (!image) return 0;
    // The shared class image is asked about this object's own frame.
    int column = 0;
    int row = 0;
    obj->GetImageFrame(&column, &row);
    image->m_iCurrentColumn = column;
    image->m_iCurrentRow = row;
    return image->HitTest(rel, image->m_iWhichSurf);
}

namespace {

std::atomic<uint64_t> g_stepEpoch{1};

}  // namespace

uint64_t StepEpoch() {
    return g_stepEpoch.load(std::memory_order_relaxed);
}

void NoteStepChange() {
    g_stepEpoch.fetch_add(1, std::memory_order_relaxed);
}

void StepValue::Exchange(qv::Archive& ar) {
    int32_t v = m_value;
    ar.Exchange(v);
    *this = v;
}

namespace {

bool IsSolid(int32_t terrain) {
    return terrain == 7 || terrain == 8 || terrain == 14;
}

bool IsIgnored(const ObjectIgnoreList* ignore, const Object* o) {
    return ignore && std::find(ignore->begin(), ignore->end(), o) != ignore->end();
}

// The tests of one holder list shared by CheckMove and CheckMoveInList.
struct HolderTest {
    MapMaster& map;
    Object* mover;
    const Position& pos;
    const ObjectIgnoreList* ignore;
    int keepcarrier;
    bool platformsblock;
    bool stranded = false;
    ObjectHolder* carrier = nullptr;

    ObjectHolder* Run(const ObjectHolderList& list) {
        // A cell lists few holders: they are read one by one, and the core
        // overlaps their fetches by itself (asking memory for them all first
        // measured slower).
        MapCreature* moverCreature = AsMapCreature(mover);
        const int64_t moverRadius = moverCreature ? moverCreature->MapSpacingRadius() : 0;
        for (ObjectHolder* h : list) {
            Object* o = h->m_pObject;
            if (!o || o == mover || IsIgnored(ignore, o)) continue;
            // A creature is met through its side where the holder located
            // it, else through the object itself.
            MapCreature* other = nullptr;
            int64_t otherRadius = 0;
            if (h->m_uSpacingOf == ObjectHolder::SpacingTag(o)) {
                assert(o->m_iLightSampling < 2 && AsMapCreature(o) == h->SpacingCreature());
                other = h->SpacingCreature();
                otherRadius = other->MapSpacingRadius();
            } else if (o->m_iLightSampling < 2) {
                other = AsMapCreature(o);
                if (!other) continue;
                otherRadius = other->MapSpacingRadius();
            }
            if (other) {
                // The distance first: most creatures of a cell are too far
                // away to matter, whatever their state.
                const int64_t d = map.PixelDistanceSq(pos, h->pos);
                if (moverCreature) {
                    // The limit is the sum of the radii, doubled toward the
                    // target, or 1 for the party: never beyond the larger of
                    // twice the sum and 1.
                    const int64_t sum = moverRadius + otherRadius;
                    if (d >= std::max<int64_t>(1, 4 * sum * sum)) continue;
                    if (other->MapHitPoints() < 1) continue;
                    // The limit r is 1 near the party, else the sum, doubled
                    // toward the target; d < 4 * sum * sum holds here, so the
                    // target is asked only between the sum and its double.
                    if (moverCreature->MapPartySlot() != 0 || other->MapPartySlot() != 0) {
                        if (d < 1) return h;
                        continue;
                    }
                    if (d < sum * sum || moverCreature->MapAttackTarget() == o) return h;
                } else if (d < 2 * otherRadius * otherRadius && other->MapHitPoints() >= 1) {
                    return h;
                }
                continue;
            }
            if (o->Type() == WALL) {
                const MapWall* wall = o->GetMapWall();
                if (wall && wall->MapWalkThrough()) continue;
            }
            const CellPoint rel = map.PixelDeltaOf(h->pos, pos);
            const int code = HitCodeOf(o, rel);
            if (code == 0) continue;
            if (code == 3) {
                if (!mover || mover->m_iMoveMode == 4) continue;
                return h;
            }
            if (code == 2) {
                if (platformsblock && o->Type() == TRAVERSABLE) return h;
                stranded = false;
                if (!keepcarrier) carrier = h;
                continue;
            }
            return h;
        }
        return nullptr;
    }
};

}  // namespace

ObjectHolder* MapMaster::CheckMove(Object* mover, const Position& pos,
                                   const ObjectIgnoreList* ignore, int keepcarrier,
                                   int platformsblock) {
    Position p = pos;
    WrapPosition(p);
    CellPoint wc;
    if (!WindowCellOf(p, wc)) return blocker;
    const MapCell& cell = GetCell(wc.x, wc.y);
    const int32_t t = cell.terrain;
    HolderTest test{*this, mover, p, ignore, keepcarrier, platformsblock != 0};
    test.stranded = mover && t == 3 && (mover->m_iMoveMode & 2) == 0;
    if (mover && t != 3 && mover->m_iMoveMode == 2) return blocker;
    if (IsSolid(t)) return blocker;
    if (ObjectHolder* hit = test.Run(cell.holders)) return hit;
    if (test.stranded) return blocker;
    return test.carrier;
}

ObjectHolder* MapMaster::CheckMoveInList(Object* mover, const Position& pos,
                                         const ObjectIgnoreList* ignore, int keepcarrier,
                                         const ObjectHolderList& list) {
    Position p = pos;
    WrapPosition(p);
    HolderTest test{*this, mover, p, ignore, keepcarrier, false};
    if (ObjectHolder* hit = test.Run(list)) return hit;
    return test.carrier;
}

bool MapMaster::EdgePieceBlocks(const ObjectHolder* piece, int sight, int doorsopen) const {
    Object* obj = piece->m_pObject;
    const MapWall* wall = AsMapWall(obj);
    if (!wall) return false;
    if (sight && wall->MapSeeThrough()) return false;
    if (!sight && wall->MapWalkThrough()) return false;
    if (obj->m_iItemNum < 0) return true;  // a plain wall
    const int state = obj->GetState();
    if (state == 0 || state == 1) return false;
    if (state != 2) return true;
    return !doorsopen || wall->MapLocked();
}

int MapMaster::IsEdgeBlocked(int32_t x, int32_t y, int direction, int sight, int doorsopen) const {
    if (!IsWindowCell(x, y)) return 1;
    if (sight && IsSolid(GetCell(x, y).terrain)) return 1;
    const ObjectHolder* piece = nullptr;
    switch (direction) {
        case 0:
            if (!IsWindowCell(x + 1, y)) return 1;
            piece = GetCell(x + 1, y).westwall;
            break;
        case 1:
            if (!IsWindowCell(x, y + 1)) return 1;
            piece = GetCell(x, y + 1).northwall;
            break;
        case 2:
            piece = GetCell(x, y).westwall;
            break;
        case 3:
            piece = GetCell(x, y).northwall;
            break;
        default:
            break;
    }
    if (!piece) return 0;
    return EdgePieceBlocks(piece, sight, doorsopen) ? 1 : 0;
}

int MapMaster::IsStepBlocked(CellPoint from, CellPoint to, int doorsopen) const {
    CellPoint wf;
    CellPoint wt;
    if (!CellToWindow(from, wf) || !CellToWindow(to, wt)) return 1;
    const MapCell& source = GetCell(wf.x, wf.y);
    const int32_t t = source.terrain;
    if (IsSolid(t) || t == 10) return 1;
    // The edge crossed, seen from the destination; the window cells are
    // contiguous across the world's seam, so they are compared, not the
    // world cells.
    int direction;
    if (wf.x > wt.x)
        direction = 0;
    else if (wf.x < wt.x)
        direction = 2;
    else
        direction = wf.y > wt.y ? 1 : 3;
    if (t == 3) {
        const int wanted = (direction == 0 || direction == 2) ? 1 : 0;
        bool carried = false;
        for (ObjectHolder* h : source.holders) {
            const MapDeck* deck = AsMapDeck(h->m_pObject);
            if (deck && deck->MapBridges(wanted)) {
                carried = true;
                break;
            }
        }
        if (!carried) return 1;
    }
    return IsEdgeBlocked(wt.x, wt.y, direction, 0, doorsopen);
}

uint8_t MapMaster::StepBits(CellPoint cell, int doorsopen) const {
    CellPoint w;
    if (!CellToWindow(cell, w)) return 0;
    return StepBitsAt(w.x, w.y, doorsopen);
}

uint8_t MapMaster::StepBitsAt(int32_t i, int32_t j, int doorsopen) const {
    const MapCell& c = GetCell(i, j);
    uint8_t bits = kStepInWindow;
    const int32_t t = c.terrain;
    if (IsSolid(t) || t == 10) bits |= kStepSourceBlocked;
    if (t == 3) {
        bits |= kStepWater;
        for (ObjectHolder* h : c.holders) {
            const MapDeck* deck = AsMapDeck(h->m_pObject);
            if (!deck) continue;
            if (deck->MapBridges(1)) bits |= kStepBridgeAcross;
            if (deck->MapBridges(0)) bits |= kStepBridgeAlong;
        }
    }
    if (c.westwall && EdgePieceBlocks(c.westwall, 0, doorsopen)) bits |= kStepWestBlocks;
    if (c.northwall && EdgePieceBlocks(c.northwall, 0, doorsopen)) bits |= kStepNorthBlocks;
    return bits;
}

int MapMaster::IsLineClear(int32_t x, int32_t y, int32_t dx, int32_t dy) const {
    // Every diagonal sub-walk heads for the same destination cell, so its
    // answer depends on its start cell alone: each is worked out once per
    // line, which keeps a long blocked diagonal from taking exponential time.
    if (++m_lineStamp >= 0x80000000u) {
        m_lineMemo.fill(0);
        m_lineStamp = 1;
    }
    return LineClearFrom(x, y, dx, dy);
}

int MapMaster::LineClearFrom(int32_t x, int32_t y, int32_t dx, int32_t dy) const {
    for (;;) {
        const int32_t adx = std::abs(dx);
        const int32_t ady = std::abs(dy);
        if (adx < ady) {
            const int direction = dy < 0 ? 3 : 1;
            if (IsEdgeBlocked(x, y, direction, 1, 0)) return 0;
            if (dy == -1 || dy == 1) return 1;
            const int32_t sy = dy < 0 ? -1 : 1;
            y += sy;
            dy -= sy;
            continue;
        }
        if (adx > ady) {
            const int direction = dx < 0 ? 2 : 0;
            if (IsEdgeBlocked(x, y, direction, 1, 0)) return 0;
            if (dx == -1 || dx == 1) return 1;
            const int32_t sx = dx < 0 ? -1 : 1;
            x += sx;
            dx -= sx;
            continue;
        }
        if (dx == 0) return 1;
        // Outside the window every edge blocks, so only window cells recur.
        uint32_t* memo =
            IsWindowCell(x, y) ? &m_lineMemo[static_cast<size_t>(x * high + y)] : nullptr;
        if (memo && (*memo >> 1) == m_lineStamp) return static_cast<int>(*memo & 1);
        const int answer = DiagonalClearFrom(x, y, dx, dy);
        if (memo) *memo = m_lineStamp << 1 | static_cast<uint32_t>(answer);
        return answer;
    }
}

int MapMaster::DiagonalClearFrom(int32_t x, int32_t y, int32_t dx, int32_t dy) const {
    const int32_t sx = dx < 0 ? -1 : 1;
    if (LineClearFrom(x, y, sx, 0) && LineClearFrom(x + sx, y, dx - sx, dy)) return 1;
    const int32_t sy = dy < 0 ? -1 : 1;
    if (!LineClearFrom(x, y, 0, sy)) return 0;
    return LineClearFrom(x, y + sy, dx, dy - sy);
}
