#pragma once
// Interaction: the part of play that keeps what the player's touches of the
// world have under way. The click mode that picks a target and the use that
// waits for it, the placed thing the mouse carries, the container shown
// beside the inventory, the quantity window's flag, Tab's target, the
// creatures that arrived at their targets during the groups' turns and the
// conversations waiting for the end of those turns. Play owns one; the
// windows read it, and change it only through orders and the operations of
// play.

#include <string>
#include <vector>

#include "platform/Handle.h"
#include "world/ObjectHolder.h"

class Object;
class Player;

class Interaction {
public:
    // Select modes: what the next click picks a target for.
    static constexpr int kSelectToken = 1;  // tokens and power cubes
    static constexpr int kSelectSpell = 2;  // a known spell

    struct Arrival {
        qv::Handle<Player> creature;
        qv::Handle<ObjectHolder> target;
    };
    struct WaitingTalk {
        qv::Handle<Player> listener;
        qv::Handle<Player> speaker;
        std::string node;
    };

    // ---- What the windows read
    int SelectMode() const { return m_iSelectMode; }
    // An object whose use waits for a target, and the creature that uses it.
    const qv::Handle<Object>& PendingItem() const { return m_pPendingItem; }
    const qv::Handle<Player>& PendingItemUser() const { return m_pPendingItemUser; }
    // The placed object the mouse carries.
    const qv::Handle<ObjectHolder>& DragHolder() const { return m_pDragHolder; }
    // What the container window shows, and whether a container is open (its
    // window follows).
    const qv::Handle<Object>& ShownContainer() const { return m_pOpenContainer; }
    bool IsContainerOpen() const { return m_bContainerOpen != 0; }
    // An Open order works a container as the inventory window.
    bool IsOpeningContainer() const { return m_bOpeningContainer; }
    bool IsQuantityUp() const { return m_bQuantityUp != 0; }  // the quantity window is up
    bool IsTabTarget() const { return m_bTabTarget != 0; }    // Tab picks: the hover holder stays

    // ---- What play sets (and a test, setting up)
    void SetSelectMode(int mode) { m_iSelectMode = mode; }
    void SetPendingItem(Object* item);
    void SetPendingItemUser(Player* user);
    // Drops the item or spell waiting for a target and its user: every way a
    // target selection is cancelled (Esc, the right button) calls it.
    void DropPendingUse();
    void SetDragHolder(ObjectHolder* holder);
    // The container window over a looted corpse or an opened chest: what it
    // shows, while it is up; null shows nothing.
    void ShowContainer(Object* container);
    void CloseContainer() { ShowContainer(nullptr); }
    void SetContainerOpen(bool on) { m_bContainerOpen = on ? 1 : 0; }
    void SetOpeningContainer(bool on) { m_bOpeningContainer = on; }
    void SetQuantityUp(bool on) { m_bQuantityUp = on ? 1 : 0; }
    void SetTabTarget(bool on) { m_bTabTarget = on ? 1 : 0; }
    // Reported during the groups' turns, taken in their order once the turns
    // are over.
    void AddArrival(Player* creature, ObjectHolder* target);
    std::vector<Arrival> TakeArrivals();
    void AddWaitingTalk(Player* listener, Player* speaker, const std::string& node);
    std::vector<WaitingTalk> TakeWaitingTalks();

private:
    int m_iSelectMode = 0;
    qv::Handle<Object> m_pPendingItem;
    qv::Handle<Player> m_pPendingItemUser;
    qv::Handle<ObjectHolder> m_pDragHolder;
    qv::Handle<Object> m_pOpenContainer;
    int m_bContainerOpen = 0;
    bool m_bOpeningContainer = false;
    int m_bQuantityUp = 0;
    int m_bTabTarget = 0;
    std::vector<Arrival> m_Arrivals;
    std::vector<WaitingTalk> m_WaitingTalks;
};
