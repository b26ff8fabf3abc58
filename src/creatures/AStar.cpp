// The path finder's search, its walk and the hook the group code asks.

#include "creatures/AStar.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <typeinfo>

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
    std::vector<uint32_t> node = std::vector<uint32_t>(kW * kH, AStar::kNone);
    // What the map's step test reads of each cell, read once a search: the
    // stamp of the search that read it, and the map's step bits.
    std::vector<uint32_t> bitsStamp = std::vector<uint32_t>(kW * kH, 0);
    std::vector<uint8_t> bits = std::vector<uint8_t>(kW * kH, 0);
    uint32_t current = 0;
    bool inUse = false;

    // The slot of (x, y) for a grid whose corner is (x0, y0); -1 outside.
    static int32_t Slot(int32_t x, int32_t y, int32_t x0, int32_t y0) {
        const uint32_t ix = static_cast<uint32_t>(x - x0);
        const uint32_t iy = static_cast<uint32_t>(y - y0);
        if (ix >= static_cast<uint32_t>(kW) || iy >= static_cast<uint32_t>(kH)) return -1;
        return static_cast<int32_t>(iy * kW + ix);
    }
};

thread_local NearGrid t_grid;

void ClearNode(AStar::Node& n, int32_t x, int32_t y) {
    n.f = n.h = n.g = 0;
    n.x = x;
    n.y = y;
    n.parent = AStar::kNone;
    std::fill(std::begin(n.children), std::end(n.children), AStar::kNone);
    n.next = n.prev = AStar::kNone;
    n.label = 0;
    n.closed = false;
    n.lowered = false;
}

void AddChild(AStar::Node& parent, uint32_t child) {
    for (uint32_t& c : parent.children)
        if (c == AStar::kNone) {
            c = child;
            return;
        }
}

}  // namespace

// The nodes of a window search: one for each window cell, column by column
// as the map's cells, and beside them, kept apart for the neighbour tests,
// which search last read each cell, what the map's step test reads of it and
// whether that search made a node of it. The stamp tells the running
// search's entries from older ones, so the table is never cleared.
struct AStar::WindowNodes {
    struct Mark {
        uint32_t stamp;
        uint8_t bits;
        bool used;
    };
    static constexpr size_t kCells = MapMaster::wide * MapMaster::high;
    std::vector<Node> nodes = std::vector<Node>(kCells, Node{});
    std::vector<Mark> marks = std::vector<Mark>(kCells, Mark{0, 0, false});
    uint32_t current = 0;
    bool inUse = false;
    // The step bits as searches that trust the count of step changes read
    // them, without doors opened and with: the map they were read on, and per
    // cell the count they were read at.
    const MapMaster* stepMap = nullptr;
    std::vector<uint64_t> stepEpoch[2] = {std::vector<uint64_t>(kCells, 0),
                                          std::vector<uint64_t>(kCells, 0)};
    std::vector<uint8_t> stepBits[2] = {std::vector<uint8_t>(kCells, 0),
                                        std::vector<uint8_t>(kCells, 0)};
};

AStar::WindowNodes& AStar::ThreadWindow() {
    static thread_local WindowNodes window;
    return window;
}

AStar::AStar() = default;
AStar::~AStar() = default;

AStar::Node& AStar::N(uint32_t id) const {
    if (m_pWindow) return m_pWindow->nodes[id];
    return m_Blocks[id / kBlockSize][id % kBlockSize];
}

uint32_t AStar::IdOf(const Node* node) const {
    if (m_pWindow) return static_cast<uint32_t>(node - m_pWindow->nodes.data());
    if (m_iExpanding != kNone && node == &N(m_iExpanding)) return m_iExpanding;
    for (size_t b = 0; b < m_Blocks.size(); ++b) {
        const Node* first = m_Blocks[b].get();
        if (node >= first && node < first + kBlockSize)
            return static_cast<uint32_t>(b * kBlockSize + static_cast<size_t>(node - first));
    }
    return kNone;
}

void AStar::Reset() {
    m_iUsed = 0;
    std::fill(m_Index.begin(), m_Index.end(), kNone);
    m_iIndexed = 0;
    m_iOpenHead = m_iOpenTail = kNone;
    std::fill(m_RunHeads.begin(), m_RunHeads.end(), kNone);
    m_iMaxRun = -1;
    m_Lowered.clear();
    m_bScan = false;
    m_Recheck.clear();
    m_Walk.clear();
    m_iCursor = 0;
    m_iExpansions = 0;
    m_iExpanding = kNone;
}

