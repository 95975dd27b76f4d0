// COrvanelDlg: the main window of the program, with its Preview, Edit and full-screen control sets.
#pragma once

#include <camera/korvib.h>
#include <jpeg/jpegfile.h>

#include <array>

#include "bmp_button.h"
#include "bmp_static.h"
#include "framework.h"

// Draws the source rectangle of `src` onto `dst`, stretched to (width x height) when the sizes differ,
// leaving the destination unchanged where the source has `transparent`. Any thread that owns both DCs.
void DrawTransparent(CDC* dst, int x, int y, int width, int height, CDC* src, int xSrc, int ySrc,
                     int srcWidth, int srcHeight, COLORREF transparent);

// Creates the bold font the window's painted labels and headings use, `height` pixels of cell height.
void MakeLabelFont(CFont& font, int height);

// Every handler runs on the GUI thread.
class COrvanelDlg : public CDialog {
public:
    enum { IDD = IDD_ORVANEL_DIALOG };
    static constexpr int kCaptionCount = 39;
    static constexpr int kThumbCount = 7;
    static constexpr int kButtonCount = 48;

    explicit COrvanelDlg(CWnd* parent = nullptr);
    ~COrvanelDlg() override;

    void WinHelp(DWORD_PTR data, UINT command = 0) override;
    BOOL PreTranslateMessage(MSG* msg) override;

    // Start-up steps.
    int InitCamera();
    void LayoutThumbnails();
    void LayoutControls();
    void LoadButtonBitmaps();
    void LoadSettings();
    int SaveSettings();
    void WriteProfileInt(LPCTSTR section, LPCTSTR key, int value);
    // Capture size, brightness, contrast, saturation, sharpness and gamma to the camera, in that order.
    void SendCameraParams();
    // The recording quality flag as the camera's compression quality (1.0 or 0.0).
    void SendRecordingQuality();
    void SetLanguage(int language);
    void InitSliders();

    // Modes, preview and resolution.
    void ShowModeControls(int mode);
    void SetResolution(int index);
    void EnablePreview(int on);

    // Whole seconds as "hh:mm:ss".
    static CString FormatHMS(int seconds);

    // Controls bound by data exchange.
    CBmpButton m_btn[kButtonCount];
    CBmpStatic m_Video;
    CBmpStatic m_Thumb[kThumbCount];
    CBmpStatic m_Resolution;
    CBmpStatic m_EditView;
    CBmpStatic m_barBrightness, m_barContrast, m_barSaturation, m_barSharpness, m_barGamma, m_barExposure;
    CSliderCtrl m_sliderPosition;
    CString m_strBrightness, m_strContrast, m_strSaturation, m_strSharpness, m_strGamma, m_strExposure;

    KZ_HANDLE m_hCamera;
    int m_nResolution;
    int m_nCaptureWidth;
    int m_nCaptureHeight;
    int m_bPreview;
    int m_nMode;
    int m_bFullScreen;
    int m_nRenderMode;
    int m_nLanguage;
    CString m_strCaption[kCaptionCount];
    HICON m_hIcon;
    CString m_strIniFile, m_strMainBmp, m_strImageBmp, m_str1280Bmp, m_str640Bmp, m_strReadme, m_strSound;
    CBitmap m_bmpMain;
    CBitmap m_bmpImage;
    int m_nBkWidth;
    int m_nBkHeight;

    // Settings (Orvanel.ini).
    int m_nBrightness;
    int m_nContrast;
    int m_nSaturation;
    int m_nSharpness;
    int m_nGamma;
    CString m_strSavePath;
    int m_nSaveFormat;
    int m_nCapFormat;
    int m_bQuality;
    int m_bShow;
    int m_nWhiteBalance;
    // The file is written back only once it was read, so that no undefined value is ever stored.
    bool m_bSettingsLoaded;

    int m_nExposure;
    bool m_bExposureRead; // m_nExposure holds a value read from the sensor
    int m_nExposureMin;
    int m_nExposureMax;
    CString m_strDayFolder;
    CRect m_rcThumb[kThumbCount];
    CRect m_rcEditView;
    int m_nThumbCount;
    int m_nZoom;
    int m_nBound;
    int m_nThreshold;

    // Playback.
    void* m_hPlay;
    int m_nDuration;
    int m_nPosition;
    int m_bPlaying;
    CString m_strMediaFile;

    CJpegFile m_jpeg;

    // Edit steps.
    int m_nLightStep;
    int m_nContrastStep;
    int m_nZoomStep;
    int m_nSharpStep;
    int m_bFit;

