#include "windows/Inventory.h"

#include <algorithm>

#include "creatures/Player.h"
#include "items/Bag.h"
#include "items/Container.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "platform/Events.h"
#include "platform/Format.h"
#include "play/Play.h"

namespace {

// The grid's cells, and the room kept above it for the title and below it
// for the buttons.
constexpr int kCell = 41;
constexpr int kTitleHeight = 18;
constexpr int kButtonHeight = 18;

CBag* AsBag(Object* o) {
    return o && o->Type() == BAG ? qv::DynamicCast<CBag>(o) : nullptr;
}

std::vector<Object*> Entries(const CBag* bag) {
    std::vector<Object*> list;
    if (!bag) return list;
    for (const auto& item : bag->Items()) list.push_back(item.get());
    return list;
}

const char* SchoolName(int school) {
    switch (school) {
        case SpellSchool::Fire:
            return "Fire";
        case SpellSchool::Earth:
            return "Earth";
        case SpellSchool::Air:
            return "Air";
        case SpellSchool::Water:
            return "Water";
        default:
            return "Magic";
    }
}

}  // namespace

CInventory::CInventory(int mode, Play& play, const qv::Rect& where)
    : CDDWnd(nullptr, InPlay{}),
      m_Play(play),
      m_iMode(mode),
      m_Box({4, kTitleHeight, where.Width() - 4, where.Height() - kButtonHeight - 4}, this,
            {kCell, kCell, false}),
      m_Up({2, where.Height() - kButtonHeight - 2, 18, where.Height() - 2}, this, kIdUp),
      m_Down({19, where.Height() - kButtonHeight - 2, 35, where.Height() - 2}, this, kIdDown) {
    m_rcWindow = where;
    m_Up.SetText("-");
    m_Down.SetText("+");
    const int w = where.Width(), h = where.Height();
    if (mode == kModeContainer) {
        m_pClose = std::make_unique<CDDButton>(
            qv::Rect{w - 58, h - kButtonHeight - 2, w - 4, h - 2}, this, kIdClose);
        m_pClose->SetText("Close");
    } else {
        m_pEquip = std::make_unique<CDDButton>(
            qv::Rect{w - 52, h - kButtonHeight - 2, w - 2, h - 2}, this, kIdEquip);
        m_pEquip->SetText("Equip");
    }
    m_Box.m_Items = [this] { return ShownItems(); };
    m_Box.m_Accept = [this](Object* o) { return Accepts(o); };
    m_Box.m_Insert = [this](Object* o) { return Brings(o); };
}

CInventory::~CInventory() = default;

void CInventory::SetPlayer(Player* creature, int force) {
    if (creature == m_pPlayer.Get() && !force) return;
    m_pPlayer = creature;
    m_Shows = Shows::Bag;
    m_Box.m_iFirst = 0;
}

void CInventory::ShowObjectContents(Object* object) {
    m_pShown = object;
    m_Shows = Shows::Bag;
    m_Box.m_iFirst = 0;
}

void CInventory::OpenContainer(Object* object) {
    ShowObjectContents(object);
}

void CInventory::ShowUsable() {
    m_Shows = Shows::Usable;
    m_Box.m_iFirst = 0;
}

void CInventory::ShowSpellBook(int school) {
    m_Shows = Shows::SpellBook;
    m_iSchool = school;
    m_Box.m_iFirst = 0;
}

CBag* CInventory::GetShownBag() const {
    if (m_iMode == kModeContainer) {
        // A bag itself, a creature's (a corpse's) bag, or a container's.
        Object* shown = m_pShown.Get();
        if (CBag* bag = AsBag(shown)) return bag;
        if (auto* creature = qv::DynamicCast<Player>(shown)) return creature->m_pBag.get();
        if (auto* container = qv::DynamicCast<Container>(shown)) return container->GetBag();
        return nullptr;
    }
    Player* p = m_pPlayer.Get();
    return p ? p->m_pBag.get() : nullptr;
}

std::vector<Object*> CInventory::ShownItems() const {
    std::vector<Object*> list;
    Player* p = m_pPlayer.Get();
    switch (m_iMode == kModeContainer ? Shows::Bag : m_Shows) {
        case Shows::Bag:
            return Entries(GetShownBag());
        case Shows::Usable:
            if (p)
                for (const auto& h : p->m_UsableList)
                    if (Object* o = h.Get()) list.push_back(o);
            return list;
        case Shows::SpellBook:
            // The known spells of the school, read as they are.
            if (p && p->m_pMagic)
                for (const auto& spell : p->m_pMagic->m_SpellList)
                    if (spell->GetSchool() == m_iSchool) list.push_back(spell.get());
            return list;
    }
    return list;
}

std::string CInventory::Title() const {
    if (m_iMode == kModeContainer) {
        Object* shown = m_pShown.Get();
        return shown && shown->Type() != BAG ? shown->GetDisplayName() : std::string("Contents");
    }
    Player* p = m_pPlayer.Get();
    if (!p) return "";
    switch (m_Shows) {
        case Shows::Usable:
            return "Items";
        case Shows::SpellBook:
            return SchoolName(m_iSchool);
        default:
            return p->GetDisplayName();
    }
}

