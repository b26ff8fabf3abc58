#pragma once
// Weapons: the usable items a creature fights with. A Weapon holds the five
// weapon numbers and answers the two questions of a fight, the chance to hit
// and the damage dealt. The fifteen hand weapons and the seven thrown
// missiles are rows of tables that differ only in their numbers, kind and
// picture; an IntrinsicWeapon is a creature's natural weapon (teeth, hands).
// The launchers and missiles in flight are in Missile.h.

#include <cstdint>
#include <string>

#include "creatures/Combat.h"
#include "items/Useable.h"

class CDDObject;

// What the weapon's attack evaluation knew of one attack, for the attack
// training records: the target's skills and health, the chance and the
// average damage, the attacker's skills and health, the distance and whether
// the line to the target was clear.
struct AttackSituation {
    float targetShortRange = 0, targetLongRange = 0, targetMagic = 0;  // f1..f3
    int32_t targetHealth = 0;                                          // f4, percent
    Player* creature = nullptr;                                        // f5
    Player* target = nullptr;                                          // f6
    class Weapon* weapon = nullptr;                                    // f7
    int32_t chance = 0;                                                // f9
    int32_t damage = 0;                              // f10, percent of the target's
    float shortRange = 0, longRange = 0, magic = 0;  // f13..f15
    int32_t health = 0;                              // f16, percent
    int32_t distance = 0;                            // f17
    int32_t clearLine = 0;                           // f18
};

// Where an attack training record for the situation would go: the game keeps
// none (the data program's training records its own fights).
void AddAttackRecord(const AttackSituation& situation);

// A weapon answers what a fight asks of it (CombatWeapon).
class Weapon : public Useable, public CombatWeapon {
    QV_DECLARE_CLASS(Weapon)
public:
    // The numbers in the order the weapon tables give them.
    explicit Weapon(int32_t speed = 100, int32_t damageRange = 1, int32_t damageBase = 1,
                    int32_t parameter = 1, int32_t stun = 50, const std::string& name = "Weapon");
    // A weapon of a table row's name, speed, damage range and base, parameter
    // and stun (the hand weapons' and the thrown missiles' rows).
    template <class Row>
    requires requires(const Row& r) { r.damageRange + r.parameter; }
    explicit Weapon(const Row& row)
        : Weapon(row.speed, row.damageRange, row.damageBase, row.parameter, row.stun, row.name) {}

    void Serialize(qv::Archive& ar) override;
    std::string GetInfoText() override;
    // Records an attack training record for this weapon in the creature's
    // hands; always 1.
    int IsUsableBy(Player* creature) override;
    // The editor's "Weapon properties"; 0 outside edit mode.
    int Edit() override;
    // A weapon of the same class with every stored field of this one.
    Object* Clone() override;
    int GetKind() override { return GetWeaponKind(); }
    int GetUseableKind() override { return UseableKind::Weapon; }

    // The weapon's own operations, in their order (what a fight asks).
    int GetWeaponKind() override { return 0; }
    int IsRanged() override { return 0; }
    // The percentage chance to hit, 5 to 95. The attacker may be absent;
    // with `flag` set invisibility does not count.
    int GetHitChance(Player* attacker, Player* defender, int flag) override;
    // The hit points a hit takes, never below 0. Either creature may be
    // absent; `average` takes the middle of the random part.
    int GetDamage(Player* attacker, Player* defender, int average) override;
    int32_t GetStun() override { return m_iStun; }
    int32_t GetDamageKind() override { return m_iDamageKind; }
    int32_t GetSpeedFactor() override { return m_iSpeed; }

    // The opponent of `creature` it would attack: the living opponent whose
    // first combat setting is `filter` (2: any), chosen by the creature's
    // second setting (0 fewest hit points, 1 most, 2 nearest, 4 none).
    // `clearLine` tells of the last one looked at: 1 when it stood nearer
    // than 401 pixels with nothing on the line between, else 0.
    static Player* EvaluateUse(Player* creature, int filter, Weapon* weapon, int* clearLine);

    // The stored numbers.
    int32_t m_iSpeed;
    int32_t m_iParameter;  // not shown by the editor
    int32_t m_iDamageRange;
    int32_t m_iDamageBase;
    int32_t m_iStun;
    // Not stored: the damage kind a hit hands to TakeDamage (2 fire, 3 shock,
    // 5 poison, anything else plain); the missiles set it.
    int32_t m_iDamageKind = 0;

protected:
    // The fields of `from` that a copy of a weapon takes.
    void CopyWeapon(const Weapon& from);
};

