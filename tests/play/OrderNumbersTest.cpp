// An order kept in a recording names its things by numbers: each kind of
// thing an order is about is named by numbers that find it again, and an
// order whose numbers name nothing the world holds does nothing.

#include <memory>

#include "PlayFixture.h"
#include "items/Bag.h"
#include "items/Container.h"
#include "items/Useable.h"
#include "play/OrderNumbers.h"
#include "world/World.h"

using namespace play_test;

namespace {

using By = OrderName::By;

TEST_F(PlayFixture, EachThingAnOrderIsAboutIsNamedByNumbersThatFindItAgain) {
    Player* hero = PlaceMember(0, At(15, 15));
    hero->SetPlayerNumber(-1);
    const int32_t number = hero->m_iPlayerNumber;
    auto* pouch = new CBag("Pouch");
    auto* pebble = new Useable("Pebble");
    hero->AddToBag(new Useable("Stick"), 0);
    hero->AddToBag(pouch, 0);
    pouch->AddItem(pebble);
    hero->m_InUseList.push_back(std::make_unique<Useable>("Torch"));
    // Two things at one point, and a chest, open, with a coin in it.
    const Position spot = At(16, 15);
    Lay(new Useable("Rope"), spot);
    ObjectHolder* second = Lay(new Useable("Lamp"), spot);
    auto* chest = new Chest;
    ObjectHolder* chestAt = Lay(chest, At(17, 16));
    auto* coin = new Useable("Coin");
    chest->GetBag()->AddItem(coin);
    play.Interacting().ShowContainer(chest);

    const auto placed = [](const Position& p, int32_t nth, int32_t inBag = 0) {
        return std::array<int32_t, 5>{p.x, p.y, p.z, nth, inBag};
    };
    struct Row {
        const char* what;
        Object* thing;
        By by;
        std::array<int32_t, 5> n;
        Object* shown = nullptr;  // what the container window shows, when not the chest
    };
    const Row rows[] = {
        {"a creature", hero, By::Creature, {number, 0, 0, 0, 0}},
        {"the second thing at a point", second->m_pObject, By::Placed, placed(spot, 1)},
        {"a thing in the bag", pouch, By::Carried, {number, OrderName::kBag, 1, -1, 0}},
        {"a thing in a bag in the bag", pebble, By::Carried, {number, OrderName::kBag, 1, 0, 0}},
        {"the bag itself", hero->m_pBag.get(), By::Carried, {number, OrderName::kBag, -1, -1, 0}},
        {"a thing in use",
         hero->m_InUseList[0].get(),
         By::Carried,
         {number, OrderName::kInUse, 0, -1, 0}},
        {"a thing in the open container", coin, By::Stored, placed(chestAt->pos, 0, 0)},
        {"the open container's bag", chest->GetBag(), By::Stored, placed(chestAt->pos, 0, -1)},
        {"a thing in the open container, its bag shown as opening it shows it", coin, By::Stored,
         placed(chestAt->pos, 0, 0), chest->GetBag()},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        play.Interacting().ShowContainer(r.shown ? r.shown : chest);
        Order order = Order::Of(Order::Kind::Equip);
        order.object = r.thing;
        order.target = second;
        Order numbered = NumberedOrder(play, order);
        EXPECT_EQ(numbered.object.name, (OrderName{r.by, r.n}));
        EXPECT_EQ(numbered.target.name, (OrderName{By::Placed, placed(spot, 1)}));
        EXPECT_EQ(std::tuple(numbered.object.Get(), numbered.target.Get()),
                  std::tuple(nullptr, nullptr));
        ASSERT_TRUE(FindNumberedThings(play, numbered));
        EXPECT_EQ(std::tuple(numbered.object.Get(), numbered.target.Get()),
                  std::tuple(r.thing, second));
    }
}

TEST_F(PlayFixture, AnOrderWhoseNumbersNameNothingDoesNothing) {
    Player* hero = PlaceMember(0, At(15, 15));
    hero->SetPlayerNumber(-1);
    hero->AddToBag(new Useable("Stick"), 0);
    struct Row {
        const char* what;
        OrderName name;
    };
    const int32_t number = hero->m_iPlayerNumber;
    const Row rows[] = {
        {"a creature number beyond the creatures", {By::Creature, {number + 1, 0, 0, 0, 0}}},
        {"a place beyond the bag's things", {By::Carried, {number, OrderName::kBag, 1, -1, 0}}},
        {"a bag inside a thing that is none", {By::Carried, {number, OrderName::kBag, 0, 0, 0}}},
        {"a point where nothing stands", {By::Placed, {At(16, 15).x, At(16, 15).y, 0, 0, 0}}},
        {"a store there is not", {By::Entry, {7, 0, 0, 0, 0}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Order drop = Order::At(Order::Kind::Drop, At(15, 16));
        drop.object.name = r.name;
        EXPECT_EQ(play.Give(drop), 0);
        EXPECT_EQ(hero->m_pBag->ItemCount(), 1);
    }
}

}  // namespace
