// A world file refused part-way leaves the running game as it was: the world
// creature for creature, the working folder file for file, the current world,
// the chance generators and the spell counter.

#include <gtest/gtest.h>

#include <filesystem>

#include "items/Spell.h"
#include "platform/Message.h"
#include "platform/Rand.h"
#include "shell/WorldFileFixture.h"
#include "world/Global.h"
#include "world/KeyStorage.h"
#include "world/Random.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;
using worldfile_test::At;
using worldfile_test::WorldFileTest;

using worldfile_test::Files;

class RefusedWorld : public WorldFileTest {
protected:
    // A world of two things and two creatures of group 2 around the focus,
    // saved to the second game slot and then changed, so that the running
    // world and the saved one differ.
    void SaveThenChange() {
        NumberedGroup(2, "wolves");
        Keep(Thing("lamp"), At(24, 23));
        Keep(Thing("chest"), At(26, 25));
        Keep(Creature("Wolf", 2), At(27, 26));
        Keep(Creature("Cub", 2), At(23, 25));
        frame.m_World.m_ptFocus = {At(25, 24).x, At(25, 24).y};
        frame.m_Play.Saves().SetWorldFile("world.qvr");
        Open();
        frame.m_Play.Saves().SetSlot(1, {1, "Base"});
        ASSERT_EQ(frame.m_Play.Saves().SaveGame(1), 1);
        for (int i = 0; i < MapMaster::wide; ++i)
            for (int j = 0; j < MapMaster::high; ++j)
                for (ObjectHolder* h : map.GetCell(i, j).holders)
                    if (auto* p = dynamic_cast<Player*>(h->m_pObject)) p->m_iHitPoints = 3;
        frame.m_World.m_pTimeOfDay->m_sHour = 5;
        frame.m_Play.Saves().SetWorldFile("running.qvr");
    }
    // What a refused read must not change.
    struct Running {
        std::map<std::string, std::string> census;
        std::map<std::string, Bytes> work;
        qv::Point focus;
        int hour;
        std::string worldFile;
        size_t groups, actors, keys;
        World* current;
        uint32_t rand, spellSerial;
        int32_t randomSeed;
        bool operator==(const Running&) const = default;
    };
    Running Now() {
        const World& w = frame.m_World;
        return {Census(),
                Files(folder.dir / "tmp"),
                w.m_ptFocus,
                w.m_pTimeOfDay->m_sHour,
                frame.m_Play.Saves().WorldFile(),
                w.m_GroupArray.size(),
                w.m_PlayerArray.size(),
                w.m_KeyStorageList.size(),
                GetWorld(),
                qv::RandState(),
                g_iNextSpellSerial,
                GetRandomSeed()};
    }
    fs::path SlotWorld() const { return folder.dir / "save2" / "world.qvr"; }
    qv::ScriptedMessages messages;
};

TEST_F(RefusedWorld, EveryCutOfASavedWorldIsRefusedAndTheRunningGameStaysAsItWas) {
    SaveThenChange();
    const Bytes whole = qv::ReadWholeFile(SlotWorld().string());
    const Running before = Now();
    ASSERT_EQ(before.current, &frame.m_World);
    ASSERT_EQ(before.census.size(), 4u);
    // Past the version word, so that every cut gets into the world's body.
    for (size_t n = 4; n < whole.size(); ++n) {
        qv::WriteWholeFile(SlotWorld().string(), Bytes(whole.begin(), whole.begin() + long(n)));
        frame.m_bQuitRequested = 0;
        frame.m_iQuitCode = 0;
        ASSERT_EQ(frame.m_Play.Saves().LoadSlot(1), 0) << n;
        EXPECT_EQ(frame.m_iQuitCode, 2) << n;
        ASSERT_TRUE(Now() == before) << "cut at " << n << " of " << whole.size();
        ASSERT_NE(messages.shown.back().find("world.qvr"), std::string::npos)
            << messages.shown.back();
    }
    // The whole file still loads, and brings the saved world back.
    qv::WriteWholeFile(SlotWorld().string(), whole);
    frame.m_bQuitRequested = 0;
    ASSERT_EQ(frame.m_Play.Saves().LoadSlot(1), 1);
    EXPECT_NE(Census(), before.census);
    EXPECT_EQ(frame.m_Play.Saves().WorldFile(), "world.qvr");
    EXPECT_EQ(GetWorld(), &frame.m_World);
}

TEST_F(RefusedWorld, ASlotWithABadLandFileIsRefusedBeforeItIsCopied) {
    SaveThenChange();
    const fs::path land = folder.dir / "save2" / "world.lnd";
    const Bytes whole = qv::ReadWholeFile(land.string());
    const Running before = Now();
    for (size_t n : {size_t(0), size_t(1), whole.size() / 2, whole.size() - 1}) {
        qv::WriteWholeFile(land.string(), Bytes(whole.begin(), whole.begin() + long(n)));
        frame.m_bQuitRequested = 0;
        ASSERT_EQ(frame.m_Play.Saves().LoadSlot(1), 0) << n;
        ASSERT_TRUE(Now() == before) << "land cut at " << n;
        EXPECT_NE(messages.shown.back().find("world.lnd"), std::string::npos)
            << messages.shown.back();
    }
    qv::WriteWholeFile(land.string(), whole);
    frame.m_bQuitRequested = 0;
    EXPECT_EQ(frame.m_Play.Saves().LoadSlot(1), 1);
}

