#pragma once
// Placement records: an object stands on the map through an ObjectHolder that
// pairs a world position with the object. A holder is also the target of a walk
// or an action: the creatures heading for it form its player set. A holder made
// only as a walk target (no object) lives while some creature heads for it.

#include <cstdint>
#include <vector>

#include "platform/Persistent.h"
#include "platform/Pool.h"

class MapCreature;
class MapMaster;
class Object;
class ObjectHolder;

// A world point in pixels: x grows eastward, y southward, z is the height.
class Position {
public:
    Position() = default;
    Position(int32_t px, int32_t py, int32_t pz = 0) : x(px), y(py), z(pz) {}
    virtual ~Position() = default;
    Position(const Position&) = default;
    Position& operator=(const Position&) = default;

    // x, y, z as three 32-bit integers.
    virtual void Serialize(qv::Archive& ar);

    bool operator==(const Position& o) const { return x == o.x && y == o.y && z == o.z; }

    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;
};

// The creature's side of a player set: every creature derives from this and
// keeps here the holder whose set it belongs to. The operations keep both sides
// in step; a creature destroyed while in a set leaves it.
class PlayerSetMember {
public:
    PlayerSetMember() = default;
    PlayerSetMember(const PlayerSetMember&) : m_pPlayerSet(nullptr) {}
    PlayerSetMember& operator=(const PlayerSetMember&) { return *this; }

    // Leaves the current set, then joins `holder` unless it is null or joining
    // is forbidden; joining the set it is in again keeps the holder.
    // (A creature joins through Player::JoinPlayerSet, which also clears its
    // wait count and reads the frame's flag.)
    void JoinPlayerSet(ObjectHolder* holder, bool joiningForbidden);
    // Leaves the current set; a holder without an object is deleted once its
    // set is empty.
    void LeavePlayerSet();
    // Every creature of the current set leaves it; the holder is kept.
    void ClearPlayerSet();

    ObjectHolder* m_pPlayerSet = nullptr;

protected:
    ~PlayerSetMember();
};

// Aligned to a cache line so that a walk over a cell's holders reads each
// one's position and object from a single line.
class alignas(64) ObjectHolder : public qv::Persistent {
    QV_DECLARE_CLASS(ObjectHolder)
public:
    QV_POOLED_ALLOCATION
    ObjectHolder() = default;
    // Sets the object's m_pHolder to the new holder when there is an object.
    ObjectHolder(const Position& p, Object* object);
    // Clears the back-pointer of every creature still in the set and the
    // object's m_pHolder, and takes the holder out of the running map's cells.
    // The holder does not own its object.
    ~ObjectHolder() override;
    ObjectHolder(const ObjectHolder&) = delete;
    ObjectHolder& operator=(const ObjectHolder&) = delete;
    // The tag m_uSpacingOf holds for an object (never 0).
    static uint32_t SpacingTag(const Object* object) {
        return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(object)) | 1u;
    }
    // Copies where the creature side of the object held lies (see
    // m_uCreatureOffset).
    void CopySpacing();
    // The creature side of the object held, while the spacing fields hold.
    MapCreature* SpacingCreature() const {
        return reinterpret_cast<MapCreature*>(reinterpret_cast<char*>(m_pObject) +
                                              m_uCreatureOffset);
    }

    void Serialize(qv::Archive& ar) override;
    // The held object's Update; 0 for a bare point.
    virtual int Update(int32_t now, MapMaster* context);

    // The held object's type code, 0 for a bare point.
    int Type();

    // Called by an object that is being destroyed while this holder names it:
    // the holder forgets it and leaves the running map. A holder that was
    // placed went with its object, so it is deleted, unless creatures still
    // head for it: then it is a bare walk target and lives as one.
    void ForgetObject(const Object* gone);

    void AddPlayer(PlayerSetMember* creature);
    void RemovePlayer(PlayerSetMember* creature);
    void RemoveAllPlayers();

    // Whether this holder's object is drawn in front of the other's relative to
    // the given window cell (the rule belongs to the map's drawing order).
    int IsInFrontOf(ObjectHolder* other, int column, int row);

    struct CellRef {
        int32_t column = -1;
        int32_t row = -1;
    };

    Position pos;
    Object* m_pObject = nullptr;
    // Where the creature side lies in the object held, copied as the holder
    // enters a cell list, so that a move's spacing test fetches only that
    // side of a creature it passes (its radius, hit points and party slot lie
    // together there) and never the object's first line. Valid while
    // m_uSpacingOf is the tag of the object held (0: not a creature of
    // collision kind below 2, or not copied); the side of an object and its
    // collision kind are fixed when it is made.
    uint32_t m_uCreatureOffset = 0;
    uint32_t m_uSpacingOf = 0;
    CellRef m_Corners[4];  // window cells of the image's corners while placed
    int m_bDrawn = 0;      // drawn in the current frame
    // Set once a map has listed the holder among its lights or fixtures or
    // put it in a cell's wall slot, so that taking off the map only searches
    // those lists and slots for such holders.
    bool m_bMapListed = false;
    std::vector<PlayerSetMember*> m_PlayerSet;  // does not own
};

// Deletes a holder together with the object it holds, parting the two first so
// that neither's destructor reaches for the other; the object goes as the map
// deletes what it held (a member through its group), and a shared prototype
// (m_bMoveable 2) is never deleted.
void DeleteHolderWithObject(ObjectHolder* holder);
