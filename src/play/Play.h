#pragma once
// Play: the rules of play and their state, between the game's objects and the
// windows. The main frame owns one beside its World; a test or a replay makes a
// World and a Play of its own and gives it orders, with no window at all.
//
// Play runs the world's tick (Tick: orders before it, then time, the pending
// moves, the groups, the spells in effect, what flies, the area's light and
// music and the explored cells; the drawing after it only reads), and keeps
// what a creature does on arriving at its target, taking, dropping and
// placing, containers, stores, the use that waits for a target and the click
// mode that picks it, the pending moves to other worlds and lands, the party
// and its formation and combat flag, the world file and the saved games.
// Input, the windows and the editor only make orders (Order.h);
// the questions to the player go through AskPlayer, and what the screen does
// at its points of a tick through PlayShell.

#include <array>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "items/Container.h"
#include "items/Store.h"
#include "items/TargetChoice.h"
#include "platform/Handle.h"
#include "platform/Persistent.h"
#include "play/AskPlayer.h"
#include "play/Conversations.h"
#include "play/Editing.h"
#include "play/Interaction.h"
#include "play/Order.h"
#include "play/Party.h"
#include "play/PlayShell.h"
#include "play/SavedGames.h"
#include "play/Trading.h"
#include "play/Travel.h"
#include "world/ObjectHolder.h"
#include "world/WorldRules.h"

namespace qv {
class Archive;
class ArchiveError;
class FileError;
}  // namespace qv
class Group;
class Land;
class LandInfo;
class MapMaster;
class Member;
class MonsterGenerator;
class Object;
class Player;
struct PlayerPropertyPages;
class RandomEncounter;
class World;

class Play : public WorldRules, public InventoryWindows {
public:
    // Becomes the rules of `world` (World::m_pRules) and gives it the path
    // finder, until it goes.
    explicit Play(World& world);
    ~Play() override;
    Play(const Play&) = delete;
    Play& operator=(const Play&) = delete;

    // The world played (the frame's, or a test's).
    World& m_World;
    // Who answers the questions to the player; null: HeadlessAsk.
    AskPlayer* m_pAsk = nullptr;
    AskPlayer& Ask();
    // The shell that shows the world; null: play goes on unseen.
    PlayShell* m_pShell = nullptr;
    PlayShell& Shell() const;
    // The layers above put in place what play asks of them, and take it away
    // again (null) before they go: the player's answers and the shell; the
    // editor's dialogs (EditorHooks); the conversation, book and trading
    // windows (InstallWindows).
    void Attach(AskPlayer* ask, PlayShell* shell);
    using EditorHooks = Editing::EditorHooks;
    void InstallEditor(EditorHooks hooks) { m_Editing.Install(std::move(hooks)); }
    void InstallWindows(std::function<void(Player*, Player*, const std::string&)> conversation,
                        std::function<void(Object&)> book,
                        std::function<void(Store&, int32_t)> trade);

    // ---- Orders (Play.cpp)
    // Carries the order out at once; answers as the operation it stands for
    // (InteractWith for an interaction, 1 for a drop or a placing that was
    // made), 0 for an order with nothing to do. While m_pRecording is set,
    // each order is kept there with the tick it was given in.
    int Give(const Order& order);
    std::vector<TimedOrder>* m_pRecording = nullptr;
    // What the Record order has kept so far.
    const std::vector<TimedOrder>& Recorded() const { return m_Recorded; }
    // The clock's range as the editor sets it (SetTime).
    static constexpr int32_t kLastHour = 23;
    static constexpr int32_t kLastSetMinute = 55;
    uint32_t m_iTickCount = 0;  // ticks run since play began

