#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "items/Bag.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "items/Useable.h"
#include "platform/Archive.h"
#include "support/HandWrittenRecord.h"
#include "world/Group.h"
#include "world/World.h"

namespace {

using namespace record_test;

// The object part every item record starts with.
void ObjectPart(qv::Archive& ar, const char* name = "Thing") {
    ar.SerializeClass(&Object::classInfo);
    Object o(name);
    o.Serialize(ar);
}

TEST(Useable, StoresOnlyItsObjectPartAndRebuildsItsLocations) {
    Useable u("Stick");
    u.m_iValue = 12;
    u.m_LocationList.emplace_back(3);  // not stored
    Bytes bytes = StoreObject(u);
    Bytes expected = Record(Useable::classInfo, 1, [](qv::Archive& ar) {
        ar.SerializeClass(&Object::classInfo);
        Object o("Stick");
        o.m_iValue = 12;
        o.Serialize(ar);
    });
    EXPECT_EQ(bytes, expected);
    auto back = LoadObject<Useable>(bytes);
    EXPECT_EQ(StoreObject(*back), bytes);
    EXPECT_TRUE(back->m_LocationList.empty());
    EXPECT_EQ(back->Type(), USEABLE);
    EXPECT_EQ(back->GetUseableKind(), 4);
    EXPECT_EQ(back->GetUseRange(nullptr), std::make_pair(0, 0));
}

TEST(CBag, RecordHoldsItsEntriesThenCountAndKind) {
    CBag bag;
    bag.m_iBagKind = 4;
    auto* inner = new CBag("Pouch");
    bag.AddItem(new Useable("Stick"));
    bag.AddItem(inner);
    bag.SetItemCount(2);
    inner->AddItem(new Useable("Stone"));
    inner->SetItemCount(1);
    EXPECT_EQ(bag.Items()[0]->m_iSpare2, 0);
    EXPECT_EQ(bag.Items()[1]->m_iSpare2, 1);

    Bytes bytes = StoreObject(bag);
    // The tail after the entries: the count, then the kind.
    ASSERT_GE(bytes.size(), 8u);
    EXPECT_EQ(Bytes(bytes.end() - 8, bytes.end()), (Bytes{2, 0, 0, 0, 4, 0, 0, 0}));

    auto back = LoadObject<CBag>(bytes);
    ASSERT_EQ(back->Items().size(), 2u);
    EXPECT_EQ(back->ItemCount(), 2);
    EXPECT_EQ(back->m_iBagKind, 4);
    auto* innerBack = qv::DynamicCast<CBag>(back->Items()[1].get());
    ASSERT_NE(innerBack, nullptr);
    EXPECT_EQ(innerBack->Parent(), back.get());
    EXPECT_TRUE(back->Contains(innerBack->Items()[0].get()));
    EXPECT_EQ(StoreObject(*back), bytes);  // storing again gives the same bytes
}

TEST(CBag, OlderAndInconsistentRecords) {
    // Schema 1 has no kind; a count that disagrees with the entries is set
    // to the number of entries.
    Bytes bytes = Record(CBag::classInfo, 1, [](qv::Archive& ar) {
        ObjectPart(ar, "Bag");
        ar.WriteCount(1);
        Useable u("Stick");
        ar.WriteObject(&u);
        ar.WriteInt(7);
    });
    auto bag = LoadObject<CBag>(bytes);
    EXPECT_EQ(bag->m_iBagKind, 0);
    EXPECT_EQ(bag->ItemCount(), 1);

    // An entry that is not an object at all is the archive's class error.
    Bytes wrong = Record(CBag::classInfo, 2, [](qv::Archive& ar) {
        ObjectPart(ar, "Bag");
        ar.WriteCount(1);
        Magic m;
        ar.WriteObject(&m);
        ar.WriteInt(1);
        ar.WriteInt(0);
    });
    RefusalOf<CBag>(wrong);
}

TEST(CBag, AGroupListedAsAnEntryIsRefused) {
    // A group joins the group tree as soon as it is read; kept as a bag's
    // entry too it would have two owners and be deleted twice.
    World world;
    world.CreateRootGroups();
    CBag bag;
    bag.AddItem(new Group);
    bag.SetItemCount(1);
    const Bytes bytes = StoreObject(bag);
    EXPECT_EQ(RefusalOf<CBag>(bytes), qv::ArchiveError::BadClass);
    // The group that was read went, and left the tree as it went.
    EXPECT_EQ(world.m_pAllGroups->GetMemberCount(), 1);
}

TEST(CBag, SlotsAreTheLowestFree) {
    CBag bag;
    for (int i = 0; i < 4; ++i) bag.AddItem(new Useable);
    Object* third = bag.Items()[2].get();
    std::unique_ptr<Object> out(bag.DetachItem(third));
    EXPECT_EQ(out.get(), third);
    bag.AddItem(new Useable);
    EXPECT_EQ(bag.Items().back()->m_iSpare2, 2);
    EXPECT_FALSE(bag.Contains(third));
}

void SpellFieldsV6(qv::Archive& ar) {
    ar.WriteDWord(25);                                 // mana
    for (int32_t v : {500, 3, 8, 77}) ar.WriteInt(v);  // spare, level, missile, serial
    ar.WriteCount(2);
    for (int32_t v : {4, 9, 2}) ar.WriteInt(v);  // the targets, the caster
}

TEST(CBag, ANestedBagKnowsItsParentOnlyWhileItIsInside) {
    auto outer = std::make_unique<CBag>("Pack");
    auto* inner = new CBag("Pouch");
    outer->AddItem(inner);
    EXPECT_EQ(inner->Parent(), outer.get());
    // Taken out, it names no parent: the old one may go before it does.
    std::unique_ptr<Object> out(outer->DetachItem(inner));
    EXPECT_EQ(inner->Parent(), nullptr);
    outer->AddItem(out.release());
    std::vector<Object*> all = outer->DetachAll();
    outer.reset();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(static_cast<CBag*>(all[0])->Parent(), nullptr);
    delete all[0];
}

TEST(Spell, RecordOfTheCurrentSchema) {
    Spell s("Spark");
    s.m_iMana = 25;
    s.m_iSkillLevel = 3;
    s.m_iMissileParam = 8;
    s.m_iSerial = 77;
    s.m_Targets = {4, 9};
    s.m_iCaster = 2;
    s.m_iDuration = 4000;  // not stored
    Bytes bytes = StoreObject(s);
    Bytes expected = Record(Spell::classInfo, 6, [](qv::Archive& ar) {
        ar.SerializeClass(&Object::classInfo);
        Spell o("Spark");  // its object part, with the spell's own spare value 3
        o.Object::Serialize(ar);
        SpellFieldsV6(ar);
    });
    EXPECT_EQ(bytes, expected);
    auto back = LoadObject<Spell>(bytes);
    EXPECT_EQ(StoreObject(*back), bytes);
    EXPECT_EQ(back->m_iDuration, 0);
}

TEST(Spell, OlderSchemasAndTheSerialCounter) {
    g_iNextSpellSerial = 10;
    // Schema 3: mana, a dropped value, spare, level, missile, serial, counter, targets.
    Bytes v3 = Record(Spell::classInfo, 3, [](qv::Archive& ar) {
        ObjectPart(ar);
        ar.WriteDWord(6);
        for (int32_t v : {-99, 500, 2, 1, 31}) ar.WriteInt(v);
        ar.WriteDWord(40);  // the counter of that file
        ar.WriteCount(1);
        ar.WriteInt(0);
    });
    auto s3 = LoadObject<Spell>(v3);
    EXPECT_EQ(s3->m_iMana, 6u);
    EXPECT_EQ(s3->m_iSkillLevel, 2);
    EXPECT_EQ(s3->m_iSerial, 31);
    EXPECT_EQ(s3->m_iCaster, -1);  // no caster before schema 4
    EXPECT_GE(g_iNextSpellSerial, 41u);

    // Schema 5: no dropped value, a counter, then the caster.
    Bytes v5 = Record(Spell::classInfo, 5, [](qv::Archive& ar) {
        ObjectPart(ar);
        ar.WriteDWord(6);
        for (int32_t v : {500, 2, 1, 31}) ar.WriteInt(v);
        ar.WriteDWord(5);  // lower than the counter: no change
        ar.WriteCount(0);
        ar.WriteInt(7);
    });
    uint32_t counter = g_iNextSpellSerial;
    auto s5 = LoadObject<Spell>(v5);
    EXPECT_EQ(s5->m_iCaster, 7);
    EXPECT_EQ(g_iNextSpellSerial, counter + 1);  // only the spell just made took a serial

    // Schema 1 stores nothing of its own.
    Bytes v1 = Record(Spell::classInfo, 1, [](qv::Archive& ar) { ObjectPart(ar); });
    auto s1 = LoadObject<Spell>(v1);
    EXPECT_EQ(s1->m_iMana, 0u);

    // A target count longer than the file is refused, not allocated.
    Bytes bad = Record(Spell::classInfo, 6, [](qv::Archive& ar) {
        ObjectPart(ar);
        for (int i = 0; i < 5; ++i) ar.WriteInt(0);
        ar.WriteWord(0xFFFF);
        ar.WriteDWord(0x7FFFFFFF);
    });
    RefusalOf<Spell>(bad);
}

TEST(Spell, CloneCopiesTheCastFieldsButNotSerialOrTargets) {
    Spell s;
    s.m_iMissileParam = 3;
    s.m_iDuration = 2000;
    s.m_iStartTime = 500;
    s.m_iCaster = 4;
    s.m_iCastWeight = 30;
    s.m_Targets = {1};
    std::unique_ptr<Object> made(s.Clone());
    auto* c = qv::DynamicCast<Spell>(made.get());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->m_iMissileParam, 3);
    EXPECT_EQ(c->m_iDuration, 2000);
    EXPECT_EQ(c->m_iStartTime, 500);
    EXPECT_EQ(c->m_iCaster, 4);
    EXPECT_EQ(c->m_iCastWeight, 30);
    EXPECT_TRUE(c->m_Targets.empty());
    EXPECT_NE(c->m_iSerial, s.m_iSerial);
    EXPECT_EQ(c->m_iSpare1, 3);

