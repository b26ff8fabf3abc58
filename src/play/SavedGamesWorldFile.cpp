// The world file: everything of a running world that does not live in the land
// files, written and read by one operation, and the "players" file that holds
// the party while the world is written.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <list>
#include <optional>
#include <set>
#include <unordered_set>

#include "creatures/Player.h"
#include "creatures/TrainingRecords.h"
#include "events/GameEvent.h"
#include "items/ActiveSpells.h"
#include "items/Spell.h"
#include "media/DDWnd.h"
#include "platform/Archive.h"
#include "platform/Files.h"
#include "platform/Rand.h"
#include "platform/Saturate.h"
#include "play/Play.h"
#include "play/SavedGames.h"
#include "world/Global.h"
#include "world/Group.h"
#include "world/KeyStorage.h"
#include "world/Land.h"
#include "world/Map.h"
#include "world/Random.h"
#include "world/ScriptVariables.h"
#include "world/TimeOfDay.h"
#include "world/UnusedNumbers.h"
#include "world/World.h"

namespace {

const char* const kPlayersFile = "players";
// The id pool of a world too old to store one: member ids -1 to -1000.
constexpr int kOldPoolCount = 1000;
constexpr int kOldPoolStart = -1;
// The first versions that hold each later item of the world file.
constexpr uint32_t kVersionOldWords = 2;      // below: two ignored words
constexpr uint32_t kVersionIdPool = 3;        // from: the id pool
constexpr uint32_t kVersionKeyRecords = 6;    // from: key records as objects
constexpr uint32_t kVersionMapTag = 9;        // from: the map's class tag
constexpr uint32_t kVersionClock = 11;        // from: hour and minute
constexpr uint32_t kVersionVariables = 5;     // from: script variables
constexpr uint32_t kVersionFormation = 12;    // from: the formation
constexpr uint32_t kVersionNames = 14;        // from: player and dog names
constexpr uint32_t kVersionHoldGround = 15;   // from: the hold-ground switch
constexpr uint32_t kVersionKeptAside = 16;    // from: the kept-aside group's flag
constexpr uint32_t kVersionKeptRead = 19;     // from: that group is kept
constexpr uint32_t kVersionSpells = 17;       // from: the spells in effect
constexpr uint32_t kVersionSpellSerial = 18;  // from: the spell counter

// The focus point of older files, whose cells were of other sizes: each step
// scales x and y by a ratio, multiplying first and truncating toward zero.
struct FocusStep {
    uint32_t belowVersion;
    int64_t xMul, xDiv, yMul, yDiv;
};
constexpr FocusStep kFocusSteps[] = {
    {4, 140, 67, 100, 47},
    {8, 165, 140, 104, 100},
    {10, 160, 165, 96, 104},
    {13, 165, 160, 104, 96},
};

template <class List>
void WriteList(qv::Archive& ar, const List& list) {
    ar.WriteCount(list.size());
    for (const auto& object : list) ar.WriteObject(object.get());
}

// Reads an object list whose objects the caller owns; a group where an owned
// object belongs is refused (the group tree would own it as well).
template <class T, class Out>
void ReadList(qv::Archive& ar, const qv::RuntimeClass* expected, Out& out) {
    const size_t n = ar.ReadCount();
    for (size_t i = 0; i < n; ++i) {
        T* object = static_cast<T*>(ReadObjectOutsideGroups(ar, expected));
        if (object) out.emplace_back(object);
    }
}

int32_t ScaleFocus(int64_t v, int64_t mul, int64_t div) {
    const int64_t scaled = v * mul / div;
    return qv::ClampToInt32(scaled);
}

// How far a party spreads around its leader, in pixels, across and down: half
// the narrower side of the smallest world (48 rows of 112 pixels). No offset
// reaches further from the leader's point, nor any two offsets further from
// each other, so that the offsets rebased on the leader's slot (as the game
// writes them) keep to the same rule, in any world; turned by quarters and
// added to a point of the world, an offset stays within one wrap of it.
constexpr int32_t kFormationReach =
    std::min(MapMaster::wide * MapMaster::CellWidth, MapMaster::high* MapMaster::CellHeight) / 2;

void CheckFormation(qv::Archive& ar, const std::array<qv::Point, Play::kPartySlots>& offsets) {
    for (const char* axis : {"across", "down"}) {
        auto along = [axis](const qv::Point& p) { return axis[0] == 'a' ? p.x : p.y; };
        int64_t lo = along(offsets[0]), hi = lo;
        for (const qv::Point& p : offsets) {
            lo = std::min<int64_t>(lo, along(p));
            hi = std::max<int64_t>(hi, along(p));
        }
        if (lo < -kFormationReach || hi > kFormationReach || hi - lo > kFormationReach)
            ar.Fail(qv::ArchiveError::BadIndex,
                    "a formation whose offsets run from " + std::to_string(lo) + " to " +
                        std::to_string(hi) + " " + axis + ", where a party spreads over " +
                        std::to_string(kFormationReach) + " pixels at most around its leader");
    }
}

// The world file's version; refused when it is newer than this game writes.
uint32_t ReadWorldVersion(qv::Archive& ar) {
    const uint32_t version = ar.ReadDWord();
    if (version > SavedGames::kWorldVersion)
        ar.Fail(qv::ArchiveError::BadSchema,
                "a world of version " + std::to_string(version) + ", newer than this game");
    return version;
}

// What a world read gives beyond the World itself: the frame's own parts,
// taken over only once the whole file has been read.
struct WorldFileExtras {
    std::list<std::unique_ptr<Store>> stores;
    std::optional<std::list<SpellPtr>> spells;
    std::optional<std::array<qv::Point, Play::kPartySlots>> formation;
    std::optional<std::string> playerName, dogName;
    std::optional<int> holdGround;
    std::optional<uint32_t> spellSerial;
};

// Reads the world file after its version into `w`, which is the current
// world (GetWorld()) while it runs: a saved game (`replace`) replaces, a
// world change merges.
void ReadWorld(qv::Archive& ar, uint32_t version, World& w, WorldFileExtras& out, bool replace) {
    w.m_pControlPlayer = nullptr;
    for (auto& slot : w.m_Party) slot = nullptr;

    if (version >= kVersionMapTag) ar.SerializeClass(&MapMaster::classInfo);
    if (!w.map_master) w.map_master = std::make_unique<MapMaster>();
    w.map_master->Serialize(ar);

    ReadList<Store>(ar, &Store::classInfo, out.stores);

    // Events: a saved game replaces them; a world change keeps those present
    // and adds the loaded ones of other triggers.
    std::list<GameEventPtr> events;
    ReadList<CGameEvent>(ar, &CGameEvent::classInfo, events);
    if (replace) {
        w.m_EventList = std::move(events);
    } else {
        std::unordered_set<int32_t> present;
        for (const auto& e : w.m_EventList) present.insert(e->m_iTrigger);
        for (auto& e : events)
            if (!present.count(e->m_iTrigger)) w.m_EventList.push_back(std::move(e));
    }

    // The groups are rebuilt from the file: the kept-aside group survives a
    // world change, not the load of a saved game.
    Group* aside = w.m_pGroupTempStorage.Get();
    if (!w.m_pAllGroups) w.CreateRootGroups();
    if (aside && !replace && aside->m_pGroup) aside->m_pGroup->RemoveMember(aside);
    w.m_pAllGroups->RemoveFromMap();
    if (replace && w.m_pGroupTempStorage) {
        Group* gone = w.m_pGroupTempStorage.Get();
        gone->RemoveFromMap();
        delete gone;
    }
    w.m_pGroupTempStorage = nullptr;
    w.m_pRandomEncounters = new Group("Group");
    w.m_pRandomEncounters->SetName("Random Encounters");
    w.m_pAllGroups->AddMember(w.m_pRandomEncounters);
    if (aside && !replace) {
        w.m_pAllGroups->AddMember(aside);
        w.m_pGroupTempStorage = aside;
    }
    w.m_pUnusedNumbers.reset();
    w.m_GroupArray.resize(1);
    w.m_GroupArray[0] = w.m_pAllGroups;
    w.m_PlayerArray.clear();
    w.m_KeyStorageList.clear();

    if (version < kVersionKeyRecords) {
        const uint32_t n = ar.ReadDWord();
        // Every name takes at least its length byte.
        if (n > ar.Remaining()) ar.Fail(qv::ArchiveError::BadCount, "key names");
        for (uint32_t i = 0; i < n; ++i)
            w.m_KeyStorageList.push_back(
                std::make_unique<KeyStorage>(static_cast<int>(i), ar.ReadString()));
    } else {
        // The records store the objects they list, which enter themselves in
        // the world's records as they are read; the file's records take them.
        // Copies that nothing else in the file claims go with the archive and
        // leave the records then.
        std::vector<std::unique_ptr<KeyStorage>> records;
        ReadList<KeyStorage>(ar, &KeyStorage::classInfo, records);
        std::vector<std::unique_ptr<KeyStorage>> entered = std::move(w.m_KeyStorageList);
        w.m_KeyStorageList = std::move(records);
        for (const auto& record : entered)
            for (const auto& object : record->m_ObjectList)
                if (object) w.AddToKeyStorage(object.Get());
    }

    // The table of groups: each group enters it at its own number.
    const uint32_t slots = ar.ReadDWord();
    if (slots > static_cast<uint32_t>(Group::kMaxGroupNumber) + 1)
        ar.Fail(qv::ArchiveError::BadCount, std::to_string(slots) + " group slots");
    if (slots > 1 && uint64_t(slots - 1) * 4 > ar.Remaining())
        ar.Fail(qv::ArchiveError::EndOfFile, "the group slots are cut short");
    std::set<int32_t> numbers;
    for (uint32_t i = 1; i < slots; ++i) {
        if (ar.ReadDWord() == 0) continue;
        Group* group = ar.ReadObjectOf<Group>();
        if (!group) ar.Fail(qv::ArchiveError::Generic, "a group slot flagged but empty");
        // The tree owns the group from here on, whatever follows.
        if (!group->m_pGroup) w.m_pAllGroups->AddMember(group);
        const int32_t number = group->m_iOwnGroupNum;
        w.m_GroupArray[0] = w.m_pAllGroups;
        if (number < 1 || number > Group::kMaxGroupNumber || !numbers.insert(number).second)
            ar.Fail(qv::ArchiveError::BadIndex, "group number " + std::to_string(number));
        group->SetGroupNumber(number);
    }

    if (version < kVersionOldWords) {
        ar.ReadDWord();
        ar.ReadDWord();
    }
    if (version >= kVersionIdPool) w.m_pUnusedNumbers.reset(ar.ReadObjectOf<UnusedNumbers>());
    if (!w.m_pUnusedNumbers)
        w.m_pUnusedNumbers = std::make_unique<UnusedNumbers>(kOldPoolCount, kOldPoolStart, 0);

    int64_t x = ar.ReadInt();
    int64_t y = ar.ReadInt();
    for (const FocusStep& step : kFocusSteps)
        if (version < step.belowVersion) {
            x = ScaleFocus(x, step.xMul, step.xDiv);
            y = ScaleFocus(y, step.yMul, step.yDiv);
        }
    w.m_ptFocus = {static_cast<int32_t>(x), static_cast<int32_t>(y)};

    if (version >= kVersionClock) {
        CTimeOfDay read;
        read.Serialize(ar);
        if (replace) {
            w.m_pTimeOfDay->m_sHour = read.m_sHour;
            w.m_pTimeOfDay->m_sMinute = read.m_sMinute;
            w.m_pTimeOfDay->m_dwLastTick = 0;
            w.m_iGameTime = 0;
        }
        w.m_pTimeOfDay->Format();
    }

    if (version >= kVersionVariables) {
        std::list<std::unique_ptr<Object>> variables;
        ReadList<Object>(ar, &Object::classInfo, variables);
        if (replace) {
            w.m_ScriptVariableList = std::move(variables);
        } else {
            std::set<std::string> present;
            for (const auto& v : w.m_ScriptVariableList) present.insert(v->m_strSpecialName);
            for (auto& v : variables)
                if (!present.count(v->m_strSpecialName))
                    w.m_ScriptVariableList.push_back(std::move(v));
        }
    }

    if (version >= kVersionFormation) {
        std::array<qv::Point, Play::kPartySlots> offsets{};
        for (qv::Point& offset : offsets) {
            offset.x = ar.ReadInt();
            offset.y = ar.ReadInt();
        }
        CheckFormation(ar, offsets);
        if (replace) out.formation = offsets;
    }

    if (version >= kVersionNames) {
        auto name = [](std::string read, int actor) {
            if (!read.empty()) return read;
            Player* p = ResolveActor(actor);
            return p ? p->GetDisplayName() : std::string();
        };
        std::string player = ar.ReadString();
        std::string dog = ar.ReadString();
        out.playerName = name(std::move(player), Play::kPlayerActor);
        out.dogName = name(std::move(dog), Play::kDogActor);
    }

    if (version >= kVersionHoldGround) out.holdGround = ar.ReadInt();

    if (version >= kVersionKeptAside && ar.ReadDWord() != 0) {
        if (version >= kVersionKeptRead && w.m_pGroupTempStorage)
            ar.Fail(qv::ArchiveError::Generic, "a second group kept aside");
        Group* group = ar.ReadObjectOf<Group>();
        if (group && !group->m_pGroup) w.m_pAllGroups->AddMember(group);
        if (version < kVersionKeptRead) {
            if (group) {
                group->RemoveFromMap();
                delete group;
            }
        } else {
            w.m_pGroupTempStorage = group;
        }
    }

    if (version >= kVersionSpells) {
        std::list<SpellPtr> spells;
        ReadList<Spell>(ar, &Spell::classInfo, spells);
        if (replace) out.spells = std::move(spells);
    }
    if (version >= kVersionSpellSerial) {
        const uint32_t serial = ar.ReadDWord();
        if (replace) out.spellSerial = serial;
    }
}

}  // namespace

