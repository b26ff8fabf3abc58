#include "shell/MapView.h"

#include <algorithm>
#include <cstdio>

#include "creatures/Player.h"
#include "items/Magic.h"
#include "media/DDObjects.h"
#include "structures/Walls.h"
#include "world/Object.h"
#include "world/ObjectHolder.h"
#include "world/World.h"

namespace {

// The 25 cells around the cursor's cell, front to back: the hover search
// finds what is drawn on top first.
constexpr qv::Point kHoverSearchOrder[25] = {
    {2, 2},  {1, 2},  {2, 1},   {0, 2},  {1, 1},   {2, 0},   {-1, 2},  {0, 1},  {1, 0},
    {2, -1}, {-2, 2}, {-1, 1},  {0, 0},  {1, -1},  {2, -2},  {-2, 1},  {-1, 0}, {0, -1},
    {1, -2}, {-2, 0}, {-1, -1}, {0, -2}, {-2, -1}, {-1, -2}, {-2, -2},
};

// Draw modes handed to Object::Draw.
constexpr int kModeNormal = 1, kModeSeeThrough = 2, kModeHover = 5, kModeHoverSeeThrough = 6;

// The mini-map's picture starts a little left of and above its place, and
// shows a window cell as 2 x 2 pixels.
constexpr int kMinimapOffsetX = 3;
constexpr int kMinimapOffsetY = 2;
constexpr int kMinimapCellPixels = 2;

// The cells Tab looks through around the focus cell of the last frame: three
// columns either side, two rows behind and three in front.
constexpr int kPickLeft = 3, kPickRight = 3, kPickUp = 2, kPickDown = 3;

bool IsOpponentOf(const Player* creature, const Object* object) {
    return std::any_of(creature->m_Opponents.begin(), creature->m_Opponents.end(),
                       [object](const qv::Handle<Player>& h) { return h.Get() == object; });
}

}  // namespace

MapMaster* CMapView::Map() const {
    return m_World.map_master.get();
}

void CMapView::Place(qv::Point origin) {
    m_ptViewOrigin = {origin.x + 3, origin.y + 3};
    m_rcView = {m_ptViewOrigin.x, m_ptViewOrigin.y, m_ptViewOrigin.x + m_szView.x,
                m_ptViewOrigin.y + m_szView.y};
    m_ptMinimapOrigin = {origin.x + 207, origin.y + 371};
}

Position CMapView::ViewToWorld(qv::Point client) const {
    const qv::Point v = GetViewPoint(client);
    const int32_t vx = v.x - m_ptViewCentre.x;
    const int32_t vy = v.y - m_ptViewCentre.y;
    return Position(m_World.m_ptFocus.x + vx + vy, m_World.m_ptFocus.y + vy, 0);
}

bool CMapView::MinimapToWorld(qv::Point client, Position& out) const {
    const MapMaster* map = Map();
    if (!map) return false;
    const int mx = client.x - m_ptMinimapOrigin.x + kMinimapOffsetX;
    const int my = client.y - m_ptMinimapOrigin.y + kMinimapOffsetY;
    if (mx <= 0 || mx >= MapMaster::MinimapWidth || my <= 0 || my >= MapMaster::MinimapHeight)
        return false;
    out = MapMaster::CellCentre(
        {map->origin.x + mx / kMinimapCellPixels, map->origin.y + my / kMinimapCellPixels});
    map->WrapPosition(out);
    return true;
}

bool CMapView::IsSeeThrough(int cx, int cy, Object* object) {
    const bool wall = dynamic_cast<Wall*>(object) != nullptr;
    if (cy == 1 && cx >= -1 && cx <= 1 && dynamic_cast<FrontWall*>(object)) return true;
    if (cy == 1 && (cx == 0 || cx == 1) && dynamic_cast<Peg*>(object)) return true;
    if ((cy == 1 || cy == 0) && cx == 1 && dynamic_cast<SideWall*>(object)) return true;
    if (cy == 0 && (cx == 0 || cx == 1) && !wall) return true;
    if ((cy == 1 || cy == 2) && cx >= -1 && cx <= 1 && !wall) return true;
    return false;
}

bool CMapView::IsInDrawRange(int i, int j) const {
    return i >= m_ptDrawFocusCell.x - kRangeLeft && i <= m_ptDrawFocusCell.x + kRangeRight &&
           j >= m_ptDrawFocusCell.y - kRangeUp && j <= m_ptDrawFocusCell.y + kRangeDown &&
           MapMaster::IsWindowCell(i, j);
}

uint8_t& CMapView::CellDrawnMark(int i, int j) {
    const int c = i - (m_ptDrawFocusCell.x - kRangeLeft);
    const int r = j - (m_ptDrawFocusCell.y - kRangeUp);
    return m_CellDrawn[static_cast<size_t>(r * kRangeColumns + c)];
}

