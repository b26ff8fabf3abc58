// What a creature does about the object it was sent to: walk on toward it, or,
// touching it, talk, fight, loot a corpse, take the stairs, pick it up, use the
// item or spell waiting for a target on it, or work it.

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "creatures/LineRoute.h"
#include "creatures/Player.h"
#include "items/Bag.h"
#include "media/MouseCursor.h"
#include "play/Play.h"
#include "structures/Scenery.h"
#include "structures/Traversable.h"
#include "structures/Walls.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/Object.h"
#include "world/ObjectHolder.h"
#include "world/World.h"

namespace {

const char* const kHello = "HELLO";

// A door brick's dead zone along one axis: within [low, high) the creature
// counts as touching; beyond, the distance is measured from the zone's edge.
int32_t DeadZone(int32_t offset, int32_t low, int32_t high) {
    if (offset < low) return offset - low;
    if (offset < high) return 0;
    return offset - high;
}

// The creature's radius taken off the longer axis of the distance to it.
void PlayerZone(int32_t& dx, int32_t& dy, int32_t radius) {
    int32_t ax = std::abs(dx), ay = std::abs(dy);
    if (ax > ay)
        ax = std::max(0, ax - radius);
    else
        ay = std::max(0, ay - radius);
    dx = ax;
    dy = ay;
}

// Moving ahead from `from` toward `to` the short way round the world, two
// pixels a step.
BresenhamLine LineBetween(MapMaster* map, const Position& from, const Position& to) {
    const qv::Point delta = map->PixelDeltaOf(from, to);
    const qv::Point start{from.x, from.y};
    const qv::Point end{from.x + delta.x, from.y + delta.y};
    BresenhamLine line;
    line.Start(&start, &end);
    return line;
}

ObjectHolder* WhatStandsAt(MapMaster* map, Player* mover, qv::Point point) {
    return map->CheckMove(mover, Position(point.x, point.y, 0), nullptr, 1, 0);
}

// Deletes an item used up on its target, taken first from whatever holds it:
// the user's bag, the user's things in use, or the map. An item held anywhere
// else (a known spell in a book) is left where it is.
void DiscardUsedItem(Object* item, Player* user) {
    if (!item) return;
    if (user) {
        if (user->m_pBag && user->m_pBag->Contains(item)) {
            std::unique_ptr<Object> gone;
            user->m_pBag->RemoveItem(item, std::max(1, item->m_iBulkNum), &gone);
            user->RecomputeLoad();
            return;
        }
        auto& inUse = user->m_InUseList;
        for (auto it = inUse.begin(); it != inUse.end(); ++it)
            if (it->get() == item) {
                inUse.erase(it);
                user->RecomputeLoad();
                return;
            }
    }
    if (ObjectHolder* holder = item->m_pHolder) {
        if (MapMaster* map = GetMapMaster()) map->RemoveHolder(holder->pos, holder);
        DeleteHolderWithObject(holder);
    }
}

}  // namespace

bool Play::OwnsPendingUse(const Player* creature) const {
    if (!creature) return true;  // the player's own click
    if (const Player* user = m_Interaction.PendingItemUser().Get()) return user == creature;
    return creature == m_World.m_pControlPlayer.Get();
}

void Play::OpenContainer(Object* container) {
    // The in-game windows keep the controlled member's inventory beside the
    // container; until they are drawn, what is shown is recorded here.
    CloseContainer();
    SetControlPlayer(m_World.m_pControlPlayer.Get());
    m_Interaction.ShowContainer(container);
}

void Play::CloseContainer() {
    m_Interaction.CloseContainer();
}

int Play::AskQuantity(int amount) {
    m_Interaction.SetQuantityUp(1);
    const int chosen = Ask().Quantity(amount);
    m_Interaction.SetQuantityUp(0);
    return std::clamp(chosen, 0, amount);
}

int Play::AskTakeAmount(Player* creature, Object* object) {
    if (!creature || !object || !creature->m_pBag) return 0;
    const int count = object->m_iBulkNum > 1 ? AskQuantity(object->m_iBulkNum) : 1;
    if (count <= 0) return 0;
    return creature->m_pBag->CanHold(object) ? count : -1;
}

bool Play::AddToBag(Player* creature, Object* object) {
    if (!creature || !object || !creature->m_pBag) return false;
    if (Player::IsNaturalItem(object) || !creature->m_pBag->CanHold(object)) return false;
    creature->AddToBag(object, 0);
    return true;
}

