// Korvib: the flat KZ_* interface to the USB bridge-chip camera (preview, frames, parameters, registers).
#pragma once

#include <win32/types.h>

// Opaque handle of the one camera device; written by KZ_Initial, cleared by KZ_UnInitial.
typedef void* KZ_HANDLE;

// Result codes of every KZ_* function.
enum {
    KZ_OK = 0,                 // success
    KZ_ERR_FAILED = 1,         // the operation was attempted and failed
    KZ_ERR_NULL_HANDLE = 2,    // null handle (tested before any other argument)
    KZ_ERR_NOT_RUNNING = 3,    // neither the preview nor a recording runs
    KZ_ERR_MISSING = 4,        // missing buffer, path or register object
    KZ_ERR_NO_BUFFERS = 5,     // the frame-copy buffers are missing
    KZ_ERR_NO_SENSOR = 6,      // the image sensor does not answer
    KZ_ERR_NOT_PREVIEWING = 7, // the preview is not running, or a recording runs
};

// Parameter ids of KZ_SetParam and KZ_GetParam; 0 to 9 are the video processing amplifier's properties.
enum {
    KZ_PARAM_BRIGHTNESS = 0,
    KZ_PARAM_CONTRAST = 1,
    KZ_PARAM_HUE = 2,
    KZ_PARAM_SATURATION = 3,
    KZ_PARAM_SHARPNESS = 4,
    KZ_PARAM_GAMMA = 5,
    KZ_PARAM_COLORENABLE = 6,
    KZ_PARAM_WHITEBALANCE = 7,
    KZ_PARAM_BACKLIGHT = 8,
    KZ_PARAM_GAIN = 9,
    KZ_PARAM_FORMAT = 10,      // row of the capture format table, 0 to 8
    KZ_PARAM_HEIGHT = 11,      // capture height
    KZ_PARAM_WIDTH = 12,       // capture width
    KZ_PARAM_VIEW_HEIGHT = 13, // display rectangle height
    KZ_PARAM_VIEW_WIDTH = 14,  // display rectangle width
};

// Register indexes of KZ_RegOperation and KZ_GetRegRange: 0 to 5 image sensor, 6 to 9 focus-motor controller.
enum {
    KZ_REG_EXPOSURE = 0,
    KZ_REG_GAIN_RED = 1,
    KZ_REG_GAIN_GREEN1 = 2,
    KZ_REG_GAIN_GREEN2 = 3,
    KZ_REG_GAIN_BLUE = 4,
    KZ_REG_SENSOR_05 = 5,
    KZ_REG_MOTOR_FORWARD = 6,
    KZ_REG_MOTOR_BACKWARD = 7,
    KZ_REG_DEVICE_12 = 8,
    KZ_REG_MOTOR_BUSY = 9,
};

// Render modes of KZ_Start.
enum {
    KZ_RENDER_DS = 0,   // the renderer's own video window inside the owner
    KZ_RENDER_GDI = 1,  // the library draws every frame into the owner window
    KZ_RENDER_NONE = 2, // nothing is drawn; frames still pass the pipeline
};

// What the extended frame callback receives; valid only during the call.
struct FrameInfo {
    void* user;
    int width;
    int height;
    BYTE* data; // 24-bit bottom-up DIB rows of the frame
};

// Callbacks run on the streaming thread and must return promptly: the next frame waits for them.
typedef void(__stdcall* KZ_FrameCallBack)(void* user, BYTE* frame);
typedef void(__stdcall* KZ_FrameCallBackEx)(FrameInfo* info);
typedef void(__stdcall* KZ_MaskCallBack)(void* user, BYTE* frame); // may draw into the frame

