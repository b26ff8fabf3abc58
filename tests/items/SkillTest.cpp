#include <gtest/gtest.h>

#include <vector>

#include "items/Skill.h"
#include "support/HandWrittenRecord.h"

namespace {

using namespace record_test;

TEST(Skill, LevelWords) {
    // A tenth of the value's decimal logarithm, in quarters.
    struct Row {
        const char* rule;
        double value;
        const char* want;
    };
    const Row rows[] = {
        {"a fresh skill", 1.0, "Sword Beginner"},
        {"just below a quarter", 316.0, "Sword Beginner"},
        {"just past a quarter", 317.0, "Sword Novice"},
        {"100000: a half", 100000.0, "Sword Master"},
        {"just below a half", 99999.0, "Sword Novice"},
        {"10^8: 0.8", 1.0e8, "Sword Expert"},
        {"past 10^10 the fraction stays 1", 1.0e12, "Sword Expert"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Skill s;
        s.m_strName = "Sword";
        s.m_dValue = r.value;
        EXPECT_EQ(s.GetLevelText(), r.want);
    }
}

TEST(Skill, FightSkillText) {
    struct Row {
        const char* rule;
        double value;
        const char* want;
    };
    const Row rows[] = {
        {"a fresh record", 1.0, " 0.0000"},
        {"100000", 100000.0, " 0.5000"},
        {"10^10 and more: 1", 1.0e11, " 1.0000"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        FightSkill s;
        s.m_strName = "Swordsmanship";  // a fighting skill shows no name
        s.m_dValue = r.value;
        EXPECT_EQ(s.GetLevelText(), r.want);
    }
}

TEST(Skill, PracticeAndValue) {
    Skill s;
    EXPECT_DOUBLE_EQ(s.AddValue(2.5), 3.5);
    FightSkill f;
    EXPECT_EQ(f.m_iSkillNumber, 4);
    EXPECT_DOUBLE_EQ(f.AddValue(2.0), 2.0);
    EXPECT_DOUBLE_EQ(f.m_dValue, 1.0);
    struct Row {
        const char* rule;
        double asked, moved, value, practice;
    };
    const Row rows[] = {
        {"less than there is", 0.5, 0.5, 1.5, 1.5},
        {"exactly what is left", 1.5, 1.5, 3.0, 0.0},
        {"more than there is", 4.0, 0.0, 3.0, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_DOUBLE_EQ(f.TransferPractice(r.asked), r.moved);
        EXPECT_DOUBLE_EQ(f.m_dValue, r.value);
        EXPECT_DOUBLE_EQ(f.m_dPractice, r.practice);
    }
    Skill a, b;
    a.m_iSkillNumber = 2;
    b.m_iSkillNumber = 4;
    const std::vector<Skill*> list{&a, &b};
    EXPECT_EQ(Skill::Find(list, 4), &b);
    EXPECT_EQ(Skill::Find(list, 3), nullptr);
    EXPECT_EQ(Skill::First(list), &a);
    EXPECT_EQ(Skill::First({}), nullptr);
}

TEST(Skill, Records) {
    Skill s;
    s.m_strName = "Sword";
    s.m_dValue = 2.0;
    s.m_iSkillNumber = 3;
    Bytes want;
    PutNewClass(want, "Skill", 1);
    for (int v : {0, 0, 0, 0, 0, 0, 0, 0x40}) want.push_back(static_cast<uint8_t>(v));  // 2.0
    PutInt(want, 3);
    PutString(want, "Sword");
    EXPECT_EQ(StoreObject(s), want);
    EXPECT_EQ(LoadObject<Skill>(want)->m_strName, "Sword");
    // A skill takes no other schema from a file.
    Bytes other = want;
    other[2] = 2;
    EXPECT_EQ(RefusalOf<Skill>(other), qv::ArchiveError::BadSchema);

    FightSkill f;
    f.m_dPractice = 2.0;
    Bytes fight;
    PutNewClass(fight, "FightSkill", 2);
    PutNewClass(fight, "Skill", 1);
    auto putDouble = [](Bytes& b, double d) {
        qv::Archive ar;
        ar.WriteDouble(d);
        const Bytes& bytes = ar.Bytes();
        b.insert(b.end(), bytes.begin(), bytes.end());
    };
    putDouble(fight, 1.0);
    PutInt(fight, 4);
    PutString(fight, "");
    putDouble(fight, 2.0);
    putDouble(fight, 0.0);
    EXPECT_EQ(StoreObject(f), fight);

    // A schema 1 record holds an old value before the practice.
    Bytes old = Record(FightSkill::classInfo, 1, [&](qv::Archive& ar) {
        ar.SerializeClass(&Skill::classInfo);
        Skill part;
        part.m_iSkillNumber = 4;
        part.Serialize(ar);
        ar.WriteInt(17);
        ar.WriteDouble(3.0);
        ar.WriteDouble(0.5);
    });
    auto back = LoadObject<FightSkill>(old);
    EXPECT_EQ(back->m_iOldValue, 17);
    EXPECT_DOUBLE_EQ(back->m_dPractice, 3.0);
    EXPECT_DOUBLE_EQ(back->m_dSecond, 0.5);
}

}  // namespace