uint32_t AStar::NewNode(int32_t x, int32_t y) {
    const size_t block = m_iUsed / kBlockSize;
    if (block == m_Blocks.size()) m_Blocks.emplace_back(new Node[kBlockSize]);
    const uint32_t id = m_iUsed++;
    ClearNode(N(id), x, y);
    return id;
}

uint32_t AStar::Lookup(int32_t x, int32_t y) const {
    if (m_bGrid) {
        const int32_t slot = NearGrid::Slot(x, y, m_iGridX0, m_iGridY0);
        if (slot >= 0) {
            const size_t i = static_cast<size_t>(slot);
            return t_grid.stamp[i] == t_grid.current ? t_grid.node[i] : kNone;
        }
    }
    if (m_Index.empty()) return kNone;
    const size_t mask = m_Index.size() - 1;
    for (size_t i = HashCell(x, y) & mask;; i = (i + 1) & mask) {
        const uint32_t id = m_Index[i];
        if (id == kNone) return kNone;
        const Node& n = N(id);
        if (n.x == x && n.y == y) return id;
    }
}

void AStar::Remember(uint32_t id) {
    const Node& node = N(id);
    if (m_bGrid) {
        const int32_t slot = NearGrid::Slot(node.x, node.y, m_iGridX0, m_iGridY0);
        if (slot >= 0) {
            const size_t i = static_cast<size_t>(slot);
            t_grid.stamp[i] = t_grid.current;
            t_grid.node[i] = id;
            return;
        }
    }
    if (m_Index.empty()) m_Index.resize(kFirstIndexSize, kNone);
    if ((m_iIndexed + 1) * 2 > m_Index.size()) {
        std::vector<uint32_t> old(m_Index.size() * 2, kNone);
        old.swap(m_Index);
        m_iIndexed = 0;
        for (uint32_t n : old)
            if (n != kNone) Remember(n);
    }
    const size_t mask = m_Index.size() - 1;
    size_t i = HashCell(node.x, node.y) & mask;
    while (m_Index[i] != kNone) i = (i + 1) & mask;
    m_Index[i] = id;
    ++m_iIndexed;
}

// Puts the node just before the first open node whose total is at least its
// own, so that among equal totals the newest comes first.
void AStar::InsertOpen(uint32_t id) {
    Node& node = N(id);
    const int32_t f = node.f;
    if (f < 0 || f > kMaxRunTotal) m_bScan = true;
    uint32_t before = kNone;
    if (!m_bScan) {
        // The first unlowered node of at least this total...
        for (int32_t t = f; t <= m_iMaxRun; ++t)
            if (const uint32_t head = m_RunHeads[static_cast<size_t>(t)]; head != kNone) {
                before = head;
                break;
            }
        // ...unless a lowered node before it still has at least this total.
        for (uint32_t d : m_Lowered) {
            if (before != kNone && N(d).label > N(before).label) break;
            if (N(d).f >= f) {
                before = d;
                break;
            }
        }
        if (static_cast<size_t>(f) >= m_RunHeads.size())
            m_RunHeads.resize(static_cast<size_t>(f) * 2 + 16, kNone);
        m_RunHeads[static_cast<size_t>(f)] = id;
        m_iMaxRun = std::max(m_iMaxRun, f);
    } else {
        before = m_iOpenHead;
        while (before != kNone && N(before).f < f) before = N(before).next;
    }
    node.next = before;
    node.prev = before != kNone ? N(before).prev : m_iOpenTail;
    if (node.prev != kNone)
        N(node.prev).next = id;
    else
        m_iOpenHead = id;
    if (before != kNone)
        N(before).prev = id;
    else
        m_iOpenTail = id;
    const uint64_t lo = node.prev != kNone ? N(node.prev).label : 0;
    const uint64_t hi = before != kNone ? N(before).label : UINT64_MAX;
    if (hi - lo < 2) {
        Relabel();
    } else {
        node.label = lo + (hi - lo) / 2;
    }
}

// Spreads the labels of the open list evenly again.
void AStar::Relabel() {
    uint64_t label = 0;
    for (uint32_t n = m_iOpenHead; n != kNone; n = N(n).next)
        N(n).label = label += uint64_t{1} << 32;
}

