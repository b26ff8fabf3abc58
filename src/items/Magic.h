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
    // Adds to the skill of school 1 Fire, 2 Earth, 3 Air or 4 Water; any
    // other school number changes nothing.
    void AddSchoolSkill(int school, float amount);
    // The skill of a school (0 for any other number).
    float GetSchoolSkill(int school) const;
    // The book of a school (3 Air, 4 Water, 2 Earth, anything else Fire),
    // every book refilled first from the known spells in their order. A book
    // holds as many spells as a bag; the others stay known and castable.
    CBag& GetSpellBook(int school);

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
    // The bag kinds the books are given, by school (Fire 7, Earth 8, Air 9,
    // Water 10).
    static constexpr int32_t kBookKinds[5] = {0, 7, 8, 9, 10};
    uint32_t m_uMaxMana = 0;
    uint32_t m_uMana = 0;

private:
    // The skill and the book of school 1 to 4; null for any other number.
    float* SkillOf(int school);
    CBag* BookOf(int school);
};
