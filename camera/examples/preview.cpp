// Example: opens the camera, previews it into a window in GDI mode for 2 s, prints frames and frame rate.
#include <atomic>
#include <cstdio>
#include <cstdlib>

#include <win32/kernel.h>
#include <win32/message_loop.h>
#include <win32/user.h>

#include <camera/korvib.h>

namespace {

constexpr DWORD kPreviewMs = 2000;

void __stdcall CountFrame(void* user, BYTE* /*frame*/) {
    static_cast<std::atomic<int>*>(user)->fetch_add(1, std::memory_order_relaxed);
}

} // namespace

int main() {
    // Headless unless the caller chose a display platform.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    HWND window = CreateWindowEx(0, "STATIC", "Korvib preview", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480,
                                 nullptr, nullptr, nullptr, nullptr);
    if (window == nullptr) {
        std::fprintf(stderr, "preview: no window\n");
        return 1;
    }
    KZ_HANDLE camera = nullptr;
    if (KZ_Initial(&camera, window, 1) != KZ_OK) {
        std::fprintf(stderr, "preview: no camera\n");
        DestroyWindow(window);
        return 1;
    }
    std::atomic<int> frames{0};
    KZ_SetParam(camera, KZ_PARAM_WIDTH, 640);
    KZ_SetParam(camera, KZ_PARAM_HEIGHT, 480);
    KZ_SetFrameCallBack(camera, CountFrame, &frames);
    if (KZ_Start(camera, WS_CHILD | WS_VISIBLE, 0, 0, 640, 480, window, KZ_RENDER_GDI) != KZ_OK) {
        std::fprintf(stderr, "preview: the preview did not start\n");
        KZ_UnInitial(&camera);
        DestroyWindow(window);
        return 1;
    }

    // A timer wakes the loop so the end of the preview time is noticed.
    SetTimer(window, 1, 100, nullptr);
    const DWORD start = GetTickCount();
    platform::user::runModalLoop([start] { return GetTickCount() - start >= kPreviewMs; });
    KillTimer(window, 1);

    const float rate = KZ_GetFrameRate(camera);
    KZ_Stop(camera);
    std::printf("frames delivered in %lu ms: %d (%.1f per second)\n", static_cast<unsigned long>(kPreviewMs),
                frames.load(), frames.load() * 1000.0 / kPreviewMs);
    // The library measures over 5000 ms periods: 0.0 until the first period has ended.
    std::printf("KZ_GetFrameRate: %.2f\n", static_cast<double>(rate));
    KZ_UnInitial(&camera);
    DestroyWindow(window);
    return 0;
}