    // ---- What the world's objects ask (WorldRules)
    // A creature's turn asks what it does about its target: InteractWith,
    // except that arriving at a thing is only reported (answered 1); what it
    // calls for is carried out after the groups' turns (ApplyArrivals).
    int Approach(Player* creature, int flag) override;
    // A talk event's conversation, and one that waits for the end of the
    // groups' turns (Conversations).
    bool OpenConversation(Player* speaker, const std::string& node) override;
    void AskConversation(Player* listener, Player* speaker) override {
        m_Talk.AskConversation(listener, speaker);
    }
    // The screen's scroll ends for a creature that comes over to talk.
    void TalkerComes() override { Shell().TalkerComes(); }
    std::string GameFolder() const override { return m_Saves.GameFolder(); }
    int IsEditing() const override { return m_Editing.IsEditing(); }
    // The editor's dialog on an object, when the editor installed one.
    int EditObject(Object& object) override { return m_Editing.EditObject(object); }

    // ---- The tick (PlayTick.cpp)
    // The game time of one tick, fast time's factor, the pause bank's cap and
    // how often the music is chosen again.
    static constexpr int32_t kNormalTickStep = 100;
    static constexpr int32_t kFastTimeFactor = 10;
    static constexpr int32_t kPauseBankMax = 13000;
    static constexpr int32_t kMusicInterval = 5000;
    // One tick of `step` game time, in its one order: running, the pause bank
    // grows, game time, the clock and the hour's light move on; paused, the
    // bank shrinks (an empty bank ends the pause) and the world stands still.
    // Then the pending world change, land move and refresh, the start of
    // play on the first tick, the shell's orders of the tick, the world's
    // step (RunWorld) and the light and explored cells around the focus.
    // Answers whether the world took its step, after which the shell draws.
    bool Tick(int32_t step);
    // The tick after its time, at the game time *now: the pending moves, the
    // start of play, the shell's orders, the world's step, the light.
    bool UpdateTick(int32_t* now);
    // The world's step at the game time *now: the spells in effect, the
    // groups, what arrived at its target, what flies, and the land under the
    // focus.
    void RunWorld(int32_t* now);
    // The map's light for the focus at the game time, and the cells around
    // the focus explored: what the drawing reads.
    void LightAndExplore();
    // Flips the pause (not while a target is being picked).
    void TogglePause();
    // Play has started: the first tick set it up (m_iStartState 0).
    bool IsStarted() const { return m_iStartState == 0; }
    // A running monster generator's fight: reset it when a party member
    // falls, and test every tick whether it is over.
    void ResetGeneratorFight(Group* group);
    void CheckGeneratorFight(Group* group);
    // The monster generators' turn: the first placed generator within reach
    // of the leader fires with the leader as the creature that set it off.
    // 1 when one fired, else 0.
    int SetOffGenerators();
    // How near, in the map's creature spacing (dx * dx + dy * dy / 2), the
    // leader comes to a generator before it fires.
    static constexpr int32_t kGeneratorReach = 480;
    // The generator whose fight is running (the world keeps it by handle).
    MonsterGenerator* ActiveGenerator() const;

    // ---- The party (PlayParty.cpp)
    static constexpr int kPartySlots = Party::kSlots;
    // The actors of the start world's character and its dog, whose display
    // names stand in for a new character's names left empty.
    static constexpr int kPlayerActor = 234;
    static constexpr int kDogActor = 235;
    // Sets or clears both Shift flags of every party member.
    void SetPartyShiftFlags(int on);
    // The creature becomes the controlled one (null keeps the one there is).
    void SetControlPlayer(Player* creature);
    Player* GetPartyMember(const int32_t* slot) const;
    // The party to the centre of a cell, in rows of three 20 pixels apart.
    void TravelTo(qv::Point cell);
    // The leader goes on alone; the others wait, held, in the kept-aside group.
    void MakeGroup();
    // The kept-aside members rejoin the leader's group; each takes the next
    // free party slot of 1 to 5, and those beyond rejoin without a slot.
    void ReGroup();
    // Takes a member's placement off the map and deletes it; the member stays.
    void TakeHolderOffMap(Member* member);
    // Where the n-th member placed around `focus` stands: three to a row,
    // 20 pixels apart, from 10 pixels right of and below it.
    static Position PartySpot(qv::Point focus, int32_t n);
    // The character chosen for a new game, given to the party at its first
    // move (MoveToLand): its attributes by the names a NewCharacter order
    // takes, each set as it is (`value`, or `text` for a name). 0 for a name
    // that is none of them.
    struct NewCharacterAttribute {
        static constexpr const char* kStrength = "Strength";
        static constexpr const char* kDexterity = "Dexterity";
        static constexpr const char* kIntelligence = "Intelligence";
        static constexpr const char* kPlayerName = "Player Name";
        static constexpr const char* kDogName = "Dog Name";
    };
    // The party's combat flag: the leader's group turns hostile or calm and
    // the land's music follows.
    void SetCombatMode(int on);
    // The flag follows the leader's group as it turns hostile or peaceful,
    // and goes down when the leader has no one left to fight and no one of
    // its group is hostile.
    void GroupTurnsHostile(Group* group, int32_t mode) override;
    void LeaderOutOfFight(Player* creature) override;
    // Carries a placed object with the mouse (the game stands still), or ends
    // the carry with null.
    void SetDragObject(ObjectHolder* holder);

