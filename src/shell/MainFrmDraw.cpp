// Drawing a frame of the game: the lit floor around the focus, the objects of
// the visible cells back to front, the name under the cursor, the cursor, the
// pause bar and the mini-map; and the search for what lies under the cursor.

#include <algorithm>

#include "creatures/Player.h"
#include "media/DDString.h"
#include "media/DirectDraw.h"
#include "media/MouseCursor.h"
#include "platform/Message.h"
#include "shell/MainFrm.h"
#include "structures/Walls.h"
#include "world/Global.h"
#include "world/Map.h"

namespace {

// The visible range around the focus window cell: three columns either
// side, two rows behind and three in front.
constexpr int kRangeLeft = 3, kRangeRight = 3, kRangeUp = 2, kRangeDown = 3;
constexpr int kRangeColumns = kRangeLeft + kRangeRight + 1;

// The 25 cells around the cursor's cell, front to back: the hover search
// finds what is drawn on top first.
constexpr qv::Point kHoverOrder[25] = {
    {2, 2},  {1, 2},  {2, 1},   {0, 2},  {1, 1},   {2, 0},   {-1, 2},  {0, 1},  {1, 0},
    {2, -1}, {-2, 2}, {-1, 1},  {0, 0},  {1, -1},  {2, -2},  {-2, 1},  {-1, 0}, {0, -1},
    {1, -2}, {-2, 0}, {-1, -1}, {0, -2}, {-2, -1}, {-1, -2}, {-2, -2},
};

// Draw modes handed to Object::Draw.
constexpr int kModeNormal = 1, kModeSeeThrough = 2, kModeHover = 5, kModeHoverSeeThrough = 6;

constexpr int kHoldGroundX = 400, kHoldGroundY = 450;
constexpr qv::Point kPauseBarAt{390, 330};
constexpr qv::Rect kPauseBarClip{390, 330, 515, 355};
constexpr int kTextColour = 255;

// Draws an image cell on the surface; a lost surface is restored and the
// drawing tried once more.
void DrawRestoring(CDDObject* image, qv::Surface* surface, qv::Point at, const qv::Rect& clip,
                   int column) {
    if (!image || !surface) return;
    int row = 0;
    if (image->DrawFrame(surface, at, clip, column, row) == qv::kDrawSurfaceLost) {
        surface->Restore();
        image->Restore();
        image->DrawFrame(surface, at, clip, column, row);
    }
}

}  // namespace

std::string CMainFrame::DDErrorString(unsigned code) {
    switch (code) {
        case 0:
            return "";
        case 0x80004005u:
            return "Direct Draw Generic Error";
        case 0x80004001u:
            return "Direct Draw Unsupported";
        case 0x80070057u:
            return "Direct Draw Invalid Parameters";
        case 0x88760037u:
            return "Direct Draw Exception";
        case 0x88760082u:
            return "Direct Draw Invalid Object";
        case 0x88760096u:
            return "Direct Draw Invalid Rect";
        case 0x887601AEu:
            return "Direct Draw Surface Busy";
        case 0x887601C2u:
            return "Direct Draw Surface Lost";
        case 0x8876023Fu:
            return "Direct Draw No Blit Hardware";
        default:
            return "Direct Draw Default Error";
    }
}

std::string CMainFrame::DDRestoreErrorString(unsigned code) {
    switch (code) {
        case 0:
            return "";
        case 0x80004005u:
            return "Direct Draw Restore - Generic Error";
        case 0x80004001u:
            return "Direct Draw Restore - Unsupported";
        case 0x80070057u:
            return "Direct Draw Restore - Invalid Parameters";
        case 0x8007000Eu:
            return "Direct Draw Restore - Out of Memory";
        case 0x8876005Fu:
            return "Direct Draw Restore - Incompatible Primary";
        case 0x88760082u:
            return "Direct Draw Restore - Invalid Object";
        case 0x887600E1u:
            return "Direct Draw Restore - No Exclusive Mode";
        case 0x8876024Bu:
            return "Direct Draw Restore - Wrong Mode";
        case 0x8876024Cu:
            return "Direct Draw Restore - Implicitly Created Surface";
        default:
            return "Direct Draw Restore Default Error";
    }
}

void CMainFrame::DDErrorText(unsigned code) {
    const std::string text = DDErrorString(code);
    if (!text.empty()) qv::ShowMessage(text, qv::MessageButtons::Ok, "DirectDraw Error");
}

