#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/Archive.h"
#include "structures/Walls.h"
#include "support/HandWrittenRecord.h"
#include "world/Object.h"
#include "world/ObjectHolder.h"
#include "world/World.h"

namespace {

using record_test::Bytes;
using record_test::PutInts;
using record_test::PutNewClass;
using record_test::StoreObject;

// Stores a holder of a fresh object of `cls` at x = `x` and rewrites the
// holder's stored schema to `schema`.
Bytes HolderFile(const qv::RuntimeClass* cls, int x, int schema) {
    std::unique_ptr<Object> o(static_cast<Object*>(cls->CreateObject()));
    ObjectHolder h(Position(x, 50), o.get());
    Bytes b = StoreObject(h);
    b[2] = uint8_t(schema);
    return b;
}

struct Loaded {
    std::unique_ptr<ObjectHolder> holder;
    std::unique_ptr<Object> object;
};
Loaded Load(const Bytes& b) {
    qv::Archive in(b);
    Loaded l;
    l.holder.reset(in.ReadObjectOf<ObjectHolder>());
    l.object.reset(l.holder->m_pObject);
    EXPECT_EQ(in.Remaining(), 0u);
    return l;
}

TEST(ObjectHolder, StoredRecordOfSchema10) {
    Object o;
    ObjectHolder h(Position(-2, 300, 7), &o);
    EXPECT_EQ(o.m_pHolder, &h);
    const Bytes b = StoreObject(h);
    Bytes head;
    PutNewClass(head, "ObjectHolder", 10);
    PutInts(head, {-2, 300});
    PutNewClass(head, "Object", 11);
    ASSERT_GT(b.size(), head.size());
    EXPECT_EQ(Bytes(b.begin(), b.begin() + long(head.size())), head) << "z is not stored";

    Loaded l = Load(b);
    EXPECT_EQ(l.holder->pos, Position(-2, 300, 0));
    EXPECT_EQ(l.object->m_pHolder, l.holder.get());
    EXPECT_EQ(l.holder->Type(), 0);
}

TEST(ObjectHolder, OldSchemasAreRescaledStepByStep) {
    Bytes b;
    PutNewClass(b, "ObjectHolder", 1);
    PutInts(b, {67, 47});
    record_test::PutWord(b, 0);  // no object
    qv::Archive in(b);
    std::unique_ptr<ObjectHolder> h(in.ReadObjectOf<ObjectHolder>());
    EXPECT_EQ(h->pos, Position(160, 112, 0));
    EXPECT_EQ(h->m_pObject, nullptr);
    EXPECT_EQ(h->Update(0, nullptr), 0) << "a bare point updates to 0";

    // Negative coordinates truncate toward zero at every step.
    b[18] = uint8_t(-67);
    b[19] = b[20] = b[21] = 0xFF;
    qv::Archive in2(b);
    std::unique_ptr<ObjectHolder> h2(in2.ReadObjectOf<ObjectHolder>());
    EXPECT_EQ(h2->pos.x, -160);
}

TEST(ObjectHolder, WallsOfOlderEditorsAreNudged) {
    const qv::RuntimeClass* front = &FrontWall::classInfo;
    const qv::RuntimeClass* peg = &Peg::classInfo;
    EXPECT_EQ(Load(HolderFile(peg, 100, 8)).holder->pos.x, 100);
    EXPECT_EQ(Load(HolderFile(front, 100, 8)).holder->pos.x, 101);
    EXPECT_EQ(Load(HolderFile(front, 165, 6)).holder->pos.x, 162);
    EXPECT_EQ(Load(HolderFile(peg, 100, 9)).holder->pos.x, 101);
    EXPECT_EQ(Load(HolderFile(front, 100, 10)).holder->pos.x, 100);
    EXPECT_EQ(Load(HolderFile(&Object::classInfo, 100, 8)).holder->pos.x, 100);
    EXPECT_EQ(Load(HolderFile(&FrontDoorBrick::classInfo, 100, 8)).holder->pos.x, 101)
        << "a class derived from a front wall is nudged as one";
    EXPECT_EQ(Load(HolderFile(&SideWall::classInfo, 100, 8)).holder->pos.x, 100);
}

// A creature for the player-set tests.
class Walker : public PlayerSetMember {};

TEST(ObjectHolder, ABareTargetLivesWhileSomeCreatureHeadsForIt) {
    Walker a, b;
    auto* bare = new ObjectHolder(Position(10, 10), nullptr);
    qv::Handle<ObjectHolder> watch(bare);
    a.JoinPlayerSet(bare, false);
    b.JoinPlayerSet(bare, false);
    EXPECT_EQ(a.m_pPlayerSet, bare);
    ASSERT_EQ(bare->m_PlayerSet.size(), 2u);

    Object o;
    ObjectHolder placed(Position(0, 0), &o);
    a.JoinPlayerSet(&placed, false);
    EXPECT_TRUE(watch) << "the first leaver does not delete a target another still heads for";
    EXPECT_EQ(bare->m_PlayerSet.size(), 1u);
    b.LeavePlayerSet();
    EXPECT_FALSE(watch) << "the last leaver deletes it";
    EXPECT_EQ(b.m_pPlayerSet, nullptr);

    // A forbidden join still leaves the old set.
    a.JoinPlayerSet(&placed, true);
    EXPECT_EQ(a.m_pPlayerSet, nullptr);
    EXPECT_TRUE(placed.m_PlayerSet.empty());
    // Leaving a holder with an object keeps it.
    a.JoinPlayerSet(&placed, false);
    a.LeavePlayerSet();
    EXPECT_TRUE(placed.m_PlayerSet.empty());
}

TEST(ObjectHolder, OneCreatureMovingOnDeletesItsBareTarget) {
    Walker a;
    auto* bare = new ObjectHolder(Position(10, 10), nullptr);
    qv::Handle<ObjectHolder> watch(bare);
    a.JoinPlayerSet(bare, false);
    Object o;
    ObjectHolder placed(Position(0, 0), &o);
    a.JoinPlayerSet(&placed, false);
    EXPECT_FALSE(watch);
    EXPECT_EQ(a.m_pPlayerSet, &placed);
}

TEST(ObjectHolder, APositionStoresItsThreeCoordinates) {
    Position p(-1, 2, 300);
    qv::Archive out;
    p.Serialize(out);
    EXPECT_EQ(out.Bytes(), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 0x2C, 1, 0, 0}));
    qv::Archive in(out.Bytes());
    Position q;
    q.Serialize(in);
    EXPECT_EQ(q, p);
}

