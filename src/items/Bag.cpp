#include "items/Bag.h"

#include <algorithm>
#include <climits>

#include "items/ItemPictures.h"
#include "items/Useable.h"
#include "media/DDObjects.h"
#include "media/Resources.h"
#include "platform/Archive.h"
#include "world/Global.h"
#include "world/Group.h"

QV_IMPLEMENT_SERIAL(CBag, Object, 2, true)

namespace {

CDDObject& BagImage() {
    static const size_t listFirst = CDDObject::GlobalImageCount();
    (void)listFirst;
    static CDDObject image;
    return image;
}

const ItemLook kBagLook{kBitmapItemGround + kItemBag, 32, 24, 16, 16, 1, 1, 4};

CBag* AsBag(Object* o) {
    return o && o->Type() == BAG ? static_cast<CBag*>(o) : nullptr;
}

// A stack count grown or shrunk by another, held within the integer range.
int ClampedBulk(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX));
}

// The kinds of bag, 0 to 10: plain, a revived human's and dog's, a corpse's,
// a chest's, a barrel's, a coffin's, the four spell books.
constexpr int32_t kLastBagKind = 10;

bool IsBagKind(int32_t kind) {
    return kind >= 0 && kind <= kLastBagKind;
}

}  // namespace

CBag::CBag(const std::string& name) : Object(name) {
    m_bMoveable = 1;
    m_iWeight = 8;
    m_iLightSampling = 1;
    DressItem(*this, BagImage(), kBagLook);
    ComputeRoom();
}

CBag::~CBag() = default;

// ---- Bookkeeping

void CBag::Bump(const std::string& key, int32_t delta) {
    for (CBag* b = this; b; b = b->m_pParent) {
        auto it = b->m_Kinds.find(key);
        if (it == b->m_Kinds.end()) {
            if (delta > 0) b->m_Kinds.emplace(key, delta);
            continue;
        }
        it->second += delta;
        if (it->second <= 0) b->m_Kinds.erase(it);
    }
}

void CBag::BumpMoney(int32_t delta) {
    for (CBag* b = this; b; b = b->m_pParent) b->m_iMoney += delta;
}

void CBag::ComputeRoom() {
    m_pFirstRoom = nullptr;
    m_pLastRoom = nullptr;
    if (HasRoom()) {
        m_pFirstRoom = m_pLastRoom = this;
        return;
    }
    for (CBag* c : m_Bags)
        if (c->m_pFirstRoom) {
            m_pFirstRoom = c->m_pFirstRoom;
            break;
        }
    for (auto it = m_Bags.rbegin(); it != m_Bags.rend(); ++it)
        if ((*it)->m_pLastRoom) {
            m_pLastRoom = (*it)->m_pLastRoom;
            break;
        }
}

void CBag::RefreshRoom() {
    for (CBag* b = this; b; b = b->m_pParent) b->ComputeRoom();
}

void CBag::Enter(Object* entry) {
    if (CBag* inner = AsBag(entry)) {
        inner->m_pParent = this;
        m_Bags.push_back(inner);
        for (CBag* b = this; b; b = b->m_pParent) {
            for (const auto& [key, n] : inner->m_Kinds) b->m_Kinds[key] += n;
            b->m_iMoney += inner->m_iMoney;
        }
        RefreshRoom();
        return;
    }
    m_Keys[entry] = entry->m_strSpecialName;
    Bump(entry->m_strSpecialName, 1);
    if (entry->Type() == MONEY) BumpMoney(1);
}

void CBag::Leave(Object* entry) {
    if (CBag* inner = AsBag(entry)) {
        for (CBag* b = this; b; b = b->m_pParent) {
            for (const auto& [key, n] : inner->m_Kinds) {
                auto it = b->m_Kinds.find(key);
                if (it == b->m_Kinds.end()) continue;
                it->second -= n;
                if (it->second <= 0) b->m_Kinds.erase(it);
            }
            b->m_iMoney -= inner->m_iMoney;
        }
        std::erase(m_Bags, inner);
        inner->m_pParent = nullptr;
        RefreshRoom();
        return;
    }
    auto it = m_Keys.find(entry);
    if (it != m_Keys.end()) {
        Bump(it->second, -1);
        m_Keys.erase(it);
    }
    if (entry->Type() == MONEY) BumpMoney(-1);
}

