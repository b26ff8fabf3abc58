// Saved games through a frame: a game saved and loaded back whole, saves that
// fail or are cut short leaving the slot's previous game, and slots that are
// refused without touching the running game, where what ends the program (or
// does not) is the frame's.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/Message.h"
#include "play/SavedGamesFixture.h"
#include "shell/PartyFixture.h"
#include "shell/WorldFileFixture.h"
#include "support/HandWrittenRecord.h"

namespace {

namespace fs = std::filesystem;
using namespace record_test;
using worldfile_test::At;
using worldfile_test::Files;

class SavedGamesInFrame : public worldfile_test::SavedGamesOn<partytest::PartyFixture> {
protected:
    // The land move of the next tick, without the world's step.
    void NextTick() {
        if (frame.m_Play.Travelling().IsLandMovePending()) frame.m_Play.MoveToLand();
        frame.m_Play.Travelling().SetLandMovePending(false);
        frame.m_Play.Travelling().SetRefreshPending(false);
    }
};

TEST_F(SavedGamesInFrame, ASaveFillsItsSlotFolderAndTheTableAndALoadBringsTheWorldBack) {
    Populate();
    const auto before = Census();
    ASSERT_EQ(before.size(), 3u);
    frame.m_World.m_pTimeOfDay->m_sHour = 18;
    Saved(3, "Cave");
    EXPECT_EQ(frame.m_Play.Saves().CurrentSlot(), 3);
    // The game goes on with the world in place.
    EXPECT_EQ(Census(), before);

    // Slot index 3 is the folder save4: the working folder's files, and
    // "Position" naming the world file.
    const auto slot = Files(Slot("save4"));
    EXPECT_EQ(slot.count("world.qvr"), 1u);
    EXPECT_EQ(slot.count("world.lnd"), 1u);
    Bytes position;
    PutString(position, "world.qvr");
    ASSERT_EQ(slot.count("Position"), 1u);
    EXPECT_EQ(slot.at("Position"), position);
    EXPECT_FALSE(fs::exists(Slot("save4.new")));
    EXPECT_FALSE(fs::exists(Slot("save4.old")));
    const auto table =
        savefile::ReadSaveSlotsFrom(qv::ReadWholeFile((folder.dir / "saved").string()), "saved");
    EXPECT_EQ(table[3].description, "Cave");
    EXPECT_EQ(table[3].inUse, 1);
    EXPECT_EQ(table[2].inUse, 0);

    Change();
    ASSERT_NE(Census(), before);
    frame.m_Play.m_iStartState = 1;
    ASSERT_EQ(frame.m_Play.Saves().LoadSlot(3), 1);
    EXPECT_EQ(frame.m_bQuitRequested, 0);
    EXPECT_EQ(Census(), before);
    EXPECT_EQ(frame.m_World.m_pTimeOfDay->m_sHour, 18);
    EXPECT_EQ(frame.m_Play.Saves().SaveFolder(), "save4\\");
    EXPECT_EQ(frame.m_World.m_ptFocus, (qv::Point{At(25, 24).x, At(25, 24).y}));
    ASSERT_NE(frame.m_World.GetGroupByNumber(2), nullptr);
}

TEST_F(SavedGamesInFrame, ASaveThatFailsPartWayLeavesThePreviousSaveWholeAndLoadable) {
    Populate();
    const auto before = Census();
    Saved(4, "Good");
    const auto good = Files(Slot("save5"));
    Change();
    const auto changed = Census();
    // A working file that cannot be read stops the copy half-way.
    fs::create_symlink("/proc/self/mem", folder.dir / "tmp" / "unreadable");
    frame.m_Play.Saves().SetSlot(4, {frame.m_Play.Saves().Slots()[4].inUse, "Bad"});
    messages.shown.clear();
    EXPECT_EQ(frame.m_Play.Saves().SaveGame(4), 0);
    // The failure is said, and play goes on with nothing lost.
    EXPECT_EQ(frame.m_bQuitRequested, 0);
    EXPECT_EQ(frame.m_iQuitCode, 0);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown.back().find("could not be saved"), std::string::npos)
        << messages.shown.back();
    EXPECT_NE(messages.shown.back().find("unreadable"), std::string::npos) << messages.shown.back();
    EXPECT_EQ(Census(), changed);
    EXPECT_EQ(frame.m_Play.Saves().CurrentSlot(), 4);
    EXPECT_EQ(Files(Slot("save5")), good);
    EXPECT_FALSE(fs::exists(Slot("save5.new")));
    EXPECT_FALSE(fs::exists(Slot("save5.old")));
    fs::remove(folder.dir / "tmp" / "unreadable");

