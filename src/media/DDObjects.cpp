#include "media/DDObjects.h"

#include <algorithm>
#include <mutex>

#include "media/Resources.h"
#include "platform/Saturate.h"

namespace {

// Images that have frames; the start-of-play worker adds to it while the main
// thread waits, so it is guarded all the same.
std::mutex g_ImageListMutex;
// Never destroyed: images that are statics of their classes leave it while
// the program's statics are torn down, in no order we control.
std::vector<CDDObject*>& ImageList() {
    static auto* list = new std::vector<CDDObject*>;
    return *list;
}

// A pixel darkened to brightness level/64 (level 0 to 64).
uint16_t ScaleBy64(uint16_t p, int level) {
    int r, g, b;
    SplitScreenPixel(p, r, g, b);
    return MakeScreenPixel((r * level) >> 6, (g * level) >> 6, (b * level) >> 6);
}

// Every part raised halfway to its largest value, rounding up.
uint16_t Brighten(uint16_t p) {
    int r, g, b, rm, gm, bm;
    SplitScreenPixel(p, r, g, b);
    ScreenPixelLimits(rm, gm, bm);
    return MakeScreenPixel((r + rm + 1) >> 1, (g + gm + 1) >> 1, (b + bm + 1) >> 1);
}

// The product of two sizes, held within the integer range.
int Times(int a, int b) {
    return qv::ClampToInt32(int64_t{a} * b);
}

// The largest grid of frames an image is given a surface for, in pixels: far
// beyond any picture of the game, and small enough to allocate.
constexpr int64_t kMaxGridPixels = int64_t{1} << 26;

}  // namespace

CDDObject::CDDObject() = default;

CDDObject::~CDDObject() {
    LeaveGlobalList();
}

void CDDObject::JoinGlobalList() {
    if (m_bListed) return;
    std::lock_guard lock(g_ImageListMutex);
    ImageList().push_back(this);
    m_bListed = true;
}

void CDDObject::LeaveGlobalList() {
    if (!m_bListed) return;
    std::lock_guard lock(g_ImageListMutex);
    auto& list = ImageList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    m_bListed = false;
}

int CDDObject::RestoreAllImages() {
    std::lock_guard lock(g_ImageListMutex);
    int ok = 1;
    for (CDDObject* image : ImageList())
        if (!image->Restore()) ok = 0;
    return ok;
}

size_t CDDObject::GlobalImageCount() {
    std::lock_guard lock(g_ImageListMutex);
    return ImageList().size();
}

int CDDObject::Create(int frameWidth, int frameHeight, int hotX, int hotY, const int* bitmapId,
                      int columns, int rows) {
    m_iWidth = std::max(frameWidth, 1);
    m_iHeight = std::max(frameHeight, 1);
    m_iHotX = hotX;
    m_iHotY = hotY;
    SetCellGrid(columns, rows);
    SetFrameCount(1);
    int levels = 1;
    SetFrameLevels(0, levels);
    m_iNumLevels = 1;
    if (bitmapId) {
        int id = *bitmapId;
        int frame = 0;
        SetFrameImage(id, 0, 0, frame);
    }
    return Load();
}

void CDDObject::SetCellGrid(int& across, int& down) {
    if (across < 1) across = 1;
    if (down < 1) down = 1;
    m_iCellsAcross = across;
    m_iCellsDown = down;
}

void CDDObject::SetFrameCount(int n) {
    Release();
    m_Frames.assign(static_cast<size_t>(std::max(n, 0)), Frame{});
    m_iSurfaceCnt = static_cast<int>(m_Frames.size());
    if (m_iWhichSurf >= m_iSurfaceCnt) m_iWhichSurf = 0;
    JoinGlobalList();
}

void CDDObject::SetFrameLevels(int frame, int& n) {
    if (!FrameIndexOk(frame)) return;
    if (n < 1) n = 1;
    m_Frames[frame].level =
        n == 1 ? 64
               : static_cast<int>(std::max<int64_t>(0, (int64_t{n} - 1 - frame) * 64 / (n - 1)));
}

void CDDObject::SetFrameImage(int& bitmapId, int srcX, int srcY, int& frame) {
    if (!FrameIndexOk(frame)) return;
    Frame& f = m_Frames[frame];
    f.bitmapId = bitmapId;
    f.file.clear();
    f.srcX = srcX;
    f.srcY = srcY;
    f.bitmap.reset();
    for (int i = 0; i < frame; ++i) {
        if (m_Frames[i].bitmapId == bitmapId && m_Frames[i].file.empty() && m_Frames[i].bitmap) {
            f.bitmap = m_Frames[i].bitmap;
            break;
        }
    }
    if (!f.bitmap) f.bitmap = FindBitmapResource(bitmapId);
}

