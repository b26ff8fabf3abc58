// The orders that move things: taking from the ground and from a container,
// putting down, handing over, taking into and out of use, moving between
// bags, opening containers and resting, given to a Play of a world without a
// frame. Nothing is ever lost or owned twice.

#include <memory>
#include <tuple>

#include "PlayFixture.h"
#include "items/Armour.h"
#include "items/Bag.h"
#include "items/Container.h"
#include "items/Useable.h"
#include "items/Weapon.h"
#include "structures/Furnishings.h"
#include "structures/Scenery.h"
#include "support/Belongings.h"
#include "world/World.h"

using namespace play_test;
using belongings::Fill;
using belongings::GiveBody;

namespace {

class PlayItems : public PlayFixture {
protected:
    // What lies on the map at `pos`.
    Object* LyingAt(const Position& pos) {
        ObjectIgnoreList none;
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j)
                for (ObjectHolder* h : map.GetCell(i, j).holders)
                    if (h->pos == pos && h->m_pObject && h->m_pObject->Type() != PLAYER)
                        return h->m_pObject;
        return nullptr;
    }
    Order Carry(Order::Kind kind, Object* object) {
        Order o = Order::Of(kind);
        o.object = object;
        return o;
    }
};

TEST_F(PlayItems, TakingFromTheGround) {
    // Things within reach are taken at once, as on arriving at them.
    Player* k = PlaceMember(1, At(36, 35, 20, 50));
    const Position here = At(36, 35, 30, 50), there = At(36, 35, 10, 50);
    ObjectHolder* sword = Lay(new Sword, here);
    Object* blade = sword->m_pObject;
    EXPECT_EQ(play.Give(Order::On(Order::Kind::Take, sword)), 1);
    EXPECT_TRUE(k->m_pBag->Contains(blade));
    EXPECT_EQ(blade->m_pHolder, nullptr);
    EXPECT_EQ(LyingAt(here), nullptr);
    EXPECT_TRUE(ask.asked.empty()) << "a single thing is taken without asking";

    // Two of a pile of five: the rest stays where it lies.
    ObjectHolder* pile = Lay(belongings::Stack("Gold", 5), here);
    Object* gold = pile->m_pObject;
    ask.quantities = {2};
    EXPECT_EQ(play.Give(Order::On(Order::Kind::Take, pile)), 1);
    EXPECT_EQ(gold->m_iBulkNum, 3);
    EXPECT_EQ(LyingAt(here), gold);
    Object* carried = k->m_pBag->FindStackable(gold);
    ASSERT_NE(carried, nullptr);
    EXPECT_EQ(carried->m_iBulkNum, 2);

    // A full pack takes nothing, and everything stays as it was.
    Fill(*k->m_pBag);
    const int before = k->m_pBag->ItemCount();
    ObjectHolder* axe = Lay(new Axe, there);
    EXPECT_EQ(play.Give(Order::On(Order::Kind::Take, axe)), 1);
    EXPECT_NE(LyingAt(there), nullptr);
    EXPECT_EQ(k->m_pBag->ItemCount(), before);
}

