// The pictures of the structures: wall pieces and doors on the cells' edges,
// pegs on their corners, their footprints, and the lamp post.
//
// A piece is painted as the view shows a box standing on the ground: a world
// point (x, y) at height z lies on the screen at (x - y, y - z) from the
// piece's hot spot, so a box shows its south face, its east face and its top.

#include <algorithm>
#include <functional>

#include "media/ResourceArt.h"
#include "media/Resources.h"

namespace {

struct Tone {
    int r, g, b;
    uint8_t operator()(int shade = 0) const { return Painter::Shade(r, g, b, shade); }
};

constexpr Tone kStone{150, 140, 124}, kWood{132, 86, 46}, kIron{58, 58, 64}, kDoorway{34, 26, 20},
    kGlow{250, 222, 120};

// A wall piece: a box of half-sizes (hx, hy) on the ground about the hot
// spot, h high, with stone courses on its visible faces and, when asked, a
// door of half-width kDoorHalfWidth in the middle of its long side.
struct Piece {
    int hx, hy;   // half-sizes along x and y
    int h;        // height
    bool alongX;  // the long side runs along x (a front piece), else along y
    bool door;    // a door in it (else a piece that its key opens, if any)
    bool open;    // the door or the opening stands open
};

void PaintPiece(Painter& p, qv::Point hot, const Piece& k) {
    auto at = [&](int x, int y, int z) { return qv::Point{hot.x + x - y, hot.y + y - z}; };
    auto quad = [&](qv::Point a, qv::Point b, qv::Point c, qv::Point d, uint8_t colour) {
        p.Polygon({a, b, c, d}, colour);
    };
    // The faces, back to front: the east face, the south face, the top.
    quad(at(k.hx, -k.hy, 0), at(k.hx, k.hy, 0), at(k.hx, k.hy, k.h), at(k.hx, -k.hy, k.h),
         kStone(k.alongX ? -4 : -1));
    quad(at(-k.hx, k.hy, 0), at(k.hx, k.hy, 0), at(k.hx, k.hy, k.h), at(-k.hx, k.hy, k.h),
         kStone(k.alongX ? 0 : -4));
    quad(at(-k.hx, -k.hy, k.h), at(k.hx, -k.hy, k.h), at(k.hx, k.hy, k.h), at(-k.hx, k.hy, k.h),
         kStone(4));
    // Stone courses on the long face, every 10 pixels, their joints staggered.
    const int length = k.alongX ? k.hx : k.hy;
    auto face = [&](int along, int z) {
        return k.alongX ? at(along, k.hy, z) : at(k.hx, along, z);
    };
    for (int z = 0, course = 0; z < k.h; z += 10, ++course) {
        if (z > 0)
            p.Line(face(-length, z).x, face(-length, z).y, face(length, z).x, face(length, z).y,
                   kStone(-7));
        const int top = std::min(z + 10, k.h);
        for (int a = -length + (course % 2) * 12 + 6; a < length; a += 24)
            p.Line(face(a, z).x, face(a, z).y, face(a, top).x, face(a, top).y, kStone(-6));
    }
    if (!k.door && !k.open) return;
    // The door's frame in the long face.
    const int d = kDoorHalfWidth, dh = std::min(kDoorHeight, k.h);
    auto doorQuad = [&](int a0, int a1, int z0, int z1, uint8_t colour) {
        quad(face(a0, z0), face(a1, z0), face(a1, z1), face(a0, z1), colour);
    };
    if (k.open) {
        doorQuad(-d, d, 0, dh, kDoorway());
        if (k.door) doorQuad(-d, -d + 4, 0, dh, kWood(-3));  // the leaf, swung in
        return;
    }
    doorQuad(-d, d, 0, dh, kWood());
    for (int a = -d + 8; a < d; a += 8)
        p.Line(face(a, 0).x, face(a, 0).y, face(a, dh).x, face(a, dh).y, kWood(-5));
    for (int z : {8, dh - 10})
        if (z > 0 && z < dh) doorQuad(-d, d, z, std::min(z + 3, dh), kIron());
    const qv::Point handle = face(d - 6, dh / 2);
    p.Box(handle.x - 1, handle.y - 1, handle.x + 2, handle.y + 2, kIron(6));
}

// A grid of 2 x 2 pieces: columns shut and open, rows whole and cut down. A
// piece that never opens (a peg) shows itself shut in both columns.
void PaintPieces(Painter& p, int cellW, int cellH, qv::Point hot, Piece piece, bool door,
                 bool opens) {
    for (int column = 0; column < 2; ++column)
        for (int row = 0; row < 2; ++row) {
            Piece k = piece;
            k.h = row == 0 ? piece.h : kWallCutHeight;
            k.door = door;
            k.open = opens && column == 1;
            PaintPiece(p, {column * cellW + hot.x, row * cellH + hot.y}, k);
        }
}

// A footprint: the ground a piece blocks, the box [x0, x1] x [y0, y1] in
// world pixels about the hot spot, all but the hot spot itself; column 1
// leaves the door's opening (along x or along y) free.
struct Ground {
    int x0, x1, y0, y1;
    bool alongX;
};

void PaintFootprint(Painter& p, int cellW, qv::Point hot, Ground g, bool opening) {
    for (int column = 0; column < 2; ++column)
        for (int y = g.y0; y <= g.y1; ++y)
            for (int x = g.x0; x <= g.x1; ++x) {
                const int along = g.alongX ? x : y;
                if (column == 1 && opening && along >= -kDoorHalfWidth && along <= kDoorHalfWidth)
                    continue;
                if (x == 0 && y == 0) continue;
                p.Dot(column * cellW + hot.x + x, hot.y + y, kStone());
            }
}

void LampPost(Painter& p) {
    const int x = kLampPostHotX, base = kLampPostHotY;
    p.Ellipse(x, base, 7, 3, kIron(-2));
    p.Box(x - 1, 18, x + 2, base, kIron());
    p.Box(x, 18, x + 1, base, kIron(5));
    p.Box(x - 6, 6, x + 7, 20, kIron());
    p.Box(x - 4, 8, x + 5, 18, kGlow());
    p.Box(x - 2, 10, x + 3, 16, kGlow(4));
    p.Polygon({{x - 7, 7}, {x, 1}, {x + 7, 7}}, kIron(-2));
}

}  // namespace

