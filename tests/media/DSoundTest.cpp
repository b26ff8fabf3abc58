#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "media/DSound.h"
#include "media/Resources.h"
#include "platform/Audio.h"
#include "platform/Midi.h"
#include "shell/MainFrm.h"
#include "support/PcmSounds.h"
#include "support/WorldFixture.h"

namespace {

std::shared_ptr<qv::PcmSound> Tone(int count) {
    auto s = std::make_shared<qv::PcmSound>();
    s->samples.resize(count);
    for (int i = 0; i < count; ++i) s->samples[i] = static_cast<int16_t>((i % 50) * 400 - 10000);
    return s;
}

// The first mixed frame of a constant 10000 played at pan 2000 and -6 dB:
// the left side at 10^(-(600 + 2000) / 2000), the right at 10^(-600 / 2000).
void ExpectPannedRightAtSixDecibelsDown() {
    qv::AudioDevice::Instance().WithMixer([](qv::Mixer& m) {
        int16_t out[8];
        m.Mix(out, 4);
        EXPECT_NEAR(out[0], 10000 * std::pow(10.0, -2600 / 2000.0), 1.0);
        EXPECT_NEAR(out[1], 10000 * std::pow(10.0, -600 / 2000.0), 1.0);
    });
}

class DSoundTest : public ::testing::Test {
protected:
    void SetUp() override { g_bSoundEnabled = 1; }
    void TearDown() override {
        qv::MidiOutput::Instance().Close();
        qv::AudioDevice::Instance().Close();
        g_bSoundEnabled = 1;
    }
};

TEST_F(DSoundTest, PlayAnswersZeroOneAndTwo) {
    CMainFrame frame;
    // A minute of sound: it cannot end by itself while the test runs.
    CDSound sound(Tone(qv::Mixer::kRate * 60));
    ASSERT_TRUE(sound.HasSamples());

    // No sound device yet.
    EXPECT_EQ(sound.Play(0, 0, 0), 0);
    ASSERT_EQ(frame.InitDirectSound(), 1);  // the dummy driver is a device

    // Sound switched off.
    g_bSoundEnabled = 0;
    EXPECT_EQ(sound.Play(0, 0, 0), 0);
    EXPECT_FALSE(sound.IsPlaying());
    g_bSoundEnabled = 1;

    EXPECT_EQ(sound.Play(0, 0, 0), 1);
    EXPECT_TRUE(sound.IsPlaying());
    // Already playing: 2, and it is not started again.
    int voices = 0;
    qv::AudioDevice::Instance().WithMixer([&](qv::Mixer& m) { voices = m.VoiceCount(); });
    EXPECT_EQ(sound.Play(-5000, -300, 1), 2);
    EXPECT_EQ(sound.PlayAt(100, 100, 0), 2);
    qv::AudioDevice::Instance().WithMixer([&](qv::Mixer& m) { EXPECT_EQ(m.VoiceCount(), voices); });

    sound.Stop();
    EXPECT_FALSE(sound.IsPlaying());
    EXPECT_EQ(sound.Play(0, 0, 1), 1);

    // Without a device again every sound answers 0.
    frame.ReleaseSounds();
    EXPECT_FALSE(sound.IsPlaying());
    EXPECT_EQ(sound.Play(0, 0, 0), 0);
}

TEST_F(DSoundTest, ASoundThatEndedPlaysAgain) {
    CMainFrame frame;
    ASSERT_EQ(frame.InitDirectSound(), 1);
    CDSound sound(Tone(10));
    EXPECT_EQ(sound.Play(0, 0, 0), 1);
    // Mix past its end by hand: the voice ends and the sound may start again.
    qv::AudioDevice::Instance().WithMixer([](qv::Mixer& m) {
        int16_t out[64];
        m.Mix(out, 32);
    });
    EXPECT_FALSE(sound.IsPlaying());
    EXPECT_EQ(sound.Play(0, 0, 0), 1);
    // A looping sound never ends by itself.
    sound.Stop();
    EXPECT_EQ(sound.Play(0, 0, 1), 1);
    qv::AudioDevice::Instance().WithMixer([](qv::Mixer& m) {
        int16_t out[2000];
        m.Mix(out, 1000);
    });
    EXPECT_EQ(sound.Play(0, 0, 1), 2);
}

TEST_F(DSoundTest, SoundWithoutSamplesAnswersZero) {
    CMainFrame frame;
    ASSERT_EQ(frame.InitDirectSound(), 1);
    CDSound none(-12345);
    EXPECT_FALSE(none.HasSamples());
    EXPECT_EQ(none.Play(0, 0, 0), 0);
}

TEST(DSoundPlayAt, PanAndVolumeFollowTheScreenOffset) {
    int pan, volume;
    CDSound::PanAndVolumeAt(0, 0, pan, volume);
    EXPECT_EQ(pan, 0);
    EXPECT_EQ(volume, 0);
    // World (100, 0) is 100 pixels right on the screen: pan 2000, -6 dB.
    CDSound::PanAndVolumeAt(100, 0, pan, volume);
    EXPECT_EQ(pan, 2000);
    EXPECT_EQ(volume, -600);
    // World (0, 100) lies 100 left and 100 down: pan -2000, distance 141.42.
    CDSound::PanAndVolumeAt(0, 100, pan, volume);
    EXPECT_EQ(pan, -2000);
    EXPECT_EQ(volume, -849);
    // Far away: hard to one side and as quiet as it gets.
    CDSound::PanAndVolumeAt(-3000, 0, pan, volume);
    EXPECT_EQ(pan, -10000);
    EXPECT_EQ(volume, -10000);
    // Points far apart do not overflow.
    CDSound::PanAndVolumeAt(2000000000, -2000000000, pan, volume);
    EXPECT_EQ(pan, 10000);
    EXPECT_EQ(volume, -10000);
}

TEST_F(DSoundTest, PlayAtHearsFromTheFocusPoint) {
    CMainFrame frame;
    ASSERT_EQ(frame.InitDirectSound(), 1);
    frame.m_World.m_ptFocus = {1000, 2000};
    CDSound sound(Tone(qv::Mixer::kRate * 60));
    // 100 world pixels right of the focus: pan 2000 and -6 dB, so the left
    // side plays at 10^(-(600 + 2000) / 2000) and the right at 10^(-600 / 2000).
    EXPECT_EQ(sound.PlayAt(1100, 2000, 0), 1);
    qv::AudioDevice::Instance().WithMixer([](qv::Mixer& m) { m.StopAll(); });
    CDSound flat(sound_test::Constant(10000, 8));
    EXPECT_EQ(flat.PlayAt(1100, 2000, 1), 1);
    ExpectPannedRightAtSixDecibelsDown();
}

TEST(Music, WithoutTheSoundFontNoTuneCanPlayAndNothingBreaks) {
    const std::string font = qv::MidiOutput::SoundFont();
    qv::MidiOutput::SetSoundFont("/nonexistent-qv/FluidR3_GM.sf2");
    CMainFrame frame;
    int tune = 0;
    frame.m_bMusicOn = 1;
    // No MIDI output: playing a tune fails.
    EXPECT_EQ(frame.PlayMidi(&tune), 0);
    EXPECT_EQ(frame.PlayMidi(nullptr), 0);
    frame.UpdateMidi();
    EXPECT_EQ(frame.m_pMidi, nullptr);
    // Opening the sound device without the sound font leaves the music off,
    // so the start of play does not turn the sound off with it.
    ASSERT_EQ(frame.InitDirectSound(), 1);
    EXPECT_EQ(frame.m_bMidiOutput, 0);
    EXPECT_EQ(frame.m_bMusicOn, 0);
    EXPECT_EQ(frame.PlayMidi(&tune), 1);
    CDSound sound(Tone(100));
    EXPECT_EQ(sound.Play(0, 0, 0), 1) << "the sounds play on";
    frame.UpdateMidi();
    frame.DeleteMidi();
    frame.ReleaseSounds();
    qv::MidiOutput::SetSoundFont(font);

    CMIDIStream stream(3);
    EXPECT_FALSE(stream.IsOpen());
    stream.Pause();
    EXPECT_TRUE(stream.IsPaused());
    stream.Restart();
    EXPECT_FALSE(stream.IsPaused());

    // A missing intro movie is never ready, so the intro goes on at once.
    CAviSoundPlayer movie("/game/\\Intro.avi");
    movie.Start();
    EXPECT_EQ(movie.IsReady(), 0);
}

TEST(DSoundResources, EveryStoredWaveIdMakesAPlayableSound) {
    // The creatures' shared sound and a land's ambient sound are among them.
    std::vector<int> ids = WaveResourceIds();
    EXPECT_NE(std::find(ids.begin(), ids.end(), 328), ids.end());
    EXPECT_NE(std::find(ids.begin(), ids.end(), 1036), ids.end());
    for (int id : ids) {
        CDSound s(id);
        EXPECT_TRUE(s.HasSamples()) << id;
        EXPECT_EQ(s.GetResourceId(), id);
    }
}

}  // namespace

