#include "support/TestPaths.h"

namespace test_support {

std::string TestDataFolder() {
    return QV_TEST_DATA;
}

std::string SourceFolder() {
    return QV_SOURCE_DIR;
}

}  // namespace test_support
