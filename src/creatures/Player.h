#pragma once
// The creature: every party member, dog, townsperson and monster is a Player
// or a species derived from it. A creature is a group member with abilities,
// experience and levels, alertness, the things it carries and uses, its magic,
// its conversation and combat settings, its animation state and its own queue
// of timed events, which its turn works through.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "creatures/AStar.h"
#include "creatures/LineRoute.h"
#include "creatures/PlayerEvents.h"
#include "creatures/PlayerMove.h"
#include "creatures/PlayerPropertyPages.h"
#include "items/Useable.h"
#include "platform/Geometry.h"
#include "platform/Handle.h"
#include "world/MapCreature.h"
#include "world/Member.h"
#include "world/ObjectHolder.h"

class CBag;
class CDSound;
class Magic;
class Spell;
class MapMaster;
class ObjectHolder;
class CreatureImageSet;
struct LookColours;
enum class StrikeWeapon : int32_t;

// Species numbers answered by Player::GetPlayerType (0 for a plain creature).
using PlayerType = int32_t;

// The editor's "Action Options".
struct ActionOption {
    static constexpr int32_t None = 0;
    static constexpr int32_t Attack = 1;
    static constexpr int32_t Talk = 2;
    static constexpr int32_t Nonstandard = 3;
};

// The life state: 1 or more alive, below 1 down or dead.
using LifeState = int16_t;

// The actions of a creature's picture that the turn itself names.
struct PlayerAction {
    static constexpr int32_t Move = 0;
    static constexpr int32_t Run = 2;
    static constexpr int32_t Stop = 3;
    static constexpr int32_t Figit = 4;
    static constexpr int32_t Dead = 12;
    static constexpr int32_t Count = 13;
};

class Player : public Member, public PlayerSetMember, public MapCreature {
    QV_DECLARE_CLASS(Player)
public:
    Player();
    ~Player() override;
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // ---- Object's operations
    void Serialize(qv::Archive& ar) override;
    int CanInteract() override { return m_bEthereal ? 0 : 1; }
    int CanBeUsedBy(Player* asker) override;
    int Update(int32_t now, MapMaster* context) override;
    Object* Clone() override;
    int Type() override { return PLAYER; }
    // Loses hit points after its protections (Damage.cpp); dies at none.
    void TakeDamage(int amount, int kind) override;
    // A row past the eight facings (from a file) becomes row 0.
    void SetImageFrame(int* x, int* y) override;
    // Only a real light source carried in hand lights the map; the weapon in
    // hand is answered by GetHeldItem.
    Object* GetLightSource() override;
    MapCreature* GetMapCreature() override { return this; }

    // ---- Member's operations
    double FindOpponents(Member* other) override;
    double GetMemberValue(int32_t) override { return 0.0; }
    void MemberNotify(int32_t) override {}
    int GetHitPoints() override { return m_iHitPoints; }
    int IsGroup() override { return 0; }
    double GetMemberTotal() override { return 0.0; }

    // ---- What the map's movement and light tests read
    int MapHitPoints() override { return m_iHitPoints; }
    int MapSpacingRadius() override { return m_iRadius; }
    int MapPartySlot() override { return m_iPartySlot; }
    Object* MapAttackTarget() override;
    bool MapIsRemoved() override { return m_bInactive != 0; }
    int MapSavedGroup() override { return m_iSavedGroupNum; }
    void MapTakeNumber() override { SetPlayerNumber(m_iPlayerNumber); }
    void MapKeepInLand(Object* land) override;
    void MapSetLightExposure(int exposure) override { m_iDrawLight = exposure; }
    Player* MapPlayer() override { return this; }
    qv::Handle<Player> MapHandle() override { return this; }
    int32_t MapActorNumber() override { return m_iPlayerNumber; }
    void MapSetActorNumber(int32_t number) override { m_iPlayerNumber = number; }
    void MapSetPartySlot(int32_t slot) override { m_iPartySlot = slot; }
    void MapMarkPartyLeader() override { m_bPartyLeader = 1; }
    int MapFacing() override { return m_sFacing; }
    void MapSetFollowPoint(qv::Point point) override { m_ptFollow = point; }
    bool MapUsingMagic() override { return IsUsingMagic(); }
    bool MapInvisible() override { return m_bInvisible != 0; }
    int32_t MapSpecies() override { return GetPlayerType(); }
    int MapEncounter(Player* other) override { return CheckEncounter(other); }
    bool MapMeetsOnlyWithin(qv::Rect& box) override;
    void MapTakeHostileMode(int32_t mode) override;
    void MapPatrol(qv::Point home, const std::vector<qv::Point>& cells) override;

