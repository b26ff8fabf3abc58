// The group operations that work on the creatures of the tree: formation,
// hostility, placing a group into the world, and finding creatures by id. The
// creatures are read through their creature side (world/MapCreature.h).

#include <algorithm>

#include "platform/Rand.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Map.h"
#include "world/MapCreature.h"
#include "world/UnusedNumbers.h"
#include "world/World.h"
#include "world/WorldRules.h"

namespace {

MapCreature* AsCreature(Member* m) {
    return m->Type() == PLAYER ? m->GetMapCreature() : nullptr;
}
Group* AsGroup(Member* m) {
    return m->Type() == GROUP ? static_cast<Group*>(m) : nullptr;
}

}  // namespace

// ---- leader and formation ----

void Group::FollowLeader(Member* member) {
    if (m_pGroupLeader) GetFormationPosition(member);
}

void Group::CopyLeader(Group& other, Member* original, Member* copy) {
    Member* leader = other.m_pGroupLeader.As<Member>();
    if (!leader || original != leader) return;
    MapCreature* p = AsCreature(copy);
    if (!p) return;
    m_pGroupLeader = p->MapHandle();
    m_iLeaderId = p->MapActorNumber();
}

qv::Point Group::GetFormationPosition(Member* member) {
    Member* leader = m_pGroupLeader.As<Member>();
    if (!leader) return {-1, -1};
    qv::Point offset{0, 0};
    MapCreature* p = AsCreature(member);
    World* world = GetWorld();
    int32_t slot = 0, row = 0;
    // Only the world's leader itself stands off its place by its slot's
    // entry; every other party member follows the leader's own place, and
    // its thinking adds its slot's entry to where it heads. Taking the entry
    // off here too would put every member back on the leader.
    if (p && world && world->m_pLeader.As<Member>() == member &&
        world->GetPartySlot(member, slot, row))
        offset = world->m_FormationRows[static_cast<size_t>(row)][static_cast<size_t>(slot)];
    qv::Point point{leader->m_Position.x - offset.x, leader->m_Position.y - offset.y};
    if (p) p->MapSetFollowPoint(point);
    return point;
}

// ---- questions over the tree ----

int Group::Contains(Member* member) {
    MapCreature* asked = member ? AsCreature(member) : nullptr;
    for (Member* m : m_Members) {
        if (m == member) return 1;
        if (Group* g = AsGroup(m)) {
            if (g->Contains(member)) return 1;
        } else if (MapCreature* p = AsCreature(m)) {
            if (asked && asked->MapActorNumber() >= 0 &&
                p->MapActorNumber() == asked->MapActorNumber())
                return 1;
        }
    }
    return 0;
}

int Group::HasBusyMember() {
    for (Member* m : m_Members) {
        if (Group* g = AsGroup(m)) {
            if (g->HasBusyMember()) return 1;
        } else if (MapCreature* p = AsCreature(m)) {
            if (p->MapUsingMagic()) return 1;
        }
    }
    return 0;
}

int Group::AllMembersFlagged() {
    for (Member* m : m_Members) {
        if (Group* g = AsGroup(m)) {
            if (!g->AllMembersFlagged()) return 0;
        } else if (MapCreature* p = AsCreature(m)) {
            if (!p->MapInvisible()) return 0;
        }
    }
    return 1;
}

// ---- hostility ----

int Group::UpdateHostility(Member* searcher) {
    Group* pGroupSearching = searcher ? searcher->m_pGroup : nullptr;
    if (!QV_CHECK(pGroupSearching != NULL)) return 0;
    MapCreature* seeker = AsCreature(searcher);
    if (!seeker) return 0;
    // Creatures outside the searcher's box meet it with nothing: only those
    // within are asked, the rest read where they stand and no more.
    qv::Rect box;
    MapMaster* map = seeker->MapMeetsOnlyWithin(box) ? GetMapMaster() : nullptr;
    int hostile = 0, newlyHostile = 0, calm = 0, nested = 0;
    ForEachMember([&](Member* m) {
        if (Group* g = AsGroup(m)) {
            if (g != pGroupSearching && g->UpdateHostility(searcher)) nested = 1;
        } else if (MapCreature* p = AsCreature(m)) {
            const bool far = map && !map->IsDeltaInRect(searcher->m_Position, m->m_Position, box);
            int relation = far ? 0 : seeker->MapEncounter(p->MapPlayer());
            if (relation == 2) {
                ++hostile;
                if (m->m_iHostileMode == 0) ++newlyHostile;
            } else if (relation == 0 && m->m_iHostileMode == 1) {
                ++calm;
            }
        }
    });
    if (newlyHostile > 0) {
        SetHostileMode(1, pGroupSearching);
        pGroupSearching->SetHostileMode(1, this);
        pGroupSearching->FindOpponents(this);
    } else if (calm > 0 && hostile == 0) {
        SetHostileMode(0, pGroupSearching);
        pGroupSearching->SetHostileMode(0, this);
    }
    return newlyHostile > 0 || nested ? 1 : 0;
}

