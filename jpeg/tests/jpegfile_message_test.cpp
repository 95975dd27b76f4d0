// CJpegFile tells the user when the output file cannot be opened.
#include <jpeg/jpegfile.h>

#include "support/foreign_tools.h"

#include <seams/message_box.h>
#include <win32/message_box.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(JpegFileMessages, UnopenableFileShowsItsNameAndFails) {
    testsupport::TempFolder folder;
    unsigned char pixel[3] = {10, 20, 30};
    CJpegFile jpeg;
    for (const int color : {1, 0}) {
        platform::seams::MessageBoxRecorder boxes(IDOK);
        const std::string path = folder.file("missing/folder/out.jpg");
        EXPECT_EQ(jpeg.RGBToJpegFile(path.c_str(), pixel, 1, 1, color, 70), 0);
        const auto calls = boxes.calls();
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(calls[0].owner, nullptr);
        EXPECT_EQ(calls[0].text, "JpegFile :\nCan't open " + path + "\n");
        EXPECT_EQ(calls[0].caption, "Error");
        EXPECT_EQ(calls[0].style, static_cast<UINT>(MB_OK));
    }
}

} // namespace
