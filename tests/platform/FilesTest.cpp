#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "platform/Files.h"
#include "platform/Settings.h"
#include "support/TestFolder.h"

namespace {

namespace fs = std::filesystem;

class Files : public testing::Test {
protected:
    test_support::TestFolder folder{"files", {"Images"}};
    const fs::path& dir = folder.dir;
    std::string Game(const std::string& rest) { return dir.string() + "\\" + rest; }
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

TEST_F(Files, ASharedFileHasTheBytesAndKeepsThemWhenEitherNameIsWrittenAgain) {
    using Bytes = std::vector<uint8_t>;
    const std::string slot = (dir / "slot").string(), work = (dir / "work").string();
    qv::WriteWholeFile(work, {1, 2, 3});
    qv::WriteWholeFile(slot, {9});
    qv::ShareFile(Game("WORK"), slot);  // the source found whatever its case
    EXPECT_EQ(qv::ReadWholeFile(slot), (Bytes{1, 2, 3}));
    // Writing either name again gives it a file of its own.
    qv::WriteWholeFile(work, {4});
    EXPECT_EQ(qv::ReadWholeFile(slot), (Bytes{1, 2, 3}));
    qv::ShareFile(work, slot);
    qv::WriteWholeFile(slot, {5});
    EXPECT_EQ(qv::ReadWholeFile(work), (Bytes{4}));
    // A file shared onto itself stays, with nothing left beside it.
    qv::ShareFile(work, work);
    EXPECT_EQ(qv::ReadWholeFile(work), (Bytes{4}));
    // A symbolic link shares the file it names.
    fs::create_symlink(dir / "work", dir / "link");
    qv::ShareFile((dir / "link").string(), slot);
    EXPECT_FALSE(fs::is_symlink(dir / "slot"));
    EXPECT_EQ(qv::ReadWholeFile(slot), (Bytes{4}));
    // Across file systems (or where a file cannot have two names) the bytes
    // are copied; a source that cannot be read leaves the target as it was.
    const std::string proc = "/proc/self/comm";
    qv::ShareFile(proc, slot);
    EXPECT_EQ(qv::ReadWholeFile(slot), qv::ReadWholeFile(proc));
    qv::WriteWholeFile(slot, {6});
    try {
        qv::ShareFile(Game("missing"), slot);
        FAIL();
    } catch (const qv::FileError& e) {
        EXPECT_EQ(e.cause, qv::FileError::NotFound);
        EXPECT_EQ(e.fileName, Game("missing"));
    }
    EXPECT_EQ(qv::ReadWholeFile(slot), (Bytes{6}));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 4)
        << "Images, work, slot and link";
}

TEST_F(Files, DurableWritesAndSyncsReportAFolderThatIsNotThere) {
    const std::string saved = (dir / "saved").string();
    qv::WriteWholeFileDurably(saved, {1, 2});
    EXPECT_EQ(qv::ReadWholeFile(saved), (std::vector<uint8_t>{1, 2}));
    qv::SyncFolderAndFiles(dir.string());
    qv::SyncFolder(Game("IMAGES"));
    EXPECT_THROW(qv::SyncFolderAndFiles(Game("nowhere")), qv::FileError);
    EXPECT_THROW(qv::SyncFolder(Game("nowhere")), qv::FileError);
    EXPECT_THROW(qv::WriteWholeFileDurably(Game("nowhere\\x"), {1}), qv::FileError);
}

// Each kind of change counts towards a failure a test sets; the failing one
// changes nothing, and later ones go through unless all are to fail.
TEST_F(Files, AFailureSetByATestComesAtItsChangeAndChangesNothing) {
    using Bytes = std::vector<uint8_t>;
    const std::string a = (dir / "a").string(), b = (dir / "b").string();
    qv::WriteWholeFile(a, {1});
    struct Row {
        const char* what;
        std::function<void()> change;
        std::function<bool()> unchanged;
    };
    const std::vector<Row> rows = {
        {"a write", [&] { qv::WriteWholeFile(a, {2}); },
         [&] { return qv::ReadWholeFile(a) == Bytes{1}; }},
        {"a durable write", [&] { qv::WriteWholeFileDurably(a, {2}); },
         [&] { return qv::ReadWholeFile(a) == Bytes{1}; }},
        {"a shared file", [&] { qv::ShareFile(a, b); }, [&] { return !fs::exists(b); }},
        {"a folder made", [&] { qv::MakeFolder(Game("made")); },
         [&] { return !fs::exists(dir / "made"); }},
        {"a folder renamed", [&] { qv::RenameFolder(Game("Images"), Game("Pictures")); },
         [&] { return fs::exists(dir / "Images"); }},
        {"a folder synced", [&] { qv::SyncFolder(dir.string()); }, [] { return true; }},
        {"a folder's files synced", [&] { qv::SyncFolderAndFiles(dir.string()); },
         [] { return true; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        qv::FailFileChanges(0);
        EXPECT_TRUE(qv::FileFailurePending());
        EXPECT_THROW(row.change(), qv::FileError);
        EXPECT_FALSE(qv::FileFailurePending());
        EXPECT_TRUE(row.unchanged());
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2)
            << "Images and a, nothing beside";
    }
    // Reading is no change.
    qv::FailFileChanges(0);
    EXPECT_EQ(qv::ReadWholeFile(a), Bytes{1});
    EXPECT_TRUE(qv::ListFiles(dir.string()).size() == 1);
    EXPECT_TRUE(qv::FileFailurePending());
    // The third change from now, once: the first two and the fourth go through.
    qv::FailFileChanges(2);
    qv::WriteWholeFile(a, {3});
    qv::WriteWholeFile(a, {4});
    EXPECT_THROW(qv::WriteWholeFile(a, {5}), qv::FileError);
    qv::WriteWholeFile(a, {6});
    EXPECT_EQ(qv::ReadWholeFile(a), Bytes{6});
    // From the second on, all of them, until lifted.
    qv::FailFileChanges(1, true);
    qv::WriteWholeFile(a, {7});
    EXPECT_TRUE(qv::FileFailurePending());
    EXPECT_THROW(qv::WriteWholeFile(a, {8}), qv::FileError);
    EXPECT_FALSE(qv::FileFailurePending());  // it has come, and stays
    EXPECT_THROW(qv::WriteWholeFile(a, {9}), qv::FileError);
    EXPECT_EQ(qv::ReadWholeFile(a), Bytes{7});
    qv::FailFileChanges(-1);
    EXPECT_FALSE(qv::FileFailurePending());
    qv::WriteWholeFile(a, {10});
    EXPECT_EQ(qv::ReadWholeFile(a), Bytes{10});
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
