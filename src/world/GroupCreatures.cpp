// The group operations that work on the creatures of the tree: formation,
// hostility, placing a group into the world, and finding creatures by id.

#include "shell/MainFrm.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/ObjectHolder.h"

void Group::FollowLeader(Member*) {}

void Group::CopyLeader(Group&, Member*, Member*) {}

qv::Point Group::GetFormationPosition(Member*) {
    return {-1, -1};
}

int Group::Contains(Member* member) {
    for (Member* m : m_Members) {
        if (m == member) return 1;
        if (m->Type() == GROUP && static_cast<Group*>(m)->Contains(member)) return 1;
    }
    return 0;
}

int Group::HasBusyMember() {
    for (Member* m : m_Members)
        if (m->Type() == GROUP && static_cast<Group*>(m)->HasBusyMember()) return 1;
    return 0;
}

int Group::AllMembersFlagged() {
    for (Member* m : m_Members)
        if (m->Type() == GROUP && !static_cast<Group*>(m)->AllMembersFlagged()) return 0;
    return 1;
}

int Group::UpdateHostility(Player*) {
    return 0;
}

void Group::SetHostileMode(int32_t mode, Group*) {
    for (Member* m : m_Members) {
        if (m->Type() == GROUP)
            static_cast<Group*>(m)->SetHostileMode(mode, nullptr);
        else
            m->m_iHostileMode = mode;
    }
}

void Group::AddToWorld(int32_t, int32_t, int32_t) {}

Player* FindMemberById(Group*, int) {
    return nullptr;
}

Player* ResolveActor(int actor) {
    CMainFrame* frame = GetMainFrame();
    if (!frame) return nullptr;
    if (actor >= 0) {
        auto& array = frame->m_PlayerArray;
        return static_cast<size_t>(actor) < array.size() ? array[static_cast<size_t>(actor)]
                                                         : nullptr;
    }
    return FindMemberById(frame->m_pRandomEncounters, actor);
}

Group* GetCurrentGroup() {
    CMainFrame* frame = GetMainFrame();
    return frame ? frame->m_pCurrentGroup.Get() : nullptr;
}

Group::PathTest Group::s_pathTest;

bool Group::PathReaches(MapMaster& map, qv::Point from, qv::Point to) {
    return s_pathTest && s_pathTest(map, from, to);
}
