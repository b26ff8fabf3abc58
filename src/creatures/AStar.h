#pragma once
// The path finder: an A* search for a walk of single cell steps (north, south,
// east, west) from one cell of the map to another, handed out step by step.
// A caller builds one on its stack for one search and throws it away after.
//
// Coordinates are whole cells as the map's step test takes them; the search
// adds and subtracts 1 without wrapping and leaves the window's edges to that
// test. A caller near the world's seam hands it the goal as the start plus
// the short wrapped difference (StartAndGoal below does it), and the steps it
// hands out come back wrapped into the world.
//
// The walk's shape follows fixed tie rules: neighbours are tried in an order
// chosen by where the goal lies, the open list keeps rising totals with the
// newest first among equals, and a node whose cost falls keeps its place.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Geometry.h"
#include "world/WorldRules.h"

class MapMaster;
class Object;

class AStar {
public:
    // The search stops after this many expansions.
    static constexpr int kMaxExpansions = 1000;
    // No node: the parent of the start, an empty child slot, the list's end.
    static constexpr uint32_t kNone = UINT32_MAX;

    // A search node, named by its number in the search's storage.
    struct Node {
        int32_t f;  // g + h
        int32_t h;  // estimate to the goal
        int32_t g;  // cost from the start
        int32_t x;
        int32_t y;
        uint32_t parent;
        uint32_t children[4];  // filled from the first empty slot
        uint32_t next;         // the next node of the open list
        uint32_t prev;         // the node before it in the open list
        uint64_t label;        // rises along the open list
        bool closed;
        bool lowered;  // its total fell while it stood in the open list
    };

    AStar();
    virtual ~AStar();
    AStar(const AStar&) = delete;
    AStar& operator=(const AStar&) = delete;

    // Runs a search from (sx, sy) to (gx, gy) and builds its walk, replacing
    // any earlier one. A null map keeps the map of the earlier search; the
    // mover (may be null) lets the step test open doors.
    void FindPath(int32_t sx, int32_t sy, int32_t gx, int32_t gy, MapMaster* map, Object* mover);
    // 1 while the walk has a step left.
    int HasNextStep() const;
    // The next cell of the walk, wrapped into the world; only after
    // HasNextStep gave 1.
    void NextStep(int32_t* x, int32_t* y);

    // Steps of the last walk (1 when none was found, 0 from start to itself).
    int32_t StepCount() const { return m_iStepCount; }
    // 1 when the walk reaches the goal, or a cell in its row or column when
    // the search stopped at its cap.
    int32_t Found() const { return m_bFound; }
    // Nodes the last search expanded.
    int32_t Expansions() const { return m_iExpansions; }
    // The cells of the nodes the next searches expand are appended to `log`
    // in the order they are expanded (null stops it): the order of a search
    // can be checked from outside.
    void LogExpansions(std::vector<qv::Point>* log) { m_pExpansionLog = log; }

    // The start cell of `from` and the goal cell of `to` for a search on the
    // map: the goal lies the short way round the world from the start.
    static void StartAndGoal(const MapMaster& map, qv::Point from, qv::Point to, qv::Point* start,
                             qv::Point* goal);

protected:
    // Tries the four neighbours of the node in this search's order.
    virtual void Expand(Node* node, int32_t gx, int32_t gy);
    // 1 when the step into (tx, ty) from (fx, fy) is allowed: the map's step
    // test is asked about the cell entered.
    virtual int CanStep(const int32_t* tx, const int32_t* ty, const int32_t* fx, const int32_t* fy);
    // The cost of entering the cell: every step costs 1.
    virtual int32_t StepCost(const Node* cell, const int32_t* neighbour);

    void AddSuccessor(Node* parent, int32_t x, int32_t y, int32_t gx, int32_t gy, int i);
    // Hands a lower cost on to the children, and theirs, of a closed node.
    void Propagate(Node* node);

    MapMaster* m_pMap = nullptr;
    Object* m_pMover = nullptr;
    int32_t m_iMaxExpansions = kMaxExpansions;
    int32_t m_iDirectionOrder = 0;
    int32_t m_iStartX = 0;
    int32_t m_iStartY = 0;

private:
    friend class RememberedSearch;
    struct WindowNodes;
    static WindowNodes& ThreadWindow();
    // The search proper, over whichever storage this search uses.
    uint32_t Search(int32_t gx, int32_t gy);
    // A search of the class's own steps whose every node is a window cell:
    // a cell's node is its entry in the thread's window table, and each cell
    // is read from the map once (see FindPath).
    void ExpandInWindow(uint32_t id);
    uint8_t WindowBits(uint32_t id);

