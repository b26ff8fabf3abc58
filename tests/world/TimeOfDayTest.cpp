// The game clock: five-minute steps per 75000 units of game time, the hour
// wrap, whole hours, the clock text, the script-variable countdown and the
// stored record.

#include <gtest/gtest.h>

#include <memory>

#include "platform/Archive.h"
#include "support/HandWrittenRecord.h"
#include "world/Object.h"
#include "world/TimeOfDay.h"
#include "world/World.h"

namespace {

TEST(TimeOfDay, StartsAtNoon) {
    CTimeOfDay clock;
    EXPECT_EQ(clock.m_sHour, 12);
    EXPECT_EQ(clock.m_sMinute, 0);
    EXPECT_EQ(clock.m_dwLastTick, 0u);
    EXPECT_EQ(clock.m_strTime, "12:00");
}

TEST(TimeOfDay, StepsOfFiveMinutesCarryTheRemainder) {
    CTimeOfDay clock;
    int32_t now = 74999;
    clock.Advance(now);
    EXPECT_EQ(clock.m_bChanged, 0);
    EXPECT_EQ(clock.m_strTime, "12:00");
    now = 149999;
    clock.Advance(now);
    EXPECT_EQ(clock.m_bChanged, 1);
    EXPECT_EQ(clock.m_strTime, "12:05");
    EXPECT_EQ(clock.m_dwLastTick, 75000u);  // 74999 carried
    now = 150000;
    clock.Advance(now);
    EXPECT_EQ(clock.m_strTime, "12:10");
    clock.Advance(now);
    EXPECT_EQ(clock.m_bChanged, 0);
}

TEST(TimeOfDay, TheHourWrapsAtMidnight) {
    CTimeOfDay clock;
    clock.m_sHour = 23;
    clock.m_sMinute = 55;
    int32_t now = 75000;
    clock.Advance(now);
    EXPECT_EQ(clock.m_sHour, 0);
    EXPECT_EQ(clock.m_sMinute, 0);
    EXPECT_EQ(clock.m_strTime, "00:00");
    clock.m_sHour = 9;
    clock.m_sMinute = 0;
    now = 150000;
    clock.Advance(now);
    EXPECT_EQ(clock.m_strTime, "09:05");
    clock.AdvanceHours(14);
    EXPECT_EQ(clock.m_strTime, "23:05");
    clock.AdvanceHours(2);
    EXPECT_EQ(clock.m_strTime, "01:05");
}

TEST(TimeOfDay, AdvancesAcrossTheWrapOfGameTime) {
    CTimeOfDay clock;
    clock.m_dwLastTick = 0x7FFFFFFFu - 10000u;
    int32_t now = INT32_MIN + 64999;  // 75000 units later
    clock.Advance(now);
    EXPECT_EQ(clock.m_bChanged, 1);
    EXPECT_EQ(clock.m_strTime, "12:05");
    EXPECT_EQ(clock.m_dwLastTick, 0x80000000u + 64999u);
    // And across the wrap of the unsigned count itself.
    clock.m_dwLastTick = 0xFFFFFFFFu - 100u;
    now = 74899;
    clock.Advance(now);
    EXPECT_EQ(clock.m_strTime, "12:10");
}

TEST(TimeOfDay, ZeroHoursOnlyRebuildTheText) {
    CTimeOfDay clock;
    clock.m_sHour = 7;
    clock.AdvanceHours(0);
    EXPECT_EQ(clock.m_sHour, 7);
    EXPECT_EQ(clock.m_strTime, "07:00");
    clock.AdvanceHours(-3);
    EXPECT_EQ(clock.m_sHour, 7);
}

TEST(TimeOfDay, NewHoursCountDownTheScriptVariables) {
    World world;
    auto add = [&](int amount, int value) {
        auto v = std::make_unique<Object>("Var");
        v->m_iBulkNum = amount;
        v->m_iValue = value;
        world.m_ScriptVariableList.push_back(std::move(v));
        return world.m_ScriptVariableList.back().get();
    };
    Object* three = add(3, 7);
    Object* one = add(1, 9);
    Object* two = add(2, 4);
    CTimeOfDay clock;
    int32_t now = 12 * 75000;  // one hour
    clock.Advance(now);
    EXPECT_EQ(three->m_iBulkNum, 2);
    EXPECT_EQ(three->m_iValue, 7);
    EXPECT_EQ(two->m_iBulkNum, 1);
    EXPECT_EQ(two->m_iValue, 0);
    now = 24 * 75000;
    clock.Advance(now);
    EXPECT_EQ(three->m_iBulkNum, 1);
    EXPECT_EQ(three->m_iValue, 0);
    EXPECT_EQ(one->m_iBulkNum, 1);
    EXPECT_EQ(one->m_iValue, 9);
    EXPECT_EQ(two->m_iValue, 0);
    // Hours added at once set -1.
    Object* later = add(2, 5);
    clock.AdvanceHours(1);
    EXPECT_EQ(later->m_iBulkNum, 1);
    EXPECT_EQ(later->m_iValue, -1);
}

using record_test::LoadObject;
using record_test::StoreObject;

TEST(TimeOfDay, StoresHourAndMinuteAsTwoWords) {
    CTimeOfDay clock;
    clock.m_sHour = 9;
    clock.m_sMinute = 5;
    clock.m_dwLastTick = 1234;
    const std::vector<uint8_t> expected = {0xFF, 0xFF, 0x01, 0x00, 0x0A, 0x00, 'C',
                                           'T',  'i',  'm',  'e',  'O',  'f',  'D',
                                           'a',  'y',  0x09, 0x00, 0x05, 0x00};
    const record_test::Bytes bytes = StoreObject(clock);
    EXPECT_EQ(bytes, expected);
    auto back = LoadObject<CTimeOfDay>(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->m_sHour, 9);
    EXPECT_EQ(back->m_sMinute, 5);
    EXPECT_EQ(back->m_dwLastTick, 0u);
}

TEST(TimeOfDay, OutOfRangeStoredValuesAreBroughtIntoTheClock) {
    struct Case {
        int16_t hour, minute, wantHour, wantMinute;
    };
    const Case cases[] = {{30, 62, 6, 0}, {-5, -5, 19, 55}, {24, 57, 0, 55}, {23, 55, 23, 55}};
    for (const Case& c : cases) {
        CTimeOfDay clock;
        clock.m_sHour = c.hour;
        clock.m_sMinute = c.minute;
        const record_test::Bytes bytes = StoreObject(clock);
        auto back = LoadObject<CTimeOfDay>(bytes);
        EXPECT_EQ(back->m_sHour, c.wantHour) << c.hour;
        EXPECT_EQ(back->m_sMinute, c.wantMinute) << c.minute;
        int32_t now = 75000;
        back->Advance(now);
        EXPECT_GE(back->m_sHour, 0);
        EXPECT_LT(back->m_sHour, 24);
    }
}

TEST(TimeOfDay, ARecordOfAnotherSchemaIsRefused) {
    CTimeOfDay clock;
    record_test::Bytes bytes = StoreObject(clock);
    bytes[2] = 0x02;  // schema 2
    EXPECT_EQ(record_test::RefusalOf<CTimeOfDay>(bytes), qv::ArchiveError::BadSchema);
}

}  // namespace
