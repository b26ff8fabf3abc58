// Standard MIDI files: bytes written by hand from the file's layout, read,
// written back, timed in frames, and refused whole when anything is wrong.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
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

// `v` big-endian in `n` bytes.
Bytes Big(size_t v, int n) {
    Bytes out;
    for (int i = n - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return out;
}

Bytes Header(uint16_t format, uint16_t tracks, uint16_t division) {
    return Cat(
        {{'M', 'T', 'h', 'd', 0, 0, 0, 6}, Big(format, 2), Big(tracks, 2), Big(division, 2)});
}

Bytes Chunk(const char* tag, const Bytes& body) {
    return Cat({Bytes(tag, tag + 4), Big(body.size(), 4), body});
}

Bytes Track(const Bytes& body) {
    return Chunk("MTrk", body);
}

// A file of format 0 at 96 ticks a quarter note with the one track `body`.
Bytes One(const Bytes& body) {
    return Cat({Header(0, 1, 96), Track(body)});
}

const Bytes kEnd = {0x00, 0xFF, 0x2F, 0x00};
const Bytes kNote = {0x00, 0x90, 0x3C, 0x64};

// A file of format 0 whose one track holds `events` and its end mark.
Bytes Ended(const Bytes& events) {
    return One(Cat({events, kEnd}));
}

// The header `header` and `tracks` empty tracks.
Bytes Empty(const Bytes& header, int tracks = 1) {
    Bytes out = header;
    for (int i = 0; i < tracks; ++i) out = Cat({out, Track(kEnd)});
    return out;
}

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

// A song's messages, to compare whole.
std::vector<std::tuple<int64_t, int, int, int>> Messages(const std::vector<qv::MidiMessage>& ms) {
    std::vector<std::tuple<int64_t, int, int, int>> out;
    for (const qv::MidiMessage& m : ms) out.emplace_back(m.frame, m.status, m.data1, m.data2);
    return out;
}

// Why `file` is refused (the error names `name`); "" when it is read.
std::string Refusal(const Bytes& file, const std::string& name = "Tune7.mid") {
    try {
        MidiFile::Read(file, name);
        return "";
    } catch (const qv::FileError& e) {
        EXPECT_EQ(e.fileName, name);
        EXPECT_NE(std::string(e.what()).find(name), std::string::npos);
        return e.what();
    }
}

TEST(MidiFile, ATuneIsReadWrittenWithFullStatusAndTimedByItsTempos) {
    const MidiFile f = MidiFile::Read(kTune, "Tune1.mid");
    EXPECT_EQ(std::tuple(f.format, f.division, f.tracks.size()), std::tuple(0, 96, size_t{1}));
    // Written back, every event is there as it was read, the running status
    // spelled out: a byte more.
    Bytes written = kTune;
    written[21] = 0x21;
    written.insert(written.begin() + 30, 0x90);
    EXPECT_EQ(f.Write(), written);
    EXPECT_EQ(MidiFile::Read(written, "again").Write(), written);
    EXPECT_EQ(f.tracks[0].end, 384u) << "a two-byte delta: 0x81 0x40 is 192";

    // Half a second a quarter note (96 ticks) until tick 96, a quarter of a
    // second after it.
    const std::pair<uint64_t, int64_t> times[] = {{0, 0},       {48, 250000},  {96, 500000},
                                                  {97, 502604}, {192, 750000}, {384, 1250000}};
    for (auto [tick, microseconds] : times) {
        SCOPED_TRACE(tick);
        EXPECT_EQ(f.MicrosecondsAt(tick), microseconds);
    }
    EXPECT_EQ(f.DurationMicroseconds(), 1250000);
    // At 22050 frames a second: 0.5 s is frame 11025, 0.75 s frame 16537.5,
    // counted down to 16537, and the end at 1.25 s frame 27562. Only channel
    // messages are played; the first tick's program is also the setup.
    const qv::MidiSong song = f.ToSong(22050);
    EXPECT_EQ(
        Messages(song.events),
        Messages(
            {{0, 0xC0, 5, 0}, {0, 0x90, 60, 100}, {11025, 0x90, 60, 0}, {16537, 0x80, 60, 64}}));
    EXPECT_EQ(Messages(song.setup), Messages({{0, 0xC0, 5, 0}}));
    EXPECT_EQ(song.length, 27562);
}

TEST(MidiFile, TracksOfFormatOneSoundTogetherInTrackOrder) {
    // A conductor with a tempo of a second a quarter note; two tracks strike
    // a note each at tick 1, the second one's first.
    const Bytes file =
        Cat({Header(1, 3, 1), Track(Cat({{0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40}, kEnd})),
             Track({0x01, 0x91, 0x40, 0x50, 0x02, 0xFF, 0x2F, 0x00}),
             Track({0x01, 0x92, 0x41, 0x50, 0x03, 0xFF, 0x2F, 0x00})});
    const qv::MidiSong song = MidiFile::Read(file, "Tune2.mid").ToSong(22050);
    EXPECT_EQ(Messages(song.events),
              Messages({{22050, 0x91, 0x40, 0x50}, {22050, 0x92, 0x41, 0x50}}));
    EXPECT_EQ(song.length, 4 * 22050) << "the last track's end";
    EXPECT_TRUE(song.setup.empty());
    // Chunks of other kinds and the rest of a longer header are passed over.
    Bytes header = Header(0, 1, 96);
    header[7] = 8;
    const Bytes other = Cat({header,
                             {0xAA, 0xBB},
                             Chunk("XTRA", {1, 2, 3}),
                             Track(Cat({kNote, kEnd})),
                             Chunk("ZZZZ", {})});
    EXPECT_EQ(MidiFile::Read(other, "Tune3.mid").Write(), Ended(kNote));
}

// A file whose one system exclusive message fills it to `size` bytes: a
// header of 14 bytes, a chunk header of 8, then the delta, the status, a
// length of four bytes, the message and the end mark.
Bytes FileOfSize(size_t size) {
    const size_t n = size - 14 - 8 - 1 - 1 - 4 - 4;
    Bytes body = {0x00, 0xF0};
    for (int shift = 21; shift > 0; shift -= 7)
        body.push_back(static_cast<uint8_t>(0x80 | ((n >> shift) & 0x7F)));
    body.push_back(static_cast<uint8_t>(n & 0x7F));
    body.resize(body.size() + n, 0x11);
    return One(Cat({body, kEnd}));
}

// A file of a second a tick that ends after `seconds` (two bytes of delta).
Bytes FileOfSeconds(int seconds) {
    return Cat({Header(0, 1, 1), Track({0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40,
                                        static_cast<uint8_t>(0x80 | (seconds >> 7)),
                                        static_cast<uint8_t>(seconds & 0x7F), 0xFF, 0x2F, 0x00})});
}

TEST(MidiFile, WhatIsReadAndWhatIsRefusedSayingWhy) {
    Bytes shortHeader = Header(0, 1, 96);
    shortHeader[7] = 5;
    const size_t kMax = MidiFile::kMaxFileBytes;
    // What each file is, and why it is refused ("" where it is read).
    const std::tuple<const char*, Bytes, std::string> rows[] = {
        {"no header", Empty(Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 6}), "not a MIDI file"},
        {"a header of 5 bytes", Empty(shortHeader), "a header of 5 bytes"},
        {"a header past the end", Empty(Bytes{'M', 'T', 'h', 'd', 0, 0, 1, 0}), "of 256 bytes"},
        {"format 2", Empty(Header(2, 1, 96)), "of format 2"},
        {"no track", Header(1, 0, 96), "no track"},
        {"format 0 with two tracks", Empty(Header(0, 2, 96), 2), "of format 0 with 2 tracks"},
        {"SMPTE time", Empty(Header(0, 1, 0xE728)), "SMPTE"},
        {"0 ticks a quarter", Empty(Header(0, 1, 0)), "0 ticks a quarter"},
        {"more tracks than counted", Empty(Header(1, 1, 96), 2), "more tracks than the 1"},
        {"fewer tracks than counted", Empty(Header(1, 3, 96), 2), "2 tracks, not the 3"},
        {"a chunk longer than the file",
         Cat({Header(0, 1, 96), {'M', 'T', 'r', 'k', 0, 0, 0, 9}, kEnd}),
         "counts 9 bytes, and 4 are left"},
        {"a cut chunk header", Cat({One(kEnd), {'X', 'Y'}}), "the chunk at byte 26 is cut short"},
        {"a data byte first", Ended({0x00, 0x3C, 0x64}), "follows no status"},
        {"running status after a meta event", Ended(Cat({kNote, {0, 0xFF, 1, 0, 0, 0x3C, 0}})),
         "follows no status"},
        {"a data byte over 127", Ended({0x00, 0x90, 0x3C, 0x80}), "a data byte over 127"},
        {"a real-time message", Ended({0x00, 0xF8}), "the status 0xF8"},
        {"a delta of five bytes", Ended({0x81, 0x81, 0x81, 0x81, 1, 0x90, 0x3C, 0x64}),
         "over four"},
        {"a message past its track", Ended({0x00, 0xF0, 0x10, 0x01}), "counts 16 bytes, and 5"},
        {"a meta type over 127", Ended({0x00, 0xFF, 0x80, 0x00}), "the type 128"},
        {"a tempo of two bytes", Ended({0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1}), "2 bytes, not 3"},
        {"a tempo of 0", Ended({0x00, 0xFF, 0x51, 0x03, 0, 0, 0}), "the tempo at byte 23 is 0"},
        {"an end mark with data", One({0x00, 0xFF, 0x2F, 0x01, 0x00}), "holds 1 bytes, not 0"},
        {"bytes after the end mark", One(Cat({kEnd, kNote})), "4 bytes after its end mark"},
        {"no end mark", One(kNote), "ends without its end mark"},
        {"an event cut at the track's end", One({0x00, 0x90, 0x3C}), "is cut short"},
        {"3599 seconds", FileOfSeconds(3599), ""},
        {"3600 seconds: an hour", FileOfSeconds(3600), ""},
        {"3601 seconds", FileOfSeconds(3601), "more than an hour"},
        {"a byte short of 4 MiB", FileOfSize(kMax - 1), ""},
        {"4 MiB", FileOfSize(kMax), ""},
        {"a byte over 4 MiB", FileOfSize(kMax + 1), "more than the 4194304 a tune may have"},
    };
    for (const auto& [what, file, says] : rows) {
        SCOPED_TRACE(what);
        const std::string refusal = Refusal(file);
        EXPECT_EQ(refusal.empty(), says.empty()) << refusal;
        EXPECT_NE(refusal.find(says), std::string::npos) << refusal;
    }
    EXPECT_EQ(FileOfSize(kMax).size(), kMax);
    for (size_t n = 0; n < kTune.size(); ++n) {
        SCOPED_TRACE("cut to " + std::to_string(n) + " bytes");
        EXPECT_NE(Refusal(Bytes(kTune.begin(), kTune.begin() + static_cast<std::ptrdiff_t>(n)),
                          "Music/Tune1.mid"),
                  "");
    }
    try {
        MidiFile::Load("/nonexistent-qv/Music/Tune4.mid");
        ADD_FAILURE() << "read";
    } catch (const qv::FileError& e) {
        EXPECT_EQ(e.cause, qv::FileError::NotFound);
        EXPECT_NE(e.fileName.find("Tune4.mid"), std::string::npos);
    }
}

}  // namespace