int Play::IsLineToTargetClear(Player* creature, MapMaster* map, ObjectHolder* target,
                              const Position& point, int64_t maxCellSq, int) {
    if (!map) return 0;
    const Position from =
        creature ? creature->m_Position : Position(m_World.m_ptFocus.x, m_World.m_ptFocus.y, 0);
    if (map->CellDistanceSq(from, point) > maxCellSq) return 0;
    BresenhamLine line = LineBetween(map, from, point);
    while (!line.AtEnd()) {
        qv::Point step;
        line.Next(&step);
        if (ObjectHolder* met = WhatStandsAt(map, creature, step)) return met == target ? 1 : 0;
    }
    return 1;
}

int Play::InteractWith(Player* creature, int flag) {
    return Interact(creature, flag, false);
}

int Play::Approach(Player* creature, int flag) {
    return Interact(creature, flag, true);
}

int Play::ApplyArrivals() {
    // Each arrival is carried out as if it were the only one: one that the
    // others did away with (its creature, its target or the thing on it) is
    // passed over, and a world change ends the rest, as it ends a walk.
    for (const Interaction::Arrival& arrival : m_Interaction.TakeArrivals()) {
        Player* creature = arrival.creature.Get();
        ObjectHolder* holder = arrival.target.Get();
        if (!creature || !holder || !holder->m_pObject) continue;
        if (Act(creature, holder) == Object::kWorldChanged) return Object::kWorldChanged;
    }
    return 1;
}

int Play::Interact(Player* creature, int flag, bool deferActing) {
    MapMaster* map = Map();

    // 1. A monster clicked while fighting is attacked at once.
    if (creature && creature->m_pPlayerSet &&
        (m_Interaction.SelectMode() == 0 || m_Interaction.SelectMode() == 1) &&
        creature->m_pPlayerSet->Type() == PLAYER) {
        auto* monster = qv::DynamicCast<Player>(creature->m_pPlayerSet->m_pObject);
        if (monster && monster != creature && monster->m_pGroup != creature->m_pGroup &&
            monster->IsAlive() && monster->m_strMessageNode == kHello &&
            monster->m_iPartySlot == 0) {
            creature->m_pTarget = monster;
            creature->m_pOrder = std::make_unique<ObjectEvent>(ObjectEventType::ATTACK, 0, monster);
            creature->ClearPlayerSet();
            creature->ClearRoute();
            return 1;
        }
    }

    // 2. Where from, and what to.
    ObjectHolder* holder = creature ? creature->m_pPlayerSet : m_World.m_pHoverHolder.Get();
    if (!creature && !QV_CHECK(holder != NULL)) return 0;
    if (!holder) return 0;
    const Position from =
        creature ? creature->m_Position : Position(m_World.m_ptFocus.x, m_World.m_ptFocus.y, 0);
    Object* object = holder->m_pObject;

    // 3. Touching yet?
    bool walkOn = false;
    if (m_Interaction.SelectMode() < 2 && !m_Editing.IsEditing() && creature && flag == 0 && map) {
        const qv::Point delta = map->PixelDeltaOf(from, holder->pos);
        int32_t dx = delta.x, dy = delta.y;
        if (qv::DynamicCast<FrontDoorBrick>(object)) {
            dx = DeadZone(dx, -21, 21);
            dy = DeadZone(dy, -8, 8);
        }
        if (qv::DynamicCast<SideDoorBrick>(object)) {
            dx = DeadZone(dx, -11, 15);
            dy = DeadZone(dy, -19, 8);
        }
        if (auto* mast = qv::DynamicCast<Mast>(object)) mast->ApplyTouchZone(&dx, &dy);
        if (auto* touched = qv::DynamicCast<Player>(object)) PlayerZone(dx, dy, touched->m_iRadius);
        const int64_t distanceSq = int64_t{dx} * dx + int64_t{dy} * dy;
        BresenhamLine line = LineBetween(map, from, holder->pos);
        if (distanceSq >= kNearDistanceSq) {
            // Far: only an object met at the very next step is touched.
            qv::Point step{from.x, from.y};
            if (!line.AtEnd()) line.Next(&step);
            walkOn = WhatStandsAt(map, creature, step) != holder;
        } else if (object && object->Type() != PLAYER) {
            // Near a thing: it must be the first thing on the way, and soon.
            for (int steps = 1; !line.AtEnd(); ++steps) {
                qv::Point step;
                line.Next(&step);
                if (ObjectHolder* met = WhatStandsAt(map, creature, step)) {
                    walkOn = met != holder || steps > kNearLineSteps;
                    break;
                }
            }
        }
    }

    // 4. Walk on. A creature that has something to say comes to meet the one
    // walking; a party member is not chased.
    if (walkOn) {
        auto* other = qv::DynamicCast<Player>(object);
        if (other && !m_Interaction.IsQuantityUp()) {
            ObjectHolder* meeting = creature->m_pHolder;
            if (meeting && other->IsAlive() && other->m_strMessageNode != kHello &&
                other->m_pPlayerSet != meeting)
                other->JoinPlayerSet(meeting);
            if (other->m_iPartySlot != 0 && (!meeting || other->m_pPlayerSet != meeting)) {
                creature->LeavePlayerSet();
                return 0;
            }
        }
        return 2;
    }

    // 5. A plain point reached: the walk after a double click ends with it.
    if (!object) {
        if (creature) {
            creature->LeavePlayerSet();
            creature->ClearRoute();
        }
        SetPartyShiftFlags(0);
        return 1;
    }

    // 6. Acting on the object. A creature's own turn only reports that it
    // arrived: what arriving calls for is carried out once the groups have
    // taken their turns (ApplyArrivals), where asking the player or changing
    // the world cannot pull the walk from under the groups.
    if (creature) {
        creature->ClearPlayerSet();
        creature->ClearRoute();
    }
    if (deferActing && creature) {
        m_Interaction.AddArrival(creature, holder);
        return 1;
    }
    return Act(creature, holder);
}