    // Expiry compares across the wrap of game time.
    s.m_iStartTime = INT32_MAX - 100;
    s.m_iDuration = 200;
    EXPECT_EQ(s.CheckExpired(INT32_MIN + 99), 1);
    EXPECT_EQ(s.CheckExpired(INT32_MIN + 100), -1);
}

// The whole record of the current schema is among the magic records' golden
// bytes; here the skills of schema 1, stored as whole numbers.
TEST(Magic, SchemaOneSkills) {
    Bytes v1 = Record(Magic::classInfo, 1, [](qv::Archive& ar) {
        ar.WriteCount(0);
        ar.WriteCount(1);  // the older second list, dropped
        Spell s;
        ar.WriteObject(&s);
        ar.WriteDWord(20);
        ar.WriteDWord(10);
        for (uint32_t v : {12u, 0u, 5u, 3u}) ar.WriteDWord(v);
        ar.WriteInt(1000);
    });
    auto old = LoadObject<Magic>(v1);
    EXPECT_EQ(old->m_fAirSkill, 12.0f);
    EXPECT_EQ(old->m_fEarthSkill, 0.0f);
    EXPECT_EQ(old->m_fFireSkill, 5.0f);
    EXPECT_EQ(old->m_fWaterSkill, 3.0f);
    EXPECT_TRUE(old->m_SpellList.empty());
    EXPECT_EQ(old->m_uMaxMana, 20u);
}

