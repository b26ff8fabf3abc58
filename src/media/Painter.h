#pragma once
// Drawing on 8-bit pictures in the game's palette: the tools the resource
// store paints its pictures with.

#include <cstdint>
#include <initializer_list>

#include "media/DIBitmap.h"
#include "platform/Geometry.h"

class Painter {
public:
    explicit Painter(CDIBitmap& bitmap) : m_Bitmap(bitmap) {}

    // The palette index nearest to a colour, never 0 (the see-through index).
    static uint8_t Colour(int r, int g, int b);
    // A colour lightened (amount > 0) or darkened (amount < 0) by amount/16.
    static uint8_t Shade(int r, int g, int b, int amount);

    int Width() const { return m_Bitmap.Width(); }
    int Height() const { return m_Bitmap.Height(); }

    void Fill(uint8_t c) { Box(0, 0, Width(), Height(), c); }
    void Box(int left, int top, int right, int bottom, uint8_t c);  // filled, right/bottom excluded
    void Outline(int left, int top, int right, int bottom, uint8_t c);
    // A raised (or sunk) bevelled panel.
    void Bevel(int left, int top, int right, int bottom, uint8_t face, uint8_t light, uint8_t dark,
               int width = 2);
    void Ellipse(int cx, int cy, int rx, int ry, uint8_t c);  // filled
    void Line(int x0, int y0, int x1, int y1, uint8_t c, int thickness = 1);
    void Polygon(std::initializer_list<qv::Point> points, uint8_t c);  // filled
    // Speckles a rectangle with the given colours: about one pixel in every
    // `every` gets one of them, chosen by a hash of the seed and place.
    // See-through pixels (index 0) are left alone.
    void Speckle(int left, int top, int right, int bottom, std::initializer_list<uint8_t> colours,
                 uint32_t seed, int every);
    void Dot(int x, int y, uint8_t c) { m_Bitmap.SetPixel(x, y, c); }

    // A small deterministic hash for patterns.
    static uint32_t Hash(uint32_t a, uint32_t b, uint32_t c);

private:
    CDIBitmap& m_Bitmap;
};