    // ---- Its picture (PlayerDraw.cpp)
    int Draw(qv::Surface* surface, qv::Point screen, const qv::Rect& view, const Position& pos,
             int flags) override;
    // With a look, the image of its current action, taken from the class's
    // look each time so that it stays valid when the look is read again.
    CDDObject* GetImage() override;
    // Draws the plain body of a creature whose look cannot be read, facing
    // its way, with the map's light; the picture drawn, or null when its
    // place is outside the lit window (and then it is marked undrawn).
    const CDDObject* DrawFallbackLook(qv::Surface* surface, qv::Point screen, const qv::Rect& view,
                                      const Position& pos);

    // ---- The creature's own operations
    // Heads for `holder`: the wait count is cleared, the old set left, and the
    // holder's set joined unless the frame forbids joining or it is null.
    void JoinPlayerSet(ObjectHolder* holder);
    using PlayerSetMember::JoinPlayerSet;  // joining as it stands, told whether that is forbidden
    virtual int SetLevel(int32_t level);
    // The editor's creature sheet: the creature fills its pages and reads
    // them back; both answer 1.
    virtual int FillPropertyPages(PlayerPropertyPages& pages);
    virtual int ReadPropertyPages(const PlayerPropertyPages& pages);
    virtual const int32_t* SetSex(const int32_t* value);
    virtual int AddExperience(int32_t pool, double amount);
    virtual PlayerType GetPlayerType() { return 0; }
    virtual int HandleThinkEvent(int32_t time, MapMaster* context);
    virtual int Think(int32_t time, MapMaster* context);
    virtual int NPCTalk(qv::Point* next, int32_t* startTalk);
    virtual int HandleMoveEvent(int32_t time, int32_t x, int32_t y, MapMaster* context,
                                int32_t depth);
    virtual int ScheduleMove(int32_t time, int32_t x, int32_t y, int32_t delay);
    virtual int HandleReservedEvent(int32_t, Object*, MapMaster*) { return 1; }
    // The creature's decision in a fight (CombatDecisions.cpp): 1 when it
    // scheduled something, 0 when it has no opponents.
    virtual int Attack(int32_t time, MapMaster* context);
    // Walks up to its target, or strikes at it with the weapon in hand when
    // within reach and the line is clear (CombatStrikes.cpp): 0 without a
    // target, else 1.
    virtual int MeleeAttack(int32_t time, MapMaster* context);
    // Shoots at its target when the line is clear, else walks up: 0 without
    // a target, else 1.
    virtual int RangedAttack(int32_t time, MapMaster* context);
    // The ATTACK event: starts a strike or a shot at `target` with the weapon
    // `which` (StrikeWeapon) names; 1 when it started.
    virtual int StartAttack(int32_t time, Object* target, StrikeWeapon which);
    // The HIT event: the strike lands or misses; 1 for a hit.
    virtual int ResolveHit(Object* target, StrikeWeapon which);
    virtual int HandleSpecialEvent(int32_t, const int32_t*) { return 1; }
    // The load carried, the speeds and the armour, from what is worn and
    // carried and the speed spells.
    virtual int RecomputeLoad();
    // Turns the creature into a corpse (Damage.cpp): it leaves every
    // opponent, its spells end, what it had in use goes into its bag.
    virtual int Die();
    // Takes the creature out of play (0) or back in: out of play it leaves
    // every opponent (their queued strikes stay) and its lasting spells end.
    // 1 when it is now active.
    virtual int SetActive(int32_t flag);
    virtual int NotifyWeaponRemoved() { return 1; }
    virtual int PlaySound() { return 0; }
    virtual int PlaySecondSound() { return 1; }
    virtual int PlayThirdSound() { return 2; }
    // 1 / (the map's squared distance + 1) to a living creature, else 0.
    virtual double ProximityWeight(Player* other, MapMaster* map);
    virtual const int32_t* SetNPCNumber(const int32_t* value);
    virtual void ApplyBuildInfo() {}
    virtual const int16_t* SetFacing(const int16_t* facing);
    virtual int AdvanceFrame();
    virtual CreatureImageSet* GetClassImages() { return nullptr; }
    virtual void SetClassImages(CreatureImageSet*) {}
    // A creature's pictures come by its species' name; the object's own
    // overload stays reachable.
    using Object::LoadImages;
    virtual int LoadImages(const std::string& name);
    // The colours a recoloured look is drawn with; 0 when the creature has none.
    virtual int GetLookColours(LookColours*) { return 0; }
    // Casts the spell (which the call takes over) on the target: the caster
    // tires by 1, pays the mana when the cast takes place, succeeds by the
    // spell's chance and plays the cast's sound where it stands. 1 when the
    // cast took place (the roll succeeded or failed), 0 when it did not (not
    // enough mana, shown when `report` is set; an effect that found nothing
    // to work on). The spell is kept only while a list of spells in effect
    // holds it.
    virtual int CastSpell(std::unique_ptr<Spell> spell, Object* target, int32_t report);