std::unique_ptr<Object> CBag::TakeAt(size_t index) {
    std::unique_ptr<Object> out = std::move(m_ItemList[index]);
    m_ItemList.erase(m_ItemList.begin() + static_cast<std::ptrdiff_t>(index));
    Leave(out.get());
    return out;
}

void CBag::SetItemCount(int32_t count) {
    m_iItemCount = count;
    RefreshRoom();
}

CBag* CBag::Root() {
    CBag* root = this;
    while (root->m_pParent) root = root->m_pParent;
    return root;
}

bool CBag::WouldHoldItself(const Object* item) const {
    for (const CBag* b = this; b; b = b->m_pParent)
        if (b == item) return true;
    return false;
}

// ---- The stored record

void CBag::Serialize(qv::Archive& ar) {
    uint32_t schema = ar.IsLoading() ? ar.GetObjectSchema() : 0;
    ar.SerializeClass(&Object::classInfo);
    Object::Serialize(ar);
    if (ar.IsStoring()) {
        ar.WriteCount(m_ItemList.size());
        for (const auto& item : m_ItemList) ar.WriteObject(item.get());
        ar.WriteInt(m_iItemCount);
        ar.WriteInt(m_iBagKind);
        return;
    }
    for (Object* old : DetachAll()) delete old;
    size_t n = ar.ReadCount();
    for (size_t i = 0; i < n; ++i) {
        std::unique_ptr<Object> item(ReadObjectOutsideGroups<Object>(ar));
        if (!item) continue;
        if (WouldHoldItself(item.get())) {
            item.release();  // the bag itself: the archive's to delete
            ar.Fail(qv::ArchiveError::BadIndex, "a bag listed inside itself");
        }
        m_ItemList.push_back(std::move(item));
        Enter(m_ItemList.back().get());
    }
    m_iItemCount = ar.ReadInt();
    if (schema > 1) m_iBagKind = ar.ReadInt();
    // The count is kept apart from the list; a file whose count disagrees
    // with what it holds would upset every capacity test.
    if (m_iItemCount != static_cast<int32_t>(m_ItemList.size()))
        m_iItemCount = static_cast<int32_t>(m_ItemList.size());
    // A kind no bag has is a plain bag.
    if (!IsBagKind(m_iBagKind)) m_iBagKind = 0;
    // Every entry keeps its place when it is one of 0..19 that no earlier
    // entry has; any other takes the lowest free one (none left: -1).
    bool taken[kSlots] = {};
    std::vector<Object*> homeless;
    for (const auto& e : m_ItemList) {
        const int slot = e->m_iSpare2;
        if (slot >= 0 && slot < kSlots && !taken[slot])
            taken[slot] = true;
        else
            homeless.push_back(e.get());
    }
    for (Object* e : homeless) {
        auto free = std::find(std::begin(taken), std::end(taken), false);
        e->m_iSpare2 = free == std::end(taken) ? -1 : static_cast<int>(free - std::begin(taken));
        if (free != std::end(taken)) *free = true;
    }
    RefreshRoom();
}

CDDObject* CBag::GetImage() {
    return InventoryPicture(kBitmapItemInventory + kItemBag, 36, 33);
}

void CBag::GetImageFrame(int* x, int* y) {
    if (x && *x >= 0) *x = 0;
    if (y && *y >= 0) *y = 0;
}

Object* CBag::Clone() {
    Object* copy = Object::Clone();
    if (CBag* bag = AsBag(copy)) {
        CopyObjectFields(*bag, *this);
        bag->m_iBagKind = m_iBagKind;
        bag->CopyItemsFrom(*this);
    }
    return copy;
}

// ---- Entries in and out

