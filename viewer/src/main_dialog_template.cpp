// The main dialog's template: control ids, classes and styles (their places are set at start-up).
#include "layout.h"
#include "program_resources.h"

#include "framework.h"

namespace {

constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW;
constexpr DWORD kHiddenButton = WS_TABSTOP | BS_OWNERDRAW;
constexpr DWORD kView = WS_VISIBLE | WS_GROUP | SS_NOTIFY;
constexpr DWORD kPlain = WS_VISIBLE | WS_GROUP;
constexpr DWORD kBar = WS_VISIBLE | WS_GROUP | SS_NOTIFY | SS_CENTER;
constexpr DWORD kValue = WS_VISIBLE | WS_GROUP | SS_RIGHT;

struct Control {
    int id;
    const char* className;
    DWORD style;
};

// Template order is tab order.
const Control kControls[] = {
    {1000, WC_BUTTON, kButton},
    {1001, WC_STATIC, kView},
    {1002, WC_STATIC, kPlain},
    {1003, WC_STATIC, kPlain},
    {1004, WC_STATIC, kPlain},
    {1005, WC_STATIC, kPlain},
    {1006, WC_STATIC, kPlain},
    {1007, WC_STATIC, kPlain},
    {1008, WC_STATIC, kPlain},
    {1010, WC_BUTTON, kButton},
    {1011, WC_BUTTON, kButton},
    {1012, WC_BUTTON, kButton},
    {1013, WC_BUTTON, kButton},
    {1014, WC_STATIC, kPlain | SS_SUNKEN},
    {1015, WC_BUTTON, kButton},
    {1016, WC_STATIC, kBar},
    {1017, WC_BUTTON, kButton},
    {1018, WC_BUTTON, kButton},
    {1019, WC_STATIC, kBar},
    {1020, WC_BUTTON, kButton},
    {1021, WC_BUTTON, kButton},
    {1022, WC_STATIC, kBar},
    {1023, WC_BUTTON, kButton},
    {1024, WC_BUTTON, kButton},
    {1025, WC_STATIC, kBar},
    {1026, WC_BUTTON, kButton},
    {1027, WC_BUTTON, kButton},
    {1028, WC_STATIC, kBar},
    {1029, WC_BUTTON, kButton},
    {1030, WC_BUTTON, kButton},
    {1031, WC_BUTTON, kButton},
    {1032, WC_BUTTON, kButton},
    {1033, WC_STATIC, kView},
    {1034, WC_BUTTON, kButton},
    {1035, WC_BUTTON, kButton},
    {1036, WC_BUTTON, kButton},
    {1037, WC_BUTTON, kButton},
    {1038, WC_BUTTON, kButton},
    {1039, WC_BUTTON, kButton},
    {1040, WC_BUTTON, kButton},
    {1041, WC_BUTTON, kButton},
    {1042, WC_BUTTON, kButton},
    {1043, WC_BUTTON, kButton},
    {1044, WC_BUTTON, kButton},
    {1045, WC_BUTTON, kButton},
    {1046, WC_BUTTON, kButton},
    {1048, WC_BUTTON, kHiddenButton},
    {1049, WC_BUTTON, kHiddenButton},
    {1050, WC_BUTTON, kButton},
    {1051, WC_BUTTON, kButton},
    {1052, WC_BUTTON, kButton},
    {1053, WC_BUTTON, kButton},
    {1054, WC_BUTTON, kButton},
    {1055, WC_BUTTON, kButton},
    {1061, WC_BUTTON, kButton},
    {1062, WC_BUTTON, kButton},
    {1072, WC_STATIC, kPlain},
    {1073, WC_STATIC, kValue},
    {1074, WC_STATIC, kValue},
    {1075, WC_STATIC, kValue},
    {1076, WC_STATIC, kValue},
    {1077, WC_STATIC, kValue},
    {1086, WC_BUTTON, kHiddenButton},
    {1087, WC_BUTTON, kHiddenButton},
    {1088, WC_BUTTON, kHiddenButton},
    {1089, WC_BUTTON, kButton},
    {1090, TRACKBAR_CLASS, WS_TABSTOP | TBS_BOTH | TBS_NOTICKS},
    {1091, WC_STATIC, WS_GROUP},
    {1092, WC_STATIC, WS_GROUP},
    {1093, WC_BUTTON, kButton},
    {1101, WC_STATIC, kView},
    {1102, WC_BUTTON, kButton},
    {1103, WC_BUTTON, kButton},
    {1104, WC_STATIC, kValue},
};

// The template's own rectangle of a control: its window place in dialog units (thumbnails in a row).
void TemplateRect(int id, platform::mfc::DialogItem& item) {
    for (const layout::Place& place : layout::kControls) {
        if (place.id == id) {
            item.x = place.x / 2;
            item.y = place.y / 2;
            item.cx = place.width / 2;
            item.cy = place.height / 2;
            return;
        }
    }
    const int slot = id - IDC_STATIC_THUMB1;
    item.x = (layout::kThumbLeft + layout::kThumbStep * slot) / 2;
    item.y = layout::kThumbTop / 2;
    item.cx = layout::kThumbWidth / 2;
    item.cy = layout::kThumbHeight / 2;
}

} // namespace

platform::mfc::DialogTemplate MainDialogTemplate() {
    platform::mfc::DialogTemplate dialog{};
    dialog.style = WS_POPUP;
    dialog.x = 0;
    dialog.y = 0;
    dialog.cx = layout::kWindowWidth / 2;
    dialog.cy = layout::kWindowHeight / 2;
    dialog.fontFace = "宋体";
    dialog.pointSize = 9;
    for (const Control& control : kControls) {
        platform::mfc::DialogItem item{};
        item.id = control.id;
        item.className = control.className;
        item.style = control.style;
        TemplateRect(control.id, item);
        dialog.items.push_back(item);
    }
    return dialog;
}
