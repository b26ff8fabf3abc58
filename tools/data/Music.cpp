// The game's tunes, composed by code. Each tune is one row of a table: a key,
// a tempo, sixteen bars of chords, the instruments, and a melody given as
// short motifs of chord steps. The code sets the motifs over the chords
// (each bar's motif climbs or falls with its chord, in the octave nearest the
// note before it), voices the strings' chords so that they move as little as
// they can, and writes the figures, bass and drums of the tune's kind. The
// form is A A B A, the last bar coming home to the key's first chord, so the
// tune repeats without a seam.

#include "data/Music.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "media/DSound.h"
#include "platform/Files.h"
#include "platform/Midi.h"

namespace tunes {

namespace {

constexpr int kEighth = kTicksPerQuarter / 2;
constexpr int kEighthsPerBar = 8;
constexpr int kPhraseBars = 4;
constexpr int kMicrosecondsPerMinute = 60000000;

constexpr std::array<int, 7> kMajorScale = {0, 2, 4, 5, 7, 9, 11};
constexpr std::array<int, 7> kMinorScale = {0, 2, 3, 5, 7, 8, 10};
constexpr int kDominant = 4;  // the scale degree of the fifth chord

// General MIDI's drum keys.
constexpr int kKick = 36;
constexpr int kSnare = 38;
constexpr int kClosedHat = 42;
constexpr int kCrash = 49;
constexpr std::array<int, 4> kTomsFalling = {50, 48, 45, 41};

// A melody note of one bar: its start and length in eighths, and its scale
// step above the root of the bar's chord (0 the root, 2 its third, 4 its
// fifth, 7 the octave; the others pass between them).
struct MotifNote {
    int start;
    int length;
    int step;
};
using Motif = std::vector<MotifNote>;

// What plays under the melody besides the strings and the bass.
enum class Figure {
    Harp,      // a harp's arpeggio in eighths
    SlowHarp,  // a harp's arpeggio in quarters, left ringing
    Ostinato,  // strings driving in accented eighths
};

struct Instrument {
    int program;  // General MIDI program, 0-based
    int volume;
    int pan;
};

// The battle's timpani and the standard drum kit (on the drum channel).
constexpr Instrument kTimpani = {.program = 47, .volume = 96, .pan = 60};
constexpr Instrument kDrumKit = {.program = 0, .volume = 92, .pan = 64};

struct Style {
    TuneFacts facts;
    int melodyTonic;  // the tonic in the melody's octave
    int melodyLow, melodyHigh;
    Instrument melody, pad, figure, bass;
    Figure figureKind;
    bool battle;  // timpani and drums
    int reverb;
    std::array<Motif, kPhraseBars> phraseA;
    std::array<Motif, kPhraseBars> phraseB;
    Motif ending;
};

const std::vector<Style>& Styles() {
    static const std::vector<Style> styles = {
        // 0: the title, D major, slow: an oboe over strings and a ringing harp.
        {.facts = {.tempo = 72,
                   .tonic = 2,
                   .minor = false,
                   .progression = {0, 4, 5, 3, 0, 4, 3, 4, 5, 3, 0, 4, 5, 3, 4, 0}},
         .melodyTonic = 74,
         .melodyLow = 66,
         .melodyHigh = 88,
         .melody = {.program = 68, .volume = 100, .pan = 64},  // oboe
         .pad = {.program = 48, .volume = 72, .pan = 44},      // strings
         .figure = {.program = 46, .volume = 84, .pan = 88},   // harp
         .bass = {.program = 32, .volume = 84, .pan = 60},     // acoustic bass
         .figureKind = Figure::SlowHarp,
         .battle = false,
         .reverb = 80,
         .phraseA = {{{{0, 4, 0}, {4, 2, 2}, {6, 2, 4}},
                      {{0, 6, 2}, {6, 2, 1}},
                      {{0, 4, 4}, {4, 4, 2}},
                      {{0, 2, 2}, {2, 2, 1}, {4, 4, 0}}}},
         .phraseB = {{{{0, 2, 4}, {2, 2, 5}, {4, 4, 4}},
                      {{0, 4, 2}, {4, 4, 0}},
                      {{0, 2, 0}, {2, 2, 2}, {4, 2, 4}, {6, 2, 7}},
                      {{0, 8, 2}}}},
         .ending = {{0, 8, 0}}},
        // 1: a land's calm tune, G major: a flute over a harp's eighths.
        {.facts = {.tempo = 84,
                   .tonic = 7,
                   .minor = false,
                   .progression = {0, 5, 3, 4, 0, 5, 1, 4, 3, 0, 3, 4, 0, 5, 4, 0}},
         .melodyTonic = 79,
         .melodyLow = 71,
         .melodyHigh = 91,
         .melody = {.program = 73, .volume = 100, .pan = 64},  // flute
         .pad = {.program = 48, .volume = 64, .pan = 40},      // strings
         .figure = {.program = 46, .volume = 90, .pan = 88},   // harp
         .bass = {.program = 32, .volume = 90, .pan = 64},     // acoustic bass
         .figureKind = Figure::Harp,
         .battle = false,
         .reverb = 70,
         .phraseA = {{{{0, 3, 4}, {3, 1, 3}, {4, 2, 2}, {6, 2, 0}},
                      {{0, 2, 2}, {2, 2, 4}, {4, 4, 7}},
                      {{0, 2, 4}, {2, 1, 5}, {3, 1, 4}, {4, 4, 2}},
                      {{0, 4, 2}, {4, 4, 0}}}},
         .phraseB = {{{{0, 1, 0}, {1, 1, 1}, {2, 1, 2}, {3, 1, 3}, {4, 4, 4}},
                      {{0, 3, 2}, {3, 1, 1}, {4, 4, 0}},
                      {{0, 1, 4}, {1, 1, 5}, {2, 1, 4}, {3, 1, 2}, {4, 2, 0}, {6, 2, 2}},
                      {{0, 2, 4}, {2, 2, 2}, {4, 4, 0}}}},
         .ending = {{0, 8, 0}}},
        // 2: battle, D minor, fast: brass over driving strings, timpani and
        // drums. It ends on the fifth chord, which leads back to its start.
        {.facts = {.tempo = 144,
                   .tonic = 2,
                   .minor = true,
                   .progression = {0, 0, 5, 6, 0, 0, 3, 4, 5, 6, 0, 0, 3, 5, 4, 4}},
         .melodyTonic = 62,
         .melodyLow = 55,
         .melodyHigh = 79,
         .melody = {.program = 61, .volume = 104, .pan = 64},  // brass section
         .pad = {.program = 49, .volume = 60, .pan = 40},      // slow strings
         .figure = {.program = 48, .volume = 92, .pan = 84},   // strings
         .bass = {.program = 32, .volume = 100, .pan = 64},    // acoustic bass
         .figureKind = Figure::Ostinato,
         .battle = true,
         .reverb = 45,
         .phraseA = {{{{0, 1, 0}, {1, 1, 0}, {2, 2, 2}, {4, 1, 4}, {5, 1, 2}, {6, 2, 0}},
                      {{0, 3, 4}, {3, 1, 3}, {4, 4, 2}},
                      {{0, 1, 0}, {1, 1, 0}, {2, 2, 2}, {4, 1, 4}, {5, 1, 2}, {6, 2, 0}},
                      {{0, 2, 4}, {2, 2, 6}, {4, 4, 7}}}},
         .phraseB = {{{{0, 3, 7}, {3, 1, 6}, {4, 2, 4}, {6, 2, 2}},
                      {{0, 3, 4}, {3, 1, 2}, {4, 4, 0}},
                      {{0, 1, 0}, {1, 1, 2}, {2, 1, 4}, {3, 1, 7}, {4, 4, 4}},
                      {{0, 2, 2}, {2, 2, 1}, {4, 4, 0}}}},
         .ending = {{0, 4, 0}, {4, 4, 2}}},
    };
    return styles;
}

const Style& StyleOf(int tune) {
    const std::vector<Style>& styles = Styles();
    return styles.at(static_cast<size_t>(tune));
}

// The key of a scale degree (any integer; 7 is the octave above 0) in the
// octave of `tonic`. Over the fifth chord of a minor key the seventh is
// raised, so that it leads home.
int KeyOf(const Style& s, int degree, int chord) {
    const int octave = degree >= 0 ? degree / 7 : -((6 - degree) / 7);
    const int index = degree - 7 * octave;
    const auto& scale = s.facts.minor ? kMinorScale : kMajorScale;
    int key = s.melodyTonic + scale[static_cast<size_t>(index)] + 12 * octave;
    const int chordIndex = ((chord % 7) + 7) % 7;
    if (s.facts.minor && chordIndex == kDominant && index == 6) ++key;
    return key;
}

// `key` moved by octaves to lie in [low, low + 12).
int IntoOctave(int key, int low) {
    while (key < low) key += 12;
    while (key >= low + 12) key -= 12;
    return key;
}

uint64_t TuneEnd() {
    return static_cast<uint64_t>(kBars) * kTicksPerBar;
}

// One part's notes; a note struck again while it sounds ends the earlier one.
class Part {
public:
    explicit Part(int channel) : m_channel(channel) {}
    // Rings no further than the tune's end, where it starts again.
    void Note(uint64_t start, uint64_t length, int key, int velocity) {
        const uint64_t end = std::min(start + length, TuneEnd());
        if (key < 0 || key > 127 || end <= start) return;
        for (Played& p : m_notes)
            if (p.key == key && p.on <= start && p.off > start) p.off = start;
        m_notes.push_back({start, end, key, velocity});
    }
    void Control(qv::midi::Controller controller, int value) {
        m_setup.push_back({qv::midi::Status(qv::midi::kControlChange, m_channel), controller,
                           static_cast<uint8_t>(value)});
    }
    void Program(int program) {
        m_setup.push_back({qv::midi::Status(qv::midi::kProgramChange, m_channel),
                           static_cast<uint8_t>(program), 0});
    }
    // The part as a track: its name, its setup, then its notes; at one tick
    // an ending note goes before a starting one.
    MidiFile::Track Track(const std::string& name) const {
        MidiFile::Track t;
        MidiFile::Event title;
        title.status = MidiFile::kMeta;
        title.type = 0x03;  // the track's name
        title.bytes.assign(name.begin(), name.end());
        t.events.push_back(title);
        for (const Setup& s : m_setup) {
            MidiFile::Event e;
            e.status = s.status;
            e.data1 = s.data1;
            e.data2 = s.data2;
            t.events.push_back(e);
        }
        struct Timed {
            uint64_t tick;
            int order;  // 0 an ending note, 1 a starting one
            MidiFile::Event event;
        };
        std::vector<Timed> timed;
        for (const Played& p : m_notes) {
            if (p.off <= p.on) continue;  // cut to nothing by a later stroke
            MidiFile::Event on, off;
            on.tick = p.on;
            on.status = qv::midi::Status(qv::midi::kNoteOn, m_channel);
            on.data1 = static_cast<uint8_t>(p.key);
            on.data2 = static_cast<uint8_t>(std::clamp(p.velocity, 1, 127));
            off.tick = p.off;
            off.status = qv::midi::Status(qv::midi::kNoteOff, m_channel);
            off.data1 = static_cast<uint8_t>(p.key);
            off.data2 = 64;
            timed.push_back({p.on, 1, on});
            timed.push_back({p.off, 0, off});
        }
        std::stable_sort(timed.begin(), timed.end(), [](const Timed& a, const Timed& b) {
            return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
        });
        for (const Timed& x : timed) t.events.push_back(x.event);
        t.end = TuneEnd();
        return t;
    }

private:
    struct Played {
        uint64_t on, off;
        int key, velocity;
    };
    struct Setup {
        uint8_t status, data1, data2;
    };
    int m_channel;
    std::vector<Played> m_notes;
    std::vector<Setup> m_setup;
};

void SetUp(Part& part, const Instrument& instrument, int reverb) {
    // The controllers set before a tune plays.
    part.Control(qv::midi::kVolume, instrument.volume);
    part.Control(qv::midi::kPan, instrument.pan);
    part.Control(qv::midi::kReverb, reverb);
    part.Control(qv::midi::kChorus, reverb / 3);
    part.Program(instrument.program);
}

uint64_t BarStart(int bar) {
    return static_cast<uint64_t>(bar) * kTicksPerBar;
}

const Motif& MotifOfBar(const Style& s, int bar) {
    if (bar == kBars - 1) return s.ending;
    const int phrase = bar / kPhraseBars;
    const auto& motifs = phrase == 2 ? s.phraseB : s.phraseA;
    return motifs[static_cast<size_t>(bar % kPhraseBars)];
}

// The melody: each bar's motif over its chord, in the octave whose first note
// lies nearest the note before, within the instrument's range.
void WriteMelody(const Style& s, Part& part) {
    int previous = s.melodyTonic;
    for (int bar = 0; bar < kBars; ++bar) {
        const int chord = s.facts.progression[static_cast<size_t>(bar)];
        const Motif& motif = MotifOfBar(s, bar);
        int best = 0;
        int bestDistance = 1 << 30;
        for (int shift = -14; shift <= 14; shift += 7) {
            bool fits = true;
            for (const MotifNote& n : motif) {
                const int key = KeyOf(s, chord + n.step + shift, chord);
                fits = fits && key >= s.melodyLow && key <= s.melodyHigh;
            }
            const int d = std::abs(KeyOf(s, chord + motif.front().step + shift, chord) - previous);
            if (fits && d < bestDistance) {
                bestDistance = d;
                best = shift;
            }
        }
        for (const MotifNote& n : motif) {
            const int key = KeyOf(s, chord + n.step + best, chord);
            const bool strong = n.start % 4 == 0;
            const int velocity = (s.battle ? 104 : 92) - (strong ? 0 : 10);
            part.Note(BarStart(bar) + static_cast<uint64_t>(n.start) * kEighth,
                      static_cast<uint64_t>(n.length) * kEighth, key, velocity);
            previous = key;
        }
    }
}

// The chord's three keys with its root near `low`.
std::array<int, 3> Triad(const Style& s, int chord, int low) {
    const int root = KeyOf(s, chord, chord);
    const int shift = IntoOctave(root, low) - root;
    return {root + shift, KeyOf(s, chord + 2, chord) + shift, KeyOf(s, chord + 4, chord) + shift};
}

// The strings hold each bar's chord, in the position (root, first or second
// inversion) nearest to the chord before.
void WritePad(const Style& s, Part& part) {
    constexpr int kLowest = 53, kHighest = 64;  // the lowest key of a voicing
    std::array<int, 3> previous = Triad(s, 0, kLowest + 2);
    for (int bar = 0; bar < kBars; ++bar) {
        const int chord = s.facts.progression[static_cast<size_t>(bar)];
        std::array<int, 3> best{};
        int bestMove = 1 << 30;
        for (int low = kLowest - 12; low <= kHighest; ++low) {
            const std::array<int, 3> t = Triad(s, chord, low);
            const std::array<std::array<int, 3>, 3> voicings = {
                {{t[0], t[1], t[2]}, {t[1], t[2], t[0] + 12}, {t[2], t[0] + 12, t[1] + 12}}};
            for (const auto& v : voicings) {
                if (v[0] < kLowest || v[0] > kHighest) continue;
                int move = 0;
                for (size_t i = 0; i < 3; ++i) move += std::abs(v[i] - previous[i]);
                if (move < bestMove) {
                    bestMove = move;
                    best = v;
                }
            }
        }
        const int velocity = s.battle ? 60 : 54;
        for (int key : best) part.Note(BarStart(bar), kTicksPerBar, key, velocity);
        previous = best;
    }
}

void WriteFigure(const Style& s, Part& part) {
    constexpr int kHarpLow = 43;
    constexpr int kOstinatoLow = 38;
    for (int bar = 0; bar < kBars; ++bar) {
        const int chord = s.facts.progression[static_cast<size_t>(bar)];
        switch (s.figureKind) {
            case Figure::Harp: {
                const std::array<int, 3> t = Triad(s, chord, kHarpLow);
                // Up through the chord and down again, the bass to the tenth.
                const std::array<int, kEighthsPerBar> keys = {
                    t[0], t[2], t[0] + 12, t[1] + 12, t[2] + 12, t[1] + 12, t[0] + 12, t[2]};
                for (int i = 0; i < kEighthsPerBar; ++i)
                    part.Note(BarStart(bar) + static_cast<uint64_t>(i) * kEighth, 2 * kEighth,
                              keys[static_cast<size_t>(i)], i % 4 == 0 ? 66 : 56);
                break;
            }
            case Figure::SlowHarp: {
                const std::array<int, 3> t = Triad(s, chord, kHarpLow);
                const std::array<int, 4> keys = {t[0], t[2], t[0] + 12, t[1] + 12};
                for (int i = 0; i < 4; ++i)
                    part.Note(BarStart(bar) + static_cast<uint64_t>(i) * kTicksPerQuarter,
                              kTicksPerBar - static_cast<uint64_t>(i) * kTicksPerQuarter,
                              keys[static_cast<size_t>(i)], i == 0 ? 62 : 54);
                break;
            }
            case Figure::Ostinato: {
                const std::array<int, 3> t = Triad(s, chord, kOstinatoLow);
                const std::array<int, kEighthsPerBar> keys = {t[0], t[0], t[0] + 12, t[0],
                                                              t[2], t[0], t[0] + 12, t[2]};
                const std::array<int, kEighthsPerBar> accents = {112, 72, 92, 72, 104, 72, 92, 78};
                for (int i = 0; i < kEighthsPerBar; ++i)
                    part.Note(BarStart(bar) + static_cast<uint64_t>(i) * kEighth, kEighth * 3 / 5,
                              keys[static_cast<size_t>(i)], accents[static_cast<size_t>(i)]);
                break;
            }
        }
    }
}

void WriteBass(const Style& s, Part& part) {
    constexpr int kBassLow = 36;
    for (int bar = 0; bar < kBars; ++bar) {
        const int chord = s.facts.progression[static_cast<size_t>(bar)];
        const std::array<int, 3> t = Triad(s, chord, kBassLow);
        const uint64_t at = BarStart(bar);
        switch (s.figureKind) {
            case Figure::SlowHarp:
                part.Note(at, kTicksPerBar, t[0], 76);
                break;
            case Figure::Harp:
                part.Note(at, 2 * kTicksPerQuarter, t[0], 84);
                part.Note(at + 2 * kTicksPerQuarter, 2 * kTicksPerQuarter, t[2], 74);
                break;
            case Figure::Ostinato:
                for (int q = 0; q < 4; ++q)
                    part.Note(at + static_cast<uint64_t>(q) * kTicksPerQuarter,
                              kTicksPerQuarter * 3 / 4, q == 3 ? t[0] + 12 : t[0],
                              q == 0 ? 104 : 90);
                break;
        }
    }
}

// Battle only: timpani on the strong beats, rolling into each phrase's end.
void WriteTimpani(const Style& s, Part& part) {
    constexpr int kTimpaniLow = 41;
    for (int bar = 0; bar < kBars; ++bar) {
        const int chord = s.facts.progression[static_cast<size_t>(bar)];
        const int root = Triad(s, chord, kTimpaniLow)[0];
        const uint64_t at = BarStart(bar);
        part.Note(at, kTicksPerQuarter, root, 104);
        if (bar % kPhraseBars == kPhraseBars - 1) {
            for (int i = 4; i < kEighthsPerBar; ++i)
                part.Note(at + static_cast<uint64_t>(i) * kEighth, kEighth, root,
                          70 + 10 * (i - 4));
        } else {
            part.Note(at + 2 * kTicksPerQuarter, kTicksPerQuarter, root, 84);
        }
    }
}

// Battle only: kick, snare and hats, a crash at each phrase's start and a fill
// of toms at the end of the middle and last phrases.
void WriteDrums(Part& part) {
    for (int bar = 0; bar < kBars; ++bar) {
        const uint64_t at = BarStart(bar);
        auto hit = [&](int eighth, int key, int velocity) {
            part.Note(at + static_cast<uint64_t>(eighth) * kEighth, kEighth, key, velocity);
        };
        if (bar % kPhraseBars == 0) hit(0, kCrash, 100);
        const bool fill = bar == 2 * kPhraseBars + kPhraseBars - 1 || bar == kBars - 1;
        hit(0, kKick, 104);
        hit(3, kKick, 80);
        hit(2, kSnare, 92);
        if (!fill) {
            hit(4, kKick, 96);
            hit(6, kSnare, 92);
            for (int i = 0; i < kEighthsPerBar; ++i) hit(i, kClosedHat, i % 2 == 0 ? 52 : 40);
        } else {
            for (int i = 0; i < 4; ++i)
                hit(4 + i, kTomsFalling[static_cast<size_t>(i)], 86 + 6 * i);
        }
    }
}

MidiFile::Event Meta(uint8_t type, std::vector<uint8_t> bytes) {
    MidiFile::Event e;
    e.status = MidiFile::kMeta;
    e.type = type;
    e.bytes = std::move(bytes);
    return e;
}

}  // namespace

std::vector<int> TuneNumbers() {
    std::vector<int> numbers;
    for (size_t i = 0; i < Styles().size(); ++i) numbers.push_back(static_cast<int>(i));
    return numbers;
}

TuneFacts Facts(int tune) {
    return StyleOf(tune).facts;
}

MidiFile Compose(int tune) {
    const Style& s = StyleOf(tune);
    MidiFile file;
    file.format = 1;
    file.division = kTicksPerQuarter;

    // The conductor: the tempo and four beats a bar.
    MidiFile::Track conductor;
    const uint32_t tempo = static_cast<uint32_t>(kMicrosecondsPerMinute / s.facts.tempo);
    conductor.events.push_back(Meta(0x03, {'Q', 'u', 'o', 'r', 'v', 'a', 'l', 'e'}));
    conductor.events.push_back(Meta(0x58, {4, 2, 24, 8}));
    conductor.events.push_back(Meta(
        MidiFile::kMetaTempo, {static_cast<uint8_t>(tempo >> 16), static_cast<uint8_t>(tempo >> 8),
                               static_cast<uint8_t>(tempo)}));
    conductor.end = TuneEnd();
    file.tracks.push_back(conductor);

    Part melody(kMelodyChannel), pad(kPadChannel), figure(kFigureChannel), bass(kBassChannel);
    SetUp(melody, s.melody, s.reverb);
    SetUp(pad, s.pad, s.reverb);
    SetUp(figure, s.figure, s.reverb);
    SetUp(bass, s.bass, s.reverb);
    WriteMelody(s, melody);
    WritePad(s, pad);
    WriteFigure(s, figure);
    WriteBass(s, bass);
    file.tracks.push_back(melody.Track("Melody"));
    file.tracks.push_back(pad.Track("Strings"));
    file.tracks.push_back(figure.Track(s.figureKind == Figure::Ostinato ? "Ostinato" : "Harp"));
    file.tracks.push_back(bass.Track("Bass"));
    if (s.battle) {
        Part timpani(kTimpaniChannel), drums(kDrumChannel);
        SetUp(timpani, kTimpani, s.reverb);
        SetUp(drums, kDrumKit, s.reverb);
        WriteTimpani(s, timpani);
        WriteDrums(drums);
        file.tracks.push_back(timpani.Track("Timpani"));
        file.tracks.push_back(drums.Track("Drums"));
    }
    return file;
}

bool WriteTunes(const std::string& gameFolder, std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(gameFolder + "Music", ec);
    if (ec) {
        error = gameFolder + "Music: " + ec.message();
        return false;
    }
    for (int tune : TuneNumbers()) {
        const std::string path = gameFolder + qv::ToSlashes(CMIDIStream::TuneFileName(tune));
        try {
            qv::WriteWholeFile(path, Compose(tune).Write());
        } catch (const qv::FileError& e) {
            error = e.what();
            return false;
        }
    }
    return true;
}

}  // namespace tunes
