#pragma once
// Usable items: the base of everything a creature can carry, wear, wield or
// use up (armour, weapons, missile weapons, potions, scrolls).

#include <cstdint>
#include <vector>

#include "platform/Handle.h"
#include "world/Object.h"

// A body-slot record. An item lists the body locations it takes up; a
// creature's records are its body slots, marked occupied with the object that
// takes them.
struct ItemUse {
    int32_t m_bOccupied = 0;
    int32_t m_bChecked = 0;
    int32_t m_iLocation = 0;
    qv::Handle<Object> m_pOccupant;  // not owned

    ItemUse() = default;
    explicit ItemUse(int32_t location) : m_iLocation(location) {}
};

// The body slots the hand-held things take.
struct BodySlot {
    static constexpr int32_t OtherHand = 1;
    static constexpr int32_t ShieldArm = 2;
    static constexpr int32_t Hand = 3;
    static constexpr int32_t BowHand = 4;
};

// Gives `to` the stored fields of `from` (its names, frame, weight, value,
// key number, state, stack, interact flag and owner) and its moveable mark;
// not its place in a bag. A key number enters `to` in the key records.
void CopyObjectFields(Object& to, const Object& from);

// The broad item classes answered by Useable::GetUseableKind.
struct UseableKind {
    static constexpr int Plain = 4;
    static constexpr int Weapon = 5;
    static constexpr int Armour = 6;
};

class Useable : public Object {
    QV_DECLARE_CLASS(Useable)
public:
    explicit Useable(const std::string& name = "Useable");

    // Records only the object part: the location list is rebuilt by every
    // constructor, so a loaded item has the records of its class.
    void Serialize(qv::Archive& ar) override;
    int CanInteract() override { return 1; }
    std::pair<int, int> GetUseRange(Player*) override { return {0, 0}; }
    int Type() override { return USEABLE; }
    // An item of the same class with this one's stored fields.
    Object* Clone() override;
    // A frame its picture has no cell for shows the first.
    void GetImageFrame(int* x, int* y) override;

    virtual int GetUseableKind() { return UseableKind::Plain; }

    // The body locations the item takes up, in the order its class gives them.
    std::vector<ItemUse> m_LocationList;
};
