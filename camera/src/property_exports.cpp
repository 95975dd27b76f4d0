// KZ_ShowPropertyPage: the driver's property page or the library's own dialog, remembered as bCustomProp.
#include <camera/korvib.h>

#include "device_handle.h"
#include "driver_property_page.h"
#include "library_state.h"
#include "property_dialog.h"
#include "registry_settings.h"

namespace {

void StoreCustomProp(DWORD value) {
    korvib::LibraryState& library = korvib::Library();
    library.customProp.store(value, std::memory_order_relaxed);
    static_cast<void>(korvib::WriteRegDword(library.settingsKey, "bCustomProp", value));
}

} // namespace

extern "C" {

// Mode 0 opens the library's dialog: KZ_OK, or KZ_ERR_FAILED when it was already open (it comes to the
// front) or cannot be created. Other modes show the driver's page and return KZ_OK once it closes, shown or
// not. KZ_ERR_NOT_RUNNING while neither the preview nor a recording runs, also once the camera was lost.
// GUI thread.
int __stdcall KZ_ShowPropertyPage(KZ_HANDLE h, int mode) {
    if (h == nullptr) {
        return KZ_ERR_NULL_HANDLE;
    }
    korvib::CameraDevice* device = korvib::AsDevice(h);
    if (device->EndLostStream() || (!device->PreviewRunning() && !device->RecordingRunning())) {
        return KZ_ERR_NOT_RUNNING;
    }
    if (mode == 0) {
        if (korvib::OpenPropertyDialog() != KZ_OK) {
            return KZ_ERR_FAILED;
        }
        StoreCustomProp(0);
        return KZ_OK;
    }
    korvib::ShowDriverPropertyPage(device->Source());
    StoreCustomProp(1);
    return KZ_OK;
}

} // extern "C"
