#include "media/DDWnd.h"

#include <algorithm>
#include <string_view>

#include "media/DDObjects.h"
#include "media/DIBitmap.h"
#include "media/DirectDraw.h"
#include "media/MouseCursor.h"
#include "media/Resources.h"
#include "platform/Message.h"

namespace {

uint16_t Pixel(int colour) {
    return PaletteIndexToPixel(colour & 255);
}

// A raised panel: light top-left edge, dark bottom-right edge.
void DrawBevel(qv::Surface* s, const qv::Rect& r, int face, bool sunk) {
    s->FillRect(r, Pixel(face));
    uint16_t light = Pixel(sunk ? 0 : kColourText);
    uint16_t dark = Pixel(sunk ? kColourText : 0);
    s->FillRect({r.left, r.top, r.right, r.top + 1}, light);
    s->FillRect({r.left, r.top, r.left + 1, r.bottom}, light);
    s->FillRect({r.left, r.bottom - 1, r.right, r.bottom}, dark);
    s->FillRect({r.right - 1, r.top, r.right, r.bottom}, dark);
}

std::unique_ptr<CDDObject> MakePicture(int bitmapId, int width, int height) {
    if (bitmapId <= 0 || !FindBitmapResource(bitmapId)) return nullptr;
    auto pic = std::make_unique<CDDObject>();
    if (!pic->Create(width, height, 0, 0, &bitmapId, 1, 1)) return nullptr;
    return pic;
}

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
// The message window's text keeps this far from its sides, which leaves room
// for this many letters on a line at the screen's full width.
constexpr int kMessageMargin = 20;
constexpr int kMessageColumns = (kScreenWidth - 2 * kMessageMargin) / kCharWidth;

int LongestLine(const std::string& text, int& lines) {
    int longest = 0, n = 0;
    lines = 1;
    for (char c : text) {
        if (c == '\n') {
            ++lines;
            n = 0;
        } else {
            longest = std::max(longest, ++n);
        }
    }
    return longest;
}

}  // namespace

std::string WrapText(const std::string& text, int columns) {
    columns = std::max(columns, 1);
    std::string out;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string_view line(text.data() + start, end - start);
        while (static_cast<int>(line.size()) > columns) {
            // Break at the last space that leaves the line within its width.
            size_t cut = line.rfind(' ', static_cast<size_t>(columns));
            size_t next = cut + 1;
            if (cut == std::string_view::npos || cut == 0)
                cut = next = static_cast<size_t>(columns);
            out.append(line.substr(0, cut));
            out += '\n';
            line.remove_prefix(next);
        }
        out.append(line);
        if (end == text.size()) break;
        out += '\n';
        start = end + 1;
    }
    return out;
}

// ---- controls ----

CDDControl::CDDControl(const qv::Rect& rect, CDDWnd* parent) : m_rcWindow(rect), m_pParent(parent) {
    if (m_pParent) m_pParent->AddControl(this);
}

CDDControl::~CDDControl() {
    if (m_pParent) m_pParent->RemoveControl(this);
}

CDDButton::CDDButton(const qv::Rect& rect, CDDWnd* parent, int commandId, int normalImage,
                     int pressedImage, int disabledImage)
    : CDDControl(rect, parent), m_iCommandId(commandId) {
    SetImages(normalImage, pressedImage, disabledImage);
}

CDDButton::~CDDButton() = default;

void CDDButton::SetImages(int normalImage, int pressedImage, int disabledImage) {
    int ids[3] = {normalImage, pressedImage, disabledImage};
    for (int i = 0; i < 3; ++i)
        m_pImages[i] = MakePicture(ids[i], m_rcWindow.Width(), m_rcWindow.Height());
}

