// Saved games on a World and a Play of the test's own: the slot folders, the
// "saved" table and the "Position" file byte for byte, slots that keep their
// bytes and older files, refused saves, and the table read back.

#include <gtest/gtest.h>

#include <filesystem>

#include "play/SavedGamesFixture.h"
#include "support/HandWrittenRecord.h"

namespace {

namespace fs = std::filesystem;
using namespace record_test;
using worldfile_test::At;
using worldfile_test::ExpectCutsAndLongerRefused;
using worldfile_test::Files;

class SavedGames : public worldfile_test::SavedGamesOn<worldfile_test::PlayWorldFileTest> {};

TEST(SaveFolders, SlotNumbersNameTheirFolders) {
    const std::pair<int, const char*> rows[] = {
        {-1, "original\\"}, {0, "original\\"},   {1, "save1\\"},    {4, "save4\\"},
        {10, "save10\\"},   {11, "quicksave\\"}, {12, "original\\"}};
    for (const auto& [slot, folder] : rows)
        EXPECT_EQ(savefile::GetSaveFolder(slot), folder) << slot;
}

TEST(SaveTable, TheTableIsElevenDescriptionsAndFlagsAndNothingElse) {
    std::array<::SavedGames::SaveSlotEntry, ::SavedGames::kSlotCount> slots{};
    slots[3] = {1, "Cave"};
    slots[10] = {1, "QuickSave"};
    Bytes expected;
    for (int i = 0; i < 11; ++i) {
        const std::string description = i == 3 ? "Cave" : i == 10 ? "QuickSave" : "";
        PutString(expected, description);
        PutInt(expected, description.empty() ? 0 : 1);
    }
    const Bytes stored = savefile::StoreSaveSlots(slots);
    EXPECT_EQ(stored, expected);
    const auto read = savefile::ReadSaveSlotsFrom(expected, "saved");
    EXPECT_EQ(read[3].description, "Cave");
    EXPECT_EQ(read[3].inUse, 1);
    EXPECT_EQ(read[10].description, "QuickSave");
    EXPECT_EQ(read[0].inUse, 0);

    ExpectCutsAndLongerRefused(expected,
                               [](const Bytes& b) { savefile::ReadSaveSlotsFrom(b, "saved"); });
    Bytes flag = expected;
    flag[1] = 2;  // the first entry's used flag
    EXPECT_THROW(savefile::ReadSaveSlotsFrom(flag, "saved"), qv::ArchiveError);
}

TEST(PositionFile, OneStringThatMustBeAPlainFileName) {
    Bytes expected;
    PutString(expected, "world.qvr");
    EXPECT_EQ(savefile::StorePosition("world.qvr"), expected);
    EXPECT_EQ(savefile::ReadPositionFrom(expected, "Position"), "world.qvr");
    ExpectCutsAndLongerRefused(expected,
                               [](const Bytes& b) { savefile::ReadPositionFrom(b, "Position"); });
    for (const char* bad : {"../world.qvr", "/etc/passwd", "a\\b.qvr", "sub/w.qvr", "..", ""}) {
        Bytes b;
        PutString(b, bad);
        EXPECT_THROW(savefile::ReadPositionFrom(b, "Position"), qv::ArchiveError) << bad;
    }
}

TEST_F(SavedGames, ASlotKeepsOlderFilesAndALoadLeavesOtherWorkingFiles) {
    Populate();
    Saved(0, "First");
    qv::WriteWholeFile((Slot("save1") / "old.lnd").string(), {1, 2, 3});
    qv::WriteWholeFile(folder.Working("extra.lnd").string(), {4});
    Saved(0, "Second");
    EXPECT_EQ(Files(Slot("save1")).count("old.lnd"), 1u);
    EXPECT_EQ(Files(Slot("save1")).count("extra.lnd"), 1u);
    qv::WriteWholeFile(folder.Working("scratch").string(), {5});
    ASSERT_EQ(play.Saves().LoadSlot(0), 1);
    EXPECT_EQ(Files(folder.dir / "tmp").count("scratch"), 1u);
    EXPECT_EQ(Files(folder.dir / "tmp").count("old.lnd"), 1u);
}

// The working folder and the slots share files' bytes, yet each keeps what
// it was given: a file written in one changes nothing in the others.
TEST_F(SavedGames, ASlotKeepsItsBytesWhateverTheWorkingFolderWritesAfter) {
    Populate();
    Saved(0, "First");
    const auto first = Files(Slot("save1"));
    Change();
    ASSERT_EQ(play.Saves().SaveWorldFile("world.qvr"), 1);
    qv::WriteWholeFile(folder.Working("world.lnd").string(), {7, 7});
    EXPECT_EQ(Files(Slot("save1")), first);
    EXPECT_NE(Files(folder.dir / "tmp").at("world.qvr"), first.at("world.qvr"));

    ASSERT_EQ(play.Saves().LoadSlot(0), 1);
    for (const auto& [name, bytes] : first) {
        if (name == "Position") continue;
        EXPECT_EQ(Files(folder.dir / "tmp").at(name), bytes) << name;
    }
    Change();
    Saved(1, "Second");
    EXPECT_EQ(Files(Slot("save1")), first);
    qv::WriteWholeFile(folder.Working("world.lnd").string(), {8});
    EXPECT_EQ(Files(Slot("save1")), first);
    EXPECT_NE(Files(Slot("save2")).at("world.lnd"), (Bytes{8}));
}

TEST_F(SavedGames, ARefusedSaveIsAFailureAndTheTableStaysAsItWas) {
    Populate();
    play.Saves().SetWorldFile("");
    play.Saves().SetSlot(2, {0, ""});
    EXPECT_EQ(play.Saves().SaveGame(2), 0);
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back(), "Need to Save World First");
    EXPECT_FALSE(fs::exists(folder.dir / "saved"));
    EXPECT_FALSE(fs::exists(Slot("save3")));