// Every function runs on the caller's thread; calls on one handle come from one thread at a time. Every
// function that takes a handle returns KZ_ERR_NULL_HANDLE for a null one (KZ_GetFrameRate returns 2.0).
// Called from one of the device's own callbacks, the functions that would wait for the streaming thread
// (KZ_UnInitial, KZ_Start, KZ_Stop, KZ_CaptureToBuf) return KZ_ERR_FAILED and do nothing.
extern "C" {

// Opens the camera; *outHandle is null unless KZ_OK. outHandle null: KZ_ERR_NULL_HANDLE.
int __stdcall KZ_Initial(KZ_HANDLE* outHandle, HWND notifyWnd, int comPort);
// Stops everything, frees the device and clears *handle. KZ_ERR_NULL_HANDLE when handle or *handle is null.
int __stdcall KZ_UnInitial(KZ_HANDLE* handle);

// Starts the live preview into `owner` at {x, y, width, height}; KZ_ERR_FAILED when it could not start.
int __stdcall KZ_Start(KZ_HANDLE h, DWORD windowStyle, int x, int y, int width, int height, HWND owner,
                       int renderMode);
// Stops the preview (any state).
int __stdcall KZ_Stop(KZ_HANDLE h);
// Frames per second measured over the last 5000 ms; 0.0 until the first measurement, 2.0 for a null handle.
float __stdcall KZ_GetFrameRate(KZ_HANDLE h);

// Camera parameters (KZ_PARAM_*). Set: KZ_ERR_FAILED for ids 0 to 9 when the camera refuses the value.
int __stdcall KZ_SetParam(KZ_HANDLE h, int id, int value);
// Get: *value is -1 when the value is unavailable or the id unknown.
int __stdcall KZ_GetParam(KZ_HANDLE h, int id, int* value);
// Moves the display rectangle {x, y, width, height}; KZ_ERR_FAILED when the video window refuses it.
int __stdcall KZ_SetViewWin(KZ_HANDLE h, const int* rect);

// Snapshots of the next frame of the running preview.
int __stdcall KZ_CaptureToBmp(KZ_HANDLE h, const char* path);
// Copies the next frame into buffer, which holds biHeight rows of the running format's 24-bit stride.
// KZ_ERR_MISSING for a null buffer; KZ_ERR_FAILED while recording, without a running preview, or when no
// frame came within 5 s.
int __stdcall KZ_CaptureToBuf(KZ_HANDLE h, BYTE* buffer);
int __stdcall KZ_CaptureToJpg(KZ_HANDLE h, const char* path, int quality);

// AVI recording with the compressor named in the settings.
int __stdcall KZ_StartCapture(KZ_HANDLE h, const char* aviPath);
int __stdcall KZ_StopCapture(KZ_HANDLE h);
int __stdcall KZ_SelectCompressor(KZ_HANDLE h);
int __stdcall KZ_DeviceCompressor(KZ_HANDLE h, LONG* keyFrameRate, LONG* pFramesPerKeyFrame, double* quality,
                                  int set);

// Property pages: mode 0 opens the library's own modeless dialog (KZ_ERR_FAILED when one is open already,
// which comes to the front, or when it cannot be made); any other mode shows the driver's page in a modal
// frame and returns KZ_OK once it closes. KZ_ERR_NOT_RUNNING while neither the preview nor a recording runs.
// GUI thread; the dialog is served by that thread's message loop.
int __stdcall KZ_ShowPropertyPage(KZ_HANDLE h, int mode);

// Overlay mask: a 24-bit BMP of the frame's size drawn over every frame, its pixels of keyColour
// (0x00RRGGBB) left transparent; before the snapshot copies and the callbacks when beforeCallbacks is
// nonzero, else after the mask callback. A toggle: a present mask is removed (KZ_ERR_FAILED); otherwise
// KZ_OK when the file loaded, KZ_ERR_FAILED when not (the next call then only removes the empty mask).
int __stdcall KZ_LoadMaskBmp(KZ_HANDLE h, const char* path, DWORD keyColour, int beforeCallbacks);
// Dark frame: a 24-bit BMP taken with the lens covered; each pixel with a byte above 64 is a defect, and
// that pixel of every frame (allFrames) or of BMP and JPEG snapshots only (snapshots) takes its left
// neighbour. The empty path only sets the two switches. KZ_ERR_FAILED, after a box, when the file cannot be
// loaded or has more than 2000 defects (no dark frame remains); KZ_ERR_FAILED for a null path.
int __stdcall KZ_Calibration(KZ_HANDLE h, const char* path, int allFrames, int snapshots);

// Frame callbacks; KZ_ERR_NO_BUFFERS when the frame-copy buffers are missing. A null callback switches
// both frame callback kinds off.
int __stdcall KZ_SetFrameCallBack(KZ_HANDLE h, KZ_FrameCallBack callback, void* user);
int __stdcall KZ_SetFrameCallBackEx(KZ_HANDLE h, KZ_FrameCallBackEx callback, void* user);
int __stdcall KZ_SetMaskCallBack(KZ_HANDLE h, KZ_MaskCallBack callback, void* user);

// Green-channel gamma on every frame from the next one on.
int __stdcall KZ_SetGreenGamma(KZ_HANDLE h, float gamma, int enable);
// Maps every byte of a DIB's rows (padding included) through a gamma table; no handle. A negative
// (top-down) height maps as many rows. KZ_ERR_FAILED for null pixels.
int __stdcall KZ_GammaOperation(BYTE* dibPixels, unsigned width, int height, unsigned bitsPerPixel, float gamma);

// Sensor and focus-motor registers (KZ_REG_*), GPIO lines and focus pulses. Any thread, the device's
// callbacks included: each transfer reaches the chip whole. All four return KZ_ERR_MISSING when the
// camera's bridge chip could not be opened, and KZ_ERR_FAILED for a failed transfer, an index without a
// table row or a null pointer.
// Reads (write 0) or writes *value; a write leaves *value as it was. KZ_ERR_NO_SENSOR for indexes 0 to 5
// while the image sensor does not answer.
int __stdcall KZ_RegOperation(KZ_HANDLE h, int index, int* value, int write);
// The value range of indexes 0 to 8.
int __stdcall KZ_GetRegRange(KZ_HANDLE h, int index, int* min, int* max);
// Drives the focus motor towards the front end (direction nonzero) or the back end for 1 to 200 ms
// (0 gives 1, larger or negative values 200), blocking the caller, then stops it.
int __stdcall KZ_FocusOperation(KZ_HANDLE h, int direction, int milliseconds);
// Writes the low byte of *value to the GPIO lines, or reads their byte into *value.
int __stdcall KZ_GPIOOperation(KZ_HANDLE h, unsigned* value, int write);

// Auto focus switches: the hill climb (SubAF) and the end-stop sweep (AF).
int __stdcall KZ_SetDoSubAF(KZ_HANDLE h, int enable);
int __stdcall KZ_SetDoAF(KZ_HANDLE h, int enable);

} // extern "C"
