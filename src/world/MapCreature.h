#pragma once
// What the world's own code reads and asks of a creature (an object whose type
// is 3): the map's movement and light tests, land streaming, the groups that
// lead and place their creatures, and the world's party. The creature class
// implements this beside its object base and answers it from
// Object::GetMapCreature, so that no world code needs the class itself. An
// object of type 3 without it neither blocks by spacing nor casts a shadow.

#include <cstdint>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Handle.h"

class Object;
class Player;

class MapCreature {
public:
    // Hit points left; a creature without any never blocks.
    virtual int MapHitPoints() = 0;
    // Body radius in pixels for the spacing of creatures.
    virtual int MapSpacingRadius() = 0;
    // Non-zero for a party member: party members may stand 1 pixel apart.
    virtual int MapPartySlot() = 0;
    // The creature it attacks now, or null; spacing doubles toward it.
    virtual Object* MapAttackTarget() = 0;
    // Flagged as removed from the world: casts no shadow.
    virtual bool MapIsRemoved() = 0;
    // The light sample under it, stored each frame by the lighting pass.
    virtual void MapSetLightExposure(int exposure) = 0;

    // What land streaming asks of a creature handed between the map and a land.
    // Non-zero while it belongs to the group split off from the party.
    virtual int MapSavedGroup() { return 0; }
    // Enters it in the world's table of creatures under its own number.
    virtual void MapTakeNumber() {}
    // It could not be placed back and waits in `land`: its events are dropped
    // and it thinks again at once. Null: it waits in no land.
    virtual void MapKeepInLand(Object* /*land*/) {}

    // What groups, the group tree and the world's party read and set of it;
    // what is not a creature of the game (a stand-in of the map's tests)
    // answers as a creature that is nobody.
    // The creature itself, as what hands it on (a found actor, a leader).
    virtual Player* MapPlayer() { return nullptr; }
    virtual qv::Handle<Player> MapHandle() { return {}; }
    // Its number in the world's table of actors (-1 none); setting it leaves
    // the table as it is.
    virtual int32_t MapActorNumber() { return -1; }
    virtual void MapSetActorNumber(int32_t) {}
    virtual void MapSetPartySlot(int32_t) {}
    // It leads the party.
    virtual void MapMarkPartyLeader() {}
    // The way it faces, 0 to 7.
    virtual int MapFacing() { return 0; }
    // The point it follows its group's leader to.
    virtual void MapSetFollowPoint(qv::Point) {}
    // A light or levitation of its own is running.
    virtual bool MapUsingMagic() { return false; }
    virtual bool MapInvisible() { return false; }
    // Its species number (0 for a plain creature).
    virtual int32_t MapSpecies() { return 0; }
    // What meeting `other` leads to: 0 nothing, 1 it comes to talk, 2 a fight.
    virtual int MapEncounter(Player*) { return 0; }
    // True, with the box set, when MapEncounter answers 0 and changes nothing
    // for every creature whose offset from this one lies outside the box (as
    // MapMaster::IsDeltaInRect measures it), so that a search over a crowd
    // need not ask the far ones.
    virtual bool MapMeetsOnlyWithin(qv::Rect& /*box*/) { return false; }
    // Its own part of its group turning hostile (1) or calm (0).
    virtual void MapTakeHostileMode(int32_t) {}
    // Placed into the world by its group: it stays in world cell `home` and
    // patrols `cells` (world cells, the home last).
    virtual void MapPatrol(qv::Point, const std::vector<qv::Point>&) {}

protected:
    ~MapCreature() = default;
};

// The creature side of an object of type 3, or null.
MapCreature* AsMapCreature(Object* obj);
// The creature side of a creature named by its class; defined with the class,
// which alone can make the conversion.
MapCreature* CreatureSide(Player* creature);
