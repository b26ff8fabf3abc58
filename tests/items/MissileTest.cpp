// Missiles in flight, in a stepped world: the direction of the picture, the
// two-pixel steps by whole periods, the hit with its chance and stun, the
// shooter never hit, landing, a missile gone with its land, and the records
// that carry a flight across a land's file.

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "creatures/Player.h"
#include "items/Missile.h"
#include "platform/Rand.h"
#include "support/HandWrittenRecord.h"
#include "support/WorldFixture.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/MapFixture.h"
#include "world/World.h"

namespace {

using namespace record_test;

struct DirectionRow {
    const char* what;
    int32_t dx, dy;
    int direction;
};

const DirectionRow kDirections[] = {
    {"straight right", 40, 0, 4},
    {"straight left", -40, 0, 0},
    {"down-right on the diagonal", 30, 30, 6},
    {"straight down", 0, 40, 7},
    {"straight up", 0, -40, 3},
    {"up-left on the diagonal", -30, -30, 2},
    {"down-left on the diagonal", -30, 30, 0},
    {"up-right on the diagonal", 30, -30, 4},
    {"right, and down by half", 40, 20, 5},
    {"at its own point: no direction", 0, 0, -1},
};

TEST(MissileFlight, DirectionOfThePicture) {
    for (const DirectionRow& row : kDirections) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(FiredMissile::DirectionOf(row.dx, row.dy), row.direction);
    }
}

// A creature that remembers the damage it takes.
class Target : public Player {
public:
    std::vector<std::pair<int, int>> hits;
    void TakeDamage(int amount, int kind) override { hits.emplace_back(amount, kind); }
};

// Something on the map that is not a creature, met where its picture is,
// that takes damage.
class Post : public Object {
public:
    explicit Post(CDDObject* image) : m_image(image) { m_iLightSampling = 2; }
    CDDObject* GetImage() override { return m_image; }
    std::vector<std::pair<int, int>> hits;
    void TakeDamage(int amount, int kind) override { hits.emplace_back(amount, kind); }
    CDDObject* m_image;
};

class MissileWorld : public ::testing::Test {
protected:
    MissileWorld() { world.CreateRootGroups(); }

    static Position At(int dx, int dy = 0) { return {kX + dx, kY + dy, 0}; }

    template <class T>
    T* PlaceCreature(const Position& pos) {
        auto* p = new T;
        world.m_pAllGroups->AddMember(p);
        p->SetPlayerNumber(-1);
        p->m_Position = pos;
        Position at = pos;
        EXPECT_EQ(map.AddHolder(at, new ObjectHolder(pos, p)), 1);
        return p;
    }

    // A missile shot by `shooter` from `from` toward `to` at time 0, on the
    // map and on the world's list of flying objects.
    FiredMissile* Shoot(Player* shooter, Position from, Position to, Weapon* launcher = nullptr) {
        auto* missile = new Missile(shooter, launcher);
        auto* holder = new ObjectHolder(from, missile);
        auto* flight =
            new FiredMissile(missile, shooter ? shooter->m_iPlayerNumber : -1, {from.x, from.y},
                             {to.x, to.y}, 0, FiredMissile::kCombatStepPeriod, holder);
        world.AddFlyingObject(flight);
        // Placed where the shooter stands: the shooter does not block it.
        ObjectIgnoreList shooterSelf;
        if (shooter) shooterSelf.push_back(shooter);
        EXPECT_EQ(map.AddHolder(from, holder, &shooterSelf), 1);
        return flight;
    }

    // Steps the world's flights tick by tick to `until`.
    void Fly(int32_t until) {
        while (now < until) {
            now += 100;
            world.UpdateFlyingObjects(now, &map);
        }
    }

    static constexpr int32_t kX = 15 * 160 + 20;
    static constexpr int32_t kY = 15 * 112 + 56;
    world_test::SmallWorld small;
    World& world = small.world;
    MapMaster& map = small.map;
    int32_t now = 0;
};

TEST_F(MissileWorld, AShotTwoPixelsAwayEndsAfterOneStep) {
    FiredMissile* f = Shoot(nullptr, At(0), At(2));
    EXPECT_EQ(f->Update(5, &map), 0) << "less than a period: no step";
    EXPECT_EQ(f->m_ptCurrent, (qv::Point{kX, kY}));
    EXPECT_EQ(f->Update(10, &map), Object::kLeaveGroup);
    EXPECT_EQ(f->m_ptCurrent, (qv::Point{kX + 2, kY}));
}

