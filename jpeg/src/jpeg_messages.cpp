// Message boxes of CJpegFile, through the window layer.
#include "jpeg_messages.h"

#include <win32/message_box.h>

#include <cstdio>

namespace jpegfile {
namespace {

// The top-level window that holds the keyboard focus, or null.
HWND activeWindow() {
    HWND window = GetFocus();
    while (window && GetParent(window))
        window = GetParent(window);
    return window;
}

} // namespace

void showMemoryError() {
    MessageBox(nullptr, "Memory Error", "Error", MB_OK);
}

void showOpenFailure(const char* fileName) {
    char text[4200];
    std::snprintf(text, sizeof text, "JpegFile :\nCan't open %s\n", fileName);
    MessageBox(nullptr, text, "Error", MB_OK);
}

void showCodecWarning(const char* text) {
    MessageBox(activeWindow(), text, "JPEG Error", MB_OK);
}

} // namespace jpegfile
