#pragma once
// Moving platforms (a drawbridge, a ship) and a ship's mast. A platform keeps
// the holders standing on it; the pixels of value 2 in its picture are its
// deck. Its picture, the one the map tests movers against, is its deck's
// footprint on the ground; what the view shows is its look, drawn over it.

#include <vector>

#include "platform/Handle.h"
#include "world/Map.h"
#include "world/MapStructures.h"
#include "world/Object.h"

struct ClassLook;

class Traversable : public Object, public MapDeck {
    QV_DECLARE_CLASS(Traversable)
public:
    explicit Traversable(const std::string& name = "Traversable");
    ~Traversable() override;
    void Serialize(qv::Archive& ar) override;
    int Draw(qv::Surface* surface, qv::Point screen, const qv::Rect& view, const Position& pos,
             int flags) override;
    CDDObject* GetLook() const { return m_pLook; }
    int Type() override { return TRAVERSABLE; }
    // Takes a mover aboard: its holder joins the carried list.
    int StepOn(Position* pos, Object* mover) override;
    void SetPosition(MapCell* windowCell, Position* pos) override;

    // Rebuilds the carried list from the holders standing on the deck; a
    // ship's masts among them learn their vessel.
    void CollectCarriedObjects();
    // The holders carried now, in the order they came aboard; one deleted
    // while aboard is left out.
    ObjectHolderList GetCarried() const;

    // What the map reads of the platform.
    MapDeck* GetMapDeck() override { return this; }
    ObjectHolderList MapCarried() const override { return GetCarried(); }
    bool MapBridges(int) const override { return false; }

    Position m_Position;

protected:
    void Carry(ObjectHolder* holder);
    // The cell of the look drawn: the picture's own frame unless a kind
    // says otherwise.
    virtual void GetLookFrame(int* column, int* row);
    // The platform tests movers against `deck` and is drawn as `look`.
    void WearPlatformLook(const ClassLook& deck, const ClassLook& look);

    CDDObject* m_pLook = nullptr;  // a use of the class's drawn picture

    std::vector<qv::Handle<ObjectHolder>> m_Carried;
};

// A drawbridge: m_iDirection 1 carries steps east and west, 0 north and
// south; it carries nothing while raised.
class DrawBridge : public Traversable {
    QV_DECLARE_CLASS(DrawBridge)
public:
    explicit DrawBridge(int direction = 0);
    ~DrawBridge() override;
    void Serialize(qv::Archive& ar) override;
    // The deck of the way it carries now, one column: row 0 lowered, row 1
    // raised (no deck).
    CDDObject* GetImage() override;
    void GetImageFrame(int* x, int* y) override;
    bool MapBridges(int direction) const override {
        return m_iDirection == direction && m_bRaised == 0;
    }
    // Read by the map's step test: they count their changes (StepValue).
    StepValue m_iDirection = 0;
    StepValue m_bRaised = 0;

protected:
    // The look's column is the way it carries, its row raised or not.
    void GetLookFrame(int* column, int* row) override;

private:
    CDDObject* m_pDecks[2] = {nullptr, nullptr};  // uses of both ways' decks
};

class Ship : public Traversable {
    QV_DECLARE_CLASS(Ship)
public:
    explicit Ship(const std::string& name = "Ship");
    void Serialize(qv::Archive& ar) override;
    int m_iDirection = 0;
    int m_bMoving = 0;  // set while a creature steers it
};

// A ship's mast: while its vessel moves, anyone close to it touches it.
class Mast : public Object {
    QV_DECLARE_CLASS(Mast)
public:
    explicit Mast(const std::string& name = "Mast");
    void Serialize(qv::Archive& ar) override;
    int Type() override { return MAST; }
    bool IsVesselMoving() const;
    // While the vessel moves, anyone within 100 pixels across and 20 along
    // touches the mast: each part of the delta from the mast inside its
    // reach becomes 0. Answers whether the zone applied.
    bool ApplyTouchZone(int32_t* dx, int32_t* dy) const;
    static constexpr int32_t kTouchAcross = 100;
    static constexpr int32_t kTouchAlong = 20;
    qv::Handle<Ship> m_pVessel;  // not stored: the ship sets it when it collects its load
};
