// Placing single objects on the map and taking them off: drops from the
// windows and the mouse, and wall pieces.

#include <cstdlib>
#include <memory>

#include "play/Play.h"
#include "structures/Walls.h"
#include "world/Map.h"
#include "world/Object.h"
#include "world/ObjectHolder.h"

namespace {

int Sign(int32_t v) {
    return v > 0 ? 1 : (v < 0 ? -1 : 0);
}

// A near miss of the centre (1 to 3 pixels off) aims past it, so that the walk
// from the drop point crosses the centre; on the centre, or farther off, the
// centre itself is the aim.
int32_t PullPastCentre(int32_t centre, int32_t from) {
    const int32_t d = centre - from;
    if (d >= 1 && d <= 3) return centre + Play::kDropPull;
    if (d >= -3 && d <= -1) return centre - Play::kDropPull;
    return centre;
}

// A holder made for `object` that gives the object back the holder it named
// before, unless it was kept.
class TrialHolder {
public:
    TrialHolder(const Position& at, Object* object)
        : m_object(object), m_before(object->m_pHolder), m_holder(new ObjectHolder(at, object)) {}
    ~TrialHolder() {
        if (!m_holder) return;
        delete m_holder;
        m_object->m_pHolder = m_before;
    }
    TrialHolder(const TrialHolder&) = delete;
    TrialHolder& operator=(const TrialHolder&) = delete;
    ObjectHolder* Get() const { return m_holder; }
    ObjectHolder* Keep() {
        ObjectHolder* kept = m_holder;
        m_holder = nullptr;
        m_object->m_pHolder = kept;
        return kept;
    }

private:
    Object* m_object;
    ObjectHolder* m_before;
    ObjectHolder* m_holder;
};

}  // namespace

Position Play::DropTarget(const Position& w, ObjectHolder* obstacle) {
    Object* blocking = obstacle ? obstacle->m_pObject : nullptr;
    if (blocking && blocking->Type() == WALL) {
        // Beside the wall: below a front wall, to the right of a side wall.
        Wall* wall = qv::DynamicCast<Wall>(blocking);
        const int kind = wall ? wall->GetWallKind() : 0;
        if (kind == 1) return Position(w.x + 1, w.y + 30, 0);
        if (kind == 2) return Position(w.x + 30, w.y + 1, 0);
        return w;
    }
    const Position centre = MapMaster::CellCentre(MapMaster::PixelToCell(w));
    return Position(PullPastCentre(centre.x, w.x), PullPastCentre(centre.y, w.y), 0);
}

Play::DropResult Play::DropObject(Object* object, const Position& point, bool whole) {
    DropResult result;
    MapMaster* map = Map();
    if (!object || !map) return result;
    Position w = point;
    map->WrapPosition(w);

    // A stack goes as a copy of the number chosen; the caller's object keeps
    // the rest, and loses nothing unless the copy was placed.
    std::unique_ptr<Object> copy;
    if (object->m_bStackable && !whole) {
        if (object->m_iBulkNum < 1) return result;  // an empty stack has nothing to drop
        const int count = object->m_iBulkNum > 1 ? AskQuantity(object->m_iBulkNum) : 1;
        if (count <= 0) return result;
        copy.reset(object->Clone());
        if (!copy) return result;
        copy->m_iBulkNum = count;
    } else if (object->Type() == WALL) {
        result.holder = PlaceObjectAt(object, w);
        result.placedItself = result.holder != nullptr;
        return result;
    }
    Object* dropped = copy ? copy.get() : object;

    TrialHolder trial(w, dropped);
    ObjectHolder* holder = trial.Get();
    ObjectIgnoreList self{dropped};
    ObjectHolder* obstacle = map->CheckMove(dropped, w, &self, 1, 0);
    Position at = w;
    bool placed = !obstacle && map->AddHolder(at, holder);
    if (!placed) {
        // Walk from the drop point toward the target, one pixel at a time,
        // until a point takes the object or the walk's main axis arrives.
        const Position target = DropTarget(w, obstacle);
        const int32_t dx = target.x - w.x, dy = target.y - w.y;
        const int32_t ax = std::abs(dx), ay = std::abs(dy);
        const int sx = Sign(dx), sy = Sign(dy);
        int32_t x = w.x, y = w.y;
        const bool majorY = ay > ax;
        int32_t error = majorY ? 2 * ax - ay : ax - 2 * ay;
        while (!placed && (majorY ? y != target.y : x != target.x)) {
            if (majorY) {
                if (error > 0) {
                    x += sx;
                    y += sy;
                    error += 2 * (ax - ay);
                } else {
                    y += sy;
                    error += 2 * ax;
                }
            } else if (error > 0) {
                x += sx;
                error += -2 * ay;
            } else {
                x += sx;
                y += sy;
                error += 2 * (ax - ay);
            }
            holder->pos = Position(x, y, 0);
            at = holder->pos;
            placed = map->AddHolder(at, holder) != 0;
        }
    }
    if (!placed) {
        // The copy goes with the trial holder; the caller's stack is whole.
        WarningBeep();
        return result;
    }
    result.holder = trial.Keep();
    if (copy) {
        object->m_iBulkNum -= copy->m_iBulkNum;
        result.stackEmptied = object->m_iBulkNum <= 0;
        copy.release();  // the map holds it now
    } else {
        result.placedItself = true;
    }
    return result;
}

ObjectHolder* Play::PlaceObjectAt(Object* object, const Position& q) {
    MapMaster* map = Map();
    if (!object || !map) return nullptr;
    Position wrapped = q;
    map->WrapPosition(wrapped);
    const CellPoint cell = MapMaster::PixelToCell(wrapped);
    const int32_t ox = cell.x * MapMaster::CellWidth;
    const int32_t oy = cell.y * MapMaster::CellHeight;
    Position pos(0, 0, 0);
    Wall* wall = object->Type() == WALL ? qv::DynamicCast<Wall>(object) : nullptr;
    if (object->Type() == WALL) {
        switch (wall ? wall->GetWallKind() : 0) {
            case 1:
                pos = Position(ox + 80, oy, 0);
                break;
            case 2:
                pos = Position(ox, oy + 56, 0);
                break;
            case 3:
                pos = Position(ox, oy, 0);
                break;
            case 4:
                pos = Position(ox, oy, 45);
                break;
            default:
                // A piece that belongs to no edge has no place on a cell.
                return nullptr;
        }
    }
    TrialHolder trial(pos, object);
    if (wall) wall->ResetFrame(pos.x, pos.y);
    Position at = pos;
    if (!map->AddHolder(at, trial.Get())) return nullptr;
    return trial.Keep();
}

void Play::RemoveFromMap(ObjectHolder* holder) {
    if (MapMaster* map = Map(); map && holder) map->RemoveHolder(holder->pos, holder);
}
