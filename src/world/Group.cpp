#include "world/Group.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>

#include "platform/Archive.h"
#include "platform/Saturate.h"
#include "world/Global.h"
#include "world/Map.h"
#include "world/ObjectHolder.h"
#include "world/World.h"

QV_IMPLEMENT_SERIAL(Group, Member, 2, true)

Group::Group(const std::string& name) : Member(name) {}

Group::~Group() {
    RemoveFromMap();
    World* world = GetWorld();
    if (!world) return;
    // Only slots that still name this group are given back: after a world
    // read the table may hold a newer group under the same number. A group
    // placed as a random encounter carries a number of its own since, so
    // every slot is looked at, not only its number's.
    for (Group*& slot : world->m_GroupArray)
        if (slot == this) slot = nullptr;
    if (world->m_pRandomEncounters == this) world->m_pRandomEncounters = nullptr;
    if (world->m_pAllGroups == this) world->m_pAllGroups = nullptr;
}

// ---- the list ----

void Group::Link(Member* member, bool atHead) {
    // A member is listed by one group at a time.
    if (member->m_pGroup && member->m_pGroup != this) member->m_pGroup->RemoveMember(member);
    if (atHead)
        m_Members.push_front(member);
    else
        m_Members.push_back(member);
    member->m_groupEntry = atHead ? m_Members.begin() : std::prev(m_Members.end());
    member->m_pGroup = this;
    // The sum is recounted as a member joins. While no member below has come
    // or gone since the last count, that is the sum kept plus what joins, so
    // a group filled one member at a time is built in linear time.
    // Every group above takes the newcomer into its cached sum as well, so
    // that what a group stores is always its members' sum.
    const int32_t added = member->GetHitPoints();
    for (Group* g = this; g; g = g->m_pGroup) {
        if (g->m_bSumCounted)
            g->m_iHitPoints = SumHitPoints(g->m_iHitPoints, added);
        else
            g->GetHitPoints();
    }
}

void Group::ForgetSumsAbove() {
    // A group whose sum is not counted has none counted above it either.
    for (Group* g = m_pGroup; g && g->m_bSumCounted; g = g->m_pGroup) g->m_bSumCounted = false;
}

void Group::Unlink(Node node) {
    m_bSumCounted = false;
    ForgetSumsAbove();
    for (Node* walk : m_Walks)
        if (*walk == node) ++*walk;
    (*node)->m_pGroup = nullptr;
    m_Members.erase(node);
}

namespace {

// Whether `group` is `member` itself or lies inside it, so that adding `member`
// to `group` would close a loop in the tree.
bool WouldLoop(Group* group, Member* member) {
    for (Member* g = group; g; g = g->m_pGroup)
        if (g == member) return true;
    return false;
}

}  // namespace

void Group::AddMember(Member* member) {
    if (!member || member->m_pGroup == this || WouldLoop(this, member)) return;
    if (member->Type() == GROUP) {
        // A nested group keeps its own number.
        Link(member, true);
        return;
    }
    int32_t number = member->m_iGroupNum;
    if (number < -1 && number != m_iOwnGroupNum) {
        // A random-encounter number: the nested group that carries it takes the
        // member; the first such group only, so that one group lists it.
        for (Member* m : m_Members)
            if (m->Type() == GROUP && static_cast<Group*>(m)->m_iOwnGroupNum == number) {
                static_cast<Group*>(m)->AddMember(member);
                return;
            }
        Group* random = new Group("Random");
        random->m_iOwnGroupNum = number;
        // Inside a self-contained group it is stored with its parent, and so
        // must store its own members too.
        random->m_bGrouped = m_bGrouped;
        AddMember(random);
        random->AddMember(member);
        return;
    }
    if (number >= -1) member->m_iGroupNum = m_iOwnGroupNum;
    Link(member, true);
}

void Group::AddMemberDirect(Member* member) {
    if (!member || member->m_pGroup == this || WouldLoop(this, member)) return;
    if (!m_bGrouped) member->m_iGroupNum = m_iOwnGroupNum;
    Link(member, false);
}

