#pragma once
// The plain references of the save benchmarks: a saved slot's files read by
// name, and the same bytes written as plain files into a folder and synced
// once.

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/Files.h"

namespace bench {

using SlotBytes = std::map<std::string, std::vector<uint8_t>>;

// The files of a saved slot, by name.
inline SlotBytes SlotFiles(const std::filesystem::path& slot) {
    SlotBytes files;
    for (const std::string& name : qv::ListFiles(slot.string() + "/"))
        files[name] = qv::ReadWholeFile((slot / name).string());
    return files;
}

// Writes the files into a fresh folder `out` and syncs them once; false when
// a write fails.
inline bool WritePlainly(const SlotBytes& files, const std::filesystem::path& out) {
    std::filesystem::remove_all(out);
    std::filesystem::create_directories(out);
    bool ok = true;
    for (const auto& [name, content] : files) {
        const int fd = ::open((out / name).c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        if (fd < 0 ||
            ::write(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size()))
            ok = false;
        if (fd >= 0) ::close(fd);
    }
    const int folder = ::open(out.c_str(), O_RDONLY | O_DIRECTORY);
    ::syncfs(folder);
    ::close(folder);
    return ok;
}

}  // namespace bench
