// CRastel processing commands: each runs one CPixano kernel on the picture in place.
#include <bitmap/rastel.h>

#include <kernels/pixano.h>

#include <functional>

// A kernel's own refusal (depth not handled) is not passed on: the pixels stay as they were and the
// command still answers 1. Every command leaves the display copy standing for the working pixels, which
// erases the overlays collected there. Caller's thread.
template <typename Kernel, typename... Extra> int CRastel::Process(Kernel kernel, Extra... extra) {
    if (!m_bValid)
        return 0;
    std::invoke(kernel, *m_pProcess, m_pImage, m_nWidth, m_nHeight, m_pInfo->bmiHeader.biBitCount, extra...);
    displayHoldsOverlays_ = false;
    return 1;
}

int CRastel::SettleDepth(int bits) {
    if (!ChangeBmpInfoHeader(m_nWidth, m_nHeight, bits)) {
        DeAllocateBuffer();
        return 0;
    }
    displayHoldsOverlays_ = false;
    return 1;
}

int CRastel::Negative() {
    return Process(&CPixano::Negative);
}

int CRastel::HistogramEqualize() {
    return Process(&CPixano::HistogramEqualize);
}

int CRastel::Sharpen() {
    return Process(&CPixano::ConvolutionFilter, FILTER_SHARPEN);
}

int CRastel::Smooth() {
    return Process(&CPixano::ConvolutionFilter, FILTER_SMOOTH);
}

int CRastel::Edge() {
    return Process(&CPixano::ConvolutionFilter, FILTER_EDGE);
}

int CRastel::Emboss() {
    return Process(&CPixano::ConvolutionFilter, FILTER_EMBOSS);
}

int CRastel::Flip() {
    return Process(&CPixano::Flip);
}

int CRastel::Mirror() {
    return Process(&CPixano::Mirror);
}

int CRastel::Contrast(int brightness, int contrast) {
    return Process(&CPixano::Contrast, static_cast<LONG>(brightness), static_cast<LONG>(contrast));
}

// A gamma that is not greater than 0 (NaN included) is applied as 0.
int CRastel::Gamma1(float gamma) {
    return Process(&CPixano::Gamma1, gamma > 0 ? gamma : 0.0f);
}

int CRastel::HistogramStretch(int inLow, int inHigh, int outLow, int outHigh) {
    return Process(&CPixano::HistogramStretch, inLow, inHigh, outLow, outHigh);
}

int CRastel::RGBtoYUV() {
    return Process(&CPixano::RGBtoYUV);
}

int CRastel::YUVtoRGB() {
    return Process(&CPixano::YUVtoRGB);
}

int CRastel::RGBtoHSL() {
    return Process(&CPixano::RGBtoHSL);
}

int CRastel::HSLtoRGB() {
    return Process(&CPixano::HSLtoRGB);
}

// Turns a 24-bit picture into 8-bit grey with the grey colour table. Returns 1, or 0 (nothing changed)
// when not loaded or not 24-bit: the grey kernel reads 24-bit rows, which a 16-bit picture does not hold.
int CRastel::ConvertToBW() {
    if (!m_bValid || m_pInfo->bmiHeader.biBitCount != 24)
        return 0;
    m_pProcess->Color24To8(m_pImage, m_nWidth, m_nHeight);
    return SettleDepth(8);
}

// Turns an 8 or 24-bit picture into 1 bit per pixel with the black-white colour table, a pixel white
// when its grey value is greater than `level`. Returns 1 (a 1-bit picture is left as it is, display copy
// included), or 0 (nothing changed) when not loaded or at 4, 16 or 32 bits, which the kernel cannot
// read.
int CRastel::Threshold(BYTE level) {
    if (!m_bValid)
        return 0;
    const WORD bits = m_pInfo->bmiHeader.biBitCount;
    if (bits == 1)
        return 1;
    if (bits != 8 && bits != 24)
        return 0;
    m_pProcess->Threshold(m_pImage, m_nWidth, m_nHeight, bits, level);
    return SettleDepth(1);
}