    // ---- Moving between lands and worlds (PlayLand.cpp)
    // Puts the view and the party back in order after the map changed under
    // them: the window around the focus, the party read back from "players"
    // after a world was read or written, a new character's attributes and
    // names, the spells of the dead, the groups' leaders, the waiting events
    // and the formation. Leaves m_bPlacingParty and m_bLoadingGame clear and
    // the leader controlled.
    int MoveToLand();
    // Gives every creature of the group (nested groups too, in list order) a
    // new placement on the map; *counter counts the creatures placed. While
    // the party is placed (m_bPlacingParty) and not kept where it was stored,
    // creature n stands at the focus + ((n mod 3) * 20 + 10, (n div 3) * 20 + 10).
    int PlaceGroup(Group* group, int32_t* counter);
    // Takes the party to cell (x, y) of another world file of the working
    // folder; 0 (nothing done) without a leader or for a name that is not a
    // plain file name of the working folder.
    int GoToWorld(const std::string& worldFile, int32_t x, int32_t y);
    // The editor's ways to make and extend worlds. Their dialogs are the
    // editor's, reached through the choosers below that the editor installs
    // (a test installs its own); a missing chooser answers as a cancelled
    // dialog.
    // 1 when the land was added; 0, with a message and nothing written,
    // for a land whose rectangle lies outside the world or a file name that
    // is not a plain one.
    int AddLand(std::unique_ptr<Land> land, const std::string& fileName);
    int NewWorld();     // 1, or 2 when a dialog was cancelled (nothing changed)
    int OnLoadWorld();  // 1, or 2 when the file dialog was cancelled
    // The editor's save: the world's file name is asked in the start world's
    // folder and the world saved there as the start world (slot 0). 1 saved,
    // 2 cancelled ("Save Cancelled", nothing changed), 0 not saved (said).
    int OnSaveGame();
    int AskLandFileName(std::string& name);  // 1 when a name was chosen
    // ---- Interaction (PlayInteract.cpp)
    // What creature K does about the holder it heads for (its player set; with
    // K null, the hover candidate seen from the focus): 2 walk on, 1 done, 0
    // nothing done, -3 the world changed under the caller. A nonzero flag acts
    // without the distance test.
    int InteractWith(Player* creature, int flag);
    // Carries out what the creatures that arrived at their targets during the
    // groups' turns came for, in the order they arrived; kWorldChanged when
    // one of them changed the world (the rest are dropped), else 1.
    int ApplyArrivals();
    // Whether the straight line from the creature to `point` meets `target`
    // first, or nothing at all; never beyond `maxCellSq`, in the measure of
    // MapMaster::CellDistanceSq (squared pixels).
    int IsLineToTargetClear(Player* creature, MapMaster* map, ObjectHolder* target,
                            const Position& point, int64_t maxCellSq, int flag);
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
    int WarningBeeps() const { return m_iWarningBeeps; }
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
    // With `whole`, a stack is placed itself, all of it, asking nothing.
    DropResult DropObject(Object* object, const Position& w, bool whole = false);
    // Places a wall piece on the cell under world point q by its kind; null
    // when it cannot be placed (also for a plain wall of kind 0).
    ObjectHolder* PlaceObjectAt(Object* object, const Position& q);
    // Takes a holder out of every map cell that lists it; holder and object stay.
    void RemoveFromMap(ObjectHolder* holder);
    // The point a blocked drop at w walks toward: beside the wall that blocks,
    // else pulled toward its cell's centre.
    static Position DropTarget(const Position& w, ObjectHolder* obstacle);
    static constexpr int kDropPull = 10;  // pixels past the centre for a near miss