std::vector<uint8_t> savefile::StorePlayers(Group& party) {
    qv::Archive ar(kPlayersFile);
    ar.WriteObject(&party);
    return ar.TakeBytes();
}

std::unique_ptr<Group> savefile::ReadPlayersFrom(const std::vector<uint8_t>& bytes,
                                                 const std::string& name) {
    qv::Archive ar(bytes, name);
    std::unique_ptr<Group> party(ar.ReadObjectOf<Group>());
    // A group joins the tree as it is read; the party is the reader's.
    if (party && party->m_pGroup) party->m_pGroup->RemoveMember(party.get());
    auto refuse = [&](const char* why) {
        if (party) party->RemoveFromMap();
        ar.Fail(qv::ArchiveError::Generic, why);
    };
    if (!party) refuse("no party group");
    if (!party->m_bGrouped) refuse("a party group stored without its members");
    if (ar.Remaining() != 0) refuse("bytes after the party group");
    return party;
}

void SavedGames::WritePlayers(Group& party) {
    // The file holds the party with its members, whether or not they are on
    // the map now.
    const int32_t grouped = party.m_bGrouped;
    party.m_bGrouped = 1;
    try {
        qv::WriteWholeFile(InCurrentFolder(kPlayersFile), savefile::StorePlayers(party));
    } catch (const qv::FileError& error) {
        party.m_bGrouped = grouped;
        ReportFileException(error);
        return;
    }
    party.m_bGrouped = grouped;
    // The file holds the party now.
    m_PartyOutOfPlay.reset();
}

