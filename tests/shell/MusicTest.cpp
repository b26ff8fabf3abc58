// The frame's music: tunes read from the game folder's "Music" and played on
// the MIDI output with the sounds, the music switch, and the land's tunes in
// play. Mixed by hand, headless.

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "platform/Message.h"
#include "platform/Midi.h"
#include "shell/LoopFixture.h"
#include "shell/MainFrm.h"
#include "support/Tunes.h"
#include "world/Land.h"

namespace {

using music_test::MixedPeak;
using music_test::WriteTune;

// A fight's attack, hurt and death sounds are numbers into the frame's table;
// the world hands each to the frame, which plays it where it happened.
TEST(FrameSounds, TheFightsSoundNumbersPlayFromTheFramesTable) {
    struct Row {
        const char* rule;
        int number;
        int wave;  // 0: nothing plays
    };
    const Row rows[] = {
        {"below the table: nothing", -1, 0}, {"0, an attack", 0, 175},
        {"1, a creature hurt", 1, 176},      {"2, a death", 2, 177},
        {"the table's last", 19, 194},       {"past the table: nothing", 20, 0},
    };
    CMainFrame frame;
    ASSERT_TRUE(frame.m_World.m_PlaySound) << "the frame hears the world's fights";
    ASSERT_EQ(frame.InitDirectSound(), 1);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        frame.m_World.m_PlaySound(r.number, {0, 0});
        const auto played = std::find_if(
            frame.m_CombatSounds.begin(), frame.m_CombatSounds.end(),
            [&](const auto& s) { return s && s->GetResourceId() == r.wave && s->IsPlaying(); });
        EXPECT_EQ(played != frame.m_CombatSounds.end(), r.wave != 0);
        for (auto& s : frame.m_CombatSounds)
            if (s) s->Stop();
    }
}

TEST(FrameMusic, ATuneStartsOnceHoldsWhileTheSwitchIsOffAndOneThatCannotBeReadChangesNothing) {
    music_test::TempFolder folder("music-frame");
    WriteTune(folder.Path(), 0);
    WriteTune(folder.Path(), 1, 67);
    qv::WriteWholeFile(folder.Path() + "Music/Tune5.mid", {'M', 'T', 'h', 'd', 0, 0});
    CMainFrame frame;
    frame.m_Play.Saves().SetGameFolder(folder.Path());
    ASSERT_EQ(frame.InitDirectSound(), 1);
    EXPECT_EQ(frame.m_bMidiOutput, 1);
    EXPECT_EQ(frame.m_bMusicOn, 1) << "the music stays as the settings have it";
    EXPECT_EQ(MixedPeak(), 0) << "nothing plays yet";
    frame.UpdateMidi();  // without a stream: tune 0
    ASSERT_NE(frame.m_pMidi, nullptr);
    EXPECT_EQ(frame.m_pMidi->GetTune(), 0);
    EXPECT_GT(MixedPeak(), 1000);
    for (int on : {0, 1}) {  // off, the tune holds silent; on, it plays on
        SCOPED_TRACE(on);
        frame.m_bMusicOn = on;
        frame.UpdateMidi();
        EXPECT_EQ(frame.m_pMidi->IsPaused(), !on);
        EXPECT_EQ(MixedPeak() > 1000, on == 1);
    }
    int tune = 0;
    const CMIDIStream* first = frame.m_pMidi.get();
    EXPECT_EQ(frame.PlayMidi(&tune), 1);
    EXPECT_EQ(frame.m_pMidi.get(), first) << "a tune that plays already is not started again";
    tune = 1;
    EXPECT_EQ(frame.PlayMidi(&tune), 1);
    EXPECT_EQ(frame.m_pMidi->GetTune(), 1);
    // A refused file is said once, however often its tune is asked for; a
    // missing one is not.
    qv::ScriptedMessages messages;  // told: messages shown in all, the tune asked twice
    for (auto [n, says, told] : {std::tuple{9, "Tune9.mid: not found", 0u},
                                 {5, "Tune5.mid: cannot be used", 1u},
                                 {5, "Tune5", 1u}}) {
        SCOPED_TRACE(says);
        tune = n;
        EXPECT_EQ(frame.PlayMidi(&tune, "Sound and music are switched off."), 0);
        EXPECT_EQ(frame.PlayMidi(&tune), 0);
        ASSERT_EQ(messages.shown.size(), told);
        const std::string said = told ? messages.shown[0] : "";
        EXPECT_TRUE(!told || (said.starts_with("Tune 5 is not played: " + folder.Path() +
                                               "Music/Tune5.mid: cannot be used (") &&
                              said.ends_with("). Sound and music are switched off.")))
            << said;
        ASSERT_NE(frame.m_pMidi, nullptr);
        EXPECT_EQ(frame.m_pMidi->GetTune(), 1);
        EXPECT_GT(MixedPeak(), 1000) << "the tune before plays on";
        CMIDIStream stream(n, frame.m_Play.Saves().GameFolderPath(CMIDIStream::TuneFileName(n)));
        EXPECT_NE(stream.GetError().find(says), std::string::npos) << stream.GetError();
    }
    WriteTune(folder.Path(), 9);
    tune = 9;
    EXPECT_EQ(frame.PlayMidi(&tune), 1) << "the file is there now";
    EXPECT_EQ(frame.m_pMidi->GetTune(), 9);
    // While the music is off a new tune is not even looked for.
    frame.m_bMusicOn = 0;
    tune = 0;
    EXPECT_EQ(frame.PlayMidi(&tune), 1);
    EXPECT_EQ(frame.m_pMidi->GetTune(), 9);
    frame.DeleteMidi();
    EXPECT_EQ(MixedPeak(), 0) << "deleted, the music stops at once";
    frame.ReleaseSounds();
    EXPECT_EQ(CMIDIStream::TuneFileName(12), "Music\\Tune12.mid");
    EXPECT_EQ(CMIDIStream::TuneFileName(-1), "Music\\Tune-1.mid");
}

