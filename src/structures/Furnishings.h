#pragma once
// The kinds of things that furnish the world and that the world maker
// places: furniture and fixtures, lights that stand or hang, signs, books and
// letters, and the small things a creature carries (items/Trinkets.h). A kind
// is a row of one table: its stored class name, its picture, whether it
// blocks, gives light or is carried, and its value and weight. Each kind is a
// class of its own only so that it is stored and read under its own name; a
// family class (scenery, light, plain object, item) holds what the kinds of
// the family do.

#include <span>
#include <string>
#include <string_view>

#include "structures/LightSource.h"
#include "structures/Scenery.h"
#include "world/Object.h"
#include "world/StoredClass.h"

// A kind of object, as the table gives it.
struct ObjectKind {
    const char* name;   // its stored class name, and the name its objects get
    int bitmap;         // its picture; a cell a variant across
    int variants;       // cells across the picture
    int hotX, hotY;     // the hot spot within a cell
    bool blocks;        // placed by its picture and blocking through it
    int light;          // light at its centre; 0 for a kind that gives none
    int reach;          // pixels from its centre to darkness
    bool carried;       // picked up and carried
    int value, weight;  // its worth and weight
};

// Every kind of the table, in no particular order.
std::span<const ObjectKind> ObjectKinds();
// The kind stored under `name`, or null.
const ObjectKind* FindObjectKind(std::string_view name);
// The kind stored under `name`; the table holds every kind a class names.
const ObjectKind& KindNamed(std::string_view name);
// The object wears the kind's picture and takes its collision, its carrying
// mark, its value and its weight.
void WearKind(Object& object, const ObjectKind& kind);

// Furniture and fixtures: scenery of a kind.
class Furnishing : public Scenery {
public:
    Furnishing(const ObjectKind& kind, const std::string& name);
    // A copy with every stored field, its variant among them.
    Object* Clone() override;
    // A variant its picture has no cell for (a number from a file) shows the
    // first.
    void GetImageFrame(int* x, int* y) override;
};

// Lights of a kind: fires, torches, candles; seen always, not only by the
// world maker.
class Lamp : public LightSource {
public:
    Lamp(const ObjectKind& kind, const std::string& name);
    // A copy with every stored field, the light's among them.
    Object* Clone() override;
};

// Signs, books and letters: read, they show the node of the game folder's
// book script (kBookScript, in the language of the conversation scripts)
// that their general name names.
bool IsReadable(const Object& object);
inline constexpr const char* kBookScript = "Books.smb";

// Things of no broad class of their own: signs, books, letters and marks on
// the floor. The carried ones are worked as any carried thing.
class PlainKind : public Object {
public:
    PlainKind(const ObjectKind& kind, const std::string& name);
    // Carried things are taken; signs are read where they stand.
    int CanInteract() override { return m_bMoveable == 1 || IsReadable(*this) ? 1 : 0; }
    Object* Clone() override;
};

// A plain kind that keeps the place where it is put on the map.
class PlaceKeeper : public PlainKind {
public:
    using PlainKind::PlainKind;
    void SetPosition(MapCell* windowCell, Position* pos) override;
    Position m_Position;  // where it was placed; not stored
};

// A gas cloud: the first creature to step into it sets it off, a blast
// where it lies; a spent cloud (state 0) stays quiet.
class GasCloud : public PlaceKeeper {
public:
    using PlaceKeeper::PlaceKeeper;
    int StepOn(Position* pos, Object* mover) override;
    static constexpr int32_t kSpent = 0;
};

// Declares, and then implements, a kind class `Name` of the family `Family`,
// stored with `Stored` as its base and made from the row stored as `Name`.
#define QV_OBJECT_KIND(Name, Family) \
    class Name : public Family {     \
        QV_STORED_CLASS(Name)        \
    };
#define QV_IMPLEMENT_OBJECT_KIND(Name, Family, Stored) \
    QV_IMPLEMENT_STORED(Name, Stored, 1)               \
    Name::Name(const std::string& name) : Family(KindNamed(#Name), name) {}

QV_OBJECT_KIND(Net, Furnishing)
QV_OBJECT_KIND(Rope, Furnishing)
QV_OBJECT_KIND(BookCase, Furnishing)
QV_OBJECT_KIND(Table, Furnishing)
QV_OBJECT_KIND(Bench, Furnishing)
QV_OBJECT_KIND(Column, Furnishing)
QV_OBJECT_KIND(Fountain, Furnishing)
QV_OBJECT_KIND(Forge, Furnishing)
QV_OBJECT_KIND(Altar, Furnishing)
QV_OBJECT_KIND(Target, Furnishing)
QV_OBJECT_KIND(Clock, Furnishing)
QV_OBJECT_KIND(Blocks, Furnishing)

QV_OBJECT_KIND(CampFire, Lamp)
QV_OBJECT_KIND(Torch, Lamp)
QV_OBJECT_KIND(Candle, Lamp)
QV_OBJECT_KIND(WallTorch, Lamp)
QV_OBJECT_KIND(Hearth, Lamp)
QV_OBJECT_KIND(Candelabra, Lamp)
QV_OBJECT_KIND(Candelabra2, Lamp)

QV_OBJECT_KIND(Sign, PlainKind)
QV_OBJECT_KIND(Book, PlainKind)
QV_OBJECT_KIND(Letter, PlainKind)
QV_OBJECT_KIND(SpriteTest, PlainKind)
QV_OBJECT_KIND(FloorChange, PlaceKeeper)
QV_OBJECT_KIND(Gas, GasCloud)

// A painting on a wall, one of six (its frame column).
class Picture : public Furnishing {
    QV_DECLARE_CLASS(Picture)
public:
    explicit Picture(int variant = 0);
    void Serialize(qv::Archive& ar) override;
};
