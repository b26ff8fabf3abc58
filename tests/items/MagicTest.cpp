// A creature's magic: its four books and its school skills; and the skill
// records, their words and practice.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "items/Magic.h"
#include "items/Skill.h"
#include "items/SpellsAir.h"
#include "items/SpellsEarth.h"
#include "items/SpellsFire.h"
#include "items/SpellsWater.h"

namespace {

TEST(Magic, TheBooksFollowTheKnownSpells) {
    Magic m;
    m.m_SpellList.push_back(std::make_unique<Heal>());
    m.m_SpellList.push_back(std::make_unique<Fireball>());
    m.m_SpellList.push_back(std::make_unique<Spell>("No school"));
    m.m_SpellList.push_back(std::make_unique<Shock>());
    m.m_SpellList.push_back(std::make_unique<Toughskin>());
    m.m_SpellList.push_back(std::make_unique<Hesitation>());
    for (int i = 0; i < 11; ++i) m.m_SpellList.push_back(std::make_unique<Dazzle>());
    struct Row {
        const char* rule;
        int school;
        std::vector<std::string> names;
        int32_t kind;
    };
    const std::vector<std::string> fire{"Fireball", "Dazzle", "Dazzle", "Dazzle", "Dazzle",
                                        "Dazzle",   "Dazzle", "Dazzle", "Dazzle", "Dazzle"};
    const Row rows[] = {
        {"Earth, in the order known", SpellSchool::Earth, {"Heal", "Toughskin"}, 8},
        {"Air", SpellSchool::Air, {"Shock"}, 9},
        {"Water", SpellSchool::Water, {"Hesitation"}, 10},
        {"Fire: ten spells at most", SpellSchool::Fire, fire, 7},
        {"any other number is the Fire book", 0, fire, 7},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        CBag& book = m.GetSpellBook(r.school);
        std::vector<std::string> names;
        for (const auto& item : book.Items()) names.push_back(item->m_strSpecialName);
        EXPECT_EQ(names, r.names);
        EXPECT_EQ(book.m_iBagKind, r.kind);
    }
    // The books only refer to the spells: the magic still has them all.
    EXPECT_EQ(m.m_SpellList.size(), 17u);
}

TEST(Magic, SchoolSkills) {
    Magic m;
    struct Row {
        const char* rule;
        int school;
        float Magic::*skill;  // null: no school
        float want;
    };
    const Row rows[] = {
        {"Fire", SpellSchool::Fire, &Magic::m_fFireSkill, 2.5f},
        {"Earth", SpellSchool::Earth, &Magic::m_fEarthSkill, 2.5f},
        {"Air", SpellSchool::Air, &Magic::m_fAirSkill, 2.5f},
        {"Water", SpellSchool::Water, &Magic::m_fWaterSkill, 2.5f},
        {"0 is no school", 0, nullptr, 0.0f},
        {"nor is 5", 5, nullptr, 0.0f},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        m.AddSchoolSkill(r.school, 2.5f);
        if (r.skill) {
            EXPECT_FLOAT_EQ(m.*r.skill, r.want);
        }
        EXPECT_FLOAT_EQ(m.GetSchoolSkill(r.school), r.want);
    }
    EXPECT_FLOAT_EQ(m.m_fFireSkill + m.m_fEarthSkill + m.m_fAirSkill + m.m_fWaterSkill, 10.0f);
}

TEST(Skill, LevelWords) {
    // A tenth of the value's decimal logarithm, in quarters; a fighting
    // skill shows the fraction and no name.
    struct Row {
        const char* rule;
        bool fight;
        double value;
        const char* want;
    };
    const Row rows[] = {
        {"a fresh skill", false, 1.0, "Sword Beginner"},
        {"just below a quarter", false, 316.0, "Sword Beginner"},
        {"just past a quarter", false, 317.0, "Sword Novice"},
        {"just below a half", false, 99999.0, "Sword Novice"},
        {"100000: a half", false, 100000.0, "Sword Master"},
        {"10^8: 0.8", false, 1.0e8, "Sword Expert"},
        {"past 10^10 the fraction stays 1", false, 1.0e12, "Sword Expert"},
        {"a fresh fighting skill", true, 1.0, " 0.0000"},
        {"a fighting skill of 100000", true, 100000.0, " 0.5000"},
        {"a fighting skill of 10^11: 1", true, 1.0e11, " 1.0000"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Skill plain;
        FightSkill fighting;
        Skill& s = r.fight ? fighting : plain;
        s.m_strName = "Sword";
        s.m_dValue = r.value;
        EXPECT_EQ(s.GetLevelText(), r.want);
    }
}

TEST(Skill, PracticeAndValue) {
    Skill s;
    EXPECT_DOUBLE_EQ(s.AddValue(2.5), 3.5);
    FightSkill f;
    EXPECT_EQ(f.m_iSkillNumber, 4);
    EXPECT_DOUBLE_EQ(f.AddValue(2.0), 2.0);  // practice, not value
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

}  // namespace
