#pragma once
// Power cubes ("Cogo'Septem") and their stands ("Nutrio'Septem"). A cube is
// charged at a stand, a charge at a time, and spends a charge with each use.
// A Stars cube takes the stand's colour and, used on a creature, heals it,
// restores its mana or lays a spell's effect; a Horsies cube takes the
// stand's key number and opens the door brick of that number.

#include <cstdint>
#include <string>

#include "world/Object.h"

struct CubeSymbol {
    static constexpr int32_t None = 0;
    static constexpr int32_t Stars = 1;
    static constexpr int32_t Horsies = 2;
};

class PowerCube : public Object {
    QV_DECLARE_CLASS(PowerCube)
public:
    PowerCube();
    ~PowerCube() override;
    PowerCube(const PowerCube&) = delete;
    PowerCube& operator=(const PowerCube&) = delete;

    void Serialize(qv::Archive& ar) override;
    int CanInteract() override { return 1; }
    // "Cogo'Septem - Stars, glowing red" and the like.
    std::string GetDisplayName() override;
    // Asks for what to use it on ("Use Cogo'Septem on..."); no user is
    // recorded with it. Answers 2.
    int GetUsePrompt(Player* user, int flag) override;
    // Charges at a stand, acts on a creature (Stars) or a door (Horsies).
    // Answers 0: the cube stays where it is.
    int Use(Player* user, Object* target) override;
    std::pair<int, int> GetUseRange(Player*) override { return {0, 0}; }
    // Any stand; a creature for a Stars cube; a door brick for a Horsies one.
    int IsValidTarget(Object* target) override;
    Object* Clone() override;

    // Adds `amount` charges of `value` (a colour or a key number); the
    // charging sound plays.
    void Charge(int32_t value, int32_t amount);
    // Spends a charge; the last one leaves the cube empty. With `sound` the
    // discharging sound plays.
    void Discharge(bool sound);

    int32_t m_iSymbol = CubeSymbol::None;
    int32_t m_iChargeValue = 0;  // a Stars colour 1..5, a Horsies key 1001..1004; 0 empty
    int32_t m_iCharges = 0;

    static constexpr int32_t kWeight = 5;
    static constexpr int32_t kFirstKey = 1000;  // a Horsies stand's key is this + its symbol

private:
    // What a use does to its target (not null).
    void ActOn(Player* user, Object* target);
};

class PowerCubeStand : public Object {
    QV_DECLARE_CLASS(PowerCubeStand)
public:
    PowerCubeStand();
    void Serialize(qv::Archive& ar) override;
    int CanInteract() override { return 1; }
    // "Nutrio'Septem - Sun" and the like.
    std::string GetDisplayName() override;
    // The picture's column is the stand's symbol (0, the bare stand, for any
    // other value).
    void GetImageFrame(int* x, int* y) override;
    Object* Clone() override;

    // 1 Sun, 2 Mighty Oak, 3 Hourglass, 4 Shield, 5 Wavy Lines.
    int32_t m_iSymbol = 0;

    static constexpr int32_t kSymbols = 5;
    // A Horsies cube is charged only at the first four.
    static constexpr int32_t kKeySymbols = 4;
};