TEST_F(RefusedWorld, AWorldChangeReadingACutFileKeepsTheRunningWorld) {
    SaveThenChange();
    const Bytes whole = qv::ReadWholeFile(SlotWorld().string());
    const Running before = Now();
    const std::string other = (folder.dir / "tmp" / "other.qvr").string();
    for (size_t n :
         {size_t(0), size_t(3), size_t(4), whole.size() / 3, whole.size() / 2, whole.size() - 1}) {
        qv::WriteWholeFile(other, Bytes(whole.begin(), whole.begin() + long(n)));
        Running expected = before;
        expected.work = Files(folder.dir / "tmp");
        frame.m_Play.Saves().SetLoadingGame(0);
        EXPECT_THROW(frame.m_Play.Saves().LoadWorldFile("other.qvr"), qv::ArchiveError) << n;
        ASSERT_TRUE(Now() == expected) << "cut at " << n;
    }
}

TEST_F(RefusedWorld, TryingAGoodFileChangesNothingOfTheRunningGame) {
    SaveThenChange();
    const Bytes whole = qv::ReadWholeFile(SlotWorld().string());
    qv::Rand();
    SetRandomSeed(4242);
    g_iNextSpellSerial = 77;
    const Running before = Now();
    frame.m_Play.Saves().SetLoadingGame(1);
    frame.m_Play.Saves().CheckWorldRead(whole, "world.qvr");
    frame.m_Play.Saves().SetLoadingGame(0);
    frame.m_Play.Saves().CheckWorldRead(whole, "world.qvr");
    EXPECT_TRUE(Now() == before);
}

// What the try accepts, the real read takes: a byte of the saved world
// changed at every place, and whenever the try lets the bytes through, the
// running world reads them without an error.
TEST_F(RefusedWorld, WhatTheTryAcceptsTheRealReadTakes) {
    SaveThenChange();
    const Bytes whole = qv::ReadWholeFile(SlotWorld().string());
    size_t accepted = 0;
    for (size_t i = 4; i < whole.size(); ++i) {
        for (uint8_t change : {uint8_t(0x5A)}) {
            Bytes odd = whole;
            odd[i] = static_cast<uint8_t>(odd[i] ^ change);
            frame.m_Play.Saves().SetLoadingGame(1);
            bool tried = true;
            try {
                frame.m_Play.Saves().CheckWorldRead(odd, "odd.qvr");
            } catch (const qv::ArchiveError&) {
                tried = false;
            }
            if (!tried) continue;
            ++accepted;
            qv::Archive ar(odd, "odd.qvr");
            EXPECT_NO_THROW(frame.m_Play.Saves().Serialize(ar))
                << "byte " << i << " ^ " << int(change);
            frame.m_Play.Saves().SetLoadingGame(0);
        }
    }
    frame.m_Play.Saves().SetLoadingGame(0);
    EXPECT_GT(accepted, 0u);
}

// A creature that carries an item number (a key's number) stays out of the
// key records: a record stores full copies of what it lists, which a creature
// of the group tree cannot be, so a world holding one read back once and then
// could not be read again.
TEST_F(RefusedWorld, ACreatureWithAKeyNumberStaysOutOfTheKeyRecords) {
    NumberedGroup(2, "wolves");
    Player* wolf = Creature("Wolf", 2);
    wolf->m_iItemNum = 7;
    Keep(wolf, At(27, 26));
    auto bell = std::make_unique<Object>("Bell");
    bell->m_iItemNum = 7;
    frame.m_World.AddToKeyStorage(bell.get());
    frame.m_World.AddToKeyStorage(wolf);
    frame.m_World.m_ScriptVariableList.push_back(std::move(bell));
    frame.m_World.m_ptFocus = {At(25, 24).x, At(25, 24).y};
    Open();
    auto listed = [&] {
        size_t n = 0;
        for (const auto& record : frame.m_World.m_KeyStorageList) n += record->m_ObjectList.size();
        return n;
    };
    EXPECT_EQ(listed(), 1u) << "the bell alone";
    frame.m_Play.Saves().SetSaving(1);
    const Bytes first = Store();
    Read(first);
    EXPECT_EQ(listed(), 1u);
    const Bytes second = Store();
    Read(second);
    EXPECT_EQ(Store(), second);
    frame.m_Play.Saves().SetSaving(0);
}

// A group kept aside that also holds its number's slot in the table is
// written once in a game save (at the end, as the group kept aside) and takes
// its slot again when read: the save reads back.
TEST_F(RefusedWorld, AGroupKeptAsideWithATableSlotIsSavedOnce) {
    Group* aside = NumberedGroup(4, "scouts");
    frame.m_World.m_pGroupTempStorage = aside;
    Keep(Creature("Scout", 4), At(26, 26));
    frame.m_World.m_ptFocus = {At(25, 24).x, At(25, 24).y};
    Open();
    frame.m_Play.Saves().SetSaving(1);
    const Bytes first = Store();
    Read(first);
    ASSERT_NE(frame.m_World.m_pGroupTempStorage.Get(), nullptr);
    EXPECT_EQ(frame.m_World.GetGroupByNumber(4), frame.m_World.m_pGroupTempStorage.Get());
    // From then on the same bytes (a group's counted hit points may settle
    // once after the first read).
    const Bytes second = Store();
    Read(second);
    EXPECT_EQ(Store(), second);
    EXPECT_EQ(frame.m_World.GetGroupByNumber(4), frame.m_World.m_pGroupTempStorage.Get());
    frame.m_Play.Saves().SetSaving(0);
}

}  // namespace
