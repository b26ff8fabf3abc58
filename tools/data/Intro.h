#pragma once
// The intro movie the game shows before its options window: the game's title
// on black, fading out over its last second, to the first bars of the title
// tune as the music's own synthesiser plays them. Written as "Intro.avi" into
// the game folder.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Audio.h"
#include "platform/Surface.h"

namespace intro {

constexpr int kFramesPerSecond = 10;
constexpr int kSeconds = 3;
constexpr int kFrames = kFramesPerSecond * kSeconds;
constexpr int kFadeFrames = kFramesPerSecond;  // the last second fades to black
constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kSoundFadeMs = 500;
// The movie's file in the game folder.
constexpr const char* kFileName = "Intro.avi";

// Picture `frame` of a movie `width` x `height` pixels and `frames` long: the
// title, centred across its height and drawn from the left, on black; the
// last second (or the second half of a shorter movie) fades to black.
qv::Surface Picture(int frame, int frames, int width, int height);
// The title tune's first `ms` milliseconds, mono at the mixer's rate, fading
// out at the end; no samples when the synthesiser has no sound font, with
// the reason in `note`.
qv::PcmSound Sound(int ms, std::string& note);
// The movie's file: `frames` pictures of that size and their sound. Empty,
// with the reason in error, when it cannot be encoded.
std::vector<uint8_t> Movie(int frames, int width, int height, std::string& error,
                           std::string& note);

// Writes the intro into `gameFolder`; false with the reason in error.
bool WriteIntro(const std::string& gameFolder, std::string& error, std::string& note);

}  // namespace intro
