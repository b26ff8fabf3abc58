#include "world/ObjectHolder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "platform/Archive.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/MapCreature.h"
#include "world/Object.h"

QV_IMPLEMENT_SERIAL(ObjectHolder, qv::Persistent, 10, true)

void Position::Serialize(qv::Archive& ar) {
    ar.Exchange(x);
    ar.Exchange(y);
    ar.Exchange(z);
}

// ---- the creature's side ----

PlayerSetMember::~PlayerSetMember() {
    LeavePlayerSet();
}

void PlayerSetMember::JoinPlayerSet(ObjectHolder* holder, bool joiningForbidden) {
    if (holder && holder == m_pPlayerSet && !joiningForbidden) {
        // Joining the set it is in: leaving first must not delete a bare
        // target that it goes on heading for.
        holder->RemovePlayer(this);
        holder->AddPlayer(this);
        return;
    }
    LeavePlayerSet();
    if (joiningForbidden || !holder) return;
    holder->AddPlayer(this);
}

void PlayerSetMember::LeavePlayerSet() {
    ObjectHolder* holder = m_pPlayerSet;
    if (!holder) return;
    holder->RemovePlayer(this);
    // A bare walk target lives only while some creature heads for it.
    if (!holder->m_pObject && holder->m_PlayerSet.empty()) delete holder;
}

void PlayerSetMember::ClearPlayerSet() {
    if (m_pPlayerSet) m_pPlayerSet->RemoveAllPlayers();
}

// ---- the holder ----

ObjectHolder::ObjectHolder(const Position& p, Object* object) : pos(p), m_pObject(object) {
    if (m_pObject) m_pObject->m_pHolder = this;
}

ObjectHolder::~ObjectHolder() {
    // The world's hover holder and the map's light and fixture lists are
    // handles and let go by themselves.
    for (PlayerSetMember* p : m_PlayerSet)
        if (p->m_pPlayerSet == this) p->m_pPlayerSet = nullptr;
    if (m_pObject && m_pObject->m_pHolder == this) m_pObject->m_pHolder = nullptr;
    if (MapMaster* map = GetMapMaster()) map->RemoveHolder(pos, this);
}

void ObjectHolder::ForgetObject(const Object* gone) {
    if (!gone || m_pObject != gone) return;
    m_pObject = nullptr;
    MapMaster* map = GetMapMaster();
    const bool placed = map && map->RemoveHolder(pos, this);
    if (placed && m_PlayerSet.empty()) delete this;
}

void DeleteHolderWithObject(ObjectHolder* holder) {
    if (!holder) return;
    if (Object* obj = holder->m_pObject) {
        holder->m_pObject = nullptr;
        if (obj->m_pHolder == holder) obj->m_pHolder = nullptr;
        if (obj->m_bMoveable != 2) obj->DeleteFromMap();
    }
    delete holder;
}

int ObjectHolder::Update(int32_t now, MapMaster* context) {
    return m_pObject ? m_pObject->Update(now, context) : 0;
}

void ObjectHolder::CopySpacing() {
    MapCreature* creature =
        m_pObject && m_pObject->m_iLightSampling < 2 ? AsMapCreature(m_pObject) : nullptr;
    m_uSpacingOf = 0;
    if (!creature) return;
    const ptrdiff_t offset = reinterpret_cast<char*>(creature) - reinterpret_cast<char*>(m_pObject);
    if (offset < 0 || offset > INT32_MAX) return;  // left to be asked of the object
    m_uCreatureOffset = static_cast<uint32_t>(offset);
    m_uSpacingOf = SpacingTag(m_pObject);
}

int ObjectHolder::Type() {
    return m_pObject ? m_pObject->Type() : 0;
}

void ObjectHolder::AddPlayer(PlayerSetMember* creature) {
    if (!creature) return;
    creature->m_pPlayerSet = this;
    m_PlayerSet.push_back(creature);
}

void ObjectHolder::RemovePlayer(PlayerSetMember* creature) {
    if (!creature) return;
    creature->m_pPlayerSet = nullptr;
    auto it = std::find(m_PlayerSet.begin(), m_PlayerSet.end(), creature);
    if (it != m_PlayerSet.end()) m_PlayerSet.erase(it);
}

void ObjectHolder::RemoveAllPlayers() {
    while (!m_PlayerSet.empty()) RemovePlayer(m_PlayerSet.front());
}

namespace {
// x * num / den, truncating toward zero, without overflowing on the way.
int32_t Rescale(int32_t v, int64_t num, int64_t den) {
    return static_cast<int32_t>(static_cast<int64_t>(v) * num / den);
}
int32_t Nudge(int32_t v, int32_t by) {
    return static_cast<int32_t>(static_cast<uint32_t>(v) + static_cast<uint32_t>(by));
}
bool IsA(const qv::Persistent* obj, const char* className) {
    const qv::RuntimeClass* cls = qv::RuntimeClass::Find(className);
    return cls && obj->IsKindOf(cls);
}
}  // namespace

void ObjectHolder::Serialize(qv::Archive& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt(pos.x);
        ar.WriteInt(pos.y);
        ar.WriteObject(m_pObject);
        return;
    }
    const uint32_t s = ar.GetObjectSchema();
    pos.x = ar.ReadInt();
    pos.y = ar.ReadInt();
    if (s == 1) pos.z = 0;
    // The world's cell size changed between the early editors.
    if (s < 3) pos.x = Rescale(pos.x, 140, 67), pos.y = Rescale(pos.y, 100, 47);
    if (s < 4) pos.x = Rescale(pos.x, 165, 140), pos.y = Rescale(pos.y, 104, 100);
    if (s < 5) pos.x = Rescale(pos.x, 160, 165), pos.y = Rescale(pos.y, 96, 104);
    if (s < 6) pos.x = Rescale(pos.x, 165, 160), pos.y = Rescale(pos.y, 104, 96);
    if (s < 8) pos.x = Rescale(pos.x, 160, 165), pos.y = Rescale(pos.y, 112, 104);

    // A group is never placed: it joins the group tree as it is read, and the
    // holder's owner would delete it a second time.
    m_pObject = static_cast<Object*>(ar.ReadObject(&Object::classInfo, &Group::classInfo));
    if (!m_pObject) return;
    // Walls placed by older editors stood a pixel off their grid place.
    const bool frontWall = IsA(m_pObject, "FrontWall");
    const bool peg = IsA(m_pObject, "Peg");
    if (s < 7 && frontWall) pos.x = Nudge(pos.x, 1);
    if (s < 9 && peg) pos.x = Nudge(pos.x, -1);
    if (s < 10 && (peg || frontWall)) pos.x = Nudge(pos.x, 1);
    m_pObject->m_pHolder = this;
}
