// The overlay mask: BMP files it refuses, drawing with the key colour, where the pipeline draws it
// (snapshots, buffer copies, callbacks) and the on/off toggle of KZ_LoadMaskBmp with its result codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "dib_image.h"
#include "overlay_fixture.h"

namespace {

// While set, the largest single allocation is kept, and anything above 64 MB is refused: a loader that
// sizes its buffer from a header before checking it against the file shows here without taking the
// machine's memory. The address sanitizer owns operator new, so its build keeps no watch.
std::atomic<bool> gWatchAllocations{false};
std::atomic<std::size_t> gLargestAllocation{0};
constexpr std::size_t kRefusedAllocation = std::size_t{64} << 20;

} // namespace

#ifndef __SANITIZE_ADDRESS__
void* operator new(std::size_t size) {
    if (gWatchAllocations.load(std::memory_order_relaxed)) {
        std::size_t largest = gLargestAllocation.load(std::memory_order_relaxed);
        while (size > largest && !gLargestAllocation.compare_exchange_weak(largest, size)) {
        }
        if (size > kRefusedAllocation) {
            throw std::bad_alloc();
        }
    }
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
#endif

namespace {

using korvib::DibImage;
using testbmp::BmpBytes;
using testbmp::Picture;
using testbmp::PutDword;
using testbmp::PutWord;

BITMAPINFOHEADER Format(LONG width, LONG height) {
    BITMAPINFOHEADER format{};
    format.biWidth = width;
    format.biHeight = height;
    format.biBitCount = 24;
    return format;
}

// A 5 x 3 picture: rows of 16 bytes with one byte of padding.
std::vector<BYTE> SmallBmp() {
    return BmpBytes(Picture(5, 3, 1, 2, 3));
}

std::vector<BYTE> WithDword(std::vector<BYTE> bytes, std::size_t at, DWORD value) {
    PutDword(bytes, at, value);
    return bytes;
}

std::vector<BYTE> WithBitCount(std::vector<BYTE> bytes, WORD bits) {
    PutWord(bytes, 28, bits);
    return bytes;
}

struct FileCase {
    const char* name;
    std::vector<BYTE> bytes;
};

// Files whose headers lie about their rows, or whose rows are compressed or of no known depth, are refused
// before anything is read past their end or allocated beyond the file's size; a refused load leaves the
// holder empty even when it held a picture.
TEST(DibImageLoad, RefusesFilesItCannotHoldWhole) {
    testsupport::TempFolder folder;
    std::vector<BYTE> cut = SmallBmp();
    cut.pop_back();
    const std::vector<BYTE> headerOnly(cut.begin(), cut.begin() + 14);
    std::vector<BYTE> notBmp = SmallBmp();
    PutWord(notBmp, 0, 0x5842);
    const FileCase cases[] = {
        {"empty file", {}},
        {"file header only", headerOnly},
        {"no BM", notBmp},
        {"last row cut short", cut},
        {"rows start inside the info header", WithDword(SmallBmp(), 10, 40)},
        {"rows start past the end", WithDword(SmallBmp(), 10, 4000)},
        {"more rows than the file holds", WithDword(SmallBmp(), 22, 4)},
        {"width beyond any file", WithDword(SmallBmp(), 18, 0x7FFFFFFF)},
        {"zero width", WithDword(SmallBmp(), 18, 0)},
        {"bit fields", WithDword(SmallBmp(), 30, BI_BITFIELDS)},
        {"run-length 8 bits", WithDword(BmpBytes(5, 3, 8, std::vector<BYTE>(24, 0)), 30, 1)},
        {"0 bits", WithBitCount(SmallBmp(), 0)},
        {"7 bits", WithBitCount(SmallBmp(), 7)},
        {"8 bits cut short", BmpBytes(5, 3, 8, std::vector<BYTE>(23, 0))},
    };
    const std::string good = folder.file("good.bmp");
    testbmp::SaveFile(good, SmallBmp());
    for (const FileCase& c : cases) {
        const std::string path = folder.file("broken.bmp");
        testbmp::SaveFile(path, c.bytes);
        DibImage image;
        ASSERT_TRUE(image.LoadBmp(good.c_str()));
        gLargestAllocation = 0;
        gWatchAllocations = true;
        const bool loaded = image.LoadBmp(path.c_str());
        gWatchAllocations = false;
        EXPECT_FALSE(loaded) << c.name;
        EXPECT_LE(gLargestAllocation.load(), std::max<std::size_t>(c.bytes.size(), 4096)) << c.name;
        EXPECT_FALSE(image.MatchesFormat(Format(5, 3))) << c.name;
    }
    DibImage image;
    EXPECT_FALSE(image.LoadBmp(folder.file("missing.bmp").c_str()));
    EXPECT_FALSE(image.LoadBmp(nullptr));
}

// A whole file loads whatever biSizeImage says, and matches only its own width, height and bit count; a
// top-down file keeps its negative height and so never matches a running format.
TEST(DibImageLoad, MatchesOnlyItsOwnFormat) {
    testsupport::TempFolder folder;
    const FileCase cases[] = {
        {"as written", SmallBmp()},
        {"biSizeImage 0", WithDword(SmallBmp(), 34, 0)},
        {"biSizeImage too small", WithDword(SmallBmp(), 34, 10)},
    };
    for (const FileCase& c : cases) {
        const std::string path = folder.file("mask.bmp");
        testbmp::SaveFile(path, c.bytes);
        DibImage image;
        ASSERT_TRUE(image.LoadBmp(path.c_str())) << c.name;
        EXPECT_TRUE(image.MatchesFormat(Format(5, 3))) << c.name;
        EXPECT_FALSE(image.MatchesFormat(Format(6, 3))) << c.name;
        EXPECT_FALSE(image.MatchesFormat(Format(5, 4))) << c.name;
        BITMAPINFOHEADER sixteen = Format(5, 3);
        sixteen.biBitCount = 16;
        EXPECT_FALSE(image.MatchesFormat(sixteen)) << c.name;
    }
    // These load, but only a 24-bit bottom-up picture with rows can be laid on a running frame.
    const FileCase neverLaidOn[] = {
        {"top-down", WithDword(SmallBmp(), 22, static_cast<DWORD>(-3))},
        {"height 0", BmpBytes(5, 0, 24, {})},
        {"1 bit", BmpBytes(5, 3, 1, std::vector<BYTE>(12, 0))},
        {"8 bits", BmpBytes(5, 3, 8, std::vector<BYTE>(24, 0))},
        {"32 bits", BmpBytes(5, 3, 32, std::vector<BYTE>(60, 0))},
    };
    DibImage image;
    for (const FileCase& c : neverLaidOn) {
        const std::string path = folder.file("never.bmp");
        testbmp::SaveFile(path, c.bytes);
        ASSERT_TRUE(image.LoadBmp(path.c_str())) << c.name;
        // Running formats are bottom-up and have rows.
        for (WORD bits : {1, 8, 24, 32}) {
            BITMAPINFOHEADER format = Format(5, 3);
            format.biBitCount = bits;
            EXPECT_FALSE(image.MatchesFormat(format)) << c.name << ", " << bits << " bits";
        }
    }

    // The path is a Windows one: "\" separators name the same file.
    std::string windowsPath = folder.file("mask.bmp");
    std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
    ASSERT_TRUE(image.LoadBmp(windowsPath.c_str()));
    EXPECT_TRUE(image.MatchesFormat(Format(5, 3)));
}

struct KeyCase {
    const char* name;
    DWORD key;
    BYTE blue, green, red; // every mask pixel
    bool transparent;
};

// The key is 0x00RRGGBB compared byte by byte with blue, green, red; a pixel differing in one byte covers
// the frame's pixel, and the row padding of the frame is never written.
TEST(DibImageMask, KeyColourDecidesEachPixel) {
    const KeyCase cases[] = {
        {"white on white key", 0xFFFFFF, 255, 255, 255, true},
        {"blue byte differs", 0xFFFFFF, 254, 255, 255, false},
        {"green byte differs", 0xFFFFFF, 255, 254, 255, false},
        {"red byte differs", 0xFFFFFF, 255, 255, 254, false},
        {"pure blue, key 0x0000FF", 0x0000FF, 255, 0, 0, true},
        {"pure red, key 0x0000FF", 0x0000FF, 0, 0, 255, false},
        {"black on white key", 0xFFFFFF, 0, 0, 0, false},
    };
    testsupport::TempFolder folder;
    for (const KeyCase& c : cases) {
        const std::string path = folder.file("mask.bmp");
        testbmp::SaveFile(path, BmpBytes(Picture(3, 2, c.blue, c.green, c.red)));
        DibImage mask;
        ASSERT_TRUE(mask.LoadBmp(path.c_str()));
        Picture frame(3, 2, 10, 20, 30);
        std::memset(frame.rows.data() + 9, 0x77, 3);
        std::memset(frame.rows.data() + 21, 0x77, 3);
        mask.ApplyMask(frame.rows.data(), c.key);
        Picture expected = c.transparent ? Picture(3, 2, 10, 20, 30) : Picture(3, 2, c.blue, c.green, c.red);
        std::memset(expected.rows.data() + 9, 0x77, 3);
        std::memset(expected.rows.data() + 21, 0x77, 3);
        EXPECT_EQ(frame.rows, expected.rows) << c.name;
    }
}

// A 640 x 480 mask: white (the key) with a red block and a black block.
Picture MaskPicture() {
    Picture mask(OverlayTest::kWidth, OverlayTest::kHeight, 255, 255, 255);
    for (int row = 50; row < 100; ++row) {
        for (int column = 100; column < 200; ++column) {
            mask.Set(column, row, 0, 0, 255);
            mask.Set(column + 300, row + 200, 0, 0, 0);
        }
    }
    return mask;
}

// The frame with the mask's non-white pixels over it.
std::vector<BYTE> Masked(std::vector<BYTE> frame) {
    const Picture mask = MaskPicture();
    for (std::size_t at = 0; at + 2 < frame.size(); at += 3) {
        if (mask.rows[at] != 255 || mask.rows[at + 1] != 255 || mask.rows[at + 2] != 255) {
            std::memcpy(frame.data() + at, mask.rows.data() + at, 3);
        }
    }
    return frame;
}

class Mask : public OverlayTest {
protected:
    std::string MaskFile() { return File("mask.bmp", BmpBytes(MaskPicture())); }
};

// Drawn before the callbacks, the mask is in the buffer copy, the BMP snapshot and the frame callback.
TEST_F(Mask, DrawnEarlyReachesCopiesAndSnapshots) {
    ASSERT_EQ(KZ_LoadMaskBmp(h_, MaskFile().c_str(), 0xFFFFFF, 1), KZ_OK);
    Deliver();
    EXPECT_EQ(Seen(), Masked(Raw()));

    StreamWhileWaiting();
    std::vector<BYTE> copy(static_cast<std::size_t>(kWidth) * kHeight * 3);
    ASSERT_EQ(KZ_CaptureToBuf(h_, copy.data()), KZ_OK);
    EXPECT_EQ(copy, Masked(Raw()));

    const std::string path = folder_.file("snap.bmp");
    ASSERT_EQ(KZ_CaptureToBmp(h_, path.c_str()), KZ_OK);
    const std::vector<BYTE> file = testsupport::readFileBytes(path);
    ASSERT_EQ(file.size(), copy.size() + 54);
    EXPECT_EQ(std::vector<BYTE>(file.begin() + 54, file.end()), Masked(Raw()));
}

struct MaskCallbackView {
    std::vector<BYTE> frame;
};

void __stdcall KeepMaskCallbackFrame(void* user, BYTE* frame) {
    static_cast<MaskCallbackView*>(user)->frame.assign(frame, frame + OverlayTest::kWidth *
                                                                          OverlayTest::kHeight * 3);
}

// Drawn after the callbacks, the mask is neither in the buffer copy nor seen by the mask callback, but the
// frame callback gets it.
TEST_F(Mask, DrawnLateOnlyAfterTheMaskCallback) {
    MaskCallbackView view;
    ASSERT_EQ(KZ_SetMaskCallBack(h_, KeepMaskCallbackFrame, &view), KZ_OK);
    ASSERT_EQ(KZ_LoadMaskBmp(h_, MaskFile().c_str(), 0xFFFFFF, 0), KZ_OK);
    StreamWhileWaiting();
    std::vector<BYTE> copy(static_cast<std::size_t>(kWidth) * kHeight * 3);
    ASSERT_EQ(KZ_CaptureToBuf(h_, copy.data()), KZ_OK);
    EXPECT_EQ(copy, Raw());
    EXPECT_EQ(view.frame, Raw());
    EXPECT_EQ(Seen(), Masked(Raw()));

    const std::string path = folder_.file("snap.bmp");
    ASSERT_EQ(KZ_CaptureToBmp(h_, path.c_str()), KZ_OK);
    const std::vector<BYTE> file = testsupport::readFileBytes(path);
    ASSERT_EQ(file.size(), copy.size() + 54);
    EXPECT_EQ(std::vector<BYTE>(file.begin() + 54, file.end()), Raw());
}

struct ToggleStep {
    const char* name;
    std::string file; // "" for a null path
    int result;
    bool masked; // the next frame shows the mask
};

// Each call removes a mask that is present or else loads one; a failed load leaves an empty mask that
// the next call removes. Masks of another size or depth, or top-down, never reach a frame.
TEST_F(Mask, CallsToggleTheMask) {
    const std::string good = MaskFile();
    const std::string small = File("small.bmp", BmpBytes(Picture(320, 240, 0, 0, 0)));
    const std::string grey =
        File("grey.bmp", BmpBytes(kWidth, kHeight, 8, std::vector<BYTE>(kWidth * kHeight, 0)));
    const std::string flat = File("flat.bmp", BmpBytes(kWidth, 0, 24, {}));
    std::vector<BYTE> topDownBytes = BmpBytes(MaskPicture());
    PutDword(topDownBytes, 22, static_cast<DWORD>(-kHeight));
    const std::string topDown = File("top-down.bmp", topDownBytes);
    const ToggleStep steps[] = {
        {"load", good, KZ_OK, true},
        {"same file again removes it", good, KZ_ERR_FAILED, false},
        {"load again", good, KZ_OK, true},
        {"a missing file removes it", folder_.file("missing.bmp"), KZ_ERR_FAILED, false},
        {"missing file", folder_.file("missing.bmp"), KZ_ERR_FAILED, false},
        {"the empty mask is removed", good, KZ_ERR_FAILED, false},
        {"null path", "", KZ_ERR_FAILED, false},
        {"the empty mask of the null path is removed", "", KZ_ERR_FAILED, false},
        {"8-bit file loads", grey, KZ_OK, false},
        {"removed", grey, KZ_ERR_FAILED, false},
        {"height 0 loads", flat, KZ_OK, false},
        {"removed", flat, KZ_ERR_FAILED, false},
        {"another size loads", small, KZ_OK, false},
        {"removed", small, KZ_ERR_FAILED, false},
        {"top-down loads", topDown, KZ_OK, false},
        {"removed", topDown, KZ_ERR_FAILED, false},
        {"load at the end", good, KZ_OK, true},
    };
    for (const ToggleStep& step : steps) {
        const char* path = step.file.empty() ? nullptr : step.file.c_str();
        EXPECT_EQ(KZ_LoadMaskBmp(h_, path, 0xFFFFFF, 1), step.result) << step.name;
        Deliver();
        EXPECT_EQ(Seen() == Masked(Raw()), step.masked) << step.name;
        EXPECT_EQ(Seen() == Raw(), !step.masked) << step.name;
    }
    EXPECT_TRUE(Boxes().calls().empty());
}

void __stdcall CountFrame(void* user, BYTE*) {
    ++*static_cast<std::atomic<int>*>(user);
}

// The streaming thread keeps using a mask or dark frame it took while the caller's thread replaces or
// removes it (the sanitizer build sees any use after it was freed).
TEST_F(CameraTest, OverlaysReplacedWhileFramesStream) {
    Camera().setSteppedMode(false);
    ASSERT_TRUE(Camera().setFrameRate(60));
    testsupport::TempFolder folder;
    const std::string path = folder.file("mask.bmp");
    testbmp::SaveFile(path, BmpBytes(MaskPicture()));
    Picture dark(OverlayTest::kWidth, OverlayTest::kHeight, 10, 10, 10);
    dark.Set(320, 240, 200, 200, 200);
    const std::string darkPath = folder.file("dark.bmp");
    testbmp::SaveFile(darkPath, BmpBytes(dark));
    KZ_HANDLE h = OpenAt(OverlayTest::kWidth, OverlayTest::kHeight);
    KZ_SetParam(h, KZ_PARAM_FORMAT, 4);
    std::atomic<int> frames{0};
    ASSERT_EQ(KZ_SetFrameCallBack(h, CountFrame, &frames), KZ_OK);
    ASSERT_EQ(KZ_Start(h, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
    for (int call = 0; call < 4000 && frames.load() < 20; ++call) {
        ASSERT_EQ(KZ_LoadMaskBmp(h, path.c_str(), 0xFFFFFF, call & 2), call % 2 == 0 ? KZ_OK : KZ_ERR_FAILED);
        ASSERT_EQ(KZ_Calibration(h, darkPath.c_str(), 1, 1), KZ_OK);
    }
    EXPECT_EQ(KZ_Stop(h), KZ_OK);
    EXPECT_GT(frames.load(), 0);
}

} // namespace
