// CameraDevice construction (graph, settings key, capture filter) and destruction.
#include "camera_device.h"

#include <new>

#include <win32/kernel.h>
#include <win32/registry.h>

#include "auto_loops.h"
#include "camera_model.h"
#include "com_release.h"
#include "error_boxes.h"
#include "graph_helpers.h"
#include "library_state.h"
#include "property_dialog.h"
#include "registry_settings.h"

namespace korvib {

CameraDevice::CameraDevice(HWND notifyWnd) : serial_(notifyWnd) {}

CameraDevice* CameraDevice::Current() {
    return Library().currentDevice.load(std::memory_order_acquire);
}

bool CameraDevice::Open(int comPort) {
    comInitialized_ = SUCCEEDED(CoInitialize(nullptr));
    int registersOk = 0;
    registers_.reset(new (std::nothrow) RegisterAccess(&registersOk));
    if (registersOk == 0) {
        registers_.reset();
    }
    LibraryState& library = Library();
    library.settingsKey = OpenCameraKey(3);
    if (library.settingsKey == nullptr) {
        ShowComInfo(GetLastError());
    }
    ReadRegString(library.settingsKey, "Compressor", library.compressorName, sizeof(library.compressorName));

    HRESULT hr = CreateCaptureGraph(&graph_, &builder_);
    if (FAILED(hr)) {
        ShowComError(hr);
        return false;
    }
    hr = FindFilterByName(CLSID_VideoInputDeviceCategory, kCameraModelName, &source_);
    if (FAILED(hr)) {
        ShowComError(hr);
        return false;
    }
    // Without a camera of that name the source is null and adding it fails: that reports the missing camera.
    hr = graph_->AddFilter(source_, nullptr);
    if (FAILED(hr)) {
        ShowComError(hr);
        return false;
    }
    serial_.OpenSerial(comPort);
    library.currentDevice.store(this, std::memory_order_release);
    return true;
}

// Teardown: the property dialog closes and the serial listener ends first; a recording ends and the preview
// stops (no frame is inside the pipeline afterwards), then the callbacks go, then the graph, the
// library-wide key and the auto loops' switches.
CameraDevice::~CameraDevice() {
    ClosePropertyDialog();
    serial_.CloseSerial();
    if (RecordingRunning()) {
        TearDownRecording();
    }
    StopPreview();
    pipeline_.ClearFrameCallbacks();
    pipeline_.SetMaskCallBack(nullptr, nullptr);
    ReleaseGraph();
    registers_.reset();

    LibraryState& library = Library();
    if (library.settingsKey != nullptr) {
        RegCloseKey(library.settingsKey);
        library.settingsKey = nullptr;
    }
    CameraDevice* self = this;
    library.currentDevice.compare_exchange_strong(self, nullptr, std::memory_order_acq_rel);
    // The next camera starts with both auto loops off.
    AutoLoops().SwitchOff();
    if (comInitialized_) {
        CoUninitialize();
    }
}

void CameraDevice::ReleaseGraph() {
    ReleaseAndClear(source_);
    ReleaseAndClear(builder_);
    ReleaseAndClear(graph_);
}

} // namespace korvib