void CMainFrame::DDRestoreErrorText(unsigned code) {
    const std::string text = DDRestoreErrorString(code);
    if (!text.empty()) qv::ShowMessage(text, qv::MessageButtons::Ok, "DirectDraw Error");
}

// Our surfaces report a loss as kDrawSurfaceLost; the error texts know it by
// its DirectDraw code.
static unsigned ErrorCode(int result) {
    return result == qv::kDrawSurfaceLost ? kDDErrSurfaceLost : kDDErrInvalidObject;
}

int CMainFrame::CopyWithRetries(qv::Surface& to, qv::Point at, qv::Surface& from,
                                const qv::Rect& source) {
    int result = to.Blt(at, from, source);
    for (int tries = 0; result == qv::kDrawSurfaceLost && tries < kSurfaceRetries; ++tries) {
        // A surface that cannot be restored is reported by name and the
        // copy tried all the same.
        if (const int r = to.Restore(); r != qv::kDrawOk) {
            qv::ShowMessage("Error Restoring Primary Surface", qv::MessageButtons::Ok,
                            "DirectDraw Error");
            DDRestoreErrorText(ErrorCode(r));
        }
        if (const int r = from.Restore(); r != qv::kDrawOk) {
            qv::ShowMessage("Error Restoring Screen Surface", qv::MessageButtons::Ok,
                            "DirectDraw Error");
            DDRestoreErrorText(ErrorCode(r));
        }
        result = to.Blt(at, from, source);
    }
    return result;
}

Position CMainFrame::ViewToWorld(qv::Point client) const {
    const qv::Point v = GetViewPoint(client);
    const int32_t vx = v.x - m_ptViewCentre.x;
    const int32_t vy = v.y - m_ptViewCentre.y;
    return Position(m_World.m_ptFocus.x + vx + vy, m_World.m_ptFocus.y + vy, 0);
}

bool CMainFrame::IsSeeThrough(int cx, int cy, Object* object) {
    const bool wall = dynamic_cast<Wall*>(object) != nullptr;
    if (cy == 1 && cx >= -1 && cx <= 1 && dynamic_cast<FrontWall*>(object)) return true;
    if (cy == 1 && (cx == 0 || cx == 1) && dynamic_cast<Peg*>(object)) return true;
    if ((cy == 1 || cy == 0) && cx == 1 && dynamic_cast<SideWall*>(object)) return true;
    if (cy == 0 && (cx == 0 || cx == 1) && !wall) return true;
    if ((cy == 1 || cy == 2) && cx >= -1 && cx <= 1 && !wall) return true;
    return false;
}

bool CMainFrame::IsInDrawRange(int i, int j) const {
    return i >= m_ptDrawFocusCell.x - kRangeLeft && i <= m_ptDrawFocusCell.x + kRangeRight &&
           j >= m_ptDrawFocusCell.y - kRangeUp && j <= m_ptDrawFocusCell.y + kRangeDown &&
           MapMaster::IsWindowCell(i, j);
}

uint8_t& CMainFrame::CellDrawnMark(int i, int j) {
    const int c = i - (m_ptDrawFocusCell.x - kRangeLeft);
    const int r = j - (m_ptDrawFocusCell.y - kRangeUp);
    return m_CellDrawn[static_cast<size_t>(r * kRangeColumns + c)];
}

