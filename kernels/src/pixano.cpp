// CPixano construction, progress and the kernels that leave the picture as it is.
#include <kernels/pixano.h>

#include "progress.h"

CPixano::CPixano() : m_nProgress(0) {}

// Records how far a kernel has come. Caller's thread.
void CPixano::SetProgress(LONG min, LONG max, LONG current) {
    m_nProgress = pixano::progressPercent(min, max, current);
}

// The morphological kernels are placeholders of the library's interface: they change nothing and
// answer 0. Any thread.
int CPixano::Erosion(BYTE*, LONG, LONG, WORD) { return PIXANO_OK; }
int CPixano::Dilation(BYTE*, LONG, LONG, WORD) { return PIXANO_OK; }
int CPixano::Open(BYTE*, LONG, LONG, WORD) { return PIXANO_OK; }
int CPixano::Close(BYTE*, LONG, LONG, WORD) { return PIXANO_OK; }

// Changes nothing; 0 at 8 and 24 bits, 2 at other depths. Any thread.
int CPixano::Interpolation1(BYTE*, LONG, LONG, WORD bits) {
    return bits == 8 || bits == 24 ? PIXANO_OK : PIXANO_BAD_DEPTH;
}
