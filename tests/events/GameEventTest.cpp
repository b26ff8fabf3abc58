#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "creatures/Player.h"
#include "events/GameEvent.h"
#include "platform/Archive.h"
#include "support/HandWrittenRecord.h"
#include "support/WorldFixture.h"

namespace {

using record_test::Bytes;
using record_test::LoadObject;
using record_test::PutInt;
using record_test::PutNewClass;
using record_test::PutObjectDefaults;
using record_test::PutString;
using record_test::StoreObject;

TEST(GameEventRecord, TalkEventBytesAndBack) {
    auto e = CTalkEvent::MakeNPCTalk("GUARD", 12);
    e->m_iTrigger = 300;
    EXPECT_EQ(e->m_strSpecialName, "NPCTalk");
    EXPECT_EQ(e->m_iStatus, 1);  // marked to fire

    Bytes expected;
    PutNewClass(expected, "CTalkEvent", 1);
    PutNewClass(expected, "CGameEvent", 1);
    PutNewClass(expected, "Object", 11);
    PutObjectDefaults(expected, "NPCTalk");
    PutInt(expected, 300);  // trigger
    PutInt(expected, 1);    // status
    PutString(expected, "GUARD");
    PutInt(expected, 12);

    EXPECT_EQ(StoreObject(*e), expected);

    auto back = LoadObject<CGameEvent>(expected);
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
    PutNewClass(expected, "CMovePatternEvent", 1);
    PutNewClass(expected, "CGameEvent", 1);
    PutNewClass(expected, "Object", 11);
    PutObjectDefaults(expected, "CMovePatternEvent");
    PutInt(expected, 0);
    PutInt(expected, 0);
    for (int32_t v : {-7, 2, 3, 4, -1, 9}) PutInt(expected, v);
    EXPECT_EQ(StoreObject(e), expected);

    auto back = LoadObject<CGameEvent>(expected);
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
    World world;
    world_test::TestRules rules;
    rules.talk = [&](Player*, const std::string&) { ++opened; };
    world.m_pRules = &rules;
    CTalkEvent talk("HELLO", 5);
    EXPECT_EQ(talk.Execute(), CGameEvent::kFinished);
    EXPECT_EQ(opened, 0);
}

TEST(GameEvent, ATalkEventOpensItsConversationThroughTheWorldsRules) {
    World world;
    Player speaker;
    world.m_PlayerArray = {nullptr, &speaker};
    CTalkEvent talk("GREET", 1);
    // A world without play opens nothing and the event is over all the same.
    EXPECT_EQ(talk.Execute(), CGameEvent::kFinished);
    std::vector<std::pair<Player*, std::string>> opened;
    world_test::TestRules rules;
    rules.talk = [&](Player* p, const std::string& node) { opened.emplace_back(p, node); };
    world.m_pRules = &rules;
    EXPECT_EQ(talk.Execute(), CGameEvent::kFinished);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0].first, &speaker);
    EXPECT_EQ(opened[0].second, "GREET");
    world.m_PlayerArray.clear();
}

}  // namespace
