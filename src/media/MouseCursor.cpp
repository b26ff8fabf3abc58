#include "media/MouseCursor.h"

#include <algorithm>

#include "media/DDObjects.h"
#include "platform/Window.h"

namespace {
std::unique_ptr<CMouseCursor> g_pCursor;
}  // namespace

CMouseCursor* GetMouseCursor() {
    return g_pCursor.get();
}

void SetMouseCursor(std::unique_ptr<CMouseCursor> cursor) {
    g_pCursor = std::move(cursor);
}

CMouseCursor::CMouseCursor(const std::array<CDDObject*, kImageCount>& images) {
    for (int i = 0; i < kImageCount; ++i) m_Images[i].reset(images[i]);
}

CMouseCursor::~CMouseCursor() = default;

int CMouseCursor::InitDirectInput(void*, void*) {
    return 1;
}

CDDObject* CMouseCursor::GetImageObject(int index) const {
    return index >= 0 && index < kImageCount ? m_Images[index].get() : nullptr;
}

void CMouseCursor::SetImage(int index) {
    if (index < 0 || index >= kImageCount || index == m_iImage) return;
    HideNow();
    m_iImage = index;
    if (m_bShown) Draw();
}

qv::Rect CMouseCursor::CursorRect() const {
    if (m_pDragImage)
        return {m_ptPos.x - m_iDragHotX, m_ptPos.y - m_iDragHotY,
                m_ptPos.x - m_iDragHotX + m_pDragImage->m_iWidth,
                m_ptPos.y - m_iDragHotY + m_pDragImage->m_iHeight};
    CDDObject* img = m_Images[m_iImage].get();
    if (!img) return {};
    return img->GetCellRect().Offset(m_ptPos.x, m_ptPos.y);
}

void CMouseCursor::Draw() {
    Under& u = m_Under[m_iPage];
    if (!m_pSurface || u.drawn) return;
    qv::Rect r = CursorRect().Intersect(m_rcClip).Intersect(m_pSurface->Bounds());
    if (r.IsEmpty()) return;
    // Keep what lies under the cursor, then draw it.
    u.pixels.Create(r.Width(), r.Height());
    u.pixels.Blt({0, 0}, *m_pSurface, r);
    u.rect = r;
    u.from = m_pSurface;
    u.drawn = true;
    Paint();
}

void CMouseCursor::Paint() {
    const Under& u = m_Under[m_iPage];
    if (m_pDragImage) {
        m_pDragImage->DrawAt(m_pSurface, {m_ptPos.x - m_iDragHotX, m_ptPos.y - m_iDragHotY},
                             u.rect);
    } else if (CDDObject* img = m_Images[m_iImage].get()) {
        int col = 0, row = 0;
        img->DrawFrame(m_pSurface, m_ptPos, u.rect, col, row);
    }
}

void CMouseCursor::PaintAt(qv::Surface* surface, qv::Point p, const qv::Rect& clip) const {
    if (!surface) return;
    if (m_pDragImage) {
        m_pDragImage->DrawAt(surface, {p.x - m_iDragHotX, p.y - m_iDragHotY}, clip);
    } else if (CDDObject* img = m_Images[m_iImage].get()) {
        int col = 0, row = 0;
        img->DrawFrame(surface, p, clip, col, row);
    }
}

void CMouseCursor::HideNow() {
    Under& u = m_Under[m_iPage];
    if (!u.drawn) return;
    u.drawn = false;
    if (u.from) u.from->Blt({u.rect.left, u.rect.top}, u.pixels, u.pixels.Bounds());
}

void CMouseCursor::LoseSurfaces() {
    for (Under& u : m_Under) {
        u.drawn = false;
        u.from = nullptr;
        u.pixels.Destroy();
    }
    m_pSurface = nullptr;
}

void CMouseCursor::MoveTo(qv::Point p) {
    p.x = std::clamp(p.x, m_rcLimits.left, std::max(m_rcLimits.left, m_rcLimits.right - 1));
    p.y = std::clamp(p.y, m_rcLimits.top, std::max(m_rcLimits.top, m_rcLimits.bottom - 1));
    if (p == m_ptPos && IsDrawn()) return;
    HideNow();
    m_ptPos = p;
    if (m_bShown) Draw();
}

void CMouseCursor::Update() {
    qv::Point p = m_ptPos;
    if (qv::Window* w = qv::Window::Current()) p = w->GetCursorPos();
    MoveTo(p);
}

void CMouseCursor::ToggleImage() {
    m_iPage ^= 1;
}

void CMouseCursor::RestoreImage() {
    HideNow();
    m_pDragImage = nullptr;
    m_iImage = kPointer;
    if (m_bShown) Draw();
}

void CMouseCursor::ShowSystemCursor(int show) {
    if (qv::Window* w = qv::Window::Current()) w->ShowSystemCursor(show != 0);
}

void CMouseCursor::DrawImageInRect() {
    if (m_bShown) Draw();
}

void CMouseCursor::RedrawCursorInRect(const qv::Rect& rect, int force) {
    if (!m_bShown) return;
    Under& u = m_Under[m_iPage];
    if (!u.drawn || u.from != m_pSurface) {
        u.drawn = false;
        Draw();
        return;
    }
    qv::Rect fresh = rect.Intersect(u.rect);
    if (fresh.IsEmpty() && !force) return;
    // Where rect was drawn over, the surface holds the background again: keep
    // that part afresh, then draw the cursor over its whole box once more.
    if (!fresh.IsEmpty())
        u.pixels.Blt({fresh.left - u.rect.left, fresh.top - u.rect.top}, *m_pSurface, fresh);
    Paint();
}

void CMouseCursor::SetDragImage(CDDObject* image, int hotX, int hotY) {
    HideNow();
    m_pDragImage = image;
    m_iDragHotX = hotX;
    m_iDragHotY = hotY;
    if (m_bShown) Draw();
}

void CMouseCursor::ReloadImages() {
    for (auto& img : m_Images)
        if (img) img->Restore();
    m_Under[0].drawn = m_Under[1].drawn = false;
}
