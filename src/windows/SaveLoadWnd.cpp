#include "windows/SaveLoadWnd.h"

#include "platform/Events.h"
#include "platform/Format.h"
#include "platform/Message.h"
#include "windows/WindowPictures.h"

namespace {

constexpr int kLoadPicture = 568;
constexpr int kSavePicture = 576;
constexpr int kGameSlots = 10;  // the save window's: the quick save is F5's alone
constexpr int kSlotButtonHeight = 22;
constexpr int kSlotButtonMargin = 8;  // on each side of the label
constexpr int kTitleY = 24;

constexpr int kButtonUp = 0;
constexpr int kButtonPressed = 1;
constexpr int kButtonDisabled = 3;

const char* const kEmptySlot = "[Empty]";

}  // namespace

// ---- what both share

CSlotsWnd::CSlotsWnd(OptionsHost* host, qv::Point at, int slotCount, int picture, std::string title,
                     CDDWnd* parent)
    : CDDWnd(parent), m_pHost(host), m_strTitle(std::move(title)) {
    m_rcWindow = {at.x, at.y, at.x + kSize.x, at.y + kSize.y};
    SetPicture(picture);
    for (int i = 0; i < slotCount; ++i) {
        m_Slots.push_back(std::make_unique<CDDButton>(SlotRect(i), this, kIdFirstSlot + i));
        m_Slots.back()->SetText(SlotLabel(i));
    }
    m_Description.Create(kDescriptionRect, this);
    m_Description.FormatText("", kColourText, 0);
    m_pConfirm = std::make_unique<CDDButton>(kConfirmRect, this, kIdConfirm, 569, 570, 897);
    m_pCancel = std::make_unique<CDDButton>(kCancelRect, this, kIdCancel, 571, 572, 897);
    m_iAbandonCode = 2;
}

CSlotsWnd::~CSlotsWnd() = default;

std::string CSlotsWnd::SlotLabel(int index) {
    return index == OptionsHost::kQuickSlot ? "QuickSave" : qv::Format("Game %d", index + 1);
}

qv::Rect CSlotsWnd::SlotRect(int index) {
    const int width =
        static_cast<int>(SlotLabel(index).size()) * kCharWidth + 2 * kSlotButtonMargin;
    const int top = kFirstSlotY + index * kSlotStep;
    return {kSlotX, top, kSlotX + width, top + kSlotButtonHeight};
}

CDDButton* CSlotsWnd::GetSlotButton(int index) const {
    if (index < 0 || index >= GetSlotCount()) return nullptr;
    return m_Slots[static_cast<size_t>(index)].get();
}

OptionsHost::Slot CSlotsWnd::Slot(int index) const {
    return m_pHost ? m_pHost->GetSlot(index) : OptionsHost::Slot{};
}

void CSlotsWnd::OnCommand(int id) {
    if (id == kIdConfirm) {
        Confirm();
    } else if (id == kIdCancel) {
        EndPopup(2);
    } else if (id >= kIdFirstSlot && id < kIdFirstSlot + GetSlotCount()) {
        Select(id - kIdFirstSlot);
    }
}

void CSlotsWnd::OnKeyDown(int vk) {
    if (vk == qv::VK_ESCAPE) EndPopup(2);
}

void CSlotsWnd::Paint(qv::Surface* surface) {
    if (!surface) return;
    CDDWnd::Paint(surface);
    DrawGameText(surface, {m_rcWindow.left + kSlotX, m_rcWindow.top + kTitleY}, m_strTitle,
                 kColourTextDim, m_rcWindow);
}

// ---- the load window

CLoadGameWnd::CLoadGameWnd(OptionsHost* host, qv::Point at, CDDWnd* parent)
    : CSlotsWnd(host, at, OptionsHost::kSlotCount, kLoadPicture, "Load Game", parent) {}

int CLoadGameWnd::Popup() {
    UpdateButtons();
    return CSlotsWnd::Popup();
}

void CLoadGameWnd::UpdateButtons() {
    for (int i = 0; i < GetSlotCount(); ++i) {
        const int state = i == m_iSelected ? kButtonPressed
                          : Slot(i).used   ? kButtonUp
                                           : kButtonDisabled;
        m_Slots[static_cast<size_t>(i)]->SetState(state);
    }
}

void CLoadGameWnd::Select(int index) {
    if (index < 0 || index >= GetSlotCount()) return;
    const OptionsHost::Slot slot = Slot(index);
    if (!slot.used) {
        m_Description.SetText(kEmptySlot);
    } else {
        m_iSelected = index;
        m_Description.SetText(slot.description);
    }
    UpdateButtons();
    if (IsOpen()) Redraw();
}

void CLoadGameWnd::Confirm() {
    if (m_iSelected < 0) {
        EndPopup(2);
        return;
    }
    if (!Slot(m_iSelected).used) {
        qv::ShowMessage("Load file is empty.", qv::MessageButtons::Ok, "Load Error");
        EndPopup(2);
        return;
    }
    // A slot that cannot be read has been said and changed nothing: the
    // player may choose another.
    if (m_pHost && m_pHost->LoadSlot(m_iSelected)) EndPopup(1);
}

// ---- the save window

CSaveLoadWnd::CSaveLoadWnd(OptionsHost* host, qv::Point at, CDDWnd* parent)
    : CSlotsWnd(host, at, kGameSlots, kSavePicture, "Save Game", parent) {}

int CSaveLoadWnd::Popup() {
    // Save waits for a slot to be chosen.
    m_pConfirm->SetState(m_iSelected < 0 ? kButtonDisabled : kButtonUp);
    return CSlotsWnd::Popup();
}

void CSaveLoadWnd::Select(int index) {
    if (index < 0 || index >= GetSlotCount()) return;
    m_iSelected = index;
    m_Description.SetText(Slot(index).description);
    m_Description.SetEditable(true);
    SetFocus(&m_Description);
    for (int i = 0; i < GetSlotCount(); ++i)
        m_Slots[static_cast<size_t>(i)]->SetState(i == index ? kButtonPressed : kButtonUp);
    m_pConfirm->SetState(kButtonUp);
    if (IsOpen()) Redraw();
}

void CSaveLoadWnd::Confirm() {
    if (m_iSelected < 0) {
        EndPopup(2);
        return;
    }
    if (Slot(m_iSelected).used &&
        ShowGameMessageBox(qv::Format("Sure you want to save over Game %d?", m_iSelected + 1), 4) !=
            CMessageWnd::kIdYes)
        return;
    EndPopup(m_pHost && m_pHost->SaveGame(m_iSelected, m_Description.GetText()) ? 1 : 2);
}
