#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>

#include "PlayerTestSupport.h"
#include "items/Spell.h"
#include "items/Useable.h"
#include "support/Figures.h"
#include "support/WorldFixture.h"
#include "world/World.h"

namespace {

using namespace creature_test;

TEST(PlayerRecord, WrittenAndReadBackFieldByField) {
    World world;
    Player p;
    p.m_strSpecialName = "Aldo";
    p.m_iHitPoints = 7;
    p.m_iPlayerNumber = 4;
    p.m_iPartySlot = 2;
    p.m_strMessageFile = "town.smb";
    p.m_strMessageNode = "GREET";
    p.m_iFightSpeed = 12;
    p.m_iAttackTime = 650;
    p.m_sSpeciesMark = 1;
    p.m_iReserved1 = 77;
    p.m_dExperience = {1200.25, 3400.5, 10.75};
    p.AddSpell(Spell("Spark"));
    p.m_pMagic->m_uMaxMana = 30;
    p.m_iCombatSettings = {7, 6, 5, 4, 3, 2, 0};
    p.m_iActionOption = ActionOption::Talk;
    p.m_iStoreNumber = 3;
    p.m_iBuildInfoValue = 8;
    p.m_ptStay = {100, -200};
    p.m_iWaitCount = -1;
    p.m_bCanName = 1;
    p.m_iYImageNum = 5;
    p.m_bAttackRandomMonsters = 1;
    p.m_ptDefenseCell = {9, 10};
    p.m_iNPCNumber = 1;
    p.m_iSpeedState = -1;
    p.m_pBag->AddItem(new Useable("Stick"));
    p.m_pBag->SetItemCount(1);
    p.m_iPortrait = 849;
    p.m_strPortraitFile = "aldo.bmp";
    p.m_iDexterity = 41, p.m_iStrength = 42, p.m_iIntelligence = 43;
    p.m_iCombatDexterity = 44, p.m_iCurStr = 45, p.m_iCurInt = 46;
    p.m_strDeathNode = "BYE";
    p.m_iAlertness = 640;
    p.m_iScriptHold = -2;
    p.m_iReserved2 = 5;
    p.m_iPanelSetting = 1, p.m_bPanelToggle = 1, p.m_iRangedMode = 0;
    p.m_iSavedGroupNum = 6;
    p.m_iLight = 2, p.m_bFireProtection = 1, p.m_iPoison = 3;
    p.m_bGrounded = 1, p.m_iStrengthBonus = -4;
    p.m_bShockStrike = 1, p.m_bLevitating = 1;
    p.m_bHesitation = 1, p.m_bMindSense = 0;
    p.m_bInvisible = 1;
    p.m_iAction = 4;
    p.m_bHostileByMagic = 1;
    p.m_bInactive = 1;
    p.m_bGhost = 0;
    p.m_bEthereal = 1;
    p.m_iKeyNumber = 12;
    p.m_iSex = 2;
    p.m_InUseList.emplace_back(new Useable("Ring"));
    Object platform;
    p.m_pAboard = &platform;
    p.UpdateLevel();  // the levels as loading recomputes them
    // And the speeds, as loading works them out before it reads the speed
    // state: 700 from the speed of 100, not 650.
    p.m_iSpeedState = 0;
    p.RecomputeLoad();
    p.m_iSpeedState = -1;

    Bytes bytes = StoreObject(p);
    EXPECT_EQ(p.m_pAboard.Get(), nullptr);  // no longer tied to the platform
    EXPECT_EQ(StoreObject(p), bytes);       // storing twice gives the same bytes

    // The end of the record: ethereal, key number, sex.
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(Bytes(bytes.end() - 12, bytes.end()), (Bytes{1, 0, 0, 0, 12, 0, 0, 0, 2, 0, 0, 0}));

    auto q = LoadCreature(bytes);
    ASSERT_NE(q, nullptr);
    // Every stored field reads back as written: the record stored again is
    // the same (checked at the end); what follows is what loading works out.
    EXPECT_EQ(world.m_Party[2].Get(), q.get());
    EXPECT_EQ(q->m_bPartyLeader, 0);
    ASSERT_NE(q->m_pMagic, nullptr);
    EXPECT_EQ(q->m_bHasMagic, 1);
    ASSERT_EQ(q->m_pMagic->m_SpellList.size(), 1u);
    ASSERT_EQ(q->m_UsableList.size(), 1u);  // the known spell is offered again
    EXPECT_EQ(q->m_UsableList[0].Get(), q->m_pMagic->m_SpellList[0].get());
    ASSERT_EQ(q->m_pBag->Items().size(), 1u);
    EXPECT_EQ(q->m_pBag->m_bOwnBag, 1);
    // The combat dexterity is worked out again as loading ends: the dexterity
    // less the gear's penalty.
    EXPECT_EQ(creature_test::Figures(*q), std::make_tuple(42, 41, 43, 45, 41, 46));
    // Levels from the experience: 4611.5 in all gives 4 (1000 .. 3375 below it).
    EXPECT_EQ(q->m_iLevel, 4);
    EXPECT_EQ(q->m_iMaxHitPoints, 50);
    // The queue is never stored: the loaded creature starts from one THINK.
    ASSERT_EQ(q->Events().Count(), 1);
    EXPECT_EQ(q->Events().At(0).m_iType, ObjectEventType::THINK);
    EXPECT_EQ(StoreObject(*q), bytes);
}

TEST(PlayerRecord, StoredFieldByFieldInTheRecordOrder) {
    // A creature holding the values of a record written by hand in the
    // record's order stores exactly that record, and reads every value back
    // from it.
    CBag bag("Bag");
    Useable ring("Ring");
    Fields f;
    f.playerNumber = 12;
    f.bag = &bag;
    f.inUse = {&ring};
    f.npc = 1;
    f.portrait = 849;
    f.poison = 4;
    f.action = 4;
    f.ghost = 1;
    f.sex = 2;
    const Bytes record = CreatureRecord(44, f);

    Player p;
    p.m_InUseList.emplace_back(new Useable("Ring"));
    p.m_iPlayerNumber = 12;
    p.m_strMessageFile = "mine.smb";
    p.m_strMessageNode = "START";
    p.m_iFightSpeed = 11;
    p.m_iAttackTime = 900;
    p.m_sSpeciesMark = 33;
    p.m_iReserved1 = 32;
    p.m_dExperience = {2000.5, 300.5, 40.5};
    p.m_iCombatSettings = {10, 11, 12, 13, 14, 15, 16};
    p.m_iActionOption = 2;
    p.m_iStoreNumber = 4;
    p.m_iBuildInfoValue = 9;
    p.m_ptStay = {30, 31};
    p.m_iWaitCount = -1;
    p.m_bCanName = 35;
    p.m_bAttackRandomMonsters = 34;
    p.m_ptDefenseCell = {5, 6};
    p.m_iNPCNumber = 1;
    p.m_iSpeedState = -1;
    p.m_iPortrait = 849;
    p.m_strPortraitFile = "face.bmp";
    p.m_iDexterity = 61, p.m_iStrength = 62, p.m_iIntelligence = 63;
    p.m_iCombatDexterity = 64, p.m_iCurStr = 65, p.m_iCurInt = 66;
    p.m_strDeathNode = "DEATH";
    p.m_iAlertness = 700;
    p.m_iScriptHold = -3, p.m_iReserved2 = 31;
    p.m_iPanelSetting = 21, p.m_bPanelToggle = 22, p.m_iRangedMode = 1;
    p.m_iSavedGroupNum = 3;
    p.m_iLight = 2, p.m_bFireProtection = 23, p.m_iPoison = 4;
    p.m_bGrounded = 24, p.m_iStrengthBonus = 5;
    p.m_bShockStrike = 25, p.m_bLevitating = 26;
    p.m_bHesitation = 27, p.m_bMindSense = 28;
    p.m_iAction = 4;
    p.m_bHostileByMagic = 29;
    p.m_bGhost = 1;
    p.m_bEthereal = 30;
    p.m_iKeyNumber = 17;
    p.m_iSex = 2;
    EXPECT_EQ(StoreObject(p), record);

    auto q = LoadCreature(record);
    ASSERT_NE(q, nullptr);
    // Read, then worked out again from the speed as loading ends.
    EXPECT_EQ(q->m_iAttackTime, 70000 / q->m_iLoadedSpeed);
    EXPECT_EQ(q->m_bInvisible, 1);  // stored 0, but a ghost is invisible
    EXPECT_EQ(q->m_iPartySlot, 0);
    EXPECT_EQ(q->m_sLifeState, 1);
    EXPECT_EQ(q->m_bHasMagic, 0);
    EXPECT_TRUE(q->m_MoveList.empty());
    // Every other value reads back as the creature that stored the record
    // held it.
    p.UpdateLevel();  // the levels and hit points loading works out
    p.m_iAttackTime = q->m_iAttackTime;
    p.m_bInvisible = 1;
    EXPECT_EQ(StoreObject(*q), StoreObject(p));
}

TEST(PlayerRecord, OlderSchemasAreConverted) {
    World world;
    Fields f;
    // Schema 2: no experience stored, so the constructor's 1.0 each stands,
    // and the level comes out 0, which the loader raises to 1.
    auto p2 = LoadCreature(CreatureRecord(2, f));
    ASSERT_NE(p2, nullptr);
    EXPECT_EQ(p2->m_iLevel, 1);
    EXPECT_DOUBLE_EQ(p2->m_dExperience[0], 0.15 * 1001);
    EXPECT_DOUBLE_EQ(p2->m_dExperience[1], 0.7 * 1001);
    EXPECT_EQ(p2->m_iMaxHitPoints, 20);
    EXPECT_EQ(p2->m_strDeathNode, "HELLO");  // not in the record: the default
    EXPECT_EQ(p2->m_iKeyNumber, -1);

    // Schema 42: the three pools as integers.
    auto p42 = LoadCreature(CreatureRecord(42, f));
    ASSERT_NE(p42, nullptr);
    EXPECT_EQ(p42->m_dExperience, (std::array<double, 3>{2000.0, 300.0, 40.0}));
    EXPECT_EQ(p42->m_strPortraitFile, "");  // first stored at 44
    EXPECT_EQ(p42->m_iPortrait, 843);

    // Schema 44: as doubles.
    auto p44 = LoadCreature(CreatureRecord(44, f));
    ASSERT_NE(p44, nullptr);
    EXPECT_EQ(p44->m_dExperience[2], 40.5);
    EXPECT_EQ(p44->m_strPortraitFile, "face.bmp");

    // Only schema 20 carries a word list after the NPC number.
    for (uint16_t s : {19, 20, 21}) {
        auto p = LoadCreature(CreatureRecord(s, f));
        EXPECT_NE(p, nullptr) << s;
    }

    // Before schema 33 the carried things came in a list of their own; they
    // end up in the stored bag beside what it held.
    Useable stick("Stick"), stone("Stone");
    CBag stored("Bag");
    stored.AddItem(new Useable("Rope"));
    stored.SetItemCount(1);
    f.oldCarried = {&stick, &stone};
    f.bag = &stored;
    auto p30 = LoadCreature(CreatureRecord(30, f));
    ASSERT_NE(p30, nullptr);
    std::vector<std::string> names;
    for (const auto& item : p30->m_pBag->Items()) names.push_back(item->m_strSpecialName);
    EXPECT_EQ(names, (std::vector<std::string>{"Rope", "Stick", "Stone"}));
    EXPECT_EQ(p30->m_pBag->ItemCount(), 3);
    EXPECT_EQ(p30->m_iAction, 3);  // not stored before 33

    // Without a stored bag (schema 21) they stay in the constructor's bag.
    auto p21 = LoadCreature(CreatureRecord(21, f));
    ASSERT_NE(p21, nullptr);
    EXPECT_EQ(p21->m_pBag->Items().size(), 2u);
}

TEST(PlayerRecord, ConversionsOnLoading) {
    World world;
    Fields f;
    f.playerNumber = 205;
    f.portrait = 12;  // unknown portraits are repaired
    f.ghost = 1;
    f.partySlot = -2;
    auto p = LoadCreature(CreatureRecord(44, f));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->m_iPortraitBitmap, (std::array<int32_t, 2>{1084, 1083}));
    EXPECT_EQ(p->m_iPortrait, 843);
    EXPECT_EQ(p->m_bInvisible, 1);  // a ghost is invisible whatever was stored
    EXPECT_EQ(world.m_Party[2].Get(), p.get());
    EXPECT_EQ(world.m_pControlPlayer.Get(), p.get());
    EXPECT_EQ(p->m_bPartyLeader, 1);
    ASSERT_GT(world.m_PlayerArray.size(), 205u);
    EXPECT_EQ(world.m_PlayerArray[205], p.get());

