#pragma once
// The pictures and labels the start-up windows draw besides their own picture.

#include <memory>
#include <string>

#include "media/DDObjects.h"
#include "platform/Surface.h"

// An image of a picture of the resource store, width x height from its top
// left (palette index 0 see-through, as every image). Null when the store has
// no such picture.
std::unique_ptr<CDDObject> MakeWindowPicture(int bitmapId, int width, int height);

// Draws a line of text centred on x, its top at y, clipped to clip.
void DrawCentredText(qv::Surface* surface, int x, int y, const std::string& text, int colour,
                     const qv::Rect& clip);
