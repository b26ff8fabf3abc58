#pragma once
// What the start-up keeps besides the frame's own steps: the trace told each
// step as it is taken, and whether the intro plays.

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "media/AviPlayer.h"

class CStartState {
public:
    // Told the name of each start-up and shut-down step as it is taken, and
    // of every showing of the options window.
    std::function<void(const std::string&)> m_StartTrace;
    void TraceStart(const std::string& step) {
        if (m_StartTrace) m_StartTrace(step);
    }

    // A key during the intro asks it to stop; only the intro itself ends its
    // player. Answers whether an intro was playing.
    bool StopIntro() {
        if (!m_bIntroPlaying.load()) return false;
        m_bIntroStopAsked = true;
        return true;
    }
    bool IsIntroPlaying() const { return m_bIntroPlaying.load(); }
    // Whether the intro plays, and whether a key asked it to stop: the
    // intro alone sets the first, a key only the second.
    std::atomic<bool> m_bIntroPlaying{false};
    std::atomic<bool> m_bIntroStopAsked{false};
    // The intro movie's player while the movie plays.
    std::unique_ptr<CAviPlayer> m_pAviPlayer;
};
