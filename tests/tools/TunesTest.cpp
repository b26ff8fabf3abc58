// The tunes the data program composes: each is a MIDI file the game reads,
// in its key, its melody's strong notes on the chord the strings hold, every
// note let go by the end, calm tunes slower and plainer than the battle's.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>

#include "data/Music.h"
#include "media/DSound.h"
#include "media/MidiFile.h"
#include "platform/Files.h"
#include "support/Tunes.h"

namespace {

struct Sounded {
    uint64_t on, off;
    int channel, key;
};

// Every note of the file, struck at `on` and let go at `off`; `allLetGo`
// false when a note is struck while it sounds or sounds past its track's end.
std::vector<Sounded> Notes(const MidiFile& f, bool* allLetGo) {
    std::vector<Sounded> notes;
    *allLetGo = true;
    for (const MidiFile::Track& t : f.tracks) {
        std::map<std::pair<int, int>, uint64_t> open;
        for (const MidiFile::Event& e : t.events) {
            const int kind = e.status & 0xF0, ch = e.status & 0x0F;
            if (kind == 0x90 && e.data2 > 0) {
                if (open.count({ch, e.data1})) *allLetGo = false;
                open[{ch, e.data1}] = e.tick;
            } else if (kind == 0x80 || kind == 0x90) {
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

// The data program writes each tune where the game looks for it.
TEST(Tunes, EachTuneIsAFileTheGameReadsInItsKeyAndTheBattleTuneIsTheFastestAndBusiest) {
    music_test::TempFolder dir("tunes");
    std::string error;
    ASSERT_TRUE(tunes::WriteTunes(dir.Path(), error)) << error;
    std::map<int, size_t> notesOf, drumsOf;
    ASSERT_EQ(tunes::TuneNumbers(), (std::vector<int>{0, 1, 2}));
    for (int tune : tunes::TuneNumbers()) {
        SCOPED_TRACE(tune);
        const std::vector<uint8_t> bytes = tunes::Compose(tune).Write();
        EXPECT_EQ(qv::ReadWholeFile(qv::ResolvePath(dir.Path() + CMIDIStream::TuneFileName(tune))),
                  bytes);
        const MidiFile read = MidiFile::Read(bytes, "Tune.mid");
        EXPECT_EQ(read.Write(), bytes);
        EXPECT_FALSE(read.ToSong(22050).setup.empty()) << "instruments chosen before it plays";
        // Sixteen bars of four beats at the tune's tempo: long enough to be
        // repeated, not so long it tires.
        const tunes::TuneFacts facts = tunes::Facts(tune);
        const int64_t length = read.DurationMicroseconds();
        EXPECT_EQ(length, int64_t{tunes::kBars} * 4 * (60000000 / facts.tempo));
        EXPECT_TRUE(length >= 20000000 && length <= 90000000) << length;

        bool allLetGo = false;
        const std::vector<Sounded> notes = Notes(read, &allLetGo);
        EXPECT_TRUE(allLetGo);
        EXPECT_GT(notes.size(), 100u);
        notesOf[tune] = notes.size();
        for (const Sounded& n : notes) drumsOf[tune] += n.channel == tunes::kDrumChannel;
        const std::set<int> key = PitchClasses(facts);
        int strong = 0, onChord = 0;
        for (const Sounded& n : notes) {
            if (n.channel != tunes::kMelodyChannel) continue;
            EXPECT_TRUE(key.count(n.key % 12)) << "key " << n.key << " at tick " << n.on;
            if (n.on % (2 * tunes::kTicksPerQuarter) != 0) continue;  // beats 1 and 3
            std::set<int> chord;                                      // what the strings hold then
            for (const Sounded& p : notes)
                if (p.channel == tunes::kPadChannel && p.on <= n.on && p.off > n.on)
                    chord.insert(p.key % 12);
            ASSERT_EQ(chord.size(), 3u) << "a triad under tick " << n.on;
            ++strong;
            onChord += chord.count(n.key % 12);
        }
        // A passing note may fall on the third beat, never more than one in
        // ten of the strong notes.
        EXPECT_GT(strong, 20);
        EXPECT_GE(onChord * 10, strong * 9) << onChord << " of " << strong;
    }
    const int title = tunes::kTitleTune, calm = tunes::kCalmTune, battle = tunes::kCombatTune;
    EXPECT_LT(tunes::Facts(title).tempo, tunes::Facts(calm).tempo);
    EXPECT_LT(tunes::Facts(calm).tempo, tunes::Facts(battle).tempo);
    EXPECT_GT(notesOf[battle], notesOf[calm]);
    EXPECT_GT(notesOf[calm], notesOf[title]);
    EXPECT_EQ(drumsOf[title] + drumsOf[calm], 0u);
    EXPECT_GT(drumsOf[battle], 0u);
    EXPECT_TRUE(tunes::Facts(battle).minor);
    EXPECT_FALSE(tunes::Facts(calm).minor);
}

TEST(Tunes, AFolderThatCannotBeMadeIsReported) {
    music_test::TempFolder dir("tunes");
    std::string error;
    std::ofstream(dir.dir / "blocked") << "a file, not a folder";
    EXPECT_FALSE(tunes::WriteTunes(dir.Path() + "blocked/", error));
    EXPECT_NE(error.find("blocked"), std::string::npos) << error;
}

}  // namespace
