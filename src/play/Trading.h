#pragma once
// Trading: the part of play that keeps the world's stores, as a world file
// stored them and writes them back. Play owns one; the trading window reads
// it, and changes it only through orders.

#include <cstdint>
#include <list>
#include <memory>

class Store;

class Trading {
public:
    using StoreList = std::list<std::unique_ptr<Store>>;
    Trading();
    ~Trading();
    Trading(const Trading&) = delete;
    Trading& operator=(const Trading&) = delete;

    const StoreList& Stores() const { return m_StoreList; }
    // The first store of the world with that number; null when none has it.
    Store* FindStore(int32_t id) const;

    // ---- What play sets (and the data program and a test, setting up)
    // The store joins the world's; answers it.
    Store* AddStore(std::unique_ptr<Store> store);
    // The stores of a world read replace those there were.
    void ReplaceStores(StoreList stores);
    void RemoveLastStore();

private:
    StoreList m_StoreList;
};
