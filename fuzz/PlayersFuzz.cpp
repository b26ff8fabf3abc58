// "players" files from untrusted bytes: the party group alone is read or the
// bytes are refused with the archive's error; a party that reads stores to
// bytes that read back, and from then on stores the same bytes (a creature
// read from odd bytes may settle its fields once, as a dead one its hit
// points). The party made of it has its leader in slot 0 and no creature in
// two slots. Each member is drawn as the party's windows show it.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "RoundTrip.h"
#include "creatures/Player.h"
#include "platform/Archive.h"
#include "platform/Surface.h"
#include "play/Play.h"
#include "shell/MainFrm.h"
#include "windows/OpenWindows.h"
#include "windows/PlayerInfoWnd.h"
#include "windows/PlayerStatsWnd.h"
#include "world/Group.h"
#include "world/World.h"

QV_FUZZ_PREPARE()

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::MemoryBudget budget(size);
    const std::vector<uint8_t> bytes(data, data + size);
    std::unique_ptr<Group> party;
    try {
        party = savefile::ReadPlayersFrom(bytes, "players");
    } catch (const qv::ArchiveError&) {
        return 0;
    }
    auto roundTrip = [](std::unique_ptr<Group> group) {
        const std::vector<uint8_t> stored = savefile::StorePlayers(*group);
        group->RemoveFromMap();
        return std::pair{stored, savefile::ReadPlayersFrom(stored, "again")};
    };
    auto [first, settled] = roundTrip(std::move(party));
    (void)first;
    auto [stored, again] = roundTrip(std::move(settled));
    const bool same = savefile::StorePlayers(*again) == stored;
    World world;
    Player* leader = world.BindParty(again.get());
    bool partyWhole = !leader || (world.m_Party[0].Get() == leader && leader->m_iPartySlot < 0);
    for (size_t i = 1; i < world.m_Party.size(); ++i) {
        Player* p = world.m_Party[i].Get();
        if (!p) continue;
        partyWhole = partyWhole && p != leader && p->m_iPartySlot == static_cast<int32_t>(i);
        for (size_t j = i + 1; j < world.m_Party.size(); ++j)
            partyWhole = partyWhole && world.m_Party[j].Get() != p;
    }
    // Each member read is drawn as the party's statistics and information
    // windows show it.
    {
        Play play(world);
        OpenWindows open;
        qv::Surface screen;
        screen.Create(640, 480);
        for (Member* member : again->Members())
            if (auto* p = qv::DynamicCast<Player>(member)) {
                CPlayerStatsWnd(play, p, open).Paint(&screen);
                CPlayerInfoWnd(play, p, open).Paint(&screen);
            }
    }
    again->RemoveFromMap();
    if (!same || !partyWhole) std::abort();
    return 0;
}