int CMainFrame::DrawFrame(int skipMap) {
    qv::Surface* draw = m_pDrawSurface;
    if (!draw) return 0;
    MapMaster* map = Map();

    // The map's part reads the world as play's tick left it: the light it
    // computed for the focus (the map's screen centre), drawn on the floor.
    // A focus moved since (between two ticks) waits for the next tick's
    // light: the map's part of the view is not drawn until then.
    const Position focus(m_World.m_ptFocus.x, m_World.m_ptFocus.y, 0);
    int32_t sx = 0, sy = 0;
    if (map) map->WorldToScreen(focus, sx, sy);
    const qv::Point corner{sx - m_ptViewCentre.x, sy - m_ptViewCentre.y};
    const bool fits = corner.x >= 0 && corner.y >= 0 && corner.x + m_szView.x <= 640 &&
                      corner.y + m_szView.y <= 480;
    if (!skipMap && map && fits) {
        if (!m_pViewSurface) m_pViewSurface = std::make_unique<qv::Surface>(640, 480);
        qv::Surface& scene = *m_pViewSurface;
        // The view's corner on the scene: the focus's screen point less the
        // view centre.
        m_ptDrawCorner = corner;
        scene.FillRect({m_ptDrawCorner.x, m_ptDrawCorner.y, m_ptDrawCorner.x + m_szView.x,
                        m_ptDrawCorner.y + m_szView.y},
                       0);
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
        const qv::Rect view{m_ptDrawCorner.x, m_ptDrawCorner.y, m_ptDrawCorner.x + m_szView.x,
                            m_ptDrawCorner.y + m_szView.y};
        draw->Blt({m_rcView.left, m_rcView.top}, scene, view);
    }

    // The name of the hovered object, kept inside the view.
    ObjectHolder* hover = m_World.m_pHoverHolder.Get();
    if (hover && hover->m_pObject && !m_Play.m_bTabTarget) {
        Object* obj = hover->m_pObject;
        std::string name = obj->GetDisplayName();
        if (dynamic_cast<Wall*>(obj))
            name = (dynamic_cast<FrontDoorBrick*>(obj) || dynamic_cast<SideDoorBrick*>(obj))
                       ? std::string()
                       : std::string("Door");
        if (!name.empty()) {
            const int width = kCharWidth * static_cast<int>(name.size());
            int x = std::max(m_ptCursor.x, m_rcView.left + 1);
            int y = std::max(m_ptCursor.y - 15, m_rcView.top + 1);
            if (x + width > m_rcView.right - 1) x = m_rcView.right - width - 1;
            if (y + kCharHeight > m_rcView.bottom - 1) y = m_rcView.bottom - kCharHeight - 1;
            CDDString::DrawText(draw, {x, y}, m_rcView, name, kTextColour);
        }
    }

    if (CMouseCursor* cursor = GetMouseCursor(); cursor && cursor->m_pSurface == draw)
        cursor->RedrawCursorInRect(m_rcView, 1);

    int result = 1;
    if (m_bWindowed && m_pPrimary && draw != m_pPrimary.get()) {
        int copy =
            CopyWithRetries(*m_pPrimary, {m_ptViewOrigin.x, m_ptViewOrigin.y}, *draw, m_rcView);
        if (copy != qv::kDrawOk) {
            if (copy == qv::kDrawSurfaceLost)
                qv::ShowMessage("Repeated Surface Loss", qv::MessageButtons::Ok,
                                "DirectDraw Error");
            DDErrorText(ErrorCode(copy));
            result = 0;
        }
        // The window is shown once the tick (or the paint) has drawn all.
    }

    for (ObjectHolder* h : m_DrawnHolders) h->m_bDrawn = 0;
    m_DrawnHolders.clear();
    if (m_Play.m_OpenWindows.m_bContainerOpen && m_Play.m_OpenWindows.m_pContainerWnd) {
        m_Play.m_OpenWindows.m_pContainerWnd->Redraw();
        return 1;
    }
    return result;
}

void CMainFrame::DrawCellObjects(int i, int j, ObjectHolder* stop, int drawRow) {
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
        if (obj->m_bNotDrawn != -1) DrawHolder(h, i, j);
    }
    CellDrawnMark(i, j) = 1;
}