void CDDButton::Draw(qv::Surface* surface, qv::Point origin) {
    if (!m_bVisible || !surface) return;
    qv::Rect r = m_rcWindow.Offset(origin.x, origin.y);
    bool down = m_iState == 1 || m_bHeld;
    int which = m_iState == 3 ? 2 : down ? 1 : 0;
    CDDObject* pic = m_pImages[which] ? m_pImages[which].get() : m_pImages[0].get();
    if (pic) {
        pic->DrawAt(surface, {r.left, r.top}, r);
    } else {
        DrawBevel(surface, r, kColourPanel, down);
    }
    if (!m_strText.empty()) {
        int lines = 1;
        int w = LongestLine(m_strText, lines) * kCharWidth;
        qv::Point at{r.left + (r.Width() - w) / 2, r.top + (r.Height() - lines * kCharHeight) / 2};
        if (down) at = {at.x + 1, at.y + 1};
        DrawGameText(surface, at, m_strText, m_iState == 3 ? kColourTextDisabled : kColourText, r);
    }
}

bool CDDButton::OnButtonDown(qv::Point p) {
    if (!m_bVisible || !m_rcWindow.Contains(p) || m_iState == 3) return false;
    m_bHeld = true;
    return true;
}

bool CDDButton::OnButtonUp(qv::Point p) {
    if (!m_bHeld) return false;
    m_bHeld = false;
    // A press counts when the button is let go over it and still enabled.
    if (m_rcWindow.Contains(p) && m_iState != 3 && m_pParent) m_pParent->OnCommand(m_iCommandId);
    return true;
}

CDDEdit::CDDEdit() : CDDControl({}, nullptr) {}

CDDEdit::~CDDEdit() = default;

void CDDEdit::Create(const qv::Rect& rect, CDDWnd* parent) {
    if (m_pParent) m_pParent->RemoveControl(this);
    m_rcWindow = rect;
    m_pParent = parent;
    if (m_pParent) m_pParent->AddControl(this);
    m_iChars = std::max(1, rect.Width() / kCharWidth);
    m_iLines = std::max(1, rect.Height() / kCharHeight);
}

void CDDEdit::Resize(int lines, int characters) {
    m_iLines = std::max(1, lines);
    m_iChars = std::max(1, characters);
    m_rcWindow.right = m_rcWindow.left + m_iChars * kCharWidth;
    m_rcWindow.bottom = m_rcWindow.top + m_iLines * kCharHeight;
}

void CDDEdit::FormatText(const std::string& text, int textColour, int backColour) {
    m_strText = text;
    m_iTextColour = textColour;
    m_iBackColour = backColour;
    Redraw();
}

void CDDEdit::SetText(const std::string& text) {
    m_strText = text;
    Redraw();
}

void CDDEdit::Redraw() {
    if (m_pParent) {
        if (m_pParent->IsOpen()) m_pParent->Redraw();
        return;
    }
    qv::Surface* s = GetDrawSurface(0);
    if (!s) return;
    Draw(s, {0, 0});
    PresentScreen(m_rcWindow);
}

void CDDEdit::Draw(qv::Surface* surface, qv::Point origin) {
    if (!m_bVisible || !surface) return;
    qv::Rect r = m_rcWindow.Offset(origin.x, origin.y);
    surface->FillRect(r, Pixel(m_iBackColour));
    // Lines longer than the field wrap within it; lines beyond its last are
    // not shown.
    std::string shown = WrapText(m_strText, m_iChars);
    int line = 0;
    for (size_t i = 0; i < shown.size(); ++i)
        if (shown[i] == '\n' && ++line >= m_iLines) {
            shown.resize(i);
            --line;
            break;
        }
    DrawGameText(surface, {r.left, r.top}, shown, m_iTextColour, r);
    if (m_bEditable && m_pParent && m_pParent->GetFocus() == this) {
        // The caret: a bar after the text of the last line.
        size_t nl = shown.rfind('\n');
        int n = static_cast<int>(shown.size() - (nl == std::string::npos ? 0 : nl + 1));
        int x = r.left + std::min(n, m_iChars - 1) * kCharWidth;
        int y = r.top + line * kCharHeight;
        surface->FillRect(
            qv::Rect{x, y + kCharHeight - 2, x + kCharWidth, y + kCharHeight}.Intersect(r),
            Pixel(m_iTextColour));
    }
}

