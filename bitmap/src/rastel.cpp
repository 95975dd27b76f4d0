// CRastel: construction, copying, the buffer loader, the header block and the getters and setters.
#include <bitmap/rastel.h>

#include <kernels/pixano.h>

#include "bmp_file.h"
#include "picture_registry.h"

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <new>
#include <utility>

namespace {

bool bufferDepth(int bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// `held` (of `heldSize` bytes) taken over when it has exactly `size` bytes, so that reloading a picture
// of the same size writes into memory already mapped instead of faulting in new pages; otherwise a new
// buffer, null without memory.
std::unique_ptr<BYTE[]> reuseOrAllocate(BYTE*& held, uint64_t heldSize, uint64_t size) {
    if (held && heldSize == size)
        return std::unique_ptr<BYTE[]>(std::exchange(held, nullptr));
    return std::unique_ptr<BYTE[]>(new (std::nothrow) BYTE[size]);
}

// Whether the `aSize` bytes at `a` and the `bSize` bytes at `b` share a byte.
bool overlap(const BYTE* a, uint64_t aSize, const BYTE* b, uint64_t bSize) {
    const std::less<const BYTE*> before;
    return before(a, b + bSize) && before(b, a + aSize);
}

} // namespace

CRastel::CRastel() {
    InitialParam();
}

CRastel::CRastel(const CRastel& other) {
    InitialParam();
    if (other.m_bValid)
        ReadBitmap(other.m_pImage, other.m_nWidth, other.m_nHeight, other.m_pInfo->bmiHeader.biBitCount);
}

CRastel::~CRastel() {
    DeAllocateBuffer();
}

// Resets every member to the empty state; frees nothing.
void CRastel::InitialParam() {
    m_bValid = FALSE;
    m_nWidth = 0;
    m_nHeight = 0;
    m_nStride = 0;
    m_pImage = nullptr;
    m_pDisplay = nullptr;
    m_pInfo = nullptr;
    m_nImageSize = 0;
    m_pDibBits = nullptr;
    m_pColorTable = nullptr;
    m_nColorEntries = 0;
    m_hDibSection = nullptr;
    m_hDdb = nullptr;
    m_pfnDrawCallBack = nullptr;
    m_pUserData = nullptr;
    m_nZoom = 1;
    m_nStretch = 1;
    m_nSplit = 0;
    m_pProcess = nullptr;
    displayHoldsOverlays_ = false;
}

// Frees the GDI bitmaps, the header block, both pixel buffers and the kernel instance; the object is
// empty afterwards.
void CRastel::DeAllocateBuffer() {
    FreeDisplayHandles();
    if (m_pImage)
        rastel::unregisterPicture(m_pImage);
    rastel::HeaderBlockDeleter()(m_pInfo);
    m_pInfo = nullptr;
    m_pColorTable = nullptr;
    delete[] m_pImage;
    m_pImage = nullptr;
    delete[] m_pDisplay;
    m_pDisplay = nullptr;
    delete m_pProcess;
    m_pProcess = nullptr;
    m_bValid = FALSE;
}

// The display copy of the previous picture is kept when it has the new size; it is not filled, as it
// stands for the working pixels until an overlay pass draws into it.
int CRastel::TakePicture(BITMAPINFO* info, BYTE* pixels) {
    rastel::HeaderBlock ownedInfo(info);
    std::unique_ptr<BYTE[]> ownedPixels(pixels);
    const BITMAPINFOHEADER& header = info->bmiHeader;
    const DWORD stride = static_cast<DWORD>(DibStride(header.biWidth, header.biBitCount));
    const DWORD imageSize = stride * static_cast<DWORD>(header.biHeight);
    std::unique_ptr<BYTE[]> display = reuseOrAllocate(m_pDisplay, m_bValid ? m_nImageSize : 0, imageSize);
    DeAllocateBuffer();
    InitialParam();
    std::unique_ptr<CPixano> process(new (std::nothrow) CPixano());
    if (!display || !process)
        return 0;
    m_nWidth = header.biWidth;
    m_nHeight = header.biHeight;
    m_nStride = stride;
    m_nImageSize = imageSize;
    m_pInfo = ownedInfo.release();
    m_nColorEntries = static_cast<DWORD>(GetColorTableSize(&m_pInfo->bmiHeader));
    m_pColorTable = rastel::colorTableOf(m_pInfo);
    m_pImage = ownedPixels.release();
    m_pDisplay = display.release();
    m_pProcess = process.release();
    m_bValid = TRUE;
    rastel::registerPicture(m_pImage, this);
    return 1;
}

// Loads a copy of `height` rows of ((width * bits + 31) / 32) * 4 bytes from a caller's DIB pixel
// buffer. When the pixels are another loaded object's working pixels of the same geometry, that
// object's header block and colour table come along; otherwise the standard block is built. The working
// pixels of a picture of the same size are overwritten in place unless the buffer lies in them.
// Returns 1, or 0 (object empty) for null pixels, a size that is not positive or exceeds 256 MiB, a
// depth other than 1, 4, 8, 16, 24 or 32 bits, or no memory. The buffer stays the caller's and may be
// this object's own pixels.
int CRastel::ReadBitmap(BYTE* pixels, int width, int height, int bits) {
    const bool sized = bufferDepth(bits) && width > 0 && height > 0;
    const uint64_t imageSize = sized ? rastel::pixelBytes(static_cast<uint64_t>(width), bits, height) : 0;
    if (!pixels || imageSize == 0 || imageSize > rastel::kMaxPixelBytes) {
        DeAllocateBuffer();
        InitialParam();
        return 0;
    }
    const CRastel* source = rastel::pictureOwning(pixels);
    const bool sameGeometry = source && source->m_nWidth == width && source->m_nHeight == height &&
                              source->m_pInfo->bmiHeader.biBitCount == bits;
    rastel::HeaderBlock info = sameGeometry
                                   ? rastel::copyHeaderBlock(source->m_pInfo, source->m_nColorEntries)
                                   : rastel::standardHeaderBlock(width, height, bits);
    // A buffer inside the object's own pixels must outlive the reload, so it goes into a new one.
    const bool reuse = m_bValid && m_nImageSize == imageSize && !overlap(pixels, imageSize, m_pImage, m_nImageSize);
    if (reuse)
        rastel::unregisterPicture(m_pImage);
    std::unique_ptr<BYTE[]> copy = reuseOrAllocate(m_pImage, reuse ? m_nImageSize : 0, imageSize);
    if (!info || !copy) {
        DeAllocateBuffer();
        InitialParam();
        return 0;
    }
    std::memcpy(copy.get(), pixels, imageSize);
    return TakePicture(info.release(), copy.release());
}

// Replaces the header block by the standard one of width x height at `bits` and sets the geometry to
// match; the pixel buffers are not touched. Returns 1, or 0 (nothing changed) without memory.
int CRastel::ChangeBmpInfoHeader(ULONG width, ULONG height, int bits) {
    rastel::HeaderBlock info =
        rastel::standardHeaderBlock(static_cast<LONG>(width), static_cast<LONG>(height), bits);
    if (!info)
        return 0;
    m_nWidth = static_cast<LONG>(width);
    m_nHeight = static_cast<LONG>(height);
    m_nStride = static_cast<DWORD>(DibStride(m_nWidth, static_cast<WORD>(bits)));
    m_nImageSize = m_nStride * height;
    m_nColorEntries = static_cast<DWORD>(GetColorTableSize(bits));
    rastel::HeaderBlockDeleter()(m_pInfo);
    m_pInfo = info.release();
    m_pColorTable = rastel::colorTableOf(m_pInfo);
    return 1;
}

int CRastel::GetColorTableSize(int bits) {
    return static_cast<int>(rastel::standardColorEntries(bits));
}

int CRastel::GetColorTableSize(BITMAPINFOHEADER* header) {
    return header->biClrUsed != 0 ? static_cast<int>(header->biClrUsed)
                                  : GetColorTableSize(header->biBitCount);
}

ULONG CRastel::GetBmpWidth() {
    return m_bValid ? static_cast<ULONG>(m_nWidth) : 0;
}

ULONG CRastel::GetBmpHeight() {
    return m_bValid ? static_cast<ULONG>(std::abs(m_nHeight)) : 0;
}

ULONG CRastel::GetBmpSize() {
    return m_bValid ? m_nImageSize : 0;
}

BYTE* CRastel::GetBmpPixel() {
    return m_bValid ? m_pImage : nullptr;
}

int CRastel::GetBitCount() {
    return m_bValid ? m_pInfo->bmiHeader.biBitCount : 0;
}

void CRastel::SetZoomFactor(int zoom) {
    m_nZoom = zoom >= 1 && zoom <= 4 ? zoom : 1;
}

void CRastel::SetStretch(int stretch) {
    m_nStretch = stretch;
}

void CRastel::SetSplit(int split) {
    m_nSplit = split;
}

int CRastel::SetDrawCallBack(void* user, DrawCallBack fn) {
    m_pfnDrawCallBack = fn;
    m_pUserData = user;
    return 0;
}
