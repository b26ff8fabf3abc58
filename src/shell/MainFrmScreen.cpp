#include "media/DDObjects.h"
#include "media/DDWnd.h"
#include "media/DIBitmap.h"
#include "media/DirectDraw.h"
#include "media/MouseCursor.h"
#include "media/Painter.h"
#include "platform/Message.h"
#include "platform/MessageLoop.h"
#include "shell/MainFrm.h"
#include "structures/GlobalImages.h"
#include "windows/GameWindows.h"
#include "world/Global.h"

namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr const char* kTitle = "Quorvale";
constexpr const char* kErrorCaption = "DirectDraw Error";

// The furniture is carved from the same dark wood as the windows' pictures:
// speckled panels with sunk wells for the map view, the side panel, the
// minimap, the message line and the party panel.
struct Furniture {
    uint8_t face = Painter::Colour(92, 74, 58);
    uint8_t shadow = Painter::Shade(92, 74, 58, -8);
    uint8_t light = Painter::Shade(92, 74, 58, 6);
};

void Well(Painter& p, const Furniture& f, int l, int t, int r, int bo) {
    p.Box(l - 2, t - 2, r + 2, t, f.shadow);
    p.Box(l - 2, t - 2, l, bo + 2, f.shadow);
    p.Box(l - 2, bo, r + 2, bo + 2, f.light);
    p.Box(r, t - 2, r + 2, bo + 2, f.light);
    p.Box(l, t, r, bo, 0);
}

// The screen picture as an 8-bit picture, so that restoring the image
// redraws it from its source.
std::shared_ptr<CDIBitmap> BuildScreenPicture() {
    auto b = std::make_shared<CDIBitmap>(kScreenWidth, kScreenHeight);
    Painter p(*b);
    const Furniture f;
    p.Bevel(0, 0, kScreenWidth, kScreenHeight, f.face, f.light, f.shadow, 1);
    p.Speckle(1, 1, kScreenWidth - 1, kScreenHeight - 1,
              {Painter::Shade(92, 74, 58, -2), Painter::Shade(92, 74, 58, 2)}, 7, 4);
    Well(p, f, 3, 3, 3 + 536, 3 + 359);         // the map view
    Well(p, f, 545, 7, 636, 360);               // the side panel
    Well(p, f, 207, 371, 207 + 102, 371 + 96);  // the minimap
    Well(p, f, 12, 376, 192, 472);              // the message line
    Well(p, f, 318, 368, 632, 446);             // the party panel
    return b;
}

bool WindowFits(const qv::Window& w, bool windowed) {
    return w.IsOpen() && w.Width() == (windowed ? 900 : kScreenWidth) &&
           w.Height() == kScreenHeight && w.IsFullScreen() == !windowed;
}

}  // namespace

int CMainFrame::InitDirectDraw(int reload) {
    if (!m_pWindow) m_pWindow = std::make_unique<qv::Window>();
    if (!WindowFits(*m_pWindow, m_bWindowed != 0)) {
        // Windowed: the 640-pixel game with room for the editor's palette to
        // its right; full screen: the display switched to 640 x 480.
        if (!m_pWindow->Create(kTitle, m_bWindowed ? 900 : kScreenWidth, kScreenHeight,
                               !m_bWindowed)) {
            qv::ShowMessage("Could not open the game's window. " + qv::Window::CreateError(),
                            qv::MessageButtons::Ok, kErrorCaption);
            return 0;
        }
    }
    m_iBitsPerPixel = 16;
    m_pPrimary = std::make_unique<qv::Surface>(kScreenWidth, kScreenHeight);
    m_pBackBuffer = std::make_unique<qv::Surface>(kScreenWidth, kScreenHeight);
    m_pDrawSurface = m_pBackBuffer.get();
    m_bFlipParity = 0;
    if (!m_pScreenImage) m_pScreenImage = std::make_unique<CDDObject>();
    m_pScreenImage->Create(kScreenWidth, kScreenHeight, 0, 0, nullptr, 1, 1);
    m_pScreenImage->SetFrameBitmap(0, BuildScreenPicture());
    if (!m_pScreenImage->Load()) {
        qv::ShowMessage("Could not make the screen picture.", qv::MessageButtons::Ok,
                        kErrorCaption);
        return 0;
    }
    if (reload && !ReloadGlobalImages(&m_World)) {
        qv::ShowMessage("Could not Initiate DirectDraw Objects!", qv::MessageButtons::Ok,
                        kErrorCaption);
        return 0;
    }
    // The message line: six lines of 20 letters under the map view.
    m_MessageLine.Create({12, 376, 12, 376}, nullptr);
    m_MessageLine.Resize(6, 20);
    if (CMouseCursor* cursor = GetMouseCursor()) cursor->m_pSurface = m_pDrawSurface;
    InstallGameMessageBoxes();
    return 1;
}

