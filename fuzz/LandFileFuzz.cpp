// Land files from untrusted bytes, read in a running world of 100 x 80 cells as
// the game reads them: a land is read or refused with the archive's error (or,
// for its picture, the file error), never anything else; a land that reads
// stores again to bytes that read back to the same land. Then the land, with
// its picture, is streamed into the window under the world's root land at
// its own rectangle, its things and creatures placed on the map, and written
// back to its file, which must read again.
//
// The game folder holds the root land "world.lnd" of open ground and the
// picture "hills.bmp" that the seeds name.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "RoundTrip.h"
#include "media/DIBitmap.h"
#include "platform/Archive.h"
#include "platform/Files.h"
#include "shell/MainFrm.h"
#include "world/Land.h"
#include "world/Map.h"

namespace {

constexpr const char* kName = "fuzz.lnd";
constexpr int32_t kWorldW = 100;
constexpr int32_t kWorldH = 80;

fuzz::GameFolder& Folder() {
    static fuzz::GameFolder* folder = [] {
        auto* f = new fuzz::GameFolder;
        // A picture of 20 x 20 cells of every kind of pixel, one kind a row.
        CDIBitmap hills(20, 20);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x) hills.SetPixel(x, y, static_cast<uint8_t>(y * 6 + x % 6));
        fuzz::TempFile stored;
        hills.Save(stored.Path());
        f->Put("Images/hills.bmp", stored.Read());
        Land root("World");
        root.bounds = {0, 0, kWorldW, kWorldH};
        f->Put("tmp/world.lnd", root.StoreBytes());
        return f;
    }();
    return *folder;
}

[[noreturn]] void Fail(const char* why) {
    std::fprintf(stderr, "land file: %s\n", why);
    std::abort();
}

// The world cell in the middle of a rectangle, across the seam if need be.
CellPoint Middle(const CellRect& r) {
    const int32_t w = (r.right - r.left + kWorldW) % kWorldW;
    const int32_t h = (r.bottom - r.top + kWorldH) % kWorldH;
    return {(r.left + w / 2) % kWorldW, (r.top + h / 2) % kWorldH};
}

void Run(const std::vector<uint8_t>& bytes) {
    fuzz::GameFolder& folder = Folder();
    folder.Restore();
    CMainFrame frame;
    fuzz::SetInFolder(frame, folder);
    frame.m_World.map_master = std::make_unique<MapMaster>();
    MapMaster& map = *frame.m_World.map_master;
    map.SetWorldSize(kWorldW, kWorldH);

    std::unique_ptr<Land> land;
    try {
        land = Land::FromBytes(bytes, kName);
    } catch (const qv::ArchiveError&) {
        return;
    }
    land->ComputeEncounterRate();
    const std::vector<uint8_t> stored = land->StoreBytes();
    if (Land::FromBytes(stored, "again.lnd")->StoreBytes() != stored)
        Fail("writing what was read back changes it");

    // Streamed in as the game streams a land of the world's index.
    qv::WriteWholeFile(folder.Working() + kName, bytes);
    auto rootInfo = std::make_unique<LandInfo>();
    rootInfo->filename = "world.lnd";
    rootInfo->bounds = {0, 0, kWorldW, kWorldH};
    map.landgraph = new LandGraph(std::move(rootInfo));
    auto info = std::make_unique<LandInfo>();
    info->filename = kName;
    info->bounds = land->bounds;
    LandInfo* own = info.get();
    map.landgraph->Insert(std::move(info), &map, 1);
    const CellPoint middle = Middle(land->bounds);
    land.reset();
    try {
        map.ReloadWindowAt(middle.x, middle.y);
    } catch (const qv::FileError&) {
        map.DeleteContents();
        return;
    } catch (const qv::ArchiveError&) {
        map.DeleteContents();
        return;
    }
    // Written back, as when the window moves away or the world is saved.
    map.ResetCells();
    own->SaveLand();
    try {
        Land::ReadFile(own->FilePath());
    } catch (const std::exception&) {
        Fail("the land the game wrote back is refused");
    }
    map.DeleteContents();
}

}  // namespace

QV_FUZZ_GAME_TARGET(Run)
