#pragma once
// The script variables of a world: named numbers that the conversation and
// event scripts read and set. The editor reads them from a text file of
// lines, each a name, a blank and a decimal value.

#include <cstdint>
#include <list>
#include <memory>
#include <string_view>
#include <vector>

class Object;

// The variables of a file's bytes, one per line (a last line without its end
// counts; the empty part after a final line end does not). Each line, with
// blanks trimmed at both ends, is cut at its first blank: the name before,
// the number after. A line without a blank has an empty name and the whole
// line as the number's text.
std::list<std::unique_ptr<Object>> ParseScriptVariables(const std::vector<uint8_t>& bytes);

// A decimal number at the start of text: leading blanks skipped, an optional
// sign, then the digits up to the first other character; 0 without digits.
// Beyond the 32-bit range it is held at the range's edge.
int32_t ParseScriptNumber(std::string_view text);

// The lines that ParseScriptVariables reads back as the same variables.
std::vector<uint8_t> StoreScriptVariables(const std::list<std::unique_ptr<Object>>& variables);
