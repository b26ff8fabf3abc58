#pragma once
// The map view: where it stands in the window, the scene it is composed on,
// the walk that draws the visible cells' objects back to front, and the
// search for what lies under a point of it. It only reads the world.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Surface.h"
#include "world/Map.h"

class Object;
class ObjectHolder;
class Player;
class World;

class CMapView {
public:
    explicit CMapView(const World& world) : m_World(world) {}

    // The view, its rectangle and the mini-map from the client area's origin
    // on the surfaces.
    void Place(qv::Point origin);
    // The world point under a client point of the view.
    Position ViewToWorld(qv::Point client) const;
    qv::Point GetViewPoint(qv::Point client) const {
        return {client.x - m_ptViewOrigin.x, client.y - m_ptViewOrigin.y};
    }
    // The world point of a client point of the mini-map: the centre of the
    // window cell under it; false outside the mini-map's picture.
    bool MinimapToWorld(qv::Point client, Position& out) const;
    // Whether an object at cell offset (cx, cy) from the focus cell is drawn
    // see-through, so that the party shows behind it.
    static bool IsSeeThrough(int cx, int cy, Object* object);

    // Composes the floor and the objects around the focus on the scene and
    // copies the view's part of it to `draw`. Nothing is drawn while the
    // focus's screen point leaves the view off the scene (the light the last
    // tick computed is for another focus).
    void DrawScene(qv::Surface& draw);
    // The holders drawn in this frame are marked so again.
    void ClearDrawnMarks();
    // The topmost holder whose picture lies under client point (x, y) and
    // that `candidate` accepts: opaque pixels first, then picture boxes; a
    // wall found later on the same cell's list wins. `inView` tells whether
    // the point lies on a window cell of the view at all.
    ObjectHolder* HolderAt(int x, int y, const std::function<bool(ObjectHolder*)>& candidate,
                           bool& inView) const;
    // The text line of a target candidate: its name, with hit points,
    // alertness and mana for a party member.
    std::string TargetText(ObjectHolder* holder) const;
    // The objects Tab picks from around the focus cell of the frame last
    // drawn, in the order it picks them: what can be acted on, drawn (or
    // any while `editing`), and while `leader` fights only its opponents.
    std::vector<ObjectHolder*> TabCandidates(bool editing, const Player* leader) const;
    // The focus window cell of the frame last drawn.
    CellPoint DrawFocusCell() const { return m_ptDrawFocusCell; }
    // The scene and what was drawn on it are let go of.
    void Release();

    qv::Point m_szView{536, 359};
    qv::Point m_ptViewCentre{268, 179};
    qv::Rect m_rcView{3, 3, 3 + 536, 3 + 359};
    qv::Point m_ptViewOrigin{3, 3};
    qv::Point m_ptMinimapOrigin{207, 371};
    // Where the view is composed: the floor and the objects are drawn around
    // the focus at the map's own screen centre, then the view's rectangle of
    // it is copied into place on the drawing surface.
    std::unique_ptr<qv::Surface> m_pViewSurface;
    std::vector<ObjectHolder*> m_DrawnHolders;  // does not own

    // The visible range around the focus window cell: three columns either
    // side, two rows behind and three in front.
    static constexpr int kRangeLeft = 3, kRangeRight = 3, kRangeUp = 2, kRangeDown = 3;
    static constexpr int kRangeColumns = kRangeLeft + kRangeRight + 1;

private:
    MapMaster* Map() const;
    void DrawCellObjects(int i, int j, ObjectHolder* stop, int drawRow);
    void DrawHolder(ObjectHolder* holder);
    bool IsInDrawRange(int i, int j) const;
    uint8_t& CellDrawnMark(int i, int j);

    const World& m_World;
    qv::Point m_ptDrawCorner{52, 61};  // the view's corner on m_pViewSurface
    // Cells of the visible range already drawn in this frame.
    std::array<uint8_t, kRangeColumns*(kRangeUp + kRangeDown + 1)> m_CellDrawn{};
    CellPoint m_ptDrawFocusCell{0, 0};  // the focus window cell of the frame being drawn
};
