// Start-up without the window: the settings file in place of the registry,
// the folders it sets, and the start world of "original" brought into play.

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "platform/Message.h"
#include "platform/Settings.h"
#include "shell/WorldFileFixture.h"

namespace {

namespace fs = std::filesystem;
using worldfile_test::At;
using worldfile_test::WorldFileTest;

class StartUp : public WorldFileTest {
protected:
    // A settings file of the given lines, read as the game reads it.
    qv::Settings SettingsOf(const std::string& lines) {
        const std::string path = (folder.dir / "settings").string();
        const std::vector<uint8_t> bytes(lines.begin(), lines.end());
        qv::WriteWholeFile(path, bytes);
        return qv::Settings::Load(path);
    }
    // Sound, music, window and build mode.
    static std::tuple<int, int, int, int> Switches(const CMainFrame& f) {
        return {f.m_bSoundOn, f.m_bMusicOn, f.m_bWindowed, f.m_bBuildMode};
    }
    qv::ScriptedMessages messages;
};

TEST_F(StartUp, WithoutASettingsFileTheDefaultsHoldAndTheBuildsFolderIsMade) {
    CMainFrame& fresh = frame;
    const qv::Settings none = qv::Settings::Load((folder.dir / "missing").string());
    const std::string problem = fresh.ApplySettings(none, "missing");
    EXPECT_EQ(problem, "");
    EXPECT_TRUE(qv::FolderExists(fresh.m_Play.Saves().GameFolder()));
    EXPECT_EQ(std::tuple(fresh.m_Play.Saves().GameFolder(), fresh.m_Play.Saves().WorkFolder(),
                         fresh.m_Play.Saves().SaveFolder()),
              std::tuple(CGameSettings::DefaultGameFolder(), "tmp\\", "original\\"));
    EXPECT_EQ(Switches(fresh), std::tuple(1, 1, 1, 0));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(StartUp, EachSettingTakesItsLowByteAndABadOneIsNamedAndKeepsItsDefault) {
    const std::string problem =
        frame.ApplySettings(SettingsOf("Path=" + folder.dir.string() +
                                       "\nSound=0\nMidi=256\nWindows=0x100\nBuild=257\n"),
                            "settings");
    EXPECT_EQ(problem, "");
    EXPECT_EQ(frame.m_Play.Saves().GameFolder(), folder.dir.string() + "\\");
    // Music 256 and Windows 0x100: low byte 0; Build 257: low byte 1.
    EXPECT_EQ(Switches(frame), std::tuple(0, 0, 0, 1));
    EXPECT_TRUE(messages.shown.empty());

    frame.m_bSoundOn = 1;
    frame.m_bMusicOn = 1;
    const std::string junk = frame.ApplySettings(
        SettingsOf("garbage line\nSound=loud\nMidi=99999999999999999999\nWindows=-5000000000\n"
                   "Path=" +
                   folder.dir.string() + "/\n"),
        "settings");
    EXPECT_EQ(junk, "");
    EXPECT_EQ(std::tuple(frame.m_bSoundOn, frame.m_bMusicOn), std::tuple(1, 1));
    ASSERT_EQ(messages.shown.size(), 3u);
    EXPECT_NE(messages.shown[0].find("\"Sound\""), std::string::npos);
    EXPECT_NE(messages.shown[1].find("\"Midi\""), std::string::npos);
    EXPECT_NE(messages.shown[2].find("\"Windows\""), std::string::npos);
    EXPECT_EQ(frame.m_Play.Saves().GameFolder(), folder.dir.string() + "/");
}

TEST_F(StartUp, ASettingIsDecimalOrHexadecimalAndALeadingZeroNeverMakesItOctal) {
    frame.m_bBuildMode = 0;
    EXPECT_EQ(frame.ApplySettings(SettingsOf("Path=" + folder.dir.string() +
                                             "\nSound=-0x1\nMidi=0x0100\nWindows=0256\nBuild=08\n"),
                                  "settings"),
              "");
    // -1: low byte 0xFF; 0x100: low byte 0; 256, not octal 0256 (174); eight,
    // not a bad octal number.
    EXPECT_EQ(Switches(frame), std::tuple(255, 0, 0, 8));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(StartUp, AGameFolderThatIsNotThereIsSaidClearlyAndChangesNothing) {
    const std::string before = frame.m_Play.Saves().GameFolder();
    const std::string problem = frame.ApplySettings(
        SettingsOf("Path=" + (folder.dir / "nowhere").string() + "\n"), "my-settings");
    EXPECT_NE(problem.find("nowhere"), std::string::npos) << problem;
    EXPECT_NE(problem.find("\"Path\""), std::string::npos) << problem;
    EXPECT_NE(problem.find("my-settings"), std::string::npos) << problem;
    EXPECT_EQ(frame.m_Play.Saves().GameFolder(), before);
    EXPECT_FALSE(fs::exists(folder.dir / "nowhere"));
}

TEST_F(StartUp, TheStartWorldOfOriginalComesIntoPlayWithTheSlotTable) {
    NumberedGroup(2, "wolves");
    Keep(Thing("lamp"), At(24, 23));
    Keep(Creature("Wolf", 2), At(27, 26));
    frame.m_World.m_ptFocus = {At(25, 24).x, At(25, 24).y};
    frame.m_Play.Saves().SetWorldFile("start.qvr");
    Open();
    const auto world = Census();
    // The editor's save of the start world: slot 0, "original".
    ASSERT_EQ(frame.m_Play.Saves().SaveSlot(0), 1);
    frame.m_Play.Saves().SetSlot(6, {1, "Game 7"});
    frame.m_Play.Saves().WriteSaveSlots();

    CMainFrame* running = &frame;
    for (int i = 0; i < SavedGames::kSlotCount; ++i) running->m_Play.Saves().SetSlot(i, {});
    running->m_World.m_ptFocus = {0, 0};
    ASSERT_EQ(running->ApplySettings(SettingsOf("Path=" + folder.dir.string() + "\n"), "settings"),
              "");
    EXPECT_EQ(running->m_Play.Saves().Slots()[6].description, "Game 7");
    EXPECT_EQ(running->m_Play.Saves().CurrentFolder(), folder.dir.string() + "\\original\\");
    ASSERT_EQ(running->m_Play.Saves().OpenStartWorld(), 1);
    EXPECT_EQ(running->m_Play.Saves().WorldFile(), "start.qvr");
    EXPECT_EQ(running->m_Play.Saves().CurrentFolder(), folder.dir.string() + "\\tmp\\");
    EXPECT_EQ(Census(), world);
    EXPECT_FALSE(running->m_Play.Saves().IsLoadingGame());
}

}  // namespace
