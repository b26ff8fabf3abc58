// A creature's things: its bag, what it has in use, the armour it wears and
// the weapons it readies, and the body slots that say what holds which place
// on its body. Nothing taken off is ever lost: it goes into the bag, else to
// the ground at the creature's feet, else (off the map) the change is refused
// or, as a last resort, the bag takes it beyond its room.

#include <algorithm>

#include "creatures/Player.h"
#include "items/Armour.h"
#include "items/Bag.h"
#include "items/Weapon.h"
#include "media/DDWnd.h"
#include "world/Global.h"
#include "world/Map.h"
#include "world/ObjectHolder.h"

namespace {

// A carried light answers this kind; it burns out when put down.
constexpr int kCarriedLightKind = 2;
// The weapon and armour kinds of GetUseableKind.
constexpr int kWeaponKind = UseableKind::Weapon;
constexpr int kArmourKind = UseableKind::Armour;

bool IsCarriedLight(Object* o) {
    return o && o->GetLightSource() == o;
}

Useable* AsUseable(Object* o) {
    return o && o->Type() == USEABLE ? qv::DynamicCast<Useable>(o) : nullptr;
}

int UseableKindOf(Object* o) {
    Useable* u = AsUseable(o);
    return u ? u->GetUseableKind() : 0;
}

// Things usable from the list carry a mark in the word before their state.
bool UsableFromList(const Object* o) {
    return o && o->m_iSpare1 != 0;
}

}  // namespace

bool Player::IsNaturalItem(Object* object) {
    if (!object) return false;
    // Only what is meant to be part of a body: every named kind of armour
    // (rings too) and every weapon of a class of its own is an ordinary
    // thing that goes into a bag and is stored with the creature.
    if (qv::DynamicCast<IntrinsicWeapon>(object)) return true;
    if (qv::DynamicCast<IntrinsicArmour>(object)) return true;
    return object->GetRuntimeClass() == &Armour::classInfo;
}

Object* Player::NaturalMeleeWeapon() const {
    auto* weapon = qv::DynamicCast<Weapon>(m_pNaturalWeapon.get());
    return weapon && !weapon->IsRanged() ? weapon : nullptr;
}

bool Player::Owns(const Object* object) const {
    if (!object) return false;
    if (m_pNaturalWeapon.get() == object) return true;
    for (const auto& o : m_InUseList)
        if (o.get() == object) return true;
    for (const auto& o : m_NaturalItems)
        if (o.get() == object) return true;
    return m_pBag && m_pBag->Contains(object);
}

std::unique_ptr<Object> Player::TakeFromInUse(Object* object) {
    for (auto it = m_InUseList.begin(); it != m_InUseList.end(); ++it)
        if (it->get() == object) {
            std::unique_ptr<Object> out = std::move(*it);
            m_InUseList.erase(it);
            return out;
        }
    return nullptr;
}

std::unique_ptr<Object> Player::TakeOwnership(Object* object) {
    if (!object) return nullptr;
    if (std::unique_ptr<Object> out = TakeFromInUse(object)) return out;
    if (m_pNaturalWeapon.get() == object) return std::move(m_pNaturalWeapon);
    for (auto it = m_NaturalItems.begin(); it != m_NaturalItems.end(); ++it)
        if (it->get() == object) {
            std::unique_ptr<Object> out = std::move(*it);
            m_NaturalItems.erase(it);
            return out;
        }
    if (m_pBag && m_pBag->Contains(object)) {
        // The whole entry leaves: a stack keeps its count.
        const int count = object->m_iBulkNum;
        std::unique_ptr<Object> out = RemoveFromBag(object, count);
        if (out) out->m_iBulkNum = count;
        return out;
    }
    return std::unique_ptr<Object>(object);
}

void Player::PlaceAnew() {
    MapMaster* map = GetMapMaster();
    ObjectHolder* holder = m_pHolder;
    if (!map || !holder) return;
    Position at = holder->pos;
    ObjectIgnoreList self{this};
    map->MoveHolder(holder->pos, at, holder, &self);
}

bool Player::DropAtFeet(std::unique_ptr<Object>& object) {
    MapMaster* map = GetMapMaster();
    if (!object || !map || !m_pHolder) return false;
    Object* o = object.get();
    ObjectHolder* before = o->m_pHolder;
    auto* holder = new ObjectHolder(m_pHolder->pos, o);
    Position at = m_pHolder->pos;
    ObjectIgnoreList self{this};
    if (!map->AddHolder(at, holder, &self)) {
        holder->m_pObject = nullptr;
        delete holder;
        o->m_pHolder = before;
        return false;
    }
    o->m_iSpare2 = -1;
    object.release();  // the map has it now
    return true;
}

