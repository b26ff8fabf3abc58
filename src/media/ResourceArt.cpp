#include "media/ResourceArt.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "media/ArtPalette.h"
#include "media/DDString.h"
#include "media/Resources.h"

namespace {

using C = uint8_t;
using namespace art;

// ---------------------------------------------------------------- terrain

void Ground(Painter& p, int x0, int y0, int w, int h, Rgb base, uint32_t seed) {
    p.Box(x0, y0, x0 + w, y0 + h, base());
    p.Speckle(x0, y0, x0 + w, y0 + h, {base(-3), base(2), base(-1)}, seed, 5);
}

void Grass(Painter& p, int x0, int w, Rgb base, uint32_t seed) {
    Ground(p, x0, 0, w, kTerrainHeight, base, seed);
    for (int i = 0; i < 70; ++i) {  // blades
        const uint32_t h = Painter::Hash(i, seed, 7);
        const int x = x0 + static_cast<int>(h % w), y = static_cast<int>((h >> 8) % kTerrainHeight);
        p.Line(x, y, x + static_cast<int>((h >> 20) % 3) - 1, y - 3, base(-5));
    }
}

// The floor is drawn in pieces of 32 x 14 whose rows the view shifts left
// by 14 pixels each, so that a cell looks like the world's slanted grid.
// Patterns laid out on the ground (tiles, planks) are painted as the world
// sees them and then shifted the other way row by row, so that they join up
// across pieces and cells once drawn.
void OnTheGround(Painter& p, const std::function<void(Painter&)>& paintWorld) {
    CDIBitmap world(kTerrainWidth, kTerrainHeight);
    Painter wp(world);
    paintWorld(wp);
    for (int y = 0; y < kTerrainHeight; ++y)
        for (int x = 0; x < kTerrainWidth; ++x)
            p.Dot(x, y, world.GetPixel((x + y % 14) % kTerrainWidth, y));
}

void Flagstones(Painter& p, int x0, int w, Rgb base, int tileW, int tileH, uint32_t seed) {
    p.Box(x0, 0, x0 + w, kTerrainHeight, base(-6));
    for (int row = 0; row * tileH < kTerrainHeight; ++row) {
        const int off = (row % 2) * tileW / 2;
        for (int x = x0 - off; x < x0 + w; x += tileW) {
            const int shade = static_cast<int>(Painter::Hash(x, row, seed) % 5) - 2;
            const int l = std::max(x + 1, x0), r = std::min(x + tileW - 1, x0 + w);
            p.Box(l, row * tileH + 1, r, row * tileH + tileH - 1, base(shade));
            p.Box(l, row * tileH + 1, r, row * tileH + 2, base(shade + 3));
        }
    }
    p.Speckle(x0, 0, x0 + w, kTerrainHeight, {base(-4)}, seed, 23);
}

void Planks(Painter& p, int x0, int w) {
    for (int y = 0; y < kTerrainHeight; y += 14) {
        const int shade = static_cast<int>(Painter::Hash(y, 3, 11) % 5) - 2;
        p.Box(x0, y, x0 + w, y + 13, kWood(shade));
        p.Box(x0, y + 13, x0 + w, y + 14, kWood(-8));
        const int joint = x0 + static_cast<int>(Painter::Hash(y, 5, 11) % w);
        p.Box(joint, y, joint + 1, y + 13, kWood(-8));
        for (int x = x0; x < x0 + w; x += 9) p.Dot(x + (y / 14) % 5, y + 6, kWood(-4));
    }
}

void Water(Painter& p, int step) {
    const int x0 = step * kTerrainWidth;
    p.Box(x0, 0, x0 + kTerrainWidth, kTerrainHeight, kWater());
    p.Speckle(x0, 0, x0 + kTerrainWidth, kTerrainHeight, {kWater(-2), kWater(1)}, 31, 6);
    // Ripples drift to the right by a quarter of their spacing each step.
    for (int y = 6; y < kTerrainHeight; y += 14) {
        for (int x = 0; x < kTerrainWidth; x += 40) {
            const int sx = x0 + (x + step * 10 + (y / 14) * 17) % kTerrainWidth;
            const int len = std::min(14, x0 + kTerrainWidth - sx);
            p.Box(sx, y, sx + len, y + 1, kWater(6));
            p.Box(sx + 2, y + 1, sx + std::max(2, len - 2), y + 2, kWater(3));
        }
    }
}

void Rock(Painter& p, Rgb base, uint32_t seed) {
    Ground(p, 0, 0, kTerrainWidth, kTerrainHeight, base, seed);
    for (int i = 0; i < 9; ++i) {
        const uint32_t h = Painter::Hash(i, seed, 3);
        int x = static_cast<int>(h % kTerrainWidth),
            y = static_cast<int>((h >> 8) % kTerrainHeight);
        for (int k = 0; k < 5; ++k) {
            const uint32_t g = Painter::Hash(i, k, seed);
            const int nx = x + static_cast<int>(g % 13) - 6,
                      ny = y + static_cast<int>((g >> 8) % 9);
            p.Line(x, y, nx, ny, base(-7));
            x = nx;
            y = ny;
        }
    }
    for (int i = 0; i < 12; ++i) {  // pebbles
        const uint32_t h = Painter::Hash(i, seed, 9);
        const int x = static_cast<int>(h % kTerrainWidth),
                  y = static_cast<int>((h >> 8) % kTerrainHeight);
        p.Ellipse(x, y, 3, 2, base(2));
        p.Box(x - 2, y + 2, x + 3, y + 3, base(-6));
    }
}

void PaintTerrain(Painter& p, int code) {
    const int w = kTerrainWidth;
    switch (code) {
        case 0:
            Grass(p, 0, w, kGrass, 1);
            break;
        case 1:
            Ground(p, 0, 0, w, kTerrainHeight, kSand, 2);
            for (int y = 10; y < kTerrainHeight; y += 22)  // wind ridges
                for (int x = 0; x < w; x += 30)
                    p.Line(x, y + (x / 30) % 3, x + 16, y + 2, kSand(-3));
            break;
        case 2:
            OnTheGround(p, [&](Painter& g) { Flagstones(g, 0, w, kStone, 32, 28, 3); });
            break;
        case 3:
            for (int s = 0; s < kWaterAnimationSteps; ++s) Water(p, s);
            break;
        case 4:
            Rock(p, kRock, 4);
            break;
        case 5:
            Grass(p, 0, w, Rgb{56, 126, 44}, 5);
            p.Speckle(0, 0, w, kTerrainHeight, {kLeaf(-3), Rgb{120, 100, 40}()}, 55, 30);
            break;
        case 6:
            Ground(p, 0, 0, w, kTerrainHeight, Rgb{44, 88, 40}, 6);
            p.Speckle(0, 0, w, kTerrainHeight, {kBark(), kBark(-3)}, 66, 9);
            break;
        case 7:
            OnTheGround(p, [&](Painter& g) { Flagstones(g, 0, w, Rgb{60, 58, 66}, 40, 28, 7); });
            break;
        case 8:
            Rock(p, Rgb{128, 104, 80}, 8);
            break;
        case 9: {
            // Dark tilled earth in furrows, darker than the rock and the planks.
            const Rgb earth{92, 64, 40};
            Ground(p, 0, 0, w, kTerrainHeight, earth, 9);
            for (int y = 4; y < kTerrainHeight; y += 8) p.Box(0, y, w, y + 2, earth(-5));
            p.Speckle(0, 0, w, kTerrainHeight, {earth(3)}, 91, 17);
            break;
        }
        case 10:
            Ground(p, 0, 0, w, kTerrainHeight, Rgb{44, 30, 40}, 10);
            p.Ellipse(w / 2, kTerrainHeight / 2, 60, 38, Rgb{20, 14, 20}());
            break;
        case 11:
            OnTheGround(p, [&](Painter& g) { Planks(g, 0, w); });
            break;
        case 12:
            Grass(p, 0, w, Rgb{104, 172, 64}, 12);
            p.Speckle(0, 0, w, kTerrainHeight, {kGold(), Rgb{240, 240, 240}()}, 121, 90);
            break;
        case 13:
            Ground(p, 0, 0, w, kTerrainHeight, kSnow, 13);
            p.Speckle(0, 0, w, kTerrainHeight, {Rgb{200, 212, 236}()}, 131, 11);
            break;
        case 14:
            Ground(p, 0, 0, w, kTerrainHeight, kIce, 14);
            for (int i = 0; i < 8; ++i) {
                const uint32_t h = Painter::Hash(i, 14, 14);
                const int x = static_cast<int>(h % w),
                          y = static_cast<int>((h >> 8) % kTerrainHeight);
                p.Line(x, y, x + 18, y + 7, kSnow());
            }
            break;
        default: {
            // Mixed cells: grass with a patch of sand (15..29) or of floor
            // (30..44), its shape following the code.
            Grass(p, 0, w, kGrass, 1);
            const int k = (code - 15) % 15;
            const bool floor = code >= 30;
            const int l = (k % 3 == 1) ? 0 : 32, r = (k % 3 == 2) ? w : w - 32;
            const int t = (k / 3 % 2 == 1) ? 0 : 28, b = (k / 3 >= 2) ? kTerrainHeight : 84;
            if (floor) {
                p.Box(l, t, r, b, kStone(-6));
                for (int y = t; y < b; y += 14)
                    for (int x = l + (y / 14 % 2) * 16; x < r; x += 32)
                        p.Box(x + 1, y + 1, std::min(x + 31, r), y + 13, kStone((x + y) % 3 - 1));
            } else {
                p.Box(l, t, r, b, kSand());
                p.Speckle(l, t, r, b, {kSand(-3), kSand(2)}, 2, 5);
            }
            break;
        }
    }
}

// ---------------------------------------------------------------- scenery

void Pine(Painter& p, int w, int h, Rgb needles, bool dead) {
    const int cx = w / 2;
    p.Box(cx - 3, h - 22, cx + 3, h - 4, kBark());
    p.Box(cx - 3, h - 22, cx - 1, h - 4, kBark(-4));
    p.Ellipse(cx, h - 5, w / 4, 3, Rgb{30, 50, 30}());  // shadow
    const int tiers = 4;
    for (int i = 0; i < tiers; ++i) {
        const int top = 2 + i * (h - 26) / tiers, bottom = top + (h - 20) / tiers + 8;
        const int half = (w / 2 - 2) * (i + 2) / (tiers + 1);
        if (dead) {
            p.Line(cx, bottom - 4, cx - half, bottom - 10, kBark(-2), 2);
            p.Line(cx, bottom - 4, cx + half, bottom - 12, kBark(-2), 2);
        } else {
            p.Polygon({{cx, top}, {cx - half, bottom}, {cx + half, bottom}}, needles());
            p.Polygon({{cx, top}, {cx - half, bottom}, {cx - half / 3, bottom}}, needles(3));
        }
    }
    if (dead) p.Box(cx - 2, 4, cx + 2, h - 20, kBark(-3));
}

void Mountain(Painter& p, bool ice) {
    // The foot follows the cell's leaning outline: top edge from (112, 38) to
    // (272, 38), bottom edge from (0, 150) to (160, 150).
    const Rgb body = ice ? Rgb{170, 190, 215} : Rgb{120, 100, 84};
    p.Polygon(
        {{0, 149}, {60, 70}, {100, 82}, {150, 6}, {206, 60}, {240, 52}, {271, 90}, {160, 149}},
        body());
    p.Polygon({{150, 6}, {206, 60}, {240, 52}, {271, 90}, {160, 149}, {140, 149}}, body(-4));
    p.Polygon({{150, 6}, {136, 34}, {146, 30}, {154, 40}, {168, 26}}, kSnow());
    p.Polygon({{60, 70}, {50, 88}, {62, 84}, {70, 90}}, kSnow());
    p.Speckle(0, 0, 272, 150, {body(-2)}, ice ? 77u : 78u, 29);
}

void Shrubs(Painter& p) {
    for (int i = 0; i < 5; ++i) {
        const int x0 = i * 32;
        const Rgb leaf{40 + i * 8, 110 + i * 10, 40 + (i % 2) * 20};
        p.Ellipse(x0 + 16, 25, 10, 2, Rgb{30, 50, 30}());
        p.Ellipse(x0 + 11, 16, 8, 8 - i % 2, leaf());
        p.Ellipse(x0 + 20, 14, 9, 9, leaf(-2));
        p.Ellipse(x0 + 16, 10, 7, 6, leaf(3));
        if (i == 3) p.Speckle(x0 + 6, 6, x0 + 28, 22, {kRed()}, 33, 9);  // berries
    }
}

void Rocks(Painter& p, int w, int h, uint32_t seed) {
    const int n = w / 14;
    for (int i = 0; i < n; ++i) {
        const uint32_t s = Painter::Hash(i, seed, 1);
        const int cx = 8 + i * (w - 16) / std::max(1, n - 1);
        const int rx = 5 + static_cast<int>(s % 4), ry = 4 + static_cast<int>((s >> 4) % 4);
        const int cy = h - ry - 3;
        p.Ellipse(cx, cy + 2, rx, ry / 2 + 1, Rgb{50, 50, 50}());
        p.Ellipse(cx, cy, rx, ry, kRock());
        p.Ellipse(cx - 1, cy - 1, rx / 2, ry / 2, kRock(4));
    }
}

// ---------------------------------------------------------------- items

void Blade(Painter& p, int x0, int y0, int x1, int y1, int thick) {
    p.Line(x0, y0, x1, y1, kSteel(), thick);
    p.Line(x0, y0 - 1, x1, y1 - 1, kSteel(5));
}

void PaintItem(Painter& p, int kind, int w, int h) {
    const int cx = w / 2, cy = h / 2;
    const int s = std::min(w, h);
    switch (kind) {
        case kItemDagger:
            Blade(p, cx - s / 6, cy + s / 6, cx + s / 3, cy - s / 3, 2);
            p.Line(cx - s / 3, cy + s / 3, cx - s / 6, cy + s / 6, kBark(), 3);
            p.Line(cx - s / 4, cy + s / 12, cx - s / 12, cy + s / 4, kGold(), 2);
            break;
        case kItemSword:
        case kItemLongSword: {
            const int r = kind == kItemSword ? s * 2 / 5 : s / 2 - 1;
            Blade(p, cx - r / 2, cy + r / 2, cx + r, cy - r, 3);
            p.Line(cx - r, cy + r, cx - r / 2, cy + r / 2, kBark(), 3);
            p.Line(cx - r / 2 - 4, cy + r / 2 - 4, cx - r / 2 + 4, cy + r / 2 + 4, kGold(), 2);
            break;
        }
        case kItemAxe:
            p.Line(cx - s / 3, cy + s / 3, cx + s / 4, cy - s / 4, kBark(), 3);
            p.Polygon({{cx + s / 8, cy - s / 2 + 2}, {cx + s / 2, cy - s / 6}, {cx + s / 8, cy}},
                      kSteel());
            break;
        case kItemMace:
            p.Line(cx - s / 3, cy + s / 3, cx + s / 8, cy - s / 8, kBark(), 3);
            p.Ellipse(cx + s / 5, cy - s / 5, s / 6, s / 6, kSteel(-2));
            p.Speckle(cx, cy - s / 3, cx + s / 3, cy, {kSteel(5)}, 5, 4);
            break;
        case kItemSpear:
            p.Line(2, h - 3, w - 8, 6, kBark(), 2);
            p.Polygon({{w - 2, 1}, {w - 12, 6}, {w - 7, 11}}, kSteel());
            break;
        case kItemBow:
            p.Line(cx - s / 6, 2, cx + s / 4, cy, kBark(), 2);
            p.Line(cx + s / 4, cy, cx - s / 6, h - 3, kBark(), 2);
            p.Line(cx - s / 6, 2, cx - s / 6, h - 3, Rgb{230, 230, 230}());
            break;
        case kItemCrossbow: {
            // The stock lying across, the bow bent forward at its front end
            // and the string drawn back to the catch.
            const int front = w - 5, arm = s / 3, bend = std::max(3, s / 7);
            p.Line(4, cy, front, cy, kBark(), 4);
            p.Line(4, cy + 1, 9, cy + 3, kBark(-3), 3);  // the butt
            p.Line(front - bend, cy - arm, front, cy, kSteel(-2), 2);
            p.Line(front, cy, front - bend, cy + arm, kSteel(-2), 2);
            p.Line(front - bend, cy - arm, front - bend - arm, cy, kParchment());
            p.Line(front - bend - arm, cy, front - bend, cy + arm, kParchment());
            break;
        }
        case kItemArrow:
            p.Line(3, h - 4, w - 4, 3, kBark(2));
            p.Polygon({{w - 2, 1}, {w - 8, 3}, {w - 4, 7}}, kSteel());
            p.Line(3, h - 4, 7, h - 4, kRed(), 2);
            break;
        case kItemArmour:
            PaintGarment(p, w, h, kSteel(-3), kSteel(4));
            break;
        case kItemShield:
            PaintShield(p, w, h, kBlue(), kGold());
            p.Box(cx - s / 3, cy - 4, cx + s / 3, cy - 1, kGold());
            break;
        case kItemHelmet:
            PaintHelmet(p, w, h, kSteel(-2), kSteel(3));
            p.Box(cx - 1, cy - s / 3, cx + 2, cy + 6, kSteel(4));
            break;
        case kItemBoots:
            p.Box(cx - s / 3, 4, cx - 2, h - 5, kBark());
            p.Box(cx - s / 3, h - 8, cx + s / 3, h - 3, kBark(-3));
            break;
        case kItemGloves:
            p.Ellipse(cx, cy + 2, s / 4, s / 3, kBark(2));
            for (int f = -2; f <= 1; ++f) p.Box(cx + f * 4, 3, cx + f * 4 + 3, cy, kBark(2));
            break;
        case kItemPotion:
            p.Ellipse(cx, cy + s / 8, s / 3, s / 3, kRed());
            p.Ellipse(cx - s / 8, cy, s / 10, s / 10, kRed(8));
            p.Box(cx - 3, 2, cx + 3, cy - s / 5, Rgb{200, 220, 230}());
            p.Box(cx - 3, 1, cx + 3, 4, kBark());
            break;
        case kItemScroll:
            p.Box(4, cy - s / 4, w - 4, cy + s / 4, kParchment());
            p.Ellipse(4, cy, 3, s / 4, kParchment(-3));
            p.Ellipse(w - 5, cy, 3, s / 4, kParchment(-3));
            for (int y = cy - s / 6; y < cy + s / 6; y += 3)
                p.Box(9, y, w - 9, y + 1, kParchment(-8));
            p.Box(cx - 2, cy - s / 4, cx + 2, cy + s / 4, kRed());
            break;
        case kItemBag:
            p.Ellipse(cx, cy + s / 8, s / 2 - 3, s / 3, kBark(3));
            p.Polygon({{cx - 5, cy - s / 5}, {cx + 5, cy - s / 5}, {cx + 8, 2}, {cx - 8, 2}},
                      kBark(3));
            p.Box(cx - 6, cy - s / 5, cx + 6, cy - s / 5 + 2, kGold());
            break;
        case kItemCoins: {
            // A heap of round coins, back to front: three below, two on them,
            // one on top, each with a dark rim and a bright face.
            const int rx = std::max(3, s / 6), ry = std::max(2, s / 11);
            const int dx = rx + rx / 2, dy = ry + 1;
            const qv::Point heap[] = {{cx - dx, cy + dy}, {cx + dx, cy + dy}, {cx, cy + dy + 1},
                                      {cx - dx / 2, cy},  {cx + dx / 2, cy},  {cx, cy - dy}};
            for (const qv::Point& c : heap) {
                p.Ellipse(c.x, c.y + 1, rx, ry, kGold(-6));
                p.Ellipse(c.x, c.y, rx, ry, kGold(1));
                p.Ellipse(c.x, c.y, rx - 1, ry - 1, kGold(-1));
                p.Dot(c.x - rx / 2, c.y - ry / 2, kGold(6));
            }
            break;
        }
        case kItemKey:
            p.Ellipse(6 + s / 8, cy, s / 6, s / 6, kGold());
            p.Ellipse(6 + s / 8, cy, s / 14, s / 14, 0);
            p.Box(6 + s / 4, cy - 1, w - 4, cy + 2, kGold());
            p.Box(w - 9, cy, w - 7, cy + 6, kGold());
            p.Box(w - 5, cy, w - 3, cy + 5, kGold());
            break;
        case kItemBook:
            p.Box(cx - s / 3, 4, cx + s / 3, h - 4, kCloth());
            p.Box(cx + s / 3 - 4, 5, cx + s / 3 - 1, h - 5, kParchment());
            p.Box(cx - s / 3, 4, cx - s / 3 + 3, h - 4, kCloth(-5));
            p.Box(cx - 4, cy - 4, cx + 4, cy + 4, kGold());
            break;
        case kItemRing:
            PaintRing(p, w, h, kBlue(4));
            break;
        case kItemAmulet:
            p.Line(cx - s / 3, 3, cx, cy, kGold(), 1);
            p.Line(cx + s / 3, 3, cx, cy, kGold(), 1);
            p.Ellipse(cx, cy + 4, s / 6, s / 6, kRed(-2));
            p.Ellipse(cx - 1, cy + 3, 2, 2, kRed(8));
            break;
        case kItemFood:
            p.Ellipse(cx, cy + 2, s / 3, s / 4, kWood(2));
            p.Ellipse(cx - 3, cy, s / 6, s / 8, kWood(6));
            break;
        default:
            PaintMoreItems(p, kind, w, h);
            break;
    }
}

// ---------------------------------------------------------------- creatures

// Cell f is facing f: 0 east in the world, counting through south (2), west
// (4) and north (6). On the screen the world's x runs right and its y down and
// to the left, so facing 1 looks straight at the viewer and facing 5 away.
void Creature(Painter& p) {
    static const int world[8][2] = {{1, 0},  {1, 1},   {0, 1},  {-1, 1},
                                    {-1, 0}, {-1, -1}, {0, -1}, {1, -1}};
    // A green shirt (darker than the grass it walks on), brown trousers and
    // hair with little blue in it, the parts a look may tint.
    const C shirt = Rgb{20, 160, 60}(), sleeve = Rgb{20, 160, 60}(-3),
            trousers = Rgb{110, 70, 36}(), boots = Rgb{60, 40, 24}(), skin = kSkin(),
            skinDark = kSkin(-3), hair = Rgb{200, 150, 40}(), eye = Rgb{30, 24, 24}(),
            shadow = Rgb{40, 40, 40}();
    for (int f = 0; f < 8; ++f) {
        const int cx = f * 64 + 32;
        double sx = world[f][0] - world[f][1], sy = world[f][1];
        const double len = std::sqrt(sx * sx + sy * sy);
        sx /= len;
        sy /= len;
        const auto at = [](double v) { return static_cast<int>(std::lround(v)); };
        const bool away = sy<-0.3, profile = std::abs(sx)> 0.7;
        const int side = sx > 0 ? 1 : -1;
        p.Ellipse(cx, 57, 13, 4, shadow);
        // Legs: side by side from the front and back, one ahead in profile.
        const int stride = profile ? 4 : 0, spread = profile ? 1 : 4;
        for (int leg : {-1, 1}) {
            const int lx = cx + leg * spread + (leg * stride * side);
            p.Box(lx - 3, 40, lx + 3, 53, trousers);
            p.Box(lx - 3 + (profile ? side : 0), 52, lx + 3 + (profile ? side * 2 : 0), 56, boots);
        }
        // Arms behind the body, then the body, then the arm in front.
        const int bodyW = 11 - at(std::abs(sx) * 3);
        const auto arm = [&](int dir, int swing) {
            const int ax = cx + dir * (bodyW + 1);
            p.Line(ax, 24, ax + swing, 40, sleeve, 3);
            p.Ellipse(ax + swing, 41, 2, 2, skin);
        };
        if (profile) arm(-side, -side * 3);
        p.Ellipse(cx, 32, bodyW, 11, shirt);
        p.Box(cx - bodyW + 2, 40, cx + bodyW - 1, 43, boots);  // belt
        if (profile)
            arm(side, side * 4);
        else {
            arm(-1, 0);
            arm(1, 0);
        }
        // The head: the face turned toward the facing, hair on the back of it.
        p.Box(cx - 2, 20, cx + 3, 23, skinDark);  // neck
        p.Ellipse(cx, 13, 7, 8, skin);
        if (away) {
            // From behind: all hair, a cheek showing on the side it turns to.
            p.Ellipse(cx - at(sx * 2), 12, 7, 8, hair);
            p.Box(cx - 6 - at(sx * 2), 17, cx + 7 - at(sx * 2), 19, hair);
            continue;
        }
        p.Ellipse(cx - at(sx * 2), 8, 7, 4, hair);
        // Hair down the back of the head, more of it the more the head turns away.
        const int back = sy < 0 ? 5 : sy < 0.3 ? 4 : sy < 0.6 ? 3 : 0;
        if (back) p.Ellipse(cx - side * 4, 12, back - 1, 6, hair);
        const int turn = at(sx * 4);
        if (profile) {
            p.Box(cx + turn - (side < 0 ? 1 : 0), 12, cx + turn + (side > 0 ? 1 : 0) + 1, 14, eye);
            p.Box(cx + side * 7, 14, cx + side * 7 + 1, 16, skinDark);  // nose
            p.Box(cx + side * 3, 18, cx + side * 5 + 1, 19, skinDark);  // mouth
        } else {
            p.Box(cx - 4 + turn, 12, cx - 2 + turn, 14, eye);
            p.Box(cx + 2 + turn, 12, cx + 4 + turn, 14, eye);
            p.Box(cx + turn, 15, cx + 1 + turn, 17, skinDark);
            p.Box(cx - 2 + turn, 18, cx + 3 + turn, 19, skinDark);
        }
    }
}

// ---------------------------------------------------------------- windows

void WindowBackground(Painter& p, uint32_t seed) {
    p.Fill(kPanel());
    p.Speckle(0, 0, p.Width(), p.Height(), {kPanel(-2), kPanel(2)}, seed, 4);
    p.Bevel(0, 0, p.Width(), p.Height(), kPanel(), kPanel(6), kPanel(-8), 4);
    p.Box(4, 4, p.Width() - 4, p.Height() - 4, kPanel(-1));
    p.Speckle(4, 4, p.Width() - 4, p.Height() - 4, {kPanel(-3), kPanel(1)}, seed + 1, 4);
    p.Outline(10, 10, p.Width() - 10, p.Height() - 10, kGold(-4));
}

void Landscape(Painter& p) {
    const int w = p.Width(), h = p.Height();
    for (int y = 0; y < h * 2 / 3; ++y)
        p.Box(0, y, w, y + 1, Rgb{40, 60 + y * 80 / h, 140 + y * 60 / h}());
    p.Polygon({{0, h * 2 / 3}, {w / 5, h / 3}, {w * 2 / 5, h * 2 / 3}}, kRock(-2));
    p.Polygon({{w / 3, h * 2 / 3}, {w * 3 / 5, h / 4}, {w * 4 / 5, h * 2 / 3}}, kRock());
    p.Polygon({{w * 3 / 5, h / 4}, {w * 3 / 5 - 20, h / 4 + 30}, {w * 3 / 5 + 22, h / 4 + 28}},
              kSnow());
    p.Box(0, h * 2 / 3, w, h, kGrass(-2));
    p.Speckle(0, h * 2 / 3, w, h, {kGrass(-5), kGrass(1)}, 9, 5);
    p.Ellipse(w * 4 / 5, h / 6, 24, 24, kGold(4));
}

// A line of text in the alphabet's letters, its top left at (x0, y0), each
// pixel of a letter a block of scale x scale.
void Letters(Painter& p, const std::string& text, int x0, int y0, int scale, C colour) {
    const CDDAlphabet& font = CDDAlphabet::Get();
    for (size_t i = 0; i < text.size(); ++i) {
        const auto& glyph = font.Glyph(static_cast<unsigned char>(text[i]));
        for (int row = 0; row < CDDAlphabet::kCellHeight; ++row)
            for (int bit = 0; bit < 8; ++bit) {
                if (!(glyph[static_cast<size_t>(row)] & (0x80 >> bit))) continue;
                const int x = x0 + (static_cast<int>(i) * CDDAlphabet::kCellWidth + bit) * scale;
                const int y = y0 + row * scale;
                p.Box(x, y, x + scale, y + scale, colour);
            }
    }
}

// The width of a line of text in the alphabet's letters.
int LettersWidth(const std::string& text, int scale) {
    return static_cast<int>(text.size()) * CDDAlphabet::kCellWidth * scale;
}

// A line of text in the alphabet's letters, each pixel of a letter a block of
// scale x scale, centred on the picture, with a shadow below right.
void BigText(Painter& p, const std::string& text, int scale, C ink, C shadow) {
    const int x0 = (p.Width() - LettersWidth(text, scale)) / 2;
    const int y0 = (p.Height() - CDDAlphabet::kCellHeight * scale) / 2;
    Letters(p, text, x0 + scale / 2, y0 + scale / 2, scale, shadow);
    Letters(p, text, x0, y0, scale, ink);
}

// The intro's scroll: the tale it tells as it rolls up, a line every
// kScrollLine pixels, each centred.
void ScrollTale(Painter& p) {
    constexpr int kFirstLine = 40, kScrollLine = 22;
    static const char* const kTale[] = {
        "QUORVALE",
        "",
        "Long ago the vale",
        "was green and still.",
        "Then the old roads",
        "filled with wolves,",
        "the wells ran dry",
        "and the lamps of the",
        "towns burned low.",
        "",
        "Now a traveller comes",
        "with a dog at heel,",
        "a pack and a blade,",
        "and a name that is",
        "yet to be told.",
        "",
        "Go carefully.",
    };
    const C ink = Rgb{70, 44, 24}();
    int y = kFirstLine;
    for (const char* line : kTale) {
        Letters(p, line, (p.Width() - LettersWidth(line, 1)) / 2, y, 1, ink);
        y += kScrollLine;
    }
}

void Button(Painter& p, Rgb face, bool pressed, int symbol) {
    if (pressed)
        p.Bevel(0, 0, p.Width(), p.Height(), face(-3), face(-8), face(5), 2);
    else
        p.Bevel(0, 0, p.Width(), p.Height(), face(), face(6), face(-8), 2);
    const int cx = p.Width() / 2 + pressed, cy = p.Height() / 2 + pressed;
    const C ink = Rgb{30, 24, 20}();
    switch (symbol) {
        case 1:  // a speaker
            p.Box(cx - 8, cy - 3, cx - 4, cy + 3, ink);
            p.Polygon({{cx - 4, cy - 3}, {cx + 2, cy - 8}, {cx + 2, cy + 8}, {cx - 4, cy + 3}},
                      ink);
            break;
        case 2:  // a note
            p.Ellipse(cx - 3, cy + 5, 4, 3, ink);
            p.Box(cx, cy - 8, cx + 2, cy + 5, ink);
            p.Box(cx, cy - 8, cx + 7, cy - 6, ink);
            break;
        default:
            break;
    }
}

void Crossed(Painter& p) {  // a red cross over a button: switched off
    const int w = p.Width(), h = p.Height();
    p.Line(w / 2 - 10, h / 2 - 8, w / 2 + 10, h / 2 + 8, kRed(), 2);
    p.Line(w / 2 - 10, h / 2 + 8, w / 2 + 10, h / 2 - 8, kRed(), 2);
}

void Portrait(Painter& p, Rgb shirt, Rgb hair, uint32_t seed) {
    const int w = p.Width(), h = p.Height();
    p.Fill(Rgb{60, 70, 90}());
    p.Speckle(0, 0, w, h, {Rgb{70, 80, 100}()}, seed, 3);
    p.Ellipse(w / 2, h, w / 2 - 2, h / 3, shirt());
    p.Ellipse(w / 2, h / 2, w / 4, h / 3, kSkin());
    p.Ellipse(w / 2, h / 2 - h / 4, w / 4 + 2, h / 8, hair());
    p.Ellipse(w / 2 - w / 10, h / 2 - 2, 2, 2, Rgb{40, 30, 30}());
    p.Ellipse(w / 2 + w / 10, h / 2 - 2, 2, 2, Rgb{40, 30, 30}());
    p.Box(w / 2 - w / 12, h / 2 + h / 8, w / 2 + w / 12, h / 2 + h / 8 + 2, Rgb{140, 60, 60}());
    p.Outline(0, 0, w, h, kGold(-4));
}

void DogPortrait(Painter& p) {
    const int w = p.Width(), h = p.Height();
    p.Fill(Rgb{70, 90, 60}());
    p.Ellipse(w / 2, h / 2 + 4, w / 3, h / 3, kBark(3));
    p.Ellipse(w / 2, h / 2 + h / 5, w / 6, h / 8, kBark(6));
    p.Ellipse(w / 2, h / 2 + h / 7, 3, 2, Rgb{20, 20, 20}());
    p.Ellipse(w / 4, h / 3, w / 10, h / 5, kBark(-4));
    p.Ellipse(w * 3 / 4, h / 3, w / 10, h / 5, kBark(-4));
    p.Ellipse(w / 2 - 6, h / 2, 2, 2, Rgb{20, 20, 20}());
    p.Ellipse(w / 2 + 6, h / 2, 2, 2, Rgb{20, 20, 20}());
    p.Outline(0, 0, w, h, kGold(-4));
}

// An arrow of the scrolling cursor pointing from the picture's centre toward
// its hot spot.
void ScrollArrow(Painter& p, int hx, int hy) {
    const double cx = p.Width() / 2.0, cy = p.Height() / 2.0;
    const double dx = hx - cx, dy = hy - cy, len = std::max(1.0, std::hypot(dx, dy));
    const double ux = dx / len, uy = dy / len;
    auto at = [&](double along, double side) {
        return qv::Point{static_cast<int>(std::lround(hx - ux * along - uy * side)),
                         static_cast<int>(std::lround(hy - uy * along + ux * side))};
    };
    const C edge = Rgb{30, 20, 10}(), fill = kGold();
    p.Polygon({at(0, 0), at(16, 11), at(16, 4), at(30, 4), at(30, -4), at(16, -4), at(16, -11)},
              edge);
    p.Polygon({at(3, 0), at(14, 8), at(14, 2), at(28, 2), at(28, -2), at(14, -2), at(14, -8)},
              fill);
}

void Pointer(Painter& p, Rgb fill, int x, int y) {
    const C edge = Rgb{20, 20, 20}();
    p.Polygon({{x, y},
               {x, y + 20},
               {x + 5, y + 15},
               {x + 9, y + 23},
               {x + 12, y + 22},
               {x + 8, y + 14},
               {x + 15, y + 14}},
              edge);
    p.Polygon({{x + 1, y + 3},
               {x + 1, y + 17},
               {x + 5, y + 13},
               {x + 9, y + 21},
               {x + 10, y + 20},
               {x + 6, y + 12},
               {x + 12, y + 12}},
              fill());
}

void Crosshair(Painter& p, int cx, int cy, Rgb c) {
    p.Ellipse(cx, cy, 10, 10, c());
    p.Ellipse(cx, cy, 8, 8, 0);
    p.Box(cx - 14, cy - 1, cx + 15, cy + 1, c());
    p.Box(cx - 1, cy - 14, cx + 1, cy + 15, c());
}

void SpellIcon(Painter& p, int id) {
    const int w = p.Width(), h = p.Height();
    Rgb tone = kBlue;
    switch (id) {
        case 905:
        case 1012:
            tone = Rgb{60, 200, 90};
            break;  // healing
        case 907:
        case 908:
            tone = Rgb{230, 110, 30};
            break;  // fire and frost darts
        case 1007:
            tone = Rgb{250, 230, 120};
            break;  // light
        case 1010:
        case 1015:
            tone = Rgb{200, 200, 60};
            break;  // lightning
        case 1014:
        case 1011:
            tone = Rgb{140, 90, 160};
            break;
        default:
            break;
    }
    p.Bevel(0, 0, w, h, tone(-6), tone(-2), tone(-11), 2);
    p.Ellipse(w / 2, h / 2, w / 3, h / 3, tone());
    p.Ellipse(w / 2 - 3, h / 2 - 3, w / 8, h / 8, tone(8));
    if (id == 1010 || id == 1015)
        p.Polygon({{w / 2 + 3, 3},
                   {w / 2 - 6, h / 2 + 2},
                   {w / 2, h / 2},
                   {w / 2 - 4, h - 3},
                   {w / 2 + 6, h / 2 - 2},
                   {w / 2, h / 2}},
                  Rgb{255, 255, 200}());
    const uint32_t seed = static_cast<uint32_t>(id);
    p.Speckle(3, 3, w - 3, h - 3, {tone(10)}, seed, 17);
}

std::map<int, PictureRecipe> BuildRecipes() {
    std::map<int, PictureRecipe> r;
    auto add = [&](int id, int w, int h, std::function<void(Painter&)> f, int transparent = 0) {
        r[id] = PictureRecipe{w, h, std::move(f), transparent};
    };
    for (int code = 0; code < kTerrainPictureCount; ++code)
        add(kBitmapTerrain + code, code == 3 ? kTerrainWidth * kWaterAnimationSteps : kTerrainWidth,
            kTerrainHeight, [code](Painter& p) { PaintTerrain(p, code); });

    add(kBitmapLivePine, 64, 96, [](Painter& p) { Pine(p, 64, 96, kLeaf, false); });
    add(kBitmapLivePineSmall, 40, 64, [](Painter& p) { Pine(p, 40, 64, Rgb{56, 130, 50}, false); });
    add(kBitmapDeadPine, 64, 96, [](Painter& p) { Pine(p, 64, 96, kBark, true); });
    add(kBitmapShrub, 160, 28, Shrubs);
    add(kBitmapBigMountain, 272, 150, [](Painter& p) { Mountain(p, false); });
    add(kBitmapIceMountain, 272, 150, [](Painter& p) { Mountain(p, true); });
    add(kBitmapRocks, 40, 24, [](Painter& p) { Rocks(p, 40, 24, 1); });
    add(kBitmapRocks2, 56, 30, [](Painter& p) { Rocks(p, 56, 30, 2); });
    add(kBitmapDarkPatch, 60, 30, [](Painter& p) {
        p.Ellipse(30, 15, 28, 13, Rgb{50, 90, 36}());
        p.Speckle(4, 4, 56, 26, {Rgb{40, 70, 30}()}, 8, 3);
    });
    add(kBitmapFlower, 12, 12, [](Painter& p) {
        p.Box(5, 6, 7, 12, kLeaf());
        p.Ellipse(6, 4, 3, 3, kRed(2));
        p.Dot(6, 4, kGold());
    });
    add(kBitmapFlowers, 30, 20, [](Painter& p) {
        for (int i = 0; i < 5; ++i) {
            const int x = 4 + i * 5 + (i % 2), y = 6 + (i * 7) % 9;
            p.Box(x, y + 2, x + 1, 20, kLeaf());
            p.Ellipse(x, y, 2, 2, i % 2 ? kGold() : Rgb{230, 120, 200}());
        }
    });

    for (int kind = 0; kind < kItemCount; ++kind) {
        add(kBitmapItemGround + kind, 32, 24, [kind](Painter& p) { PaintItem(p, kind, 32, 24); });
        add(kBitmapItemInventory + kind, 36, 33, [kind](Painter& p) {
            PaintOnPanel(p, 36, 33, [kind](Painter& ip) { PaintItem(ip, kind, 36, 33); });
        });
    }
    add(kBitmapChest, 52, 36, [](Painter& p) {
        p.Box(4, 12, 48, 34, kWood());
        p.Ellipse(26, 12, 22, 8, kWood(3));
        p.Box(4, 12, 48, 14, kBark(-4));
        for (int x : {10, 40}) p.Box(x, 6, x + 3, 34, kSteel(-4));
        p.Box(23, 16, 29, 22, kGold());
    });
    add(kBitmapCoffin, 97, 36, [](Painter& p) {
        p.Polygon({{4, 18}, {20, 6}, {92, 10}, {92, 26}, {20, 30}}, kBark(-2));
        p.Polygon({{8, 18}, {22, 9}, {88, 12}, {88, 24}, {22, 27}}, kBark(1));
        p.Box(40, 16, 60, 19, kGold(-2));
        p.Box(48, 12, 51, 23, kGold(-2));
    });
    add(kBitmapCreature, 512, 64, Creature);
    add(kBitmapCrate, 64, 64, [](Painter& p) {
        p.Box(12, 18, 52, 58, kWood());
        p.Outline(12, 18, 52, 58, kBark(-4));
        p.Line(12, 18, 52, 58, kWood(-4), 2);
        p.Line(52, 18, 12, 58, kWood(-4), 2);
        p.Polygon({{12, 18}, {22, 8}, {62, 8}, {52, 18}}, kWood(4));
        p.Polygon({{52, 18}, {62, 8}, {62, 48}, {52, 58}}, kWood(-3));
    });

    // The plain object (283) has no picture of its own: walls, events and
    // other things that borrow it until they get their own pictures must
    // neither show nor block through their image mask.
    // The frame's own pictures.
    add(892, 56, 17, [](Painter& p) {  // hold-ground button: up and down
        for (int i = 0; i < 2; ++i) {
            const int x0 = i * 28;
            p.Bevel(x0, 0, x0 + 28, 17, kPanel(i ? -3 : 0), kPanel(i ? -8 : 6), kPanel(i ? 5 : -8),
                    1);
            p.Polygon({{x0 + 8 + i, 3 + i},
                       {x0 + 20 + i, 3 + i},
                       {x0 + 20 + i, 9 + i},
                       {x0 + 14 + i, 14 + i},
                       {x0 + 8 + i, 9 + i}},
                      kBlue());
        }
    });
    add(969, 125, 25,
        [](Painter& p) { p.Bevel(0, 0, 125, 25, kPanel(-6), kPanel(-9), kPanel(4), 3); });
    add(970, 125, 25, [](Painter& p) {
        for (int y = 0; y < 25; ++y) p.Box(0, y, 125, y + 1, Rgb{200, 60 + y * 4, 40}());
    });
    const int scrollHot[8][3] = {{668, 37, 10}, {669, 55, 15}, {671, 66, 27}, {672, 60, 43},
                                 {673, 37, 51}, {674, 15, 43}, {675, 8, 27},  {676, 18, 14}};
    for (const auto& s : scrollHot)
        add(s[0], 75, 56, [hx = s[1], hy = s[2]](Painter& p) { ScrollArrow(p, hx, hy); });
    add(
        873, 126, 19,
        [](Painter& p) {  // the pointer, its tip the hot spot, on see-through index 9;
                          // a glint runs down its edge from one column to the next
            p.Fill(9);
            for (int i = 0; i < 7; ++i) {
                const int x = i * 18;
                p.Polygon({{x, 0},
                           {x, 15},
                           {x + 4, 11},
                           {x + 7, 17},
                           {x + 10, 16},
                           {x + 7, 10},
                           {x + 12, 10}},
                          Rgb{20, 20, 20}());
                p.Polygon({{x + 1, 2},
                           {x + 1, 12},
                           {x + 4, 9},
                           {x + 7, 15},
                           {x + 8, 14},
                           {x + 5, 8},
                           {x + 9, 8}},
                          kGold(2));
                p.Ellipse(x + 2, 3 + i, 1, 1, kGold(8));
            }
        },
        9);
    for (int id : {644, 645, 647, 646})
        add(id, 32, 30, [id](Painter& p) {
            Pointer(p, id == 644 ? kSteel : id == 645 ? kGold : id == 646 ? kRed : kBlue, 5, 7);
        });
    add(649, 32, 30, [](Painter& p) {  // a hand reaching down to its hot spot (16, 28)
        p.Ellipse(16, 12, 7, 8, kSkin());
        p.Box(14, 12, 18, 29, kSkin());
        p.Box(14, 27, 18, 29, kSkin(-5));
    });
    add(648, 32, 30, [](Painter& p) {
        p.Ellipse(16, 12, 7, 8, kSkin(-2));
        p.Box(14, 12, 18, 29, kSkin(-2));
        p.Ellipse(16, 8, 4, 4, kGold());
    });
    add(650, 32, 30, [](Painter& p) { Crosshair(p, 15, 15, kRed); });
    add(651, 32, 30, [](Painter& p) { Crosshair(p, 15, 15, kGold); });
    add(679, 32, 32, [](Painter& p) { Pointer(p, Rgb{240, 240, 240}, 0, 0); });
    // Tokens.
    add(1102, 10, 10, [](Painter& p) {
        p.Ellipse(5, 5, 4, 4, kGold(-3));
        p.Ellipse(4, 4, 2, 2, kGold(4));
    });
    add(1101, 36, 33, [](Painter& p) {
        p.Ellipse(12, 12, 10, 10, kGold(-3));
        p.Ellipse(10, 10, 5, 5, kGold(4));
    });
    add(1103, 16, 48, [](Painter& p) {
        p.Box(2, 6, 14, 48, kStone(-2));
        p.Bevel(2, 6, 14, 48, kStone(-2), kStone(3), kStone(-7), 1);
        p.Box(5, 14, 11, 16, Rgb{20, 20, 20}());
    });
    // Combat panel buttons: 981 close combat only (a sword), 982 shoot only
    // (a bow), 983 shoot from afar (a bow and its arrow on the way), 984 and
    // 985 the second mode (never shown), 986 stand fast (a stake driven in),
    // 989 defensive (a shield), 988 normal (a sword), 987 berserker (an axe).
    const auto sword = [](Painter& p, C blade) {
        p.Line(5, 15, 15, 5, blade, 2);
        p.Line(4, 11, 9, 16, kBark(), 2);
        p.Line(3, 17, 5, 15, kBark(-3), 2);
    };
    const auto bow = [](Painter& p) {
        p.Line(5, 3, 11, 5, kWood(2), 2);
        p.Line(11, 5, 13, 10, kWood(2), 2);
        p.Line(13, 10, 11, 15, kWood(2), 2);
        p.Line(11, 15, 5, 17, kWood(2), 2);
        p.Line(5, 3, 5, 17, kSteel(4));
    };
    const std::function<void(Painter&)> panelButtons[9] = {
        [sword](Painter& p) { sword(p, kSteel(4)); },
        [bow](Painter& p) { bow(p); },
        [bow](Painter& p) {
            bow(p);
            p.Line(8, 10, 18, 10, kSteel(4));
            p.Line(15, 8, 18, 10, kSteel(4));
            p.Line(15, 12, 18, 10, kSteel(4));
        },
        [](Painter& p) { p.Ellipse(10, 10, 3, 3, kBlue()); },
        [](Painter& p) { p.Ellipse(10, 10, 5, 5, kBlue()); },
        [](Painter& p) {
            p.Box(9, 3, 12, 14, kWood(2));
            p.Polygon({{9, 14}, {12, 14}, {10, 17}}, kWood(-2));
            p.Box(3, 16, 18, 18, kGrass(-2));
        },
        [](Painter& p) {
            p.Box(6, 4, 7, 17, kWood(-2));
            p.Line(6, 16, 15, 5, kWood(-2), 2);
            p.Polygon({{11, 3}, {17, 3}, {17, 9}}, kRed(2));
            p.Polygon({{11, 3}, {17, 9}, {13, 9}}, kSteel(2));
        },
        [sword](Painter& p) { sword(p, kGold(2)); },
        [](Painter& p) {
            p.Polygon({{4, 4}, {16, 4}, {16, 11}, {10, 17}, {4, 11}}, kBlue());
            p.Box(9, 5, 11, 15, kGold());
            p.Box(5, 8, 15, 10, kGold());
        },
    };
    for (int i = 0; i < 9; ++i)
        add(981 + i, 20, 20, [paint = panelButtons[i]](Painter& p) {
            p.Bevel(0, 0, 20, 20, kPanel(), kPanel(6), kPanel(-8), 1);
            paint(p);
        });
    // The party panel's effect icons: a flame in a blue ring, a stone on
    // the ground, a dotted figure, a lightning bolt, a figure over an arrow.
    const std::function<void(Painter&)> effectIcons[kEffectIconPictures] = {
        [](Painter& p) {
            p.Ellipse(5, 5, 5, 5, kBlue(2));
            p.Ellipse(5, 5, 3, 3, kPanel(-6));
            p.Polygon({{5, 2}, {8, 7}, {5, 9}, {2, 7}}, kRed(4));
            p.Dot(5, 6, kGold(4));
        },
        [](Painter& p) {
            p.Box(0, 8, 11, 11, kBark());
            p.Ellipse(5, 5, 3, 3, kStone());
            p.Line(5, 0, 5, 2, kBark(4));
        },
        [](Painter& p) {
            for (int y = 0; y < 11; y += 2) p.Dot(5, y, kSnow());
            for (int x = 1; x < 11; x += 2) p.Dot(x, 4, kSnow());
            p.Ellipse(5, 1, 1, 1, kSnow());
        },
        [](Painter& p) {
            p.Polygon({{7, 0}, {2, 6}, {5, 6}, {3, 10}, {9, 4}, {6, 4}}, kGold(6));
        },
        [](Painter& p) {
            p.Polygon({{5, 0}, {9, 4}, {6, 4}, {6, 7}, {4, 7}, {4, 4}, {1, 4}}, kIce());
            p.Box(2, 9, 9, 11, kIce(-4));
        },
    };
    for (int i = 0; i < kEffectIconPictures; ++i)
        add(kBitmapEffectIcons + i, kEffectIconSize, kEffectIconSize, effectIcons[i]);
    // Windows.
    add(913, 640, 480, [](Painter& p) {
        Landscape(p);
        p.Bevel(119, 8, 523, 354, kPanel(), kPanel(6), kPanel(-8), 4);
    });
    add(kBitmapTitle, 640, 120, [](Painter& p) {
        for (int y = 0; y < p.Height(); ++y)
            p.Box(0, y, p.Width(), y + 1, Rgb{28, 22 + y / 6, 44 + y / 3}());
        p.Speckle(0, 0, p.Width(), p.Height() / 2, {Rgb{240, 240, 210}()}, 3700, 97);
        BigText(p, "QUORVALE", 4, kGold(), Rgb{40, 20, 10}());
    });
    add(1089, 640, 480, Landscape);
    add(1090, 426, 439, [](Painter& p) { WindowBackground(p, 1090); });
    add(568, 404, 346, [](Painter& p) { WindowBackground(p, 568); });
    add(576, 404, 346, [](Painter& p) { WindowBackground(p, 576); });
    add(960, 640, 480, [](Painter& p) {  // the intro background, a see-through hole in the middle
        Landscape(p);
        p.Box(180, 40, 460, 440, 0);
    });
    add(943, 334, 423, [](Painter& p) {
        p.Fill(kPanel());
        p.Bevel(0, 0, 334, 423, kPanel(), kPanel(6), kPanel(-8), 6);
        p.Box(37, 18, 297, 405, 0);
    });
    add(961, 260, 487, [](Painter& p) {
        p.Fill(kParchment());
        p.Speckle(0, 0, 260, 487, {kParchment(-2), kParchment(2)}, 961, 4);
        ScrollTale(p);
    });
    for (int id = 577; id <= 584; ++id)
        add(id, 90, 30, [id](Painter& p) {
            const int k = id - 577;
            Button(p, kPanel, k % 2 == 1, k < 4 ? 1 : 2);
            if (k % 4 >= 2) Crossed(p);
        });
    // Buttons of the new-character, load and save windows: confirm (569
    // up, 570 down, 897 disabled), cancel (571, 572), plus (566, 567, 896)
    // and minus (894 up, 893 down, 895 disabled).
    struct ButtonLook {
        int id, width, height, state, sign;  // state 0 up, 1 down, 2 disabled
    };
    const ButtonLook buttons[] = {{569, 140, 39, 0, 0}, {570, 140, 39, 1, 0}, {897, 140, 39, 2, 0},
                                  {571, 140, 39, 0, 1}, {572, 140, 39, 1, 1}, {566, 39, 39, 0, 2},
                                  {567, 39, 39, 1, 2},  {896, 39, 39, 2, 2},  {894, 39, 39, 0, 3},
                                  {893, 39, 39, 1, 3},  {895, 39, 39, 2, 3}};
    for (const ButtonLook& b : buttons)
        add(b.id, b.width, b.height, [b](Painter& p) {
            const Rgb face = b.state == 2 ? Rgb{110, 110, 110} : kPanel;
            Button(p, face, b.state == 1, 0);
            const int cx = p.Width() / 2 + (b.state == 1), cy = p.Height() / 2 + (b.state == 1);
            const C ink = b.state == 2 ? Rgb{150, 150, 150}() : b.sign == 1 ? kRed() : kGold();
            switch (b.sign) {
                case 0:  // a tick
                    p.Line(cx - 9, cy, cx - 3, cy + 7, ink, 3);
                    p.Line(cx - 3, cy + 7, cx + 10, cy - 8, ink, 3);
                    break;
                case 1:  // a cross
                    p.Line(cx - 8, cy - 8, cx + 8, cy + 8, ink, 3);
                    p.Line(cx - 8, cy + 8, cx + 8, cy - 8, ink, 3);
                    break;
                case 2:  // plus
                    p.Box(cx - 9, cy - 2, cx + 10, cy + 2, ink);
                    p.Box(cx - 2, cy - 9, cx + 2, cy + 10, ink);
                    break;
                default:  // minus
                    p.Box(cx - 9, cy - 2, cx + 10, cy + 2, ink);
                    break;
            }
        });
    // Portraits: the party panel's (66 x 66) and conversation portraits (96 x 96).
    const Rgb shirts[] = {kRed, kBlue, Rgb{60, 140, 60}, kCloth, kGold};
    int n = 0;
    for (int id : {377, 378, 380, 1081, 1083, 1084, 1085, 1087, 1088})
        add(id, 66, 66,
            [s = shirts[n % 5], id](Painter& p) {
                Portrait(p, s, id % 2 ? kBark : Rgb{200, 150, 40}, id);
            }),
            ++n;
    for (int id : {1082, 1086}) add(id, 66, 66, DogPortrait);
    for (int id : {741, 843, 844, 849})
        add(id, 96, 96, [s = shirts[id % 5], id](Painter& p) { Portrait(p, s, kBark, id); });
    // Spell icons.
    for (int id : {905, 906, 907, 908, 909, 1007, 1008, 1010, 1011, 1012, 1013, 1014, 1015, 1016})
        add(id, 36, 32, [id](Painter& p) { SpellIcon(p, id); });
    AddStructureRecipes(r);
    AddItemRecipes(r);
    AddFixtureRecipes(r);
    AddFurnishingRecipes(r);
    AddPlatformRecipes(r);
    return r;
}

}  // namespace