std::string SavedGames::InCurrentFolder(const std::string& name) const {
    if (!name.empty() && (name[0] == '/' || name[0] == '\\')) return name;
    return m_strCurrentFolder + name;
}

int SavedGames::DetachGroup(Group* group) {
    if (!QV_CHECK(group != nullptr)) return 0;
    group->m_bGrouped = 1;
    for (Member* member : group->Members()) {
        if (member->IsGroup()) {
            DetachGroup(static_cast<Group*>(member));
            continue;
        }
        m_Play.TakeHolderOffMap(member);
    }
    return 1;
}

int SavedGames::SaveWorldFile(const std::string& name, const std::string& landFolder) {
    // The map writes its lands there only while this world is written.
    struct LandFolder {
        MapMaster* map;
        LandFolder(MapMaster* m, const std::string& folder) : map(m) {
            if (map) map->landwritefolder = folder;
        }
        ~LandFolder() {
            if (map) map->landwritefolder.clear();
        }
    } lands(m_Play.Map(), landFolder);
    qv::Archive ar(name);
    Serialize(ar);
    qv::WriteWholeFile(InCurrentFolder(name), ar.Bytes());
    return 1;
}

int SavedGames::LoadWorldFile(const std::string& name) {
    const std::vector<uint8_t> bytes = qv::ReadWholeFile(InCurrentFolder(name));
    CheckWorldRead(bytes, name);
    m_strWorldFile = name;
    m_Play.m_World.m_pLeader = nullptr;
    qv::Archive ar(bytes, name);
    Serialize(ar);
    return 1;
}

