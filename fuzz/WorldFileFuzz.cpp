// World files from untrusted bytes, read into a running game as the game reads
// them: as a saved game (the world replaced) and then as a world change over
// the world that made (merged), each tried first with the slot's land files
// and then read, the lands streamed around the focus and the party placed
// from "players" after each read. Every input is read or refused with the
// archive's error, never anything else, and the read takes what the try of
// the world file accepts; a world that reads writes bytes that read back,
// and from then on writes the same bytes (odd bytes may settle once, as a
// group's cached hit points do when its members are counted again).
//
// The slot beside the input is the seeds' world of 51 x 48 cells: its root
// land "world.lnd" with a picture, a few things and a creature, a party of a
// leader and a dog in "players", and the six networks' weight files.

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "RoundTrip.h"
#include "creatures/Player.h"
#include "creatures/TrainingRecords.h"
#include "media/DIBitmap.h"
#include "platform/Archive.h"
#include "shell/MainFrm.h"
#include "world/Group.h"
#include "world/Land.h"
#include "world/Map.h"

namespace {

constexpr const char* kName = "fuzz.qvr";
constexpr int32_t kWorldW = MapMaster::wide;
constexpr int32_t kWorldH = MapMaster::high;

Player* Creature(const std::string& name, int32_t slot, const Position& at) {
    auto* p = new Player;
    p->m_strSpecialName = name;
    p->m_iPartySlot = slot;
    p->m_Position = at;
    return p;
}

fuzz::GameFolder& Slot() {
    static fuzz::GameFolder* folder = [] {
        auto* f = new fuzz::GameFolder;
        fuzz::FreshWorld world;
        // The root land's picture: open ground, a patch of rough ground and
        // a band of mixed cells.
        CDIBitmap picture(kWorldW, kWorldH);
        picture.FillRect(0, 0, kWorldW, kWorldH, 8);
        picture.FillRect(10, 10, 20, 16, 24);
        picture.FillRect(30, 5, 34, 40, 72);
        fuzz::TempFile stored;
        picture.Save(stored.Path());
        f->Put("Images/world.bmp", stored.Read());

        Land land("World");
        land.bounds = {0, 0, kWorldW, kWorldH};
        land.hasbitmap = 1;
        land.bitmapname = "world.bmp";
        auto* stone = new Object("Object");
        stone->m_strSpecialName = "Stone";
        land.KeepHolder(new ObjectHolder(MapMaster::CellCentre({26, 24}), stone));
        Player* wolf = Creature("Wolf", 0, MapMaster::CellCentre({28, 26}));
        wolf->m_iGroupNum = -1;
        land.KeepHolder(new ObjectHolder(wolf->m_Position, wolf));
        f->Put("tmp/world.lnd", land.StoreBytes());

        Group party;
        party.m_iOwnGroupNum = 1;
        party.m_bGrouped = 1;
        party.AddMember(Creature("Hero", -1, MapMaster::CellCentre({25, 24})));
        party.AddMember(Creature("Rex", 1, MapMaster::CellCentre({24, 24})));
        f->Put("tmp/players", savefile::StorePlayers(party));
        party.RemoveFromMap();
        // The networks' weights, which every world read takes.
        for (const char* name : {NNAttack::kDefaultFile, NetworkSet::kSecondAttackFile})
            f->Put(std::string("tmp/") + name, NNAttack().StoreWeights());
        for (const char* name : {NNDefense::kDefaultFile, NetworkSet::kSecondDefenseFile})
            f->Put(std::string("tmp/") + name, NNDefense().StoreWeights());
        for (const char* name : {NNEvade::kDefaultFile, NetworkSet::kSecondEvadeFile})
            f->Put(std::string("tmp/") + name, NNEvade().StoreWeights());
        return f;
    }();
    return *folder;
}

// Whether the frame's try of the world accepts it: with the land files of
// `folder` (a slot's, before a load) or, with none, the world file alone.
bool Tried(CMainFrame& frame, const std::vector<uint8_t>& bytes, const std::string& folder) {
    try {
        frame.m_Play.Saves().CheckWorldRead(bytes, kName, folder);
    } catch (const qv::ArchiveError&) {
        return false;
    }
    return true;
}

// Tries the world as a load does, with the slot's land files, and reads it
// into the frame, the party placed after the read; false when it is refused.
// The read takes what the try of the world file alone accepts, and the land
// files can only refuse more.
bool ReadInto(CMainFrame& frame, const std::vector<uint8_t>& bytes, bool replace) {
    frame.m_Play.Saves().SetLoadingGame(replace ? 1 : 0);
    const bool alone = Tried(frame, bytes, {});
    const bool withLands = Tried(frame, bytes, frame.m_Play.Saves().CurrentFolder());
    bool read = true;
    try {
        qv::Archive ar(bytes, kName);
        frame.m_Play.Saves().Serialize(ar);
    } catch (const qv::ArchiveError&) {
        read = false;
    }
    if (alone != read || (withLands && !alone)) {
        std::fprintf(
            stderr, "world file, read %s: the try %s it (with its lands, %s it), the read %s it\n",
            replace ? "as a saved game" : "as a world change", alone ? "accepts" : "refuses",
            withLands ? "accepts" : "refuses", read ? "takes" : "refuses");
        std::abort();
    }
    if (!read || !withLands) {
        frame.m_Play.Saves().SetLoadingGame(0);
        return false;
    }
    frame.m_Play.MoveToLand();
    return true;
}

void Read(CMainFrame& frame, const std::vector<uint8_t>& bytes, const char* name) {
    qv::Archive ar(bytes, name);
    frame.m_Play.Saves().SetLoadingGame(1);
    try {
        frame.m_Play.Saves().Serialize(ar);
    } catch (...) {
        frame.m_Play.Saves().SetLoadingGame(0);
        throw;
    }
    frame.m_Play.Saves().SetLoadingGame(0);
}

std::vector<uint8_t> Store(CMainFrame& frame) {
    qv::Archive ar("again.qvr");
    frame.m_Play.Saves().Serialize(ar);
    return ar.TakeBytes();
}

void Run(const std::vector<uint8_t>& bytes) {
    fuzz::GameFolder& slot = Slot();
    slot.Restore();
    CMainFrame frame;
    fuzz::SetInFolder(frame, slot);
    if (!ReadInto(frame, bytes, true)) return;
    // A world change writes the world it leaves (the party goes to
    // "players") and reads the other over it.
    Store(frame);
    if (!ReadInto(frame, bytes, false)) return;

    frame.m_Play.Saves().SetSaving(1);
    Read(frame, Store(frame), "settled.qvr");
    const std::vector<uint8_t> stored = Store(frame);
    Read(frame, stored, "stored.qvr");
    const std::vector<uint8_t> again = Store(frame);
    frame.m_Play.Saves().SetSaving(0);
    if (again != stored) {
        std::fprintf(stderr, "world file: writing what was read back changes it\n");
        std::abort();
    }
}

}  // namespace

QV_FUZZ_GAME_TARGET(Run)