    frame.m_bQuitRequested = 0;
    frame.m_iQuitCode = 0;
    ASSERT_EQ(frame.m_Play.Saves().LoadSlot(4), 1);
    EXPECT_EQ(Census(), before);

    // Cut short between its renames: the old game waits beside the slot and
    // a load takes it from there.
    Change();
    fs::rename(Slot("save5"), Slot("save5.old"));
    fs::create_directories(Slot("save5.new"));
    ASSERT_EQ(frame.m_Play.Saves().LoadSlot(4), 1);
    EXPECT_EQ(Census(), before);
    EXPECT_EQ(Files(Slot("save5")), good);
    // The next save clears what the cut left.
    Saved(4, "Again");
    EXPECT_FALSE(fs::exists(Slot("save5.new")));
    EXPECT_FALSE(fs::exists(Slot("save5.old")));
}

// A save made to fail at each of its changes to files in turn, once (a full
// disk) and from then on (the machine stops there): the slot always loads one
// whole game, the previous one until the new save has taken the slot's name
// and the new one from then on, and never a mixture.
TEST_F(SavedGamesInFrame, ASaveFailingAtEachStepLeavesOneWholeGameInTheSlot) {
    Populate();
    frame.m_Play.m_iStartState = 0;  // in play: a load places the party
    PartyOf({"Ayla", "Rex"});
    const auto before = Census();
    Saved(4, "Good");
    const auto good = Files(Slot("save5"));
    NextTick();
    Change();
    const auto changed = Census();
    ASSERT_NE(changed, before);
    Saved(5, "Changed");  // the changed game, to come back to
    const Bytes table = qv::ReadWholeFile((folder.dir / "saved").string());

    for (const bool stops : {false, true}) {
        bool committed = false;
        int step = 0;
        for (;; ++step) {
            SCOPED_TRACE(std::string(stops ? "stopped" : "failed once") + " at change " +
                         std::to_string(step));
            // The slot holds the good game again, the working folder the
            // changed one.
            fs::remove_all(Slot("save5"));
            fs::remove_all(Slot("save5.new"));
            fs::remove_all(Slot("save5.old"));
            fs::create_directories(Slot("save5"));
            for (const auto& [name, bytes] : good)
                qv::WriteWholeFile((Slot("save5") / name).string(), bytes);
            qv::WriteWholeFile((folder.dir / "saved").string(), table);
            ASSERT_EQ(frame.m_Play.Saves().LoadSlot(5), 1);
            NextTick();
            ASSERT_EQ(Census(), changed);
            frame.m_World.m_pLeader->m_iHitPoints -= 1;  // play moves on
            const auto playing = Census();
            const auto work = Files(folder.dir / "tmp");
            messages.shown.clear();

            frame.m_Play.Saves().SetSlot(4, {frame.m_Play.Saves().Slots()[4].inUse, "Bad"});
            qv::FailFileChanges(step, stops);
            const int saved = frame.m_Play.Saves().SaveGame(4);
            const bool failed = !qv::FileFailurePending();
            qv::FailFileChanges(-1);
            EXPECT_EQ(frame.m_bQuitRequested, 0);
            frame.m_bQuitRequested = 0;
            frame.m_iQuitCode = 0;
            EXPECT_EQ(saved, failed ? 0 : 1);
            EXPECT_EQ(messages.shown.size(), failed ? 1u : 0u);  // "... Play goes on."
            EXPECT_FALSE(fs::exists(Slot("save5.new")));
            // The slot holds the one game or the other, whole; once the new
            // save has taken the slot a later failure leaves it there.
            const auto slot = Files(fs::exists(Slot("save5")) ? Slot("save5") : Slot("save5.old"));
            if (slot != good) committed = true;
            EXPECT_EQ(slot != good, committed);
            if (!committed) {
                EXPECT_EQ(Files(folder.dir / "tmp"), work);  // and the working folder
            }
            // Play goes on with the party as it was, and the next save loads.
            NextTick();
            EXPECT_EQ(Census(), playing);
            Saved(6, "Again");
            ASSERT_EQ(frame.m_Play.Saves().LoadSlot(4), 1);
            EXPECT_EQ(Census(), committed ? playing : before);
            ASSERT_EQ(frame.m_Play.Saves().LoadSlot(6), 1);
            EXPECT_EQ(Census(), playing);
            EXPECT_TRUE(fs::exists(Slot("save5")));
            EXPECT_FALSE(fs::exists(Slot("save5.old")));
            if (!failed) break;  // past the last change: the save went through
        }
        // A save makes a good many changes, and fails at each of them.
        EXPECT_GT(step, 8);
        EXPECT_TRUE(committed);
    }
}

