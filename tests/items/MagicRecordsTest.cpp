// The stored records of the magic families, laid out by hand: one whole record
// of each family, the older layouts that still read, what a file may not hold,
// and every spell kind's round trip.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <utility>

#include "items/Magic.h"
#include "items/Money.h"
#include "items/Potions.h"
#include "items/PowerCube.h"
#include "items/Scroll.h"
#include "items/Skill.h"
#include "items/SpellsAir.h"
#include "items/SpellsEarth.h"
#include "items/SpellsFire.h"
#include "items/SpellsWater.h"
#include "support/HandWrittenRecord.h"

namespace {

using namespace record_test;

// Parts of expected records, joined with +.
Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
// Classes written for the first time, in order.
Bytes Classes(std::initializer_list<std::pair<const char*, uint16_t>> classes) {
    Bytes b;
    for (const auto& [name, schema] : classes) PutNewClass(b, name, schema);
    return b;
}
Bytes Ints(std::initializer_list<int32_t> values) {
    Bytes b;
    PutInts(b, values);
    return b;
}
Bytes Word(uint16_t w) {
    Bytes b;
    PutWord(b, w);
    return b;
}
Bytes Text(const std::string& s) {
    Bytes b;
    PutString(b, s);
    return b;
}
Bytes Double(double d) {
    qv::Archive ar;
    ar.WriteDouble(d);
    return ar.Bytes();
}
// An Object's fields: picture column and row, weight, value; both names; the
// spare value, the count and the stack flag amid the defaults.
Bytes ObjectPart(std::initializer_list<int32_t> head, const std::string& name,
                 const std::string& special, int32_t spare = 0, int32_t count = 1,
                 int32_t stack = 0) {
    return Ints(head) + Text(name) + Text(special) + Ints({-1, spare, 1, count, stack, 1, -1, -1});
}
// A spell's part after its object part (weight 1, spare value 3): mana,
// spare, level, missile parameter, serial, no targets, no caster.
Bytes SpellPart(const std::string& name, int32_t mana, int32_t level, int32_t serial) {
    return ObjectPart({0, 0, 1, 0}, name, name, 3) + Ints({mana, 500, level, 0, serial}) + Word(0) +
           Ints({-1});
}
// A spell kind's whole record: its class, its school's, Spell's, Object's.
Bytes SpellRecord(const char* kind, uint16_t schema, const std::string& name, int32_t mana,
                  int32_t level, int32_t serial, const char* school = "EarthSpell") {
    return Classes({{kind, schema}, {school, 1}, {"Spell", 6}, {"Object", 11}}) +
           SpellPart(name, mana, level, serial);
}

// Raw 32-bit floats as the archive keeps them.
constexpr int32_t kFloat1_5 = 0x3FC00000, kFloat2 = 0x40000000, kFloat3_25 = 0x40500000,
                  kFloat4 = 0x40800000;

template <class T>
std::unique_ptr<qv::Persistent> Made(const std::function<void(T&)>& set) {
    auto made = std::make_unique<T>();
    set(*made);
    return made;
}

TEST(MagicRecords, OneWholeRecordOfEachFamily) {
    struct Row {
        const char* family;
        std::unique_ptr<qv::Persistent> made;
        Bytes want;
    };
    Row rows[] = {
        {"a creature's magic with a known spell", Made<Magic>([](Magic& m) {
             m.m_SpellList.push_back(std::make_unique<Heal>());
             m.m_SpellList[0]->m_iSerial = 12;
             m.m_uMaxMana = 30, m.m_uMana = 12, m.m_iRegenPeriod = 800;
             m.m_fAirSkill = 1.5f, m.m_fEarthSkill = 2.0f, m.m_fFireSkill = 3.25f;
             m.m_fWaterSkill = 4.0f;
         }),
         Classes({{"Magic", 3}}) + Word(1) + SpellRecord("Heal", 1, "Heal", 5, 5, 12) +
             Ints({30, 12, kFloat1_5, kFloat2, kFloat3_25, kFloat4, 800})},
        {"a spell kind with an amount",
         Made<Toughskin>([](Toughskin& t) { t.m_iSerial = 9, t.m_iAmount = 3; }),
         SpellRecord("Toughskin", 2, "Toughskin", 5, 10, 9) + Ints({3})},
        {"a Fire kind names its own class where its school would stand",
         Made<FlameWeapon>([](FlameWeapon& f) { f.m_iSerial = 5; }),
         Classes({{"FlameWeapon", 1}}) + Word(0x8001) + Classes({{"Spell", 6}, {"Object", 11}}) +
             SpellPart("Flame Weapon", 5, 0, 5)},
        {"a potion: type", Made<Potion>([](Potion& p) { p.SetPotionType(PotionType::Healing); }),
         Classes({{"Potion", 1}, {"Useable", 1}, {"Object", 11}}) +
             ObjectPart({1, 0, 9, 10}, "Potion", "Potion of Healing") +
             Ints({PotionType::Healing})},
        {"a scroll: type and group flag", Made<Scroll>([](Scroll& s) {
             s.m_bGroup = 1;
             s.SetScrollType(ScrollType::Invisibility);
         }),
         Classes({{"Scroll", 2}, {"Useable", 1}, {"Object", 11}}) +
             ObjectPart({0, 0, 1, 10}, "Scroll", "Scroll of Invisibility - Group") +
             Ints({ScrollType::Invisibility, 1})},
        {"gold: weight 0, 250 of them, stackable",
         Made<Money>([](Money& m) { m.m_iBulkNum = 250; }),
         Classes({{"Money", 1}, {"Object", 11}}) +
             ObjectPart({0, 0, 0, 1}, "Gold", "Gold", 0, 250, 1)},
        {"a power cube: symbol, key, charges", Made<PowerCube>([](PowerCube& c) {
             c.m_iSymbol = CubeSymbol::Horsies;
             c.Charge(1002, 1);
         }),
         Classes({{"PowerCube", 2}, {"Object", 11}}) +
             ObjectPart({1, 0, 5, 0}, "Cogo'Septem", "Cogo'Septem") +
             Ints({CubeSymbol::Horsies, 1002, 1})},
        {"a power cube stand: symbol",
         Made<PowerCubeStand>([](PowerCubeStand& s) { s.m_iSymbol = 4; }),
         Classes({{"PowerCubeStand", 2}, {"Object", 11}}) +
             ObjectPart({0, 0, 1, 0}, "Nutrio'Septem", "Nutrio'Septem") + Ints({4})},
        {"a skill: value, number, name", Made<Skill>([](Skill& s) {
             s.m_strName = "Sword", s.m_dValue = 2.0, s.m_iSkillNumber = 3;
         }),
         Classes({{"Skill", 1}}) + Double(2.0) + Ints({3}) + Text("Sword")},
        {"a fighting skill: then practice and the second figure",
         Made<FightSkill>([](FightSkill& f) { f.m_dPractice = 2.0; }),
         Classes({{"FightSkill", 2}, {"Skill", 1}}) + Double(1.0) + Ints({4}) + Text("") +
             Double(2.0) + Double(0.0)},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.family);
        EXPECT_EQ(StoreObject(*r.made), r.want);
        auto back = LoadObject<qv::Persistent>(r.want);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->GetRuntimeClass(), r.made->GetRuntimeClass());
        EXPECT_EQ(StoreObject(*back), r.want);
        // Every truncation of the record is refused.
        for (size_t cut = 0; cut < r.want.size(); ++cut)
            RefusalOf<qv::Persistent>(Bytes(r.want.begin(), r.want.begin() + ptrdiff_t(cut)));
    }
}

