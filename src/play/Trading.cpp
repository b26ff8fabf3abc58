// Trading: the world's stores.

#include "play/Trading.h"

#include <utility>

#include "items/Store.h"

Trading::Trading() = default;
Trading::~Trading() = default;

Store* Trading::FindStore(int32_t id) const {
    for (const auto& store : m_StoreList)
        if (store && store->m_iStoreId == id) return store.get();
    return nullptr;
}

Store* Trading::AddStore(std::unique_ptr<Store> store) {
    m_StoreList.push_back(std::move(store));
    return m_StoreList.back().get();
}

void Trading::ReplaceStores(StoreList stores) {
    m_StoreList = std::move(stores);
}

void Trading::RemoveLastStore() {
    if (!m_StoreList.empty()) m_StoreList.pop_back();
}
