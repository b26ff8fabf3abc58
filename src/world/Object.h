#pragma once
// The root of every thing in the world: creatures, groups, items, scenery,
// walls, lands, spells and events all derive from Object. It carries the fields
// every thing has, the virtual operations the rest of the game calls without
// knowing the concrete class, the type code, the versioned stored record that
// every class extends, and the class-wide picture with its use count.

#include <cstdint>
#include <string>
#include <utility>

#include "platform/Geometry.h"
#include "platform/Persistent.h"
#include "platform/Pool.h"

class CDDObject;
class MapCell;
class MapMaster;
class MapCreature;
class MapDeck;
class MapLamp;
class MapWall;
class ObjectHolder;
class Player;
class Position;
namespace qv {
class Surface;
}

// The broad kind of a thing, answered by Type. Codes 1, 5, 6, 13 and 14 are
// answered by no class; 0 is Object itself and every class that keeps it.
enum ObjectType : int {
    GROUP = 2,
    PLAYER = 3,
    USEABLE = 4,
    MONEY = 7,
    SCENERY = 8,
    WALL = 9,
    LAND = 10,
    BAG = 11,
    TRAVERSABLE = 12,
    MAST = 15,
    STAIRS = 16,
    TOKEN = 17,
    TOKENTAKER = 18,
};

class Object : public qv::Persistent {
    QV_DECLARE_CLASS(Object)
public:
    // From the pool, every object starts on a cache line, so that what every
    // move test and drawing-order insertion reads of it (its class, state,
    // move mode, collision kind and picture) is one line, not two.
    QV_POOLED_ALLOCATION
    // Both names are set to `name`; takes a use of the class image.
    explicit Object(const std::string& name = "Object");
    ~Object() override;
    void Serialize(qv::Archive& ar) override;

    // The answers of Update, Activate and Execute, and of the walks that pass
    // them on, beyond 1 (done) and 0 (nothing done). Each value has this one
    // meaning wherever it is answered.
    enum Answer : int {
        kFinished = -1,       // Execute: the event is over; its caller removes and deletes it
        kNothingChanged = 0,  // Execute: the event list is as it was
        kLeaveGroup = -2,     // Update: take the member out of its group
        // The world changed under the walk (a land or world move, the view
        // must recentre, a light went out): every walk up the chain stops.
        kWorldChanged = -3,
        kDeleteEmpty = -4,  // Update: an emptied self-contained group, for its parent to delete
    };

    // The operations every thing answers, in their fixed order. An argument
    // passed by pointer is read (or written) through the pointer.
    virtual int SetOwner(int owner);
    virtual int IsActive();
    virtual void GetImageFrame(int* x, int* y);
    virtual void SetImageFrame(int* x, int* y);
    virtual int GetState();
    virtual void SetState(int* state);
    virtual int CanInteract();
    virtual int CanBeUsedBy(Player* creature);
    virtual CDDObject* GetImage();
    virtual std::string GetInfoText();
    virtual void SetName(const std::string& name);
    virtual std::string GetValueText(int* width, double* factor);
    virtual std::string GetDisplayName();
    virtual int GetValue();
    virtual void SetValue(int* value);
    virtual int GetWeight();
    virtual void SetWeight(int* weight);
    virtual int IsSameKind(Object* other);
    virtual int AddBulk(Object* other);
    virtual int RemoveBulk(Object* other);
    // The per-tick operation: `now` is the game time, `context` the world map.
    virtual int Update(int32_t now, MapMaster* context);
    virtual int GetUsePrompt(Player* user, int flag);
    virtual int Use(Player* user, Object* target);
    virtual std::pair<int, int> GetUseRange(Player* creature);
    virtual int IsValidTarget(Object* target);
    virtual int IsUsableBy(Player* user);
    virtual int StepOn(Position* pos, Object* mover);
    virtual int Activate(int* action, Player* actor);
    virtual int Edit();
    virtual void SetPosition(MapCell* windowCell, Position* pos);
    virtual Object* Clone();
    virtual int Type();
    virtual int GetKind();
    virtual int LoadImages();
    virtual int ReleaseImages();
    virtual int Draw(qv::Surface* surface, qv::Point screen, const qv::Rect& view,
                     const Position& pos, int flags);
    virtual int GetTag();
    virtual Object* GetLightSource();
    // The creature side that the map's movement and light tests read; null
    // for everything but creatures.
    virtual MapCreature* GetMapCreature() { return nullptr; }
    // The wall piece, platform and light source sides that the map reads
    // (world/MapStructures.h); null for everything else.
    virtual MapWall* GetMapWall() { return nullptr; }
    virtual MapDeck* GetMapDeck() { return nullptr; }
    virtual MapLamp* GetMapLamp() { return nullptr; }
    // Deleted by the map that held it, once it is off the map: the map owns
    // what stands on it, but a member belongs to its group, which deletes it.
    virtual void DeleteFromMap() { delete this; }
    virtual void TakeDamage(int amount, int kind);

    // Object's class-wide picture: one 64 x 64 cell from bitmap 283.
    static CDDObject& ClassImage();

protected:
    // Draw's work with the picture and its cell given: the light where the
    // object stands picks the picture's darkened frame (the class picture's
    // corners sampled too for an object placed by its picture), and
    // m_bNotDrawn tells whether it was drawn.
    int DrawLit(CDDObject* picture, int column, int row, qv::Surface* surface, qv::Point screen,
                const qv::Rect& view, const Position& pos, int flags);

public:
    int m_iWeight = 1;
    int m_iValue = 0;
    int m_iItemNum = -1;  // key number; 0 or more is entered in the key records
    int m_iSpare1 = 0;
    int m_iState = 1;
    uint8_t m_iMoveMode = 1;
    // Beside the state and the move mode, in the object's first cache line,
    // as every move test and drawing-order insertion reads them of every
    // object in the cell.
    int m_iLightSampling = 0;  // collision kind; above 1 also samples corner light
    CDDObject* m_pDDImage = nullptr;
    int m_iBulkNum = 1;
    int m_bStackable = 0;
    int m_iSpare2 = -1;                 // place 0..19 in the bag that holds it, -1 in none
    ObjectHolder* m_pHolder = nullptr;  // set by the holder that places it
    int m_iOwner = -1;
    int m_bMoveable = 1;  // 2 marks a shared prototype the map never deletes
    CDDObject* m_pClassDDImage = nullptr;
    int m_iXImageNum = 0;
    int m_iYImageNum = 0;
    int m_bNotDrawn = 0;  // 1 left undrawn for want of light, -1 never drawn
    int m_bInteract = 1;
    std::string m_strGeneralName;
    std::string m_strSpecialName;
    int m_iNumLevels = 0;
    int m_iTag = 0;
};
