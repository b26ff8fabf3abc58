#include "platform/Settings.h"

#include <cstdlib>
#include <string_view>

#include "platform/Files.h"

namespace qv {

namespace {
std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

// The lines of a text, without their line ends; a last line without one
// counts too.
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
}

// The key of a "key=value" line; false for comments and lines without '='
// or without a key.
bool KeyOf(const std::string& line, std::string& key) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos || Trim(line).starts_with('#')) return false;
    key = Trim(line.substr(0, eq));
    return !key.empty();
}

// The UTF-8 byte-order mark some editors put before the first line.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// Takes a byte-order mark off the front of `text`; answers it (empty when
// there was none).
std::string TakeMark(std::string& text) {
    if (!text.starts_with(kByteOrderMark)) return {};
    text.erase(0, kByteOrderMark.size());
    return std::string(kByteOrderMark);
}

// The file's line end: that of its first line, "\n" when it has none.
std::string LineEndOf(const std::string& text) {
    const size_t end = text.find('\n');
    return end != std::string::npos && end > 0 && text[end - 1] == '\r' ? "\r\n" : "\n";
}
}  // namespace

Settings Settings::Load(const std::string& fileName) {
    Settings s;
    std::vector<uint8_t> bytes;
    try {
        bytes = ReadWholeFile(fileName);
    } catch (const FileError& e) {
        if (e.cause == FileError::NotFound) return s;
        throw;
    }
    std::string text(bytes.begin(), bytes.end());
    TakeMark(text);
    for (const std::string& line : Lines(text)) {
        std::string key;
        if (KeyOf(line, key)) s.m_values[key] = Trim(line.substr(line.find('=') + 1));
    }
    return s;
}

void Settings::Save(const std::string& fileName) const {
    std::string text;
    for (const auto& [k, v] : m_values) text += k + "=" + v + "\n";
    WriteWholeFile(fileName, std::vector<uint8_t>(text.begin(), text.end()));
}

void Settings::WriteValues(const std::string& fileName,
                           const std::vector<std::pair<std::string, std::string>>& values) {
    std::string text;
    try {
        const std::vector<uint8_t> bytes = ReadWholeFile(fileName);
        text.assign(bytes.begin(), bytes.end());
    } catch (const FileError& e) {
        if (e.cause != FileError::NotFound) throw;
    }
    // The mark and the line ends stay as the file has them.
    std::string out = TakeMark(text);
    const std::string lineEnd = LineEndOf(text);
    std::vector<bool> written(values.size(), false);
    const std::vector<std::string> lines = Lines(text);
    for (size_t n = 0; n < lines.size(); ++n) {
        std::string line = lines[n];
        // A last line without an end gets the file's; every other keeps its own.
        const bool ended = n + 1 < lines.size() || text.ends_with('\n');
        const std::string end = !ended ? lineEnd : line.ends_with('\r') ? "\r\n" : "\n";
        if (line.ends_with('\r')) line.pop_back();
        std::string key;
        bool keep = true;
        if (KeyOf(line, key)) {
            for (size_t i = 0; i < values.size(); ++i) {
                if (values[i].first != key) continue;
                // A key listed twice keeps only its first line.
                keep = !written[i];
                line = key + "=" + values[i].second;
                written[i] = true;
            }
        }
        if (keep) out += line + end;
    }
    for (size_t i = 0; i < values.size(); ++i)
        if (!written[i]) out += values[i].first + "=" + values[i].second + lineEnd;
    const size_t slash = fileName.find_last_of("/\\");
    if (slash != std::string::npos && slash > 0) MakeFolder(fileName.substr(0, slash));
    WriteWholeFile(fileName, std::vector<uint8_t>(out.begin(), out.end()));
}

std::string Settings::GetString(const std::string& key, const std::string& fallback) const {
    auto it = m_values.find(key);
    return it == m_values.end() ? fallback : it->second;
}

long Settings::GetInt(const std::string& key, long fallback) const {
    auto it = m_values.find(key);
    if (it == m_values.end() || it->second.empty()) return fallback;
    char* end = nullptr;
    long v = std::strtol(it->second.c_str(), &end, 0);
    return *end == '\0' ? v : fallback;
}

void Settings::SetString(const std::string& key, const std::string& value) {
    m_values[key] = value;
}

void Settings::SetInt(const std::string& key, long value) {
    m_values[key] = std::to_string(value);
}

}  // namespace qv