    f = Fields{};
    f.playerNumber = 203;
    f.portrait = 741;
    auto q = LoadCreature(CreatureRecord(44, f));
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->m_iPortraitBitmap, (std::array<int32_t, 2>{1087, 1088}));
    EXPECT_EQ(q->m_iPortrait, 741);

    // Destroying the creatures gives their entries back.
    p.reset();
    EXPECT_EQ(world.m_PlayerArray[205], nullptr);
}

TEST(PlayerRecord, BadValuesAreReadSafely) {
    World world;
    struct Case {
        int32_t slot, number, action, row, sex, poison;
        int16_t life;
    };
    const Case cases[] = {
        {6, -7, 40, 9, 7, 50, 1},
        {-9, 5000000, -1, -1, -3, -2, 1},
        {INT_MIN, INT_MIN, 13, 8, 4, 11, 0},
    };
    for (const Case& c : cases) {
        Fields f;
        f.partySlot = c.slot, f.playerNumber = c.number, f.action = c.action, f.row = c.row;
        f.sex = c.sex, f.poison = c.poison, f.life = c.life;
        size_t before = world.m_PlayerArray.size();
        auto p = LoadCreature(CreatureRecord(44, f));
        ASSERT_NE(p, nullptr) << c.slot;
        EXPECT_EQ(p->m_iPartySlot, 0);  // outside the party
        for (const auto& h : world.m_Party) EXPECT_EQ(h.Get(), nullptr);
        EXPECT_EQ(p->m_iPlayerNumber, c.number);  // kept, but never entered
        EXPECT_EQ(world.m_PlayerArray.size(), before);
        EXPECT_EQ(p->m_iAction, c.life >= 1 ? 3 : 12);
        EXPECT_EQ(p->m_iYImageNum, 0);
        EXPECT_EQ(p->m_iSex, 0);
        EXPECT_EQ(p->m_iPoison, c.poison < 0 ? 0 : 10);
    }

    // A set magic flag with no magic behind it, and no bag.
    Fields f;
    f.hasMagic = 1;
    f.magic = nullptr;
    f.bag = nullptr;
    auto p = LoadCreature(CreatureRecord(44, f));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->m_bHasMagic, 0);
    EXPECT_EQ(p->m_pMagic, nullptr);
    ASSERT_NE(p->m_pBag, nullptr);
    EXPECT_EQ(p->m_pBag->m_strSpecialName, "Bag");
    // A turn with no magic is safe: the creature thinks and plans a step (on
    // a map: outside any map a creature does nothing in its turn).
    world_test::GiveMap(world).SetWorldSize(100, 80);
    EXPECT_EQ(p->Update(1000, nullptr), 1);

    // A thing in use that cannot be used goes to the bag.
    Object rock("Rock");
    f = Fields{};
    f.inUse = {&rock};
    auto r = LoadCreature(CreatureRecord(44, f));
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(r->m_InUseList.empty());
    ASSERT_EQ(r->m_pBag->Items().size(), 1u);
    EXPECT_EQ(r->m_pBag->Items()[0]->m_strSpecialName, "Rock");
}

