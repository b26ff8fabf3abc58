#pragma once
// Files by the game's own names. The game writes folder names with
// backslashes ("tmp\", "Images\") and keeps file names inside its stored files
// in whatever case they were typed; here '\' becomes '/' and each part of a
// name is found in its folder whatever its case.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace qv {

// A file that could not be read or written: the cause and the file's name.
class FileError : public std::runtime_error {
public:
    enum Cause { NotFound, Other };
    FileError(Cause cause, std::string fileName, const std::string& detail = {});
    Cause cause;
    std::string fileName;
};

// The game's name with '/' for '\'.
std::string ToSlashes(const std::string& name);
// The path of an existing file or folder named `name` (separators converted),
// matching each part whatever its case where the exact name is absent. From
// the first part that matches nothing on, the name keeps its own spelling.
std::string ResolvePath(const std::string& name);

// The whole file; FileError when it cannot be read.
std::vector<uint8_t> ReadWholeFile(const std::string& name);
// Writes (replaces) the whole file; FileError when it cannot be written, and
// then the file that was there is left as it was. Every file the game writes
// is replaced whole this way, never changed where it lies, so that files may
// share their bytes (ShareFile).
void WriteWholeFile(const std::string& name, const std::vector<uint8_t>& bytes);
// As WriteWholeFile, and the bytes and the new name are on the disk when it
// returns: they survive a power cut.
void WriteWholeFileDurably(const std::string& name, const std::vector<uint8_t>& bytes);
// Gives `to` the bytes of `from`, replacing what was there: the same file
// under a second name where the file system allows (nothing is copied), a
// copy otherwise. FileError when it cannot, and then `to` is left as it was.
void ShareFile(const std::string& from, const std::string& to);
// Puts every file in the folder and the folder's own list of names on the
// disk; FileError when the disk refuses.
void SyncFolderAndFiles(const std::string& folder);
// Puts the folder's list of names on the disk (names made, renamed or
// removed in it); FileError when the disk refuses.
void SyncFolder(const std::string& folder);

// A name read from a file that is to name a file in a known folder: not
// empty, no folder separator of either kind, not "." or "..", no NUL.
bool IsPlainFileName(const std::string& name);
// A name of a file inside some folder, perhaps in folders below it (parts
// split by '/' or '\\'), each part a plain file name: it cannot lead out.
bool IsNameWithinFolder(const std::string& name);
bool FileExists(const std::string& name);    // a regular file
bool FolderExists(const std::string& name);  // a folder
// What a regular file is now: the game replaces its files whole (another
// inode) and a file written where it lies gets a new time of change, so the
// same file, size and time of change mean the same bytes.
struct FileIdentity {
    uint64_t device = 0, inode = 0, size = 0;
    int64_t changed = 0;  // nanoseconds
    bool operator==(const FileIdentity&) const = default;
};
// False when `name` is no regular file.
bool IdentifyFile(const std::string& name, FileIdentity* out);
// The names of the regular files in a folder (not its subfolders), sorted;
// FileError when the folder cannot be listed.
std::vector<std::string> ListFiles(const std::string& folder);
// Makes the folder and any missing parents; FileError when it cannot.
void MakeFolder(const std::string& name);
// Removes the folder with everything in it; a missing one is no fault.
void RemoveFolder(const std::string& name);
// Gives a folder a new name, which must not exist yet; FileError when it
// cannot.
void RenameFolder(const std::string& from, const std::string& to);

// For tests: the change to files `count` changes from now (0: the next) fails
// as a full disk would; a change is a write, a shared file, a sync, a folder
// made or a rename. With `andAfter` every change after it fails too, as when
// the machine stops. A negative count lifts it.
void FailFileChanges(int count, bool andAfter = false);
// True while a failure set by FailFileChanges has not come yet (false once
// it came, though with `andAfter` changes go on failing until lifted).
bool FileFailurePending();

}  // namespace qv
