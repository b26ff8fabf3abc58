// The table of saved games ("saved") from untrusted bytes: read or refused
// with the archive's error; a table that reads stores to the same bytes.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "RoundTrip.h"
#include "platform/Archive.h"
#include "shell/MainFrm.h"

QV_FUZZ_PREPARE()

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::MemoryBudget budget(size);
    const std::vector<uint8_t> bytes(data, data + size);
    try {
        const auto slots = savefile::ReadSaveSlotsFrom(bytes, "saved");
        // Only the shortest length prefix is written back, so compare what
        // the stored bytes read as.
        const auto stored = savefile::StoreSaveSlots(slots);
        if (savefile::StoreSaveSlots(savefile::ReadSaveSlotsFrom(stored, "again")) != stored)
            std::abort();
    } catch (const qv::ArchiveError&) {
    }
    return 0;
}