TEST(PlayerRecord, ObjectsOfTheWrongClassAreRefused) {
    World world;
    CBag bag("Bag");
    Magic magic;
    Fields wrongMagic;
    wrongMagic.hasMagic = 1;
    wrongMagic.magic = &bag;  // a bag where the magic belongs
    record_test::RefusalOf<Player>(CreatureRecord(44, wrongMagic));
    Fields wrongBag;
    wrongBag.bag = &magic;  // the magic where the bag belongs
    record_test::RefusalOf<Player>(CreatureRecord(44, wrongBag));
    // A truncated record.
    Bytes bytes = CreatureRecord(44, Fields{});
    bytes.resize(bytes.size() - 3);
    record_test::RefusalOf<Player>(bytes);
    // Refused creatures are gone, and so are their entries.
    for (Player* entry : world.m_PlayerArray) EXPECT_EQ(entry, nullptr);
}

TEST(PlayerRecord, ExperienceThatIsNoNumberIsRefused) {
    World world;
    for (double value :
         {DBL_MAX, HUGE_VAL, -HUGE_VAL, double(NAN)})  // only the greatest number is read
        for (int pool = 0; pool < 3; ++pool) {
            SCOPED_TRACE(testing::Message() << value << ", pool " << pool);
            Player p;
            p.m_dExperience[pool] = value;
            if (value == DBL_MAX)
                EXPECT_NE(record_test::LoadObject<Player>(StoreObject(p)), nullptr);
            else
                EXPECT_EQ(record_test::RefusalOf<Player>(StoreObject(p)),
                          qv::ArchiveError::Generic);
        }
}

}  // namespace
