#pragma once
// Sounds, music and the intro movie.
//
// A CDSound is one sound made from a WAVE resource of the game's resource
// store, played through the program's mixer (platform/Audio.h). Music and the
// intro movie cannot be played here: there is no MIDI output and no movie
// decoder, so the music stream never opens and the movie player is never
// ready; callers go on as the game does without them.

#include <memory>
#include <string>

#include "platform/Geometry.h"

namespace qv {
struct PcmSound;
}

// The program's sound switch (the "Sound" setting; the options window flips it).
// While it is clear every sound answers 0 and stays silent.
extern int g_bSoundEnabled;

// Where the listener stands for PlayAt: the centre of the view, answered by
// the main frame ((0, 0) without a world).
qv::Point GetSoundListener();
// How far the world reaches in pixels before it wraps, answered by the main
// frame from its world's map ((0, 0), no wrap, without one).
qv::Point GetSoundWorldSize();

class CDSound {
public:
    explicit CDSound(int waveResourceId);
    // A sound from samples in hand (resource id 0).
    explicit CDSound(std::shared_ptr<const qv::PcmSound> sound);
    ~CDSound();
    CDSound(const CDSound&) = delete;
    CDSound& operator=(const CDSound&) = delete;

    // Plays the sound: pan -10000 (left) to 10000 (right), volume in
    // hundredths of a decibel (0 full, negative quieter), repeating while loop
    // is non-zero. Answers 0 when there is no sound device or sound is
    // switched off, 2 (without restarting) when it already plays, else 1.
    int Play(int pan = 0, int volume = 0, int loop = 0);
    // Plays the sound for the map position (x, y), heard from the view centre
    // (the frame's focus point): nearer is louder, and it comes from the side
    // of the screen it is on. Same answers as Play.
    int PlayAt(int x, int y, int loop = 0);
    void Stop();
    bool IsPlaying() const;
    int GetResourceId() const { return m_iResourceId; }
    // False when the store has no sound of that id (Play then answers 0).
    bool HasSamples() const { return m_pSound != nullptr; }

    // The pan and volume PlayAt uses for a point (dx, dy) world pixels from
    // the view centre.
    static void PanAndVolumeAt(int dx, int dy, int& pan, int& volume);
    // The offset from one coordinate to another the short way round a world
    // `span` pixels across (no wrap when span is 0).
    static int ShortOffset(int from, int to, int span);

private:
    int m_iResourceId;
    std::shared_ptr<const qv::PcmSound> m_pSound;
    int m_iVoice = 0;
};

// The music stream of one tune. No MIDI output exists here, so a stream never
// opens; its operations do nothing.
class CMIDIStream {
public:
    explicit CMIDIStream(int tune) : m_iTune(tune) {}
    bool IsOpen() const { return false; }
    int GetTune() const { return m_iTune; }
    void Pause() { m_bPaused = true; }
    void Restart() { m_bPaused = false; }
    bool IsPaused() const { return m_bPaused; }

private:
    int m_iTune;
    bool m_bPaused = false;
};

// A movie player. There is no movie decoder here: a player is never ready, so
// whoever waits for the movie to end goes on at once.
class CAviPlayer {
public:
    virtual ~CAviPlayer() = default;
    // Non-zero while the movie plays.
    int IsReady() const { return 0; }
    void Start() {}
    void Stop() {}
};

// The intro movie with its sound.
class CAviSoundPlayer : public CAviPlayer {
public:
    CAviSoundPlayer(const std::string& file, void* soundDevice = nullptr, void* owner = nullptr)
        : m_strFile(file) {
        (void)soundDevice;
        (void)owner;
    }
    const std::string& GetFile() const { return m_strFile; }

private:
    std::string m_strFile;
};