void CMapView::DrawScene(qv::Surface& draw) {
    MapMaster* map = Map();
    if (!map) return;
    // The map's part reads the world as play's tick left it: the light it
    // computed for the focus (the map's screen centre), drawn on the floor.
    // A focus moved since (between two ticks) waits for the next tick's
    // light: the map's part of the view is not drawn until then.
    const Position focus(m_World.m_ptFocus.x, m_World.m_ptFocus.y, 0);
    int32_t sx = 0, sy = 0;
    map->WorldToScreen(focus, sx, sy);
    const qv::Point corner{sx - m_ptViewCentre.x, sy - m_ptViewCentre.y};
    const bool fits = corner.x >= 0 && corner.y >= 0 && corner.x + m_szView.x <= 640 &&
                      corner.y + m_szView.y <= 480;
    if (!fits) return;
    if (!m_pViewSurface) m_pViewSurface = std::make_unique<qv::Surface>(640, 480);
    qv::Surface& scene = *m_pViewSurface;
    // The view's corner on the scene: the focus's screen point less the
    // view centre.
    m_ptDrawCorner = corner;
    const qv::Rect view{m_ptDrawCorner.x, m_ptDrawCorner.y, m_ptDrawCorner.x + m_szView.x,
                        m_ptDrawCorner.y + m_szView.y};
    scene.FillRect(view, 0);
    map->DrawFloor(scene, m_World.m_iGameTime);

    CellPoint fw;
    if (map->CellToWindow(map->focuscell, fw)) {
        m_ptDrawFocusCell = fw;
        m_CellDrawn.fill(0);
        for (int j = fw.y - kRangeUp; j <= fw.y + kRangeDown; ++j)
            for (int i = fw.x - kRangeLeft; i <= fw.x + kRangeRight; ++i)
                if (IsInDrawRange(i, j)) DrawCellObjects(i, j, nullptr, j);
        m_CellDrawn.fill(0);
    }
    draw.Blt({m_rcView.left, m_rcView.top}, scene, view);
}

void CMapView::ClearDrawnMarks() {
    for (ObjectHolder* h : m_DrawnHolders) h->m_bDrawn = 0;
    m_DrawnHolders.clear();
}

void CMapView::Release() {
    m_pViewSurface.reset();
    m_DrawnHolders.clear();
}

void CMapView::DrawCellObjects(int i, int j, ObjectHolder* stop, int drawRow) {
    if (!IsInDrawRange(i, j) || CellDrawnMark(i, j)) return;
    const ObjectHolderList& list = Map()->GetCell(i, j).holders;
    for (size_t k = 0; k < list.Count(); ++k) {
        ObjectHolder* h = list[k];
        if (h == stop) {
            if (k + 1 == list.Count()) CellDrawnMark(i, j) = 1;
            return;
        }
        Object* obj = h->m_pObject;
        if (h->m_bDrawn == 1 || !obj) continue;
        if (h->m_bDrawn != 2 && obj->m_iLightSampling >= 2) {
            // An object over several cells is drawn once, after what stands
            // behind it in the neighbouring cells it covers.
            h->m_bDrawn = 2;
            int firstCol = h->m_Corners[0].column, lastCol = firstCol;
            int firstRow = h->m_Corners[0].row, lastRow = firstRow;
            for (const auto& c : h->m_Corners) {
                firstCol = std::min(firstCol, c.column);
                lastCol = std::max(lastCol, c.column);
                firstRow = std::min(firstRow, c.row);
                lastRow = std::max(lastRow, c.row);
            }
            if (firstCol != lastCol) {
                if (firstCol == i) {
                    if (IsInDrawRange(i + 1, j)) DrawCellObjects(i + 1, j, h, drawRow);
                } else if (j > drawRow && IsInDrawRange(i - 1, j)) {
                    DrawCellObjects(i - 1, j, h, drawRow);
                }
            }
            if (firstRow != lastRow && firstRow == j && IsInDrawRange(i, j + 1))
                DrawCellObjects(i, j + 1, h, drawRow);
        }
        if (obj->m_bNotDrawn != -1) DrawHolder(h);
    }
    CellDrawnMark(i, j) = 1;
}

