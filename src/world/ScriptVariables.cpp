#include "world/ScriptVariables.h"

#include <algorithm>
#include <limits>
#include <string>

#include "world/Object.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::unique_ptr<Object> VariableOfLine(std::string_view line) {
    line = Trim(line);
    std::string_view name;
    std::string_view number = line;
    for (size_t i = 0; i < line.size(); ++i)
        if (IsBlank(line[i])) {
            name = line.substr(0, i);
            number = line.substr(i + 1);
            break;
        }
    auto variable = std::make_unique<Object>(std::string(name));
    int value = ParseScriptNumber(number);
    variable->SetValue(&value);
    return variable;
}

}  // namespace

int32_t ParseScriptNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    // Counted in 64 bits and held at the edge once past it: no digit string
    // overflows.
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        magnitude = std::min<int64_t>(magnitude * 10 + (text[i] - '0'), kLimit);
    if (negative) return static_cast<int32_t>(-magnitude);
    return static_cast<int32_t>(std::min<int64_t>(magnitude, kLimit - 1));
}

std::list<std::unique_ptr<Object>> ParseScriptVariables(const std::vector<uint8_t>& bytes) {
    std::list<std::unique_ptr<Object>> variables;
    const std::string_view all(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\n', start);
        if (end == std::string_view::npos) end = all.size();
        variables.push_back(VariableOfLine(all.substr(start, end - start)));
        start = end + 1;
    }
    return variables;
}

std::vector<uint8_t> StoreScriptVariables(const std::list<std::unique_ptr<Object>>& variables) {
    std::string text;
    for (const auto& v : variables) {
        if (!v) continue;
        if (!v->m_strSpecialName.empty()) text += v->m_strSpecialName + ' ';
        text += std::to_string(v->GetValue()) + '\n';
    }
    return {text.begin(), text.end()};
}