// A creature's natural weapon; its kind is its own (every species gives 1).
class IntrinsicWeapon : public Weapon {
    QV_DECLARE_CLASS(IntrinsicWeapon)
public:
    explicit IntrinsicWeapon(int32_t kind = 1, int32_t speed = 100, int32_t damageRange = 1,
                             int32_t damageBase = 1, int32_t parameter = 1, int32_t stun = 50,
                             const std::string& name = "Weapon");
    void Serialize(qv::Archive& ar) override;
    Object* Clone() override;
    int GetWeaponKind() override { return m_iKind; }
    int32_t m_iKind;  // not stored
};

// One row of the hand weapons' table.
struct HandWeaponRow {
    const char* name;
    int32_t speed, damageRange, damageBase, parameter, stun;
    int32_t weight;  // 0 keeps the object's 1
    int32_t value;
    int32_t kind;
    bool twoHanded;     // needs location 1 as well as 3
    int picture;        // kItem... of the resource store; -1 none
    bool namedPicture;  // a weapon with a name of its own shows another picture
};

// The hand weapons, by their kind 6..20.
enum HandWeaponKind : int32_t {
    kAxe = 6,
    kAxeBattle,
    kDagger,
    kFlail,
    kHammerForge,
    kHammerWar,
    kMace,
    kPitchfork,
    kScythe,
    kSpear,
    kSword,
    kSwordLong,
    kTouch,
    kWhip,
    kWhipBarbed,
    kLastHandWeapon = kWhipBarbed,
};

const HandWeaponRow& HandWeaponTable(int32_t kind);

// What every hand weapon class shares: its row of the table.
class HandWeapon : public Weapon {
public:
    explicit HandWeapon(int32_t kind);
    int GetWeaponKind() override { return m_iKind; }
    // The kinds with two pictures show the first while the weapon bears its
    // kind's own name, the second once it carries a name of its own.
    CDDObject* GetImage() override;
    void GetImageFrame(int* x, int* y) override;

private:
    int32_t m_iKind;
};

// The stored-class part of each hand weapon, written once.
#define QV_HAND_WEAPON_CLASS(Name)                \
    class Name : public HandWeapon {              \
        QV_DECLARE_CLASS(Name)                    \
    public:                                       \
        Name();                                   \
        void Serialize(qv::Archive& ar) override; \
    };

QV_HAND_WEAPON_CLASS(Axe)
QV_HAND_WEAPON_CLASS(AxeBattle)
QV_HAND_WEAPON_CLASS(Dagger)
QV_HAND_WEAPON_CLASS(Flail)
QV_HAND_WEAPON_CLASS(HammerForge)
QV_HAND_WEAPON_CLASS(HammerWar)
QV_HAND_WEAPON_CLASS(Mace)
QV_HAND_WEAPON_CLASS(Pitchfork)
QV_HAND_WEAPON_CLASS(Scythe)
QV_HAND_WEAPON_CLASS(Spear)
QV_HAND_WEAPON_CLASS(Sword)
QV_HAND_WEAPON_CLASS(SwordLong)
QV_HAND_WEAPON_CLASS(Touch)
QV_HAND_WEAPON_CLASS(Whip)
QV_HAND_WEAPON_CLASS(WhipBarbed)

#undef QV_HAND_WEAPON_CLASS

// The thrown missiles, by their kind 24..30. They have no stored class of
// their own: they are stored as plain weapons and come back as such.
enum ThrownMissileKind : int32_t {
    kSmallStone = 24,
    kMediumStone,
    kLargeStone,
    kBoulder,
    kFairyDart,
    kThrownDagger,
    kNeedle,
    kLastThrownMissile = kNeedle,
};

struct ThrownMissileRow {
    const char* name;
    int32_t speed, damageRange, damageBase, parameter, stun, value;
};
const ThrownMissileRow& ThrownMissileTable(int32_t kind);

class ThrownMissile : public Weapon {
public:
    explicit ThrownMissile(int32_t kind);
    int GetWeaponKind() override { return m_iKind; }
    // A thrown missile of the same kind with the stored fields of this one.
    Object* Clone() override;

private:
    int32_t m_iKind;
};
