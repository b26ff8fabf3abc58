#include "media/DIBitmap.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "platform/Picture.h"

namespace {

Palette BuildGamePalette() {
    Palette p{};
    // Index 0 is black, the usual see-through colour; 1..15 a grey ramp; then
    // sixteen ramps of fifteen shades, dark to light, of the hues the pictures
    // are made of.
    for (int i = 1; i < 16; ++i) {
        const auto v = static_cast<uint8_t>(16 + i * 239 / 15);
        p[i] = {v, v, v};
    }
    static const PaletteEntry hues[16] = {
        {140, 136, 128}, {128, 104, 80},  {150, 100, 50},  {214, 190, 120},
        {200, 40, 40},   {230, 120, 30},  {232, 196, 64},  {128, 140, 50},
        {72, 150, 52},   {30, 110, 60},   {40, 170, 190},  {40, 84, 200},
        {130, 60, 150},  {224, 150, 120}, {176, 208, 240}, {96, 74, 58}};
    for (int h = 0; h < 16; ++h)
        for (int s = 0; s < 15; ++s) {
            // Shades 0..9 darken toward black, 10..14 lighten toward white.
            auto part = [&](int c) {
                if (s < 10) return c * (3 + 7 * s / 9) / 10 * (s + 6) / 15;
                return c + (255 - c) * (s - 9) / 7;
            };
            p[16 + h * 15 + s] = {static_cast<uint8_t>(part(hues[h].r)),
                                  static_cast<uint8_t>(part(hues[h].g)),
                                  static_cast<uint8_t>(part(hues[h].b))};
        }
    // Nothing but index 0 may be black on the screen.
    for (int i = 1; i < 256; ++i)
        if (p[i].r < 8 && p[i].g < 4 && p[i].b < 8) p[i] = {8, 8, 8};
    // Colours the game names by index: the mini-map's terrain colours and the
    // start-up windows' text colours.
    p[2] = {34, 92, 34};      // light woods
    p[20] = {226, 236, 250};  // ice
    p[37] = {110, 150, 70};   // open land
    p[38] = {40, 84, 200};    // water
    p[46] = {128, 118, 104};  // rock
    p[87] = {24, 96, 44};     // forest
    p[92] = {72, 156, 52};    // grass
    p[245] = {232, 196, 64};  // gold text
    p[255] = {255, 255, 255};
    p[kPaletteDeck] = {0, 0, 16};   // 5-6-5 pixel 2
    p[kPaletteSnare] = {0, 0, 24};  // 5-6-5 pixel 3
    return p;
}

uint32_t GetLE(const unsigned char* p, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

// The ways a .bmp stores its pixels: as they are, or in runs of 8- or 4-bit
// indices, each run a count of pixels and what they are.
constexpr uint32_t kPlain = 0;
constexpr uint32_t kRunLength8 = 1;
constexpr uint32_t kRunLength4 = 2;
constexpr int64_t kMostPixelsOfARun = 255;

void PutLE(unsigned char* p, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

}  // namespace

const Palette& GetGamePalette() {
    static const Palette palette = BuildGamePalette();
    return palette;
}

void ScreenPixelLimits(int& r, int& g, int& b, PixelFormat format) {
    r = 31;
    g = format == PixelFormat::RGB565 ? 63 : 31;
    b = 31;
}

uint16_t MakeScreenPixel(int r, int g, int b, PixelFormat format) {
    int rm, gm, bm;
    ScreenPixelLimits(rm, gm, bm, format);
    r = std::clamp(r, 0, rm);
    g = std::clamp(g, 0, gm);
    b = std::clamp(b, 0, bm);
    if (format == PixelFormat::RGB565) return static_cast<uint16_t>((r << 11) | (g << 5) | b);
    return static_cast<uint16_t>((r << 10) | (g << 5) | b);
}

void SplitScreenPixel(uint16_t pixel, int& r, int& g, int& b, PixelFormat format) {
    if (format == PixelFormat::RGB565) {
        r = pixel >> 11;
        g = (pixel >> 5) & 0x3F;
    } else {
        r = (pixel >> 10) & 0x1F;
        g = (pixel >> 5) & 0x1F;
    }
    b = pixel & 0x1F;
}

uint16_t RgbToScreenPixel(int r8, int g8, int b8, PixelFormat format) {
    r8 = std::clamp(r8, 0, 255);
    g8 = std::clamp(g8, 0, 255);
    b8 = std::clamp(b8, 0, 255);
    return MakeScreenPixel(r8 >> 3, format == PixelFormat::RGB565 ? g8 >> 2 : g8 >> 3, b8 >> 3,
                           format);
}

uint16_t PaletteIndexToPixel(int index, const Palette& palette, PixelFormat format) {
    const PaletteEntry& e = palette[static_cast<size_t>(index & 0xFF)];
    return RgbToScreenPixel(e.r, e.g, e.b, format);
}

void CDIBitmap::Create(int width, int height, const Palette& palette) {
    m_iWidth = std::max(width, 0);
    m_iHeight = std::max(height, 0);
    if (m_iWidth == 0 || m_iHeight == 0) m_iWidth = m_iHeight = 0;
    m_iStride = (m_iWidth + 3) & ~3;
    m_Palette = palette;
    m_Bits.assign(static_cast<size_t>(m_iStride) * m_iHeight, 0);
}

uint8_t CDIBitmap::GetPixel(int column, int row) const {
    if (column < 0 || row < 0 || column >= m_iWidth || row >= m_iHeight) return 0;
    return RowFromTop(row)[column];
}

void CDIBitmap::SetPixel(int column, int row, uint8_t index) {
    if (column < 0 || row < 0 || column >= m_iWidth || row >= m_iHeight) return;
    RowFromTop(row)[column] = index;
}

void CDIBitmap::FillRect(int left, int top, int right, int bottom, uint8_t index) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, m_iWidth);
    bottom = std::min(bottom, m_iHeight);
    for (int y = top; y < bottom; ++y)
        if (right > left)
            std::memset(RowFromTop(y) + left, index, static_cast<size_t>(right - left));
}

