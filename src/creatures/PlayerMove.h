#pragma once
// Scripted moves: the points a creature not led by the player visits in
// turn, kept in its list of moves and stored with it. A PlayerMoveTo names a
// cell of the map (160 x 112 pixels).

#include <cstdint>
#include <string>

#include "platform/Persistent.h"

class PlayerMove : public qv::Persistent {
    QV_DECLARE_CLASS(PlayerMove)
public:
    void Serialize(qv::Archive& ar) override;
    // The kind of move: 0 for a plain move, 1 for a move to a cell.
    virtual int GetMoveType() { return 0; }
    // The line shown for the move in the editor's list.
    virtual void Describe(std::string* text);
};

class PlayerMoveTo : public PlayerMove {
    QV_DECLARE_CLASS(PlayerMoveTo)
public:
    PlayerMoveTo() = default;
    PlayerMoveTo(int32_t x, int32_t y) : m_iX(x), m_iY(y) {}
    void Serialize(qv::Archive& ar) override;
    int GetMoveType() override { return 1; }
    void Describe(std::string* text) override;

    int32_t m_iX = 0;  // the cell
    int32_t m_iY = 0;
};

class MapMaster;
class Player;

// The editor's "Random List": the creature's own cell, then 2 to 4 cells
// near it that the path finder reaches, none twice (up to 2000 tries).
// Answers the number of moves added.
int AddRandomMoves(Player& creature, MapMaster& map);

// Lets the scripted move-pattern event fill a creature's list of moves with
// moves to its cells; the main frame installs it when it is made.
void InstallScriptedMoves();
