// Vidora: the flat PLAY_* interface that plays one media file into a window of the caller.
#pragma once

#include <win32/types.h>

// Opaque handle of one player; written by PLAY_Initial, replaced by the null PLAY_UnInitial returns.
typedef void* PLAY_HANDLE;

// Posted to the notify window (wParam 0, lParam 0) whenever the player's graph queues an event, such as
// the end of the file. WM_USER + 100.
#define WM_PLAYER_EVENT 0x0464

// A handle's PLAY_Initial and PLAY_UnInitial are called on the same thread, and every other call on a
// handle comes from that thread too (each player initialises COM on it). Results: 0 success, 2 null
// handle, unless stated.
extern "C" {

// Makes a player for the file `path` (UTF-8, any length) with its video window a child of `videoOwner`,
// filling the owner's client area of this moment and showing the first frame (a null owner keeps the
// video window hidden), and graph events posted to `notifyWindow`. Always 0; *outHandle is written also when
// the file cannot be played (every later call then does nothing), and stays null when the player cannot be
// allocated or outHandle is null.
int __cdecl PLAY_Initial(PLAY_HANDLE* outHandle, HWND videoOwner, HWND notifyWindow, const char* path);
// Stops and destroys the player; the video window leaves the owner. Always returns null.
PLAY_HANDLE __cdecl PLAY_UnInitial(PLAY_HANDLE handle);
// Plays, or resumes after a pause. 0 also when the graph did not start.
int __cdecl PLAY_Start(PLAY_HANDLE handle);
// Back to the start of the file, then stopped.
int __cdecl PLAY_Stop(PLAY_HANDLE handle);
int __cdecl PLAY_Pause(PLAY_HANDLE handle);
// Length and position in seconds: *seconds is written when the query succeeds and keeps the caller's
// value otherwise; the result is *seconds truncated toward zero, 0 for a null `seconds` or a value that
// is no finite number or lies outside the int range, or 2.
int __cdecl PLAY_GetDuration(PLAY_HANDLE handle, double* seconds);
int __cdecl PLAY_GetCurrentPosition(PLAY_HANDLE handle, double* seconds);
// Seeks to the key frame at `seconds`; the result is `seconds` truncated toward zero as above, or 2.
int __cdecl PLAY_SetCurrentPosition(PLAY_HANDLE handle, double seconds);
// Switches the video window to full screen (nonzero `on`) or back into its owner.
int __cdecl PLAY_SetFullScreen(PLAY_HANDLE handle, BOOL on);
// 1 in full screen, 0 windowed, or 2.
int __cdecl PLAY_GetFullScreen(PLAY_HANDLE handle);

} // extern "C"
