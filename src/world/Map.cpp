// The world map: window of cells, wrapping arithmetic, placing and removing
// holders, drawing order, explored bits and the mini-map.

#include "world/Map.h"

#include <algorithm>
#include <unordered_set>

#include "media/DDObjects.h"
#include "media/DIBitmap.h"
#include "platform/ReadAhead.h"
#include "world/Global.h"
#include "world/Land.h"
#include "world/MapImage.h"
#include "world/MapStructures.h"
#include "world/Object.h"
#include "world/World.h"

QV_IMPLEMENT_SERIAL(MapMaster, qv::Persistent, 2, true)

// ---------------------------------------------------------------------------
// Holder lists

bool ObjectHolderList::Find(const ObjectHolder* holder) const {
    return std::find(begin(), end(), holder) != end();
}

bool ObjectHolderList::Remove(const ObjectHolder* holder) {
    ObjectHolder** it = std::find(m_data, m_data + m_size, holder);
    if (it == m_data + m_size) return false;
    std::copy(it + 1, m_data + m_size, it);
    --m_size;
    return true;
}

void ObjectHolderList::Copy(const ObjectHolderList& other) {
    if (&other == this) return;
    Assign(other);
}

void ObjectHolderList::InsertAt(size_t at, ObjectHolder* holder) {
    if (m_size == m_capacity) {
        const uint32_t capacity = m_capacity * 2;
        auto* grown = new ObjectHolder*[capacity];
        std::copy(m_data, m_data + m_size, grown);
        Release();
        m_data = grown;
        m_capacity = capacity;
    }
    std::copy_backward(m_data + at, m_data + m_size, m_data + m_size + 1);
    m_data[at] = holder;
    ++m_size;
}

void ObjectHolderList::Assign(const ObjectHolderList& other) {
    if (other.m_size > m_capacity) {
        Release();
        m_data = new ObjectHolder*[other.m_capacity];
        m_capacity = other.m_capacity;
    }
    std::copy(other.begin(), other.end(), m_data);
    m_size = other.m_size;
}

void ObjectHolderList::Take(ObjectHolderList& other) {
    if (other.IsInline()) {
        m_data = m_inline;
        m_capacity = kInline;
        std::copy(other.begin(), other.end(), m_inline);
    } else {
        m_data = other.m_data;
        m_capacity = other.m_capacity;
        other.m_data = other.m_inline;
        other.m_capacity = kInline;
    }
    m_size = other.m_size;
    other.m_size = 0;
}

void ObjectHolderList::Release() {
    // Only the heap storage goes; the size is the caller's to set.
    if (!IsInline()) delete[] m_data;
    m_data = m_inline;
    m_capacity = kInline;
}

namespace {

// An offset brought into [-half, half) where the world size may be unknown
// (0): then the offset stands.
int32_t WrapOffset(int32_t d, int32_t world) {
    return world <= 0 ? d : MapMaster::WrapOffset(d, world / 2, world);
}

// The image rectangle of a holder's object relative to world cell (cx, cy).
qv::Rect PlacedRect(const ObjectHolder& h, int32_t cx, int32_t cy, int32_t wrapx, int32_t wrapy) {
    qv::Rect r = FrameRectOf(h.m_pObject);
    const int32_t ox = WrapOffset(h.pos.x - cx * MapMaster::CellWidth, wrapx);
    const int32_t oy = WrapOffset(h.pos.y - cy * MapMaster::CellHeight, wrapy);
    r.left += ox;
    r.right += ox;
    r.top += oy;
    r.bottom += oy;
    return r;
}

}  // namespace

namespace {

// What the drawing-order rule reads of one holder relative to a cell.
struct DrawingOrderKey {
    bool under;  // state -1: behind everything
    qv::Rect rect;
};

DrawingOrderKey KeyOf(const ObjectHolder& h, int32_t cx, int32_t cy, int32_t wrapx, int32_t wrapy) {
    const bool under = h.m_pObject && h.m_pObject->GetState() == -1;
    return {under, PlacedRect(h, cx, cy, wrapx, wrapy)};
}

bool IsInFront(const DrawingOrderKey& a, const DrawingOrderKey& b) {
    if (a.under) return false;
    if (b.under) return true;
    const qv::Rect& ra = a.rect;
    const qv::Rect& rb = b.rect;
    const int32_t ma = std::min(ra.left, ra.top);
    const bool axisXa = ra.left < ra.top;
    const int32_t mb = std::min(rb.left, rb.top);
    const bool axisXb = rb.left < rb.top;
    const bool axisX = ma < mb ? axisXa : axisXb;
    if (axisX) {
        if (ra.left >= rb.right) return true;
        if (ra.right <= rb.left) return false;
        return ra.top >= rb.bottom;
    }
    if (ra.top >= rb.bottom) return true;
    if (ra.bottom <= rb.top) return false;
    return ra.left >= rb.right;
}

}  // namespace

