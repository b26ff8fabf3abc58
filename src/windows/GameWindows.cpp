#include "windows/GameWindows.h"

#include <algorithm>
#include <utility>

#include "creatures/Player.h"
#include "items/Bag.h"
#include "media/DDObjects.h"
#include "media/DirectDraw.h"
#include "media/MouseCursor.h"
#include "play/Play.h"
#include "windows/CombatPrefsDlg.h"
#include "windows/MagicWnd.h"
#include "windows/PlayerInfoWnd.h"
#include "windows/PlayerStatsWnd.h"
#include "world/Global.h"
#include "world/World.h"

CGameWindows::CGameWindows(Play& play, ViewToWorld viewToWorld)
    : m_Play(play), m_ViewToWorld(std::move(viewToWorld)), m_PartyPanel(play) {}

CGameWindows::~CGameWindows() {
    EndCarry();
    m_pControlPanel.reset();
    m_pContainerWnd.reset();
    m_pEquipWnd.reset();
    Register();
}

namespace {

// Enters a window of ours among the open windows, or takes the one we entered
// before out of it; an entry someone else made stays.
void Enter(CDDWnd*& entry, CDDWnd* ours, CDDWnd*& entered) {
    if (ours)
        entry = ours;
    else if (entry == entered)
        entry = nullptr;
    entered = ours;
}

}  // namespace

void CGameWindows::Register() {
    OpenWindows& w = m_Open;
    Enter(w.m_pPartyPanel, m_pControlPanel ? &m_PartyPanel : nullptr, m_Entered[0]);
    Enter(w.m_pInventoryWnd, m_pControlPanel ? &m_pControlPanel->Inventory() : nullptr,
          m_Entered[1]);
    Enter(w.m_pContainerWnd, m_bContainerClosing ? nullptr : m_pContainerWnd.get(), m_Entered[2]);
    Enter(w.m_pEquipmentWnd, m_bEquipClosing ? nullptr : m_pEquipWnd.get(), m_Entered[3]);
}

void CGameWindows::MakePanels(Player* member) {
    m_PartyPanel.InitPartyPanel();
    if (!m_pControlPanel) {
        m_pControlPanel = std::make_unique<CControlPanel>(m_Play, member);
        m_pControlPanel->Inventory().m_OnEquip = [this] { OpenEquipment(); };
    }
    m_pControlPanel->SetPlayer(member);
    m_PartyPanel.RefreshPartyPanel();
    Register();
}

void CGameWindows::SetControlPlayer(Player* member, int force) {
    if (!member) member = m_Play.m_World.m_pControlPlayer.Get();
    if (m_pControlPanel && member) {
        m_pControlPanel->SetPlayer(member);
        if (force) m_pControlPanel->Inventory().SetPlayer(member, 1);
    }
    if (m_pEquipWnd && member) m_pEquipWnd->SetPlayer(member);
    if (force) m_PartyPanel.RefreshPartyPanel();
}

void CGameWindows::SelectPage(int page, int subPage) {
    if (!m_pControlPanel) MakePanels(m_Play.m_World.m_pControlPlayer.Get());
    m_pControlPanel->SelectPage(page, subPage);
}

void CGameWindows::OnPageKey(int page, int subPage) {
    if (m_pControlPanel) {
        m_pControlPanel->SelectPage(page, subPage);
        return;
    }
    switch (page) {
        case CControlPanel::kPageStats:
            OpenStats();
            return;
        case CControlPanel::kPageInfo:
            OpenInfo();
            return;
        case CControlPanel::kPageMagic:
            // The magic window opens on the first book that holds a spell.
            OpenMagic(0);
            return;
        default:
            SelectPage(page, subPage);
            return;
    }
}

namespace {

// Runs a member's window and puts back what it covered.
template <typename Wnd, typename... Args>
int RunMemberWindow(Play& play, const std::function<void()>& redrawView, Args&&... args) {
    Player* member = play.m_World.m_pControlPlayer.Get();
    if (!member) return 0;
    int answer = 0;
    {
        Wnd window(play, member, std::forward<Args>(args)...);
        answer = window.Popup();
    }
    if (redrawView) redrawView();
    return answer;
}

}  // namespace

int CGameWindows::OpenStats() {
    return RunMemberWindow<CPlayerStatsWnd>(m_Play, m_RedrawView, m_Open);
}

int CGameWindows::OpenInfo() {
    return RunMemberWindow<CPlayerInfoWnd>(m_Play, m_RedrawView, m_Open);
}

