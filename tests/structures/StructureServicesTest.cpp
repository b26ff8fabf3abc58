// What the world, the creatures and the interaction ask of structures: doors
// worked by every caller, traps, rugs and stairs taking a creature on, the
// mast's reach while its ship sails, and beds that rest the party.

#include <gtest/gtest.h>

#include <memory>

#include "creatures/Player.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "structures/Fixtures.h"
#include "structures/Scenery.h"
#include "structures/Traps.h"
#include "structures/Traversable.h"
#include "structures/Walls.h"
#include "support/HandWrittenRecord.h"
#include "support/PopupFixture.h"
#include "world/KeyStorage.h"
#include "world/TimeOfDay.h"
#include "world/World.h"

namespace {

int Work(Object& o, int code, Player* actor = nullptr) {
    return o.Activate(&code, actor);
}

TEST(Doors, EveryCallerWorksADoor) {
    FrontDoorBrick door;
    door.m_iItemNum = 12;
    door.m_iState = Wall::kDoorClosed;
    EXPECT_EQ(door.CanInteract(), 1);

    // A creature at the door (-1) opens it and, again, closes it.
    EXPECT_EQ(Work(door, -1), 1);
    EXPECT_EQ(door.m_iState, 1);
    EXPECT_EQ(Work(door, -1), 1);
    EXPECT_EQ(door.m_iState, 2);
    // Locked, it stays shut for a creature.
    door.m_bLocked = 1;
    EXPECT_EQ(Work(door, -1), 0);
    EXPECT_EQ(door.m_iState, 2);
    // The key's signal (1) opens it, locked or not, and leaves an open door open,
    // turn after turn.
    EXPECT_EQ(Work(door, 1), 1);
    EXPECT_EQ(door.m_iState, 1);
    EXPECT_EQ(Work(door, 1), 0);
    EXPECT_EQ(door.m_iState, 1);
    // A lever (2) switches it either way.
    EXPECT_EQ(Work(door, 2), 1);
    EXPECT_EQ(door.m_iState, 2);
    EXPECT_EQ(Work(door, 2), 1);
    EXPECT_EQ(door.m_iState, 1);
    // A generator or a power cube (3) opens it, with no actor.
    door.m_iState = 2;
    EXPECT_EQ(Work(door, 3), 1);
    EXPECT_EQ(door.m_iState, 1);
    EXPECT_EQ(door.m_bLocked, 1);  // the lock stays for the next time it shuts
    // Other codes do nothing.
    EXPECT_EQ(Work(door, 4), 0);
    EXPECT_EQ(door.m_iState, 1);
    // An open door of state 0 counts as open; a blocking value is no door state.
    door.m_iState = 0;
    EXPECT_EQ(Work(door, 1), 0);
    EXPECT_EQ(door.m_iState, 0);
    door.m_iState = 5;
    EXPECT_EQ(Work(door, 2), 0);
    EXPECT_EQ(door.m_iState, 5);

    // A plain wall (no key number) is not worked and answers as any object.
    FrontWall wall;
    wall.m_iState = 2;
    EXPECT_EQ(wall.CanInteract(), 0);
    EXPECT_EQ(Work(wall, -1), -1);
    EXPECT_EQ(Work(wall, 2), -1);
    EXPECT_EQ(wall.m_iState, 2);
    int* none = nullptr;
    EXPECT_EQ(door.Activate(none, nullptr), -1);
}

TEST(Doors, ALeverAndACreaturesKeyOpenTheirDoor) {
    World world;
    SideDoorBrick door;
    door.m_iItemNum = 4;
    door.m_iState = 2;
    door.m_bLocked = 1;
    Lever lever;
    lever.m_iItemNum = 4;
    world.AddToKeyStorage(&door);
    world.AddToKeyStorage(&lever);
    EXPECT_EQ(Work(lever, 2), 1);
    EXPECT_EQ(door.m_iState, 1);
    EXPECT_EQ(Work(lever, 2), 1);
    EXPECT_EQ(door.m_iState, 2);

    // A creature carrying key 4 opens it in its turn.
    Player keeper;
    keeper.m_iKeyNumber = 4;
    keeper.Update(100, nullptr);
    EXPECT_EQ(door.m_iState, 1);
    keeper.Update(200, nullptr);  // the signal repeats; the door stays open
    EXPECT_EQ(door.m_iState, 1);
    world.RemoveFromKeyStorage(&door);
    world.RemoveFromKeyStorage(&lever);
}

TEST(Floor, TrapsRugsAndStairsTakeACreatureOn) {
    Player mover;
    Position at(10, 10, 0);
    Caltrops caltrops;
    MissileShooter shooter;
    Rug rug;
    Rug2 rug2;
    Rug3 rug3;
    Stairs stairs;
    Object plain;
    for (Object* o :
         std::initializer_list<Object*>{&caltrops, &shooter, &rug, &rug2, &rug3, &stairs}) {
        EXPECT_EQ(o->StepOn(&at, &mover), 1) << o->GetRuntimeClass()->name;
        EXPECT_EQ(o->StepOn(&at, nullptr), 0) << o->GetRuntimeClass()->name;
    }
    EXPECT_EQ(plain.StepOn(&at, &mover), 0);
    EXPECT_EQ(rug.Type(), SCENERY);
    EXPECT_EQ(rug.m_iLightSampling, 0);  // flat: never blocks

    // Their records: the base's, under their own class names.
    using record_test::Bytes;
    Bytes c = record_test::StoreObject(caltrops);
    Bytes head;
    record_test::PutNewClass(head, "Caltrops", 1);
    record_test::PutNewClass(head, "Object", 11);
    record_test::PutObjectDefaults(head, "Caltrops");
    EXPECT_EQ(c, head);
    auto back = record_test::LoadObject<Caltrops>(c);
    ASSERT_NE(back, nullptr);
    Bytes r;
    record_test::PutNewClass(r, "Rug2", 1);
    record_test::PutNewClass(r, "Scenery", 1);
    record_test::PutNewClass(r, "Object", 11);
    record_test::PutObjectDefaults(r, "Rug2");
    EXPECT_EQ(record_test::StoreObject(rug2), r);
    EXPECT_NE(record_test::LoadObject<Rug2>(r), nullptr);
}

TEST(Masts, AnyoneCloseToASailingMastTouchesIt) {
    Ship ship;
    Mast mast;
    mast.m_pVessel = &ship;
    int32_t dx = 99, dy = -19;
    // At anchor the deltas stand.
    EXPECT_FALSE(mast.ApplyTouchZone(&dx, &dy));
    EXPECT_EQ(dx, 99);
    EXPECT_EQ(dy, -19);
    ship.m_bMoving = 1;
    struct Case {
        int32_t dx, dy, wantX, wantY;
    } cases[] = {
        {99, -19, 0, 0}, {-99, 19, 0, 0},   {100, 0, 100, 0},     {-100, 5, -100, 0},
        {0, 20, 0, 20},  {50, -20, 0, -20}, {150, 300, 150, 300},
    };
    for (const Case& c : cases) {
        dx = c.dx, dy = c.dy;
        EXPECT_TRUE(mast.ApplyTouchZone(&dx, &dy));
        EXPECT_EQ(dx, c.wantX) << c.dx << "," << c.dy;
        EXPECT_EQ(dy, c.wantY) << c.dx << "," << c.dy;
    }
    // Without a vessel nothing applies.
    Mast lone;
    dx = 1, dy = 1;
    EXPECT_FALSE(lone.ApplyTouchZone(&dx, &dy));
    EXPECT_EQ(dx, 1);
}

TEST(Beds, ABedIsWorkedThroughItsUsePrompt) {
    Bed bed;
    Scenery plain;
    EXPECT_TRUE(bed.HasUsePrompt());
    EXPECT_EQ(bed.GetPictureBitmap(), 408);
    EXPECT_FALSE(plain.HasUsePrompt());
    // Only a party member may rest: anyone else is refused before any
    // question is asked.
    World world;
    Player stranger;
    EXPECT_EQ(bed.GetUsePrompt(&stranger, 1), 0);
    EXPECT_EQ(bed.GetUsePrompt(nullptr, 1), 0);
}

TEST(Beds, RestingHoursRestoresAlertnessHitPointsAndMana) {
    Player p;
    // 10 hit points at rate 1: an interval of 60000; two hours count for
    // 1800000 units, so 30 points, capped at the maximum of 10.
    ASSERT_EQ(p.m_iRegenInterval, 60000);
    p.m_iAlertness = 900;
    p.m_iHitPoints = 2;
    int32_t hours = 2;
    EXPECT_EQ(p.RestHours(&hours, 0), 1000);
    EXPECT_EQ(p.m_iHitPoints, 10);

    // One hour with a bonus: 300 + 50 + 100; 900000 / 60000 = 15 points.
    p.m_iMaxHitPoints = 40;
    p.m_iHitPoints = 20;
    p.m_iAlertness = 300;
    hours = 1;
    EXPECT_EQ(p.RestHours(&hours, 50), 450);
    EXPECT_EQ(p.m_iHitPoints, 35);

    // No hours: only the alertness bonus.
    hours = 0;
    EXPECT_EQ(p.RestHours(&hours, 25), 475);
    EXPECT_EQ(p.m_iHitPoints, 35);

    // Mana: 900000 / 1000 a hour, capped at the maximum.
    p.m_pMagic = std::make_unique<Magic>();
    p.m_pMagic->m_uMaxMana = 1500;
    p.m_pMagic->m_uMana = 100;
    hours = 1;
    p.RestHours(&hours, 0);
    EXPECT_EQ(p.m_pMagic->m_uMana, 1000u);
    p.RestHours(&hours, 0);
    EXPECT_EQ(p.m_pMagic->m_uMana, 1500u);

    // A dead creature is not rested.
    Player dead;
    dead.m_sLifeState = 0;
    dead.m_iHitPoints = 1;
    dead.m_iAlertness = 10;
    EXPECT_EQ(dead.RestHours(&hours, 0), 0);
    EXPECT_EQ(dead.m_iHitPoints, 1);
    EXPECT_EQ(dead.m_iAlertness, 10);
}

class RestTest : public popup_test::PopupFixture {
protected:
    // Answers the hours question: Down `down` times from the 10 offered, then
    // Enter (or Escape).
    void Answer(int down, bool confirm = true) {
        for (int i = 0; i < down; ++i) Key(qv::VK_DOWN);
        Key(confirm ? qv::VK_RETURN : qv::VK_ESCAPE);
    }
};

TEST_F(RestTest, APartyMemberRestsThePartyForTheHoursChosen) {
    Bed bed;
    Player leader, friendOf, dead;
    leader.m_iPartySlot = -1;
    for (Player* p : {&leader, &friendOf, &dead}) {
        p->SetPlayerNumber(-1);  // entered in the world's player array
        p->m_iAlertness = 500;
        p->m_iHitPoints = 1;
    }
    dead.m_sLifeState = 0;
    const int hourBefore = frame.m_World.m_pTimeOfDay->m_sHour;

    // Three hours: 10 offered, Down seven times.
    Answer(7);
    EXPECT_EQ(bed.GetUsePrompt(&leader, 1), 1);
    for (Player* p : {&leader, &friendOf}) {
        EXPECT_EQ(p->m_iAlertness, 800);
        EXPECT_EQ(p->m_iHitPoints, 10);  // 45 regained, capped
    }
    EXPECT_EQ(dead.m_iAlertness, 500);
    EXPECT_EQ(dead.m_iHitPoints, 1);
    EXPECT_EQ(frame.m_World.m_pTimeOfDay->m_sHour, (hourBefore + 3) % 24);

    // Cancelled, or no hours: nothing happens.
    leader.m_iAlertness = 100;
    Answer(0, false);
    EXPECT_EQ(bed.Rest(&leader), 0);
    Answer(10);
    EXPECT_EQ(bed.Rest(&leader), 0);
    EXPECT_EQ(leader.m_iAlertness, 100);
    EXPECT_EQ(frame.m_World.m_pTimeOfDay->m_sHour, (hourBefore + 3) % 24);
}

}  // namespace
