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

constexpr int kHoldGroundX = 400, kHoldGroundY = 461;
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

// The text of a drawing error, and of a failed restore, in the message
// box; nothing for 0.
void DDErrorText(unsigned code) {
    const std::string text = DDErrorString(code);
    if (!text.empty()) qv::ShowMessage(text, qv::MessageButtons::Ok, "DirectDraw Error");
}

void DDRestoreErrorText(unsigned code) {
    const std::string text = DDRestoreErrorString(code);
    if (!text.empty()) qv::ShowMessage(text, qv::MessageButtons::Ok, "DirectDraw Error");
}

// Our surfaces report a loss as kDrawSurfaceLost; the error texts know it by
// its DirectDraw code.
unsigned ErrorCode(int result) {
    return result == qv::kDrawSurfaceLost ? kDDErrSurfaceLost : kDDErrInvalidObject;
}

// Copies a rectangle between surfaces, restoring both and trying again after
// a loss, up to the frame's kSurfaceRetries times; the last result.
int CopyWithRetries(qv::Surface& to, qv::Point at, qv::Surface& from, const qv::Rect& source) {
    int result = to.Blt(at, from, source);
    for (int tries = 0; result == qv::kDrawSurfaceLost && tries < CMainFrame::kSurfaceRetries;
         ++tries) {
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

}  // namespace

int CMainFrame::DrawFrame(int skipMap) {
    qv::Surface* draw = m_pDrawSurface;
    if (!draw) return 0;
    if (!skipMap) m_View.DrawScene(*draw);
    const qv::Rect& viewRect = m_View.m_rcView;

    // The name of the hovered object, kept inside the view.
    ObjectHolder* hover = m_World.m_pHoverHolder.Get();
    if (hover && hover->m_pObject && !m_Play.Interacting().IsTabTarget()) {
        Object* obj = hover->m_pObject;
        std::string name = obj->GetDisplayName();
        if (dynamic_cast<Wall*>(obj))
            name = (dynamic_cast<FrontDoorBrick*>(obj) || dynamic_cast<SideDoorBrick*>(obj))
                       ? std::string()
                       : std::string("Door");
        if (!name.empty()) {
            const int width = kCharWidth * static_cast<int>(name.size());
            int x = std::max(m_ptCursor.x, viewRect.left + 1);
            int y = std::max(m_ptCursor.y - 15, viewRect.top + 1);
            if (x + width > viewRect.right - 1) x = viewRect.right - width - 1;
            if (y + kCharHeight > viewRect.bottom - 1) y = viewRect.bottom - kCharHeight - 1;
            CDDString::DrawText(draw, {x, y}, viewRect, name, kTextColour);
        }
    }

    if (CMouseCursor* cursor = GetMouseCursor(); cursor && cursor->m_pSurface == draw)
        cursor->RedrawCursorInRect(viewRect, 1);

    int result = 1;
    if (m_bWindowed && m_pPrimary && draw != m_pPrimary.get()) {
        int copy = CopyWithRetries(*m_pPrimary, {m_View.m_ptViewOrigin.x, m_View.m_ptViewOrigin.y},
                                   *draw, viewRect);
        if (copy != qv::kDrawOk) {
            if (copy == qv::kDrawSurfaceLost)
                qv::ShowMessage("Repeated Surface Loss", qv::MessageButtons::Ok,
                                "DirectDraw Error");
            DDErrorText(ErrorCode(copy));
            result = 0;
        }
        // The window is shown once the tick (or the paint) has drawn all.
    }

    m_View.ClearDrawnMarks();
    if (CDDWnd* container = m_pGameWindows->Open().m_pContainerWnd;
        m_Play.Interacting().IsContainerOpen() && container) {
        container->Redraw();
        return 1;
    }
    return result;
}

int CMainFrame::RedrawMapCell(int) {
    MapMaster* map = m_World.map_master.get();
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
        CopyWithRetries(*m_pDrawSurface, m_View.m_ptMinimapOrigin, *picture, picture->Bounds());
    if (result != qv::kDrawOk) {
        if (result == qv::kDrawSurfaceLost)
            qv::ShowMessage("Repeated Surface Loss", qv::MessageButtons::Ok, "DirectDraw Error");
        DDErrorText(ErrorCode(result));
        return 0;
    }
    if (CMouseCursor* cursor = GetMouseCursor(); cursor && cursor->m_pSurface == m_pDrawSurface)
        cursor->RedrawCursorInRect({m_View.m_ptMinimapOrigin.x, m_View.m_ptMinimapOrigin.y,
                                    m_View.m_ptMinimapOrigin.x + MapMaster::MinimapWidth,
                                    m_View.m_ptMinimapOrigin.y + MapMaster::MinimapHeight},
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
    int column = m_World.m_bHoldGround ? 1 : 0;
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
    if (m_Play.Interacting().IsTabTarget()) return;
    ObjectHolder* before = m_World.m_pHoverHolder.Get();
    const bool picking = m_Play.Interacting().SelectMode() && !m_Play.Interacting().DragHolder() &&
                         m_Play.Interacting().PendingItem();
    bool inView = false;
    ObjectHolder* found = m_View.HolderAt(
        x, y,
        [&](ObjectHolder* h) {
            Object* obj = h->m_pObject;
            if (!obj || !(obj->m_bNotDrawn == 0 || m_Play.IsEditing())) return false;
            if (!(m_Play.IsEditing() ? obj->m_bMoveable != 2 : obj->CanInteract() != 0))
                return false;
            if (picking && !m_Play.Interacting().PendingItem()->IsValidTarget(obj)) return false;
            return true;
        },
        inView);
    if (inView && m_Play.Interacting().SelectMode() && !m_Play.Interacting().DragHolder())
        m_nCursorID = found ? kCursorTarget : kCursorNoTarget;

    m_World.m_pHoverHolder = found;
    if (found == before) return;
    m_strHoverText = m_View.TargetText(found);
    SetMessageLine(m_strHoverText);
}