int CGameWindows::OpenMagic(int school) {
    return RunMemberWindow<CMagicWnd>(m_Play, m_RedrawView, school);
}

int CGameWindows::OpenCombatPrefs(Player* member) {
    if (!member) return 0;
    const qv::Handle<Player> held(member);
    // The dialog's six values from the member's combat settings: mode of
    // combat, whom to attack, flee, magic priority, then (after one the
    // dialog has no control for) the preference and the attack method.
    static constexpr size_t kSettingOf[] = {0, 1, 2, 3, 5, 6};
    CCombatPrefsDlg dialog;
    int* values[] = {
        &dialog.m_iModeOfCombat,  &dialog.m_iAttackWhom,       &dialog.m_bFlee,
        &dialog.m_iMagicPriority, &dialog.m_iAttackPreference, &dialog.m_iAttackMethod};
    for (size_t i = 0; i < std::size(values); ++i)
        *values[i] = member->m_iCombatSettings[kSettingOf[i]];
    const int answer = dialog.Popup();
    member = held.Get();
    if (answer == 1 && member) {
        // The choices the dialog lets the player change, each an order;
        // fleeing and the magic priority are greyed there.
        const std::pair<int32_t, int> choices[] = {
            {Play::kChoiceModeOfCombat, dialog.m_iModeOfCombat},
            {Play::kChoiceAttackWhom, dialog.m_iAttackWhom},
            {Play::kChoiceAttackPreference, dialog.m_iAttackPreference},
            {Play::kChoiceAttackMethod, dialog.m_iAttackMethod},
        };
        const int32_t before[] = {member->m_iCombatSettings[0], member->m_iCombatSettings[1],
                                  member->m_iCombatSettings[5], member->m_iCombatSettings[6]};
        for (size_t i = 0; i < std::size(choices); ++i) {
            if (choices[i].second == before[i]) continue;
            Order order = Order::Of(Order::Kind::Stance);
            order.actor = member;
            order.value = choices[i].first;
            order.mode = choices[i].second;
            m_Play.Give(order);
        }
    }
    if (m_RedrawView) m_RedrawView();
    return answer;
}

void CGameWindows::OpenEquipment() {
    Player* member = m_Play.m_World.m_pControlPlayer.Get();
    if (!member) return;
    Sync();  // one closed a moment ago goes first
    if (!m_pEquipWnd) {
        m_pEquipWnd = std::make_unique<CEquipWnd>(m_Play, member);
        m_pEquipWnd->m_OnClose = [this] { CloseEquipment(); };
    }
    m_bEquipClosing = false;
    Register();
}

void CGameWindows::CloseEquipment() {
    if (!m_pEquipWnd) return;
    m_bEquipClosing = true;
    Register();
}

void CGameWindows::CloseContainer() {
    if (m_pContainerWnd) m_bContainerClosing = true;
    m_Play.Give(Order::Of(Order::Kind::Shut));
    Register();
}

void CGameWindows::WorldTaken() {
    CancelCarry();
    m_PartyPanel.ForgetBars();
    SetControlPlayer(nullptr, 1);
}

void CGameWindows::Sync() {
    // Closed windows go now that no handler of theirs runs.
    bool gone = m_bEquipClosing || m_bContainerClosing;
    if (m_bEquipClosing) {
        m_pEquipWnd.reset();
        m_bEquipClosing = false;
    }
    if (m_bContainerClosing) {
        m_pContainerWnd.reset();
        m_bContainerClosing = false;
    }
    Player* member = m_Play.m_World.m_pControlPlayer.Get();
    if (m_pControlPanel && member && m_pControlPanel->GetPlayer() != member)
        SetControlPlayer(member, 0);
    // The container play opened gets its window beside the party's own,
    // which goes back to the controlled member's bag.
    Object* open = m_Play.Interacting().ShownContainer().Get();
    if (m_Play.Interacting().IsContainerOpen() && open && !m_pContainerWnd) {
        m_pContainerWnd =
            std::make_unique<CInventory>(CInventory::kModeContainer, m_Play, kContainerPlace);
        m_pContainerWnd->SetPlayer(member, 1);
        m_pContainerWnd->OpenContainer(open);
        m_pContainerWnd->m_OnClose = [this] { CloseContainer(); };
        if (m_pControlPanel) {
            m_pControlPanel->SelectPage(CControlPanel::kPageInventory, 0);
            m_pControlPanel->Inventory().SetPlayer(member, 1);
        }
    } else if (m_pContainerWnd && m_Play.Interacting().IsContainerOpen() && open &&
               m_pContainerWnd->GetShown() != open) {
        // Play went on to another container: the window follows.
        m_pContainerWnd->OpenContainer(open);
    } else if (m_pContainerWnd &&
               (!m_Play.Interacting().IsContainerOpen() || !m_pContainerWnd->GetShown())) {
        // Closed by play, or what it showed went: it closes.
        if (m_Play.Interacting().IsContainerOpen()) m_Play.CloseContainer();
        m_pContainerWnd.reset();
        gone = true;
    }
    // A member that went takes its equipment window with it.
    if (m_pEquipWnd && !m_pEquipWnd->GetPlayer()) {
        m_pEquipWnd.reset();
        gone = true;
    }
    if (m_pCarried.Get() == nullptr && m_pCarryFrom) EndCarry();
    if (m_pCarried.Get() && !m_pCarrier.Get()) EndCarry();
    Register();
    if (gone && m_RedrawView) m_RedrawView();
}

