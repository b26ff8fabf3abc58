// Every schema of the object and member records: each field is read from
// the place its schema puts it, and fields a schema lacks keep their
// defaults.

#include <gtest/gtest.h>

#include <string>

#include "support/HandWrittenRecord.h"
#include "world/Member.h"

namespace {

using record_test::Bytes;
using record_test::LoadObject;
using record_test::PutInt;
using record_test::PutInts;
using record_test::PutNewClass;
using record_test::PutObjectDefaults;
using record_test::PutString;

// An object record of schema s laid out as the game wrote it then: frame
// (3, 2), stored weight 55, value 12, names, key -1, then spare 5, state 2,
// amount 9 and stackable 1, interact 0, second spare 4, owner 6, each from
// the schema that added it.
Bytes ObjectRecord(int s) {
    Bytes b;
    PutNewClass(b, "Object", static_cast<uint16_t>(s));
    if (s >= 2) PutInts(b, {3, 2});
    PutInts(b, {55, 12});
    PutString(b, "Old");
    PutString(b, "Old One");
    PutInt(b, -1);
    if (s >= 3) PutInt(b, 5);
    if (s >= 7) PutInt(b, 2);
    if (s >= 8) PutInts(b, {9, 1});
    if (s >= 9) PutInt(b, 0);
    if (s >= 10) PutInt(b, 4);
    if (s >= 11) PutInt(b, 6);
    return b;
}

TEST(RecordSchemas, EveryObjectSchema) {
    for (int s = 1; s <= 11; ++s) {
        SCOPED_TRACE("schema " + std::to_string(s));
        auto o = LoadObject<Object>(ObjectRecord(s));
        ASSERT_NE(o, nullptr);
        EXPECT_EQ(o->m_iXImageNum, s >= 2 ? 3 : 0);
        EXPECT_EQ(o->m_iYImageNum, s >= 2 ? 2 : 0);
        EXPECT_EQ(o->m_iWeight, 1);  // the stored weight is never taken
        EXPECT_EQ(o->m_iValue, 12);
        EXPECT_EQ(o->m_strGeneralName, "Old");
        EXPECT_EQ(o->m_strSpecialName, "Old One");
        EXPECT_EQ(o->m_iItemNum, -1);
        EXPECT_EQ(o->m_iSpare1, s >= 3 ? 5 : 0);
        EXPECT_EQ(o->m_iState, s >= 7 ? 2 : 1);
        EXPECT_EQ(o->m_iBulkNum, s >= 8 ? 9 : 1);
        EXPECT_EQ(o->m_bStackable, s >= 8 ? 1 : 0);
        EXPECT_EQ(o->m_bInteract, s >= 9 ? 0 : 1);
        EXPECT_EQ(o->m_iSpare2, s >= 10 ? 4 : -1);
        EXPECT_EQ(o->m_iOwner, s >= 11 ? 6 : -1);
    }
}

// A member record of schema s: hit points (two skipped values below 3), the
// position (670, 470), then attack 1, subdued 1, data 8, hostile 1, group -1,
// and the grouped flag 1 from schema 4.
Bytes MemberRecord(int s) {
    Bytes b;
    PutNewClass(b, "Member", static_cast<uint16_t>(s));
    PutNewClass(b, "Object", 11);
    PutObjectDefaults(b, "Member");
    if (s < 3)
        PutInts(b, {99, 98});
    else
        PutInts(b, {15, 12});
    PutInts(b, {670, 470, 1, 1, 8, 1, -1});
    if (s >= 4) PutInt(b, 1);
    return b;
}

TEST(RecordSchemas, EveryMemberSchema) {
    // The position rescaled as each schema needs, truncating toward zero:
    // below 5 by 160/67 and 100/47, below 6 by 165/140 and 104/100, below 7
    // by 160/165 and 96/104.
    const Position want[8] = {{},
                              {1827, 960, 0},
                              {1827, 960, 0},
                              {1827, 960, 0},
                              {1827, 960, 0},
                              {765, 450, 0},
                              {649, 433, 0},
                              {670, 470, 0}};
    for (int s = 1; s <= 7; ++s) {
        SCOPED_TRACE("schema " + std::to_string(s));
        auto m = LoadObject<Member>(MemberRecord(s));
        ASSERT_NE(m, nullptr);
        // From schema 3 the hit points are read and held at the maximum.
        EXPECT_EQ(m->m_iHitPoints, s >= 3 ? 12 : 10);
        EXPECT_EQ(m->m_iMaxHitPoints, s >= 3 ? 12 : 10);
        EXPECT_EQ(m->m_Position, want[s]);
        EXPECT_EQ(m->m_iAttackMode, 1);
        EXPECT_EQ(m->m_bSubdued, 1);
        EXPECT_EQ(m->m_iMemberData, 8);
        EXPECT_EQ(m->m_iHostileMode, 1);
        EXPECT_EQ(m->m_iGroupNum, -1);
        EXPECT_EQ(m->m_bGrouped, s >= 4 ? 1 : 0);
    }
}

}  // namespace
