#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace qv {

namespace fs = std::filesystem;

FileError::FileError(Cause c, std::string name, const std::string& detail)
    : std::runtime_error(name + (c == NotFound ? ": not found" : ": cannot be used") +
                         (detail.empty() ? "" : " (" + detail + ")")),
      cause(c),
      fileName(std::move(name)) {}

std::string ToSlashes(const std::string& name) {
    std::string s = name;
    for (char& c : s)
        if (c == '\\') c = '/';
    return s;
}

namespace {
bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x != y && std::tolower(x) != std::tolower(y)) return false;
    }
    return true;
}
}  // namespace

std::string ResolvePath(const std::string& name) {
    std::string path = ToSlashes(name);
    std::error_code ec;
    if (path.empty() || fs::exists(path, ec)) return path;

    // Walk the parts, finding each in its folder.
    fs::path result = path[0] == '/' ? fs::path("/") : fs::path();
    size_t pos = 0;
    while (pos <= path.size()) {
        size_t end = path.find('/', pos);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(pos, end - pos);
        pos = end + 1;
        if (part.empty() || part == ".") continue;
        fs::path exact = result / part;
        if (part != ".." && !fs::exists(exact, ec)) {
            fs::path folder = result.empty() ? fs::path(".") : result;
            fs::path found;
            for (fs::directory_iterator it(folder, ec), last; !ec && it != last; it.increment(ec)) {
                std::string entry = it->path().filename().string();
                if (SameIgnoringCase(entry, part)) {
                    found = result / entry;
                    break;
                }
            }
            if (found.empty()) {
                // Not there in any case: the rest keeps its own spelling.
                result = exact;
                if (pos < path.size()) result /= path.substr(pos);
                return result.string();
            }
            result = found;
        } else {
            result = exact;
        }
    }
    return result.string();
}

namespace {
struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The error of a file that could not be opened, from errno.
[[noreturn]] void ThrowOpenError(const std::string& name) {
    const int err = errno;
    throw FileError(err == ENOENT || err == ENOTDIR ? FileError::NotFound : FileError::Other, name,
                    std::strerror(err));
}
}  // namespace

std::vector<uint8_t> ReadWholeFile(const std::string& name) {
    std::string path = ResolvePath(name);
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f) ThrowOpenError(name);
    std::vector<uint8_t> bytes;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0)
        bytes.insert(bytes.end(), buf, buf + n);
    if (std::ferror(f.get())) throw FileError(FileError::Other, name, "read error");
    return bytes;
}

