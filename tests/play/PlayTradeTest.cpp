// Trading on a World and a Play: Buy and Sell orders in, the gold and the
// things of the trader and the store out. A trade that cannot be made is
// told and leaves everything as it was.

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "PlayFixture.h"
#include "items/Bag.h"
#include "items/Money.h"
#include "items/Store.h"
#include "items/Useable.h"
#include "play/Order.h"
#include "support/Belongings.h"

namespace {

using play_test::At;

constexpr int32_t kStoreId = 3;

struct Row {
    const char* rule;
    int32_t gold;       // the trader's coins
    char carried;       // 'k' a knife worth 8, 'q' 4 arrows worth 2, 'r' a rag worth 1, 0 none
    bool full;          // the pack filled to its last place after that
    int32_t storeGold;  // -1 leaves the store's 20
    Order::Kind kind;
    char thing;  // 's' the store's stick, 'a' its arrows, 'c' the carried thing, 0 none
    int answer;
    const char* told;            // what the player is told, "" nothing
    const char* after;           // the state after; "" the state before
    int32_t storeId = kStoreId;  // the store the order names
};

// A trader beside a stall that sells a stick worth 10 and three arrows worth
// 2, at its full price, and buys at half.
class Trade : public play_test::PlayFixture {
public:  // the rows of a table reach it
    Trade() {
        trader = PlaceMember(0, At(20, 20));
        auto s = std::make_unique<Store>("Stall");
        s->m_iStoreId = kStoreId;
        s->m_iSellPercent = 100;
        s->m_iBuyPercent = 50;
        s->m_iGold = 20;
        store = s.get();
        store->AddItem(std::unique_ptr<Object>(stick = Thing("Stick", 10)));
        store->AddItem(std::unique_ptr<Object>(arrows = Thing("Arrow", 2, 3)));
        play.Trade().AddStore(std::move(s));
    }
    void TestBody() override {}

    static Object* Thing(const std::string& name, int32_t value, int32_t stack = 0) {
        Object* t = stack ? belongings::Stack(name, stack) : new Useable(name);
        t->m_iValue = value;
        return t;
    }
    void GiveGold(int32_t coins) {
        auto* gold = new Money;
        gold->m_iBulkNum = coins;
        trader->AddToBag(gold, 0);
    }
    int Order(Order::Kind kind, Object* thing, int32_t id = kStoreId) {
        ::Order o = ::Order::With(kind, id);
        o.actor = trader;
        o.object = thing;
        return play.Give(o);
    }
    // Everything a trade may change, as one line.
    std::string State() const {
        std::ostringstream out;
        out << "gold " << Play::GoldOf(trader) << " pack";
        std::vector<Object*> things;
        trader->m_pBag->CollectItems(things);
        for (Object* o : things)
            if (o->Type() != MONEY) out << " " << o->m_strSpecialName << "x" << o->m_iBulkNum;
        out << " | store gold " << store->m_iGold << " stock";
        for (const auto& o : store->Items())
            out << " " << o->m_strSpecialName << "x" << o->m_iBulkNum;
        return out.str();
    }
    void Run(const Row& row) {
        if (row.gold) GiveGold(row.gold);
        Object* carried = row.carried == 'k'   ? Thing("Knife", 8)
                          : row.carried == 'q' ? Thing("Arrow", 2, 4)
                          : row.carried == 'r' ? Thing("Rag", 1)
                                               : nullptr;
        if (carried) trader->AddToBag(carried, 0);
        // The pack filled to its last place with pebbles.
        for (int i = trader->m_pBag->ItemCount(); row.full && i < CBag::kCapacity; ++i)
            trader->AddToBag(Thing("Pebble " + std::to_string(i), 1), 0);
        if (row.storeGold >= 0) store->m_iGold = row.storeGold;
        Object* thing = row.thing == 's' ? stick : row.thing == 'a' ? arrows : nullptr;
        const std::string before = State();
        EXPECT_EQ(Order(row.kind, row.thing == 'c' ? carried : thing, row.storeId), row.answer);
        EXPECT_EQ(State(), *row.after ? std::string(row.after) : before);
        EXPECT_EQ(ask.told,
                  *row.told ? std::vector<std::string>{row.told} : std::vector<std::string>{});
    }

    Player* trader = nullptr;
    Store* store = nullptr;
    Object *stick = nullptr, *arrows = nullptr;
};

void RunRows(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        Trade().Run(row);
    }
}

constexpr Order::Kind kBuy = Order::Kind::Buy, kSell = Order::Kind::Sell;

