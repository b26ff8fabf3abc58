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
    // Worked in 64 bits so that far-off points (a sprite a world away from
    // the view) cannot overflow.
    int64_t sl = srcRect.left, st = srcRect.top, sr = srcRect.right, sb = srcRect.bottom;
    int64_t dx = dest.x, dy = dest.y;
    // Cut the source to its surface first, moving the destination along.
    if (sl < srcBounds.left) {
        dx += srcBounds.left - sl;
        sl = srcBounds.left;
    }
    if (st < srcBounds.top) {
        dy += srcBounds.top - st;
        st = srcBounds.top;
    }
    sr = std::min<int64_t>(sr, srcBounds.right);
    sb = std::min<int64_t>(sb, srcBounds.bottom);
    if (sr <= sl || sb <= st) return false;
    // Then the destination block to the clip rectangle.
    const int64_t left = std::max<int64_t>(dx, clip.left);
    const int64_t top = std::max<int64_t>(dy, clip.top);
    const int64_t right = std::min<int64_t>(dx + (sr - sl), clip.right);
    const int64_t bottom = std::min<int64_t>(dy + (sb - st), clip.bottom);
    if (right <= left || bottom <= top) return false;
    sl += left - dx;
    st += top - dy;
    srcRect = {static_cast<int>(sl), static_cast<int>(st), static_cast<int>(sl + (right - left)),
               static_cast<int>(st + (bottom - top))};
    dest = {static_cast<int>(left), static_cast<int>(top)};
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
    // Within one surface a block moved down is copied from its last row up,
    // and one moved right from its last column back, so that no pixel is
    // overwritten before it is read.
    const bool same = &src == this;
    const bool upward = same && dest.y > s.top;
    const bool backward = same && dest.y == s.top && dest.x > s.left;
    for (int i = 0; i < h; ++i) {
        const int y = upward ? h - 1 - i : i;
        uint16_t* d = Row(dest.y + y) + dest.x;
        const uint16_t* p = src.Row(s.top + y) + s.left;
        if (colourKey < 0 || colourKey > 0xFFFF) {
            std::memmove(d, p, static_cast<size_t>(w) * sizeof(uint16_t));
            continue;
        }
        const uint16_t key = static_cast<uint16_t>(colourKey);
        if (!same) {
            CopyRowKeyed(d, p, w, key);
        } else if (backward) {
            for (int x = w - 1; x >= 0; --x) d[x] = KeyedPixel(d[x], p[x], key);
        } else {
            for (int x = 0; x < w; ++x) d[x] = KeyedPixel(d[x], p[x], key);
        }
    }
    return kDrawOk;
}

namespace {

// Rows are worked in blocks of a fixed count, which the compiler turns into
// vector instructions without any check at run time (the pointers are
// declared apart), then the few pixels left one by one.
constexpr int kBlock = 16;

}  // namespace

void CopyRowKeyed(uint16_t* __restrict to, const uint16_t* __restrict from, int n, uint16_t key) {
    int x = 0;
    for (; x + kBlock <= n; x += kBlock)
        for (int k = 0; k < kBlock; ++k) to[x + k] = KeyedPixel(to[x + k], from[x + k], key);
    for (; x < n; ++x) to[x] = KeyedPixel(to[x], from[x], key);
}

void CopyRowScaled(uint16_t* __restrict to, const uint16_t* __restrict from, int n, uint32_t f) {
    int x = 0;
    for (; x + kBlock <= n; x += kBlock)
        for (int k = 0; k < kBlock; ++k) to[x + k] = ScaledPixel(from[x + k], f);
    for (; x < n; ++x) to[x] = ScaledPixel(from[x], f);
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
