// Land streaming and the map's record: lands come into memory while they meet
// the window of cells around the focus, fill its cells and place their
// objects; they are written back to their files as soon as they leave it.
//
// Ownership of a placed object moves with its holder: in a land's `holders`
// list the land owns holder and object; placed, the cells list the holder and
// the map owns both until ResetCells gives them back to a land. A creature on
// the map is also listed by its group; back in a land it is in no group.

#include <algorithm>
#include <chrono>
#include <memory>
#include <unordered_set>

#include "media/DDWnd.h"
#include "platform/Archive.h"
#include "platform/ReadAhead.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/Land.h"
#include "world/Map.h"
#include "world/MapCreature.h"
#include "world/Object.h"
#include "world/ObjectHolder.h"
#include "world/World.h"

namespace {

// The member side of a creature, or null.
Member* CreatureOf(Object* obj) {
    return obj && obj->Type() == PLAYER ? qv::DynamicCast<Member>(obj) : nullptr;
}

// Times land file work for the benchmark's separate figure.
class FileClock {
public:
    explicit FileClock(int64_t& total) : m_total(total), m_start(Now()) {}
    ~FileClock() { m_total += Now() - m_start; }

private:
    static int64_t Now() {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }
    int64_t& m_total;
    int64_t m_start;
};

constexpr const char* kNoGroupMessage =
    "Error:  A Player is being loaded into a nonexistant Group!";

// The group split off from the party, made (under "All Groups") when asked.
Group* SplitGroup(World* world) {
    if (!world) return nullptr;
    if (Group* g = world->m_pGroupTempStorage.Get()) return g;
    if (!world->m_pAllGroups) return nullptr;
    auto* g = new Group("Group");
    g->m_bGrouped = 1;
    world->m_pAllGroups->AddMember(g);
    world->m_pGroupTempStorage = g;
    return g;
}

// Puts a creature into the split-off group when it belongs there; true then.
bool JoinSplitGroup(Member* m, MapCreature& side, World* world) {
    if (side.MapSavedGroup() == 0) return false;
    if (Group* split = SplitGroup(world))
        if (m->m_pGroup != split) split->AddMember(m);
    return true;
}

// Puts a creature into the group its number names, making a missing one.
void JoinNumberedGroup(Member* m, World* world) {
    if (!world || !world->m_pAllGroups) return;
    const int32_t n = m->m_iGroupNum;
    Group* group = nullptr;
    if (n < -1 && world->m_pRandomEncounters) {
        group = world->m_pRandomEncounters;
    } else if (n < 0) {
        group = world->m_pAllGroups;
    } else if (!(group = world->GetGroupByNumber(n))) {
        ShowGameMessage(kNoGroupMessage);
        if (n > Group::kMaxGroupNumber) {
            // A number no table can hold: the creature stays ungrouped.
            group = world->m_pAllGroups;
        } else {
            group = world->AddNumberedGroup(n, {});
        }
    }
    if (m->m_pGroup != group) group->AddMember(m);
}

}  // namespace

// ---------------------------------------------------------------------------
// Cells

void MapCell::SetTerrain(CellPoint worldcell, int32_t code, MapMaster& map) {
    if (code != -1) terrain = code;
    map.PopulateRandomly(worldcell, *this);
}

void MapCell::WriteBack(MapMaster& map) {
    Land* root = map.GetRootLand();
    // Taken from the head of what is left: removing a holder from the map
    // edits this list. A holder with no land to go to (no world is loaded)
    // stays listed and is stepped over.
    size_t kept = 0;
    while (kept < holders.Count()) {
        ObjectHolder* h = holders[kept];
        Land* home = land;
        CellPoint at;
        if (map.WindowCellOf(h->pos, at))
            if (Land* own = map.GetCell(at.x, at.y).land) home = own;
        if (!home) home = root;
        if (!home) {
            ++kept;
            continue;
        }
        map.RemoveHolder(h->pos, h);
        holders.Remove(h);  // in case the holder was listed where it does not stand
        home->KeepHolder(h);
        if (Object* obj = h->m_pObject)
            if (obj->Type() == PLAYER)
                if (auto* m = qv::DynamicCast<Member>(obj); m && m->m_pGroup)
                    m->m_pGroup->RemoveMember(m);
    }
}

