// Standard MIDI files: bytes written by hand from the file's layout, read,
// written back, timed in frames, and refused whole when anything is wrong.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/MidiFile.h"
#include "platform/Files.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Big32(uint32_t v) {
    return {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

Bytes Header(uint16_t format, uint16_t tracks, uint16_t division) {
    return {'M',
            'T',
            'h',
            'd',
            0,
            0,
            0,
            6,
            static_cast<uint8_t>(format >> 8),
            static_cast<uint8_t>(format),
            static_cast<uint8_t>(tracks >> 8),
            static_cast<uint8_t>(tracks),
            static_cast<uint8_t>(division >> 8),
            static_cast<uint8_t>(division)};
}

Bytes Chunk(const char* tag, const Bytes& body) {
    return Cat({Bytes(tag, tag + 4), Big32(static_cast<uint32_t>(body.size())), body});
}

Bytes Track(const Bytes& body) {
    return Chunk("MTrk", body);
}

const Bytes kEnd = {0x00, 0xFF, 0x2F, 0x00};

// A tune of format 0 at 96 ticks a quarter note: a program, a note struck
// and struck again with velocity 0 (by running status), a tempo of 250000
// microseconds a quarter from tick 96, a system exclusive message, a note off
// at tick 192 and the end mark at tick 384.
const Bytes kTune = {
    'M',  'T',  'h',  'd',  0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x01, 0x00, 0x60,  //
    'M',  'T',  'r',  'k',  0x00, 0x00, 0x00, 0x20,                                      //
    0x00, 0xC0, 0x05,                                                                    //
    0x00, 0x90, 0x3C, 0x64,                                                              //
    0x60, 0x3C, 0x00,                                                                    //
    0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90,                                            //
    0x00, 0xF0, 0x03, 0x43, 0x12, 0xF7,                                                  //
    0x60, 0x80, 0x3C, 0x40,                                                              //
    0x81, 0x40, 0xFF, 0x2F, 0x00,                                                        //
};

TEST(MidiFile, ReadsEveryEventOfATrack) {
    const MidiFile f = MidiFile::Read(kTune, "Tune1.mid");
    EXPECT_EQ(f.format, 0);
    EXPECT_EQ(f.division, 96);
    ASSERT_EQ(f.tracks.size(), 1u);
    const auto& e = f.tracks[0].events;
    ASSERT_EQ(e.size(), 6u);
    struct Row {
        const char* what;
        uint64_t tick;
        uint8_t status, type, data1, data2;
        Bytes bytes;
    };
    const Row rows[] = {
        {"program 5", 0, 0xC0, 0, 5, 0, {}},
        {"note 60 struck", 0, 0x90, 0, 60, 100, {}},
        {"running status: the same status again", 96, 0x90, 0, 60, 0, {}},
        {"tempo", 96, 0xFF, 0x51, 0, 0, {0x03, 0xD0, 0x90}},
        {"system exclusive", 96, 0xF0, 0, 0, 0, {0x43, 0x12, 0xF7}},
        {"note 60 let go", 192, 0x80, 0, 60, 64, {}},
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].what);
        EXPECT_EQ(e[i].tick, rows[i].tick);
        EXPECT_EQ(e[i].status, rows[i].status);
        EXPECT_EQ(e[i].type, rows[i].type);
        EXPECT_EQ(e[i].data1, rows[i].data1);
        EXPECT_EQ(e[i].data2, rows[i].data2);
        EXPECT_EQ(e[i].bytes, rows[i].bytes);
    }
    EXPECT_EQ(f.tracks[0].end, 384u) << "a two-byte delta: 0x81 0x40 is 192";
}

