// CRastel objects: empty state, the buffer loader's refusals, and copies that keep their header block.
#include <bitmap/rastel.h>

#include "rastel_files.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using bmptest::buildBmp;
using bmptest::Bytes;
using bmptest::le32;
using bmptest::loadBytes;
using bmptest::savedBytes;
using testsupport::TempFolder;

TEST(RastelObject, EmptyObjectAnswersZeroEverywhere) {
    CRastel picture;
    EXPECT_EQ(picture.GetBmpWidth(), 0u);
    EXPECT_EQ(picture.GetBmpHeight(), 0u);
    EXPECT_EQ(picture.GetBmpSize(), 0u);
    EXPECT_EQ(picture.GetBmpPixel(), nullptr);
    EXPECT_EQ(picture.GetBitCount(), 0);
    EXPECT_EQ(picture.SetDrawCallBack(nullptr, nullptr), 0);
    const CRastel copy(picture);
    EXPECT_EQ(const_cast<CRastel&>(copy).GetBmpPixel(), nullptr);
}

// Each refusal also empties an object that held a picture.
TEST(RastelObject, BufferLoadRefusesBadArguments) {
    Bytes pixels(64, 1);
    const struct {
        const char* name;
        BYTE* pixels;
        int width, height, bits;
    } cases[] = {
        {"null pixels", nullptr, 4, 4, 8},
        {"width 0", pixels.data(), 0, 4, 8},
        {"height 0", pixels.data(), 4, 0, 8},
        {"negative height", pixels.data(), 4, -4, 8},
        {"negative width", pixels.data(), -4, 4, 8},
        {"3 bits", pixels.data(), 4, 4, 3},
        {"0 bits", pixels.data(), 4, 4, 0},
        {"over 256 MiB", pixels.data(), 30000, 30000, 24},
        // Strides of 2^32 + 8 and 2^32 + 4 bytes, which wrap to a few bytes in 32 bits.
        {"24-bit stride past 32 bits", pixels.data(), 1431655768, 2, 24},
        {"32-bit stride past 32 bits", pixels.data(), 1073741825, 2, 32},
    };
    for (const auto& c : cases) {
        CRastel picture;
        ASSERT_EQ(picture.ReadBitmap(pixels.data(), 4, 4, 8), 1);
        EXPECT_EQ(picture.ReadBitmap(c.pixels, c.width, c.height, c.bits), 0) << c.name;
        EXPECT_EQ(picture.GetBmpPixel(), nullptr) << c.name;
        EXPECT_EQ(picture.GetBmpSize(), 0u) << c.name;
    }
}

// The object keeps its own copy: the caller's buffer may change or go at once.
TEST(RastelObject, BufferLoadCopiesThePixels) {
    auto buffer = std::make_unique<BYTE[]>(640 * 480 * 3);
    for (int i = 0; i < 640 * 480 * 3; ++i)
        buffer[i] = static_cast<BYTE>(i % 251);
    CRastel picture;
    ASSERT_EQ(picture.ReadBitmap(buffer.get(), 640, 480, 24), 1);
    const BYTE at1000 = buffer[1000];
    buffer.reset();
    EXPECT_EQ(picture.GetBmpSize(), 640u * 480 * 3);
    EXPECT_EQ(picture.GetBmpWidth(), 640u);
    EXPECT_EQ(picture.GetBmpHeight(), 480u);
    EXPECT_EQ(picture.GetBitCount(), 24);
    EXPECT_EQ(picture.GetBmpPixel()[1000], at1000);
}

// Copies of a loaded picture keep its colour table (20 entries here); the same bytes handed over from a
// caller's own buffer get the standard 256-entry grey table.
TEST(RastelObject, CopiesKeepTheSourceHeaderBlock) {
    TempFolder folder;
    const Bytes file = buildBmp({.width = 5, .height = 3, .bits = 8, .clrUsed = 20, .tableEntries = 20});
    CRastel source;
    ASSERT_EQ(loadBytes(source, folder, file), 1);

    CRastel copied(source);
    EXPECT_EQ(savedBytes(copied, folder, "copied.bmp"), file);
    CRastel history;
    ASSERT_EQ(history.ReadBitmap(source.GetBmpPixel(), 5, 3, 8), 1);
    EXPECT_EQ(savedBytes(history, folder, "history.bmp"), file);
    ASSERT_EQ(history.ReadBitmap(history.GetBmpPixel(), 5, 3, 8), 1) << "reloading its own pixels";
    EXPECT_EQ(savedBytes(history, folder, "reloaded.bmp"), file);
    // A reload of the same size goes into the object's own buffer, which stays known as its pixels.
    ASSERT_EQ(history.ReadBitmap(source.GetBmpPixel(), 5, 3, 8), 1);
    CRastel ofHistory;
    ASSERT_EQ(ofHistory.ReadBitmap(history.GetBmpPixel(), 5, 3, 8), 1);
    EXPECT_EQ(savedBytes(ofHistory, folder, "of-history.bmp"), file);

    Bytes raw(source.GetBmpPixel(), source.GetBmpPixel() + source.GetBmpSize());
    CRastel fromRaw;
    ASSERT_EQ(fromRaw.ReadBitmap(raw.data(), 5, 3, 8), 1);
    const Bytes standard = savedBytes(fromRaw, folder, "raw.bmp");
    EXPECT_EQ(le32(standard, 10), 1078u);
    EXPECT_EQ(Bytes(standard.end() - 12, standard.end()), Bytes(file.end() - 12, file.end()));

    // Another geometry over the same pixels is raw data too.
    CRastel lower;
    ASSERT_EQ(lower.ReadBitmap(source.GetBmpPixel(), 5, 2, 8), 1);
    EXPECT_EQ(le32(savedBytes(lower, folder, "lower.bmp"), 10), 1078u);

    // A copy is independent of its source.
    source.Negative();
    EXPECT_EQ(savedBytes(copied, folder, "copied-again.bmp"), file);
}

// Objects loaded, copied and destroyed on several threads at once keep their own header blocks.
TEST(RastelObject, CopiesOnSeveralThreadsStayApart) {
    const Bytes file = buildBmp({.width = 5, .height = 3, .bits = 8, .clrUsed = 20, .tableEntries = 20});
    TempFolder folder;
    CRastel source;
    ASSERT_EQ(loadBytes(source, folder, file), 1);
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            Bytes raw(64, static_cast<uint8_t>(t));
            for (int i = 0; i < 500; ++i) {
                CRastel own;
                own.ReadBitmap(raw.data(), 8, 8, 8);
                CRastel copy(own);
                CRastel history;
                history.ReadBitmap(source.GetBmpPixel(), 5, 3, 8);
                if (copy.GetBmpPixel()[0] != t || history.GetBmpSize() != 24)
                    ++failures[t];
                if (i == 499 && savedBytes(history, folder, "thread" + std::to_string(t) + ".bmp") != file)
                    ++failures[t];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
    EXPECT_EQ(savedBytes(source, folder), file);
}

} // namespace