    Node& N(uint32_t id) const;
    uint32_t IdOf(const Node* node) const;
    uint32_t NewNode(int32_t x, int32_t y);
    uint32_t Lookup(int32_t x, int32_t y) const;
    void Remember(uint32_t id);
    void InsertOpen(uint32_t id);
    uint32_t PopOpen();
    // The node's total is about to fall in place (it keeps its place).
    void Lowering(uint32_t id);
    uint32_t NextUnlowered(uint32_t id) const;
    void Relabel();
    void Reset();
    // The child's cost falls to g through `from`; a closed child hands it on.
    void Lower(uint32_t child, uint32_t from, int32_t g);
    // A successor of `parent` at (x, y) of cost g: the node `id` when
    // `exists`, else a new one (at `id` in window searches).
    void Link(uint32_t parent, uint32_t id, bool exists, int32_t x, int32_t y, int32_t g);
    void PropagateFrom(uint32_t id);

    int32_t m_iStepCount = 0;
    int32_t m_bFound = 0;
    int32_t m_iExpansions = 0;
    std::vector<qv::Point>* m_pExpansionLog = nullptr;
    // The walk's cells in walking order, and the index of the next one.
    std::vector<qv::Point> m_Walk;
    size_t m_iCursor = 0;
    uint32_t m_iExpanding = kNone;  // the node being expanded
    // A kept search's: what the map's step test reads of a window cell is
    // taken as it was read by an earlier such search, while the count of step
    // changes (StepEpoch) is still the one it was read at.
    bool m_bTrustEpoch = false;
    uint64_t m_iEpoch = 0;
    int32_t m_iGoalX = 0;
    int32_t m_iGoalY = 0;

    // Node storage: the thread's window table (nodes by window cell), or
    // blocks of this search's own, numbered in the order made, so that
    // nodes never move.
    WindowNodes* m_pWindow = nullptr;
    int32_t m_iStartWX = 0;  // the start's window cell, in window searches
    int32_t m_iStartWY = 0;
    std::vector<std::unique_ptr<Node[]>> m_Blocks;
    uint32_t m_iUsed = 0;
    // Nodes by cell, for searches that do not use the window table: near the
    // start in a grid shared by the thread's searches while this one runs,
    // elsewhere in a table of its own (open addressing; a cell has at most
    // one node).
    bool m_bGrid = false;
    // The class's step test reads each cell once, into the grid (while the
    // search holds it and the world is larger than the window).
    bool m_bStepBits = false;
    int32_t m_iGridX0 = 0;
    int32_t m_iGridY0 = 0;
    std::vector<uint32_t> m_Index;
    size_t m_iIndexed = 0;
    // The open list: head and tail. The nodes whose total never fell in
    // place lie in order of their totals (and every node before one of them
    // has at most its total); the first of each total is known. Where a new
    // node goes is found from those and from the few lowered nodes, kept in
    // list order. Totals outside the table make the search fall back to
    // scanning from the head.
    uint32_t m_iOpenHead = kNone;
    uint32_t m_iOpenTail = kNone;
    std::vector<uint32_t> m_RunHeads;
    int32_t m_iMaxRun = -1;
    std::vector<uint32_t> m_Lowered;
    bool m_bScan = false;
    std::vector<uint32_t> m_Recheck;
};

// A walker's last search, kept: asked again for the same start and goal
// with the same map, a mover or none as before, and no change since of
// anything the map's step test reads (StepEpoch), it hands out the same
// answer without searching, since a search could give no other.
class RememberedSearch {
public:
    // What the walk needs of a search: its step count, whether it was found,
    // and its first step (wrapped into the world), when it has one.
    struct Answer {
        int32_t stepCount = 0;
        int32_t found = 0;
        int32_t expansions = 0;
        bool hasStep = false;
        qv::Point firstStep{0, 0};
    };
    // The answer of AStar::FindPath (s, e, map, mover).
    const Answer& Find(MapMaster& map, qv::Point s, qv::Point e, Object* mover);
    // Whether the last Find searched (false when it handed out the answer kept).
    bool Searched() const { return m_bSearched; }

    // Off, every Find searches (tests compare the walks both ways).
    static bool s_reuse;
    // Finds that searched, and Finds that handed out a kept answer.
    static int64_t s_searches;
    static int64_t s_reuses;

private:
    Answer m_answer;
    const MapMaster* m_pMap = nullptr;
    uint64_t m_iEpoch = 0;
    qv::Point m_start{0, 0};
    qv::Point m_goal{0, 0};
    bool m_bMover = false;
    bool m_bSearched = false;
};

// The path finder as the group code asks it (World::m_pPathFinder): whether
// the search reaches one window cell from another. Play gives the shared one
// to the world it plays.
class AStarPaths : public PathFinder {
public:
    bool Reaches(MapMaster& map, qv::Point from, qv::Point to) override;
    static AStarPaths& Shared();
};