bool CDIBitmap::Load(const std::string& path, std::string* error, int64_t maxPixels) {
    std::vector<uint8_t> data;
    try {
        data = qv::ReadWholeFile(path);
    } catch (const qv::FileError& e) {
        Create(0, 0);
        if (error)
            *error =
                path + ": " + (e.cause == qv::FileError::NotFound ? "not found" : "cannot be read");
        return false;
    }
    return LoadBytes(data, path, error, maxPixels);
}

bool CDIBitmap::LoadBytes(const std::vector<uint8_t>& data, const std::string& path,
                          std::string* error, int64_t maxPixels) {
    auto fail = [&](const std::string& why) {
        Create(0, 0);
        if (error) *error = path + ": " + why;
        return false;
    };
    // The header is checked here so that a bad file is named for what is
    // wrong with it; SDL's reader then gives the pixels as palette indices.
    if (data.size() < 54 || data[0] != 'B' || data[1] != 'M') return fail("not a bitmap file");
    const uint32_t bitsOffset = GetLE(&data[10], 4);
    const uint32_t infoSize = GetLE(&data[14], 4);
    if (infoSize < 40 || 14 + static_cast<uint64_t>(infoSize) > data.size())
        return fail("unknown bitmap header");
    const int32_t width = static_cast<int32_t>(GetLE(&data[18], 4));
    const int32_t rawHeight = static_cast<int32_t>(GetLE(&data[22], 4));
    const uint32_t bitCount = GetLE(&data[28], 2);
    const uint32_t compression = GetLE(&data[30], 4);
    uint32_t colours = GetLE(&data[46], 4);
    if (bitCount != 1 && bitCount != 4 && bitCount != 8)
        return fail("no palette: only pictures with a palette are read");
    if (width <= 0 || rawHeight == 0 || width > 16384 || rawHeight > 16384 || rawHeight < -16384)
        return fail("bad picture size");
    const int height = rawHeight < 0 ? -rawHeight : rawHeight;
    if (std::string why = Oversized(width, height, maxPixels); !why.empty()) return fail(why);
    if (colours == 0 || colours > (1u << bitCount)) colours = 1u << bitCount;
    const uint64_t paletteAt = 14 + static_cast<uint64_t>(infoSize);
    if (paletteAt + 4ull * colours > data.size()) return fail("palette cut short");
    const uint64_t pixelBytes = bitsOffset < data.size() ? data.size() - bitsOffset : 0;
    if (compression == kPlain) {
        const uint64_t stride = ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;
        if (stride * height > pixelBytes) return fail("pixels cut short");
    } else if ((compression == kRunLength8 && bitCount == 8) ||
               (compression == kRunLength4 && bitCount == 4)) {
        // Every two bytes of a run-length stream write at most one run of
        // 255 pixels; marks that end a row or the picture early write none.
        // Encoders write every pixel, so an honest picture never has more
        // pixels than that, while a few bytes ending at once could claim the
        // largest picture: the claim is weighed before anything is made.
        const int64_t most = static_cast<int64_t>(pixelBytes / 2) * kMostPixelsOfARun;
        if (int64_t{width} * height > most)
            return fail("a run-length picture of " + std::to_string(width) + " x " +
                        std::to_string(height) + " pixels, more than the " + std::to_string(most) +
                        " its " + std::to_string(pixelBytes) + " bytes of pixels can write");
    } else {
        return fail("compression " + std::to_string(compression) + " of " +
                    std::to_string(bitCount) + "-bit pixels is not read");
    }
    qv::IndexedPicture picture;
    std::string why = qv::DecodeIndexedBmp(data, picture);
    if (!why.empty()) return fail(why);
    Palette palette{};
    for (size_t i = 0; i < palette.size(); ++i)
        palette[i] = {picture.palette[i][0], picture.palette[i][1], picture.palette[i][2]};
    Create(picture.width, picture.height, palette);
    for (int y = 0; y < picture.height; ++y)
        std::memcpy(RowFromTop(y), &picture.pixels[static_cast<size_t>(y) * picture.width],
                    static_cast<size_t>(picture.width));
    return true;
}