bool Group::RemoveMember(Member* member) {
    if (!member) return false;
    // The member is listed by its own group only: found here when that group
    // is this one or lies somewhere inside it.
    Group* owner = member->m_pGroup;
    for (Group* g = owner; g; g = g->m_pGroup)
        if (g == this) {
            owner->Unlink(member->m_groupEntry);
            return true;
        }
    return false;
}

void Group::SetGroupNumber(int32_t number) {
    World* world = GetWorld();
    if (number == -1) {
        if (!world) return;
        number = static_cast<int32_t>(world->m_GroupArray.size());
    }
    // A renumbered group gives back the slot of its old number.
    if (world && number != m_iOwnGroupNum && world->GetGroupByNumber(m_iOwnGroupNum) == this)
        world->m_GroupArray[static_cast<size_t>(m_iOwnGroupNum)] = nullptr;
    m_iOwnGroupNum = number;
    // Below -1 is a random-encounter number, which has no table entry.
    if (number < 0 || number > kMaxGroupNumber || !world) return;
    auto& table = world->m_GroupArray;
    if (static_cast<size_t>(number) >= table.size()) table.resize(static_cast<size_t>(number) + 1);
    table[static_cast<size_t>(number)] = this;
}

int Group::GetMemberCount() {
    return static_cast<int>(m_Members.size());
}

int Group::GetCachedHitPoints() {
    return m_iHitPoints;
}

int Group::GetGroupReserved() {
    return 0;
}

int32_t Group::SumHitPoints(int64_t a, int64_t b) {
    return qv::ClampToInt32(a + b);
}

int Group::GetHitPoints() {
    m_iHitPoints = 0;
    for (Member* m : m_Members) m_iHitPoints = SumHitPoints(m_iHitPoints, m->GetHitPoints());
    m_bSumCounted = true;
    return m_iHitPoints;
}

int Group::LoseHitPoints(int32_t amount) {
    m_iHitPoints -= amount;
    if (m_pGroup) m_pGroup->LoseHitPoints(amount);
    return 1;
}

double Group::FindOpponents(Member* other) {
    double result = 0.0;
    ForEachMember([&](Member* m) { result = m->FindOpponents(other); });
    return result;
}

double Group::GetMemberValue(int32_t argument) {
    double sum = 0.0;
    ForEachMember([&](Member* m) { sum += m->GetMemberValue(argument); });
    return sum;
}

double Group::GetMemberTotal() {
    double sum = 0.0;
    if (GetMemberCount() != 0) ForEachMember([&](Member* m) { sum += m->GetMemberTotal(); });
    return sum;
}

Group::WalkGuard::~WalkGuard() {
    if (!m_group) return;
    auto& walks = m_group->m_Walks;
    for (auto it = walks.begin(); it != walks.end(); ++it)
        if (*it == m_next) {
            walks.erase(it);
            break;
        }
}

// ---- copies ----

void Group::CopyFrom(Group& other) {
    m_iGroupTag = other.m_iGroupTag;
    // Each copy goes in at the head, as AddMember puts it.
    for (Member* original : other.m_Members) {
        Object* made = original->Clone();
        Member* copy = qv::DynamicCast<Member>(made);
        if (!copy) {
            delete made;
            continue;
        }
        copy->m_bGrouped = original->m_bGrouped;
        AddMember(copy);
        CopyLeader(other, original, copy);
    }
    m_bGrouped = other.m_bGrouped;
}

Object* Group::Clone() {
    Group* copy = qv::DynamicCast<Group>(GetRuntimeClass()->CreateObject());
    if (!copy) return nullptr;
    copy->m_iBulkNum = m_iBulkNum;
    copy->m_bMoveable = m_bMoveable;
    copy->CopyFrom(*this);
    return copy;
}

// ---- leaving the world ----

void Group::RemoveFromMap() {
    while (!m_Members.empty()) {
        Member* m = m_Members.front();
        // Unlinked first, so the loop moves on whatever the member's
        // destructor does.
        Unlink(m_Members.begin());
        if (m->Type() == GROUP) static_cast<Group*>(m)->RemoveFromMap();
        DeleteMember(m);
    }
}