    // ---- Non-virtual operations
    void CopyFrom(const Player& other);
    // The editor's changes to the list of scripted moves: a move to the cell
    // appended, the move at `index` sent to another cell, or deleted. 0 for
    // an index outside the list.
    void AddScriptedMove(int32_t cellX, int32_t cellY);
    int SetScriptedMove(size_t index, int32_t cellX, int32_t cellY);
    int DeleteScriptedMove(size_t index);
    // The highest number the world's player array takes in: a larger one is
    // kept but would make the array grow without bound.
    static constexpr int32_t kMaxPlayerNumber = 1000000;
    // How long after its first turn a creature made or read thinks first: its
    // number (its magnitude, for random encounters) modulo the step time of
    // that turn (ten times as long far from the view), so that a crowd made or
    // read at once thinks spread over a step, not all in one tick, the same
    // way in every run. A creature without a number (-1) thinks at once.
    static int32_t FirstThoughtDelay(int32_t number, int32_t stepTime);
    // Enters the creature in the world's player array; -1 takes the next
    // free number.
    void SetPlayerNumber(int32_t n);
    bool IsUsingMagic() const { return m_bLevitating != 0 || m_iLight != 0; }
    // What meeting the other creature leads to: 0 nothing, 1 it comes to talk,
    // 2 a fight. Asked by the groups' hostility search; a test may answer in
    // its place.
    virtual int CheckEncounter(Player* other);
    // Whether the other stands within 210 pixels across and 150 down of this
    // creature, both in the map's window, with a clear line between their
    // cells.
    bool SeesWithinView(const Player& other) const;
    void AddSpell(const Spell& spell);
    void RemoveSpell(Spell* spell);
    void DropMagic();
    // Pairs the creature with every living creature of the group tree under
    // `group` (itself and creatures out of play excepted), both ways.
    void GatherOpponents(Member* group);
    // Parts the creature from every opponent, from the head of its list: the
    // opponent forgets it as its target. With `dropStrikes` each side's queued
    // hits and attacks naming the other go too.
    void LeaveOpponents(bool dropStrikes);
    // Whether the straight line from the creature to `target` (the short way
    // round the world, in two-pixel steps) meets nothing before the target.
    bool IsLineOfAttackClear(Player* target, MapMaster* map);
    // A strike with `weapon` at `target` lands or misses: 1 for a hit. A
    // missile that arrives resolves its hit here too.
    int ResolveHitWith(Player* target, Object* weapon);
    // The weapon a queued strike names (StrikeWeapon), or null.
    Object* StrikeWeaponOf(StrikeWeapon which) const;
    // Plays sound `number` of the frame's table where the creature stands.
    void PlayCombatSound(const int* number);
    // Sets the pose of the creature's picture.
    void SetPose(int32_t pose);
    // The load carried and the speeds it leaves.
    void ComputeLoadSpeed();
    // The weapon in hand, else the natural weapon; null with neither.
    Object* GetHeldItem() const;
    Object* GetWeapon() const { return GetHeldItem(); }
    // The natural weapon when it strikes close; null when there is none.
    Object* NaturalMeleeWeapon() const;

