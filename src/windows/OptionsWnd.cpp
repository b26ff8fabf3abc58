#include "windows/OptionsWnd.h"

#include <vector>

#include "media/DDObjects.h"
#include "media/Resources.h"
#include "platform/Events.h"
#include "windows/AboutDlg.h"
#include "windows/IntroWnd.h"
#include "windows/NewCharacterWnd.h"
#include "windows/SaveLoadWnd.h"
#include "windows/WindowPictures.h"

namespace {

// The buttons, where each layout shows them (on the screen; an empty
// rectangle where a layout has none) and what they say. The sound and music
// buttons show pictures instead.
struct ButtonPlace {
    int id;
    qv::Rect start;
    qv::Rect play;
    const char* text;
};
constexpr qv::Rect kNone{};
constexpr ButtonPlace kButtons[] = {
    {COptionsWnd::kIdNewGame, {221, 64, 421, 98}, {221, 56, 421, 86}, "New Game"},
    {COptionsWnd::kIdLoadGame, {221, 110, 421, 144}, {221, 96, 421, 126}, "Load Game"},
    {COptionsWnd::kIdSaveGame, kNone, {221, 136, 421, 166}, "Save Game"},
    {COptionsWnd::kIdIntro, {221, 156, 421, 190}, kNone, "Intro"},
    {COptionsWnd::kIdNothing, {221, 202, 421, 236}, kNone, ""},
    {COptionsWnd::kIdSound, kNone, {221, 180, 311, 210}, ""},
    {COptionsWnd::kIdMusic, kNone, {331, 180, 421, 210}, ""},
    {COptionsWnd::kIdContinue, kNone, {221, 230, 421, 260}, "Continue"},
    {COptionsWnd::kIdQuit, {221, 248, 421, 282}, {221, 270, 421, 300}, "Quit"},
};
constexpr int kHeaderY = 24;  // below the window's top
const char* const kHeader = "Game Play Options";

// The switches' pictures: up and pressed, while on and while off. Switched
// off for want of a device, a switch shows its "off" picture, disabled.
constexpr int kSoundOn[2] = {577, 578};
constexpr int kSoundOff[2] = {579, 580};
constexpr int kMusicOn[2] = {581, 582};
constexpr int kMusicOff[2] = {583, 584};

constexpr int kButtonUp = 0;
constexpr int kButtonDisabled = 3;

}  // namespace

qv::Rect COptionsWnd::ButtonRect(int id, bool startLayout) {
    for (const ButtonPlace& b : kButtons)
        if (b.id == id) return startLayout ? b.start : b.play;
    return kNone;
}

COptionsWnd::COptionsWnd(OptionsHost* host, bool startLayout, bool continueAllowed, int third,
                         bool confirming)
    : m_pHost(host),
      m_bStartLayout(startLayout),
      m_bContinueAllowed(continueAllowed),
      m_iThird(third),
      m_bConfirming(confirming) {
    m_rcWindow = startLayout ? kStartRect : kPlayRect;
    size_t n = 0;
    for (const ButtonPlace& b : kButtons) {
        const qv::Rect on = startLayout ? b.start : b.play;
        if (on.IsEmpty()) continue;
        auto button =
            std::make_unique<CDDButton>(on.Offset(-m_rcWindow.left, -m_rcWindow.top), this, b.id);
        button->SetText(b.text);
        m_pButtons[n++] = std::move(button);
    }
    if (CDDButton* nothing = GetButton(kIdNothing)) nothing->SetState(kButtonDisabled);
    if (CDDButton* go = GetButton(kIdContinue))
        go->SetState(continueAllowed ? kButtonUp : kButtonDisabled);
    UpdateSwitches();
    m_pPicture = MakeWindowPicture(kPicture, kStartRect.Width(), kStartRect.Height());
    if (startLayout) {
        m_pTitle = std::make_unique<CFadeWnd>(this, kBitmapTitle);
        m_pTitle->m_rcWindow = kTitleRect;
    }
    // A window given up (the program is quitting) goes back to the game
    // where it may, and quits elsewhere.
    m_iAbandonCode = !startLayout && continueAllowed ? kResultPlay : kResultQuit;
}

COptionsWnd::~COptionsWnd() {
    // The title goes first: it registered after this window.
    m_pTitle.reset();
}

CDDButton* COptionsWnd::GetButton(int id) const {
    for (const auto& b : m_pButtons)
        if (b && b->GetCommandId() == id) return b.get();
    return nullptr;
}

void COptionsWnd::UpdateSwitches() {
    struct Switch {
        int id;
        bool available, on;
        const int *onImages, *offImages;
    };
    const Switch switches[] = {
        {kIdSound, m_pHost && m_pHost->IsSoundAvailable(), m_pHost && m_pHost->IsSoundOn(),
         kSoundOn, kSoundOff},
        {kIdMusic, m_pHost && m_pHost->IsMusicAvailable(), m_pHost && m_pHost->IsMusicOn(),
         kMusicOn, kMusicOff},
    };
    for (const Switch& s : switches) {
        CDDButton* button = GetButton(s.id);
        if (!button) continue;
        const bool shownOn = s.available && s.on;
        const int* images = shownOn ? s.onImages : s.offImages;
        button->SetImages(images[0], images[1], s.offImages[0]);
        button->SetState(s.available ? kButtonUp : kButtonDisabled);
    }
}