bool Player::HasPlaceFor(Object* object) {
    if (!object || IsNaturalItem(object) || IsCarriedLight(object)) return true;
    if (m_pHolder && GetMapMaster()) return true;
    return m_pBag && m_pBag->CanHold(object);
}

void Player::PutAway(std::unique_ptr<Object> object) {
    if (!object) return;
    Object* o = object.get();
    if (IsNaturalItem(o)) {
        if (qv::DynamicCast<IntrinsicWeapon>(o) && !m_pNaturalWeapon)
            m_pNaturalWeapon = std::move(object);
        else
            m_NaturalItems.push_back(std::move(object));
        return;
    }
    if (!m_pBag) m_pBag = std::make_unique<CBag>("Bag");
    if (m_pBag->PutItem(o, 1)) {
        object.release();
    } else if (!DropAtFeet(object)) {
        // Off the map with a full bag: the bag takes it all the same.
        m_pBag->AddItem(object.release());
        m_pBag->SetItemCount(m_pBag->ItemCount() + 1);
    }
    RecomputeLoad();
}

// ---- Putting on

int Player::EquipObject(Object* object) {
    if (!object) return 0;
    // A stack readies one of its kind; the rest stays where it lies.
    if (object->m_bStackable && object->m_iBulkNum > 1 && Owns(object)) {
        Object* one = object->Clone();
        if (!one) return 0;
        one->m_iBulkNum = 1;
        object->m_iBulkNum -= 1;
        if (EquipObject(one)) return 1;
        // Refused: it joins its stack again.
        if (!Owns(one)) {
            object->m_iBulkNum += 1;
            delete one;
        }
        return 0;
    }

    // A light is readied in hand.
    if (IsCarriedLight(object)) return ReadyInHand(object);

    if (object->Type() == USEABLE) {
        if (object->GetUsePrompt(this, 1) != 0) {
            RecomputeLoad();
            if (!Owns(object)) PutAway(std::unique_ptr<Object>(object));
            return 0;
        }
        RecomputeLoad();
        // What it would displace must find a place first.
        if (auto* u = AsUseable(object)) {
            for (const ItemUse& need : u->m_LocationList)
                for (ItemUse& slot : m_BodySlotList)
                    if (slot.m_iLocation == need.m_iLocation) {
                        Object* occupant = slot.m_pOccupant.Get();
                        if (slot.m_bOccupied && occupant && occupant != object &&
                            !HasPlaceFor(occupant)) {
                            if (!Owns(object)) PutAway(std::unique_ptr<Object>(object));
                            return 0;
                        }
                        break;
                    }
        }
        WearOwned(TakeOwnership(object));
        return 1;
    }

    // Anything else: its prompt tells whether it was used up.
    const int used = object->GetUsePrompt(this, 1);
    if (used == 1) {
        TakeOwnership(object).reset();
    } else {
        if (used == 0) AssertFailed(__LINE__, __FILE__, "FALSE");
        if (!Owns(object)) PutAway(std::unique_ptr<Object>(object));
    }
    RecomputeLoad();
    return used == 1 ? 1 : 0;
}

void Player::EquipStored(Object* object) {
    if (!object) return;
    if (object->Type() == USEABLE || IsCarriedLight(object)) {
        EquipObject(object);
        return;
    }
    // Only usable things are put in use; anything else is carried.
    PutAway(std::unique_ptr<Object>(object));
}

int Player::ReadyInHand(Object* light) {
    Object* held = GetHeldItem();
    if (held && held != m_pNaturalWeapon.get() && held != light) {
        if (!IsCarriedLight(held) && !HasPlaceFor(held)) {
            if (!Owns(light)) PutAway(std::unique_ptr<Object>(light));
            return 0;
        }
        int down = 0;
        held->Activate(&down, this);
        std::unique_ptr<Object> old = TakeFromInUse(held);
        m_pWeapon = nullptr;
        if (held->GetKind() == kCarriedLightKind) {
            m_iLight = 0;  // used up
        } else {
            PutAway(std::move(old));
        }
    }
    std::unique_ptr<Object> owned = TakeOwnership(light);
    m_InUseList.push_back(std::move(owned));
    m_pWeapon = light;
    int up = 1;
    light->Activate(&up, this);
    PlaceAnew();
    RecomputeLoad();
    return 1;
}

void Player::WearObject(Object* object) {
    if (!object) return;
    WearOwned(TakeOwnership(object));
}

