#include <gtest/gtest.h>

#include <cmath>

#include "platform/Audio.h"
#include "support/PcmSounds.h"

namespace {

using sound_test::Constant;

TEST(Mixer, MixesVoicesWithGainsAndEndsThem) {
    qv::Mixer m;
    int a = m.Start(Constant(1000, 4), 1.0f, 0.5f, false);
    int b = m.Start(Constant(-300, 2), 1.0f, 1.0f, false);
    EXPECT_NE(a, b);
    int16_t out[12];
    m.Mix(out, 6);
    // Frames 0-1: both voices; 2-3: only the first; 4-5: silence.
    int16_t want[12] = {700, 200, 700, 200, 1000, 500, 1000, 500, 0, 0, 0, 0};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(out[i], want[i]) << i;
    EXPECT_FALSE(m.IsPlaying(a));
    EXPECT_FALSE(m.IsPlaying(b));
    EXPECT_EQ(m.Start(Constant(1, 0), 1, 1, false), 0);
}

TEST(Mixer, LoopsClipsAndResamples) {
    qv::Mixer m;
    int v = m.Start(Constant(30000, 3), 1.0f, 1.0f, true);
    m.Start(Constant(30000, 100), 1.0f, 0.0f, false);
    int16_t out[20];
    m.Mix(out, 10);
    EXPECT_EQ(out[0], 32767);  // clipped, not wrapped
    EXPECT_EQ(out[1], 30000);
    EXPECT_TRUE(m.IsPlaying(v));
    m.Stop(v);
    EXPECT_FALSE(m.IsPlaying(v));

    // A sound at half the output rate lasts twice as many frames.
    qv::Mixer h;
    int s = h.Start(Constant(5, 4, qv::Mixer::kRate / 2), 1, 1, false);
    int16_t o[14];
    h.Mix(o, 7);
    EXPECT_EQ(o[12], 5);
    EXPECT_TRUE(h.IsPlaying(s));
    h.Mix(o, 1);
    EXPECT_FALSE(h.IsPlaying(s));
}

TEST(Mixer, PanAndVolumeInHundredthsOfADecibel) {
    float l, r;
    qv::PanVolumeToGains(0, 0, l, r);
    EXPECT_FLOAT_EQ(l, 1.0f);
    EXPECT_FLOAT_EQ(r, 1.0f);
    qv::PanVolumeToGains(0, -2000, l, r);  // -20 dB is a tenth
    EXPECT_NEAR(l, 0.1f, 1e-6);
    EXPECT_NEAR(r, 0.1f, 1e-6);
    qv::PanVolumeToGains(10000, 0, l, r);  // hard right: left at -100 dB
    EXPECT_NEAR(l, 1e-5f, 1e-7);
    EXPECT_FLOAT_EQ(r, 1.0f);
    qv::PanVolumeToGains(-600, -600, l, r);
    EXPECT_NEAR(l, std::pow(10.0f, -0.3f), 1e-6);
    EXPECT_NEAR(r, std::pow(10.0f, -0.6f), 1e-6);
    qv::PanVolumeToGains(-20000, 500, l, r);  // out of range values are clamped
    EXPECT_FLOAT_EQ(l, 1.0f);
    EXPECT_NEAR(r, 1e-5f, 1e-7);
}

}  // namespace
