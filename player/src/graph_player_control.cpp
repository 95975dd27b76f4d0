// CGraphPlayer's state tests and changes, seeking and full screen.
//
//   created, no graph: every operation is 0
//   stopped on the first frame --Run--> running --Pause--> paused --Stop--> stopped
//   Run, Stop and Pause in the state they lead to make no graph call; seeking and full screen work in
//   every state.
#include <cmath>

#include "graph_player.h"

namespace {

constexpr double kUnitsPerSecond = 10'000'000.0;
constexpr LONG kStateTimeoutMs = 10;
// Seek targets beyond this many seconds would overflow 64-bit units.
constexpr double kLastSecond = 9.2e11;

} // namespace

LONG CGraphPlayer::graphState() {
    if (!m_pGraph || !m_pMediaControl)
        return -1;
    OAFilterState state = 0;
    if (FAILED(m_pMediaControl->GetState(kStateTimeoutMs, &state)))
        return -1;
    return state;
}

int CGraphPlayer::IsRunning() {
    return graphState() == State_Running ? 1 : 0;
}
int CGraphPlayer::IsStopped() {
    return graphState() == State_Stopped ? 1 : 0;
}
int CGraphPlayer::IsPaused() {
    return graphState() == State_Paused ? 1 : 0;
}

int CGraphPlayer::Run() {
    if (!m_pGraph || !m_pMediaControl)
        return 0;
    return IsRunning() || SUCCEEDED(m_pMediaControl->Run()) ? 1 : 0;
}

int CGraphPlayer::Stop() {
    if (!m_pGraph || !m_pMediaControl)
        return 0;
    return IsStopped() || SUCCEEDED(m_pMediaControl->Stop()) ? 1 : 0;
}

int CGraphPlayer::Pause() {
    if (!m_pGraph || !m_pMediaControl)
        return 0;
    return IsPaused() || SUCCEEDED(m_pMediaControl->Pause()) ? 1 : 0;
}

int CGraphPlayer::readSeconds(HRESULT (STDMETHODCALLTYPE IMediaSeeking::*query)(LONGLONG*), double* seconds) {
    if (!m_pMediaSeeking || !seconds)
        return 0;
    LONGLONG units = 0;
    if (FAILED((m_pMediaSeeking->*query)(&units)))
        return 0;
    *seconds = static_cast<double>(units) / kUnitsPerSecond;
    return 1;
}

// *seconds is written only when the query succeeds.
int CGraphPlayer::GetDuration(double* seconds) {
    return readSeconds(&IMediaSeeking::GetDuration, seconds);
}

int CGraphPlayer::GetCurrentPosition(double* seconds) {
    return readSeconds(&IMediaSeeking::GetCurrentPosition, seconds);
}

// Seeks to the key frame at `seconds`, keeping the stop position. A value that is no number is refused;
// one beyond the range of 64-bit units is clamped to it.
int CGraphPlayer::SetCurrentPosition(double seconds) {
    if (!m_pMediaSeeking || std::isnan(seconds))
        return 0;
    auto units =
        static_cast<LONGLONG>(std::fmax(-kLastSecond, std::fmin(seconds, kLastSecond)) * kUnitsPerSecond);
    return SUCCEEDED(m_pMediaSeeking->SetPositions(&units,
                                                   AM_SEEKING_AbsolutePositioning | AM_SEEKING_SeekToKeyFrame,
                                                   nullptr, AM_SEEKING_NoPositioning))
               ? 1
               : 0;
}

int CGraphPlayer::SetFullScreen(BOOL on) {
    if (!m_pVideoWindow)
        return 0;
    return SUCCEEDED(m_pVideoWindow->put_FullScreenMode(on ? OATRUE : OAFALSE)) ? 1 : 0;
}

// A failed query counts as windowed.
int CGraphPlayer::GetFullScreen() {
    if (!m_pVideoWindow)
        return 0;
    LONG mode = 0;
    m_pVideoWindow->get_FullScreenMode(&mode);
    return mode == OATRUE ? 1 : 0;
}
