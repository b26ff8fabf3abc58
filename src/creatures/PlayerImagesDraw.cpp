// The drawing forms of creature looks. A form builds the frame to draw in the
// one work image, mapping each of the frame's few colours once and then only
// looking its pixels up; the finished work image is then put on the screen.

#include <algorithm>
#include <unordered_map>

#include "creatures/PlayerImages.h"
#include "media/DIBitmap.h"
#include "platform/Rand.h"
#include "world/Global.h"

int CreatureImageSet::s_iWorkWidth = 0;
int CreatureImageSet::s_iWorkHeight = 0;
uint16_t CreatureImageSet::s_uWorkKey = 0;

namespace {

// A pale blue the ghostly form fades toward, in 5-6-5 parts.
constexpr int kGhostR = 24, kGhostG = 56, kGhostB = 31;
// One pixel in this many drops out of a ghostly figure.
constexpr int kGhostDropout = 3;
// Brightness of full light; the light level at a creature is 0 to this.
constexpr int kFullLight = 128;

// The mean of two 5-6-5 pixels, part by part.
inline uint16_t Mean565(uint16_t a, uint16_t b) {
    return static_cast<uint16_t>(((a & 0xF7DE) >> 1) + ((b & 0xF7DE) >> 1));
}

uint16_t Rebuild(int r, int g, int b, int light, uint16_t key) {
    int rm, gm, bm;
    ScreenPixelLimits(rm, gm, bm);
    r = std::clamp(r, 0, rm);
    g = std::clamp(g, 0, gm);
    b = std::clamp(b, 0, bm);
    uint16_t p = MakeScreenPixel((r * light) >> 7, (g * light) >> 7, (b * light) >> 7);
    if (p == key) ++p;  // a lit pixel never turns see-through
    return p;
}

LookColours Bounded(const LookColours& c) {
    constexpr int32_t kReach = 64;  // the largest part of any channel
    LookColours b = c;
    for (auto* entry : {&b.shirt, &b.pants, &b.hair})
        for (int32_t& v : *entry) v = std::clamp(v, -kReach, kReach);
    return b;
}

}  // namespace

qv::Surface& CreatureImageSet::WorkImage() {
    static qv::Surface work(kWorkWidth, kWorkHeight);
    return work;
}

uint16_t CreatureImageSet::ShadePixel(uint16_t pixel, int light, uint16_t key) {
    if (pixel == key) return key;
    int r, g, b;
    SplitScreenPixel(pixel, r, g, b);
    return Rebuild(r, g, b, std::clamp(light, 0, kFullLight), key);
}

uint16_t CreatureImageSet::RecolourPixel(uint16_t pixel, int row, int height,
                                         const LookColours& colours, int light, uint16_t key) {
    if (pixel == key) return key;
    int r, g, b, rm, gm, bm;
    SplitScreenPixel(pixel, r, g, b);
    ScreenPixelLimits(rm, gm, bm);
    // Colours come from stored records: anything beyond a part's whole range
    // acts as that range.
    const LookColours c = Bounded(colours);
    if (g != 0 && r == 0 && b == 0) {
        // The shirt: pure green, its strength times the shirt colour.
        const int k = std::max(g, 1);
        r = std::min(k * c.shirt[0], rm);
        g = std::min(k * c.shirt[1], gm);
        b = std::min(k * c.shirt[2], bm);
    } else if (row > height / 4 && 2 * g - 4 < r && r < 2 * g + 4 && 2 * b - 2 < g &&
               g < 2 * b + 2) {
        // The trousers: brown below the top quarter.
        r = std::max(r + c.pants[0], 0);
        g = std::max(g + c.pants[1], 0);
        b = std::max(b + c.pants[2], 0);
    } else if (row < height / 3 && 4 * b < r + 10 && 4 * b < g + 10) {
        // The hair: the yellowish and reddish colours of the top third.
        r += c.hair[0];
        g += c.hair[1];
        b = std::max(b + c.hair[2], 1);
    }
    return Rebuild(r, g, b, std::clamp(light, 0, kFullLight), key);
}

