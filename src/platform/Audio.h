#pragma once
// Sound output: a small mixer of our own, fed to the sound device by SDL's
// audio callback. The mixer itself knows nothing of SDL, so it can be run by
// hand (tests mix into a buffer of their own).

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace qv {

// A mono 16-bit sound and its sample rate.
struct PcmSound {
    int rate = 22050;
    std::vector<int16_t> samples;
};

// A source that adds its own sound into the mixer's output (the music).
class MixStream {
public:
    virtual ~MixStream() = default;
    // Adds `frames` stereo frames (left, right) into `acc`, in 16-bit units.
    virtual void MixInto(int32_t* acc, int frames) = 0;
};

class Mixer {
public:
    static constexpr int kRate = 22050;  // output frames per second, stereo

    // Starts a voice; gains are linear (1 full). Answers its id, 0 for a sound
    // without samples.
    int Start(std::shared_ptr<const PcmSound> sound, float left, float right, bool loop);
    bool IsPlaying(int voice) const;
    void Stop(int voice);
    void SetGains(int voice, float left, float right);
    void StopAll() { m_voices.clear(); }
    int VoiceCount() const { return static_cast<int>(m_voices.size()); }

    // The stream mixed with the voices (none when null); not owned.
    void SetStream(MixStream* stream) { m_stream = stream; }

    // Adds the playing voices and the stream into `frames` stereo frames
    // (left, right), then drops the voices that have ended.
    void Mix(int16_t* out, int frames);

private:
    struct Voice {
        int id;
        std::shared_ptr<const PcmSound> sound;
        uint64_t pos;   // 32.32 fixed-point sample position
        uint64_t step;  // per output frame
        float left, right;
        bool loop;
    };
    std::vector<Voice> m_voices;
    std::vector<int32_t> m_acc;
    MixStream* m_stream = nullptr;
    int m_nextId = 1;
};

// The sound device. Every call locks the device against its callback. Its
// mixer plays the music of MidiOutput::Instance() (platform/Midi.h) with the
// sounds.
class AudioDevice {
public:
    static AudioDevice& Instance();

    // Opens the device; false when there is no sound device.
    bool Open();
    void Close();
    bool IsOpen() const { return m_device != 0; }

    int Start(std::shared_ptr<const PcmSound> sound, float left, float right, bool loop);
    bool IsPlaying(int voice);
    void Stop(int voice);
    void SetGains(int voice, float left, float right);

    // Runs `f` on the mixer with the device locked (tests mix by hand).
    template <class F>
    void WithMixer(F f) {
        Lock lock(*this);
        f(m_mixer);
    }

private:
    AudioDevice();
    struct Lock {
        explicit Lock(AudioDevice& d);
        ~Lock();
        AudioDevice& dev;
    };
    static void Callback(void* self, uint8_t* stream, int len);

    uint32_t m_device = 0;
    std::mutex m_mutex;
    Mixer m_mixer;
};

// Gains of a pan (-10000 left .. 10000 right) and a volume in hundredths of a
// decibel (0 full, negative quieter), as linear factors for left and right.
void PanVolumeToGains(int pan, int volume, float& left, float& right);

}  // namespace qv
