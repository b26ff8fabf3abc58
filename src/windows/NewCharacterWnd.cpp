#include "windows/NewCharacterWnd.h"

#include "media/DDObjects.h"
#include "platform/Events.h"
#include "platform/Format.h"
#include "windows/WindowPictures.h"

namespace {

constexpr int kBackgroundPicture = 1089;  // 640 x 480
constexpr int kPanelPicture = 1090;       // 426 x 439
constexpr qv::Point kPanelSize{426, 439};

// The figures' buttons: "+" at the button column, "-" 50 pixels right of it,
// a row of 40 pixels each from y 190.
constexpr int kFirstRowTop = 190;
constexpr int kRowHeight = 40;
constexpr int kSignButtonSize = 39;
constexpr int kMinusOffset = 50;
constexpr int kUpIds[] = {CNewCharacterWnd::kIdStrengthUp, CNewCharacterWnd::kIdDexterityUp,
                          CNewCharacterWnd::kIdIntelligenceUp};
constexpr int kDownIds[] = {CNewCharacterWnd::kIdStrengthDown, CNewCharacterWnd::kIdDexterityDown,
                            CNewCharacterWnd::kIdIntelligenceDown};
const char* const kFigureNames[] = {"Strength", "Dexterity", "Intelligence"};
constexpr int kFigureLabelTop = 200;

constexpr int kButtonEnabled = 0;
constexpr int kButtonDisabled = 3;

const char* const kUseAllPoints = "Please use all bonus points before leaving this screen.";

}  // namespace

CNewCharacterWnd::CNewCharacterWnd(OptionsHost* host, CDDWnd* parent)
    : CDDWnd(parent), m_pHost(host) {
    m_rcWindow = {0, 0, 640, 480};
    m_PlayerName.Create({kLabelX, 140, kLabelX + kNameLength * kCharWidth, 140 + kCharHeight},
                        this);
    m_pOk = std::make_unique<CDDButton>(qv::Rect{250, 340, 390, 379}, this, kIdOk, 569, 570, 897);
    m_pCancel =
        std::make_unique<CDDButton>(qv::Rect{250, 400, 390, 439}, this, kIdCancel, 571, 572, 897);
    for (size_t f = 0; f < kFigureCount; ++f) {
        const int top = kFirstRowTop + static_cast<int>(f) * kRowHeight;
        m_pUp[f] = std::make_unique<CDDButton>(
            qv::Rect{kButtonX, top, kButtonX + kSignButtonSize, top + kSignButtonSize}, this,
            kUpIds[f], 566, 567, 896);
        const int minus = kButtonX + kMinusOffset;
        m_pDown[f] = std::make_unique<CDDButton>(
            qv::Rect{minus, top, minus + kSignButtonSize, top + kSignButtonSize}, this, kDownIds[f],
            894, 893, 895);
    }
    m_DogName.Create({kLabelX, 400, kLabelX + kNameLength * kCharWidth, 400 + kCharHeight}, this);
    for (CDDEdit* field : {&m_PlayerName, &m_DogName}) {
        field->Resize(1, kNameLength);
        field->SetEditable(true);
    }
    m_PlayerName.FormatText("Korr", kColourText, 0);
    m_DogName.FormatText("Kaleb", kColourText, 0);
    m_pBackground = MakeWindowPicture(kBackgroundPicture, 640, 480);
    m_iAbandonCode = 2;
}

CNewCharacterWnd::~CNewCharacterWnd() = default;

CDDButton* CNewCharacterWnd::GetButton(int id) const {
    if (id == kIdOk) return m_pOk.get();
    if (id == kIdCancel) return m_pCancel.get();
    for (size_t f = 0; f < kFigureCount; ++f) {
        if (id == kUpIds[f]) return m_pUp[f].get();
        if (id == kDownIds[f]) return m_pDown[f].get();
    }
    return nullptr;
}

void CNewCharacterWnd::MakePanel() {
    m_pPanel = MakeWindowPicture(kPanelPicture, kPanelSize.x, kPanelSize.y);
}

int CNewCharacterWnd::Popup() {
    MakePanel();
    SetFocus(&m_PlayerName);
    UpdateButtons();
    return CDDWnd::Popup();
}

void CNewCharacterWnd::UpdateButtons() {
    for (size_t f = 0; f < kFigureCount; ++f) {
        m_pDown[f]->SetState(m_Values[f] > m_Minimums[f] ? kButtonEnabled : kButtonDisabled);
        m_pUp[f]->SetState(m_iBonus > 0 ? kButtonEnabled : kButtonDisabled);
    }
}

void CNewCharacterWnd::Raise(Figure f) {
    if (m_iBonus <= 0) return;
    ++m_Values[static_cast<size_t>(f)];
    --m_iBonus;
    UpdateButtons();
    if (IsOpen()) Redraw();
}

void CNewCharacterWnd::Lower(Figure f) {
    const size_t i = static_cast<size_t>(f);
    if (m_Values[i] <= m_Minimums[i]) return;
    --m_Values[i];
    ++m_iBonus;
    UpdateButtons();
    if (IsOpen()) Redraw();
}

void CNewCharacterWnd::Accept() {
    if (m_iBonus > 0) {
        ShowGameMessage(kUseAllPoints);
        return;
    }
    // The labels go while the start world is read.
    m_pPanel.reset();
    m_bClosing = true;
    if (IsOpen()) Redraw();
    NewCharacterChoice choice;
    choice.strength = m_Values[kStrength];
    choice.dexterity = m_Values[kDexterity];
    choice.intelligence = m_Values[kIntelligence];
    choice.playerName = m_PlayerName.GetText();
    choice.dogName = m_DogName.GetText();
    if (!m_pHost || !m_pHost->StartNewGame(choice)) {
        // The start world could not be read (the player was told): the
        // window stays as it was, to change the choice or to cancel.
        m_bClosing = false;
        MakePanel();
        if (IsOpen()) Redraw();
        return;
    }
    EndPopup(1);
}

void CNewCharacterWnd::OnCommand(int id) {
    switch (id) {
        case kIdOk:
            Accept();
            return;
        case kIdCancel:
            EndPopup(2);
            return;
        default:
            break;
    }
    for (size_t f = 0; f < kFigureCount; ++f) {
        if (id == kUpIds[f]) Raise(static_cast<Figure>(f));
        if (id == kDownIds[f]) Lower(static_cast<Figure>(f));
    }
}

void CNewCharacterWnd::OnKeyDown(int vk) {
    if (vk == qv::VK_ESCAPE) EndPopup(2);
}

void CNewCharacterWnd::Paint(qv::Surface* surface) {
    if (!surface) return;
    if (m_pBackground) m_pBackground->DrawAt(surface, {0, 0}, m_rcWindow);
    if (m_pPanel) m_pPanel->DrawAt(surface, kPanelAt, m_rcWindow);
    if (!m_bClosing) {
        auto label = [&](int y, const std::string& text) {
            DrawGameText(surface, {kLabelX, y}, text, kColourText, m_rcWindow);
        };
        label(100, "Player's Name: ");
        for (size_t f = 0; f < kFigureCount; ++f)
            label(kFigureLabelTop + static_cast<int>(f) * kRowHeight,
                  qv::Format("%s: %d", kFigureNames[f], m_Values[f]));
        label(kFigureLabelTop + kFigureCount * kRowHeight, qv::Format("Bonus: %d", m_iBonus));
        label(360, "Dog's Name: ");
    }
    PaintControls(surface);
}