void SavedGames::CheckWorldRead(const std::vector<uint8_t>& bytes, const std::string& name,
                                const std::string& landFolder, bool landsRequired,
                                const std::string& playersFile) const {
    World* running = GetWorld();
    const uint32_t rand = qv::RandState();
    const int32_t randomSeed = GetRandomSeed();
    const uint32_t spellSerial = g_iNextSpellSerial;
    auto putBack = [&] {
        qv::SeedRand(rand);
        SetRandomSeed(randomSeed);
        g_iNextSpellSerial = spellSerial;
        if (running) running->MakeCurrent();
    };
    try {
        // The scratch world is the current one while it lives, so that what
        // the file's objects enter themselves in is its own.
        World scratch;
        // What the file's objects ask of play (the game folder, build mode)
        // is answered as for the running world.
        scratch.m_pRules = m_Play.m_World.m_pRules;
        scratch.map_master = std::make_unique<MapMaster>();
        scratch.CreateRootGroups();
        const bool replace = m_bLoadingGame != 0;
        if (!replace && m_Play.m_World.m_pGroupTempStorage) {
            // A world change keeps the group kept aside: the file may not
            // bring a second one.
            auto* aside = new Group("Group");
            scratch.m_pAllGroups->AddMember(aside);
            scratch.m_pGroupTempStorage = aside;
        }
        qv::Archive ar(bytes, name);
        const uint32_t version = ReadWorldVersion(ar);
        WorldFileExtras extras;
        ReadWorld(ar, version, scratch, extras, replace);
        // The lands are read in the scratch world, whose map has the size
        // of the world they belong to.
        if (!landFolder.empty() && scratch.map_master->landgraph) {
            std::vector<const LandGraph*> nodes{scratch.map_master->landgraph};
            while (!nodes.empty()) {
                const LandGraph* node = nodes.back();
                nodes.pop_back();
                for (const auto& child : node->children) nodes.push_back(child.get());
                if (!node->info) continue;
                const std::string path = landFolder + node->info->filename;
                if (qv::FileExists(path))
                    node->info->CheckAgrees(*Land::FromBytes(qv::ReadWholeFile(path), path), path);
                else if (landsRequired)
                    throw qv::FileError(qv::FileError::NotFound, path);
            }
        }
        // The party comes back from "players" in place of the one the world
        // kept in its party slot.
        if (!playersFile.empty() && qv::FileExists(playersFile)) {
            const std::unique_ptr<Group> party =
                savefile::ReadPlayersFrom(qv::ReadWholeFile(playersFile), playersFile);
            const Group* kept = scratch.m_GroupArray.size() > World::kPartyGroupSlot
                                    ? scratch.m_GroupArray[World::kPartyGroupSlot]
                                    : nullptr;
            m_Play.CheckPartyNumber(scratch, *party, playersFile, kept);
        }
    } catch (...) {
        putBack();
        throw;
    }
    putBack();
}

