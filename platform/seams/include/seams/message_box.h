// Message-box seam: tests answer the platform's message boxes and see what each one said.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include <win32/types.h>

namespace platform::seams {

// One box as the user would have seen it.
struct MessageBoxCall {
    HWND owner;
    std::string text;    // UTF-8
    std::string caption; // UTF-8; "Error" for a null caption
    UINT style;          // MB_* flags as given
};

// Answers a box with its result (IDOK, IDCANCEL, IDYES, IDNO ...) in place of a person.
using MessageBoxAnswer = std::function<int(const MessageBoxCall&)>;

// Installs the answer (an empty function shows real boxes again). Test set-up only.
void setMessageBoxAnswer(MessageBoxAnswer answer);
// The answer in force; empty while boxes are real. Any thread.
const MessageBoxAnswer& messageBoxAnswer();

// While it lives, answers every box with one result and records each box. Thread-safe.
class MessageBoxRecorder {
public:
    explicit MessageBoxRecorder(int answer);
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    std::vector<MessageBoxCall> calls() const;

private:
    mutable std::mutex lock_; // guards calls_
    std::vector<MessageBoxCall> calls_;
};

} // namespace platform::seams