bool Play::IsCreature(ObjectHolder* holder) {
    return holder && holder->m_pObject && holder->Type() == PLAYER;
}

bool Play::HasSomethingToSay(const Player* creature, const Player* other) {
    // A party member met by another speaks for itself when the other has
    // something to say.
    return other->m_strMessageNode != kHello ||
           (other->m_iPartySlot != 0 && creature && creature->m_strMessageNode != kHello);
}

int Play::Act(Player* creature, ObjectHolder* holder) {
    MapMaster* map = Map();
    Object* object = holder->m_pObject;
    qv::Handle<ObjectHolder> target(holder);
    const Position targetPos = holder->pos;
    if (creature) {
        creature->ClearPlayerSet();
        creature->ClearRoute();
    }
    qv::Handle<Object> pendingItem;
    qv::Handle<Player> pendingUser;
    if (OwnsPendingUse(creature)) {
        pendingItem = m_Interaction.PendingItem();
        pendingUser = m_Interaction.PendingItemUser();
        m_Interaction.DropPendingUse();
    }
    auto* other = qv::DynamicCast<Player>(object);
    if (creature && creature->m_iPartySlot == 0) {
        const bool otherInParty = other && other->m_iPartySlot != 0;
        if (!otherInParty && !object->CanBeUsedBy(creature)) return 0;
    }

    // 7. The first rule that applies.
    if (Object* item = pendingItem.Get()) {
        // Used up, it goes from whoever carries it: its user, else the
        // creature that used it, else (the player's own click) the controlled
        // member. Using it may have done away with item or user: both are
        // looked up again.
        if (item->Use(pendingUser.Get(), object) != 0) {
            Player* carrier = pendingUser.Get();
            if (!carrier) carrier = creature ? creature : m_World.m_pControlPlayer.Get();
            DiscardUsedItem(pendingItem.Get(), carrier);
        }
        if (CMouseCursor* cursor = GetMouseCursor()) cursor->RestoreImage();
        return 1;
    }

    if (other && ((creature && creature->IsAlive() && creature->m_iPartySlot != 0) ||
                  m_Interaction.IsQuantityUp())) {
        if (!other->IsAlive()) {
            // A corpse in sight is looted.
            if (creature && !IsLineToTargetClear(creature, map, target.Get(), targetPos,
                                                 kCorpseSightCellSq, 0)) {
                creature->JoinPlayerSet(target.Get());
                return 0;
            }
            OpenContainer(other->m_pBag ? static_cast<Object*>(other->m_pBag.get()) : other);
            return 1;
        }
        if (HasSomethingToSay(creature, other)) {
            Player* speaker = other->m_iPartySlot < 0 ? creature : other;
            if (!speaker || speaker->m_strMessageNode == kHello) {
                Ask().Tell("No Response.");
                return 0;
            }
            // The conversation takes over: the window that shows it belongs
            // to the conversation scripts.
            m_bInputLock = 0;
            m_Interaction.SetQuantityUp(0);
            if (creature) creature->LeavePlayerSet();
            other->LeavePlayerSet();
            OpenConversation(speaker, speaker->m_strMessageNode);
            return Object::kWorldChanged;
        }
        // A fight.
        if (creature &&
            (!IsLineToTargetClear(creature, map, target.Get(), targetPos, kFightSightCellSq, 0) ||
             other->m_iScriptHold < -5)) {
            creature->JoinPlayerSet(target.Get());
            return 0;
        }
        Group* mine = creature ? creature->m_pGroup : nullptr;
        Group* theirs = other->m_pGroup;
        if (!mine || !theirs || mine == theirs) return 0;
        mine->SetHostileMode(1, theirs);
        theirs->SetHostileMode(1, mine);
        mine->FindOpponents(theirs);
        return 1;
    }

    if (object->Type() == STAIRS) {
        if (m_Editing.IsEditing()) {
            object->Edit();
        } else if (creature && creature->m_iPartySlot != 0 &&
                   Ask().YesNo("Do you want to take the stairs?") && target) {
            m_Travel.SetPendingWorld(object);
        }
        return 1;
    }

    if (!m_Editing.IsEditing() && object->Type() == SCENERY) {
        auto* scenery = qv::DynamicCast<Scenery>(object);
        if (scenery && scenery->HasUsePrompt()) {
            // A bed asks its hours through the player's answers.
            if (qv::DynamicCast<Bed>(object))
                Rest(creature, target.Get());
            else
                object->GetUsePrompt(creature, 1);
            return 1;
        }
    }

    // A sign is read where it stands; a book or a letter is taken, and read
    // from the bag.
    if (!m_Editing.IsEditing() && object->m_bMoveable != 1 && m_Talk.ReadText(object)) return 1;

    // A creature is never picked up, whatever its flag says: one who comes
    // over to talk would otherwise take the member it reaches into its bag.
    if (object->m_bMoveable == 1 && !other && !m_Editing.IsEditing() && creature) {
        const int count = AskTakeAmount(creature, object);
        if (count < 0) WarningBeep();  // the bag cannot hold it: refused
        if (count > 0 && target) {
            TakeFromMap(creature, target.Get(), count);
            SetControlPlayer(m_World.m_pControlPlayer.Get());
        }
        return 1;
    }

    if (m_Editing.IsEditing() && !creature) {
        const int edited = object->Edit();
        return edited ? edited : 1;
    }

    int code = -1;
    if (object->Activate(&code, creature) == Object::kWorldChanged) return Object::kWorldChanged;
    return 1;
}

