#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/Files.h"
#include "platform/Settings.h"

namespace {

namespace fs = std::filesystem;

class Files : public testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("qv-files-" + std::to_string(::getpid()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir / "Images");
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string Game(const std::string& rest) { return dir.string() + "\\" + rest; }
    fs::path dir;
};

TEST_F(Files, BackslashNamesFoundWhateverTheirCase) {
    qv::WriteWholeFile((dir / "Images" / "PlayerImages.dat").string(), {1, 2, 3});
    EXPECT_EQ(qv::ToSlashes("tmp\\save1\\saved"), "tmp/save1/saved");
    std::string found = qv::ResolvePath(Game("images\\PLAYERIMAGES.DAT"));
    EXPECT_EQ(found, (dir / "Images" / "PlayerImages.dat").string());
    EXPECT_EQ(qv::ReadWholeFile(Game("IMAGES\\playerimages.dat")), (std::vector<uint8_t>{1, 2, 3}));
    // A name that matches nothing keeps its own spelling, with '/'.
    EXPECT_EQ(qv::ResolvePath(Game("Images\\New.lnd")), (dir / "Images" / "New.lnd").string());
    // Writing through an existing folder spelt another way lands in it.
    qv::WriteWholeFile(Game("IMAGES\\New.lnd"), {9});
    EXPECT_TRUE(fs::exists(dir / "Images" / "New.lnd"));
}

TEST_F(Files, ErrorsCarryTheCauseAndTheName) {
    try {
        qv::ReadWholeFile(Game("missing.qvr"));
        FAIL();
    } catch (const qv::FileError& e) {
        EXPECT_EQ(e.cause, qv::FileError::NotFound);
        EXPECT_EQ(e.fileName, Game("missing.qvr"));
    }
    try {
        qv::ReadWholeFile(dir.string());  // a folder cannot be read as a file
        FAIL();
    } catch (const qv::FileError& e) {
        EXPECT_EQ(e.cause, qv::FileError::Other);
    }
    EXPECT_THROW(qv::WriteWholeFile(Game("nowhere\\x"), {1}), qv::FileError);
}

TEST_F(Files, AFailedWriteLeavesWhatWasThere) {
    const std::string saved = (dir / "saved").string();
    qv::WriteWholeFile(saved, {1, 2, 3});
    qv::WriteWholeFile(saved, {4, 5});
    EXPECT_EQ(qv::ReadWholeFile(saved), (std::vector<uint8_t>{4, 5}));
    // A folder cannot be replaced by a file: the write fails and the folder
    // stays, with nothing left beside it.
    fs::create_directories(dir / "tmp" / "keep");
    try {
        qv::WriteWholeFile(Game("TMP"), {9});
        FAIL();
    } catch (const qv::FileError& e) {
        EXPECT_EQ(e.cause, qv::FileError::Other);
        EXPECT_EQ(e.fileName, Game("TMP"));
    }
    EXPECT_TRUE(fs::is_directory(dir / "tmp" / "keep"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3)
        << "Images, saved and tmp";
}

TEST_F(Files, SettingsInAPlainTextFile) {
    std::string file = (dir / "quorvale.cfg").string();
    qv::Settings none = qv::Settings::Load(file);
    EXPECT_FALSE(none.Has("Path"));
    EXPECT_EQ(none.GetInt("Sound", 1), 1);

    qv::WriteWholeFile(
        file,
        std::vector<uint8_t>({'#',  ' ', 'c',  '\n', 'P',  'a', 't',  'h', ' ', '=', ' ', 'C',  ':',
                              '\\', 'Q', '\\', '\r', '\n', 'M', 'i',  'd', 'i', '=', '0', '\n', 'B',
                              'u',  'i', 'l',  'd',  '=',  'x', '\n', 'j', 'u', 'n', 'k'}));
    qv::Settings s = qv::Settings::Load(file);
    EXPECT_EQ(s.GetString("Path"), "C:\\Q\\");
    EXPECT_EQ(s.GetInt("Midi", 1), 0);
    EXPECT_EQ(s.GetInt("Build", 7), 7) << "not a number";
    s.SetInt("Sound", 0);
    s.Save(file);
    qv::Settings again = qv::Settings::Load(file);
    EXPECT_EQ(again.GetInt("Sound", 1), 0);
    EXPECT_EQ(again.GetString("Path"), "C:\\Q\\");
}

}  // namespace
