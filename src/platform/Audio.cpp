#include "platform/Audio.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/Midi.h"

namespace qv {

int Mixer::Start(std::shared_ptr<const PcmSound> sound, float left, float right, bool loop) {
    if (!sound || sound->samples.empty() || sound->rate <= 0) return 0;
    uint64_t step = (static_cast<uint64_t>(sound->rate) << 32) / kRate;
    int id = m_nextId++;
    if (m_nextId <= 0) m_nextId = 1;
    m_voices.push_back({id, std::move(sound), 0, step, left, right, loop});
    return id;
}

bool Mixer::IsPlaying(int voice) const {
    return std::any_of(m_voices.begin(), m_voices.end(),
                       [voice](const Voice& v) { return v.id == voice; });
}

void Mixer::Stop(int voice) {
    std::erase_if(m_voices, [voice](const Voice& v) { return v.id == voice; });
}

void Mixer::SetGains(int voice, float left, float right) {
    for (Voice& v : m_voices)
        if (v.id == voice) {
            v.left = left;
            v.right = right;
        }
}

void Mixer::Mix(int16_t* out, int frames) {
    m_acc.assign(static_cast<size_t>(frames) * 2, 0);
    for (Voice& v : m_voices) {
        const std::vector<int16_t>& s = v.sound->samples;
        const uint64_t len = static_cast<uint64_t>(s.size()) << 32;
        for (int i = 0; i < frames; ++i) {
            if (v.pos >= len) {
                if (!v.loop) break;
                v.pos %= len;
            }
            int32_t x = s[v.pos >> 32];
            m_acc[2 * i] += static_cast<int32_t>(std::lround(x * v.left));
            m_acc[2 * i + 1] += static_cast<int32_t>(std::lround(x * v.right));
            v.pos += v.step;
        }
    }
    if (m_stream) m_stream->MixInto(m_acc.data(), frames);
    for (size_t i = 0; i < m_acc.size(); ++i)
        out[i] = static_cast<int16_t>(std::clamp(m_acc[i], -32768, 32767));
    std::erase_if(m_voices, [](const Voice& v) {
        return !v.loop && v.pos >= (static_cast<uint64_t>(v.sound->samples.size()) << 32);
    });
}

AudioDevice& AudioDevice::Instance() {
    static AudioDevice device;
    return device;
}

AudioDevice::AudioDevice() {
    m_mixer.SetStream(&MidiOutput::Instance());
}

AudioDevice::Lock::Lock(AudioDevice& d) : dev(d) {
    dev.m_mutex.lock();
    if (dev.m_device) SDL_LockAudioDevice(dev.m_device);
}

AudioDevice::Lock::~Lock() {
    if (dev.m_device) SDL_UnlockAudioDevice(dev.m_device);
    dev.m_mutex.unlock();
}

void AudioDevice::Callback(void* self, uint8_t* stream, int len) {
    // SDL holds the device lock while it calls us.
    auto* dev = static_cast<AudioDevice*>(self);
    dev->m_mixer.Mix(reinterpret_cast<int16_t*>(stream), len / 4);
}

bool AudioDevice::Open() {
    if (m_device) return true;
    if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    SDL_AudioSpec want{};
    want.freq = Mixer::kRate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &AudioDevice::Callback;
    want.userdata = this;
    SDL_AudioSpec have{};
    SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (id == 0) return false;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        m_device = id;
    }
    SDL_PauseAudioDevice(id, 0);
    return true;
}

void AudioDevice::Close() {
    SDL_AudioDeviceID id;
    {
        std::lock_guard<std::mutex> g(m_mutex);
        id = m_device;
        m_device = 0;
        m_mixer.StopAll();  // ids go on counting, so old voices never match new ones
    }
    if (id) SDL_CloseAudioDevice(id);
}

int AudioDevice::Start(std::shared_ptr<const PcmSound> sound, float left, float right, bool loop) {
    Lock lock(*this);
    return m_mixer.Start(std::move(sound), left, right, loop);
}

bool AudioDevice::IsPlaying(int voice) {
    Lock lock(*this);
    return m_mixer.IsPlaying(voice);
}

void AudioDevice::Stop(int voice) {
    Lock lock(*this);
    m_mixer.Stop(voice);
}

void AudioDevice::SetGains(int voice, float left, float right) {
    Lock lock(*this);
    m_mixer.SetGains(voice, left, right);
}

void PanVolumeToGains(int pan, int volume, float& left, float& right) {
    pan = std::clamp(pan, -10000, 10000);
    volume = std::clamp(volume, -10000, 0);
    // Hundredths of a decibel: gain = 10^(v / 2000). A pan lowers the far side
    // by its value in the same units.
    float g = static_cast<float>(std::pow(10.0, volume / 2000.0));
    left = g * static_cast<float>(pan > 0 ? std::pow(10.0, -pan / 2000.0) : 1.0);
    right = g * static_cast<float>(pan < 0 ? std::pow(10.0, pan / 2000.0) : 1.0);
}

}  // namespace qv
