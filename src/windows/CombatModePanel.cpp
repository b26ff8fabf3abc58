#include "windows/CombatModePanel.h"

#include <algorithm>

#include "creatures/Player.h"
#include "media/DDObjects.h"
#include "media/DDWnd.h"
#include "media/DirectDraw.h"
#include "play/Play.h"
#include "windows/WindowPictures.h"

namespace {

// The groups of buttons and the choice each stands for.
constexpr int kFirstRangedButton = 0;
constexpr int kFirstSecondModeButton = 3;
constexpr int kToggleButton = 5;
constexpr int kFirstMethodButton = 6;

// The rim drawn around a hovered button, and the sunk edge of a pressed one.
constexpr int kHoverRim = kColourTextDim;
constexpr int kPressedEdge = 0;

const char* const kButtonNames[CCombatModePanel::kButtons] = {
    "Close combat only", "Shoot only", "Shoot from afar", "",          "",
    "Stand fast",        "Defensive",  "Normal attack",   "Berserker",
};

void FillRect(qv::Surface* s, const qv::Rect& r, int colour) {
    s->FillRect(r.Intersect(s->Bounds()), PaletteIndexToPixel(colour & 255));
}

void Rim(qv::Surface* s, const qv::Rect& r, int colour) {
    FillRect(s, {r.left, r.top, r.right, r.top + 1}, colour);
    FillRect(s, {r.left, r.bottom - 1, r.right, r.bottom}, colour);
    FillRect(s, {r.left, r.top, r.left + 1, r.bottom}, colour);
    FillRect(s, {r.right - 1, r.top, r.right, r.bottom}, colour);
}

}  // namespace

struct CCombatModePanel::Pictures {
    std::array<std::unique_ptr<CDDObject>, kButtons> images;
};

std::weak_ptr<CCombatModePanel::Pictures> CCombatModePanel::s_Pictures;

CCombatModePanel::CCombatModePanel(Play& play, qv::Point origin, const Layout& rects)
    : m_ptOrigin(origin), m_Play(play), m_pRects(&rects) {
    m_pPictures = s_Pictures.lock();
    if (!m_pPictures) {
        m_pPictures = std::make_shared<Pictures>();
        for (int b = 0; b < kButtons; ++b)
            m_pPictures->images[static_cast<size_t>(b)] =
                MakeWindowPicture(kButtonBitmaps[static_cast<size_t>(b)], kButtonSize, kButtonSize);
        s_Pictures = m_pPictures;
    }
}

CCombatModePanel::~CCombatModePanel() = default;

void CCombatModePanel::SetPlayer(Player* creature) {
    m_pPlayer = creature;
    m_iHovered = -1;
    if (creature) {
        Refresh();
    } else {
        m_iRangedMode = kDefaultRangedMode;
        m_iSecondMode = m_iToggle = 0;
        m_iAttackMethod = kDefaultAttackMethod;
    }
}

Player* CCombatModePanel::GetPlayer() const {
    return m_pPlayer.Get();
}

bool CCombatModePanel::HasRangedWeapon() const {
    const Player* p = m_pPlayer.Get();
    return p && p->m_pRangedWeapon;
}

void CCombatModePanel::Refresh() {
    const Player* p = m_pPlayer.Get();
    if (!p) return;
    m_iRangedMode = HasRangedWeapon() ? p->m_iRangedMode : 0;
    m_iSecondMode = p->m_iPanelSetting;
    m_iToggle = p->m_bPanelToggle;
    m_iAttackMethod = p->m_iCombatSettings.back();
}

int CCombatModePanel::HitTest(qv::Point screen) const {
    const qv::Point at{screen.x - m_ptOrigin.x, screen.y - m_ptOrigin.y};
    int hit = -1;
    for (int b = 0; b < kButtons; ++b)
        if ((*m_pRects)[static_cast<size_t>(b)].Contains(at)) hit = b;
    return hit;
}

qv::Rect CCombatModePanel::ButtonRect(int b) const {
    if (b < 0 || b >= kButtons) return {};
    const qv::Rect& r = (*m_pRects)[static_cast<size_t>(b)];
    if (r.IsEmpty()) return {};
    return r.Offset(m_ptOrigin.x, m_ptOrigin.y);
}

qv::Rect CCombatModePanel::PanelRect() const {
    // From the origin to two pixels past the farthest button.
    int right = 0, bottom = 0;
    for (const qv::Rect& r : *m_pRects) {
        right = std::max(right, r.right + 2);
        bottom = std::max(bottom, r.bottom + 2);
    }
    return qv::Rect{0, 0, right, bottom}.Offset(m_ptOrigin.x, m_ptOrigin.y);
}

int CCombatModePanel::ButtonState(int b) const {
    if (!m_pPlayer || b < 0 || b >= kButtons) return kHidden;
    if (b >= kFirstSecondModeButton && b < kToggleButton) return kHidden;
    if ((b == 1 || b == 2) && !HasRangedWeapon()) return kHidden;
    bool pressed = false;
    if (b < kFirstSecondModeButton)
        pressed = m_iRangedMode == b - kFirstRangedButton;
    else if (b == kToggleButton)
        pressed = m_iToggle == 1;
    else
        pressed = m_iAttackMethod == b - kFirstMethodButton;
    if (pressed) return kStatePressed;
    return b == m_iHovered ? kStateHovered : kStatePlain;
}

const char* CCombatModePanel::ButtonName(int b) {
    return b >= 0 && b < kButtons ? kButtonNames[b] : "";
}

void CCombatModePanel::Draw(qv::Surface* surface) {
    if (!surface || !m_pPlayer) return;
    // The member's choices may have changed since the last look (a bow put
    // away leaves nothing to shoot with).
    Refresh();
    const qv::Rect clip = PanelRect();
    for (int b = 0; b < kButtons; ++b) {
        const int state = ButtonState(b);
        if (state == kHidden) continue;
        const qv::Rect r = ButtonRect(b);
        if (r.IsEmpty()) continue;
        CDDObject* image = m_pPictures->images[static_cast<size_t>(b)].get();
        const int mode = state == kStatePressed ? kDrawModeHover : kDrawModePlain;
        if (image)
            image->DrawAt(surface, {r.left, r.top}, clip, nullptr, mode);
        else
            FillRect(surface, r, kColourPanel);
        if (state == kStatePressed) {
            // Pressed in: a dark edge above and to the left.
            FillRect(surface, {r.left, r.top, r.right, r.top + 2}, kPressedEdge);
            FillRect(surface, {r.left, r.top, r.left + 2, r.bottom}, kPressedEdge);
        } else if (state == kStateHovered) {
            Rim(surface, r, kHoverRim);
        }
    }
}

void CCombatModePanel::OnMouseMove(int x, int y) {
    if (!m_pPlayer) return;
    m_iHovered = HitTest({x, y});
}

int CCombatModePanel::OnClick(int x, int y) {
    Player* p = m_pPlayer.Get();
    if (!p) return 0;
    const int b = HitTest({x, y});
    if (b < 0 || ButtonState(b) == kHidden) return 0;
    Order order = Order::Of(Order::Kind::Stance);
    order.actor = p;
    if (b < kFirstSecondModeButton) {
        order.value = Play::kChoiceRangedMode;
        order.mode = b - kFirstRangedButton;
    } else if (b == kToggleButton) {
        order.value = Play::kChoiceStandFast;
        order.mode = Order::kToggle;
    } else {
        order.value = Play::kChoiceAttackMethod;
        order.mode = b - kFirstMethodButton;
    }
    if (!m_Play.Give(order)) return 0;
    Refresh();
    return 1;
}
