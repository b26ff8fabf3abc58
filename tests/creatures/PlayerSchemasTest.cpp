// Every schema of the creature record, 1 to 44: each field is read from the
// place its schema puts it, and a field the schema lacks keeps its default.

#include <gtest/gtest.h>

#include <string>

#include "PlayerTestSupport.h"
#include "world/World.h"

namespace {

using namespace creature_test;

TEST(PlayerSchemas, EveryCreatureSchemaReadsItsFields) {
    World world;
    CBag bag("Bag");
    bag.m_iBagKind = 7;  // tells the stored bag from the constructor's
    Fields f;
    f.bag = &bag;
    f.row = 5;
    f.npc = 1;
    f.portrait = 849;
    f.poison = 4;
    f.action = 4;
    f.ghost = 1;
    f.sex = 2;
    const Player fresh;  // the defaults
    for (int s = 1; s <= 44; ++s) {
        SCOPED_TRACE("schema " + std::to_string(s));
        auto p = LoadCreature(CreatureRecord(static_cast<uint16_t>(s), f));  // read to its end
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->m_strMessageNode, "START");
        EXPECT_EQ(p->m_iReserved1, 32);
        // Integers from 3, doubles from 43 (the record writes 2000 or 2000.5).
        if (s >= 3) {
            EXPECT_EQ(p->m_dExperience[0], s >= 43 ? 2000.5 : 2000.0);
        }
        EXPECT_EQ(p->m_iCombatSettings[0], s >= 6 ? 10 : fresh.m_iCombatSettings[0]);
        EXPECT_EQ(p->m_iCombatSettings[4], s >= 6 ? 14 : fresh.m_iCombatSettings[4]);
        EXPECT_EQ(p->m_iCombatSettings[5], s >= 7 ? 15 : fresh.m_iCombatSettings[5]);
        EXPECT_EQ(p->m_iCombatSettings[6], s >= 15 ? 16 : fresh.m_iCombatSettings[6]);
        EXPECT_EQ(p->m_iActionOption, s >= 8 ? 2 : fresh.m_iActionOption);
        EXPECT_EQ(p->m_iStoreNumber, s >= 9 ? 4 : fresh.m_iStoreNumber);
        EXPECT_EQ(p->m_iBuildInfoValue, s >= 10 ? 9 : fresh.m_iBuildInfoValue);
        EXPECT_EQ(p->m_ptStay, s >= 11 ? (qv::Point{30, 31}) : fresh.m_ptStay);
        EXPECT_EQ(p->m_iWaitCount, s >= 11 ? -1 : fresh.m_iWaitCount);
        EXPECT_EQ(p->m_bCanName, s >= 13 ? 35 : fresh.m_bCanName);
        EXPECT_EQ(p->m_iYImageNum, s >= 14 ? 5 : 0);
        EXPECT_EQ(p->m_bAttackRandomMonsters, s >= 16 ? 34 : 0);
        EXPECT_EQ(p->m_ptDefenseCell, s >= 16 ? (qv::Point{5, 6}) : fresh.m_ptDefenseCell);
        EXPECT_EQ(p->m_iNPCNumber, s >= 19 ? 1 : fresh.m_iNPCNumber);
        EXPECT_EQ(p->m_iSpeedState, s >= 21 ? -1 : fresh.m_iSpeedState);
        EXPECT_EQ(p->m_pBag->m_iBagKind, s >= 22 ? 7 : 0);
        EXPECT_EQ(p->m_iPortrait, s >= 23 ? 849 : fresh.m_iPortrait);
        EXPECT_EQ(p->m_strPortraitFile, s >= 44 ? "face.bmp" : "");
        EXPECT_EQ(p->m_iDexterity, s >= 25 ? 61 : fresh.m_iDexterity);
        EXPECT_EQ(p->m_iCurInt, s >= 25 ? 66 : fresh.m_iCurInt);
        EXPECT_EQ(p->m_strDeathNode, s >= 26 ? "DEATH" : "HELLO");
        EXPECT_EQ(p->m_iAlertness, s >= 27 ? 700 : fresh.m_iAlertness);
        EXPECT_EQ(p->m_iScriptHold, s >= 28 ? -3 : 0);
        EXPECT_EQ(p->m_iReserved2, s >= 28 ? 31 : 0);
        EXPECT_EQ(p->m_iPanelSetting, s >= 29 ? 21 : 0);
        EXPECT_EQ(p->m_iRangedMode, s >= 29 ? 1 : fresh.m_iRangedMode);
        EXPECT_EQ(p->m_iSavedGroupNum, s >= 30 ? 3 : 0);
        EXPECT_EQ(p->m_iLight, s >= 31 ? 2 : 0);
        EXPECT_EQ(p->m_iPoison, s >= 31 ? 4 : 0);
        EXPECT_EQ(p->m_bGrounded, s >= 32 ? 24 : 0);
        EXPECT_EQ(p->m_iStrengthBonus, s >= 32 ? 5 : 0);
        EXPECT_EQ(p->m_bShockStrike, s >= 34 ? 25 : 0);
        EXPECT_EQ(p->m_bLevitating, s >= 34 ? 26 : 0);
        EXPECT_EQ(p->m_bHesitation, s >= 35 ? 27 : 0);
        EXPECT_EQ(p->m_bMindSense, s >= 35 ? 28 : 0);
        EXPECT_EQ(p->m_iAction, s >= 33 ? 4 : fresh.m_iAction);
        EXPECT_EQ(p->m_bHostileByMagic, s >= 37 ? 29 : 0);
        EXPECT_EQ(p->m_bGhost, s >= 39 ? 1 : 0);
        EXPECT_EQ(p->m_bInvisible, s >= 39 ? 1 : 0);  // stored 0; a ghost is invisible
        EXPECT_EQ(p->m_bEthereal, s >= 40 ? 30 : 0);
        EXPECT_EQ(p->m_iKeyNumber, s >= 41 ? 17 : -1);
        EXPECT_EQ(p->m_iSex, s >= 42 ? 2 : fresh.m_iSex);
    }
}

}  // namespace
