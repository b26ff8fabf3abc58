#pragma once
// Music output: MIDI messages played by a software synthesiser with a General
// MIDI sound font, rendered into the program's mixer (platform/Audio.h), so
// that sounds and music share the one sound device. A song is a list of
// messages timed in output frames; the output plays one song at a time,
// repeats it, and pauses and resumes it without losing its place.
//
// Every operation locks the output against the mixer's thread. The output can
// also be rendered by hand (tests mix into a buffer of their own).

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/Audio.h"

namespace qv {

// MIDI's own numbers, shared by the output, the tunes' files and the data
// program that composes them.
namespace midi {

constexpr int kChannels = 16;

// The kinds of channel message: a status byte's high four bits, its low four
// the channel.
// clang-format off
enum Kind : uint8_t {
    kNoteOff = 0x80, kNoteOn = 0x90, kKeyPressure = 0xA0, kControlChange = 0xB0,
    kProgramChange = 0xC0, kChannelPressure = 0xD0, kPitchBend = 0xE0
};
// clang-format on

// The controllers a tune sets before it plays, and the channel mode messages
// (sent as controllers) that end what sounds.
enum Controller : uint8_t { kVolume = 7, kPan = 10, kReverb = 91, kChorus = 93 };
enum ChannelMode : uint8_t { kResetControllers = 121, kAllNotesOff = 123 };

constexpr uint8_t KindOf(uint8_t status) {
    return status & 0xF0;
}
constexpr int ChannelOf(uint8_t status) {
    return status & 0x0F;
}
constexpr uint8_t Status(Kind kind, int channel) {
    return static_cast<uint8_t>(kind | (channel & 0x0F));
}

}  // namespace midi

// One MIDI channel message (0x80..0xEF) at a frame of its song.
struct MidiMessage {
    int64_t frame = 0;
    uint8_t status = 0;
    uint8_t data1 = 0;
    uint8_t data2 = 0;
};

// A song as the output plays it. `setup` (programs, controllers) is sent the
// moment the song starts; `events` follow in the order of their frames, and
// after `length` frames the song starts again from its first event, when it
// lasts at least kRepeatFrames (a shorter one plays once).
struct MidiSong {
    std::vector<MidiMessage> setup;
    std::vector<MidiMessage> events;
    int64_t length = 0;
};

class MidiOutput : public MixStream {
public:
    // The sound font Debian's fluid-soundfont-gm installs.
    static constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2";
    // A song shorter than this (in frames at the output's rate, a second)
    // is not repeated.
    static int64_t RepeatFrames(int rate) { return rate; }

    // The output the sound device mixes.
    static MidiOutput& Instance();
    // The sound font the game's output opens (kDefaultSoundFont unless set).
    static std::string SoundFont();
    static void SetSoundFont(const std::string& path);

    MidiOutput();
    ~MidiOutput() override;
    MidiOutput(const MidiOutput&) = delete;
    MidiOutput& operator=(const MidiOutput&) = delete;

    // Starts the synthesiser at `rate` frames a second with the sound font.
    // False, with the reason in Error(), when the font cannot be read; the
    // output then stays closed. Opening an open output changes nothing.
    bool Open(const std::string& soundFont, int rate);
    void Close();
    bool IsOpen() const;
    std::string Error() const;

    // Plays a song in place of the one playing, from its start; answers its
    // id, or 0 when the output is closed or there is no song.
    int Play(std::shared_ptr<const MidiSong> song);
    // These act only while `song` is the one playing.
    void Stop(int song);
    void Pause(int song);
    void Resume(int song);
    bool IsPlaying(int song) const;
    bool IsPaused(int song) const;
    // Frames of the song played since it last started from its beginning.
    int64_t Position(int song) const;

    // The playing song, unless paused, rendered and added into `acc`.
    void MixInto(int32_t* acc, int frames) override;

private:
    struct Synth;
    void Send(const MidiMessage& m);
    void SilenceAll();
    void Render(int32_t* acc, int frames);

    mutable std::mutex m_mutex;
    std::unique_ptr<Synth> m_synth;
    std::string m_error;
    int m_rate = 0;
    std::shared_ptr<const MidiSong> m_song;
    int m_songId = 0;
    int m_nextId = 1;
    size_t m_next = 0;  // the next event to send
    int64_t m_pos = 0;  // frames played since the song's start
    bool m_paused = false;
    std::vector<float> m_left, m_right;
};

}  // namespace qv
