// The shared library JpegFile exports CJpegFile; the hidden object variant keeps it inside its library.
#include <jpeg/jpegfile.h>

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

// CJpegFile::RGBToJpegFile and the class's virtual table, as the linker names them.
constexpr const char* kClassSymbols[] = {"_ZN9CJpegFile13RGBToJpegFileEPKcPhjjii", "_ZTV9CJpegFile"};

TEST(JpegFileExports, SharedLibraryExportsTheClass) {
    void* library = dlopen(JPEGFILE_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_TRUE(library) << dlerror();
    for (const char* symbol : kClassSymbols)
        EXPECT_TRUE(dlsym(library, symbol)) << symbol;
    dlclose(library);
}

TEST(JpegFileExports, HiddenObjectsDoNotExportTheClassButStillWork) {
    void* library = dlopen(JPEGFILE_HIDDEN_PROBE, RTLD_NOW | RTLD_LOCAL);
    ASSERT_TRUE(library) << dlerror();
    for (const char* symbol : kClassSymbols)
        EXPECT_FALSE(dlsym(library, symbol)) << symbol;
    using Probe = int (*)(unsigned char*, unsigned long, unsigned long);
    const auto probe = reinterpret_cast<Probe>(dlsym(library, "jpegfile_hidden_probe_swap"));
    ASSERT_TRUE(probe);
    unsigned char pixel[3] = {1, 2, 3};
    EXPECT_EQ(probe(pixel, 1, 1), 1);
    EXPECT_EQ(pixel[0], 3);
    dlclose(library);
}

} // namespace
