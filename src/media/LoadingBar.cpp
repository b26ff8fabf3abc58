#include "media/LoadingBar.h"

#include "media/DIBitmap.h"
#include "platform/Surface.h"

qv::Rect LoadingBarFill(int percent) {
    qv::Rect fill = kLoadingBarInside;
    fill.right = fill.left + static_cast<int>(percent * kLoadingBarPixelsPerCent);
    return fill;
}

int DrawLoadingProgress(qv::Surface* surface, int percent, int colour) {
    if (!surface) return qv::kDrawInvalid;
    int result = surface->FillRect(kLoadingBarFrame, PaletteIndexToPixel(kLoadingBarFrameColour));
    if (result == qv::kDrawSurfaceLost) {
        surface->Restore();
        result = surface->FillRect(kLoadingBarFrame, PaletteIndexToPixel(kLoadingBarFrameColour));
    }
    if (result != qv::kDrawOk) return result;
    result = surface->FillRect(kLoadingBarInside, PaletteIndexToPixel(kLoadingBarInsideColour));
    if (result != qv::kDrawOk) return result;
    return surface->FillRect(LoadingBarFill(percent), PaletteIndexToPixel(colour));
}
