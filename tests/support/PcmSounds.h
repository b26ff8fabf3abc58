#pragma once
// Sounds made for the audio tests.

#include <cstdint>
#include <memory>

#include "platform/Audio.h"

namespace sound_test {

// `count` samples all of `value`, at `rate` frames a second.
inline std::shared_ptr<qv::PcmSound> Constant(int16_t value, int count,
                                              int rate = qv::Mixer::kRate) {
    auto s = std::make_shared<qv::PcmSound>();
    s->rate = rate;
    s->samples.assign(static_cast<size_t>(count), value);
    return s;
}

}  // namespace sound_test
