#include "windows/AboutDlg.h"

#include "platform/Events.h"
#include "windows/WindowPictures.h"

namespace {

constexpr qv::Point kSize{300, 150};
constexpr qv::Rect kOkRect{100, 104, 200, 134};  // in the box

}  // namespace

CAboutDlg::CAboutDlg(CDDWnd* parent) : CDDWnd(parent) {
    m_rcWindow = {320 - kSize.x / 2, 240 - kSize.y / 2, 320 + kSize.x / 2, 240 + kSize.y / 2};
    m_pOk = std::make_unique<CDDButton>(kOkRect, this, kIdOk);
    m_pOk->SetText("OK");
    m_iAbandonCode = kIdOk;
}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::OnCommand(int id) {
    if (id == kIdOk) EndPopup(kIdOk);
}

void CAboutDlg::OnKeyDown(int vk) {
    if (vk == qv::VK_RETURN || vk == qv::VK_ESCAPE || vk == qv::VK_SPACE) EndPopup(kIdOk);
}

void CAboutDlg::Paint(qv::Surface* surface) {
    if (!surface) return;
    CDDWnd::Paint(surface);
    const int centre = (m_rcWindow.left + m_rcWindow.right) / 2;
    DrawCentredText(surface, centre, m_rcWindow.top + 16, kCaption, kColourTextDim, m_rcWindow);
    DrawCentredText(surface, centre, m_rcWindow.top + 56, kVersion, kColourText, m_rcWindow);
}
