#pragma once
// For the music tests: a folder of the test's own, a game folder's "Music"
// files of one long piano note each, and the loudness of what the mixer makes
// of them.

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "media/DSound.h"
#include "platform/Audio.h"
#include "platform/Files.h"

namespace music_test {

// An empty folder, removed with this; Path() ends in '/' as a game folder's.
struct TempFolder {
    explicit TempFolder(const std::string& name)
        : dir(std::filesystem::temp_directory_path() /
              ("qv-" + name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    ~TempFolder() { std::filesystem::remove_all(dir); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string Path() const { return dir.string() + "/"; }
    std::filesystem::path dir;
};

// Writes tune `n` of the game folder `folder` (ending in '/'): two seconds
// at the default tempo, 480 ticks a quarter note, in which a piano strikes
// `key` at once and lets it go after a second (960 ticks).
inline void WriteTune(const std::string& folder, int n, uint8_t key = 60) {
    qv::MakeFolder(folder + "Music");
    qv::WriteWholeFile(
        folder + qv::ToSlashes(CMIDIStream::TuneFileName(n)),
        {'M',  'T',  'h',  'd', 0,    0,    0,    6,    0,    0, 0, 1, 0x01, 0xE0,  //
         'M',  'T',  'r',  'k', 0,    0,    0,    17,                               //
         0,    0xC0, 0,    0,   0x90, key,  110,                                    //
         0x87, 0x40, 0x80, key, 64,   0x87, 0x40, 0xFF, 0x2F, 0});
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
