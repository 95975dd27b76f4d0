// COrvanelDlg: the Set button: the settings dialog run on the window's values, and what OK changes.
#include "orvanel_dlg.h"
#include "setting_dlg.h"

// OK takes the dialog's values; a new display type or recording quality restarts a running preview (twice
// when both changed). Over a loaded media file the preview is off and stays off: the new render mode is
// used when the file is closed. The day folder and the language are only shown there. Refused while
// recording: a preview restart would end the recording behind the running clock.
void COrvanelDlg::OnSetting() {
    if (m_bRecording)
        return;
    CSettingDlg dialog(nullptr);
    dialog.m_strSavePath = m_strSavePath;
    dialog.m_strDayFolder = m_strDayFolder;
    dialog.m_hCamera = m_hCamera;
    dialog.m_nSaveFormat = m_nSaveFormat;
    dialog.m_nCapFormat = m_nCapFormat;
    dialog.m_nLanguage = m_nLanguage;
    dialog.m_nWhiteBalance = m_nWhiteBalance;
    dialog.m_bShow = m_bShow;
    dialog.m_bQuality = m_bQuality;
    const int oldQuality = m_bQuality;
    if (dialog.DoModal() == IDCANCEL) {
        if (m_hWnd != nullptr)
            Invalidate();
        return;
    }
    m_strSavePath = dialog.m_strSavePath;
    m_nSaveFormat = dialog.m_nSaveFormat;
    m_nCapFormat = dialog.m_nCapFormat;
    m_nWhiteBalance = dialog.m_nWhiteBalance;
    m_bQuality = dialog.m_bQuality;
    const auto restartRunningPreview = [this] {
        if (m_bPreview != 1 || m_hPlay != nullptr)
            return;
        EnablePreview(0);
        EnablePreview(1);
    };
    if (dialog.m_bShow != m_bShow) {
        m_bShow = dialog.m_bShow;
        m_nRenderMode = m_bShow == 1 ? KZ_RENDER_GDI : KZ_RENDER_DS;
        restartRunningPreview();
    }
    if (m_bQuality != oldQuality) {
        SendRecordingQuality();
        restartRunningPreview();
    }
    Invalidate();
}