bool IsHolderInFrontOf(const ObjectHolder& a, const ObjectHolder& b, int32_t cx, int32_t cy,
                       int32_t wrapx, int32_t wrapy) {
    return IsInFront(KeyOf(a, cx, cy, wrapx, wrapy), KeyOf(b, cx, cy, wrapx, wrapy));
}

void ObjectHolderList::InsertSorted(ObjectHolder* holder, int32_t cellx, int32_t celly,
                                    int32_t wrapx, int32_t wrapy) {
    holder->CopySpacing();
    // The listed objects lie all over memory: ask for them all at once
    // rather than waiting for each in turn.
    for (size_t at = 0; at < m_size; ++at) PrefetchLine(m_data[at]->m_pObject);
    // Just before the first listed holder that is in front of the new one.
    const DrawingOrderKey key = KeyOf(*holder, cellx, celly, wrapx, wrapy);
    for (size_t at = 0; at < m_size; ++at) {
        if (IsInFront(KeyOf(*m_data[at], cellx, celly, wrapx, wrapy), key)) {
            InsertAt(at, holder);
            return;
        }
    }
    InsertAt(m_size, holder);
}

// ---------------------------------------------------------------------------
// Cells

ObjectHolder* MapCell::GetEdgeList(int code) const {
    switch (code) {
        case 1:
            return northwall;
        case 2:
            return westwall;
        case 3:
            return corner;
        default:
            return nullptr;
    }
}

namespace {

// Deletes a holder but not the object it references, parting the two first.
void DeleteHolderOnly(ObjectHolder* h) {
    if (Object* obj = h->m_pObject; obj && obj->m_pHolder == h) obj->m_pHolder = nullptr;
    h->m_pObject = nullptr;
    delete h;
}

}  // namespace

void MapCell::Reset() {
    for (ObjectHolder* h : transients) {
        holders.Remove(h);
        DeleteHolderWithObject(h);
    }
    transients.Clear();
    // Flat scenery only ever references the shared prototypes.
    for (ObjectHolder* h : decals) DeleteHolderOnly(h);
    decals.Clear();
}

// ---------------------------------------------------------------------------
// Construction

MapMaster::MapMaster() : MapMaster(nullptr) {}

MapMaster::MapMaster(const Position* startpos)
    : m_cells(static_cast<size_t>(wide * high)),
      m_samples(static_cast<size_t>(wide * high * SamplesPerCell), -1) {
    if (startpos) focuscell = PixelToCell(*startpos);
    NoteStepChange();  // a new map, perhaps where an old one stood
    m_minimapBits = std::make_shared<CDIBitmap>(MinimapWidth, MinimapHeight);
    minimap = std::make_unique<CDDObject>();
    minimap->Create(MinimapWidth, MinimapHeight, 0, 0, nullptr, 1, 1);
    minimap->SetFrameBitmap(0, m_minimapBits);
    minimap->Load();
    m_blockerObject = new Object("Object");
    blocker = new ObjectHolder(Position(0, 0, 0), m_blockerObject);
    m_litFirstCol.fill(0);
    m_litLastCol.fill(-1);
    BuildLightGrid();
}

MapMaster::~MapMaster() {
    // A map being deleted is no longer the world's running map (its owner
    // let go of it first): the groups' teardown must not reach for it.
    DeleteLands();
    DeleteAllHolders();
    delete blocker;
    delete m_blockerObject;
}

