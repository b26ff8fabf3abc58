#include "world/Member.h"

#include "platform/Archive.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/World.h"

QV_IMPLEMENT_SERIAL(Member, Object, 7, true)

Member::Member(const std::string& name) : Object(name) {}

Member::~Member() {
    if (m_pGroup) m_pGroup->RemoveMember(this);
}

void Member::DeleteFromMap() {
    // Placed or not, a member is its group's to delete.
    if (m_pGroup)
        Group::DeleteMember(this);
    else
        delete this;
}

int Member::Update(int32_t, MapMaster*) {
    return 0;
}

void Member::SetPosition(MapCell*, Position* pos) {
    if (!pos) return;
    m_Position.x = pos->x;
    m_Position.y = pos->y;
    m_Position.z = 0;
}

double Member::FindOpponents(Member*) {
    return 0.0;
}
double Member::GetMemberValue(int32_t) {
    return 0.0;
}
void Member::MemberNotify(int32_t) {}
int Member::GetHitPoints() {
    return 0;
}
int Member::IsGroup() {
    return 0;
}
double Member::GetMemberTotal() {
    return 0.0;
}

namespace {

// Old records kept positions in smaller units; each step rescales with the
// multiplication first and the division truncating toward zero.
int32_t Rescale(int32_t v, int64_t mul, int64_t div) {
    return static_cast<int32_t>(static_cast<int64_t>(v) * mul / div);
}

}  // namespace

void Member::Serialize(qv::Archive& ar) {
    uint32_t schema = ar.IsLoading() ? ar.GetObjectSchema() : 0;
    ar.SerializeClass(&Object::classInfo);
    Object::Serialize(ar);

    if (ar.IsStoring()) {
        ar.WriteInt(m_iHitPoints);
        ar.WriteInt(m_iMaxHitPoints);
        ar.WriteInt(m_Position.x);  // x and y as one 8-byte block
        ar.WriteInt(m_Position.y);
        ar.WriteInt(m_iAttackMode);
        ar.WriteInt(m_bSubdued);
        ar.WriteInt(m_iMemberData);
        ar.WriteInt(m_iHostileMode);
        ar.WriteInt(m_iGroupNum);
        ar.WriteInt(m_bGrouped);
        return;
    }

    if (schema < 3) {
        ar.ReadInt();
        ar.ReadInt();
        m_iHitPoints = 10;
        m_iMaxHitPoints = 10;
    } else {
        m_iHitPoints = ar.ReadInt();
        m_iMaxHitPoints = ar.ReadInt();
        if (m_iHitPoints > m_iMaxHitPoints) m_iHitPoints = m_iMaxHitPoints;
    }
    m_Position.x = ar.ReadInt();
    m_Position.y = ar.ReadInt();
    if (schema < 2) m_Position.z = 0;
    if (schema < 5) {
        m_Position.x = Rescale(m_Position.x, 160, 67);
        m_Position.y = Rescale(m_Position.y, 100, 47);
    }
    if (schema < 6) {
        m_Position.x = Rescale(m_Position.x, 165, 140);
        m_Position.y = Rescale(m_Position.y, 104, 100);
    }
    if (schema < 7) {
        m_Position.x = Rescale(m_Position.x, 160, 165);
        m_Position.y = Rescale(m_Position.y, 96, 104);
    }
    m_iAttackMode = ar.ReadInt();
    m_bSubdued = ar.ReadInt();
    m_iMemberData = ar.ReadInt();
    m_iHostileMode = ar.ReadInt();
    m_iGroupNum = ar.ReadInt();
    if (schema >= 4) m_bGrouped = ar.ReadInt();

    // A group joins its parent as soon as it is read; creatures are attached by
    // the land that holds them.
    if (Type() != GROUP) return;
    World* world = GetWorld();
    if (!world) return;
    Group* parent = nullptr;
    if (m_iGroupNum >= 0) {
        // An empty slot or a number past the table's end falls back to the root.
        parent = world->GetGroupByNumber(m_iGroupNum);
        if (!parent) parent = world->m_pAllGroups;
    } else if (m_iGroupNum < -1) {
        parent = world->m_pRandomEncounters;
    } else if (!m_bGrouped) {
        parent = world->m_pAllGroups;
    }
    if (!parent) return;
    RefuseDeepGroup(ar, parent);
    parent->AddMember(this);
}