TEST(TradeRules, APurchaseMovesThePriceToTheStoreAndTheThingToThePack) {
    RunRows({
        {"the price in gold, with coins to spare", 30, 0, false, -1, kBuy, 's', 1, "",
         "gold 20 pack Stickx1 | store gold 30 stock Arrowx3"},
        {"the price exactly", 10, 0, false, -1, kBuy, 's', 1, "",
         "gold 0 pack Stickx1 | store gold 30 stock Arrowx3"},
        {"one coin short", 9, 0, false, -1, kBuy, 's', 0, "You do not have enough gold.", ""},
        {"no gold at all", 0, 0, false, -1, kBuy, 's', 0, "You do not have enough gold.", ""},
        {"one of a stack", 5, 0, false, -1, kBuy, 'a', 1, "",
         "gold 3 pack Arrowx1 | store gold 22 stock Stickx1 Arrowx2"},
        {"a full pack", 30, 0, true, -1, kBuy, 's', 0, "You cannot carry any more.", ""},
        {"a thing the store does not have", 30, 0, false, -1, kBuy, 0, 0, "", ""},
        {"no store of the number the order names", 30, 0, false, -1, kBuy, 's', 0, "", "",
         kStoreId + 1},
    });
}

TEST(TradeRules, ASaleMovesTheThingToTheStoreAndTheOfferToThePurse) {
    RunRows({
        {"half its value, into an empty purse", 0, 'k', false, -1, kSell, 'c', 1, "",
         "gold 4 pack | store gold 16 stock Stickx1 Arrowx3 Knifex1"},
        {"the store's purse just enough", 0, 'k', false, 4, kSell, 'c', 1, "",
         "gold 4 pack | store gold 0 stock Stickx1 Arrowx3 Knifex1"},
        {"the store's purse one coin short", 0, 'k', false, 3, kSell, 'c', 0,
         "The store cannot pay for that.", ""},
        {"one of a stack joins the store's stack", 0, 'q', false, -1, kSell, 'c', 1, "",
         "gold 1 pack Arrowx3 | store gold 19 stock Stickx1 Arrowx4"},
        {"one of a stack, the pack full and no coins in it", 0, 'q', true, -1, kSell, 'c', 0,
         "You cannot carry any more.", ""},
        {"a whole thing from a full pack makes room for its coins", 0, 'k', true, -1, kSell, 'c', 1,
         "",
         "gold 4 pack Pebble 1x1 Pebble 2x1 Pebble 3x1 Pebble 4x1 Pebble 5x1 Pebble 6x1 Pebble "
         "7x1 Pebble 8x1 Pebble 9x1 | store gold 16 stock Stickx1 Arrowx3 Knifex1"},
        {"a thing worth nothing to the store", 0, 'r', false, -1, kSell, 'c', 0,
         "The store does not want that.", ""},
        {"a thing the trader does not carry", 0, 0, false, -1, kSell, 's', 0, "", ""},
    });
}

// Coins in the pack and in bags inside it, each bag inside the last.
TEST(TradeRules, ATradersGoldIsEveryCoinHeldToThe32BitFigures) {
    const struct {
        const char* rule;
        std::vector<int32_t> stacks;
        int32_t gold;
    } rows[] = {{"every coin", {5, 7, 9}, 21},
                {"exactly the greatest figure", {INT32_MAX - 2, 1, 1}, INT32_MAX},
                {"one past it: the greatest", {INT32_MAX, 1, 0}, INT32_MAX},
                {"six thousand million", {2000000000, 2000000000, 2000000000}, INT32_MAX}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.rule);
        Trade t;
        CBag* into = t.trader->m_pBag.get();
        for (int32_t coins : r.stacks) {
            auto* gold = new Money;
            gold->m_iBulkNum = coins;
            auto* bag = new CBag;
            belongings::Hold(belongings::Hold(into, gold), bag);
            into = bag;
        }
        EXPECT_EQ(Play::GoldOf(t.trader), r.gold);
    }
}

// The stock holds no more entries than a store's record may: a world
// written with more would not read again.
TEST(TradeRules, AStoreWhoseStockIsFullBuysNothingMore) {
    for (auto [rule, entries, sold] :
         {std::tuple{"one place left", Store::kMaxItems - 1, 1}, {"full", Store::kMaxItems, 0}}) {
        SCOPED_TRACE(rule);
        Trade t;
        for (int i = 2; i < entries; ++i)
            t.store->AddItem(
                std::unique_ptr<Object>(Trade::Thing("Pebble " + std::to_string(i), 1)));
        Object* knife = Trade::Thing("Knife", 8);
        t.trader->AddToBag(knife, 0);
        EXPECT_EQ(t.Order(Order::Kind::Sell, knife), sold);
        EXPECT_EQ(t.store->Items().size(), static_cast<size_t>(entries + sold));
    }
}

TEST_F(Trade, BoughtAndSoldBackTheTraderEndsPoorerNeverRicher) {
    GiveGold(10);
    ASSERT_EQ(Order(Order::Kind::Buy, stick), 1);
    ASSERT_EQ(Order(Order::Kind::Sell, stick), 1);
    EXPECT_EQ(Play::GoldOf(trader), 5) << "paid 10, paid back 5";
    EXPECT_EQ(store->m_iGold, 25);
}

}  // namespace