TEST_F(PlayItems, OpeningAChestAndTakingFromIt) {
    Player* k = PlaceMember(1, At(36, 35));
    auto* chest = new Chest;
    auto* helm = new Helm(2);
    chest->GetBag()->PutItem(helm, 1);
    chest->m_bLocked = 1;
    ObjectHolder* h = Lay(chest, At(37, 35));

    Order open = Order::On(Order::Kind::Open, h);
    EXPECT_EQ(play.Give(open), 0) << "locked: it rattles and shows nothing";
    EXPECT_EQ(play.Interacting().ShownContainer().Get(), nullptr);
    open.value = 3;
    EXPECT_EQ(play.Give(open), 1) << "its lock turned, it opens at once";
    EXPECT_EQ(chest->m_bLocked, 0);
    EXPECT_EQ(play.Interacting().ShownContainer().Get(), chest->GetBag());
    EXPECT_TRUE(play.Interacting().IsContainerOpen());

    EXPECT_EQ(play.Give(Carry(Order::Kind::Take, helm)), 1);
    EXPECT_TRUE(k->m_pBag->Contains(helm));
    EXPECT_FALSE(chest->GetBag()->Contains(helm));
    EXPECT_EQ(chest->GetBag()->ItemCount(), 0);

    // Put back into the chest's bag while it is open.
    Order back = Carry(Order::Kind::PutIn, helm);
    back.into = chest->GetBag();
    EXPECT_EQ(play.Give(back), 1);
    EXPECT_TRUE(chest->GetBag()->Contains(helm));

    // Shut: the window closes; with none open there is nothing to shut.
    EXPECT_EQ(play.Give(Order::Of(Order::Kind::Shut)), 1);
    EXPECT_EQ(
        std::tuple(play.Interacting().IsContainerOpen(), play.Interacting().ShownContainer().Get()),
        std::tuple(false, nullptr));
    EXPECT_EQ(play.Give(Order::Of(Order::Kind::Shut)), 0);

    // A rain barrel never opens.
    auto* rain = new Barrel;
    rain->SetRainBarrel(1);
    play.CloseContainer();
    EXPECT_EQ(play.Give(Order::On(Order::Kind::Open, Lay(rain, At(38, 35)))), 1);
    EXPECT_EQ(play.Interacting().ShownContainer().Get(), nullptr);
}

TEST_F(PlayItems, PuttingThingsDown) {
    Player* k = PlaceMember(1, At(36, 35));
    GiveBody(*k);
    auto* dagger = new Dagger;
    k->AddToBag(dagger, 0);
    const Position there = At(36, 36, 40, 40);
    EXPECT_EQ(play.Give([&] {
        Order o = Order::At(Order::Kind::Drop, there);
        o.object = dagger;
        return o;
    }()),
              2)
        << "the dagger itself went to the map";
    EXPECT_FALSE(k->m_pBag->Contains(dagger));
    EXPECT_EQ(LyingAt(there), dagger);

    // Three of seven gold: the pack keeps four; all of it: the entry goes.
    Object* gold = belongings::Stack("Gold", 7);
    k->AddToBag(gold, 0);
    Order drop = Order::At(Order::Kind::Drop, At(36, 36, 60, 60));
    drop.object = gold;
    ask.quantities = {3, 4};
    EXPECT_EQ(play.Give(drop), 1);
    EXPECT_EQ(gold->m_iBulkNum, 4);
    EXPECT_TRUE(k->m_pBag->Contains(gold));
    qv::Handle<Object> emptied(gold);
    drop.point = At(36, 36, 100, 60);
    EXPECT_EQ(play.Give(drop), 3);
    EXPECT_FALSE(emptied) << "the emptied stack went with its entry";
    EXPECT_EQ(k->m_pBag->ItemCount(), 0);

    // A sword in hand comes off before it is put down.
    auto* sword = new Sword;
    k->EquipObject(sword);
    drop.object = sword;
    drop.point = At(37, 36);
    EXPECT_EQ(play.Give(drop), 2);
    EXPECT_EQ(k->m_pMeleeWeapon.Get(), nullptr);
    EXPECT_EQ(LyingAt(At(37, 36)), sword);
}

TEST_F(PlayItems, HandingThingsOver) {
    Player* k = PlaceMember(1, At(36, 35));
    Player* friendOf = PlaceMember(2, At(36, 36));
    auto* axe = new Axe;
    k->AddToBag(axe, 0);
    Order give = Carry(Order::Kind::Give, axe);
    give.target = friendOf->m_pHolder;
    EXPECT_EQ(play.Give(give), 1);
    EXPECT_TRUE(friendOf->m_pBag->Contains(axe));
    EXPECT_FALSE(k->m_pBag->Contains(axe));

    // Some of a stack; a full pack takes none.
    Object* gold = belongings::Stack("Gold", 6);
    k->AddToBag(gold, 0);
    give.object = gold;
    ask.quantities = {2};
    EXPECT_EQ(play.Give(give), 1);
    EXPECT_EQ(gold->m_iBulkNum, 4);
    ASSERT_NE(friendOf->m_pBag->FindStackable(gold), nullptr);
    EXPECT_EQ(friendOf->m_pBag->FindStackable(gold)->m_iBulkNum, 2);
    Fill(*friendOf->m_pBag);
    auto* mace = new Mace;
    k->AddToBag(mace, 0);
    give.object = mace;
    EXPECT_EQ(play.Give(give), 0);
    EXPECT_TRUE(k->m_pBag->Contains(mace));
}