// ---- the update ----

int Group::Update(int32_t now, MapMaster* context) {
    Node next;
    WalkGuard guard(this, &next);
    World* world = GetWorld();
    for (Node it = m_Members.begin(); it != m_Members.end(); it = next) {
        next = std::next(it);
        Member* m = *it;
        if (m->Type() == PLAYER) FollowLeader(m);
        qv::Handle<Member> alive(m);
        int r = m->Update(now, context);
        // This group went away during the member's turn: the world changed.
        if (guard.GroupGone() || r == kWorldChanged) return kWorldChanged;
        // A member deleted during its own turn is already out of the list.
        if (!alive) continue;
        if (r == kLeaveGroup) {
            if (m->m_pGroup == this) RemoveMember(m);
        } else if (r == kDeleteEmpty) {
            if (world && m == world->m_pRandomEncounters) return 1;
            if (m->m_pGroup == this) RemoveMember(m);
            DeleteMember(m);
        }
    }
    if (!m_Members.empty() || !m_bGrouped) return 1;
    if (world && this == world->m_pRandomEncounters) return 1;
    return kDeleteEmpty;
}

// ---- the stored record ----

void Group::Serialize(qv::Archive& ar) {
    uint32_t schema = ar.IsLoading() ? ar.GetObjectSchema() : 0;
    ar.SerializeClass(&Member::classInfo);
    Member::Serialize(ar);

    if (ar.IsStoring()) {
        ar.WriteInt(m_iOwnGroupNum);
        ar.WriteInt(m_iLeaderId);
        if (m_bGrouped) {
            ar.WriteCount(m_Members.size());
            for (Member* m : m_Members) ar.WriteObject(m);
        }
        return;
    }

    int32_t number = ar.ReadInt();
    if (!m_bGrouped && number > kMaxGroupNumber)
        ar.Fail(qv::ArchiveError::BadIndex, "group number " + std::to_string(number));
    if (!m_bGrouped)
        SetGroupNumber(number);
    else
        m_iOwnGroupNum = number;
    if (schema >= 2) m_iLeaderId = ar.ReadInt();
    if (!m_bGrouped) return;

    // Each member is adopted as soon as it is read, so that a fault further on
    // deletes what was read with the group.
    size_t count = ar.ReadCount();
    std::vector<Member*> read;
    for (size_t i = 0; i < count; ++i) {
        Member* m = ar.ReadObjectOf<Member>();
        // A reference to a member already taken (or to the group itself or an
        // ancestor) is not taken twice.
        if (!m || m->m_pGroup == this) continue;
        if (m->Type() == GROUP) {
            std::unique_ptr<Member> refused(m);
            RefuseDeepGroup(ar, this);
            refused.release();
        }
        AddMemberDirect(m);
        if (m->m_pGroup == this) read.push_back(m);
    }
    // Then the members go into the group as the game has always put them: the
    // list is stored head first and AddMember puts each at the head, so they
    // are taken from the tail.
    for (Member* m : read) RemoveMember(m);
    for (auto it = read.rbegin(); it != read.rend(); ++it) AddMember(*it);
}

void RefuseDeepGroup(qv::Archive& ar, const Group* parent) {
    int depth = 1;
    for (const Member* g = parent; g; g = g->m_pGroup)
        if (++depth > qv::Archive::kMaxNesting)
            ar.Fail(
                qv::ArchiveError::Generic,
                "groups nested more than " + std::to_string(qv::Archive::kMaxNesting) + " deep");
}

qv::Persistent* ReadObjectOutsideGroups(qv::Archive& ar, const qv::RuntimeClass* expected) {
    return ar.ReadObject(expected, &Member::classInfo);
}

void Group::DeleteMember(Member* member) {
    if (ObjectHolder* holder = member->m_pHolder) {
        if (MapMaster* map = GetMapMaster()) map->RemoveHolder(holder->pos, holder);
        member->m_pHolder = nullptr;
        delete holder;
    }
    delete member;
}
