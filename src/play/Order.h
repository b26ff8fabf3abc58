#pragma once
// An order: one thing the player asks of play. Input, the in-game windows and
// the editor make orders, hand them to Play (Play::Give), and Play carries
// each out at once, so that nothing above play edits a creature or a
// placed object itself. Orders handed between two ticks come before the
// world's step of the second; the orders of a game, each with the tick it was
// given in, are a recording that plays the game again.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/Handle.h"
#include "world/ObjectHolder.h"

class Object;
class Player;

// A thing of the world named by numbers that mean the same thing in every
// game played from the same start with the same orders, so that an order can
// be written to a file and given again in another run (play/OrderNumbers.h
// names and finds them).
struct OrderName {
    enum class By : uint8_t {
        None,      // nothing
        Creature,  // the creature of number n[0] (an index of the world's creatures, or
                   // a negative member id of the random encounters); a placed thing
                   // named so is the creature's holder
        Placed,    // the holder at the world point (n[0], n[1], n[2]), the n[3]th of the
                   // holders at that point in its window cell's list; a thing named so
                   // is the holder's object
        Carried,   // in creature n[0]'s list n[1] (kBag, kInUse, kSpells) the n[2]th
                   // (-1: the creature's bag itself); n[3] 0 or more: the n[3]th thing
                   // in the bag found there
        Stored,    // in the bag of the container placed as Placed names it (n[0] to
                   // n[3]) the n[4]th thing (-1: the bag itself)
        Entry,     // the n[1]th entry of the store of id n[0]
    };
    static constexpr int32_t kBag = 0;     // a Carried thing's list: the creature's bag
    static constexpr int32_t kInUse = 1;   // the things it uses
    static constexpr int32_t kSpells = 2;  // the spells it knows
    static constexpr size_t kNumbers = 5;

    By by = By::None;
    std::array<int32_t, kNumbers> n{};

    bool operator==(const OrderName&) const = default;
};

// A thing an order is about. Where the order is made, in the game that gives
// it, the thing is `given` by handle; an order kept in a recording or read
// from a file has only the thing's numbers (`name`), which Play::Give finds
// again before the order is carried out.
template <class T>
struct OrderThing {
    OrderThing() = default;
    OrderThing(T* thing) : given(thing) {}
    OrderThing& operator=(T* thing) {
        given = thing;
        name = {};
        return *this;
    }
    T* Get() const { return given.Get(); }
    // Something is named: by handle (while it lives) or by numbers.
    explicit operator bool() const { return given || name.by != OrderName::By::None; }

    qv::Handle<T> given;
    OrderName name;
};

