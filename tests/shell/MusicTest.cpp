// The frame's music: tunes read from the game folder's "Music" and played on
// the MIDI output with the sounds, the music switch, and the land's tunes in
// play. Mixed by hand, headless.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/Midi.h"
#include "shell/LoopFixture.h"
#include "shell/MainFrm.h"
#include "support/Tunes.h"
#include "world/Land.h"

namespace {

namespace fs = std::filesystem;
using music_test::MixedPeak;
using music_test::WriteTune;

// A game folder of its own for each test, removed with it.
struct GameFolder {
    explicit GameFolder(const char* name)
        : dir(fs::temp_directory_path() /
              (std::string("qv-music-") + name + "-" + std::to_string(::getpid()))) {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~GameFolder() { fs::remove_all(dir); }
    std::string Path() const { return dir.string() + "/"; }
    fs::path dir;
};

class FrameMusic : public ::testing::Test {
protected:
    void TearDown() override { frame.ReleaseSounds(); }
    CMainFrame frame;
    GameFolder folder{"frame"};
};

TEST_F(FrameMusic, TheFirstTunePlaysAndTheSwitchPausesAndRestartsIt) {
    WriteTune(folder.Path(), 0);
    frame.m_Play.m_strGameFolder = folder.Path();
    ASSERT_EQ(frame.InitDirectSound(), 1);
    EXPECT_EQ(frame.m_bMidiOutput, 1);
    EXPECT_EQ(frame.m_bMusicOn, 1) << "the music stays as the settings have it";
    EXPECT_EQ(MixedPeak(), 0) << "nothing plays yet";

    // Without a stream, UpdateMidi plays tune 0.
    frame.UpdateMidi();
    ASSERT_NE(frame.m_pMidi, nullptr);
    EXPECT_EQ(frame.m_pMidi->GetTune(), 0);
    EXPECT_TRUE(frame.m_pMidi->IsOpen());
    EXPECT_GT(MixedPeak(), 1000);

    // The switch off: the tune holds, silent.
    frame.m_bMusicOn = 0;
    frame.UpdateMidi();
    EXPECT_TRUE(frame.m_pMidi->IsPaused());
    EXPECT_EQ(MixedPeak(), 0);
    // Back on: it plays on.
    frame.m_bMusicOn = 1;
    frame.UpdateMidi();
    EXPECT_FALSE(frame.m_pMidi->IsPaused());
    EXPECT_GT(MixedPeak(), 1000);

    // Deleted, the music stops at once.
    frame.DeleteMidi();
    EXPECT_EQ(MixedPeak(), 0);
}

TEST_F(FrameMusic, ATuneThatPlaysAlreadyIsNotStartedAgain) {
    WriteTune(folder.Path(), 0);
    WriteTune(folder.Path(), 1, 67);
    frame.m_Play.m_strGameFolder = folder.Path();
    ASSERT_EQ(frame.InitDirectSound(), 1);
    int tune = 0;
    ASSERT_EQ(frame.PlayMidi(&tune), 1);
    const CMIDIStream* first = frame.m_pMidi.get();
    EXPECT_EQ(frame.PlayMidi(&tune), 1);
    EXPECT_EQ(frame.m_pMidi.get(), first);
    tune = 1;
    EXPECT_EQ(frame.PlayMidi(&tune), 1);
    EXPECT_EQ(frame.m_pMidi->GetTune(), 1);
    EXPECT_GT(MixedPeak(), 1000);
    // While the music is off a new tune is not even looked for.
    frame.m_bMusicOn = 0;
    tune = 0;
    EXPECT_EQ(frame.PlayMidi(&tune), 1);
    EXPECT_EQ(frame.m_pMidi->GetTune(), 1);
}

TEST_F(FrameMusic, ATuneThatCannotBeReadLeavesTheMusicAsItWas) {
    WriteTune(folder.Path(), 1);
    qv::WriteWholeFile(folder.Path() + "Music/Tune5.mid", {'M', 'T', 'h', 'd', 0, 0});
    frame.m_Play.m_strGameFolder = folder.Path();
    ASSERT_EQ(frame.InitDirectSound(), 1);
    int tune = 1;
    ASSERT_EQ(frame.PlayMidi(&tune), 1);
    struct Row {
        const char* what;
        int tune;
        const char* says;
    };
    for (const Row& row : {Row{"no file", 9, "Tune9.mid: not found"},
                           Row{"a cut file", 5, "Tune5.mid: cannot be used"}}) {
        SCOPED_TRACE(row.what);
        tune = row.tune;
        EXPECT_EQ(frame.PlayMidi(&tune), 0);
        ASSERT_NE(frame.m_pMidi, nullptr);
        EXPECT_EQ(frame.m_pMidi->GetTune(), 1);
        EXPECT_GT(MixedPeak(), 1000) << "the tune before plays on";
        CMIDIStream stream(row.tune,
                           frame.m_Play.GameFolderPath(CMIDIStream::TuneFileName(row.tune)));
        EXPECT_FALSE(stream.IsOpen());
        EXPECT_NE(stream.GetError().find(row.says), std::string::npos) << stream.GetError();
    }
}

TEST_F(FrameMusic, ATuneWithoutItsFilePlaysOnceTheFileIsThere) {
    frame.m_Play.m_strGameFolder = folder.Path();
    ASSERT_EQ(frame.InitDirectSound(), 1);
    int tune = 0;
    EXPECT_EQ(frame.PlayMidi(&tune), 0);
    WriteTune(folder.Path(), 0);
    EXPECT_EQ(frame.PlayMidi(&tune), 1);
}

TEST(MusicTuneFiles, ATunesFileIsNamedByItsNumber) {
    EXPECT_EQ(CMIDIStream::TuneFileName(0), "Music\\Tune0.mid");
    EXPECT_EQ(CMIDIStream::TuneFileName(12), "Music\\Tune12.mid");
    EXPECT_EQ(CMIDIStream::TuneFileName(-1), "Music\\Tune-1.mid");
}

class MusicInPlay : public looptest::LoopFixture {
protected:
    MusicInPlay() {
        WriteTune(folder.Path(), 3, 60);
        WriteTune(folder.Path(), 4, 48);
        frame->m_Play.m_strGameFolder = folder.Path();
        EXPECT_EQ(frame->InitDirectSound(), 1);
    }
    ~MusicInPlay() override { frame->ReleaseSounds(); }
    GameFolder folder{"play"};
};

TEST_F(MusicInPlay, TheLandsTuneComesEvery5000AndItsBattleTuneInCombat) {
    Group* party = NewGroup();
    auto* leader = new Player;
    party->AddMember(leader);
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
    EXPECT_TRUE(frame->m_pMidi->IsOpen());
    EXPECT_GT(MixedPeak(), 1000);
    // A fight: the battle tune at once; after it, the land's tune again.
    frame->m_Play.SetCombatMode(1);
    EXPECT_EQ(frame->m_pMidi->GetTune(), 4);
    frame->m_Play.SetCombatMode(0);
    EXPECT_EQ(frame->m_pMidi->GetTune(), 3);
    frame->m_Play.SetCombatMode(1);
    frame->m_Play.m_iMusicTime = 5000;
    Ticks(1);  // chosen again in the fight: the battle tune stays
    EXPECT_EQ(frame->m_pMidi->GetTune(), 4);
    map->GetCell(w.x, w.y).land = nullptr;
}

}  // namespace
