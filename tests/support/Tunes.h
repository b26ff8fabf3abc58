#pragma once
// Tunes made for the music tests: a game folder's "Music" files of one long
// piano note each, and the loudness of what the mixer makes of them.

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "media/DSound.h"
#include "media/MidiFile.h"
#include "platform/Audio.h"
#include "platform/Files.h"

namespace music_test {

// Two seconds at the default tempo: a piano strikes `key` at once and lets it
// go after a second.
inline MidiFile OneNote(int key) {
    MidiFile f;
    f.format = 0;
    f.division = 480;
    MidiFile::Track t;
    MidiFile::Event program, on, off;
    program.status = 0xC0;
    on.status = 0x90;
    on.data1 = static_cast<uint8_t>(key);
    on.data2 = 110;
    off.tick = 960;
    off.status = 0x80;
    off.data1 = static_cast<uint8_t>(key);
    off.data2 = 64;
    t.events = {program, on, off};
    t.end = 1920;
    f.tracks.push_back(t);
    return f;
}

// Writes tune `n` of the game folder `folder` (ending in '/').
inline void WriteTune(const std::string& folder, int n, int key = 60) {
    qv::MakeFolder(folder + "Music");
    qv::WriteWholeFile(folder + qv::ToSlashes(CMIDIStream::TuneFileName(n)), OneNote(key).Write());
}

// The loudest sample of `frames` stereo frames mixed now by the sound
// device's mixer (sounds and music).
inline int MixedPeak(int frames = 4096) {
    std::vector<int16_t> out(static_cast<size_t>(frames) * 2);
    qv::AudioDevice::Instance().WithMixer([&](qv::Mixer& m) { m.Mix(out.data(), frames); });
    int peak = 0;
    for (int16_t s : out) peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak;
}

}  // namespace music_test