bool CDDEdit::OnButtonDown(qv::Point p) {
    if (!m_bEditable || !m_rcWindow.Contains(p)) return false;
    if (m_pParent) m_pParent->SetFocus(this);
    return true;
}

bool CDDEdit::OnChar(int ch) {
    if (!m_bEditable) return false;
    if (ch == '\b') {
        if (!m_strText.empty()) m_strText.pop_back();
        return true;
    }
    if (ch < 32 || ch >= 127) return false;
    if (static_cast<int>(m_strText.size()) >= m_iLines * m_iChars) return true;
    m_strText += static_cast<char>(ch);
    return true;
}

void CDDProgressBar::Create(const qv::Rect& rect, int fillColour, int backColour) {
    m_rcBar = rect;
    m_iFillColour = fillColour;
    m_iBackColour = backColour;
}

int CDDProgressBar::FilledWidth() const {
    if (m_iMax <= 0 || m_iPos <= 0) return 0;
    if (m_iPos >= m_iMax) return m_rcBar.Width();
    return static_cast<int>(static_cast<long long>(m_iPos) * m_rcBar.Width() / m_iMax);
}

void CDDProgressBar::Draw(qv::Surface* surface) const {
    if (!surface) return;
    surface->FillRect(m_rcBar, Pixel(m_iBackColour));
    int w = FilledWidth();
    if (w > 0)
        surface->FillRect({m_rcBar.left, m_rcBar.top, m_rcBar.left + w, m_rcBar.bottom},
                          Pixel(m_iFillColour));
}

// ---- windows ----

CDDWnd::CDDWnd(CDDWnd* parent) : m_pParent(parent) {
    if (CPopupChain* frame = GetPopupChain()) {
        m_pPreviousPopup = frame->m_pModalPopup;
        frame->m_pModalPopup = this;
        frame->m_bModalPopup = 1;
        m_bRegistered = true;
    }
}

CDDWnd::CDDWnd(CDDWnd* parent, InPlay) : m_pParent(parent) {}

CDDWnd::~CDDWnd() {
    qv::MessageLoop::Instance().Forget(this);
    // Controls that outlive the window must not reach back into it.
    for (CDDControl* c : m_Controls) c->m_pParent = nullptr;
    CPopupChain* frame = GetPopupChain();
    if (m_bRegistered && frame && frame->m_pModalPopup == this) {
        frame->m_pModalPopup = m_pPreviousPopup;
        frame->m_bModalPopup = m_pPreviousPopup != nullptr;
    } else if (m_bRegistered && frame) {
        // Closed out of turn: the later window that would come back to this
        // one comes back to the one before it instead.
        for (CDDWnd* w = frame->m_pModalPopup; w; w = w->m_pPreviousPopup)
            if (w->m_pPreviousPopup == this) {
                w->m_pPreviousPopup = m_pPreviousPopup;
                break;
            }
    }
}

int CDDWnd::Popup() {
    // Keep the picture under the window to put it back when it closes.
    qv::Surface* screen = GetPopupSurface();
    qv::Rect under = screen ? m_rcWindow.Intersect(screen->Bounds()) : qv::Rect{};
    m_Under.Destroy();
    if (!under.IsEmpty()) {
        m_Under.Create(under.Width(), under.Height());
        m_Under.Blt({0, 0}, *screen, under);
    }
    m_bOpen = true;
    m_iEndCode = 0;
    OnActivate(1);
    qv::MessageLoop::Instance().RunModal(*this);
    m_bOpen = false;
    m_pPressed = nullptr;
    screen = GetPopupSurface();
    if (screen && m_Under.IsValid() && m_rcWindow.Intersect(screen->Bounds()) == under) {
        screen->Blt({under.left, under.top}, m_Under, m_Under.Bounds());
        PresentScreen(under);
    }
    m_Under.Destroy();
    return m_iEndCode;
}

