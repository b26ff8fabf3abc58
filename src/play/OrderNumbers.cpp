#include "play/OrderNumbers.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "creatures/Player.h"
#include "items/Bag.h"
#include "items/Container.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "items/Store.h"
#include "play/Play.h"
#include "world/Global.h"
#include "world/Map.h"
#include "world/World.h"

namespace {

using By = OrderName::By;

OrderName Named(By by, int32_t a, int32_t b = 0, int32_t c = 0, int32_t d = 0, int32_t e = 0) {
    OrderName name;
    name.by = by;
    name.n = {a, b, c, d, e};
    return name;
}

const MapMaster* MapOf(const Play& play) {
    return play.m_World.map_master.get();
}

Player* CreatureOf(const World& world, int32_t number) {
    if (number < 0) return FindMemberById(world.m_pRandomEncounters, number);
    const auto& all = world.m_PlayerArray;
    return static_cast<size_t>(number) < all.size() ? all[static_cast<size_t>(number)] : nullptr;
}

// The creature's number, when the number finds it again.
bool CreatureNumber(const World& world, Player* creature, int32_t& number) {
    number = creature->MapActorNumber();
    return CreatureOf(world, number) == creature;
}

template <class T>
int32_t IndexIn(const std::vector<std::unique_ptr<T>>& items, const Object* thing) {
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == thing) return static_cast<int32_t>(i);
    return -1;
}

template <class T>
T* At(const std::vector<std::unique_ptr<T>>& items, int32_t index) {
    return index >= 0 && static_cast<size_t>(index) < items.size()
               ? items[static_cast<size_t>(index)].get()
               : nullptr;
}

ObjectHolder* At(const std::vector<ObjectHolder*>& holders, int32_t index) {
    return index >= 0 && static_cast<size_t>(index) < holders.size()
               ? holders[static_cast<size_t>(index)]
               : nullptr;
}

const std::vector<std::unique_ptr<Object>>* ItemsOf(Object* bag) {
    auto* asBag = qv::DynamicCast<CBag>(bag);
    return asBag ? &asBag->Items() : nullptr;
}

// The holders at a world point, each once, as a walk over the window's cells
// (their lists, then their wall slots) meets them: a thing that covers
// several cells is listed in each.
std::vector<ObjectHolder*> HoldersAt(const MapMaster* map, const Position& at) {
    std::vector<ObjectHolder*> found;
    const auto meet = [&](ObjectHolder* h) {
        if (h && h->pos == at && std::find(found.begin(), found.end(), h) == found.end())
            found.push_back(h);
    };
    for (int32_t i = 0; map && i < MapMaster::wide; ++i)
        for (int32_t j = 0; j < MapMaster::high; ++j) {
            const MapCell& cell = map->GetCell(i, j);
            for (ObjectHolder* h : cell.holders) meet(h);
            for (ObjectHolder* h : {cell.northwall, cell.westwall, cell.corner}) meet(h);
        }
    return found;
}

bool NamePlaced(const MapMaster* map, const ObjectHolder* holder, OrderName& name) {
    const std::vector<ObjectHolder*> there = HoldersAt(map, holder->pos);
    const auto at = std::find(there.begin(), there.end(), holder);
    if (at == there.end()) return false;
    name = Named(By::Placed, holder->pos.x, holder->pos.y, holder->pos.z,
                 static_cast<int32_t>(at - there.begin()));
    return true;
}

ObjectHolder* FindPlaced(const MapMaster* map, const OrderName& name) {
    const std::vector<ObjectHolder*> there =
        HoldersAt(map, Position(name.n[0], name.n[1], name.n[2]));
    return At(there, name.n[3]);
}

const std::vector<std::unique_ptr<Object>>* CarriedList(const Player& creature, int32_t list) {
    if (list == OrderName::kInUse) return &creature.m_InUseList;
    if (list == OrderName::kBag && creature.m_pBag) return &creature.m_pBag->Items();
    return nullptr;
}

bool NameCarried(const World& world, const Object* thing, OrderName& name) {
    for (Player* p : world.m_PlayerArray) {
        int32_t number = 0;
        if (!p || !CreatureNumber(world, p, number)) continue;
        if (p->m_pBag.get() == thing) {
            name = Named(By::Carried, number, OrderName::kBag, -1, -1);
            return true;
        }
        for (int32_t list : {OrderName::kBag, OrderName::kInUse}) {
            const auto* items = CarriedList(*p, list);
            for (size_t i = 0; items && i < items->size(); ++i) {
                Object* item = (*items)[i].get();
                const auto* inner = ItemsOf(item);
                const int32_t at = item == thing ? -1 : inner ? IndexIn(*inner, thing) : -1;
                if (item != thing && at < 0) continue;
                name = Named(By::Carried, number, list, static_cast<int32_t>(i), at);
                return true;
            }
        }
        if (const int32_t spell = p->m_pMagic ? IndexIn(p->m_pMagic->m_SpellList, thing) : -1;
            spell >= 0) {
            name = Named(By::Carried, number, OrderName::kSpells, spell, -1);
            return true;
        }
    }
    return false;
}

Object* FindCarried(const World& world, const OrderName& name) {
    const Player* p = CreatureOf(world, name.n[0]);
    if (!p) return nullptr;
    const int32_t list = name.n[1], at = name.n[2], inner = name.n[3];
    if (list == OrderName::kSpells)
        return p->m_pMagic && inner < 0 ? At(p->m_pMagic->m_SpellList, at) : nullptr;
    if (at == -1) return list == OrderName::kBag && inner < 0 ? p->m_pBag.get() : nullptr;
    const auto* items = CarriedList(*p, list);
    Object* item = items ? At(*items, at) : nullptr;
    if (!item || inner < 0) return inner == -1 ? item : nullptr;
    const auto* innerItems = ItemsOf(item);
    return innerItems ? At(*innerItems, inner) : nullptr;
}

