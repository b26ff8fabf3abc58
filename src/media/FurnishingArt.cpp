// The pictures of the furnishings, the lights that stand or hang in the
// world and the small things a creature carries: each kind's picture, lit
// from the top left as the rest of the world is, standing things on their
// feet at the bottom of the picture.

#include <algorithm>
#include <cmath>

#include "media/ArtPalette.h"
#include "media/ResourceArt.h"
#include "media/Resources.h"

namespace {

using namespace art;

constexpr Rgb kFlame{245, 140, 30}, kFlameCore{255, 230, 110}, kCord{70, 60, 44},
    kGreenGas{120, 190, 90}, kIron{60, 60, 68}, kWax{240, 232, 200}, kShadow{44, 42, 38};

// The shadow a standing thing casts on the ground about its foot (cx, cy):
// what stands on legs stands on it.
void Shadow(Painter& p, int cx, int cy, int rx) {
    p.Ellipse(cx, cy, rx, 2, kShadow());
}

// A flame standing on (cx, base), h high.
void Flame(Painter& p, int cx, int base, int h) {
    const int w = std::max(2, h / 3);
    p.Polygon({{cx, base - h}, {cx + w, base - h / 3}, {cx, base}, {cx - w, base - h / 3}},
              kFlame());
    const int in = std::max(1, h / 2);
    p.Polygon(
        {{cx, base - in}, {cx + w / 2 + 1, base - in / 3}, {cx, base}, {cx - w / 2, base - in / 3}},
        kFlameCore());
}

// A candle of the given height standing on (cx, base), lit.
void Candle(Painter& p, int cx, int base, int h) {
    p.Box(cx - 2, base - h, cx + 2, base, kWax());
    p.Box(cx - 2, base - h, cx - 1, base, kWax(-4));
    Flame(p, cx, base - h - 1, 6);
}

void PaintNet(Painter& p) {
    // Two posts with a net of cords strung between them.
    for (int x : {3, 43}) p.Box(x, 2, x + 3, 40, kWood(x < 20 ? 2 : -3));
    for (int y = 4; y <= 36; y += 6) p.Line(6, y, 43, y + 2, kCord());
    for (int x = 10; x < 43; x += 6) p.Line(x, 3, x - 2, 38, kCord(2));
}

void PaintRope(Painter& p) {
    Shadow(p, 32, 22, 28);
    for (int x : {2, 58}) {
        p.Box(x, 4, x + 4, 24, kWood(x < 20 ? 2 : -3));
        p.Ellipse(x + 2, 4, 2, 2, kWood(5));
    }
    for (int i = 0; i <= 54; ++i) {
        const double t = i / 54.0;
        const int y = 7 + static_cast<int>(std::lround(6 * std::sin(t * 3.14159)));
        p.Dot(5 + i, y, kParchment(-4));
        p.Dot(5 + i, y + 1, kWood(-2));
    }
}

void PaintSign(Painter& p) {
    p.Box(14, 14, 18, 40, kWood(-2));
    p.Box(2, 4, 30, 18, kWood(2));
    p.Outline(2, 4, 30, 18, kBark(-4));
    for (int y : {8, 12}) p.Line(6, y, 26, y, kBark(-6));
}

void PaintBookCase(Painter& p) {
    p.Box(2, 2, 46, 64, kBark());
    p.Box(2, 2, 5, 64, kBark(3));
    for (int shelf = 0; shelf < 4; ++shelf) {
        const int top = 6 + shelf * 14;
        p.Box(6, top, 42, top + 11, kBark(-6));
        for (int x = 7; x < 41; x += 4) {
            const Rgb spine[] = {kRed, kBlue, kCloth, kLeaf, kGold};
            p.Box(x, top + 2 + (x / 4) % 3, x + 3, top + 11, spine[(x + shelf) % 5](-2));
        }
        p.Box(6, top + 11, 42, top + 14, kBark(2));
    }
}

void PaintTable(Painter& p) {
    Shadow(p, 28, 33, 22);
    for (int x : {8, 46}) p.Box(x, 14, x + 3, 36, kWood(-4));
    p.Polygon({{10, 4}, {56, 4}, {46, 16}, {0, 16}}, kWood(3));
    p.Box(0, 16, 46, 20, kWood(-2));
}

void PaintBench(Painter& p) {
    Shadow(p, 28, 21, 22);
    for (int x : {6, 44}) p.Box(x, 10, x + 3, 24, kWood(-4));
    p.Polygon({{8, 2}, {56, 2}, {50, 10}, {2, 10}}, kWood(3));
    p.Box(2, 10, 50, 13, kWood(-2));
}

void PaintFloorChange(Painter& p) {
    // A hatch in the floor with a ladder going down, lying on the cell's slant.
    p.Polygon({{14, 2}, {46, 2}, {34, 26}, {2, 26}}, kStone(-3));
    p.Polygon({{18, 5}, {41, 5}, {31, 23}, {7, 23}}, kBark(-12));
    for (int y = 8; y < 23; y += 5) {
        const int shift = (y - 5) / 2;
        p.Line(18 - shift, y, 36 - shift, y, kWood(2));
    }
}

void PaintGas(Painter& p) {
    p.Ellipse(16, 20, 12, 8, kGreenGas(-3));
    p.Ellipse(30, 16, 14, 10, kGreenGas());
    p.Ellipse(24, 12, 9, 7, kGreenGas(4));
    p.Speckle(4, 4, 44, 28, {kGreenGas(7)}, 11, 9);
}

void PaintCampFire(Painter& p) {
    p.Ellipse(20, 27, 16, 4, kStone(-4));
    p.Line(6, 28, 32, 22, kBark(), 3);
    p.Line(8, 22, 34, 28, kBark(-3), 3);
    Flame(p, 20, 26, 22);
    Flame(p, 13, 26, 12);
    Flame(p, 27, 26, 14);
}

void PaintTorch(Painter& p) {
    // A torch lying on the ground, burning at its head.
    p.Line(4, 20, 22, 11, kWood(-2), 3);
    p.Ellipse(23, 10, 3, 3, kBark(-6));
    Flame(p, 25, 11, 10);
}

void PaintCandle(Painter& p) {
    p.Ellipse(6, 18, 5, 2, kSteel(-4));
    Candle(p, 6, 18, 9);
}

void PaintWallTorch(Painter& p) {
    p.Box(5, 24, 11, 30, kIron());
    p.Line(8, 38, 8, 14, kWood(-2), 3);
    p.Box(5, 12, 11, 16, kIron(4));
    Flame(p, 8, 13, 12);
}

void PaintHearth(Painter& p) {
    p.Box(2, 6, 62, 56, kStone(-1));
    p.Box(2, 2, 62, 8, kStone(4));
    p.Speckle(2, 8, 62, 56, {kStone(-6), kStone(3)}, 5, 7);
    p.Box(14, 22, 50, 56, kBark(-12));
    p.Line(18, 54, 46, 50, kBark(), 3);
    Flame(p, 32, 52, 20);
    Flame(p, 24, 52, 11);
    Flame(p, 40, 52, 12);
}

void PaintCandelabra(Painter& p) {
    p.Ellipse(12, 46, 7, 2, kGold(-4));
    p.Box(11, 22, 13, 46, kGold(-2));
    p.Line(4, 22, 20, 22, kGold(-2), 2);
    for (int x : {4, 12, 20}) Candle(p, x, 22, 8);
}

void PaintCandelabra2(Painter& p) {
    p.Ellipse(16, 54, 9, 2, kSteel(-6));
    p.Box(15, 24, 18, 54, kSteel(-2));
    p.Line(3, 26, 29, 26, kSteel(-2), 2);
    p.Line(9, 20, 23, 20, kSteel(-2), 2);
    for (int x : {3, 29}) Candle(p, x, 26, 8);
    for (int x : {9, 23}) Candle(p, x, 20, 8);
    Candle(p, 16, 16, 8);
}

void PaintColumn(Painter& p) {
    p.Box(1, 72, 23, 80, kStone(-3));
    p.Box(1, 0, 23, 8, kStone(3));
    p.Box(4, 8, 20, 72, kStone());
    p.Box(4, 8, 7, 72, kStone(5));
    p.Box(17, 8, 20, 72, kStone(-5));
    for (int x : {10, 14}) p.Line(x, 9, x, 71, kStone(-3));
}

void PaintFountain(Painter& p) {
    p.Ellipse(32, 36, 30, 11, kStone(-2));
    p.Ellipse(32, 34, 26, 8, kWater());
    p.Box(29, 12, 35, 34, kStone(2));
    p.Ellipse(32, 12, 9, 3, kStone(4));
    for (int side : {-1, 1}) p.Line(32, 8, 32 + side * 14, 30, kIce(4));
    p.Line(32, 2, 32, 10, kIce(4));
}

void PaintForge(Painter& p) {
    p.Box(2, 14, 54, 46, kStone(-3));
    p.Polygon({{8, 4}, {56, 4}, {54, 14}, {2, 14}}, kStone(2));
    p.Ellipse(28, 9, 16, 4, kBark(-12));
    Flame(p, 22, 11, 8);
    Flame(p, 32, 11, 9);
    p.Box(40, 20, 52, 30, kIron());  // the anvil at its side
    p.Box(43, 30, 49, 40, kIron(-2));
}

void PaintPictures(Painter& p) {
    // Six paintings in gilt frames: hills, sea, a portrait, a tree, night, fire.
    for (int v = 0; v < kPictureVariants; ++v) {
        const int x0 = v * 28;
        p.Box(x0 + 1, 1, x0 + 27, 23, kGold(-3));
        constexpr Rgb kSkies[kPictureVariants] = {{150, 200, 240}, {170, 210, 240}, {90, 70, 60},
                                                  {190, 220, 240}, {20, 24, 60},    {60, 30, 30}};
        p.Box(x0 + 4, 4, x0 + 24, 20, kSkies[v]());
        switch (v) {
            case 0:
                p.Ellipse(x0 + 12, 20, 10, 6, kGrass());
                break;
            case 1:
                p.Box(x0 + 4, 13, x0 + 24, 20, kWater());
                break;
            case 2:
                p.Ellipse(x0 + 14, 10, 4, 4, kSkin());
                p.Box(x0 + 9, 15, x0 + 19, 20, kCloth());
                break;
            case 3:
                p.Box(x0 + 13, 12, x0 + 15, 20, kBark());
                p.Ellipse(x0 + 14, 10, 6, 5, kLeaf());
                break;
            case 4:
                p.Ellipse(x0 + 18, 8, 2, 2, kSnow());
                p.Speckle(x0 + 4, 4, x0 + 24, 14, {kSnow()}, 7, 20);
                break;
            default:
                Flame(p, x0 + 14, 19, 12);
                break;
        }
    }
}

void PaintAltar(Painter& p) {
    p.Box(4, 14, 52, 36, kStone(-2));
    p.Polygon({{10, 4}, {56, 4}, {52, 14}, {4, 14}}, kStone(4));
    p.Box(22, 18, 34, 30, kGold(-2));
    p.Line(28, 19, 28, 29, kRed());
    p.Line(24, 23, 32, 23, kRed());
}

void PaintTarget(Painter& p) {
    Shadow(p, 16, 37, 10);
    for (int x : {10, 22}) p.Line(x, 30, x - 4 + (x - 10) / 2, 40, kWood(-3), 2);
    p.Ellipse(16, 16, 14, 14, kParchment());
    p.Ellipse(16, 16, 10, 10, kRed());
    p.Ellipse(16, 16, 6, 6, kParchment());
    p.Ellipse(16, 16, 2, 2, kRed(-2));
}

void PaintClock(Painter& p) {
    p.Box(3, 2, 21, 62, kBark());
    p.Box(3, 2, 5, 62, kBark(3));
    p.Ellipse(12, 12, 7, 7, kParchment());
    p.Line(12, 12, 12, 7, kBark(-8));
    p.Line(12, 12, 16, 12, kBark(-8));
    p.Box(7, 24, 17, 54, kBark(-8));
    p.Line(12, 24, 12, 44, kGold(-2));
    p.Ellipse(12, 46, 3, 3, kGold());
}

void PaintBlocks(Painter& p) {
    // A block of stone, its top and its east face showing.
    p.Polygon({{10, 2}, {38, 2}, {30, 12}, {2, 12}}, kStone(4));
    p.Polygon({{30, 12}, {38, 2}, {38, 30}, {30, 38}}, kStone(-5));
    p.Box(2, 12, 30, 38, kStone());
    p.Speckle(2, 12, 30, 38, {kStone(-4), kStone(3)}, 3, 6);
}

void PaintSpriteTest(Painter& p) {
    // A test card: squares of the palette's main colours.
    const Rgb tiles[] = {kRed, kGrass, kBlue, kGold, kSnow, kStone, kCloth, kWater};
    for (int i = 0; i < 16; ++i)
        p.Box((i % 4) * 8, (i / 4) * 8, (i % 4) * 8 + 8, (i / 4) * 8 + 8, tiles[i % 8]());
    p.Outline(0, 0, 32, 32, kBark(-8));
}

void PaintWhistle(Painter& p) {
    p.Box(6, 10, 22, 16, kSteel());
    p.Ellipse(22, 15, 5, 5, kSteel(-2));
    p.Box(8, 11, 12, 13, kSteel(-10));
    p.Line(4, 12, 6, 12, kSteel(4));
}

void PaintTrash(Painter& p) {
    p.Polygon({{4, 18}, {10, 10}, {18, 14}, {12, 20}}, kParchment(-4));
    p.Ellipse(21, 16, 6, 4, kBark(-2));
    p.Line(14, 8, 26, 12, kSteel(-6), 2);
    p.Speckle(4, 8, 28, 22, {kBark(-6), kWood()}, 4, 6);
}

void PaintSnakeSkin(Painter& p) {
    for (int i = 0; i < 26; ++i) {
        const double t = i / 25.0;
        const int x = 3 + i;
        const int y = 12 + static_cast<int>(std::lround(5 * std::sin(t * 3.14159 * 2)));
        p.Box(x, y - 2, x + 1, y + 2, i % 3 ? kGrass(-4) : kSand());
    }
    p.Ellipse(29, 12, 2, 2, kGrass(-6));
}

void PaintGems(Painter& p) {
    constexpr Rgb kStones[kGemVariants] = {
        {220, 30, 40},  {40, 80, 230},   {40, 180, 80},  {240, 220, 70},
        {160, 60, 210}, {240, 240, 250}, {250, 140, 40}, {40, 200, 210},
    };
    for (int v = 0; v < kGemVariants; ++v) {
        const int cx = v * 32 + 16;
        const Rgb c = kStones[v];
        p.Polygon({{cx - 8, 12}, {cx - 4, 7}, {cx + 4, 7}, {cx + 8, 12}, {cx, 21}}, c());
        p.Polygon({{cx - 4, 7}, {cx + 4, 7}, {cx + 2, 12}, {cx - 2, 12}}, c(6));
        p.Line(cx - 8, 12, cx + 8, 12, c(-5));
        p.Dot(cx - 3, 9, kSnow());
    }
}

void PaintLetter(Painter& p) {
    p.Box(5, 7, 27, 20, kParchment());
    p.Line(5, 7, 16, 14, kParchment(-6));
    p.Line(27, 7, 16, 14, kParchment(-6));
    p.Ellipse(16, 15, 2, 2, kRed(-2));
}

void PaintBandAid(Painter& p) {
    p.Box(4, 9, 28, 16, kSkin());
    p.Box(12, 9, 20, 16, kSnow(-1));
    p.Outline(4, 9, 28, 16, kSkin(-5));
    p.Line(15, 11, 15, 14, kRed());
    p.Line(14, 12, 17, 12, kRed());
}

}  // namespace

