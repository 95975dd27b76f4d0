// Erosion, Dilation, Open, Close and Interpolation1: their answers, and that they change nothing.
#include <kernels/pixano.h>

#include "picture.h"

#include <gtest/gtest.h>

using pixano_test::Picture;

namespace {

using Kernel = int (CPixano::*)(BYTE*, LONG, LONG, WORD);

TEST(PlaceholderKernels, ChangeNothingAndInterpolationRefusesOtherDepths) {
    struct Case {
        const char* name;
        Kernel kernel;
        WORD bits;
        int result;
    };
    const Case cases[] = {
        {"Erosion", &CPixano::Erosion, 8, 0},
        {"Dilation", &CPixano::Dilation, 24, 0},
        {"Open", &CPixano::Open, 1, 0},
        {"Close", &CPixano::Close, 32, 0},
        {"Interpolation1", &CPixano::Interpolation1, 8, 0},
        {"Interpolation1", &CPixano::Interpolation1, 24, 0},
        {"Interpolation1", &CPixano::Interpolation1, 16, 2},
        {"Interpolation1", &CPixano::Interpolation1, 1, 2},
    };
    for (const Case& c : cases) {
        Picture picture(7, 3, c.bits);
        picture.noise(c.bits);
        const Picture original = picture;
        CPixano pixano;
        EXPECT_EQ((pixano.*c.kernel)(picture.data(), 7, 3, c.bits), c.result) << c.name << " " << c.bits;
        EXPECT_EQ(picture.bytes, original.bytes) << c.name;
    }
}

} // namespace