    // ---- What it carries, wears and holds (PlayerItems.cpp)
    // An object handed to these operations lies in the creature's bag or
    // use, or is handed over by the caller: the creature keeps it (in use,
    // else in its bag) unless the operation says otherwise.
    // Readies a light in hand, puts on anything usable, or uses up the rest;
    // 1 when it was put on (or used up), 0 when it was refused (it stays
    // where it was, in the bag when handed over).
    int EquipObject(Object* object);
    // Puts an object on its body slots, displacing what holds them into the
    // bag (or at the creature's feet).
    void WearObject(Object* object);
    // Takes an object out of use and keeps it in the bag (at the creature's
    // feet when the bag is full): 1 when a weapon was put down, 0 when a
    // carried light burnt out, nothing was given, or there was no place for
    // it (then it stays in use).
    int UnequipObject(Object* object, int flag);
    // Frees the body slots the object holds; it leaves the things in use and
    // the worn armour, and the caller gets what the creature owned of it.
    std::unique_ptr<Object> ReleaseBodySlots(Object* object);
    void AddWorn(Object* armour);
    void RemoveWorn(Object* object);
    int CanUnequip(Object*, int) { return 1; }
    int CanRemoveFromBag(Object*, int) { return 1; }
    // What CheckCanUse and CheckWearSlots answer: code 0 it can be used
    // (the place is free), 1 it can be used in place of `object`, 2 it
    // cannot; a refusal's text for the player.
    struct UseCheck {
        int code = 0;
        Object* object = nullptr;
        std::string message;
    };
    UseCheck CheckCanUse(Object* object, int mode);
    UseCheck CheckWearSlots(Object* armour, int flag);
    // Puts a thing into the bag (a carried light is used up; the natural
    // weapon and armour never go in). A bag too full for it leaves it at the
    // creature's feet.
    void AddToBag(Object* object, int flag);
    // Takes `amount` of an object out of the bag; the caller gets the entry
    // when it left the bag (part of a stack stays).
    std::unique_ptr<Object> RemoveFromBag(Object* object, int amount);
    void GetBagContents(std::vector<Object*>& list) const;
    Object* FindMoney() const;
    // How many of an object to take: `amount` when given, else 1, or for a
    // stack what the player chooses (0 when cancelled); -1 when the bag
    // cannot hold it, 0 without a bag.
    int AskTakeAmount(Object* object, int amount);
    // A natural part of a creature's body (its teeth, a shell): never in the
    // bag, never stored with the things in use.
    static bool IsNaturalItem(Object* object);
    // Whether the creature holds the object: in its bag, in use, or as a
    // natural part.
    bool Owns(const Object* object) const;
    // Lays a thing on the ground where the creature stands: true when it was
    // placed (the map has it), false when there is no place (the caller
    // keeps it).
    bool DropAtFeet(std::unique_ptr<Object>& object);
    // A thing read with the creature or copied from another: put in use, or
    // into the bag when it cannot be used.
    void EquipStored(Object* object);
    int UpdateLevel();
    int ReduceAlertness(int32_t amount);
    // Rests a living creature for *hours: alertness up by the bonus and 100 an
    // hour (at most 1000), hit points and mana regained for the time. Answers
    // the alertness (0 for a creature that is not alive).
    int RestHours(const int32_t* hours, int32_t bonus);
    // Ends the spells in effect of one effect kind (SpellEffectKind::Any:
    // all) that this creature cast, or that work on it; the others keep
    // their order. True when any ended.
    bool CancelCastSpells(int32_t kind);
    bool CancelSpellsOn(int32_t kind);
    // The spell side of a fight: a creature outside the party with magic
    // weighs attacking (weight 100 when `attackOpen`) against its known
    // spells by their cast weights and may cast a clone of one, on itself
    // for a spell aimed at the party's kind, else on its target. True when
    // it cast; the caller then posts its next THINK.
    bool CastFightSpell(bool attackOpen);
    static int32_t FacingFromDelta(const Position& from, const Position& to);

