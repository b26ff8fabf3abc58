// The MIDI output: a song of timed messages rendered by the synthesiser with
// Debian's General MIDI sound font, mixed by hand here (no sound device).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <tuple>
#include <vector>

#include "platform/Audio.h"
#include "platform/Midi.h"
#include "support/Tunes.h"

namespace {

constexpr int kRate = qv::Mixer::kRate;

// The loudest sample of the next `frames` frames the output renders.
int Peak(qv::MidiOutput& out, int frames) {
    std::vector<int32_t> acc(static_cast<size_t>(frames) * 2, 0);
    out.MixInto(acc.data(), frames);
    int peak = 0;
    for (int32_t s : acc) peak = std::max(peak, std::abs(s));
    return peak;
}

// A piano (program 0 on channel 0) striking middle C at `on` and letting it
// go at `off`, in a song of `length` frames.
std::shared_ptr<qv::MidiSong> Note(int64_t on, int64_t off, int64_t length) {
    return std::make_shared<qv::MidiSong>(qv::MidiSong{
        {{0, 0xC0, 0, 0}}, {{0, 0xC0, 0, 0}, {on, 0x90, 60, 110}, {off, 0x80, 60, 64}}, length});
}

TEST(MidiOutput, ItOpensAtTheSynthesisersRatesWithASoundFontAndClosedPlaysNothing) {
    music_test::TempFolder dir("midi");
    const std::string notAFont = dir.Path() + "notes.sf2";
    std::ofstream(notAFont) << "these are not samples";
    const std::string gm = qv::MidiOutput::kDefaultSoundFont;
    // What each row is, the font, the rate, and what the error says (nullptr
    // where it opens).
    const std::tuple<const char*, std::string, int, const char*> rows[] = {
        {"no file there", dir.Path() + "missing.sf2", kRate, "is not there"},
        {"a folder, not a file", dir.dir.string(), kRate, "is not there"},
        {"a file that is no sound font", notAFont, kRate, "cannot be read"},
        {"7999 frames a second", gm, 7999, ""},
        {"8000 frames a second", gm, 8000, nullptr},
        {"96000 frames a second", gm, 96000, nullptr},
        {"96001 frames a second", gm, 96001, ""},
    };
    for (const auto& [what, font, rate, says] : rows) {
        SCOPED_TRACE(what);
        qv::MidiOutput out;
        EXPECT_EQ(out.Open(font, rate), !says) << out.Error();
        EXPECT_EQ(out.IsOpen(), !says);
        if (!says) continue;
        EXPECT_NE(out.Error().find(*says ? font : ""), std::string::npos) << out.Error();
        EXPECT_NE(out.Error().find(says), std::string::npos) << out.Error();
        EXPECT_EQ(out.Play(Note(0, 100, kRate)), 0);
        EXPECT_EQ(Peak(out, 256), 0);
    }
}

class MidiOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(out.Open(qv::MidiOutput::kDefaultSoundFont, kRate)) << out.Error();
    }
    qv::MidiOutput out;
};

TEST_F(MidiOutputTest, OnlyTheNewestSongSoundsFromItsFramesAndPausedItKeepsItsPlace) {
    const int first = out.Play(Note(0, kRate, 2 * kRate));
    const int id = out.Play(Note(4410, kRate, 2 * kRate));
    EXPECT_NE(first, id);
    EXPECT_FALSE(out.IsPlaying(first));
    out.Stop(first);  // an older song's id changes nothing
    out.Pause(first);
    EXPECT_TRUE(out.IsPlaying(id));
    EXPECT_EQ(Peak(out, 4410), 0) << "nothing before the note's frame";
    EXPECT_GT(Peak(out, 2048), 1000);
    out.Pause(id);
    EXPECT_TRUE(out.IsPaused(id));
    EXPECT_EQ(Peak(out, 4096), 0);
    EXPECT_EQ(out.Position(id), 4410 + 2048);
    out.Resume(id);
    EXPECT_FALSE(out.IsPaused(id));
    EXPECT_GT(Peak(out, 2048), 1000) << "the held note sounds on";
    EXPECT_EQ(out.Position(id), 4410 + 4096);
    // Stopped, it is silent at once; closing ends a song too.
    out.Stop(id);
    EXPECT_FALSE(out.IsPlaying(id));
    EXPECT_EQ(Peak(out, 2048), 0);
    EXPECT_EQ(out.Play(nullptr), 0);
    const int third = out.Play(Note(0, kRate, 2 * kRate));
    out.Close();
    EXPECT_FALSE(out.IsPlaying(third));
    EXPECT_EQ(Peak(out, 256), 0);
}

TEST_F(MidiOutputTest, ASongOfASecondOrMoreStartsAgainAfterItsLength) {
    // A frame short of a second, played once; a second and a frame over it,
    // repeated.
    for (const auto& row :
         {std::pair{kRate - 1, false}, std::pair{kRate, true}, std::pair{kRate + 1, true}}) {
        SCOPED_TRACE(row.first);
        // The note ends at once; by the end of the song only the room's echo
        // of it is left.
        const int id = out.Play(Note(0, 2205, row.first));
        Peak(out, row.first - 1000);
        const int before = Peak(out, 1000), after = Peak(out, 1000);
        EXPECT_EQ(out.Position(id), row.second ? 1000 : row.first + 1000);
        if (row.second) {
            EXPECT_GT(after, 4 * before + 100) << "the note is struck again";
        } else {
            EXPECT_LE(after, before);
        }
    }
}

TEST(MixerStream, TheStreamIsMixedWithTheVoicesAndClipped) {
    struct Steady : qv::MixStream {
        int32_t value = 0;
        void MixInto(int32_t* acc, int frames) override {
            for (int i = 0; i < 2 * frames; ++i) acc[i] += value;
        }
    } stream;
    qv::Mixer m;
    auto sound = std::make_shared<qv::PcmSound>();
    sound->samples.assign(8, 10000);
    m.Start(sound, 1.0f, 0.0f, false);
    int16_t out[8];
    // A voice of 10000 on the left only, and the stream on both sides.
    const std::tuple<int32_t, int16_t, int16_t> rows[] = {{-500, 9500, -500},
                                                          {30000, 32767, 30000}};
    for (auto [value, left, right] : rows) {
        SCOPED_TRACE(value);
        stream.value = value;
        m.SetStream(&stream);
        m.Mix(out, 4);
        EXPECT_EQ(out[0], left) << "clipped, not wrapped";
        EXPECT_EQ(out[1], right);
    }
    m.SetStream(nullptr);
    m.Mix(out, 4);
    EXPECT_EQ(out[1], 0);
}

}  // namespace
