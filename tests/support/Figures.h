#pragma once
// A creature's figures as one value, so that a test compares them at once and
// a failure prints them side by side.

#include <tuple>

#include "creatures/Player.h"

namespace creature_test {

// Strength, Dexterity, Intelligence, then their current values: the current
// Strength, the Dexterity in a fight and the current Intelligence.
inline std::tuple<int, int, int, int, int, int> Figures(const Player& p) {
    return {p.m_iStrength, p.m_iDexterity,       p.m_iIntelligence,
            p.m_iCurStr,   p.m_iCombatDexterity, p.m_iCurInt};
}

}  // namespace creature_test