struct Order {
    enum class Kind : uint8_t {
        None,
        // ---- A creature and what it heads for. The actor is the controlled
        // member unless one is named.
        WalkTo,      // walk to the bare point `point`
        Interact,    // go to the placed `target` and do what it calls for
        Target,      // take `target` as the one to go to, without setting out yet
        Attack,      // fight the creature of `target` (from where it stands with a bow)
        UseOn,       // the use that waits for a target is made on `target`
        LeadTo,      // the leader walks toward `point` (the held button); no point: it stops
        View,        // the view\'s focus moves to `point` (the editor\'s scroll without a leader)
        Stop,        // the party stops where it stands; `value` set: the Shift flags are set
        ShiftFlags,  // the party's two Shift flags become `value`
        EndWalk,     // the walk after a held button is over: the leader's pace is worked out again
        Select,      // the party member of slot `value` (or `actor`) becomes the controlled one
        // ---- Things
        Take,         // the actor goes to the placed thing `target` and takes it into its bag
        Drop,         // `object` is put down at `point` (Play::DropObject); Give answers 1
                      // for a part of a stack placed, 2 when `object` itself went to the
                      // map, 3 when all of a stack went (the empty stack is the caller's)
        Give,         // the actor gives `object` to the creature of `target`
        Equip,        // the actor takes `object` into use
        Unequip,      // the actor takes `object` out of use, into its bag
        PutIn,        // the actor puts `object` into the bag `into` (its own, one inside it,
                      // or the open container's)
        Open,         // the actor opens the container of `target` (`value` 3 turns its lock)
        Rest,         // the actor rests the party in the bed of `target`
        Cast,         // the actor casts the spell `object` at `target`
        PickForUse,   // the actor picks `object` (a thing it holds or a spell it knows) for
                      // use: one that acts on a target waits for the click that picks it
        Stance,       // the actor's fighting choice `value` (Play::CombatChoiceKind) becomes
                      // `mode` (kToggle flips the stand-fast switch)
        EndEffect,    // the actor's lasting spells that the party panel's effect icon `value`
                      // shows end (Play::EndShownEffect)
        Talk,         // the actor goes to the creature of `target` and talks with it
        Trade,        // the leader trades with the store of id `value` (window mode `mode`)
        Place,        // the wall piece `object` is put on the cell under `point`
        Move,         // the placed `target` moves to `point`
        Delete,       // the placed `target` goes, with its object (never a creature)
        SetProperty,  // the property `name` of `object` (else `target`'s object) becomes
                      // `value` (or `text` for a name), as Play::SetProperty
        Edit,         // the editor's sheet of `target`'s object opens
        // ---- The editor's changes to what holds things
        AddItem,     // the new `object` (the caller's) goes into `into`: a container's bag,
                     // a creature's bag, a monster generator's templates or a land's random
                     // encounters; 1 when it is theirs now
        DeleteItem,  // `object` leaves `into` (as AddItem) and is deleted
        AddKey,      // `object` answers to key number `value` (`text` names a new record)
        RemoveKey,   // `object` leaves every key record and carries no key number
        RemoveLand,  // the land of file `text` leaves the land tree and the map
        Carry,       // the mouse carries the placed `target` (none: the carry ends)
        Bring,       // the placed `target`'s object leaves the map for the bag `into` (a list
                     // window's, as the editor's drag drops it there); never a creature
        // ---- Play itself
        Pause,         // `value` 1 pauses, 0 ends the pause, kToggle flips it (not while picking)
        HoldGround,    // the hold-ground switch flips
        Invulnerable,  // the party's invulnerable switch flips
        DebugView,     // invisible creatures are seen: `value` 1 on, 0 off, kToggle flips
        Combat,        // the party's combat flag becomes `value`
        SelectMode,    // the click mode that picks a target becomes `value`
        CancelTarget,  // the target selection ends: its pending use goes, the pause ends
        QuickSave,     // the game goes into the quick-save slot
        Travel,        // the party travels to the centre of cell `point` (in cells)
        SetTime,       // the editor sets the clock to hour `value` (0 to 23) and minute
                       // `mode` (0 to 55)
        TabTarget,     // Tab picks the target while `value` is 1: the hover holder stays
        NewCharacter,  // the attribute `name` of the character chosen for a new game
                       // becomes `value` (or `text` for a name), as Play::SetNewCharacter
        NewGame,       // a new game from the start world, with the character chosen
        Save,          // the game goes into the save slot of index `value`, described `text`
        InputLock,     // input is ignored while `value` is 1
        OptionsShown,  // the options window has had its first showing (`value` 1) or not
        EndPlay,       // the frame that shows play goes: no more ticks, the carry ends
        Editing,       // the editor's build-mode check becomes `value`
        LoadWorld,     // the editor reads the world it works on, chosen by a file dialog,
                       // without a party and without asking
        ScriptedMove,  // the editor changes the scripted moves of the creature `object`:
                       // `mode` as Editing::ScriptedMoveChange, on move `value`, to cell `point`
        LearnSpell,    // the creature `object` learns the spell at index `value` of the
                       // catalogue's spell list (none it knows already)
        ForgetSpell,   // the creature `object` forgets its known spell at index `value`
        Shut,          // the window of the container play opened (Open) closes
        Record,        // `value` 1: play keeps every later order in its own recording
                       // (Play::Recorded); 0: it stops (the Record order is never kept)
        // ---- Trading with the store numbered `value`
        Buy,   // the actor buys one of the store's entry `object`
        Sell,  // the actor sells one of `object`, from its bag, to the store
        // (Sell stays the last kind: kKinds counts up to it.)
    };
    // How many kinds there are: Play's table has a handler for each.
    static constexpr size_t kKinds = static_cast<size_t>(Kind::Sell) + 1;

    static constexpr int32_t kToggle = -1;  // a Pause order's value that flips it

    Kind kind = Kind::None;
    OrderThing<Player> actor;         // who carries it out; none: the controlled member
    OrderThing<ObjectHolder> target;  // the placed thing it is about
    OrderThing<Object> object;        // the thing taken, dropped, used, placed or cast
    OrderThing<Object> into;          // the bag a thing is put into
    Position point;                   // where (world pixels; cells for Travel)
    bool hasPoint = false;            // `point` is given
    int32_t value = 0;                // how many, which slot, on or off, a value
    int32_t mode = 0;                 // a second number: a trading window's mode
    std::string name;                 // a property's name
    std::string text;                 // a property's text (a name, a picture's file)

    static Order Of(Kind kind) {
        Order o;
        o.kind = kind;
        return o;
    }
    static Order At(Kind kind, const Position& p) {
        Order o = Of(kind);
        o.point = p;
        o.hasPoint = true;
        return o;
    }
    static Order On(Kind kind, ObjectHolder* target) {
        Order o = Of(kind);
        o.target = target;
        return o;
    }
    static Order With(Kind kind, int32_t value) {
        Order o = Of(kind);
        o.value = value;
        return o;
    }
};

// An order with the tick it was handed in (Play::m_iTickCount at the time).
struct TimedOrder {
    uint32_t tick = 0;
    Order order;
};
