// The pictures of the weapons, armour and missiles that the item classes
// draw: the kinds the resource store paints beside its older items, a
// weapon's picture once it carries a name of its own, every armour kind in
// its nine materials, the missiles in their eight directions, the bed and the
// rain barrel.

#include <algorithm>
#include <cmath>

#include "media/ArtPalette.h"
#include "media/ResourceArt.h"
#include "media/Resources.h"

namespace {

using namespace art;
using Tone = Rgb;

constexpr Rgb kRope{200, 180, 130}, kLinen{226, 220, 200}, kBlanket{150, 40, 50};

// The look of each material 0..8: cloth, leather, snakeskin, scale, chain,
// plate, and three kinds of magic.
constexpr Tone kMaterials[kArmourMaterialCount] = {
    {200, 190, 160}, {140, 90, 50},  {90, 140, 60},  {170, 130, 70}, {150, 156, 166},
    {205, 210, 220}, {80, 120, 230}, {150, 80, 200}, {230, 190, 60},
};

// ---------------------------------------------------------------- weapons

void Handle(Painter& p, int x0, int y0, int x1, int y1) {
    p.Line(x0, y0, x1, y1, kBark(), 2);
}

void PaintWeapon(Painter& p, int kind, int w, int h) {
    const int cx = w / 2, cy = h / 2, s = std::min(w, h);
    switch (kind) {
        case kItemFlail:
            Handle(p, cx - s / 3, cy + s / 3, cx, cy);
            p.Line(cx, cy, cx + s / 6, cy - s / 5, kSteel(-4));
            p.Ellipse(cx + s / 4, cy - s / 4, s / 7, s / 7, kSteel(-2));
            p.Speckle(cx + s / 8, cy - s / 3, cx + s / 3, cy - s / 8, {kSteel(6)}, 9, 3);
            break;
        case kItemHammer:
            Handle(p, cx - s / 3, cy + s / 3, cx + s / 8, cy - s / 8);
            p.Polygon({{cx, cy - s / 3},
                       {cx + s / 4, cy - s / 8},
                       {cx + s / 8, cy},
                       {cx - s / 8, cy - s / 5}},
                      kSteel(-3));
            break;
        case kItemPitchfork:
            p.Line(3, h - 3, w - 10, 8, kWood(), 2);
            for (int t = -1; t <= 1; ++t)
                p.Line(w - 10 + 3 * t, 8 - 3 * t, w - 3 + 3 * t, 2 - 3 * t, kSteel());
            break;
        case kItemScythe:
            p.Line(4, h - 3, w - 8, 4, kWood(), 2);
            p.Polygon({{w - 8, 4}, {w - 2, 8}, {cx, cy + 2}, {w - 9, 9}}, kSteel(2));
            break;
        case kItemWhip:
            Handle(p, 3, h - 4, 9, h - 9);
            for (int i = 0; i < 12; ++i) {
                const double t = i / 11.0;
                const int x = 9 + static_cast<int>(t * (w - 12));
                const int y = h - 9 - static_cast<int>(std::sin(t * 3.14159 * 1.5) * (h / 3.0));
                p.Dot(x, y, kRope());
                p.Dot(x, y + 1, kRope(-4));
            }
            break;
        case kItemLongbow:
            p.Line(cx - s / 5, 1, cx + s / 3, cy, kBark(-2), 2);
            p.Line(cx + s / 3, cy, cx - s / 5, h - 2, kBark(-2), 2);
            p.Line(cx - s / 5, 1, cx - s / 5, h - 2, kLinen());
            break;
        case kItemStone:
            p.Ellipse(cx, cy + 2, s / 4, s / 5, kStone(-3));
            p.Ellipse(cx - 1, cy + 1, s / 6, s / 7, kStone(2));
            break;
        default:
            break;
    }
}

// ---------------------------------------------------------------- armour

void PaintArmour(Painter& p, int kind, int w, int h, Tone t) {
    const int cx = w / 2, cy = h / 2, s = std::min(w, h);
    switch (kind) {
        case kItemShield:
            PaintShield(p, w, h, t(), t(-5));
            break;
        case kItemHelmet:
            PaintHelmet(p, w, h, t(-2), t(3));
            break;
        case kItemAmulet:
            p.Line(cx - s / 3, 3, cx, cy, kGold(), 1);
            p.Line(cx + s / 3, 3, cx, cy, kGold(), 1);
            p.Ellipse(cx, cy + 4, s / 6, s / 6, t(-2));
            p.Dot(cx - 1, cy + 3, t(8));
            break;
        case kItemShirt:
            PaintGarment(p, w, h, t(-2), std::nullopt);
            break;
        case kItemGloves:
            p.Ellipse(cx, cy + 2, s / 4, s / 3, t());
            for (int f = -2; f <= 1; ++f) p.Box(cx + f * 4, 3, cx + f * 4 + 3, cy, t());
            break;
        case kItemRing:
            PaintRing(p, w, h, t(4));
            break;
        case kItemLeggings:
            p.Box(cx - s / 3, 3, cx + s / 3, cy, t(-1));
            p.Box(cx - s / 3, cy, cx - 1, h - 3, t(-1));
            p.Box(cx + 2, cy, cx + s / 3, h - 3, t(-1));
            break;
        case kItemBoots:
            p.Box(cx - s / 3, 4, cx - 2, h - 5, t());
            p.Box(cx - s / 3, h - 8, cx + s / 3, h - 3, t(-3));
            break;
        case kItemCape:
            p.Polygon({{cx - 4, 3}, {cx + 4, 3}, {cx + s / 2 - 2, h - 3}, {cx - s / 2 + 2, h - 3}},
                      t());
            p.Box(cx - 4, 3, cx + 4, 5, kGold());
            break;
        case kItemDogArmour:
            p.Ellipse(cx, cy + 1, s / 2 - 2, s / 3, t(-1));
            p.Box(cx - s / 2 + 4, cy - 1, cx + s / 2 - 4, cy + 2, t(4));
            break;
        default:
            break;
    }
}

// A weapon that has a name of its own glints gold along its edge.
void Glint(Painter& p, int w, int h) {
    for (int i = 0; i < 5; ++i) p.Dot(w - 6 - i, 3 + i, kGold(6));
    p.Outline(1, 1, w - 1, h - 1, kGold(-2));
}

// ---------------------------------------------------------------- missiles

// An arrow pointing in direction d (0 left, 2 up, 4 right, 6 down, odd the
// diagonals between them, as a missile's direction counts).
void Arrow(Painter& p, int x0, int y0, int direction, Tone head, Tone shaft) {
    static constexpr double kAngles[8] = {180, 135, 90, 45, 0, -45, -90, -135};
    const double a = kAngles[direction & 7] * 3.14159265 / 180.0;
    const double dx = std::cos(a), dy = -std::sin(a);
    const int cx = x0 + 8, cy = y0 + 8;
    const int tx = cx + static_cast<int>(std::lround(dx * 6)),
              ty = cy + static_cast<int>(std::lround(dy * 6));
    const int bx = cx - static_cast<int>(std::lround(dx * 6)),
              by = cy - static_cast<int>(std::lround(dy * 6));
    p.Line(bx, by, tx, ty, shaft());
    p.Ellipse(tx, ty, 1, 1, head());
    p.Dot(bx, by, head(-4));
}

constexpr Tone kMissileColours[kMagicMissileColours] = {
    {250, 240, 120}, {250, 120, 40},  {120, 200, 255}, {160, 255, 140},
    {255, 110, 200}, {200, 160, 255}, {255, 255, 255}, {255, 60, 60},
};

// ---------------------------------------------------------------- power cubes

// A small stone cube seen from above and the side, its faces lit from the
// top left; charged, a glow of light rises from its top face.
void PaintPowerCube(Painter& p, int x0, bool charged) {
    const Tone stone = charged ? Tone{150, 200, 235} : kStone;
    // Top, left and right faces about the hot spot (8, 14) of the cell.
    p.Polygon({{x0 + 2, 6}, {x0 + 9, 2}, {x0 + 16, 6}, {x0 + 9, 10}}, stone(6));
    p.Polygon({{x0 + 2, 6}, {x0 + 9, 10}, {x0 + 9, 16}, {x0 + 2, 12}}, stone(-2));
    p.Polygon({{x0 + 9, 10}, {x0 + 16, 6}, {x0 + 16, 12}, {x0 + 9, 16}}, stone(-7));
    p.Line(x0 + 5, 9, x0 + 7, 12, stone(-10));
    p.Line(x0 + 11, 12, x0 + 14, 9, stone(-12));
    if (charged) {
        p.Ellipse(x0 + 9, 6, 3, 2, kSnow());
        p.Dot(x0 + 9, 1, kSnow());
        p.Dot(x0 + 6, 3, kSnow(-3));
        p.Dot(x0 + 12, 3, kSnow(-3));
    }
}

// The symbol carved in a stand's face about (cx, cy): 1 a sun, 2 an oak,
// 3 an hourglass, 4 a shield, 5 wavy lines; 0 leaves the face bare.
void PaintStandSymbol(Painter& p, int cx, int cy, int symbol) {
    switch (symbol) {
        case 1:
            for (int i = 0; i < 8; ++i) {
                const double a = i * 3.14159265 / 4;
                p.Line(cx, cy, cx + static_cast<int>(std::lround(std::cos(a) * 6)),
                       cy + static_cast<int>(std::lround(std::sin(a) * 6)), kGold(-4));
            }
            p.Ellipse(cx, cy, 3, 3, kGold());
            break;
        case 2:
            p.Box(cx - 1, cy, cx + 2, cy + 6, kBark());
            p.Ellipse(cx, cy - 2, 5, 4, kLeaf(4));
            break;
        case 3:
            p.Polygon({{cx - 4, cy - 6}, {cx + 4, cy - 6}, {cx, cy}}, kSand());
            p.Polygon({{cx, cy}, {cx - 4, cy + 6}, {cx + 4, cy + 6}}, kSand(-4));
            p.Line(cx - 5, cy - 6, cx + 5, cy - 6, kWood(-3));
            p.Line(cx - 5, cy + 6, cx + 5, cy + 6, kWood(-3));
            break;
        case 4:
            p.Polygon(
                {{cx - 5, cy - 6}, {cx + 5, cy - 6}, {cx + 5, cy}, {cx, cy + 6}, {cx - 5, cy}},
                kRed(-2));
            p.Box(cx - 1, cy - 5, cx + 1, cy + 4, kGold());
            break;
        case 5:
            for (int row = -1; row <= 1; ++row)
                for (int x = -6; x <= 6; ++x)
                    p.Dot(cx + x,
                          cy + row * 4 + static_cast<int>(std::lround(std::sin(x * 0.9) * 1.5)),
                          kWater(6));
            break;
        default:
            break;
    }
}

// A waist-high pedestal of dressed stone with a hollow on top where a cube
// is set; its front face carries the stand's symbol.
void PaintPowerCubeStand(Painter& p, int x0, int symbol) {
    p.Ellipse(x0 + 20, 43, 15, 4, kStone(-12));
    p.Box(x0 + 10, 14, x0 + 30, 42, kStone(-2));
    p.Box(x0 + 10, 14, x0 + 13, 42, kStone(3));
    p.Box(x0 + 27, 14, x0 + 30, 42, kStone(-8));
    p.Box(x0 + 7, 38, x0 + 33, 44, kStone(-5));
    p.Box(x0 + 6, 8, x0 + 34, 14, kStone(2));
    p.Ellipse(x0 + 20, 8, 14, 4, kStone(6));
    p.Ellipse(x0 + 20, 8, 6, 2, kStone(-10));
    PaintStandSymbol(p, x0 + 20, 27, symbol);
}

void AddPowerCubeRecipes(std::map<int, PictureRecipe>& r) {
    r[kBitmapPowerCube] = PictureRecipe{2 * kPowerCubeWidth, kPowerCubeHeight, [](Painter& p) {
                                            PaintPowerCube(p, 0, false);
                                            PaintPowerCube(p, kPowerCubeWidth, true);
                                        }};
    r[kBitmapPowerCubeStand] = PictureRecipe{
        kPowerCubeStandColumns * kPowerCubeStandWidth, kPowerCubeStandHeight, [](Painter& p) {
            for (int symbol = 0; symbol < kPowerCubeStandColumns; ++symbol)
                PaintPowerCubeStand(p, symbol * kPowerCubeStandWidth, symbol);
        }};
}

}  // namespace

