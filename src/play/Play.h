#pragma once
// Play: the rules of play and their state, between the game's objects and the
// windows. The main frame owns one beside its World; a test makes a World and
// a Play of its own and gives it orders. What a creature does on arriving at
// its target, taking, dropping and giving, containers, stores, the use that
// waits for a target and the click mode that picks it, the pending moves to
// other worlds and lands, and the party's formation and combat flag live here.
// Input (and later the windows and the editor) only makes orders (Order.h) and
// hands them over; the questions to the player go through AskPlayer.

#include <cstdint>
#include <memory>

#include "platform/Handle.h"
#include "play/AskPlayer.h"
#include "play/Order.h"
#include "world/ObjectHolder.h"

class CDDWnd;
class MapMaster;
class Object;
class Player;
class World;

class Play {
public:
    explicit Play(World& world);
    ~Play();
    Play(const Play&) = delete;
    Play& operator=(const Play&) = delete;

    // The world played (the frame's, or a test's).
    World& m_World;
    // Who answers the questions to the player; null: HeadlessAsk.
    AskPlayer* m_pAsk = nullptr;
    AskPlayer& Ask();

    // ---- Orders (Play.cpp)
    // Carries the order out at once; answers as the operation it stands for
    // (InteractWith for an interaction, 1 for a drop or a placing that was
    // made), 0 for an order with nothing to do.
    int Give(const Order& order);

    // ---- The party (Play.cpp)
    // Sets or clears both Shift flags of every party member.
    void SetPartyShiftFlags(int on);
    // The creature becomes the controlled one (null keeps the one there is).
    void SetControlPlayer(Player* creature);

    // ---- Interaction (PlayInteract.cpp)
    // What creature K does about the holder it heads for (its player set; with
    // K null, the hover candidate seen from the focus): 2 walk on, 1 done, 0
    // nothing done, -3 the world changed under the caller. A nonzero flag acts
    // without the distance test.
    int InteractWith(Player* creature, int flag);
    // Whether the straight line from the creature to `point` meets `target`
    // first, or nothing at all; never beyond `maxCellSq`, in the measure of
    // MapMaster::CellDistanceSq (squared pixels).
    int IsLineToTargetClear(Player* creature, MapMaster* map, ObjectHolder* target,
                            const Position& point, int64_t maxCellSq, int flag);
    // Makes InteractWith the creatures' interaction (Player::s_interact).
    void InstallInteraction();
    // Drops the item or spell waiting for a target and its user: every way a
    // target selection is cancelled (Esc, the right button) calls it.
    void DropPendingUse();
    // The pending use belongs to K: K is its user, or no user is recorded and
    // K is the controlled member (or K is null, the player's own click).
    bool OwnsPendingUse(const Player* creature) const;
    // The container window over a looted corpse or an opened chest: what it
    // shows, while it is up. The world stands still while it is.
    void OpenContainer(Object* container);
    void CloseContainer();
    // The number the quantity window asks for: 0 to amount, starting at amount;
    // 0 when it is closed without confirming. m_bQuantityUp is set while it is up.
    int AskQuantity(int amount);
    // How many of a stack a creature takes into its bag: 1 for a single
    // object, else asked; -1 when its bag cannot hold it, 0 without a bag.
    int AskTakeAmount(Player* creature, Object* object);
    // Puts an object into a creature's bag (merged into a stack of its kind
    // when it stacks); false when there is no room, and the object is left to
    // the caller.
    static bool AddToBag(Player* creature, Object* object);
    // The warning beep of a drop that found no place, and of a pick-up that
    // a bag refuses.
    void WarningBeep() { ++m_iWarningBeeps; }
    static constexpr int kNearDistanceSq = 200;  // below: the target is near
    static constexpr int kNearLineSteps = 4;     // a near target must be met this soon
    static constexpr int64_t kCorpseSightCellSq = 10000;
    static constexpr int64_t kFightSightCellSq = 1000000;

    // ---- Placing and removing (PlayPlace.cpp)
    // A drop of `object` at the world point w. A stack is asked how many (a
    // single one is taken as it is) and a copy of that many is placed; only
    // when it was placed is the count taken off `object`, here, so a caller
    // never reduces its stack itself. Anything else is placed itself.
    struct DropResult {
        ObjectHolder* holder = nullptr;  // null: nothing was placed and nothing changed
        bool placedItself = false;       // `object` itself stands on the map now (the map owns it)
        bool stackEmptied = false;  // all of the stack went: `object` is the caller's to delete
        explicit operator bool() const { return holder != nullptr; }
    };
    DropResult DropObject(Object* object, const Position& w);
    // Places a wall piece on the cell under world point q by its kind; null
    // when it cannot be placed (also for a plain wall of kind 0).
    ObjectHolder* PlaceObjectAt(Object* object, const Position& q);
    // Takes a holder out of every map cell that lists it; holder and object stay.
    void RemoveFromMap(ObjectHolder* holder);
    // The point a blocked drop at w walks toward: beside the wall that blocks,
    // else pulled toward its cell's centre.
    static Position DropTarget(const Position& w, ObjectHolder* obstacle);
    static constexpr int kDropPull = 10;  // pixels past the centre for a near miss

    // ---- The windows that stop the world
    // The open in-game windows; a tick stands still while one of them is up.
    // The windows enter themselves here while they exist.
    struct OpenWindows {
        CDDWnd* m_pTalkWnd = nullptr;
        CDDWnd* m_pTradeWnd = nullptr;
        CDDWnd* m_pEquipmentWnd = nullptr;
        CDDWnd* m_pInventoryWnd = nullptr;
        CDDWnd* m_pPartyPanel = nullptr;
        int m_bStatsOpen = 0;
        int m_bInfoOpen = 0;
        int m_bContainerOpen = 0;
        CDDWnd* m_pContainerWnd = nullptr;
    } m_OpenWindows;
    // Whether an in-game window that stops the world is up.
    bool IsPopupOpen(bool countContainer = true) const;

    // ---- State
    int m_bEditing = 0;    // the editor's build mode check is on
    int m_bInputLock = 0;  // input is ignored (a conversation, a scroll cancelled)
    // Select modes: what the next click picks a target for.
    static constexpr int kSelectToken = 1;  // tokens and power cubes
    static constexpr int kSelectSpell = 2;  // a known spell
    int m_iSelectMode = 0;
    // An object whose use waits for a target, and the creature that uses it.
    qv::Handle<Object> m_pPendingItem;
    qv::Handle<Player> m_pPendingItemUser;
    qv::Handle<Object> m_pPendingWorld;   // stairs the next tick travels through
    qv::Handle<Object> m_pOpenContainer;  // what the container window shows
    int m_bQuantityUp = 0;                // the quantity window is up
    int m_iWarningBeeps = 0;

private:
    MapMaster* Map() const;
};