bool CInventory::Accepts(Object* object) const {
    Player* p = m_pPlayer.Get();
    CBag* shown = GetShownBag();
    if (!object || !shown || m_Shows != Shows::Bag) return false;
    if (shown->Contains(object)) return false;  // already here
    if (m_iMode == kModeContainer) return p && p->Owns(object);
    if (!p) return false;
    // From the open container, or off the body into the bag.
    CBag* open = AsBag(m_Play.Interacting().ShownContainer().Get());
    return (open && open->Contains(object)) || IsInUse(*p, object);
}

int CInventory::Brings(Object* object) const {
    Player* p = m_pPlayer.Get();
    if (!p) return 0;
    if (m_iMode == kModeContainer) {
        Order put = ItemOrder(Order::Kind::PutIn, p, object);
        put.into = GetShownBag();
        return RoomToDrop(m_Play, GetShownBag(), object) ? m_Play.Give(put) : 0;
    }
    if (IsInUse(*p, object)) return m_Play.Give(ItemOrder(Order::Kind::Unequip, p, object));
    // A stack asks how many: the rest stays in the container.
    if (!RoomToDrop(m_Play, GetShownBag(), object)) return 0;
    return m_Play.Give(ItemOrder(Order::Kind::Take, p, object)) > 0 ? 1 : 0;
}

void CInventory::Paint(qv::Surface* surface) {
    if (!surface) return;
    CDDWnd::Paint(surface);
    const qv::Rect title{m_rcWindow.left + 4, m_rcWindow.top + 1, m_rcWindow.right - 4,
                         m_rcWindow.top + kTitleHeight};
    DrawGameText(surface, {title.left, title.top}, Title(), kColourTextDim, title);
    // The scroll buttons show only while there is more than fits.
    const int count = static_cast<int>(ShownItems().size());
    m_Up.m_bVisible = m_Down.m_bVisible = count > m_Box.Cells();
    PaintControls(surface);
}

void CInventory::OnCommand(int id) {
    switch (id) {
        case kIdUp:
            m_Box.Scroll(-1);
            break;
        case kIdDown:
            m_Box.Scroll(1);
            break;
        case kIdClose:
            if (m_OnClose) m_OnClose();
            break;
        case kIdEquip:
            if (m_OnEquip) m_OnEquip();
            break;
        default:
            break;
    }
}

void CInventory::OnKeyDown(int vk) {
    if (vk == qv::VK_ESCAPE && m_OnClose) m_OnClose();
}

// ---- The equipment window

CEquipWnd::CEquipWnd(Play& play, Player* creature)
    : CDDWnd(nullptr, InPlay{}),
      m_Play(play),
      m_pPlayer(creature),
      m_Box({6, 22, kPlace.Width() - 6, kPlace.Height() - 46}, this, {0, 26, true}),
      m_Close({kPlace.Width() - 66, kPlace.Height() - 24, kPlace.Width() - 6, kPlace.Height() - 4},
              this, kIdClose) {
    m_rcWindow = kPlace;
    m_Close.SetText("Close");
    m_Box.m_Items = [this] {
        std::vector<Object*> list;
        if (Player* p = m_pPlayer.Get())
            for (const auto& u : p->m_InUseList) list.push_back(u.get());
        return list;
    };
    m_Box.m_Accept = [this](Object* o) {
        Player* p = m_pPlayer.Get();
        return p && p->Owns(o) && !IsInUse(*p, o);
    };
    m_Box.m_Insert = [this](Object* o) {
        return m_Play.Give(ItemOrder(Order::Kind::Equip, m_pPlayer.Get(), o));
    };
}

CEquipWnd::~CEquipWnd() = default;

void CEquipWnd::Paint(qv::Surface* surface) {
    if (!surface) return;
    CDDWnd::Paint(surface);
    Player* p = m_pPlayer.Get();
    const qv::Rect r = m_rcWindow;
    const qv::Rect title{r.left + 6, r.top + 3, r.right - 6, r.top + 20};
    DrawGameText(surface, {title.left, title.top},
                 p ? "In use: " + p->GetDisplayName() : std::string("In use"), kColourTextDim,
                 title);
    if (p) {
        // The weight carried and the pace it leaves, where the buttons are.
        const qv::Rect line{r.left + 6, r.bottom - 22, r.right - 70, r.bottom - 4};
        DrawGameText(surface, {line.left, line.top},
                     qv::Format("Load %d  Speed %d", p->m_iLoad, p->m_iLoadedSpeed), kColourText,
                     line);
    }
    PaintControls(surface);
}

void CEquipWnd::OnCommand(int id) {
    if (id == kIdClose && m_OnClose) m_OnClose();
}

void CEquipWnd::OnKeyDown(int vk) {
    if (vk == qv::VK_ESCAPE && m_OnClose) m_OnClose();
}