TEST(Magic, OlderSecondListNamingKnownSpellsLeavesThemWithTheirList) {
    // Schema 2 kept a second list that named the known spells again; dropping
    // it must not delete the spells the first list keeps.
    Bytes v2 = Record(Magic::classInfo, 2, [](qv::Archive& ar) {
        Spell s("Spark");
        ar.WriteCount(1);
        ar.WriteObject(&s);
        ar.WriteCount(1);
        ar.WriteObject(&s);  // a back-reference
        ar.WriteDWord(20);
        ar.WriteDWord(10);
        for (float f : {1.0f, 2.0f, 3.0f, 4.0f}) ar.WriteFloat(f);
        ar.WriteInt(1000);
    });
    auto old = LoadObject<Magic>(v2);
    ASSERT_EQ(old->m_SpellList.size(), 1u);
    EXPECT_EQ(old->m_SpellList[0]->m_strSpecialName, "Spark");
    EXPECT_EQ(old->m_fWaterSkill, 4.0f);
}

TEST(Magic, ASpellTakenOutLeavesItsBook) {
    Magic magic;
    magic.m_SpellList.push_back(std::make_unique<Spell>("Fire Dart"));
    Spell* dart = magic.m_SpellList.back().get();
    magic.m_FireBook.AddItem(dart);
    magic.m_FireBook.SetItemCount(1);
    std::unique_ptr<Spell> taken = magic.TakeSpell(dart);
    ASSERT_EQ(taken.get(), dart);
    // The book only referred to it: it names it no more once it is taken.
    EXPECT_TRUE(magic.m_FireBook.Items().empty());
    EXPECT_EQ(magic.m_FireBook.ItemCount(), 0);
    taken.reset();
}

