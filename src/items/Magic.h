#pragma once
// A creature's magic: mana and maximum mana, the skill in each of the four
// schools, the clock of mana regeneration, the spells it knows, and a spell
// book per school that lays the known spells out for the magic page.

#include <cstdint>
#include <memory>
#include <vector>

#include "items/Bag.h"
#include "items/Spell.h"
#include "platform/Persistent.h"

// School numbers.
struct SpellSchool {
    static constexpr int Fire = 1;
    static constexpr int Earth = 2;
    static constexpr int Air = 3;
    static constexpr int Water = 4;
};

class Magic : public qv::Persistent {
    QV_DECLARE_CLASS(Magic)
public:
    Magic();
    ~Magic() override;
    Magic(const Magic&) = delete;
    // A copied creature keeps its own magic: assignment changes nothing.
    Magic& operator=(const Magic&) { return *this; }

    void Serialize(qv::Archive& ar) override;

    // Regenerates mana up to `now` at the given alertness (0..1000); false
    // when nothing was due (the first call only starts the clock).
    bool RegenerateMana(const int32_t* now, const int32_t* rate);
    // Adds to the skill of school 1 Fire, 2 Earth, 3 Air or 4 Water.
    void AddSchoolSkill(int school, float amount);

    // The known spell that is this object, or null.
    Spell* FindSpell(const Object* spell) const;
    // Takes a known spell out of the list; the caller owns it.
    std::unique_ptr<Spell> TakeSpell(const Spell* spell);

    float m_fEarthSkill = 0.0f;
    float m_fAirSkill = 0.0f;
    float m_fWaterSkill = 0.0f;
    float m_fFireSkill = 0.0f;
    int32_t m_iRegenPeriod = 1000;
    int32_t m_uLastManaTime = 0;                      // not stored
    int32_t m_bFirstManaCall = 1;                     // not stored
    std::vector<std::unique_ptr<Spell>> m_SpellList;  // the known spells; owned
    // The books refer to the known spells and own none of them.
    CBag m_FireBook{"Bag"};
    CBag m_EarthBook{"Bag"};
    CBag m_AirBook{"Bag"};
    CBag m_WaterBook{"Bag"};
    uint32_t m_uMaxMana = 0;
    uint32_t m_uMana = 0;
};