void Player::WearOwned(std::unique_ptr<Object> owned) {
    Object* o = owned.get();
    if (!o) return;
    // 1. Each place it needs: whatever holds it now comes off.
    if (auto* u = AsUseable(o)) {
        for (const ItemUse& need : u->m_LocationList) {
            auto slot =
                std::find_if(m_BodySlotList.begin(), m_BodySlotList.end(),
                             [&](const ItemUse& s) { return s.m_iLocation == need.m_iLocation; });
            if (slot == m_BodySlotList.end()) continue;
            Object* occupant = slot->m_pOccupant.Get();
            if (slot->m_bOccupied && occupant && occupant != o) {
                int ignored = 0;
                PutAway(TakeOff(occupant, 1, &ignored));
            }
            slot->m_bOccupied = 1;
            slot->m_pOccupant = o;
        }
    }
    // 2. Where it is kept and what it becomes.
    const bool natural = IsNaturalItem(o);
    const int kind = UseableKindOf(o);
    if (kind == kArmourKind) {
        if (natural)
            m_NaturalItems.push_back(std::move(owned));
        else
            m_InUseList.push_back(std::move(owned));
        AddWorn(o);
    } else if (kind == kWeaponKind) {
        auto* weapon = static_cast<Weapon*>(o);
        if (weapon->IsRanged())
            m_pRangedWeapon = o;
        else
            m_pMeleeWeapon = o;
        if (!natural) {
            m_InUseList.push_back(std::move(owned));
        } else if (m_pNaturalWeapon.get() != o) {
            if (m_pNaturalWeapon) m_NaturalItems.push_back(std::move(m_pNaturalWeapon));
            m_pNaturalWeapon = std::move(owned);
        }
    } else {
        m_InUseList.push_back(std::move(owned));
    }
    // 3. The load, and what it can be used for from the list.
    RecomputeLoad();
    if (UsableFromList(o) && std::none_of(m_UsableList.begin(), m_UsableList.end(),
                                          [o](const auto& h) { return h == o; }))
        m_UsableList.emplace_back(o);
    RecomputeLoad();
}

// ---- Taking off

std::unique_ptr<Object> Player::ReleaseBodySlots(Object* object) {
    if (!object) return nullptr;
    if (UseableKindOf(object) == kWeaponKind) NotifyWeaponRemoved();
    for (ItemUse& slot : m_BodySlotList)
        if (slot.m_bOccupied && slot.m_pOccupant == object) {
            slot.m_bOccupied = 0;
            slot.m_pOccupant = nullptr;
        }
    std::unique_ptr<Object> out = TakeFromInUse(object);
    if (UseableKindOf(object) == kArmourKind)
        std::erase_if(m_WornList, [object](const auto& h) { return !h || h == object; });
    RecomputeLoad();
    return out;
}

std::unique_ptr<Object> Player::TakeOff(Object* object, int, int* result) {
    *result = 0;
    if (!object) return nullptr;
    if (object == GetWeapon()) {
        int down = 0;
        object->Activate(&down, this);
        std::unique_ptr<Object> out = TakeFromInUse(object);
        const bool inHand = m_pWeapon == object;
        if (inHand) m_pWeapon = nullptr;
        PlaceAnew();
        if (inHand && object->GetKind() == kCarriedLightKind) {
            m_iLight = 0;  // burnt out: it goes
            out.reset();
            RecomputeLoad();
            return nullptr;
        }
        RecomputeLoad();
        *result = 1;
        return out;
    }
    if (!QV_CHECK_TEXT(object->Type() == USEABLE, "ob->Type() == USEABLE")) return nullptr;
    std::unique_ptr<Object> out = ReleaseBodySlots(object);
    // Whatever field names it lets go, so that none is left to dangle; the
    // creature fights on with its natural weapon.
    if (m_pMeleeWeapon == object) m_pMeleeWeapon = NaturalMeleeWeapon();
    if (m_pRangedWeapon == object) m_pRangedWeapon = nullptr;
    if (m_pWeapon == object) m_pWeapon = nullptr;
    if (!out) out = TakeFromInUse(object);
    RecomputeLoad();
    std::erase_if(m_UsableList, [object](const auto& h) { return !h || h == object; });
    *result = 1;
    return out;
}

int Player::UnequipObject(Object* object, int flag) {
    if (!object) return 0;
    const bool inUse = std::any_of(m_InUseList.begin(), m_InUseList.end(),
                                   [object](const auto& o) { return o.get() == object; });
    const bool burnsOut = object == m_pWeapon && object->GetKind() == kCarriedLightKind;
    if (inUse && !burnsOut && !HasPlaceFor(object)) return 0;
    int result = 0;
    PutAway(TakeOff(object, flag, &result));
    return result;
}

void Player::AddWorn(Object* armour) {
    if (armour && std::none_of(m_WornList.begin(), m_WornList.end(),
                               [armour](const auto& h) { return h == armour; }))
        m_WornList.emplace_back(armour);
    RecomputeLoad();
}

void Player::RemoveWorn(Object* object) {
    if (!object) return;
    if (object->Type() != USEABLE)
        std::erase_if(m_WornList, [object](const auto& h) { return !h || h == object; });
    else
        PutAway(ReleaseBodySlots(object));
    RecomputeLoad();
}

