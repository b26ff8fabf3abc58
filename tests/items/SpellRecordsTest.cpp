// The stored records of the spell kinds, laid out by hand: a kind with no
// field of its own, one with an amount, and one of the Fire kinds that record
// their own class before the school's part; and the checks of what a file
// may hold.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

#include "items/Magic.h"
#include "items/SpellsAir.h"
#include "items/SpellsEarth.h"
#include "items/SpellsFire.h"
#include "items/SpellsWater.h"
#include "support/HandWrittenRecord.h"

namespace {

using namespace record_test;

// The object part of a spell as its constructor leaves it: both names the
// kind's, weight 1, the spell's spare value 3.
void PutSpellObjectPart(Bytes& b, const std::string& name) {
    PutInts(b, {0, 0, 1, 0});
    PutString(b, name);
    PutString(b, name);
    PutInts(b, {-1, 3, 1, 1, 0, 1, -1, -1});
}

// The class records a spell kind's record opens with when the archive meets
// them first: its own, its school's, Spell's and Object's.
void PutSpellClasses(Bytes& b, const std::string& kind, uint16_t schema,
                     const std::string& school = "EarthSpell") {
    PutNewClass(b, kind, schema);
    PutNewClass(b, school, 1);
    PutNewClass(b, "Spell", 6);
    PutNewClass(b, "Object", 11);
}

// The spell part: mana, spare, level, missile parameter, serial, no targets,
// no caster.
void PutSpellPart(Bytes& b, int32_t mana, int32_t level, int32_t serial) {
    PutInts(b, {mana, 500, level, 0, serial});
    PutWord(b, 0);
    PutInt(b, -1);
}

TEST(SpellRecords, AKindWithNoFieldsOfItsOwn) {
    Materialize m;
    m.m_iSerial = 77;
    Bytes want;
    PutSpellClasses(want, "Materialize", 1);
    PutSpellObjectPart(want, "Materialize");
    PutSpellPart(want, 5, 0, 77);
    EXPECT_EQ(StoreObject(m), want);
    auto back = LoadObject<Materialize>(want);
    EXPECT_EQ(back->m_iSerial, 77);
    EXPECT_EQ(back->GetSchool(), SpellSchool::Earth);
    // A kind of schema 1 takes no other schema from a file.
    Bytes other = want;
    other[2] = 2;
    EXPECT_EQ(RefusalOf<Spell>(other), qv::ArchiveError::BadSchema);
}

TEST(SpellRecords, AKindWithAnAmount) {
    Toughskin t;
    t.m_iSerial = 9;
    t.m_iAmount = 3;
    Bytes want;
    PutSpellClasses(want, "Toughskin", 2);
    PutSpellObjectPart(want, "Toughskin");
    PutSpellPart(want, 5, 10, 9);
    PutInt(want, 3);
    EXPECT_EQ(StoreObject(t), want);
    EXPECT_EQ(LoadObject<Toughskin>(want)->m_iAmount, 3);

    // Schema 1 had no amount: the constructor's stands.
    Bytes v1;
    PutSpellClasses(v1, "Toughskin", 1);
    PutSpellObjectPart(v1, "Toughskin");
    PutSpellPart(v1, 5, 10, 9);
    EXPECT_EQ(LoadObject<Toughskin>(v1)->m_iAmount, 1);

    // Weaken and Strength keep theirs at every schema.
    Bytes weaken;
    PutSpellClasses(weaken, "Weaken", 1);
    PutSpellObjectPart(weaken, "Weaken");
    PutSpellPart(weaken, 5, 10, 9);
    PutInt(weaken, 4);
    auto w = LoadObject<Weaken>(weaken);
    EXPECT_EQ(w->m_iAmount, 4);
    EXPECT_EQ(w->m_iDuration, 20000);  // not stored: the constructor's
}

TEST(SpellRecords, AFireKindThatRecordsItsOwnClass) {
    FlameWeapon f;
    f.m_iSerial = 5;
    Bytes want;
    PutNewClass(want, "FlameWeapon", 1);
    PutWord(want, 0x8001);  // its own class again, where FireSpell would stand
    PutNewClass(want, "Spell", 6);
    PutNewClass(want, "Object", 11);
    PutSpellObjectPart(want, "Flame Weapon");
    PutSpellPart(want, 5, 0, 5);
    EXPECT_EQ(StoreObject(f), want);
    auto back = LoadObject<FlameWeapon>(want);
    EXPECT_EQ(back->GetSchool(), SpellSchool::Fire);
    EXPECT_TRUE(back->IsKindOf(&FireSpell::classInfo));

    // The ordinary layout names FireSpell there, which this kind refuses.
    Bytes ordinary;
    PutSpellClasses(ordinary, "FlameWeapon", 1, "FireSpell");
    PutSpellObjectPart(ordinary, "Flame Weapon");
    PutSpellPart(ordinary, 5, 0, 5);
    EXPECT_EQ(RefusalOf<Spell>(ordinary), qv::ArchiveError::BadClass);
}

TEST(SpellRecords, EveryKindComesBackAsItWent) {
    // Every registered spell class, made as the archive makes it, stored and
    // read back, stores the same bytes again.
    std::vector<const char*> kinds = SpellKindNames();
    kinds.insert(kinds.end(), {"Spell", "FireSpell", "EarthSpell", "AirSpell", "WaterSpell"});
    // Thirteen Fire spells, fifteen Water, fourteen Air, sixteen Earth.
    ASSERT_EQ(SpellKindNames().size(), 13u + 15u + 14u + 16u);
    for (size_t i = 0; i < SpellKindNames().size(); ++i) {
        SCOPED_TRACE(SpellKindNames()[i]);
        const int school = i < 13   ? SpellSchool::Fire
                           : i < 28 ? SpellSchool::Water
                           : i < 42 ? SpellSchool::Air
                                    : SpellSchool::Earth;
        std::unique_ptr<qv::Persistent> made(
            qv::RuntimeClass::Find(SpellKindNames()[i])->CreateObject());
        EXPECT_EQ(qv::DynamicCast<Spell>(made.get())->GetSchool(), school);
    }
    for (const char* kind : kinds) {
        SCOPED_TRACE(kind);
        const qv::RuntimeClass* cls = qv::RuntimeClass::Find(kind);
        ASSERT_NE(cls, nullptr);
        std::unique_ptr<qv::Persistent> made(cls->CreateObject());
        auto* spell = qv::DynamicCast<Spell>(made.get());
        ASSERT_NE(spell, nullptr);
        spell->m_Targets = {3, 4};
        const Bytes bytes = StoreObject(*spell);
        auto back = LoadObject<Spell>(bytes);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->GetRuntimeClass(), cls);
        EXPECT_EQ(StoreObject(*back), bytes);
    }
}

