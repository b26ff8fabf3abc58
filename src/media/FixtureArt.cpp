// The pictures of the catalogue's smaller kinds: potions by type, the
// monster generator's mark, the spell schools' pictures, the lever, the
// stairs, the two traps, the rugs and the archer's statue.

#include <cmath>

#include "media/ArtPalette.h"
#include "media/ResourceArt.h"
#include "media/Resources.h"

namespace {

using namespace art;

// The draught of each potion type: none (empty), healing, mana, strength,
// speed, toughskin, cure poison.
constexpr Rgb kDraughts[kPotionKindCount] = {
    {210, 225, 235}, {210, 40, 40},  {50, 90, 220}, {230, 120, 30},
    {240, 220, 60},  {150, 100, 60}, {60, 190, 80},
};

void PaintBottle(Painter& p, int x0, Rgb draught, bool empty) {
    p.Ellipse(x0 + 8, 16, 6, 6, kIce(-2));
    if (!empty) p.Ellipse(x0 + 8, 17, 5, 4, draught());
    p.Box(x0 + 6, 4, x0 + 10, 11, kIce(-1));
    p.Box(x0 + 6, 2, x0 + 10, 4, kWood());
    p.Dot(x0 + 5, 14, kSnow());
}

// A school's mark on a bevelled stone: a flame, a mountain, a swirl of wind,
// a drop of water.
void PaintSchool(Painter& p, int school) {
    constexpr Rgb kTones[kSpellSchoolCount + 1] = {
        {120, 120, 120}, {220, 90, 30}, {120, 90, 50}, {200, 220, 240}, {40, 90, 210}};
    const Rgb t = kTones[school];
    p.Bevel(0, 0, 36, 32, kStone(-6), kStone(2), kStone(-11), 2);
    switch (school) {
        case 1:
            p.Polygon({{18, 4}, {26, 18}, {22, 27}, {14, 27}, {10, 18}}, t());
            p.Polygon({{18, 12}, {22, 21}, {18, 26}, {14, 21}}, kGold(4));
            break;
        case 2:
            p.Polygon({{4, 27}, {15, 8}, {21, 16}, {25, 11}, {32, 27}}, t());
            p.Polygon({{15, 8}, {18, 13}, {12, 13}}, kSnow());
            break;
        case 3:
            for (int i = 0; i < 40; ++i) {
                const double a = i * 0.3;
                p.Dot(18 + static_cast<int>(std::lround(std::cos(a) * i * 0.3)),
                      16 + static_cast<int>(std::lround(std::sin(a) * i * 0.3)), t());
            }
            break;
        default:
            p.Ellipse(18, 19, 7, 7, t());
            p.Polygon({{18, 4}, {24, 16}, {12, 16}}, t());
            p.Dot(15, 17, kSnow());
            break;
    }
}

void PaintLever(Painter& p, int x0, bool on) {
    p.Box(x0 + 6, 22, x0 + 18, 30, kStone(-3));
    p.Box(x0 + 6, 22, x0 + 18, 24, kStone(3));
    const int tipX = on ? x0 + 20 : x0 + 4;
    p.Line(x0 + 12, 23, tipX, 6, kSteel(-6), 2);
    p.Ellipse(tipX, 6, 3, 3, on ? kRed() : kWood());
}

void PaintStairs(Painter& p) {
    // Steps going down into the ground, lit from the top left.
    for (int i = 0; i < 5; ++i) {
        const int y = 8 + i * 7;
        p.Polygon({{8 + i * 3, y}, {56 - i * 3, y}, {56 - i * 3, y + 7}, {8 + i * 3, y + 7}},
                  kStone(-2 * i));
        p.Box(8 + i * 3, y, 56 - i * 3, y + 2, kStone(4 - 2 * i));
    }
    p.Outline(6, 6, 58, 44, kStone(-10));
}

void PaintCaltrops(Painter& p) {
    constexpr qv::Point kSpikes[] = {{6, 8}, {14, 13}, {22, 7}, {26, 15}, {10, 16}, {18, 4}};
    for (const qv::Point& s : kSpikes) {
        p.Line(s.x - 3, s.y + 2, s.x + 3, s.y - 2, kSteel(-4));
        p.Line(s.x - 3, s.y - 2, s.x + 3, s.y + 2, kSteel(-2));
        p.Dot(s.x, s.y - 2, kSteel(6));
    }
}

void PaintMissileShooter(Painter& p) {
    p.Box(6, 10, 26, 28, kWood(-2));
    p.Polygon({{6, 10}, {12, 4}, {32, 4}, {26, 10}}, kWood(3));
    p.Polygon({{26, 10}, {32, 4}, {32, 22}, {26, 28}}, kWood(-6));
    p.Ellipse(16, 19, 3, 3, kSteel(-12));
}

void PaintRug(Painter& p, int kind) {
    constexpr Rgb kCloths[kRugKinds] = {{150, 40, 50}, {50, 80, 150}, {60, 120, 60}};
    const Rgb c = kCloths[kind];
    // Lying on the ground: a cell's slant, leaning left from top to bottom.
    p.Polygon({{24, 2}, {78, 2}, {56, 46}, {2, 46}}, c());
    p.Polygon({{30, 8}, {68, 8}, {50, 40}, {12, 40}}, c(5));
    p.Polygon({{36, 14}, {58, 14}, {44, 34}, {22, 34}}, kGold(-2));
}

void PaintStatue(Painter& p) {
    p.Box(8, 64, 32, 78, kStone(-4));
    p.Box(14, 30, 26, 64, kStone(2));
    p.Ellipse(20, 22, 6, 7, kStone(4));
    p.Line(26, 34, 36, 40, kStone(), 2);
    // The bow, drawn and strung.
    p.Line(34, 16, 38, 40, kStone(-6), 2);
    p.Line(38, 40, 34, 62, kStone(-6), 2);
    p.Line(34, 16, 34, 62, kStone(8));
}

void PaintGeneratorMark(Painter& p) {
    // The world maker's mark where a generator waits: a red ring with a rune.
    p.Ellipse(16, 20, 14, 9, kRed(-4));
    p.Ellipse(16, 20, 11, 6, 0);
    p.Line(16, 2, 16, 22, kRed(2), 2);
    p.Line(9, 8, 23, 8, kRed(2), 2);
}

}  // namespace