// ---- Checks

Player::UseCheck Player::CheckCanUse(Object* object, int mode) {
    UseCheck r;
    if (!object) {
        r.code = 2;
        return r;
    }
    r.code = object->GetUseRange(this).first;
    Useable* u = AsUseable(object);
    if (r.code != 0 || !u) return r;
    Object* replace = nullptr;
    bool fits = true;
    for (const ItemUse& need : u->m_LocationList) {
        bool found = false;
        for (ItemUse& slot : m_BodySlotList) {
            if (slot.m_iLocation != need.m_iLocation || slot.m_bChecked) continue;
            if (!slot.m_bOccupied || mode == 2) {
                slot.m_bChecked = 1;
                found = true;
                break;
            }
            replace = slot.m_pOccupant.Get();
        }
        if (!found) {
            fits = false;
            break;
        }
    }
    for (ItemUse& slot : m_BodySlotList) slot.m_bChecked = 0;
    if (!fits) {
        r.code = replace ? 1 : 2;
        r.object = replace;
        r.message = m_strSpecialName + " cannot use " + object->GetDisplayName() + ".";
        return r;
    }
    if (u->GetUseableKind() == kArmourKind) return CheckWearSlots(object, 0);
    return r;
}

Player::UseCheck Player::CheckWearSlots(Object* armour, int flag) {
    UseCheck r;
    auto* a = qv::DynamicCast<Armour>(armour);
    if (!a) {
        r.code = 2;
        return r;
    }
    const int32_t location = a->GetLocation();
    constexpr int32_t kAnyBody = 2;  // a shield fits every body
    const bool fits = location == kAnyBody || std::find(m_TraitList.begin(), m_TraitList.end(),
                                                        location) != m_TraitList.end();
    if (!fits && flag == 0) {
        r.code = 2;
        return r;
    }
    for (const auto& h : m_WornList) {
        auto* worn = qv::DynamicCast<Armour>(h.Get());
        if (worn && (worn->GetLocation() == 1 || worn->GetLocation() == location)) {
            r.code = 1;
            r.object = worn;
            return r;
        }
    }
    return r;
}

// ---- The bag

void Player::AddToBag(Object* object, int) {
    if (!object) return;
    // A carried light put away burns out.
    if (IsCarriedLight(object) && object->GetKind() == kCarriedLightKind) {
        m_iLight = 0;
        if (m_pWeapon == object) m_pWeapon = nullptr;
        TakeOwnership(object).reset();
        RecomputeLoad();
        return;
    }
    // The natural weapon and armour are part of the body.
    if (IsNaturalItem(object)) {
        if (!Owns(object)) PutAway(std::unique_ptr<Object>(object));
        return;
    }
    if (!QV_CHECK_TEXT(m_pBag != nullptr, "m_pBag != NULL")) return;
    if (m_pBag->Contains(object)) return;
    PutAway(TakeOwnership(object));
    if (!m_pBag->Contains(object)) return;  // it went to the ground
    if (UsableFromList(object) && CheckCanUse(object, 2).code == 0) {
        std::erase_if(m_UsableList, [](const auto& h) { return !h; });
        const bool listed = std::any_of(m_UsableList.begin(), m_UsableList.end(),
                                        [object](const auto& h) { return h == object; });
        if (QV_CHECK_TEXT(!listed, "pos1 == NULL")) m_UsableList.emplace_back(object);
    }
}

std::unique_ptr<Object> Player::RemoveFromBag(Object* object, int amount) {
    if (!object || !m_pBag) return nullptr;
    std::unique_ptr<Object> taken;
    m_pBag->RemoveItem(object, amount, &taken);
    RecomputeLoad();
    if (UsableFromList(object) && !m_pBag->Contains(object))
        std::erase_if(m_UsableList, [object](const auto& h) { return !h || h == object; });
    RecomputeLoad();
    return taken;
}

void Player::GetBagContents(std::vector<Object*>& list) const {
    if (m_pBag) m_pBag->CollectItems(list);
}

Object* Player::FindMoney() const {
    return m_pBag ? m_pBag->FindMoney() : nullptr;
}

int Player::AskTakeAmount(Object* object, int amount) {
    if (!object || !m_pBag) return 0;
    int count = amount > 0 ? amount : 1;
    if (amount <= 0 && object->m_iBulkNum > 1) {
        int offered = object->m_iBulkNum;
        CQuantityWnd ask(&offered);
        count = ask.Popup() == 1 ? std::clamp(ask.m_iAmount, 0, object->m_iBulkNum) : 0;
    }
    if (count <= 0) return 0;
    return m_pBag->CanHold(object) ? count : -1;
}