void CGameWindows::DrawAll() {
    qv::Surface* s = GetPopupSurface();
    if (!s) return;
    if (m_pControlPanel) m_pControlPanel->Redraw();
    if (m_pContainerWnd && !m_bContainerClosing) m_pContainerWnd->Redraw();
    if (m_pEquipWnd && !m_bEquipClosing) m_pEquipWnd->Redraw();
}

void CGameWindows::DrawControlPanel() {
    if (GetPopupSurface() && m_pControlPanel) m_pControlPanel->Redraw();
}

CDDWnd* CGameWindows::WindowAt(qv::Point p) const {
    if (m_pEquipWnd && !m_bEquipClosing && m_pEquipWnd->m_rcWindow.Contains(p))
        return m_pEquipWnd.get();
    if (m_pContainerWnd && !m_bContainerClosing && m_pContainerWnd->m_rcWindow.Contains(p))
        return m_pContainerWnd.get();
    if (m_pControlPanel && m_pControlPanel->m_rcWindow.Contains(p)) return m_pControlPanel.get();
    return nullptr;
}

CGameWindows::Place CGameWindows::BoxAt(qv::Point p) const {
    CDDWnd* window = WindowAt(p);
    Place place;
    if (!window) return place;
    if (window == m_pEquipWnd.get()) {
        place = {window, &m_pEquipWnd->Box()};
    } else if (window == m_pContainerWnd.get()) {
        place = {window, &m_pContainerWnd->Box()};
    } else {
        CInventory& inventory = m_pControlPanel->Inventory();
        const int page = m_pControlPanel->GetPage();
        if ((page == CControlPanel::kPageInventory || page == CControlPanel::kPageItems ||
             page == CControlPanel::kPageMagic) &&
            inventory.m_rcWindow.Contains(p))
            place = {&inventory, &inventory.Box()};
    }
    if (place.box && !place.box->m_rcWindow.Contains(place.Local(p))) place.box = nullptr;
    return place;
}

bool CGameWindows::DropPlaced(ObjectHolder* holder, qv::Point p) {
    const Place place = BoxAt(p);
    if (!place.box) return false;
    // The bag and the container's list show a bag; the item list, the spell
    // books and the things in use show none.
    CBag* bag = nullptr;
    if (place.window == m_pContainerWnd.get())
        bag = m_pContainerWnd->GetShownBag();
    else if (auto* inventory = dynamic_cast<CInventory*>(place.window);
             inventory && inventory->GetShows() == CInventory::Shows::Bag)
        bag = inventory->GetShownBag();
    Order bring = Order::On(Order::Kind::Bring, holder);
    bring.into = bag;
    m_Play.Give(bring);
    return true;
}

void CGameWindows::StartCarry(Object* object, CListDragBox* from, qv::Point at) {
    Player* carrier = m_pControlPanel ? m_pControlPanel->GetPlayer() : nullptr;
    if (!object || !carrier) return;
    m_pCarried = object;
    m_pCarrier = carrier;
    m_pCarryFrom = from;
    from->m_pCarried = object;
    m_bCarryPressed = true;
    m_ptCarryStart = at;
    // The world stands still while a thing is carried.
    m_bCarryPaused = !m_Play.m_bPaused;
    if (m_bCarryPaused) m_Play.Give(Order::With(Order::Kind::Pause, 1));
    if (CMouseCursor* cursor = GetMouseCursor(); cursor && object->GetImage()) {
        CDDObject* image = object->GetImage();
        cursor->SetDragImage(image, image->m_iWidth / 2, image->m_iHeight / 2);
    }
}