void CMainFrame::ReleaseDirectDraw() {
    if (CMouseCursor* cursor = GetMouseCursor()) {
        cursor->HideNow();
        cursor->LoseSurfaces();
    }
    // The shared pictures lose their surfaces but keep their bitmaps, so that
    // reloading them refills them.
    ReleaseGlobalImages();
    if (m_pScreenImage) m_pScreenImage->Release();
    m_pDrawSurface = nullptr;
    m_pBackBuffer.reset();
    m_pPrimary.reset();
}

int CMainFrame::RestoreSurfaces() {
    if (!m_pPrimary || !m_pBackBuffer) return 0;
    m_pPrimary->Restore();
    m_pBackBuffer->Restore();
    return 1;
}

int CMainFrame::UpdateScreen(int reload) {
    if (reload && !ReloadGlobalImages(&m_World)) return 0;
    if (!m_pPrimary || !m_pScreenImage) return 0;
    const qv::Surface* pic = m_pScreenImage->GetFrameSurface(0);
    if (!pic) return 0;
    if (m_pPrimary->Blt({0, 0}, *pic, pic->Bounds()) != qv::kDrawOk) return 0;
    PresentScreen(m_pPrimary->Bounds());
    return 1;
}

int CMainFrame::FlipSurfaces() {
    if (!m_pPrimary || !m_pBackBuffer) return qv::kDrawInvalid;
    if (m_pPrimary->IsLost() || m_pBackBuffer->IsLost()) return qv::kDrawSurfaceLost;
    // The pages change places; the pointers to them stay, so the drawing
    // surface is the new back buffer.
    std::swap(*m_pPrimary, *m_pBackBuffer);
    m_bFlipParity = !m_bFlipParity;
    PresentScreen(m_pPrimary->Bounds());
    return qv::kDrawOk;
}

int CMainFrame::Pause(int milliseconds) {
    if (milliseconds <= 0) return 1;
    bool key = qv::MessageLoop::Instance().WaitForKeys(static_cast<uint32_t>(milliseconds),
                                                       {qv::VK_SPACE, qv::VK_ESCAPE});
    return key ? 0 : 1;
}

qv::Surface* GetDrawSurface(int which) {
    CMainFrame* frame = GetMainFrame();
    if (!frame) return nullptr;
    if (which == 1) return frame->m_pPrimary.get();
    if (which == -1) return frame->m_pBackBuffer.get();
    CMouseCursor* cursor = GetMouseCursor();
    if (!frame->m_bWindowed && frame->m_Play.m_iStartState == 0 && !frame->m_bModalPopup) {
        if (cursor) {
            cursor->m_bFlipMode = 1;
            cursor->m_bFlipDraw =
                frame->m_pGameWindows && frame->m_pGameWindows->Open().m_pTalkWnd ? 0 : 1;
        }
        return frame->m_pBackBuffer.get();
    }
    if (cursor) cursor->m_bFlipMode = cursor->m_bFlipDraw = 0;
    return frame->m_pPrimary.get();
}