    // ---- Thinking and walking (PlayerWalk.cpp)
    // Plans and starts the walk to (x, y): 1, or 0 when no step could be
    // planned. The hurry flag shortens the step delay over a long way.
    int MoveToward(int32_t x, int32_t y, MapMaster* context, int32_t time, int32_t* hurry,
                   int32_t value, int32_t near);
    // 1 when the creature has something to do where it stands (a wait, a
    // scripted move's cell, a fixture to go to), 0 when it has nothing.
    int PickIdleAction();
    // Forgets the planned route; a new order starts afresh.
    void ClearRoute();
    // What the creature does about the holder whose set it belongs to: 2 walk
    // on, 1 arrived or done, 0 nothing, -3 the world changed. Answered by the
    // rules of the world's play (WorldRules::Approach); in a world without
    // play a creature that reaches its target leaves the set.
    static int InteractWith(Player* creature, int flag);
    // Arrival distance of a walk (in the map's squared distance); a creature
    // told to stay is content farther away, one sent to a point nearer.
    static constexpr int64_t kArriveDistanceSq = 10;
    static constexpr int64_t kStayArriveDistanceSq = 100;
    static constexpr int64_t kNearArriveDistanceSq = 1;
    // Up to this squared distance a walk first tries the straight line.
    static constexpr int64_t kStraightLineDistanceSq = 160000;

    bool IsAlive() const { return m_sLifeState >= 1; }
    bool HasOpponents() const;
    // The palette colour that marks this creature as the target of a party
    // member (0 none), as Draw shows it.
    int TargetMarkColour() const;
    // The hit-point bar over the picture whose top-left corner is at `top`
    // and width is `width`: its rectangle and its palette colour.
    static qv::Rect HitPointBarRect(int32_t hitPoints, qv::Point top, int width);
    static int HitPointBarColour(int32_t hitPoints);
    CreatureEventQueue& Events() { return *m_pEvents; }

    // At most this many events are handled in one turn; the rest wait.
    static constexpr int kMaxEventsPerTurn = 200;
    // Creatures farther than this (in the map's distance measure) from the
    // view centre step ten times more slowly.
    static constexpr int64_t kFarDistanceSq = 1000000;

    // Number of living creatures (the class-wide use count).
    static int LiveCount() { return s_iUseCount; }
    // The creature sound all creatures share; it exists while any creature does.
    static CDSound* SharedSound() { return s_pSound.get(); }
    static constexpr int kSharedSoundId = 328;

    // ---- Identity, party and behaviour
    // What a move asks of every creature, kept together on one cache line:
    // body radius, party slot and what it holds in hand.
    int32_t m_iRadius = 3;
    int32_t m_iPartySlot = 0;
    std::unique_ptr<Object> m_pNaturalWeapon;
    qv::Handle<Object> m_pWeapon;
    int32_t m_iPlayerNumber = -1;
    // The first turn since the creature was made or read is still to come;
    // not stored.
    bool m_bFirstTurn = true;
    int32_t m_bCanName = 0;
    qv::Handle<Object> m_pKeptInLand;
    int32_t m_bInactive = 0;
    int32_t m_iSex = 0;
    int32_t m_iUnused1 = 0;
    int32_t m_iUnused2 = 0;
    int32_t m_bPartyLeader = 0;
    int32_t m_iActionOption = ActionOption::None;
    std::vector<qv::Handle<Player>> m_Opponents;
    int32_t m_bAttackRandomMonsters = 0;
    qv::Point m_ptDefenseCell;
    std::vector<std::unique_ptr<PlayerMove>> m_MoveList;  // scripted moves, owned

    // ---- Abilities and timing
    int32_t m_iSpeed = 100;
    int32_t m_iLoadedSpeed = 100;
    int32_t m_iLoadClass = 0;
    int32_t m_iStrength = 50, m_iDexterity = 50, m_iIntelligence = 50;
    int32_t m_iCurStr = 50, m_iCombatDexterity = 50, m_iCurInt = 50;
    int32_t m_iAlertness = 1000;
    int32_t m_iAlertnessInterval = 21600;
    int32_t m_uLastAlertnessTime = 0;
    int32_t m_iStepTime = 50;
    int32_t m_iRouteDelay = 0;
    int16_t m_sFacing = 0;
    int16_t m_bPoseSheet = 0;
    int32_t m_iPoseCount = 7;
    int32_t m_iTalkState = -1;
    int32_t m_iTalkActor = -1;

    // ---- Conversation
    std::string m_strTalkNode;
    std::string m_strMessageFile = "lauriston.smb";
    std::string m_strMessageNode = "HELLO";
    std::string m_strDeathNode = "HELLO";
    int32_t m_iPortrait = 843;
    std::string m_strPortraitFile;