// ---- The orders that send a creature to a point or a thing

int Play::GiveWalkTo(const Order& order, Player* actor) {
    if (!actor || !order.hasPoint) return 0;
    // The bare holder belongs to its set: it goes once the set is empty.
    auto* point = new ObjectHolder(order.point, nullptr);
    actor->JoinPlayerSet(point);
    if (actor->m_pPlayerSet != point) {
        delete point;  // joining is forbidden just now
        return 0;
    }
    return InteractWith(actor, 0);
}

int Play::GiveInteract(const Order& order, Player* actor) {
    if (ObjectHolder* target = order.target.Get(); actor && target) actor->JoinPlayerSet(target);
    return InteractWith(actor, 0);
}

int Play::GiveUseOn(const Order& order, Player* actor) {
    // The click that picks the target of the use waiting for one.
    if (ObjectHolder* target = order.target.Get(); actor && target) actor->JoinPlayerSet(target);
    const int answer = InteractWith(actor, 0);
    m_bPaused = 0;
    m_Interaction.SetSelectMode(0);
    return answer;
}

int Play::GiveTarget(const Order& order, Player* actor) {
    ObjectHolder* target = order.target.Get();
    if (!actor || !target) return 0;
    actor->JoinPlayerSet(target);
    return 1;
}

int Play::GiveAttack(const Order& order, Player* actor) {
    // In a fight only an outsider with nothing to say is attacked.
    ObjectHolder* target = order.target.Get();
    auto* creature =
        target && target->Type() == PLAYER ? qv::DynamicCast<Player>(target->m_pObject) : nullptr;
    if (!actor || !creature) return 0;
    if (creature->m_strMessageNode != "HELLO" || creature->m_iPartySlot != 0) return 0;
    actor->m_pTarget = creature;
    if (actor->m_pRangedWeapon) return 1;  // it shoots from where it stands
    actor->JoinPlayerSet(target);
    return InteractWith(actor, 0);
}
