#include "platform/Surface.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

namespace qv {

void Surface::Create(int width, int height) {
    m_iWidth = std::max(width, 0);
    m_iHeight = std::max(height, 0);
    if (m_iWidth == 0 || m_iHeight == 0) m_iWidth = m_iHeight = 0;
    m_iPitch = m_iWidth;
    m_bLost = false;
    m_Pixels.assign(static_cast<size_t>(m_iPitch) * m_iHeight, 0);
}

void Surface::Destroy() {
    m_iWidth = m_iHeight = m_iPitch = 0;
    m_bLost = false;
    m_Pixels.clear();
    m_Pixels.shrink_to_fit();
}

uint16_t Surface::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_iWidth || y >= m_iHeight) return 0;
    return Row(y)[x];
}

void Surface::SetPixel(int x, int y, uint16_t value) {
    if (x < 0 || y < 0 || x >= m_iWidth || y >= m_iHeight) return;
    Row(y)[x] = value;
}

int Surface::Fill(uint16_t value) {
    return FillRect(Bounds(), value);
}

int Surface::FillRect(const Rect& rect, uint16_t value) {
    if (m_bLost) return kDrawSurfaceLost;
    Rect r = rect.Intersect(Bounds());
    if (r.IsEmpty()) return kDrawOk;
    for (int y = r.top; y < r.bottom; ++y) std::fill_n(Row(y) + r.left, r.Width(), value);
    return kDrawOk;
}

bool ClipBlit(Point& dest, Rect& srcRect, const Rect& srcBounds, const Rect& clip) {
    // Cut the source to its surface first, moving the destination along.
    Rect s = srcRect;
    Point d = dest;
    if (s.left < srcBounds.left) {
        d.x += srcBounds.left - s.left;
        s.left = srcBounds.left;
    }
    if (s.top < srcBounds.top) {
        d.y += srcBounds.top - s.top;
        s.top = srcBounds.top;
    }
    s.right = std::min(s.right, srcBounds.right);
    s.bottom = std::min(s.bottom, srcBounds.bottom);
    if (s.IsEmpty()) return false;
    // Then the destination block to the clip rectangle.
    Rect placed{d.x, d.y, d.x + s.Width(), d.y + s.Height()};
    Rect vis = placed.Intersect(clip);
    if (vis.IsEmpty()) return false;
    s.left += vis.left - placed.left;
    s.top += vis.top - placed.top;
    s.right = s.left + vis.Width();
    s.bottom = s.top + vis.Height();
    dest = {vis.left, vis.top};
    srcRect = s;
    return true;
}

int Surface::Blt(Point dest, const Surface& src, const Rect& srcRect, const Rect& clip,
                 int colourKey) {
    if (m_bLost || src.m_bLost) return kDrawSurfaceLost;
    if (!IsValid() || !src.IsValid()) return kDrawInvalid;
    Rect s = srcRect;
    if (!ClipBlit(dest, s, src.Bounds(), clip.Intersect(Bounds()))) return kDrawOk;
    const int w = s.Width();
    const int h = s.Height();
    if (colourKey < 0 || colourKey > 0xFFFF) {
        for (int y = 0; y < h; ++y)
            std::memcpy(Row(dest.y + y) + dest.x, src.Row(s.top + y) + s.left,
                        static_cast<size_t>(w) * sizeof(uint16_t));
        return kDrawOk;
    }
    const uint16_t key = static_cast<uint16_t>(colourKey);
    for (int y = 0; y < h; ++y) {
        uint16_t* d = Row(dest.y + y) + dest.x;
        const uint16_t* p = src.Row(s.top + y) + s.left;
        // Written without a branch so that the compiler can keep it in vectors.
        for (int x = 0; x < w; ++x) {
            const uint16_t v = p[x];
            d[x] = v == key ? d[x] : v;
        }
    }
    return kDrawOk;
}

namespace {

void PutLE(unsigned char* p, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

}  // namespace

bool Surface::SaveBmp(const std::string& path) const {
    const int w = m_iWidth, h = m_iHeight;
    const int rowBytes = (w * 3 + 3) & ~3;
    const uint32_t imageBytes = static_cast<uint32_t>(rowBytes) * h;
    unsigned char header[54] = {};
    header[0] = 'B';
    header[1] = 'M';
    PutLE(header + 2, 54 + imageBytes, 4);
    PutLE(header + 10, 54, 4);
    PutLE(header + 14, 40, 4);
    PutLE(header + 18, static_cast<uint32_t>(w), 4);
    PutLE(header + 22, static_cast<uint32_t>(h), 4);
    PutLE(header + 26, 1, 2);
    PutLE(header + 28, 24, 2);
    PutLE(header + 34, imageBytes, 4);
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f) return false;
    if (std::fwrite(header, 1, sizeof header, f.get()) != sizeof header) return false;
    std::vector<unsigned char> row(static_cast<size_t>(rowBytes), 0);
    for (int y = h - 1; y >= 0; --y) {  // bottom row first
        const uint16_t* p = Row(y);
        for (int x = 0; x < w; ++x) {
            const uint16_t v = p[x];
            const int r5 = v >> 11, g6 = (v >> 5) & 0x3F, b5 = v & 0x1F;
            row[x * 3 + 0] = static_cast<unsigned char>((b5 << 3) | (b5 >> 2));
            row[x * 3 + 1] = static_cast<unsigned char>((g6 << 2) | (g6 >> 4));
            row[x * 3 + 2] = static_cast<unsigned char>((r5 << 3) | (r5 >> 2));
        }
        if (std::fwrite(row.data(), 1, row.size(), f.get()) != row.size()) return false;
    }
    return std::fclose(f.release()) == 0;
}

}  // namespace qv