void CBag::AddItem(Object* item) {
    bool taken[kSlots] = {};
    for (const auto& e : m_ItemList)
        if (e->m_iSpare2 >= 0 && e->m_iSpare2 < kSlots) taken[e->m_iSpare2] = true;
    int iNewInvNum = -1;
    for (int i = 0; i < kSlots; ++i) {
        if (!taken[i]) {
            iNewInvNum = i;
            break;
        }
    }
    // Old records can fill every number; on Retry the item goes in numberless.
    QV_CHECK(iNewInvNum >= 0);
    item->m_iSpare2 = iNewInvNum;
    m_ItemList.emplace_back(item);
    Enter(item);
}

Object* CBag::DetachItem(Object* item) {
    for (size_t i = 0; i < m_ItemList.size(); ++i)
        if (m_ItemList[i].get() == item) return TakeAt(i).release();
    return nullptr;
}

std::vector<Object*> CBag::DetachAll() {
    std::vector<Object*> out;
    out.reserve(m_ItemList.size());
    while (!m_ItemList.empty()) out.push_back(TakeAt(0).release());
    SetItemCount(0);
    return out;
}

void CBag::CopyItemsFrom(const CBag& other) {
    int32_t added = 0;
    for (const auto& item : other.m_ItemList) {
        if (Object* copy = item->Clone()) {
            AddItem(copy);
            ++added;
        }
    }
    SetItemCount(m_iItemCount + added);
}

// ---- Putting in

int CBag::PutItem(Object* item, int top) {
    // A bag never goes into itself or into a bag inside it, nor a bag that
    // lies in a bag already; and an entry is never listed twice.
    if (!item || WouldHoldItself(item)) return 0;
    if (CBag* inner = AsBag(item); inner && inner->m_pParent) return 0;
    for (const auto& e : m_ItemList)
        if (e.get() == item) return 0;
    PutContext ctx;
    return Put(item, top, ctx);
}

int CBag::Put(Object* item, int top, PutContext& ctx) {
    if (item->m_bStackable) return PutStackable(item, top, ctx);
    if (HasRoom()) {
        AddItem(item);
        SetItemCount(m_iItemCount + 1);
        if (CBag* inner = AsBag(item)) inner->MergeIntoRoot(this);
        return 1;
    }
    // The first bag inside, in search order, that has room.
    for (CBag* c : m_Bags)
        if (c->m_pFirstRoom && c->Put(item, 0, ctx)) return 1;
    return 0;
}

int CBag::PutStackable(Object* item, int top, PutContext& ctx) {
    // 1. A stack of its kind here: the two become one, in the old stack's place.
    for (size_t i = 0; i < m_ItemList.size(); ++i) {
        Object* e = m_ItemList[i].get();
        if (e == item || AsBag(e) || !e->IsSameKind(item)) continue;
        item->m_iBulkNum = ClampedBulk(int64_t{item->m_iBulkNum} + e->m_iBulkNum);
        const int slot = e->m_iSpare2;
        std::unique_ptr<Object> old = TakeAt(i);
        m_ItemList.emplace_back(item);
        Enter(item);
        item->m_iSpare2 = slot;
        return 2;
    }
    // 2. A bag inside: searched where it may hold the kind; elsewhere only
    // its room is noted, as a search through it would.
    const std::string& key = item->m_strSpecialName;
    for (CBag* c : m_Bags) {
        if (c->MayHoldKind(key)) {
            if (c->Put(item, 0, ctx)) return 1;
        } else if (c->m_pLastRoom) {
            ctx.room = c->m_pLastRoom;
        }
    }
    // 3. The bag holding this one, once a call.
    if (m_pParent && top && !ctx.parentTried) {
        ctx.parentTried = true;
        if (m_pParent->Put(item, 0, ctx)) return 1;
    }
    if (top) {
        // 4. Here, else in the last bag with room the search met.
        CBag* into = HasRoom() ? this : ctx.room;
        if (!into) return 0;
        into->AddItem(item);
        into->SetItemCount(into->m_iItemCount + 1);
        return 1;
    }
    // 5. A nested search notes this bag when it has room.
    if (HasRoom()) ctx.room = this;
    return 0;
}

