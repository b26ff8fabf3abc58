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
// then the file that was there is left as it was.
void WriteWholeFile(const std::string& name, const std::vector<uint8_t>& bytes);

// A name read from a file that is to name a file in a known folder: not
// empty, no folder separator of either kind, not "." or "..", no NUL.
bool IsPlainFileName(const std::string& name);
// A name of a file inside some folder, perhaps in folders below it (parts
// split by '/' or '\\'), each part a plain file name: it cannot lead out.
bool IsNameWithinFolder(const std::string& name);
bool FileExists(const std::string& name);    // a regular file
bool FolderExists(const std::string& name);  // a folder
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

}  // namespace qv
