// World files from untrusted bytes, read as a saved game into a running frame:
// every input is read or refused with the archive's error, never anything
// else, and the try that comes before every read agrees with the read; a
// world that reads writes bytes that read back, and from then on writes the
// same bytes (odd bytes may settle once, as a group's cached hit points do
// when its members are counted again).

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Archive.h"
#include "platform/Files.h"
#include "shell/MainFrm.h"
#include "world/Map.h"

namespace {

CMainFrame& Frame() {
    static CMainFrame* frame = [] {
        auto* f = new CMainFrame;
        const std::string dir = (std::filesystem::temp_directory_path() /
                                 ("qv-fuzz-world-" + std::to_string(::getpid())))
                                    .string();
        std::filesystem::create_directories(dir + "/tmp");
        f->m_Play.m_strGameFolder = dir + "/";
        f->m_Play.m_strCurrentFolder = dir + "/tmp/";
        f->m_World.CreateRootGroups();
        return f;
    }();
    return *frame;
}

void Read(CMainFrame& frame, const std::vector<uint8_t>& bytes, const char* name) {
    qv::Archive ar(bytes, name);
    frame.m_Play.m_bLoadingGame = 1;
    try {
        frame.Serialize(ar);
    } catch (...) {
        frame.m_Play.m_bLoadingGame = 0;
        throw;
    }
    frame.m_Play.m_bLoadingGame = 0;
}

std::vector<uint8_t> Store(CMainFrame& frame) {
    qv::Archive ar("again.qvr");
    frame.Serialize(ar);
    return ar.TakeBytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CMainFrame& frame = Frame();
    const std::vector<uint8_t> bytes(data, data + size);
    // Every read is tried first; what the try accepts, the read must take.
    bool tried = true;
    frame.m_Play.m_bLoadingGame = 1;
    try {
        frame.m_Play.CheckWorldRead(bytes, "fuzz.qvr");
    } catch (const qv::ArchiveError&) {
        tried = false;
    }
    frame.m_Play.m_bLoadingGame = 0;
    try {
        Read(frame, bytes, "fuzz.qvr");
    } catch (const qv::ArchiveError&) {
        if (tried) std::abort();
        return 0;
    }
    if (!tried) std::abort();
    frame.m_Play.m_bSaving = 1;
    Read(frame, Store(frame), "settled.qvr");
    const std::vector<uint8_t> stored = Store(frame);
    Read(frame, stored, "stored.qvr");
    const std::vector<uint8_t> again = Store(frame);
    frame.m_Play.m_bSaving = 0;
    if (again != stored) std::abort();
    return 0;
}
