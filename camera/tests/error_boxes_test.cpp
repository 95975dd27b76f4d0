// The library's error boxes and the wide-to-ANSI conversion of device names.
#include <gtest/gtest.h>

#include <cstring>

#include <seams/message_box.h>
#include <win32/kernel.h>
#include <win32/user.h>

#include "error_boxes.h"
#include "wide_to_ansi.h"

namespace {

// The box shows the system's text for the code, captioned "Veltrane", with OK only (or the information icon).
TEST(ErrorBoxes, ShowTheSystemTextCaptionedVeltrane) {
    platform::seams::MessageBoxRecorder boxes(IDOK);
    korvib::ShowComError(E_NOINTERFACE);
    korvib::ShowComInfo(ERROR_ACCESS_DENIED);
    const auto calls = boxes.calls();
    ASSERT_EQ(calls.size(), 2u);

    char* text = nullptr;
    ASSERT_NE(FormatMessage(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr,
                            static_cast<DWORD>(E_NOINTERFACE), 0, reinterpret_cast<char*>(&text), 0, nullptr),
              0u);
    EXPECT_EQ(calls[0].text, text);
    LocalFree(text);
    EXPECT_EQ(calls[0].caption, "Veltrane");
    EXPECT_EQ(calls[0].style, static_cast<UINT>(MB_OK));
    EXPECT_EQ(calls[0].owner, nullptr);
    EXPECT_FALSE(calls[1].text.empty());
    EXPECT_EQ(calls[1].style, static_cast<UINT>(MB_ICONINFORMATION));
}

TEST(WideToAnsi, ConvertsIntoALocalBlock) {
    char* name = korvib::WideToAnsi(L"USB 2820 Video");
    ASSERT_NE(name, nullptr);
    EXPECT_STREQ(name, "USB 2820 Video");
    EXPECT_EQ(LocalFree(name), nullptr) << "the block is the caller's to free with LocalFree";
    EXPECT_EQ(korvib::WideToAnsi(nullptr), nullptr);
}

} // namespace
