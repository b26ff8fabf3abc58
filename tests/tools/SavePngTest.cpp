// The pictures the data program and the tests write as .png: every chunk
// closes with the check sum of its type and data, the empty end chunk too.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "data/CreatureArt.h"
#include "platform/Files.h"
#include "platform/Surface.h"
#include "support/TestFolder.h"

namespace {

TEST(SavePng, TheEndChunkCarriesTheSumOfItsType) {
    test_support::TestFolder folder("png");
    const std::string path = (folder.dir / "end.png").string();
    qv::Surface surface(2, 2);
    ASSERT_TRUE(art::SavePng(surface, path));
    const std::vector<uint8_t> bytes = qv::ReadWholeFile(path);
    // Length 0, "IEND", and the CRC-32 of "IEND", as every PNG ends.
    const std::vector<uint8_t> end = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
    ASSERT_GE(bytes.size(), end.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.end() - static_cast<long>(end.size()), bytes.end()), end);
}

}  // namespace