uint32_t AStar::NextUnlowered(uint32_t id) const {
    uint32_t n = N(id).next;
    while (n != kNone && N(n).lowered) n = N(n).next;
    return n;
}

void AStar::Lowering(uint32_t id) {
    Node& node = N(id);
    if (node.closed || node.lowered || m_bScan) return;
    const size_t f = static_cast<size_t>(node.f);
    if (m_RunHeads[f] == id) {
        const uint32_t next = NextUnlowered(id);
        m_RunHeads[f] = next != kNone && N(next).f == node.f ? next : kNone;
    }
    node.lowered = true;
    auto at = std::upper_bound(m_Lowered.begin(), m_Lowered.end(), id,
                               [this](uint32_t a, uint32_t b) { return N(a).label < N(b).label; });
    m_Lowered.insert(at, id);
}

uint32_t AStar::PopOpen() {
    const uint32_t id = m_iOpenHead;
    if (id == kNone) return kNone;
    Node& n = N(id);
    if (!m_bScan) {
        if (n.lowered) {
            m_Lowered.erase(m_Lowered.begin());
        } else {
            const uint32_t next = NextUnlowered(id);
            m_RunHeads[static_cast<size_t>(n.f)] = next != kNone && N(next).f == n.f ? next : kNone;
        }
    }
    m_iOpenHead = n.next;
    if (m_iOpenHead != kNone)
        N(m_iOpenHead).prev = kNone;
    else
        m_iOpenTail = kNone;
    n.next = n.prev = kNone;
    n.closed = true;
    return id;
}

void AStar::FindPath(int32_t sx, int32_t sy, int32_t gx, int32_t gy, MapMaster* map,
                     Object* mover) {
    Reset();
    if (map) m_pMap = map;
    m_pMover = mover;
    m_iStartX = sx;
    m_iStartY = sy;
    m_iGoalX = gx;
    m_iGoalY = gy;
    if (std::abs(sx - gx) > std::abs(sy - gy))
        m_iDirectionOrder = gx > sx ? 0 : 2;
    else
        m_iDirectionOrder = gy > sy ? 3 : 1;

    // The class's own search, over a world larger than the window from a
    // start inside it, only ever makes nodes of window cells: it takes the
    // thread's window table, and reads each cell's step bits from the map
    // once. Any other search keeps nodes of its own, looked up by cell in
    // the thread's grid unless an outer search holds it.
    WindowNodes& window = ThreadWindow();
    CellPoint sw{0, 0};
    if (typeid(*this) == typeid(AStar) && m_pMap && !window.inUse && m_pMap->StepBitsApply() &&
        m_pMap->CellToWindow({sx, sy}, sw)) {
        m_pWindow = &window;
        window.inUse = true;
        if (++window.current == 0) {
            for (WindowNodes::Mark& m : window.marks) m.stamp = 0;
            window.current = 1;
        }
        m_iStartWX = sw.x;
        m_iStartWY = sw.y;
        if (m_bTrustEpoch) {
            m_iEpoch = StepEpoch();
            if (window.stepMap != m_pMap) {
                window.stepMap = m_pMap;
                for (auto& epochs : window.stepEpoch) std::fill(epochs.begin(), epochs.end(), 0);
            }
        }
    } else if (!t_grid.inUse) {
        m_bGrid = true;
        t_grid.inUse = true;
        if (++t_grid.current == 0) {
            std::fill(t_grid.stamp.begin(), t_grid.stamp.end(), 0);
            std::fill(t_grid.bitsStamp.begin(), t_grid.bitsStamp.end(), 0);
            t_grid.current = 1;
        }
        m_iGridX0 = sx - NearGrid::kHalfW;
        m_iGridY0 = sy - NearGrid::kHalfH;
        m_bStepBits = m_pMap && m_pMap->StepBitsApply();
    }

    const uint32_t result = Search(gx, gy);
    if (result != kNone && (N(result).x == gx || N(result).y == gy)) {
        m_bFound = 1;
        for (uint32_t n = result; N(n).parent != kNone; n = N(n).parent)
            m_Walk.push_back({N(n).x, N(n).y});
        m_iStepCount = static_cast<int32_t>(m_Walk.size());
        std::reverse(m_Walk.begin(), m_Walk.end());
    } else {
        m_bFound = 0;
        m_iStepCount = 1;
        m_Walk.clear();
    }
    m_iCursor = 0;

    if (m_pWindow) {
        m_pWindow->inUse = false;
        m_pWindow = nullptr;
    }
    if (m_bGrid) {
        t_grid.inUse = false;
        m_bGrid = false;
        m_bStepBits = false;
    }
}