TEST(Magic, ManaRegeneration) {
    Magic m;
    m.m_uMaxMana = 100;
    int32_t rate = 1000;
    int32_t now = 5000;
    EXPECT_FALSE(m.RegenerateMana(&now, &rate));  // starts the clock
    now = 7500;
    EXPECT_TRUE(m.RegenerateMana(&now, &rate));
    EXPECT_EQ(m.m_uMana, 2u);
    EXPECT_EQ(m.m_uLastManaTime, 7000);  // the 500 left count toward the next point
    now = 7999;
    EXPECT_FALSE(m.RegenerateMana(&now, &rate));
    now = 8000;
    EXPECT_TRUE(m.RegenerateMana(&now, &rate));
    EXPECT_EQ(m.m_uMana, 3u);

    Magic tired;
    tired.m_uMaxMana = 100;
    rate = 0;  // one point per eleven periods
    now = 0;
    tired.RegenerateMana(&now, &rate);
    now = 10999;
    EXPECT_TRUE(tired.RegenerateMana(&now, &rate));
    EXPECT_EQ(tired.m_uMana, 0u);
    now = 11000;
    tired.RegenerateMana(&now, &rate);
    EXPECT_EQ(tired.m_uMana, 1u);

    Magic full;
    full.m_uMaxMana = 3;
    full.m_uMana = 5;
    rate = 1000;
    now = 100;
    full.RegenerateMana(&now, &rate);
    now = 1100;
    full.RegenerateMana(&now, &rate);
    EXPECT_EQ(full.m_uMana, 3u);  // pulled down to the maximum

    // A period from a file that gives no step regenerates nothing.
    Magic broken;
    broken.m_uMaxMana = 10;
    broken.m_iRegenPeriod = 0;
    now = 100;
    broken.RegenerateMana(&now, &rate);
    now = 100000;
    EXPECT_FALSE(broken.RegenerateMana(&now, &rate));
    EXPECT_EQ(broken.m_uMana, 0u);
    broken.m_iRegenPeriod = -1000;
    EXPECT_FALSE(broken.RegenerateMana(&now, &rate));
    rate = 5000;  // a rate above full alertness
    broken.m_iRegenPeriod = 1000;
    EXPECT_FALSE(broken.RegenerateMana(&now, &rate));
    EXPECT_EQ(broken.m_uMana, 0u);

    m.AddSchoolSkill(2, 1.5f);
    m.AddSchoolSkill(9, 4.0f);
    EXPECT_EQ(m.m_fEarthSkill, 1.5f);
}

}  // namespace
