// Random encounters of a land and the random population of the map's cells.

#include "world/RandomEncounter.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "media/DDObjects.h"
#include "platform/Archive.h"
#include "platform/Format.h"
#include "platform/Rand.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Land.h"
#include "world/Map.h"
#include "world/World.h"

QV_IMPLEMENT_SERIAL(RandomEncounter, Object, 1, false)

RandomEncounter::RandomEncounter() : Object("Object") {}

RandomEncounter::~RandomEncounter() {
    delete group;
}

void RandomEncounter::Serialize(qv::Archive& ar) {
    if (ar.IsStoring()) {
        ar.SerializeClass(&Object::classInfo);
        Object::Serialize(ar);
        ar.WriteObject(group);
        ar.WriteInt(time);
        return;
    }
    ar.GetObjectSchema();
    ar.SerializeClass(&Object::classInfo);
    Object::Serialize(ar);
    delete group;
    group = nullptr;
    // The group is a template, owned by the encounter alone: whatever its
    // numbers, it joins no group of the world and takes no place in the
    // world's table of groups. The world's groups are set aside while it is
    // read.
    World* world = GetWorld();
    std::vector<Group*> table;
    Group* all = nullptr;
    Group* random = nullptr;
    if (world) {
        table.swap(world->m_GroupArray);
        all = std::exchange(world->m_pAllGroups, nullptr);
        random = std::exchange(world->m_pRandomEncounters, nullptr);
    }
    auto restore = [&] {
        if (!world) return;
        world->m_GroupArray = std::move(table);
        world->m_pAllGroups = all;
        world->m_pRandomEncounters = random;
    };
    try {
        group = ar.ReadObjectOf<Group>();
    } catch (...) {
        restore();
        throw;
    }
    restore();
    time = ar.ReadInt();
}

std::string RandomEncounter::GetDisplayName() {
    const std::string name = group ? group->GetDisplayName() : std::string();
    return qv::Format("%s [%d]", name.c_str(), time);
}

Position RandomPointInCell(const Position& pos, int32_t margin) {
    const int32_t x = pos.x + margin + qv::Rand() % (MapMaster::CellWidth - 2 * margin);
    const int32_t y = pos.y + margin + qv::Rand() % (MapMaster::CellHeight - 2 * margin);
    return Position(x + (x & 1), y + (y & 1), pos.z);
}

// ---------------------------------------------------------------------------
// The encounter check of a land

void Land::ComputeEncounterRate() {
    // Encounters without a group or with a time below 1 are never met; the
    // sums are wide enough for any stored time.
    encountertotal = 0;
    double rate = 0;
    for (const auto& e : encounters) {
        if (!e->IsUsable()) continue;
        const int64_t every = int64_t{kEncounterTimeUnit} * e->time;
        encountertotal += every;
        rate += 1.0 / static_cast<double>(every);
    }
    encounterinterval = rate > 0 ? 1.0 / rate : 0;
    nextencounter = 0;
}

namespace {

// The first creature of a group's tree, or null.
Member* FirstCreature(Group* group) {
    for (Member* m : group->Members()) {
        if (m->Type() == PLAYER) return m;
        if (m->Type() == GROUP)
            if (Member* p = FirstCreature(static_cast<Group*>(m))) return p;
    }
    return nullptr;
}

}  // namespace

int Land::UpdateEncounters(int32_t now) {
    if (encountertotal <= 0) return 1;
    if (static_cast<uint32_t>(now) <= static_cast<uint32_t>(nextencounter)) return 1;

    const int u = qv::Rand();
    double w = encounterinterval * std::log((u + 1) / 32768.0);
    w = std::clamp(w, -static_cast<double>(kEncounterWaitMax),
                   -static_cast<double>(kEncounterWaitMin));
    nextencounter = static_cast<int32_t>(static_cast<uint32_t>(now) +
                                         static_cast<uint32_t>(static_cast<int32_t>(-w)));

    const int64_t divisor = encountertotal / 1000;
    if (divisor <= 0) return 1;
    int64_t k = qv::Rand() % divisor;
    RandomEncounter* chosen = nullptr;
    for (const auto& e : encounters) {
        if (!e->IsUsable()) continue;
        chosen = e.get();
        k -= e->time;
        if (k <= 0) break;
    }
    if (!chosen) return 1;

    std::unique_ptr<Group> met(static_cast<Group*>(chosen->group->Clone()));
    if (!met) return 0;
    met->m_bGrouped = 1;

    MapMaster* map = GetMapMaster();
    World* world = GetWorld();
    if (!map) return 0;
    const qv::Point centre = world ? world->m_ptFocus : map->viewcentre;
    const int32_t dx = qv::Rand() % (2 * kEncounterReachX) - kEncounterReachX;
    int32_t dy = static_cast<int32_t>(
        std::sqrt(static_cast<double>(kEncounterReachY * kEncounterReachY - 4 * dx * dx / 9)));
    if (qv::Rand() & 1) dy = -dy;
    Position point(centre.x + dx, centre.y + dy, 0);
    map->WrapPosition(point);
    CellPoint to, from;
    if (!map->WindowCellOf(point, to) || map->GetCell(to.x, to.y).land != this) return 0;
    Position middle(centre.x, centre.y, 0);
    map->WrapPosition(middle);
    if (!map->WindowCellOf(middle, from) || !Group::PathReaches(*map, from, to)) return 0;

    // The group arrives with its first creature at the point, in its formation.
    int32_t offx = point.x, offy = point.y;
    if (Member* first = FirstCreature(met.get())) {
        offx = point.x - first->m_Position.x;
        offy = point.y - first->m_Position.y;
    }
    Group* placed = met.release();
    placed->AddToWorld(offx, offy, 1);
    placed->m_strSpecialName = "Random";
    return 1;
}

