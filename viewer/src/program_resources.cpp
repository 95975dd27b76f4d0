// Registering the program's resources: dialog templates, icon, drag cursor and button bitmaps from the program folder.
#include "program_resources.h"

#include <string>

#include <win32/native_path.h>

#include "framework.h"
#include "image_setting.h"
#include "setting_dlg.h"

namespace {

constexpr int kBitmapIds[] = {
    IDB_PREVIEW_EDIT,  IDB_EXIT,         IDB_PLUS,         IDB_MINUS,    IDB_SETTING,   IDB_SNAP,
    IDB_RECORD,        IDB_FULLSCREEN,   IDB_EDIT_PREVIEW, IDB_EIGHT,    IDB_EDGE,      IDB_EMBOSS,
    IDB_UNDO,          IDB_REDO,         IDB_MINIMIZE,     IDB_NEGATIVE, IDB_TOOL,      IDB_THRESHOLD,
    IDB_HIST_EQUALIZE, IDB_HIST_STRETCH, IDB_OPEN,         IDB_SAVE,     IDB_RECORDING, IDB_RESET,
    IDB_FIT,           IDB_CLOSE_FILE,   IDB_LOAD_FILE,    IDB_PAUSE,    IDB_PLAY,      IDB_STOP,
};

constexpr int kDragCursorHotSpot = 16; // the middle of its 32 x 32 picture

// The folder of the program file as a native path with a trailing "/".
std::string ProgramFolder() {
    char path[512] = {};
    ::GetModuleFileName(nullptr, path, sizeof path);
    std::string native = platform::toNativePath(path);
    return native.substr(0, native.rfind('/') + 1);
}

} // namespace

void RegisterProgramResources() {
    const std::string folder = ProgramFolder() + "resources/";
    platform::mfc::registerDialogTemplate(IDD_ORVANEL_DIALOG, MainDialogTemplate());
    platform::mfc::registerDialogTemplate(IDD_IMAGE_SETTING, ImageSettingTemplate());
    platform::mfc::registerDialogTemplate(IDD_SETTING, SettingDlgTemplate());
    platform::mfc::registerResourceIcon(IDR_MAINFRAME,
                                        (folder + std::to_string(IDR_MAINFRAME) + ".bmp").c_str());
    platform::user::registerResourceCursor(IDC_CURSOR_DRAG,
                                           (folder + std::to_string(IDC_CURSOR_DRAG) + ".png").c_str(),
                                           kDragCursorHotSpot, kDragCursorHotSpot);
    for (int id : kBitmapIds)
        platform::gdi::registerResourceBitmap(id, (folder + std::to_string(id) + ".bmp").c_str());
}
