// A test fixture with a scratch folder of the running test's own, emptied
// before the test and removed after it, for the files a tool test writes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/sinewrig_outcome.h"

class ScratchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::path(::testing::TempDir()) /
                 (std::string("sinewrig_") + test->test_suite_name() + "_" + test->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string file(const std::string& name) const { return (folder / name).string(); }
    // Writes `bytes` to a file of the folder; its path.
    std::string write(const std::string& name, const std::string& bytes) const {
        const std::string path = file(name);
        writeFileText(path, bytes);
        return path;
    }

    std::filesystem::path folder;
};