TEST_F(MissileWorld, ALateUpdateTakesEveryPeriodThatPassed) {
    FiredMissile* f = Shoot(nullptr, At(0), At(100));
    ObjectHolder* holder = f->GetHolder();
    EXPECT_EQ(f->Update(35, &map), 0);  // three whole periods: three steps
    EXPECT_EQ(f->m_ptCurrent, (qv::Point{kX + 6, kY}));
    EXPECT_EQ(holder->pos, At(6)) << "the missile is drawn where it flies";
    EXPECT_EQ(f->m_iLastStep, 30) << "the part of a period left over carries on";
    EXPECT_EQ(f->Update(39, &map), 0);
    EXPECT_EQ(f->m_ptCurrent, (qv::Point{kX + 6, kY}));
    EXPECT_EQ(f->Update(40, &map), 0);
    EXPECT_EQ(f->m_ptCurrent, (qv::Point{kX + 8, kY}));
}

TEST_F(MissileWorld, AMissileThatMeetsNothingLandsAndGoes) {
    Shoot(nullptr, At(0), At(60, 20));
    EXPECT_EQ(world.m_FlyingObjects.size(), 1u);
    Fly(300);  // 30 periods: the 30 steps of the line
    EXPECT_TRUE(world.m_FlyingObjects.empty());
    EXPECT_EQ(map.CheckMove(nullptr, At(60, 20), nullptr, 1, 0), nullptr)
        << "its holder left the map with it";
}

TEST_F(MissileWorld, AMissileFliesHitsAndStuns) {
    Target* shooter = PlaceCreature<Target>(At(0));
    Target* target = PlaceCreature<Target>(At(40));
    shooter->m_iLevelLongRange = 20;  // the chance is held at 95: every roll hits
    target->m_iStepTime = 50;
    target->Events().Clear();
    target->Events().Post(ObjectEventType::MOVE, 1000);
    target->Events().Post(ObjectEventType::THINK, 0);
    Bow bow;
    FiredMissile* f = Shoot(shooter, At(0), At(40), &bow);
    EXPECT_EQ(f->GetMissile()->m_iStun, 20);
    qv::SeedRand(7);
    Fly(100);  // ten steps: 20 pixels, nothing met yet
    ASSERT_EQ(world.m_FlyingObjects.size(), 1u);
    EXPECT_TRUE(target->hits.empty());
    Fly(300);
    EXPECT_TRUE(world.m_FlyingObjects.empty());
    // Stun 20 against step time 50: (20 x 50) / 100 = 10, times 0.5 = 5.
    ASSERT_EQ(target->Events().Count(), 2);
    EXPECT_EQ(target->Events().At(0).m_iTime, 0) << "an event due at once stays so";
    EXPECT_EQ(target->Events().At(1).m_iTime, 1005);
    ASSERT_EQ(target->hits.size(), 1u);
    EXPECT_GE(target->hits[0].first, 2);
    EXPECT_LE(target->hits[0].first, 8);
    EXPECT_EQ(target->hits[0].second, 0);
    EXPECT_TRUE(shooter->hits.empty()) << "the shooter is never hit by its own missile";
}

TEST_F(MissileWorld, AMissMovesNothing) {
    Target* target = PlaceCreature<Target>(At(30));
    target->m_iLevelLongRange = 20;  // the chance is held at 5: hits 0..10 only
    target->Events().Clear();
    target->Events().Post(ObjectEventType::MOVE, 1000);
    Shoot(nullptr, At(0), At(30));
    qv::SeedRand(1);  // the roll: 41 % 100 = 41, above 10
    Fly(400);
    EXPECT_TRUE(world.m_FlyingObjects.empty()) << "a miss ends the flight too";
    EXPECT_TRUE(target->hits.empty());
    EXPECT_EQ(target->Events().At(0).m_iTime, 1000);
}

TEST_F(MissileWorld, TheDeadAreNotHitAndThingsTakeThePlainDamage) {
    Target* corpse = PlaceCreature<Target>(At(20));
    corpse->m_sLifeState = 0;
    corpse->m_iHitPoints = 5;  // still in the way on the map
    Shoot(nullptr, At(0), At(40));
    Fly(200);
    EXPECT_TRUE(world.m_FlyingObjects.empty());
    EXPECT_TRUE(corpse->hits.empty());

    // A thing hit takes the missile's damage as no creature changes it:
    // 2 + 41 % 7.
    auto image = maptest::SolidImage(8, 8, 4, 4);
    Post post(image.get());
    ObjectHolder h(At(20, 40), &post);
    Position at = h.pos;
    ASSERT_EQ(map.AddHolder(at, &h), 1);
    qv::SeedRand(1);
    Shoot(nullptr, At(0, 40), At(40, 40));
    Fly(1000);
    EXPECT_TRUE(world.m_FlyingObjects.empty());
    EXPECT_EQ(post.hits, (std::vector<std::pair<int, int>>{{8, 0}}));
    map.RemoveHolder(h.pos, &h);
}

