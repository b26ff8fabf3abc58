// "players" files from untrusted bytes: the party group alone is read or the
// bytes are refused with the archive's error; a party that reads stores to
// bytes that read back, and from then on stores the same bytes (a creature
// read from odd bytes may settle its fields once, as a dead one its hit
// points).

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/Archive.h"
#include "shell/MainFrm.h"
#include "world/Group.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    std::unique_ptr<Group> party;
    try {
        party = CMainFrame::ReadPlayersFrom(bytes, "players");
    } catch (const qv::ArchiveError&) {
        return 0;
    }
    auto roundTrip = [](std::unique_ptr<Group> group) {
        const std::vector<uint8_t> stored = CMainFrame::StorePlayers(*group);
        group->RemoveFromMap();
        return std::pair{stored, CMainFrame::ReadPlayersFrom(stored, "again")};
    };
    auto [first, settled] = roundTrip(std::move(party));
    (void)first;
    auto [stored, again] = roundTrip(std::move(settled));
    const bool same = CMainFrame::StorePlayers(*again) == stored;
    again->RemoveFromMap();
    if (!same) std::abort();
    return 0;
}
