#include "platform/Settings.h"

#include <cstdlib>

#include "platform/Files.h"

namespace qv {

namespace {
std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
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
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        size_t eq = line.find('=');
        if (eq == std::string::npos || Trim(line).starts_with('#')) continue;
        std::string key = Trim(line.substr(0, eq));
        if (!key.empty()) s.m_values[key] = Trim(line.substr(eq + 1));
    }
    return s;
}

void Settings::Save(const std::string& fileName) const {
    std::string text;
    for (const auto& [k, v] : m_values) text += k + "=" + v + "\n";
    WriteWholeFile(fileName, std::vector<uint8_t>(text.begin(), text.end()));
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
