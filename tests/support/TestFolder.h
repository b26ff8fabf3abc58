#pragma once
// A folder of the test's own under the system's temporary folder, named after
// the process and the test that makes it so that no two tests share one, made
// empty with the subfolders asked for and removed with this.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <initializer_list>
#include <string>

namespace test_support {

struct TestFolder {
    explicit TestFolder(const std::string& kind,
                        std::initializer_list<const char*> subfolders = {}) {
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::temp_directory_path() /
              ("qv-" + kind + "-" + std::to_string(::getpid()) + (test ? "-" : "") +
               (test ? test->name() : ""));
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        for (const char* sub : subfolders) std::filesystem::create_directories(dir / sub);
    }
    ~TestFolder() { std::filesystem::remove_all(dir); }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    std::filesystem::path dir;
};

}  // namespace test_support
