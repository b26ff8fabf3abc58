#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "media/DIBitmap.h"
#include "support/TestPaths.h"

namespace {

std::string Fixture() {
    return test_support::TestDataFolder() + "/tiny8.bmp";
}

std::vector<char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void WriteAll(const std::string& path, const std::vector<char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

TEST(DIBitmap, ReadsAnEightBitFileWithRowsCountedFromTheTop) {
    CDIBitmap bm;
    std::string error;
    ASSERT_TRUE(bm.Load(Fixture(), &error)) << error;
    EXPECT_EQ(bm.Width(), 5);
    EXPECT_EQ(bm.Height(), 3);
    // The file stores the bottom row first; the top row holds 200 at column 3.
    EXPECT_EQ(bm.GetPixel(3, 0), 200);
    EXPECT_EQ(bm.GetPixel(0, 0), 1);
    EXPECT_EQ(bm.GetPixel(4, 2), 77);
    EXPECT_EQ(bm.GetPixel(1, 1), 6);
    EXPECT_EQ(bm.GetPixel(5, 0), 0);  // outside
    EXPECT_EQ(bm.GetPalette()[200], (PaletteEntry{10, 20, 30}));
    // Stored bits: the first stored row is the bottom one, padded to 8 bytes.
    ASSERT_EQ(bm.Stride(), 8);
    EXPECT_EQ(bm.StoredBits()[4], 77);
    EXPECT_EQ(bm.StoredBits()[16 + 3], 200);
    EXPECT_EQ(bm.GetTransparentColour(), 0);
}

TEST(DIBitmap, SavedPicturesReadBackAlike) {
    CDIBitmap bm(7, 4);
    bm.SetPixel(6, 0, 9);
    bm.SetPixel(0, 3, 250);
    const std::string path = ::testing::TempDir() + "dib_roundtrip.bmp";
    ASSERT_TRUE(bm.Save(path));
    CDIBitmap back;
    ASSERT_TRUE(back.Load(path));
    EXPECT_EQ(back.GetPixel(6, 0), 9);
    EXPECT_EQ(back.GetPixel(0, 3), 250);
    EXPECT_EQ(back.GetPalette(), GetGamePalette());
    std::remove(path.c_str());
}

TEST(DIBitmap, BadFilesFailWithTheirNameAndLeaveThePictureEmpty) {
    CDIBitmap bm;
    std::string error;
    EXPECT_FALSE(bm.Load("/nonexistent/none.bmp", &error));
    EXPECT_EQ(error, "/nonexistent/none.bmp: not found");
    const std::vector<char> good = ReadAll(Fixture());
    ASSERT_EQ(good.size(), 1078u + 24u);
    const std::string path = ::testing::TempDir() + "dib_bad.bmp";
    struct Case {
        const char* why;
        std::vector<char> bytes;
    };
    std::vector<Case> cases;
    cases.push_back({"pixels cut short", {good.begin(), good.end() - 1}});
    cases.push_back({"palette cut short", {good.begin(), good.begin() + 100}});
    cases.push_back({"not a bitmap file", {good.begin(), good.begin() + 20}});
    auto wrongDepth = good;
    wrongDepth[28] = 24;
    cases.push_back({"no palette: only pictures with a palette are read", wrongDepth});
    auto huge = good;
    huge[22] = 0x00;
    huge[23] = 0x00;
    huge[24] = 0x01;  // 65536 rows
    cases.push_back({"bad picture size", huge});
    for (const Case& c : cases) {
        WriteAll(path, c.bytes);
        bm.Create(2, 2);
        EXPECT_FALSE(bm.Load(path, &error)) << c.why;
        EXPECT_EQ(error, path + ": " + c.why);
        EXPECT_TRUE(bm.IsEmpty());
    }
    std::remove(path.c_str());
}

// A .bmp of `width` x `height` with a palette of `colours` entries (entry i
// is red i * 10, green i * 20, blue i * 30) and `bits` as they lie in the file.
std::vector<char> Bmp(int width, int height, int depth, int compression, int colours,
                      const std::vector<uint8_t>& bits) {
    std::vector<char> out;
    auto le = [&](uint32_t v, int n) {
        for (int i = 0; i < n; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
    };
    const uint32_t offset = 14 + 40 + 4 * colours;
    out.push_back('B');
    out.push_back('M');
    le(offset + bits.size(), 4);
    le(0, 4);
    le(offset, 4);
    le(40, 4);
    le(width, 4);
    le(height, 4);
    le(1, 2);
    le(depth, 2);
    le(compression, 4);
    le(bits.size(), 4);
    le(0, 4);
    le(0, 4);
    le(colours, 4);
    le(0, 4);
    for (int i = 0; i < colours; ++i) le((i * 30) | (i * 20) << 8 | (i * 10) << 16, 4);  // B G R 0
    out.insert(out.end(), bits.begin(), bits.end());
    return out;
}

TEST(DIBitmap, PalettePicturesOfEveryDepthAndRunLengthPicturesAreRead) {
    struct Case {
        const char* what;
        std::vector<char> file;
        int width, height;
        std::vector<std::vector<int>> rows;  // from the top
    };
    const std::vector<Case> cases = {
        // Bottom row: a run of two 1s, a run of one 2, end of line; top row:
        // three 3s, end of line; end of picture.
        {"RLE8",
         Bmp(3, 2, 8, 1, 4, {2, 1, 1, 2, 0, 0, 3, 3, 0, 0, 0, 1}),
         3,
         2,
         {{3, 3, 3}, {1, 1, 2}}},
        // Two pixels a byte, the left one in the high half; rows padded to 4.
        {"4-bit",
         Bmp(3, 2, 4, 0, 4, {0x12, 0x30, 0, 0, 0x30, 0x10, 0, 0}),
         3,
         2,
         {{3, 0, 1}, {1, 2, 3}}},
        // Eight pixels a byte, the leftmost in the high bit.
        {"1-bit", Bmp(10, 1, 1, 0, 2, {0xB0, 0xC0, 0, 0}), 10, 1, {{1, 0, 1, 1, 0, 0, 0, 0, 1, 1}}},
    };
    const std::string path = ::testing::TempDir() + "dib_depths.bmp";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteAll(path, c.file);
        CDIBitmap bm;
        std::string error;
        ASSERT_TRUE(bm.Load(path, &error)) << error;
        ASSERT_EQ(bm.Width(), c.width);
        ASSERT_EQ(bm.Height(), c.height);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                EXPECT_EQ(bm.GetPixel(x, y), c.rows[y][x]) << x << "," << y;
        EXPECT_EQ(bm.GetPalette()[1], (PaletteEntry{10, 20, 30}));
    }
    std::remove(path.c_str());
}

// Runs of index 0 of at most 255 pixels over each row, each row ended, as an
// encoder writes a picture of that size.
std::vector<uint8_t> EveryPixelInRuns(int width, int height) {
    std::vector<uint8_t> runs;
    for (int y = 0; y < height; ++y) {
        for (int left = width; left > 0; left -= 255)
            runs.insert(runs.end(), {uint8_t(std::min(left, 255)), 0});
        runs.insert(runs.end(), {0, uint8_t(y + 1 < height ? 0 : 1)});
    }
    return runs;
}

// A run-length picture claims its size in its header and may hold no more than
// the mark that ends it: the size is weighed against what the picture's use
// can take before anything is decoded.
TEST(DIBitmap, APictureOfMorePixelsThanItsUseTakesIsRefusedBeforeItIsDecoded) {
    struct Row {
        const char* rule;
        int width, height;
        int64_t most;  // 0: no bound of the use's own
        bool read;
    };
    const Row rows[] = {
        {"as many pixels as its use takes", 4, 3, 12, true},
        {"one pixel more than its use takes", 4, 3, 11, false},
        {"fewer than its use takes", 4, 3, 13, true},
        {"the largest picture of the game", 4096, 4096, 0, true},
        {"a row more than the largest", 4096, 4097, 0, false},
        {"no use takes more than the largest", 4096, 4097, int64_t{1} << 30, false},
        {"the 120-byte file of 16384 x 16384 pixels", 16384, 16384, 0, false},
    };
    const std::string path = ::testing::TempDir() + "dib_claims.bmp";
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        // A picture read has every pixel written; the claim of one refused
        // is nothing but the end of the picture.
        WriteAll(path,
                 Bmp(r.width, r.height, 8, 1, 2,
                     r.read ? EveryPixelInRuns(r.width, r.height) : std::vector<uint8_t>{0, 1}));
        CDIBitmap bm;
        bm.Create(2, 2);
        std::string error;
        const bool read = r.most ? bm.Load(path, &error, r.most) : bm.Load(path, &error);
        EXPECT_EQ(read, r.read) << error;
        if (r.read) {
            EXPECT_EQ(bm.Width(), r.width);
            EXPECT_EQ(bm.Height(), r.height);
            continue;
        }
        EXPECT_TRUE(bm.IsEmpty());
        const int64_t most =
            std::min<int64_t>(r.most ? r.most : CDIBitmap::kMaxPixels, CDIBitmap::kMaxPixels);
        EXPECT_EQ(error, path + ": a picture of " + std::to_string(r.width) + " x " +
                             std::to_string(r.height) + " pixels, more than the " +
                             std::to_string(most) + " its use can take");
    }
    std::remove(path.c_str());
}

// Two bytes of a run-length stream write at most a run of 255 pixels: a
// picture of more pixels than its stream can write is refused before it is
// decoded, and so is compression other than 8-bit and 4-bit runs.
TEST(DIBitmap, ARunLengthPictureOfMorePixelsThanItsBytesCanWriteIsRefused) {
    const std::vector<uint8_t> four = {255, 0x12, 255, 0x34, 255, 0x56, 0, 1};  // 1020 at most
    const std::vector<uint8_t> odd = {255, 0x12, 255, 0x34, 255, 0x56, 0, 1, 0}, end = {0, 1};
    struct Row {
        const char* rule;
        int depth, compression, width, height;
        std::vector<uint8_t> stream;
        const char* says;  // null: read
    };
    const Row rows[] = {
        {"8-bit runs at the bound", 8, 1, 1020, 1, four, nullptr},
        {"8-bit runs a pixel short of it", 8, 1, 1019, 1, four, nullptr},
        {"8-bit runs a pixel beyond it", 8, 1, 1021, 1, four,
         "1021 x 1 pixels, more than the 1020 its 8"},
        {"4-bit runs at the bound", 4, 2, 340, 3, four, nullptr},
        {"4-bit runs a pixel short of it", 4, 2, 1019, 1, four, nullptr},
        {"4-bit runs a pixel beyond it", 4, 2, 1021, 1, four,
         "1021 x 1 pixels, more than the 1020 its 8"},
        {"an odd last byte writes nothing", 4, 2, 1021, 1, odd,
         "1021 x 1 pixels, more than the 1020 its 9"},
        {"the largest picture in 4-bit runs", 4, 2, 4096, 4096, EveryPixelInRuns(4096, 4096),
         nullptr},
        {"the 120-byte file in 4-bit runs", 4, 2, 4096, 4096, end,
         "4096 x 4096 pixels, more than the 255 its 2"},
        {"8-bit runs of 4-bit pixels", 4, 1, 2, 1, four,
         "compression 1 of 4-bit pixels is not read"},
        {"4-bit runs of 8-bit pixels", 8, 2, 2, 1, four,
         "compression 2 of 8-bit pixels is not read"},
        {"bit fields", 8, 3, 2, 1, four, "compression 3 of 8-bit pixels is not read"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        CDIBitmap bm;
        std::string error;
        const std::vector<char> file = Bmp(r.width, r.height, r.depth, r.compression, 16, r.stream);
        EXPECT_EQ(bm.LoadBytes({file.begin(), file.end()}, "runs.bmp", &error), !r.says) << error;
        const bool says = error.rfind("runs.bmp: ", 0) == 0 &&
                          error.find(r.says ? r.says : "") != std::string::npos;
        EXPECT_EQ(says, r.says != nullptr) << error;
        EXPECT_EQ(bm.Width(), r.says ? 0 : r.width);
    }
}

TEST(DIBitmap, FileNamesAreFoundWhateverTheirCase) {
    const std::string dir = ::testing::TempDir();
    WriteAll(dir + "dib_Case.bmp", Bmp(1, 1, 8, 0, 2, {1, 0, 0, 0}));
    CDIBitmap bm;
    std::string error;
    ASSERT_TRUE(bm.Load(dir + "DIB_case.BMP", &error)) << error;
    EXPECT_EQ(bm.GetPixel(0, 0), 1);
    std::remove((dir + "dib_Case.bmp").c_str());
}

TEST(PixelConversion, PartsAndPixelsBothWaysIn565And555) {
    EXPECT_EQ(MakeScreenPixel(31, 63, 31), 0xFFFF);
    EXPECT_EQ(MakeScreenPixel(1, 2, 3), (1 << 11) | (2 << 5) | 3);
    EXPECT_EQ(MakeScreenPixel(31, 31, 31, PixelFormat::RGB555), 0x7FFF);
    EXPECT_EQ(MakeScreenPixel(1, 2, 3, PixelFormat::RGB555), (1 << 10) | (2 << 5) | 3);
    EXPECT_EQ(MakeScreenPixel(40, -3, 99), (31 << 11) | 31);  // clamped
    for (PixelFormat f : {PixelFormat::RGB565, PixelFormat::RGB555}) {
        int rm, gm, bm;
        ScreenPixelLimits(rm, gm, bm, f);
        for (int r = 0; r <= rm; r += 3)
            for (int g = 0; g <= gm; g += 5)
                for (int b = 0; b <= bm; b += 7) {
                    int r2, g2, b2;
                    SplitScreenPixel(MakeScreenPixel(r, g, b, f), r2, g2, b2, f);
                    ASSERT_EQ(r2, r);
                    ASSERT_EQ(g2, g);
                    ASSERT_EQ(b2, b);
                }
    }
    int r, g, b;
    SplitScreenPixel(0x8410, r, g, b);
    EXPECT_EQ(r, 16);
    EXPECT_EQ(g, 32);
    EXPECT_EQ(b, 16);
    SplitScreenPixel(0x8410, r, g, b, PixelFormat::RGB555);  // the top bit is not part of 5-5-5
    EXPECT_EQ(r, 1);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 16);
}

TEST(PixelConversion, PaletteColoursBecomeScreenPixels) {
    Palette p{};
    p[7] = {200, 100, 50};
    EXPECT_EQ(PaletteIndexToPixel(7, p), ((200 >> 3) << 11) | ((100 >> 2) << 5) | (50 >> 3));
    EXPECT_EQ(PaletteIndexToPixel(7, p, PixelFormat::RGB555),
              ((200 >> 3) << 10) | ((100 >> 3) << 5) | (50 >> 3));
    EXPECT_EQ(PaletteIndexToPixel(255), 0xFFFF);
    EXPECT_EQ(PaletteIndexToPixel(0), 0);
    // Only index 0 of the game's palette is black on the screen, so no other
    // colour is drawn see-through by a black key.
    for (int i = 1; i < 256; ++i) EXPECT_NE(PaletteIndexToPixel(i), 0) << i;
    // The mask colours of decks and snares, and no other entry with those pixels.
    EXPECT_EQ(PaletteIndexToPixel(kPaletteDeck), 2);
    EXPECT_EQ(PaletteIndexToPixel(kPaletteSnare), 3);
    for (int i = 0; i < 256; ++i) {
        if (i == kPaletteDeck || i == kPaletteSnare) continue;
        const uint16_t px = PaletteIndexToPixel(i);
        EXPECT_TRUE(px != 2 && px != 3) << i;
    }
}
