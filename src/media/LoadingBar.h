#pragma once
// The loading bar of the start of play: a small gauge in the bottom-right
// corner of the screen that fills while the object catalogue is built.

#include "platform/Geometry.h"

namespace qv {
class Surface;
}

// The bar's frame, its empty inside and the fill's left edge and width at
// 100 per cent, and the palette colours of the frame and the inside.
inline constexpr qv::Rect kLoadingBarFrame{570, 450, 630, 470};
inline constexpr qv::Rect kLoadingBarInside{573, 453, 627, 467};
inline constexpr double kLoadingBarPixelsPerCent = 0.54;
inline constexpr int kLoadingBarFrameColour = 145;
inline constexpr int kLoadingBarInsideColour = 37;
// The colour the catalogue's build fills with.
inline constexpr int kLoadingBarFillColour = 2;

// The part of the inside that `percent` fills.
qv::Rect LoadingBarFill(int percent);

// Fills the frame, the inside and the part of it that `percent` reaches, in
// palette colour `colour`. A surface that was lost is restored and the first
// fill tried once more; any other failure ends the drawing and is answered
// (qv::kDrawOk when the bar was drawn, qv::kDrawInvalid without a surface).
int DrawLoadingProgress(qv::Surface* surface, int percent, int colour);
