#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "events/GameEvent.h"
#include "platform/Archive.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Int(Bytes& b, int32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(uint32_t(v) >> (8 * i)));
}
void Text(Bytes& b, const std::string& s) {
    b.push_back(uint8_t(s.size()));
    b.insert(b.end(), s.begin(), s.end());
}
void Class(Bytes& b, uint16_t schema, const std::string& name) {
    b.insert(b.end(), {0xFF, 0xFF, uint8_t(schema), uint8_t(schema >> 8), uint8_t(name.size()), 0});
    b.insert(b.end(), name.begin(), name.end());
}
// Object's record with both names and the other fields at their defaults.
void ObjectPart(Bytes& b, const std::string& name) {
    for (int32_t v : {0, 0, 1, 0}) Int(b, v);
    Text(b, name);
    Text(b, name);
    for (int32_t v : {-1, 0, 1, 1, 0, 1, -1, -1}) Int(b, v);
}

TEST(GameEventRecord, TalkEventBytesAndBack) {
    auto e = CTalkEvent::MakeNPCTalk("GUARD", 12);
    e->m_iTrigger = 300;
    EXPECT_EQ(e->m_strSpecialName, "NPCTalk");
    EXPECT_EQ(e->m_iStatus, 1);  // marked to fire

    Bytes expected;
    Class(expected, 1, "CTalkEvent");
    Class(expected, 1, "CGameEvent");
    Class(expected, 11, "Object");
    ObjectPart(expected, "NPCTalk");
    Int(expected, 300);  // trigger
    Int(expected, 1);    // status
    Text(expected, "GUARD");
    Int(expected, 12);

    qv::Archive out;
    out.WriteObject(e.get());
    EXPECT_EQ(out.Bytes(), expected);

    qv::Archive in(expected);
    std::unique_ptr<CGameEvent> back(in.ReadObjectOf<CGameEvent>());
    auto* talk = dynamic_cast<CTalkEvent*>(back.get());
    ASSERT_NE(talk, nullptr);
    EXPECT_EQ(talk->m_iTrigger, 300);
    EXPECT_EQ(talk->m_iStatus, 1);
    EXPECT_EQ(talk->m_strTalkNode, "GUARD");
    EXPECT_EQ(talk->m_iActor, 12);
    EXPECT_EQ(talk->m_strGeneralName, "NPCTalk");
}

TEST(GameEventRecord, MovePatternBytesAndBadCounts) {
    CMovePatternEvent e;
    e.m_iActor = -7;
    e.m_Cells = {{3, 4}, {-1, 9}};
    Bytes expected;
    Class(expected, 1, "CMovePatternEvent");
    Class(expected, 1, "CGameEvent");
    Class(expected, 11, "Object");
    ObjectPart(expected, "CMovePatternEvent");
    Int(expected, 0);
    Int(expected, 0);
    for (int32_t v : {-7, 2, 3, 4, -1, 9}) Int(expected, v);
    qv::Archive out;
    out.WriteObject(&e);
    EXPECT_EQ(out.Bytes(), expected);

    qv::Archive in(expected);
    std::unique_ptr<CGameEvent> back(in.ReadObjectOf<CGameEvent>());
    auto* m = dynamic_cast<CMovePatternEvent*>(back.get());
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->m_iActor, -7);
    EXPECT_EQ(m->m_Cells, (std::vector<qv::Point>{{3, 4}, {-1, 9}}));

    // A cell count that the rest of the record cannot hold, or a negative one,
    // is refused with the archive's error.
    for (int32_t bad : {3, -1, 0x40000000}) {
        Bytes b = expected;
        size_t countAt = b.size() - 4 * 4 - 4;
        for (int i = 0; i < 4; ++i) b[countAt + i] = uint8_t(uint32_t(bad) >> (8 * i));
        qv::Archive in2(b);
        EXPECT_THROW(in2.ReadObjectOf<CGameEvent>(), qv::ArchiveError) << bad;
    }
}

TEST(GameEvent, ExecuteAnswers) {
    CGameEvent plain;
    EXPECT_EQ(plain.Execute(), CGameEvent::kFinished);
    // No creature answers to the actor number: the talk is over at once and
    // nothing opens.
    int opened = 0;
    CTalkEvent::SetOpener([&](Player*, const std::string&) { ++opened; });
    CTalkEvent talk("HELLO", 5);
    EXPECT_EQ(talk.Execute(), CGameEvent::kFinished);
    EXPECT_EQ(opened, 0);
    CTalkEvent::SetOpener(nullptr);
}

}  // namespace