TEST(MidiFile, WritesEveryEventWithItsFullStatus) {
    const Bytes written = MidiFile::Read(kTune, "Tune1.mid").Write();
    const Bytes expected = {
        'M',  'T',  'h',  'd',  0x00, 0x00, 0x00, 0x06, 0x00, 0x00, 0x00, 0x01, 0x00, 0x60,  //
        'M',  'T',  'r',  'k',  0x00, 0x00, 0x00, 0x21,                                      //
        0x00, 0xC0, 0x05,                                                                    //
        0x00, 0x90, 0x3C, 0x64,                                                              //
        0x60, 0x90, 0x3C, 0x00,                                                              //
        0x00, 0xFF, 0x51, 0x03, 0x03, 0xD0, 0x90,                                            //
        0x00, 0xF0, 0x03, 0x43, 0x12, 0xF7,                                                  //
        0x60, 0x80, 0x3C, 0x40,                                                              //
        0x81, 0x40, 0xFF, 0x2F, 0x00,                                                        //
    };
    EXPECT_EQ(written, expected);
    EXPECT_EQ(MidiFile::Read(written, "again").Write(), expected);
}

TEST(MidiFile, TimesFollowTheTempoChanges) {
    const MidiFile f = MidiFile::Read(kTune, "Tune1.mid");
    // Half a second a quarter note (96 ticks) until tick 96, a quarter of a
    // second after it.
    struct Row {
        uint64_t tick;
        int64_t microseconds;
    };
    for (const Row& row : {Row{0, 0}, Row{48, 250000}, Row{96, 500000}, Row{97, 502604},
                           Row{192, 750000}, Row{384, 1250000}}) {
        SCOPED_TRACE(row.tick);
        EXPECT_EQ(f.MicrosecondsAt(row.tick), row.microseconds);
    }
    EXPECT_EQ(f.DurationMicroseconds(), 1250000);

    // At 22050 frames a second: 0.5 s is frame 11025, 0.75 s frame 16537.5,
    // counted down to 16537, and the end at 1.25 s frame 27562.
    const qv::MidiSong song = f.ToSong(22050);
    ASSERT_EQ(song.events.size(), 4u) << "only channel messages are played";
    const qv::MidiMessage expected[] = {
        {0, 0xC0, 5, 0}, {0, 0x90, 60, 100}, {11025, 0x90, 60, 0}, {16537, 0x80, 60, 64}};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(song.events[i].frame, expected[i].frame);
        EXPECT_EQ(song.events[i].status, expected[i].status);
        EXPECT_EQ(song.events[i].data1, expected[i].data1);
        EXPECT_EQ(song.events[i].data2, expected[i].data2);
    }
    ASSERT_EQ(song.setup.size(), 1u) << "the first tick's program";
    EXPECT_EQ(song.setup[0].status, 0xC0);
    EXPECT_EQ(song.length, 27562);
}

TEST(MidiFile, TracksOfFormatOneSoundTogetherInTrackOrder) {
    // A conductor with a tempo of a second a quarter note; two tracks strike
    // a note each at tick 1, the second one's first.
    const Bytes file =
        Cat({Header(1, 3, 1), Track(Cat({{0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40}, kEnd})),
             Track(Cat({{0x01, 0x91, 0x40, 0x50, 0x02, 0xFF, 0x2F, 0x00}})),
             Track(Cat({{0x01, 0x92, 0x41, 0x50, 0x03, 0xFF, 0x2F, 0x00}}))});
    const MidiFile f = MidiFile::Read(file, "Tune2.mid");
    const qv::MidiSong song = f.ToSong(22050);
    ASSERT_EQ(song.events.size(), 2u);
    EXPECT_EQ(song.events[0].status, 0x91);
    EXPECT_EQ(song.events[1].status, 0x92);
    EXPECT_EQ(song.events[0].frame, 22050);
    EXPECT_EQ(song.length, 4 * 22050) << "the last track's end";
    EXPECT_TRUE(song.setup.empty());
}

TEST(MidiFile, OtherChunksAndALongerHeaderArePassedOver) {
    Bytes header = Header(0, 1, 96);
    header[7] = 8;  // a header of 8 bytes
    header.push_back(0xAA);
    header.push_back(0xBB);
    const Bytes file = Cat({header, Chunk("XTRA", {1, 2, 3}),
                            Track(Cat({{0x00, 0x90, 0x3C, 0x64}, kEnd})), Chunk("ZZZZ", {})});
    const MidiFile f = MidiFile::Read(file, "Tune3.mid");
    ASSERT_EQ(f.tracks.size(), 1u);
    EXPECT_EQ(f.tracks[0].events.size(), 1u);
}