TEST_F(MissileWorld, AMissileGoneWithItsLandLeavesItsFlightToEndAlone) {
    FiredMissile* f = Shoot(nullptr, At(0), At(100));
    Fly(100);
    ObjectHolder* holder = f->GetHolder();
    ASSERT_NE(holder, nullptr);
    // The land that holds the missile lets it go: holder and missile are
    // deleted together.
    map.RemoveHolder(holder->pos, holder);
    DeleteHolderWithObject(holder);
    EXPECT_EQ(f->GetMissile(), nullptr);
    EXPECT_EQ(f->GetHolder(), nullptr);
    Fly(200);  // ends at its next step, touching nothing
    EXPECT_TRUE(world.m_FlyingObjects.empty());
}

TEST_F(MissileWorld, AFlightReadWithItsMissileTakesOffWhenTheMissileIsPlaced) {
    FiredMissile* f = Shoot(nullptr, At(0), At(100));
    Fly(100);
    // The missile as its land writes it: the weapon part, then the flight.
    Missile* missile = f->GetMissile();
    const Bytes bytes = StoreObject(*missile);
    auto back = record_test::LoadObject<Missile>(bytes);
    ASSERT_NE(back->GetFlight(), nullptr);
    FiredMissile* again = back->GetFlight();
    EXPECT_EQ(again->GetMissile(), back.get());
    EXPECT_EQ(again->m_ptCurrent, (qv::Point{kX + 20, kY}));
    EXPECT_EQ(again->m_ptAimed, (qv::Point{kX + 100, kY}));
    EXPECT_EQ(again->m_iLastStep, -1);
    // The old flight goes; the missile read back is placed and flies on.
    world.m_FlyingObjects.clear();
    auto* holder = new ObjectHolder(At(20), back.get());
    Position at = holder->pos;
    ASSERT_EQ(map.AddHolder(at, holder), 1);
    back.release();  // the map has it
    ASSERT_EQ(world.m_FlyingObjects.size(), 1u);
    EXPECT_EQ(world.m_FlyingObjects.front().get(), again);
    EXPECT_EQ(again->GetHolder(), holder);
    now = 1000;
    world.UpdateFlyingObjects(now, &map);  // the first update only starts its clock
    Fly(1100);
    EXPECT_EQ(holder->pos, At(40));
    Fly(5000);
    EXPECT_TRUE(world.m_FlyingObjects.empty());
}

TEST(MissileRecords, AFlightAsStored) {
    World world;
    FiredMissile f(nullptr, 7, {100, 200}, {300, 260}, 0, 10, nullptr);
    Bytes expected;
    PutNewClass(expected, "FiredMissile", 1);
    PutNewClass(expected, "Object", 11);
    PutInts(expected, {0, 0, 1, 0});
    PutString(expected, "Object");
    PutString(expected, "Object");
    PutInts(expected, {-1, 0, 1, 1, 0, 1, -1, -1});
    PutInts(expected, {100, 200, 300, 260, 10, 100, 200, 7});
    EXPECT_EQ(StoreObject(f), expected);

    // A period that could never step is the combat's 10; the line is set up
    // again from the points.
    Bytes odd = expected;
    const size_t period = odd.size() - 4 * 4;
    odd[period] = 0;
    auto back = record_test::LoadObject<FiredMissile>(odd);
    EXPECT_EQ(back->m_iStepPeriod, 10);
    EXPECT_EQ(back->m_Line.m_iEndX, 300);
    EXPECT_EQ(back->m_Line.m_iEndY, 260);
    EXPECT_EQ(back->Update(0, nullptr), Object::kLeaveGroup) << "without its missile it ends";
}

TEST(MissileRecords, AMissileWithoutItsFlightAndAMagicMissile) {
    World world;
    Missile plain;
    const Bytes bytes = StoreObject(plain);
    // The weapon part ends with the five numbers; then the null flight.
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes[bytes.size() - 2], 0);
    EXPECT_EQ(bytes[bytes.size() - 1], 0);
    auto back = record_test::LoadObject<Missile>(bytes);
    EXPECT_EQ(back->GetFlight(), nullptr);
    EXPECT_EQ(back->m_iMoveMode, 4);
    EXPECT_EQ(back->m_bMoveable, 0);

    MagicMissile magic(3, nullptr, 9, 2, nullptr);
    auto m = record_test::LoadObject<MagicMissile>(StoreObject(magic));
    EXPECT_EQ(m->m_iColour, 3);
    EXPECT_EQ(m->m_iDamageBase, 5);
    int x = 0, y = 0;
    m->GetImageFrame(&x, &y);
    EXPECT_EQ(y, 3) << "the colour is the picture's row";
    m->m_iColour = 99;
    m->m_iYImageNum = 99;
    y = 0;
    m->GetImageFrame(&x, &y);
    EXPECT_EQ(y, 0) << "a colour without a row shows the first";
}

}  // namespace