void MapMaster::DeleteAllHolders() {
    std::vector<ObjectHolder*> all;
    std::unordered_set<ObjectHolder*> seen;
    for (MapCell& cell : m_cells) {
        cell.Reset();
        for (ObjectHolder* h : cell.holders)
            if (seen.insert(h).second) all.push_back(h);
    }
    for (ObjectHolder* h : all) RemoveHolder(h->pos, h);
    for (MapCell& cell : m_cells) {
        cell.holders.Clear();
        cell.northwall = cell.westwall = cell.corner = nullptr;
    }
    NoteStepChange();
    for (ObjectHolder* h : all) DeleteHolderWithObject(h);
    lightholders.clear();
    fixtures.clear();
    ++m_reloads;
}

bool MapMaster::FitsLargestWorld(int32_t w, int32_t h) {
    return w > 0 && h > 0 && w <= INT32_MAX / CellWidth && h <= INT32_MAX / CellHeight &&
           int64_t{w} * h <= kMaxWorldCells;
}

int MapMaster::SetWorldSize(int32_t w, int32_t h) {
    if (!FitsLargestWorld(w, h)) return 0;
    TakeWorldSize(w, h,
                  std::vector<std::vector<uint8_t>>(static_cast<size_t>((w + 7) / 8),
                                                    std::vector<uint8_t>(static_cast<size_t>(h))));
    return 1;
}

void MapMaster::TakeWorldSize(int32_t w, int32_t h, std::vector<std::vector<uint8_t>> bits) {
    NoteStepChange();
    worldcellx = w;
    worldcelly = h;
    halfcellx = w / 2;
    halfcelly = h / 2;
    worldpixelx = CellWidth * w;
    halfpixelx = worldpixelx / 2;
    worldpixely = CellHeight * h;
    halfpixely = worldpixely / 2;
    explored = std::move(bits);
}

void MapMaster::RecentreWindow() {
    CellPoint o{focuscell.x - wide / 2, focuscell.y - high / 2};
    if (o.x < 0) o.x += worldcellx;
    if (o.y < 0) o.y += worldcelly;
    SetOrigin(o);
}

void MapMaster::SetOrigin(CellPoint o) {
    NoteStepChange();
    oldorigin = origin;
    origin = o;
    windowrect = {o.x, o.y, o.x + wide, o.y + high};
    if (windowrect.right > worldcellx) windowrect.right -= worldcellx;
    if (windowrect.bottom > worldcelly) windowrect.bottom -= worldcelly;
    ++m_reloads;
}

// ---------------------------------------------------------------------------
// Coordinates

void MapMaster::WrapCell(CellPoint& cell) const {
    if (cell.x < 0) cell.x += worldcellx;
    if (cell.x >= worldcellx) cell.x -= worldcellx;
    if (cell.y < 0) cell.y += worldcelly;
    if (cell.y >= worldcelly) cell.y -= worldcelly;
}

void MapMaster::WrapRect(CellRect& rect) const {
    if (rect.left < 0 || rect.right > worldcellx) {
        if (rect.left < 0) {
            rect.left += worldcellx;
        } else {
            rect.right -= worldcellx;
        }
    }
    if (rect.top < 0 || rect.bottom > worldcelly) {
        if (rect.top < 0) {
            rect.top += worldcelly;
        } else {
            rect.bottom -= worldcelly;
        }
    }
}

CellPoint MapMaster::PixelDelta(const Position& a, const Position& b) {
    delta = PixelDeltaOf(a, b);
    return delta;
}

CellPoint MapMaster::CellDelta(CellPoint a, CellPoint b) {
    delta = {WrapOffset(b.x - a.x, halfcellx, worldcellx),
             WrapOffset(b.y - a.y, halfcelly, worldcelly)};
    return delta;
}

int64_t MapMaster::CellDistanceSq(const Position& a, const Position& b) const {
    const CellPoint d = PixelDeltaOf(a, b);
    return int64_t{d.x} * d.x + int64_t{d.y} * d.y;
}

bool MapMaster::IsDeltaInRect(const Position& a, const Position& b, const CellRect& rect) const {
    const CellPoint d = PixelDeltaOf(a, b);
    const int32_t sx = d.x - d.y;
    const int32_t sy = d.y;
    return sx >= rect.left && sx < rect.right && sy >= rect.top && sy < rect.bottom;
}

void MapMaster::WorldToScreen(const Position& pos, int32_t& sx, int32_t& sy) const {
    // Measured the short way round the world, so that what lies across the
    // seam from the view centre is drawn next to it, not a world away.
    const CellPoint d = PixelDeltaOf(Position(viewcentre.x, viewcentre.y, 0), pos);
    sx = d.x - d.y + 320;
    sy = d.y + 240;
}

