#pragma once
// Wall pieces on cell edges: walls, doors, pegs and tiles.
//
// A piece's door state is its object state: 0 and 1 let movement and sight
// through, 2 is a closed door, any other value blocks. Its key number is the
// object's key number: negative for a plain wall that always blocks, else the
// key that opens it.

#include "structures/Scenery.h"
#include "world/MapStructures.h"
#include "world/StoredClass.h"

struct ClassLook;

class Wall : public Object, public MapWall {
    QV_DECLARE_CLASS(Wall)
public:
    explicit Wall(const std::string& name = "Wall");
    ~Wall() override;
    Wall(const Wall&) = delete;
    Wall& operator=(const Wall&) = delete;
    void Serialize(qv::Archive& ar) override;
    // A piece with a picture of its own shows the cell its door asks for:
    // column 1 while a piece its key opens stands open (door state 0 or 1),
    // else column 0; row 0. Its stored frame stays as it was read.
    void GetImageFrame(int* x, int* y) override;
    // Draws the piece's picture, cut down where the party stands behind it
    // (the see-through modes); a piece without one draws as any object.
    int Draw(qv::Surface* surface, qv::Point screen, const qv::Rect& view, const Position& pos,
             int flags) override;
    int Type() override { return WALL; }
    // A copy with every stored field: the object's and the three flags.
    Object* Clone() override;
    // A door (a piece with a key number) can be worked; a plain wall cannot.
    int CanInteract() override;
    // Works a door; a plain wall answers as any object. Code -1 (a creature
    // at the door) opens a closed door that is not locked and closes an open
    // one; 1 (the key's signal) and 3 (a monster generator, a power cube)
    // open it, locked or not; 2 (a lever) opens or closes it, locked or not.
    // Answers 1 when the door changed, else 0; a missing actor is allowed.
    int Activate(int* action, Player* actor) override;

    static constexpr int kDoorOpen = 1;
    static constexpr int kDoorClosed = 2;

    // 0 plain, 1 front (north edge), 2 side (west edge), 3 peg (north-west
    // corner), 4 tile.
    virtual int GetWallKind() { return 0; }
    // A piece without a key whose frame column is not 6 goes back to column 0
    // (its row kept) when it is placed at (x, y).
    virtual void ResetFrame(int x, int y);

    // What the map reads of the piece.
    MapWall* GetMapWall() override { return this; }
    int MapWallKind() override { return GetWallKind(); }
    bool MapWalkThrough() const override { return m_bWalkThrough != 0; }
    bool MapSeeThrough() const override { return m_bSeeThrough != 0; }
    bool MapLocked() const override { return m_bLocked != 0; }

    // The flags the map's step test reads count their changes (StepValue).
    StepValue m_bWalkThrough = 0;  // movement passes, sight does not
    int m_bSeeThrough = 0;         // sight passes, movement does not
    StepValue m_bLocked = 0;       // a closed door that only its key opens

    // Whether the piece stands open: one its key opens, in door state 0 or 1.
    bool IsOpen() const;
    // The picture drawn, or null for a piece that has none of its own.
    CDDObject* GetLook() const { return m_pLook; }

protected:
    // The piece's picture and its footprint, which the map places, tests
    // moves against and hovers by (the object's image).
    void WearWallLook(const ClassLook& footprint, const ClassLook& look);

private:
    CDDObject* m_pLook = nullptr;  // a use of the class's picture
};

class FrontWall : public Wall {
    QV_DECLARE_CLASS(FrontWall)
public:
    explicit FrontWall(const std::string& name = "FrontWall");
    void Serialize(qv::Archive& ar) override;
    int GetWallKind() override { return 1; }
};

class SideWall : public Wall {
    QV_DECLARE_CLASS(SideWall)
public:
    explicit SideWall(const std::string& name = "SideWall");
    void Serialize(qv::Archive& ar) override;
    int GetWallKind() override { return 2; }
};

class Peg : public Wall {
    QV_DECLARE_CLASS(Peg)
public:
    explicit Peg(const std::string& name = "Peg");
    void Serialize(qv::Archive& ar) override;
    int GetWallKind() override { return 3; }
};

class Tile : public Wall {
    QV_DECLARE_CLASS(Tile)
public:
    explicit Tile(const std::string& name = "Tile");
    void Serialize(qv::Archive& ar) override;
    int GetWallKind() override { return 4; }
};

// Doors in a north edge and in a west edge.
class FrontDoorBrick : public FrontWall {
    QV_DECLARE_CLASS(FrontDoorBrick)
public:
    explicit FrontDoorBrick(const std::string& name = "FrontDoorBrick");
    void Serialize(qv::Archive& ar) override;
};

class SideDoorBrick : public SideWall {
    QV_DECLARE_CLASS(SideDoorBrick)
public:
    explicit SideDoorBrick(const std::string& name = "SideDoorBrick");
    void Serialize(qv::Archive& ar) override;
};

// The world maker's pieces of brick: a peg, a wall on a north edge and a wall
// on a west edge. They are placed, block and are drawn as the pieces they are.
class PegBrick : public Peg {
    QV_STORED_CLASS(PegBrick)
};

class FrontWallBrick : public FrontWall {
    QV_STORED_CLASS(FrontWallBrick)
};

class SideWallBrick : public SideWall {
    QV_STORED_CLASS(SideWallBrick)
};
