#pragma once
// A member of a group: a creature or a nested group. It adds hit points, its own
// copy of its position, the link to the group that lists it and a few combat
// fields to Object.

#include <cstdint>
#include <list>

#include "platform/Handle.h"
#include "world/Object.h"
#include "world/ObjectHolder.h"

class Group;
class Player;

class Member : public Object {
    QV_DECLARE_CLASS(Member)
public:
    explicit Member(const std::string& name = "Member");
    // Leaves the group that lists it.
    ~Member() override;
    Member(const Member&) = delete;
    Member& operator=(const Member&) = delete;

    void Serialize(qv::Archive& ar) override;
    int Update(int32_t now, MapMaster* context) override;
    // Keeps x and y of the given position; z becomes 0.
    void DeleteFromMap() override;
    void SetPosition(MapCell* windowCell, Position* pos) override;

    // ---- The operations a member adds, in their fixed order
    virtual double FindOpponents(Member* other);
    virtual double GetMemberValue(int32_t argument);
    virtual void MemberNotify(int32_t argument);
    // 0 for a plain member; a creature its hit points, a group their sum.
    virtual int GetHitPoints();
    virtual int IsGroup();
    virtual double GetMemberTotal();

    Group* m_pGroup = nullptr;  // the group that lists this member
    // The number of the group it belongs to: 0 or more an entry of the world's
    // group table, -1 a root-level member, below -1 a random-encounter number.
    int32_t m_iGroupNum = -1;
    int32_t m_iMaxHitPoints = 10;
    Position m_Position;
    int32_t m_iAttackMode = 0;  // 0 normal fighting, 1 subduing
    int32_t m_bSubdued = 0;     // held: neither thinks nor attacks
    // The member belongs to a self-contained group that stores its members in
    // its own record. A grouped creature ends its turn with -2 after its death
    // animation; an emptied grouped group asks to be deleted.
    int32_t m_bGrouped = 0;
    int32_t m_iMemberData = 0;
    int32_t m_iHostileMode = 0;  // 1 while hostile
    // A subdued creature that this member takes along after each step; not stored.
    qv::Handle<Player> m_iMemberSpare;
    // Last, beside what a creature adds first (its body radius), which the
    // spacing test of a move reads with it.
    int32_t m_iHitPoints = 10;  // for a group, the cached sum of its members'

private:
    friend class Group;
    // Its entry in the list of the group that lists it (m_pGroup), so that
    // leaving the group takes no search.
    std::list<Member*>::iterator m_groupEntry{};
};
