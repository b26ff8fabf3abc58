#pragma once
// What the map's movement and light tests read of a creature (an object whose
// type is 3): the creature class implements this beside its object base and
// answers it from Object::GetMapCreature. An object of type 3 without it neither
// blocks by spacing nor casts a shadow.

class Object;

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

protected:
    ~MapCreature() = default;
};

// The creature side of an object of type 3, or null.
MapCreature* AsMapCreature(Object* obj);