void Group::SetHostileMode(int32_t mode, Group* other) {
    // The party's fight is told first, so that it starts (or ends) before
    // the members take the new mode.
    if (World* world = GetWorld(); world && world->m_pRules)
        world->m_pRules->GroupTurnsHostile(this, mode);
    ForEachMember([&](Member* m) {
        if (Group* g = AsGroup(m)) {
            g->SetHostileMode(mode, other);
            return;
        }
        MapCreature* p = AsCreature(m);
        if (!p) return;
        m->m_iHostileMode = mode;
        p->MapTakeHostileMode(mode);
    });
}

// ---- placing a group into the world ----

namespace {

// Chooses the patrol cells of a creature placed at `home` (a window cell):
// the home first, then up to `wanted` cells of the same room that the path
// finder reaches from it, each put in front of the others.
std::vector<qv::Point> ChoosePatrolCells(MapMaster& map, qv::Point home) {
    std::vector<qv::Point> cells{home};
    int wanted = qv::Rand() % 3 + 2;
    int found = 0;
    const MapCell& homeCell = map.GetCell(home.x, home.y);
    for (int tries = 0; tries < 2000 && found < wanted; ++tries) {
        qv::Point c;
        c.y = home.y + qv::Rand() % 10 - 5;
        c.x = home.x + qv::Rand() % 10 - 5;
        if (!MapMaster::IsWindowCell(c.x, c.y)) continue;
        if (map.GetCell(c.x, c.y).room != homeCell.room) continue;
        if (!Group::PathReaches(map, home, c)) continue;
        if (std::find(cells.begin(), cells.end(), c) != cells.end()) continue;
        cells.insert(cells.begin(), c);
        ++found;
    }
    return cells;
}

}  // namespace

bool Group::PathReaches(MapMaster& map, qv::Point from, qv::Point to) {
    World* world = GetWorld();
    return world && world->m_pPathFinder && world->m_pPathFinder->Reaches(map, from, to);
}

void Group::AddToWorld(int32_t dx, int32_t dy, int32_t add) {
    World* world = GetWorld();
    Group* encounters = world ? world->m_pRandomEncounters : nullptr;

    m_iOwnGroupNum = -1;
    for (int32_t n = -2; n >= -999; --n) {
        bool taken = false;
        if (encounters)
            for (Member* m : encounters->m_Members)
                if (Group* g = AsGroup(m); g && g->m_iOwnGroupNum == n) {
                    taken = true;
                    break;
                }
        if (!taken) {
            m_iOwnGroupNum = n;
            break;
        }
    }

    MapMaster* map = GetMapMaster();
    UnusedNumbers* pool = world ? world->m_pUnusedNumbers.get() : nullptr;
    ForEachMember([&](Member* m) {
        if (Group* g = AsGroup(m)) {
            g->AddToWorld(dx, dy, 0);
        } else if (MapCreature* creature = AsCreature(m)) {
            Member* p = m;
            int id = pool ? pool->TakeLowest() : 0;
            if (id == 0) {
                // No number left: the creature is dropped, off the map first.
                DeleteMember(p);
                return;
            }
            creature->MapSetActorNumber(id);
            p->m_Position.x += dx;
            p->m_Position.y += dy;
            if (map) {
                if (ObjectHolder* holder = p->m_pHolder) {
                    // A refused move leaves the holder where it stood.
                    map->MoveHolder(holder->pos, p->m_Position, holder);
                    p->m_Position = holder->pos;
                } else {
                    auto* placed = new ObjectHolder(p->m_Position, p);
                    Position pos = p->m_Position;
                    if (!map->AddHolder(pos, placed)) {
                        // Refused by the map: nothing is left half placed, and
                        // the creature goes as one that could not be numbered.
                        p->m_pHolder = nullptr;
                        delete placed;
                        pool->GiveBack(id);
                        creature->MapSetActorNumber(-1);
                        delete p;
                        return;
                    }
                    p->m_Position = placed->pos;
                }
                CellPoint home;
                if (map->WindowCellOf(p->m_Position, home)) {
                    // Chosen among the window's cells, kept as cells of the
                    // world: a creature's thinking walks to world cells.
                    std::vector<qv::Point> cells = ChoosePatrolCells(*map, home);
                    for (qv::Point& c : cells) {
                        c = {c.x + map->origin.x, c.y + map->origin.y};
                        map->WrapCell(c);
                    }
                    creature->MapPatrol(MapMaster::PixelToCell(p->m_Position), cells);
                }
            }
        }
        m->m_iGroupNum = m_iOwnGroupNum;
    });

    if (add && encounters) encounters->AddMember(this);
}

// ---- finding creatures ----

Player* FindMemberById(Group* group, int id) {
    if (!group) return nullptr;
    for (Member* m : group->Members()) {
        if (m->Type() == GROUP) {
            if (Player* p = FindMemberById(static_cast<Group*>(m), id)) return p;
        } else if (MapCreature* p = AsCreature(m)) {
            if (p->MapActorNumber() == id) return p->MapPlayer();
        }
    }
    return nullptr;
}

Player* ResolveActor(int actor) {
    World* world = GetWorld();
    if (!world) return nullptr;
    if (actor >= 0) {
        auto& array = world->m_PlayerArray;
        return static_cast<size_t>(actor) < array.size() ? array[static_cast<size_t>(actor)]
                                                         : nullptr;
    }
    return FindMemberById(world->m_pRandomEncounters, actor);
}

Group* GetCurrentGroup() {
    World* world = GetWorld();
    return world ? world->m_pCurrentGroup.Get() : nullptr;
}