bool CDDObject::SetFrameImageFile(int frame, const std::string& path, std::string* error) {
    if (!FrameIndexOk(frame)) {
        if (error) *error = path + ": no frame " + std::to_string(frame);
        return false;
    }
    auto bitmap = std::make_shared<CDIBitmap>();
    if (!bitmap->Load(path, error)) return false;
    std::shared_ptr<const CDIBitmap> shared = std::move(bitmap);
    const auto [gridW, gridH] = GridSize();
    const int perRow = gridW > 0 ? std::max(1, shared->Width() / gridW) : 1;
    const int rows = gridH > 0 ? std::max(1, shared->Height() / gridH) : 1;
    for (int block = 0; block < perRow * rows && frame + block < m_iSurfaceCnt; ++block) {
        Frame& f = m_Frames[frame + block];
        f.bitmapId = -1;
        f.file = path;
        f.bitmap = shared;
        f.srcX = (block % perRow) * gridW;
        f.srcY = (block / perRow) * gridH;
    }
    return true;
}

void CDDObject::SetFrameBitmap(int frame, std::shared_ptr<const CDIBitmap> bitmap, int srcX,
                               int srcY) {
    if (!FrameIndexOk(frame)) return;
    Frame& f = m_Frames[frame];
    f.bitmapId = -1;
    f.file.clear();
    f.bitmap = std::move(bitmap);
    f.srcX = srcX;
    f.srcY = srcY;
}

void CDDObject::SetTransparentColour(int paletteIndex) {
    m_iTransparentIndex = paletteIndex & 0xFF;
}

qv::Point CDDObject::GridSize() const {
    const int64_t w = int64_t{m_iWidth} * m_iCellsAcross;
    const int64_t h = int64_t{m_iHeight} * m_iCellsDown;
    if (w <= 0 || h <= 0 || w * h > kMaxGridPixels) return {0, 0};
    return {static_cast<int>(w), static_cast<int>(h)};
}

void CDDObject::FillFrame(Frame& f) {
    // A grid too large for a surface gets an empty one, which draws nothing.
    const auto [gridW, gridH] = GridSize();
    if (!f.surface || f.surface->Width() != gridW || f.surface->Height() != gridH)
        f.surface = std::make_shared<qv::Surface>(gridW, gridH);
    f.surface->Restore();
    const Palette& palette = f.bitmap ? f.bitmap->GetPalette() : GetGamePalette();
    f.key = PaletteIndexToPixel(m_iTransparentIndex, palette);
    uint16_t lut[256];
    for (int i = 0; i < 256; ++i) {
        uint16_t p = ScaleBy64(PaletteIndexToPixel(i, palette), f.level);
        if (p == f.key) p ^= 1;  // a lit pixel never turns see-through
        lut[i] = i == m_iTransparentIndex ? static_cast<uint16_t>(f.key) : p;
    }
    const CDIBitmap* bm = f.bitmap.get();
    for (int y = 0; y < gridH; ++y) {
        uint16_t* d = f.surface->Row(y);
        const int sy = f.srcY + y;
        if (!bm || sy < 0 || sy >= bm->Height()) {
            std::fill_n(d, gridW, static_cast<uint16_t>(f.key));
            continue;
        }
        const uint8_t* s = bm->RowFromTop(sy);
        for (int x = 0; x < gridW; ++x) {
            const int sx = f.srcX + x;
            d[x] = sx >= 0 && sx < bm->Width() ? lut[s[sx]] : static_cast<uint16_t>(f.key);
        }
    }
}

int CDDObject::Load() {
    if (m_iSurfaceCnt == 0) return 0;
    for (int i = 0; i < m_iSurfaceCnt; ++i) {
        Frame& f = m_Frames[i];
        f.owned = true;
        // A frame with the same picture and level as an earlier one shares its surface.
        for (int j = 0; j < i; ++j) {
            const Frame& e = m_Frames[j];
            if (e.owned && e.surface && e.bitmap == f.bitmap && e.level == f.level &&
                e.srcX == f.srcX && e.srcY == f.srcY && e.bitmapId == f.bitmapId) {
                f.surface = e.surface;
                f.key = e.key;
                f.owned = false;
                break;
            }
        }
        if (f.owned) {
            if (f.surface && f.surface.use_count() > 1) f.surface.reset();
            FillFrame(f);
        }
    }
    return 1;
}

void CDDObject::Release() {
    for (Frame& f : m_Frames) f.surface.reset();
}

bool CDDObject::IsLoaded() const {
    if (m_Frames.empty()) return false;
    for (const Frame& f : m_Frames)
        if (!f.surface) return false;
    return true;
}

int CDDObject::Restore() {
    if (!IsLoaded()) return 1;  // nothing on surfaces to restore
    bool lost = false;
    for (const Frame& f : m_Frames)
        if (f.surface->IsLost()) lost = true;
    return lost ? Load() : 1;
}

int CDDObject::CurrentFrame() const {
    const int level = m_iNumLevels > 1 ? std::clamp(m_iLightLevel, 0, m_iNumLevels - 1) : 0;
    return m_iWhichSurf + level;
}

const qv::Surface* CDDObject::GetFrameSurface(int frame) const {
    return FrameIndexOk(frame) ? m_Frames[frame].surface.get() : nullptr;
}

