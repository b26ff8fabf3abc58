#include "media/DDString.h"

#include <zlib.h>

#include <algorithm>
#include <vector>

#include "media/DIBitmap.h"

const char* CDDAlphabet::DefaultFontPath() {
    return "/usr/share/consolefonts/Lat15-Terminus16.psf.gz";
}

const CDDAlphabet& CDDAlphabet::Get() {
    static const CDDAlphabet alphabet = [] {
        CDDAlphabet a;
        a.LoadFont(DefaultFontPath());
        return a;
    }();
    return alphabet;
}

void CDDAlphabet::UseBoxes() {
    m_bLoaded = false;
    for (int c = 0; c < 256; ++c) {
        auto& g = m_Glyphs[c];
        g.fill(0);
        if (c <= 32 || c == 127 || c == 160) continue;  // blanks stay blank
        g[3] = g[13] = 0x7C;
        for (int y = 4; y < 13; ++y) g[y] = 0x44;
    }
}

namespace {

// The whole file, inflated when it is gzip-compressed (zlib reads both).
bool ReadFontFile(const std::string& path, std::vector<uint8_t>& out) {
    gzFile f = gzopen(path.c_str(), "rb");
    if (!f) return false;
    uint8_t buf[16384];
    int n;
    while ((n = gzread(f, buf, sizeof buf)) > 0) {
        out.insert(out.end(), buf, buf + n);
        if (out.size() > (4u << 20)) break;
    }
    const bool ok = n == 0;
    gzclose(f);
    return ok;
}

uint32_t Le32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

bool CDDAlphabet::LoadFont(const std::string& path) {
    UseBoxes();
    std::vector<uint8_t> d;
    if (!ReadFontFile(path, d)) return false;
    // Glyph bitmaps and, per glyph, the Unicode code points it shows.
    size_t glyphsAt, count, bytesPerGlyph, height, rowBytes;
    std::vector<std::vector<uint32_t>> codes;
    if (d.size() >= 4 && d[0] == 0x36 && d[1] == 0x04) {  // PSF version 1
        const uint8_t mode = d[2];
        height = d[3];
        count = (mode & 1) ? 512 : 256;
        rowBytes = 1;
        bytesPerGlyph = height;
        glyphsAt = 4;
        size_t at = glyphsAt + count * bytesPerGlyph;
        if (at > d.size()) return false;
        if (mode & 2) {  // a table of 16-bit code points, 0xFFFF ends a glyph's list
            codes.resize(count);
            for (size_t g = 0; g < count && at + 1 < d.size(); ++g) {
                bool sequence = false;
                while (at + 1 < d.size()) {
                    const uint32_t u = d[at] | (d[at + 1] << 8);
                    at += 2;
                    if (u == 0xFFFF) break;
                    if (u == 0xFFFE) sequence = true;
                    if (!sequence) codes[g].push_back(u);
                }
            }
        }
    } else if (d.size() >= 32 && Le32(&d[0]) == 0x864AB572u) {  // PSF version 2
        glyphsAt = Le32(&d[8]);
        const uint32_t flags = Le32(&d[12]);
        count = Le32(&d[16]);
        bytesPerGlyph = Le32(&d[20]);
        height = Le32(&d[24]);
        const uint32_t width = Le32(&d[28]);
        rowBytes = (width + 7) / 8;
        if (count > 65536 || rowBytes == 0 || height == 0 || bytesPerGlyph < rowBytes * height)
            return false;
        size_t at = glyphsAt + count * bytesPerGlyph;
        if (glyphsAt > d.size() || at > d.size()) return false;
        if (flags & 1) {  // UTF-8 table, 0xFF ends a glyph's list, 0xFE starts sequences
            codes.resize(count);
            for (size_t g = 0; g < count && at < d.size(); ++g) {
                bool sequence = false;
                while (at < d.size()) {
                    const uint8_t b = d[at];
                    if (b == 0xFF) {
                        ++at;
                        break;
                    }
                    if (b == 0xFE) {
                        sequence = true;
                        ++at;
                        continue;
                    }
                    uint32_t u = b;
                    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
                    if (extra) u = b & (0x3F >> extra);
                    ++at;
                    for (int k = 0; k < extra && at < d.size(); ++k)
                        u = (u << 6) | (d[at++] & 0x3F);
                    if (!sequence) codes[g].push_back(u);
                }
            }
        }
    } else {
        return false;
    }
    if (height == 0) return false;
    // Latin-1 code c shows the glyph that the table gives for code point c;
    // without a table, glyph c.
    std::array<int, 256> glyphOf;
    glyphOf.fill(-1);
    if (codes.empty()) {
        for (size_t c = 0; c < 256 && c < count; ++c) glyphOf[c] = static_cast<int>(c);
    } else {
        for (size_t g = 0; g < codes.size(); ++g)
            for (uint32_t u : codes[g])
                if (u < 256 && glyphOf[u] < 0) glyphOf[u] = static_cast<int>(g);
    }
    // Fit the glyph rows into 16, centred when the font is shorter or taller.
    const int rows = static_cast<int>(std::min<size_t>(height, kCellHeight));
    const int skip = height > kCellHeight ? static_cast<int>(height - kCellHeight) / 2 : 0;
    const int pad = height < kCellHeight ? static_cast<int>(kCellHeight - height) / 2 : 0;
    for (int c = 0; c < 256; ++c) {
        auto& g = m_Glyphs[c];
        if (glyphOf[c] < 0) {
            if (c > 32 && c != 127 && c != 160) continue;  // keep the box for an unknown letter
            g.fill(0);
            continue;
        }
        g.fill(0);
        const uint8_t* src = &d[glyphsAt + static_cast<size_t>(glyphOf[c]) * bytesPerGlyph];
        for (int y = 0; y < rows; ++y) g[pad + y] = src[(skip + y) * rowBytes];
    }
    m_bLoaded = true;
    return true;
}

int CDDString::Width() const {
    int longest = 0, current = 0;
    for (char ch : m_strText) {
        if (ch == '\n') {
            current = 0;
            continue;
        }
        longest = std::max(longest, ++current);
    }
    return longest * CDDAlphabet::kCellWidth;
}

int CDDString::Height() const {
    if (m_strText.empty()) return 0;
    return static_cast<int>(1 + std::count(m_strText.begin(), m_strText.end(), '\n')) *
           CDDAlphabet::kCellHeight;
}

int CDDString::Draw(qv::Surface* surface, qv::Point topLeft, const qv::Rect& clip) const {
    return DrawText(surface, topLeft, clip, m_strText, m_iColour);
}

int CDDString::DrawText(qv::Surface* surface, qv::Point topLeft, const qv::Rect& clip,
                        const std::string& text, int colour) {
    if (!surface) return qv::kDrawInvalid;
    if (surface->IsLost()) return qv::kDrawSurfaceLost;
    const qv::Rect area = clip.Intersect(surface->Bounds());
    if (area.IsEmpty()) return qv::kDrawOk;
    const uint16_t pixel = PaletteIndexToPixel(colour);
    const CDDAlphabet& alphabet = CDDAlphabet::Get();
    // Positions are worked in 64 bits: text may start anywhere, even near the
    // integer limits, and letters outside the clip area are skipped.
    int64_t x = topLeft.x, y = topLeft.y;
    for (char ch : text) {
        if (ch == '\n') {
            x = topLeft.x;
            y += CDDAlphabet::kCellHeight;
            if (y >= area.bottom) break;
            continue;
        }
        const int64_t left = std::max<int64_t>(x, area.left);
        const int64_t right = std::min<int64_t>(x + CDDAlphabet::kCellWidth, area.right);
        const int64_t top = std::max<int64_t>(y, area.top);
        const int64_t bottom = std::min<int64_t>(y + CDDAlphabet::kCellHeight, area.bottom);
        if (left < right && top < bottom) {
            const auto& g = alphabet.Glyph(static_cast<unsigned char>(ch));
            for (int py = static_cast<int>(top); py < bottom; ++py) {
                const uint8_t bits = g[py - y];
                if (!bits) continue;
                uint16_t* row = surface->Row(py);
                for (int px = static_cast<int>(left); px < right; ++px) {
                    const int64_t col = px - x;  // column 8 is the gap between letters
                    if (col < 8 && (bits & (0x80 >> col))) row[px] = pixel;
                }
            }
        }
        x += CDDAlphabet::kCellWidth;
    }
    return qv::kDrawOk;
}