void PaintGarment(Painter& p, int w, int h, uint8_t body, std::optional<uint8_t> stripe) {
    const int cx = w / 2, s = std::min(w, h);
    p.Polygon({{cx - s / 3, 4},
               {cx + s / 3, 4},
               {cx + s / 2 - 2, s / 3},
               {cx + s / 3 - 2, h - 3},
               {cx - s / 3 + 2, h - 3},
               {cx - s / 2 + 2, s / 3}},
              body);
    if (stripe) p.Box(cx - 2, 6, cx + 2, h - 4, *stripe);
    p.Ellipse(cx, 4, s / 8, 3, 0);
}

void PaintShield(Painter& p, int w, int h, uint8_t face, uint8_t boss) {
    const int cx = w / 2, cy = h / 2, s = std::min(w, h);
    p.Polygon({{cx - s / 2 + 3, 3},
               {cx + s / 2 - 3, 3},
               {cx + s / 2 - 3, cy},
               {cx, h - 2},
               {cx - s / 2 + 3, cy}},
              face);
    p.Box(cx - 1, 5, cx + 2, h - 6, boss);
}

void PaintHelmet(Painter& p, int w, int h, uint8_t dark, uint8_t bright) {
    const int cx = w / 2, cy = h / 2, s = std::min(w, h);
    p.Ellipse(cx, cy + 2, s / 2 - 3, s / 2 - 4, dark);
    p.Box(cx - s / 2 + 3, cy + 2, cx + s / 2 - 2, h, 0);
    p.Box(cx - s / 2 + 2, cy, cx + s / 2 - 2, cy + 3, bright);
}

void PaintRing(Painter& p, int w, int h, uint8_t stone) {
    const int cx = w / 2, cy = h / 2, s = std::min(w, h);
    p.Ellipse(cx, cy + 2, s / 4, s / 4, kGold());
    p.Ellipse(cx, cy + 2, s / 4 - 3, s / 4 - 3, 0);
    p.Ellipse(cx, cy - s / 4 + 1, 3, 3, stone);
}

void PaintOnPanel(Painter& p, int w, int h, const std::function<void(Painter&)>& item) {
    p.Bevel(0, 0, w, h, kPanel(-2), kPanel(-6), kPanel(3), 1);
    // Holes the item leaves see-through on the ground (a ring's, a helmet's)
    // show the panel here.
    CDIBitmap picture(w, h);
    Painter ip(picture);
    item(ip);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (const uint8_t c = picture.GetPixel(x, y)) p.Dot(x, y, c);
}

const std::map<int, PictureRecipe>& PictureRecipes() {
    static const std::map<int, PictureRecipe> recipes = BuildRecipes();
    return recipes;
}