void CMapView::DrawHolder(ObjectHolder* holder) {
    MapMaster* map = Map();
    Object* obj = holder->m_pObject;
    const Position focus(m_World.m_ptFocus.x, m_World.m_ptFocus.y, 0);
    const CellPoint d = map->PixelDelta(focus, holder->pos);
    const qv::Point at{m_ptDrawCorner.x + m_ptViewCentre.x + (d.x - d.y),
                       m_ptDrawCorner.y + m_ptViewCentre.y + d.y};
    holder->m_bDrawn = 1;
    m_DrawnHolders.push_back(holder);
    if (obj->GetTag() != 0) return;
    Position wrapped = holder->pos;
    map->WrapPosition(wrapped);
    const CellPoint offset = map->CellDelta(map->focuscell, MapMaster::PixelToCell(wrapped));
    const bool seeThrough = IsSeeThrough(offset.x, offset.y, obj);
    const bool hovered = m_World.m_pHoverHolder.Get() == holder;
    const int mode = hovered ? (seeThrough ? kModeHoverSeeThrough : kModeHover)
                             : (seeThrough ? kModeSeeThrough : kModeNormal);
    const qv::Rect view{m_ptDrawCorner.x, m_ptDrawCorner.y, m_ptDrawCorner.x + m_szView.x,
                        m_ptDrawCorner.y + m_szView.y};
    obj->Draw(m_pViewSurface.get(), at, view, holder->pos, mode);
}

ObjectHolder* CMapView::HolderAt(int x, int y, const std::function<bool(ObjectHolder*)>& candidate,
                                 bool& inView) const {
    MapMaster* map = Map();
    CellPoint wc{};
    Position world = ViewToWorld({x, y});
    if (map) map->WrapPosition(world);
    inView = m_rcView.Contains({x, y}) && map && map->WindowCellOf(world, wc);
    if (!inView) return nullptr;

    const Position focus(m_World.m_ptFocus.x, m_World.m_ptFocus.y, 0);
    // The point relative to a holder's picture: where the holder's hot spot
    // lands on the screen, as the drawing places it.
    auto relative = [&](ObjectHolder* h) {
        const CellPoint d = map->PixelDelta(focus, h->pos);
        return qv::Point{x - (m_ptViewOrigin.x + m_ptViewCentre.x + d.x - d.y),
                         y - (m_ptViewOrigin.y + m_ptViewCentre.y + d.y)};
    };
    auto opaque = [&](ObjectHolder* h) {
        CDDObject* image = h->m_pObject->GetImage();
        return image && image->HitTest(relative(h), image->CurrentFrame()) != 0;
    };
    auto inBox = [&](ObjectHolder* h) {
        CDDObject* image = h->m_pObject->GetImage();
        return image && image->BoxContains(relative(h));
    };
    ObjectHolder* found = nullptr;
    for (int pass = 0; pass < 2 && !found; ++pass) {
        for (const qv::Point& o : kHoverSearchOrder) {
            const int i = wc.x + o.x, j = wc.y + o.y;
            if (!MapMaster::IsWindowCell(i, j)) continue;
            for (ObjectHolder* h : map->GetCell(i, j).holders) {
                if (found && h->Type() != WALL) continue;
                if (!candidate(h) || !(pass == 0 ? opaque(h) : inBox(h))) continue;
                found = h;
            }
            if (found) break;
        }
    }
    return found;
}

std::string CMapView::TargetText(ObjectHolder* holder) const {
    if (!holder || !holder->m_pObject) return {};
    Object* obj = holder->m_pObject;
    std::string text = dynamic_cast<Wall*>(obj) ? std::string("Door") : obj->GetDisplayName();
    auto* creature = dynamic_cast<Player*>(obj);
    if (!creature || m_World.FindPartySlot(creature) < 0) return text;
    char line[64];
    std::snprintf(line, sizeof line, "\nHP: %d/%d", creature->m_iHitPoints,
                  creature->m_iMaxHitPoints);
    text += line;
    std::snprintf(line, sizeof line, "\nAlertness: %d", creature->m_iAlertness / 10);
    text += line;
    if (creature->m_pMagic) {
        std::snprintf(line, sizeof line, "\nMANA: %d/%d",
                      static_cast<int>(creature->m_pMagic->m_uMana),
                      static_cast<int>(creature->m_pMagic->m_uMaxMana));
        text += line;
    }
    return text;
}

std::vector<ObjectHolder*> CMapView::TabCandidates(bool editing, const Player* leader) const {
    std::vector<ObjectHolder*> found;
    const MapMaster* map = Map();
    if (!map) return found;
    const bool fighting = leader && leader->HasOpponents();
    const CellPoint fc = DrawFocusCell();
    for (int j = fc.y - kPickUp; j <= fc.y + kPickDown; ++j) {
        for (int i = fc.x - kPickLeft; i <= fc.x + kPickRight; ++i) {
            if (!MapMaster::IsWindowCell(i, j)) continue;
            for (ObjectHolder* h : map->GetCell(i, j).holders) {
                Object* obj = h->m_pObject;
                if (!obj || !obj->CanInteract()) continue;
                if (obj->m_bNotDrawn != 0 && !editing) continue;
                if (fighting && !IsOpponentOf(leader, obj)) continue;
                // An object over several cells is listed in each of them.
                if (std::find(found.begin(), found.end(), h) != found.end()) continue;
                found.push_back(h);
            }
        }
    }
    return found;
}
