// COrvanelDlg: the Record command, the recording clock in the status line and its summary at the end.
#include "orvanel_dlg.h"

#include <win32/native_path.h>

namespace {

constexpr UINT kRecordPeriodMs = 100;
const char kAviFilter[] = "AVI Files (*.avi)|*.avi|All Files (*.*)|*.*||";
const char kSpacer[] = "       ";
const CRect kStatusArea(40, 750, 800, 765);

// A number below 10 with a leading 0, any other as it is.
CString TwoDigits(int value) {
    CString text;
    if (value < 10)
        text.Format("%d%d", 0, value);
    else
        text.Format("%d", value);
    return text;
}

CString TimeText(int hours, int minutes, int seconds) {
    CString text;
    text.Format("%s:%s:%s", static_cast<LPCTSTR>(TwoDigits(hours)), static_cast<LPCTSTR>(TwoDigits(minutes)),
                static_cast<LPCTSTR>(TwoDigits(seconds)));
    return text;
}

} // namespace

// Starts a recording into a file chosen in the save dialog, or stops the running one. A start the camera
// refuses (it has shown why) leaves the window as it was. The summary shows the file as the user chose it.
void COrvanelDlg::OnRecord() {
    if (m_hCamera == nullptr)
        return;
    if (!m_bRecording) {
        CFileDialog dialog(FALSE, "avi", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kAviFilter, this);
        if (dialog.DoModal() != IDOK)
            return;
        m_strRecordFile = dialog.GetPathName();
        if (KZ_StartCapture(m_hCamera, m_strRecordFile) != KZ_OK)
            return;
        SendCameraParams();
        ::GetLocalTime(&m_stRecordStart);
        m_strStartTime = TimeText(m_stRecordStart.wHour, m_stRecordStart.wMinute, m_stRecordStart.wSecond);
        // A stop before the first tick shows this recording's times, not the last one's.
        m_strEndTime = m_strStartTime;
        m_strLastTime = TimeText(0, 0, 0);
        SetDlgItemText(IDC_STATIC_STATUS, "Start:" + m_strStartTime + kSpacer + "End:" + m_strStartTime);
        SetTimer(kRecordTimer, kRecordPeriodMs);
        GetDlgItem(IDC_BUTTON_SNAP)->EnableWindow(FALSE);
        Button(IDC_BUTTON_RECORD)->SetBitmap(IDB_RECORDING);
    } else {
        KZ_StopCapture(m_hCamera);
        KillTimer(kRecordTimer);
        const CString shownFile(platform::toNativePath(m_strRecordFile.str()).c_str());
        SetDlgItemText(IDC_STATIC_STATUS, "Start:" + m_strStartTime + kSpacer + "End:" + m_strEndTime +
                                              kSpacer + "Last:" + m_strLastTime + kSpacer + shownFile);
        GetDlgItem(IDC_BUTTON_SNAP)->EnableWindow(TRUE);
        Button(IDC_BUTTON_RECORD)->SetBitmap(IDB_RECORD);
    }
    InvalidateRect(kStatusArea, TRUE);
    CRect button;
    GetDlgItem(IDC_BUTTON_RECORD)->GetWindowRect(button);
    ScreenToClient(button);
    InvalidateRect(button, TRUE);
    m_bRecording = !m_bRecording;
}

// One tick of the recording clock: the time now after End: and the time since the start after Last:.
// The elapsed time is the difference of two times of day; a recording across midnight adds the day, so
// the hours never turn negative.
void COrvanelDlg::ShowRecordingClock() {
    ::GetLocalTime(&m_stRecordNow);
    m_strEndTime = TimeText(m_stRecordNow.wHour, m_stRecordNow.wMinute, m_stRecordNow.wSecond);
    int hour = m_stRecordNow.wHour;
    int minute = m_stRecordNow.wMinute;
    int second = m_stRecordNow.wSecond - m_stRecordStart.wSecond;
    if (second < 0) {
        second += 60;
        --minute;
    }
    minute -= m_stRecordStart.wMinute;
    if (minute < 0) {
        minute += 60;
        --hour;
    }
    hour -= m_stRecordStart.wHour;
    if (hour < 0)
        hour += 24;
    m_strLastTime = TimeText(hour, minute, second);
    SetDlgItemText(IDC_STATIC_STATUS, "Start:" + m_strStartTime + kSpacer + "End:" + m_strEndTime + kSpacer +
                                          "Last:" + m_strLastTime);
    InvalidateRect(kStatusArea, TRUE);
}
