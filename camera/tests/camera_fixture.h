// Fixture for tests on the simulated camera: a fresh registry file, stepped frames, recorded message boxes.
#pragma once

#include <memory>

#include <devices/simulated_camera.h>
#include <seams/message_box.h>
#include <win32/user.h>

#include <camera/korvib.h>

#include "registry_fixture.h"

class CameraTest : public RegistryFileTest {
protected:
    void SetUp() override {
        RegistryFileTest::SetUp();
        platform::devices::SimulatedCamera::resetAll();
        camera_ = std::make_unique<platform::devices::SimulatedCamera>(platform::devices::SimulatedCamera::primary());
        camera_->setSteppedMode(true);
        boxes_ = std::make_unique<platform::seams::MessageBoxRecorder>(IDOK);
    }
    void TearDown() override {
        if (handle_ != nullptr) {
            KZ_UnInitial(&handle_);
        }
        if (window_ != nullptr) {
            DestroyWindow(window_);
        }
        camera_->setSteppedMode(false);
        boxes_.reset();
        RegistryFileTest::TearDown();
    }
    // Opens the camera; the test fails when it does not open.
    KZ_HANDLE Open() {
        EXPECT_EQ(KZ_Initial(&handle_, nullptr, 1), KZ_OK);
        return handle_;
    }
    // Opens the camera with the given capture size.
    KZ_HANDLE OpenAt(int width, int height) {
        KZ_HANDLE h = Open();
        KZ_SetParam(h, KZ_PARAM_WIDTH, width);
        KZ_SetParam(h, KZ_PARAM_HEIGHT, height);
        return h;
    }
    // A top-level window to preview into.
    HWND Window() {
        if (window_ == nullptr) {
            window_ = CreateWindowEx(0, "STATIC", "preview", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                                     nullptr, nullptr, nullptr);
        }
        return window_;
    }
    // Exactly one box was shown: captioned "Veltrane", with `style`.
    void ExpectOneVeltraneBox(UINT style) {
        const auto boxes = boxes_->calls();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "Veltrane");
        EXPECT_EQ(boxes[0].style, style);
    }
    platform::devices::SimulatedCamera& Camera() { return *camera_; }
    platform::seams::MessageBoxRecorder& Boxes() { return *boxes_; }

    KZ_HANDLE handle_ = nullptr;

private:
    std::unique_ptr<platform::devices::SimulatedCamera> camera_;
    std::unique_ptr<platform::seams::MessageBoxRecorder> boxes_;
    HWND window_ = nullptr;
};