    // Recording.
    static constexpr UINT_PTR kRecordTimer = 1;
    int m_bRecording;
    CString m_strRecordFile;
    SYSTEMTIME m_stRecordStart;
    SYSTEMTIME m_stRecordNow;
    CString m_strStartTime;
    CString m_strEndTime;
    CString m_strLastTime;

    int m_bOverThumb;
    int m_bImageLarger;
    int m_bDragging;

    // The picture in the Edit view: size and bit depth.
    int m_nImageWidth = 0;
    int m_nImageHeight = 0;
    int m_nImageBits = 0;

    // Snapshots and picture files.
    // Takes the picture just loaded into the Edit view: its size and depth, zoom 1, first history entry.
    void TakeEditPicture();
    // Copies `height` rows of 24-bit pixels between packed rows and rows padded to 4 bytes (toPadded
    // nonzero: into `padded`, whose pad bytes are left as they are). Returns the buffer written, null when
    // a buffer is null.
    BYTE* PadRows(BYTE* packed, BYTE* padded, int width, int height, int toPadded);
    // Writes bottom-up padded 24-bit B, G, R rows as a colour JPEG of quality 70. True when written.
    bool WriteJpeg(const char* path, const BYTE* rows, int width, int height);
    // The Save As dialog and the writer for the chosen name. 1 when the file was written, else 0.
    int SaveImageAs(BYTE* pixels, int width, int height, int unused);

    // The bitmap button bound to control `id`; null for an id that is none.
    CBmpButton* Button(int id);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnDestroy();
    afx_msg void OnButtonExit();
    afx_msg void OnMinimize();
    afx_msg void OnPreviewEdit();
    afx_msg void OnFullScreen();
    afx_msg void OnResolutionDown();
    afx_msg void OnResolutionUp();

    // Camera adjustments: plus and minus steps, the repeat of a held button, bar drags.
    afx_msg void OnBrightnessUp();
    afx_msg void OnBrightnessDown();
    afx_msg void OnContrastUp();
    afx_msg void OnContrastDown();
    afx_msg void OnSaturationUp();
    afx_msg void OnSaturationDown();
    afx_msg void OnSharpnessUp();
    afx_msg void OnSharpnessDown();
    afx_msg void OnGammaUp();
    afx_msg void OnGammaDown();
    afx_msg void OnExposureUp();
    afx_msg void OnExposureDown();
    afx_msg void OnLButtonUp(UINT flags, CPoint point);

    // Media playback and the dialog timer.
    afx_msg void OnLoadFile();
    afx_msg void OnPlay();
    afx_msg void OnStop();
    afx_msg void OnPause();
    afx_msg void OnCloseFile();
    afx_msg void OnHScroll(UINT code, UINT position, CScrollBar* scrollBar);
    afx_msg void OnTimer(UINT_PTR id);
    // Releases the loaded file's player, whose full screen ends with its video window.
    void ReleasePlayer();

    // Recording and the settings dialog.
    afx_msg void OnRecord();
    afx_msg void OnSetting();
    void ShowRecordingClock();

    // Snapshots and the thumbnail strip.
    afx_msg void OnSnap();
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);

    // Edit mode: picture commands, zoom, Fit, Reset, history, files.
    afx_msg void OnUndo();
    afx_msg void OnRedo();
    afx_msg void OnLightUp();
    afx_msg void OnLightDown();
    afx_msg void OnContrastUpImage();
    afx_msg void OnContrastDownImage();
    afx_msg void OnToEight();
    afx_msg void OnBinary();
    afx_msg void OnEmboss();
    afx_msg void OnNegative();
    afx_msg void OnSharpen();
    afx_msg void OnSmooth();
    afx_msg void OnEdge();
    afx_msg void OnHistogramEqualize();
    afx_msg void OnHistogramStretch();
    afx_msg void OnZoomIn();
    afx_msg void OnZoomOut();
    afx_msg void OnFit();
    afx_msg void OnReset();
    afx_msg void OnOpen();
    afx_msg void OnSave();
    afx_msg void OnTool();

    DECLARE_MESSAGE_MAP()

private:
    // One camera adjustment: its member, range, where it goes (a KZ_PARAM_* id, or the exposure register),
    // its level bar and its value text.
    static constexpr int kExposureRegister = -1;
    struct Adjustment {
        int* value;
        int min;
        int max;
        int param;
        CBmpStatic* bar;
        CString* text;
    };
    std::array<Adjustment, 6> Adjustments();
    void SendAdjustment(const Adjustment& a);
    void StepAdjustment(int index, int delta);
    void OnButtonRepeat();
    bool OnLevelChanged();

    // Starts the preview again after a capture-size change (stop, size, width and height, start).
    void RestartPreviewAtResolution();
    void RestoreExposure();
    void ReadExposure();
};
