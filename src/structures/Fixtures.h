#pragma once
// Keys, levers and stairs.

#include <string>

#include "world/Object.h"

class Key : public Object {
    QV_DECLARE_CLASS(Key)
public:
    explicit Key(const std::string& name = "Key");
    void Serialize(qv::Archive& ar) override;
    int CanInteract() override { return 1; }
};

// A two-state switch. Worked (code 2), it takes the other state and activates
// every other object recorded under its key number.
class Lever : public Key {
    QV_DECLARE_CLASS(Lever)
public:
    explicit Lever(const std::string& name = "Lever");
    void Serialize(qv::Archive& ar) override;
    int Activate(int* action, Player* actor) override;
    // 0: anything may work it; 1: only a creature's hand.
    int m_iMode = 0;
};

// Stairs to another world: its file and the cell to arrive at.
class Stairs : public Object {
    QV_DECLARE_CLASS(Stairs)
public:
    explicit Stairs(const std::string& name = "Stairs");
    void Serialize(qv::Archive& ar) override;
    int Type() override { return STAIRS; }
    // A creature may stand on the stairs; they are taken through the
    // interaction, which asks first.
    int StepOn(Position* pos, Object* mover) override;
    std::string m_strWorldFile;
    int32_t m_iTargetX = 0;
    int32_t m_iTargetY = 0;
};