TEST_F(PlayItems, TakingIntoUseTakesOffWhatStandsInItsPlace) {
    Player* k = PlaceMember(1, At(36, 35));
    GiveBody(*k);
    k->m_strSpecialName = "Brann";
    auto* helm = new Helm(1);
    auto* better = new Helm(5);
    k->AddToBag(helm, 0);
    k->AddToBag(better, 0);
    EXPECT_EQ(play.Give(Carry(Order::Kind::Equip, helm)), 1);
    EXPECT_EQ(k->m_WornList.size(), 1u);
    EXPECT_EQ(play.Give(Carry(Order::Kind::Equip, better)), 1);
    ASSERT_EQ(k->m_WornList.size(), 1u);
    EXPECT_EQ(k->m_WornList[0].Get(), better);
    EXPECT_TRUE(k->m_pBag->Contains(helm)) << "the old helm went into the pack";
    EXPECT_EQ(play.Give(Carry(Order::Kind::Equip, better)), 0) << "already worn";

    // Dog armour does not fit a person: refused, and the player is told why.
    auto* doggie = new Doggie(2);
    k->AddToBag(doggie, 0);
    EXPECT_EQ(play.Give(Carry(Order::Kind::Equip, doggie)), 0);
    EXPECT_TRUE(k->m_pBag->Contains(doggie));
    // A creature without hands cannot take a sword; the player is told.
    Player* rat = PlaceMember(2, At(36, 36));
    rat->m_strSpecialName = "Nibbles";
    auto* sword = new Sword;
    rat->AddToBag(sword, 0);
    Order equip = Carry(Order::Kind::Equip, sword);
    equip.actor = rat;
    EXPECT_EQ(play.Give(equip), 0);
    EXPECT_EQ(ask.told, (std::vector<std::string>{"Nibbles cannot use Sword."}));

    // Taken out of use, into the pack.
    EXPECT_EQ(play.Give(Carry(Order::Kind::Unequip, better)), 1);
    EXPECT_TRUE(k->m_WornList.empty());
    EXPECT_TRUE(k->m_pBag->Contains(better));
    EXPECT_EQ(play.Give(Carry(Order::Kind::Unequip, better)), 0) << "not in use";
}

TEST_F(PlayItems, AWeaponDisplacedIntoAFullPackLandsAtTheFeet) {
    Player* k = PlaceMember(1, At(36, 35));
    GiveBody(*k);
    auto* axe = new Axe;
    k->EquipObject(axe);
    auto* sword = new Sword;
    k->AddToBag(sword, 0);
    Fill(*k->m_pBag);
    EXPECT_EQ(play.Give(Carry(Order::Kind::Equip, sword)), 1);
    EXPECT_EQ(k->m_pMeleeWeapon.Get(), sword);
    EXPECT_EQ(LyingAt(k->m_pHolder->pos), axe) << "nothing is lost";
    EXPECT_FALSE(k->m_pBag->Contains(axe));
}

TEST_F(PlayItems, MovingThingsBetweenBags) {
    Player* k = PlaceMember(1, At(36, 35));
    auto* pouch = new CBag("Pouch");
    auto* ring = new Ring(1);
    k->AddToBag(pouch, 0);
    k->AddToBag(ring, 0);
    Order put = Carry(Order::Kind::PutIn, ring);
    put.into = pouch;
    EXPECT_EQ(play.Give(put), 1);
    EXPECT_EQ(pouch->Items().size(), 1u);
    EXPECT_EQ(k->m_pBag->ItemCount(), 1);
    EXPECT_TRUE(k->m_pBag->Contains(ring));

    // A bag never into itself, nor into someone else's bag.
    put.object = pouch;
    EXPECT_EQ(play.Give(put), 0);
    Player* other = PlaceMember(2, At(36, 36));
    put.object = ring;
    put.into = other->m_pBag.get();
    EXPECT_EQ(play.Give(put), 0);
    EXPECT_TRUE(pouch->Contains(ring));

    // No room in a full pouch: it stays where it was.
    Fill(*pouch);
    auto* stone = new Useable("Pebble");
    k->AddToBag(stone, 0);
    put.object = stone;
    put.into = pouch;
    EXPECT_EQ(play.Give(put), 0);
    EXPECT_EQ(stone->m_iSpare2 >= 0, true);
    EXPECT_TRUE(k->m_pBag->Contains(stone));
    EXPECT_FALSE(pouch->Contains(stone));
}

