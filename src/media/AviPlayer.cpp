#include "media/AviPlayer.h"

#include <algorithm>
#include <utility>

#include "media/DSound.h"
#include "platform/Files.h"
#include "platform/MessageLoop.h"

CAviPlayer::CAviPlayer(std::string file) : m_strFile(std::move(file)) {}

CAviPlayer::~CAviPlayer() = default;

uint32_t CAviPlayer::Now() const {
    return qv::MessageLoop::Instance().GetClock().Now();
}

bool CAviPlayer::Start() {
    m_bMissing = !qv::FileExists(m_strFile);
    if (!m_Reader.Open(m_strFile)) {
        m_strError = m_Reader.Error();
        return false;
    }
    m_bHaveNext = m_Reader.NextFrame(m_Next, m_uNextAt);
    std::shared_ptr<const qv::PcmSound> sound = m_Reader.Sound();
    m_uSoundMs = 0;
    if (sound && sound->rate > 0)
        m_uSoundMs =
            static_cast<uint32_t>(sound->samples.size() * 1000 / static_cast<size_t>(sound->rate));
    m_bPlaying = true;
    m_iShown = 0;
    m_uStart = Now();
    if (sound) StartSound(std::move(sound));
    return true;
}

void CAviPlayer::Stop() {
    if (m_bPlaying) StopSound();
    m_bPlaying = false;
}

uint32_t CAviPlayer::Update() {
    if (!m_bPlaying) return 0;
    const uint32_t elapsed = Now() - m_uStart;  // the clock wraps
    bool show = false;
    while (m_bHaveNext && m_uNextAt <= elapsed) {
        std::swap(m_Shown, m_Next);
        m_uGap = m_uNextAt - m_uShownAt;
        m_uShownAt = m_uNextAt;
        show = true;
        m_bHaveNext = m_Reader.NextFrame(m_Next, m_uNextAt);
        if (!m_bHaveNext && !m_Reader.Error().empty()) {
            m_strError = m_Reader.Error();
            Stop();
            return 0;
        }
    }
    if (show) {
        ++m_iShown;
        if (m_Present) m_Present(m_Shown);
    }
    if (m_bHaveNext) return m_uNextAt - elapsed;
    // The last picture stays as long as the one before it did, and the sound
    // plays to its end.
    const uint32_t end = std::max(m_uShownAt + m_uGap, m_uSoundMs);
    if (elapsed >= end) {
        Stop();
        return 0;
    }
    return end - elapsed;
}

CAviSoundPlayer::CAviSoundPlayer(const std::string& file, void* soundDevice, void* owner)
    : CAviPlayer(file) {
    // The sound goes to the program's one mixer and the pictures to
    // m_Present: neither is named here.
    (void)soundDevice;
    (void)owner;
}

CAviSoundPlayer::~CAviSoundPlayer() {
    CAviSoundPlayer::StopSound();
}

void CAviSoundPlayer::StartSound(std::shared_ptr<const qv::PcmSound> sound) {
    m_pSound = std::make_unique<CDSound>(std::move(sound));
    m_pSound->Play();
}

void CAviSoundPlayer::StopSound() {
    if (m_pSound) m_pSound->Stop();
    m_pSound.reset();
}
