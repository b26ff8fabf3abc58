#pragma once
// The species: every monster and person of the world is a creature of one
// species. A species is a row of one table (its stored class name, the class
// it is built on, its number, name, natural weapon, figures, body records,
// look, sound and flags); the row makes the creature, and the row's run-time
// class is registered under the species' name, so that worlds store and load
// creatures by it. Only the species whose behaviour differs have a class of
// their own (humans, the undead, the stone golem, the growing molds and
// slimes, the hounds that feed on their element, the changeling).
//
// A species adds no stored fields: its record is the creature's record under
// the species' class name (and under the names of the species it is built on).

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>

#include "creatures/Player.h"

class CreatureImageSet;

// What the species does beyond the creature's own rules.
enum class SpeciesBehaviour : uint8_t {
    Plain,
    Human,       // own colours and sex-chosen looks (Human.h)
    Changeling,  // copies another's looks (Changeling.h)
    Undead,      // rises again while down
    Golem,       // slows as its strength goes
    Growing,     // molds and slimes: damage of most kinds feeds and splits it
    Elemental,   // one damage kind heals it, another hurts it double
};

// A natural weapon's figures, in the order its constructor takes them.
struct NaturalWeaponRow {
    const char* name = nullptr;  // null: the species has none
    int32_t kind = 1, speed = 100, damageRange = 1, damageBase = 1, parameter = 1, stun = 20;
};

// One species. A zero (or empty) figure keeps the creature's default, or for a
// species built on another, the other's value.
struct SpeciesRow {
    const char* className;             // stored class name, byte for byte
    const char* baseName;              // the species it is built on; null for a creature
    int32_t number;                    // GetPlayerType
    const char* displayName;           // special and general name
    NaturalWeaponRow weapon;           // name null: none (or the base species')
    int32_t speed;                     // m_iSpeed and m_iLoadedSpeed
    int32_t hpPerLevel;                // m_iHPPerLevel
    std::array<int32_t, 3> abilities;  // strength, dexterity, intelligence
    std::array<int32_t, 8> traits;     // body-type codes, 0 ends the list
    std::array<int32_t, 4> slots;      // body-slot location codes, 0 ends the list
    const char* look;                  // its section of "PlayerImages.dat"
    SpeciesBehaviour behaviour = SpeciesBehaviour::Plain;
    // The creature's fields some species set (see the table).
    int32_t smallInt = 0;  // the second integer after the sex
    int32_t radius = 0;    // the body radius (the integer after the player number)
    int32_t poseCount = 0;
    int32_t hostile = 0;  // m_iHostileMode
    int32_t cycleLimit = 0;
    int32_t beforePortrait = 0;
    std::array<int32_t, 2> portraits{};
    int16_t speciesMark = 0;
    int32_t regenRate = 0;
    std::array<int32_t, 2> own{};        // the species' own two integers
    std::array<double, 3> experience{};  // m_dExperience, when not all 0
    bool fireProtection = false, invisible = false, grounded = false;
    bool carriesLight = false;    // carries a MageLight
    const char* spell = nullptr;  // a spell it knows (its class name)
    bool ownSound = false;        // plays a sound of its own when it attacks
    // Growing: the damage kind that hurts it normally. Elemental: the kind that
    // heals it and the kind that hurts it double.
    int32_t hurtKind = 0, healKind = 0, doubleKind = 0;
};

// Every species, in the order of their numbers.
std::span<const SpeciesRow> SpeciesTable();

class Species : public Player {
public:
    // A creature of the row's species (and first of the species it is built on).
    explicit Species(const SpeciesRow& row);
    ~Species() override;

    // Its run-time class is the row's.
    const qv::RuntimeClass* GetRuntimeClass() const override;
    void Serialize(qv::Archive& ar) override;
    PlayerType GetPlayerType() override { return m_pRow->number; }
    int PlaySound() override;
    int Update(int32_t now, MapMaster* context) override;
    void TakeDamage(int amount, int kind) override;
    CreatureImageSet* GetClassImages() override;
    void SetClassImages(CreatureImageSet* set) override;

    const SpeciesRow& Row() const { return *m_pRow; }
    // The figures of its natural weapon (its own row's, else the base species').
    const NaturalWeaponRow& NaturalWeapon() const { return m_NaturalWeapon; }
    // The two integers of its own: a mold's growth pool and threshold, the
    // undead's kept and rising regeneration rates. Not stored.
    std::array<int32_t, 2> m_iOwn{};

    // ---- The table's registry
    // The row stored under that class name, or null.
    static const SpeciesRow* FindRow(const std::string& className);
    // The run-time class of a row (registered under its class name).
    static const qv::RuntimeClass* ClassOf(const SpeciesRow& row);
    // A new creature of the species of that class name; null when none.
    static std::unique_ptr<Player> Make(const std::string& className);
    // The species' class-wide look and how many of its creatures live.
    static CreatureImageSet* ClassImages(const SpeciesRow& row);
    static int UseCount(const SpeciesRow& row);
    // Forgets every species' look and use count (the start of play).
    static void ResetClassImages();

    // A mold's or slime's growth threshold.
    static constexpr int32_t kGrowthThreshold = 20;
    // A risen undead is above this share of its hit points.
    static constexpr int32_t kRisePercent = 80;

protected:
    // The figures of one row on this creature.
    void ApplyRow(const SpeciesRow& row);
    // A mold or slime fed by `amount`: heals, and splits off a new one when
    // its pool reaches the threshold.
    void Grow(int amount);
    int UndeadUpdate(int32_t now, MapMaster* context);

private:
    const SpeciesRow* m_pRow;
    NaturalWeaponRow m_NaturalWeapon;
};

// The start of play: every species (and each sex of the humans) forgets its
// look and its count of living creatures, the looks are read from
// kCreatureImageFile, and the work image they are built in is made. No
// creature lives yet.
void InitCreatureImages();

// The species of the table are made through this: a row's behaviour decides
// the class. Registered creators call it.
Player* MakeSpeciesCreature(const SpeciesRow& row);
