// Trading with a store: one of a thing at a time, for gold both ways. The
// gold is the coins a creature carries in its bag; a store pays out of its
// own purse. A trade that cannot be made is told and changes nothing.

#include <algorithm>
#include <memory>
#include <vector>

#include "creatures/Player.h"
#include "items/Bag.h"
#include "items/Money.h"
#include "items/Store.h"
#include "platform/Saturate.h"
#include "play/Play.h"

namespace {

const char* const kTooLittleGold = "You do not have enough gold.";
const char* const kNoRoom = "You cannot carry any more.";
const char* const kStoreCannotPay = "The store cannot pay for that.";
const char* const kStoreDoesNotWant = "The store does not want that.";
const char* const kStoreIsFull = "The store has no room for that.";

std::vector<Object*> Coins(const Player* creature) {
    std::vector<Object*> coins, all;
    if (creature && creature->m_pBag) creature->m_pBag->CollectItems(all);
    for (Object* o : all)
        if (o && o->Type() == MONEY) coins.push_back(o);
    return coins;
}

// Takes `amount` coins out of the creature's bag, from its first stacks on;
// the caller has counted that there are so many.
void Pay(Player* creature, int64_t amount) {
    for (Object* stack : Coins(creature)) {
        if (amount <= 0) break;
        const int64_t take = std::min<int64_t>(amount, stack->m_iBulkNum);
        if (take <= 0) continue;
        creature->RemoveFromBag(stack, static_cast<int>(take));
        amount -= take;
    }
}

}  // namespace

int64_t Play::GoldOf(const Player* creature) {
    int64_t gold = 0;
    for (const Object* stack : Coins(creature)) gold += std::max(0, stack->m_iBulkNum);
    // Stacks in bags inside bags may come to more than a purse's 32-bit figure.
    return qv::ClampToInt32(gold);
}

int Play::Buy(Player* buyer, Store* store, Object* item) {
    if (!buyer || !buyer->m_pBag || !store || !store->Contains(item)) return 0;
    const int32_t price = store->PriceOf(*item);
    if (GoldOf(buyer) < price) {
        Ask().Tell(kTooLittleGold);
        return 0;
    }
    if (!buyer->m_pBag->CanHold(item)) {
        Ask().Tell(kNoRoom);
        return 0;
    }
    std::unique_ptr<Object> bought = store->TakeOne(item);
    if (!bought) return 0;
    Pay(buyer, price);
    store->m_iGold =
        static_cast<int32_t>(std::min<int64_t>(int64_t{store->m_iGold} + price, Store::kMaxGold));
    // The coins paid may have freed a place; the bag had room for it before.
    Object* thing = bought.release();
    if (!AddToBag(buyer, thing)) buyer->AddToBag(thing, 0);
    buyer->RecomputeLoad();
    return 1;
}

int Play::Sell(Player* seller, Store* store, Object* item) {
    if (!seller || !seller->m_pBag || !store || !item || !seller->m_pBag->Contains(item)) return 0;
    if (item->Type() == MONEY || item->Type() == BAG || Player::IsNaturalItem(item)) {
        Ask().Tell(kStoreDoesNotWant);
        return 0;
    }
    // A stock of more entries than a store's record holds would leave the
    // world unreadable.
    if (store->Items().size() >= static_cast<size_t>(Store::kMaxItems)) {
        Ask().Tell(kStoreIsFull);
        return 0;
    }
    const int32_t offer = store->OfferFor(*item);
    if (offer <= 0) {
        Ask().Tell(kStoreDoesNotWant);
        return 0;
    }
    if (store->m_iGold < offer) {
        Ask().Tell(kStoreCannotPay);
        return 0;
    }
    auto coins = std::make_unique<Money>();
    coins->m_iBulkNum = offer;
    const bool partOfStack = item->m_bStackable && item->m_iBulkNum > 1;
    // One of a stack leaves its entry in the bag: the coins need a place of
    // their own unless they join coins there. A whole entry makes room.
    if (partOfStack && !seller->m_pBag->CanHold(coins.get())) {
        Ask().Tell(kNoRoom);
        return 0;
    }
    std::unique_ptr<Object> sold;
    if (partOfStack) {
        sold.reset(item->Clone());
        if (!sold) return 0;
        sold->m_iBulkNum = 1;
        seller->RemoveFromBag(item, 1);
    } else {
        sold = seller->RemoveFromBag(item, std::max(1, item->m_iBulkNum));
        if (!sold) return 0;
        sold->m_iBulkNum = 1;
    }
    store->m_iGold -= offer;
    store->AddItem(std::move(sold));
    Object* paid = coins.release();
    if (!AddToBag(seller, paid)) seller->AddToBag(paid, 0);
    seller->RecomputeLoad();
    return 1;
}

// ---- The orders of trading

int Play::GiveTrade(const Order& order, Player*) {
    return m_Talk.OpenTradeWindow(&order.value, order.mode) ? 1 : 0;
}

int Play::GiveBuy(const Order& order, Player* actor) {
    return Buy(actor, m_Trading.FindStore(order.value), order.object.Get());
}

int Play::GiveSell(const Order& order, Player* actor) {
    return Sell(actor, m_Trading.FindStore(order.value), order.object.Get());
}
