// The pictures of the moving platforms: a drawbridge of planks with a post
// and chain at each corner of its near end, lowered or raised, and a
// broad-beamed ship; and their decks, the world footprints the map tests a
// mover against, whose pixels of the deck colour are where a creature may
// stand.
//
// As with the wall pieces, a world point (x, y) at height z lies on the
// screen at (x - y, y - z) from the picture's hot spot.

#include <cstdlib>
#include <functional>

#include "media/ArtPalette.h"
#include "media/DIBitmap.h"
#include "media/ResourceArt.h"
#include "media/Resources.h"

namespace {

using art::Rgb;

constexpr Rgb kPlank{150, 104, 58}, kHull{104, 66, 36}, kRail{82, 52, 28}, kChain{70, 70, 78};
// How far apart the planks lie, and how high a bridge's posts stand.
constexpr int kPlankStep = 8;
constexpr int kPostHeight = 40;
// How deep a ship's hull shows under its deck.
constexpr int kHullDepth = 16;

struct View {
    qv::Point hot;
    qv::Point operator()(int x, int y, int z = 0) const { return {hot.x + x - y, hot.y + y - z}; }
};

// The deck's half-sizes along x and y of a bridge carrying `alongX`.
qv::Point BridgeHalf(bool alongX) {
    return alongX ? qv::Point{kBridgeHalfSpanX, kBridgeHalfWidth}
                  : qv::Point{kBridgeHalfWidth, kBridgeHalfSpanY};
}

void PaintBridge(Painter& p, View v, bool alongX, bool raised) {
    const qv::Point half = BridgeHalf(alongX);
    const int hx = half.x, hy = half.y;
    if (raised) {
        // Drawn up against its far end (west, or north): a wall of planks.
        const int h = kBridgeRaisedHeight;
        if (alongX) {
            p.Polygon({v(-hx, -hy, 0), v(-hx, hy, 0), v(-hx, hy, h), v(-hx, -hy, h)}, kPlank(-3));
            for (int z = kPlankStep; z < h; z += kPlankStep)
                p.Line(v(-hx, -hy, z).x, v(-hx, -hy, z).y, v(-hx, hy, z).x, v(-hx, hy, z).y,
                       kRail());
        } else {
            p.Polygon({v(-hx, -hy, 0), v(hx, -hy, 0), v(hx, -hy, h), v(-hx, -hy, h)}, kPlank(-1));
            for (int z = kPlankStep; z < h; z += kPlankStep)
                p.Line(v(-hx, -hy, z).x, v(-hx, -hy, z).y, v(hx, -hy, z).x, v(hx, -hy, z).y,
                       kRail());
        }
    } else {
        p.Polygon({v(-hx, -hy), v(hx, -hy), v(hx, hy), v(-hx, hy)}, kPlank());
        // The planks lie across the way it carries.
        if (alongX) {
            for (int x = -hx + kPlankStep; x < hx; x += kPlankStep)
                p.Line(v(x, -hy).x, v(x, -hy).y, v(x, hy).x, v(x, hy).y, kPlank(-5));
            for (int y : {-hy, hy})
                p.Line(v(-hx, y).x, v(-hx, y).y, v(hx, y).x, v(hx, y).y, kRail(), 2);
        } else {
            for (int y = -hy + kPlankStep; y < hy; y += kPlankStep)
                p.Line(v(-hx, y).x, v(-hx, y).y, v(hx, y).x, v(hx, y).y, kPlank(-5));
            for (int x : {-hx, hx})
                p.Line(v(x, -hy).x, v(x, -hy).y, v(x, hy).x, v(x, hy).y, kRail(), 2);
        }
    }
    // The posts stand at the corners of the far end, the chains run to the
    // bridge's free end (or hang slack while it is up).
    const qv::Point posts[2] = {alongX ? qv::Point{-hx, -hy} : qv::Point{-hx, -hy},
                                alongX ? qv::Point{-hx, hy} : qv::Point{hx, -hy}};
    for (const qv::Point& post : posts) {
        const qv::Point foot = v(post.x, post.y), top = v(post.x, post.y, kPostHeight);
        p.Box(foot.x - 2, top.y, foot.x + 3, foot.y + 1, kRail(-2));
        const qv::Point end = raised   ? v(post.x, post.y, kBridgeRaisedHeight)
                              : alongX ? v(hx, post.y)
                                       : v(post.x, hy);
        p.Line(top.x, top.y, end.x, end.y, kChain());
    }
}

// Row 0 of a bridge's deck picture: the deck covers its cell's pixels and
// not one of the next cell's; row 1, raised, is left empty.
void PaintBridgeDeck(Painter& p, bool alongX) {
    const qv::Point half = BridgeHalf(alongX);
    for (int y = 0; y < 2 * half.y; ++y)
        for (int x = 0; x < 2 * half.x; ++x) p.Dot(x, y, kPaletteDeck);
}

void PaintShip(Painter& p) {
    const View v{{kShipHotX, kShipHotY}};
    const int l = kShipHalfLength, b = kShipHalfBeam, s = l - kShipBowLength;
    auto outline = [&](int z, uint8_t c) {
        p.Polygon({v(-l, 0, z), v(-s, -b, z), v(s, -b, z), v(l, 0, z), v(s, b, z), v(-s, b, z)}, c);
    };
    // The hull under the deck, darker toward the water, then the deck.
    for (int z = -kHullDepth; z < 0; ++z) outline(z, kHull(z / 3));
    outline(0, kPlank());
    for (int y = -b + kPlankStep; y < b; y += kPlankStep) {
        // Each plank runs the length of the deck at its width.
        const int reach = s + (l - s) * (b - std::abs(y)) / b;
        p.Line(v(-reach, y).x, v(-reach, y).y, v(reach, y).x, v(reach, y).y, kPlank(-4));
    }
    const qv::Point rim[] = {v(-l, 0), v(-s, -b), v(s, -b), v(l, 0), v(s, b), v(-s, b), v(-l, 0)};
    for (size_t i = 0; i + 1 < std::size(rim); ++i)
        p.Line(rim[i].x, rim[i].y, rim[i + 1].x, rim[i + 1].y, kRail(), 2);
}

void PaintShipDeck(Painter& p) {
    for (int y = -kShipHalfBeam; y <= kShipHalfBeam; ++y)
        for (int x = -kShipHalfLength; x <= kShipHalfLength; ++x)
            if (IsOnShipDeck(x, y)) p.Dot(kShipDeckHotX + x, kShipDeckHotY + y, kPaletteDeck);
}

}  // namespace

