// Fixed pixel layout of the 1024 x 768 main window: control places, thumbnails and painted labels.
#pragma once

#include "resource.h"

namespace layout {

inline constexpr int kWindowWidth = 1024;
inline constexpr int kWindowHeight = 768;

struct Place {
    int id;
    int x, y, width, height;
};

// Every control that LayoutControls moves, in client pixels.
inline constexpr Place kControls[] = {
    {IDC_STATIC_VIDEO, 50, 60, 750, 600},
    {IDC_STATIC_EDIT_VIEW, 50, 60, 750, 600},
    {IDC_STATIC_STATUS, 50, 750, 760, 15},
    {IDC_BUTTON_MINIMIZE, 866, 75, 20, 20},
    {IDC_BUTTON_FULLSCREEN, 920, 75, 20, 20},
    {IDC_BUTTON_EXIT, 973, 75, 20, 20},
    // Resolution picture and the six level bars with their minus and plus buttons.
    {IDC_STATIC_RESOLUTION, 865, 130, 100, 20},
    {IDC_BAR_BRIGHT, 865, 190, 100, 20},
    {IDC_BAR_CONTRAST, 865, 240, 100, 20},
    {IDC_BAR_SATURATION, 865, 290, 100, 20},
    {IDC_BAR_SHARP, 865, 340, 100, 20},
    {IDC_BAR_GAMMA, 865, 390, 100, 20},
    {IDC_BAR_EXPOSURE, 865, 440, 100, 20},
    {IDC_BUTTON_RES_DOWN, 835, 130, 20, 20},
    {IDC_BUTTON_BRIGHT_DOWN, 835, 190, 20, 20},
    {IDC_BUTTON_CONTRAST_DOWN, 835, 240, 20, 20},
    {IDC_BUTTON_SATURATION_DOWN, 835, 290, 20, 20},
    {IDC_BUTTON_SHARP_DOWN, 835, 340, 20, 20},
    {IDC_BUTTON_GAMMA_DOWN, 835, 390, 20, 20},
    {IDC_BUTTON_EXPOSURE_DOWN, 835, 440, 20, 20},
    {IDC_BUTTON_RES_UP, 975, 130, 20, 20},
    {IDC_BUTTON_BRIGHT_UP, 975, 190, 20, 20},
    {IDC_BUTTON_CONTRAST_UP, 975, 240, 20, 20},
    {IDC_BUTTON_SATURATION_UP, 975, 290, 20, 20},
    {IDC_BUTTON_SHARP_UP, 975, 340, 20, 20},
    {IDC_BUTTON_GAMMA_UP, 975, 390, 20, 20},
    {IDC_BUTTON_EXPOSURE_UP, 975, 440, 20, 20},
    {IDC_STATIC_BRIGHT_VALUE, 940, 175, 25, 15},
    {IDC_STATIC_CONTRAST_VALUE, 940, 225, 25, 15},
    {IDC_STATIC_SATURATION_VALUE, 940, 275, 25, 15},
    {IDC_STATIC_SHARP_VALUE, 940, 325, 25, 15},
    {IDC_STATIC_GAMMA_VALUE, 940, 375, 25, 15},
    {IDC_STATIC_EXPOSURE_VALUE, 940, 425, 25, 15},
    // Playback.
    {IDC_STATIC_TIME_POS, 830, 460, 50, 20},
    {IDC_SLIDER_POSITION, 880, 460, 70, 20},
    {IDC_STATIC_TIME_LENGTH, 950, 460, 50, 20},
    {IDC_BUTTON_LOAD_FILE, 830, 480, 30, 30},
    {IDC_BUTTON_PLAY, 865, 480, 30, 30},
    {IDC_BUTTON_PAUSE, 900, 480, 30, 30},
    {IDC_BUTTON_STOP, 935, 480, 30, 30},
    {IDC_BUTTON_CLOSE_FILE, 970, 480, 30, 30},
    {IDC_BUTTON_SNAP, 835, 550, 40, 40},
    {IDC_BUTTON_RECORD, 895, 550, 40, 40},
    {IDC_BUTTON_SETTING, 955, 550, 40, 40},
    {IDC_BUTTON_PREVIEW_EDIT, 860, 680, 110, 60},
    // Edit commands.
    {IDC_BUTTON_UNDO, 840, 110, 25, 25},
    {IDC_BUTTON_REDO, 960, 110, 25, 25},
    {IDC_BUTTON_ZOOM_OUT, 840, 170, 20, 20},
    {IDC_BUTTON_ZOOM_IN, 970, 170, 20, 20},
    {IDC_BUTTON_LIGHT_DOWN, 840, 230, 20, 20},
    {IDC_BUTTON_LIGHT_UP, 970, 230, 20, 20},
    {IDC_BUTTON_EDIT_CONTRAST_DOWN, 840, 290, 20, 20},
    {IDC_BUTTON_EDIT_CONTRAST_UP, 970, 290, 20, 20},
    {IDC_BUTTON_SHARPEN, 840, 340, 20, 20},
    {IDC_BUTTON_SMOOTH, 970, 340, 20, 20},
    {IDC_BUTTON_EIGHT, 825, 400, 40, 40},
    {IDC_BUTTON_EMBOSS, 870, 400, 40, 40},
    {IDC_BUTTON_NEGATIVE, 915, 400, 40, 40},
    {IDC_BUTTON_EDGE, 965, 400, 40, 40},
    {IDC_BUTTON_THRESHOLD, 840, 500, 40, 40},
    {IDC_BUTTON_HIST_STRETCH, 890, 500, 50, 50},
    {IDC_BUTTON_HIST_EQUALIZE, 940, 500, 50, 50},
    {IDC_BUTTON_FIT, 890, 500, 40, 40},
    {IDC_BUTTON_RESET, 940, 500, 40, 40},
    {IDC_BUTTON_OPEN, 840, 550, 40, 40},
    {IDC_BUTTON_SAVE, 890, 550, 40, 40},
    {IDC_BUTTON_TOOL, 940, 550, 40, 40},
};

// Thumbnail slot i (0 to 6): (55 + 110 i, 680) - (135 + 110 i, 740).
inline constexpr int kThumbCount = 7;
inline constexpr int kThumbLeft = 55;
inline constexpr int kThumbStep = 110;
inline constexpr int kThumbTop = 680;
inline constexpr int kThumbWidth = 80;
inline constexpr int kThumbHeight = 60;

// A caption of the caption table painted centred on one line in (left, top) - (right, bottom).
struct Label {
    int caption;
    int left, top, right, bottom;
};

// Cell heights of the labels' font and of the headings' font.
inline constexpr int kLabelFontHeight = 15;
inline constexpr int kHeadingFontHeight = 30;

inline constexpr Label kHeading = {25, 50, 10, 800, 40};
inline constexpr Label kEditHeading = {26, 50, 10, 800, 40};

inline constexpr Label kPreviewLabels[] = {
    {1, 840, 75, 865, 95},   {2, 895, 75, 920, 95},    {3, 945, 75, 970, 95},   {4, 865, 115, 960, 130},
    {5, 865, 165, 960, 180}, {6, 865, 215, 960, 230},  {7, 865, 265, 960, 280}, {8, 865, 315, 960, 330},
    {9, 865, 365, 960, 380}, {10, 865, 415, 960, 430},
};

inline constexpr Label kEditLabels[] = {
    {14, 870, 120, 955, 140}, {15, 865, 170, 965, 190}, {16, 865, 220, 965, 240},
    {17, 865, 270, 965, 290}, {18, 865, 320, 965, 340},
};

} // namespace layout