void SavedGames::Serialize(qv::Archive& ar) {
    m_Play.Shell().ShowBusy(true);
    World& w = m_Play.m_World;
    // A monster generator's fight does not survive a change of world.
    m_Play.m_World.m_pActiveGenerator = nullptr;

    if (ar.IsStoring()) {
        m_Play.Travelling().SetLandMovePending(true);
        m_iWorldVersion = static_cast<int32_t>(kWorldVersion);
        m_Play.m_World.m_FlyingObjects.clear();
        ar.WriteDWord(kWorldVersion);

        // The party goes to "players" alone and leaves the world; the next
        // tick brings it back, from the bytes kept even when the file could
        // not be written. A party still out of play from an earlier writing
        // goes to "players" again.
        if (Player* leader = w.m_pLeader.Get()) {
            Group* party = leader->m_pGroup;
            if (party) {
                DetachGroup(party);
                m_PartyOutOfPlay = savefile::StorePlayers(*party);
                if (w.m_GroupArray.size() > World::kPartyGroupSlot &&
                    w.m_GroupArray[World::kPartyGroupSlot] == party)
                    w.m_GroupArray[World::kPartyGroupSlot] = nullptr;
                // The frame's party slots and every handle let go as the
                // group's creatures are deleted with it.
                delete party;
            }
        }
        if (m_PartyOutOfPlay) qv::WriteWholeFile(InCurrentFolder(kPlayersFile), *m_PartyOutOfPlay);

        ar.SerializeClass(&MapMaster::classInfo);
        if (!m_Play.Map()) w.map_master = std::make_unique<MapMaster>();
        m_Play.Map()->Serialize(ar);
        WriteList(ar, m_Play.Trade().Stores());
        WriteList(ar, w.m_EventList);
        WriteList(ar, w.m_KeyStorageList);
        const size_t slots = std::max<size_t>(w.m_GroupArray.size(), 1);
        ar.WriteDWord(static_cast<uint32_t>(slots));
        // A game save writes the group kept aside at the end of the file;
        // listed in the table too, it would be stored twice and the file
        // refused. Read back, it takes its table slot again.
        Group* keptAside = m_bSaving ? w.m_pGroupTempStorage.Get() : nullptr;
        for (size_t i = 1; i < slots; ++i) {
            Group* group = w.m_GroupArray[i];
            if (group && group == keptAside) group = nullptr;
            ar.WriteDWord(group ? 1 : 0);
            if (group) ar.WriteObject(group);
        }
        ar.WriteObject(w.m_pUnusedNumbers.get());
        ar.WriteInt(w.m_ptFocus.x);
        ar.WriteInt(w.m_ptFocus.y);
        w.m_pTimeOfDay->Serialize(ar);
        w.m_pTimeOfDay->Format();
        WriteList(ar, w.m_ScriptVariableList);
        for (const qv::Point& offset : m_Play.PartyChoices().FormationOffsets()) {
            ar.WriteInt(offset.x);
            ar.WriteInt(offset.y);
        }
        ar.WriteString(m_Play.PartyChoices().PlayerName());
        ar.WriteString(m_Play.PartyChoices().DogName());
        ar.WriteInt(m_Play.m_World.m_bHoldGround);

        // Without a leader the party's group was written among the others and
        // leaves the world now.
        if (w.m_GroupArray.size() > World::kPartyGroupSlot) {
            if (Group* party = w.m_GroupArray[World::kPartyGroupSlot]) {
                DetachGroup(party);
                w.m_GroupArray[World::kPartyGroupSlot] = nullptr;
                delete party;
            }
        }

        Group* aside = w.m_pGroupTempStorage.Get();
        if (aside && m_bSaving) {
            ar.WriteDWord(1);
            ar.WriteObject(aside);
        } else {
            ar.WriteDWord(0);
        }
        if (m_bSaving) {
            const std::vector<Spell*> spells = m_Play.m_World.m_ActiveSpells->Spells();
            ar.WriteCount(spells.size());
            for (Spell* spell : spells) ar.WriteObject(spell);
        } else {
            ar.WriteCount(0);
        }
        ar.WriteDWord(g_iNextSpellSerial);
        m_Play.Shell().ShowBusy(false);
        return;
    }

    // ---- Reading ----
    // The party comes from the "players" of the world read.
    m_PartyOutOfPlay.reset();
    const uint32_t version = ReadWorldVersion(ar);
    const bool replace = m_bLoadingGame != 0;
    m_Play.Travelling().SetRefreshPending(true);
    m_iWorldVersion = static_cast<int32_t>(version);
    m_Play.m_World.m_FlyingObjects.clear();
    m_Play.Trade().ReplaceStores({});
    WorldFileExtras x;
    ReadWorld(ar, version, w, x, replace);
    m_Play.Trade().ReplaceStores(std::move(x.stores));
    Party& party = m_Play.PartyChoices();
    if (x.formation) party.TakeFormation(*x.formation);
    if (version >= kVersionFormation) party.SetFormationSet(true);
    party.TakeStoredNames(x.playerName ? &*x.playerName : nullptr,
                          x.dogName ? &*x.dogName : nullptr);
    if (x.holdGround) m_Play.m_World.m_bHoldGround = *x.holdGround;
    if (x.spellSerial) g_iNextSpellSerial = *x.spellSerial;
    if (x.spells) {
        // The spells of the world replaced go without undoing anything; those
        // read go on from now. Of spells that share a serial the last listed
        // stays.
        m_Play.m_World.m_ActiveSpells->Forget();
        std::vector<std::unique_ptr<Spell>> read;
        for (auto& spell : *x.spells) read.push_back(std::unique_ptr<Spell>(spell.release()));
        m_Play.m_World.m_ActiveSpells->AdoptRead(std::move(read), m_Play.m_World.m_iGameTime);
    }
    // The networks take the weights of the world's folder; a weight file that
    // cannot be read is named and its network keeps the weights it had.
    Networks().LoadAll(InCurrentFolder(""));
    m_Play.Shell().ShowBusy(false);
}

void SavedGames::ReadScriptVariables() {
    // Read whole first: a file that cannot be read leaves the variables as
    // they were.
    const std::vector<uint8_t> bytes =
        qv::ReadWholeFile(m_strGameFolder + m_strSaveFolder + "MessageFile.h");
    m_Play.m_World.m_ScriptVariableList = ParseScriptVariables(bytes);
}
