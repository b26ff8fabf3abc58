#include "windows/IntroWnd.h"

#include "media/DDObjects.h"
#include "platform/MessageLoop.h"
#include "windows/WindowPictures.h"

namespace {

constexpr int kBackgroundPicture = 960;  // 640 x 480, see-through in the middle
constexpr int kFramePicture = 943;
constexpr int kScrollPicture = 961;
constexpr qv::Point kScreenCentre{320, 240};

}  // namespace

CIntroWnd::CIntroWnd(CDDWnd* parent) : CDDWnd(parent) {
    m_rcWindow = {0, 0, 640, 480};
    m_iAbandonCode = 1;
}

CIntroWnd::~CIntroWnd() {
    StopAnimation();
}

qv::Point CIntroWnd::FrameCorner() {
    return {kScreenCentre.x - kFrameSize.x / 2, kScreenCentre.y - kFrameSize.y / 2};
}

qv::Point CIntroWnd::ScrollCorner(int counter) {
    return {kScreenCentre.x - kScrollSize.x / 2, FrameCorner().y + kBandBottom - counter};
}

int CIntroWnd::Popup() {
    m_pBackground = MakeWindowPicture(kBackgroundPicture, 640, 480);
    m_pFrame = MakeWindowPicture(kFramePicture, kFrameSize.x, kFrameSize.y);
    m_pScroll = MakeWindowPicture(kScrollPicture, kScrollSize.x, kScrollSize.y);
    m_iCounter = 0;
    m_bAnimating = qv::MessageLoop::Instance().SetTimer(kTimerId, kFrameMs, this) != 0;
    const int result = CDDWnd::Popup();
    // The animation is over before its pictures go.
    StopAnimation();
    m_pBackground.reset();
    m_pFrame.reset();
    m_pScroll.reset();
    return result;
}

void CIntroWnd::StopAnimation() {
    if (m_bAnimating) qv::MessageLoop::Instance().KillTimer(kTimerId);
    m_bAnimating = false;
}

void CIntroWnd::OnTimer(int id) {
    if (id != kTimerId || !m_bAnimating) return;
    Redraw();
    ++m_iCounter;
    // It ends by itself; the window stays until the player acts.
    if (m_iCounter >= kFrames) StopAnimation();
}

void CIntroWnd::OnKeyDown(int) {
    StopAnimation();
    EndPopup(1);
}

void CIntroWnd::OnLButtonDown(qv::Point) {
    StopAnimation();
    EndPopup(1);
}

void CIntroWnd::OnCommand(int id) {
    if (id == kIdDone) OnKeyDown(0);
}

void CIntroWnd::Paint(qv::Surface* surface) {
    if (!surface) return;
    // What the pictures leave see-through is night.
    surface->FillRect(m_rcWindow.Intersect(surface->Bounds()), 0);
    if (m_pBackground) m_pBackground->DrawAt(surface, {0, 0}, m_rcWindow);
    const qv::Point frame = FrameCorner();
    if (m_pFrame) m_pFrame->DrawAt(surface, frame, m_rcWindow);
    const qv::Rect band{0, frame.y + kBandTop, 640, frame.y + kBandBottom};
    if (m_pScroll) m_pScroll->DrawAt(surface, ScrollCorner(m_iCounter), band.Intersect(m_rcWindow));
    PaintControls(surface);
}
