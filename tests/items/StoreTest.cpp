// A store's record: its bytes laid out by hand, every truncation and every
// bad number refused, and the stock's rules (one of a stack at a time, the
// prices).

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "creatures/Player.h"
#include "items/Money.h"
#include "items/Store.h"
#include "items/Useable.h"
#include "platform/Archive.h"
#include "support/Belongings.h"
#include "support/HandWrittenRecord.h"
#include "world/Group.h"

namespace {

using namespace record_test;

// The numbers of a store record after its object part: id, selling and
// buying percentages, gold.
struct Numbers {
    int32_t id = 7, sell = 120, buy = 40, gold = 250;
};

// A store "Stall" of those numbers selling one stick of value 12, laid out
// as the archive writes it: the store's class (index 1) and the store
// (2), the Object class (3), the count, the stick's class (4) and the
// stick (5), its Object part naming class 3 by its index.
Bytes HandWrittenStall(const Numbers& n = {}, int32_t stickValue = 12) {
    Bytes b;
    PutNewClass(b, "Store", 1);
    PutNewClass(b, "Object", 11);
    PutObjectDefaults(b, "Stall");
    PutInts(b, {n.id, n.sell, n.buy, n.gold});
    PutWord(b, 1);
    PutNewClass(b, "Useable", 1);
    PutWord(b, 0x8003);
    PutInts(b, {0, 0, 1, stickValue});
    PutString(b, "Stick");
    PutString(b, "Stick");
    PutInts(b, {-1, 0, 1, 1, 0, 1, -1, -1});
    return b;
}

// The text of the refusal of bytes read as a store; empty when read.
std::string Refusal(const Bytes& bytes) {
    qv::Archive in(bytes, "stall.qvr");
    try {
        delete in.ReadObjectOf<Store>();
    } catch (const qv::ArchiveError& e) {
        return std::string(e.what()) + " [" + e.file + "]";
    }
    return {};
}

// Read back, it is stored again unchanged; cut short anywhere, it is refused
// naming its file.
TEST(StoreRecord, IsLaidOutAsItsObjectPartNumbersAndStock) {
    Store store("Stall");
    store.m_iStoreId = 7;
    store.m_iSellPercent = 120;
    store.m_iBuyPercent = 40;
    store.m_iGold = 250;
    auto stick = std::make_unique<Useable>("Stick");
    stick->m_iValue = 12;
    store.AddItem(std::move(stick));
    const Bytes expected = HandWrittenStall();
    EXPECT_EQ(StoreObject(store), expected);
    std::unique_ptr<Store> back = LoadObject<Store>(expected);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(StoreObject(*back), expected);
    for (size_t size = 0; size < expected.size(); ++size) {
        SCOPED_TRACE("the first " + std::to_string(size) + " bytes");
        const std::string refusal = Refusal(Bytes(expected.begin(), expected.begin() + size));
        EXPECT_NE(refusal.find("stall.qvr"), std::string::npos) << refusal;
    }
}

// A record with a number outside its bounds, or a stock of gold, a creature,
// a group or too many entries (written as the game would write such a store,
// had it one) is refused naming its file.
TEST(StoreRecord, NumbersOutsideTheirBoundsAndStrangeStockAreRefused) {
    auto stock = [](const std::function<Object*()>& make, int count) {
        Store store("Stall");
        for (int i = 0; i < count; ++i) store.AddItem(std::unique_ptr<Object>(make()));
        return StoreObject(store);
    };
    const auto stick = [] { return new Useable("Stick"); };
    const auto gold = [] {
        auto* coins = new Money;
        coins->m_iBulkNum = 5;
        return coins;
    };
    const auto bagged = [gold] { return belongings::Hold(new CBag, gold()); };
    struct Row {
        const char* rule;
        Bytes record;
        bool read;
    };
    // clang-format off
    const Row rows[] = {
        {"the numbers of the stall", HandWrittenStall(), true},
        {"store number 0", HandWrittenStall({0, 120, 40, 250}), true},
        {"a negative store number", HandWrittenStall({-1, 120, 40, 250}), false},
        {"asking 1 percent", HandWrittenStall({7, 1, 0, 250}), true},
        {"asking nothing", HandWrittenStall({7, 0, 0, 250}), false},
        {"asking the most", HandWrittenStall({7, Store::kMaxPercent, 40, 250}), true},
        {"asking above the most", HandWrittenStall({7, Store::kMaxPercent + 1, 40, 250}), false},
        {"paying nothing", HandWrittenStall({7, 120, 0, 250}), true},
        {"paying less than nothing", HandWrittenStall({7, 120, -1, 250}), false},
        {"paying what it asks", HandWrittenStall({7, 120, 120, 250}), true},
        {"paying more than it asks", HandWrittenStall({7, 120, 121, 250}), false},
        {"an empty purse", HandWrittenStall({7, 120, 40, 0}), true},
        {"a purse in debt", HandWrittenStall({7, 120, 40, -1}), false},
        {"the fullest purse", HandWrittenStall({7, 120, 40, Store::kMaxGold}), true},
        {"a purse above the fullest", HandWrittenStall({7, 120, 40, Store::kMaxGold + 1}), false},
        {"a thing of no value", HandWrittenStall({}, 0), true},
        {"a thing of negative value", HandWrittenStall({}, -1), false},
        {"a thing of the highest value", HandWrittenStall({}, Store::kMaxItemValue), true},
        {"a thing above the highest value", HandWrittenStall({}, Store::kMaxItemValue + 1), false},
        {"as many sticks as a store keeps", stock(stick, Store::kMaxItems), true},
        {"more sticks than a store keeps", stock(stick, Store::kMaxItems + 1), false},
        {"gold for sale", stock(gold, 1), false},
        {"gold in a bag for sale", stock(bagged, 1), false},
        {"gold two bags deep for sale", stock([=] { return belongings::Hold(new CBag, bagged()); }, 1), false},
        {"an empty bag for sale", stock([] { return new CBag; }, 1), true},
        {"a thing above the highest value in a bag", stock([] {
            auto* dear = new Useable("Stick");
            dear->m_iValue = Store::kMaxItemValue + 1;
            return belongings::Hold(new CBag, dear); }, 1), false},
        {"a creature for sale", stock([] { return new Player; }, 1), false},
        {"a group for sale", stock([] { return new Group; }, 1), false},
    };
    // clang-format on
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        const std::string refusal = Refusal(row.record);
        EXPECT_EQ(refusal.empty(), row.read) << refusal;
        if (!row.read) {
            EXPECT_NE(refusal.find("stall.qvr"), std::string::npos) << refusal;
        }
    }
}

