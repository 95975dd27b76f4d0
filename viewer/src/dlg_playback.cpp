// COrvanelDlg: playing a media file in the picture area: load, play, pause, stop, seek, close and the
// position timer.
//
//   camera preview --Load--> loaded, stopped --Play--> playing --Pause--> paused
//        ^                     ^    ^                     |                 |
//        |                     |    +-------Stop----------+-----------------+
//        +-------Close---------+----------------------------(from any file state)
// Load works in every state and replaces the file; Play and Close do nothing during the camera preview,
// Stop and Pause nothing unless a file was started (m_bPlaying).
#include "orvanel_dlg.h"

#include <player/vidora.h>

#include <memory>

namespace {

constexpr UINT_PTR kPlaybackTimer = 0;
constexpr UINT kPlaybackPeriodMs = 100;
constexpr DWORD kNameBufferBytes = 2560;

const char kMediaFilter[] = "AVI File(*.avi)|*.avi|"
                            "MPEG File(*.mpg;*.mpeg)|*.mpg;*.mpeg|"
                            "Wave File(*.wav)|*.wav|"
                            "Mp3 File(*.mp3)|*.mp3|"
                            "All File(*.*)|*.*|";

} // namespace

// "hh:mm:ss" of whole seconds.
CString COrvanelDlg::FormatHMS(int seconds) {
    CString text;
    text.Format("%02d:%02d:%02d", seconds / 3600, (seconds % 3600) / 60, (seconds % 3600) % 60);
    return text;
}

// Chooses a media file, stops the camera preview and loads the file in place of any file loaded before,
// showing its first frame, its length and the position. Cancel changes nothing.
void COrvanelDlg::OnLoadFile() {
    // Loading stops the camera preview, which would end a running recording behind its clock.
    if (m_bRecording)
        return;
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_EXPLORER | OFN_FILEMUSTEXIST, kMediaFilter, this);
    std::unique_ptr<char[]> name(new (std::nothrow) char[kNameBufferBytes]());
    if (!name)
        return;
    dialog.m_ofn.lpstrFile = name.get();
    dialog.m_ofn.nMaxFile = kNameBufferBytes;
    if (dialog.DoModal() != IDOK)
        return;
    POSITION pos = dialog.GetStartPosition();
    while (pos != nullptr)
        m_strMediaFile = dialog.GetNextPathName(pos);

    EnablePreview(0);
    ShowModeControls(m_nMode);
    ReleasePlayer();
    PLAY_Initial(&m_hPlay, m_Video.GetSafeHwnd(), m_hWnd, m_strMediaFile);
    // A length the player cannot tell reads as 0.
    double seconds = 0.0;
    m_nDuration = PLAY_GetDuration(m_hPlay, &seconds);
    m_sliderPosition.SetRange(0, 10 * m_nDuration);
    m_sliderPosition.SetPos(0);
    // The new file stands at its start, whatever the file before had reached.
    m_nPosition = 0;
    SetDlgItemText(IDC_STATIC_TIME_LENGTH, FormatHMS(m_nDuration));
    SetDlgItemText(IDC_STATIC_TIME_POS, FormatHMS(m_nPosition));
    ShowModeControls(m_nMode);
    GetDlgItem(IDC_BUTTON_RECORD)->EnableWindow(FALSE);
    GetDlgItem(IDC_BUTTON_SNAP)->EnableWindow(FALSE);
}

// Starts or resumes the loaded file and follows its position every 100 ms.
void COrvanelDlg::OnPlay() {
    if (m_bPreview == 1)
        return;
    if (PLAY_Start(m_hPlay) != 0)
        return;
    m_bPlaying = 1;
    SetTimer(kPlaybackTimer, kPlaybackPeriodMs);
}

// Back to the start, position shown as 0, timer off, playback stopped.
void COrvanelDlg::OnStop() {
    if (m_bPlaying == 0)
        return;
    m_nPosition = 0;
    m_sliderPosition.SetPos(0);
    PLAY_SetCurrentPosition(m_hPlay, 0.0);
    SetDlgItemText(IDC_STATIC_TIME_POS, FormatHMS(0));
    KillTimer(kPlaybackTimer);
    PLAY_Stop(m_hPlay);
    m_bPlaying = 0;
}

// Holds the picture; the file stays started, so Play resumes and Stop still works.
void COrvanelDlg::OnPause() {
    if (m_bPlaying == 0)
        return;
    KillTimer(kPlaybackTimer);
    PLAY_Pause(m_hPlay);
}

// The position slider seeks to the whole second under it at every notification; other scroll bars take
// the dialog's default course.
void COrvanelDlg::OnHScroll(UINT code, UINT position, CScrollBar* scrollBar) {
    if (scrollBar == nullptr || scrollBar->GetSafeHwnd() != m_sliderPosition.GetSafeHwnd()) {
        CDialog::OnHScroll(code, position, scrollBar);
        return;
    }
    if (m_hPlay == nullptr || m_nDuration == 0)
        return;
    const int tenths = m_sliderPosition.GetPos();
    PLAY_SetCurrentPosition(m_hPlay, static_cast<double>(tenths / 10));
}

// Unloads the file and gives the picture area back to the camera preview.
void COrvanelDlg::OnCloseFile() {
    if (m_bPreview == 1)
        return;
    OnStop();
    ReleasePlayer();
    m_bPlaying = 0;
    EnablePreview(1);
    ShowModeControls(m_nMode);
    GetDlgItem(IDC_BUTTON_RECORD)->EnableWindow(TRUE);
    GetDlgItem(IDC_BUTTON_SNAP)->EnableWindow(TRUE);
}

// A player exists only while the camera preview is off, so the full-screen flag then is the player's.
void COrvanelDlg::ReleasePlayer() {
    if (m_hPlay != nullptr)
        m_bFullScreen = 0;
    m_hPlay = PLAY_UnInitial(m_hPlay);
}

// The one handler of both timers, branching on the timer id: the recording clock's ticks show the clock,
// also while a file plays; while a file is started, every other tick shows its position on the slider
// (tenths) and as text, and past the file's whole-second length the playback timer ends with the last
// position left shown.
void COrvanelDlg::OnTimer(UINT_PTR id) {
    if (id == kRecordTimer) {
        ShowRecordingClock();
    } else if (m_bPlaying) {
        double seconds = 0.0;
        PLAY_GetCurrentPosition(m_hPlay, &seconds);
        const int tenths = static_cast<int>(seconds * 10.0);
        if (tenths > m_nDuration * 10) {
            KillTimer(kPlaybackTimer);
        } else {
            m_nPosition = tenths / 10;
            SetDlgItemText(IDC_STATIC_TIME_POS, FormatHMS(m_nPosition));
            m_sliderPosition.SetPos(tenths);
        }
    }
    CDialog::OnTimer(id);
}
