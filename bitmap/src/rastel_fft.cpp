// CRastel Fourier transforms: radix-2 FFT of one array pair and of the columns and rows of a grid.
#include <bitmap/rastel.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>

namespace {

constexpr int kMaxExponent = 30;

// Gathers element (i, j) of each of the n lines picked by `at(i)`, transforms them and puts them back.
template <typename At>
void transformLine(CRastel& owner, int dir, int m, int n, double* re, double* im, At at) {
    for (int i = 0; i < n; ++i) {
        re[i] = at(i).real;
        im[i] = at(i).imag;
    }
    owner.FFT(dir, m, re, im);
    for (int i = 0; i < n; ++i) {
        at(i).real = re[i];
        at(i).imag = im[i];
    }
}

} // namespace

// Transforms 2^m points of re and im in place: dir 1 forward (kernel e^(-2 pi i jk/n), divided by n),
// any other value inverse (e^(+2 pi i jk/n), not scaled). The twiddle factors come from a square-root
// recurrence. Returns 1, or 0 (nothing changed) for null arrays or m outside 0 to 30. Any thread.
int CRastel::FFT(int dir, int m, double* re, double* im) {
    if (!re || !im || m < 0 || m > kMaxExponent)
        return 0;
    const long n = 1L << m;
    // Bit-reversal permutation.
    for (long i = 0, j = 0; i < n - 1; ++i) {
        if (i < j) {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
        long k = n / 2;
        while (k <= j) {
            j -= k;
            k /= 2;
        }
        j += k;
    }
    double c1 = -1.0;
    double c2 = 0.0;
    long l2 = 1;
    for (int stage = 0; stage < m; ++stage) {
        const long l1 = l2;
        l2 <<= 1;
        double u1 = 1.0;
        double u2 = 0.0;
        for (long j = 0; j < l1; ++j) {
            for (long i = j; i < n; i += l2) {
                const long i1 = i + l1;
                const double t1 = u1 * re[i1] - u2 * im[i1];
                const double t2 = u1 * im[i1] + u2 * re[i1];
                re[i1] = re[i] - t1;
                im[i1] = im[i] - t2;
                re[i] += t1;
                im[i] += t2;
            }
            const double z = u1 * c1 - u2 * c2;
            u2 = u1 * c2 + u2 * c1;
            u1 = z;
        }
        c2 = std::sqrt((1.0 - c1) / 2.0);
        if (dir == 1)
            c2 = -c2;
        c1 = std::sqrt((1.0 + c1) / 2.0);
    }
    if (dir == 1) {
        for (long i = 0; i < n; ++i) {
            re[i] /= static_cast<double>(n);
            im[i] /= static_cast<double>(n);
        }
    }
    return 1;
}

// Transforms nx rows of ny values in place: first every column, then every row. Both sizes are checked
// before anything changes. Returns 1, or 0 (nothing changed) when rows or a row is null, a size is not a
// power of two from 2 up, or the work arrays cannot be allocated. Any thread.
int CRastel::FFT2D(_tagCOMPLEX** rows, int nx, int ny, int dir) {
    int mx = 0;
    int my = 0;
    int twopm = 0;
    if (!rows || !Powerof2(nx, &mx, &twopm) || !Powerof2(ny, &my, &twopm))
        return 0;
    for (int i = 0; i < nx; ++i) {
        if (!rows[i])
            return 0;
    }
    const int longest = nx > ny ? nx : ny;
    std::unique_ptr<double[]> re(new (std::nothrow) double[longest]);
    std::unique_ptr<double[]> im(new (std::nothrow) double[longest]);
    if (!re || !im)
        return 0;
    for (int j = 0; j < ny; ++j)
        transformLine(*this, dir, mx, nx, re.get(), im.get(),
                      [&](int i) -> _tagCOMPLEX& { return rows[i][j]; });
    for (int i = 0; i < nx; ++i)
        transformLine(*this, dir, my, ny, re.get(), im.get(),
                      [&](int j) -> _tagCOMPLEX& { return rows[i][j]; });
    return 1;
}

// 1 when n is a power of two from 2 up, with m its exponent and twopm = 2^m; otherwise 0 with m and
// twopm the exponent and power reached (0 and 1 for n of 1 or less).
int CRastel::Powerof2(int n, int* m, int* twopm) {
    if (n <= 1) {
        *m = 0;
        *twopm = 1;
        return 0;
    }
    *m = 1;
    *twopm = 2;
    while (2 * static_cast<int64_t>(*twopm) <= n) {
        ++*m;
        *twopm *= 2;
    }
    return *twopm == n ? 1 : 0;
}