void CreatureImageSet::BuildPlanes(Action& action) {
    CDDObject& image = *action.image;
    action.planes.assign(static_cast<size_t>(image.m_iSurfaceCnt), Plane{});
    for (int i = 0; i < image.m_iSurfaceCnt; ++i) {
        const qv::Surface* s = image.GetFrameSurface(i);
        if (!s) continue;
        Plane& p = action.planes[static_cast<size_t>(i)];
        p.key = static_cast<uint16_t>(image.GetFrameKey(i));
        p.width = std::min(image.m_iWidth, s->Width());
        p.height = std::min(image.m_iHeight, s->Height());
        p.colours.assign(1, p.key);
        p.index.resize(static_cast<size_t>(p.width) * p.height);
        std::unordered_map<uint16_t, uint8_t> seen{{p.key, 0}};
        bool fits = true;
        for (int y = 0; y < p.height && fits; ++y) {
            const uint16_t* row = s->Row(y);
            for (int x = 0; x < p.width; ++x) {
                auto [it, added] = seen.try_emplace(row[x], static_cast<uint8_t>(p.colours.size()));
                if (added) {
                    if (p.colours.size() == 256) {
                        fits = false;
                        break;
                    }
                    p.colours.push_back(row[x]);
                }
                p.index[static_cast<size_t>(y) * p.width + x] = it->second;
            }
        }
        if (!fits) p = Plane{};  // drawn pixel by pixel instead
    }
}

const CreatureImageSet::Plane* CreatureImageSet::FindPlane(const CDDObject* image) const {
    for (const Action& a : m_Actions) {
        if (a.image.get() != image) continue;
        const int f = image->m_iWhichSurf;
        if (f < 0 || static_cast<size_t>(f) >= a.planes.size()) return nullptr;
        return &a.planes[static_cast<size_t>(f)];
    }
    return nullptr;
}

int CreatureImageSet::BuildInWork(const CDDObject* image, int light, const LookColours* colours) {
    if (!image) return 0;
    const int frame = image->m_iWhichSurf;
    const qv::Surface* src = image->GetFrameSurface(frame);
    if (!src) return 0;
    const int width = std::min({image->m_iWidth, src->Width(), kWorkWidth});
    const int height = std::min({image->m_iHeight, src->Height(), kWorkHeight});
    const uint16_t key = static_cast<uint16_t>(image->GetFrameKey(frame));
    qv::Surface& work = WorkImage();
    s_iWorkWidth = width;
    s_iWorkHeight = height;
    s_uWorkKey = key;
    // Rows fall into classes by the recoloured form's two row tests.
    auto rowClass = [height](int y) { return (y > height / 4 ? 2 : 0) + (y < height / 3 ? 1 : 0); };

    const Plane* plane = FindPlane(image);
    if (plane && !plane->index.empty() && plane->width >= width && plane->height >= height) {
        const size_t n = plane->colours.size();
        uint16_t lut[4][256];
        int firstRow[4] = {-1, -1, -1, -1};
        for (int y = 0; y < height; ++y)
            if (firstRow[rowClass(y)] < 0) firstRow[rowClass(y)] = y;
        for (int c = 0; c < 4; ++c) {
            // Shading alone is the same in every row: one table serves.
            if (colours ? firstRow[c] < 0 : c > 0) continue;
            lut[c][0] = key;
            for (size_t i = 1; i < n; ++i)
                lut[c][i] = colours ? RecolourPixel(plane->colours[i], firstRow[c], height,
                                                    *colours, light, key)
                                    : ShadePixel(plane->colours[i], light, key);
        }
        for (int y = 0; y < height; ++y) {
            const uint16_t* map = lut[colours ? rowClass(y) : 0];
            const uint8_t* s = &plane->index[static_cast<size_t>(y) * plane->width];
            uint16_t* d = work.Row(y);
            for (int x = 0; x < width; ++x) d[x] = map[s[x]];
        }
        return 1;
    }
    for (int y = 0; y < height; ++y) {
        const uint16_t* s = src->Row(y);
        uint16_t* d = work.Row(y);
        for (int x = 0; x < width; ++x)
            d[x] = colours ? RecolourPixel(s[x], y, height, *colours, light, key)
                           : ShadePixel(s[x], light, key);
    }
    return 1;
}

