#include "items/Armour.h"

#include <array>

#include "items/ItemPictures.h"
#include "media/DDObjects.h"
#include "media/Resources.h"
#include "platform/Archive.h"
#include "platform/Format.h"

QV_IMPLEMENT_SERIAL(Armour, Useable, 2, true)
QV_IMPLEMENT_SERIAL(IntrinsicArmour, Armour, 1, true)

namespace {

constexpr int kMaterials = kArmourMaterialCount;

// clang-format off
const ArmourKindRow kArmourKinds[kArmourKindCount] = {
    {2, 12, kItemShield, false, {
        {"Small Wooden Shield", 98, 1, 2, 8}, {"Large Wooden Shield", 95, 3, 5, 10},
        {"Snakeskin Shield", 95, 5, 25, 6}, {"Scale Shield", 92, 5, 80, 10},
        {"Small Metal Shield", 90, 7, 120, 14}, {"Large Metal Shield", 87, 10, 280, 16},
        {"Magic Shield", 100, 12, 3000, 6}, {"Magic Shield", 100, 14, 12800, 10},
        {"Magic Shield", 130, 15, 76300, 6}, {"Small Wooden Shield", 98, 1, 2, 8}}},
    {3, 10, kItemHelmet, false, {
        {nullptr, 100, 1, 1, 3}, {"Leather Helm", 100, 2, 3, 15},
        {"Snakeskin Helm", 100, 4, 30, 10}, {"Scale Helm", 95, 6, 75, 20},
        {"Chain Helm", 93, 8, 120, 20}, {"Plate Helm", 90, 9, 375, 30},
        {"Magic Helm", 100, 9, 3000, 2}, {"Magic Helm", 100, 10, 15200, 2},
        {"Magic Helm of Speed", 130, 9, 82100, 2}, {nullptr, 100, 1, 1, 1}}},
    {4, 14, kItemAmulet, true, {
        {"Gold Necklace", 100, 1, 10, 6, "Necklace"}, {"Amulet of Protection", 100, 10, 200, 6},
        {nullptr, 100, 1, 2, 6}, {nullptr, 100, 1, 2, 6}, {nullptr, 100, 1, 2, 6},
        {nullptr, 100, 1, 2, 6}, {nullptr, 100, 1, 2, 6}, {nullptr, 100, 1, 2, 6},
        {nullptr, 100, 1, 2, 6}, {nullptr, 100, 1, 2, 6}}},
    {5, 6, kItemShirt, false, {
        {"Cloth Shirt", 100, 1, 2, 8}, {"Leather Shirt", 95, 3, 8, 16},
        {"Snakeskin Shirt", 95, 6, 42, 12}, {"Scale Shirt", 92, 10, 80, 16},
        {"Chain Shirt", 90, 15, 150, 40}, {"Plate Shirt", 85, 20, 340, 60},
        {"Magic Shirt", 100, 22, 2730, 5}, {"Magic Shirt", 100, 24, 12530, 6},
        {"Magic Shirt of Speed", 130, 22, 83200, 4}, {"Cloth Shirt", 100, 1, 2, 1}}},
    {6, 9, kItemGloves, false, {
        {"Cloth Gloves", 100, 1, 1, 3}, {"Leather Gloves", 100, 2, 5, 7},
        {"Snakeskin Gloves", 100, 4, 28, 6}, {"Scale Gloves", 98, 6, 88, 10},
        {"Chain Gloves", 95, 7, 143, 13}, {"Plate Gloves", 90, 8, 376, 18},
        {"Magic Gloves", 100, 8, 2960, 2}, {"Magic Gloves", 100, 9, 14800, 3},
        {"Magic Gloves", 100, 8, 84230, 2}, {"Cloth Gloves", 100, 0, 1, 1}}},
    {7, 0, kItemRing, false, {
        {"Gold Ring", 100, 1, 10, 1}, {"Ring of Protection", 100, 10, 200, 1},
        {"Ring", 100, 1, 2, 1}, {"Ring", 100, 1, 2, 1}, {"Ring", 100, 1, 2, 1},
        {"Ring", 100, 1, 2, 1}, {"Ring", 100, 1, 2, 1}, {"Ring", 100, 1, 2, 1},
        {"Ring", 100, 1, 2, 1}, {"Ring", 100, 1, 2, 1}}},
    {8, 7, kItemLeggings, true, {
        {"Cloth Leggings", 100, 1, 2, 5}, {"Leather Leggings", 95, 5, 8, 20},
        {"Snakeskin Leggings", 95, 8, 40, 15}, {"Scale Leggings", 92, 12, 85, 22},
        {"Chain Leggings", 86, 15, 170, 26}, {"Plate Leggings", 80, 20, 355, 30},
        {"Magic Leggings", 100, 22, 2000, 10}, {"Magic Leggings", 100, 24, 2780, 6},
        {"Magic Leggings of Speed", 130, 22, 86430, 4}, {"Cloth Leggings", 100, 1, 2, 2}}},
    {9, 8, kItemBoots, true, {
        {"Shoes", 100, 1, 1, 4}, {"Leather Boots", 99, 3, 6, 18},
        {"Snakeskin Boots", 99, 6, 28, 13}, {"Scale Boots", 95, 7, 82, 20},
        {"Chain Boots", 90, 8, 153, 25}, {"Plate Boots", 80, 9, 346, 40},
        {"Magic Boots", 100, 9, 2660, 4}, {"Magic Boots", 100, 11, 14200, 5},
        {"Magic Speed Boots", 130, 10, 84320, 3}, {"Shoes", 100, 1, 1, 4}}},
    {10, 11, kItemCape, false, {
        {"Cloth Cape", 98, 1, 2, 4}, {"Cloth Cape", 98, 1, 2, 4}, {"Cloth Cape", 98, 1, 2, 4},
        {"Cloth Cape", 98, 1, 2, 4}, {"Cloth Cape", 98, 1, 2, 4}, {"Cloth Cape", 98, 1, 2, 4},
        {"Magic Cape", 100, 4, 4000, 5}, {"Magic Cape", 100, 5, 12700, 7},
        {"Magic Cape of Speed", 130, 4, 74480, 5}, {"Cloth Cape", 98, 1, 2, 4}}},
    {12, 13, kItemDogArmour, false, {
        {"Cloth Dog Armour", 100, 1, 2, 6}, {"Leather Dog Armour", 95, 7, 15, 15},
        {"Snakeskin Dog Armour", 95, 8, 80, 14}, {"Scale Dog Armour", 90, 10, 140, 17},
        {"Chain Dog Armour", 84, 20, 180, 30}, {"Plate Dog Armour", 70, 30, 500, 50},
        {"Magic Dog Armour", 100, 50, 4000, 8}, {"Magic Dog Armour", 100, 55, 23500, 10},
        {"Magic Speed Dog Armour", 130, 52, 132500, 8}, {"Cloth Dog Armour", 100, 1, 2, 6}}},
};
// clang-format on

// The picture column of a material; a material the picture has no cell for
// shows the first.
int ColumnOf(int32_t material) {
    return material >= 0 && material < kMaterials ? material : 0;
}

CDDObject& ArmourImage(int index) {
    static const size_t listFirst = CDDObject::GlobalImageCount();
    (void)listFirst;
    static std::array<CDDObject, kArmourKindCount> images;
    return images[static_cast<size_t>(index)];
}

}  // namespace

