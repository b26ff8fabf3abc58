#include "data/Intro.h"

#include <algorithm>
#include <memory>

#include "data/Music.h"
#include "media/DIBitmap.h"
#include "media/Resources.h"
#include "platform/Files.h"
#include "platform/Midi.h"
#include "platform/Movie.h"

namespace intro {

qv::Surface Picture(int frame, int frames, int width, int height) {
    qv::Surface s(width, height);
    std::shared_ptr<const CDIBitmap> title = FindBitmapResource(kBitmapTitle);
    if (!title) return s;
    // Full brightness until the fade, then down to black at the last picture
    // (a short movie fades over its second half).
    const int fade = std::max(1, std::min(kFadeFrames, frames / 2));
    const int level = std::clamp(frames - 1 - frame, 0, fade);
    const int top = (height - title->Height()) / 2;
    for (int y = std::max(0, top); y < std::min(height, top + title->Height()); ++y) {
        for (int x = 0; x < std::min(width, title->Width()); ++x) {
            uint16_t pixel = PaletteIndexToPixel(title->GetPixel(x, y - top), title->GetPalette());
            if (level < fade) {
                int r, g, b;
                SplitScreenPixel(pixel, r, g, b);
                pixel = MakeScreenPixel(r * level / fade, g * level / fade, b * level / fade);
            }
            s.SetPixel(x, y, pixel);
        }
    }
    return s;
}

qv::PcmSound Sound(int ms, std::string& note) {
    qv::PcmSound sound;
    sound.rate = qv::Mixer::kRate;
    qv::MidiOutput synth;
    if (!synth.Open(qv::MidiOutput::SoundFont(), sound.rate)) {
        note = "the intro is silent: " + synth.Error();
        return sound;
    }
    synth.Play(
        std::make_shared<qv::MidiSong>(tunes::Compose(tunes::kTitleTune).ToSong(sound.rate)));
    const int total = static_cast<int>(int64_t{ms} * sound.rate / 1000);
    const int fade = kSoundFadeMs * sound.rate / 1000;
    constexpr int kChunk = 1024;
    std::vector<int32_t> acc(2 * kChunk);
    sound.samples.reserve(static_cast<size_t>(total));
    for (int done = 0; done < total;) {
        const int n = std::min(kChunk, total - done);
        std::fill(acc.begin(), acc.end(), 0);
        synth.MixInto(acc.data(), n);
        for (int i = 0; i < n; ++i, ++done) {
            int64_t v = (int64_t{acc[2 * i]} + acc[2 * i + 1]) / 2;
            const int left = total - done;
            if (left < fade) v = v * left / fade;
            sound.samples.push_back(static_cast<int16_t>(std::clamp<int64_t>(v, -32768, 32767)));
        }
    }
    return sound;
}

std::vector<uint8_t> Movie(int frames, int width, int height, std::string& error,
                           std::string& note) {
    std::vector<qv::Surface> pictures;
    for (int i = 0; i < frames; ++i) pictures.push_back(Picture(i, frames, width, height));
    const qv::PcmSound sound = Sound(frames * 1000 / kFramesPerSecond, note);
    return qv::EncodeMovie(pictures, kFramesPerSecond, sound, error);
}

bool WriteIntro(const std::string& gameFolder, std::string& error, std::string& note) {
    const std::vector<uint8_t> bytes = Movie(kFrames, kWidth, kHeight, error, note);
    if (bytes.empty()) {
        error = "The intro movie cannot be made: " + error;
        return false;
    }
    try {
        qv::WriteWholeFile(gameFolder + kFileName, bytes);
    } catch (const qv::FileError& e) {
        error = e.what();
        return false;
    }
    return true;
}

}  // namespace intro
