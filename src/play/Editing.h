#pragma once
// Editing: the part of play that keeps the world editor's side of it. The
// build mode check, the editor's dialogs as the editor installs them, and the
// changes the editor makes to what it edits: the properties of an object, a
// creature, a container, a land or a monster generator, the things in a bag,
// a generator's templates and a land's encounters, key records, a creature's
// scripted moves, the land tree and the move of a placed object. Play owns
// one; the editor reads it, and changes it only through orders.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Geometry.h"
#include "play/Order.h"

class Land;
class LandInfo;
class Object;
class ObjectHolder;
class Play;
class RandomEncounter;
struct PlayerPropertyPages;
class Position;

class Editing {
public:
    explicit Editing(Play& play) : m_Play(play) {}
    Editing(const Editing&) = delete;
    Editing& operator=(const Editing&) = delete;

    // ---- The build mode check
    int IsEditing() const { return m_bEditing; }
    // What play sets (the Editing order, the combat flag, the tick), and a
    // test, setting up.
    void SetEditing(bool on) { m_bEditing = on ? 1 : 0; }

    // ---- The editor's dialogs. A missing one answers as a cancelled dialog.
    // A file dialog's request: its kind, the file's extension, the name
    // proposed and the filter shown.
    struct FileDialogRequest {
        bool save = false;  // a save dialog (else an open dialog)
        std::string extension, proposed, filter;
    };
    struct NewWorldRequest {
        std::string name;
        int32_t width = 500, height = 500;
    };
    struct EditorHooks {
        std::function<bool(NewWorldRequest&)> askNewWorld;
        std::function<std::optional<std::string>(const FileDialogRequest&)> chooseFile;
        std::function<int(Object& object)> editObject;
    };
    // Puts the editor's dialogs in place (empty: none).
    void Install(EditorHooks hooks);
    // The editor's dialog on an object; 0 without one.
    int EditObject(Object& object) const;
    // The chosen file's name (a folder before it is dropped), or nothing
    // when cancelled.
    std::optional<std::string> ChooseFile(const FileDialogRequest& request) const;
    // The new world's name and size filled in; false when cancelled.
    bool AskNewWorld(NewWorldRequest& request) const;

