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

    // A search node; NewNode gives it all zeros.
    struct Node {
        int32_t f;  // g + h
        int32_t h;  // estimate to the goal
        int32_t g;  // cost from the start
        int32_t x;
        int32_t y;
        Node* parent;
        Node* children[4];  // filled from the first empty slot
        Node* next;         // the next node of the open list
        Node* prev;         // the node before it in the open list
        uint64_t label;     // rises along the open list
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
    Node* NewNode();
    Node* Lookup(int32_t x, int32_t y) const;
    void Remember(Node* node);
    void InsertOpen(Node* node);
    Node* PopOpen();
    // The node's total is about to fall in place (it keeps its place).
    void Lowering(Node* node);
    Node* NextUnlowered(Node* node) const;
    void Relabel();
    void Reset();

    int32_t m_iStepCount = 0;
    int32_t m_bFound = 0;
    // The walk's cells in walking order, and the index of the next one.
    std::vector<qv::Point> m_Walk;
    size_t m_iCursor = 0;

    // Node storage in blocks, so that nodes never move.
    std::vector<std::unique_ptr<Node[]>> m_Blocks;
    size_t m_iUsed = 0;
    // Nodes by cell: near the start in a grid shared by the thread's
    // searches while this one runs, elsewhere in a table of its own (open
    // addressing; a cell has at most one node).
    bool m_bGrid = false;
    int32_t m_iGridX0 = 0;
    int32_t m_iGridY0 = 0;
    std::vector<Node*> m_Index;
    size_t m_iIndexed = 0;
    // The open list: head and tail. The nodes whose total never fell in
    // place lie in order of their totals (and every node before one of them
    // has at most its total); the first of each total is known. Where a new
    // node goes is found from those and from the few lowered nodes, kept in
    // list order. Totals outside the table make the search fall back to
    // scanning from the head.
    Node* m_pOpenHead = nullptr;
    Node* m_pOpenTail = nullptr;
    std::vector<Node*> m_RunHeads;
    int32_t m_iMaxRun = -1;
    std::vector<Node*> m_Lowered;
    bool m_bScan = false;
    std::vector<Node*> m_Recheck;
};

// The path finder as the group code asks it (World::m_pPathFinder): whether
// the search reaches one window cell from another. Play gives the shared one
// to the world it plays.
class AStarPaths : public PathFinder {
public:
    bool Reaches(MapMaster& map, qv::Point from, qv::Point to) override;
    static AStarPaths& Shared();
};
