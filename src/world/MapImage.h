#pragma once
// What the map reads of a placed object's picture: the rectangle of its
// current frame relative to its position, and the pixel code under a point.

#include "platform/Geometry.h"

class Object;

// The current frame's rectangle relative to the object's position; an empty
// rectangle at the position when the object has no picture.
qv::Rect FrameRectOf(Object* obj);
// The pixel under a point relative to the object's position, in the object's
// own frame: 0 when transparent, outside, or without a picture.
int HitCodeOf(Object* obj, qv::Point rel);