    // ---- Things a creature carries (PlayItems.cpp)
    // Each answers 1 when it was done and 0 when nothing changed.
    // The actor takes `object` from the open container into its bag (a stack
    // asks how many); -1 when the bag has no room for it. A placed thing is
    // taken on arriving at it (Act).
    int TakeFromContainer(Player* actor, Object* object);
    // `count` of a placed holder's object into the creature's bag: a part of
    // a stack is copied, the whole takes the holder off the map.
    int TakeFromMap(Player* creature, ObjectHolder* holder, int count);
    // The placed thing's holder leaves the map and goes; its object is the
    // caller's. ReturnToMap puts such an object down again where it lay, or,
    // when the map will not take it, deletes it.
    Object* LiftOffMap(ObjectHolder* holder);
    void ReturnToMap(Object* object, const Position& where);
    // Something the actor carries or has in use is put down at `w`; the
    // answers of the Drop order (1 part of a stack, 2 the thing itself, 3
    // the whole stack).
    int DropFrom(Player* actor, Object* object, const Position& w);
    // The actor hands `object` (or some of a stack) to `receiver`'s bag.
    int GiveTo(Player* actor, Object* object, Player* receiver);
    // The actor takes something it carries into use, taking off what stands
    // in its place; a thing it cannot use is refused with the reason told.
    // A book or a letter is read instead (ReadText).
    int Equip(Player* actor, Object* object);
    int Unequip(Player* actor, Object* object);
    // The actor moves `object` (carried, in use, or in the open container)
    // into the bag `into` (its own, one inside it, or the open container's).
    int PutIn(Player* actor, Object* object, Object* into);
    // The actor works the container of `target` as the inventory window does:
    // locked, it rattles; action 3 turns its lock; open, it is shown.
    int Open(Player* actor, ObjectHolder* target, int action);
    // The actor rests the party in the bed of `target` for the hours the
    // player chooses (10 offered).
    int Rest(Player* actor, ObjectHolder* target);
    static constexpr int kRestHoursOffered = 10;
    // The placed thing's object leaves the map for the bag `into` (1); 0,
    // with nothing changed, for a creature or a bag without room for it.
    int BringPlaced(ObjectHolder* holder, Object* into);

    // ---- What containers ask of the inventory window (InventoryWindows)
    bool IsInventoryOpen() override;
    void ShowContainer(CBag* bag) override;
    // ---- Magic and the uses that wait for a target (PlayMagic.cpp)
    // The actor casts a clone of its known spell `spell` at what `target`
    // holds (no target: at the actor itself); 1
    // when the cast took place (its roll may have failed), 0 when it did not
    // (a spell it does not know, a target the spell does not fit, too little
    // mana).
    int CastKnownSpell(Player* actor, Object* spell, ObjectHolder* target);
    // What a thing picked for use asks (WorldRules): the next click in
    // `selectMode` picks its target.
    void BeginTargetChoice(Object* item, Player* user, int selectMode, int pause,
                           const std::string& prompt) override;
    void EndUsePause() override;
    // The party travels to `cell` when a generator's reset sends it there.
    void SendPartyTo(qv::Point cell) override;

