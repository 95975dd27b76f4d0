// Test helpers moving CRastel pictures through files and byte vectors.
#pragma once

#include <bitmap/rastel.h>

#include "bmp_builder.h"
#include "support/foreign_tools.h"

#include <gtest/gtest.h>

#include <string>

namespace bmptest {

// The bytes SaveBitmap writes for `picture` (a file `name` in `folder`).
inline Bytes savedBytes(CRastel& picture, const testsupport::TempFolder& folder,
                        const std::string& name = "saved.bmp") {
    const std::string path = folder.file(name);
    EXPECT_EQ(picture.SaveBitmap(path.c_str()), 0);
    return testsupport::readFileBytes(path);
}

// ReadBitmap of a file holding `bytes`; returns its result.
inline int loadBytes(CRastel& picture, const testsupport::TempFolder& folder, const Bytes& bytes,
                     const std::string& name = "load.bmp") {
    const std::string path = folder.file(name);
    testsupport::writeFileBytes(path, bytes);
    return picture.ReadBitmap(path.c_str());
}

// The working pixels, empty when not loaded.
inline Bytes pixelsOf(CRastel& picture) {
    const BYTE* p = picture.GetBmpPixel();
    return p ? Bytes(p, p + picture.GetBmpSize()) : Bytes();
}

} // namespace bmptest