// ---- Armour

Armour::Armour(int32_t speedFactor, int32_t absorption, int32_t location, const std::string& name,
               int32_t material)
    : Useable(name),
      m_iSpeedFactor(speedFactor),
      m_iAbsorption(absorption),
      m_iLocation(location),
      m_iMaterial(material) {}

void Armour::Serialize(qv::Archive& ar) {
    const uint32_t schema = ar.IsLoading() ? ar.GetObjectSchema() : 0;
    ar.SerializeClass(&Useable::classInfo);
    Useable::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteInt(m_iMaterial);
        return;
    }
    int32_t material = schema >= 2 ? ar.ReadInt() : 0;
    // The material gives the name, numbers and weight; the value stays the
    // one the record holds.
    const int value = m_iValue;
    SetMaterial(material);
    m_iValue = value;
}

std::string Armour::GetInfoText() {
    return GetDisplayName() + qv::Format("\nSpeed Factor: %d", m_iSpeedFactor) +
           qv::Format("\nDam. Abs.: %d", m_iAbsorption) + qv::Format("\nWeight: %d", m_iWeight);
}

Object* Armour::Clone() {
    qv::Persistent* made = GetRuntimeClass()->CreateObject();
    auto* copy = qv::DynamicCast<Armour>(made);
    if (!copy) {
        delete made;
        return nullptr;
    }
    int32_t material = m_iMaterial;
    copy->SetMaterial(material);
    return copy;
}

