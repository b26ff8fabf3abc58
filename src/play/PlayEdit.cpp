// The editor's orders: each carries out one of the editor's changes
// (Editing), or places, moves, deletes or opens what it edits.

#include "creatures/Player.h"
#include "items/Bag.h"
#include "play/Play.h"
#include "world/KeyStorage.h"
#include "world/Map.h"
#include "world/TimeOfDay.h"
#include "world/World.h"

int Play::BringPlaced(ObjectHolder* holder, Object* into) {
    Object* object = holder ? holder->m_pObject : nullptr;
    CBag* bag = into ? qv::DynamicCast<CBag>(into) : nullptr;
    if (!object || !bag || IsCreature(holder) || !bag->CanHold(object)) return 0;
    const Position where = holder->pos;
    LiftOffMap(holder);
    if (bag->PutItem(object)) return 1;
    ReturnToMap(object, where);
    return 0;
}

int Play::GivePlace(const Order& order, Player*) {
    Object* object = order.object.Get();
    if (!object || !order.hasPoint) return 0;
    return PlaceObjectAt(object, order.point) ? 1 : 0;
}

int Play::GiveMove(const Order& order, Player*) {
    ObjectHolder* target = order.target.Get();
    return target && order.hasPoint ? m_Editing.MovePlaced(target, order.point) : 0;
}

int Play::GiveDelete(const Order& order, Player*) {
    // A creature belongs to its group, which alone deletes it.
    ObjectHolder* target = order.target.Get();
    if (!target || IsCreature(target)) return 0;
    RemoveFromMap(target);
    // Gone, it opens nothing: out of its key record first.
    if (target->m_pObject) m_World.RemoveFromKeyStorage(target->m_pObject);
    DeleteHolderWithObject(target);
    return 1;
}

int Play::GiveEdit(const Order& order, Player*) {
    ObjectHolder* target = order.target.Get();
    return target && target->m_pObject ? target->m_pObject->Edit() : 0;
}

int Play::GiveSetProperty(const Order& order, Player*) {
    ObjectHolder* target = order.target.Get();
    Object* object = order.object ? order.object.Get() : target ? target->m_pObject : nullptr;
    return m_Editing.SetProperty(object, order.name, order.value, order.text);
}

int Play::GiveAddItem(const Order& order, Player*) {
    return m_Editing.AddItem(order.into.Get(), order.object.Get());
}

int Play::GiveDeleteItem(const Order& order, Player*) {
    return m_Editing.DeleteItem(order.into.Get(), order.object.Get());
}

int Play::GiveAddKey(const Order& order, Player*) {
    return m_Editing.AddKey(order.object.Get(), order.value, order.text);
}

int Play::GiveRemoveKey(const Order& order, Player*) {
    return m_Editing.RemoveKey(order.object.Get());
}

int Play::GiveRemoveLand(const Order& order, Player*) {
    return m_Editing.RemoveLand(order.text);
}

int Play::GiveSetTime(const Order& order, Player*) {
    CTimeOfDay* clock = m_World.m_pTimeOfDay.get();
    if (!clock || order.value < 0 || order.value > kLastHour || order.mode < 0 ||
        order.mode > kLastSetMinute)
        return 0;
    clock->m_sHour = static_cast<int16_t>(order.value);
    clock->m_sMinute = static_cast<int16_t>(order.mode);
    clock->Format();
    return 1;
}

int Play::GiveScriptedMove(const Order& order, Player*) {
    return m_Editing.ChangeScriptedMoves(order.object.Get(), order.mode, order.value,
                                         {order.point.x, order.point.y});
}

int Play::GiveEditing(const Order& order, Player*) {
    m_Editing.SetEditing(order.value != 0);
    return 1;
}

int Play::GiveLoadWorld(const Order&, Player*) {
    // The world the editor works on is asked for and read without a party.
    m_Saves.SetReloadsWithoutAsking(false);
    m_Saves.SetSkipsPlayersFile(true);
    return OnLoadWorld();
}