void CDDWnd::EndPopup(int code) {
    m_iEndCode = code;
    m_bOpen = false;
}

void CDDWnd::OnModalAbandoned() {
    EndPopup(m_iAbandonCode);
}

void CDDWnd::OnActivate(int state) {
    if (state) Redraw();
}

void CDDWnd::SetPicture(int bitmapId) {
    m_pPicture = MakePicture(bitmapId, m_rcWindow.Width(), m_rcWindow.Height());
}

void CDDWnd::Paint(qv::Surface* surface) {
    if (!surface) return;
    qv::Point origin{m_rcWindow.left, m_rcWindow.top};
    if (m_pPicture)
        m_pPicture->DrawAt(surface, origin, m_rcWindow);
    else
        DrawBevel(surface, m_rcWindow, kColourPanel, false);
    PaintControls(surface);
}

void CDDWnd::PaintControls(qv::Surface* surface) {
    if (!surface) return;
    for (CDDControl* c : m_Controls) c->Draw(surface, {m_rcWindow.left, m_rcWindow.top});
}

void CDDWnd::Redraw() {
    qv::Surface* s = GetPopupSurface();
    if (!s) return;
    Paint(s);
    // The pointer over the window, drawn with it.
    CMouseCursor* cursor = GetMouseCursor();
    if (m_bOpen && cursor && cursor->m_bShown && m_rcWindow.Contains(m_ptMouse))
        cursor->PaintAt(s, m_ptMouse, m_rcWindow);
    PresentScreen(m_rcWindow);
}

void CDDWnd::OnCommand(int) {}

void CDDWnd::OnLButtonDown(qv::Point p) {
    qv::Point local{p.x - m_rcWindow.left, p.y - m_rcWindow.top};
    // The controls added last lie on top.
    for (auto it = m_Controls.rbegin(); it != m_Controls.rend(); ++it) {
        CDDControl* c = *it;
        if (c->OnButtonDown(local)) {
            if (c->WantsFocus()) m_pFocus = c;
            m_pPressed = c;
            return;
        }
    }
}

void CDDWnd::OnLButtonUp(qv::Point p) {
    CDDControl* c = m_pPressed;
    m_pPressed = nullptr;
    // The command may end or even replace the window's controls.
    if (c) c->OnButtonUp({p.x - m_rcWindow.left, p.y - m_rcWindow.top});
}

void CDDWnd::OnChar(int ch) {
    if (m_pFocus) m_pFocus->OnChar(ch);
}

void CDDWnd::AddControl(CDDControl* control) {
    m_Controls.push_back(control);
}

void CDDWnd::RemoveControl(CDDControl* control) {
    std::erase(m_Controls, control);
    if (m_pFocus == control) m_pFocus = nullptr;
    if (m_pPressed == control) m_pPressed = nullptr;
}

// ---- fading title ----

CFadeWnd::CFadeWnd(CDDWnd* parent, int bitmapId) : CDDWnd(parent) {
    m_rcWindow = {0, 0, 640, 120};
    SetPicture(bitmapId);
}

int CFadeWnd::Popup() {
    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    for (int step = 0; step <= kSteps; ++step) {
        m_iLevel = m_bFadeIn ? step : kSteps - step;
        Redraw();
        if (step < kSteps) loop.WaitForKeys(kStepMs, {});
    }
    return 1;
}

