// Test of GetLocalTime from the seam and from the system.
#include <win32/timing.h>

#include <seams/local_time.h>

#include <gtest/gtest.h>

#include <ctime>

namespace {

TEST(LocalTime, SeamFieldsAndWorkedOutDayOfWeek) {
    platform::seams::setLocalTime(platform::seams::LocalTime{2026, 12, 9, 9, 5, 3, 250});
    SYSTEMTIME t{};
    GetLocalTime(&t);
    EXPECT_EQ(t.wYear, 2026);
    EXPECT_EQ(t.wMonth, 12);
    EXPECT_EQ(t.wDay, 9);
    EXPECT_EQ(t.wDayOfWeek, 3); // a Wednesday
    EXPECT_EQ(t.wHour, 9);
    EXPECT_EQ(t.wMinute, 5);
    EXPECT_EQ(t.wSecond, 3);
    EXPECT_EQ(t.wMilliseconds, 250);
    platform::seams::setLocalTime(platform::seams::LocalTime{2024, 2, 29, 23, 59, 59, 999});
    GetLocalTime(&t);
    EXPECT_EQ(t.wDayOfWeek, 4); // a Thursday
    platform::seams::setLocalTime(std::nullopt);
}

TEST(LocalTime, SystemTimeMatchesTheLibrary) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    SYSTEMTIME t{};
    GetLocalTime(&t);
    EXPECT_EQ(t.wYear, local.tm_year + 1900);
    EXPECT_EQ(t.wMonth, local.tm_mon + 1);
    EXPECT_EQ(t.wDayOfWeek, local.tm_wday);
    EXPECT_LT(t.wMilliseconds, 1000);
}

} // namespace