void AddFurnishingRecipes(std::map<int, PictureRecipe>& r) {
    auto add = [&](int id, int w, int h, std::function<void(Painter&)> f) {
        r[id] = PictureRecipe{w, h, std::move(f), 0};
    };
    add(kBitmapNet, 48, 40, PaintNet);
    add(kBitmapRope, 64, 24, PaintRope);
    add(kBitmapSign, 32, 40, PaintSign);
    add(kBitmapBookCase, 48, 64, PaintBookCase);
    add(kBitmapTable, 56, 36, PaintTable);
    add(kBitmapBench, 56, 24, PaintBench);
    add(kBitmapFloorChange, 48, 28, PaintFloorChange);
    add(kBitmapGas, 48, 32, PaintGas);
    add(kBitmapCampFire, 40, 32, PaintCampFire);
    add(kBitmapTorch, 32, 24, PaintTorch);
    add(kBitmapCandle, 12, 20, PaintCandle);
    add(kBitmapWallTorch, 16, 40, PaintWallTorch);
    add(kBitmapHearth, 64, 56, PaintHearth);
    add(kBitmapCandelabra, 24, 48, PaintCandelabra);
    add(kBitmapCandelabra2, 32, 56, PaintCandelabra2);
    add(kBitmapColumn, 24, 80, PaintColumn);
    add(kBitmapFountain, 64, 48, PaintFountain);
    add(kBitmapForge, 56, 48, PaintForge);
    add(kBitmapPicture, 28 * kPictureVariants, 24, PaintPictures);
    add(kBitmapAltar, 56, 36, PaintAltar);
    add(kBitmapTarget, 32, 40, PaintTarget);
    add(kBitmapClock, 24, 64, PaintClock);
    add(kBitmapBlocks, 40, 40, PaintBlocks);
    add(kBitmapSpriteTest, 32, 32, PaintSpriteTest);
    add(kBitmapWhistle, 32, 24, PaintWhistle);
    add(kBitmapTrash, 32, 24, PaintTrash);
    add(kBitmapSnakeSkin, 32, 24, PaintSnakeSkin);
    add(kBitmapGem, 32 * kGemVariants, 24, PaintGems);
    add(kBitmapLetter, 32, 24, PaintLetter);
    add(kBitmapBandAid, 32, 24, PaintBandAid);
}
