#include "windows/WindowPictures.h"

#include "media/DDWnd.h"
#include "media/Resources.h"

std::unique_ptr<CDDObject> MakeWindowPicture(int bitmapId, int width, int height) {
    if (!FindBitmapResource(bitmapId)) return nullptr;
    auto picture = std::make_unique<CDDObject>();
    if (!picture->Create(width, height, 0, 0, &bitmapId, 1, 1)) return nullptr;
    return picture;
}

void DrawCentredText(qv::Surface* surface, int x, int y, const std::string& text, int colour,
                     const qv::Rect& clip) {
    const int width = static_cast<int>(text.size()) * kCharWidth;
    DrawGameText(surface, {x - width / 2, y}, text, colour, clip);
}
