#include "platform/Midi.h"

#include <fluidsynth.h>
#include <sys/stat.h>

#include <algorithm>
#include <cmath>

namespace qv {

namespace {

// The synthesiser's overall gain: loud enough to be heard beside the sounds,
// with room for a full orchestra before the mix clips.
constexpr double kSynthGain = 0.8;
// Frames rendered in one go.
constexpr int kRenderBlock = 1024;

// The synthesiser's own messages are collected, not printed: a failure is
// reported by whoever opened the output, with the last error it gave.
std::mutex g_logMutex;
std::string g_lastSynthError;

void KeepSynthError(int level, const char* message, void*) {
    if (level > FLUID_ERR || !message) return;
    std::lock_guard<std::mutex> g(g_logMutex);
    g_lastSynthError = message;
}

void QuietSynthLog() {
    static std::once_flag once;
    std::call_once(once, [] {
        fluid_set_log_function(FLUID_PANIC, KeepSynthError, nullptr);
        fluid_set_log_function(FLUID_ERR, KeepSynthError, nullptr);
        fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
        fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
        fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
    });
}

std::string TakeSynthError() {
    std::lock_guard<std::mutex> g(g_logMutex);
    std::string e;
    e.swap(g_lastSynthError);
    return e;
}

bool IsRegularFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::mutex g_fontMutex;
std::string g_soundFont = MidiOutput::kDefaultSoundFont;

}  // namespace

struct MidiOutput::Synth {
    fluid_settings_t* settings = nullptr;
    fluid_synth_t* synth = nullptr;
    ~Synth() {
        if (synth) delete_fluid_synth(synth);
        if (settings) delete_fluid_settings(settings);
    }
};

MidiOutput& MidiOutput::Instance() {
    static MidiOutput output;
    return output;
}

std::string MidiOutput::SoundFont() {
    std::lock_guard<std::mutex> g(g_fontMutex);
    return g_soundFont;
}

void MidiOutput::SetSoundFont(const std::string& path) {
    std::lock_guard<std::mutex> g(g_fontMutex);
    g_soundFont = path;
}

MidiOutput::MidiOutput() = default;

MidiOutput::~MidiOutput() {
    Close();
}

bool MidiOutput::Open(const std::string& soundFont, int rate) {
    std::lock_guard<std::mutex> g(m_mutex);
    if (m_synth) return true;
    m_error.clear();
    if (rate < 8000 || rate > 96000) {
        m_error = "the music cannot be played at " + std::to_string(rate) + " frames a second";
        return false;
    }
    // A missing font is the usual case (the package is not installed): say so
    // plainly rather than in the synthesiser's words.
    if (!IsRegularFile(soundFont)) {
        m_error = "the sound font " + soundFont + " is not there";
        return false;
    }
    QuietSynthLog();
    TakeSynthError();
    auto s = std::make_unique<Synth>();
    s->settings = new_fluid_settings();
    if (s->settings) {
        fluid_settings_setnum(s->settings, "synth.sample-rate", rate);
        fluid_settings_setnum(s->settings, "synth.gain", kSynthGain);
        // Samples come from the font only for the instruments a song picks,
        // so opening is quick and a song's start loads what it plays.
        fluid_settings_setint(s->settings, "synth.dynamic-sample-loading", 1);
        s->synth = new_fluid_synth(s->settings);
    }
    if (!s->synth) {
        m_error = "the synthesiser cannot be started";
    } else if (fluid_synth_sfload(s->synth, soundFont.c_str(), 1) == FLUID_FAILED) {
        const std::string why = TakeSynthError();
        m_error = "the sound font " + soundFont + " cannot be read" +
                  (why.empty() ? std::string() : " (" + why + ")");
    }
    if (!m_error.empty()) return false;
    m_synth = std::move(s);
    m_rate = rate;
    m_left.assign(kRenderBlock, 0.0f);
    m_right.assign(kRenderBlock, 0.0f);
    return true;
}

void MidiOutput::Close() {
    std::lock_guard<std::mutex> g(m_mutex);
    m_song.reset();
    m_songId = 0;
    m_synth.reset();
}

bool MidiOutput::IsOpen() const {
    std::lock_guard<std::mutex> g(m_mutex);
    return m_synth != nullptr;
}

std::string MidiOutput::Error() const {
    std::lock_guard<std::mutex> g(m_mutex);
    return m_error;
}

void MidiOutput::Send(const MidiMessage& m) {
    fluid_synth_t* s = m_synth->synth;
    const int ch = midi::ChannelOf(m.status);
    switch (midi::KindOf(m.status)) {
        case midi::kNoteOff:
            fluid_synth_noteoff(s, ch, m.data1);
            break;
        case midi::kNoteOn:
            // Velocity 0 is a note off; the synthesiser takes it as one.
            fluid_synth_noteon(s, ch, m.data1, m.data2);
            break;
        case midi::kKeyPressure:
            fluid_synth_key_pressure(s, ch, m.data1, m.data2);
            break;
        case midi::kControlChange:
            fluid_synth_cc(s, ch, m.data1, m.data2);
            break;
        case midi::kProgramChange:
            fluid_synth_program_change(s, ch, m.data1);
            break;
        case midi::kChannelPressure:
            fluid_synth_channel_pressure(s, ch, m.data1);
            break;
        case midi::kPitchBend:
            fluid_synth_pitch_bend(s, ch, m.data1 | (m.data2 << 7));
            break;
        default:
            break;  // not a channel message: nothing to play
    }
}

void MidiOutput::SilenceAll() {
    fluid_synth_all_sounds_off(m_synth->synth, -1);
    for (int ch = 0; ch < midi::kChannels; ++ch)
        fluid_synth_cc(m_synth->synth, ch, midi::kResetControllers, 0);
}

int MidiOutput::Play(std::shared_ptr<const MidiSong> song) {
    std::lock_guard<std::mutex> g(m_mutex);
    if (!m_synth || !song) return 0;
    SilenceAll();
    // The instruments are chosen here, on the caller's thread, so that their
    // samples are loaded before the mixer needs them.
    for (const MidiMessage& m : song->setup) Send(m);
    m_song = std::move(song);
    m_songId = m_nextId++;
    if (m_nextId <= 0) m_nextId = 1;
    m_next = 0;
    m_pos = 0;
    m_paused = false;
    return m_songId;
}

void MidiOutput::Stop(int song) {
    std::lock_guard<std::mutex> g(m_mutex);
    if (!m_synth || song == 0 || song != m_songId) return;
    SilenceAll();
    m_song.reset();
    m_songId = 0;
}

void MidiOutput::Pause(int song) {
    std::lock_guard<std::mutex> g(m_mutex);
    if (song != 0 && song == m_songId) m_paused = true;
}

void MidiOutput::Resume(int song) {
    std::lock_guard<std::mutex> g(m_mutex);
    if (song != 0 && song == m_songId) m_paused = false;
}

bool MidiOutput::IsPlaying(int song) const {
    std::lock_guard<std::mutex> g(m_mutex);
    return song != 0 && song == m_songId;
}

bool MidiOutput::IsPaused(int song) const {
    std::lock_guard<std::mutex> g(m_mutex);
    return song != 0 && song == m_songId && m_paused;
}

int64_t MidiOutput::Position(int song) const {
    std::lock_guard<std::mutex> g(m_mutex);
    return song != 0 && song == m_songId ? m_pos : 0;
}

void MidiOutput::MixInto(int32_t* acc, int frames) {
    std::lock_guard<std::mutex> g(m_mutex);
    // A paused song keeps its place and its sounding notes, silent until it
    // resumes.
    if (!m_synth || !m_song || m_paused || frames <= 0) return;
    const std::vector<MidiMessage>& events = m_song->events;
    const int64_t length = m_song->length;
    const bool repeats = length >= RepeatFrames(m_rate);
    int done = 0;
    while (done < frames) {
        while (m_next < events.size() && events[m_next].frame <= m_pos) Send(events[m_next++]);
        if (repeats && m_pos >= length) {
            // Round again: what still sounds is let go, as at the end of a
            // played-through song.
            for (int ch = 0; ch < midi::kChannels; ++ch)
                fluid_synth_cc(m_synth->synth, ch, midi::kAllNotesOff, 0);
            m_pos = 0;
            m_next = 0;
            continue;
        }
        int64_t n = frames - done;
        if (m_next < events.size()) n = std::min(n, events[m_next].frame - m_pos);
        if (repeats) n = std::min(n, length - m_pos);
        n = std::min<int64_t>(n, kRenderBlock);
        Render(acc + 2 * done, static_cast<int>(n));
        m_pos += n;
        done += static_cast<int>(n);
    }
}

void MidiOutput::Render(int32_t* acc, int frames) {
    fluid_synth_write_float(m_synth->synth, frames, m_left.data(), 0, 1, m_right.data(), 0, 1);
    for (int i = 0; i < frames; ++i) {
        acc[2 * i] += static_cast<int32_t>(std::lround(std::clamp(m_left[i], -1.0f, 1.0f) * 32767));
        acc[2 * i + 1] +=
            static_cast<int32_t>(std::lround(std::clamp(m_right[i], -1.0f, 1.0f) * 32767));
    }
}

}  // namespace qv
