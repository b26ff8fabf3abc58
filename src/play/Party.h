#pragma once
// Party: the part of play that keeps what the player chose for the party.
// Its formation (an offset per party slot), its combat flag, and the
// character chosen for a new game with its names. Play owns one; the
// windows read it, and change it only through orders and the operations of
// play.

#include <array>
#include <cstdint>
#include <string>

#include "platform/Geometry.h"

class World;

class Party {
public:
    static constexpr int kSlots = 6;
    using Formation = std::array<qv::Point, kSlots>;

    // ---- What the windows read
    const Formation& FormationOffsets() const { return m_FormationOffsets; }
    bool IsFormationSet() const { return m_bFormationSet != 0; }
    bool InCombat() const { return m_bCombat != 0; }  // the party is in combat
    // The character chosen for a new game, given to the party at its first
    // move while it waits.
    bool IsNewCharacterPending() const { return m_bNewCharacterPending != 0; }
    int32_t NewStrength() const { return m_iNewStrength; }
    int32_t NewDexterity() const { return m_iNewDexterity; }
    int32_t NewIntelligence() const { return m_iNewIntelligence; }
    const std::string& PlayerName() const { return m_strPlayerName; }
    const std::string& DogName() const { return m_strDogName; }

    // ---- What play sets (and a test, setting up)
    // The formation as a world file stored it; from the version that stores
    // one, the default is not set again.
    void TakeFormation(const Formation& offsets) { m_FormationOffsets = offsets; }
    void SetFormationSet(bool on) { m_bFormationSet = on ? 1 : 0; }
    void SetFormationOffset(int slot, qv::Point offset);
    // The default is set once; rebasing puts the leader's slot at (0, 0) and
    // gives the world its four turned copies (m_FormationRows), one per
    // quarter of the leader's facing.
    void InitFormation();
    void RebaseFormation(World& world);
    static qv::Point RotateQuarter(qv::Point offset) { return {-offset.y, offset.x}; }
    void SetCombatFlag(bool on) { m_bCombat = on ? 1 : 0; }
    void SetNewCharacterPending(bool on) { m_bNewCharacterPending = on ? 1 : 0; }
    // An attribute of the new character by the name a NewCharacter order
    // takes (Play::NewCharacterAttribute), set as it is (`value`, or `text`
    // for a name); 0 for a name that is none of them.
    int SetNewCharacter(const std::string& name, int32_t value, const std::string& text);
    // The names a world file stored, unless a new character's names wait.
    void TakeStoredNames(const std::string* player, const std::string* dog);

private:
    Formation m_FormationOffsets{};
    int m_bFormationSet = 0;
    int m_bCombat = 0;
    int m_bNewCharacterPending = 0;
    int32_t m_iNewStrength = 50, m_iNewIntelligence = 50, m_iNewDexterity = 50;
    std::string m_strPlayerName, m_strDogName;
};
