#pragma once
// A pool of free integer ids kept in ascending order: the lowest is taken,
// ids are given back. The world's pool of member ids holds -1 .. -1000.

#include <set>

#include "platform/Persistent.h"

class UnusedNumbers : public qv::Persistent {
    QV_DECLARE_CLASS(UnusedNumbers)
public:
    // Gives back `count` numbers: start, start + 1, ... (ascending) or start,
    // start - 1, ... (descending).
    explicit UnusedNumbers(int count = 0, int start = 0, int ascending = 1);

    // The lowest number, taken out of the pool; 0 when the pool is empty.
    int TakeLowest();
    // Puts a number back in order; a number already there is kept twice.
    void GiveBack(int number);
    int GetCount() const { return static_cast<int>(m_Numbers.size()); }
    const std::multiset<int>& Numbers() const { return m_Numbers; }

    // The count, then each number from the lowest. Loading gives each back.
    void Serialize(qv::Archive& ar) override;

private:
    std::multiset<int> m_Numbers;
};
