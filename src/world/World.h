#pragma once
// The world: the map, the groups, the party, the clock and game time, the key
// records and the scripted events. The main frame owns exactly one; world code
// reaches the current one through GetWorld() (world/Global.h), so that it never
// needs the window that shows it. Tests of world rules build a World alone.

#include <array>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Handle.h"
#include "world/ObjectCatalogue.h"

class ActiveSpells;
class CGameEvent;
class CTimeOfDay;
class Group;
class KeyStorage;
class MapMaster;
class Member;
class Object;
class ObjectHolder;
class PathFinder;
class Player;
class Spell;
class UnusedNumbers;
class WorldRules;

// Deletes a scripted event where its class is defined, so that the world
// holds events without including the folder above it.
struct GameEventDeleter {
    GameEventDeleter() = default;
    template <class T>
    GameEventDeleter(std::default_delete<T>) {}
    void operator()(CGameEvent* event) const;
};
using GameEventPtr = std::unique_ptr<CGameEvent, GameEventDeleter>;

// Deletes a spell where its class is defined (items/), as GameEventDeleter
// does for events.
struct SpellDeleter {
    SpellDeleter() = default;
    template <class T>
    SpellDeleter(std::default_delete<T>) {}
    void operator()(Spell* spell) const;
};
using SpellPtr = std::unique_ptr<Spell, SpellDeleter>;

// Makes and deletes the list of spells in effect where its class is defined
// (items/ActiveSpells.cpp).
struct ActiveSpellsDeleter {
    void operator()(ActiveSpells* list) const;
};
using ActiveSpellsPtr = std::unique_ptr<ActiveSpells, ActiveSpellsDeleter>;
ActiveSpellsPtr MakeActiveSpells();

class World {
public:
    // The newest World is the current one until it is destroyed.
    World();
    ~World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;
    // Makes this world the current one again, after a newer one (a scratch
    // world that a file was tried on) has gone.
    void MakeCurrent();

    // The running map (owned); null until a land is read.
    std::unique_ptr<MapMaster> map_master;

    // Key records: objects by key number, signalled together.
    void AddToKeyStorage(Object* object);
    void RemoveFromKeyStorage(Object* object);
    std::vector<std::unique_ptr<KeyStorage>> m_KeyStorageList;

    std::vector<Player*> m_PlayerArray;       // indexed by actor number; does not own
    Group* m_pRandomEncounters = nullptr;     // "Random Encounters"; the group tree owns it
    qv::Handle<ObjectHolder> m_pHoverHolder;  // current target candidate

    // What the creatures' turns read and their stored records fill in: the
    // game clock, the party, the view centre and the fast-time switch.
    int32_t m_iGameTime = 0;
    int m_bFastTime = 0;
    int m_bJoinForbidden = 0;  // no creature joins a holder's player set
    qv::Point m_ptFocus;
    qv::Handle<Player> m_pLeader;
    qv::Handle<Player> m_pControlPlayer;
    // The monster generator whose fight is on (one at a time); the map owns it.
    qv::Handle<Object> m_pActiveGenerator;
    std::array<qv::Handle<Player>, 6> m_Party;  // slot 0 is the leader's

    // Groups: the root of the group tree (owned; "Random Encounters" is one of
    // its members) and the table of groups by number, which does not own them.
    void CreateRootGroups();
    void DeleteGroups();
    // The group of table slot `number`; null for an empty or missing slot.
    Group* GetGroupByNumber(int32_t number) const;
    // A new group under "All Groups" with that special name, entered in the
    // table at `number`.
    Group* AddNumberedGroup(int32_t number, const std::string& name);
    Group* m_pAllGroups = nullptr;
    std::vector<Group*> m_GroupArray;
    // The party's group stands in this slot of the table.
    static constexpr size_t kPartyGroupSlot = 1;
    // The group split off from the party; listed (and owned) under "All Groups".
    qv::Handle<Group> m_pGroupTempStorage;
    qv::Handle<Group> m_pCurrentGroup;  // the group the editor works on
    // Free member ids for the creatures of random encounters and scripted
    // groups; owned.
    std::unique_ptr<UnusedNumbers> m_pUnusedNumbers;
    // The party slot (0..5) of a creature, or -1.
    int FindPartySlot(const Member* creature) const;
    // With a leader and the creature in the party: its slot and the formation
    // row of the leader's facing (0..3); false otherwise, outputs untouched.
    bool GetPartySlot(const Member* creature, int32_t& slot, int32_t& row) const;
    // Makes the party of the group read back from "players": the leader is
    // the creature the group names as its leader, else the one stored as
    // controlled (a negative slot), else the first; it takes slot 0, is
    // marked controlled (slot number -1 unless already negative) and leads
    // the group. The others keep their stored slots 1 to 5; one whose slot is
    // taken moves to the next free one, and those left over keep slot number
    // 0 (in the group, outside the slots). Answers the leader (null for a
    // group without creatures, which leaves no party).
    Player* BindParty(Group* party);
    // The party formation turned to each quarter of the leader's facing, one
    // offset per slot.
    std::array<std::array<qv::Point, 6>, 4> m_FormationRows{};

    // Scripted events waiting to run and the named script variables; owned.
    std::list<GameEventPtr> m_EventList;
    std::list<std::unique_ptr<Object>> m_ScriptVariableList;

    // The world's clock (owned).
    std::unique_ptr<CTimeOfDay> m_pTimeOfDay;

    // The spells in effect (stored with a saved game; the list ends a spell
    // safely and frees it after its walk) and the missiles and spell
    // projectiles in flight; owned. Play's tick runs them.
    ActiveSpellsPtr m_ActiveSpells;
    std::list<std::unique_ptr<Object>> m_FlyingObjects;
    // Takes the world's flying objects over one tick of game time `now`; one
    // that answers Object::kLeaveGroup (-2) has landed and is deleted. A
    // flight that ends may end others (a missile that takes its victim's
    // projectile along); the walk holds only to entries still listed.
    void UpdateFlyingObjects(int32_t now, MapMaster* map);
    // Whether the object is on the list of flying objects.
    bool IsFlying(const Object* object) const;
    // Puts an object in flight and takes it over; one already flying stays
    // as it is.
    void AddFlyingObject(Object* object);

    // One prototype of every kind of object the world maker places, built at
    // the start of play (items/ObjectCatalogueBuild.h); empty until then.
    ObjectCatalogue m_Catalogue;

    // What its objects ask of the layers above (world/WorldRules.h): the rules
    // of play and the path finder, given by the Play that runs the world; null
    // in a world without play. Neither is owned.
    WorldRules* m_pRules = nullptr;
    PathFinder* m_pPathFinder = nullptr;

    // The party's switches, one copy each: the fights, the drawing and the
    // input read these. Party members out of reach of their target hold their
    // ground (Enter and the hold-ground button), the party loses no hit points
    // (Ctrl+F3), invisible creatures are seen and invisibility does not change
    // a chance to hit (Mind Sense, build mode's F2), and the party keeps its
    // formation while it fights. Play's orders set them.
    int m_bHoldGround = 1;
    int m_bPartyInvulnerable = 0;
    int m_bDebugView = 0;
    int m_bPartyFormation = 0;
    // Plays sound `number` of the frame's table at a world point; a world
    // without it fights in silence.
    std::function<void(int number, qv::Point at)> m_PlaySound;
    // Opens the conversation of a creature that died with a death node of
    // its own, between the leader and it; a world without it opens none.
    std::function<void(Player* leader, Player* speaker)> m_OpenDeathTalk;
};
