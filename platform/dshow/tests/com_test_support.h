// Test helpers: COM initialised for the duration of a test.
#pragma once

#include <gtest/gtest.h>

#include <dshow/com.h>

namespace testing_dshow {

class ComTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    void TearDown() override { CoUninitialize(); }
};

} // namespace testing_dshow