// ---------------------------------------------------------------------------
// Random population

namespace {

// Marks a cell as filled when the game has no terrain pictures (headless).
CDDObject& UnpicturedCell() {
    static CDDObject none;
    return none;
}

}  // namespace

int MapMaster::PopulateRandomly(CellPoint worldcell, MapCell& cell) {
    const size_t code = static_cast<size_t>(std::clamp<int32_t>(cell.terrain, 0, 44));
    CDDObject* picture = m_terrainPictures[code];
    cell.image = picture ? picture : &UnpicturedCell();

    const int r0 = qv::Rand();
    qv::SeedRand(static_cast<uint32_t>(worldcell.y * worldcellx + worldcell.x));
    const Position base(worldcell.x * CellWidth, worldcell.y * CellHeight, 0);
    auto put = [&](ObjectHolderList& list, Object* prototype, const Position& at) {
        if (!prototype) return;
        auto* h = new ObjectHolder(at, nullptr);
        h->m_pObject = prototype;  // referenced, never owned: the prototype keeps no holder
        list.InsertSorted(h, worldcell.x, worldcell.y, worldpixelx, worldpixely);
    };
    auto stand = [&](Object* prototype, int32_t margin) {
        put(cell.transients, prototype, RandomPointInCell(base, margin));
    };
    auto flat = [&](Object* prototype, int32_t margin) {
        put(cell.decals, prototype, RandomPointInCell(base, margin));
    };
    auto proto = [&](int row, int slot) { return prototypes[size_t(row - 1)][size_t(slot - 1)]; };
    Object* livePine = proto(1, 1);
    Object* livePineSmall = proto(1, 2);
    Object* deadPine = proto(1, 3);

    switch (cell.terrain) {
        case 0: {
            for (int i = 0; i < 5; ++i)
                if (qv::Rand() & 1) stand(proto(4, qv::Rand() % 5 + 1), 6);
            if (qv::Rand() % 5 == 1) {
                const int r = qv::Rand() % 11;
                if (r <= 2) {
                    flat(proto(5, 1), 20);
                } else if (r <= 5) {
                    for (int i = 0; i < 3; ++i) flat(proto(5, 2), 20);
                } else if (r <= 8) {
                    for (int i = 0; i < 2; ++i) flat(proto(5, 3), 20);
                } else if (r == 9) {
                    flat(proto(2, 3), 20);
                } else {
                    flat(proto(2, 4), 30);
                }
            }
            break;
        }
        case 5:
            if (qv::Rand() & 1) stand(proto(4, qv::Rand() % 5 + 1), 6);
            if (qv::Rand() & 1) stand(livePineSmall, 6);
            if (qv::Rand() & 1) stand((qv::Rand() & 1) ? livePine : livePineSmall, 6);
            break;
        case 6: {
            stand(livePine, 6);
            if (qv::Rand() & 1) {
                Object* const trees[3] = {livePine, livePineSmall, deadPine};
                stand(trees[qv::Rand() % 3], 6);
            }
            if (qv::Rand() % 4 == 1) stand((qv::Rand() & 1) ? livePine : livePineSmall, 6);
            break;
        }
        case 8:
            put(cell.transients, proto(2, 1), base);
            break;
        case 14:
            put(cell.transients, proto(2, 2), base);
            break;
        default:
            break;
    }
    qv::SeedRand(static_cast<uint32_t>(r0));
    for (ObjectHolder* h : cell.transients)
        cell.holders.InsertSorted(h, worldcell.x, worldcell.y, worldpixelx, worldpixely);
    return 1;
}