void CBag::MergeIntoRoot(CBag* container) {
    if (!container) return;
    CBag* root = container->Root();
    for (size_t i = 0; i < m_ItemList.size(); ++i) {
        Object* e = m_ItemList[i].get();
        if (AsBag(e)) continue;  // a bag is never merged away with what it holds
        Object* stack = root->FindStackable(e);
        if (!stack) continue;
        stack->m_iBulkNum = ClampedBulk(int64_t{stack->m_iBulkNum} + e->m_iBulkNum);
        TakeAt(i);  // deleted here
        SetItemCount(m_iItemCount - 1);
        return;
    }
}

// ---- Taking out

int CBag::RemoveItem(Object* item, int amount, std::unique_ptr<Object>* taken) {
    if (!item) return 0;
    size_t index = m_ItemList.size();
    for (size_t i = 0; i < m_ItemList.size(); ++i)
        if (m_ItemList[i].get() == item) {
            index = i;
            break;
        }
    if (index == m_ItemList.size()) {
        for (CBag* c : m_Bags)
            if (c->RemoveItem(item, amount, taken)) return 1;
        return 0;
    }
    if (amount < item->m_iBulkNum) {
        if (item->m_bStackable && item->m_iBulkNum >= 2)
            item->m_iBulkNum = ClampedBulk(int64_t{item->m_iBulkNum} - amount);
        return 1;
    }
    std::unique_ptr<Object> out = TakeAt(index);
    SetItemCount(m_iItemCount - 1);
    // A whole stack taken out is left with nothing (callers delete it after
    // a merge elsewhere).
    if (item->m_bStackable && item->m_iBulkNum >= 2)
        item->m_iBulkNum = ClampedBulk(int64_t{item->m_iBulkNum} - amount);
    if (taken) *taken = std::move(out);
    return 1;
}

// ---- Questions

int CBag::CanHold(Object* item) {
    if (!item || WouldHoldItself(item)) return 0;
    if (CBag* inner = AsBag(item); inner && inner->m_pParent) return 0;
    bool innerRoom = false;
    for (CBag* c : m_Bags)
        if (c->m_pFirstRoom) {
            innerRoom = true;
            break;
        }
    if (!item->m_bStackable) return HasRoom() || innerRoom ? 1 : 0;
    if (MayHoldKind(item->m_strSpecialName)) return 1;
    return innerRoom || HasRoom() ? 1 : 0;
}

bool CBag::Contains(const Object* item) const {
    if (!item) return false;
    for (const auto& e : m_ItemList)
        if (e.get() == item) return true;
    for (const CBag* c : m_Bags)
        if (c->Contains(item)) return true;
    return false;
}

Object* CBag::FindStackable(Object* item) {
    if (!item || !item->m_bStackable) return nullptr;
    return FindKind(item, item->m_strSpecialName);
}

Object* CBag::FindKind(Object* item, const std::string& key) {
    if (!MayHoldKind(key)) return nullptr;
    for (const auto& e : m_ItemList) {
        if (CBag* inner = AsBag(e.get())) {
            if (Object* found = inner->FindKind(item, key)) return found;
            continue;
        }
        if (e.get() != item && e->IsSameKind(item)) return e.get();
    }
    return nullptr;
}

Object* CBag::FindMoney() {
    if (m_iMoney <= 0) return nullptr;
    for (const auto& e : m_ItemList)
        if (!AsBag(e.get()) && e->Type() == MONEY) return e.get();
    for (CBag* c : m_Bags)
        if (c->m_iMoney > 0)
            if (Object* money = c->FindMoney()) return money;
    return nullptr;
}

void CBag::CollectItems(std::vector<Object*>& list) const {
    for (const auto& e : m_ItemList) {
        if (const CBag* inner = AsBag(e.get()))
            inner->CollectItems(list);
        else
            list.push_back(e.get());
    }
}