// The placed container whose window is open. Opening a container shows its
// bag, so the placed container holding that bag is looked for on the map;
// a container shown itself is taken as it is.
const Container* OpenContainer(const Play& play) {
    Object* shown = play.Interacting().ShownContainer().Get();
    if (auto* container = qv::DynamicCast<Container>(shown))
        return container->m_pHolder ? container : nullptr;
    const MapMaster* map = MapOf(play);
    for (int32_t i = 0; shown && map && i < MapMaster::wide; ++i)
        for (int32_t j = 0; j < MapMaster::high; ++j)
            for (ObjectHolder* h : map->GetCell(i, j).holders) {
                auto* container = h ? qv::DynamicCast<Container>(h->m_pObject) : nullptr;
                if (container && container->GetBag() == shown) return container;
            }
    return nullptr;
}

bool NameStored(const Play& play, const Object* thing, OrderName& name) {
    const Container* container = OpenContainer(play);
    CBag* bag = container ? container->GetBag() : nullptr;
    const int32_t at = bag && bag != thing ? IndexIn(bag->Items(), thing) : -1;
    if (!bag || (bag != thing && at < 0) || !NamePlaced(MapOf(play), container->m_pHolder, name))
        return false;
    name.by = By::Stored;
    name.n[4] = at;
    return true;
}

Object* FindStored(const Play& play, const OrderName& name) {
    const ObjectHolder* holder = FindPlaced(MapOf(play), name);
    auto* container = holder ? qv::DynamicCast<Container>(holder->m_pObject) : nullptr;
    CBag* bag = container ? container->GetBag() : nullptr;
    if (!bag || name.n[4] < 0) return name.n[4] == -1 ? bag : nullptr;
    return At(bag->Items(), name.n[4]);
}

OrderName NameObject(const Play& play, const Order& order, Object* thing) {
    const World& world = play.m_World;
    OrderName name;
    int32_t number = 0;
    if (auto* creature = qv::DynamicCast<Player>(thing);
        creature && CreatureNumber(world, creature, number))
        return Named(By::Creature, number);
    if (thing->m_pHolder && NamePlaced(MapOf(play), thing->m_pHolder, name)) return name;
    if (NameCarried(world, thing, name) || NameStored(play, thing, name)) return name;
    if (const Store* store = play.Trade().FindStore(order.value))
        if (const int32_t entry = IndexIn(store->Items(), thing); entry >= 0)
            return Named(By::Entry, order.value, entry);
    return {};
}

Object* FindObject(const Play& play, const OrderName& name) {
    switch (name.by) {
        case By::Creature:
            return CreatureOf(play.m_World, name.n[0]);
        case By::Placed: {
            ObjectHolder* holder = FindPlaced(MapOf(play), name);
            return holder ? holder->m_pObject : nullptr;
        }
        case By::Carried:
            return FindCarried(play.m_World, name);
        case By::Stored:
            return FindStored(play, name);
        case By::Entry: {
            const Store* store = play.Trade().FindStore(name.n[0]);
            return store ? At(store->Items(), name.n[1]) : nullptr;
        }
        case By::None:
            break;
    }
    return nullptr;
}

OrderName NameHolder(const Play& play, ObjectHolder* holder) {
    OrderName name;
    int32_t number = 0;
    if (auto* creature = qv::DynamicCast<Player>(holder->m_pObject);
        creature && creature->m_pHolder == holder && CreatureNumber(play.m_World, creature, number))
        return Named(By::Creature, number);
    return NamePlaced(MapOf(play), holder, name) ? name : OrderName{};
}

ObjectHolder* FindHolder(const Play& play, const OrderName& name) {
    if (name.by == By::Placed) return FindPlaced(MapOf(play), name);
    const Player* creature =
        name.by == By::Creature ? CreatureOf(play.m_World, name.n[0]) : nullptr;
    return creature ? creature->m_pHolder : nullptr;
}

OrderName NameActor(const Play& play, Player* actor) {
    int32_t number = 0;
    return CreatureNumber(play.m_World, actor, number) ? Named(By::Creature, number) : OrderName{};
}

Player* FindActor(const Play& play, const OrderName& name) {
    return name.by == By::Creature ? CreatureOf(play.m_World, name.n[0]) : nullptr;
}

template <class T, class Namer>
void Number(OrderThing<T>& thing, Namer namer) {
    if (T* given = thing.Get()) thing.name = namer(given);
    thing.given = nullptr;
}

template <class T, class Finder>
bool Find(OrderThing<T>& thing, Finder finder) {
    if (thing.given || thing.name.by == By::None) return true;
    thing.given = finder(thing.name);
    return static_cast<bool>(thing.given);
}

}  // namespace

Order NumberedOrder(const Play& play, const Order& order) {
    Order numbered = order;
    Number(numbered.actor, [&](Player* p) { return NameActor(play, p); });
    Number(numbered.target, [&](ObjectHolder* h) { return NameHolder(play, h); });
    Number(numbered.object, [&](Object* o) { return NameObject(play, order, o); });
    Number(numbered.into, [&](Object* o) { return NameObject(play, order, o); });
    return numbered;
}

bool FindNumberedThings(const Play& play, Order& order) {
    const auto object = [&](const OrderName& n) { return FindObject(play, n); };
    return Find(order.actor, [&](const OrderName& n) { return FindActor(play, n); }) &&
           Find(order.target, [&](const OrderName& n) { return FindHolder(play, n); }) &&
           Find(order.object, object) && Find(order.into, object);
}
