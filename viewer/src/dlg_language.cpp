// COrvanelDlg: the caption table in English and Chinese and the buttons' tool tips.
#include "orvanel_dlg.h"

namespace {

struct Caption {
    const char* english;
    const char* chinese;
};

const Caption kCaptions[COrvanelDlg::kCaptionCount] = {
    {"Korvi Camera Viewer", "Korvi Camera Viewer"},
    {"Mini", "隐藏"},
    {"Full", "全屏"},
    {"Quit", "退出"},
    {"Size", "分辨率"},
    {"Bright", "亮度"},
    {"Contrast", "对比度"},
    {"Satuation", "饱和度"},
    {"Sharp", "锐度"},
    {"Gamma", "伽玛"},
    {"Expose", "曝光"},
    {"Snap", "捕捉图片"},
    {"AVI", "录像"},
    {"Setting", "设置"},
    {"Undo     Redo", " 返回     恢复"},
    {"L—Zoom—H", "小—缩放—大"},
    {"L—Bright—H", "小—亮度—大"},
    {"L—Contrast—H", "小—对比度—大"},
    {"Sharp—Smooth", "锐化—平滑"},
    {"Binary", "二值化"},
    {"Histogram", "直方图"},
    {"E-Histogram", "均直方图"},
    {"Open", "打开"},
    {"Save", "保存"},
    {"Setting", "设置"},
    {"Korvi Viewer", "Korvi Viewer"},
    {"Image Manage", "图像处理"},
    {"To Eight", "八位"},
    {"Emboss", "浮雕"},
    {"Negative", "负片"},
    {"Edge", "边缘"},
    {"Preview/Edit", "视频/图像"},
    {"Stretch", "适合尺寸"},
    {"Reset", "恢复初始状态"},
    {"Load avi file", "打开avi文件"},
    {"Play avi file", "播放avi文件"},
    {"Pause", "暂停"},
    {"Stop", "停止"},
    {"Close avi file", "关闭avi文件"},
};

// Tool tips: caption index and button.
struct ToolTip {
    int caption;
    int button;
};

const ToolTip kToolTips[] = {
    {11, IDC_BUTTON_SNAP},      {12, IDC_BUTTON_RECORD},       {13, IDC_BUTTON_SETTING},
    {19, IDC_BUTTON_THRESHOLD}, {20, IDC_BUTTON_HIST_STRETCH}, {21, IDC_BUTTON_HIST_EQUALIZE},
    {22, IDC_BUTTON_OPEN},      {23, IDC_BUTTON_SAVE},         {24, IDC_BUTTON_TOOL},
    {27, IDC_BUTTON_EIGHT},     {28, IDC_BUTTON_EMBOSS},       {29, IDC_BUTTON_NEGATIVE},
    {30, IDC_BUTTON_EDGE},      {31, IDC_BUTTON_PREVIEW_EDIT}, {32, IDC_BUTTON_FIT},
    {33, IDC_BUTTON_RESET},     {34, IDC_BUTTON_LOAD_FILE},    {35, IDC_BUTTON_PLAY},
    {36, IDC_BUTTON_PAUSE},     {37, IDC_BUTTON_STOP},         {38, IDC_BUTTON_CLOSE_FILE},
};

} // namespace

// Fills the caption table for 0 (English) or 1 (Chinese); any other value keeps it. The tool tips are set
// from the table in every case.
void COrvanelDlg::SetLanguage(int language) {
    if (language == 0 || language == 1)
        for (int i = 0; i < kCaptionCount; ++i)
            m_strCaption[i] = language == 0 ? kCaptions[i].english : kCaptions[i].chinese;
    for (const ToolTip& tip : kToolTips)
        if (CBmpButton* button = Button(tip.button); button != nullptr && button->GetSafeHwnd() != nullptr)
            button->SetToolTipText(m_strCaption[tip.caption]);
}
