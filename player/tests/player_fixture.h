// Test fixture: an owner window for the video and a notify window, pixel reads and waits.
#pragma once

#include <chrono>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include <win32/gdi.h>
#include <win32/user.h>

#include <player/vidora.h>

#include "media_files.h"

namespace vidora_test {

inline LRESULT CALLBACK plainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProc(window, message, wParam, lParam);
}

// B, G, R of one client pixel of a window, read back from its image through a 1x1 DIB section.
struct Pixel {
    int blue, green, red;
};

inline Pixel pixelAt(HWND window, int x, int y) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 1;
    info.bmiHeader.biHeight = 1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP target = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, target);
    BitBlt(memory, 0, 0, 1, 1, source, x, y, SRCCOPY);
    const auto* bgr = static_cast<const BYTE*>(bits);
    Pixel pixel{bgr[0], bgr[1], bgr[2]};
    SelectObject(memory, previous);
    DeleteObject(target);
    DeleteDC(memory);
    ReleaseDC(window, source);
    return pixel;
}

// Calls `done` every 20 ms, handling the thread's other messages in between, until it holds or 10 s pass.
inline bool waitFor(const std::function<bool()>& done) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        // Player events stay queued for the test to find.
        MSG message;
        while (PeekMessage(&message, nullptr, 0, WM_PLAYER_EVENT - 1, PM_REMOVE) ||
               PeekMessage(&message, nullptr, WM_PLAYER_EVENT + 1, 0xFFFFFFFFu, PM_REMOVE))
            DispatchMessage(&message);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// An owner window whose 200x150 client area takes the video, and a window for graph events.
class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        static const bool registered = [] {
            WNDCLASS cls{};
            cls.lpfnWndProc = plainWindowProc;
            cls.lpszClassName = "VidoraTestWindow";
            return RegisterClass(&cls) != 0;
        }();
        ASSERT_TRUE(registered);
        owner_ = CreateWindowEx(0, "VidoraTestWindow", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                150, nullptr, nullptr, nullptr, nullptr);
        notify_ = CreateWindowEx(0, "VidoraTestWindow", "Notify", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                 nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
        ASSERT_NE(notify_, nullptr);
        // Make the client area exactly 200x150 whatever the frame takes.
        RECT frame{};
        RECT client{};
        GetWindowRect(owner_, &frame);
        GetClientRect(owner_, &client);
        MoveWindow(owner_, 0, 0, frame.right - frame.left - client.right + 200,
                   frame.bottom - frame.top - client.bottom + 150, TRUE);
        GetClientRect(owner_, &client);
        ASSERT_EQ(client.right, 200);
        ASSERT_EQ(client.bottom, 150);
    }

    void TearDown() override {
        handle_ = PLAY_UnInitial(handle_);
        DestroyWindow(owner_);
        DestroyWindow(notify_);
    }

    void open(const std::string& path) {
        ASSERT_EQ(PLAY_Initial(&handle_, owner_, notify_, path.c_str()), 0);
        ASSERT_NE(handle_, nullptr);
    }

    // Opens a generated file; false when ffmpeg could not make it (the caller skips).
    [[nodiscard]] bool openMedia(Media kind) {
        const MediaFile& file = mediaFile(kind);
        if (file.path.empty())
            return false;
        open(file.path);
        return true;
    }

    double position() {
        double seconds = -1.0;
        PLAY_GetCurrentPosition(handle_, &seconds);
        return seconds;
    }

    // The video window: the owner's child without a control id.
    HWND videoWindow() const { return GetDlgItem(owner_, 0); }

    HWND owner_ = nullptr;
    HWND notify_ = nullptr;
    PLAY_HANDLE handle_ = nullptr;
};

} // namespace vidora_test