// ---------------------------------------------------------------------------
// Lands in and out of memory

Land* MapMaster::GetRootLand() const {
    return landgraph && landgraph->info ? landgraph->info->land : nullptr;
}

void MapMaster::DeleteLands() {
    std::vector<Land*> lands;
    lands.swap(loadedlands);
    for (Land* land : lands) {
        if (land->landinfo) land->landinfo->land = nullptr;
        delete land;
    }
    delete landgraph;
    landgraph = nullptr;
    m_landPictures.clear();
    if (m_readAhead) m_readAhead->Want({});
    for (MapCell& cell : m_cells) cell.land = nullptr;
}

void MapMaster::DeleteContents() {
    DeleteLands();
    DeleteAllHolders();
    m_cells.assign(static_cast<size_t>(wide * high), MapCell{});
    NoteStepChange();
}

void MapMaster::ResetCells() {
    for (int32_t i = 0; i < wide; ++i)
        for (int32_t j = 0; j < high; ++j) {
            MapCell& cell = GetCell(i, j);
            cell.Reset();
            cell.WriteBack(*this);
        }
    // Only once every cell is written back: a holder goes to the land of the
    // cell it stands in.
    for (MapCell& cell : m_cells) {
        cell.image = nullptr;
        cell.land = nullptr;
    }
    ++m_reloads;
}

void MapMaster::PrefetchLands(LandGraph* node, const CellRect& rect) {
    for (auto& child : node->children)
        if (child->info && RectsOverlap(child->info->bounds, rect))
            PrefetchLands(child.get(), rect);
    LandInfo* info = node->info.get();
    if (!info || info->land) return;
    FileClock clock(landFileNanos);
    std::unique_ptr<Land> land = ReadLandFile(*info);
    info->CheckAgrees(*land, info->FilePath());
    land->landinfo = info;
    m_prefetched.push_back(std::move(land));
}

int MapMaster::ReloadWindowAt(int32_t cx, int32_t cy) {
    CellPoint o{cx - wide / 2, cy - high / 2};
    if (o.x < 0) o.x += worldcellx;
    if (o.y < 0) o.y += worldcelly;
    CellRect rect{o.x, o.y, o.x + wide, o.y + high};
    if (rect.right > worldcellx) rect.right -= worldcellx;
    if (rect.bottom > worldcelly) rect.bottom -= worldcelly;
    // Every land the window will need is read first: a land file that cannot
    // be read raises its error while the world is still as it was.
    m_prefetched.clear();
    if (landgraph) {
        try {
            PrefetchLands(landgraph, rect);
        } catch (...) {
            m_prefetched.clear();
            throw;
        }
    }
    ResetCells();
    SetOrigin(o);
    FillMinimap(4);
    if (landgraph) StreamLands(landgraph, 1);
    m_prefetched.clear();
    ReadLandsAhead();
    return 1;
}

void MapMaster::StreamLands(LandGraph* node, int overlaps) {
    if (!node) return;
    // Children first: a deeper, smaller land claims its cells before the land
    // that contains it.
    for (auto& child : node->children) {
        LandInfo* info = child->info.get();
        if (!info) continue;
        if (RectsOverlap(info->bounds, windowrect)) {
            StreamLands(child.get(), 1);
        } else if (Land* land = info->land) {
            {
                FileClock clock(landFileNanos);
                info->SaveLand();
            }
            std::erase(loadedlands, land);
            info->land = nullptr;
            delete land;
            StreamLands(child.get(), 0);
        }
    }
    if (!overlaps || !node->info) return;
    LandInfo* info = node->info.get();
    if (!info->land) {
        std::unique_ptr<Land> read;
        auto it = std::find_if(m_prefetched.begin(), m_prefetched.end(),
                               [info](const auto& l) { return l->landinfo == info; });
        if (it != m_prefetched.end()) {
            read = std::move(*it);
            m_prefetched.erase(it);
        } else {
            FileClock clock(landFileNanos);
            read = ReadLandFile(*info);
            info->CheckAgrees(*read, info->FilePath());
        }
        loadedlands.push_back(read.get());
        info->land = read.release();
        info->land->landinfo = info;
    }
    FillCellsFrom(info->land);
    PlaceLandHolders(info->land);
}