void CMainFrame::DrawHolder(ObjectHolder* holder, int, int) {
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

int CMainFrame::RedrawMapCell(int) {
    MapMaster* map = Map();
    if (!map || !m_pDrawSurface) return 0;
    CellPoint w;
    map->CellToWindow(map->focuscell, w);
    if (!QV_CHECK(w.x >= 0 && w.x < map->wide && w.y >= 0 && w.y < map->high)) return 0;
    map->PlotMinimapCell(w.x, w.y, kTextColour, 4);
    CDDObject& minimap = map->GetMinimap();
    minimap.Load();
    qv::Surface* picture = minimap.GetFrameSurface(0);
    if (!picture) return 0;
    const int result =
        CopyWithRetries(*m_pDrawSurface, m_ptMinimapOrigin, *picture, picture->Bounds());
    if (result != qv::kDrawOk) {
        if (result == qv::kDrawSurfaceLost)
            qv::ShowMessage("Repeated Surface Loss", qv::MessageButtons::Ok, "DirectDraw Error");
        DDErrorText(ErrorCode(result));
        return 0;
    }
    if (CMouseCursor* cursor = GetMouseCursor(); cursor && cursor->m_pSurface == m_pDrawSurface)
        cursor->RedrawCursorInRect({m_ptMinimapOrigin.x, m_ptMinimapOrigin.y,
                                    m_ptMinimapOrigin.x + MapMaster::MinimapWidth,
                                    m_ptMinimapOrigin.y + MapMaster::MinimapHeight},
                                   1);
    map->PlotMinimapCell(w.x, w.y, -1, 4);
    return 1;
}

void CMainFrame::DrawPauseBar() {
    qv::Surface* draw = m_pDrawSurface;
    if (!draw) return;
    DrawRestoring(m_pPauseBarFrame.get(), draw, kPauseBarAt, kPauseBarClip, 0);
    const qv::Rect fill{393, 333, 393 + PauseBarFill(), 352};
    if (!fill.IsEmpty()) DrawRestoring(m_pPauseBarFill.get(), draw, kPauseBarAt, fill, 0);
}

void CMainFrame::DrawHoldGroundButton() {
    qv::Surface* draw = m_pDrawSurface;
    if (!draw || !m_pHoldGroundButton) return;
    CDDObject* image = m_pHoldGroundButton.get();
    int column = m_Play.m_bHoldGround ? 1 : 0;
    int row = 0;
    const int mode = m_rcHoldGroundButton.Contains(m_ptCursor) ? kDrawModeHover : kDrawModePlain;
    if (image->DrawFrame(draw, {kHoldGroundX, kHoldGroundY}, draw->Bounds(), column, row, mode) ==
        qv::kDrawSurfaceLost) {
        draw->Restore();
        image->Restore();
        image->DrawFrame(draw, {kHoldGroundX, kHoldGroundY}, draw->Bounds(), column, row, mode);
    }
    if (CMouseCursor* cursor = GetMouseCursor(); cursor && cursor->m_pSurface == draw)
        cursor->RedrawCursorInRect(m_rcHoldGroundButton, 1);
}

void CMainFrame::HoverText(int x, int y) {
    if (m_Play.m_bTabTarget) return;
    MapMaster* map = Map();
    ObjectHolder* before = m_World.m_pHoverHolder.Get();
    ObjectHolder* found = nullptr;
    CellPoint wc{};
    Position world = ViewToWorld({x, y});
    if (map) map->WrapPosition(world);
    const bool inView = m_rcView.Contains({x, y}) && map && map->WindowCellOf(world, wc);

    if (inView) {
        const bool picking = m_Play.m_iSelectMode && !m_Play.m_pDragHolder && m_Play.m_pPendingItem;
        const Position focus(m_World.m_ptFocus.x, m_World.m_ptFocus.y, 0);
        // The cursor relative to a holder's picture: where the holder's hot
        // spot lands on the screen, as the drawing places it.
        auto relative = [&](ObjectHolder* h) {
            const CellPoint d = map->PixelDelta(focus, h->pos);
            return qv::Point{x - (m_ptViewOrigin.x + m_ptViewCentre.x + d.x - d.y),
                             y - (m_ptViewOrigin.y + m_ptViewCentre.y + d.y)};
        };
        auto candidate = [&](ObjectHolder* h) {
            Object* obj = h->m_pObject;
            if (!obj || !(obj->m_bNotDrawn == 0 || m_Play.m_bEditing)) return false;
            if (!(m_Play.m_bEditing ? obj->m_bMoveable != 2 : obj->CanInteract() != 0))
                return false;
            if (picking && !m_Play.m_pPendingItem->IsValidTarget(obj)) return false;
            return true;
        };
        auto opaque = [&](ObjectHolder* h) {
            CDDObject* image = h->m_pObject->GetImage();
            return image && image->HitTest(relative(h), image->CurrentFrame()) != 0;
        };
        auto inBox = [&](ObjectHolder* h) {
            CDDObject* image = h->m_pObject->GetImage();
            return image && image->BoxContains(relative(h));
        };
        for (int pass = 0; pass < 2 && !found; ++pass) {
            for (const qv::Point& o : kHoverOrder) {
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
        if (m_Play.m_iSelectMode && !m_Play.m_pDragHolder)
            m_nCursorID = found ? kCursorTarget : kCursorNoTarget;
    }

    m_World.m_pHoverHolder = found;
    if (found == before) return;
    m_strHoverText = TargetText(found);
    SetMessageLine(m_strHoverText);
}