void CFadeWnd::Paint(qv::Surface* surface) {
    if (!surface) return;
    CDDWnd::Paint(surface);
    // Darken the window's part of the surface to the current level.
    qv::Rect r = m_rcWindow.Intersect(surface->Bounds());
    for (int y = r.top; y < r.bottom; ++y) {
        uint16_t* row = surface->Row(y);
        for (int x = r.left; x < r.right; ++x) {
            int cr, cg, cb;
            SplitScreenPixel(row[x], cr, cg, cb);
            row[x] = MakeScreenPixel(cr * m_iLevel / kSteps, cg * m_iLevel / kSteps,
                                     cb * m_iLevel / kSteps);
        }
    }
}

// ---- message window ----

CMessageWnd::CMessageWnd(const std::string& text, Buttons buttons, const std::string& caption)
    : m_strText(text),
      m_strShown(WrapText(text, kMessageColumns)),
      m_strCaption(caption),
      m_Buttons(buttons) {
    // The box grows with its text up to the screen; longer lines wrap, so the
    // whole message is read.
    int lines = 1;
    int chars = std::max(LongestLine(m_strShown, lines), static_cast<int>(caption.size()));
    int w = std::clamp(chars * kCharWidth + 2 * kMessageMargin, 240, kScreenWidth);
    int top = caption.empty() ? 16 : 40;
    int h = std::min(top + lines * kCharHeight + 70, kScreenHeight);
    m_rcWindow = {320 - w / 2, 240 - h / 2, 320 - w / 2 + w, 240 - h / 2 + h};
    int by = h - 44;
    switch (buttons) {
        case Buttons::Ok:
            m_pButtons[0] = std::make_unique<CDDButton>(
                qv::Rect{w / 2 - 50, by, w / 2 + 50, by + 30}, this, kIdOk);
            m_pButtons[0]->SetText("OK");
            break;
        case Buttons::YesNo:
        case Buttons::RetryCancel: {
            bool yes = buttons == Buttons::YesNo;
            m_pButtons[0] = std::make_unique<CDDButton>(
                qv::Rect{w / 2 - 110, by, w / 2 - 10, by + 30}, this, yes ? kIdYes : kIdRetry);
            m_pButtons[0]->SetText(yes ? "Yes" : "Retry");
            m_pButtons[1] = std::make_unique<CDDButton>(
                qv::Rect{w / 2 + 10, by, w / 2 + 110, by + 30}, this, yes ? kIdNo : kIdCancel);
            m_pButtons[1]->SetText(yes ? "No" : "Cancel");
            break;
        }
    }
    m_iAbandonCode = buttons == Buttons::Ok ? kIdOk : kIdCancel;
}

CMessageWnd::~CMessageWnd() = default;

void CMessageWnd::OnCommand(int id) {
    // Declining a question answers 2, whichever way it was declined.
    if (id == kIdNo) id = kIdCancel;
    EndPopup(id);
}

void CMessageWnd::OnKeyDown(int vk) {
    switch (m_Buttons) {
        case Buttons::Ok:
            if (vk == qv::VK_RETURN || vk == qv::VK_ESCAPE || vk == qv::VK_SPACE) EndPopup(kIdOk);
            break;
        case Buttons::YesNo:
            if (vk == qv::VK_RETURN || vk == 'Y') EndPopup(kIdYes);
            if (vk == qv::VK_ESCAPE || vk == 'N') EndPopup(kIdCancel);
            break;
        case Buttons::RetryCancel:
            if (vk == qv::VK_RETURN || vk == 'R') EndPopup(kIdRetry);
            if (vk == qv::VK_ESCAPE || vk == 'C') EndPopup(kIdCancel);
            break;
    }
}

void CMessageWnd::Paint(qv::Surface* surface) {
    if (!surface) return;
    CDDWnd::Paint(surface);
    int y = m_rcWindow.top + 12;
    if (!m_strCaption.empty()) {
        DrawGameText(surface, {m_rcWindow.left + 12, y}, m_strCaption, kColourText, m_rcWindow);
        y += 24;
    }
    DrawGameText(surface, {m_rcWindow.left + kMessageMargin, y}, m_strShown, kColourText,
                 m_rcWindow);
}

