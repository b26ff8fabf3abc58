// What a creature does with the things it carries: taking them from the ground
// or a container, putting them down, handing them over, taking them into and
// out of use, moving them between bags, opening containers and resting in a
// bed. Nothing ends owned by no one: a thing that finds no place stays where
// it was.

#include <algorithm>
#include <memory>

#include "creatures/Player.h"
#include "items/Bag.h"
#include "items/Container.h"
#include "play/Play.h"
#include "structures/Scenery.h"
#include "world/Map.h"
#include "world/ObjectHolder.h"
#include "world/World.h"

namespace {

CBag* AsBag(Object* o) {
    return o && o->Type() == BAG ? qv::DynamicCast<CBag>(o) : nullptr;
}

bool InUse(const Player& p, const Object* o) {
    return std::any_of(p.m_InUseList.begin(), p.m_InUseList.end(),
                       [o](const auto& u) { return u.get() == o; });
}

// Takes the whole entry out of a bag tree, keeping its stack count; null
// when the tree does not hold it.
std::unique_ptr<Object> TakeEntry(CBag* tree, Object* item) {
    if (!tree || !tree->Contains(item)) return nullptr;
    const int count = item->m_iBulkNum;
    std::unique_ptr<Object> out;
    tree->RemoveItem(item, std::max(1, count), &out);
    if (out) out->m_iBulkNum = count;
    return out;
}

// Puts an entry back into the bag tree it came from, beyond its room if need
// be: nothing is lost.
void PutBack(CBag* tree, std::unique_ptr<Object> item) {
    if (!item) return;
    if (tree->PutItem(item.get(), 1)) {
        item.release();
        return;
    }
    tree->AddItem(item.release());
    tree->SetItemCount(tree->ItemCount() + 1);
}

// `count` of a stack, split off into a copy of its own.
std::unique_ptr<Object> SplitOff(Object* stack, int count) {
    std::unique_ptr<Object> part(stack->Clone());
    if (part) part->m_iBulkNum = count;
    return part;
}

}  // namespace

bool Play::IsInventoryOpen() {
    return Shell().InventoryWindowUp() || m_Interaction.IsOpeningContainer();
}

void Play::ShowContainer(CBag* bag) {
    OpenContainer(bag);
}

int Play::TakeFromMap(Player* creature, ObjectHolder* holder, int count) {
    Object* object = holder ? holder->m_pObject : nullptr;
    if (!creature || !object || count <= 0) return 0;
    if (count < object->m_iBulkNum) {
        // Part of a stack: the rest stays where it lies.
        std::unique_ptr<Object> part = SplitOff(object, count);
        if (!part || !AddToBag(creature, part.get())) return 0;
        part.release();
        object->m_iBulkNum -= count;
        return 1;
    }
    // The whole of it: its holder leaves the map and goes.
    const Position where = holder->pos;
    LiftOffMap(holder);
    if (AddToBag(creature, object)) return 1;
    // No room after all: it goes back where it lay.
    ReturnToMap(object, where);
    return 0;
}

Object* Play::LiftOffMap(ObjectHolder* holder) {
    Object* object = holder->m_pObject;
    RemoveFromMap(holder);
    if (m_World.m_pHoverHolder.Get() == holder) m_World.m_pHoverHolder = nullptr;
    holder->m_pObject = nullptr;
    if (object) object->m_pHolder = nullptr;
    delete holder;
    return object;
}

void Play::ReturnToMap(Object* object, const Position& where) {
    auto* back = new ObjectHolder(where, object);
    Position at = where;
    if (!Map() || !Map()->AddHolder(at, back)) DeleteHolderWithObject(back);
}

