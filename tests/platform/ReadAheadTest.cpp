// Files read ahead: a copy is handed out only while its file is the one that
// was read, and a file read ahead reads as ReadWholeFile reads it, failures
// included.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Files.h"
#include "platform/ReadAhead.h"
#include "support/TestFolder.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

class ReadAheadTest : public testing::Test {
protected:
    test_support::TestFolder folder{"readahead", {"Images"}};
    const fs::path& dir = folder.dir;
    std::string Name(const std::string& file) const { return (dir / file).string(); }
};

TEST_F(ReadAheadTest, AFileReadAheadReadsAsAPlainReadAndAsOftenAsAsked) {
    qv::WriteWholeFile(Name("a.lnd"), {1, 2, 3});
    qv::WriteWholeFile(Name("Images/land.bmp"), {4, 5});
    qv::ReadAhead ahead;
    ahead.Want({Name("a.lnd"), Name("Images/land.bmp")});
    ahead.WaitIdle();
    EXPECT_EQ(ahead.Read(Name("a.lnd")), qv::ReadWholeFile(Name("a.lnd")));
    // A picture many lands name is handed out to each of them.
    for (int k = 0; k < 3; ++k) EXPECT_EQ(ahead.Read(Name("Images/land.bmp")), (Bytes{4, 5}));
    EXPECT_EQ(ahead.Hits(), 4);
    EXPECT_EQ(ahead.Misses(), 0);
    // A file never wanted is read when asked.
    qv::WriteWholeFile(Name("b.lnd"), {6});
    EXPECT_EQ(ahead.Read(Name("b.lnd")), (Bytes{6}));
    EXPECT_EQ(ahead.Misses(), 1);
}

TEST_F(ReadAheadTest, AFileReplacedAfterItWasReadIsReadAgain) {
    qv::WriteWholeFile(Name("a.lnd"), {1, 2, 3});
    qv::ReadAhead ahead;
    ahead.Want({Name("a.lnd")});
    ahead.WaitIdle();
    // Replaced with bytes of the same length: the copy no longer holds.
    qv::WriteWholeFile(Name("a.lnd"), {7, 8, 9});
    EXPECT_EQ(ahead.Read(Name("a.lnd")), (Bytes{7, 8, 9}));
    EXPECT_EQ(ahead.Misses(), 1);
    // Wanted again after a replacement, it is read ahead anew.
    ahead.Want({Name("a.lnd")});
    ahead.WaitIdle();
    qv::WriteWholeFile(Name("a.lnd"), {5});
    ahead.Want({Name("a.lnd")});
    ahead.WaitIdle();
    EXPECT_EQ(ahead.Read(Name("a.lnd")), (Bytes{5}));
    EXPECT_EQ(ahead.Hits(), 1);
    // A file given another's bytes under its name (a save's shared file).
    qv::WriteWholeFile(Name("b.lnd"), {1, 1});
    qv::ShareFile(Name("b.lnd"), Name("a.lnd"));
    EXPECT_EQ(ahead.Read(Name("a.lnd")), (Bytes{1, 1}));
    // A copy no longer wanted is dropped.
    ahead.Want({Name("b.lnd")});
    ahead.WaitIdle();
    const int64_t misses = ahead.Misses();
    ahead.Want({});
    EXPECT_EQ(ahead.Read(Name("b.lnd")), (Bytes{1, 1}));
    EXPECT_EQ(ahead.Misses(), misses + 1);
}

TEST_F(ReadAheadTest, AFileThatCannotBeReadFailsAsAPlainReadFails) {
    qv::ReadAhead ahead;
    ahead.Want({Name("missing.lnd"), Name("Images")});
    ahead.WaitIdle();
    for (const std::string& name : {Name("missing.lnd"), Name("Images")}) {
        SCOPED_TRACE(name);
        qv::FileError::Cause plain = qv::FileError::Other;
        try {
            qv::ReadWholeFile(name);
            ADD_FAILURE();
        } catch (const qv::FileError& e) {
            plain = e.cause;
        }
        try {
            ahead.Read(name);
            ADD_FAILURE();
        } catch (const qv::FileError& e) {
            EXPECT_EQ(e.cause, plain);
            EXPECT_EQ(e.fileName, name);
        }
    }
    // Made after its reading failed, it is found.
    qv::WriteWholeFile(Name("missing.lnd"), {3});
    EXPECT_EQ(ahead.Read(Name("missing.lnd")), (Bytes{3}));
}

}  // namespace
