// COrvanelDlg: members, data exchange, message map, the start-up road and the shutdown order.
#include "orvanel_dlg.h"

#include <player/vidora.h>
#include <win32/native_path.h>

namespace {

// The 48 bitmap buttons, in the order of COrvanelDlg::m_btn.
constexpr int kButtonIds[COrvanelDlg::kButtonCount] = {
    1000, 1010, 1011, 1012, 1013, 1015, 1017, 1018, 1020, 1021, 1023, 1024, 1026, 1027, 1029, 1030,
    1031, 1032, 1034, 1035, 1036, 1037, 1038, 1039, 1040, 1041, 1042, 1043, 1044, 1045, 1046, 1048,
    1049, 1050, 1051, 1052, 1053, 1054, 1055, 1061, 1062, 1086, 1087, 1088, 1089, 1093, 1102, 1103,
};

const char kFileMissing[] = "The necessary file has been remove,Program can not continue! ";
constexpr int kMinScreenWidth = 1024;
constexpr int kMinScreenHeight = 768;

} // namespace

BEGIN_MESSAGE_MAP(COrvanelDlg, CDialog)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_CTLCOLOR()
ON_WM_QUERYDRAGICON()
ON_WM_DESTROY()
ON_BN_CLICKED(IDC_BUTTON_EXIT, OnButtonExit)
ON_BN_CLICKED(IDC_BUTTON_MINIMIZE, OnMinimize)
ON_BN_CLICKED(IDC_BUTTON_PREVIEW_EDIT, OnPreviewEdit)
ON_BN_CLICKED(IDC_BUTTON_FULLSCREEN, OnFullScreen)
ON_BN_CLICKED(IDC_BUTTON_RES_DOWN, OnResolutionDown)
ON_BN_CLICKED(IDC_BUTTON_RES_UP, OnResolutionUp)
ON_BN_CLICKED(IDC_BUTTON_SNAP, OnSnap)
ON_BN_CLICKED(IDC_BUTTON_RECORD, OnRecord)
ON_BN_CLICKED(IDC_BUTTON_SETTING, OnSetting)
ON_BN_CLICKED(IDC_BUTTON_BRIGHT_UP, OnBrightnessUp)
ON_BN_CLICKED(IDC_BUTTON_BRIGHT_DOWN, OnBrightnessDown)
ON_BN_CLICKED(IDC_BUTTON_CONTRAST_UP, OnContrastUp)
ON_BN_CLICKED(IDC_BUTTON_CONTRAST_DOWN, OnContrastDown)
ON_BN_CLICKED(IDC_BUTTON_SATURATION_UP, OnSaturationUp)
ON_BN_CLICKED(IDC_BUTTON_SATURATION_DOWN, OnSaturationDown)
ON_BN_CLICKED(IDC_BUTTON_SHARP_UP, OnSharpnessUp)
ON_BN_CLICKED(IDC_BUTTON_SHARP_DOWN, OnSharpnessDown)
ON_BN_CLICKED(IDC_BUTTON_GAMMA_UP, OnGammaUp)
ON_BN_CLICKED(IDC_BUTTON_GAMMA_DOWN, OnGammaDown)
ON_BN_CLICKED(IDC_BUTTON_EXPOSURE_UP, OnExposureUp)
ON_BN_CLICKED(IDC_BUTTON_EXPOSURE_DOWN, OnExposureDown)
ON_WM_LBUTTONUP()
ON_BN_CLICKED(IDC_BUTTON_LOAD_FILE, OnLoadFile)
ON_BN_CLICKED(IDC_BUTTON_PLAY, OnPlay)
ON_BN_CLICKED(IDC_BUTTON_STOP, OnStop)
ON_BN_CLICKED(IDC_BUTTON_PAUSE, OnPause)
ON_BN_CLICKED(IDC_BUTTON_CLOSE_FILE, OnCloseFile)
ON_WM_HSCROLL()
ON_WM_TIMER()
ON_WM_MOUSEMOVE()
ON_WM_SETCURSOR()
ON_WM_LBUTTONDOWN()
ON_BN_CLICKED(IDC_BUTTON_UNDO, OnUndo)
ON_BN_CLICKED(IDC_BUTTON_REDO, OnRedo)
ON_BN_CLICKED(IDC_BUTTON_LIGHT_UP, OnLightUp)
ON_BN_CLICKED(IDC_BUTTON_LIGHT_DOWN, OnLightDown)
ON_BN_CLICKED(IDC_BUTTON_EDIT_CONTRAST_UP, OnContrastUpImage)
ON_BN_CLICKED(IDC_BUTTON_EDIT_CONTRAST_DOWN, OnContrastDownImage)
ON_BN_CLICKED(IDC_BUTTON_EIGHT, OnToEight)
ON_BN_CLICKED(IDC_BUTTON_THRESHOLD, OnBinary)
ON_BN_CLICKED(IDC_BUTTON_EMBOSS, OnEmboss)
ON_BN_CLICKED(IDC_BUTTON_NEGATIVE, OnNegative)
ON_BN_CLICKED(IDC_BUTTON_SHARPEN, OnSharpen)
ON_BN_CLICKED(IDC_BUTTON_SMOOTH, OnSmooth)
ON_BN_CLICKED(IDC_BUTTON_EDGE, OnEdge)
ON_BN_CLICKED(IDC_BUTTON_HIST_EQUALIZE, OnHistogramEqualize)
ON_BN_CLICKED(IDC_BUTTON_HIST_STRETCH, OnHistogramStretch)
ON_BN_CLICKED(IDC_BUTTON_ZOOM_IN, OnZoomIn)
ON_BN_CLICKED(IDC_BUTTON_ZOOM_OUT, OnZoomOut)
ON_BN_CLICKED(IDC_BUTTON_FIT, OnFit)
ON_BN_CLICKED(IDC_BUTTON_RESET, OnReset)
ON_BN_CLICKED(IDC_BUTTON_OPEN, OnOpen)
ON_BN_CLICKED(IDC_BUTTON_SAVE, OnSave)
ON_BN_CLICKED(IDC_BUTTON_TOOL, OnTool)
END_MESSAGE_MAP()