void MapMaster::FillCellsFrom(Land* land) {
    auto codeAt = [&](int32_t wx, int32_t wy) {
        CellPoint c{wx, wy};
        WrapCell(c);
        return land->GetCellCode(c.x, c.y, this);
    };
    for (int32_t i = 0; i < wide; ++i) {
        for (int32_t j = 0; j < high; ++j) {
            MapCell& cell = GetCell(i, j);
            if (cell.IsFilled()) continue;
            CellPoint world{i + origin.x, j + origin.y};
            WrapCell(world);
            const int32_t code = land->GetCellCode(world.x, world.y, this);
            if (code < 0) continue;
            cell.worldindex = world.y * worldcellx + world.x;
            cell.imagetype = code;
            int32_t terrain = code;
            if (code >= 15) {
                // A mixed cell: the terrain most of its neighbours have.
                std::array<int, 15> counts{};
                for (int32_t dy = -1; dy <= 1; ++dy)
                    for (int32_t dx = -1; dx <= 1; ++dx) {
                        const int32_t c = codeAt(world.x + dx, world.y + dy);
                        if (c >= 0 && c <= 14 && c != 2 && c != 4) ++counts[size_t(c)];
                    }
                int best = -1;
                for (int c = 0; c < 15; ++c)
                    if (counts[size_t(c)] > 0 &&
                        (best < 0 || counts[size_t(c)] > counts[size_t(best)]))
                        best = c;
                if (best >= 0) {
                    terrain = best;
                } else if (j > 0 && GetCell(i, j - 1).IsFilled() &&
                           GetCell(i, j - 1).imagetype >= 15) {
                    terrain = GetCell(i, j - 1).terrain;
                } else if (i > 0 && GetCell(i - 1, j).IsFilled() &&
                           GetCell(i - 1, j).imagetype >= 15) {
                    terrain = GetCell(i - 1, j).terrain;
                }
            }
            cell.SetTerrain(world, terrain, *this);
            cell.land = land;
            PlotMinimapCell(i, j, -1, 4);
        }
    }
}

bool MapMaster::ForceIntoCell(ObjectHolder* holder) {
    CellPoint wc;
    if (!WindowCellOf(holder->pos, wc)) return false;
    CellPoint world = PixelToCell(holder->pos);
    MapCell& cell = GetCell(wc.x, wc.y);
    if (!cell.holders.Find(holder))
        cell.holders.InsertSorted(holder, world.x, world.y, worldpixelx, worldpixely);
    holder->m_Corners[0] = {wc.x, wc.y};
    Position pos = holder->pos;
    if (holder->m_pObject) holder->m_pObject->SetPosition(&cell, &pos);
    return true;
}