std::string CDIBitmap::Oversized(int width, int height, int64_t maxPixels) {
    const int64_t most = std::min(maxPixels, kMaxPixels);
    if (int64_t{width} * height <= most) return {};
    return "a picture of " + std::to_string(width) + " x " + std::to_string(height) +
           " pixels, more than the " + std::to_string(most) + " its use can take";
}

bool CDIBitmap::Save(const std::string& path) const {
    const uint32_t imageBytes = static_cast<uint32_t>(m_Bits.size());
    const uint32_t offset = 14 + 40 + 256 * 4;
    std::vector<unsigned char> out(offset, 0);
    out[0] = 'B';
    out[1] = 'M';
    PutLE(&out[2], offset + imageBytes, 4);
    PutLE(&out[10], offset, 4);
    PutLE(&out[14], 40, 4);
    PutLE(&out[18], static_cast<uint32_t>(m_iWidth), 4);
    PutLE(&out[22], static_cast<uint32_t>(m_iHeight), 4);
    PutLE(&out[26], 1, 2);
    PutLE(&out[28], 8, 2);
    PutLE(&out[34], imageBytes, 4);
    PutLE(&out[46], 256, 4);
    for (int i = 0; i < 256; ++i) {
        out[54 + 4 * i] = m_Palette[i].b;
        out[55 + 4 * i] = m_Palette[i].g;
        out[56 + 4 * i] = m_Palette[i].r;
    }
    out.insert(out.end(), m_Bits.begin(), m_Bits.end());
    try {
        qv::WriteWholeFile(path, out);
    } catch (const qv::FileError&) {
        return false;
    }
    return true;
}
