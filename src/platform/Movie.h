#pragma once
// Movies: an AVI file's pictures and sound, read with FFmpeg's libraries and
// handed out as the game's own 16-bit 5-6-5 pictures and a mono sound at the
// mixer's rate; and the writer that makes such a file (MJPEG pictures, 16-bit
// PCM sound). FFmpeg is reached only from here.
//
// A movie comes from outside the program, so everything about it is bounded:
// its size in bytes, the picture's size, the number of pictures, the length
// of its sound and the time its decoding may take. A file past any bound, or
// one that cannot be decoded, is refused with an error naming it.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/Audio.h"
#include "platform/Surface.h"

namespace qv {

// The bounds of a movie.
inline constexpr int64_t kMovieMaxBytes = int64_t{256} << 20;
inline constexpr int kMovieMaxWidth = 640;  // the screen
inline constexpr int kMovieMaxHeight = 480;
inline constexpr int kMovieMaxFrames = 18000;        // ten minutes at 30 pictures a second
inline constexpr int kMovieMaxSeconds = 600;         // of sound, and of pictures' times
inline constexpr uint32_t kMovieMaxDecodeMs = 5000;  // for the opening, and for each picture

class MovieReader {
public:
    MovieReader();
    ~MovieReader();
    MovieReader(const MovieReader&) = delete;
    MovieReader& operator=(const MovieReader&) = delete;

    // Reads the file `name` (the game's spelling of a path) and opens it.
    // False, with the reason in Error(), when it is missing, too big or not a
    // movie the game plays.
    bool Open(const std::string& name);
    // Opens a movie held in memory; `name` is what errors call it.
    bool OpenBytes(std::vector<uint8_t> bytes, const std::string& name);

    const std::string& Error() const { return m_error; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The whole sound track, mono at Mixer::kRate; null when the movie has none.
    std::shared_ptr<const PcmSound> Sound() const { return m_sound; }

    // The next picture and its time from the movie's start in milliseconds.
    // False at the end; when a picture is broken Error() says so too.
    bool NextFrame(Surface& out, uint32_t& atMs);
    int FramesRead() const { return m_frames; }

private:
    struct State;
    bool Refuse(const std::string& why);
    std::unique_ptr<State> m_state;
    std::string m_name;
    std::string m_error;
    int m_width = 0;
    int m_height = 0;
    int m_frames = 0;
    std::shared_ptr<const PcmSound> m_sound;
};

// Encodes a movie as an AVI file's bytes: the pictures (all of one size, at
// most the bounds above) `framesPerSecond` a second as MJPEG, and the mono
// sound as 16-bit PCM at its own rate. Empty, with the reason in error, when
// the encoders refuse.
std::vector<uint8_t> EncodeMovie(const std::vector<Surface>& frames, int framesPerSecond,
                                 const PcmSound& sound, std::string& error);

}  // namespace qv