TEST(MidiFile, EveryTruncationIsRefusedNamingTheFile) {
    for (size_t n = 0; n < kTune.size(); ++n) {
        SCOPED_TRACE(n);
        const Bytes cut(kTune.begin(), kTune.begin() + static_cast<std::ptrdiff_t>(n));
        try {
            MidiFile::Read(cut, "Music/Tune1.mid");
            ADD_FAILURE() << "read";
        } catch (const qv::FileError& e) {
            EXPECT_EQ(e.fileName, "Music/Tune1.mid");
            EXPECT_NE(std::string(e.what()).find("Music/Tune1.mid"), std::string::npos);
        }
    }
}

TEST(MidiFile, BadFilesAreRefusedSayingWhy) {
    const Bytes note = {0x00, 0x90, 0x3C, 0x64};
    Bytes shortHeader = Header(0, 1, 96);
    shortHeader[7] = 5;
    struct Row {
        const char* what;
        Bytes file;
        const char* says;
    };
    const Row rows[] = {
        {"no header", Cat({Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 6}, Track(kEnd)}), "not a MIDI file"},
        {"a header of 5 bytes", Cat({shortHeader, Track(kEnd)}), "a header of 5 bytes"},
        {"a header longer than the file", Cat({Bytes{'M', 'T', 'h', 'd', 0, 0, 1, 0}, Track(kEnd)}),
         "a header of 256 bytes"},
        {"format 2", Cat({Header(2, 1, 96), Track(kEnd)}), "of format 2"},
        {"no track", Header(1, 0, 96), "no track"},
        {"format 0 with two tracks", Cat({Header(0, 2, 96), Track(kEnd), Track(kEnd)}),
         "of format 0 with 2 tracks"},
        {"SMPTE time", Cat({Header(0, 1, 0xE728), Track(kEnd)}), "SMPTE"},
        {"0 ticks a quarter", Cat({Header(0, 1, 0), Track(kEnd)}), "0 ticks a quarter"},
        {"more tracks than counted", Cat({Header(1, 1, 96), Track(kEnd), Track(kEnd)}),
         "more tracks than the 1"},
        {"fewer tracks than counted", Cat({Header(1, 3, 96), Track(kEnd), Track(kEnd)}),
         "2 tracks, not the 3"},
        {"a chunk longer than the file",
         Cat({Header(0, 1, 96), Bytes{'M', 'T', 'r', 'k', 0, 0, 0, 9}, kEnd}),
         "counts 9 bytes, and 4 are left"},
        {"a cut chunk header", Cat({Header(0, 1, 96), Track(kEnd), Bytes{'X', 'Y'}}),
         "the chunk at byte 26 is cut short"},
        {"a data byte first", Cat({Header(0, 1, 96), Track(Cat({{0x00, 0x3C, 0x64}, kEnd}))}),
         "follows no status"},
        {"running status after a meta event",
         Cat({Header(0, 1, 96),
              Track(Cat({note, {0x00, 0xFF, 0x01, 0x00, 0x00, 0x3C, 0x00}, kEnd}))}),
         "follows no status"},
        {"a data byte over 127",
         Cat({Header(0, 1, 96), Track(Cat({{0x00, 0x90, 0x3C, 0x80}, kEnd}))}),
         "a data byte over 127"},
        {"a real-time message", Cat({Header(0, 1, 96), Track(Cat({{0x00, 0xF8}, kEnd}))}),
         "the status 0xF8"},
        {"a delta of five bytes",
         Cat({Header(0, 1, 96),
              Track(Cat({{0x81, 0x81, 0x81, 0x81, 0x01, 0x90, 0x3C, 0x64}, kEnd}))}),
         "runs over four bytes"},
        {"a message longer than its track",
         Cat({Header(0, 1, 96), Track(Cat({{0x00, 0xF0, 0x10, 0x01}, kEnd}))}),
         "counts 16 bytes, and 5 are left"},
        {"a meta type over 127",
         Cat({Header(0, 1, 96), Track(Cat({{0x00, 0xFF, 0x80, 0x00}, kEnd}))}), "the type 128"},
        {"a tempo of two bytes",
         Cat({Header(0, 1, 96), Track(Cat({{0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1}, kEnd}))}),
         "holds 2 bytes, not 3"},
        {"a tempo of 0",
         Cat({Header(0, 1, 96), Track(Cat({{0x00, 0xFF, 0x51, 0x03, 0, 0, 0}, kEnd}))}),
         "the tempo at byte 23 is 0"},
        {"an end mark with data", Cat({Header(0, 1, 96), Track({0x00, 0xFF, 0x2F, 0x01, 0x00})}),
         "holds 1 bytes, not 0"},
        {"bytes after the end mark", Cat({Header(0, 1, 96), Track(Cat({kEnd, note}))}),
         "goes on for 4 bytes after its end mark"},
        {"no end mark", Cat({Header(0, 1, 96), Track(note)}), "ends without its end mark"},
        {"an event cut at the track's end", Cat({Header(0, 1, 96), Track({0x00, 0x90, 0x3C})}),
         "is cut short"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        try {
            MidiFile::Read(row.file, "Tune7.mid");
            ADD_FAILURE() << "read";
        } catch (const qv::FileError& e) {
            EXPECT_EQ(e.fileName, "Tune7.mid");
            EXPECT_NE(std::string(e.what()).find(row.says), std::string::npos) << e.what();
        }
    }
}

