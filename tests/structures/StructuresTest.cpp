// Scenery, walls, platforms, levers and lights: their kinds, their stored
// records and what the map and the interaction rely on.

#include <gtest/gtest.h>

#include <memory>

#include "creatures/Player.h"
#include "platform/Archive.h"
#include "platform/Message.h"
#include "shell/MainFrm.h"
#include "structures/Fixtures.h"
#include "structures/LightSource.h"
#include "structures/Scenery.h"
#include "structures/Traversable.h"
#include "structures/Walls.h"
#include "support/HandWrittenRecord.h"
#include "support/WorldFixture.h"
#include "world/KeyStorage.h"
#include "world/Map.h"
#include "world/TimeOfDay.h"
#include "world/World.h"

namespace {

using record_test::Bytes;
using record_test::LoadObject;
using record_test::StoreObject;

// The record's class header of `name` at `schema`, as it is first written.
Bytes ClassTag(const std::string& name, uint16_t schema) {
    Bytes b;
    record_test::PutNewClass(b, name, schema);
    return b;
}

bool StartsWith(const Bytes& bytes, const Bytes& head) {
    return bytes.size() >= head.size() && std::equal(head.begin(), head.end(), bytes.begin());
}

TEST(Walls, KindsAndRunTimeClasses) {
    FrontWall front;
    SideWall side;
    Peg peg;
    Tile tile;
    FrontDoorBrick frontDoor;
    SideDoorBrick sideDoor;
    Wall plain;
    EXPECT_EQ(plain.GetWallKind(), 0);
    EXPECT_EQ(front.GetWallKind(), 1);
    EXPECT_EQ(side.GetWallKind(), 2);
    EXPECT_EQ(peg.GetWallKind(), 3);
    EXPECT_EQ(tile.GetWallKind(), 4);
    EXPECT_EQ(frontDoor.GetWallKind(), 1);
    EXPECT_EQ(sideDoor.GetWallKind(), 2);
    EXPECT_EQ(front.Type(), WALL);
    EXPECT_TRUE(frontDoor.IsKindOf(&FrontWall::classInfo));
    EXPECT_TRUE(sideDoor.IsKindOf(&SideWall::classInfo));
    EXPECT_FALSE(sideDoor.IsKindOf(&FrontWall::classInfo));
    EXPECT_FALSE(peg.IsKindOf(&FrontWall::classInfo));
    EXPECT_EQ(front.m_iLightSampling, 2);
}

TEST(Walls, ResetFrameOnlyForPlainWallsOffColumnSix) {
    FrontWall w;
    w.m_iXImageNum = 3;
    w.m_iYImageNum = 2;
    w.ResetFrame(0, 0);
    EXPECT_EQ(w.m_iXImageNum, 0);
    EXPECT_EQ(w.m_iYImageNum, 2);
    w.m_iXImageNum = 6;
    w.ResetFrame(0, 0);
    EXPECT_EQ(w.m_iXImageNum, 6);
    w.m_iItemNum = 4;
    w.m_iXImageNum = 3;
    w.ResetFrame(0, 0);
    EXPECT_EQ(w.m_iXImageNum, 3);
}

TEST(Walls, RecordKeepsTheFlagsAfterTheObjectRecord) {
    SideDoorBrick door;
    door.m_iItemNum = -1;  // kept out of the key records
    door.m_iState = 2;
    door.m_bWalkThrough = 0;
    door.m_bSeeThrough = 1;
    door.m_bLocked = 1;
    const Bytes bytes = StoreObject(door);
    EXPECT_TRUE(StartsWith(bytes, ClassTag("SideDoorBrick", 1)));
    // SideDoorBrick, SideWall, Wall, Object: each class recorded once.
    Bytes tail = {0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00};
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), bytes.end() - 12));
    auto back = LoadObject<SideDoorBrick>(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_iState, 2);
    EXPECT_EQ(back->m_bSeeThrough, 1);
    EXPECT_EQ(back->m_bLocked, 1);
    EXPECT_EQ(back->m_bWalkThrough, 0);
}