    // ---- The editor's changes (Editing.cpp, PlayEditCreature.cpp)
    // The properties the editor sets, by the names SetProperty takes.
    struct Property {
        // Every object
        static constexpr const char* kSpecialName = "Special Name";
        static constexpr const char* kGeneralName = "General Name";
        static constexpr const char* kValue = "Value";
        static constexpr const char* kFrameColumn = "Frame Column";
        static constexpr const char* kFrameRow = "Frame Row";
        static constexpr const char* kKeyNumber = "Key Number";
        static constexpr const char* kAmount = "Amount";
        static constexpr const char* kInteract = "Interact";
        static constexpr const char* kMoveable = "Moveable";
        static constexpr const char* kOwner = "Owned By";
        // Containers and barrels
        static constexpr const char* kLocked = "Locked";
        static constexpr const char* kRainBarrel = "Rain Barrel";
        // Lands
        static constexpr const char* kTerrain = "Terrain Code";
        static constexpr const char* kOriginX = "Origin X";
        static constexpr const char* kOriginY = "Origin Y";
        static constexpr const char* kTune = "Tune";
        static constexpr const char* kCombatTune = "Combat Tune";
        static constexpr const char* kSunlight = "Light Follows the Hour";
        static constexpr const char* kLightLevel = "Light Level";
        static constexpr const char* kAmbient = "Ambient Sounds";
        static constexpr const char* kPicture = "Picture";
        // Monster generators
        static constexpr const char* kMode = "Mode";
        static constexpr const char* kExitX = "Exit X";
        static constexpr const char* kExitY = "Exit Y";
        static constexpr const char* kSignalKey = "Key to Signal";
        static constexpr const char* kSendParty = "Send Party to Exit";
        // Weapons
        static constexpr const char* kSpeed = "Speed";
        static constexpr const char* kDamageBase = "Dam. Base";
        static constexpr const char* kDamageRange = "Dam. Range";
        static constexpr const char* kStun = "Stun";
        // Creatures: the fields of the creature sheet (PlayEditCreature.cpp)
        // by their labels, "Name" for the name; the lists of numbers
        // ("Spells", "Experience", the colours) as `text`, the numbers
        // written out and separated by spaces.
        static constexpr const char* kCreatureName = "Name";
        static constexpr const char* kSkills = "Spells";
        // Random encounters
        static constexpr const char* kEncounterTime = "Time";
    };
    // The creature sheet's OK: every field of the pages as a SetProperty
    // order on `creature`, in the order they are to be given.
    static std::vector<Order> CreatureSheetOrders(Object* creature,
                                                  const PlayerPropertyPages& pages);
    // SetProperty of a creature sheet's field: the creature fills its pages,
    // the field is set, and it reads them back; nothing for an object that
    // is no creature or a name that is no field; 0 for a list that does
    // not read (or a colour of a creature without colours).
    std::optional<int> SetCreatureProperty(Object* object, const std::string& name, int32_t value,
                                           const std::string& text);
    // A weapon's numbers the editor gives. Speed is a percentage of the usual
    // pace (100), at least 1 so that a weapon always moves; twice the usual
    // is the quickest. Damage and stun are never negative; their highest
    // values keep a hit's damage and the stun's hold-up on the event queue
    // far inside what game time and hit points count.
    static constexpr int32_t kMaxWeaponSpeed = 200;
    static constexpr int32_t kMaxWeaponDamage = 1000;
    static constexpr int32_t kMaxWeaponStun = 1000;
    // The largest amount of a stack the editor gives.
    static constexpr int32_t kMaxAmount = 1000000;
    // The largest time of a random encounter: one met about once in a
    // hundred game days at the longest.
    static constexpr int32_t kMaxEncounterTime = 100000;
    // The highest fixed light level of a land (the map's daylight is one more).
    static constexpr int32_t kMaxLightLevel = 127;
    // The highest code a land's cells can carry (a pixel of its picture).
    static constexpr int32_t kMaxTerrainCode = 255;
    struct Limits {
        int32_t low = 0, high = 0;
        bool text = false;  // a name: no limits
        bool Allows(int32_t v) const { return text || (v >= low && v <= high); }
    };
    // The values the property `name` of `object` may take; nothing for a
    // property the object does not have.
    std::optional<Limits> PropertyLimits(Object* object, const std::string& name) const;
    // Sets one property of an object: 1 when set; 0, with nothing changed,
    // for a property it does not have or a value outside its limits. A new
    // key number takes the object out of every key record and into the
    // record of that number; a land's new origin or picture moves it in the
    // land tree; a land's encounter rate is worked out again.
    int SetProperty(Object* object, const std::string& name, int32_t value,
                    const std::string& text = {});
    // The new `item` (the caller's) goes into a container's or a creature's
    // bag, among a monster generator's templates (a creature only) or a land's random
    // encounters (one with a group of creatures and a time from 1 to
    // kMaxEncounterTime; the land's encounter rate is worked out again): 1
    // when it is theirs now, 0 when refused (no room, a thing of the wrong
    // kind).
    int AddItem(Object* into, Object* item);
    // `item` leaves the container's bag, the creature (its bag or its use),
    // the generator's templates or the land's encounters and is deleted; 0
    // when it is not there.
    int DeleteItem(Object* from, Object* item);
    // The land in memory whose encounters hold `encounter`, or null.
    Land* LandOfEncounter(const RandomEncounter* encounter) const;
    // The object answers to key number `key` (0 or more): it leaves every
    // record, then enters the one of that number (a new one named `name`,
    // or "Lost or Temp Key" without a name). RemoveKey takes it out of every
    // record and leaves it without a key number.
    int AddKey(Object* object, int32_t key, const std::string& name);
    int RemoveKey(Object* object);
    // The editor's changes to a creature's scripted moves (a ScriptedMove
    // order's mode): a move to a cell appended, move `line` made one to a
    // cell, move `line` removed, a random list added (AddRandomMoves). Each
    // answers as the creature's own change does (the number of moves for a
    // random list); 0 for a line that is not there or a creature that is none.
    enum ScriptedMoveChange : int32_t {
        kMoveAdd = 0,
        kMoveSet = 1,
        kMoveDelete = 2,
        kMoveRandom = 3
    };
    int ChangeScriptedMoves(Object* creature, int32_t change, int32_t line, qv::Point cell);
    // The land of the file `fileName` leaves the land tree (the lands inside
    // it go to its parent) and the map. 0 for the world's own land (the
    // root) and for a file the tree does not name.
    int RemoveLand(const std::string& fileName);
    // The land tree's entry of a land file; null when none.
    LandInfo* FindLandInfo(const std::string& fileName) const;
    // The editor's move of a placed object to a world point: put back where
    // it stood when the point does not take it, deleted (with a message) when
    // neither place does. 1 when it moved.
    int MovePlaced(ObjectHolder* holder, const Position& point);

private:
    Play& m_Play;
    int m_bEditing = 0;  // the editor's build mode check is on
    EditorHooks m_Hooks;
};