qv::Surface* CDDObject::GetFrameSurface(int frame) {
    return FrameIndexOk(frame) ? m_Frames[frame].surface.get() : nullptr;
}

int CDDObject::GetFrameLevel(int frame) const {
    return FrameIndexOk(frame) ? m_Frames[frame].level : 0;
}

qv::Rect CDDObject::CellSource(int column, int row) const {
    return {Times(column, m_iWidth), Times(row, m_iHeight), Times(column + 1, m_iWidth),
            Times(row + 1, m_iHeight)};
}

qv::Rect CDDObject::GetCellRect() const {
    return {-m_iHotX, -m_iHotY - m_iZOffset, m_iWidth - m_iHotX, m_iHeight - m_iHotY - m_iZOffset};
}

int CDDObject::DrawFrame(qv::Surface* surface, qv::Point screen, const qv::Rect& view, int& column,
                         int& row, int mode, int) {
    // Files may name any cell; one outside the grid is not drawn.
    if (column < 0 || row < 0 || column >= m_iCellsAcross || row >= m_iCellsDown)
        return qv::kDrawOk;
    m_iCurrentColumn = column;
    m_iCurrentRow = row;
    const qv::Point topLeft{screen.x - m_iHotX, screen.y - m_iHotY - m_iZOffset};
    return DrawSource(surface, topLeft, view, CellSource(column, row), mode);
}

int CDDObject::DrawAt(qv::Surface* surface, qv::Point position, const qv::Rect& clip,
                      const qv::Rect* source, int mode) {
    const qv::Rect src = source ? *source : CellSource(m_iCurrentColumn, m_iCurrentRow);
    return DrawSource(surface, position, clip, src, mode);
}

int CDDObject::DrawSource(qv::Surface* surface, qv::Point position, const qv::Rect& clip,
                          const qv::Rect& source, int mode) {
    const int frame = CurrentFrame();
    if (!surface || !FrameIndexOk(frame) || !m_Frames[frame].surface) return qv::kDrawInvalid;
    const Frame& f = m_Frames[frame];
    if (mode != kDrawModeHover) return surface->Blt(position, *f.surface, source, clip, f.key);
    if (surface->IsLost() || f.surface->IsLost()) return qv::kDrawSurfaceLost;
    qv::Rect s = source;
    if (!qv::ClipBlit(position, s, f.surface->Bounds(), clip.Intersect(surface->Bounds())))
        return qv::kDrawOk;
    const uint16_t key = static_cast<uint16_t>(f.key);
    for (int y = 0; y < s.Height(); ++y) {
        uint16_t* d = surface->Row(position.y + y) + position.x;
        const uint16_t* p = f.surface->Row(s.top + y) + s.left;
        for (int x = 0; x < s.Width(); ++x)
            if (p[x] != key) d[x] = Brighten(p[x]);
    }
    return qv::kDrawOk;
}

int CDDObject::DrawPiece(qv::Surface* surface, qv::Point position, const qv::Rect& clip,
                         const qv::Rect& source, int darkness) {
    const int frame = CurrentFrame();
    if (!surface || !FrameIndexOk(frame) || !m_Frames[frame].surface) return qv::kDrawInvalid;
    const qv::Surface& src = *m_Frames[frame].surface;
    darkness = std::clamp(darkness, 0, 31);
    if (darkness == 0) return surface->Blt(position, src, source, clip, qv::kNoColourKey);
    if (surface->IsLost() || src.IsLost()) return qv::kDrawSurfaceLost;
    qv::Rect s = source;
    if (!qv::ClipBlit(position, s, src.Bounds(), clip.Intersect(surface->Bounds())))
        return qv::kDrawOk;
    const uint32_t f = static_cast<uint32_t>(32 - darkness);
    for (int y = 0; y < s.Height(); ++y) {
        uint16_t* d = surface->Row(position.y + y) + position.x;
        const uint16_t* p = src.Row(s.top + y) + s.left;
        if (&src != surface) {
            qv::CopyRowScaled(d, p, s.Width(), f);
            continue;
        }
        for (int x = 0; x < s.Width(); ++x) d[x] = qv::ScaledPixel(p[x], f);
    }
    return qv::kDrawOk;
}

int CDDObject::HitTest(qv::Point point, int frame) const {
    if (!FrameIndexOk(frame) || !m_Frames[frame].surface) return 0;
    const qv::Rect cell = GetCellRect();
    if (!cell.Contains(point)) return 0;
    // A frame outside the grid (a stored column or row) is not drawn, so
    // nothing of it can be hit.
    if (m_iCurrentColumn < 0 || m_iCurrentRow < 0 || m_iCurrentColumn >= m_iCellsAcross ||
        m_iCurrentRow >= m_iCellsDown)
        return 0;
    const Frame& f = m_Frames[frame];
    const int x = m_iCurrentColumn * m_iWidth + point.x - cell.left;
    const int y = m_iCurrentRow * m_iHeight + point.y - cell.top;
    const uint16_t v = f.surface->GetPixel(x, y);
    return v == f.key ? 0 : v;
}