TEST(Walls, FrontWallAndPegAcceptOnlySchemaOne) {
    FrontWall front;
    Peg peg;
    SideWall side;
    for (const qv::Persistent* obj :
         {static_cast<qv::Persistent*>(&front), static_cast<qv::Persistent*>(&peg)}) {
        Bytes bytes = StoreObject(*obj);
        ASSERT_EQ(bytes[2], 1);
        bytes[2] = 2;
        EXPECT_EQ(record_test::RefusalOf<Wall>(bytes), qv::ArchiveError::BadSchema);
    }
    Bytes bytes = StoreObject(side);
    bytes[2] = 2;  // a versioned class reads other schemas
    EXPECT_TRUE(LoadObject<SideWall>(bytes));
}

TEST(Scenery, PopulationKindsAndTheirRecords) {
    LivePine pine;
    DarkPatch patch;
    Shrub shrub(3);
    EXPECT_EQ(pine.Type(), SCENERY);
    EXPECT_EQ(pine.m_strSpecialName, "LivePine");
    EXPECT_EQ(pine.m_iLightSampling, 2);
    EXPECT_EQ(patch.m_iLightSampling, 0);
    EXPECT_EQ(shrub.m_iXImageNum, 3);
    EXPECT_TRUE(StoreObject(pine).size() > 0);
    auto back = LoadObject<Shrub>(StoreObject(shrub));
    EXPECT_EQ(back->m_iVariant, 3);
    auto mountain = LoadObject<Scenery>(StoreObject(IceMountain()));
    EXPECT_NE(qv::DynamicCast<IceMountain>(mountain.get()), nullptr);
    StatueBow statue;
    statue.m_strStatueText = "Wake";
    auto statueBack = LoadObject<StatueBow>(StoreObject(statue));
    EXPECT_EQ(statueBack->m_strStatueText, "Wake");
}

TEST(Scenery, AStatueOnlyWakesFromFireWithAText) {
    World world;
    qv::ScriptedMessages messages;
    auto* plain = new StatueBow;  // "STATUE": nothing happens
    plain->TakeDamage(5, 2);
    plain->m_strStatueText = "";
    plain->TakeDamage(5, 2);
    plain->m_strStatueText = "Wake";
    plain->TakeDamage(0, 2);
    plain->TakeDamage(5, 3);
    EXPECT_TRUE(messages.shown.empty());
    // With a text and fire: no creature 2369 here; the statue goes with its holder.
    MapMaster& map = world_test::GiveMap(world);
    map.SetWorldSize(60, 60);
    map.SetOrigin({0, 0});
    Position pos(500, 500);
    auto* holder = new ObjectHolder(pos, plain);
    ASSERT_EQ(map.AddHolder(pos, holder), 1);
    qv::Handle<ObjectHolder> watch(holder);
    plain->TakeDamage(5, 2);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "Invalid Player Number in NPC_ACTIVATE.");
    EXPECT_FALSE(watch);
}

TEST(Scenery, ABurntStatueWakesCreature2369) {
    struct Sleeper : Player {
        int SetActive(int32_t flag) override {
            woken = flag;
            return 1;
        }
        int woken = 0;
    };
    World world;
    qv::ScriptedMessages messages;
    Sleeper sleeper;
    world.m_PlayerArray.assign(StatueBow::kActorNumber + 1, nullptr);
    world.m_PlayerArray[StatueBow::kActorNumber] = &sleeper;
    auto* statue = new StatueBow;  // not on the map: only the statue goes
    statue->m_strStatueText = "Bow";
    statue->TakeDamage(12, 2);
    EXPECT_EQ(sleeper.woken, 1);
    EXPECT_TRUE(messages.shown.empty());
    world.m_PlayerArray.clear();
}

