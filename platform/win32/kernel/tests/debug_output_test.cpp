// Test of OutputDebugString switched on by the environment (the switch is read at the first call).
#include <win32/debug_output.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(DebugOutput, PrefixedLinesOnStderrWhenSwitchedOn) {
    setenv("ORVANEL_DEBUG_OUTPUT", "1", 1);
    EXPECT_TRUE(IsDebuggerPresent());
    ::testing::internal::CaptureStderr();
    OutputDebugString("Leaving!");
    OutputDebugString("Com1 Open Success!\n");
    OutputDebugString(nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "[debug] Leaving!\n[debug] Com1 Open Success!\n");
}

} // namespace
