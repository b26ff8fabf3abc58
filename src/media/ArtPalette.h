#pragma once
// The colours the resource store paints with: a colour that gives its palette
// index lightened or darkened, and the store's common colours.

#include <cstdint>

#include "media/Painter.h"

namespace art {

struct Rgb {
    int r, g, b;
    uint8_t operator()(int shade = 0) const { return Painter::Shade(r, g, b, shade); }
};

inline constexpr Rgb kGrass{72, 150, 52}, kSand{214, 190, 120}, kStone{140, 136, 128},
    kWater{40, 84, 200}, kRock{120, 110, 100}, kWood{150, 100, 50}, kSnow{236, 240, 250},
    kIce{176, 208, 240}, kLeaf{40, 110, 40}, kBark{96, 64, 36}, kSteel{180, 186, 196},
    kGold{232, 196, 64}, kRed{200, 40, 40}, kBlue{50, 90, 220}, kParchment{230, 214, 170},
    kCloth{120, 60, 140}, kSkin{224, 172, 128}, kPanel{92, 74, 58};

}  // namespace art
