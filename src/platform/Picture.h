#pragma once
// Pictures of palette indices read from .bmp bytes with SDL's reader.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qv {

// A picture of palette indices, rows counted from the top.
struct IndexedPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;                        // width * height indices
    std::array<std::array<uint8_t, 3>, 256> palette{};  // red, green, blue; unused entries 0
};

// Decodes a .bmp held in memory: 1-, 4- and 8-bit palette pictures, plain or
// run-length compressed, each pixel given as its palette index. Answers an
// empty string on success; otherwise why it failed, and `out` is untouched.
std::string DecodeIndexedBmp(const std::vector<uint8_t>& bytes, IndexedPicture& out);

}  // namespace qv
