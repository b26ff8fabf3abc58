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

TEST(StoreRecord, NumbersOutsideTheirBoundsAreRefused) {
    struct Row {
        const char* rule;
        Numbers n;
        int32_t stickValue;
        bool read;
    };
    const Row rows[] = {
        {"the numbers of the stall", {}, 12, true},
        {"store number 0", {0, 120, 40, 250}, 12, true},
        {"a negative store number", {-1, 120, 40, 250}, 12, false},
        {"asking 1 percent", {7, 1, 0, 250}, 12, true},
        {"asking nothing", {7, 0, 0, 250}, 12, false},
        {"asking the most", {7, Store::kMaxPercent, 40, 250}, 12, true},
        {"asking above the most", {7, Store::kMaxPercent + 1, 40, 250}, 12, false},
        {"paying nothing", {7, 120, 0, 250}, 12, true},
        {"paying less than nothing", {7, 120, -1, 250}, 12, false},
        {"paying what it asks", {7, 120, 120, 250}, 12, true},
        {"paying more than it asks", {7, 120, 121, 250}, 12, false},
        {"an empty purse", {7, 120, 40, 0}, 12, true},
        {"a purse in debt", {7, 120, 40, -1}, 12, false},
        {"the fullest purse", {7, 120, 40, Store::kMaxGold}, 12, true},
        {"a purse above the fullest", {7, 120, 40, Store::kMaxGold + 1}, 12, false},
        {"a thing of no value", {}, 0, true},
        {"a thing of negative value", {}, -1, false},
        {"a thing of the highest value", {}, Store::kMaxItemValue, true},
        {"a thing above the highest value", {}, Store::kMaxItemValue + 1, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        const std::string refusal = Refusal(HandWrittenStall(row.n, row.stickValue));
        EXPECT_EQ(refusal.empty(), row.read) << refusal;
        if (!row.read) {
            EXPECT_NE(refusal.find("stall.qvr"), std::string::npos) << refusal;
        }
    }
}

TEST(StoreRecord, AStockOfGoldACreatureAGroupOrTooManyEntriesIsRefused) {
    struct Row {
        const char* rule;
        std::function<Object*()> make;
        int count;
        bool read;
    };
    const auto stick = [] { return new Useable("Stick"); };
    const auto gold = [] {
        auto* coins = new Money;
        coins->m_iBulkNum = 5;
        return coins;
    };
    const Row rows[] = {
        {"a stick", stick, 1, true},
        {"as many sticks as a store keeps", stick, Store::kMaxItems, true},
        {"more sticks than a store keeps", stick, Store::kMaxItems + 1, false},
        {"gold for sale", gold, 1, false},
        {"a creature for sale", [] { return new Player; }, 1, false},
        {"a group for sale", [] { return new Group; }, 1, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        // Written as the game would write such a store, had it one.
        Store store("Stall");
        for (int i = 0; i < row.count; ++i) store.AddItem(std::unique_ptr<Object>(row.make()));
        const std::string refusal = Refusal(StoreObject(store));
        EXPECT_EQ(refusal.empty(), row.read) << refusal;
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
