// Gamma tables, the green-channel pass and KZ_GammaOperation on small DIBs.
#include <gtest/gtest.h>

#include <vector>

#include <camera/korvib.h>

#include "gamma.h"

namespace {

struct GammaEntry {
    float gamma;
    int input;
    int output;
};

// The table's argument is (k + 1) / 256: gamma 1 is not the identity and entry 255 is always 255.
TEST(GammaTable, EntriesFollowTheShiftedPowerCurve) {
    const GammaEntry cases[] = {
        {1.0f, 0, 1},   {1.0f, 127, 128}, {1.0f, 128, 128}, {1.0f, 255, 255}, {2.2f, 0, 0},
        {2.2f, 127, 55}, {2.2f, 255, 255}, {0.0f, 0, 255},  {-1.0f, 0, 255},  {-1.0f, 200, 255},
    };
    for (const GammaEntry& c : cases) {
        EXPECT_EQ(korvib::MakeGammaTable(c.gamma)[c.input], c.output) << "gamma " << c.gamma << " entry " << c.input;
    }
}

// A 3-pixel row has 3 padding bytes; the green pass touches only byte 1 of each pixel.
TEST(GreenGamma, ChangesOnlyGreenBytesAndKeepsPadding) {
    std::vector<BYTE> frame(12 * 2, 100);
    ASSERT_TRUE(korvib::ApplyGreenGamma(frame.data(), 3, 2, 2.2f));
    const BYTE mapped = korvib::MakeGammaTable(2.2f)[100];
    for (int row = 0; row < 2; ++row) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(frame[row * 12 + x * 3 + 0], 100);
            EXPECT_EQ(frame[row * 12 + x * 3 + 1], mapped);
            EXPECT_EQ(frame[row * 12 + x * 3 + 2], 100);
        }
        for (int pad = 9; pad < 12; ++pad) {
            EXPECT_EQ(frame[row * 12 + pad], 100) << "padding byte " << pad;
        }
    }
    EXPECT_FALSE(korvib::ApplyGreenGamma(nullptr, 3, 2, 2.2f));
}

// KZ_GammaOperation maps whole rows, padding included, and takes a top-down height's magnitude.
TEST(GammaOperation, MapsEveryByteOfEveryRow) {
    const BYTE mapped = korvib::MakeGammaTable(2.2f)[100];
    for (int height : {2, -2}) {
        std::vector<BYTE> dib(12 * 2 + 4, 100); // 4 guard bytes after the two rows
        EXPECT_EQ(KZ_GammaOperation(dib.data(), 3, height, 24, 2.2f), KZ_OK);
        for (std::size_t i = 0; i < 24; ++i) {
            EXPECT_EQ(dib[i], mapped) << "byte " << i << " height " << height;
        }
        for (std::size_t i = 24; i < dib.size(); ++i) {
            EXPECT_EQ(dib[i], 100) << "guard byte " << i;
        }
    }
    EXPECT_EQ(KZ_GammaOperation(nullptr, 3, 2, 24, 2.2f), KZ_ERR_FAILED);
}

} // namespace
