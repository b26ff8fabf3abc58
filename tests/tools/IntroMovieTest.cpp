// The intro movie the data program writes, as the game's movie reader reads
// it back, and the files that reader refuses.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "data/Intro.h"
#include "media/DIBitmap.h"
#include "platform/Movie.h"
#include "support/TestFolder.h"

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes& Intro() {
    static const Bytes bytes = [] {
        std::string error, note;
        return intro::Movie(intro::kFrames, intro::kWidth, intro::kHeight, error, note);
    }();
    return bytes;
}

// The mean difference of two pictures' colour parts, in 8-bit units.
double MeanDifference(const qv::Surface& a, const qv::Surface& b) {
    int64_t sum = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x) {
            int p[3], q[3];
            SplitScreenPixel(a.GetPixel(x, y), p[0], p[1], p[2]);
            SplitScreenPixel(b.GetPixel(x, y), q[0], q[1], q[2]);
            sum +=
                std::abs(p[0] - q[0]) * 8 + std::abs(p[1] - q[1]) * 4 + std::abs(p[2] - q[2]) * 8;
        }
    return static_cast<double>(sum) / (3.0 * a.Width() * a.Height());
}

TEST(IntroMovie, TheReaderGetsBackThePicturesTheirTimesAndTheSoundTheDataProgramWrote) {
    qv::MovieReader movie;
    ASSERT_TRUE(movie.OpenBytes(Intro(), "Intro.avi")) << movie.Error();
    EXPECT_EQ(std::pair(movie.Width(), movie.Height()), std::pair(640, 480));
    qv::Surface picture, first;
    std::vector<uint32_t> times;
    for (uint32_t at = 0; movie.NextFrame(picture, at); times.push_back(at))
        if (times.empty()) first = picture;
    EXPECT_EQ(movie.Error(), "");
    ASSERT_EQ(times.size(), 30u);
    EXPECT_EQ(std::tuple(times[0], times[1], times[29]), std::tuple(0u, 100u, 2900u));
    // The first picture is the title, as the game draws it, within what
    // JPEG's compression loses.
    EXPECT_LT(MeanDifference(first, intro::Picture(0, 30, 640, 480)), 1.5);
    EXPECT_EQ(MeanDifference(picture, qv::Surface(640, 480)), 0.0) << "it ends in black";
    // Three seconds of the title tune, not silent.
    ASSERT_NE(movie.Sound(), nullptr);
    const std::vector<int16_t>& samples = movie.Sound()->samples;
    EXPECT_EQ(samples.size(), 3u * qv::Mixer::kRate);
    const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
    EXPECT_GT(*high - *low, 2000);
}

// Puts a 32-bit number into the first chunk `tag` of an AVI file, `offset`
// bytes into its contents.
Bytes Patched(Bytes bytes, const char* tag, size_t offset, uint32_t value) {
    const auto at = std::search(bytes.begin(), bytes.end(), tag, tag + 4) - bytes.begin();
    std::memcpy(bytes.data() + at + 8 + offset, &value, 4);
    return bytes;
}

TEST(IntroMovie, AMovieThatCannotBeShownIsRefusedByName) {
    const Bytes& good = Intro();
    const std::string tag = "movi";
    const auto movi = std::search(good.begin(), good.end(), tag.begin(), tag.end()) - good.begin();
    struct Row {
        const char* rule;
        Bytes bytes;
        const char* said;
    };
    const Row rows[] = {
        {"not a movie", Bytes(2000, 'x'), "is not an AVI movie"},
        {"the header and no pictures", Bytes(good.begin(), good.begin() + movi + 4),
         "has no pictures"},
        {"a picture one wider than the screen", Patched(good, "strf", 4, 641),
         "has pictures of a size the game cannot show"},
        {"a picture one taller than the screen", Patched(good, "strf", 8, 481),
         "has pictures of a size the game cannot show"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        qv::MovieReader movie;
        EXPECT_FALSE(movie.OpenBytes(r.bytes, "Game/Intro.avi"));
        EXPECT_EQ(movie.Error(), std::string("The movie Game/Intro.avi ") + r.said + ".");
    }
    test_support::TestFolder folder("movie");
    qv::MovieReader missing;
    const std::string name = (folder.dir / "Intro.avi").string();
    EXPECT_FALSE(missing.Open(name));
    EXPECT_EQ(missing.Error(), "The movie " + name + " is missing.");
}

}  // namespace
