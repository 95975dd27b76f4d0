// Area header of the application framework: everything a framework program includes.
#pragma once

#include <mfc/app.h>
#include <mfc/controls.h>
#include <mfc/cstring.h>
#include <mfc/dc.h>
#include <mfc/ddx.h>
#include <mfc/dialog.h>
#include <mfc/dialog_manager.h>
#include <mfc/file_dialog.h>
#include <mfc/folder_browser.h>
#include <mfc/gdi_objects.h>
#include <mfc/geometry.h>
#include <mfc/message_map.h>
#include <mfc/mfc_time.h>
#include <mfc/rect_tracker.h>
#include <mfc/win_thread.h>
#include <mfc/wnd.h>
