// COrvanelDlg: the live preview in the picture area, the two capture resolutions and full screen.
#include "orvanel_dlg.h"

#include <player/vidora.h>

namespace {

constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 768;

} // namespace

// Index 0: 640 x 480, index 1: 1280 x 1024; other indexes change nothing.
void COrvanelDlg::SetResolution(int index) {
    if (index == 0) {
        m_nCaptureWidth = 640;
        m_nCaptureHeight = 480;
    } else if (index == 1) {
        m_nCaptureWidth = 1280;
        m_nCaptureHeight = 1024;
    }
}

// Starts (on) or stops the camera preview in the picture area: 640 x 480 at native size in its middle,
// 1280 x 1024 scaled over all of it. Without a camera nothing changes.
void COrvanelDlg::EnablePreview(int on) {
    if (m_hCamera == nullptr)
        return;
    m_bPreview = on;
    CRect client;
    m_Video.GetClientRect(client);
    if (on) {
        int x = 0;
        int y = 0;
        int width = client.right;
        int height = client.bottom;
        if (m_nResolution == 0) {
            x = (client.Width() - m_nCaptureWidth) / 2;
            y = (client.Height() - m_nCaptureHeight) / 2;
            width = m_nCaptureWidth;
            height = m_nCaptureHeight;
        }
        KZ_Start(m_hCamera, WS_CHILD, x, y, width, height, m_Video.GetSafeHwnd(), m_nRenderMode);
        RestoreExposure();
        UpdateData(FALSE);
    } else {
        KZ_Stop(m_hCamera);
        // The picture area keeps no frame of the stopped preview: a smaller picture started next
        // leaves black margins, not the old frame, around it.
        if (m_Video.GetSafeHwnd() != nullptr) {
            CClientDC dc(&m_Video);
            dc.FillSolidRect(client, RGB(0, 0, 0));
        }
    }
    if (m_hWnd != nullptr)
        m_Video.RedrawInParent();
}

// Writes the exposure to the sensor again after a start. An exposure that could not be read at start-up
// is read now instead, so that no value the sensor never had is written to it.
void COrvanelDlg::RestoreExposure() {
    if (m_bExposureRead) {
        KZ_RegOperation(m_hCamera, KZ_REG_EXPOSURE, &m_nExposure, 1);
        return;
    }
    ReadExposure();
}

void COrvanelDlg::RestartPreviewAtResolution() {
    EnablePreview(0);
    SetResolution(m_nResolution);
    KZ_SetParam(m_hCamera, KZ_PARAM_WIDTH, m_nCaptureWidth);
    KZ_SetParam(m_hCamera, KZ_PARAM_HEIGHT, m_nCaptureHeight);
    EnablePreview(1);
}

// Both resolution commands act only on a running preview and never while recording: a restart would end
// the recording unannounced, and over a loaded media file it would start the camera on top of it.
void COrvanelDlg::OnResolutionDown() {
    if (m_hCamera == nullptr || !m_bPreview || m_bRecording)
        return;
    UpdateData(TRUE);
    if (m_nResolution > 0) {
        --m_nResolution;
        RestartPreviewAtResolution();
        m_Resolution.LoadFile(m_str640Bmp, 1, 0, 1);
        UpdateData(FALSE);
        m_Video.RedrawInParent();
    }
}

void COrvanelDlg::OnResolutionUp() {
    if (m_hCamera == nullptr || !m_bPreview || m_bRecording)
        return;
    UpdateData(TRUE);
    if (m_nResolution < 1) {
        ++m_nResolution;
        RestartPreviewAtResolution();
        m_Resolution.LoadFile(m_str1280Bmp, 1, 0, 1);
        UpdateData(FALSE);
    }
}

// Enters or leaves full screen. With the preview running, the dialog covers the screen and the preview runs
// in the dialog itself with every control hidden; leaving restores the 1024 x 768 window, the preview in
// its area and the controls of the current mode. Refused while recording, which a restart would end. With
// a media file loaded it switches the player's video window instead.
void COrvanelDlg::OnFullScreen() {
    if (m_hCamera == nullptr)
        return;
    // A loaded media file owns the picture area: only the player's video window changes.
    if (!m_bPreview) {
        PLAY_SetFullScreen(m_hPlay, !m_bFullScreen);
        m_bFullScreen = !m_bFullScreen;
        return;
    }
    if (m_bRecording)
        return;
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    if (!m_bFullScreen) {
        MoveWindow(0, 0, screenWidth, screenHeight);
        KZ_Stop(m_hCamera);
        KZ_Start(m_hCamera, WS_CHILD, 0, 0, screenWidth, screenHeight, m_hWnd, m_nRenderMode);
        RestoreExposure();
        UpdateData(FALSE);
        ShowModeControls(-1);
        // With every control hidden the dialog keeps the focus, so keys still come as key presses.
        SetFocus();
    } else {
        MoveWindow((screenWidth - kWindowWidth) / 2, (screenHeight - kWindowHeight) / 2, kWindowWidth,
                   kWindowHeight);
        RestartPreviewAtResolution();
        ShowModeControls(m_nMode);
    }
    m_bFullScreen = !m_bFullScreen;
    if (m_hWnd != nullptr)
        InvalidateRect(nullptr, TRUE);
}