uint32_t AStar::Search(int32_t gx, int32_t gy) {
    const int32_t sx = m_iStartX, sy = m_iStartY;
    uint32_t start;
    if (m_pWindow) {
        start = static_cast<uint32_t>(m_iStartWX * MapMaster::high + m_iStartWY);
        WindowBits(start);
        ClearNode(N(start), sx, sy);
        m_pWindow->marks[start].used = true;
    } else {
        start = NewNode(sx, sy);
        Remember(start);
    }
    N(start).h = Estimate(sx, sy, gx, gy);
    N(start).f = N(start).h;
    InsertOpen(start);

    if (!m_pMap) return kNone;
    for (int32_t expansions = 0;;) {
        const uint32_t best = PopOpen();
        if (best == kNone) return kNone;
        Node& b = N(best);
        if (b.x == gx && b.y == gy) return best;
        if (m_pExpansionLog) m_pExpansionLog->push_back({b.x, b.y});
        m_iExpanding = best;
        if (m_pWindow)
            ExpandInWindow(best);
        else
            Expand(&b, gx, gy);
        m_iExpansions = ++expansions;
        if (expansions >= m_iMaxExpansions) return best;
    }
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
    const int doorsopen = m_pMover != nullptr ? 1 : 0;
    const int32_t dx = *tx - *fx, dy = *ty - *fy;
    const int32_t entered = NearGrid::Slot(*tx, *ty, m_iGridX0, m_iGridY0);
    const int32_t left = NearGrid::Slot(*fx, *fy, m_iGridX0, m_iGridY0);
    if (m_bStepBits && std::abs(dx) + std::abs(dy) == 1 && entered >= 0 && left >= 0) {
        // The same test from what it reads of each cell, read once a search.
        auto bits = [&](int32_t slot, int32_t x, int32_t y) {
            const size_t i = static_cast<size_t>(slot);
            if (t_grid.bitsStamp[i] != t_grid.current) {
                t_grid.bitsStamp[i] = t_grid.current;
                t_grid.bits[i] = m_pMap->StepBits({x, y}, doorsopen);
            }
            return t_grid.bits[i];
        };
        return MapMaster::IsStepBlockedByBits(bits(entered, *tx, *ty), bits(left, *fx, *fy), dx, dy)
                   ? 0
                   : 1;
    }
    return m_pMap->IsStepBlocked({*tx, *ty}, {*fx, *fy}, doorsopen) ? 0 : 1;
}

int32_t AStar::StepCost(const Node*, const int32_t*) {
    return 1;
}

// The map's step bits of a window cell, read once a search.
uint8_t AStar::WindowBits(uint32_t id) {
    WindowNodes& w = *m_pWindow;
    WindowNodes::Mark& m = w.marks[id];
    if (m.stamp == w.current) return m.bits;
    m.stamp = w.current;
    m.used = false;
    const int doors = m_pMover != nullptr ? 1 : 0;
    auto read = [&] {
        return m_pMap->StepBitsAt(static_cast<int32_t>(id) / MapMaster::high,
                                  static_cast<int32_t>(id) % MapMaster::high, doors);
    };
    if (!m_bTrustEpoch) {
        m.bits = read();
    } else {
        uint64_t& epoch = w.stepEpoch[doors][id];
        if (epoch != m_iEpoch) {
            epoch = m_iEpoch;
            w.stepBits[doors][id] = read();
        }
        m.bits = w.stepBits[doors][id];
    }
    return m.bits;
}

