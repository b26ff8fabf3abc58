#pragma once
// The folders a test reads from: the fixtures in tests/data and the source
// tree's root. The build names them to tests/support/TestPaths.cpp alone, so
// that every other test compiles alike in whatever folder the tree is checked
// out (and a compiler cache shares them between checkouts).

#include <string>

namespace test_support {

// tests/data, without a closing slash.
std::string TestDataFolder();
// The source tree's root, without a closing slash.
std::string SourceFolder();

}  // namespace test_support
