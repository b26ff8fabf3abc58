// Moving the party through a frame where a refusal is the frame's to report:
// a bad "players" file is reported by name, and a world to go to that is
// refused leaves the program running.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/Message.h"
#include "shell/PartyFixture.h"
#include "support/HandWrittenRecord.h"

namespace {

namespace fs = std::filesystem;
using record_test::Bytes;
using worldfile_test::At;

class LandMoveInFrame : public partytest::PartyFixture {};

TEST_F(LandMoveInFrame, AWorldToGoToWithAMissingOrBadFileIsRefusedBeforeAnythingChanges) {
    // World b names its own land file; each row spoils b or its land. The
    // move is refused with a message naming the file, the party stays where
    // it is, the world in play is not written, and play goes on.
    Open();
    const auto [b, land] = OtherWorld();
    const std::string to = "other.lnd";
    PartyOf({"Ayla"});
    const std::vector<Position> before = Where("Ayla");
    ASSERT_EQ(before.size(), 1u);
    frame.m_Play.Saves().SetWorldFile("a.qvr");
    frame.m_Play.m_iStartState = 0;
    struct Row {
        const char* rule;
        Bytes world;        // b.qvr
        Bytes landFile;     // other.lnd; empty: missing
        const char* named;  // in the message
    };
    const Row rows[] = {
        {"its land file missing", b, {}, "other.lnd"},
        {"its land file cut short", b, Bytes(land.begin(), land.begin() + land.size() / 2),
         "other.lnd"},
        {"the world file cut short", Bytes(b.begin(), b.begin() + b.size() / 2), land, "b.qvr"},
        {"the world file empty", {}, land, "b.qvr"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        qv::WriteWholeFile(folder.Working("b.qvr").string(), r.world);
        fs::remove(folder.Working(to));
        if (!r.landFile.empty()) qv::WriteWholeFile(folder.Working(to).string(), r.landFile);
        messages.shown.clear();
        EXPECT_EQ(frame.m_Play.GoToWorld("b.qvr", 5, 6), 0);
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_NE(messages.shown.back().find("cannot be taken"), std::string::npos)
            << messages.shown.back();
        EXPECT_NE(messages.shown.back().find(r.named), std::string::npos) << messages.shown.back();
        EXPECT_EQ(frame.m_bQuitRequested, 0);
        EXPECT_EQ(frame.m_Play.Saves().WorldFile(), "a.qvr");
        EXPECT_EQ(Where("Ayla"), before);
        EXPECT_FALSE(fs::exists(folder.Working("a.qvr")));
        EXPECT_FALSE(frame.m_Play.Travelling().IsPlacingParty());
    }
    // Mended, the same move is taken.
    qv::WriteWholeFile(folder.Working("b.qvr").string(), b);
    qv::WriteWholeFile(folder.Working(to).string(), land);
    EXPECT_EQ(frame.m_Play.GoToWorld("b.qvr", 5, 6), 1);
    EXPECT_EQ(frame.m_Play.Saves().WorldFile(), "b.qvr");
}

TEST_F(LandMoveInFrame, ABadPlayersFileIsReportedByNameAndLeavesNoParty) {
    NumberedGroup(2, "wolves");
    Open();
    // Missing.
    frame.m_Play.Travelling().SetRefreshPending(true);
    frame.m_Play.MoveToLand();
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_NE(messages.shown.back().find("players not found."), std::string::npos);
    EXPECT_EQ(frame.m_World.m_pLeader.Get(), nullptr);

    // A party group numbered outside the table, or with another group's
    // number.
    for (int32_t number : {0, -7, Group::kMaxGroupNumber + 1, 2}) {
        Group party("Group");
        party.m_bGrouped = 1;
        party.m_iOwnGroupNum = number;
        party.AddMemberDirect(Creature("Ayla", 1));
        qv::WriteWholeFile(folder.Working("players").string(), savefile::StorePlayers(party));
        messages.shown.clear();
        frame.m_Play.MoveToLand();
        ASSERT_FALSE(messages.shown.empty()) << number;
        EXPECT_NE(messages.shown.back().find("players"), std::string::npos) << number;
        EXPECT_EQ(frame.m_World.m_pLeader.Get(), nullptr) << number;
        EXPECT_TRUE(Where("Ayla").empty()) << number;
        ASSERT_NE(frame.m_World.GetGroupByNumber(2), nullptr);
        EXPECT_EQ(frame.m_World.GetGroupByNumber(2)->m_strSpecialName, "wolves");
    }
}

}  // namespace
