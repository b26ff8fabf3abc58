// The path finder's search, its walk and the hook the group code asks.

#include "creatures/AStar.h"

#include <algorithm>
#include <cstdlib>

#include "world/Group.h"
#include "world/Map.h"

namespace {

// Direction number -> cell offset: 0 south, 1 east, 2 north, 3 west.
constexpr int32_t kDirX[4] = {0, 1, 0, -1};
constexpr int32_t kDirY[4] = {1, 0, -1, 0};
// The directions tried, in order, for each direction order of a search.
constexpr int kNeighbourOrder[4][4] = {{1, 0, 2, 3}, {0, 1, 3, 2}, {3, 2, 0, 1}, {2, 3, 1, 0}};

constexpr size_t kBlockSize = 512;
constexpr size_t kFirstIndexSize = 2048;  // a power of two
// Totals above this are never used to find a place in the open list.
constexpr int32_t kMaxRunTotal = 1 << 16;

int32_t Estimate(int32_t x, int32_t y, int32_t gx, int32_t gy) {
    return std::max(std::abs(x - gx), std::abs(y - gy));
}

size_t HashCell(int32_t x, int32_t y) {
    uint32_t h = static_cast<uint32_t>(x) * 0x9E3779B1u ^ static_cast<uint32_t>(y) * 0x85EBCA77u;
    return h ^ (h >> 15);
}

// The difference b - a taken the short way round a world `size` wide.
int32_t ShortOffset(int32_t d, int32_t size) {
    if (size <= 0) return d;
    d %= size;
    if (d >= size - size / 2) d -= size;
    if (d < -(size / 2)) d += size;
    return d;
}

// Nodes by cell around a search's start, one grid for the searches of a
// thread. A stamp tells the running search's entries from older ones, so the
// grid is never cleared; it reaches farther than any walk inside the window.
struct NearGrid {
    static constexpr int32_t kHalfW = MapMaster::wide + 1;
    static constexpr int32_t kHalfH = MapMaster::high + 1;
    static constexpr int32_t kW = 2 * kHalfW + 1;
    static constexpr int32_t kH = 2 * kHalfH + 1;
    std::vector<uint32_t> stamp = std::vector<uint32_t>(kW * kH, 0);
    std::vector<AStar::Node*> node = std::vector<AStar::Node*>(kW * kH, nullptr);
    uint32_t current = 0;
    bool inUse = false;
    // Node storage lent to the search that holds the grid: nothing reads a
    // search's nodes once its walk is built.
    std::vector<std::unique_ptr<AStar::Node[]>> blocks;

    // The slot of (x, y) for a grid whose corner is (x0, y0); -1 outside.
    static int32_t Slot(int32_t x, int32_t y, int32_t x0, int32_t y0) {
        const uint32_t ix = static_cast<uint32_t>(x - x0);
        const uint32_t iy = static_cast<uint32_t>(y - y0);
        if (ix >= static_cast<uint32_t>(kW) || iy >= static_cast<uint32_t>(kH)) return -1;
        return static_cast<int32_t>(iy * kW + ix);
    }
};

thread_local NearGrid t_grid;

}  // namespace

AStar::AStar() = default;
AStar::~AStar() = default;

void AStar::Reset() {
    m_iUsed = 0;
    std::fill(m_Index.begin(), m_Index.end(), nullptr);
    m_iIndexed = 0;
    m_pOpenHead = m_pOpenTail = nullptr;
    std::fill(m_RunHeads.begin(), m_RunHeads.end(), nullptr);
    m_iMaxRun = -1;
    m_Lowered.clear();
    m_bScan = false;
    m_Recheck.clear();
    m_Walk.clear();
    m_iCursor = 0;
}

AStar::Node* AStar::NewNode() {
    auto& blocks = m_bGrid ? t_grid.blocks : m_Blocks;
    const size_t block = m_iUsed / kBlockSize;
    if (block == blocks.size()) blocks.emplace_back(new Node[kBlockSize]);
    Node* n = &blocks[block][m_iUsed % kBlockSize];
    ++m_iUsed;
    *n = Node{};
    return n;
}

AStar::Node* AStar::Lookup(int32_t x, int32_t y) const {
    if (m_bGrid) {
        const int32_t slot = NearGrid::Slot(x, y, m_iGridX0, m_iGridY0);
        if (slot >= 0) {
            const size_t i = static_cast<size_t>(slot);
            return t_grid.stamp[i] == t_grid.current ? t_grid.node[i] : nullptr;
        }
    }
    if (m_Index.empty()) return nullptr;
    const size_t mask = m_Index.size() - 1;
    for (size_t i = HashCell(x, y) & mask;; i = (i + 1) & mask) {
        Node* n = m_Index[i];
        if (!n) return nullptr;
        if (n->x == x && n->y == y) return n;
    }
}