void CGameWindows::EndCarry() {
    if (m_pCarryFrom) m_pCarryFrom->m_pCarried = nullptr;
    const bool carried = m_pCarryFrom != nullptr || m_pCarried.Get();
    m_pCarried = nullptr;
    m_pCarrier = nullptr;
    m_pCarryFrom = nullptr;
    m_bCarryPressed = false;
    if (m_bCarryPaused) m_Play.Give(Order::With(Order::Kind::Pause, 0));
    m_bCarryPaused = false;
    if (CMouseCursor* cursor = GetMouseCursor(); cursor && carried) cursor->RestoreImage();
}

void CGameWindows::CancelCarry() {
    EndCarry();
}

bool CGameWindows::LetGo(qv::Point p) {
    Object* object = m_pCarried.Get();
    Player* carrier = m_pCarrier.Get();
    if (!object || !carrier) {
        EndCarry();
        return true;
    }
    const Place place = BoxAt(p);
    if (place.box) {
        Object* under = place.box->ItemAt(place.Local(p));
        const bool bag = under && under->Type() == BAG && qv::DynamicCast<CBag>(under);
        if (bag && under != object) {
            // Let go over a bag of the list: into that bag. Play refuses
            // it, changing nothing, when the bag has no room or is the
            // thing's own inside.
            Order put = ItemOrder(Order::Kind::PutIn, carrier, object);
            put.into = under;
            if (RoomToDrop(m_Play, qv::DynamicCast<CBag>(under), object)) m_Play.Give(put);
        } else if (place.box != m_pCarryFrom) {
            // Back where it came from: nothing to do.
            place.box->Insert(object);
        }
        EndCarry();
        return true;
    }
    if (WindowAt(p)) return false;  // over a window but not its list: still carried
    const int slot = m_PartyPanel.SlotAt(p);
    if (slot >= 0) {
        // Handed to the member whose button it was let go over.
        Player* receiver = m_PartyPanel.Member(slot);
        if (receiver && receiver != carrier && receiver->m_pHolder && carrier->Owns(object)) {
            Order give = ItemOrder(Order::Kind::Give, carrier, object);
            give.target = receiver->m_pHolder;
            m_Play.Give(give);
        }
        EndCarry();
        return true;
    }
    Position at;
    if (m_ViewToWorld && m_ViewToWorld(p, at)) {
        // Put down where it was let go; a stack asks how many.
        if (carrier->Owns(object)) {
            Order drop = ItemOrder(Order::Kind::Drop, carrier, object);
            drop.point = at;
            drop.hasPoint = true;
            m_Play.Give(drop);
        }
        EndCarry();
        return true;
    }
    return false;
}

bool CGameWindows::Use(Object* object, CListDragBox* from) {
    Player* member = m_pControlPanel ? m_pControlPanel->GetPlayer() : nullptr;
    if (!object || !member) return false;
    if (m_pEquipWnd && from == &m_pEquipWnd->Box()) {
        m_Play.Give(ItemOrder(Order::Kind::Unequip, member, object));
        return true;
    }
    // A spell of the magic page waits for the click that picks whom it is
    // for: a member's button or a creature on the map.
    if (m_pControlPanel && from == &m_pControlPanel->Inventory().Box() &&
        m_pControlPanel->Inventory().GetShows() == CInventory::Shows::SpellBook) {
        m_Play.Give(ItemOrder(Order::Kind::PickForUse, member, object));
        return true;
    }
    if (!member->Owns(object) || IsInUse(*member, object)) return false;
    m_Play.Give(ItemOrder(Order::Kind::Equip, member, object));
    return true;
}