void AddStructureRecipes(std::map<int, PictureRecipe>& r) {
    auto add = [&](int id, int w, int h, std::function<void(Painter&)> f) {
        r[id] = PictureRecipe{w, h, std::move(f), 0};
    };
    // Each shape of piece: its picture (and its door's), and its footprint.
    struct Shape {
        Piece piece;
        int cellW, cellH;
        qv::Point hot;
        int wall, door;  // bitmaps; no door picture for 0
        int footprint, footprintW, footprintH;
        qv::Point footprintHot;
        Ground ground;
        bool opens;
    };
    const int t = kWallHalfThickness, pegs = kPegHalfWidth;
    const int alongFront = 80 - kPegClear, alongSide = 56 - kPegClear;
    const Shape shapes[] = {
        {{80, t, kWallHeight, true, false, false},
         kFrontWallCellWidth,
         kFrontWallCellHeight,
         {kFrontWallHotX, kFrontWallHotY},
         kBitmapFrontWall,
         kBitmapFrontDoor,
         kBitmapFrontWallFootprint,
         kFrontFootprintWidth,
         kFrontFootprintHeight,
         {kFrontFootprintHotX, kFrontFootprintHotY},
         {-alongFront, alongFront, -kWallBand, kWallBand, true},
         true},
        {{t, 56, kWallHeight, false, false, false},
         kSideWallCellWidth,
         kSideWallCellHeight,
         {kSideWallHotX, kSideWallHotY},
         kBitmapSideWall,
         kBitmapSideDoor,
         kBitmapSideWallFootprint,
         kSideFootprintWidth,
         kSideFootprintHeight,
         {kSideFootprintHotX, kSideFootprintHotY},
         {-kWallBand, kWallBand, -alongSide, alongSide, false},
         true},
        {{pegs, pegs, kPegHeight, true, false, false},
         kPegCellWidth,
         kPegCellHeight,
         {kPegHotX, kPegHotY},
         kBitmapPeg,
         0,
         kBitmapPegFootprint,
         kPegFootprintSize,
         kPegFootprintSize,
         {kPegFootprintHot, kPegFootprintHot},
         {-pegs, pegs, -pegs, pegs, true},
         false},
    };
    for (const Shape& k : shapes) {
        add(k.wall, 2 * k.cellW, 2 * k.cellH,
            [=](Painter& p) { PaintPieces(p, k.cellW, k.cellH, k.hot, k.piece, false, k.opens); });
        if (k.door)
            add(k.door, 2 * k.cellW, 2 * k.cellH,
                [=](Painter& p) { PaintPieces(p, k.cellW, k.cellH, k.hot, k.piece, true, true); });
        add(k.footprint, 2 * k.footprintW, k.footprintH, [=](Painter& p) {
            PaintFootprint(p, k.footprintW, k.footprintHot, k.ground, k.opens);
        });
    }
    add(kBitmapLampPost, kLampPostWidth, kLampPostHeight, LampPost);
}
