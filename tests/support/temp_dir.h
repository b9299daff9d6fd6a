// tests/support/temp_dir.h - a headless test with a fresh folder of its own.
//
// SetUp starts the headless backend and makes a new folder under /tmp
// (dir); TearDown stops the backend and removes the folder with everything
// in it, so tests that run in parallel never share files.
#pragma once

#include "platform/platform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace ovtest {

class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ovPlatform::Start("headless"));
        char pattern[] = "/tmp/ovtest-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
    }
    void TearDown() override
    {
        ovPlatform::Stop();
        std::filesystem::remove_all(dir);
    }

    std::string dir;
};

}  // namespace ovtest
