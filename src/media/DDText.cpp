// Text of the toolkit's windows, drawn in the game's bitmap alphabet.

#include "media/DDString.h"
#include "media/DDWnd.h"

void DrawGameText(qv::Surface* surface, qv::Point at, const std::string& text, int colour,
                  const qv::Rect& clip) {
    CDDString::DrawText(surface, at, clip, text, colour);
}
