#pragma once
// The game's settings, kept in a plain text file of "key=value" lines: "Path"
// (the game folder), "Sound", "Midi", "Windows" and "Build". A missing file or
// key leaves the caller's default.

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace qv {

class Settings {
public:
    // Reads the file; a missing file gives empty settings. Lines without '='
    // and lines starting with '#' are skipped; blanks around keys and values
    // are dropped.
    static Settings Load(const std::string& fileName);
    // Writes every key in order; FileError when the file cannot be written.
    void Save(const std::string& fileName) const;
    // Sets `values` (key, value) in the file: a line of the same key takes the
    // new value, a key without a line gets one at the end, and every other
    // line (comments, other keys, lines of the user's own) stays as it was.
    // The folder is made when missing and the file is replaced whole, never
    // left half-written; FileError when it cannot be written.
    static void WriteValues(const std::string& fileName,
                            const std::vector<std::pair<std::string, std::string>>& values);

    bool Has(const std::string& key) const { return m_values.count(key) != 0; }
    std::string GetString(const std::string& key, const std::string& fallback = {}) const;
    // The value as an integer; `fallback` when missing or not a number.
    long GetInt(const std::string& key, long fallback = 0) const;
    void SetString(const std::string& key, const std::string& value);
    void SetInt(const std::string& key, long value);

private:
    std::map<std::string, std::string> m_values;
};

}  // namespace qv
