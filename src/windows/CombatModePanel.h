#pragma once
// The combat mode panel: nine 20 x 20 buttons drawn beside a party member in
// the party panel, showing and changing its fighting choices with one click.
//
//   0 1 2   ranged mode: close combat only, shoot only, shoot from afar
//    3 4    a second mode (never drawn, never taken)
//   5       stand fast: a fighter outside a walk does not move
//   6 7 8   attack method: defensive, normal, berserker
//
// The panel keeps copies of the member's choices to draw them; a click hands
// play an order (Play::SetCombatChoice), and the copies are read back from the
// member afterwards. It holds the member by handle: once the member is gone
// it draws nothing and takes no click.

#include <array>
#include <memory>

#include "platform/Geometry.h"
#include "platform/Handle.h"
#include "platform/Surface.h"

class CDDObject;
class Play;
class Player;

class CCombatModePanel {
public:
    static constexpr int kButtons = 9;
    // The buttons' rectangles from the panel's origin, in button order.
    static constexpr std::array<qv::Rect, kButtons> kButtonRects{{{2, 1, 22, 21},
                                                                  {23, 1, 43, 21},
                                                                  {44, 1, 64, 21},
                                                                  {13, 22, 33, 42},
                                                                  {34, 22, 54, 42},
                                                                  {2, 43, 22, 63},
                                                                  {2, 64, 22, 84},
                                                                  {23, 64, 43, 84},
                                                                  {44, 64, 64, 84}}};
    // The buttons' pictures, one 20 x 20 bitmap each, in button order.
    static constexpr std::array<int, kButtons> kButtonBitmaps{981, 982, 983, 984, 985,
                                                              986, 989, 988, 987};
    using Layout = std::array<qv::Rect, kButtons>;
    // The same buttons without the row that is never drawn (buttons 3 and
    // 4, which take no click either): stand fast moves up beside the row of
    // ranged modes' first column, and the attack methods under it. The party
    // panel under the map view has room for three rows of buttons, not four.
    static constexpr Layout kCompactRects{{{2, 1, 22, 21},
                                           {23, 1, 43, 21},
                                           {44, 1, 64, 21},
                                           {0, 0, 0, 0},
                                           {0, 0, 0, 0},
                                           {2, 22, 22, 42},
                                           {2, 43, 22, 63},
                                           {23, 43, 43, 63},
                                           {44, 43, 64, 63}}};
    static constexpr int kButtonSize = 20;
    // The whole panel from its origin.
    static constexpr qv::Rect kPanelRect{0, 0, 66, 86};
    // How a button is drawn: as it is, pressed (its choice is the member's),
    // or hovered; kHidden: not drawn at all.
    static constexpr int kStatePlain = 0;
    static constexpr int kStatePressed = 38;
    static constexpr int kStateHovered = 255;
    static constexpr int kHidden = -1;
    // The defaults a panel shows before it has a member.
    static constexpr int kDefaultRangedMode = 2;
    static constexpr int kDefaultAttackMethod = 1;

    CCombatModePanel(Play& play, qv::Point origin, const Layout& rects = kButtonRects);
    ~CCombatModePanel();
    CCombatModePanel(const CCombatModePanel&) = delete;
    CCombatModePanel& operator=(const CCombatModePanel&) = delete;

    // Shows the member (null: none) and copies its choices.
    void SetPlayer(Player* creature);
    Player* GetPlayer() const;

    // Draws the buttons at the origin; nothing without a member.
    void Draw(qv::Surface* surface);
    // The hovered button follows the mouse (screen coordinates).
    void OnMouseMove(int x, int y);
    // A click at a screen point: 1 when a button took it (the member's choice
    // changed), 0 when the click is not the panel's.
    int OnClick(int x, int y);

    // The button under a screen point, or -1: the last of the nine rectangles
    // that contains it.
    int HitTest(qv::Point screen) const;
    // How button b is drawn now (kStatePlain, kStatePressed, kStateHovered or
    // kHidden); kHidden for every button without a member.
    int ButtonState(int b) const;
    // What a button stands for, for the line that names the hovered one.
    static const char* ButtonName(int b);
    int GetHovered() const { return m_iHovered; }
    // A button's rectangle on the screen (empty for one the layout leaves out).
    qv::Rect ButtonRect(int b) const;
    // The panel's whole rectangle on the screen.
    qv::Rect PanelRect() const;

    qv::Point m_ptOrigin;
    // The member's choices as last read.
    int m_iRangedMode = kDefaultRangedMode;
    int m_iSecondMode = 0;
    int m_iToggle = 0;
    int m_iAttackMethod = kDefaultAttackMethod;

private:
    // Reads the member's choices again; ranged mode 0 without a ranged weapon.
    void Refresh();
    bool HasRangedWeapon() const;

    Play& m_Play;
    const Layout* m_pRects;
    qv::Handle<Player> m_pPlayer;
    int m_iHovered = -1;

    // The pictures are the panels' together: made for the first, kept while
    // any panel lives.
    struct Pictures;
    std::shared_ptr<Pictures> m_pPictures;
    static std::weak_ptr<Pictures> s_Pictures;
};
