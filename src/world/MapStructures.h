#pragma once
// What the map's placing, movement and light read of what is built into the
// world: walls on cell edges, platforms that carry what stands on them,
// and light sources. Their classes (structures/) implement these beside their
// object base and answer them from Object::GetMapWall, GetMapDeck and
// GetMapLamp, as a creature answers MapCreature (world/MapCreature.h); the map
// never needs the classes themselves.

#include <cstdint>

#include "world/Map.h"

class Object;
class Position;

// A wall (a plain wall, a door, a peg or a tile).
class MapWall {
public:
    // 0 plain, 1 front (north edge), 2 side (west edge), 3 peg (north-west
    // corner), 4 tile.
    virtual int MapWallKind() = 0;
    virtual bool MapWalkThrough() const = 0;  // movement passes, sight does not
    virtual bool MapSeeThrough() const = 0;   // sight passes, movement does not
    virtual bool MapLocked() const = 0;       // a closed door that only its key opens

protected:
    ~MapWall() = default;
};

// A platform (a drawbridge, a ship) with the holders standing on its deck.
class MapDeck {
public:
    // The holders carried now, in the order they came aboard.
    virtual ObjectHolderList MapCarried() const = 0;
    // A lowered drawbridge that carries steps across the way `direction` (1
    // east and west, 0 north and south); other platforms carry no steps
    // across a cell edge.
    virtual bool MapBridges(int direction) const = 0;

protected:
    ~MapDeck() = default;
};

// A light source: what it adds to the map's light around it.
class MapLamp {
public:
    // The light amount at a world pixel.
    virtual double MapIntensityAt(const Position& point) = 0;
    // The distance in pixels beyond which it gives no light (0: none at all).
    virtual int MapReach() = 0;
    // Its timed update every hour of the clock: kWorldChanged when it is over.
    virtual int MapUpdate(int32_t now) = 0;
    // Told where it stands when it is entered in the map.
    virtual void MapPlaced(MapCell* windowCell, Position* pos) = 0;

protected:
    ~MapLamp() = default;
};

MapWall* AsMapWall(Object* obj);
MapDeck* AsMapDeck(Object* obj);
// The light source of a placed object, when what it answers
// (Object::GetLightSource) really is one: itself, or the light it carries.
MapLamp* LampOf(Object* obj);
