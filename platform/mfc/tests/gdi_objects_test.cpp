// GDI wrappers: resource bitmaps by id, selection with the replaced object, ownership of handles.
#include "mfc_fixture.h"

#include <filesystem>
#include <unistd.h>
#include <fstream>

namespace mfc_test {
namespace {

// A 3 x 2 24-bit BMP file, its headers written byte by byte.
std::string writeBmp()
{
    const auto path = (std::filesystem::temp_directory_path() / ("mfc_strip_" + std::to_string(getpid()) + ".bmp")).string();
    std::string bytes;
    const auto put = [&bytes](uint32_t value, int size) {
        for (int i = 0; i < size; ++i)
            bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    const uint32_t pixelBytes = 12 * 2;
    put(0x4D42, 2), put(54 + pixelBytes, 4), put(0, 4), put(54, 4);              // file header
    put(40, 4), put(3, 4), put(2, 4), put(1, 2), put(24, 2), put(0, 4), put(pixelBytes, 4); // info header
    put(0, 4), put(0, 4), put(0, 4), put(0, 4);
    bytes.append(pixelBytes, '\x40');
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

TEST(MfcGdiObjectsTest, ResourceBitmapLoadsByIdAndReportsItsSize)
{
    platform::gdi::registerResourceBitmap(131, writeBmp().c_str());
    CBitmap strip;
    ASSERT_TRUE(strip.LoadBitmap(131));
    BITMAP info{};
    ASSERT_EQ(strip.GetBitmap(&info), int(sizeof(BITMAP)));
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);
    EXPECT_FALSE(strip.LoadBitmap(131)); // holds one already
    CBitmap missing;
    EXPECT_FALSE(missing.LoadBitmap(999));
}

TEST(MfcGdiObjectsTest, SelectionGivesBackTheReplacedObject)
{
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(nullptr));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&memory, 4, 4));
    CBitmap* old = memory.SelectObject(&bitmap);
    ASSERT_NE(old, nullptr);
    EXPECT_NE(old->m_hObject, bitmap.m_hObject);
    // Still selected: GDI refuses the deletion and the object keeps its handle.
    EXPECT_FALSE(bitmap.DeleteObject());
    EXPECT_NE(bitmap.m_hObject, nullptr);
    EXPECT_EQ(memory.SelectObject(old), CBitmap::FromHandle(bitmap));

    CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* oldPen = memory.SelectObject(&pen);
    ASSERT_NE(oldPen, nullptr);
    memory.MoveTo(0, 0);
    EXPECT_TRUE(memory.LineTo(3, 0));
    memory.SelectObject(oldPen);
    EXPECT_NE(memory.SelectStockObject(NULL_BRUSH), nullptr);
}

} // namespace
} // namespace mfc_test
