// Party: what the player chose for the party.

#include "play/Party.h"

#include "creatures/Player.h"
#include "play/Play.h"
#include "world/World.h"

void Party::InitFormation() {
    if (m_bFormationSet) return;
    m_FormationOffsets = {qv::Point{0, 0}, {25, 25}, {25, -25}, {40, 0}, {55, 40}, {55, -40}};
    m_bFormationSet = 1;
}

void Party::SetFormationOffset(int slot, qv::Point offset) {
    if (slot >= 0 && slot < kSlots) m_FormationOffsets[static_cast<size_t>(slot)] = offset;
}

void Party::RebaseFormation(World& world) {
    qv::Point shift{0, 0};
    if (const int slot = world.FindPartySlot(world.m_pLeader.Get()); slot >= 0)
        shift = m_FormationOffsets[static_cast<size_t>(slot)];
    for (size_t i = 0; i < m_FormationOffsets.size(); ++i) {
        qv::Point& offset = m_FormationOffsets[i];
        offset = {offset.x - shift.x, offset.y - shift.y};
        qv::Point turned = offset;
        for (auto& row : world.m_FormationRows) {
            row[i] = turned;
            turned = RotateQuarter(turned);
        }
    }
}

int Party::SetNewCharacter(const std::string& name, int32_t value, const std::string& text) {
    using A = Play::NewCharacterAttribute;
    if (name == A::kStrength)
        m_iNewStrength = value;
    else if (name == A::kDexterity)
        m_iNewDexterity = value;
    else if (name == A::kIntelligence)
        m_iNewIntelligence = value;
    else if (name == A::kPlayerName)
        m_strPlayerName = text;
    else if (name == A::kDogName)
        m_strDogName = text;
    else
        return 0;
    return 1;
}

void Party::TakeStoredNames(const std::string* player, const std::string* dog) {
    // A new character's names, chosen before its start world is read, are
    // the ones its party gets.
    if (m_bNewCharacterPending) return;
    if (player) m_strPlayerName = *player;
    if (dog) m_strDogName = *dog;
}
