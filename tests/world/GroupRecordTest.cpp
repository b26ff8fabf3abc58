// Stored records of members and groups, byte for byte, and reading them back.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "events/GameEvent.h"
#include "platform/Archive.h"
#include "support/HandWrittenRecord.h"
#include "world/Group.h"
#include "world/World.h"

namespace {

using record_test::Bytes;
using record_test::LoadObject;
using record_test::PutInt;
using record_test::PutInts;
using record_test::PutNewClass;
using record_test::PutObjectDefaults;
using record_test::PutWord;
using record_test::RefusalOf;
using record_test::StoreObject;

void SetMemberFields(Member& m) {
    m.m_iHitPoints = 7;
    m.m_iMaxHitPoints = 12;
    m.m_Position = Position(100, -3, 9);
    m.m_iAttackMode = 1;
    m.m_iMemberData = 42;
    m.m_iHostileMode = 1;
    m.m_iGroupNum = -5;
    m.m_bGrouped = 1;
}

TEST(MemberRecord, StoredBytes) {
    Member m;
    SetMemberFields(m);
    // Every byte written out, to catch any change in order or width.
    const Bytes expected = {
        0xFF, 0xFF, 0x07, 0x00, 0x06, 0x00, 'M',  'e',  'm',  'b',  'e',
        'r',  // class
        0xFF, 0xFF, 0x0B, 0x00, 0x06, 0x00, 'O',  'b',  'j',  'e',  'c',
        't',  // base
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00,
        0x00,                                                             // frame, weight
        0x00, 0x00, 0x00, 0x00, 0x06, 'M',  'e',  'm',  'b',  'e',  'r',  // value, name
        0x06, 'M',  'e',  'm',  'b',  'e',  'r',                          // special name
        0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00,
        0x00,  // key, spare, state
        0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00,
        0x00,                                            // amount...
        0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,  // spare2, owner
        0x07, 0x00, 0x00, 0x00, 0x0C, 0x00, 0x00, 0x00,  // hit points
        0x64, 0x00, 0x00, 0x00, 0xFD, 0xFF, 0xFF, 0xFF,  // x, y
        0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,  // attack, subdued
        0x2A, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,  // data, hostile
        0xFB, 0xFF, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00,  // group, grouped
    };
    EXPECT_EQ(StoreObject(m), expected);

    auto back = LoadObject<Member>(expected);
    EXPECT_EQ(back->m_iHitPoints, 7);
    EXPECT_EQ(back->m_iMaxHitPoints, 12);
    EXPECT_EQ(back->m_Position, Position(100, -3, 0));  // z is not stored
    EXPECT_EQ(back->m_iAttackMode, 1);
    EXPECT_EQ(back->m_bSubdued, 0);
    EXPECT_EQ(back->m_iMemberData, 42);
    EXPECT_EQ(back->m_iHostileMode, 1);
    EXPECT_EQ(back->m_iGroupNum, -5);
    EXPECT_EQ(back->m_bGrouped, 1);
}

// A member record of an older schema: the class header carries it, the fields
// follow as that schema wrote them.
Bytes OldMember(uint16_t schema, std::vector<int32_t> fields) {
    Bytes e;
    PutNewClass(e, "Member", schema);
    PutNewClass(e, "Object", 11);
    PutObjectDefaults(e, "Member");
    for (int32_t f : fields) PutInt(e, f);
    return e;
}

TEST(MemberRecord, OlderSchemasAreConverted) {
    // Schema 3: hit points above the maximum come back at the maximum; no
    // grouping flag; positions rescaled three times, truncating toward zero:
    // 670 -> 1600 -> 1885 -> 1827, 470 -> 1000 -> 1040 -> 960.
    auto m3 = LoadObject<Member>(OldMember(3, {15, 12, 670, 470, 1, 1, 8, 1, 4}));
    EXPECT_EQ(m3->m_iHitPoints, 12);
    EXPECT_EQ(m3->m_iMaxHitPoints, 12);
    EXPECT_EQ(m3->m_Position, Position(1827, 960, 0));
    EXPECT_EQ(m3->m_bSubdued, 1);
    EXPECT_EQ(m3->m_iMemberData, 8);
    EXPECT_EQ(m3->m_iGroupNum, 4);
    EXPECT_EQ(m3->m_bGrouped, 0);

    // Schema 1: two integers skipped, both hit points 10; negative positions
    // truncate toward zero: -67 -> -160 -> -188 -> -182, -47 -> -100 -> -104 -> -96.
    auto m1 = LoadObject<Member>(OldMember(1, {99, 98, -67, -47, 0, 0, 0, 0, -1}));
    EXPECT_EQ(m1->m_iHitPoints, 10);
    EXPECT_EQ(m1->m_iMaxHitPoints, 10);
    EXPECT_EQ(m1->m_Position, Position(-182, -96, 0));

    // Schema 4 has the grouping flag; schema 5 skips only the first rescale:
    // 140 -> 165 -> 160, 100 -> 104 -> 96.
    auto m5 = LoadObject<Member>(OldMember(5, {3, 4, 140, 100, 0, 0, 0, 0, -1, 1}));
    EXPECT_EQ(m5->m_Position, Position(160, 96, 0));
    EXPECT_EQ(m5->m_bGrouped, 1);
    // Schema 6 only the last: 165 -> 160, 104 -> 96.
    auto m6 = LoadObject<Member>(OldMember(6, {3, 4, 165, 104, 0, 0, 0, 0, -1, 0}));
    EXPECT_EQ(m6->m_Position, Position(160, 96, 0));
}

// Member's part of a record, after Object's.
void MemberPart(Bytes& b, int32_t hp, int32_t groupNum, int32_t grouped) {
    PutInts(b, {hp, 10, 0, 0, 0, 0, 0, 0, groupNum, grouped});
}

// The class records of a group of `schema` and its bases, then Object's
// fields of a fresh group.
void PutGroupHead(Bytes& b, uint16_t schema) {
    PutNewClass(b, "Group", schema);
    PutNewClass(b, "Member", 7);
    PutNewClass(b, "Object", 11);
    PutObjectDefaults(b, "Group");
}

TEST(GroupRecord, TableGroupBytesAndItsPlaceOnLoading) {
    World world;
    world.CreateRootGroups();
    Group g;
    g.m_iHitPoints = 0;
    g.m_iOwnGroupNum = 3;
    g.m_iLeaderId = 7;
    g.m_iGroupNum = -1;
    g.AddMemberDirect(new Member);  // not stored: the group is not self-contained

    Bytes e;
    PutGroupHead(e, 2);
    // Adding the member recomputed the cached hit points: a plain member has 0.
    MemberPart(e, 0, -1, 0);
    PutInts(e, {3, 7});
    EXPECT_EQ(StoreObject(g), e);

    // Read back, it is entered in the table under its number and joins "All
    // Groups" at once.
    auto back = LoadObject<Group>(e);
    EXPECT_EQ(back->m_iOwnGroupNum, 3);
    EXPECT_EQ(back->m_iLeaderId, 7);
    EXPECT_EQ(back->GetMemberCount(), 0);
    ASSERT_EQ(world.m_GroupArray.size(), 4u);
    EXPECT_EQ(world.m_GroupArray[3], back.get());
    EXPECT_EQ(world.m_GroupArray[1], nullptr);
    EXPECT_EQ(back->m_pGroup, world.m_pAllGroups);
    EXPECT_EQ(world.m_pAllGroups->Members().front(), back.get());
    // Deleting it leaves its parent and gives its slot back.
    back.reset();
    EXPECT_EQ(world.m_GroupArray[3], nullptr);
    EXPECT_EQ(world.m_pAllGroups->GetMemberCount(), 1);
}

TEST(GroupRecord, SelfContainedGroupBytes) {
    Group g;
    g.m_bGrouped = 1;
    g.m_iOwnGroupNum = -2;
    auto* a = new Member("A");
    auto* b = new Member("B");
    a->m_iGroupNum = -2;
    b->m_iGroupNum = -2;
    g.AddMemberDirect(a);
    g.AddMemberDirect(b);
    g.m_iHitPoints = 5;

    Bytes e;
    PutGroupHead(e, 2);
    MemberPart(e, 5, -1, 1);
    PutInts(e, {-2, -1});
    PutWord(e, 2);
    // Class Member is index 3 and Object 4 (the group itself is 2); later
    // records name them by tag.
    PutWord(e, 0x8003);
    PutWord(e, 0x8004);
    PutObjectDefaults(e, "A");
    MemberPart(e, 10, -2, 0);
    PutWord(e, 0x8003);
    PutWord(e, 0x8004);
    PutObjectDefaults(e, "B");
    MemberPart(e, 10, -2, 0);
    EXPECT_EQ(StoreObject(g), e);

    // The members come back in the stored order without a frame to attach to.
    auto back = LoadObject<Group>(e);
    ASSERT_EQ(back->GetMemberCount(), 2);
    EXPECT_EQ(back->Members().front()->m_strSpecialName, "A");
    EXPECT_EQ(back->Members().back()->m_strSpecialName, "B");
    EXPECT_EQ(back->Members().front()->m_pGroup, back.get());
    EXPECT_EQ(back->m_iOwnGroupNum, -2);
}

TEST(GroupRecord, TreeReadsBackWithOrderNumbersAndLeader) {
    World world;
    world.CreateRootGroups();
    Group party;
    party.m_bGrouped = 1;
    party.m_iOwnGroupNum = 1;
    party.m_iLeaderId = 235;
    auto* nested = new Group;
    nested->m_bGrouped = 1;
    nested->m_iOwnGroupNum = -6;
    auto* inner = new Member("inner");
    inner->m_iGroupNum = -6;
    nested->AddMember(inner);
    party.AddMember(nested);
    // Each goes in at the head.
    const char* names[] = {"first", "second", "third"};
    for (int i = 2; i >= 0; --i) party.AddMember(new Member(names[i]));

    Bytes bytes = StoreObject(party);
    auto back = LoadObject<Group>(bytes);
    EXPECT_EQ(back->m_iOwnGroupNum, 1);
    EXPECT_EQ(back->m_iLeaderId, 235);
    EXPECT_EQ(back->m_pGroup, nullptr);  // a self-contained root stays unattached
    ASSERT_EQ(back->GetMemberCount(), 4);
    auto it = back->Members().begin();
    for (const char* n : names) {
        EXPECT_EQ((*it)->m_strSpecialName, n);
        EXPECT_EQ((*it)->m_iGroupNum, 1);
        ++it;
    }
    // The nested group first joined "All Groups" while it was read, then moved
    // into its parent: it is listed once.
    auto* nb = dynamic_cast<Group*>(*it);
    ASSERT_NE(nb, nullptr);
    EXPECT_EQ(nb->m_pGroup, back.get());
    EXPECT_EQ(nb->m_iOwnGroupNum, -6);
    ASSERT_EQ(nb->GetMemberCount(), 1);
    EXPECT_EQ(nb->Members().front()->m_strSpecialName, "inner");
    EXPECT_EQ(nb->Members().front()->m_iGroupNum, -6);
    EXPECT_EQ(world.m_pAllGroups->GetMemberCount(), 1);  // only "Random Encounters"
    // Stored again, the tree gives the same bytes.
    EXPECT_EQ(StoreObject(*back), bytes);
}

TEST(GroupRecord, SchemaOneHasNoLeaderId) {
    Bytes e;
    PutGroupHead(e, 1);
    MemberPart(e, 0, -1, 1);
    PutInt(e, -9);
    PutWord(e, 0);
    auto g = LoadObject<Group>(e);
    EXPECT_EQ(g->m_iOwnGroupNum, -9);
    EXPECT_EQ(g->m_iLeaderId, -1);
}

TEST(GroupRecord, GroupsFindTheirParentByNumber) {
    World world;
    world.CreateRootGroups();
    Group* five = new Group;
    world.m_pAllGroups->AddMember(five);
    five->SetGroupNumber(5);

    auto read = [&](int32_t groupNum, int32_t grouped) {
        Bytes e;
        PutGroupHead(e, 2);
        MemberPart(e, 0, groupNum, grouped);
        PutInts(e, {-1, -1});
        if (grouped) PutWord(e, 0);
        qv::Archive ar(e);
        return ar.ReadObjectOf<Group>();
    };
    // A table number names its parent; an empty slot or a number past the end
    // falls back to "All Groups"; a random-encounter number goes to "Random
    // Encounters"; -1 joins "All Groups" unless the group is self-contained.
    Group* g5 = read(5, 0);
    EXPECT_EQ(g5->m_pGroup, five);
    Group* g2 = read(2, 0);
    EXPECT_EQ(g2->m_pGroup, world.m_pAllGroups);
    Group* g99 = read(99, 0);
    EXPECT_EQ(g99->m_pGroup, world.m_pAllGroups);
    Group* gr = read(-4, 0);
    EXPECT_EQ(gr->m_pGroup, world.m_pRandomEncounters);
    Group* gm = read(-1, 0);
    EXPECT_EQ(gm->m_pGroup, world.m_pAllGroups);
    std::unique_ptr<Group> gs(read(-1, 1));
    EXPECT_EQ(gs->m_pGroup, nullptr);
    // -1 took the next free numbers of the table (slots 6 on).
    EXPECT_EQ(g5->m_iOwnGroupNum, 6);
    EXPECT_EQ(world.GetGroupByNumber(6), g5);
}

TEST(GroupRecord, AnAbsurdGroupNumberIsRefused) {
    World world;
    world.CreateRootGroups();
    // A table number near the top of the range would make the table take
    // gigabytes: the file is refused and the table stays as it was.
    const size_t tableSize = world.m_GroupArray.size();
    Bytes b;
    PutGroupHead(b, 2);
    MemberPart(b, 0, -1, 0);
    PutInts(b, {0x7FFFFFF0, -1});
    qv::Archive ar(b);
    try {
        ar.ReadObjectOf<Group>();
        ADD_FAILURE() << "an absurd group number was accepted";
    } catch (const qv::ArchiveError& err) {
        EXPECT_EQ(err.cause, qv::ArchiveError::BadIndex);
        EXPECT_NE(std::string(err.what()).find("group number 2147483632"), std::string::npos)
            << err.what();
    }
    EXPECT_EQ(world.m_GroupArray.size(), tableSize);
    EXPECT_EQ(world.m_pAllGroups->GetMemberCount(), 1);
    // Set by hand, such a number names the group but takes no table entry;
    // the largest number that may is still entered.
    Group g;
    g.SetGroupNumber(0x7FFFFFF0);
    EXPECT_EQ(g.m_iOwnGroupNum, 0x7FFFFFF0);
    EXPECT_EQ(world.m_GroupArray.size(), tableSize);
    Group h;
    h.SetGroupNumber(Group::kMaxGroupNumber);
    ASSERT_EQ(world.m_GroupArray.size(), size_t(Group::kMaxGroupNumber) + 1);
    EXPECT_EQ(world.GetGroupByNumber(Group::kMaxGroupNumber), &h);
}

TEST(GroupRecord, BadListsAreRefusedWithoutLeaks) {
    World world;
    world.CreateRootGroups();
    Bytes head;
    PutGroupHead(head, 2);
    MemberPart(head, 0, -1, 0);
    PutInts(head, {4, -1});

    // A table group whose record ends early: the archive's error, and the half
    // read group leaves the tree and its slot.
    {
        Bytes cut(head.begin(), head.end() - 2);
        qv::Archive ar(cut);
        EXPECT_THROW(ar.ReadObjectOf<Group>(), qv::ArchiveError);
        EXPECT_EQ(world.GetGroupByNumber(4), nullptr);
        EXPECT_EQ(world.m_pAllGroups->GetMemberCount(), 1);
    }
    // A self-contained group listing an event: refused as the wrong class; the
    // member read before it goes with the group.
    {
        Bytes e;
        PutGroupHead(e, 2);
        MemberPart(e, 0, -1, 1);
        PutInts(e, {-1, -1});
        PutWord(e, 2);
        PutWord(e, 0x8003);
        PutWord(e, 0x8004);
        PutObjectDefaults(e, "A");
        MemberPart(e, 10, -1, 0);
        PutNewClass(e, "CGameEvent", 1);
        PutWord(e, 0x8004);
        PutObjectDefaults(e, "CGameEvent");
        PutInts(e, {0, 0});
        EXPECT_EQ(RefusalOf<Group>(e), qv::ArchiveError::BadClass);
    }
    // The same member listed twice (a back-reference) would have two owners:
    // refused, and nothing read leaks.
    {
        Bytes e;
        PutGroupHead(e, 2);
        MemberPart(e, 0, -1, 1);
        PutInts(e, {-1, -1});
        PutWord(e, 3);
        PutWord(e, 0x8003);
        PutWord(e, 0x8004);
        PutObjectDefaults(e, "A");
        MemberPart(e, 10, -1, 0);
        PutWord(e, 5);
        PutWord(e, 2);  // the member again, then the group itself
        EXPECT_EQ(RefusalOf<Group>(e), qv::ArchiveError::BadIndex);
    }
}

}  // namespace