TEST(ObjectHolder, JoiningTheTargetAgainKeepsIt) {
    Walker a, b;
    auto* bare = new ObjectHolder(Position(10, 10), nullptr);
    qv::Handle<ObjectHolder> watch(bare);
    a.JoinPlayerSet(bare, false);
    b.JoinPlayerSet(bare, false);
    a.JoinPlayerSet(bare, false);
    ASSERT_TRUE(watch);
    EXPECT_EQ(bare->m_PlayerSet, (std::vector<PlayerSetMember*>{&b, &a}));
    b.LeavePlayerSet();
    a.JoinPlayerSet(bare, false);
    ASSERT_TRUE(watch) << "the only creature heading for it joins it again";
    EXPECT_EQ(a.m_pPlayerSet, bare);
    EXPECT_EQ(bare->m_PlayerSet, (std::vector<PlayerSetMember*>{&a}));
    a.JoinPlayerSet(bare, true);
    EXPECT_FALSE(watch) << "a forbidden join leaves, and the empty target goes";
    EXPECT_EQ(a.m_pPlayerSet, nullptr);
}

TEST(ObjectHolder, ClearingTheSetKeepsTheHolder) {
    Walker a, b;
    std::unique_ptr<ObjectHolder> bare(new ObjectHolder(Position(1, 1), nullptr));
    a.JoinPlayerSet(bare.get(), false);
    b.JoinPlayerSet(bare.get(), false);
    b.ClearPlayerSet();
    EXPECT_TRUE(bare->m_PlayerSet.empty());
    EXPECT_EQ(a.m_pPlayerSet, nullptr);
    EXPECT_EQ(b.m_pPlayerSet, nullptr);
}

TEST(ObjectHolder, DestroyedHolderLetsGoOfItsCreaturesAndTheFrame) {
    World world;
    Walker a, b;
    auto* h = new ObjectHolder(Position(1, 1), nullptr);
    a.JoinPlayerSet(h, false);
    b.JoinPlayerSet(h, false);
    world.m_pHoverHolder = h;
    delete h;
    EXPECT_EQ(a.m_pPlayerSet, nullptr);
    EXPECT_EQ(b.m_pPlayerSet, nullptr);
    EXPECT_EQ(world.m_pHoverHolder.Get(), nullptr);
    a.LeavePlayerSet();  // nothing left to leave
}

TEST(ObjectHolder, DestroyedCreatureLeavesItsSet) {
    Object o;
    ObjectHolder placed(Position(0, 0), &o);
    {
        Walker a;
        a.JoinPlayerSet(&placed, false);
        EXPECT_EQ(placed.m_PlayerSet.size(), 1u);
    }
    EXPECT_TRUE(placed.m_PlayerSet.empty());
    auto* bare = new ObjectHolder(Position(1, 1), nullptr);
    qv::Handle<ObjectHolder> watch(bare);
    {
        Walker b;
        b.JoinPlayerSet(bare, false);
    }
    EXPECT_FALSE(watch);
}

TEST(ObjectHolder, UpdateAndTypeAskTheObject) {
    struct Ticker : Object {
        int Update(int32_t now, MapMaster*) override { return now + 1; }
        int Type() override { return PLAYER; }
    } t;
    ObjectHolder h(Position(0, 0), &t);
    EXPECT_EQ(h.Update(41, nullptr), 42);
    EXPECT_EQ(h.Type(), 3);
}

}  // namespace
