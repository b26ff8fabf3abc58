// The MIDI output: a song of timed messages rendered by the synthesiser with
// Debian's General MIDI sound font, mixed by hand here (no sound device).

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "platform/Audio.h"
#include "platform/Midi.h"

namespace {

constexpr int kRate = qv::Mixer::kRate;

// The loudest sample of frames [from, to) of a stereo buffer.
int Peak(const std::vector<int32_t>& acc, int from, int to) {
    int peak = 0;
    for (int i = 2 * from; i < 2 * to; ++i)
        peak = std::max(peak, std::abs(acc[static_cast<size_t>(i)]));
    return peak;
}

std::vector<int32_t> Render(qv::MidiOutput& out, int frames) {
    std::vector<int32_t> acc(static_cast<size_t>(frames) * 2, 0);
    out.MixInto(acc.data(), frames);
    return acc;
}

// A piano (program 0 on channel 0) striking middle C at `on` and letting it
// go at `off`, in a song of `length` frames.
std::shared_ptr<qv::MidiSong> Note(int64_t on, int64_t off, int64_t length) {
    auto song = std::make_shared<qv::MidiSong>();
    song->setup = {{0, 0xC0, 0, 0}};
    song->events = {{0, 0xC0, 0, 0}, {on, 0x90, 60, 110}, {off, 0x80, 60, 64}};
    song->length = length;
    return song;
}

class MidiOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(out.Open(qv::MidiOutput::kDefaultSoundFont, kRate)) << out.Error();
    }
    qv::MidiOutput out;
};

