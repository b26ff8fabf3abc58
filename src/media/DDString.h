#pragma once
// Text drawn in the game's bitmap alphabet: cells of 9 x 16 pixels, each
// letter in a palette colour, the rest of the cell left as it was.
//
// The letters come from the Terminus console font (SIL Open Font License)
// that Debian's console-setup-linux package installs; its 8 x 16 glyphs get
// one empty column to make the 9-pixel cell. Without the font every letter
// draws as an outlined box, so text still takes its place.

#include <array>
#include <cstdint>
#include <string>

#include "platform/Surface.h"

// The bitmap alphabet: 256 letters of 16 rows, bit 7 the leftmost pixel.
class CDDAlphabet {
public:
    static constexpr int kCellWidth = 9;
    static constexpr int kCellHeight = 16;

    // Reads the font file (a PSF console font, gzip-compressed or not); false
    // and the box letters when it cannot be read.
    bool LoadFont(const std::string& path);
    bool IsFontLoaded() const { return m_bLoaded; }
    // The rows of a letter (Latin-1 code).
    const std::array<uint8_t, 16>& Glyph(unsigned char c) const { return m_Glyphs[c]; }

    // The alphabet the game draws with, read once from the installed font.
    static const CDDAlphabet& Get();
    static const char* DefaultFontPath();

private:
    void UseBoxes();

    bool m_bLoaded = false;
    std::array<std::array<uint8_t, 16>, 256> m_Glyphs{};
};

class CDDString {
public:
    CDDString() = default;
    explicit CDDString(std::string text, int colour = 255)
        : m_strText(std::move(text)), m_iColour(colour) {}

    void SetText(const std::string& text) { m_strText = text; }
    const std::string& GetText() const { return m_strText; }
    void SetColour(int paletteIndex) { m_iColour = paletteIndex & 0xFF; }
    int GetColour() const { return m_iColour; }

    // Width and height of the text: 9 pixels a character of its longest line,
    // 16 a line.
    int Width() const;
    int Height() const;

    // Draws the text with its top-left at the point, clipped to clip and the
    // surface; a '\n' starts a new line below.
    int Draw(qv::Surface* surface, qv::Point topLeft, const qv::Rect& clip) const;

    static int DrawText(qv::Surface* surface, qv::Point topLeft, const qv::Rect& clip,
                        const std::string& text, int colour);

private:
    std::string m_strText;
    int m_iColour = 255;
};