int IsFlipMode() {
    CMouseCursor* cursor = GetMouseCursor();
    return cursor ? cursor->m_bFlipMode : 0;
}

int GetFlipParity() {
    CMainFrame* frame = GetMainFrame();
    return frame ? frame->m_bFlipParity : 0;
}

qv::Surface* GetPopupSurface() {
    CMainFrame* frame = GetMainFrame();
    return frame ? frame->m_pPrimary.get() : nullptr;
}

void PresentScreen(const qv::Rect& rect) {
    CMainFrame* frame = GetMainFrame();
    if (!frame || !frame->m_pPrimary || !frame->m_pWindow || !frame->m_pWindow->IsOpen()) return;
    const qv::Surface& s = *frame->m_pPrimary;
    frame->m_pWindow->Present(s.Pixels(), s.Width(), s.Height(), s.Pitch(), rect,
                              {rect.left, rect.top});
}

void InstallGameMessageBoxes() {
    qv::SetMessageHandler(
        [](const std::string& text, qv::MessageButtons buttons, const std::string& caption) {
            if (!GetPopupSurface()) return qv::ShowMessageHeadless(text, buttons, caption);
            CMessageWnd::Buttons kind = CMessageWnd::Buttons::RetryCancel;
            if (buttons == qv::MessageButtons::Ok) kind = CMessageWnd::Buttons::Ok;
            if (buttons == qv::MessageButtons::YesNo) kind = CMessageWnd::Buttons::YesNo;
            CMessageWnd box(text, kind, caption);
            switch (box.Popup()) {
                case CMessageWnd::kIdOk:
                    return qv::MessageAnswer::Ok;
                case CMessageWnd::kIdRetry:
                    return qv::MessageAnswer::Retry;
                case CMessageWnd::kIdYes:
                    return qv::MessageAnswer::Yes;
                default:
                    return buttons == qv::MessageButtons::YesNo ? qv::MessageAnswer::No
                                                                : qv::MessageAnswer::Cancel;
            }
        });
}

std::string DDErrorString(unsigned code) {
    switch (code) {
        case 0:
            return "";
        case 0x80004005u:
            return "Direct Draw Generic Error";
        case 0x80004001u:
            return "Direct Draw Unsupported";
        case 0x80070057u:
            return "Direct Draw Invalid Parameters";
        case 0x88760037u:
            return "Direct Draw Exception";
        case 0x88760082u:
            return "Direct Draw Invalid Object";
        case 0x88760096u:
            return "Direct Draw Invalid Rect";
        case 0x887601AEu:
            return "Direct Draw Surface Busy";
        case 0x887601C2u:
            return "Direct Draw Surface Lost";
        case 0x8876023Fu:
            return "Direct Draw No Blit Hardware";
        default:
            return "Direct Draw Default Error";
    }
}

std::string DDRestoreErrorString(unsigned code) {
    switch (code) {
        case 0:
            return "";
        case 0x80004005u:
            return "Direct Draw Restore - Generic Error";
        case 0x80004001u:
            return "Direct Draw Restore - Unsupported";
        case 0x80070057u:
            return "Direct Draw Restore - Invalid Parameters";
        case 0x8007000Eu:
            return "Direct Draw Restore - Out of Memory";
        case 0x8876005Fu:
            return "Direct Draw Restore - Incompatible Primary";
        case 0x88760082u:
            return "Direct Draw Restore - Invalid Object";
        case 0x887600E1u:
            return "Direct Draw Restore - No Exclusive Mode";
        case 0x8876024Bu:
            return "Direct Draw Restore - Wrong Mode";
        case 0x8876024Cu:
            return "Direct Draw Restore - Implicitly Created Surface";
        default:
            return "Direct Draw Restore Default Error";
    }
}
