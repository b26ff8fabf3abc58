#include "items/Store.h"

#include <algorithm>
#include <utility>

#include "items/Bag.h"
#include "platform/Archive.h"
#include "world/Member.h"

QV_IMPLEMENT_SERIAL(Store, Object, 1, true)

namespace {

constexpr int64_t kPercent = 100;

int32_t Percent(const Object& item, int32_t percent) {
    const int64_t value = std::clamp<int64_t>(item.m_iValue, 0, Store::kMaxItemValue);
    return static_cast<int32_t>(value * percent / kPercent);
}

// Two entries of a stock that make one stack.
bool SameKind(const Object& a, const Object& b) {
    return a.m_bStackable && b.m_bStackable && a.GetRuntimeClass() == b.GetRuntimeClass() &&
           a.m_strSpecialName == b.m_strSpecialName && a.m_iValue == b.m_iValue;
}

}  // namespace

Store::Store(const std::string& name) : Object(name) {
    m_bMoveable = 0;
}

Store::~Store() = default;

int32_t Store::PriceOf(const Object& item) const {
    return std::max(1, Percent(item, m_iSellPercent));
}

int32_t Store::OfferFor(const Object& item) const {
    return Percent(item, m_iBuyPercent);
}

bool Store::Contains(const Object* item) const {
    return item && std::any_of(m_Stock.begin(), m_Stock.end(),
                               [item](const auto& e) { return e.get() == item; });
}

void Store::AddItem(std::unique_ptr<Object> item) {
    if (!item) return;
    for (auto& entry : m_Stock)
        if (SameKind(*entry, *item)) {
            const int64_t sum = int64_t{entry->m_iBulkNum} + std::max(1, item->m_iBulkNum);
            entry->m_iBulkNum = static_cast<int32_t>(std::min<int64_t>(sum, kMaxStack));
            return;
        }
    m_Stock.push_back(std::move(item));
}

std::unique_ptr<Object> Store::TakeOne(Object* item) {
    auto at = std::find_if(m_Stock.begin(), m_Stock.end(),
                           [item](const auto& e) { return e.get() == item; });
    if (!item || at == m_Stock.end()) return nullptr;
    if (item->m_bStackable && item->m_iBulkNum > 1) {
        std::unique_ptr<Object> one(item->Clone());
        if (!one) return nullptr;
        one->m_iBulkNum = 1;
        --item->m_iBulkNum;
        return one;
    }
    std::unique_ptr<Object> whole = std::move(*at);
    m_Stock.erase(at);
    return whole;
}

void Store::Serialize(qv::Archive& ar) {
    if (ar.IsLoading()) ar.GetObjectSchema();
    ar.SerializeClass(&Object::classInfo);
    Object::Serialize(ar);
    if (ar.IsStoring()) {
        for (int32_t v : {m_iStoreId, m_iSellPercent, m_iBuyPercent, m_iGold}) ar.WriteInt(v);
        ar.WriteCount(m_Stock.size());
        for (const auto& item : m_Stock) ar.WriteObject(item.get());
        return;
    }
    const int32_t id = ar.ReadInt();
    const int32_t sell = ar.ReadInt();
    const int32_t buy = ar.ReadInt();
    const int32_t gold = ar.ReadInt();
    auto refuse = [&ar](const std::string& what) { ar.Fail(qv::ArchiveError::BadIndex, what); };
    if (id < 0) refuse("a store numbered " + std::to_string(id));
    if (sell < 1 || sell > kMaxPercent)
        refuse("a store asking " + std::to_string(sell) + " percent of a value, outside 1 to " +
               std::to_string(kMaxPercent));
    if (buy < 0 || buy > sell)
        refuse("a store paying " + std::to_string(buy) + " percent of a value, outside 0 to the " +
               std::to_string(sell) + " it asks");
    if (gold < 0 || gold > kMaxGold)
        refuse("a store with " + std::to_string(gold) + " gold, outside 0 to " +
               std::to_string(kMaxGold));
    const size_t n = ar.ReadCount();
    if (n > static_cast<size_t>(kMaxItems))
        ar.Fail(qv::ArchiveError::BadCount, "a store of " + std::to_string(n) +
                                                " entries, more than " + std::to_string(kMaxItems));
    std::vector<std::unique_ptr<Object>> stock;
    for (size_t i = 0; i < n; ++i) {
        // A creature or a group belongs to the group tree, never to a store.
        std::unique_ptr<Object> item(
            static_cast<Object*>(ar.ReadObject(&Object::classInfo, &Member::classInfo)));
        if (!item) refuse("an empty entry in a store's stock");
        // What a bag for sale holds, at any depth, is sold with it and is
        // held to the same rules.
        std::vector<Object*> things{item.get()};
        if (const CBag* bag = qv::DynamicCast<CBag>(item.get())) bag->CollectItems(things);
        for (Object* thing : things) {
            if (thing->Type() == MONEY) refuse("gold for sale in a store");
            if (thing->m_iValue < 0 || thing->m_iValue > kMaxItemValue)
                refuse("an item of value " + std::to_string(thing->m_iValue) +
                       " in a store, outside 0 to " + std::to_string(kMaxItemValue));
            if (thing->m_iBulkNum < 1 || thing->m_iBulkNum > kMaxStack)
                refuse("a store's entry of " + std::to_string(thing->m_iBulkNum) +
                       ", outside 1 to " + std::to_string(kMaxStack));
        }
        stock.push_back(std::move(item));
    }
    m_iStoreId = id;
    m_iSellPercent = sell;
    m_iBuyPercent = buy;
    m_iGold = gold;
    m_Stock = std::move(stock);
}
