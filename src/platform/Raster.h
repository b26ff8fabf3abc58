#pragma once
// Filled triangles drawn into a surface in plain memory: what a widget toolkit
// hands over as lists of triangles (each corner with a point, a place in one
// alpha texture and a colour) becomes 5-6-5 pixels, blended by the colour's
// alpha times the texture's. Nothing here knows whose triangles they are.

#include <cstddef>
#include <cstdint>

#include "platform/Geometry.h"
#include "platform/Surface.h"

namespace qv {

// One corner: a point in pixels (pixel centres at .5), a texture place in 0..1
// and a colour as 0xAABBGGRR (red in the lowest byte).
struct RasterVertex {
    float x = 0, y = 0;
    float u = 0, v = 0;
    uint32_t rgba = 0;
};

// An alpha texture, one byte a texel, rows top down; without texels every
// corner reads full alpha.
struct RasterTexture {
    int width = 0;
    int height = 0;
    const uint8_t* alpha = nullptr;
};

// Draws the triangles that `indices` name (three a triangle; a count that is
// not a multiple of three leaves the rest out, an index past `vertexCount`
// leaves that triangle out) into `target`, each pixel whose centre lies inside
// a triangle (top-left rule) and inside `clip` and the surface. The points are
// moved by `offset` first. Answers the number of pixels written.
size_t DrawTriangles(Surface& target, const RasterVertex* vertices, size_t vertexCount,
                     const uint32_t* indices, size_t indexCount, const RasterTexture& texture,
                     Rect clip, Point offset = {});

// A 5-6-5 pixel of an 0xAABBGGRR colour, and the blend of a colour over a
// pixel by an alpha of 0..255.
uint16_t Pixel565(uint32_t rgba);
uint16_t Blend565(uint16_t under, uint32_t rgba, uint32_t alpha);

}  // namespace qv
