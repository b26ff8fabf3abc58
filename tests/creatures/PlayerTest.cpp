#include <gtest/gtest.h>

#include "PlayerTestSupport.h"
#include "items/Spell.h"
#include "items/Useable.h"
#include "media/DSound.h"
#include "world/MapCreature.h"
#include "world/World.h"

namespace {

using namespace creature_test;

TEST(Player, ANewCreature) {
    Player p;
    ASSERT_EQ(p.Events().Count(), 1);
    EXPECT_EQ(p.Events().At(0).m_iType, ObjectEventType::THINK);
    EXPECT_EQ(p.Events().At(0).m_iTime, 0);
    ASSERT_NE(p.m_pBag, nullptr);
    EXPECT_EQ(p.m_pBag->m_strSpecialName, "Bag");
    EXPECT_EQ(p.m_pBag->m_bOwnBag, 1);
    EXPECT_TRUE(p.m_pBag->Items().empty());
    EXPECT_EQ(p.m_iAlertness, 1000);
    EXPECT_EQ(p.m_iAction, 3);
    EXPECT_EQ(p.m_iLevel, 0);
    EXPECT_EQ(p.m_dNextLevel, 1000.0);
    EXPECT_EQ(p.m_iPlayerNumber, -1);
    EXPECT_EQ(p.m_strMessageFile, "lauriston.smb");
    EXPECT_EQ(p.m_strMessageNode, "HELLO");
    EXPECT_EQ(p.m_iPortrait, 843);
    EXPECT_EQ(p.m_iCombatSettings, (std::array<int32_t, 7>{1, 2, 1, 1, 0, 2, 1}));
    EXPECT_EQ(p.Type(), PLAYER);
    // Every timing field is usable from the start.
    EXPECT_EQ(p.m_iStepTime, 50);
    EXPECT_EQ(p.m_iAttackTime, 700);
    EXPECT_EQ(p.m_iRegenInterval, 60000);
    ASSERT_NE(p.m_pOrder, nullptr);
    EXPECT_EQ(p.m_pOrder->m_iType, 0);
}

TEST(Player, TheSharedCreatureSoundLivesWithTheCreatures) {
    ASSERT_EQ(Player::LiveCount(), 0);
    EXPECT_EQ(Player::SharedSound(), nullptr);
    {
        Player first;
        CDSound* sound = Player::SharedSound();
        ASSERT_NE(sound, nullptr);
        EXPECT_EQ(sound->GetResourceId(), 328);
        {
            Player second;
            EXPECT_EQ(Player::SharedSound(), sound);  // made once, shared
        }
        EXPECT_EQ(Player::SharedSound(), sound);  // a creature still lives
    }
    // The last creature took it along; the next one makes it again.
    EXPECT_EQ(Player::SharedSound(), nullptr);
    Player again;
    ASSERT_NE(Player::SharedSound(), nullptr);
    EXPECT_EQ(Player::SharedSound()->GetResourceId(), 328);
}

TEST(Player, WhoMayUseACreature) {
    Probe target;
    target.m_bInteract = 1;
    Probe dog, human, skeleton, goblin;
    dog.type = 1;
    human.type = 10;
    skeleton.type = 18;
    goblin.type = 12;
    EXPECT_EQ(target.CanBeUsedBy(&dog), 1);
    EXPECT_EQ(target.CanBeUsedBy(&human), 1);
    EXPECT_EQ(target.CanBeUsedBy(&skeleton), 1);
    EXPECT_EQ(target.CanBeUsedBy(&goblin), 0);
    target.m_bInteract = 0;
    EXPECT_EQ(target.CanBeUsedBy(&dog), 0);
    EXPECT_EQ(target.CanInteract(), 1);
    target.m_bEthereal = 1;
    EXPECT_EQ(target.CanInteract(), 0);
}

// A light carried in hand answers itself as a light source.
class Torch : public Useable {
public:
    Object* GetLightSource() override { return this; }
};

TEST(Player, HeldItemAndLightSource) {
    Player p;
    EXPECT_EQ(p.GetWeapon(), nullptr);
    EXPECT_EQ(p.GetLightSource(), nullptr);
    auto* teeth = new Useable("Teeth");
    p.m_pNaturalWeapon.reset(teeth);
    EXPECT_EQ(p.GetWeapon(), teeth);
    EXPECT_EQ(p.GetLightSource(), nullptr);  // a weapon lights nothing
    auto* sword = new Useable("Sword");
    p.m_InUseList.emplace_back(sword);
    p.m_pWeapon = sword;
    EXPECT_EQ(p.GetHeldItem(), sword);
    EXPECT_EQ(p.GetLightSource(), nullptr);
    auto* torch = new Torch;
    p.m_InUseList.emplace_back(torch);
    p.m_pWeapon = torch;
    EXPECT_EQ(p.GetLightSource(), torch);
}

TEST(Player, PlayerNumbers) {
    World world;
    world.m_PlayerArray.resize(7, nullptr);
    auto a = std::make_unique<Player>();
    a->SetPlayerNumber(-1);
    EXPECT_EQ(a->m_iPlayerNumber, 7);
    ASSERT_EQ(world.m_PlayerArray.size(), 8u);
    EXPECT_EQ(world.m_PlayerArray[7], a.get());

    // A number already taken: the creature keeps it but is not entered, and
    // its destruction leaves the other's entry alone.
    auto b = std::make_unique<Player>();
    b->SetPlayerNumber(7);
    EXPECT_EQ(b->m_iPlayerNumber, 7);
    b.reset();
    EXPECT_EQ(world.m_PlayerArray[7], a.get());

    auto c = std::make_unique<Player>();
    c->SetPlayerNumber(12);
    EXPECT_EQ(world.m_PlayerArray.size(), 13u);
    EXPECT_EQ(world.m_PlayerArray[12], c.get());
    c->SetPlayerNumber(-5);       // a member id: never entered
    c->SetPlayerNumber(2000000);  // absurd: kept, never entered
    EXPECT_EQ(c->m_iPlayerNumber, 2000000);
    EXPECT_EQ(world.m_PlayerArray.size(), 13u);
    c.reset();
    EXPECT_EQ(world.m_PlayerArray[12], nullptr);  // its old entry goes with it
    a.reset();
    EXPECT_EQ(world.m_PlayerArray[7], nullptr);
}

TEST(Player, KnownSpellsBelongToTheMagicAlone) {
    const int before = Spell::LiveCount();
    {
        Player p;
        Spell spark("Spark");
        p.AddSpell(spark);
        p.AddSpell(spark);
        ASSERT_NE(p.m_pMagic, nullptr);
        EXPECT_EQ(p.m_bHasMagic, 1);
        EXPECT_EQ(p.m_pMagic->m_SpellList.size(), 2u);
        EXPECT_EQ(p.m_UsableList.size(), 2u);
        EXPECT_EQ(Spell::LiveCount(), before + 3);
        // A queued cast goes with the creature too.
        p.Events().PostSpell(100, nullptr, std::make_unique<Spell>());
    }
    EXPECT_EQ(Spell::LiveCount(), before);  // each deleted once

    Player q;
    q.AddSpell(Spell("Spark"));
    q.DropMagic();
    EXPECT_EQ(q.m_pMagic, nullptr);
    EXPECT_EQ(q.m_bHasMagic, 0);
    EXPECT_TRUE(q.m_UsableList.empty());
}

TEST(Player, CloneCopiesTheCreature) {
    World world;
    Player p;
    p.m_strSpecialName = "Mira";
    p.m_iStrength = 70;
    p.m_dExperience = {1200.0, 10.0, 1.0};
    p.m_pBag->AddItem(new Useable("Stick"));
    p.m_pBag->SetItemCount(1);
    p.m_InUseList.emplace_back(new Useable("Ring"));
    p.AddSpell(Spell("Spark"));
    p.m_iNPCNumber = 1;
    std::unique_ptr<Object> made(p.Clone());
    auto* c = qv::DynamicCast<Player>(made.get());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->m_strSpecialName, "Mira");
    EXPECT_EQ(c->m_iStrength, 70);
    EXPECT_EQ(c->m_iLevel, 1);  // levels recomputed from the copied experience
    ASSERT_EQ(c->m_pBag->Items().size(), 1u);
    EXPECT_NE(c->m_pBag->Items()[0].get(), p.m_pBag->Items()[0].get());
    EXPECT_EQ(c->m_InUseList.size(), 1u);
    ASSERT_NE(c->m_pMagic, nullptr);  // a magic of its own, empty
    EXPECT_TRUE(c->m_pMagic->m_SpellList.empty());
    EXPECT_EQ(c->m_iNPCNumber, 1);
}