bool CGameWindows::OnLButtonDown(qv::Point p) {
    // While a use waits for its target, a member's button picks that member.
    if (m_Play.Interacting().SelectMode() >= 1) {
        const int slot = m_PartyPanel.SlotAt(p);
        Player* member = m_PartyPanel.Member(slot);
        if (slot < 0 || !member || !member->m_pHolder) return false;
        m_Play.Give(Order::On(Order::Kind::UseOn, member->m_pHolder));
        if (CMouseCursor* cursor = GetMouseCursor()) cursor->RestoreImage();
        return true;
    }
    if (m_pCarried.Get()) {
        LetGo(p);
        return true;
    }
    if (CPartyPanel::kCombatButton.Contains(p) && m_pControlPanel) {
        OpenCombatPrefs(m_Play.m_World.m_pControlPlayer.Get());
        return true;
    }
    int iconSlot = -1;
    if (const int icon = m_PartyPanel.EffectIconAt(p, iconSlot); icon >= 0) {
        // An effect icon ends the member's lasting spells it shows.
        if (Player* member = m_PartyPanel.Member(iconSlot)) {
            Order end = Order::With(Order::Kind::EndEffect, icon);
            end.actor = member;
            m_Play.Give(end);
        }
        return true;
    }
    if (const int slot = m_PartyPanel.SlotAt(p); slot >= 0) {
        // The member's combat mode panel first; a click it does not take
        // picks the member.
        if (m_PartyPanel.CombatPanelClick(p)) {
            m_PartyPanel.Redraw();
            return true;
        }
        if (Player* member = m_PartyPanel.Member(slot)) {
            Order select = Order::Of(Order::Kind::Select);
            select.actor = member;
            m_Play.Give(select);
            SetControlPlayer(member, 0);
        }
        return true;
    }
    if (m_PartyPanel.m_rcWindow.Contains(p)) return true;
    const Place place = BoxAt(p);
    if (place.box) {
        if (Object* item = place.box->ItemAt(place.Local(p))) StartCarry(item, place.box, p);
        return true;
    }
    if (CDDWnd* window = WindowAt(p)) {
        m_pPressed = window;
        window->OnLButtonDown(p);
        return true;
    }
    return false;
}

bool CGameWindows::OnLButtonUp(qv::Point p) {
    if (CDDWnd* window = m_pPressed) {
        m_pPressed = nullptr;
        window->OnLButtonUp(p);
        Sync();
        return true;
    }
    if (m_pCarried.Get() && m_bCarryPressed) {
        m_bCarryPressed = false;
        // Let go where it was picked up: a click, and the thing stays
        // carried until the next click puts it down.
        const Place place = BoxAt(p);
        if (place.box == m_pCarryFrom &&
            (place.box == nullptr || place.box->ItemAt(place.Local(p)) == m_pCarried.Get()))
            return true;
        LetGo(p);
        return true;
    }
    return WindowAt(p) != nullptr;
}

bool CGameWindows::OnRButtonDown(qv::Point p) {
    m_bRightTaken = false;
    if (m_pCarried.Get() || m_Play.Interacting().SelectMode() >= 1) return false;
    const Place place = BoxAt(p);
    if (place.box) {
        Use(place.box->ItemAt(place.Local(p)), place.box);
        m_bRightTaken = true;
        return true;
    }
    m_bRightTaken = WindowAt(p) != nullptr || m_PartyPanel.m_rcWindow.Contains(p);
    return m_bRightTaken;
}

bool CGameWindows::OnRButtonUp(qv::Point) {
    const bool taken = m_bRightTaken;
    m_bRightTaken = false;
    return taken;
}

void CGameWindows::OnMouseMove(qv::Point p) {
    m_PartyPanel.OnMouseMove(p);
    const Place place = BoxAt(p);
    Object* item = place.box ? place.box->ItemAt(place.Local(p)) : nullptr;
    if (item && !m_pCarried.Get()) {
        SetMessageLine(item->GetInfoText());
        m_bHoverText = true;
    } else if (const std::string tip = m_PartyPanel.CombatButtonTip(); !tip.empty()) {
        // A combat mode button or the combat button says what it does.
        SetMessageLine(tip);
        m_bHoverText = true;
    } else if (m_PartyPanel.m_iHover >= 0) {
        SetMessageLine(m_PartyPanel.PlayerToolTip(-1));
        m_bHoverText = true;
    } else if (m_bHoverText) {
        // The name goes with the pointer, unless a use's prompt took the
        // line meanwhile.
        if (m_Play.Interacting().SelectMode() == 0) SetMessageLine("");
        m_bHoverText = false;
    }
}

bool CGameWindows::OnEscape() {
    if (m_pCarried.Get() || m_pCarryFrom) {
        EndCarry();
        return true;
    }
    if (m_pEquipWnd && !m_bEquipClosing) {
        CloseEquipment();
        return true;
    }
    if (m_pContainerWnd && !m_bContainerClosing) {
        CloseContainer();
        return true;
    }
    return false;
}
