#pragma once
// A sound shared by every object of a class: made when the first such object
// is made, gone with the last.

#include <memory>

class CDSound;

class SharedSound {
public:
    explicit SharedSound(int waveId);
    ~SharedSound();
    SharedSound(const SharedSound&) = delete;
    SharedSound& operator=(const SharedSound&) = delete;

    // One more object uses the sound (the first makes it).
    void Take();
    // One object fewer uses it (the last lets it go).
    void Give();
    // The sound while any object uses it, else null.
    CDSound* Get() const { return m_pSound.get(); }
    // Plays it, when there is one; answers as CDSound::Play (0 without).
    int Play() const;

private:
    int m_iWaveId;
    int m_iUses = 0;
    std::unique_ptr<CDSound> m_pSound;
};