class MusicInPlay : public looptest::LoopFixture {
protected:
    ~MusicInPlay() override { frame->ReleaseSounds(); }
};

TEST_F(MusicInPlay, TheLandsTuneComesEvery5000AndItsBattleTuneInCombat) {
    music_test::TempFolder folder("music-play");
    WriteTune(folder.Path(), 3, 60);
    WriteTune(folder.Path(), 4, 48);
    frame->m_Play.Saves().SetGameFolder(folder.Path());
    ASSERT_EQ(frame->InitDirectSound(), 1);
    auto* leader = new Player;
    NewGroup()->AddMember(leader);
    frame->m_World.m_pLeader = leader;
    Land land;
    land.tune = 3;
    land.combattune = 4;
    CellPoint w;
    ASSERT_TRUE(map->CellToWindow(MapMaster::PixelToCell(looptest::At(35, 34)), w));
    map->GetCell(w.x, w.y).land = &land;
    frame->m_Play.m_iMusicTime = 4800;
    Start();
    Ticks(1);  // 5000: not yet
    EXPECT_EQ(frame->m_pMidi, nullptr);
    Ticks(1);  // 5100: the land's tune
    ASSERT_NE(frame->m_pMidi, nullptr);
    EXPECT_EQ(frame->m_pMidi->GetTune(), 3);
    EXPECT_GT(MixedPeak(), 1000);
    // A fight: the battle tune at once; after it, the land's tune again.
    for (int combat : {1, 0, 1}) {
        frame->m_Play.SetCombatMode(combat);
        EXPECT_EQ(frame->m_pMidi->GetTune(), combat ? 4 : 3);
    }
    frame->m_Play.m_iMusicTime = 5000;
    Ticks(1);  // chosen again in the fight: the battle tune stays
    EXPECT_EQ(frame->m_pMidi->GetTune(), 4);
    map->GetCell(w.x, w.y).land = nullptr;
}

}  // namespace