    // ---- Combat speed, experience and level
    int32_t m_iFightSpeed = 0;
    int32_t m_iAttackTime = 700;
    std::array<double, 3> m_dExperience{1.0, 1.0, 1.0};
    double m_dShareLongRange = 0.15, m_dShareShortRange = 0.7, m_dShareMagic = 0.15;
    int32_t m_iLevel = 0;
    int32_t m_iHPPerLevel = 10;
    int32_t m_iRegenRate = 1;
    int32_t m_bGhost = 0;
    double m_dHasteFactor = 5.0;
    int32_t m_bHasted = 0;
    int32_t m_iUnused3 = 0;
    int32_t m_iRegenInterval = 0;
    int32_t m_uLastRegenTime = 0;
    int32_t m_iLevelLongRange = 0, m_iLevelShortRange = 0, m_iLevelMagic = 0;
    int32_t m_iUnused4 = 0;
    double m_dNextLevel = 1000.0, m_dNextShortRange = 1000.0, m_dNextLongRange = 1000.0,
           m_dNextMagic = 1000.0;
    // The targets its weapons have weighed up lately: the distance and clear
    // line measured then, reused until the record has been used `limit`
    // times.
    struct TargetMemory {
        qv::Handle<Player> target;
        int32_t distance = 0;
        int32_t clearLine = 1;
        int32_t uses = 0;
        int32_t limit = 0;
    };
    std::vector<TargetMemory> m_TargetMemory;
    std::array<int32_t, 7> m_iCombatSettings{1, 2, 1, 1, 0, 2, 1};
    float m_dArmourFactor = 0.0f;
    int32_t m_iLoad = 0;
    int32_t m_bEvading = 0;

    // ---- Orders, key, combat panel
    // The creature's own standing order, an event it carries out when no
    // fight holds it (a walk to a point, a strike at a creature); not the
    // player's orders to play (play/Order.h).
    std::unique_ptr<ObjectEvent> m_pOrder;
    // Its order in a fight, of a CombatOrderType.
    std::unique_ptr<ObjectEvent> m_pCombatOrder;
    int32_t m_iUnused5 = 0;
    int32_t m_bFrameUp = 1;
    int32_t m_iStepCount = 0;
    int32_t m_iUnused6 = 3;
    qv::Point m_ptGoal;
    qv::Point m_ptLastStep;
    qv::Point m_ptFollow;
    qv::Point m_ptStay;
    int32_t m_iWaitCount = 0;
    int32_t m_iUnused7 = 0;
    qv::Handle<Object> m_pAboard;
    int32_t m_iKeyNumber = -1;
    qv::Handle<Object> m_pMeleeWeapon;
    qv::Handle<Object> m_pRangedWeapon;
    int32_t m_iPanelSetting = 0;
    int32_t m_bPanelToggle = 0;
    int32_t m_iRangedMode = 2;
    // The two Shift flags: set while Shift is held and by a double-click's
    // walk, cleared when the key or the button is let go. Not stored.
    std::array<int32_t, 2> m_bShiftFlags{};

    // ---- What it carries and uses. The creature owns what it has in use;
    // the worn and usable lists only refer to things owned elsewhere (the
    // in-use list, the bag, the magic).
    std::vector<qv::Handle<Object>> m_WornList;
    std::vector<std::unique_ptr<Object>> m_InUseList;
    std::vector<qv::Handle<Object>> m_UsableList;
    // Natural armour (a shell) and natural things handed over; not stored.
    std::vector<std::unique_ptr<Object>> m_NaturalItems;
    std::unique_ptr<CBag> m_pBag;
    std::vector<ItemUse> m_BodySlotList;
    qv::Handle<Player> m_pTarget;
    std::unique_ptr<CreatureEventQueue> m_pEvents;
    std::vector<int32_t> m_TraitList;