// Every member gets a defined value here, also those that start-up sets later.
COrvanelDlg::COrvanelDlg(CWnd* parent)
    : CDialog(IDD, parent), m_hCamera(nullptr), m_nResolution(1), m_nCaptureWidth(1280),
      m_nCaptureHeight(1024), m_bPreview(1), m_nMode(0), m_bFullScreen(0), m_nRenderMode(KZ_RENDER_DS),
      m_nLanguage(0), m_hIcon(nullptr), m_nBkWidth(0), m_nBkHeight(0), m_nBrightness(80), m_nContrast(36),
      m_nSaturation(36), m_nSharpness(10), m_nGamma(15), m_strSavePath("C:\\"), m_nSaveFormat(0),
      m_nCapFormat(0), m_bQuality(1), m_bShow(0), m_nWhiteBalance(1), m_bSettingsLoaded(false),
      m_nExposure(0), m_bExposureRead(false), m_nExposureMin(0), m_nExposureMax(2000), m_nThumbCount(0),
      m_nZoom(1), m_nBound(70), m_nThreshold(128), m_hPlay(nullptr), m_nDuration(0), m_nPosition(0),
      m_bPlaying(0), m_nLightStep(0), m_nContrastStep(0), m_nZoomStep(0), m_nSharpStep(0), m_bFit(0),
      m_bRecording(0), m_stRecordStart{}, m_stRecordNow{}, m_bOverThumb(0), m_bImageLarger(0),
      m_bDragging(0) {
    m_hIcon = AfxGetApp() != nullptr ? AfxGetApp()->LoadIcon(IDR_MAINFRAME) : nullptr;
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    m_strDayFolder.Format("%d-%d-%d", now.wYear, now.wMonth, now.wDay);
}

// Settings first (only when they were read), then the camera; both camera calls answer
// KZ_ERR_NULL_HANDLE when no camera is open.
COrvanelDlg::~COrvanelDlg() {
    if (m_bSettingsLoaded)
        SaveSettings();
    KZ_Stop(m_hCamera);
    KZ_UnInitial(&m_hCamera);
}

CBmpButton* COrvanelDlg::Button(int id) {
    for (int i = 0; i < kButtonCount; ++i)
        if (kButtonIds[i] == id)
            return &m_btn[i];
    return nullptr;
}

