#include "media/DSound.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "media/MidiFile.h"
#include "media/Resources.h"
#include "platform/Audio.h"
#include "platform/Files.h"
#include "platform/Format.h"
#include "platform/Midi.h"
#include "platform/Saturate.h"

int g_bSoundEnabled = 1;

CDSound::CDSound(int waveResourceId) : m_iResourceId(waveResourceId) {
    std::shared_ptr<const WaveResource> wave = FindWaveResource(waveResourceId);
    if (wave && !wave->samples.empty()) {
        auto pcm = std::make_shared<qv::PcmSound>();
        pcm->rate = wave->sampleRate;
        pcm->samples = wave->samples;
        m_pSound = std::move(pcm);
    }
}

CDSound::CDSound(std::shared_ptr<const qv::PcmSound> sound) : m_iResourceId(0) {
    if (sound && !sound->samples.empty()) m_pSound = std::move(sound);
}

CDSound::~CDSound() {
    Stop();
}

int CDSound::Play(int pan, int volume, int loop) {
    qv::AudioDevice& dev = qv::AudioDevice::Instance();
    if (!dev.IsOpen() || !g_bSoundEnabled || !m_pSound) return 0;
    float left, right;
    qv::PanVolumeToGains(pan, volume, left, right);
    if (m_iVoice && dev.IsPlaying(m_iVoice)) return 2;
    m_iVoice = dev.Start(m_pSound, left, right, loop != 0);
    return m_iVoice ? 1 : 0;
}

// PlayAt hears a point as the screen shows it: the screen offset of a world
// offset (dx, dy) is (dx - dy, dy). The pan follows the screen's x offset,
// full to one side at 500 pixels: pan = 20 * sx, within -10000..10000. The
// volume falls 6 hundredths of a decibel per pixel of screen distance d =
// sqrt(sx^2 + sy^2): volume = -6 * d, no lower than -10000. So a sound at the
// centre plays at full volume, one at the edge of the view (about 270 pixels
// away) at -16 dB, and one 1000 pixels away at -60 dB.
void CDSound::PanAndVolumeAt(int dx, int dy, int& pan, int& volume) {
    double sx = static_cast<double>(dx) - dy;
    double sy = dy;
    double d = std::sqrt(sx * sx + sy * sy);
    pan = static_cast<int>(std::clamp(20.0 * sx, -10000.0, 10000.0));
    volume = -static_cast<int>(std::min(10000.0, std::round(6.0 * d)));
}

int CDSound::ShortOffset(int from, int to, int span) {
    int64_t d = int64_t{to} - from;
    if (span > 0) {
        // Into [-span / 2, span / 2): across the seam when that is shorter.
        d %= span;
        if (d >= span / 2)
            d -= span;
        else if (d < -(span / 2))
            d += span;
    }
    return qv::ClampToInt32(d);
}

int CDSound::PlayAt(int x, int y, int loop) {
    int pan, volume;
    // The sound is heard from the view centre, the short way round the world.
    const qv::Point centre = GetSoundListener();
    const qv::Point span = GetSoundWorldSize();
    PanAndVolumeAt(ShortOffset(centre.x, x, span.x), ShortOffset(centre.y, y, span.y), pan, volume);
    return Play(pan, volume, loop);
}

void CDSound::Stop() {
    if (m_iVoice) qv::AudioDevice::Instance().Stop(m_iVoice);
    m_iVoice = 0;
}

bool CDSound::IsPlaying() const {
    return m_iVoice && qv::AudioDevice::Instance().IsPlaying(m_iVoice);
}

// ---- music ----

std::string CMIDIStream::TuneFileName(int tune) {
    return qv::Format("Music\\Tune%d.mid", tune);
}

CMIDIStream::CMIDIStream(int tune, const std::string& file) : m_iTune(tune), m_strFile(file) {
    qv::MidiOutput& output = qv::MidiOutput::Instance();
    if (!output.IsOpen()) {
        m_strError = "there is no MIDI output";
        return;
    }
    std::shared_ptr<const qv::MidiSong> song;
    try {
        song = std::make_shared<const qv::MidiSong>(
            MidiFile::Load(qv::ResolvePath(file)).ToSong(qv::Mixer::kRate));
    } catch (const qv::FileError& error) {
        m_strError = error.what();
        m_bRefused = error.cause != qv::FileError::NotFound;
        return;
    }
    m_iSong = output.Play(std::move(song));
    if (!m_iSong) m_strError = "there is no MIDI output";
}

CMIDIStream::~CMIDIStream() {
    if (m_iSong) qv::MidiOutput::Instance().Stop(m_iSong);
}

void CMIDIStream::Pause() {
    m_bPaused = true;
    if (m_iSong) qv::MidiOutput::Instance().Pause(m_iSong);
}

void CMIDIStream::Restart() {
    m_bPaused = false;
    if (m_iSong) qv::MidiOutput::Instance().Resume(m_iSong);
}