TEST(Platforms, DrawbridgeShipAndMast) {
    DrawBridge bridge(1);
    bridge.m_bRaised = 1;
    EXPECT_EQ(bridge.Type(), TRAVERSABLE);
    auto back = LoadObject<DrawBridge>(StoreObject(bridge));
    EXPECT_EQ(back->m_iDirection, 1);
    EXPECT_EQ(back->m_bRaised, 1);
    auto ship = std::make_unique<Ship>();
    ship->m_iDirection = 3;
    EXPECT_EQ(LoadObject<Ship>(StoreObject(*ship))->m_iDirection, 3);
    Mast mast;
    EXPECT_EQ(mast.Type(), MAST);
    EXPECT_FALSE(mast.IsVesselMoving());
    mast.m_pVessel = ship.get();
    ship->m_bMoving = 1;
    EXPECT_TRUE(mast.IsVesselMoving());
    ship.reset();
    EXPECT_FALSE(mast.IsVesselMoving());
}

TEST(Platforms, StepOnTakesTheMoverAboard) {
    Ship ship;
    Object passenger;
    Position p(10, 10);
    EXPECT_EQ(ship.StepOn(&p, &passenger), 0);  // not placed: nothing to carry
    ObjectHolder holder(p, &passenger);
    EXPECT_EQ(ship.StepOn(&p, &passenger), 1);
    EXPECT_EQ(ship.StepOn(&p, &passenger), 1);
    EXPECT_EQ(ship.GetCarried().Count(), 1u);
}

TEST(Platforms, APassengerDeletedAboardDropsOutOfTheLoad) {
    Ship ship;
    auto* passenger = new Object;
    auto* crate = new Object;
    Position p(10, 10);
    auto* holder = new ObjectHolder(p, passenger);
    ObjectHolder crateHolder(p, crate);
    EXPECT_EQ(ship.StepOn(&p, passenger), 1);
    EXPECT_EQ(ship.StepOn(&p, crate), 1);
    // The map tests the load when something else steps aboard: what went
    // meanwhile must not be in it.
    delete holder;
    delete passenger;
    ASSERT_EQ(ship.GetCarried().Count(), 1u);
    EXPECT_EQ(ship.GetCarried()[0], &crateHolder);
    delete crate;
}

TEST(Stairs, RecordKeepsTheWorldAndTheCell) {
    Stairs stairs;
    stairs.m_strWorldFile = "Dungeon.qvr";
    stairs.m_iTargetX = 12;
    stairs.m_iTargetY = 34;
    EXPECT_EQ(stairs.Type(), STAIRS);
    auto back = LoadObject<Stairs>(StoreObject(stairs));
    EXPECT_EQ(back->m_strWorldFile, "Dungeon.qvr");
    EXPECT_EQ(back->m_iTargetX, 12);
    EXPECT_EQ(back->m_iTargetY, 34);
}

// A door that notes every action code it is activated with.
struct Door : Object {
    int Activate(int* action, Player*) override {
        codes.push_back(*action);
        return 7;
    }
    std::vector<int> codes;
};

TEST(Levers, WorkingOneActivatesTheOthersOfItsKey) {
    World world;
    Lever lever;
    lever.m_iItemNum = 4;
    Door door;
    door.m_iItemNum = 4;
    Door other;
    other.m_iItemNum = 5;
    world.AddToKeyStorage(&lever);
    world.AddToKeyStorage(&door);
    world.AddToKeyStorage(&other);
    int code = 2;
    EXPECT_EQ(lever.Activate(&code, nullptr), 7);
    EXPECT_EQ(lever.m_iState, 2);
    EXPECT_EQ(door.codes, std::vector<int>{2});
    EXPECT_TRUE(other.codes.empty());
    EXPECT_EQ(lever.Activate(&code, nullptr), 7);
    EXPECT_EQ(lever.m_iState, 1);
    code = 1;
    EXPECT_EQ(lever.Activate(&code, nullptr), -1);
    lever.m_iMode = 1;
    code = 2;
    EXPECT_EQ(lever.Activate(&code, nullptr), 0);  // needs a hand
    EXPECT_EQ(door.codes.size(), 2u);
    auto back = LoadObject<Lever>(StoreObject(lever));
    EXPECT_EQ(back->m_iMode, 1);
    world.RemoveFromKeyStorage(&lever);
    world.RemoveFromKeyStorage(&door);
    world.RemoveFromKeyStorage(&other);
}

