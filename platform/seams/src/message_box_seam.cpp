// The message-box seam's answer slot and the recording answerer.
#include <seams/message_box.h>

namespace platform::seams {
namespace {

MessageBoxAnswer& slot() {
    static MessageBoxAnswer answer;
    return answer;
}

} // namespace

void setMessageBoxAnswer(MessageBoxAnswer answer) {
    slot() = std::move(answer);
}

const MessageBoxAnswer& messageBoxAnswer() {
    return slot();
}

MessageBoxRecorder::MessageBoxRecorder(int answer) {
    setMessageBoxAnswer([this, answer](const MessageBoxCall& call) {
        std::lock_guard guard(lock_);
        calls_.push_back(call);
        return answer;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() {
    setMessageBoxAnswer({});
}

std::vector<MessageBoxCall> MessageBoxRecorder::calls() const {
    std::lock_guard guard(lock_);
    return calls_;
}

} // namespace platform::seams