bool MapMaster::CellToWindow(CellPoint cell, CellPoint& out) const {
    out = {cell.x - origin.x, cell.y - origin.y};
    if (out.x < 0) out.x += worldcellx;
    if (out.x >= worldcellx) out.x -= worldcellx;
    if (out.y < 0) out.y += worldcelly;
    if (out.y >= worldcelly) out.y -= worldcelly;
    return out.x >= 0 && out.x < wide && out.y >= 0 && out.y < high;
}

bool MapMaster::LocateInWindow(const Position& pos) {
    const CellPoint c = PixelToCell(pos);
    windowcell = {c.x - origin.x, c.y - origin.y};
    if (windowcell.x < 0) windowcell.x += worldcellx;
    if (windowcell.y < 0) windowcell.y += worldcelly;
    return windowcell.x >= 0 && windowcell.x < wide && windowcell.y >= 0 && windowcell.y < high;
}

namespace {

// The four seam variants of a cell rectangle.
std::array<CellRect, 4> SeamVariants(const CellRect& r, int32_t w, int32_t h) {
    std::array<CellRect, 4> v{r, r, r, r};
    if (r.left > r.right) {
        v[0].left -= w;
        v[1].left -= w;
        v[2].right += w;
        v[3].right += w;
    }
    if (r.top > r.bottom) {
        v[0].top -= h;
        v[2].top -= h;
        v[1].bottom += h;
        v[3].bottom += h;
    }
    return v;
}

CellRect Normalised(CellRect r) {
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

}  // namespace

bool MapMaster::RectsOverlap(const CellRect& a, const CellRect& b) const {
    for (const CellRect& va : SeamVariants(a, worldcellx, worldcelly))
        for (const CellRect& vb : SeamVariants(b, worldcellx, worldcelly))
            if (va.left <= vb.right && va.right >= vb.left && va.top <= vb.bottom &&
                va.bottom >= vb.top)
                return true;
    return false;
}

bool MapMaster::RectContains(const CellRect& outer, const CellRect& inner) const {
    auto contains = [](const CellRect& r, int32_t x, int32_t y) {
        return r.left <= x && x < r.right && r.top <= y && y < r.bottom;
    };
    for (const CellRect& vo : SeamVariants(outer, worldcellx, worldcelly)) {
        const CellRect o = Normalised(vo);
        for (const CellRect& vi : SeamVariants(inner, worldcellx, worldcelly)) {
            const CellRect i = Normalised(vi);
            if (contains(o, i.left, i.top) && contains(o, i.right, i.bottom)) return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------------------
// Placing and removing holders

namespace {

void SetCornerCell(ObjectHolder* holder, int k, CellPoint cell) {
    holder->m_Corners[k].column = cell.x;
    holder->m_Corners[k].row = cell.y;
}

}  // namespace

int MapMaster::PlaceInCell(Position& pos, ObjectHolder* holder, ObjectIgnoreList* blockers,
                           int keepcarrier, bool anchor) {
    Object* obj = holder->m_pObject;
    Position p = pos;
    // A creature that lands on an obstacle is pushed east 5 pixels at a time
    // until it fits; it fails when the push leaves the window (or has gone
    // round the whole world), and the caller's position is then unchanged.
    const bool pushable = anchor && obj && obj->Type() == 3;
    int32_t pushesLeft = pushable ? worldpixelx / 5 + 1 : 0;
    for (;;) {
        CellPoint wc;
        if (!WindowCellOf(p, wc)) return 0;
        ObjectHolder* hit = CheckMove(obj, p, blockers, keepcarrier, 1);
        if (hit) {
            Object* platform = hit != blocker ? hit->m_pObject : nullptr;
            MapDeck* deck = platform && platform->Type() == 12 ? AsMapDeck(platform) : nullptr;
            if (deck && !CheckMoveInList(obj, p, blockers, 0, deck->MapCarried())) {
                platform->StepOn(&p, obj);
                if (!WindowCellOf(p, wc)) return 0;
            } else if (pushesLeft-- > 0) {
                p.x += 5;
                WrapPosition(p);
                continue;
            } else {
                return 0;
            }
        }
        windowcell = wc;
        CellPoint world{wc.x + origin.x, wc.y + origin.y};
        if (world.x >= worldcellx) world.x -= worldcellx;
        if (world.y >= worldcelly) world.y -= worldcelly;
        // The drawing order is decided where the holder now stands.
        if (anchor) {
            holder->pos.x = p.x;
            holder->pos.y = p.y;
            holder->pos.z = p.z;
        }
        MapCell& cell = GetCell(wc.x, wc.y);
        if (!cell.holders.Find(holder))
            cell.holders.InsertSorted(holder, world.x, world.y, worldpixelx, worldpixely);
        pos = p;
        return 1;
    }
}

bool MapMaster::PlaceImageCorners(Position& pos, ObjectHolder* holder, ObjectIgnoreList& blockers,
                                  int keepcarrier) {
    const qv::Rect r = FrameRectOf(holder->m_pObject);
    const int32_t xs[4] = {r.left, r.left, r.right, r.right};
    const int32_t ys[4] = {r.top, r.bottom, r.top, r.bottom};
    for (int k = 0; k < 4; ++k) {
        Position c(pos.x + xs[k], pos.y + ys[k], pos.z);
        WrapPosition(c);
        if (!PlaceInCell(c, holder, &blockers, keepcarrier, false)) return false;
        SetCornerCell(holder, k, windowcell);
    }
    return true;
}

int MapMaster::AddHolder(Position& pos, ObjectHolder* holder, ObjectIgnoreList* blockers,
                         int keepcarrier) {
    if (!holder || !holder->m_pObject) return 0;
    Object* obj = holder->m_pObject;
    ObjectIgnoreList own;
    ObjectIgnoreList& ignore = blockers ? *blockers : own;
    WrapPosition(pos);

    const bool byImage = obj->m_iLightSampling >= 2 || obj->GetState() == -1;
    MapWall* wall = obj->Type() == 9 ? AsMapWall(obj) : nullptr;
    // The holder takes the new position before it is entered anywhere, so
    // that every cell orders it where it now stands; a refused placement
    // gives it back the one it had.
    const Position before = holder->pos;
    auto refuse = [&] {
        holder->pos.x = before.x;
        holder->pos.y = before.y;
        holder->pos.z = before.z;
        return 0;
    };
    if (byImage) {
        if (wall) {
            const CellPoint c = PixelToCell(pos);
            const int32_t bx = c.x * CellWidth;
            const int32_t by = c.y * CellHeight;
            switch (wall->MapWallKind()) {
                case 1:
                    pos.x = bx + 80;
                    pos.y = by;
                    break;
                case 2:
                    pos.x = bx;
                    pos.y = by + 56;
                    break;
                case 3:
                    pos.x = bx;
                    pos.y = by;
                    break;
                case 4:
                    pos.x = bx;
                    pos.y = by;
                    pos.z = 45;
                    break;
                default:
                    break;
            }
        }
        if (!PlaceInCell(pos, holder, &ignore, keepcarrier, true)) return refuse();
        const size_t mark = ignore.size();
        ignore.push_back(obj);
        const bool placed = PlaceImageCorners(pos, holder, ignore, keepcarrier);
        ignore.resize(mark);
        if (!placed) {
            RemoveHolder(pos, holder);
            return refuse();
        }
    } else {
        if (!PlaceInCell(pos, holder, &ignore, keepcarrier, true)) return refuse();
        SetCornerCell(holder, 0, windowcell);
    }

    holder->pos.x = pos.x;
    holder->pos.y = pos.y;
    holder->pos.z = pos.z;
    const bool inWindow = LocateInWindow(pos);
    MapCell* placedCell = inWindow ? &GetCell(windowcell.x, windowcell.y) : nullptr;
    obj->SetPosition(placedCell, &pos);
    if (inWindow) {
        MapCell& cell = *placedCell;
        if (wall) {
            holder->m_bMapListed = true;
            switch (wall->MapWallKind()) {
                case 1:
                    cell.northwall = holder;
                    break;
                case 2:
                    cell.westwall = holder;
                    break;
                case 3:
                    cell.corner = holder;
                    break;
                default:
                    break;
            }
        }
        if (MapLamp* light = LampOf(obj)) {
            light->MapPlaced(placedCell, &pos);
            if (std::none_of(lightholders.begin(), lightholders.end(),
                             [&](const auto& h) { return h.Get() == holder; }))
                lightholders.emplace_back(holder);
            holder->m_bMapListed = true;
        }
    }
    // Edge pieces and platforms (drawbridges) decide steps.
    const int type = obj->Type();
    if (type == WALL || type == TRAVERSABLE) NoteStepChange();
    // A creature is never a fixture: asked first, it spares the others.
    if (type != 3 && obj->m_bMoveable == 0 && obj->CanInteract()) {
        if (std::none_of(fixtures.begin(), fixtures.end(),
                         [&](const auto& h) { return h.Get() == holder; }))
            fixtures.emplace_back(holder);
        holder->m_bMapListed = true;
    }
    return 1;
}

void MapMaster::ForgetHolder(ObjectHolder* holder) {
    if (!holder->m_bMapListed) return;
    auto drop = [holder](std::vector<qv::Handle<ObjectHolder>>& list) {
        std::erase_if(list, [holder](const auto& h) { return !h || h.Get() == holder; });
    };
    drop(lightholders);
    drop(fixtures);
}

int MapMaster::RemoveHolder(const Position& pos, ObjectHolder* holder) {
    if (!holder) return 0;
    bool removed = false;
    auto removeAt = [&](CellPoint wc) {
        if (IsWindowCell(wc.x, wc.y)) removed |= GetCell(wc.x, wc.y).holders.Remove(holder);
    };
    // The cell of the given position, the cell the holder stands in and the
    // cells recorded at placement, whatever the image's frame is now.
    std::array<CellPoint, 6> cells;
    size_t count = 0;
    CellPoint wc;
    if (WindowCellOf(pos, wc)) cells[count++] = wc;
    if (!(holder->pos == pos) && WindowCellOf(holder->pos, wc)) cells[count++] = wc;
    for (int k = 0; k < 4; ++k) {
        const ObjectHolder::CellRef c = holder->m_Corners[k];
        if (c.column >= 0 && c.row >= 0) cells[count++] = {c.column, c.row};
        SetCornerCell(holder, k, {-1, -1});
    }
    for (size_t n = 0; n < count; ++n) {
        removeAt(cells[n]);
        // Edge pieces: only a slot that holds this very piece is cleared.
        if (!holder->m_bMapListed || !IsWindowCell(cells[n].x, cells[n].y)) continue;
        MapCell& cell = GetCell(cells[n].x, cells[n].y);
        if (cell.northwall == holder) cell.northwall = nullptr;
        if (cell.westwall == holder) cell.westwall = nullptr;
        if (cell.corner == holder) cell.corner = nullptr;
    }
    // Edge pieces and platforms (drawbridges) decide steps.
    if (Object* obj = holder->m_pObject)
        if (const int type = obj->Type(); type == WALL || type == TRAVERSABLE) NoteStepChange();
    ForgetHolder(holder);
    return removed ? 1 : 0;
}

int MapMaster::MoveHolder(Position& pos, const Position& newpos, ObjectHolder* holder,
                          ObjectIgnoreList* blockers) {
    if (!holder) return 0;
    const Position old = pos;
    RemoveHolder(old, holder);
    Position target = newpos;
    WrapPosition(target);
    ObjectIgnoreList own;
    if (AddHolder(target, holder, blockers ? blockers : &own, 1)) {
        pos = target;
        return 1;
    }
    // Refused: the holder goes back where it stood, so that it is not lost.
    Position back = old;
    ObjectIgnoreList none;
    AddHolder(back, holder, &none, 1);
    return 0;
}

bool MapMaster::IsListedAnywhere(const ObjectHolder* holder) const {
    for (const MapCell& cell : m_cells) {
        if (cell.holders.Find(holder)) return true;
        if (cell.northwall == holder || cell.westwall == holder || cell.corner == holder)
            return true;
    }
    for (const auto& h : lightholders)
        if (h.Get() == holder) return true;
    for (const auto& h : fixtures)
        if (h.Get() == holder) return true;
    return false;
}

// ---------------------------------------------------------------------------
// Exploring, the mini-map and the focus test

bool MapMaster::IsExplored(CellPoint cell) const {
    if (cell.x < 0 || cell.y < 0 || cell.x >= worldcellx || cell.y >= worldcelly) return false;
    return (explored[static_cast<size_t>(cell.x / 8)][static_cast<size_t>(cell.y)] &
            bitmask[static_cast<size_t>(cell.x % 8)]) != 0;
}

void MapMaster::SetExplored(CellPoint cell) {
    if (cell.x < 0 || cell.y < 0 || cell.x >= worldcellx || cell.y >= worldcelly) return;
    explored[static_cast<size_t>(cell.x / 8)][static_cast<size_t>(cell.y)] |=
        bitmask[static_cast<size_t>(cell.x % 8)];
}

void MapMaster::ExploreAroundFocus() {
    CellPoint fw;
    if (!CellToWindow(focuscell, fw)) return;
    for (int32_t j = -2; j <= 2; ++j) {
        for (int32_t i = -2; i <= 2; ++i) {
            CellPoint c{focuscell.x + i, focuscell.y + j};
            WrapCell(c);
            if (!IsLineClear(fw.x, fw.y, i, j)) continue;
            SetExplored(c);
            const int32_t dx = fw.x + i;
            const int32_t dy = fw.y + j;
            if (IsWindowCell(dx, dy)) PlotMinimapCell(dx, dy, -1, 4);
        }
    }
}

uint8_t MapMaster::GetMinimapPixel(int32_t x, int32_t y) const {
    return m_minimapBits->GetPixel(x, y);
}

void MapMaster::FillMinimap(uint8_t colour) {
    m_minimapBits->FillRect(0, 0, MinimapWidth, MinimapHeight, colour);
}

int32_t MapMaster::MinimapColour(int32_t imagetype) {
    switch (imagetype) {
        case 0:
        case 12:
            return 92;
        case 3:
            return 38;
        case 4:
        case 8:
        case 10:
            return 46;
        case 5:
            return 2;
        case 6:
            return 87;
        case 11:
            return 245;
        case 13:
            return 255;
        case 14:
            return 20;
        default:
            return 37;
    }
}

void MapMaster::PlotMinimapCell(int32_t dx, int32_t dy, int32_t colour, int which) {
    if (!(dx >= 0 && dx < wide && dy >= 0 && dy < high)) {
        AssertFailed(__LINE__, __FILE__, "dx >= 0 && dx < wide && dy >=0 && dy < high");
        return;  // whatever the answer, never write outside the picture
    }
    CellPoint world{dx + origin.x, dy + origin.y};
    WrapCell(world);
    uint8_t value = 0;
    if (IsExplored(world)) {
        value =
            static_cast<uint8_t>(colour == -1 ? MinimapColour(GetCell(dx, dy).imagetype) : colour);
    }
    auto put = [&](int32_t px, int32_t py) { m_minimapBits->SetPixel(px, py, value); };
    const int32_t x = 2 * dx;
    const int32_t y = 2 * dy;
    switch (which) {
        case 0:
            put(x, y);
            break;
        case 1:
            put(x + 1, y);
            break;
        case 2:
            put(x, y + 1);
            break;
        case 3:
            put(x + 1, y + 1);
            break;
        default:
            put(x, y);
            put(x + 1, y);
            put(x, y + 1);
            put(x + 1, y + 1);
            break;
    }
}

int MapMaster::CheckFocusEdge(const Position& pos) {
    Position p = pos;
    WrapPosition(p);
    const CellPoint c = PixelToCell(p);
    auto offset = [&](CellPoint cell) {
        CellPoint o;
        CellToWindow(cell, o);
        return o;
    };
    const CellPoint oc = offset(c);
    const CellPoint of = offset(focuscell);
    if (oc.x != of.x && (oc.x < lightmarginx + 4 || oc.x > wide - lightmarginx - 6))
        return Object::kWorldChanged;
    if (oc.y == of.y) return 1;
    if (oc.y < lightmarginy + 3 || oc.y > high - lightmarginy - 3) return Object::kWorldChanged;
    return 1;
}

// The holder's own entry to the drawing-order rule, measured across the seam
// of the running map's world.
int ObjectHolder::IsInFrontOf(ObjectHolder* other, int column, int row) {
    if (!other) return 0;
    const MapMaster* map = GetMapMaster();
    return IsHolderInFrontOf(*this, *other, column, row, map ? map->worldpixelx : 0,
                             map ? map->worldpixely : 0)
               ? 1
               : 0;
}
