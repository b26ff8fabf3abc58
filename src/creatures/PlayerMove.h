#pragma once
// Scripted moves: the points, in cells, that a creature not led by the player
// visits in turn. A creature owns its list and stores it with its record.

#include <cstdint>
#include <string>

#include "platform/Persistent.h"

class PlayerMove : public qv::Persistent {
    QV_DECLARE_CLASS(PlayerMove)
public:
    void Serialize(qv::Archive& ar) override;
    // The kind of move: 0 for a plain move, 1 for a move to a cell.
    virtual int GetMoveType();
    // The line that names the move in the editor's list.
    virtual void Describe(std::string& text);
};

class PlayerMoveTo : public PlayerMove {
    QV_DECLARE_CLASS(PlayerMoveTo)
public:
    PlayerMoveTo() = default;
    PlayerMoveTo(int32_t cellX, int32_t cellY) : x(cellX), y(cellY) {}
    void Serialize(qv::Archive& ar) override;
    int GetMoveType() override;
    void Describe(std::string& text) override;

    int32_t x = 0;  // the target cell
    int32_t y = 0;
};
