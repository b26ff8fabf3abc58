#pragma once
// Money: the game's gold, one stack of coins. It weighs its weight for every
// coin; gold weighs nothing.

#include "world/Object.h"

class Money : public Object {
    QV_DECLARE_CLASS(Money)
public:
    explicit Money(const std::string& name = "Gold");
    // The object part; money always stacks, whatever a file says.
    void Serialize(qv::Archive& ar) override;
    int CanInteract() override { return 1; }
    // The weight of one coin times the coins.
    int GetWeight() override;
    int Type() override { return MONEY; }
};
