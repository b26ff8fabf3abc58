// What a creature does about the holder it was sent to: walking on, touching
// (door dead zones, near things), attacking, looting, the item waiting for a
// target, and the hovered object, on a World and a Play of the test's own.

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "play/CountingThing.h"
#include "play/PlayFixture.h"
#include "structures/Scenery.h"
#include "structures/Traversable.h"
#include "structures/Walls.h"
#include "world/MapFixture.h"

using play_test::At;
using play_test::Beside;
using play_test::Thing;

namespace {

class Interact : public play_test::PlayFixture {
protected:
    Interact() { FocusOn(35, 34); }
    // Sends k to the holder and asks.
    int Ask(Player* k, ObjectHolder* target, int flag = 0) {
        k->JoinPlayerSet(target);
        return play.InteractWith(k, flag);
    }
    // The first tick sets up play.
    void Start() {
        play.Tick(Play::kNormalTickStep);
        ASSERT_EQ(play.m_iStartState, 0);
    }
    Group* NewGroup() {
        auto* g = new Group;
        g->SetGroupNumber(-1);
        world.m_pAllGroups->AddMember(g);
        return g;
    }
    // A creature of `group` placed at pos.
    Player* PlaceCreature(Group* group, const Position& pos) {
        auto* p = new Player;
        group->AddMember(p);
        Lay(p, pos);
        return p;
    }
    // An object placed at pos; the map owns it.
    template <class T>
    T* PlaceThing(T* object, const Position& pos) {
        Lay(object, pos);
        return object;
    }
    void MoveTo(Player* p, const Position& to) {
        ASSERT_EQ(map.MoveHolder(p->m_pHolder->pos, to, p->m_pHolder), 1);
        p->m_Position = p->m_pHolder->pos;
    }
};

TEST_F(Interact, AnOrderToEmptyGroundWalksOnUntilThePointIsNear) {
    Player* k = PlaceMember(1, At(36, 35, 20, 50));
    const Position point = Beside(k->m_Position, 60, 0);
    auto* target = new ObjectHolder(point, nullptr);
    qv::Handle<ObjectHolder> alive(target);
    EXPECT_EQ(Ask(k, target), 2);
    // 10 and 10 off is 200 squared: still far.
    MoveTo(k, Beside(point, -10, -10));
    EXPECT_EQ(play.InteractWith(k, 0), 2);
    EXPECT_EQ(k->m_pPlayerSet, target);
    // 14 off is 196: near. The member leaves the set, the bare point goes,
    // and every party member's Shift flags are cleared.
    Player* other = PlaceMember(2, At(38, 36));
    k->m_bShiftFlags = {1, 1};
    other->m_bShiftFlags = {1, 1};
    MoveTo(k, Beside(point, -14, 0));
    EXPECT_EQ(play.InteractWith(k, 0), 1);
    EXPECT_EQ(k->m_pPlayerSet, nullptr);
    EXPECT_FALSE(alive);
    EXPECT_EQ(k->m_bShiftFlags, (std::array<int32_t, 2>{0, 0}));
    EXPECT_EQ(other->m_bShiftFlags, (std::array<int32_t, 2>{0, 0}));
}

TEST_F(Interact, AWalkingMemberIsAnsweredTwoOnEachThinkingStepThenOne) {
    Player* k = PlaceMember(1, At(36, 35, 20, 50));
    Start();
    std::vector<int> answers;
    world_test::TestRules rules;
    rules.approach = [&](Player* c, int f) {
        const int r = play.Approach(c, f);
        if (c == k) answers.push_back(r);
        return r;
    };
    world.m_pRules = &rules;
    const Position point = Beside(k->m_Position, 80, 20);
    k->JoinPlayerSet(new ObjectHolder(point, nullptr));
    for (int i = 0; i < 400 && k->m_pPlayerSet; ++i) play.Tick(Play::kNormalTickStep);
    world.m_pRules = &play;
    ASSERT_EQ(k->m_pPlayerSet, nullptr);
    ASSERT_GE(answers.size(), 2u);
    EXPECT_EQ(answers.back(), 1);
    for (size_t i = 0; i + 1 < answers.size(); ++i) EXPECT_EQ(answers[i], 2) << i;
    const qv::Point d = map.PixelDeltaOf(k->m_Position, point);
    EXPECT_LT(d.x * d.x + d.y * d.y, Play::kNearDistanceSq);
}

TEST_F(Interact, AFrontDoorIsTouchedWithin21PixelsAcrossAnd8AlongIt) {
    auto* door = new maptest::Pictured<FrontDoorBrick>();  // no picture: nothing in the way
    door->m_iItemNum = 3;
    ObjectHolder* h = play.PlaceObjectAt(door, At(37, 35, 10, 10));
    ASSERT_NE(h, nullptr);
    const Position d = h->pos;
    Player* k = PlaceMember(1, Beside(d, -36, 0));
    auto tryFrom = [&](int dx, int dy) {
        door->m_iState = Wall::kDoorClosed;
        MoveTo(k, Beside(d, -dx, -dy));
        return Ask(k, h);
    };
    // 30 across is 9 past the zone: near, the door opens.
    EXPECT_EQ(tryFrom(30, 0), 1);
    EXPECT_EQ(door->m_iState, Wall::kDoorOpen);
    EXPECT_EQ(k->m_pPlayerSet, nullptr);
    // 36 across is 15 past it: far, walk on; the door stays shut.
    EXPECT_EQ(tryFrom(36, 0), 2);
    EXPECT_EQ(door->m_iState, Wall::kDoorClosed);
    EXPECT_EQ(tryFrom(-35, 0), 1);  // 14 past the zone on the other side
    EXPECT_EQ(tryFrom(0, 22), 1);   // 14 past 8 along
    EXPECT_EQ(tryFrom(0, 23), 2);
    EXPECT_EQ(tryFrom(20, 7), 1);  // inside the zone: touching
    k->LeavePlayerSet();

    // A plain front wall has no such zone: 30 across is far.
    auto* wall = new maptest::Pictured<FrontWall>();
    ObjectHolder* w = play.PlaceObjectAt(wall, At(40, 35, 10, 10));
    ASSERT_NE(w, nullptr);
    MoveTo(k, Beside(w->pos, -30, 0));
    EXPECT_EQ(Ask(k, w), 2);
    k->LeavePlayerSet();

    // A side door's zone is lopsided: 11 before it and 15 past it across, 19
    // before and 8 past along.
    auto* side = new maptest::Pictured<SideDoorBrick>();
    side->m_iItemNum = 4;
    ObjectHolder* s = play.PlaceObjectAt(side, At(41, 35, 10, 10));
    ASSERT_NE(s, nullptr);
    auto trySide = [&](int dx, int dy) {
        side->m_iState = Wall::kDoorClosed;
        MoveTo(k, Beside(s->pos, -dx, -dy));
        const int r = Ask(k, s);
        k->LeavePlayerSet();
        return r;
    };
    EXPECT_EQ(trySide(29, 0), 1);  // 14 past 15
    EXPECT_EQ(trySide(30, 0), 2);
    EXPECT_EQ(trySide(-25, 0), 1);  // 14 past -11
    EXPECT_EQ(trySide(-26, 0), 2);
    EXPECT_EQ(trySide(0, -33), 1);  // 14 past -19
    EXPECT_EQ(trySide(0, -34), 2);
    EXPECT_EQ(trySide(0, 23), 2);  // 15 past 8
}

TEST_F(Interact, AMovingShipsMastIsTouchedFromAcrossTheDeck) {
    auto ship = std::make_unique<Ship>();
    auto* mast = new maptest::Pictured<Mast>();  // no picture: nothing in the way
    mast->m_pVessel = ship.get();
    ObjectHolder* h = PlaceThing(mast, At(38, 35))->m_pHolder;
    Player* k = PlaceMember(1, Beside(h->pos, -99, -19));
    // At anchor, 99 across is far.
    EXPECT_EQ(Ask(k, h), 2);
    // Under way, anyone within 100 across and 20 along touches it.
    ship->m_bMoving = 1;
    EXPECT_EQ(play.InteractWith(k, 0), 1);
    EXPECT_EQ(k->m_pPlayerSet, nullptr);
    MoveTo(k, Beside(h->pos, -100, 0));  // 100 across is outside: far
    EXPECT_EQ(Ask(k, h), 2);
    k->LeavePlayerSet();
}

TEST_F(Interact, ACreaturesRadiusIsTakenOffTheLongerWayToIt) {
    Player* k = PlaceMember(1, At(36, 35, 20, 56));
    // One of k's own group who is no party member: neither attacked at once
    // nor talked to; touching it, there is no fight within one group (0).
    Player* guard = PlaceCreature(party, Beside(k->m_Position, 30, 0));
    guard->m_iRadius = 20;
    EXPECT_EQ(Ask(k, guard->m_pHolder), 0);  // 30 - 20 = 10: near
    MoveTo(k, Beside(guard->m_Position, -35, -6));
    EXPECT_EQ(Ask(k, guard->m_pHolder), 2);  // 35 - 20 = 15, with 6: far
    MoveTo(k, Beside(guard->m_Position, -5, -33));
    EXPECT_EQ(Ask(k, guard->m_pHolder), 0);  // along y: 33 - 20 = 13, with 5: 194, near
    k->LeavePlayerSet();
}

TEST_F(Interact, AMonsterIsAttackedAtOnceButAPartyMemberNever) {
    Player* k = PlaceMember(1, At(36, 35, 20, 50));
    Group* foes = NewGroup();
    Player* orc = PlaceCreature(foes, At(38, 35));
    EXPECT_EQ(Ask(k, orc->m_pHolder), 1);
    EXPECT_EQ(k->m_pTarget.Get(), orc);
    ASSERT_NE(k->m_pOrder, nullptr);
    EXPECT_EQ(k->m_pOrder->m_iType, ObjectEventType::ATTACK);
    EXPECT_EQ(k->m_pOrder->m_iTime, 0);
    EXPECT_EQ(k->m_pOrder->m_pObject.Get(), orc);
    EXPECT_EQ(k->m_pPlayerSet, nullptr);
    EXPECT_TRUE(orc->m_pHolder->m_PlayerSet.empty());

    // A party member in the fight: neither attacked nor chased.
    k->m_pTarget = nullptr;
    k->m_pOrder.reset();
    Player* friendInFight = PlaceMember(2, At(39, 36));
    friendInFight->m_iHostileMode = 1;
    EXPECT_EQ(Ask(k, friendInFight->m_pHolder), 0);
    EXPECT_EQ(k->m_pTarget.Get(), nullptr);
    EXPECT_EQ(k->m_pOrder, nullptr);
    EXPECT_EQ(k->m_pPlayerSet, nullptr);

    // While a spell waits for its target there is no quick attack: a clicked
    // monster in sight is fought, both groups turning hostile.
    play.Interacting().SetSelectMode(2);
    MoveTo(k, Beside(orc->m_Position, -40, 0));
    EXPECT_EQ(Ask(k, orc->m_pHolder), 1);
    EXPECT_EQ(k->m_pTarget.Get(), nullptr);
    EXPECT_EQ(k->m_iHostileMode, 1);
    EXPECT_EQ(orc->m_iHostileMode, 1);
}

TEST_F(Interact, ACorpseOutOfSightIsNotLootedAndTheMemberKeepsHeadingForIt) {
    Player* k = PlaceMember(1, At(36, 35, 20, 56));
    Group* foes = NewGroup();
    Player* corpse = PlaceCreature(foes, Beside(k->m_Position, 100, 0));
    corpse->m_sLifeState = 0;
    corpse->m_iHitPoints = 0;
    auto image = maptest::SolidImage(10, 40, 5, 20);
    Thing* pillar = PlaceThing(play_test::Pictured(image.get()), Beside(k->m_Position, 50, 0));

    EXPECT_EQ(Ask(k, corpse->m_pHolder, 1), 0);
    EXPECT_EQ(k->m_pPlayerSet, corpse->m_pHolder);
    EXPECT_EQ(play.Interacting().ShownContainer().Get(), nullptr);
    EXPECT_FALSE(play.Interacting().IsContainerOpen());

    // With the pillar gone the corpse's bag is shown.
    DeleteHolderWithObject(pillar->m_pHolder);
    EXPECT_EQ(play.InteractWith(k, 1), 1);
    EXPECT_EQ(play.Interacting().ShownContainer().Get(), corpse->m_pBag.get());
    EXPECT_TRUE(play.Interacting().IsContainerOpen());
    EXPECT_EQ(k->m_pPlayerSet, nullptr);
    play.CloseContainer();
    EXPECT_FALSE(play.IsPopupOpen());
}

TEST_F(Interact, TheLineToATargetIsClearUpToTheFirstThingOnItWithinTheDistance) {
    Player* k = PlaceMember(1, At(36, 35, 20, 56));
    const Position from = k->m_Position;
    Thing* near = PlaceThing(new Thing("Barrel"), Beside(from, 40, 0));
    auto image = maptest::SolidImage(10, 10, 5, 5);
    Thing* crate = PlaceThing(play_test::Pictured(image.get()), Beside(from, 0, 60));
    // Nothing on the way: clear up to the squared distance given, not past it.
    EXPECT_EQ(play.IsLineToTargetClear(k, &map, near->m_pHolder, Beside(from, 100, 0), 10000, 0),
              1);
    EXPECT_EQ(play.IsLineToTargetClear(k, &map, near->m_pHolder, Beside(from, 101, 0), 10000, 0),
              0);
    // The first thing met decides: the target itself, or something else.
    EXPECT_EQ(play.IsLineToTargetClear(k, &map, crate->m_pHolder, Beside(from, 0, 90), 10000, 0),
              1);
    EXPECT_EQ(play.IsLineToTargetClear(k, &map, near->m_pHolder, Beside(from, 0, 90), 10000, 0), 0);
}

TEST_F(Interact, ACreatureOutsideThePartyWorksOnlyWhatAcceptsIt) {
    Group* town = NewGroup();
    Player* stranger = PlaceCreature(town, At(38, 35));
    auto* chest = PlaceThing(new Object("Chest"), At(38, 36));
    chest->m_bMoveable = 0;
    EXPECT_EQ(Ask(stranger, chest->m_pHolder, 1), 0);
    Thing* lever = PlaceThing(new Thing("Lever"), At(39, 36));
    lever->m_bMoveable = 0;
    EXPECT_EQ(Ask(stranger, lever->m_pHolder, 1), 1);
    EXPECT_EQ(lever->activations, 1);
}

// Scenery with a bed's picture, whose use prompt counts.
class Cot : public Scenery {
public:
    Cot() { m_iPictureBitmap = kBedBitmap2; }
    int GetUsePrompt(Player* user, int flag) override {
        prompts.push_back({user, flag});
        return 1;
    }
    std::vector<std::pair<Player*, int>> prompts;
};

TEST_F(Interact, ABedIsRestedOnThroughItsPrompt) {
    Player* k = PlaceMember(1, At(36, 35));
    auto* cot = PlaceThing(new Cot, At(37, 35));
    EXPECT_EQ(Ask(k, cot->m_pHolder, 1), 1);
    ASSERT_EQ(cot->prompts.size(), 1u);
    EXPECT_EQ(cot->prompts[0], (std::pair<Player*, int>{k, 1}));
    EXPECT_NE(cot->m_pHolder, nullptr);  // not picked up
    EXPECT_EQ(k->m_pBag->ItemCount(), 0);
}

TEST_F(Interact, TheItemWaitingForATargetIsUsedOnlyByItsOwnUser) {
    Player* a = PlaceMember(1, At(36, 35));
    Group* town = NewGroup();
    Player* stranger = PlaceCreature(town, At(38, 35));
    Thing* target = PlaceThing(new Thing("Chest"), At(37, 36));
    target->m_bMoveable = 0;  // a fixture: worked, never taken
    auto* potion = new Thing("Potion");
    a->m_pBag->AddItem(potion);
    a->m_pBag->SetItemCount(a->m_pBag->ItemCount() + 1);
    play.Interacting().SetPendingItem(potion);
    play.Interacting().SetPendingItemUser(a);

    // Another creature reaching its own target leaves the pending use alone.
    EXPECT_EQ(Ask(stranger, target->m_pHolder, 1), 1);
    EXPECT_EQ(potion->uses, 0);
    EXPECT_EQ(target->activations, 1);
    EXPECT_EQ(play.Interacting().PendingItem().Get(), potion);
    EXPECT_EQ(play.Interacting().PendingItemUser().Get(), a);

    // Its user uses it, instead of working the target.
    EXPECT_EQ(Ask(a, target->m_pHolder, 1), 1);
    EXPECT_EQ(potion->uses, 1);
    EXPECT_EQ(potion->usedOn, target);
    EXPECT_EQ(target->activations, 1);
    EXPECT_EQ(play.Interacting().PendingItem().Get(), nullptr);
    EXPECT_EQ(play.Interacting().PendingItemUser().Get(), nullptr);

    // Used up, it leaves the bag and is gone.
    potion->useAnswer = 1;
    play.Interacting().SetPendingItem(potion);
    const int live = Thing::live;
    EXPECT_EQ(Ask(a, target->m_pHolder, 1), 1);  // no user recorded: the controlled member's
    EXPECT_EQ(Thing::live, live - 1);
    EXPECT_EQ(a->m_pBag->ItemCount(), 0);

    // The player's own click, with no user recorded: used up, it leaves the
    // controlled member's bag.
    auto* salve = new Thing("Salve");
    salve->useAnswer = 1;
    a->m_pBag->AddItem(salve);
    a->m_pBag->SetItemCount(a->m_pBag->ItemCount() + 1);
    play.Interacting().SetPendingItem(salve);
    world.m_pHoverHolder = target->m_pHolder;
    const int withSalve = Thing::live;
    EXPECT_EQ(play.InteractWith(nullptr, 0), 1);
    EXPECT_EQ(Thing::live, withSalve - 1);
    EXPECT_EQ(a->m_pBag->ItemCount(), 0);

    // A cancelled selection drops both.
    auto scroll = std::make_unique<Thing>("Scroll");
    play.Interacting().SetPendingItem(scroll.get());
    play.Interacting().SetPendingItemUser(a);
    play.Interacting().DropPendingUse();
    EXPECT_EQ(play.Interacting().PendingItem().Get(), nullptr);
    EXPECT_EQ(play.Interacting().PendingItemUser().Get(), nullptr);
}

TEST_F(Interact, WithoutACreatureTheHoveredObjectIsTheTarget) {
    Thing* chest = PlaceThing(new Thing("Chest"), At(37, 35));
    chest->m_bMoveable = 0;
    world.m_pHoverHolder = chest->m_pHolder;
    EXPECT_EQ(play.InteractWith(nullptr, 0), 1);
    EXPECT_EQ(chest->activations, 1);
    chest->activateAnswer = Object::kWorldChanged;
    EXPECT_EQ(play.InteractWith(nullptr, 0), Object::kWorldChanged);
    // In the editor its editor opens instead (1 when it answers nothing).
    play.Editor().SetEditing(true);
    EXPECT_EQ(play.InteractWith(nullptr, 0), 1);
    EXPECT_EQ(chest->edits, 1);
    chest->editAnswer = 4;
    EXPECT_EQ(play.InteractWith(nullptr, 0), 4);
    EXPECT_EQ(chest->activations, 2);
}

}  // namespace
