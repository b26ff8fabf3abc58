// Every schema of the spell, magic and bag records, each field read from the
// place its schema puts it.

#include <gtest/gtest.h>

#include <vector>

#include "items/Bag.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "items/Useable.h"
#include "support/HandWrittenRecord.h"

namespace {

using namespace record_test;

void ObjectPartOf(qv::Archive& ar, const char* name) {
    ar.SerializeClass(&Object::classInfo);
    Object o(name);
    o.Serialize(ar);
}

void Targets(qv::Archive& ar, std::vector<int32_t> t) {
    ar.WriteCount(t.size());
    for (int32_t v : t) ar.WriteInt(v);
}

struct SpellCase {
    uint16_t schema;
    std::vector<int> layout;  // field codes in record order, below
};
// Field codes: 0 mana 41, 1 a dropped value, 2 spare 42, 3 level 43,
// 4 missile parameter 44, 5 serial 45, 6 counter value, 7 targets {-7, -8},
// 8 caster 46.
const SpellCase kSpellCases[] = {
    {1, {}},
    {2, {0, 1, 2, 3, 4, 7}},
    {3, {0, 1, 2, 3, 4, 5, 6, 7}},
    {4, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
    {5, {0, 2, 3, 4, 5, 6, 7, 8}},
    {6, {0, 2, 3, 4, 5, 7, 8}},
};

TEST(ItemSchemas, EverySpellSchemaReadsItsFieldsInPlace) {
    for (const SpellCase& c : kSpellCases) {
        Bytes bytes = Record(Spell::classInfo, c.schema, [&](qv::Archive& ar) {
            ObjectPartOf(ar, "Spark");
            for (int code : c.layout) {
                switch (code) {
                    case 0:
                        ar.WriteDWord(41);
                        break;
                    case 1:
                        ar.WriteInt(999);
                        break;
                    case 2:
                        ar.WriteInt(42);
                        break;
                    case 3:
                        ar.WriteInt(43);
                        break;
                    case 4:
                        ar.WriteInt(44);
                        break;
                    case 5:
                        ar.WriteInt(45);
                        break;
                    case 6:
                        ar.WriteDWord(7);
                        break;
                    case 7:
                        Targets(ar, {-7, -8});
                        break;
                    case 8:
                        ar.WriteInt(46);
                        break;
                }
            }
        });
        auto s = LoadObject<Spell>(bytes);  // and read to the end
        ASSERT_NE(s, nullptr) << c.schema;
        const bool has = c.schema >= 2;
        EXPECT_EQ(s->m_iMana, has ? 41u : 0u) << c.schema;
        EXPECT_EQ(s->m_iSpare, has ? 42 : 500) << c.schema;
        EXPECT_EQ(s->m_iSkillLevel, has ? 43 : 0) << c.schema;
        EXPECT_EQ(s->m_iMissileParam, has ? 44 : 0) << c.schema;
        if (c.schema >= 3) {
            EXPECT_EQ(s->m_iSerial, 45) << c.schema;
        }
        EXPECT_EQ(s->m_Targets, has ? std::vector<int32_t>({-7, -8}) : std::vector<int32_t>())
            << c.schema;
        EXPECT_EQ(s->m_iCaster, c.schema >= 4 ? 46 : -1) << c.schema;
        EXPECT_EQ(s->m_strSpecialName, "Spark") << c.schema;
    }
}

TEST(ItemSchemas, EveryMagicSchemaReadsItsFieldsInPlace) {
    for (uint16_t schema : {1, 2, 3}) {
        Bytes bytes = Record(Magic::classInfo, schema, [&](qv::Archive& ar) {
            ar.WriteCount(1);
            Spell spark("Spark");
            ar.WriteObject(&spark);
            if (schema < 3) ar.WriteCount(0);  // the old second list
            ar.WriteDWord(30);
            ar.WriteDWord(12);
            if (schema >= 2) {
                for (float f : {1.5f, 2.5f, 3.5f, 4.5f}) ar.WriteFloat(f);
            } else {
                for (uint32_t v : {1u, 2u, 3u, 4u}) ar.WriteDWord(v);
            }
            ar.WriteInt(700);
        });
        auto m = LoadObject<Magic>(bytes);
        ASSERT_NE(m, nullptr) << schema;
        ASSERT_EQ(m->m_SpellList.size(), 1u) << schema;
        EXPECT_EQ(m->m_SpellList[0]->m_strSpecialName, "Spark");
        EXPECT_EQ(m->m_uMaxMana, 30u);
        EXPECT_EQ(m->m_uMana, 12u);
        // Air, earth, fire, water in the record's order.
        const float base = schema >= 2 ? 0.5f : 0.0f;
        EXPECT_EQ(m->m_fAirSkill, 1 + base) << schema;
        EXPECT_EQ(m->m_fEarthSkill, 2 + base) << schema;
        EXPECT_EQ(m->m_fFireSkill, 3 + base) << schema;
        EXPECT_EQ(m->m_fWaterSkill, 4 + base) << schema;
        EXPECT_EQ(m->m_iRegenPeriod, 700);
    }
}

TEST(ItemSchemas, EveryBagSchemaReadsItsFieldsInPlace) {
    for (uint16_t schema : {1, 2}) {
        Bytes bytes = Record(CBag::classInfo, schema, [&](qv::Archive& ar) {
            ObjectPartOf(ar, "Chest");
            ar.WriteCount(1);
            Useable gem("Gem");
            ar.WriteObject(&gem);
            ar.WriteInt(1);
            if (schema >= 2) ar.WriteInt(4);
        });
        auto b = LoadObject<CBag>(bytes);
        ASSERT_NE(b, nullptr) << schema;
        ASSERT_EQ(b->Items().size(), 1u);
        EXPECT_EQ(b->ItemCount(), 1);
        EXPECT_EQ(b->m_iBagKind, schema >= 2 ? 4 : 0) << schema;
    }
}

}  // namespace
