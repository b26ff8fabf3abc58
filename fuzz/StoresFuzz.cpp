// A stored store: its numbers and its stock. A store that reads is written
// back, then traded with as a player trades: one of each entry bought, and
// after each purchase every thing of the pack sold to it again. The store so
// changed must read again, its purse within its bounds.
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

#include "RoundTrip.h"
#include "creatures/Player.h"
#include "items/Bag.h"
#include "items/Money.h"
#include "items/Store.h"
#include "platform/Handle.h"
#include "play/Play.h"

namespace {

using Things = std::vector<qv::Handle<Object>>;

// Held by handle: a thing sold may join a stack of the store and go.
Things HandlesOf(const std::vector<Object*>& things) {
    return Things(things.begin(), things.end());
}

void SellThePack(Play& play, Player& trader, Store& store) {
    std::vector<Object*> pack;
    trader.m_pBag->CollectItems(pack);
    for (const qv::Handle<Object>& thing : HandlesOf(pack))
        if (Object* o = thing.Get(); o && o->Type() != MONEY) play.Sell(&trader, &store, o);
}

void Trade(World& world, Store& store) {
    Play play(world);
    Player trader;
    auto* purse = new Money;
    purse->m_iBulkNum = Store::kMaxGold;
    trader.AddToBag(purse, 0);
    std::vector<Object*> stock;
    for (const auto& entry : store.Items()) stock.push_back(entry.get());
    for (const qv::Handle<Object>& entry : HandlesOf(stock)) {
        if (Object* o = entry.Get(); o && store.Contains(o)) play.Buy(&trader, &store, o);
        SellThePack(play, trader, store);
    }
}

std::optional<fuzz::Bytes> TradedStore(const fuzz::Bytes& input) {
    fuzz::FreshWorld world;
    std::unique_ptr<Store> store;
    try {
        qv::Archive in(input, "fuzz input");
        store.reset(in.ReadObjectOf<Store>());
    } catch (const qv::ArchiveError&) {
        return std::nullopt;
    }
    qv::Archive out("fuzz output");
    out.WriteObject(store.get());
    if (!store) return out.TakeBytes();
    Trade(world.world, *store);
    if (store->m_iGold < 0 || store->m_iGold > Store::kMaxGold) std::abort();
    qv::Archive traded("traded store");
    traded.WriteObject(store.get());
    const fuzz::Bytes tradedBytes = traded.TakeBytes();
    try {
        qv::Archive again(tradedBytes, "traded store");
        delete again.ReadObjectOf<Store>();
    } catch (const qv::ArchiveError&) {
        std::abort();
    }
    return out.TakeBytes();
}

}  // namespace

QV_FUZZ_TARGET(TradedStore)
