// The people: colours drawn from a name, the stored record of the colours,
// the looks shared by sex, the NPC number's limit, the frame's swing without a
// look, and the combat sounds.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "creatures/Human.h"
#include "creatures/PlayerImages.h"
#include "platform/Message.h"
#include "support/HandWrittenRecord.h"
#include "world/World.h"

namespace {

using record_test::Bytes;
using Rgb = std::array<int32_t, 3>;

// A human record of schema 1 (no colours) or 2, written by hand after the
// creature's record.
Bytes HumanRecord(uint16_t schema, const std::string& name, const std::vector<int32_t>& colours) {
    World world;
    Human model;
    model.SetName(name);
    model.SetLevel(1);
    return record_test::Record(Human::classInfo, schema, [&](qv::Archive& ar) {
        ar.SerializeClass(&Player::classInfo);
        model.Player::Serialize(ar);
        for (int32_t v : colours) ar.WriteInt(v);
    });
}

TEST(Human, OldRecordsTakeTheirColoursFromTheName) {
    struct Row {
        const char* name;
        Rgb shirt, pants, hair;
    };
    // "abc" sums to 294; an empty name seeds the generator with 0.
    const std::vector<Row> rows = {
        {"abc", {2, 0, 0}, {1, 0, -3}, {-9, -7, -9}},
        {"", {1, 0, 0}, {-3, -3, -3}, {-10, -10, -10}},
    };
    World world;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const LookColours c = Human::ColoursFromName(r.name);
        EXPECT_EQ(c.shirt, r.shirt);
        EXPECT_EQ(c.pants, r.pants);
        EXPECT_EQ(c.hair, r.hair);
        // A record of schema 1 keeps no colours: it takes its name's.
        std::unique_ptr<Human> h = record_test::LoadObject<Human>(HumanRecord(1, r.name, {}));
        ASSERT_NE(h, nullptr);
        EXPECT_EQ(h->m_iShirtColor, r.shirt);
        EXPECT_EQ(h->m_iPantsColor, r.pants);
        EXPECT_EQ(h->m_iHairColor, r.hair);
    }
}

TEST(Human, ASchemaTwoRecordKeepsItsNineValues) {
    World world;
    const std::vector<int32_t> nine{5, 6, 7, -1, -2, -3, 40, 41, -42};
    const Bytes bytes = HumanRecord(2, "Ann", nine);
    std::unique_ptr<Human> h = record_test::LoadObject<Human>(bytes);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(h->m_iHairColor, (Rgb{40, 41, -42}));
    // Written again, the record ends with the same nine values, little-endian.
    const Bytes stored = record_test::StoreObject(*h);
    Bytes tail;
    for (int32_t v : nine) record_test::PutInt(tail, v);
    ASSERT_GE(stored.size(), tail.size());
    EXPECT_EQ(Bytes(stored.end() - static_cast<long>(tail.size()), stored.end()), tail);
    // The class record at its head: "Human", schema 2.
    const Bytes head{0xFF, 0xFF, 2, 0, 5, 0, 'H', 'u', 'm', 'a', 'n'};
    EXPECT_EQ(Bytes(stored.begin(), stored.begin() + static_cast<long>(head.size())), head);
    // Every cut of the colours is refused.
    for (size_t cut = bytes.size() - 36; cut < bytes.size(); ++cut) {
        SCOPED_TRACE(cut);
        const Bytes part(bytes.begin(), bytes.begin() + static_cast<long>(cut));
        EXPECT_EQ(record_test::RefusalOf<Player>(part), qv::ArchiveError::EndOfFile);
    }
}

TEST(Human, SexMovesTheHumanBetweenTheLooksOfEachSex) {
    World world;
    const int men = Human::UseCount(0), women = Human::UseCount(1);
    {
        Human h;
        EXPECT_EQ(Human::UseCount(0), men + 1) << "a human is built as a man";
        const int32_t female = 1;
        h.SetSex(&female);
        EXPECT_EQ(Human::UseCount(0), men);
        EXPECT_EQ(Human::UseCount(1), women + 1);
        const int32_t same = 1;
        h.SetSex(&same);
        EXPECT_EQ(Human::UseCount(1), women + 1) << "setting the same sex keeps one use";
        // A sex outside the tables keeps its value and the looks of a man.
        const int32_t odd = 3;
        h.SetSex(&odd);
        EXPECT_EQ(h.m_iSex, 3);
        EXPECT_EQ(Human::UseCount(0), men + 1);
        EXPECT_EQ(Human::UseCount(1), women);
    }
    EXPECT_EQ(Human::UseCount(0), men);
    EXPECT_EQ(Human::UseCount(1), women);
}