void PaintMoreItems(Painter& p, int kind, int w, int h) {
    PaintWeapon(p, kind, w, h);
    PaintArmour(p, kind, w, h, kMaterials[0]);
}

void AddItemRecipes(std::map<int, PictureRecipe>& r) {
    auto add = [&](int id, int w, int h, std::function<void(Painter&)> f) {
        r[id] = PictureRecipe{w, h, std::move(f), 0};
    };
    const int weapons[] = {kItemDagger, kItemSword, kItemLongSword, kItemBow, kItemLongbow};
    for (int kind : weapons)
        add(kBitmapItemNamed + kind, 36, 33, [kind](Painter& p) {
            const auto& plain = PictureRecipes().at(kBitmapItemInventory + kind);
            plain.paint(p);
            Glint(p, 36, 33);
        });
    const int armour[] = {kItemShield, kItemHelmet,   kItemAmulet, kItemShirt, kItemGloves,
                          kItemRing,   kItemLeggings, kItemBoots,  kItemCape,  kItemDogArmour};
    for (int kind : armour) {
        add(kBitmapArmourMaterials + kind, 32 * kArmourMaterialCount, 24, [kind](Painter& p) {
            for (int m = 0; m < kArmourMaterialCount; ++m) {
                CDIBitmap cell(32, 24);
                Painter cp(cell);
                PaintArmour(cp, kind, 32, 24, kMaterials[m]);
                for (int y = 0; y < 24; ++y)
                    for (int x = 0; x < 32; ++x)
                        if (const uint8_t c = cell.GetPixel(x, y)) p.Dot(m * 32 + x, y, c);
            }
        });
        if (kind == kItemBoots || kind == kItemAmulet || kind == kItemLeggings)
            for (int m = 0; m < kArmourMaterialCount; ++m)
                add(kBitmapArmourInventory + kind * kArmourMaterialCount + m, 36, 33,
                    [kind, m](Painter& p) {
                        PaintOnPanel(p, 36, 33, [&](Painter& ip) {
                            PaintArmour(ip, kind, 36, 33, kMaterials[m]);
                        });
                    });
    }
    add(kBitmapMissile, 16 * kMissileDirections, 16, [](Painter& p) {
        for (int d = 0; d < kMissileDirections; ++d) Arrow(p, d * 16, 0, d, kSteel, kWood);
    });
    add(kBitmapMagicMissile, 16 * kMissileDirections, 16 * kMagicMissileColours, [](Painter& p) {
        for (int c = 0; c < kMagicMissileColours; ++c)
            for (int d = 0; d < kMissileDirections; ++d)
                Arrow(p, d * 16, c * 16, d, kMissileColours[c], kMissileColours[c]);
    });
    // A barrel, and beside it a rain barrel brimming with water.
    add(kBitmapBarrel, 74, 51, [](Painter& p) {
        for (int i = 0; i < 2; ++i) {
            const int x = i * 37;
            p.Ellipse(x + 18, 26, 16, 22, kWood(-1));
            p.Box(x + 4, 8, x + 33, 45, kWood());
            for (int y : {12, 25, 38}) p.Box(x + 3, y, x + 34, y + 3, kSteel(-6));
            p.Ellipse(x + 18, 7, 14, 5, i ? kWater(6) : kWood(4));
        }
    });
    // A bed: a wooden frame, a pillow and a blanket.
    add(kBitmapBed, 64, 48, [](Painter& p) {
        p.Polygon({{4, 22}, {40, 8}, {60, 20}, {24, 36}}, kWood(-2));
        p.Polygon({{6, 22}, {40, 10}, {58, 20}, {24, 34}}, kLinen());
        p.Polygon({{14, 26}, {44, 14}, {58, 20}, {24, 34}}, kBlanket());
        p.Ellipse(14, 19, 6, 3, kLinen(4));
        p.Polygon({{4, 22}, {24, 36}, {24, 44}, {4, 30}}, kWood(-5));
        p.Polygon({{24, 36}, {60, 20}, {60, 28}, {24, 44}}, kWood(-3));
    });
    AddPowerCubeRecipes(r);
}