void COptionsWnd::FadeTitle(bool in) {
    if (!m_pTitle) return;
    m_pTitle->SetFadeIn(in);
    m_pTitle->Popup();
}

void COptionsWnd::OnActivate(int state) {
    CDDWnd::OnActivate(state);
    // At start the title fades in under the window once it is drawn.
    if (state && m_pTitle && !m_bTitleFaded) {
        m_bTitleFaded = true;
        FadeTitle(true);
    }
}

void COptionsWnd::NewGame() {
    int result = 0;
    {
        CNewCharacterWnd window(m_pHost, this);
        result = window.Popup();
    }
    if (result == 1) {
        EndPopup(kResultPlay);
        return;
    }
    // Cancelled: in play the window makes way for a second one; at start,
    // and in that second one, it stays.
    if (!m_bStartLayout && !m_bConfirming) {
        EndPopup(kResultNewGameCancelled);
        return;
    }
    if (IsOpen()) Redraw();
}

void COptionsWnd::OpenSlots(bool save) {
    const qv::Point at = m_bStartLayout ? CSlotsWnd::kStartPlace : CSlotsWnd::kPlayPlace;
    // The slots window leaves the top of this one showing: its buttons are
    // hidden while it is open, so that none seems to be offered beside it.
    std::vector<CDDButton*> hidden;
    for (const ButtonPlace& b : kButtons)
        if (CDDButton* button = GetButton(b.id); button && button->m_bVisible) {
            button->m_bVisible = 0;
            hidden.push_back(button);
        }
    if (IsOpen()) Redraw();
    int result = 0;
    if (save) {
        CSaveLoadWnd window(m_pHost, at, this);
        result = window.Popup();
    } else {
        CLoadGameWnd window(m_pHost, at, this);
        result = window.Popup();
    }
    for (CDDButton* button : hidden) button->m_bVisible = 1;
    if (result == 1)
        EndPopup(kResultPlay);
    else if (IsOpen())
        Redraw();
}

void COptionsWnd::PlayIntro() {
    CDDButton* intro = GetButton(kIdIntro);
    if (intro) intro->m_bVisible = 0;
    FadeTitle(false);
    {
        CIntroWnd window(this);
        window.Popup();
    }
    if (IsOpen()) Redraw();
    FadeTitle(true);
    if (intro) intro->m_bVisible = 1;
    if (IsOpen()) Redraw();
}

void COptionsWnd::SwitchSound() {
    if (!m_pHost || !m_pHost->IsSoundAvailable()) return;
    m_pHost->SetSoundOn(!m_pHost->IsSoundOn());
    UpdateSwitches();
    if (IsOpen()) Redraw();
}

void COptionsWnd::SwitchMusic() {
    if (!m_pHost || !m_pHost->IsMusicAvailable()) return;
    m_pHost->SetMusicOn(!m_pHost->IsMusicOn());
    UpdateSwitches();
    if (IsOpen()) Redraw();
}

void COptionsWnd::Quit() {
    if (ShowGameMessageBox(kQuitQuestion, 4) != CMessageWnd::kIdCancel) EndPopup(kResultQuit);
}

void COptionsWnd::OnCommand(int id) {
    switch (id) {
        case kIdNewGame:
            NewGame();
            break;
        case kIdLoadGame:
            OpenSlots(false);
            break;
        case kIdSaveGame:
            OpenSlots(true);
            break;
        case kIdIntro:
            PlayIntro();
            break;
        case kIdSound:
            SwitchSound();
            break;
        case kIdMusic:
            SwitchMusic();
            break;
        case kIdContinue:
            if (m_bContinueAllowed) EndPopup(kResultPlay);
            break;
        case kIdQuit:
            Quit();
            break;
        default:
            break;
    }
}

void COptionsWnd::OnKeyDown(int vk) {
    if (vk == qv::VK_ESCAPE && !m_bStartLayout && m_bContinueAllowed) {
        EndPopup(kResultPlay);
    } else if (vk == qv::VK_F1) {
        CAboutDlg about(this);
        about.Popup();
        if (IsOpen()) Redraw();
    }
}

void COptionsWnd::Paint(qv::Surface* surface) {
    if (!surface) return;
    // The window shows the part of its picture under it.
    if (m_pPicture) {
        const qv::Rect part = m_rcWindow;
        m_pPicture->DrawAt(surface, {m_rcWindow.left, m_rcWindow.top}, m_rcWindow, &part);
    }
    const qv::Rect panel = m_bStartLayout ? kPlayRect : m_rcWindow;
    DrawCentredText(surface, (panel.left + panel.right) / 2, panel.top + kHeaderY - kCharHeight / 2,
                    kHeader, kColourTextDim, m_rcWindow);
    PaintControls(surface);
    if (m_pTitle) m_pTitle->Paint(surface);
}