TEST(Human, ASexOutsideTheTablesCountsAsMale) {
    struct Row {
        int32_t sex;
        int index;
        const char* look;
    };
    const std::vector<Row> rows = {{0, 0, "HumanMale"},        {1, 1, "HumanFemale"},
                                   {2, 2, "HumanChild"},       {3, 0, "HumanMale"},
                                   {-1, 0, "HumanMale"},       {1000, 0, "HumanMale"},
                                   {INT32_MIN, 0, "HumanMale"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.sex);
        EXPECT_EQ(Human::SexIndex(r.sex), r.index);
        EXPECT_STREQ(Human::LookName(r.sex), r.look);
    }
}

TEST(Human, NpcNumbersStopBelowTen) {
    World world;
    struct Row {
        int32_t value, kept;
        size_t messages;
    };
    const std::vector<Row> rows = {{0, 0, 0}, {9, 9, 0}, {10, 0, 1}, {12, 0, 1}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.value);
        qv::ScriptedMessages boxes;
        Human h;
        h.SetNPCNumber(&r.value);
        EXPECT_EQ(h.m_iNPCNumber, r.kept);
        ASSERT_EQ(boxes.shown.size(), r.messages);
        if (r.messages) {
            EXPECT_NE(boxes.shown[0].find("NPC number must be less than 10"), std::string::npos);
        }
    }
}

TEST(Human, WithoutALookTheColumnSwings) {
    World world;
    Human h;
    ASSERT_EQ(h.GetClassImages(), nullptr);
    int zero = 0, row = -1;
    h.Object::SetImageFrame(&zero, &row);
    h.m_bFrameUp = 1;
    const std::vector<int> expected{1, 2, 1, 0, 1, 2};
    for (size_t i = 0; i < expected.size(); ++i) {
        for (int k = 0; k < 3; ++k) h.AdvanceFrame();
        SCOPED_TRACE(3 * (i + 1));
        EXPECT_EQ(h.m_iXImageNum, expected[i]);
    }
}

// The current image is the row image of the row: a new human's row 0.
TEST(Human, RowsOutsideTheFacingsAreIgnored) {
    World world;
    Human h;
    EXPECT_EQ(h.m_pDDImage, &Human::RowImage(0));
    struct Row {
        int row, expected;
    };
    const std::vector<Row> rows = {{5, 5}, {7, 7}, {8, 7}, {100, 7}, {0, 0}, {-1, 0}, {3, 3}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.row);
        int column = -1, y = r.row;
        h.SetImageFrame(&column, &y);
        EXPECT_EQ(h.m_iYImageNum, r.expected);
        EXPECT_EQ(h.m_pDDImage, &Human::RowImage(r.expected));
    }
    // Turning selects the row of the new facing.
    const int16_t facing = 6;
    h.SetFacing(&facing);
    EXPECT_EQ(h.m_pDDImage, &Human::RowImage(6));
}

TEST(Human, ItsColoursGoToTheDrawingAndItHasItsOwnSounds) {
    World world;
    Human h;
    h.m_iShirtColor = {1, 2, 3};
    h.m_iPantsColor = {4, 5, 6};
    h.m_iHairColor = {7, 8, 9};
    LookColours c;
    ASSERT_EQ(h.GetLookColours(&c), 1);
    EXPECT_EQ(c.shirt, (Rgb{1, 2, 3}));
    EXPECT_EQ(c.pants, (Rgb{4, 5, 6}));
    EXPECT_EQ(c.hair, (Rgb{7, 8, 9}));
    EXPECT_EQ(h.GetPlayerType(), 10);
    // Attack, hurt and the third; a plain creature attacks with 0, hurts with 1.
    EXPECT_EQ(std::vector<int>({h.PlaySound(), h.PlaySecondSound(), h.PlayThirdSound()}),
              std::vector<int>({3, 4, 2}));
    Player plain;
    EXPECT_EQ(plain.PlaySound(), 0);
    EXPECT_EQ(plain.PlaySecondSound(), 1);
}

}  // namespace
