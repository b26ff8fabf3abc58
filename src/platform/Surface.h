#pragma once
// Drawing surfaces in plain memory.
//
// Everything the game draws goes into 16-bit surfaces of 5-6-5 pixels held in
// ordinary memory; the window code presents a finished surface. A surface can
// be marked lost (as a video surface could be) and then refuses to draw until
// it is restored; restoring always succeeds and keeps the pixels.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Geometry.h"

namespace qv {

// Results of the drawing operations.
inline constexpr int kDrawOk = 0;
inline constexpr int kDrawSurfaceLost = -1;  // restore the surface and draw again
inline constexpr int kDrawInvalid = -2;      // no surface, or nothing loaded to draw from

// A colour key that matches no 16-bit pixel: the blit copies every pixel.
inline constexpr int kNoColourKey = -1;

class Surface {
public:
    Surface() = default;
    Surface(int width, int height) { Create(width, height); }

    // Makes a surface of that size, all pixels 0. Sizes below 0 count as 0.
    void Create(int width, int height);
    void Destroy();

    int Width() const { return m_iWidth; }
    int Height() const { return m_iHeight; }
    int Pitch() const { return m_iPitch; }  // pixels from one row to the next
    bool IsValid() const { return m_iWidth > 0 && m_iHeight > 0; }
    Rect Bounds() const { return {0, 0, m_iWidth, m_iHeight}; }

    uint16_t* Pixels() { return m_Pixels.data(); }
    const uint16_t* Pixels() const { return m_Pixels.data(); }
    uint16_t* Row(int y) { return m_Pixels.data() + static_cast<size_t>(y) * m_iPitch; }
    const uint16_t* Row(int y) const { return m_Pixels.data() + static_cast<size_t>(y) * m_iPitch; }

    // 0 outside the surface; writes outside it are ignored.
    uint16_t GetPixel(int x, int y) const;
    void SetPixel(int x, int y, uint16_t value);

    bool IsLost() const { return m_bLost; }
    void MarkLost() { m_bLost = true; }
    int Restore() {
        m_bLost = false;
        return kDrawOk;
    }

    // Colour fills, clipped to the surface.
    int Fill(uint16_t value);
    int FillRect(const Rect& rect, uint16_t value);

    // Copies srcRect of src so that its top-left lands at dest, drawing only
    // inside clip (destination coordinates) and the surface. Source pixels
    // equal to colourKey are skipped (kNoColourKey copies all). A source
    // rectangle reaching outside src is cut to it.
    int Blt(Point dest, const Surface& src, const Rect& srcRect, const Rect& clip,
            int colourKey = kNoColourKey);
    int Blt(Point dest, const Surface& src, const Rect& srcRect, int colourKey = kNoColourKey) {
        return Blt(dest, src, srcRect, Bounds(), colourKey);
    }

    // Writes the surface as an uncompressed 24-bit .bmp; false when the file
    // cannot be written.
    bool SaveBmp(const std::string& path) const;

private:
    int m_iWidth = 0;
    int m_iHeight = 0;
    int m_iPitch = 0;
    bool m_bLost = false;
    std::vector<uint16_t> m_Pixels;
};

// Works out which part of a srcRect-sized block placed at dest falls inside
// clip and inside the source surface bounds srcBounds. On success srcRect is
// cut down and dest moved with it; false when nothing is left to draw.
bool ClipBlit(Point& dest, Rect& srcRect, const Rect& srcBounds, const Rect& clip);

// The inner loops of drawing, one row of n pixels from `from` to `to`, which
// must not overlap (they lie on different surfaces): written so that the
// compiler keeps them in vector registers.
// Copies every pixel that is not the key colour.
void CopyRowKeyed(uint16_t* to, const uint16_t* from, int n, uint16_t key);
// Copies every pixel with each 5-6-5 channel scaled by f / 32 (f 0..32).
void CopyRowScaled(uint16_t* to, const uint16_t* from, int n, uint32_t f);
// The same for one pixel.
inline uint16_t KeyedPixel(uint16_t target, uint16_t v, uint16_t key) {
    return v == key ? target : v;
}
inline uint16_t ScaledPixel(uint32_t v, uint32_t f) {
    return static_cast<uint16_t>((((v & 0xF800) * f >> 5) & 0xF800) |
                                 (((v & 0x07E0) * f >> 5) & 0x07E0) |
                                 (((v & 0x001F) * f >> 5) & 0x001F));
}

}  // namespace qv