void COrvanelDlg::DoDataExchange(CDataExchange* dx) {
    CDialog::DoDataExchange(dx);
    for (int i = 0; i < kButtonCount; ++i)
        DDX_Control(dx, kButtonIds[i], m_btn[i]);
    DDX_Control(dx, IDC_STATIC_VIDEO, m_Video);
    for (int i = 0; i < kThumbCount; ++i)
        DDX_Control(dx, IDC_STATIC_THUMB1 + i, m_Thumb[i]);
    DDX_Control(dx, IDC_STATIC_RESOLUTION, m_Resolution);
    DDX_Control(dx, IDC_STATIC_EDIT_VIEW, m_EditView);
    DDX_Control(dx, IDC_BAR_BRIGHT, m_barBrightness);
    DDX_Control(dx, IDC_BAR_CONTRAST, m_barContrast);
    DDX_Control(dx, IDC_BAR_SATURATION, m_barSaturation);
    DDX_Control(dx, IDC_BAR_SHARP, m_barSharpness);
    DDX_Control(dx, IDC_BAR_GAMMA, m_barGamma);
    DDX_Control(dx, IDC_BAR_EXPOSURE, m_barExposure);
    DDX_Control(dx, IDC_SLIDER_POSITION, m_sliderPosition);
    DDX_Text(dx, IDC_STATIC_BRIGHT_VALUE, m_strBrightness);
    DDX_Text(dx, IDC_STATIC_CONTRAST_VALUE, m_strContrast);
    DDX_Text(dx, IDC_STATIC_SATURATION_VALUE, m_strSaturation);
    DDX_Text(dx, IDC_STATIC_SHARP_VALUE, m_strSharpness);
    DDX_Text(dx, IDC_STATIC_GAMMA_VALUE, m_strGamma);
    DDX_Text(dx, IDC_STATIC_EXPOSURE_VALUE, m_strExposure);
}