// Expand and CanStep of the class as they are, on the window table: a
// neighbour outside the window is not stepped to, and the step test reads
// the two cells' bits. Window neighbours are world neighbours here.
void AStar::ExpandInWindow(uint32_t id) {
    WindowNodes& w = *m_pWindow;
    const int32_t wx = static_cast<int32_t>(id) / MapMaster::high;
    const int32_t wy = static_cast<int32_t>(id) % MapMaster::high;
    const uint8_t bits = w.marks[id].bits;
    const int32_t x = w.nodes[id].x, y = w.nodes[id].y;
    const int32_t g = w.nodes[id].g + 1;  // the class's own step cost
    for (int i = 0; i < 4; ++i) {
        const int d = kNeighbourOrder[m_iDirectionOrder][i];
        const int32_t nwx = wx + kDirX[d], nwy = wy + kDirY[d];
        if (!MapMaster::IsWindowCell(nwx, nwy)) continue;
        const uint32_t nid = static_cast<uint32_t>(nwx * MapMaster::high + nwy);
        WindowNodes::Mark& mark = w.marks[nid];
        const uint8_t nbits = mark.stamp == w.current ? mark.bits : WindowBits(nid);
        if (MapMaster::IsStepBlockedByBits(nbits, bits, kDirX[d], kDirY[d])) continue;
        if (mark.used) {
            // A node already: it becomes a child, and its cost may fall.
            AddChild(w.nodes[id], nid);
            if (g < w.nodes[nid].g) Lower(nid, id, g);
            continue;
        }
        mark.used = true;
        Link(id, nid, false, x + kDirX[d], y + kDirY[d], g);
    }
}

void AStar::AddSuccessor(Node* parent, int32_t x, int32_t y, int32_t, int32_t, int i) {
    const int32_t g = parent->g + StepCost(parent, &i);
    const uint32_t old = Lookup(x, y);
    Link(IdOf(parent), old, old != kNone, x, y, g);
}

void AStar::Link(uint32_t parent, uint32_t id, bool exists, int32_t x, int32_t y, int32_t g) {
    if (exists) {
        AddChild(N(parent), id);
        // It keeps its place in the open list.
        if (g < N(id).g) Lower(id, parent, g);
        return;
    }
    if (m_pWindow) {
        ClearNode(N(id), x, y);
    } else {
        id = NewNode(x, y);
        Remember(id);
    }
    Node& n = N(id);
    n.parent = parent;
    n.g = g;
    n.h = Estimate(x, y, m_iGoalX, m_iGoalY);
    n.f = g + n.h;
    InsertOpen(id);
    AddChild(N(parent), id);
}

void AStar::Lower(uint32_t child, uint32_t from, int32_t g) {
    Lowering(child);
    Node& c = N(child);
    c.parent = from;
    c.g = g;
    c.f = c.h + g;
    if (c.closed) PropagateFrom(child);
}

void AStar::Propagate(Node* node) {
    PropagateFrom(IdOf(node));
}

void AStar::PropagateFrom(uint32_t id) {
    auto check = [this](uint32_t from) {
        for (int32_t k = 0; k < 4; ++k) {
            const uint32_t c = N(from).children[k];
            if (c == kNone) break;
            const int32_t g = N(from).g + StepCost(&N(from), &k);
            if (g < N(c).g) {
                Lowering(c);
                N(c).g = g;
                N(c).f = N(c).h + g;
                N(c).parent = from;
                m_Recheck.push_back(c);
            }
        }
    };
    check(id);
    while (!m_Recheck.empty()) {
        const uint32_t top = m_Recheck.back();
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

bool RememberedSearch::s_reuse = true;
int64_t RememberedSearch::s_searches = 0;
int64_t RememberedSearch::s_reuses = 0;

const RememberedSearch::Answer& RememberedSearch::Find(MapMaster& map, qv::Point s, qv::Point e,
                                                       Object* mover) {
    const uint64_t epoch = StepEpoch();
    m_bSearched = !s_reuse || m_pMap != &map || m_iEpoch != epoch || m_start != s || m_goal != e ||
                  m_bMover != (mover != nullptr);
    if (!m_bSearched) {
        ++s_reuses;
        return m_answer;
    }
    ++s_searches;
    AStar search;
    // What the step test reads may be taken as an earlier kept search read it
    // while no step changed: the answer rests on that count anyway.
    search.m_bTrustEpoch = true;
    search.FindPath(s.x, s.y, e.x, e.y, &map, mover);
    m_answer = Answer{};
    m_answer.stepCount = search.StepCount();
    m_answer.found = search.Found();
    m_answer.expansions = search.Expansions();
    if (search.HasNextStep()) {
        m_answer.hasStep = true;
        search.NextStep(&m_answer.firstStep.x, &m_answer.firstStep.y);
    }
    // Kept only when the search itself changed nothing it read.
    m_pMap = StepEpoch() == epoch ? &map : nullptr;
    m_iEpoch = epoch;
    m_start = s;
    m_goal = e;
    m_bMover = mover != nullptr;
    return m_answer;
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