int CreatureImageSet::DrawShaded(CDDObject* image, int light) {
    return BuildInWork(image, light, nullptr);
}

int CreatureImageSet::DrawRecoloured(CDDObject* image, int light, const LookColours& colours) {
    return BuildInWork(image, light, &colours);
}

int CreatureImageSet::DrawEthereal() {
    qv::Surface& work = WorkImage();
    const uint16_t key = s_uWorkKey;
    for (int y = 0; y < s_iWorkHeight; ++y) {
        uint16_t* d = work.Row(y);
        for (int x = 0; x < s_iWorkWidth; ++x) {
            if (d[x] == key) continue;
            if (qv::Rand() % kGhostDropout == 0) {
                d[x] = key;
                continue;
            }
            int r, g, b;
            SplitScreenPixel(d[x], r, g, b);
            uint16_t p = MakeScreenPixel((r + kGhostR) / 2, (g + kGhostG) / 2, (b + kGhostB) / 2);
            if (p == key) ++p;
            d[x] = p;
        }
    }
    return 1;
}

int CreatureImageSet::PutWork(qv::Surface* surface, qv::Point screen, const qv::Rect& view,
                              const CDDObject* image, int markColour, bool translucent) {
    if (!surface || !image || s_iWorkWidth <= 0 || s_iWorkHeight <= 0) return qv::kDrawInvalid;
    qv::Surface& work = WorkImage();
    const uint16_t key = s_uWorkKey;
    const int w = s_iWorkWidth, h = s_iWorkHeight;
    if (markColour != 0) {
        // The outline: every see-through pixel beside the figure.
        uint16_t mark = PaletteIndexToPixel(markColour & 0xFF);
        if (mark == key) ++mark;
        std::vector<uint8_t> solid(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                solid[static_cast<size_t>(y) * w + x] = work.Row(y)[x] != key;
        auto at = [&](int x, int y) {
            return x >= 0 && y >= 0 && x < w && y < h && solid[static_cast<size_t>(y) * w + x];
        };
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (!at(x, y) && (at(x - 1, y) || at(x + 1, y) || at(x, y - 1) || at(x, y + 1)))
                    work.Row(y)[x] = mark;
    }
    qv::Point at{screen.x - image->m_iHotX, screen.y - image->m_iHotY - image->m_iZOffset};
    const qv::Rect source{0, 0, w, h};
    if (!translucent) return surface->Blt(at, work, source, view, key);
    if (surface->IsLost()) return qv::kDrawSurfaceLost;
    qv::Rect s = source;
    if (!qv::ClipBlit(at, s, work.Bounds(), view.Intersect(surface->Bounds()))) return qv::kDrawOk;
    for (int y = 0; y < s.Height(); ++y) {
        uint16_t* d = surface->Row(at.y + y) + at.x;
        const uint16_t* p = work.Row(s.top + y) + s.left;
        for (int x = 0; x < s.Width(); ++x)
            if (p[x] != key) d[x] = Mean565(p[x], d[x]);
    }
    return qv::kDrawOk;
}

int CreatureImageSet::DrawWorkImage(qv::Surface* surface, qv::Point screen, const qv::Rect& view,
                                    const CDDObject* image, int markColour) {
    return PutWork(surface, screen, view, image, markColour, false);
}

int CreatureImageSet::DrawInvisible(qv::Surface* surface, qv::Point screen, const qv::Rect& view,
                                    const CDDObject* image, int markColour) {
    return PutWork(surface, screen, view, image, markColour, true);
}
