#include "items/Bag.h"

#include <algorithm>

#include "platform/Archive.h"
#include "world/Global.h"
#include "world/Group.h"

QV_IMPLEMENT_SERIAL(CBag, Object, 2, true)

CBag::CBag(const std::string& name) : Object(name) {
    m_bMoveable = 1;
    m_iWeight = 8;
    m_iLightSampling = 1;
}

CBag::~CBag() = default;

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
    m_ItemList.clear();
    size_t n = ar.ReadCount();
    for (size_t i = 0; i < n; ++i) {
        std::unique_ptr<Object> item(ReadObjectOutsideGroups<Object>(ar));
        if (item) m_ItemList.push_back(std::move(item));
    }
    m_iItemCount = ar.ReadInt();
    if (schema > 1) m_iBagKind = ar.ReadInt();
    // The count is kept apart from the list; a file whose count disagrees
    // with what it holds would upset every capacity test.
    if (m_iItemCount != static_cast<int32_t>(m_ItemList.size()))
        m_iItemCount = static_cast<int32_t>(m_ItemList.size());
    for (const auto& item : m_ItemList)
        if (item->Type() == BAG) static_cast<CBag*>(item.get())->m_pParent = this;
}

Object* CBag::Clone() {
    Object* copy = Object::Clone();
    if (copy && copy->Type() == BAG) static_cast<CBag*>(copy)->CopyItemsFrom(*this);
    return copy;
}

void CBag::AddItem(Object* item) {
    bool taken[20] = {};
    for (const auto& e : m_ItemList)
        if (e->m_iSpare2 >= 0 && e->m_iSpare2 < 20) taken[e->m_iSpare2] = true;
    int iNewInvNum = -1;
    for (int i = 0; i < 20; ++i) {
        if (!taken[i]) {
            iNewInvNum = i;
            break;
        }
    }
    // Old records can fill every number; on Retry the item goes in numberless.
    QV_CHECK(iNewInvNum >= 0);
    item->m_iSpare2 = iNewInvNum;
    if (item->Type() == BAG) static_cast<CBag*>(item)->m_pParent = this;
    m_ItemList.emplace_back(item);
}

namespace {

// A bag taken out of another no longer names it.
void LeaveParent(Object* item) {
    if (item->Type() == BAG) static_cast<CBag*>(item)->m_pParent = nullptr;
}

}  // namespace

bool CBag::Contains(const Object* item) const {
    for (const auto& e : m_ItemList) {
        if (e.get() == item) return true;
        if (e->Type() == BAG && static_cast<const CBag*>(e.get())->Contains(item)) return true;
    }
    return false;
}

Object* CBag::DetachItem(Object* item) {
    auto it = std::find_if(m_ItemList.begin(), m_ItemList.end(),
                           [item](const auto& e) { return e.get() == item; });
    if (it == m_ItemList.end()) return nullptr;
    it->release();
    m_ItemList.erase(it);
    LeaveParent(item);
    return item;
}

std::vector<Object*> CBag::DetachAll() {
    std::vector<Object*> out;
    out.reserve(m_ItemList.size());
    for (auto& e : m_ItemList) {
        out.push_back(e.release());
        LeaveParent(out.back());
    }
    m_ItemList.clear();
    m_iItemCount = 0;
    return out;
}

void CBag::CopyItemsFrom(const CBag& other) {
    for (const auto& item : other.m_ItemList) {
        if (Object* copy = item->Clone()) {
            AddItem(copy);
            ++m_iItemCount;
        }
    }
}
