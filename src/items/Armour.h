#pragma once
// Armour: the wearable items. Each piece is worn at one body location, slows
// its wearer by its speed factor (percent, 100 none) and absorbs damage. The
// ten kinds turn a material number 0 to 8 into a name, the numbers, a value,
// a weight and a picture (rows of a table; any other material takes the
// kind's "other" row). IntrinsicArmour is armour built into a creature.

#include <cstdint>
#include <string>

#include "creatures/Combat.h"
#include "items/Useable.h"

class CDDObject;

// Worn armour answers what a fight asks of it (CombatArmour).
class Armour : public Useable, public CombatArmour {
    QV_DECLARE_CLASS(Armour)
public:
    explicit Armour(int32_t speedFactor = 100, int32_t absorption = 1, int32_t location = 1,
                    const std::string& name = "Armour", int32_t material = 0);

    // The object part, then the material; loading applies the material and
    // keeps the value the object part read.
    void Serialize(qv::Archive& ar) override;
    std::string GetInfoText() override;
    // A piece of the same class made of the same material; nothing else is
    // copied.
    Object* Clone() override;
    int GetKind() override { return GetArmourKind(); }
    int GetUseableKind() override { return UseableKind::Armour; }

    // The armour's own operations, in their order.
    virtual int GetLocation() { return m_iLocation; }
    int GetArmourKind() override { return 0; }
    int32_t GetArmourSpeedFactor() override { return m_iSpeedFactor; }
    int32_t GetAbsorption() override { return m_iAbsorption; }
    // Makes the piece of `material`: its frame column and, in each kind, the
    // name, numbers, value and weight of its row.
    virtual void SetMaterial(int32_t& material);

    int32_t m_iSpeedFactor;
    int32_t m_iAbsorption;
    int32_t m_iLocation;
    int32_t m_iMaterial;  // the only one stored
};

class IntrinsicArmour : public Armour {
    QV_DECLARE_CLASS(IntrinsicArmour)
public:
    explicit IntrinsicArmour(int32_t kind = 1, int32_t speedFactor = 100, int32_t absorption = 100,
                             int32_t location = 1, const std::string& name = "Armour");
    void Serialize(qv::Archive& ar) override;
    int GetArmourKind() override { return m_iKind; }
    int32_t m_iKind;  // not stored
};

// One row of a kind's material table: the name (null keeps the piece's
// name; with `renames` set, only a piece of that name takes it), speed
// factor, absorption, value and weight.
struct MaterialRow {
    const char* name;
    int32_t speedFactor, absorption, value, weight;
    const char* renames = nullptr;
};

// The ten armour kinds, in the order of their table.
enum ArmourKindIndex : int {
    kShieldKind,
    kHelmKind,
    kAmuletKind,
    kShirtKind,
    kGlovesKind,
    kRingKind,
    kLeggingsKind,
    kBootsKind,
    kCapeKind,
    kDoggieKind,
    kArmourKindCount
};

struct ArmourKindRow {
    int32_t location;
    int32_t armourKind;
    int picture;                // kItem... of the resource store
    bool inventoryPictures;     // one picture per material of its own
    MaterialRow materials[10];  // 0..8, then "other"
};
const ArmourKindRow& ArmourKindTable(int index);
// The row a material takes: its own for 0..8, else "other".
const MaterialRow& MaterialOf(const ArmourKindRow& kind, int32_t material);

// What every armour kind shares: its row of the table.
class ArmourKind : public Armour {
public:
    ArmourKind(int index, int32_t material);
    int GetArmourKind() override;
    void SetMaterial(int32_t& material) override;
    // Boots, leggings and amulets show a picture of their material.
    CDDObject* GetImage() override;
    void GetImageFrame(int* x, int* y) override;

private:
    int m_iKind;
};

#define QV_ARMOUR_KIND_CLASS(Name)                \
    class Name : public ArmourKind {              \
        QV_DECLARE_CLASS(Name)                    \
    public:                                       \
        explicit Name(int32_t material = 0);      \
        void Serialize(qv::Archive& ar) override; \
    };

QV_ARMOUR_KIND_CLASS(Shield)
QV_ARMOUR_KIND_CLASS(Helm)
QV_ARMOUR_KIND_CLASS(Amulet)
QV_ARMOUR_KIND_CLASS(Shirt)
QV_ARMOUR_KIND_CLASS(Gloves)
QV_ARMOUR_KIND_CLASS(Ring)
QV_ARMOUR_KIND_CLASS(Leggings)
QV_ARMOUR_KIND_CLASS(Boots)
QV_ARMOUR_KIND_CLASS(Cape)
QV_ARMOUR_KIND_CLASS(Doggie)

#undef QV_ARMOUR_KIND_CLASS