bool IsOnShipDeck(int x, int y) {
    const int ax = std::abs(x), ay = std::abs(y);
    if (ax > kShipHalfLength || ay > kShipHalfBeam) return false;
    // The bow and the stern narrow to a point.
    const int bow = ax - (kShipHalfLength - kShipBowLength);
    return bow <= 0 || ay * kShipBowLength <= kShipHalfBeam * (kShipBowLength - bow);
}

void AddPlatformRecipes(std::map<int, PictureRecipe>& r) {
    auto add = [&](int id, int w, int h, std::function<void(Painter&)> f) {
        r[id] = PictureRecipe{w, h, std::move(f), 0};
    };
    add(kBitmapDrawBridge, 2 * kDrawBridgeWidth, 2 * kDrawBridgeHeight, [](Painter& p) {
        for (int column = 0; column < 2; ++column)
            for (int row = 0; row < 2; ++row)
                PaintBridge(p,
                            View{{column * kDrawBridgeWidth + kDrawBridgeHotX,
                                  row * kDrawBridgeHeight + kDrawBridgeHotY}},
                            column == 1, row == 1);
    });
    add(kBitmapDrawBridgeDeck, 2 * kBridgeHalfWidth, 4 * kBridgeHalfSpanY,
        [](Painter& p) { PaintBridgeDeck(p, false); });
    add(kBitmapDrawBridgeDeckAcross, 2 * kBridgeHalfSpanX, 4 * kBridgeHalfWidth,
        [](Painter& p) { PaintBridgeDeck(p, true); });
    add(kBitmapShip, kShipWidth, kShipHeight, PaintShip);
    add(kBitmapShipDeck, kShipDeckWidth, kShipDeckHeight, PaintShipDeck);
}