TEST(Player, FacingFromDelta) {
    Position o(100, 100);
    EXPECT_EQ(Player::FacingFromDelta(o, Position(150, 100)), 0);
    EXPECT_EQ(Player::FacingFromDelta(o, Position(130, 130)), 1);
    EXPECT_EQ(Player::FacingFromDelta(o, Position(100, 150)), 2);
    EXPECT_EQ(Player::FacingFromDelta(o, Position(70, 130)), 3);
    EXPECT_EQ(Player::FacingFromDelta(o, Position(50, 100)), 4);
    EXPECT_EQ(Player::FacingFromDelta(o, Position(70, 70)), 5);
    EXPECT_EQ(Player::FacingFromDelta(o, Position(100, 50)), 6);
    EXPECT_EQ(Player::FacingFromDelta(o, Position(130, 70)), 7);
    Player p;
    int16_t facing = 6;
    p.SetFacing(&facing);
    EXPECT_EQ(p.m_sFacing, 6);
    EXPECT_EQ(p.m_iYImageNum, 6);
}

}  // namespace

namespace {

TEST(Player, WhatTheMapReadsOfACreature) {
    Player p, enemy;
    MapCreature* c = AsMapCreature(&p);
    ASSERT_NE(c, nullptr);
    p.m_iHitPoints = 6;
    p.m_iPartySlot = 2;
    p.m_pTarget = &enemy;
    EXPECT_EQ(c->MapHitPoints(), 6);
    EXPECT_EQ(c->MapSpacingRadius(), 3);
    EXPECT_EQ(c->MapPartySlot(), 2);
    EXPECT_EQ(c->MapAttackTarget(), &enemy);
    EXPECT_FALSE(c->MapIsRemoved());
    c->MapSetLightExposure(90);
    EXPECT_EQ(p.m_iDrawLight, 90);
}

}  // namespace