void Armour::SetMaterial(int32_t& material) {
    m_iMaterial = material;
    m_iXImageNum = ColumnOf(material);
}

// ---- IntrinsicArmour

IntrinsicArmour::IntrinsicArmour(int32_t kind, int32_t speedFactor, int32_t absorption,
                                 int32_t location, const std::string& name)
    : Armour(speedFactor, absorption, location, name, 0), m_iKind(kind) {}

QV_SERIALIZE_BASE_ONLY(IntrinsicArmour, Armour)

// ---- The ten kinds

const ArmourKindRow& ArmourKindTable(int index) {
    if (index < 0 || index >= kArmourKindCount) index = 0;
    return kArmourKinds[index];
}

const MaterialRow& MaterialOf(const ArmourKindRow& kind, int32_t material) {
    return kind.materials[material >= 0 && material < kMaterials ? material : kMaterials];
}

ArmourKind::ArmourKind(int index, int32_t material)
    : Armour(100, 1, 1, "Armour", 0), m_iKind(index) {
    const ArmourKindRow& row = ArmourKindTable(index);
    DressItem(*this, ArmourImage(index),
              ItemLook{kBitmapArmourMaterials + row.picture, 32, 24, 16, 16, kMaterials, 1, 4});
    m_iLightSampling = 1;
    m_iMaterial = material;
    m_iLocation = row.location;
    if (index == kShieldKind) {
        // A shield takes the other hand and the shield arm.
        m_LocationList.emplace_back(BodySlot::OtherHand);
        m_LocationList.emplace_back(BodySlot::ShieldArm);
    }
    // The amulet is a necklace until its material says otherwise.
    if (index == kAmuletKind) SetName("Necklace");
    ArmourKind::SetMaterial(material);
}

int ArmourKind::GetArmourKind() {
    return ArmourKindTable(m_iKind).armourKind;
}

void ArmourKind::SetMaterial(int32_t& material) {
    Armour::SetMaterial(material);
    const MaterialRow& row = MaterialOf(ArmourKindTable(m_iKind), material);
    if (row.name && (!row.renames || m_strSpecialName == row.renames)) SetName(row.name);
    m_iSpeedFactor = row.speedFactor;
    m_iAbsorption = row.absorption;
    m_iValue = row.value;
    m_iWeight = row.weight;
}

CDDObject* ArmourKind::GetImage() {
    const ArmourKindRow& row = ArmourKindTable(m_iKind);
    if (!row.inventoryPictures) return Armour::GetImage();
    return InventoryPicture(
        kBitmapArmourInventory + row.picture * kMaterials + ColumnOf(m_iMaterial), 36, 33);
}

void ArmourKind::GetImageFrame(int* x, int* y) {
    if (!ArmourKindTable(m_iKind).inventoryPictures) return Armour::GetImageFrame(x, y);
    // The material's own picture has one cell.
    if (x && *x >= 0) *x = 0;
    if (y && *y >= 0) *y = 0;
}

#define QV_ARMOUR_KIND_IMPL(Name)                                         \
    QV_IMPLEMENT_SERIAL(Name, Armour, 1, true)                            \
    Name::Name(int32_t material) : ArmourKind(k##Name##Kind, material) {} \
    QV_SERIALIZE_BASE_ONLY(Name, Armour)

QV_ARMOUR_KIND_IMPL(Shield)
QV_ARMOUR_KIND_IMPL(Helm)
QV_ARMOUR_KIND_IMPL(Amulet)
QV_ARMOUR_KIND_IMPL(Shirt)
QV_ARMOUR_KIND_IMPL(Gloves)
QV_ARMOUR_KIND_IMPL(Ring)
QV_ARMOUR_KIND_IMPL(Leggings)
QV_ARMOUR_KIND_IMPL(Boots)
QV_ARMOUR_KIND_IMPL(Cape)
QV_ARMOUR_KIND_IMPL(Doggie)

#undef QV_ARMOUR_KIND_IMPL
