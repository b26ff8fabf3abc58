#pragma once
// The party panel under the map view: a button for each of the first four
// party members with the member's name, three bars (hit points, mana,
// alertness) and the member's combat mode panel (its ranged mode, stand
// fast and attack method, one click each). A click on a button goes to the
// combat mode panel first; one the panel does not take makes the member the
// controlled one. Under each button a row of icons shows the member's
// lasting spells (Play::EffectShown); a click on one ends the spells it
// shows. A thing carried over a button is handed to that member;
// while a use waits for its target, the member clicked is the target. The
// panel's combat button, under it, opens the controlled member's "Combat
// Preferences".
//
// The panel remembers the three values each bar of the six party slots last
// showed and redraws a bar only when its value changed; a world read sets
// them all to kForgotten, so that the next update draws every bar anew.

#include <array>
#include <memory>
#include <string>

#include "media/DDWnd.h"
#include "media/Resources.h"
#include "windows/CombatModePanel.h"

class Play;
class Player;

class CPartyPanel : public CDDWnd {
public:
    static constexpr int kShownMembers = 4;
    static constexpr int kBarsPerMember = 3;  // hit points, mana, alertness
    static constexpr int kSlots = 6;
    static constexpr int kForgotten = 377;  // a remembered value no bar shows
    // The box under the map view right of the mini-map, a button for each
    // member side by side: the name on top, the combat mode panel under it
    // with the bars beside its stand-fast button; the row of effect icons
    // under the button.
    static constexpr qv::Rect kPlace{318, 368, 632, 459};
    static constexpr int kButtonWidth = 78, kButtonHeight = 78;
    // Where a member's combat mode panel lies in its button.
    static constexpr qv::Point kCombatPanelAt{5, 13};
    // The combat button, under the panel left of the hold-ground button.
    static constexpr qv::Rect kCombatButton{320, 460, 392, 480};

    explicit CPartyPanel(Play& play);

    // Makes the twelve bars and places the member buttons.
    void InitPartyPanel();
    // Reads every shown member's values; a bar whose value differs from the
    // one remembered is redrawn and remembered. Answers how many changed.
    int UpdatePartyBars();
    // Everything drawn anew: the buttons of the slots now filled, and every
    // bar at the next update.
    void RefreshPartyPanel();
    // The buttons of empty slots are hidden.
    void HidePartyButtons();
    // The message line's text for a member button (slot 0 to 3; -1: the
    // button under the mouse): name, hit points, alertness and mana.
    std::string PlayerToolTip(int slot) const;
    void DrawMemberButton(qv::Surface* surface, int slot);
    void DrawCombatButton(qv::Surface* surface);
    // Every remembered value forgotten (a world was read).
    void ForgetBars() { m_BarValues.fill({kForgotten, kForgotten, kForgotten}); }

    // The member slot whose button lies under a screen point, or -1.
    int SlotAt(qv::Point screen) const;
    qv::Rect ButtonRect(int slot) const;  // on the screen
    Player* Member(int slot) const;
    bool IsShown(int slot) const { return m_bShown[static_cast<size_t>(slot)] != 0; }
    int BarValue(int slot, int bar) const {
        return m_BarValues[static_cast<size_t>(slot)][static_cast<size_t>(bar)];
    }
    const CDDProgressBar& Bar(int slot, int bar) const {
        return m_Bars[static_cast<size_t>(slot * kBarsPerMember + bar)];
    }
    // The combat mode panel of a member slot 0 to 3 (null before the panel
    // is made, or outside those slots).
    CCombatModePanel* CombatPanel(int slot) const;
    // A click at a screen point on a shown member's combat mode panel: 1
    // when the panel took it (the member's choice changed).
    int CombatPanelClick(qv::Point screen);
    // Effect icon `icon` (0 to Play::kEffectIcons - 1) of a member slot, on
    // the screen.
    qv::Rect EffectIconRect(int slot, int icon) const;
    // The shown member's effect icon under a screen point, or -1; `slot`
    // is then the member's slot.
    int EffectIconAt(qv::Point screen, int& slot) const;
    // The line naming the combat button under the mouse, "" when none is.
    std::string CombatButtonTip() const;
    int m_iHover = -1;  // the button under the mouse

    void Paint(qv::Surface* surface) override;
    void OnMouseMove(qv::Point p) override;

private:
    // A member's three values now: hit points, mana, alertness (tenths).
    std::array<int, kBarsPerMember> Values(Player* member) const;
    std::array<int, kBarsPerMember> Maxima(Player* member) const;

    void DrawEffectIcons(qv::Surface* surface, int slot, Player* member);

    Play& m_Play;
    std::array<std::unique_ptr<CCombatModePanel>, kShownMembers> m_CombatPanels;
    std::array<std::unique_ptr<CDDObject>, kEffectIconPictures> m_EffectPictures;
    bool m_bCombatButtonHovered = false;
    std::unique_ptr<CDDButton> m_pCombatButton;
    std::array<CDDProgressBar, kShownMembers * kBarsPerMember> m_Bars;
    std::array<std::array<int, kBarsPerMember>, kSlots> m_BarValues{};
    std::array<int, kShownMembers> m_bShown{};
};
