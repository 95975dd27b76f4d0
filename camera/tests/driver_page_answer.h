// Test helper: answers the camera's property page in its modal frame in place of a person.
#pragma once

#include <functional>

#include <devices/proc_amp_page.h>
#include <win32/message_loop.h>
#include <win32/user.h>

// While it lives, answers the camera's property page once its frame runs: `answer` gets the page window
// from the first message the frame's modal loop retrieves for the frame or one of its windows.
class PageAnswer {
public:
    explicit PageAnswer(std::function<void(HWND page)> answer) {
        platform::user::setPreTranslateHook([this, answer = std::move(answer)](MSG& message) {
            const HWND page = PageOf(message.hwnd);
            if (page != nullptr && !answered_) {
                answered_ = true;
                answer(page);
            }
            return false;
        });
    }
    ~PageAnswer() { platform::user::setPreTranslateHook({}); }
    PageAnswer(const PageAnswer&) = delete;
    PageAnswer& operator=(const PageAnswer&) = delete;

    bool Answered() const { return answered_; }

private:
    static HWND PageOf(HWND window) {
        while (window != nullptr && GetParent(window) != nullptr) {
            window = GetParent(window);
        }
        return window != nullptr ? GetDlgItem(window, platform::devices::kProcAmpPageId) : nullptr;
    }
    bool answered_ = false;
};

// Presses a button of the frame that holds `page`.
inline void PressFrameButton(HWND page, int button) {
    SendMessage(GetParent(page), WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}