    // ---- Life, party set, route
    LineRoute m_Route{this};
    RememberedSearch m_Search;  // the walk's last search (not stored)
    LifeState m_sLifeState = 1;
    int16_t m_sSpeciesMark = 0;
    int32_t m_iReserved1 = 0;
    int32_t m_iScriptHold = 0;
    int32_t m_iReserved2 = 0;
    int32_t m_iUnused8 = 0;
    char m_cRouteMode = 0;
    int32_t m_iFightMode = 3;
    int32_t m_bNoDamage = 0;
    int32_t m_iSavedGroupNum = 0;
    std::unique_ptr<Magic> m_pMagic;
    int32_t m_bHasMagic = 0;
    int32_t m_iSpeedState = 0;
    int32_t m_iArmourBonus = 0;

    // ---- Lasting effects
    int32_t m_iLight = 0;
    int32_t m_bFireProtection = 0;
    int32_t m_iPoison = 0;
    int32_t m_bGrounded = 0;
    int32_t m_iStrengthBonus = 0;
    int32_t m_bShockStrike = 0;
    int32_t m_bLevitating = 0;
    int32_t m_bMindSense = 0;
    int32_t m_bHesitation = 0;
    int32_t m_bInvisible = 0;
    int32_t m_bEthereal = 0;
    int32_t m_bHostileByMagic = 0;

    // ---- Editor numbers and portrait bitmaps
    int32_t m_iStoreNumber = -1;
    int32_t m_iNPCNumber = 0;
    int32_t m_iDrawLight = -1;
    int32_t m_iBuildInfoValue = 0;
    int32_t m_iUnused9 = 0;
    std::array<int32_t, 2> m_iPortraitBitmap{377, 377};

    // ---- Animation and weapons
    int32_t m_iAction = PlayerAction::Stop;
    int32_t m_iFrame = 0;
    int32_t m_iFrameTime = 0;
    int32_t m_iCycleLimit = 3;
    int32_t m_iFlashFrame = 0;
    int32_t m_iFlashCount = 0;

protected:
    // The second half of construction, shared with the species.
    void InitCreature();
    // The step, attack and regeneration delays from the speed and hit points,
    // and the member's point from the goal; a species calls it again once its
    // figures are set.
    void ResetTimings();

private:
    // The creature's hold on an object, taken from wherever it keeps it (the
    // bag, the things in use, the natural parts); an object it does not hold
    // is the caller's, handed over.
    std::unique_ptr<Object> TakeOwnership(Object* object);
    std::unique_ptr<Object> TakeFromInUse(Object* object);
    // Takes an object out of use; the caller gets what the creature owned.
    std::unique_ptr<Object> TakeOff(Object* object, int flag, int* result);
    // Where a thing taken off goes: the bag, else the ground, else the bag
    // beyond its room (nothing is ever lost).
    void PutAway(std::unique_ptr<Object> object);
    // Whether a thing taken off would find a place.
    bool HasPlaceFor(Object* object);
    int ReadyInHand(Object* light);
    void WearOwned(std::unique_ptr<Object> owned);
    // Places the creature anew where it stands (its light is listed again).
    void PlaceAnew();

    // Everything in use leaves hand and body and goes into the bag, each
    // thing once.
    void PutInUseIntoBag();
    int RunDueEvents(int32_t now, MapMaster* context, int& result);
    int HandleAnimate(const ObjectEvent& event, int32_t T, MapMaster* context, int& result);
    void RegenerateHitPoints(int32_t now);
    int StepOnce(qv::Point step, MapMaster* map);
    // After a step from `from`: the flat things on the floor (traps, gas,
    // rugs) that the creature has just stepped onto, not standing on them
    // before, are told so; a levitating creature passes over them. False
    // when that took the creature away.
    bool StepOntoFloor(const Position& from, MapMaster* map);
    bool RideAboard(qv::Point step, MapMaster* map);
    qv::Point ClipToWindow(MapMaster* map, qv::Point goal) const;
    int StartLookAction(int32_t action, int32_t time);
    bool LookHasFrames(int32_t action) const;
    void LoseAlertness(int32_t now);
    bool WakeFromIdle();
    // Moves the first thought queued when the creature was made or read to
    // its place in the creature's first step (see FirstThoughtDelay).
    void SpreadFirstThought(int32_t now);

    // The numbers the creature was entered under in the world's table of
    // creatures (usually one): leaving, it clears those entries that are
    // still its own instead of searching the whole table.
    std::vector<int32_t> m_EnteredNumbers;

    static int s_iUseCount;
    static std::unique_ptr<CDSound> s_pSound;
};
