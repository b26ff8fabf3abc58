#pragma once
// 8-bit pictures with a palette, and the conversions between palette colours
// and the screen's 16-bit pixels.
//
// A CDIBitmap keeps its rows as a .bmp file stores them: the bottom row first.
// Callers count rows from the top; the class turns them round.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct PaletteEntry {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};
using Palette = std::array<PaletteEntry, 256>;

// The game's shared palette of 256 colours, used by every picture we draw.
const Palette& GetGamePalette();

// Palette indices whose screen pixels carry a meaning for the map's image
// masks: a platform's deck (pixel value 2) and a snare (pixel value 3). The
// painters never pick them for ordinary colours.
inline constexpr int kPaletteDeck = 253;
inline constexpr int kPaletteSnare = 254;

// The screen's pixel layouts: red, green and blue in 5-6-5 or 5-5-5 bits.
enum class PixelFormat { RGB565, RGB555 };

// The layout the game's surfaces use.
inline constexpr PixelFormat kScreenFormat = PixelFormat::RGB565;

// A pixel from red, green and blue parts in the format's own units
// (0..31 for red and blue, 0..63 or 0..31 for green). Parts are clamped.
uint16_t MakeScreenPixel(int r, int g, int b, PixelFormat format = kScreenFormat);
// The parts of a pixel, in the format's units.
void SplitScreenPixel(uint16_t pixel, int& r, int& g, int& b, PixelFormat format = kScreenFormat);
// The largest value of each part in the format: red, green, blue.
void ScreenPixelLimits(int& r, int& g, int& b, PixelFormat format = kScreenFormat);
// A pixel from 8-bit red, green and blue (the low bits are dropped).
uint16_t RgbToScreenPixel(int r8, int g8, int b8, PixelFormat format = kScreenFormat);
// The pixel of a palette colour of the given palette (the game's by default).
uint16_t PaletteIndexToPixel(int index, const Palette& palette = GetGamePalette(),
                             PixelFormat format = kScreenFormat);

class CDIBitmap {
public:
    CDIBitmap() = default;
    // A picture of that size in the game's palette, every pixel index 0.
    CDIBitmap(int width, int height) { Create(width, height); }

    void Create(int width, int height, const Palette& palette = GetGamePalette());

    // The most pixels a picture of the game has: the picture of a land that
    // spans the largest world, a pixel a cell.
    static constexpr int64_t kMaxPixels = int64_t{1} << 24;

    // Reads a .bmp with a palette (1, 4 or 8 bits a pixel, plain, or 8 and 4
    // bits run-length compressed, bottom-up or top-down), the file found
    // whatever the case of its name. A picture of more than `maxPixels` pixels
    // (what its use can take), or of more than its run-length bytes can write,
    // is refused before it is decoded: a few bytes of a compressed file may
    // claim any size. On failure the picture is left empty, false is
    // answered and error (when given) says why, naming the file.
    bool Load(const std::string& path, std::string* error = nullptr,
              int64_t maxPixels = kMaxPixels);
    // The same from the file's bytes, read already; `path` names it in errors.
    bool LoadBytes(const std::vector<uint8_t>& data, const std::string& path,
                   std::string* error = nullptr, int64_t maxPixels = kMaxPixels);
    // Why a picture of that size is more than its use can take, or nothing.
    static std::string Oversized(int width, int height, int64_t maxPixels);
    // Writes an 8-bit .bmp with its palette beside the old file and puts it in
    // its place; false when it cannot be written (the old file stays).
    bool Save(const std::string& path) const;

    bool IsEmpty() const { return m_iWidth == 0 || m_iHeight == 0; }
    int Width() const { return m_iWidth; }
    int Height() const { return m_iHeight; }

    // The palette index at a column and a row counted from the top; 0 outside.
    uint8_t GetPixel(int column, int row) const;
    void SetPixel(int column, int row, uint8_t index);
    void FillRect(int left, int top, int right, int bottom, uint8_t index);
    // The stored bytes of a row counted from the top.
    uint8_t* RowFromTop(int row) { return &m_Bits[StoredRow(row) * m_iStride]; }
    const uint8_t* RowFromTop(int row) const { return &m_Bits[StoredRow(row) * m_iStride]; }
    // The bytes as stored: the bottom row first, each row padded to 4 bytes.
    const std::vector<uint8_t>& StoredBits() const { return m_Bits; }
    int Stride() const { return m_iStride; }

    const Palette& GetPalette() const { return m_Palette; }
    void SetPalette(const Palette& palette) { m_Palette = palette; }

    // The palette index drawn as see-through (0 unless set).
    int GetTransparentColour() const { return m_iTransparent; }
    void SetTransparentColour(int index) { m_iTransparent = index & 0xFF; }

private:
    size_t StoredRow(int row) const { return static_cast<size_t>(m_iHeight - 1 - row); }

    int m_iWidth = 0;
    int m_iHeight = 0;
    int m_iStride = 0;
    int m_iTransparent = 0;
    Palette m_Palette{};
    std::vector<uint8_t> m_Bits;
};
