#pragma once
// A fresh, empty directory for the running test: <temp>/<prefix>-<process id>-<suite>-<test>.
// Whatever an earlier run left there goes first; the test removes it when it is done.
#include "platform/RuntimeDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace quorvex::test_support {

inline std::filesystem::path freshTestDirectory(const std::string& prefix)
{
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() /
        (prefix + "-" + std::to_string(platform::currentProcessId()) + "-" +
         test->test_suite_name() + "-" + test->name());
    std::filesystem::remove_all(directory);
    std::filesystem::create_directories(directory);
    return directory;
}

} // namespace quorvex::test_support
