// The world file: its bytes laid out by hand, older versions with their
// conversions, merging and replacing on reading, the party's "players" file,
// and the refusal of bad files.

#include <gtest/gtest.h>

#include "creatures/TrainingRecords.h"
#include "events/GameEvent.h"
#include "items/ActiveSpells.h"
#include "items/Spell.h"
#include "platform/Message.h"
#include "play/WorldFileFixture.h"
#include "support/HandWrittenRecord.h"
#include "world/KeyStorage.h"
#include "world/TimeOfDay.h"
#include "world/UnusedNumbers.h"

namespace {

using namespace record_test;
using worldfile_test::At;
using worldfile_test::PlayWorldFileTest;

// The map's part of the fixture's world: the tree of one root land, then the
// explored bits, 7 column bytes for each of the 48 rows, none explored. The
// map's class record is index 1, so the tree's classes and objects are 2 to 5.
void PutMapPart(Bytes& b) {
    PutNewClass(b, "LandGraph", 1);
    PutWord(b, 0);  // no children
    PutNewClass(b, "LandInfo", 1);
    PutInts(b, {0, 0, 51, 48});
    PutString(b, "world.lnd");
    PutString(b, "World");
    b.insert(b.end(), 7 * 48, 0);
}

// The items of a world file from the id pool on, as a small world of each
// version holds them: an empty pool record (the classes and objects of the map
// come first, so its class is index 6), the focus point, and whatever follows.
void PutEmptyPool(Bytes& b) {
    PutNewClass(b, "UnusedNumbers", 1);
    PutInt(b, 0);
}

class WorldFile : public PlayWorldFileTest {
protected:
    // What play last told the shell of its long file operations (-1: nothing).
    struct BusyShell : PlayShell {
        int busy = -1;
        void ShowBusy(bool on) override { busy = on; }
    } shell;
    WorldFile() { play.m_pShell = &shell; }
    ~WorldFile() override { play.m_pShell = nullptr; }
    // The small world of the golden bytes.
    void Furnish() {
        World& w = world;
        w.m_pUnusedNumbers = std::make_unique<UnusedNumbers>(0, 0, 1);
        w.m_ptFocus = {8080, 5432};
        w.m_pTimeOfDay->m_sHour = 7;
        w.m_pTimeOfDay->m_sMinute = 35;
        w.m_ScriptVariableList.push_back(std::make_unique<Object>("Bell"));
        play.PartyChoices().TakeFormation(
            {qv::Point{0, 0}, {-40, 0}, {40, 0}, {0, -40}, {-40, -40}, {40, -40}});
        play.PartyChoices().SetNewCharacter(Play::NewCharacterAttribute::kPlayerName, 0, "Ayla");
        play.PartyChoices().SetNewCharacter(Play::NewCharacterAttribute::kDogName, 0, "Rex");
        world.m_bHoldGround = 1;
        g_iNextSpellSerial = 42;
    }
};

// The small world of the golden bytes as its file holds it, with the offsets
// (x, y) of the six party slots given.
Bytes SmallWorldFile(std::initializer_list<int32_t> formation) {
    Bytes b;
    PutInt(b, 19);
    PutNewClass(b, "MapMaster", 2);
    PutMapPart(b);
    PutWord(b, 0);  // stores
    PutWord(b, 0);  // events
    PutWord(b, 0);  // key records
    PutInt(b, 1);   // group slots: only slot 0, "All Groups"
    PutEmptyPool(b);
    PutInts(b, {8080, 5432});
    PutWord(b, 7);
    PutWord(b, 35);
    PutWord(b, 1);  // one script variable
    PutNewClass(b, "Object", 11);
    PutObjectDefaults(b, "Bell");
    PutInts(b, formation);
    PutString(b, "Ayla");
    PutString(b, "Rex");
    PutInt(b, 1);   // hold ground
    PutInt(b, 0);   // no group kept aside outside a game save
    PutWord(b, 0);  // and no spells
    PutInt(b, 42);  // the spell counter
    return b;
}

TEST_F(WorldFile, ASmallWorldIsWrittenByteForByteAndReadsBackToTheSameBytes) {
    Furnish();
    const Bytes expected = SmallWorldFile({0, 0, -40, 0, 40, 0, 0, -40, -40, -40, 40, -40});
    const Bytes written = Store();
    EXPECT_EQ(written, expected);
    EXPECT_EQ(play.Saves().WorldVersion(), 19);
    EXPECT_TRUE(play.Travelling().IsLandMovePending());
    EXPECT_EQ(shell.busy, 0) << "the busy cursor ends";

    // Read back over a changed world, the same world writes the same bytes.
    world.m_ptFocus = {1, 2};
    world.m_ScriptVariableList.clear();
    play.PartyChoices().SetNewCharacter(Play::NewCharacterAttribute::kPlayerName, 0, "Other");
    g_iNextSpellSerial = 7;
    Read(written);
    EXPECT_EQ(world.m_ptFocus, (qv::Point{8080, 5432}));
    EXPECT_EQ(world.m_pTimeOfDay->m_strTime.empty(), false);
    EXPECT_TRUE(play.Travelling().IsRefreshPending());
    EXPECT_EQ(g_iNextSpellSerial, 42u);
    EXPECT_EQ(Store(), expected);
}

// A party spreads over at most 2688 pixels around its leader, across and down
// (half the narrower side of the smallest world, 48 x 112 / 2): no offset
// reaches further from the leader's point, nor any two offsets further from
// each other, so that the formation the game writes, rebased on the leader,
// reads back. A formation beyond is refused, naming the file, as a saved game
// and as a world change, and the world stays as it was.
TEST_F(WorldFile, AFormationSpreadBeyondItsReachIsRefused) {
    struct Row {
        const char* rule;
        std::array<int32_t, 12> formation;  // x, y of each slot
        bool replace, read;
    };
    const Row rows[] = {
        {"every member on the leader's point", {}, true, true},
        {"at the reach, east", {0, 0, 2688, 0}, true, true},
        {"one beyond, east", {0, 0, 2689, 0}, true, false},
        {"at the reach, west", {0, 0, -2688, 0}, true, true},
        {"one beyond, west", {0, 0, -2689, 0}, true, false},
        {"at the reach, south", {0, 0, 0, 2688}, true, true},
        {"one beyond, north", {0, 0, 0, -2689}, true, false},
        {"two members as far apart as the reach", {0, 0, -1344, 0, 1344, 0}, true, true},
        {"two members a pixel further apart", {0, 0, -1344, 0, 1345, 0}, true, false},
        {"the same down", {0, 0, 0, -1344, 0, 1345}, true, false},
        {"the leader off its point, all within", {2688, 2688, 2000, 2000, 1000, 1000}, true, true},
        {"half the world's width", {0, 0, 4080, 0}, true, false},
        {"the lowest int, whose negation overflows", {0, 0, INT32_MIN, 0}, true, false},
        {"a world change reads it", {0, 0, -1344, 1344, 1344, -1344}, false, true},
        {"a world change refuses it too", {0, 0, 0, INT32_MIN}, false, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        play.PartyChoices().TakeFormation(
            {qv::Point{0, 0}, {25, 25}, {25, -25}, {40, 0}, {55, 40}, {55, -40}});
        world.m_ptFocus = {5, 6};
        const auto before = play.PartyChoices().FormationOffsets();
        const auto& f = r.formation;
        const Bytes file = SmallWorldFile(
            {f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10], f[11]});
        qv::Archive ar(file, "far.qvr");
        play.Saves().SetLoadingGame(r.replace ? 1 : 0);
        try {
            play.Saves().Serialize(ar);
            EXPECT_TRUE(r.read) << "read";
            EXPECT_EQ(world.m_ptFocus, (qv::Point{8080, 5432}));
            if (r.replace) {
                EXPECT_EQ(play.PartyChoices().FormationOffsets()[1], (qv::Point{f[2], f[3]}));
                EXPECT_EQ(play.PartyChoices().FormationOffsets()[2], (qv::Point{f[4], f[5]}));
            }
        } catch (const qv::ArchiveError& e) {
            EXPECT_FALSE(r.read) << e.what();
            EXPECT_EQ(e.file, "far.qvr");
            EXPECT_NE(std::string(e.what()).find("a party spreads over 2688 pixels at most"),
                      std::string::npos)
                << e.what();
            EXPECT_EQ(play.PartyChoices().FormationOffsets(), before);
        }
        play.Saves().SetLoadingGame(0);
        // Tried first, as every load is, the world in play is not touched.
        world.m_ptFocus = {5, 6};
        play.Saves().SetLoadingGame(r.replace ? 1 : 0);
        bool tried = true;
        try {
            play.Saves().CheckWorldRead(file, "far.qvr");
        } catch (const qv::ArchiveError&) {
            tried = false;
        }
        play.Saves().SetLoadingGame(0);
        EXPECT_EQ(tried, r.read);
        EXPECT_EQ(world.m_ptFocus, (qv::Point{5, 6}));
    }

    // Rebased on a leader at one end of the spread, the formation is written
    // as the game reads it back.
    play.PartyChoices().TakeFormation({qv::Point{1344, -1344}, {-1344, 1344}, {}, {}, {}, {}});
    Player leader;
    world.m_pLeader = &leader;
    world.m_Party[0] = &leader;
    play.PartyChoices().RebaseFormation(play.m_World);
    world.m_pLeader = nullptr;
    world.m_Party[0] = nullptr;
    EXPECT_EQ(play.PartyChoices().FormationOffsets()[1], (qv::Point{-2688, 2688}));
    const auto rebased = play.PartyChoices().FormationOffsets();
    Read(Store());
    EXPECT_EQ(play.PartyChoices().FormationOffsets(), rebased);
}

// A load is tried with the slot's land files before anything changes; a land
// file whose rectangle is not its entry's in the world's index is refused,
// naming the land file.
TEST_F(WorldFile, ALoadIsTriedWithTheSlotsLandsAndRefusesOneUnlikeItsIndexEntry) {
    const Bytes file = SmallWorldFile({0, 0, -40, 0, 40, 0, 0, -40, -40, -40, 40, -40});
    const std::string slot = folder.Base() + "save1/";
    qv::MakeFolder(slot);
    struct Row {
        const char* rule;
        CellRect land;
        bool read;
    };
    const Row rows[] = {
        {"the root land as large as its entry, 51 x 48", {0, 0, 51, 48}, true},
        {"a row short", {0, 0, 51, 47}, false},
        {"a column short", {0, 0, 50, 48}, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Land land("World");
        land.bounds = r.land;
        qv::WriteWholeFile(slot + "world.lnd", land.StoreBytes());
        world.m_ptFocus = {5, 6};
        play.Saves().SetLoadingGame(1);
        try {
            play.Saves().CheckWorldRead(file, "w.qvr", slot);
            EXPECT_TRUE(r.read);
        } catch (const qv::ArchiveError& e) {
            EXPECT_FALSE(r.read) << e.what();
            EXPECT_EQ(e.file, slot + "world.lnd");
            EXPECT_EQ(e.cause, qv::ArchiveError::BadIndex);
        }
        play.Saves().SetLoadingGame(0);
        EXPECT_EQ(world.m_ptFocus, (qv::Point{5, 6}));
    }
}

TEST_F(WorldFile, EveryCutOfTheFileIsRefusedAndAFutureVersionChangesNothing) {
    Furnish();
    const Bytes written = Store();
    for (size_t n = 0; n < written.size(); ++n) {
        Bytes cut(written.begin(), written.begin() + static_cast<long>(n));
        qv::Archive ar(cut, "cut.qvr");
        play.Saves().SetLoadingGame(1);
        EXPECT_THROW(play.Saves().Serialize(ar), qv::ArchiveError) << "cut at " << n;
    }
    play.Saves().SetLoadingGame(0);
    world.m_ptFocus = {5, 6};
    Bytes future = written;
    future[0] = 20;
    qv::Archive ar(future, "future.qvr");
    try {
        play.Saves().Serialize(ar);
        ADD_FAILURE() << "a world of version 20 was read";
    } catch (const qv::ArchiveError& e) {
        EXPECT_EQ(e.file, "future.qvr");
        EXPECT_EQ(e.cause, qv::ArchiveError::BadSchema);
    }
    EXPECT_EQ(world.m_ptFocus, (qv::Point{5, 6}));
}

// A world file of an older version, written by hand: the map part, empty
// stores and events, the key records of the version, no groups, the id pool
// where the version has one, the focus, and the later items it holds.
Bytes OldWorld(uint32_t version, const std::vector<std::string>& keyNames, qv::Point focus) {
    Bytes b;
    PutInt(b, static_cast<int32_t>(version));
    if (version > 8) PutNewClass(b, "MapMaster", 2);
    // Without the map's class record the tree's indices start at 1.
    PutMapPart(b);
    PutWord(b, 0);
    PutWord(b, 0);
    if (version < 6) {
        PutInt(b, static_cast<int32_t>(keyNames.size()));
        for (const auto& name : keyNames) PutString(b, name);
    } else {
        // From version 6 a list of records: here at most one, key number 0,
        // its name and no objects.
        EXPECT_LE(keyNames.size(), 1u);
        PutWord(b, static_cast<uint16_t>(keyNames.size()));
        for (const auto& name : keyNames) {
            PutNewClass(b, "KeyStorage", 1);
            PutInt(b, 0);
            PutString(b, name);
            PutWord(b, 0);
        }
    }
    PutInt(b, 1);
    if (version < 2) PutInts(b, {77, 88});
    if (version >= 3) PutEmptyPool(b);
    PutInts(b, {focus.x, focus.y});
    if (version > 10) PutInts(b, {0});  // hour 0, minute 0 as two words
    if (version > 4) PutWord(b, 0);     // no script variables
    return b;
}

TEST_F(WorldFile, OlderVersionsReadWithTheirConversions) {
    // Before version 11 no clock, before 19 no formation and no names: what
    // the world had stays. Version 10 converts the focus once (x 165/160, y
    // 104/96); version 3 four times, (670, 470) -> (1400, 1000) -> ... ->
    // (1650, 1040), and names its keys, numbered in file order; version 6 is
    // the first with the key records as records, 5 the last with names.
    // Version 1: two old words skipped and no pool, a new one of 1000 ids;
    // 67 -> 140 -> 165 -> 160 -> 165, 47 -> 100 -> 104 -> 96 -> 104. Absurd
    // values are scaled without overflow and held at the ends: x at
    // 2147483647 twice, then 2082408385 and 2147483646; y at -2147483648
    // twice, then -1982292598 and -2147483647.
    world.m_pTimeOfDay->m_sHour = 9;
    play.PartyChoices().SetNewCharacter(Play::NewCharacterAttribute::kPlayerName, 0, "Kept");
    play.PartyChoices().SetFormationSet(false);
    struct Row {
        const char* rule;
        uint32_t version;
        std::vector<std::string> keys;
        qv::Point in, out;  // the focus; out {0, 0}: not looked at
        int pool;           // the ids in the pool; -1: not looked at
    };
    const Row rows[] = {
        {"10: one conversion", 10, {}, {1600, 960}, {1650, 1040}, 0},
        {"3: all four, keys by name", 3, {"Gate", "Cellar", "Tower"}, {670, 470}, {1650, 1040}, -1},
        {"6: a key record", 6, {"Gate"}, {160, 96}, {}, -1},
        {"5: a key's name", 5, {"Gate"}, {160, 96}, {}, -1},
        {"7: a key record", 7, {"Gate"}, {160, 96}, {}, -1},
        {"1: a new pool", 1, {}, {67, 47}, {165, 104}, 1000},
        {"3: absurd values", 3, {}, {INT32_MAX, INT32_MIN}, {2147483646, -2147483647}, -1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        Read(OldWorld(r.version, r.keys, r.in));
        const World& w = world;
        EXPECT_EQ(
            std::tuple(play.Saves().WorldVersion(), w.m_pTimeOfDay->m_sHour,
                       play.PartyChoices().PlayerName(), play.PartyChoices().IsFormationSet()),
            std::tuple(static_cast<int32_t>(r.version), 9, "Kept", 0));
        EXPECT_EQ(r.out == qv::Point{} ? r.out : w.m_ptFocus, r.out);
        ASSERT_TRUE(w.m_pUnusedNumbers);
        EXPECT_EQ(r.pool < 0 ? r.pool : w.m_pUnusedNumbers->GetCount(), r.pool);
        ASSERT_EQ(w.m_KeyStorageList.size(), r.keys.size());
        for (size_t i = 0; i < r.keys.size(); ++i) {
            const KeyStorage& key = *w.m_KeyStorageList[i];
            EXPECT_EQ(std::tuple(key.m_iKeyNum, key.m_strName, key.m_ObjectList.empty()),
                      std::tuple(static_cast<int>(i), r.keys[i], true));
        }
    }
}

TEST_F(WorldFile, AKeyRecordListsEachOfItsObjectsOnceAfterEveryRead) {
    World& w = world;
    auto bell = std::make_unique<Object>("Bell");
    bell->m_iItemNum = 44;
    w.AddToKeyStorage(bell.get());
    w.m_ScriptVariableList.push_back(std::move(bell));
    const Bytes written = Store();
    for (int round = 0; round < 3; ++round) {
        Read(round == 0 ? written : Store());
        ASSERT_EQ(w.m_KeyStorageList.size(), 1u);
        EXPECT_EQ(w.m_KeyStorageList[0]->m_iKeyNum, 44);
        ASSERT_EQ(w.m_KeyStorageList[0]->m_ObjectList.size(), 1u);
        EXPECT_EQ(w.m_KeyStorageList[0]->m_ObjectList[0].Get(),
                  w.m_ScriptVariableList.front().get());
    }
    EXPECT_EQ(Store(), written);
}

TEST_F(WorldFile, GroupSlotsAreCheckedAndEachGroupTakesItsOwnNumber) {
    NumberedGroup(7, "seven");
    NumberedGroup(3, "three");
    const Bytes written = Store();
    Read(written);
    World& w = world;
    ASSERT_EQ(w.m_GroupArray.size(), 8u);
    ASSERT_NE(w.GetGroupByNumber(7), nullptr);
    EXPECT_EQ(w.GetGroupByNumber(7)->m_strSpecialName, "seven");
    EXPECT_EQ(w.GetGroupByNumber(3)->m_strSpecialName, "three");
    EXPECT_EQ(w.GetGroupByNumber(5), nullptr);
    EXPECT_EQ(w.GetGroupByNumber(0), w.m_pAllGroups);
    EXPECT_EQ(w.GetGroupByNumber(7)->m_pGroup, w.m_pAllGroups);
    EXPECT_EQ(Store(), written);

    // The slot count sits after the version, the map part and three empty
    // lists; a huge count, a group numbered 0 and a number used twice are
    // refused.
    Bytes head;
    PutInt(head, 19);
    PutNewClass(head, "MapMaster", 2);
    PutMapPart(head);
    const size_t slotsAt = head.size() + 6;
    ASSERT_EQ(written[slotsAt], 8);
    auto refused = [&](Bytes bytes) {
        qv::Archive ar(bytes, "bad.qvr");
        play.Saves().SetLoadingGame(1);
        EXPECT_THROW(play.Saves().Serialize(ar), qv::ArchiveError);
        play.Saves().SetLoadingGame(0);
        EXPECT_EQ(w.GetGroupByNumber(0), w.m_pAllGroups);
    };
    Bytes huge = written;
    huge[slotsAt + 3] = 0x7F;
    refused(huge);
    // The group of slot 3 is written first; its number is the group's own
    // number, the 4 bytes before its leader id.
    const Bytes& numbered = written;
    Bytes twice = numbered;
    Bytes zero = numbered;
    size_t threeAt = 0;
    for (size_t i = slotsAt; i + 8 <= numbered.size(); ++i)
        if (numbered[i] == 3 && numbered[i + 1] == 0 && numbered[i + 2] == 0 &&
            numbered[i + 3] == 0 && numbered[i + 4] == 0xFF && numbered[i + 5] == 0xFF) {
            threeAt = i;
            break;
        }
    ASSERT_NE(threeAt, 0u);
    twice[threeAt] = 7;
    refused(twice);
    zero[threeAt] = 0;
    refused(zero);
}

TEST_F(WorldFile, AReadMergesAWorldChangeAndReplacesForASavedGame) {
    World& w = world;
    auto event = [](int32_t trigger, const std::string& name) {
        auto e = std::make_unique<CGameEvent>();
        e->m_iTrigger = trigger;
        e->m_strSpecialName = name;
        return GameEventPtr(e.release());
    };
    w.m_EventList.push_back(event(1, "file one"));
    w.m_EventList.push_back(event(2, "file two"));
    w.m_ScriptVariableList.push_back(std::make_unique<Object>("Bell"));
    w.m_ScriptVariableList.push_back(std::make_unique<Object>("Horn"));
    w.m_pTimeOfDay->m_sHour = 20;
    play.PartyChoices().SetFormationOffset(1, {-70, 5});
    const Bytes written = Store();

    // A world change: present events and variables stay, loaded ones of other
    // triggers and names join; the clock and the formation are the present ones.
    w.m_EventList.clear();
    w.m_EventList.push_back(event(2, "present two"));
    w.m_ScriptVariableList.clear();
    w.m_ScriptVariableList.push_back(std::make_unique<Object>("Horn"));
    w.m_ScriptVariableList.back()->m_iValue = 9;
    w.m_pTimeOfDay->m_sHour = 6;
    w.m_iGameTime = 5000;
    play.PartyChoices().SetFormationOffset(1, {-30, 0});
    Read(written, false);
    std::vector<std::string> events;
    for (auto& e : w.m_EventList) events.push_back(e->m_strSpecialName);
    EXPECT_EQ(events, (std::vector<std::string>{"present two", "file one"}));
    ASSERT_EQ(w.m_ScriptVariableList.size(), 2u);
    EXPECT_EQ(w.m_ScriptVariableList.front()->m_iValue, 9);
    EXPECT_EQ(w.m_ScriptVariableList.back()->m_strSpecialName, "Bell");
    EXPECT_EQ(w.m_pTimeOfDay->m_sHour, 6);
    EXPECT_EQ(w.m_iGameTime, 5000);
    EXPECT_EQ(play.PartyChoices().FormationOffsets()[1], (qv::Point{-30, 0}));
    EXPECT_TRUE(play.PartyChoices().IsFormationSet());

    // A saved game: everything is the file's, and game time starts again.
    Read(written, true);
    events.clear();
    for (auto& e : w.m_EventList) events.push_back(e->m_strSpecialName);
    EXPECT_EQ(events, (std::vector<std::string>{"file one", "file two"}));
    EXPECT_EQ(w.m_ScriptVariableList.size(), 2u);
    EXPECT_EQ(w.m_ScriptVariableList.front()->m_strSpecialName, "Bell");
    EXPECT_EQ(w.m_pTimeOfDay->m_sHour, 20);
    EXPECT_EQ(w.m_iGameTime, 0);
    EXPECT_EQ(play.PartyChoices().FormationOffsets()[1], (qv::Point{-70, 5}));
}

TEST_F(WorldFile, AGameSaveKeepsTheGroupAsideAndTheSpellsAndTheLastSpellOfASerialStays) {
    World& w = world;
    auto* aside = new Group;
    aside->m_bGrouped = 1;
    aside->m_strSpecialName = "aside";
    w.m_pAllGroups->AddMember(aside);
    w.m_pGroupTempStorage = aside;
    auto spell = [](int32_t serial, int32_t mana) {
        auto s = std::make_unique<Spell>();
        s->m_iSerial = serial;
        s->m_iMana = static_cast<uint32_t>(mana);
        return s;
    };
    world.m_ActiveSpells->Add(spell(5, 100).release());
    world.m_ActiveSpells->Add(spell(7, 200).release());
    world.m_ActiveSpells->Add(spell(5, 300).release());
    g_iNextSpellSerial = 8;
    play.Saves().SetSaving(1);
    const Bytes saved = Store();
    play.Saves().SetSaving(0);
    // Outside a game save neither is written: the flag 0 and the empty list.
    const Bytes plain = Store();
    ASSERT_GE(plain.size(), 10u);
    EXPECT_EQ(Bytes(plain.end() - 10, plain.end()), (Bytes{0, 0, 0, 0, 0, 0, 8, 0, 0, 0}));

    g_iNextSpellSerial = 100;
    world.m_ActiveSpells->Forget();
    Read(saved);
    ASSERT_TRUE(w.m_pGroupTempStorage);
    EXPECT_EQ(w.m_pGroupTempStorage->m_strSpecialName, "aside");
    EXPECT_EQ(w.m_pGroupTempStorage->m_pGroup, w.m_pAllGroups);
    EXPECT_EQ(g_iNextSpellSerial, 8u);
    std::vector<uint32_t> manas;
    for (Spell* s : world.m_ActiveSpells->Spells()) manas.push_back(s->m_iMana);
    EXPECT_EQ(manas, (std::vector<uint32_t>{200, 300}));

    // A world change keeps its own group aside and its own spells.
    Group* mine = w.m_pGroupTempStorage.Get();
    Read(plain, false);
    EXPECT_EQ(w.m_pGroupTempStorage.Get(), mine);
    EXPECT_EQ(world.m_ActiveSpells->Count(), 2u);
    // A saved game with a group aside read over one already held is refused.
    qv::Archive ar(saved, "twice.qvr");
    EXPECT_THROW(play.Saves().Serialize(ar), qv::ArchiveError);
}

TEST_F(WorldFile, TheLeadersGroupGoesToThePlayersFileAloneAndLeavesTheWorld) {
    World& w = world;
    Group* party = NumberedGroup(1, "party");
    Keep(Creature("Ayla", 1), At(24, 24));
    Keep(Creature("Rex", 1), At(25, 24));
    GroupOf(2, "wolves", "Wolf", At(27, 26));
    Open();
    ASSERT_EQ(party->Members().size(), 2u);
    Player* leader = dynamic_cast<Player*>(party->Members().back());
    ASSERT_NE(leader, nullptr);
    w.m_pLeader = leader;
    w.m_pControlPlayer = leader;
    w.m_Party[0] = leader;
    const size_t players = w.m_PlayerArray.size();
    ASSERT_GT(players, 0u);

    const Bytes written = Store();
    // The party is gone from the world and from every pointer to it.
    EXPECT_EQ(w.GetGroupByNumber(1), nullptr);
    EXPECT_EQ(w.m_pLeader.Get(), nullptr);
    EXPECT_EQ(w.m_Party[0].Get(), nullptr);
    for (Player* p : w.m_PlayerArray) {
        if (p) {
            EXPECT_NE(p->m_strSpecialName, "Ayla");
        }
    }
    EXPECT_EQ(Census().count("Ayla"), 0u);
    // "players": one group object, stored with its two creatures, and nothing
    // after it.
    const Bytes file = qv::ReadWholeFile(folder.Working("players").string());
    std::unique_ptr<Group> read = savefile::ReadPlayersFrom(file, "players");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->m_pGroup, nullptr);
    EXPECT_EQ(read->m_bGrouped, 1);
    EXPECT_EQ(read->m_strSpecialName, "party");
    EXPECT_EQ(read->Members().size(), 2u);
    // Anything but the party alone is refused: a cut, a byte more.
    worldfile_test::ExpectCutsAndLongerRefused(
        file, [](const Bytes& b) { savefile::ReadPlayersFrom(b, "players"); }, 7);
    read->RemoveFromMap();
    // The world file no longer names the party's slot.
    Read(written);
    EXPECT_EQ(w.GetGroupByNumber(1), nullptr);
    ASSERT_NE(w.GetGroupByNumber(2), nullptr);
}

TEST_F(WorldFile, DetachingAGroupStoresItsNestedGroupsWithTheirMembersAndTakesThemOffTheMap) {
    Group* party = NumberedGroup(1, "party");
    Keep(Creature("Ayla", 1), At(24, 24));
    Group* dogs = GroupOf(4, "dogs", "Rex", At(25, 25));
    Keep(Creature("Wolf", 0), At(27, 26));
    Open();
    ASSERT_EQ(dogs->Members().size(), 1u);
    party->AddMember(dogs);
    ASSERT_EQ(Census().count("Rex"), 1u);

    EXPECT_EQ(play.Saves().DetachGroup(party), 1);
    EXPECT_EQ(party->m_bGrouped, 1);
    EXPECT_EQ(dogs->m_bGrouped, 1);
    const auto left = Census();
    EXPECT_EQ(left.count("Ayla"), 0u);
    EXPECT_EQ(left.count("Rex"), 0u);
    EXPECT_EQ(left.count("Wolf"), 1u);
    for (Member* m : party->Members()) EXPECT_EQ(m->m_pHolder, nullptr);

    // Stored alone, the group holds its creature and the nested group with
    // its own.
    std::unique_ptr<Group> read =
        savefile::ReadPlayersFrom(savefile::StorePlayers(*party), "players");
    ASSERT_EQ(read->Members().size(), 2u);
    Group* nested = nullptr;
    for (Member* m : read->Members())
        if (m->IsGroup()) nested = static_cast<Group*>(m);
    ASSERT_NE(nested, nullptr);
    ASSERT_EQ(nested->Members().size(), 1u);
    EXPECT_EQ(nested->Members().front()->m_strSpecialName, "Rex");
    read->RemoveFromMap();
}

TEST_F(WorldFile, WithoutALeaderThePartyGroupIsWrittenInItsSlotAndThenDeleted) {
    NumberedGroup(1, "party");
    const Bytes written = Store();
    EXPECT_FALSE(qv::FileExists(folder.Working("players").string()));
    EXPECT_EQ(world.GetGroupByNumber(1), nullptr);
    Read(written);
    ASSERT_NE(world.GetGroupByNumber(1), nullptr);
    EXPECT_EQ(world.GetGroupByNumber(1)->m_strSpecialName, "party");
}

// Every read gives the six networks the weights of the world's folder; a file
// that cannot be read is named, and its network keeps the weights it had.
TEST_F(WorldFile, EveryReadGivesTheNetworksTheWeightsOfTheWorldsFolder) {
    NetworkSet& n = Networks();
    network* const all[] = {&n.attack[0], &n.defense[0], &n.evade[0],
                            &n.attack[1], &n.defense[1], &n.evade[1]};
    const std::string names[] = {"NNAttack.dat", "NNDefense.dat", "NNEvade.dat",
                                 "NNSPAS.dat",   "NNDSS.dat",     "NNES.dat"};
    const std::string folder = play.Saves().CurrentFolder();
    for (size_t k = 0; k < 6; ++k) {  // file k's top weights k + 1, the network's 0
        std::vector<float>& top = all[k]->OutputLayer()->m_Weights;
        top.assign(top.size(), k + 1.0f);
        ASSERT_EQ(all[k]->WriteFile(folder + names[k]), 1);
        top.assign(top.size(), 0.0f);
    }
    qv::WriteWholeFile(folder + names[4], {0xFF, 0xFF});  // cut short
    qv::ScriptedMessages messages;
    Read(Store());
    for (size_t k = 0; k < 6; ++k)
        EXPECT_EQ(all[k]->OutputLayer()->m_Weights[0], k == 4 ? 0.0f : k + 1.0f) << names[k];
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].rfind("Error reading" + folder + names[4], 0), 0u);
}

}  // namespace
