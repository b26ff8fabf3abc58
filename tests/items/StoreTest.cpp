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

using record_test::Bytes;
using record_test::PutInts;
using record_test::PutNewClass;
using record_test::PutObjectDefaults;
using record_test::PutWord;
using record_test::StoreObject;

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
    record_test::PutString(b, "Stick");
    record_test::PutString(b, "Stick");
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

    qv::Archive in(expected, "stall.qvr");
    std::unique_ptr<Store> back(in.ReadObjectOf<Store>());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_EQ(StoreObject(*back), expected) << "read and written again, the same bytes";
    ASSERT_EQ(back->Items().size(), 1u);
    EXPECT_EQ(back->PriceOf(*back->Items()[0]), 14) << "12 at 120 percent, rounded down";
    EXPECT_EQ(back->OfferFor(*back->Items()[0]), 4) << "12 at 40 percent, rounded down";
}

TEST(StoreRecord, EveryTruncationIsRefusedNamingTheFile) {
    const Bytes whole = HandWrittenStall();
    for (size_t size = 0; size < whole.size(); ++size) {
        SCOPED_TRACE("the first " + std::to_string(size) + " bytes");
        const std::string refusal = Refusal(Bytes(whole.begin(), whole.begin() + size));
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
    // Written as the game would write such a store, had it one.
    auto stockOf = [](const std::function<Object*()>& make, int count) {
        Store store("Stall");
        for (int i = 0; i < count; ++i) store.AddItem(std::unique_ptr<Object>(make()));
        return StoreObject(store);
    };
    struct Row {
        const char* rule;
        std::function<Object*()> make;
        int count;
        bool read;
    };
    const Row rows[] = {
        {"a stick", [] { return new Useable("Stick"); }, 1, true},
        {"as many sticks as a store keeps", [] { return new Useable("Stick"); }, Store::kMaxItems,
         true},
        {"more sticks than a store keeps", [] { return new Useable("Stick"); },
         Store::kMaxItems + 1, false},
        {"gold for sale",
         [] {
             auto* gold = new Money;
             gold->m_iBulkNum = 5;
             return gold;
         },
         1, false},
        {"a creature for sale", [] { return new Player; }, 1, false},
        {"a group for sale", [] { return new Group; }, 1, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        const std::string refusal = Refusal(stockOf(row.make, row.count));
        EXPECT_EQ(refusal.empty(), row.read) << refusal;
    }
}

TEST(StoreStock, SellsOneOfAStackAndStacksWhatItBuys) {
    Store store;
    auto arrows = std::make_unique<Useable>("Arrow");
    arrows->m_bStackable = 1;
    arrows->m_iBulkNum = 3;
    Object* stack = arrows.get();
    store.AddItem(std::move(arrows));
    struct Row {
        const char* rule;
        int took;  // 1 takes one, 0 puts one back
        int32_t left;
        size_t entries;
    };
    const Row rows[] = {
        {"one of three", 1, 2, 1},
        {"one of two", 1, 1, 1},
        {"one back joins the stack", 0, 2, 1},
    };
    std::vector<std::unique_ptr<Object>> taken;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        if (row.took) {
            taken.push_back(store.TakeOne(stack));
            ASSERT_NE(taken.back(), nullptr);
            EXPECT_EQ(taken.back()->m_iBulkNum, 1);
        } else {
            store.PutBack(std::move(taken.back()));
            taken.pop_back();
        }
        EXPECT_EQ(stack->m_iBulkNum, row.left);
        EXPECT_EQ(store.Items().size(), row.entries);
    }
    // The last of a stack is the entry itself.
    stack->m_iBulkNum = 1;
    std::unique_ptr<Object> last = store.TakeOne(stack);
    EXPECT_EQ(last.get(), stack);
    EXPECT_TRUE(store.Items().empty());
    EXPECT_EQ(store.TakeOne(stack), nullptr) << "no longer in the stock";
}

TEST(StoreStock, PricesRoundDownAndNeverFallBelowOneToBuy) {
    Store store;
    store.m_iSellPercent = 150;
    store.m_iBuyPercent = 50;
    struct Row {
        int32_t value, price, offer;
    };
    const Row rows[] = {{0, 1, 0}, {1, 1, 0}, {2, 3, 1}, {3, 4, 1}, {10, 15, 5}};
    for (const Row& row : rows) {
        SCOPED_TRACE("value " + std::to_string(row.value));
        Useable thing("Thing");
        thing.m_iValue = row.value;
        EXPECT_EQ(store.PriceOf(thing), row.price);
        EXPECT_EQ(store.OfferFor(thing), row.offer);
    }
}

}  // namespace
