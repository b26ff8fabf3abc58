// The weapon classes: their numbers, stored records, copies, info text and
// pictures. What a weapon does in a fight is in WeaponUse.cpp.

#include "items/Weapon.h"

#include <algorithm>
#include <array>
#include <climits>

#include "items/ItemPictures.h"
#include "media/DDObjects.h"
#include "media/Resources.h"
#include "platform/Archive.h"
#include "platform/Format.h"
#include "platform/Saturate.h"
#include "world/Global.h"

QV_IMPLEMENT_SERIAL(Weapon, Useable, 2, true)
QV_IMPLEMENT_SERIAL(IntrinsicWeapon, Weapon, 1, true)

namespace {

// What the weapon constructors put in m_iSpare1.
constexpr int kWeaponMark = 1;

constexpr HandWeaponRow kHandWeapons[] = {
    // name             speed range base param stun weight value kind  two-handed picture  named
    {"Axe", 100, 10, 3, 3, 50, 15, 5, kAxe, false, kItemAxe, false},
    {"Axe, Battle", 100, 5, 2, 3, 50, 20, 5, kAxeBattle, false, kItemAxe, false},
    {"Dagger", 100, 5, 2, 3, 20, 8, 5, kDagger, false, kItemDagger, true},
    {"Flail", 100, 10, 3, 4, 40, 16, 30, kFlail, false, kItemFlail, false},
    {"Hammer, Forge", 80, 10, 3, 5, 50, 20, 100, kHammerForge, false, kItemHammer, false},
    {"Hammer, War", 80, 10, 3, 5, 60, 25, 100, kHammerWar, true, kItemHammer, false},
    {"Mace", 80, 10, 3, 5, 50, 20, 25, kMace, false, kItemMace, false},
    {"Pitchfork", 80, 10, 3, 5, 50, 15, 25, kPitchfork, true, kItemPitchfork, false},
    {"Scythe", 90, 10, 3, 5, 40, 0, 25, kScythe, true, kItemScythe, false},
    {"Spear", 90, 10, 3, 7, 50, 15, 20, kSpear, true, kItemSpear, false},
    {"Sword", 90, 10, 3, 5, 50, 30, 40, kSword, false, kItemSword, true},
    {"Sword, Long", 80, 15, 5, 6, 60, 40, 70, kSwordLong, false, kItemLongSword, true},
    {"Touch", 100, 0, 0, 3, 10, 0, 5, kTouch, false, -1, false},
    {"Whip", 100, 10, 3, 7, 40, 12, 30, kWhip, false, kItemWhip, false},
    {"Whip, Barbed", 100, 10, 4, 7, 50, 17, 70, kWhipBarbed, false, kItemWhip, false},
};
static_assert(std::size(kHandWeapons) == kLastHandWeapon - kAxe + 1);

constexpr ThrownMissileRow kThrownMissiles[] = {
    // name                 speed range base param stun value
    {"Small stone", 100, 2, 1, 1, 10, 0}, {"Medium-sized stone", 80, 5, 1, 1, 20, 0},
    {"Large stone", 50, 10, 5, 1, 50, 0}, {"Boulder", 1, 30, 10, 10, 70, 0},
    {"FairyDart", 100, 10, 1, 1, 30, 0},  {"Thrown Dagger", 100, 5, 1, -1, 50, 20},
    {"Needle", 100, 2, 1, 1, 20, 0},
};
static_assert(std::size(kThrownMissiles) == kLastThrownMissile - kSmallStone + 1);

// A hand weapon lying on the ground: 32 x 24, four light levels.
ItemLook HandWeaponLook(int picture) {
    return ItemLook{kBitmapItemGround + picture, 32, 24, 16, 16, 1, 1, 4};
}

// One class image per hand weapon kind.
CDDObject& HandWeaponImage(int32_t kind) {
    static const size_t listFirst = CDDObject::GlobalImageCount();
    (void)listFirst;
    static std::array<CDDObject, std::size(kHandWeapons)> images;
    return images[static_cast<size_t>(kind - kAxe)];
}

int32_t ClampedSum(int32_t a, int32_t b) {
    return qv::ClampToInt32(int64_t{a} + b);
}

}  // namespace

// ---- Weapon

Weapon::Weapon(int32_t speed, int32_t damageRange, int32_t damageBase, int32_t parameter,
               int32_t stun, const std::string& name)
    : Useable(name),
      m_iSpeed(speed),
      m_iParameter(parameter),
      m_iDamageRange(damageRange),
      m_iDamageBase(damageBase),
      m_iStun(stun) {
    m_iSpare1 = kWeaponMark;
}

void Weapon::Serialize(qv::Archive& ar) {
    const uint32_t schema = ar.IsLoading() ? ar.GetObjectSchema() : 0;
    ar.SerializeClass(&Useable::classInfo);
    Useable::Serialize(ar);
    if (ar.IsStoring()) {
        for (int32_t v : {m_iSpeed, m_iParameter, m_iDamageRange, m_iDamageBase, m_iStun})
            ar.WriteInt(v);
        return;
    }
    // The oldest records keep the class's own numbers.
    if (schema < 2) return;
    for (int32_t* v : {&m_iSpeed, &m_iParameter, &m_iDamageRange, &m_iDamageBase, &m_iStun})
        *v = ar.ReadInt();
}