void AStar::Remember(Node* node) {
    if (m_bGrid) {
        const int32_t slot = NearGrid::Slot(node->x, node->y, m_iGridX0, m_iGridY0);
        if (slot >= 0) {
            const size_t i = static_cast<size_t>(slot);
            t_grid.stamp[i] = t_grid.current;
            t_grid.node[i] = node;
            return;
        }
    }
    if (m_Index.empty()) m_Index.resize(kFirstIndexSize, nullptr);
    if ((m_iIndexed + 1) * 2 > m_Index.size()) {
        std::vector<Node*> old(m_Index.size() * 2, nullptr);
        old.swap(m_Index);
        m_iIndexed = 0;
        for (Node* n : old)
            if (n) Remember(n);
    }
    const size_t mask = m_Index.size() - 1;
    size_t i = HashCell(node->x, node->y) & mask;
    while (m_Index[i]) i = (i + 1) & mask;
    m_Index[i] = node;
    ++m_iIndexed;
}

// Puts the node just before the first open node whose total is at least its
// own, so that among equal totals the newest comes first.
void AStar::InsertOpen(Node* node) {
    const int32_t f = node->f;
    if (f < 0 || f > kMaxRunTotal) m_bScan = true;
    Node* before = nullptr;
    if (!m_bScan) {
        // The first unlowered node of at least this total...
        for (int32_t t = f; t <= m_iMaxRun; ++t)
            if (Node* head = m_RunHeads[static_cast<size_t>(t)]) {
                before = head;
                break;
            }
        // ...unless a lowered node before it still has at least this total.
        for (Node* d : m_Lowered) {
            if (before && d->label > before->label) break;
            if (d->f >= f) {
                before = d;
                break;
            }
        }
        if (static_cast<size_t>(f) >= m_RunHeads.size())
            m_RunHeads.resize(static_cast<size_t>(f) * 2 + 16, nullptr);
        m_RunHeads[static_cast<size_t>(f)] = node;
        m_iMaxRun = std::max(m_iMaxRun, f);
    } else {
        before = m_pOpenHead;
        while (before && before->f < f) before = before->next;
    }
    node->next = before;
    node->prev = before ? before->prev : m_pOpenTail;
    if (node->prev)
        node->prev->next = node;
    else
        m_pOpenHead = node;
    if (before)
        before->prev = node;
    else
        m_pOpenTail = node;
    const uint64_t lo = node->prev ? node->prev->label : 0;
    const uint64_t hi = before ? before->label : UINT64_MAX;
    if (hi - lo < 2) {
        Relabel();
    } else {
        node->label = lo + (hi - lo) / 2;
    }
}

// Spreads the labels of the open list evenly again.
void AStar::Relabel() {
    uint64_t label = 0;
    for (Node* n = m_pOpenHead; n; n = n->next) n->label = label += uint64_t{1} << 32;
}

AStar::Node* AStar::NextUnlowered(Node* node) const {
    Node* n = node->next;
    while (n && n->lowered) n = n->next;
    return n;
}

void AStar::Lowering(Node* node) {
    if (node->closed || node->lowered || m_bScan) return;
    const size_t f = static_cast<size_t>(node->f);
    if (m_RunHeads[f] == node) {
        Node* next = NextUnlowered(node);
        m_RunHeads[f] = next && next->f == node->f ? next : nullptr;
    }
    node->lowered = true;
    auto at = std::upper_bound(m_Lowered.begin(), m_Lowered.end(), node,
                               [](const Node* a, const Node* b) { return a->label < b->label; });
    m_Lowered.insert(at, node);
}

AStar::Node* AStar::PopOpen() {
    Node* n = m_pOpenHead;
    if (!n) return nullptr;
    if (!m_bScan) {
        if (n->lowered) {
            m_Lowered.erase(m_Lowered.begin());
        } else {
            Node* next = NextUnlowered(n);
            m_RunHeads[static_cast<size_t>(n->f)] = next && next->f == n->f ? next : nullptr;
        }
    }
    m_pOpenHead = n->next;
    if (m_pOpenHead)
        m_pOpenHead->prev = nullptr;
    else
        m_pOpenTail = nullptr;
    n->next = n->prev = nullptr;
    n->closed = true;
    return n;
}

