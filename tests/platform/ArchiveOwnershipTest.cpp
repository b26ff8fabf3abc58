// Who deletes what a file made: the objects the archive keeps, the classes a
// list may hold, the base class a record names and the bounds of its indices.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "creatures/Player.h"
#include "items/Bag.h"
#include "items/Magic.h"
#include "items/Spell.h"
#include "items/Useable.h"
#include "platform/Archive.h"
#include "support/HandWrittenRecord.h"
#include "world/Group.h"
#include "world/KeyStorage.h"
#include "world/ObjectHolder.h"
#include "world/World.h"

namespace {

using record_test::Bytes;
using record_test::PutInts;
using record_test::PutNewClass;
using record_test::PutObjectDefaults;
using record_test::PutTableGroup;
using record_test::PutWord;
using record_test::RefusalOf;

// An object that notes when it was read and when it goes.
std::vector<int> g_destroyed;
int g_readCount = 0;
class UnownedProbe : public qv::Persistent {
    QV_DECLARE_CLASS(UnownedProbe)
public:
    ~UnownedProbe() override { g_destroyed.push_back(order); }
    void Serialize(qv::Archive& ar) override {
        if (ar.IsLoading()) {
            ar.GetObjectSchema();
            order = g_readCount++;
        }
    }
    int order = -1;
};
QV_IMPLEMENT_SERIAL(UnownedProbe, qv::Persistent, 1, false)

TEST(ArchiveOwnership, ObjectsNobodyClaimedGoLastReadFirst) {
    // Sixty objects the archive keeps: one read later may hang on one read
    // earlier, so they go in the reverse of the reading order.
    constexpr int kCount = 60;
    Bytes b;
    PutNewClass(b, "UnownedProbe", 1);
    for (int i = 1; i < kCount; ++i) PutWord(b, 0x8001);
    g_destroyed.clear();
    g_readCount = 0;
    {
        qv::Archive ar(b);
        for (int i = 0; i < kCount; ++i) ASSERT_NE(ar.ReadObjectUnowned(), nullptr);
        EXPECT_TRUE(g_destroyed.empty());
    }
    ASSERT_EQ(g_destroyed.size(), size_t(kCount));
    for (int i = 0; i < kCount; ++i) EXPECT_EQ(g_destroyed[size_t(i)], kCount - 1 - i);
}

TEST(ArchiveOwnership, KeyRecordsAndOldMagicListsHoldNoGroups) {
    World world;
    world.CreateRootGroups();
    // A key record listing group 40 and then a group whose number joins it
    // under group 40: read as objects the archive keeps, they would join the
    // group tree while the archive still held them.
    Bytes key;
    PutNewClass(key, "KeyStorage", 1);
    PutInts(key, {7});
    key.push_back(3);
    key.insert(key.end(), {'D', 'o', 'r'});
    PutWord(key, 2);
    // After the key record's class (1) and object (2) come Group's class (3),
    // the first group (4), Member's and Object's classes (5, 6).
    PutTableGroup(key, -1, 40);
    PutTableGroup(key, 40, 41, {3, 5, 6});
    EXPECT_EQ(RefusalOf<KeyStorage>(key), qv::ArchiveError::BadClass);

    // A creature there is refused as well: it would enter the party.
    Bytes keyWithCreature;
    PutNewClass(keyWithCreature, "KeyStorage", 1);
    PutInts(keyWithCreature, {7});
    keyWithCreature.push_back(0);
    PutWord(keyWithCreature, 1);
    PutNewClass(keyWithCreature, "Player", 44);
    EXPECT_EQ(RefusalOf<KeyStorage>(keyWithCreature), qv::ArchiveError::BadClass);

    // The second list of a magic of schema 2 holds spells only.
    Bytes magic;
    PutNewClass(magic, "Magic", 2);
    PutWord(magic, 0);  // the spells
    PutWord(magic, 2);  // the old list
    PutTableGroup(magic, -1, 40);
    PutTableGroup(magic, 40, 41, {3, 5, 6});
    EXPECT_EQ(RefusalOf<Magic>(magic), qv::ArchiveError::BadClass);

    // Nothing of either is left in the tree or the table.
    EXPECT_EQ(world.m_pAllGroups->GetMemberCount(), 1);
    EXPECT_EQ(world.GetGroupByNumber(40), nullptr);
    EXPECT_EQ(world.GetGroupByNumber(41), nullptr);

    // A spell there is read and dropped, as it always was.
    Bytes spells;
    PutNewClass(spells, "Magic", 2);
    PutWord(spells, 0);
    PutWord(spells, 1);
    {
        qv::Archive out;
        Spell spark("Spark");
        out.WriteObject(&spark);
        Bytes s = out.TakeBytes();
        spells.insert(spells.end(), s.begin(), s.end());
    }
    PutInts(spells, {5, 3, 1, 2, 3, 4, 100});
    auto m = record_test::LoadObject<Magic>(spells);
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(m->m_SpellList.empty());
    EXPECT_EQ(m->m_uMaxMana, 5u);
    EXPECT_EQ(m->m_iRegenPeriod, 100);
}

TEST(ArchiveOwnership, ItemListsRefuseCreaturesAndGroups) {
    World world;
    world.CreateRootGroups();
    // A bag whose entry is a creature record: refused before the creature is
    // made, so it never takes a party slot.
    Bytes bag;
    PutNewClass(bag, "CBag", 2);
    PutNewClass(bag, "Object", 11);
    PutObjectDefaults(bag, "Bag");
    PutWord(bag, 1);
    PutNewClass(bag, "Player", 44);
    EXPECT_EQ(RefusalOf<CBag>(bag), qv::ArchiveError::BadClass);
    for (const auto& h : world.m_Party) EXPECT_EQ(h.Get(), nullptr);
}

TEST(ArchiveOwnership, AHolderPlacesNoGroup) {
    World world;
    world.CreateRootGroups();
    // A holder at (10, 20) whose object is a group that joins the tree as it is
    // read: refused before the group is made.
    Bytes b;
    PutNewClass(b, "ObjectHolder", 10);
    PutInts(b, {10, 20});
    PutTableGroup(b, -1, 40);
    EXPECT_EQ(RefusalOf<ObjectHolder>(b), qv::ArchiveError::BadClass);
    EXPECT_EQ(world.m_pAllGroups->GetMemberCount(), 1);
    EXPECT_EQ(world.GetGroupByNumber(40), nullptr);
    // A creature is placed as ever.
    Player p;
    ObjectHolder h(Position(10, 20, 0), &p);
    const Bytes stored = record_test::StoreObject(h);
    qv::Archive in(stored);
    std::unique_ptr<ObjectHolder> back(in.ReadObjectOf<ObjectHolder>());
    ASSERT_NE(back, nullptr);
    ASSERT_NE(back->m_pObject, nullptr);
    EXPECT_EQ(back->m_pObject->Type(), PLAYER);
    std::unique_ptr<Object> creature(back->m_pObject);
}

TEST(ArchiveOwnership, ABaseClassRecordMustNameTheBaseItself) {
    // A usable item whose base record names a bag (a class derived from
    // Object) where Object belongs: the bag's schema would drive Object's
    // conversions.
    Bytes b;
    PutNewClass(b, "Useable", 1);
    PutNewClass(b, "CBag", 2);
    PutObjectDefaults(b, "Stick");
    EXPECT_EQ(RefusalOf<Useable>(b), qv::ArchiveError::BadClass);

    // Named by a tag of a class read earlier, the same.
    Bytes tagged;
    PutNewClass(tagged, "CBag", 2);
    PutNewClass(tagged, "Object", 11);
    PutObjectDefaults(tagged, "Bag");
    PutWord(tagged, 0);  // no entries
    PutInts(tagged, {0, 0});
    PutNewClass(tagged, "Useable", 1);
    PutWord(tagged, 0x8001);  // CBag again, in Object's place
    PutObjectDefaults(tagged, "Stick");
    qv::Archive ar(tagged);
    std::unique_ptr<CBag> first(ar.ReadObjectOf<CBag>());
    ASSERT_NE(first, nullptr);
    try {
        delete ar.ReadObjectOf<Useable>();
        ADD_FAILURE() << "a derived class was read in the base's place";
    } catch (const qv::ArchiveError& e) {
        EXPECT_EQ(e.cause, qv::ArchiveError::BadClass);
    }

    // The base itself is read.
    Bytes good;
    PutNewClass(good, "Useable", 1);
    PutNewClass(good, "Object", 11);
    PutObjectDefaults(good, "Stick");
    auto stick = record_test::LoadObject<Useable>(good);
    ASSERT_NE(stick, nullptr);
    EXPECT_EQ(stick->m_strSpecialName, "Stick");
}

TEST(ArchiveOwnership, AnIndexOnePastWhatWasReadIsTheIndexError) {
    // One usable item read: its class is index 1, the item itself 2 and
    // Object's class 3. Index 2 names it again; index 4 is one past.
    Bytes head;
    PutNewClass(head, "Useable", 1);
    PutNewClass(head, "Object", 11);
    PutObjectDefaults(head, "Stick");

    auto second = [&](uint16_t tag) {
        Bytes b = head;
        PutWord(b, tag);
        qv::Archive ar(b);
        qv::Persistent* first = ar.ReadObjectUnowned();
        EXPECT_NE(first, nullptr);
        try {
            qv::Persistent* again = ar.ReadObjectUnowned();
            EXPECT_EQ(again, first);
            return qv::ArchiveError::Generic;
        } catch (const qv::ArchiveError& e) {
            return e.cause;
        }
    };
    EXPECT_EQ(second(0x0002), qv::ArchiveError::Generic);   // the item: read
    EXPECT_EQ(second(0x0003), qv::ArchiveError::BadIndex);  // a class as an object
    EXPECT_EQ(second(0x0004), qv::ArchiveError::BadIndex);  // one past
    EXPECT_EQ(second(0x8002), qv::ArchiveError::BadIndex);  // an object as a class
    EXPECT_EQ(second(0x8004), qv::ArchiveError::BadIndex);  // a class one past
    // The long form of the same index.
    Bytes b = head;
    PutWord(b, 0x7FFF);
    PutInts(b, {4});
    qv::Archive ar(b);
    ASSERT_NE(ar.ReadObjectUnowned(), nullptr);
    try {
        ar.ReadObjectUnowned();
        ADD_FAILURE() << "index 4 was read";
    } catch (const qv::ArchiveError& e) {
        EXPECT_EQ(e.cause, qv::ArchiveError::BadIndex);
        EXPECT_NE(std::string(e.what()).find("index 4 of 3 read"), std::string::npos) << e.what();
    }
}

}  // namespace
