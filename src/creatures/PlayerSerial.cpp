// The creature's stored record: written at the current schema, read back from
// any schema since the first, with the conversions older files need. Values
// that index tables or divide are brought into range on reading, and nothing
// read from a file can leave the creature without its bag.

#include <algorithm>
#include <cmath>

#include "creatures/Player.h"
#include "creatures/PlayerImages.h"
#include "items/Bag.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "platform/Archive.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/World.h"

namespace {

void ExchangePoint(qv::Archive& ar, qv::Point& p) {
    // Stored as one 8-byte block: x then y.
    ar.Exchange(p.x);
    ar.Exchange(p.y);
}

template <class T>
std::vector<std::unique_ptr<T>> ReadList(qv::Archive& ar) {
    std::vector<std::unique_ptr<T>> out;
    size_t n = ar.ReadCount();
    for (size_t i = 0; i < n; ++i) {
        T* object = ReadObjectOutsideGroups<T>(ar);
        if (object) out.emplace_back(object);
    }
    return out;
}

void PutInBag(CBag& bag, Object* item) {
    bag.AddItem(item);
    bag.SetItemCount(bag.ItemCount() + 1);
}

}  // namespace

void Player::Serialize(qv::Archive& ar) {
    if (ar.IsStoring()) {
        ar.SerializeClass(&Member::classInfo);
        Member::Serialize(ar);
        ar.WriteCount(m_InUseList.size());
        for (const auto& item : m_InUseList) ar.WriteObject(item.get());
        ar.WriteInt(m_iPlayerNumber);
        ar.WriteInt(m_iPartySlot);
        ar.WriteString(m_strMessageFile);
        ar.WriteString(m_strMessageNode);
        ar.WriteInt(m_iFightSpeed);
        ar.WriteInt(m_iAttackTime);
        ar.WriteShort(m_sLifeState);
        ar.WriteShort(m_sSpeciesMark);
        ar.WriteInt(m_iReserved1);
        for (double e : m_dExperience) ar.WriteDouble(e);
        ar.WriteInt(m_bHasMagic);
        if (m_bHasMagic) ar.WriteObject(m_pMagic.get());
        for (int i = 0; i < 7; ++i) ar.WriteInt(m_iCombatSettings[i]);
        ar.WriteInt(m_iActionOption);
        ar.WriteInt(m_iStoreNumber);
        ar.WriteInt(m_iBuildInfoValue);
        ExchangePoint(ar, m_ptStay);
        ar.WriteInt(m_iWaitCount);
        ar.WriteInt(m_bCanName);
        int column = -1, row = 0;
        GetImageFrame(&column, &row);
        ar.WriteInt(row);
        ar.WriteInt(m_bAttackRandomMonsters);
        ExchangePoint(ar, m_ptDefenseCell);
        ar.WriteCount(m_MoveList.size());
        for (const auto& move : m_MoveList) ar.WriteObject(move.get());
        ar.WriteInt(m_iNPCNumber);
        ar.WriteInt(m_iSpeedState);
        QV_CHECK_TEXT(m_pBag != nullptr, "m_pBag != NULL");
        ar.WriteObject(m_pBag.get());
        ar.WriteInt(m_iPortrait);
        ar.WriteString(m_strPortraitFile);
        for (int32_t v :
             {m_iDexterity, m_iStrength, m_iIntelligence, m_iCombatDexterity, m_iCurStr, m_iCurInt})
            ar.WriteInt(v);
        ar.WriteString(m_strDeathNode);
        for (int32_t v :
             {m_iAlertness,  m_iScriptHold,    m_iReserved2,   m_iPanelSetting,   m_bPanelToggle,
              m_iRangedMode, m_iSavedGroupNum, m_iLight,       m_bFireProtection, m_iPoison,
              m_bGrounded,   m_iStrengthBonus, m_bShockStrike, m_bLevitating,     m_bHesitation,
              m_bMindSense,  m_bInvisible,     m_iAction,      m_bHostileByMagic, m_bInactive,
              m_bGhost,      m_bEthereal,      m_iKeyNumber})
            ar.WriteInt(v);
        // The platform is not stored; walking finds it again.
        m_pAboard = nullptr;
        ar.WriteInt(m_iSex);
        return;
    }

    const uint32_t s = ar.GetObjectSchema();
    ar.SerializeClass(&Member::classInfo);
    Member::Serialize(ar);
    if (!m_pBag) m_pBag = std::make_unique<CBag>("Bag");

    if (s < 33) {
        // Older records kept the carried things in a list of their own.
        for (auto& item : ReadList<Object>(ar)) PutInBag(*m_pBag, item.release());
    }

    // 1: the things in use, equipped in their stored order.
    for (auto& item : ReadList<Object>(ar)) EquipStored(item.release());

    // 2: the player number; two of the party's faces are fixed.
    int32_t number = ar.ReadInt();
    if (number == 205) m_iPortraitBitmap = {1084, 1083};
    if (number == 203) m_iPortraitBitmap = {1087, 1088};
    m_iPlayerNumber = number;
    if (m_bGrouped == 0) SetPlayerNumber(number);

    // 3: the party slot; only the frame's slots 1 to 5 can be taken.
    int32_t slot = ar.ReadInt();
    if (slot < -5 || slot > 5) slot = 0;
    m_iPartySlot = slot;
    if (slot != 0) {
        if (World* world = GetWorld()) {
            world->m_Party[std::abs(slot)] = this;
            if (slot < 0) world->m_pControlPlayer = this;
        }
        if (slot < 0) m_bPartyLeader = 1;
    }

    m_strMessageFile = ar.ReadString();
    m_strMessageNode = ar.ReadString();
    m_iFightSpeed = ar.ReadInt();
    m_iAttackTime = ar.ReadInt();
    m_sLifeState = ar.ReadShort();
    m_sSpeciesMark = ar.ReadShort();
    m_iReserved1 = ar.ReadInt();
    if (s >= 43) {
        for (double& e : m_dExperience) {
            e = ar.ReadDouble();
            // The levels and the windows work from it: it must be a number.
            if (!std::isfinite(e)) ar.Fail(qv::ArchiveError::Generic, "experience not a number");
        }
    } else if (s >= 3) {
        for (double& e : m_dExperience) e = ar.ReadInt();
    }

    if (s >= 2) {
        // What the record says is what the creature has: a magic its
        // constructor gave it (a fire hound's Flame Dart) goes first.
        const int32_t hasMagic = ar.ReadInt();
        DropMagic();
        if (hasMagic) m_pMagic.reset(ar.ReadObjectOf<Magic>());
        // A set flag with no magic behind it would be followed every turn.
        m_bHasMagic = m_pMagic ? 1 : 0;
    }
    RecomputeLoad();
    if (m_bHasMagic) {
        for (const auto& spell : m_pMagic->m_SpellList) {
            if (spell->m_iSpare1 == 0) continue;
            auto it = std::find(m_UsableList.begin(), m_UsableList.end(), spell.get());
            if (it == m_UsableList.end()) m_UsableList.emplace_back(spell.get());
        }
    }

    if (s >= 6)
        for (int i = 0; i < 5; ++i) m_iCombatSettings[i] = ar.ReadInt();
    if (s >= 7) m_iCombatSettings[5] = ar.ReadInt();
    if (s >= 15) m_iCombatSettings[6] = ar.ReadInt();
    if (s >= 8) m_iActionOption = ar.ReadInt();
    if (s >= 9) m_iStoreNumber = ar.ReadInt();
    if (s >= 10) {
        m_iBuildInfoValue = ar.ReadInt();
        ApplyBuildInfo();
    }
    if (s >= 11) {
        ExchangePoint(ar, m_ptStay);
        m_iWaitCount = ar.ReadInt();
    }
    if (s >= 13) m_bCanName = ar.ReadInt();
    if (s >= 14) {
        // The row picks one of eight row images.
        int column = -1;
        int row = ar.ReadInt();
        if (row < 0 || row > 7) row = 0;
        SetImageFrame(&column, &row);
    }
    if (s >= 16) {
        m_bAttackRandomMonsters = ar.ReadInt();
        ExchangePoint(ar, m_ptDefenseCell);
    }
    if (s >= 17) m_MoveList = ReadList<PlayerMove>(ar);
    if (s >= 19) {
        int32_t npc = ar.ReadInt();
        SetNPCNumber(&npc);
    }
    if (s == 20) {
        size_t n = ar.ReadCount();
        if (n > ar.Remaining() / 4) ar.Fail(qv::ArchiveError::BadCount, "word list");
        for (size_t i = 0; i < n; ++i) ar.ReadDWord();
    }
    if (s >= 21) m_iSpeedState = ar.ReadInt();
    if (s >= 22) {
        std::unique_ptr<CBag> stored(ar.ReadObjectOf<CBag>());
        if (stored) {
            // What the older list or the equipping put in the constructor's
            // bag moves into the stored one, unless it is already there.
            for (Object* item : m_pBag->DetachAll())
                if (!stored->Contains(item)) PutInBag(*stored, item);
            m_pBag = std::move(stored);
        }
        // A record without a bag keeps the constructor's bag.
        m_pBag->m_bOwnBag = 1;
    }
    if (s >= 23) {
        m_iPortrait = ar.ReadInt();
        if (m_iPortrait != 844 && m_iPortrait != 849 && m_iPortrait != 741) m_iPortrait = 843;
        if (s >= 44) m_strPortraitFile = ar.ReadString();
    }
    if (s >= 25) {
        for (int32_t* v : {&m_iDexterity, &m_iStrength, &m_iIntelligence, &m_iCombatDexterity,
                           &m_iCurStr, &m_iCurInt})
            *v = ar.ReadInt();
    }
    if (s >= 26) m_strDeathNode = ar.ReadString();
    if (s >= 27) m_iAlertness = ar.ReadInt();
    if (s >= 28) {
        m_iScriptHold = ar.ReadInt();
        m_iReserved2 = ar.ReadInt();
    }
    if (s >= 29) {
        m_iPanelSetting = ar.ReadInt();
        m_bPanelToggle = ar.ReadInt();
        m_iRangedMode = ar.ReadInt();
    }
    if (s >= 30) m_iSavedGroupNum = ar.ReadInt();
    if (s >= 31) {
        m_iLight = ar.ReadInt();
        m_bFireProtection = ar.ReadInt();
        // The poison level divides the regeneration interval.
        m_iPoison = std::clamp(ar.ReadInt(), 0, 10);
    }
    if (s >= 32) {
        m_bGrounded = ar.ReadInt();
        m_iStrengthBonus = ar.ReadInt();
    }
    if (s >= 34) {
        m_bShockStrike = ar.ReadInt();
        m_bLevitating = ar.ReadInt();
    }
    if (s >= 35) {
        m_bHesitation = ar.ReadInt();
        m_bMindSense = ar.ReadInt();
    }
    if (s >= 36) m_bInvisible = ar.ReadInt();
    if (s >= 33) {
        // The action indexes the thirteen actions of an image set.
        m_iAction = ar.ReadInt();
        if (m_iAction < 0 || m_iAction >= PlayerAction::Count)
            m_iAction = IsAlive() ? PlayerAction::Stop : PlayerAction::Dead;
    }
    if (s >= 37) m_bHostileByMagic = ar.ReadInt();
    if (s >= 38) m_bInactive = ar.ReadInt();
    if (s >= 39) {
        m_bGhost = ar.ReadInt();
        if (m_bGhost) m_bInvisible = 1;
    }
    if (s >= 40) m_bEthereal = ar.ReadInt();
    if (s >= 41) m_iKeyNumber = ar.ReadInt();
    if (s >= 42) {
        // The sex indexes the per-sex tables of the people.
        int32_t sex = ar.ReadInt();
        if (sex < 0 || sex > 3) sex = 0;
        SetSex(&sex);
    }

    UpdateLevel();
    if (m_iLevel < 1) SetLevel(1);
    // The frame within the action is not stored: a creature read dead lies
    // as its fall ended rather than standing up to fall again.
    if (!IsAlive() && m_iAction == PlayerAction::Dead) {
        if (CreatureImageSet* set = GetClassImages())
            m_iFrame = std::max(0, set->FrameCount(PlayerAction::Dead) - 1);
    }
}