// Both go through the program's message boxes, which show them in the game's
// window (see InstallGameMessageBoxes) or, without one, headless.
int ShowGameMessage(const std::string& text) {
    qv::ShowMessage(text, qv::MessageButtons::Ok);
    return CMessageWnd::kIdOk;
}

int ShowGameMessageBox(const std::string& text, int style) {
    if (style != 4) return ShowGameMessage(text);
    return qv::ShowMessage(text, qv::MessageButtons::YesNo) == qv::MessageAnswer::Yes
               ? CMessageWnd::kIdYes
               : CMessageWnd::kIdCancel;
}

// ---- quantity ----

CQuantityWnd::CQuantityWnd(int* amount, CDDWnd* parent)
    : CDDWnd(parent), m_iAmount(amount ? std::max(0, *amount) : 0), m_iMaximum(m_iAmount) {
    m_rcWindow = {220, 180, 420, 300};
    m_pButtons[0] = std::make_unique<CDDButton>(qv::Rect{150, 40, 180, 60}, this, kIdMore);
    m_pButtons[0]->SetText("+");
    m_pButtons[1] = std::make_unique<CDDButton>(qv::Rect{20, 40, 50, 60}, this, kIdLess);
    m_pButtons[1]->SetText("-");
    m_pButtons[2] = std::make_unique<CDDButton>(qv::Rect{10, 80, 95, 110}, this, kIdOk);
    m_pButtons[2]->SetText("OK");
    m_pButtons[3] = std::make_unique<CDDButton>(qv::Rect{105, 80, 190, 110}, this, kIdCancel);
    m_pButtons[3]->SetText("Cancel");
    m_iAbandonCode = kIdCancel;
}

CQuantityWnd::~CQuantityWnd() = default;

int CQuantityWnd::Popup() {
    return CDDWnd::Popup() == kIdOk ? 1 : 0;
}

void CQuantityWnd::OnCommand(int id) {
    m_bTyped = false;
    switch (id) {
        case kIdMore:
            if (m_iAmount < m_iMaximum) ++m_iAmount;
            break;
        case kIdLess:
            m_iAmount = std::max(0, m_iAmount - 1);
            break;
        case kIdOk:
        case kIdCancel:
            EndPopup(id);
            break;
        default:
            break;
    }
}

void CQuantityWnd::OnKeyDown(int vk) {
    switch (vk) {
        case qv::VK_UP:
        case qv::VK_RIGHT:
            OnCommand(kIdMore);
            break;
        case qv::VK_DOWN:
        case qv::VK_LEFT:
            OnCommand(kIdLess);
            break;
        case qv::VK_RETURN:
            EndPopup(kIdOk);
            break;
        case qv::VK_ESCAPE:
            EndPopup(kIdCancel);
            break;
        default:
            break;
    }
}

void CQuantityWnd::OnChar(int ch) {
    if (ch == '\b') {
        m_iAmount /= 10;
        m_bTyped = true;
        return;
    }
    if (ch < '0' || ch > '9') return;
    // The first digit typed starts a new number; more than the amount is cut
    // to the amount.
    long long v = (m_bTyped ? static_cast<long long>(m_iAmount) * 10 : 0) + (ch - '0');
    m_iAmount = static_cast<int>(std::min<long long>(v, m_iMaximum));
    m_bTyped = true;
}

void CQuantityWnd::Paint(qv::Surface* surface) {
    if (!surface) return;
    CDDWnd::Paint(surface);
    DrawGameText(surface, {m_rcWindow.left + 20, m_rcWindow.top + 12}, "How many?", kColourText,
                 m_rcWindow);
    std::string n = std::to_string(m_iAmount);
    DrawGameText(
        surface,
        {m_rcWindow.left + 100 - static_cast<int>(n.size()) * kCharWidth / 2, m_rcWindow.top + 42},
        n, kColourText, m_rcWindow);
}
