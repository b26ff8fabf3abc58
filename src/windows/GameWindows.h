#pragma once
// The in-game windows together, as the main frame keeps them: the party
// panel, the paged control panel with its inventory window, the second
// inventory window over an open container or corpse, the equipment window,
// and the thing the mouse carries between them.
//
// The windows follow play rather than lead it: each tick (Sync) they take in
// what play now holds (the controlled member, the container opened, a
// creature or bag that went) and record themselves among the open windows
// (OpenWindows, kept here) while they are up. A thing carried and let go over a window, a
// member's button or the map becomes one order for play; nothing here edits
// a creature or a thing. A window asked to close goes from the list at once
// and is deleted at the next Sync, never from inside its own handler.

#include <array>
#include <functional>
#include <memory>

#include "creatures/Player.h"
#include "platform/Geometry.h"
#include "platform/Handle.h"
#include "windows/ControlPanel.h"
#include "windows/Inventory.h"
#include "windows/OpenWindows.h"
#include "windows/PartyPanel.h"
#include "world/ObjectHolder.h"

class Object;
class Play;
class Player;

class CGameWindows {
public:
    // The world point under a screen point of the map view; false outside it.
    using ViewToWorld = std::function<bool(qv::Point, Position&)>;
    static constexpr qv::Rect kContainerPlace{330, 40, 536, 300};

    CGameWindows(Play& play, ViewToWorld viewToWorld);
    // Draws the map view again: what a closed window covered shows once
    // more, also while another window keeps the world standing still.
    std::function<void()> m_RedrawView;
    ~CGameWindows();
    CGameWindows(const CGameWindows&) = delete;
    CGameWindows& operator=(const CGameWindows&) = delete;

    // The in-game windows that are up: these and the conversation, trading
    // and member windows enter themselves here.
    OpenWindows& Open() { return m_Open; }
    const OpenWindows& Open() const { return m_Open; }
    // Which information window follows the controlled member.
    int m_iInfoWindowMode = 1;

    CPartyPanel& PartyPanel() { return m_PartyPanel; }
    CControlPanel* ControlPanel() const { return m_pControlPanel.get(); }
    CInventory* ContainerWindow() const { return m_pContainerWnd.get(); }
    CEquipWnd* EquipWindow() const { return m_pEquipWnd.get(); }

    // Play has begun: the party panel and the control panel for the member.
    void MakePanels(Player* member);
    // The member's windows follow the controlled member (`force`: drawn anew
    // even when it is the same one).
    void SetControlPlayer(Player* member, int force);
    void SelectPage(int page, int subPage);
    // A letter key of the control panel's pages: the page, or, while there
    // is no control panel, the member's own window of it (statistics,
    // information, magic; the bag and the item list make the panel).
    void OnPageKey(int page, int subPage);
    // The controlled member's windows, each run over the stopped game until
    // Close or Esc. Answer what the window's Popup answered, 0 with no
    // member.
    int OpenStats();
    int OpenInfo();
    int OpenMagic(int school);
    // The "Combat Preferences" of a member, opened by the party panel's
    // combat button for the controlled member: shows the member's choices
    // and, after OK, hands play an order for each one changed. Answers the
    // dialog's answer (1 OK), 0 with no member.
    int OpenCombatPrefs(Player* member);
    void OpenEquipment();
    void CloseEquipment();
    void CloseContainer();
    // A land move or a world read: the bars are drawn anew, a carry ends.
    void WorldTaken();

    // Takes in what play holds now; deletes the windows that were closed.
    void Sync();
    // Draws the panels and the open windows where they lie.
    void DrawAll();
    // Draws the control panel (the party's bag) alone: what a popup beside
    // it, which covers the other windows, leaves to be shown.
    void DrawControlPanel();

    // Input in screen points; true when a window took it.
    bool OnLButtonDown(qv::Point p);
    bool OnLButtonUp(qv::Point p);
    bool OnRButtonDown(qv::Point p);
    bool OnRButtonUp(qv::Point p);
    void OnMouseMove(qv::Point p);
    // Esc: a carry ends, or the top window closes; true when it was taken.
    bool OnEscape();

    // The editor's drag of a placed thing let go at p: over a list of
    // things, the bag that list shows is given it (a list without one
    // leaves it where it was). False when no list is under p.
    bool DropPlaced(ObjectHolder* holder, qv::Point p);

    // The thing the mouse carries (null when none) and who carries it.
    Object* Carried() const { return m_pCarried.Get(); }
    Player* Carrier() const { return m_pCarrier.Get(); }
    void CancelCarry();

private:
    struct Place {
        CDDWnd* window = nullptr;
        CListDragBox* box = nullptr;
        qv::Point Local(qv::Point p) const {
            return {p.x - window->m_rcWindow.left, p.y - window->m_rcWindow.top};
        }
    };
    // The list under a screen point, top window first.
    Place BoxAt(qv::Point p) const;
    CDDWnd* WindowAt(qv::Point p) const;
    void StartCarry(Object* object, CListDragBox* from, qv::Point at);
    // The carried thing let go at p: true when something took it.
    bool LetGo(qv::Point p);
    void EndCarry();
    // Uses a thing: readies or puts it on, or asks for the target of a
    // potion, scroll or cube; a thing in use comes off.
    bool Use(Object* object, CListDragBox* from);
    void Register();

    Play& m_Play;
    OpenWindows m_Open;
    ViewToWorld m_ViewToWorld;
    CPartyPanel m_PartyPanel;
    std::unique_ptr<CControlPanel> m_pControlPanel;
    std::unique_ptr<CInventory> m_pContainerWnd;
    std::unique_ptr<CEquipWnd> m_pEquipWnd;
    // Windows closed by their own buttons, deleted at the next Sync.
    std::unique_ptr<CDDWnd> m_pClosedEquip, m_pClosedContainer;
    bool m_bEquipClosing = false, m_bContainerClosing = false;
    // What we entered among the open windows: the party panel, the
    // inventory, the container window, the equipment window.
    std::array<CDDWnd*, 4> m_Entered{};

    qv::Handle<Object> m_pCarried;
    qv::Handle<Player> m_pCarrier;
    CListDragBox* m_pCarryFrom = nullptr;
    bool m_bCarryPressed = false;  // the button that picked it up is still down
    bool m_bCarryPaused = false;   // the carry paused the game
    qv::Point m_ptCarryStart;
    CDDWnd* m_pPressed = nullptr;  // the window a button press went to
    bool m_bRightTaken = false;
    bool m_bHoverText = false;  // the message line shows a hovered thing
};