void MapMaster::PlaceLandHolders(Land* land) {
    World* world = GetWorld();
    // Holders placed during a pass leave the land's list together at the
    // pass's end, so that a land of many holders costs one sweep a pass.
    std::unordered_set<ObjectHolder*> gone;
    auto release = [&](ObjectHolder* h) { gone.insert(h); };
    auto endPass = [&] {
        std::erase_if(land->holders, [&](ObjectHolder* h) { return gone.count(h) != 0; });
        gone.clear();
    };
    auto place = [&](ObjectHolder* h) {
        Position pos = h->pos;
        ObjectIgnoreList ignore;
        if (!AddHolder(pos, h, &ignore, 1)) return false;
        release(h);
        return true;
    };

    // Platforms first, so that what stands on them finds them; then the rest
    // but creatures.
    const std::vector<ObjectHolder*> first = land->holders;
    for (ObjectHolder* h : first)
        if (h && h->m_pObject && h->m_pObject->Type() == TRAVERSABLE) place(h);
    endPass();
    const std::vector<ObjectHolder*> second = land->holders;
    for (ObjectHolder* h : second) {
        if (!QV_CHECK(h != nullptr)) continue;
        if (!h->m_pObject) {
            land->ReleaseHolder(h);  // at once: its memory goes now
            delete h;
            continue;
        }
        const int type = h->m_pObject->Type();
        if (type != TRAVERSABLE && type != PLAYER) place(h);
    }
    endPass();

    // Then the creatures, each first stepping on what it comes back onto.
    const std::vector<ObjectHolder*> creatures = land->holders;
    for (ObjectHolder* h : creatures) {
        Object* obj = h->m_pObject;
        if (!obj || obj->Type() != PLAYER) continue;
        Member* m = CreatureOf(obj);
        MapCreature* side = obj->GetMapCreature();
        Position pos = h->pos;
        ObjectIgnoreList ignore;
        if (ObjectHolder* under = CheckMove(obj, pos, &ignore, 0, 0))
            if (under != GetBlocker() && under->m_pObject) under->m_pObject->StepOn(&pos, obj);
        bool placed = place(h);
        const bool alive = side && side->MapHitPoints() > 0;
        if (!placed && m && !alive && m->m_bGrouped) {
            land->ReleaseHolder(h);  // at once: its memory goes now
            if (m->m_pGroup) m->m_pGroup->RemoveMember(m);
            DeleteHolderWithObject(h);
            continue;
        }
        CellPoint wc;
        if (!placed && alive && WindowCellOf(h->pos, wc)) {
            // It could not stand where it was, yet it is inside the window: it
            // stays on the map where it is rather than being lost.
            release(h);
            ForceIntoCell(h);
            placed = true;
        }
        if (!m || !side) continue;
        if (!placed) {
            side->MapKeepInLand(land);
            if (!m->m_bGrouped) side->MapTakeNumber();
            JoinSplitGroup(m, *side, world);
            continue;
        }
        side->MapKeepInLand(nullptr);
        if (JoinSplitGroup(m, *side, world)) continue;
        if (!m->m_bGrouped) side->MapTakeNumber();
        JoinNumberedGroup(m, world);
    }
    endPass();
}

// ---------------------------------------------------------------------------
// The map's record

void MapMaster::Serialize(qv::Archive& ar) {
    if (ar.IsStoring()) {
        ResetCells();
        ar.WriteObject(landgraph);
        for (const auto& column : explored) ar.Write(column.data(), column.size());
        return;
    }
    uint32_t schema = ar.GetObjectSchema();
    if (schema == 0xFFFFFFFFu) schema = classInfo.schema;

    // Read and checked whole before anything of the world in memory changes.
    std::unique_ptr<LandGraph> tree(ar.ReadObjectOf<LandGraph>());
    if (!tree || !tree->info) ar.Fail(qv::ArchiveError::Generic, "a world without a root land");
    const int32_t w = tree->info->bounds.right;
    const int32_t h = tree->info->bounds.bottom;
    // Bounded before anything is made for it: the explored bits alone of a
    // world too large would take gigabytes.
    if (w < wide || h < high || !FitsLargestWorld(w, h))
        ar.Fail(qv::ArchiveError::Generic,
                "a world of " + std::to_string(w) + " x " + std::to_string(h) +
                    " cells, where a world takes at least " + std::to_string(wide) + " x " +
                    std::to_string(high) + " and at most " + std::to_string(kMaxWorldCells) +
                    " cells");
    // Every land of the index lies in the world the root land spans.
    std::vector<const LandGraph*> nodes{tree.get()};
    while (!nodes.empty()) {
        const LandGraph* node = nodes.back();
        nodes.pop_back();
        if (node->info)
            Land::CheckBounds(ar, node->info->bounds, w, h,
                              "land \"" + node->info->filename + "\" of the index:");
        for (const auto& child : node->children) nodes.push_back(child.get());
    }
    std::vector<std::vector<uint8_t>> bits(static_cast<size_t>((w + 7) / 8));
    if (schema >= 2) {
        const uint64_t bytes = uint64_t(bits.size()) * uint64_t(h);
        if (bytes > ar.Remaining())
            ar.Fail(qv::ArchiveError::EndOfFile, "the explored cells are cut short");
        for (auto& column : bits) {
            column.resize(static_cast<size_t>(h));
            ar.Read(column.data(), column.size());
        }
    } else {
        for (auto& column : bits) column.assign(static_cast<size_t>(h), 0);
    }

    DeleteContents();
    lightholders.clear();
    landgraph = tree.release();
    TakeWorldSize(w, h, std::move(bits));
    RecentreWindow();
}