// A record of class `cls` at an older schema: the base's class record, a
// fresh base object's fields named `name`, then `tail`.
Bytes Older(const qv::RuntimeClass& cls, uint16_t schema, const qv::RuntimeClass& base,
            const std::string& name, const std::function<void(qv::Archive&)>& tail) {
    return Record(cls, schema, [&](qv::Archive& ar) {
        ar.SerializeClass(&base);
        Object o(name);
        o.Serialize(ar);
        tail(ar);
    });
}

TEST(MagicRecords, OlderLayoutsStillRead) {
    struct Row {
        const char* rule;
        Bytes bytes;
        std::function<void(qv::Persistent&)> check;
    };
    const Row rows[] = {
        {"a Toughskin of schema 1 had no amount: 1",
         SpellRecord("Toughskin", 1, "Toughskin", 5, 10, 9),
         [](qv::Persistent& p) { EXPECT_EQ(static_cast<Toughskin&>(p).m_iAmount, 1); }},
        {"a Weaken keeps its amount at every schema; its duration is not stored",
         SpellRecord("Weaken", 1, "Weaken", 5, 10, 9) + Ints({4}),
         [](qv::Persistent& p) {
             EXPECT_EQ(static_cast<Weaken&>(p).m_iAmount, 4);
             EXPECT_EQ(static_cast<Weaken&>(p).m_iDuration, 20000);
         }},
        {"a scroll of schema 1 had no group flag; its own name survives",
         Record(Scroll::classInfo, 1,
                [](qv::Archive& ar) {
                    ar.SerializeClass(&Useable::classInfo);
                    Useable u("Scroll");
                    u.SetName("Letter from Home");
                    u.Serialize(ar);
                    ar.WriteInt(ScrollType::Healing);
                }),
         [](qv::Persistent& p) {
             auto& s = static_cast<Scroll&>(p);
             EXPECT_EQ(s.m_iScrollType, ScrollType::Healing);
             EXPECT_EQ(s.m_bGroup, 0);
             EXPECT_EQ(s.m_strSpecialName, "Letter from Home");
         }},
        {"a power cube of schema 1 had no symbol, key or charges",
         Older(PowerCube::classInfo, 1, Object::classInfo, "Cogo'Septem", [](qv::Archive&) {}),
         [](qv::Persistent& p) { EXPECT_EQ(static_cast<PowerCube&>(p).m_iSymbol, 0); }},
        {"a stand of schema 1 had no symbol, and never moves",
         Older(PowerCubeStand::classInfo, 1, Object::classInfo, "Nutrio'Septem",
               [](qv::Archive&) {}),
         [](qv::Persistent& p) {
             EXPECT_EQ(static_cast<PowerCubeStand&>(p).m_iSymbol, 0);
             EXPECT_EQ(static_cast<PowerCubeStand&>(p).m_bMoveable, 0);
         }},
        {"a fighting skill of schema 1 holds an old value before the practice",
         Record(FightSkill::classInfo, 1,
                [](qv::Archive& ar) {
                    ar.SerializeClass(&Skill::classInfo);
                    Skill part;
                    part.m_iSkillNumber = 4;
                    part.Serialize(ar);
                    ar.WriteInt(17);
                    ar.WriteDouble(3.0);
                    ar.WriteDouble(0.5);
                }),
         [](qv::Persistent& p) {
             auto& f = static_cast<FightSkill&>(p);
             EXPECT_EQ(f.m_iOldValue, 17);
             EXPECT_DOUBLE_EQ(f.m_dPractice, 3.0);
             EXPECT_DOUBLE_EQ(f.m_dSecond, 0.5);
         }},
        {"gold stored unstackable comes back stackable",
         Classes({{"Money", 1}, {"Object", 11}}) +
             ObjectPart({0, 0, 0, 1}, "Gold", "Gold", 0, 7, 0),
         [](qv::Persistent& p) {
             EXPECT_EQ(static_cast<Money&>(p).m_bStackable, 1);
             EXPECT_EQ(static_cast<Money&>(p).m_iBulkNum, 7);
         }},
        {"a magic read starts its regeneration clock afresh",
         Record(Magic::classInfo, 3,
                [](qv::Archive& ar) {
                    ar.WriteCount(0);
                    for (uint32_t mana : {10u, 10u}) ar.WriteDWord(mana);
                    for (float f : {1.0f, 2.0f, 3.0f, 4.0f}) ar.WriteFloat(f);
                    ar.WriteInt(1000);
                }),
         [](qv::Persistent& p) { EXPECT_EQ(static_cast<Magic&>(p).m_bFirstManaCall, 1); }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        auto back = LoadObject<qv::Persistent>(r.bytes);
        ASSERT_NE(back, nullptr);
        r.check(*back);
    }
}

TEST(MagicRecords, WhatAFileMayNotHold) {
    auto magicWithSkill = [](float bad) {
        return Record(Magic::classInfo, 3, [bad](qv::Archive& ar) {
            ar.WriteCount(0);
            for (uint32_t mana : {10u, 10u}) ar.WriteDWord(mana);
            for (float f : {1.0f, bad, 2.0f, 3.0f}) ar.WriteFloat(f);
            ar.WriteInt(1000);
        });
    };
    auto otherSchema = [](Bytes b) {
        b[2] = 2;
        return b;
    };
    const Bytes materialize = SpellRecord("Materialize", 1, "Materialize", 5, 0, 77);
    const Bytes skill = Classes({{"Skill", 1}}) + Double(2.0) + Ints({3}) + Text("Sword");
    const Bytes ordinaryFire = SpellRecord("FlameWeapon", 1, "Flame Weapon", 5, 0, 5, "FireSpell");
    struct Row {
        const char* rule;
        Bytes bytes;
        qv::ArchiveError::Cause cause;
    };
    const Row rows[] = {
        {"a spell kind of schema 1 takes no other", otherSchema(materialize),
         qv::ArchiveError::BadSchema},
        {"a skill takes no other schema", otherSchema(skill), qv::ArchiveError::BadSchema},
        {"a Fire kind of its own layout refuses its school's", ordinaryFire,
         qv::ArchiveError::BadClass},
        {"a school skill that is no number", magicWithSkill(std::nanf("")),
         qv::ArchiveError::Generic},
        {"an infinite school skill", magicWithSkill(std::numeric_limits<float>::infinity()),
         qv::ArchiveError::Generic},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        EXPECT_EQ(RefusalOf<qv::Persistent>(r.bytes), r.cause);
    }
    // And the layout they differ from does read.
    EXPECT_NE(LoadObject<qv::Persistent>(materialize), nullptr);
    EXPECT_NE(LoadObject<qv::Persistent>(magicWithSkill(2.0f)), nullptr);
}

TEST(MagicRecords, SerialsRaiseTheCounterAndNeverWrap) {
    struct Row {
        const char* rule;
        uint16_t schema;
        uint32_t serial, counter;
        bool refused;
        uint32_t atLeast;  // the counter afterwards
    };
    const Row rows[] = {
        {"a serial raises the counter past it", 6, 1000, 0, false, 1001},
        {"a serial equal to the counter (the spell read took 10)", 6, 11, 0, false, 12},
        {"a counter value of an older file raises it past that", 3, 5, 2000, false, 2001},
        {"the highest serial is refused", 6, UINT32_MAX, 0, true, 0},
        {"one below it is the last taken", 6, UINT32_MAX - 1, 0, false, UINT32_MAX},
        {"the highest counter value is refused", 5, 5, UINT32_MAX, true, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        g_iNextSpellSerial = 10;
        Bytes b =
            Older(Spell::classInfo, r.schema, Object::classInfo, "Spell", [&](qv::Archive& ar) {
                ar.WriteDWord(5);
                if (r.schema <= 4) ar.WriteInt(0);
                for (int32_t v : {500, 0, 0}) ar.WriteInt(v);
                ar.WriteDWord(r.serial);
                if (r.schema <= 5) ar.WriteDWord(r.counter);
                ar.WriteCount(0);
                if (r.schema >= 4) ar.WriteInt(-1);
            });
        if (r.refused)
            EXPECT_EQ(RefusalOf<Spell>(b), qv::ArchiveError::Generic);
        else
            EXPECT_GE((LoadObject<Spell>(b), g_iNextSpellSerial), r.atLeast);
    }
    g_iNextSpellSerial = 100;
}

TEST(MagicRecords, EverySpellKindOfItsSchoolComesBackAsItWent) {
    // Thirteen Fire kinds, fifteen Water, fourteen Air, sixteen Earth, then
    // the school classes themselves.
    std::vector<const char*> kinds = SpellKindNames();
    ASSERT_EQ(kinds.size(), 13u + 15u + 14u + 16u);
    kinds.insert(kinds.end(), {"Spell", "FireSpell", "EarthSpell", "AirSpell", "WaterSpell"});
    for (size_t i = 0; i < kinds.size(); ++i) {
        SCOPED_TRACE(kinds[i]);
        const qv::RuntimeClass* cls = qv::RuntimeClass::Find(kinds[i]);
        ASSERT_NE(cls, nullptr);
        std::unique_ptr<qv::Persistent> made(cls->CreateObject());
        auto* spell = qv::DynamicCast<Spell>(made.get());
        ASSERT_NE(spell, nullptr);
        if (i < SpellKindNames().size()) {
            EXPECT_EQ(spell->GetSchool(), i < 13   ? SpellSchool::Fire
                                          : i < 28 ? SpellSchool::Water
                                          : i < 42 ? SpellSchool::Air
                                                   : SpellSchool::Earth);
        }
        spell->m_Targets = {3, 4};
        const Bytes bytes = StoreObject(*spell);
        auto back = LoadObject<Spell>(bytes);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->GetRuntimeClass(), cls);
        EXPECT_EQ(StoreObject(*back), bytes);
    }
}

}  // namespace