TEST(MidiFile, ATuneMayLastAnHourAndNoLonger) {
    // A second a tick (division 1, a million microseconds a quarter note).
    const Bytes tempo = {0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40};
    struct Row {
        const char* what;
        Bytes endDelta;
        bool read;
    };
    const Row rows[] = {
        {"3599 seconds", {0x9C, 0x0F}, true},
        {"3600 seconds", {0x9C, 0x10}, true},
        {"3601 seconds", {0x9C, 0x11}, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const Bytes file =
            Cat({Header(0, 1, 1), Track(Cat({tempo, row.endDelta, {0xFF, 0x2F, 0x00}}))});
        if (row.read) {
            EXPECT_NO_THROW(MidiFile::Read(file, "long.mid"));
        } else {
            try {
                MidiFile::Read(file, "long.mid");
                ADD_FAILURE() << "read";
            } catch (const qv::FileError& e) {
                EXPECT_NE(std::string(e.what()).find("more than an hour"), std::string::npos);
            }
        }
    }
}

TEST(MidiFile, AFileMayHoldFourMebibytesAndNoMore) {
    // One system exclusive message fills the file: a header of 14 bytes, a
    // chunk header of 8, then the delta, the status, a length of four bytes,
    // the message and the end mark.
    struct Row {
        const char* what;
        size_t extra;
        bool read;
    };
    for (const Row& row : {Row{"a byte short", 0, true}, Row{"at the limit", 1, true},
                           Row{"a byte over", 2, false}}) {
        SCOPED_TRACE(row.what);
        const size_t n = MidiFile::kMaxFileBytes - 14 - 8 - 1 - 1 - 4 - 4 - 1 + row.extra;
        Bytes body = {0x00,
                      0xF0,
                      static_cast<uint8_t>(0x80 | (n >> 21)),
                      static_cast<uint8_t>(0x80 | ((n >> 14) & 0x7F)),
                      static_cast<uint8_t>(0x80 | ((n >> 7) & 0x7F)),
                      static_cast<uint8_t>(n & 0x7F)};
        body.resize(body.size() + n, 0x11);
        body.insert(body.end(), kEnd.begin(), kEnd.end());
        const Bytes file = Cat({Header(0, 1, 96), Track(body)});
        EXPECT_EQ(file.size(), MidiFile::kMaxFileBytes - 1 + row.extra);
        if (row.read) {
            EXPECT_NO_THROW(MidiFile::Read(file, "big.mid"));
        } else {
            EXPECT_THROW(MidiFile::Read(file, "big.mid"), qv::FileError);
        }
    }
}

TEST(MidiFile, AMissingFileIsNamed) {
    try {
        MidiFile::Load("/nonexistent-qv/Music/Tune4.mid");
        ADD_FAILURE() << "read";
    } catch (const qv::FileError& e) {
        EXPECT_EQ(e.cause, qv::FileError::NotFound);
        EXPECT_NE(e.fileName.find("Tune4.mid"), std::string::npos);
    }
}

}  // namespace
