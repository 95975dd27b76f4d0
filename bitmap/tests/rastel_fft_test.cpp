// CRastel Fourier transforms against known spectra and a direct DFT.
#include <bitmap/rastel.h>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

namespace {

constexpr double kTolerance = 1e-12;

TEST(RastelFft, KnownFourPointSpectra) {
    const struct {
        const char* name;
        int dir;
        std::vector<double> re, expectedRe, expectedIm;
    } cases[] = {
        {"forward impulse", 1, {1, 0, 0, 0}, {0.25, 0.25, 0.25, 0.25}, {0, 0, 0, 0}},
        {"forward shifted impulse", 1, {0, 1, 0, 0}, {0.25, 0, -0.25, 0}, {0, -0.25, 0, 0.25}},
        {"inverse impulse, not scaled", -1, {1, 0, 0, 0}, {1, 1, 1, 1}, {0, 0, 0, 0}},
        {"inverse shifted impulse", 0, {0, 1, 0, 0}, {1, 0, -1, 0}, {0, 1, 0, -1}},
    };
    CRastel r;
    for (const auto& c : cases) {
        std::vector<double> re = c.re;
        std::vector<double> im(4, 0.0);
        ASSERT_EQ(r.FFT(c.dir, 2, re.data(), im.data()), 1) << c.name;
        for (int i = 0; i < 4; ++i) {
            EXPECT_NEAR(re[i], c.expectedRe[i], kTolerance) << c.name << " " << i;
            EXPECT_NEAR(im[i], c.expectedIm[i], kTolerance) << c.name << " " << i;
        }
    }
}

TEST(RastelFft, ForwardThenInverseRestoresTheInput) {
    CRastel r;
    for (int m : {0, 1, 3, 10}) {
        const int n = 1 << m;
        std::vector<double> re(n), im(n);
        for (int i = 0; i < n; ++i) {
            re[i] = std::sin(i * 0.7) + i % 3;
            im[i] = std::cos(i * 1.3);
        }
        const std::vector<double> re0 = re, im0 = im;
        ASSERT_EQ(r.FFT(1, m, re.data(), im.data()), 1);
        ASSERT_EQ(r.FFT(-1, m, re.data(), im.data()), 1);
        for (int i = 0; i < n; ++i) {
            EXPECT_NEAR(re[i], re0[i], 1e-9) << m;
            EXPECT_NEAR(im[i], im0[i], 1e-9) << m;
        }
    }
    double x = 1;
    EXPECT_EQ(r.FFT(1, -1, &x, &x), 0);
    EXPECT_EQ(r.FFT(1, 31, &x, &x), 0);
    EXPECT_EQ(r.FFT(1, 2, nullptr, &x), 0);
}

struct Grid {
    std::vector<std::vector<_tagCOMPLEX>> values;
    std::vector<_tagCOMPLEX*> rows;

    Grid(int nx, int ny) : values(nx, std::vector<_tagCOMPLEX>(ny)) {
        for (int i = 0; i < nx; ++i) {
            for (int j = 0; j < ny; ++j)
                values[i][j] = {std::sin(i * 1.1 + j * 0.3), std::cos(i * 0.5 - j)};
            rows.push_back(values[i].data());
        }
    }
};

// The forward 2-D transform equals the direct sum over both indexes divided by nx x ny.
TEST(RastelFft, TwoDimensionalForwardMatchesADirectTransform) {
    for (const auto& [nx, ny] : {std::pair{8, 4}, std::pair{2, 2}, std::pair{4, 16}}) {
        Grid grid(nx, ny);
        const auto input = grid.values;
        CRastel r;
        ASSERT_EQ(r.FFT2D(grid.rows.data(), nx, ny, 1), 1) << nx << "x" << ny;
        for (int u = 0; u < nx; ++u) {
            for (int v = 0; v < ny; ++v) {
                double re = 0, im = 0;
                for (int i = 0; i < nx; ++i) {
                    for (int j = 0; j < ny; ++j) {
                        const double a = -2 * std::numbers::pi * (double(u * i) / nx + double(v * j) / ny);
                        re += input[i][j].real * std::cos(a) - input[i][j].imag * std::sin(a);
                        im += input[i][j].real * std::sin(a) + input[i][j].imag * std::cos(a);
                    }
                }
                EXPECT_NEAR(grid.values[u][v].real, re / (nx * ny), 1e-9) << u << "," << v;
                EXPECT_NEAR(grid.values[u][v].imag, im / (nx * ny), 1e-9) << u << "," << v;
            }
        }
    }
}

// Sizes that are not powers of two from 2 up are refused before any data changes.
TEST(RastelFft, TwoDimensionalRefusalsChangeNothing) {
    const struct { int nx, ny; } cases[] = {{4, 3}, {3, 4}, {1, 4}, {4, 1}, {0, 4}, {-8, 4}, {6, 8}};
    CRastel r;
    for (const auto& c : cases) {
        Grid grid(c.nx > 0 ? c.nx : 1, c.ny);
        const auto input = grid.values;
        EXPECT_EQ(r.FFT2D(grid.rows.data(), c.nx, c.ny, 1), 0) << c.nx << "x" << c.ny;
        for (size_t i = 0; i < input.size(); ++i) {
            for (size_t j = 0; j < input[i].size(); ++j)
                EXPECT_EQ(grid.values[i][j].real, input[i][j].real);
        }
    }
    EXPECT_EQ(r.FFT2D(nullptr, 4, 4, 1), 0);
    std::vector<_tagCOMPLEX*> missingRow(4, nullptr);
    EXPECT_EQ(r.FFT2D(missingRow.data(), 4, 4, 1), 0);
}

} // namespace