int Play::TakeFromContainer(Player* actor, Object* object) {
    if (!actor || !actor->m_pBag) return 0;
    CBag* shown = AsBag(m_Interaction.ShownContainer().Get());
    if (!object || !shown || !shown->Contains(object)) return 0;
    const int count = AskTakeAmount(actor, object);
    if (count <= 0) return count;
    if (count < object->m_iBulkNum) {
        std::unique_ptr<Object> part = SplitOff(object, count);
        if (!part || !AddToBag(actor, part.get())) return 0;
        part.release();
        object->m_iBulkNum -= count;
        return 1;
    }
    std::unique_ptr<Object> taken = TakeEntry(shown, object);
    if (!taken) return 0;
    if (AddToBag(actor, taken.get())) {
        taken.release();
        return 1;
    }
    // No room after all: it goes back into the container.
    PutBack(shown, std::move(taken));
    return 0;
}

int Play::DropFrom(Player* actor, Object* object, const Position& w) {
    if (!actor || !object || !actor->m_pBag) return 0;
    // A thing in use comes off into the bag first.
    if (InUse(*actor, object)) {
        actor->UnequipObject(object, 1);
        if (!actor->m_pBag->Contains(object)) return 0;
    }
    if (!actor->m_pBag->Contains(object)) return 0;
    const DropResult dropped = DropObject(object, w);
    if (!dropped) return 0;
    int answer = 1;
    if (dropped.placedItself || dropped.stackEmptied) {
        // The bag lets go of the entry: to the map, or, emptied, to nothing.
        std::unique_ptr<Object> gone =
            actor->RemoveFromBag(object, std::max(1, object->m_iBulkNum));
        if (dropped.placedItself) {
            gone.release();  // the map has it
            answer = 2;
        } else {
            answer = 3;
        }
    }
    actor->RecomputeLoad();
    return answer;
}

int Play::GiveTo(Player* actor, Object* object, Player* receiver) {
    if (!actor || !receiver || actor == receiver || !object || !receiver->m_pBag) return 0;
    if (!actor->Owns(object) || Player::IsNaturalItem(object)) return 0;
    if (!receiver->m_pBag->CanHold(object)) return 0;
    if (InUse(*actor, object)) {
        actor->UnequipObject(object, 1);
        if (!actor->m_pBag || !actor->m_pBag->Contains(object)) return 0;
    }
    const int count =
        object->m_bStackable && object->m_iBulkNum > 1 ? AskQuantity(object->m_iBulkNum) : 1;
    if (count <= 0) return 0;
    if (count < object->m_iBulkNum) {
        std::unique_ptr<Object> part = SplitOff(object, count);
        if (!part) return 0;
        object->m_iBulkNum -= count;
        receiver->AddToBag(part.release(), 0);
    } else {
        std::unique_ptr<Object> taken = TakeEntry(actor->m_pBag.get(), object);
        if (!taken) return 0;
        receiver->AddToBag(taken.release(), 0);
    }
    actor->RecomputeLoad();
    return 1;
}

int Play::Equip(Player* actor, Object* object) {
    if (!actor || !object || !actor->Owns(object) || InUse(*actor, object)) return 0;
    // A book or a letter is read, not taken into use.
    if (m_Talk.ReadText(object)) return 1;
    const Player::UseCheck check = actor->CheckCanUse(object, 0);
    if (check.code == 2 || (check.code != 0 && check.code != 1)) {
        if (!check.message.empty()) Ask().Tell(check.message);
        return 0;
    }
    // What stands in its place comes off first.
    if (check.code == 1 && check.object) {
        actor->UnequipObject(check.object, 1);
        if (InUse(*actor, check.object)) return 0;
    }
    return actor->EquipObject(object);
}

int Play::Unequip(Player* actor, Object* object) {
    if (!actor || !object || !InUse(*actor, object)) return 0;
    actor->UnequipObject(object, 1);
    return InUse(*actor, object) ? 0 : 1;
}

