#pragma once
// Groups: a group is a member that holds other members, creatures and nested
// groups, so groups form a tree. The main frame owns the root, "All Groups",
// with "Random Encounters" as one of its members, and keeps a table of groups
// by number. Each tick the world is updated by the root's Update, which walks
// the tree and runs every creature's turn.
//
// A group owns its members: removing one (RemoveMember) only unlinks it, while
// RemoveFromMap and the destructor take each off the map and delete it. A
// member is listed by at most one group at a time. Walks over the members
// survive members leaving, dying or being deleted while the walk runs.

#include <cstdint>
#include <functional>
#include <iterator>
#include <list>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Handle.h"
#include "world/Member.h"

class Group : public Member {
    QV_DECLARE_CLASS(Group)
public:
    explicit Group(const std::string& name = "Group");
    // Takes every member off the map and deletes it, then gives back every
    // slot of the world's group table that still names it.
    ~Group() override;

    // ---- Object's operations
    void Serialize(qv::Archive& ar) override;
    // Runs every member's Update; see the answers below.
    int Update(int32_t now, MapMaster* context) override;
    // A new group of the same class filled by CopyFrom.
    Object* Clone() override;
    int Type() override { return GROUP; }

    // ---- Member's operations
    // Asks every member in list order; answers the last member's result.
    double FindOpponents(Member* other) override;
    double GetMemberValue(int32_t argument) override;
    void MemberNotify(int32_t) override {}
    // Recomputes the cached sum of the members' hit points and answers it.
    int GetHitPoints() override;
    // a + b held to the integer range: many strong members cannot wrap a sum.
    static int32_t SumHitPoints(int64_t a, int64_t b);
    int IsGroup() override { return 1; }
    double GetMemberTotal() override;

    // ---- The operations a group adds, in their fixed order
    // Lowers the cached hit points of this group and every ancestor; answers 1.
    virtual int LoseHitPoints(int32_t amount);
    // The number of list entries, a nested group counted as one.
    virtual int GetMemberCount();
    // The cached hit points, not recomputed.
    virtual int GetCachedHitPoints();
    // Kept in the order of the operations; answers 0.
    virtual int GetGroupReserved();

    void CopyFrom(Group& other);
    // Puts the member into this group (or the nested random-encounter group
    // that its number names) at the head of the list; a member listed by another
    // group leaves that group first.
    void AddMember(Member* member);
    // Appends the member at the tail.
    void AddMemberDirect(Member* member);
    // Unlinks the member from this group or the nested group that lists it; the
    // member is not deleted. Answers whether it was found.
    bool RemoveMember(Member* member);
    // -1 takes the world's next free group number. Numbers 0 to
    // kMaxGroupNumber are entries of the world's group table; other numbers
    // only name the group. The slot of the group's old number is given back.
    void SetGroupNumber(int32_t number);
    // The highest table number: the table is one pointer per number up to it.
    static constexpr int32_t kMaxGroupNumber = 100000;
    int Contains(Member* member);
    // The leader's position less the member's formation offset, (-1, -1)
    // without a leader; also stored as the creature's follow point.
    qv::Point GetFormationPosition(Member* member);
    // Until the list is empty: a placed creature's holder is taken off the map
    // and deleted, and the member is deleted (nested groups first empty theirs).
    void RemoveFromMap();
    int HasBusyMember();
    int AllMembersFlagged();
    // The searcher is a creature (its creature side is asked what meeting
    // each creature of the group leads to).
    int UpdateHostility(Member* searcher);
    void SetHostileMode(int32_t mode, Group* other);
    // Places the group into the world moved by (dx, dy); with `add` set it
    // joins "Random Encounters".
    void AddToWorld(int32_t dx, int32_t dy, int32_t add);

    // Whether the path finder of the current world (World::m_pPathFinder)
    // finds a way between two window cells; without one no way is found.
    static bool PathReaches(MapMaster& map, qv::Point from, qv::Point to);

    // The members, head first; the group owns them.
    const std::list<Member*>& Members() const { return m_Members; }

    int32_t m_iGroupTag = 0;            // copied by CopyFrom; not stored
    qv::Handle<Player> m_pGroupLeader;  // the point the other members follow
    int32_t m_iLeaderId = -1;           // the leader's member id
    int32_t m_iOwnGroupNum = -1;        // the number this group's members carry

private:
    using Node = std::list<Member*>::iterator;

    // Registers a walk's next node with the group for the walk's life, and
    // tells whether the group itself was destroyed during the walk.
    class WalkGuard {
    public:
        WalkGuard(Group* group, Node* next) : m_group(group), m_next(next) {
            group->m_Walks.push_back(next);
        }
        ~WalkGuard();
        WalkGuard(const WalkGuard&) = delete;
        WalkGuard& operator=(const WalkGuard&) = delete;
        bool GroupGone() const { return !m_group; }

    private:
        qv::Handle<Group> m_group;
        Node* m_next;
    };

    // Calls f on every member in list order; members may leave meanwhile.
    template <class F>
    void ForEachMember(F&& f);

    // Links the member at the head (or tail) once it has left any other group.
    void Link(Member* member, bool atHead);
    void Unlink(Node node);
    // The groups above no longer hold a counted sum: one below them changed.
    void ForgetSumsAbove();
    // Takes a placed member off the map and deletes it.
    static void DeleteMember(Member* member);
    friend class Member;  // a member the map lets go of is deleted here
    // The creature's follow point from the formation (only with a leader).
    void FollowLeader(Member* member);
    // After CopyFrom made `copy` of `original`: the copy of the other's leader
    // leads this group.
    void CopyLeader(Group& other, Member* original, Member* copy);

    std::list<Member*> m_Members;
    // m_iHitPoints is the count of the members' hit points, and no member
    // below has come or gone since it was taken.
    bool m_bSumCounted = false;
    // The next node of every walk running over this list, moved on when the
    // member it names leaves during the walk.
    std::vector<Node*> m_Walks;
};

template <class F>
void Group::ForEachMember(F&& f) {
    Node next;
    WalkGuard guard(this, &next);
    for (Node it = m_Members.begin(); it != m_Members.end(); it = next) {
        next = std::next(it);
        f(*it);
        if (guard.GroupGone()) return;
    }
}

// The group the editor or a script works on (may be null).
Group* GetCurrentGroup();

// Reads an object reference that the reader owns (a bag's entry, a creature's
// list). Groups and creatures belong to the group tree (a group joins it, and a
// creature the party, as soon as it is read) and so cannot be owned elsewhere:
// they are refused with the archive's class error before they are made.
qv::Persistent* ReadObjectOutsideGroups(qv::Archive& ar, const qv::RuntimeClass* expected);
template <class T>
T* ReadObjectOutsideGroups(qv::Archive& ar) {
    return static_cast<T*>(ReadObjectOutsideGroups(ar, &T::classInfo));
}

// Refuses, with the archive's error, a member read into `parent` that would
// lie deeper than the archive lets objects nest: the tree's walks recurse.
void RefuseDeepGroup(qv::Archive& ar, const Group* parent);
