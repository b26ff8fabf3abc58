// Land files from untrusted bytes: a land is read or refused with the
// archive's error, never anything else; a land that reads stores again to
// bytes that read back to the same land.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/Archive.h"
#include "world/Land.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    std::unique_ptr<Land> land;
    try {
        land = Land::FromBytes(bytes, "fuzz.lnd");
    } catch (const qv::ArchiveError&) {
        return 0;
    }
    land->ComputeEncounterRate();
    const std::vector<uint8_t> stored = land->StoreBytes();
    std::unique_ptr<Land> again = Land::FromBytes(stored, "again.lnd");
    if (again->StoreBytes() != stored) std::abort();
    return 0;
}
