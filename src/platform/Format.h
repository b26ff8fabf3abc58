#pragma once
// printf-style formatting into a string, bounded by the size of the result.

#include <cstdarg>
#include <string>

namespace qv {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string FormatV(const char* format, va_list args);

}  // namespace qv