    // ---- Trading (PlayTrade.cpp)
    // The gold a creature carries: every coin of its bag and the bags inside,
    // held to the 32-bit figures of a purse.
    static int64_t GoldOf(const Player* creature);
    // The buyer takes one of the store's entry `item` into its bag and pays
    // the store's price for it; the seller hands one of `item` from its bag
    // to the store and is paid the store's offer. 1 when done; 0, with the
    // reason told and nothing changed, when the buyer has too little gold,
    // its bag has no room, the store cannot pay or does not want the thing.
    int Buy(Player* buyer, Store* store, Object* item);
    int Sell(Player* seller, Store* store, Object* item);

    // ---- What the party's windows ask (PlayPanels.cpp)
    // The actor picks something it holds or a spell it knows for use (the
    // magic page's click on a spell): what acts on a target waits for the
    // click that picks it (GetUsePrompt). 0 when nothing was begun: a dead
    // actor, a thing it neither holds nor knows, or one it cannot use now
    // (a spell beyond its mana).
    int PickForUse(Player* actor, Object* object);
    // The fighting choices the combat panel shows, one per button group.
    enum CombatChoiceKind : int32_t {
        kChoiceRangedMode = 0,    // 0 close combat only, 1 shoot only, 2 shoot from afar
        kChoiceStandFast = 1,     // 1: fighting outside a walk, it does not move
        kChoiceAttackMethod = 2,  // 0 defensive, 1 normal, 2 berserker
        // The "Combat Preferences" the party panel's combat button opens, a
        // group of their own:
        kChoiceModeOfCombat = 10,      // 0 attack while evading, 1 close combat
        kChoiceAttackWhom = 11,        // 0 weakest, 1 strongest, 2 nearest
        kChoiceAttackPreference = 12,  // 0 the evasive, 1 those in close combat, 2 anyone
    };
    // Whom a fighter can be told to attack: the weakest, the strongest or
    // the nearest. The dialog also offers "Attack Nearest to Another" and
    // "Attack Randomly", which no weapon knows how to choose by: refused.
    static constexpr int32_t kAttackWhomChoices = 3;
    static constexpr int32_t kModesOfCombat = 2;
    static constexpr int32_t kAttackPreferences = 3;
    static constexpr int32_t kRangedModes = 3;
    static constexpr int32_t kAttackMethods = 3;
    // A party member's choice `which` becomes `value`; Order::kToggle flips
    // the stand-fast switch. Shooting needs a ranged weapon in use. 1 when
    // the choice was taken, 0 when refused (nothing changed).
    int SetCombatChoice(Player* actor, int32_t which, int32_t value);
    // The row of effect icons under a member's button in the party panel:
    // Protect from Fire, Grounding, Invisibility (with the other spells of
    // its kind), and Shock or else Levitate; the last two show nothing.
    static constexpr int kEffectIcons = 6;
    // The kind of lasting spell (SpellEffectKind) icon `icon` shows on the
    // member now; 0 when it shows none.
    static int32_t EffectShown(const Player& member, int icon);
    // A click on a party member's icon: the lasting spells on the member of
    // the kind it shows end. 1 when any ended, 0 when none did or the icon
    // shows nothing.
    int EndShownEffect(Player* member, int icon);

    // ---- The windows that stop the world
    // Whether an in-game window that stops the world is up (the shell's
    // windows, a world change under way, the container play opened).
    bool IsPopupOpen(bool countContainer = true) const;

    // ---- State of play
    // 1 until the first tick sets up play, 0 while it runs, 2 while the
    // frame that shows it is going away.
    int m_iStartState = 1;
    int m_bPaused = 0;
    int32_t m_iPauseBudget = 0;  // pause time banked while running, 0 to kPauseBankMax
    int32_t m_iMusicTime = 0;    // game time since the music was last chosen
    // Input is ignored (a conversation, a scroll cancelled).
    bool IsInputLocked() const { return m_bInputLock != 0; }
    int m_bOptionsShown = 0;  // the options window has had its first showing