TEST_F(PlayItems, RestingInABed) {
    Player* k = PlaceMember(1, At(36, 35));
    k->SetPlayerNumber(-1);
    k->m_iAlertness = 200;
    ObjectHolder* bed = Lay(new Bed, At(37, 35));
    ask.quantities = {3};
    EXPECT_EQ(play.Give(Order::On(Order::Kind::Rest, bed)), 1);
    EXPECT_EQ(k->m_iAlertness, 500);
    EXPECT_EQ(ask.asked, (std::vector<std::string>{"quantity 10"}));
    // Cancelled, or no one of the party: nothing.
    ask.quantities = {0};
    EXPECT_EQ(play.Give(Order::On(Order::Kind::Rest, bed)), 0);
    EXPECT_EQ(k->m_iAlertness, 500);
    Order stranger = Order::On(Order::Kind::Rest, bed);
    auto* villager = new Player;
    party->AddMember(villager);
    stranger.actor = villager;
    EXPECT_EQ(play.Give(stranger), 0);
    // Arriving at the bed rests too, asking the same way.
    ask.quantities = {1};
    k->JoinPlayerSet(bed);
    EXPECT_EQ(play.InteractWith(k, 1), 1);
    EXPECT_EQ(k->m_iAlertness, 600);
}

// A sign is read where it stands, a book or a letter from the bag (a right
// click there): the book script's node that its general name names.
TEST_F(PlayItems, ASignIsReadWhereItStandsABookOrLetterFromTheBag) {
    enum Where { OnTheMap, InTheBag, Elsewhere };
    const struct {
        const char* rule;
        Object* thing;
        Where where;
        bool read, inBag;  // afterwards
    } rows[] = {
        {"a sign touched is read", new Sign, OnTheMap, true, false},
        {"a letter on the ground is taken, not read", new Letter, OnTheMap, false, true},
        {"a letter in the bag is read", new Letter, InTheBag, true, true},
        {"a book in the bag is read", new Book, InTheBag, true, true},
        {"a book the reader does not hold is not", new Book, Elsewhere, false, false},
        {"a coin is no book: it is taken into use", new Useable("Coin"), InTheBag, false, false},
    };
    Player* reader = PlaceMember(1, At(36, 35, 20, 50));
    std::vector<std::string> read;
    play.Talks().InstallBook([&](Object& text) { read.push_back(text.m_strGeneralName); });
    int cell = 36;  // each thing laid on a cell of its own
    for (const auto& r : rows) {
        SCOPED_TRACE(r.rule);
        read.clear();
        r.thing->m_strGeneralName = "SIGN";
        std::unique_ptr<Object> kept(r.where == Elsewhere ? r.thing : nullptr);
        if (r.where == OnTheMap) {  // reached: what the reader does about it
            reader->JoinPlayerSet(Lay(r.thing, At(cell++, 35, 80, 50)));
            play.InteractWith(reader, 1);
        } else {
            if (r.where == InTheBag) reader->AddToBag(r.thing, 0);
            Order equip = Order::Of(Order::Kind::Equip);
            equip.actor = reader;
            equip.object = r.thing;
            play.Give(equip);
        }
        EXPECT_EQ(read, r.read ? std::vector<std::string>{"SIGN"} : std::vector<std::string>{});
        EXPECT_EQ(reader->m_pBag->Contains(r.thing), r.inBag);
        if (r.inBag) reader->m_pBag->RemoveItem(r.thing, 1, nullptr);
    }
}

}  // namespace