TEST(DSoundPlayAt, OffsetsTakeTheShortWayRoundTheWorld) {
    // A world of 100 cells of 160 pixels: 16000 across.
    EXPECT_EQ(CDSound::ShortOffset(15950, 50, 16000), 100);
    EXPECT_EQ(CDSound::ShortOffset(50, 15950, 16000), -100);
    EXPECT_EQ(CDSound::ShortOffset(1000, 1100, 16000), 100);
    EXPECT_EQ(CDSound::ShortOffset(0, 8000, 16000), -8000);  // half way: either side
    EXPECT_EQ(CDSound::ShortOffset(0, 7999, 16000), 7999);
    // Without a world size, the plain difference, held at the integer range.
    EXPECT_EQ(CDSound::ShortOffset(15950, 50, 0), -15900);
    EXPECT_EQ(CDSound::ShortOffset(-2000000000, 2000000000, 0), 2147483647);
}

TEST_F(DSoundTest, PlayAtHearsASoundAcrossTheSeamAsNear) {
    CMainFrame frame;
    ASSERT_EQ(frame.InitDirectSound(), 1);
    world_test::GiveMap(frame.m_World).SetWorldSize(100, 80);  // 16000 x 8960 pixels
    // 100 pixels right of the focus, across the east seam: as in the plain
    // case above, pan 2000 and -6 dB.
    frame.m_World.m_ptFocus = {15950, 2000};
    CDSound flat(sound_test::Constant(10000, 8));
    EXPECT_EQ(flat.PlayAt(50, 2000, 1), 1);
    ExpectPannedRightAtSixDecibelsDown();
}