TEST(SpellRecords, SerialsAndTheCounter) {
    // The counter is raised past every serial and counter value read; a value
    // it could not be raised past without wrapping is refused.
    struct Row {
        const char* rule;
        uint16_t schema;
        uint32_t serial, counter;
        bool refused;
        uint32_t atLeast;  // the counter afterwards
    };
    const Row rows[] = {
        {"a serial raises the counter past it", 6, 1000, 0, false, 1001},
        {"a counter value of an older file raises it past that", 3, 5, 2000, false, 2001},
        {"the highest serial is refused", 6, UINT32_MAX, 0, true, 0},
        {"one below it is the last taken", 6, UINT32_MAX - 1, 0, false, UINT32_MAX},
        {"the highest counter value is refused", 5, 5, UINT32_MAX, true, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        g_iNextSpellSerial = 10;
        Bytes b = Record(Spell::classInfo, r.schema, [&](qv::Archive& ar) {
            ar.SerializeClass(&Object::classInfo);
            Object o("Spell");
            o.Serialize(ar);
            ar.WriteDWord(5);
            if (r.schema <= 4) ar.WriteInt(0);
            ar.WriteInt(500);
            ar.WriteInt(0);
            ar.WriteInt(0);
            ar.WriteDWord(r.serial);
            if (r.schema <= 5) ar.WriteDWord(r.counter);
            ar.WriteCount(0);
            if (r.schema >= 4) ar.WriteInt(-1);
        });
        if (r.refused) {
            EXPECT_EQ(RefusalOf<Spell>(b), qv::ArchiveError::Generic);
        } else {
            LoadObject<Spell>(b);
            EXPECT_GE(g_iNextSpellSerial, r.atLeast);
        }
    }
    g_iNextSpellSerial = 100;
}

TEST(SpellRecords, AMagicWhoseSkillIsNoNumberIsRefused) {
    for (float bad : {std::nanf(""), std::numeric_limits<float>::infinity()}) {
        Bytes b = Record(Magic::classInfo, 3, [bad](qv::Archive& ar) {
            ar.WriteCount(0);
            ar.WriteDWord(10);
            ar.WriteDWord(10);
            for (float f : {1.0f, bad, 2.0f, 3.0f}) ar.WriteFloat(f);
            ar.WriteInt(1000);
        });
        EXPECT_EQ(RefusalOf<Magic>(b), qv::ArchiveError::Generic);
    }
}

TEST(Magic, TheBooksFollowTheKnownSpells) {
    Magic m;
    m.m_SpellList.push_back(std::make_unique<Heal>());
    m.m_SpellList.push_back(std::make_unique<Fireball>());
    m.m_SpellList.push_back(std::make_unique<Spell>("No school"));
    m.m_SpellList.push_back(std::make_unique<Shock>());
    m.m_SpellList.push_back(std::make_unique<Toughskin>());
    m.m_SpellList.push_back(std::make_unique<Hesitation>());
    struct Row {
        const char* rule;
        int school;
        std::vector<std::string> names;
        int32_t kind;
    };
    const Row rows[] = {
        {"Earth, in the order known", SpellSchool::Earth, {"Heal", "Toughskin"}, 8},
        {"Air", SpellSchool::Air, {"Shock"}, 9},
        {"Water", SpellSchool::Water, {"Hesitation"}, 10},
        {"Fire", SpellSchool::Fire, {"Fireball"}, 7},
        {"any other number is the Fire book", 0, {"Fireball"}, 7},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        CBag& book = m.GetSpellBook(r.school);
        std::vector<std::string> names;
        for (const auto& item : book.Items()) names.push_back(item->m_strSpecialName);
        EXPECT_EQ(names, r.names);
        EXPECT_EQ(book.ItemCount(), static_cast<int>(r.names.size()));
        EXPECT_EQ(book.m_iBagKind, r.kind);
    }
}

TEST(Magic, ABookHoldsTenSpells) {
    Magic m;
    for (int i = 0; i < 12; ++i) m.m_SpellList.push_back(std::make_unique<Dazzle>());
    CBag& book = m.GetSpellBook(SpellSchool::Fire);
    EXPECT_EQ(book.ItemCount(), 10);
    EXPECT_EQ(book.Items().back().get(), m.m_SpellList[9].get());
    // The books only refer to the spells: the magic still has all twelve.
    EXPECT_EQ(m.m_SpellList.size(), 12u);
}

TEST(Magic, SchoolSkills) {
    Magic m;
    struct Row {
        const char* rule;
        int school;
        float Magic::*skill;
    };
    const Row rows[] = {
        {"Fire", SpellSchool::Fire, &Magic::m_fFireSkill},
        {"Earth", SpellSchool::Earth, &Magic::m_fEarthSkill},
        {"Air", SpellSchool::Air, &Magic::m_fAirSkill},
        {"Water", SpellSchool::Water, &Magic::m_fWaterSkill},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        m.AddSchoolSkill(r.school, 2.5f);
        EXPECT_FLOAT_EQ(m.*r.skill, 2.5f);
        EXPECT_FLOAT_EQ(m.GetSchoolSkill(r.school), 2.5f);
    }
    // Other numbers change nothing and count as no skill.
    m.AddSchoolSkill(0, 1.0f);
    m.AddSchoolSkill(5, 1.0f);
    EXPECT_FLOAT_EQ(m.m_fFireSkill + m.m_fEarthSkill + m.m_fAirSkill + m.m_fWaterSkill, 10.0f);
    EXPECT_FLOAT_EQ(m.GetSchoolSkill(5), 0.0f);
}

}  // namespace
