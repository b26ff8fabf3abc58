#pragma once
// The intro movie's player: reads an AVI file (platform/Movie.h), hands each
// picture to whoever shows it when its time on the clock of the message loop
// has come, and plays the movie's sound through the program's mixer.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Movie.h"
#include "platform/Surface.h"

class CDSound;

class CAviPlayer {
public:
    explicit CAviPlayer(std::string file);
    virtual ~CAviPlayer();
    CAviPlayer(const CAviPlayer&) = delete;
    CAviPlayer& operator=(const CAviPlayer&) = delete;

    // Opens the movie and starts it now. False, with the reason naming the
    // file in GetError(), when it cannot be played; IsMissing() then tells a
    // missing file from a broken one.
    bool Start();
    // Ends the pictures and the sound.
    void Stop();
    // Non-zero while the movie plays.
    int IsReady() const { return m_bPlaying ? 1 : 0; }
    // Shows the newest picture whose time has come (through m_Present) and
    // ends the movie once its last picture and its sound are over, or when a
    // picture is broken (GetError() then says so). Answers the milliseconds
    // until something is next due, 0 once the movie has ended.
    uint32_t Update();

    const std::string& GetFile() const { return m_strFile; }
    const std::string& GetError() const { return m_strError; }
    bool IsMissing() const { return m_bMissing; }
    int FramesShown() const { return m_iShown; }

    // Where the pictures go.
    std::function<void(const qv::Surface&)> m_Present;

protected:
    virtual void StartSound(std::shared_ptr<const qv::PcmSound> sound) { (void)sound; }
    virtual void StopSound() {}

private:
    uint32_t Now() const;

    std::string m_strFile;
    std::string m_strError;
    bool m_bMissing = false;
    bool m_bPlaying = false;
    qv::MovieReader m_Reader;
    uint32_t m_uStart = 0;
    uint32_t m_uSoundMs = 0;  // how long the sound plays
    qv::Surface m_Shown, m_Next;
    uint32_t m_uShownAt = 0, m_uNextAt = 0;
    uint32_t m_uGap = 0;  // between the last two pictures
    bool m_bHaveNext = false;
    int m_iShown = 0;
};

// The intro movie with its sound, played while the program's sound is on.
class CAviSoundPlayer : public CAviPlayer {
public:
    CAviSoundPlayer(const std::string& file, void* soundDevice = nullptr, void* owner = nullptr);
    ~CAviSoundPlayer() override;

protected:
    void StartSound(std::shared_ptr<const qv::PcmSound> sound) override;
    void StopSound() override;

private:
    std::unique_ptr<CDSound> m_pSound;
};
