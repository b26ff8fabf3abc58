#include "windows/PartyPanel.h"

#include "creatures/Player.h"
#include "items/Magic.h"
#include "media/Painter.h"
#include "platform/Format.h"
#include "play/Play.h"
#include "windows/ListDragBox.h"
#include "world/World.h"

namespace {

// A full alertness is this many tenths; the bar shows it in tens.
constexpr int kAlertnessMax = 1000;
constexpr int kAlertnessUnit = 10;
constexpr int kBarHeight = 5;
constexpr int kBarGap = 1;
constexpr int kNameHeight = 16;

}  // namespace

CPartyPanel::CPartyPanel(Play& play) : CDDWnd(nullptr, InPlay{}), m_Play(play) {
    m_rcWindow = kPlace;
    ForgetBars();
}

qv::Rect CPartyPanel::ButtonRect(int slot) const {
    const int x = kPlace.left + slot * kButtonWidth;
    return {x, kPlace.top, x + kButtonWidth - 1, kPlace.top + kButtonHeight};
}

void CPartyPanel::InitPartyPanel() {
    // Hit points red, mana blue, alertness gold, each on a dark ground.
    const int fill[kBarsPerMember] = {Painter::Colour(200, 40, 30), Painter::Colour(50, 90, 220),
                                      Painter::Colour(220, 180, 40)};
    const int ground = Painter::Colour(30, 24, 16);
    for (int slot = 0; slot < kShownMembers; ++slot) {
        const qv::Rect r = ButtonRect(slot);
        for (int bar = 0; bar < kBarsPerMember; ++bar) {
            const int top = r.top + 2 * kNameHeight + bar * (kBarHeight + kBarGap);
            m_Bars[static_cast<size_t>(slot * kBarsPerMember + bar)].Create(
                {r.left + 3, top, r.right - 3, top + kBarHeight}, fill[bar], ground);
        }
    }
    m_Play.InitFormation();
    HidePartyButtons();
}

Player* CPartyPanel::Member(int slot) const {
    if (slot < 0 || slot >= kShownMembers) return nullptr;
    return m_Play.m_World.m_Party[static_cast<size_t>(slot)].Get();
}

std::array<int, CPartyPanel::kBarsPerMember> CPartyPanel::Values(Player* m) const {
    const int mana = m->m_pMagic ? static_cast<int>(m->m_pMagic->m_uMana) : 0;
    return {m->m_iHitPoints, mana, m->m_iAlertness / kAlertnessUnit};
}

std::array<int, CPartyPanel::kBarsPerMember> CPartyPanel::Maxima(Player* m) const {
    const int mana = m->m_pMagic ? static_cast<int>(m->m_pMagic->m_uMaxMana) : 0;
    return {m->m_iMaxHitPoints, mana, kAlertnessMax / kAlertnessUnit};
}

void CPartyPanel::HidePartyButtons() {
    for (int slot = 0; slot < kShownMembers; ++slot)
        m_bShown[static_cast<size_t>(slot)] = Member(slot) != nullptr;
}

int CPartyPanel::UpdatePartyBars() {
    int changed = 0;
    for (int slot = 0; slot < kShownMembers; ++slot) {
        Player* m = Member(slot);
        if (!m) continue;
        const auto values = Values(m);
        const auto maxima = Maxima(m);
        for (int bar = 0; bar < kBarsPerMember; ++bar) {
            int& kept = m_BarValues[static_cast<size_t>(slot)][static_cast<size_t>(bar)];
            CDDProgressBar& gauge = m_Bars[static_cast<size_t>(slot * kBarsPerMember + bar)];
            gauge.SetRange(maxima[static_cast<size_t>(bar)]);
            if (kept == values[static_cast<size_t>(bar)]) continue;
            kept = values[static_cast<size_t>(bar)];
            gauge.SetPos(kept);
            ++changed;
        }
    }
    return changed;
}

void CPartyPanel::RefreshPartyPanel() {
    // The next update draws every bar of the buttons now shown.
    HidePartyButtons();
    ForgetBars();
}

std::string CPartyPanel::PlayerToolTip(int slot) const {
    Player* m = Member(slot < 0 ? m_iHover : slot);
    if (!m) return {};
    std::string text = m->GetDisplayName();
    text += qv::Format("\nHP: %d/%d", m->m_iHitPoints, m->m_iMaxHitPoints);
    text += qv::Format("\nAlertness: %d", m->m_iAlertness / kAlertnessUnit);
    if (m->m_pMagic)
        text += qv::Format("\nMANA: %d/%d", static_cast<int>(m->m_pMagic->m_uMana),
                           static_cast<int>(m->m_pMagic->m_uMaxMana));
    return text;
}

int CPartyPanel::SlotAt(qv::Point screen) const {
    for (int slot = 0; slot < kShownMembers; ++slot)
        if (IsShown(slot) && ButtonRect(slot).Contains(screen)) return slot;
    return -1;
}

void CPartyPanel::DrawMemberButton(qv::Surface* surface, int slot) {
    const qv::Rect r = ButtonRect(slot);
    Player* m = Member(slot);
    const bool hovered = slot == m_iHover;
    surface->FillRect(r, WindowPixel(hovered ? 70 : 50, hovered ? 55 : 38, hovered ? 35 : 24));
    if (!m || !IsShown(slot)) return;
    const bool controlled = m == m_Play.m_World.m_pControlPlayer.Get();
    // The controlled member's name in gold, with a gold edge.
    if (controlled) {
        const uint16_t gold = WindowPixel(220, 180, 40);
        surface->FillRect({r.left, r.top, r.right, r.top + 1}, gold);
        surface->FillRect({r.left, r.bottom - 1, r.right, r.bottom}, gold);
    }
    const qv::Rect text{r.left + 3, r.top + 1, r.right - 2, r.bottom};
    DrawGameText(surface, {text.left, text.top}, m->GetDisplayName(),
                 controlled ? kColourTextDim : kColourText, text);
    const std::string hp = m->IsAlive()
                               ? qv::Format("HP %d/%d", m->m_iHitPoints, m->m_iMaxHitPoints)
                               : std::string("Dead");
    DrawGameText(surface, {text.left, text.top + kNameHeight}, hp, kColourText, text);
    for (int bar = 0; bar < kBarsPerMember; ++bar) Bar(slot, bar).Draw(surface);
}

void CPartyPanel::Paint(qv::Surface* surface) {
    if (!surface) return;
    HidePartyButtons();
    UpdatePartyBars();
    surface->FillRect(m_rcWindow, WindowPixel(30, 22, 14));
    for (int slot = 0; slot < kShownMembers; ++slot) DrawMemberButton(surface, slot);
}

void CPartyPanel::OnMouseMove(qv::Point p) {
    m_iHover = SlotAt(p);
}