// The start-up road: required files, language, screen size, placement, backgrounds, camera, layout,
// settings, the first preview and the camera parameters. FALSE when it stops early.
BOOL COrvanelDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    char path[512] = {};
    ::GetModuleFileName(nullptr, path, sizeof path);
    CString folder(path);
    folder = folder.Left(folder.ReverseFind('\\') + 1);
    // The picture readers open their paths as given, so the folder is kept in the native form, which
    // every file function accepts.
    folder = platform::toNativePath(folder.str()).c_str();
    m_strIniFile = folder + "Orvanel.ini";
    m_strMainBmp = folder + "main.bmp";
    m_strImageBmp = folder + "image.bmp";
    m_str1280Bmp = folder + "1280.bmp";
    m_str640Bmp = folder + "640.bmp";
    m_strReadme = folder + "readme.txt";
    m_strSound = folder + "folder.wav";

    const CString* required[] = {&m_strMainBmp, &m_strImageBmp, &m_str1280Bmp, &m_str640Bmp,
                                 &m_strReadme,  &m_strSound,    &m_strIniFile};
    for (const CString* file : required) {
        if (::GetFileAttributes(*file) == INVALID_FILE_ATTRIBUTES) {
            ::MessageBox(m_hWnd, kFileMissing, AfxGetApp()->m_pszAppName, MB_OK);
            ::PostQuitMessage(0);
            return FALSE;
        }
    }

    m_nLanguage = ::GetSystemDefaultLangID() == 0x0804 ? 1 : 0;
    SetLanguage(m_nLanguage);

    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    if (screenWidth < kMinScreenWidth || screenHeight < kMinScreenHeight)
        return FALSE;
    MoveWindow((screenWidth - kMinScreenWidth) / 2, (screenHeight - kMinScreenHeight) / 2, kMinScreenWidth,
               kMinScreenHeight);
    SetWindowText(m_strCaption[0]);

    // A background that exists but does not load ends the program like a missing one.
    HBITMAP main =
        static_cast<HBITMAP>(::LoadImage(nullptr, m_strMainBmp, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    HBITMAP image =
        static_cast<HBITMAP>(::LoadImage(nullptr, m_strImageBmp, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    m_bmpMain.Attach(main);
    m_bmpImage.Attach(image);
    if (main == nullptr || image == nullptr) {
        ::MessageBox(m_hWnd, kFileMissing, AfxGetApp()->m_pszAppName, MB_OK);
        ::PostQuitMessage(0);
        return FALSE;
    }
    BITMAP size{};
    m_bmpMain.GetBitmap(&size);
    m_nBkWidth = size.bmWidth;
    m_nBkHeight = size.bmHeight;

    InitCamera();
    LayoutThumbnails();
    LayoutControls();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    LoadSettings();
    m_nRenderMode = m_bShow == 1 ? KZ_RENDER_GDI : KZ_RENDER_DS;

    ShowModeControls(m_nMode);
    LoadButtonBitmaps();
    InitSliders();
    SetResolution(m_nResolution);
    UpdateData(FALSE);
    EnablePreview(m_bPreview);

    SendCameraParams();
    SendRecordingQuality();
    EnablePreview(0);
    EnablePreview(1);
    UpdateData(FALSE);
    return TRUE;
}

void COrvanelDlg::SendCameraParams() {
    KZ_SetParam(m_hCamera, KZ_PARAM_WIDTH, m_nCaptureWidth);
    KZ_SetParam(m_hCamera, KZ_PARAM_HEIGHT, m_nCaptureHeight);
    KZ_SetParam(m_hCamera, KZ_PARAM_BRIGHTNESS, m_nBrightness);
    KZ_SetParam(m_hCamera, KZ_PARAM_CONTRAST, m_nContrast);
    KZ_SetParam(m_hCamera, KZ_PARAM_SATURATION, m_nSaturation);
    KZ_SetParam(m_hCamera, KZ_PARAM_SHARPNESS, m_nSharpness);
    KZ_SetParam(m_hCamera, KZ_PARAM_GAMMA, m_nGamma);
}

void COrvanelDlg::SendRecordingQuality() {
    LONG keyFrameRate = 0;
    LONG pFrames = 0;
    double quality = m_bQuality ? 1.0 : 0.0;
    KZ_DeviceCompressor(m_hCamera, &keyFrameRate, &pFrames, &quality, 1);
}

// Opens the camera for this window and serial port COM1. 1 when it opened; otherwise tells the user, asks
// the program to quit and returns 0 (start-up goes on without a camera).
int COrvanelDlg::InitCamera() {
    if (KZ_Initial(&m_hCamera, m_hWnd, 1) == KZ_OK)
        return 1;
    KZ_UnInitial(&m_hCamera);
    m_hCamera = nullptr;
    ::MessageBox(nullptr, "Initial Error", "Warning", MB_OK);
    ::PostQuitMessage(0);
    return 0;
}

void COrvanelDlg::OnButtonExit() {
    SendMessage(WM_CLOSE);
}

HCURSOR COrvanelDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

void COrvanelDlg::WinHelp(DWORD_PTR, UINT) {}

// The camera and the player stop drawing before the child windows go: a recording is ended, the preview
// stopped and a loaded media file's player released with the picture area its video window lives in.
void COrvanelDlg::OnDestroy() {
    if (m_bRecording) {
        KZ_StopCapture(m_hCamera);
        KillTimer(kRecordTimer);
        m_bRecording = 0;
    }
    KZ_Stop(m_hCamera);
    m_bPlaying = 0;
    m_hPlay = PLAY_UnInitial(m_hPlay);
    CDialog::OnDestroy();
}

// Keys for the whole window, whatever control has the focus: Esc leaves full screen (and is consumed
// there), F1 opens readme.txt, F5 snaps, F6 starts or stops recording, F7 switches the language, F11
// toggles full screen. Then the repeat of a held plus or minus button and the level bars' changes; a bar
// value out of its range ends here with FALSE. Everything else takes the dialog's ordinary course, where
// Esc outside full screen cancels the dialog.
BOOL COrvanelDlg::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYDOWN) {
        switch (msg->wParam) {
        case VK_ESCAPE:
            if (m_bFullScreen) {
                OnFullScreen();
                return TRUE;
            }
            break;
        case VK_F1:
            ::ShellExecute(nullptr, "open", m_strReadme, nullptr, nullptr, SW_SHOW);
            break;
        case VK_F5: // Snap, also while its button is disabled or hidden
            OnSnap();
            break;
        case VK_F6: // Record, also while its button is disabled
            OnRecord();
            break;
        case VK_F7:
            m_nLanguage = m_nLanguage == 0 ? 1 : 0;
            SetLanguage(m_nLanguage);
            if (m_hWnd != nullptr)
                InvalidateRect(nullptr, TRUE);
            break;
        case VK_F11:
            OnFullScreen();
            break;
        default:
            break;
        }
    }
    if (msg->message == WM_BUTTON_REPEAT)
        OnButtonRepeat();
    if (msg->message == WM_LEVEL_CHANGED && !OnLevelChanged())
        return FALSE;
    return CDialog::PreTranslateMessage(msg);
}