TEST_F(SavedGamesInFrame, ABadSlotIsRefusedBeforeTheWorkingFolderIsTouched) {
    Populate();
    Saved(1, "Base");
    const Bytes world = qv::ReadWholeFile((Slot("save2") / "world.qvr").string());
    auto refused = [&](const std::string& what) {
        const auto work = Files(folder.dir / "tmp");
        frame.m_bQuitRequested = 0;
        frame.m_iQuitCode = 0;
        EXPECT_EQ(frame.m_Play.Saves().LoadSlot(1), 0) << what;
        EXPECT_EQ(frame.m_iQuitCode, 2) << what;
        EXPECT_EQ(Files(folder.dir / "tmp"), work) << what;
        ASSERT_FALSE(messages.shown.empty());
        EXPECT_NE(messages.shown.back().find("save2"), std::string::npos)
            << what << ": " << messages.shown.back();
    };
    Bytes position;
    PutString(position, "../tmp/world.qvr");
    qv::WriteWholeFile((Slot("save2") / "Position").string(), position);
    refused("a Position naming another folder");
    // The report says why, not only which file.
    EXPECT_NE(messages.shown.back().find("not a plain file name"), std::string::npos)
        << messages.shown.back();
    qv::WriteWholeFile((Slot("save2") / "Position").string(), {});
    refused("an empty Position");
    fs::remove(Slot("save2") / "Position");
    refused("no Position");
    qv::WriteWholeFile((Slot("save2") / "Position").string(), savefile::StorePosition("world.qvr"));
    qv::WriteWholeFile((Slot("save2") / "players").string(), {0xFF, 0xFF});
    refused("a party cut after its class tag");
    fs::remove(Slot("save2") / "players");
    fs::remove(Slot("save2") / "world.qvr");
    refused("no world file");
    Bytes future = world;
    future[0] = 20;
    qv::WriteWholeFile((Slot("save2") / "world.qvr").string(), future);
    refused("a world of a later version");
    qv::WriteWholeFile((Slot("save2") / "world.qvr").string(), {});
    refused("an empty world file");
    fs::remove_all(Slot("save2"));
    refused("no slot folder");

    // A world file cut short is found only as it is read: the error names it
    // and the saved game stays as it was.
    Saved(1, "Again");
    const auto saved = Files(Slot("save2"));
    Bytes cut = saved.at("world.qvr");
    cut.resize(cut.size() / 2);
    qv::WriteWholeFile((Slot("save2") / "world.qvr").string(), cut);
    frame.m_bQuitRequested = 0;
    EXPECT_EQ(frame.m_Play.Saves().LoadSlot(1), 0);
    EXPECT_EQ(frame.m_iQuitCode, 2);
    EXPECT_NE(messages.shown.back().find("world.qvr"), std::string::npos);
    EXPECT_EQ(qv::ReadWholeFile((Slot("save2") / "world.qvr").string()), cut);
}

}  // namespace
