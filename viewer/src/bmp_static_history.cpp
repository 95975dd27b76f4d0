// CBmpStatic: the 11-entry edit history and the picture commands that push into it.
#include "bmp_static.h"

namespace {

// `target` made to hold a copy of `source`'s picture; a new object when `target` is null.
CRastel* CopyInto(CRastel* target, CRastel* source)
{
    if (target == nullptr)
        target = new CRastel;
    target->ReadBitmap(source->GetBmpPixel(), static_cast<int>(source->GetBmpWidth()),
                       static_cast<int>(source->GetBmpHeight()), source->GetBitCount());
    return target;
}

CRastel* CopyOf(CRastel* source)
{
    return CopyInto(nullptr, source);
}

} // namespace

// Makes a copy of `source` the newest entry, after the shown one: entries that Undo stepped back over
// are dropped, and a full history drops its oldest entry. The first push since Clear also keeps a copy
// as the original for RestoreOriginal. The dropped entry's object takes the copy, so a picture of the
// same size is copied into memory it already has. Returns 1.
int CBmpStatic::PushSnapshot(CRastel* source)
{
    if (m_pOriginal == nullptr) {
        m_pOriginal = CopyOf(source);
        m_nHistoryIndex = 0;
    } else {
        m_nHistoryIndex += 1;
    }
    CRastel* dropped = nullptr;
    if (m_nHistoryIndex > kHistorySize - 1) {
        dropped = m_pHistory[0];
        for (int i = 1; i < kHistorySize; ++i)
            m_pHistory[i - 1] = m_pHistory[i];
        m_nHistoryIndex = kHistorySize - 1;
    } else {
        dropped = m_pHistory[m_nHistoryIndex];
    }
    m_pHistory[m_nHistoryIndex] = CopyInto(dropped, source);
    m_nHistoryCount = m_nHistoryIndex + 1;
    return 1;
}

// The reload empties m_pBmp, which drops its draw callback and zoom; the zoom is given back, so the
// picture keeps the view's zoom.
void CBmpStatic::ShowEntry(CRastel* source)
{
    CopyInto(m_pBmp, source);
    m_pBmp->SetZoomFactor(m_nZoom);
}

void CBmpStatic::Undo()
{
    if (m_pBmp == nullptr || m_nHistoryIndex == 0)
        return;
    m_nHistoryIndex -= 1;
    ShowEntry(m_pHistory[m_nHistoryIndex]);
    RedrawInParent();
}

void CBmpStatic::Redo()
{
    if (m_pBmp == nullptr || m_nHistoryIndex >= m_nHistoryCount - 1)
        return;
    m_nHistoryIndex += 1;
    ShowEntry(m_pHistory[m_nHistoryIndex]);
    RedrawInParent();
}

// Back to the picture first pushed, which becomes the one history entry.
void CBmpStatic::RestoreOriginal()
{
    if (m_pBmp == nullptr || m_pOriginal == nullptr)
        return;
    ShowEntry(m_pOriginal);
    m_pHistory[0] = CopyInto(m_pHistory[0], m_pOriginal);
    for (int i = 1; i < kHistorySize; ++i) {
        delete m_pHistory[i];
        m_pHistory[i] = nullptr;
    }
    m_nHistoryIndex = 0;
    m_nHistoryCount = 1;
    RedrawInParent();
}

int CBmpStatic::Snapshot()
{
    if (m_pBmp == nullptr)
        return 0;
    PushSnapshot(m_pBmp);
    RedrawInParent();
    return 1;
}

template <typename... Args> int CBmpStatic::RunCommand(Push push, int (CRastel::*command)(Args...), Args... args)
{
    if (m_pBmp == nullptr)
        return 0;
    const int result = (m_pBmp->*command)(args...);
    if (push == Push::Always || result != 0)
        PushSnapshot(m_pBmp);
    RedrawInParent();
    return result;
}

int CBmpStatic::Threshold(BYTE level) { return RunCommand(Push::Always, &CRastel::Threshold, level); }
int CBmpStatic::ConvertToBW() { return RunCommand(Push::Always, &CRastel::ConvertToBW); }
int CBmpStatic::Negative() { return RunCommand(Push::Always, &CRastel::Negative); }
int CBmpStatic::HistogramEqualize() { return RunCommand(Push::Always, &CRastel::HistogramEqualize); }
int CBmpStatic::Sharpen() { return RunCommand(Push::Always, &CRastel::Sharpen); }
int CBmpStatic::Smooth() { return RunCommand(Push::WhenDone, &CRastel::Smooth); }
int CBmpStatic::Edge() { return RunCommand(Push::WhenDone, &CRastel::Edge); }
int CBmpStatic::Emboss() { return RunCommand(Push::WhenDone, &CRastel::Emboss); }

int CBmpStatic::HistogramStretch(int inLow, int inHigh, int outLow, int outHigh)
{
    return RunCommand(Push::WhenDone, &CRastel::HistogramStretch, inLow, inHigh, outLow, outHigh);
}

int CBmpStatic::Contrast(int brightness, int contrast)
{
    return RunCommand(Push::WhenDone, &CRastel::Contrast, brightness, contrast);
}
