#include "windows/PartyPanel.h"

#include "creatures/Player.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "media/DirectDraw.h"
#include "media/Painter.h"
#include "platform/Format.h"
#include "play/Play.h"
#include "windows/ListDragBox.h"
#include "windows/WindowPictures.h"
#include "world/World.h"

namespace {

// A full alertness is this many tenths; the bar shows it in tens.
constexpr int kAlertnessMax = 1000;
constexpr int kAlertnessUnit = 10;
constexpr int kBarHeight = 5;
constexpr int kBarGap = 1;
constexpr int kNameHeight = 16;
// The bars lie in the combat mode panel's middle row, right of its
// stand-fast button; "Dead" takes their place.
constexpr int kBarsLeft = 29, kBarsRight = 3, kBarsTop = 37;
// The row of effect icons starts a pixel under the button's left corner.
constexpr int kEffectRowGap = 1;

// The picture of each kind of lasting spell an icon shows (SpellEffectKind
// 1, 2, 3, 6, 7), -1 for none.
int EffectPicture(int32_t kind) {
    switch (kind) {
        case SpellEffectKind::ProtectFromFire:
            return 0;
        case SpellEffectKind::Grounding:
            return 1;
        case SpellEffectKind::Sight:
            return 2;
        case SpellEffectKind::Shock:
            return 3;
        case SpellEffectKind::Levitate:
            return 4;
        default:
            return -1;
    }
}

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
            const int top = r.top + kBarsTop + bar * (kBarHeight + kBarGap);
            m_Bars[static_cast<size_t>(slot * kBarsPerMember + bar)].Create(
                {r.left + kBarsLeft, top, r.right - kBarsRight, top + kBarHeight}, fill[bar],
                ground);
        }
        auto& panel = m_CombatPanels[static_cast<size_t>(slot)];
        if (!panel)
            panel = std::make_unique<CCombatModePanel>(
                m_Play, qv::Point{r.left + kCombatPanelAt.x, r.top + kCombatPanelAt.y},
                CCombatModePanel::kCompactRects);
    }
    for (int i = 0; i < kEffectIconPictures; ++i)
        if (auto& picture = m_EffectPictures[static_cast<size_t>(i)]; !picture)
            picture = MakeWindowPicture(kBitmapEffectIcons + i, kEffectIconSize, kEffectIconSize);
    m_Play.PartyChoices().InitFormation();
    HidePartyButtons();
}

qv::Rect CPartyPanel::EffectIconRect(int slot, int icon) const {
    const qv::Rect button = ButtonRect(slot);
    const int x = button.left + icon * kEffectIconSize;
    const int y = kPlace.top + kButtonHeight + kEffectRowGap;
    return {x, y, x + kEffectIconSize, y + kEffectIconSize};
}

int CPartyPanel::EffectIconAt(qv::Point screen, int& slot) const {
    for (int s = 0; s < kShownMembers; ++s) {
        if (!IsShown(s)) continue;
        for (int icon = 0; icon < Play::kEffectIcons; ++icon)
            if (EffectIconRect(s, icon).Contains(screen)) {
                slot = s;
                return icon;
            }
    }
    return -1;
}

void CPartyPanel::DrawEffectIcons(qv::Surface* surface, int slot, Player* member) {
    for (int icon = 0; icon < Play::kEffectIcons; ++icon) {
        const int picture = EffectPicture(Play::EffectShown(*member, icon));
        if (picture < 0) continue;
        const qv::Rect r = EffectIconRect(slot, icon);
        if (CDDObject* image = m_EffectPictures[static_cast<size_t>(picture)].get())
            image->DrawAt(surface, {r.left, r.top}, r, nullptr, kDrawModePlain);
    }
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
    for (int slot = 0; slot < kShownMembers; ++slot) {
        Player* member = Member(slot);
        m_bShown[static_cast<size_t>(slot)] = member != nullptr;
        // Each shown member has its combat mode panel; an empty slot's shows
        // nothing.
        if (CCombatModePanel* panel = CombatPanel(slot); panel && panel->GetPlayer() != member)
            panel->SetPlayer(member);
    }
}

CCombatModePanel* CPartyPanel::CombatPanel(int slot) const {
    if (slot < 0 || slot >= kShownMembers) return nullptr;
    return m_CombatPanels[static_cast<size_t>(slot)].get();
}

int CPartyPanel::CombatPanelClick(qv::Point screen) {
    HidePartyButtons();
    const int slot = SlotAt(screen);
    CCombatModePanel* panel = CombatPanel(slot);
    return panel ? panel->OnClick(screen.x, screen.y) : 0;
}

std::string CPartyPanel::CombatButtonTip() const {
    if (m_bCombatButtonHovered) return "Combat Preferences";
    const CCombatModePanel* panel = CombatPanel(m_iHover);
    if (!panel || panel->GetHovered() < 0 ||
        panel->ButtonState(panel->GetHovered()) == CCombatModePanel::kHidden)
        return {};
    Player* member = Member(m_iHover);
    return (member ? member->GetDisplayName() + ": " : std::string()) +
           CCombatModePanel::ButtonName(panel->GetHovered());
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
    const qv::Rect text{r.left + 3, r.top, r.right - 2, r.top + kNameHeight - 1};
    DrawGameText(surface, {text.left, text.top}, m->GetDisplayName(),
                 controlled ? kColourTextDim : kColourText, text);
    if (m->IsAlive()) {
        for (int bar = 0; bar < kBarsPerMember; ++bar) Bar(slot, bar).Draw(surface);
    } else {
        const qv::Rect dead{r.left + kBarsLeft, r.top + kBarsTop, r.right, r.bottom};
        DrawGameText(surface, {dead.left, dead.top}, "Dead", kColourText, dead);
    }
    if (CCombatModePanel* panel = CombatPanel(slot)) panel->Draw(surface);
    DrawEffectIcons(surface, slot, m);
}

void CPartyPanel::DrawCombatButton(qv::Surface* surface) {
    if (!m_pCombatButton) {
        // A button of the toolkit, placed on the screen itself.
        m_pCombatButton = std::make_unique<CDDButton>(kCombatButton, nullptr, 0);
        m_pCombatButton->SetText("Combat");
    }
    m_pCombatButton->Draw(surface, {0, 0});
}

void CPartyPanel::Paint(qv::Surface* surface) {
    if (!surface) return;
    HidePartyButtons();
    UpdatePartyBars();
    surface->FillRect(m_rcWindow, WindowPixel(30, 22, 14));
    for (int slot = 0; slot < kShownMembers; ++slot) DrawMemberButton(surface, slot);
    // The combat button lies outside the panel's box: shown with it.
    DrawCombatButton(surface);
    if (surface == GetPopupSurface()) PresentScreen(kCombatButton);
}

void CPartyPanel::OnMouseMove(qv::Point p) {
    m_iHover = SlotAt(p);
    m_bCombatButtonHovered = kCombatButton.Contains(p);
    for (int slot = 0; slot < kShownMembers; ++slot)
        if (CCombatModePanel* panel = CombatPanel(slot)) panel->OnMouseMove(p.x, p.y);
}
