#pragma once
// Standard MIDI files: the game's tunes, as the data program writes them into
// the game folder's "Music" and the music stream reads them.
//
// A file is a header chunk "MThd" (format, track count, ticks a quarter note)
// and one "MTrk" chunk a track; big-endian numbers. Read: format 0 or 1, timed
// in ticks of a quarter note, lasting at most an hour; every length and count
// is checked against the bytes there, and anything else is refused with a
// qv::FileError naming the file.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Midi.h"

class MidiFile {
public:
    // The largest file read (a tune of the game is a few kilobytes).
    static constexpr size_t kMaxFileBytes = 4u << 20;
    // The longest tune played, in microseconds.
    static constexpr int64_t kMaxMicroseconds = int64_t{3600} * 1000000;
    // A quarter note's length, in microseconds, until a tempo says otherwise.
    static constexpr int64_t kDefaultTempo = 500000;
    // The meta events the player reads: the tempo and a track's end.
    static constexpr uint8_t kMetaTempo = 0x51;
    static constexpr uint8_t kMetaEndOfTrack = 0x2F;
    static constexpr uint8_t kMeta = 0xFF;

    struct Event {
        uint64_t tick = 0;   // from the start of its track
        uint8_t status = 0;  // 0x80..0xEF a channel message; 0xF0, 0xF7 system exclusive; 0xFF meta
        uint8_t type = 0;    // a meta event's type
        uint8_t data1 = 0;   // a channel message's data
        uint8_t data2 = 0;
        std::vector<uint8_t> bytes;  // a meta or system exclusive event's data

        bool IsChannelMessage() const { return status >= 0x80 && status < 0xF0; }
    };
    struct Track {
        std::vector<Event> events;  // in the order of their ticks
        uint64_t end = 0;           // the tick of the track's end mark
    };

    int format = 1;
    int division = 480;  // ticks a quarter note
    std::vector<Track> tracks;

    // The file whose bytes these are; qv::FileError naming `name` when they
    // are not a MIDI file the game plays.
    static MidiFile Read(const std::vector<uint8_t>& bytes, const std::string& name);
    // Reads the file at `path` (the game's own spelling of it).
    static MidiFile Load(const std::string& path);
    // The file's bytes: every event with its full status byte, each track
    // ending in its end mark. Events must be in the order of their ticks, no
    // two more than 0x0FFFFFFF ticks apart.
    std::vector<uint8_t> Write() const;

    // The channel messages of every track in the order they sound, timed in
    // frames at `rate` by the tempo changes of any track; the programs and
    // controllers of the first tick go into the song's setup.
    qv::MidiSong ToSong(int rate) const;
    // Microseconds from the start to `tick`.
    int64_t MicrosecondsAt(uint64_t tick) const;
    // The last end mark of the tracks, in microseconds.
    int64_t DurationMicroseconds() const;

private:
    struct TempoChange {
        uint64_t tick;
        int64_t tempo;  // microseconds a quarter note
    };
    std::vector<TempoChange> TempoMap() const;
    static int64_t MicrosecondsAt(const std::vector<TempoChange>& map, int division, uint64_t tick);
};
