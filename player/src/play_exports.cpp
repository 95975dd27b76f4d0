// The PLAY_* exports: each checks its handle and calls the player.
#include <climits>
#include <cmath>
#include <new>

#include <player/vidora.h>

#include "graph_player.h"

namespace {

constexpr int kNullHandle = 2;

// Whole seconds toward zero; 0 for a value that is no finite number or whose whole part does not fit
// an int.
int wholeSeconds(double seconds) {
    if (!std::isfinite(seconds))
        return 0;
    const double whole = std::trunc(seconds);
    if (whole < static_cast<double>(INT_MIN) || whole > static_cast<double>(INT_MAX))
        return 0;
    return static_cast<int>(whole);
}

CGraphPlayer* playerOf(PLAY_HANDLE handle) {
    return static_cast<CGraphPlayer*>(handle);
}

} // namespace

extern "C" {

// The file's rendering and the window set-up report nothing; the handle is written whenever the player
// object exists. Calling thread (it becomes the player's thread).
int __cdecl PLAY_Initial(PLAY_HANDLE* outHandle, HWND videoOwner, HWND notifyWindow, const char* path) {
    if (!outHandle)
        return 0;
    *outHandle = nullptr;
    auto* player = new (std::nothrow) CGraphPlayer();
    if (!player)
        return 0;
    if (player->CreateGraph()) {
        player->RenderFile(path);
        player->SetOwnerWindow(videoOwner);
        player->SetNotifyWindow(notifyWindow);
    }
    *outHandle = player;
    return 0;
}

// The player's thread.
PLAY_HANDLE __cdecl PLAY_UnInitial(PLAY_HANDLE handle) {
    if (CGraphPlayer* player = playerOf(handle)) {
        player->Stop();
        player->ReleaseInterfaces();
        delete player;
    }
    return nullptr;
}

// The player's thread, as every export below.
int __cdecl PLAY_Start(PLAY_HANDLE handle) {
    if (!handle)
        return kNullHandle;
    playerOf(handle)->Run();
    return 0;
}

int __cdecl PLAY_Stop(PLAY_HANDLE handle) {
    if (!handle)
        return kNullHandle;
    playerOf(handle)->SetCurrentPosition(0.0);
    playerOf(handle)->Stop();
    return 0;
}

int __cdecl PLAY_Pause(PLAY_HANDLE handle) {
    if (!handle)
        return kNullHandle;
    playerOf(handle)->Pause();
    return 0;
}

int __cdecl PLAY_GetDuration(PLAY_HANDLE handle, double* seconds) {
    if (!handle)
        return kNullHandle;
    if (!seconds)
        return 0;
    playerOf(handle)->GetDuration(seconds);
    return wholeSeconds(*seconds);
}

int __cdecl PLAY_GetCurrentPosition(PLAY_HANDLE handle, double* seconds) {
    if (!handle)
        return kNullHandle;
    if (!seconds)
        return 0;
    playerOf(handle)->GetCurrentPosition(seconds);
    return wholeSeconds(*seconds);
}

int __cdecl PLAY_SetCurrentPosition(PLAY_HANDLE handle, double seconds) {
    if (!handle)
        return kNullHandle;
    playerOf(handle)->SetCurrentPosition(seconds);
    return wholeSeconds(seconds);
}

int __cdecl PLAY_SetFullScreen(PLAY_HANDLE handle, BOOL on) {
    if (!handle)
        return kNullHandle;
    playerOf(handle)->SetFullScreen(on);
    return 0;
}

int __cdecl PLAY_GetFullScreen(PLAY_HANDLE handle) {
    if (!handle)
        return kNullHandle;
    return playerOf(handle)->GetFullScreen();
}

} // extern "C"