    // ---- The parts of play, each owning its state
    // The game folder, the saved games and the world file.
    SavedGames& Saves() { return m_Saves; }
    MapMaster* Map() const;
    // What the player's touches of the world have under way.
    Interaction& Interacting() { return m_Interaction; }
    const Interaction& Interacting() const { return m_Interaction; }
    // What the player chose for the party: formation, combat flag, the new
    // character.
    Party& PartyChoices() { return m_Party; }
    const Party& PartyChoices() const { return m_Party; }
    // The world's stores.
    Trading& Trade() { return m_Trading; }
    const Trading& Trade() const { return m_Trading; }
    // The moves between lands and worlds that wait for the next tick.
    Travel& Travelling() { return m_Travel; }
    const Travel& Travelling() const { return m_Travel; }
    const SavedGames& Saves() const { return m_Saves; }
    // The editor's build mode check, its dialogs and the changes it makes.
    Editing& Editor() { return m_Editing; }
    const Editing& Editor() const { return m_Editing; }
    // The conversation, book and trading windows, the conversation scripts
    // kept, and the rules that open them.
    Conversations& Talks() { return m_Talk; }
    const Conversations& Talks() const { return m_Talk; }
    // The names of the editor's requests and properties, kept beside play's.
    using FileDialogRequest = Editing::FileDialogRequest;
    using NewWorldRequest = Editing::NewWorldRequest;
    using Property = Editing::Property;
    using Limits = Editing::Limits;
    // Refuses a party read from "players" (qv::FileError naming it) whose
    // group number is out of range or that of another group of world `w`
    // than `givingWay`, the party it replaces.
    static void CheckPartyNumber(const World& w, const Group& party, const std::string& path,
                                 const Group* givingWay);

private:
    std::vector<TimedOrder> m_Recorded;  // the Record order's recording
    // ---- The orders' handlers, one a kind (Give's table, Play.cpp), each
    // defined with the rule it carries out. `actor` is the order's, else the
    // controlled member.
    using OrderHandler = int (Play::*)(const Order& order, Player* actor);
    static const std::array<OrderHandler, Order::kKinds>& OrderHandlers();
    int GiveNothing(const Order& order, Player* actor);
    // Play itself (Play.cpp)
    int GivePause(const Order& order, Player* actor);
    int GiveSelectMode(const Order& order, Player* actor);
    // The party (PlayParty.cpp)
    int GiveLeadTo(const Order& order, Player* actor);
    int GiveStop(const Order& order, Player* actor);
    int GiveShiftFlags(const Order& order, Player* actor);
    int GiveEndWalk(const Order& order, Player* actor);
    int GiveSelect(const Order& order, Player* actor);
    int GiveCarry(const Order& order, Player* actor);
    int GiveHoldGround(const Order& order, Player* actor);
    int GiveInvulnerable(const Order& order, Player* actor);
    int GiveDebugView(const Order& order, Player* actor);
    int GiveCombat(const Order& order, Player* actor);
    // Moving between lands (PlayLand.cpp)
    int GiveView(const Order& order, Player* actor);
    int GiveTravel(const Order& order, Player* actor);
    // Interaction (PlayInteract.cpp)
    int GiveWalkTo(const Order& order, Player* actor);
    int GiveInteract(const Order& order, Player* actor);
    int GiveUseOn(const Order& order, Player* actor);
    int GiveTarget(const Order& order, Player* actor);
    int GiveAttack(const Order& order, Player* actor);
    // Things (PlayItems.cpp)
    int GiveTake(const Order& order, Player* actor);
    int GiveDrop(const Order& order, Player* actor);
    int GiveGive(const Order& order, Player* actor);
    int GiveEquip(const Order& order, Player* actor);
    int GiveUnequip(const Order& order, Player* actor);
    int GivePutIn(const Order& order, Player* actor);
    int GiveOpen(const Order& order, Player* actor);
    int GiveRest(const Order& order, Player* actor);
    int GiveShut(const Order& order, Player* actor);
    int GiveRecord(const Order& order, Player* actor);
    // Magic and the party's windows (PlayMagic.cpp, PlayPanels.cpp)
    int GiveCast(const Order& order, Player* actor);
    int GiveCancelTarget(const Order& order, Player* actor);
    int GivePickForUse(const Order& order, Player* actor);
    int GiveStance(const Order& order, Player* actor);
    int GiveEndEffect(const Order& order, Player* actor);
    // Conversations and trading (PlayTalk.cpp, PlayTrade.cpp)
    int GiveTalk(const Order& order, Player* actor);
    int GiveTrade(const Order& order, Player* actor);
    int GiveBuy(const Order& order, Player* actor);
    int GiveSell(const Order& order, Player* actor);
    // Saved games (PlaySaves.cpp)
    int GiveQuickSave(const Order& order, Player* actor);
    // The editor's changes (PlayEdit.cpp)
    int GivePlace(const Order& order, Player* actor);
    int GiveMove(const Order& order, Player* actor);
    int GiveDelete(const Order& order, Player* actor);
    int GiveBring(const Order& order, Player* actor);
    int GiveEdit(const Order& order, Player* actor);
    int GiveSetProperty(const Order& order, Player* actor);
    int GiveAddItem(const Order& order, Player* actor);
    int GiveDeleteItem(const Order& order, Player* actor);
    int GiveAddKey(const Order& order, Player* actor);
    int GiveRemoveKey(const Order& order, Player* actor);
    int GiveRemoveLand(const Order& order, Player* actor);
    int GiveSetTime(const Order& order, Player* actor);
    int GiveScriptedMove(const Order& order, Player* actor);
    // The creature sheet's spells (PlayEditCreature.cpp)
    int GiveLearnSpell(const Order& order, Player* actor);
    int GiveForgetSpell(const Order& order, Player* actor);
    // Play itself and the party's switches (Play.cpp, PlayParty.cpp)
    int GiveTabTarget(const Order& order, Player* actor);
    int GiveNewCharacter(const Order& order, Player* actor);
    // A new game and the save window's save (PlaySaves.cpp)
    int GiveNewGame(const Order& order, Player* actor);
    int GiveSave(const Order& order, Player* actor);
    int GiveInputLock(const Order& order, Player* actor);
    int GiveOptionsShown(const Order& order, Player* actor);
    int GiveEndPlay(const Order& order, Player* actor);
    int GiveEditing(const Order& order, Player* actor);
    int GiveLoadWorld(const Order& order, Player* actor);

