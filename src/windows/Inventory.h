#pragma once
// The inventory window and the equipment window.
//
// CInventory shows a list of things as a grid of pictures: the bag of the
// creature it follows, that creature's usable things or one of its spell
// books (the control panel's pages), or, in its second mode, the bag of a
// container or a corpse, beside the party's own. CEquipWnd lists what the
// creature has in use. Neither changes what it shows: a thing brought in
// becomes an order for play (take, put in, equip, take off). Both hold what
// they show by handle: a creature or a bag that goes shows nothing.

#include <functional>
#include <memory>

#include "creatures/Player.h"
#include "media/DDWnd.h"
#include "platform/Handle.h"
#include "windows/ListDragBox.h"

class CBag;
class Object;
class Play;
class Player;

class CInventory : public CDDWnd {
public:
    static constexpr int kModeParty = 0;      // the party's own, in the control panel
    static constexpr int kModeContainer = 1;  // a container's or a corpse's bag
    // What the window shows of its creature.
    enum class Shows { Bag, Usable, SpellBook };
    static constexpr int kIdUp = 1, kIdDown = 2, kIdClose = 3, kIdEquip = 4;

    CInventory(int mode, Play& play, const qv::Rect& where);
    ~CInventory() override;

    // Follows a creature: its bag. `force` shows the bag again even when
    // the window showed that creature's already (the first page).
    void SetPlayer(Player* creature, int force);
    // Shows another object's bag (a container, a corpse, a bag itself).
    void ShowObjectContents(Object* object);
    // The second window's way in: the container's bag, from its top.
    void OpenContainer(Object* object);
    // The creature's usable things (the item list) or a spell book.
    void ShowUsable();
    void ShowSpellBook(int school);
    // The pictures the windows share are the things' own class pictures:
    // nothing is kept, so nothing is to be let go.
    static void FreeImages() {}

    int GetMode() const { return m_iMode; }
    Shows GetShows() const { return m_Shows; }
    int GetSchool() const { return m_iSchool; }
    Player* GetPlayer() const { return m_pPlayer.Get(); }
    // The bag shown (the creature's, or the container's); null when it went.
    // The second window's object (null when it went).
    Object* GetShown() const { return m_pShown.Get(); }
    CBag* GetShownBag() const;
    CListDragBox& Box() { return m_Box; }
    // The second window's Close button and the first's Equip button (null
    // in the other mode).
    const CDDButton* CloseButton() const { return m_pClose.get(); }
    const CDDButton* EquipButton() const { return m_pEquip.get(); }
    // The scroll buttons, shown only while there is more than fits.
    const CDDButton& UpButton() const { return m_Up; }
    const CDDButton& DownButton() const { return m_Down; }
    // The title line: whose bag, or which book.
    std::string Title() const;

    // What the second window's buttons ask of its owner.
    std::function<void()> m_OnClose;
    std::function<void()> m_OnEquip;

    void Paint(qv::Surface* surface) override;
    void OnCommand(int id) override;
    void OnKeyDown(int vk) override;

private:
    std::vector<Object*> ShownItems() const;
    bool Accepts(Object* object) const;
    int Brings(Object* object) const;

    Play& m_Play;
    int m_iMode;
    Shows m_Shows = Shows::Bag;
    int m_iSchool = 0;
    qv::Handle<Player> m_pPlayer;
    qv::Handle<Object> m_pShown;  // what the second window shows the bag of
    CListDragBox m_Box;
    CDDButton m_Up, m_Down;
    std::unique_ptr<CDDButton> m_pClose, m_pEquip;
};

class CEquipWnd : public CDDWnd {
public:
    static constexpr int kIdClose = 1;
    static constexpr qv::Rect kPlace{20, 40, 256, 300};

    CEquipWnd(Play& play, Player* creature);
    ~CEquipWnd() override;
    void SetPlayer(Player* creature) { m_pPlayer = creature; }
    Player* GetPlayer() const { return m_pPlayer.Get(); }
    CListDragBox& Box() { return m_Box; }
    static void FreeImages() {}

    std::function<void()> m_OnClose;

    void Paint(qv::Surface* surface) override;
    void OnCommand(int id) override;
    void OnKeyDown(int vk) override;

private:
    Play& m_Play;
    qv::Handle<Player> m_pPlayer;
    CListDragBox m_Box;
    CDDButton m_Close;
};