std::string Weapon::GetInfoText() {
    return GetDisplayName() + qv::Format("\nSpeed: %d", m_iSpeed) +
           qv::Format("\nDam: %d-%d", m_iDamageBase, ClampedSum(m_iDamageBase, m_iDamageRange)) +
           qv::Format("\nWeight: %d", m_iWeight) + qv::Format("\nStun: %d", m_iStun);
}

int Weapon::Edit() {
    // The "Weapon properties" dialog belongs to the editor; outside edit
    // mode there is nothing to edit.
    if (!IsEditMode()) return 0;
    Object::Edit();
    return 1;
}

void Weapon::CopyWeapon(const Weapon& from) {
    CopyObjectFields(*this, from);
    m_iSpeed = from.m_iSpeed;
    m_iParameter = from.m_iParameter;
    m_iDamageRange = from.m_iDamageRange;
    m_iDamageBase = from.m_iDamageBase;
    m_iStun = from.m_iStun;
    m_iDamageKind = from.m_iDamageKind;
}

Object* Weapon::Clone() {
    qv::Persistent* made = GetRuntimeClass()->CreateObject();
    auto* copy = qv::DynamicCast<Weapon>(made);
    if (!copy) {
        delete made;
        return nullptr;
    }
    copy->CopyWeapon(*this);
    return copy;
}

// ---- IntrinsicWeapon

IntrinsicWeapon::IntrinsicWeapon(int32_t kind, int32_t speed, int32_t damageRange,
                                 int32_t damageBase, int32_t parameter, int32_t stun,
                                 const std::string& name)
    : Weapon(speed, damageRange, damageBase, parameter, stun, name), m_iKind(kind) {}

QV_SERIALIZE_BASE_ONLY(IntrinsicWeapon, Weapon)

Object* IntrinsicWeapon::Clone() {
    Object* copy = Weapon::Clone();
    if (auto* w = qv::DynamicCast<IntrinsicWeapon>(copy)) w->m_iKind = m_iKind;
    return copy;
}

// ---- The hand weapons

const HandWeaponRow& HandWeaponTable(int32_t kind) {
    if (kind < kAxe || kind > kLastHandWeapon) kind = kAxe;
    return kHandWeapons[kind - kAxe];
}

HandWeapon::HandWeapon(int32_t kind)
    : Weapon(HandWeaponTable(kind)), m_iKind(HandWeaponTable(kind).kind) {
    const HandWeaponRow& row = HandWeaponTable(kind);
    m_iLightSampling = 1;
    // Weapons take the hand; the long ones the other hand too.
    m_LocationList.emplace_back(BodySlot::Hand);
    if (row.twoHanded) m_LocationList.emplace_back(BodySlot::OtherHand);
    m_iValue = row.value;
    if (row.weight != 0) m_iWeight = row.weight;
    if (row.picture >= 0) DressItem(*this, HandWeaponImage(m_iKind), HandWeaponLook(row.picture));
}

CDDObject* HandWeapon::GetImage() {
    const HandWeaponRow& row = HandWeaponTable(m_iKind);
    if (!row.namedPicture) return Weapon::GetImage();
    const bool ownName = GetDisplayName() == row.name;
    return InventoryPicture((ownName ? kBitmapItemInventory : kBitmapItemNamed) + row.picture, 36,
                            33);
}

void HandWeapon::GetImageFrame(int* x, int* y) {
    if (!HandWeaponTable(m_iKind).namedPicture) return Weapon::GetImageFrame(x, y);
    // Its own picture has one cell.
    if (x && *x >= 0) *x = 0;
    if (y && *y >= 0) *y = 0;
}

#define QV_HAND_WEAPON_IMPL(Name)              \
    QV_IMPLEMENT_SERIAL(Name, Weapon, 1, true) \
    Name::Name() : HandWeapon(k##Name) {}      \
    QV_SERIALIZE_BASE_ONLY(Name, Weapon)

QV_HAND_WEAPON_IMPL(Axe)
QV_HAND_WEAPON_IMPL(AxeBattle)
QV_HAND_WEAPON_IMPL(Dagger)
QV_HAND_WEAPON_IMPL(Flail)
QV_HAND_WEAPON_IMPL(HammerForge)
QV_HAND_WEAPON_IMPL(HammerWar)
QV_HAND_WEAPON_IMPL(Mace)
QV_HAND_WEAPON_IMPL(Pitchfork)
QV_HAND_WEAPON_IMPL(Scythe)
QV_HAND_WEAPON_IMPL(Spear)
QV_HAND_WEAPON_IMPL(Sword)
QV_HAND_WEAPON_IMPL(SwordLong)
QV_HAND_WEAPON_IMPL(Touch)
QV_HAND_WEAPON_IMPL(Whip)
QV_HAND_WEAPON_IMPL(WhipBarbed)

#undef QV_HAND_WEAPON_IMPL

// ---- The thrown missiles

const ThrownMissileRow& ThrownMissileTable(int32_t kind) {
    if (kind < kSmallStone || kind > kLastThrownMissile) kind = kSmallStone;
    return kThrownMissiles[kind - kSmallStone];
}

ThrownMissile::ThrownMissile(int32_t kind)
    : Weapon(ThrownMissileTable(kind)),
      m_iKind(kind < kSmallStone || kind > kLastThrownMissile ? kSmallStone : kind) {
    m_iValue = ThrownMissileTable(kind).value;
}

Object* ThrownMissile::Clone() {
    auto* copy = new ThrownMissile(m_iKind);
    copy->CopyWeapon(*this);
    return copy;
}
