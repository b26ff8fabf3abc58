#pragma once
// The world's clock: hours and minutes in steps of five minutes, one step for
// every 75000 units of game time, with its "hh:mm" text. Each new hour counts
// down the hour timers of the world's script variables.

#include <cstdint>
#include <list>
#include <memory>
#include <string>

#include "platform/Persistent.h"

class Object;

class CTimeOfDay : public qv::Persistent {
    QV_DECLARE_CLASS(CTimeOfDay)
public:
    static constexpr uint32_t kStepTime = 75000;  // game time of five minutes

    CTimeOfDay();
    // Hour and minute as two 16-bit words; out-of-range stored values are
    // brought into the clock's range.
    void Serialize(qv::Archive& ar) override;

    // Moves the clock on to the game time `now`, in whole steps; the
    // remainder carries to the next call.
    void Advance(int32_t now);
    // n whole hours at once (the countdown sets values to -1).
    void AdvanceHours(int n);
    void Format();

    // The new-hour countdown over a list of script variables: every amount of
    // 2 or more loses one; reaching 1 sets the variable's value to v.
    static void CountDownHour(std::list<std::unique_ptr<Object>>& variables, int v);

    int m_bChanged = 0;
    int16_t m_sHour = 12;
    int16_t m_sMinute = 0;
    uint32_t m_dwLastTick = 0;
    std::string m_strTime;

private:
    void NewHour(int v);
    void Normalise();
};