void AddFixtureRecipes(std::map<int, PictureRecipe>& r) {
    auto add = [&](int id, int w, int h, std::function<void(Painter&)> f) {
        r[id] = PictureRecipe{w, h, std::move(f), 0};
    };
    add(kBitmapPotionKinds, 16 * kPotionKindCount, 24, [](Painter& p) {
        for (int i = 0; i < kPotionKindCount; ++i) PaintBottle(p, i * 16, kDraughts[i], i == 0);
    });
    add(kBitmapMonsterGenerator, 32, 32, PaintGeneratorMark);
    for (int school = 1; school <= kSpellSchoolCount; ++school)
        add(kBitmapSpellSchool + school, 36, 32, [school](Painter& p) { PaintSchool(p, school); });
    add(kBitmapLever, 48, 32, [](Painter& p) {
        PaintLever(p, 0, false);
        PaintLever(p, 24, true);
    });
    add(kBitmapStairs, 64, 48, PaintStairs);
    add(kBitmapCaltrops, 32, 20, PaintCaltrops);
    add(kBitmapMissileShooter, 32, 32, PaintMissileShooter);
    for (int kind = 0; kind < kRugKinds; ++kind)
        add(kBitmapRug + kind, 80, 48, [kind](Painter& p) { PaintRug(p, kind); });
    add(kBitmapStatueBow, 40, 80, PaintStatue);
}