TEST(MidiOutput, WithoutItsSoundFontItStaysClosedAndPlaysNothing) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("qv-midi-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string notAFont = (dir / "notes.sf2").string();
    std::ofstream(notAFont) << "these are not samples";
    struct Row {
        const char* what;
        std::string font;
        const char* says;
    };
    const Row rows[] = {
        {"no file there", (dir / "missing.sf2").string(), "is not there"},
        {"a folder, not a file", dir.string(), "is not there"},
        {"a file that is no sound font", notAFont, "cannot be read"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        qv::MidiOutput out;
        EXPECT_FALSE(out.Open(row.font, kRate));
        EXPECT_FALSE(out.IsOpen());
        EXPECT_NE(out.Error().find(row.font), std::string::npos) << out.Error();
        EXPECT_NE(out.Error().find(row.says), std::string::npos) << out.Error();
        EXPECT_EQ(out.Play(Note(0, 100, kRate)), 0);
        const std::vector<int32_t> acc = Render(out, 256);
        EXPECT_EQ(Peak(acc, 0, 256), 0);
    }
    std::filesystem::remove_all(dir);
}

TEST(MidiOutput, OpensAtTheSynthesisersRatesOnly) {
    struct Row {
        int rate;
        bool opens;
    };
    for (const Row& row :
         {Row{7999, false}, Row{8000, true}, Row{96000, true}, Row{96001, false}}) {
        SCOPED_TRACE(row.rate);
        qv::MidiOutput out;
        EXPECT_EQ(out.Open(qv::MidiOutput::kDefaultSoundFont, row.rate), row.opens) << out.Error();
        EXPECT_EQ(out.IsOpen(), row.opens);
    }
}

TEST_F(MidiOutputTest, AMessageSoundsAtItsOwnFrame) {
    // Nothing sounds before the note's frame; it sounds from there on.
    const int id = out.Play(Note(4410, 20000, 2 * kRate));
    ASSERT_NE(id, 0);
    std::vector<int32_t> acc = Render(out, 4410);
    EXPECT_EQ(Peak(acc, 0, 4410), 0);
    EXPECT_EQ(out.Position(id), 4410);
    acc = Render(out, 2048);
    EXPECT_GT(Peak(acc, 0, 2048), 1000);
    EXPECT_EQ(out.Position(id), 4410 + 2048);
}

TEST_F(MidiOutputTest, PauseHoldsTheSongSilentInItsPlaceAndResumePlaysOn) {
    const int id = out.Play(Note(0, kRate, 2 * kRate));
    std::vector<int32_t> acc = Render(out, 2048);
    EXPECT_GT(Peak(acc, 0, 2048), 1000);
    out.Pause(id);
    EXPECT_TRUE(out.IsPaused(id));
    acc = Render(out, 4096);
    EXPECT_EQ(Peak(acc, 0, 4096), 0);
    EXPECT_EQ(out.Position(id), 2048) << "a paused song keeps its place";
    out.Resume(id);
    EXPECT_FALSE(out.IsPaused(id));
    acc = Render(out, 2048);
    EXPECT_GT(Peak(acc, 0, 2048), 1000) << "the held note sounds on";
    EXPECT_EQ(out.Position(id), 4096);
}

TEST_F(MidiOutputTest, ASongOfASecondOrMoreStartsAgainAfterItsLength) {
    struct Row {
        const char* what;
        int64_t length;
        bool repeats;
    };
    const Row rows[] = {
        {"a frame short of a second: played once", kRate - 1, false},
        {"a second: repeated", kRate, true},
        {"a frame over a second: repeated", kRate + 1, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        // The note ends at once; by the end of the song only the room's echo
        // of it is left.
        const int id = out.Play(Note(0, 2205, row.length));
        Render(out, static_cast<int>(row.length) - 1000);
        const std::vector<int32_t> before = Render(out, 1000);
        const std::vector<int32_t> after = Render(out, 1000);
        if (row.repeats) {
            EXPECT_EQ(out.Position(id), 1000);
            EXPECT_GT(Peak(after, 0, 1000), 4 * Peak(before, 0, 1000) + 100)
                << "the note is struck again";
        } else {
            EXPECT_EQ(out.Position(id), row.length + 1000);
            EXPECT_LE(Peak(after, 0, 1000), Peak(before, 0, 1000));
        }
    }
}

TEST_F(MidiOutputTest, OnlyTheNewestSongPlaysAndAnOlderOneCannotStopIt) {
    const int first = out.Play(Note(0, kRate, 2 * kRate));
    const int second = out.Play(Note(0, kRate, 2 * kRate));
    EXPECT_NE(first, second);
    EXPECT_FALSE(out.IsPlaying(first));
    EXPECT_TRUE(out.IsPlaying(second));
    out.Stop(first);
    out.Pause(first);
    EXPECT_TRUE(out.IsPlaying(second));
    EXPECT_FALSE(out.IsPaused(second));
    EXPECT_GT(Peak(Render(out, 2048), 0, 2048), 1000);
    // Stopped, it is silent at once, and stays so.
    out.Stop(second);
    EXPECT_FALSE(out.IsPlaying(second));
    EXPECT_EQ(Peak(Render(out, 2048), 0, 2048), 0);
    EXPECT_EQ(out.Play(nullptr), 0);
    // Closing ends the song.
    const int third = out.Play(Note(0, kRate, 2 * kRate));
    out.Close();
    EXPECT_FALSE(out.IsPlaying(third));
    EXPECT_EQ(Peak(Render(out, 256), 0, 256), 0);
}

TEST(MixerStream, TheStreamIsMixedWithTheVoicesAndClipped) {
    struct Steady : qv::MixStream {
        int32_t value;
        explicit Steady(int32_t v) : value(v) {}
        void MixInto(int32_t* acc, int frames) override {
            for (int i = 0; i < 2 * frames; ++i) acc[i] += value;
        }
    };
    Steady loud(30000), soft(-500);
    qv::Mixer m;
    auto sound = std::make_shared<qv::PcmSound>();
    sound->samples.assign(8, 10000);
    m.Start(sound, 1.0f, 0.0f, false);
    m.SetStream(&soft);
    int16_t out[8];
    m.Mix(out, 4);
    EXPECT_EQ(out[0], 9500);
    EXPECT_EQ(out[1], -500);
    m.SetStream(&loud);
    m.Mix(out, 4);
    EXPECT_EQ(out[0], 32767) << "clipped, not wrapped";
    EXPECT_EQ(out[1], 30000);
    m.SetStream(nullptr);
    m.Mix(out, 4);
    EXPECT_EQ(out[1], 0);
}

}  // namespace
