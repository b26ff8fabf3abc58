#pragma once
// A store: what a shop keeper has for sale, the gold it pays with and the
// prices it keeps. The world keeps every store (Play::m_StoreList) and writes
// them in the world file; a conversation opens the trading window of a store
// by its number (m_iStoreId).
//
// A store asks m_iSellPercent of an item's value for one of it and pays
// m_iBuyPercent for one; it never pays more than it asks, so nothing can be
// bought and sold back at a profit. What it buys joins its stock; the gold
// it pays comes out of m_iGold, and it buys nothing it cannot pay for.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "world/Object.h"

class Store : public Object {
    QV_DECLARE_CLASS(Store)
public:
    // The bounds a stored record is held to.
    static constexpr int32_t kMaxItems = 100;          // entries of the stock
    static constexpr int32_t kMaxPercent = 1000;       // a price of ten times the value
    static constexpr int32_t kMaxGold = 1000000000;    // the store's purse
    static constexpr int32_t kMaxItemValue = 1000000;  // the value of one of an item
    static constexpr int32_t kMaxStack = 1000000;      // one entry's count

    explicit Store(const std::string& name = "Store");
    ~Store() override;
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    // The object part, then the number, the two percentages and the gold
    // (four 32-bit integers) and the stock as an object list. A record whose
    // numbers lie outside their bounds, whose buying price is above its
    // selling price, or whose stock holds money, a creature, a group or an
    // item of a value or count outside the bounds is refused.
    void Serialize(qv::Archive& ar) override;

    // What the store asks for one of `item`: its value times the selling
    // percentage, rounded down, never below 1.
    int32_t PriceOf(const Object& item) const;
    // What the store pays for one of `item`: its value times the buying
    // percentage, rounded down (0: the store does not want it).
    int32_t OfferFor(const Object& item) const;

    const std::vector<std::unique_ptr<Object>>& Items() const { return m_Stock; }
    bool Contains(const Object* item) const;
    // Puts an item into the stock, the store taking it over: into a stack
    // of its kind (the item is deleted) when it stacks and there is one.
    void AddItem(std::unique_ptr<Object> item);
    // One of an entry of the stock, taken out: a copy of one of a stack
    // (the stack keeps the rest), or the entry itself. Null when the entry
    // is not in the stock.
    std::unique_ptr<Object> TakeOne(Object* item);
    // Puts a taken entry back where it was (into its stack, or at the end).
    void PutBack(std::unique_ptr<Object> item) { AddItem(std::move(item)); }

    int32_t m_iStoreId = 0;
    int32_t m_iSellPercent = 100;
    int32_t m_iBuyPercent = 50;
    int32_t m_iGold = 0;

private:
    std::vector<std::unique_ptr<Object>> m_Stock;
};
