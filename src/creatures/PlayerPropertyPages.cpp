// The creature's side of the editor's creature sheet: it fills the pages with
// its values and takes them back, and it keeps its list of scripted moves.

#include "creatures/PlayerPropertyPages.h"

#include <memory>

#include "creatures/Player.h"
#include "creatures/PlayerMove.h"
#include "items/Magic.h"
#include "world/Global.h"
#include "world/World.h"

namespace {

// The place of each of the six preferences in the creature's combat
// settings; the fifth setting has no control.
constexpr std::array<size_t, 6> kCombatSlots{0, 1, 2, 3, 5, 6};
constexpr int kSchools = 4;  // school numbers 1 to 4

}  // namespace

int Player::FillPropertyPages(PlayerPropertyPages& pages) {
    // The "Spells" page shows a Magic's skills: a creature without one is
    // given one, and loses it again when it comes back empty.
    if (!m_pMagic) {
        m_pMagic = std::make_unique<Magic>();
        m_bHasMagic = 1;
    }
    pages.specialName = m_strSpecialName;
    pages.hitPoints = m_iHitPoints;
    pages.x = m_Position.x;
    pages.y = m_Position.y;
    pages.canName = m_bCanName;
    pages.lifeState = m_sLifeState;
    pages.mana = static_cast<int32_t>(m_pMagic->m_uMana);
    pages.alertness = m_iAlertness;
    pages.hostileByMagic = m_bHostileByMagic;
    pages.inactive = m_bInactive;
    pages.ghost = m_bGhost;
    pages.ethereal = m_bEthereal;
    pages.strength = m_iStrength;
    pages.dexterity = m_iDexterity;
    pages.intelligence = m_iIntelligence;
    pages.sex = m_iSex;
    pages.playerNumber = m_iPlayerNumber;
    pages.speed = m_iSpeed;
    pages.experience = m_dExperience;
    for (int s = 0; s < kSchools; ++s) pages.skills[s] = m_pMagic->GetSchoolSkill(s + 1);
    pages.buildInfoValue = m_iBuildInfoValue;
    pages.storeNumber = m_iStoreNumber;
    pages.messageNode = m_strMessageNode;
    pages.messageFile = m_strMessageFile;
    pages.deathNode = m_strDeathNode;
    pages.actionOption = m_iActionOption;
    pages.attackRandomMonsters = m_bAttackRandomMonsters;
    pages.defenseCell = m_ptDefenseCell;
    pages.npcNumber = m_iNPCNumber;
    pages.stay = m_iWaitCount < 0 ? 1 : 0;
    pages.stayCell = m_ptStay;
    pages.portrait = m_iPortrait;
    pages.portraitFile = m_strPortraitFile;
    for (size_t i = 0; i < kCombatSlots.size(); ++i)
        pages.combat[i] = m_iCombatSettings[kCombatSlots[i]];
    return 1;
}

int Player::ReadPropertyPages(const PlayerPropertyPages& pages) {
    // "General Info"
    SetName(pages.specialName);
    m_iHitPoints = pages.hitPoints;
    // A placed creature is moved by play, which keeps the map's cells right.
    if (!m_pHolder) {
        m_Position.x = pages.x;
        m_Position.y = pages.y;
    }
    m_bCanName = pages.canName;
    m_sLifeState = static_cast<LifeState>(pages.lifeState);
    if (m_pMagic) m_pMagic->m_uMana = static_cast<uint32_t>(std::max(0, pages.mana));
    m_iAlertness = pages.alertness;
    m_bHostileByMagic = pages.hostileByMagic;
    m_bInactive = pages.inactive;
    m_bGhost = pages.ghost;
    if (m_bGhost) m_bInvisible = 1;
    m_bEthereal = pages.ethereal;
    m_iStrength = pages.strength;
    m_iDexterity = pages.dexterity;
    m_iIntelligence = pages.intelligence;
    SetSex(&pages.sex);
    if (pages.playerNumber != m_iPlayerNumber) {
        if (World* world = GetWorld()) {
            auto& players = world->m_PlayerArray;
            if (m_iPlayerNumber >= 0 && static_cast<size_t>(m_iPlayerNumber) < players.size() &&
                players[static_cast<size_t>(m_iPlayerNumber)] == this)
                players[static_cast<size_t>(m_iPlayerNumber)] = nullptr;
        }
        m_iPlayerNumber = pages.playerNumber;
        if (!m_bGrouped) SetPlayerNumber(pages.playerNumber);
    }
    // "Stats"
    m_iSpeed = pages.speed;
    m_dExperience = pages.experience;
    // "Spells"
    if (m_pMagic)
        for (int s = 0; s < kSchools; ++s)
            m_pMagic->AddSchoolSkill(s + 1, pages.skills[s] - m_pMagic->GetSchoolSkill(s + 1));
    // "Build Info"
    m_iBuildInfoValue = pages.buildInfoValue;
    m_iStoreNumber = pages.storeNumber;
    m_strMessageNode = pages.messageNode;
    m_strMessageFile = pages.messageFile;
    m_strDeathNode = pages.deathNode;
    m_iActionOption = pages.actionOption;
    m_bAttackRandomMonsters = pages.attackRandomMonsters;
    m_ptDefenseCell = pages.defenseCell;
    SetNPCNumber(&pages.npcNumber);
    if (pages.stay)
        m_iWaitCount = -1;
    else if (m_iWaitCount < 0)
        m_iWaitCount = 0;
    m_ptStay = pages.stayCell;
    // "Chat Image"
    m_iPortrait = pages.portrait;
    m_strPortraitFile = pages.portraitFile;
    // "Combat Preferences"
    for (size_t i = 0; i < kCombatSlots.size(); ++i)
        m_iCombatSettings[kCombatSlots[i]] = pages.combat[i];
    // A Magic that knows nothing goes again.
    if (m_pMagic && m_pMagic->m_SpellList.empty()) {
        bool skilled = false;
        for (int s = 1; s <= kSchools; ++s)
            skilled = skilled || m_pMagic->GetSchoolSkill(s) != 0.0f;
        if (!skilled) {
            m_pMagic.reset();
            m_bHasMagic = 0;
        }
    }
    return 1;
}

void Player::AddScriptedMove(int32_t cellX, int32_t cellY) {
    m_MoveList.push_back(std::make_unique<PlayerMoveTo>(cellX, cellY));
}

int Player::SetScriptedMove(size_t index, int32_t cellX, int32_t cellY) {
    if (index >= m_MoveList.size()) return 0;
    m_MoveList[index] = std::make_unique<PlayerMoveTo>(cellX, cellY);
    return 1;
}

int Player::DeleteScriptedMove(size_t index) {
    if (index >= m_MoveList.size()) return 0;
    m_MoveList.erase(m_MoveList.begin() + static_cast<std::ptrdiff_t>(index));
    return 1;
}
