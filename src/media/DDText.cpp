// Text of the toolkit's windows, drawn in the game's bitmap alphabet.

#include "media/DDWnd.h"

#if __has_include("media/DDString.h")
#include "media/DDString.h"

void DrawGameText(qv::Surface* surface, qv::Point at, const std::string& text, int colour,
                  const qv::Rect& clip) {
    CDDString::DrawText(surface, at, clip, text, colour);
}
#else
// Until the alphabet is part of the build, text takes its place undrawn.
void DrawGameText(qv::Surface*, qv::Point, const std::string&, int, const qv::Rect&) {}
#endif