TEST(Levers, TwoLeversOfOneKeySignalTheirRecordOnce) {
    // A lever on either side of a door: working one switches the other too,
    // which must not signal the record again (it would go on for ever).
    World world;
    Lever near;
    Lever far;
    Door door;
    for (Object* o : std::initializer_list<Object*>{&near, &far, &door}) {
        o->m_iItemNum = 4;
        world.AddToKeyStorage(o);
    }
    int code = 2;
    EXPECT_EQ(near.Activate(&code, nullptr), 7);
    EXPECT_EQ(near.m_iState, 2);
    EXPECT_EQ(far.m_iState, 2);
    EXPECT_EQ(door.codes, std::vector<int>{2});
    // The far lever worked by itself signals the record as the near one did.
    EXPECT_EQ(far.Activate(&code, nullptr), 7);
    EXPECT_EQ(far.m_iState, 1);
    EXPECT_EQ(near.m_iState, 1);
    EXPECT_EQ(door.codes, (std::vector<int>{2, 2}));
}

TEST(Lights, KindsRecordsAndUse) {
    LightSource light;
    EXPECT_EQ(light.GetLightSource(), &light);
    EXPECT_EQ(light.CanInteract(), 1);
    EXPECT_EQ(light.CanBeUsedBy(nullptr), 0);
    light.m_iStrength = 77;
    light.m_iRadius = 200;
    light.m_bVisible = 1;
    light.m_bLit = 0;
    light.m_iDuration = 3000;
    auto back = LoadObject<LightSource>(StoreObject(light));
    EXPECT_EQ(back->m_iStrength, 77);
    EXPECT_EQ(back->m_iRadius, 200);
    EXPECT_EQ(back->m_bVisible, 1);
    EXPECT_EQ(back->m_bLit, 0);
    EXPECT_EQ(back->m_iDuration, 3000);
    MageLight mage(42);
    EXPECT_EQ(mage.m_strSpecialName, "MageLight");
    EXPECT_EQ(mage.GetKind(), 2);
    EXPECT_EQ(LoadObject<MageLight>(StoreObject(mage))->m_iSpellSerial, 42);
    Explosion blast;
    EXPECT_EQ(blast.GetState(), 2);
    EXPECT_NE(LightOf(&blast), nullptr);
    EXPECT_TRUE(LoadObject<Explosion>(StoreObject(blast)));
    Object plain;
    EXPECT_EQ(LightOf(&plain), nullptr);
}

TEST(Lights, UsedByAHandOnlyByDayWhenOnAndByNightWhenOff) {
    World world;
    Player creature;
    LightSource light;
    EXPECT_EQ(light.CanBeUsedBy(&creature), 0);  // no hand slot
    creature.m_BodySlotList.emplace_back(2);
    EXPECT_EQ(light.CanBeUsedBy(&creature), 0);
    creature.m_BodySlotList.emplace_back(1);
    struct Case {
        int hour, lit, usable;
    };
    const Case cases[] = {{12, 1, 1}, {12, 0, 0}, {5, 1, 1}, {15, 1, 1},
                          {16, 1, 0}, {16, 0, 1}, {4, 0, 1}, {0, 1, 0}};
    for (const Case& c : cases) {
        world.m_pTimeOfDay->m_sHour = static_cast<int16_t>(c.hour);
        light.m_bLit = c.lit;
        EXPECT_EQ(light.CanBeUsedBy(&creature), c.usable) << c.hour << " " << c.lit;
    }
}

TEST(Lights, DrawnOnlyInBuildModeOrWhenVisible) {
    CMainFrame frame;  // build mode is the frame's
    LightSource light;
    light.m_bNotDrawn = 5;
    EXPECT_EQ(light.Draw(nullptr, {}, {}, Position(1, 1), 0), 0);
    EXPECT_EQ(light.m_bNotDrawn, 5);  // not drawn at all
    frame.m_Play.Editor().SetEditing(true);
    light.Draw(nullptr, {}, {}, Position(1, 1), 0);
    EXPECT_EQ(light.m_bNotDrawn, 0);
}

}  // namespace