void AStar::FindPath(int32_t sx, int32_t sy, int32_t gx, int32_t gy, MapMaster* map,
                     Object* mover) {
    Reset();
    if (map) m_pMap = map;
    m_pMover = mover;
    m_iStartX = sx;
    m_iStartY = sy;
    // The thread's grid, unless an outer search holds it.
    m_bGrid = !t_grid.inUse;
    if (m_bGrid) {
        t_grid.inUse = true;
        if (++t_grid.current == 0) {
            std::fill(t_grid.stamp.begin(), t_grid.stamp.end(), 0);
            t_grid.current = 1;
        }
        m_iGridX0 = sx - NearGrid::kHalfW;
        m_iGridY0 = sy - NearGrid::kHalfH;
    }

    Node* start = NewNode();
    start->x = sx;
    start->y = sy;
    start->h = Estimate(sx, sy, gx, gy);
    start->f = start->h;
    Remember(start);
    InsertOpen(start);

    if (std::abs(sx - gx) > std::abs(sy - gy))
        m_iDirectionOrder = gx > sx ? 0 : 2;
    else
        m_iDirectionOrder = gy > sy ? 3 : 1;

    Node* result = nullptr;
    if (m_pMap) {
        for (int expansions = 0;;) {
            Node* best = PopOpen();
            if (!best) break;
            if (best->x == gx && best->y == gy) {
                result = best;
                break;
            }
            Expand(best, gx, gy);
            if (++expansions >= m_iMaxExpansions) {
                result = best;
                break;
            }
        }
    }

    if (m_bGrid) {
        t_grid.inUse = false;
        m_bGrid = false;
    }

    if (result && (result->x == gx || result->y == gy)) {
        m_bFound = 1;
        for (Node* n = result; n->parent; n = n->parent) m_Walk.push_back({n->x, n->y});
        m_iStepCount = static_cast<int32_t>(m_Walk.size());
        std::reverse(m_Walk.begin(), m_Walk.end());
    } else {
        m_bFound = 0;
        m_iStepCount = 1;
        m_Walk.clear();
    }
    m_iCursor = 0;
}

int AStar::HasNextStep() const {
    return m_iCursor < m_Walk.size() ? 1 : 0;
}

void AStar::NextStep(int32_t* x, int32_t* y) {
    if (m_iCursor >= m_Walk.size()) return;
    qv::Point c = m_Walk[m_iCursor++];
    if (m_pMap) m_pMap->WrapCell(c);
    *x = c.x;
    *y = c.y;
}

void AStar::Expand(Node* node, int32_t gx, int32_t gy) {
    for (int i = 0; i < 4; ++i) {
        const int d = kNeighbourOrder[m_iDirectionOrder][i];
        const int32_t nx = node->x + kDirX[d];
        const int32_t ny = node->y + kDirY[d];
        if (CanStep(&nx, &ny, &node->x, &node->y)) AddSuccessor(node, nx, ny, gx, gy, i);
    }
}

int AStar::CanStep(const int32_t* tx, const int32_t* ty, const int32_t* fx, const int32_t* fy) {
    if (!m_pMap) return 0;
    // The map's step test takes the cell entered as the source: its terrain
    // decides, and a mover may open doors that are not locked.
    return m_pMap->IsStepBlocked({*tx, *ty}, {*fx, *fy}, m_pMover != nullptr) ? 0 : 1;
}

int32_t AStar::StepCost(const Node*, const int32_t*) {
    return 1;
}

namespace {

void AddChild(AStar::Node* parent, AStar::Node* child) {
    for (AStar::Node*& c : parent->children)
        if (!c) {
            c = child;
            return;
        }
}

}  // namespace

void AStar::AddSuccessor(Node* parent, int32_t x, int32_t y, int32_t gx, int32_t gy, int i) {
    const int32_t g = parent->g + StepCost(parent, &i);
    if (Node* old = Lookup(x, y)) {
        AddChild(parent, old);
        if (g < old->g) {
            // It keeps its place in the open list.
            Lowering(old);
            old->parent = parent;
            old->g = g;
            old->f = old->h + g;
            if (old->closed) Propagate(old);
        }
        return;
    }
    Node* n = NewNode();
    n->parent = parent;
    n->g = g;
    n->h = Estimate(x, y, gx, gy);
    n->f = g + n->h;
    n->x = x;
    n->y = y;
    Remember(n);
    InsertOpen(n);
    AddChild(parent, n);
}

void AStar::Propagate(Node* node) {
    auto check = [this](Node* from) {
        for (int32_t k = 0; k < 4; ++k) {
            Node* c = from->children[k];
            if (!c) break;
            const int32_t g = from->g + StepCost(from, &k);
            if (g < c->g) {
                Lowering(c);
                c->g = g;
                c->f = c->h + g;
                c->parent = from;
                m_Recheck.push_back(c);
            }
        }
    };
    check(node);
    while (!m_Recheck.empty()) {
        Node* top = m_Recheck.back();
        m_Recheck.pop_back();
        check(top);
    }
}

void AStar::StartAndGoal(const MapMaster& map, qv::Point from, qv::Point to, qv::Point* start,
                         qv::Point* goal) {
    *start = from;
    *goal = {from.x + ShortOffset(to.x - from.x, map.worldcellx),
             from.y + ShortOffset(to.y - from.y, map.worldcelly)};
}

bool AStarPaths::Reaches(MapMaster& map, qv::Point from, qv::Point to) {
    // The group code speaks of window cells; the search of world cells.
    qv::Point a{map.origin.x + from.x, map.origin.y + from.y};
    qv::Point b{map.origin.x + to.x, map.origin.y + to.y};
    map.WrapCell(a);
    map.WrapCell(b);
    qv::Point start, goal;
    AStar::StartAndGoal(map, a, b, &start, &goal);
    AStar search;
    search.FindPath(start.x, start.y, goal.x, goal.y, &map, nullptr);
    return search.Found() != 0;
}

AStarPaths& AStarPaths::Shared() {
    static AStarPaths paths;
    return paths;
}