    // The quick save: refused without a leader, and a failed one leaves its
    // entry and says nothing of success.
    EXPECT_EQ(play.Saves().QuickSave(), 0);
    EXPECT_EQ(messages.shown.back(), "Cannot QuickSave here.");
    EXPECT_EQ(play.Saves().Slots()[10].inUse, 0);
    Player* leader = nullptr;
    for (Player* p : world.m_PlayerArray)
        if (p) leader = p;
    ASSERT_NE(leader, nullptr);
    world.m_pLeader = leader;
    EXPECT_EQ(play.Saves().QuickSave(), 0);
    EXPECT_EQ(messages.shown.back(), "Need to Save World First");
    EXPECT_EQ(play.Saves().Slots()[10].inUse, 0);
    EXPECT_EQ(play.Saves().Slots()[10].description, "");
    // A world file name that names another folder is no plain name.
    play.Saves().SetWorldFile("../escape.qvr");
    EXPECT_EQ(play.Saves().SaveGame(2), 0);
    EXPECT_FALSE(fs::exists(folder.dir / "escape.qvr"));
}

TEST_F(SavedGames, TheTableIsReadWhenThereAndABadOneStartsEmpty) {
    EXPECT_EQ(play.Saves().ReadSaveSlots(), 0);
    EXPECT_EQ(play.Saves().Slots()[0].inUse, 0);
    std::array<::SavedGames::SaveSlotEntry, ::SavedGames::kSlotCount> slots{};
    slots[5] = {1, "Tower"};
    qv::WriteWholeFile((folder.dir / "saved").string(), savefile::StoreSaveSlots(slots));
    EXPECT_EQ(play.Saves().ReadSaveSlots(), 1);
    EXPECT_EQ(play.Saves().Slots()[5].description, "Tower");
    qv::WriteWholeFile((folder.dir / "saved").string(), {0xFF, 0xFF, 0xFF});
    for (int i = 0; i < ::SavedGames::kSlotCount; ++i) play.Saves().SetSlot(i, {});
    EXPECT_EQ(play.Saves().ReadSaveSlots(), 0);
    EXPECT_EQ(play.Saves().Slots()[5].inUse, 0);
    EXPECT_NE(messages.shown.back().find("saved"), std::string::npos);
}

}  // namespace