int Play::PutIn(Player* actor, Object* object, Object* into) {
    CBag* bag = AsBag(into);
    if (!actor || !object || !bag || !actor->m_pBag || object == into) return 0;
    CBag* shown = AsBag(m_Interaction.ShownContainer().Get());
    // Only into the actor's own bags or the open container's.
    if (bag->Root() != actor->m_pBag.get() && (!shown || bag->Root() != shown)) return 0;
    // A bag never goes into itself or a bag inside it.
    if (CBag* moving = AsBag(object); moving && (moving == bag || moving->Contains(bag))) return 0;
    if (InUse(*actor, object)) {
        actor->UnequipObject(object, 1);
        if (InUse(*actor, object)) return 0;
    }
    CBag* from = actor->m_pBag->Contains(object)    ? actor->m_pBag.get()
                 : shown && shown->Contains(object) ? shown
                                                    : nullptr;
    if (!from) return 0;
    std::unique_ptr<Object> taken = TakeEntry(from, object);
    if (!taken) return 0;
    if (bag->PutItem(taken.get(), 1)) {
        taken.release();
        actor->RecomputeLoad();
        return 1;
    }
    // No room there: it goes back where it was.
    PutBack(from, std::move(taken));
    return 0;
}

int Play::Open(Player* actor, ObjectHolder* target, int action) {
    auto* container = target ? qv::DynamicCast<Container>(target->m_pObject) : nullptr;
    if (!container) return 0;
    int code = action == 0 ? -1 : action;
    m_Interaction.SetOpeningContainer(true);
    const int answer = container->Activate(&code, actor);
    m_Interaction.SetOpeningContainer(false);
    return answer;
}

int Play::Rest(Player* actor, ObjectHolder* target) {
    auto* bed = target ? qv::DynamicCast<Bed>(target->m_pObject) : nullptr;
    if (!bed || !actor || actor->m_iPartySlot == 0) return 0;
    return bed->RestFor(actor, AskQuantity(kRestHoursOffered));
}

// ---- The orders about things

int Play::GiveTake(const Order& order, Player* actor) {
    // Without a placed thing: `object` from the open container, at once.
    ObjectHolder* target = order.target.Get();
    if (!target) return TakeFromContainer(actor, order.object.Get());
    // Only a thing that can be carried off; the actor takes it on arriving,
    // as when it is clicked.
    Object* thing = target->m_pObject;
    if (!actor || !thing || m_Editing.IsEditing() || thing->m_bMoveable != 1 || IsCreature(target))
        return 0;
    actor->JoinPlayerSet(target);
    return InteractWith(actor, 0);
}

int Play::GiveDrop(const Order& order, Player* actor) {
    Object* object = order.object.Get();
    if (!object || !order.hasPoint) return 0;
    // What the actor carries leaves its hands; anything else is the caller's.
    if (actor && actor->Owns(object)) return DropFrom(actor, object, order.point);
    const DropResult dropped = DropObject(object, order.point);
    if (!dropped) return 0;
    if (dropped.placedItself) return 2;
    return dropped.stackEmptied ? 3 : 1;
}

int Play::GiveGive(const Order& order, Player* actor) {
    ObjectHolder* target = order.target.Get();
    auto* receiver = target ? qv::DynamicCast<Player>(target->m_pObject) : nullptr;
    return GiveTo(actor, order.object.Get(), receiver);
}

int Play::GiveEquip(const Order& order, Player* actor) {
    return Equip(actor, order.object.Get());
}

int Play::GiveUnequip(const Order& order, Player* actor) {
    return Unequip(actor, order.object.Get());
}

int Play::GivePutIn(const Order& order, Player* actor) {
    return PutIn(actor, order.object.Get(), order.into.Get());
}

int Play::GiveOpen(const Order& order, Player* actor) {
    return Open(actor, order.target.Get(), order.value);
}

int Play::GiveRest(const Order& order, Player* actor) {
    return Rest(actor, order.target.Get());
}

int Play::GiveShut(const Order&, Player*) {
    if (!m_Interaction.IsContainerOpen()) return 0;
    CloseContainer();
    return 1;
}
