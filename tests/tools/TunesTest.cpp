// The tunes the data program composes: each is a MIDI file the game reads,
// in its key, its melody's strong notes on the chord the strings hold, every
// note let go by the end, calm tunes slower and plainer than the battle's.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "data/Music.h"
#include "media/DSound.h"
#include "media/MidiFile.h"
#include "platform/Files.h"

namespace {

namespace fs = std::filesystem;

struct Sounded {
    uint64_t on, off;
    int channel, key;
};

// Every note of the file: struck at `on`, let go at `off`.
std::vector<Sounded> Notes(const MidiFile& f, bool* allLetGo) {
    std::vector<Sounded> notes;
    *allLetGo = true;
    for (const MidiFile::Track& t : f.tracks) {
        std::map<std::pair<int, int>, uint64_t> open;
        for (const MidiFile::Event& e : t.events) {
            const int kind = e.status & 0xF0, ch = e.status & 0x0F;
            if (kind == 0x90 && e.data2 > 0) {
                if (open.count({ch, e.data1})) *allLetGo = false;  // struck while sounding
                open[{ch, e.data1}] = e.tick;
            } else if (kind == 0x80 || (kind == 0x90 && e.data2 == 0)) {
                auto it = open.find({ch, e.data1});
                if (it == open.end()) continue;
                notes.push_back({it->second, e.tick, ch, e.data1});
                open.erase(it);
            }
        }
        if (!open.empty()) *allLetGo = false;
        for (const Sounded& n : notes)
            if (n.off > t.end) *allLetGo = false;
    }
    return notes;
}

std::set<int> PitchClasses(const tunes::TuneFacts& facts) {
    const int major[] = {0, 2, 4, 5, 7, 9, 11}, minor[] = {0, 2, 3, 5, 7, 8, 10};
    std::set<int> pcs;
    for (int i = 0; i < 7; ++i) pcs.insert((facts.tonic + (facts.minor ? minor : major)[i]) % 12);
    if (facts.minor)
        pcs.insert((facts.tonic + 11) % 12);  // the raised seventh over the fifth chord
    return pcs;
}

TEST(Tunes, EachTuneIsAFileTheGameReadsAsItWasWritten) {
    ASSERT_EQ(tunes::TuneNumbers(), (std::vector<int>{0, 1, 2}));
    for (int tune : tunes::TuneNumbers()) {
        SCOPED_TRACE(tune);
        const MidiFile composed = tunes::Compose(tune);
        const std::vector<uint8_t> bytes = composed.Write();
        const MidiFile read = MidiFile::Read(bytes, "Tune.mid");
        EXPECT_EQ(read.Write(), bytes);
        EXPECT_EQ(read.format, 1);
        EXPECT_EQ(read.division, tunes::kTicksPerQuarter);
        // Sixteen bars of four beats at the tune's tempo.
        const tunes::TuneFacts facts = tunes::Facts(tune);
        EXPECT_EQ(read.DurationMicroseconds(),
                  int64_t{tunes::kBars} * 4 * (60000000 / facts.tempo));
        EXPECT_EQ(facts.progression.size(), static_cast<size_t>(tunes::kBars));
        // A tune is long enough to be repeated, not so long it tires.
        EXPECT_GE(read.DurationMicroseconds(), 20000000);
        EXPECT_LE(read.DurationMicroseconds(), 90000000);
        const qv::MidiSong song = read.ToSong(22050);
        EXPECT_FALSE(song.setup.empty()) << "the instruments are chosen before it plays";
    }
}

TEST(Tunes, EveryNoteIsLetGoByTheEndAndNoneIsStruckWhileItSounds) {
    for (int tune : tunes::TuneNumbers()) {
        SCOPED_TRACE(tune);
        bool allLetGo = false;
        const std::vector<Sounded> notes = Notes(tunes::Compose(tune), &allLetGo);
        EXPECT_TRUE(allLetGo);
        EXPECT_GT(notes.size(), 100u);
    }
}

TEST(Tunes, TheMelodyKeepsToItsKeyAndItsStrongNotesToTheChords) {
    for (int tune : tunes::TuneNumbers()) {
        SCOPED_TRACE(tune);
        const tunes::TuneFacts facts = tunes::Facts(tune);
        const std::set<int> key = PitchClasses(facts);
        bool letGo = false;
        const std::vector<Sounded> notes = Notes(tunes::Compose(tune), &letGo);
        int strong = 0, onChord = 0;
        for (const Sounded& n : notes) {
            if (n.channel != tunes::kMelodyChannel) continue;
            EXPECT_TRUE(key.count(n.key % 12)) << "key " << n.key << " at tick " << n.on;
            if (n.on % (2 * tunes::kTicksPerQuarter) != 0) continue;  // beats 1 and 3
            // What the strings hold then.
            std::set<int> chord;
            for (const Sounded& p : notes)
                if (p.channel == tunes::kPadChannel && p.on <= n.on && p.off > n.on)
                    chord.insert(p.key % 12);
            ASSERT_EQ(chord.size(), 3u) << "a triad under tick " << n.on;
            ++strong;
            if (chord.count(n.key % 12)) ++onChord;
        }
        // A passing note may fall on the third beat, never more than one in
        // ten of the strong notes.
        EXPECT_GT(strong, 20);
        EXPECT_GE(onChord * 10, strong * 9) << onChord << " of " << strong;
    }
}

TEST(Tunes, TheBattleTuneIsFasterAndBusierThanTheCalmOnes) {
    bool letGo = false;
    auto perBar = [&](int tune) {
        return static_cast<double>(Notes(tunes::Compose(tune), &letGo).size()) / tunes::kBars;
    };
    auto drums = [&](int tune) {
        const std::vector<Sounded> notes = Notes(tunes::Compose(tune), &letGo);
        return std::count_if(notes.begin(), notes.end(),
                             [](const Sounded& n) { return n.channel == tunes::kDrumChannel; });
    };
    const int title = tunes::kTitleTune, calm = tunes::kCalmTune, battle = tunes::kCombatTune;
    EXPECT_LT(tunes::Facts(title).tempo, tunes::Facts(calm).tempo);
    EXPECT_LT(tunes::Facts(calm).tempo, tunes::Facts(battle).tempo);
    EXPECT_GT(perBar(battle), perBar(calm));
    EXPECT_GT(perBar(calm), perBar(title));
    EXPECT_EQ(drums(title), 0);
    EXPECT_EQ(drums(calm), 0);
    EXPECT_GT(drums(battle), 0);
    EXPECT_TRUE(tunes::Facts(battle).minor);
    EXPECT_FALSE(tunes::Facts(calm).minor);
}

TEST(Tunes, TheDataProgramWritesEveryTuneWhereTheGameLooksForIt) {
    const fs::path dir = fs::temp_directory_path() / ("qv-tunes-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string error;
    ASSERT_TRUE(tunes::WriteTunes(dir.string() + "/", error)) << error;
    for (int tune : tunes::TuneNumbers()) {
        SCOPED_TRACE(tune);
        const std::string path =
            qv::ResolvePath(dir.string() + "/" + CMIDIStream::TuneFileName(tune));
        EXPECT_EQ(qv::ReadWholeFile(path), tunes::Compose(tune).Write());
    }
    // A folder that cannot be made is reported.
    std::ofstream(dir / "blocked") << "a file, not a folder";
    EXPECT_FALSE(tunes::WriteTunes((dir / "blocked").string() + "/", error));
    EXPECT_NE(error.find("blocked"), std::string::npos) << error;
    fs::remove_all(dir);
}

}  // namespace