// A stack sells one at a time, the last being the entry itself; one put
// back joins its stack.
TEST(StoreStock, SellsOneOfAStackAndStacksWhatItBuys) {
    Store store;
    auto arrows = std::make_unique<Useable>("Arrow");
    arrows->m_bStackable = 1;
    arrows->m_iBulkNum = 3;
    Object* stack = arrows.get();
    store.AddItem(std::move(arrows));
    std::unique_ptr<Object> one = store.TakeOne(stack);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(one->m_iBulkNum, 1);
    EXPECT_EQ(stack->m_iBulkNum, 2);
    store.PutBack(std::move(one));
    EXPECT_EQ(stack->m_iBulkNum, 3);
    EXPECT_EQ(store.Items().size(), 1u);
    stack->m_iBulkNum = 1;
    EXPECT_EQ(store.TakeOne(stack).get(), stack);
    EXPECT_TRUE(store.Items().empty());
    EXPECT_EQ(store.TakeOne(stack), nullptr) << "no longer in the stock";
}

TEST(StoreStock, PricesRoundDownAndNeverFallBelowOneToBuy) {
    struct Row {
        int32_t sell, buy, value, price, offer;
    };
    const Row rows[] = {{150, 50, 0, 1, 0}, {150, 50, 1, 1, 0},   {150, 50, 2, 3, 1},
                        {150, 50, 3, 4, 1}, {150, 50, 10, 15, 5}, {120, 40, 12, 14, 4}};
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.value) + " at " + std::to_string(row.sell) + "/" +
                     std::to_string(row.buy) + " per cent");
        Store store;
        store.m_iSellPercent = row.sell;
        store.m_iBuyPercent = row.buy;
        Useable thing("Thing");
        thing.m_iValue = row.value;
        EXPECT_EQ(store.PriceOf(thing), row.price);
        EXPECT_EQ(store.OfferFor(thing), row.offer);
    }
}

}  // namespace
