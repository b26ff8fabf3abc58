#pragma once
// Potions: drunk by a party member, a potion heals, restores mana or lays a
// spell's effect on the drinker; what is left is an empty bottle.
//
// Also the restorations that potions, scrolls and power cubes share.

#include <cstdint>

#include "items/Useable.h"

struct PotionType {
    static constexpr int32_t Empty = 0;
    static constexpr int32_t Healing = 1;
    static constexpr int32_t RestoreMana = 2;
    static constexpr int32_t Strength = 3;
    static constexpr int32_t Speed = 4;
    static constexpr int32_t Toughskin = 5;
    static constexpr int32_t CurePoison = 6;
    static constexpr int32_t Count = 7;
};

class Potion : public Useable {
    QV_DECLARE_CLASS(Potion)
public:
    explicit Potion(int32_t type = PotionType::Empty);
    ~Potion() override;
    Potion(const Potion&) = delete;
    Potion& operator=(const Potion&) = delete;

    void Serialize(qv::Archive& ar) override;
    // Asks for the creature to drink it ("Use Potion on..."); an empty potion
    // only says so. Answers 2.
    int GetUsePrompt(Player* user, int flag) override;
    // Drinks it: see the types. Answers 0 (an empty bottle stays).
    int Use(Player* user, Object* target) override;
    // A living party member.
    int IsValidTarget(Object* target) override;
    Object* Clone() override;

    // The type, with its name and weight for the types there are; the
    // picture of another type is the empty bottle's.
    void SetPotionType(int32_t type);

    int32_t m_iPotionType = PotionType::Empty;

    static constexpr int32_t kWeightEmpty = 3;
    static constexpr int32_t kWeightFull = 9;
    static constexpr int32_t kValue = 10;
};

// What potions, scrolls and power cubes give a creature, each without a
// caster: hit points or mana (10 + rand() % 10, never past the maximum), or
// a spell's effect, the spell kept only while it stays in effect.
enum class Boon { Healing, Mana, Strength, Speed, Toughskin, CurePoison, Invisibility };
inline constexpr int kBoonBase = 10;
inline constexpr int kBoonSpread = 10;
// False when nothing was given (mana to a creature without magic).
bool GiveBoon(Boon boon, Player& creature);
