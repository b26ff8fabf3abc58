// "Position" files from untrusted bytes: a plain file name is read, or the
// bytes are refused with the archive's error; no name that reaches another
// folder ever comes out.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "RoundTrip.h"
#include "platform/Archive.h"
#include "platform/Files.h"
#include "shell/MainFrm.h"

QV_FUZZ_PREPARE()

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::MemoryBudget budget(size);
    const std::vector<uint8_t> bytes(data, data + size);
    try {
        const std::string name = savefile::ReadPositionFrom(bytes, "Position");
        if (!qv::IsPlainFileName(name)) std::abort();
        if (savefile::ReadPositionFrom(savefile::StorePosition(name), "again") != name)
            std::abort();
    } catch (const qv::ArchiveError&) {
    }
    return 0;
}