namespace {

// The failure a test asked for (FailFileChanges): changes left before it, or
// -1 for none.
int s_changesBeforeFailure = -1;
bool s_failAfterToo = false;
bool s_failureCame = false;

// Counts a change to files; true when this one is to fail.
bool ChangeFails() {
    if (s_changesBeforeFailure < 0) return false;
    if (s_changesBeforeFailure > 0) {
        --s_changesBeforeFailure;
        return false;
    }
    s_failureCame = true;
    if (!s_failAfterToo) s_changesBeforeFailure = -1;
    return true;
}

void ThrowIfChangeFails(const std::string& name) {
    if (ChangeFails()) throw FileError(FileError::Other, name, std::strerror(ENOSPC));
}

// Puts an open file's bytes on the disk; false when the disk refuses.
bool SyncPath(const std::string& path, bool folder) {
    const char* at = path.empty() ? "." : path.c_str();
    const int fd = ::open(at, O_RDONLY | O_CLOEXEC | (folder ? O_DIRECTORY : 0));
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

// The folder a path lies in ("." for a bare name).
std::string FolderOf(const std::string& path) {
    const fs::path parent = fs::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

void WriteWhole(const std::string& name, const std::vector<uint8_t>& bytes, bool durable) {
    // The bytes go to a file beside it that then takes its place, so a write
    // that fails half-way (a full disk) leaves the old file whole.
    ThrowIfChangeFails(name);
    const std::string path = ResolvePath(name);
    const std::string part = path + ".part";
    std::unique_ptr<std::FILE, FileCloser> f(std::fopen(part.c_str(), "wb"));
    if (!f) ThrowOpenError(name);
    bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f.get()) == bytes.size();
    if (durable) written = std::fflush(f.get()) == 0 && ::fsync(::fileno(f.get())) == 0 && written;
    written = std::fclose(f.release()) == 0 && written;
    if (!written || std::rename(part.c_str(), path.c_str()) != 0) {
        const std::string detail = written ? std::strerror(errno) : "write error";
        std::remove(part.c_str());
        throw FileError(FileError::Other, name, detail);
    }
    if (durable && !SyncPath(FolderOf(path), true))
        throw FileError(FileError::Other, name, std::strerror(errno));
}

}  // namespace

bool IdentifyFile(const std::string& name, FileIdentity* out) {
    struct stat st {};
    if (::stat(ResolvePath(name).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
    out->device = static_cast<uint64_t>(st.st_dev);
    out->inode = static_cast<uint64_t>(st.st_ino);
    out->size = static_cast<uint64_t>(st.st_size);
    out->changed = int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec;
    return true;
}

void WriteWholeFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    WriteWhole(name, bytes, false);
}

void WriteWholeFileDurably(const std::string& name, const std::vector<uint8_t>& bytes) {
    WriteWhole(name, bytes, true);
}

void ShareFile(const std::string& from, const std::string& to) {
    const std::string source = ResolvePath(from);
    const std::string path = ResolvePath(to);
    const std::string part = path + ".part";
    std::remove(part.c_str());
    // A second name for the same file, put in place by a rename; the file a
    // symbolic link names is shared, not the link.
    if (::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, part.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        const bool refused = ChangeFails();
        if (refused || std::rename(part.c_str(), path.c_str()) != 0) {
            const int err = refused ? ENOSPC : errno;
            std::remove(part.c_str());
            throw FileError(FileError::Other, to, std::strerror(err));
        }
        // Both names were already the same file: the rename left the spare.
        std::remove(part.c_str());
        return;
    }
    // Across file systems, or where names cannot share a file: a copy.
    WriteWholeFile(to, ReadWholeFile(from));
}

void SyncFolderAndFiles(const std::string& folder) {
    const std::string path = ResolvePath(folder);
    const std::vector<std::string> names = ListFiles(folder);
    // Every file's writing is started before the first is waited for, so the
    // disk takes them together.
    for (const std::string& name : names) {
        const int fd = ::open((fs::path(path) / name).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;  // the wait below reports it
        ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
        ::close(fd);
    }
    for (const std::string& name : names) {
        const std::string file = (fs::path(path) / name).string();
        if (ChangeFails() || !SyncPath(file, false))
            throw FileError(FileError::Other, folder + name, std::strerror(errno ? errno : EIO));
    }
    SyncFolder(folder);
}

void SyncFolder(const std::string& folder) {
    if (ChangeFails() || !SyncPath(ResolvePath(folder), true))
        throw FileError(FileError::Other, folder, std::strerror(errno ? errno : EIO));
}

void FailFileChanges(int count, bool andAfter) {
    s_changesBeforeFailure = count < 0 ? -1 : count;
    s_failAfterToo = andAfter;
    s_failureCame = false;
}

bool FileFailurePending() {
    return s_changesBeforeFailure >= 0 && !s_failureCame;
}

bool IsPlainFileName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    return name.find_first_of(std::string("/\\:\0", 4)) == std::string::npos;
}

bool IsNameWithinFolder(const std::string& name) {
    size_t start = 0;
    for (;;) {
        const size_t end = name.find_first_of("/\\", start);
        if (!IsPlainFileName(name.substr(start, end - start))) return false;
        if (end == std::string::npos) return true;
        start = end + 1;
    }
}

bool FileExists(const std::string& name) {
    std::error_code ec;
    return fs::is_regular_file(ResolvePath(name), ec);
}

bool FolderExists(const std::string& name) {
    std::error_code ec;
    return fs::is_directory(ResolvePath(name), ec);
}

std::vector<std::string> ListFiles(const std::string& folder) {
    std::error_code ec;
    std::vector<std::string> names;
    const std::string path = ResolvePath(folder);
    fs::directory_iterator it(path, ec), last;
    if (ec)
        throw FileError(
            ec == std::errc::no_such_file_or_directory ? FileError::NotFound : FileError::Other,
            folder, ec.message());
    for (; it != last; it.increment(ec)) {
        if (ec) break;
        std::error_code kind;
        if (it->is_regular_file(kind)) names.push_back(it->path().filename().string());
    }
    if (ec) throw FileError(FileError::Other, folder, ec.message());
    std::sort(names.begin(), names.end());
    return names;
}

void MakeFolder(const std::string& name) {
    ThrowIfChangeFails(name);
    std::error_code ec;
    const std::string path = ResolvePath(name);
    fs::create_directories(path, ec);
    if (ec || !fs::is_directory(path, ec)) throw FileError(FileError::Other, name, ec.message());
}

void RemoveFolder(const std::string& name) {
    std::error_code ec;
    fs::remove_all(ResolvePath(name), ec);
}

void RenameFolder(const std::string& from, const std::string& to) {
    ThrowIfChangeFails(from);
    std::error_code ec;
    const std::string target = ResolvePath(to);
    if (fs::exists(target, ec)) throw FileError(FileError::Other, to, "already there");
    fs::rename(ResolvePath(from), target, ec);
    if (ec) throw FileError(FileError::Other, from, ec.message());
}

}  // namespace qv
