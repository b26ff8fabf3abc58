#pragma once
// Helpers of the creature look tests: a folder of their own for frame files,
// and pictures made of cells of one palette index each, in a palette whose
// every colour is a different screen pixel.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "media/DIBitmap.h"

namespace looks_test {

// Colours with a meaning for the recoloured form, as 5-6-5 parts.
inline constexpr int kGreen = 250;  // (0, 30, 0): a shirt
inline constexpr int kBrown = 251;  // (20, 10, 5): trousers
inline constexpr int kHair = 252;   // (28, 30, 4)
inline constexpr int kSkin = 253;   // (28, 44, 20)

struct Parts {
    int r, g, b;
};

inline Parts PartsOf(int index) {
    switch (index) {
        case kGreen:
            return {0, 30, 0};
        case kBrown:
            return {20, 10, 5};
        case kHair:
            return {28, 30, 4};
        case kSkin:
            return {28, 44, 20};
        default:
            return {index % 32, index % 64, index / 32};
    }
}

inline const Palette& TestPalette() {
    static const Palette palette = [] {
        Palette p{};
        for (int i = 0; i < 256; ++i) {
            const Parts c = PartsOf(i);
            p[i] = {static_cast<uint8_t>(c.r * 8), static_cast<uint8_t>(c.g * 4),
                    static_cast<uint8_t>(c.b * 8)};
        }
        return p;
    }();
    return palette;
}

// The screen pixel of a test palette index.
inline uint16_t IndexPixel(int index) {
    const Parts c = PartsOf(index);
    return MakeScreenPixel(c.r, c.g, c.b);
}

// A picture of cells side by side, cell k all of index indices[k]; Paint, when
// set, draws over it.
struct Cells {
    Cells(int w, int h, std::vector<int> cells) : width(w), height(h), indices(std::move(cells)) {}
    int width, height;
    std::vector<int> indices;
    std::function<void(CDIBitmap&)> Paint;
};

class TestFolder {
public:
    explicit TestFolder(const std::string& name) {
        m_Dir = std::filesystem::path(::testing::TempDir()) /
                ("looks_" + name + "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(m_Dir);
        std::filesystem::create_directories(m_Dir);
    }
    ~TestFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_Dir, ignored);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    std::string Path() const { return m_Dir.string() + "/"; }

    // Writes the picture as an 8-bit .bmp; a name may hold '\' folders.
    void Bitmap(std::string name, const Cells& cells) const {
        for (char& c : name)
            if (c == '\\') c = '/';
        const std::filesystem::path path = m_Dir / name;
        std::filesystem::create_directories(path.parent_path());
        CDIBitmap bm;
        bm.Create(cells.width * static_cast<int>(cells.indices.size()), cells.height,
                  TestPalette());
        for (size_t k = 0; k < cells.indices.size(); ++k)
            bm.FillRect(static_cast<int>(k) * cells.width, 0, static_cast<int>(k + 1) * cells.width,
                        cells.height, static_cast<uint8_t>(cells.indices[k]));
        if (cells.Paint) cells.Paint(bm);
        ASSERT_TRUE(bm.Save(path.string()));
    }

private:
    std::filesystem::path m_Dir;
};

}  // namespace looks_test