    // The first tick: play is set up around the focus.
    void StartPlay();
    // What a land move or a world read leaves behind goes: the carry, the
    // hovered holder.
    void AfterWorldChange();
    // The land under the focus: its light, its own update and its music.
    void UpdateArea(Land* land, int32_t now);
    // The party's combat flag takes `on` (ending the editor's build mode
    // check); then the leader's speed and the land's tune follow it.
    void TakeCombatFlag(int on);
    void FollowCombatFlag(Player& leader);
    int Interact(Player* creature, int flag, bool deferActing);
    // The holder places a creature (a group's member).
    static bool IsCreature(ObjectHolder* holder);
    // Meeting `creature` (null: the player's own click), `other` starts a
    // conversation rather than a fight.
    static bool HasSomethingToSay(const Player* creature, const Player* other);
    // What `creature` (null: the player's own click) does about the thing of
    // `holder` it touches: the acting steps of InteractWith.
    int Act(Player* creature, ObjectHolder* holder);
    void BringBackParty();
    void ReadPartyFromPlayers();
    void EndSpellsOfTheDead();
    void RunWaitingEvents();
    void PlaceMembers(Group* group, int32_t* counter, bool atFocus);
    int m_bRunningEvents = 0;  // a move made by an event leaves the walk to it
    int m_bInputLock = 0;
    int m_iWarningBeeps = 0;
    SavedGames m_Saves{*this};
    Interaction m_Interaction;
    Party m_Party;
    Trading m_Trading;
    Travel m_Travel;
    Editing m_Editing{*this};
    Conversations m_Talk{*this};
};
