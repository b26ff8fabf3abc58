#pragma once
// Sounds, music and the intro movie.
//
// A CDSound is one sound made from a WAVE resource of the game's resource
// store, played through the program's mixer (platform/Audio.h); a CMIDIStream
// is a tune from the game folder played on the MIDI output mixed with them.
// The intro movie's player is in AviPlayer.h.

#include <memory>
#include <string>

#include "media/AviPlayer.h"
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

// The music stream of one tune: the tune's MIDI file, read and played on the
// program's MIDI output (platform/Midi.h), round and round until the stream
// goes. Only the newest stream plays; an older one left behind is silent.
class CMIDIStream {
public:
    // The game folder's file of a tune: "Music\Tune<n>.mid".
    static std::string TuneFileName(int tune);

    // A stream of a tune that has no file: it never opens.
    explicit CMIDIStream(int tune) : m_iTune(tune) {}
    // Reads the tune's file (the game's own spelling of its path) and starts
    // it in place of the music playing. It stays closed, with the reason in
    // GetError(), when the file cannot be read or there is no MIDI output.
    CMIDIStream(int tune, const std::string& file);
    ~CMIDIStream();
    CMIDIStream(const CMIDIStream&) = delete;
    CMIDIStream& operator=(const CMIDIStream&) = delete;

    bool IsOpen() const { return m_iSong != 0; }
    int GetTune() const { return m_iTune; }
    const std::string& GetError() const { return m_strError; }
    // The file was there and its reader refused it (not merely missing).
    bool IsRefused() const { return m_bRefused; }
    const std::string& GetFile() const { return m_strFile; }
    // Pause holds the tune where it is; Restart plays on from there.
    void Pause();
    void Restart();
    bool IsPaused() const { return m_bPaused; }

private:
    int m_iTune;
    int m_iSong = 0;  // the output's id of the playing tune
    bool m_bPaused = false;
    bool m_bRefused = false;
    std::string m_strError;
    std::string m_strFile;  // the game's name of the file
};
