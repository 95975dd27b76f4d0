// Pre-translation: retrieved messages visit the innermost window's object first, then its parents'.
#include "mfc_fixture.h"

#include <string>

namespace mfc_test {
namespace {

class Recorder : public CWnd {
public:
    Recorder(std::string name, std::vector<std::string>& order, UINT swallow = 0)
        : name_(std::move(name)), order_(order), swallow_(swallow)
    {
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message >= WM_USER)
            order_.push_back(name_);
        return msg->message == swallow_;
    }

private:
    std::string name_;
    std::vector<std::string>& order_;
    UINT swallow_;
};

using MfcPreTranslateTest = MfcTest;

TEST_F(MfcPreTranslateTest, InnermostWindowFirstThenParentsUpToTheTopLevel)
{
    std::vector<std::string> order;
    Recorder owner("owner", order), top("top", order), middle("middle", order, WM_USER + 2), inner("inner", order);
    const HWND ownerWnd = plainWindow(WS_OVERLAPPED);
    const HWND topWnd = plainWindow(WS_POPUP, ownerWnd);
    const HWND middleWnd = plainWindow(WS_CHILD, topWnd);
    const HWND plainChild = plainWindow(WS_CHILD, middleWnd); // no object: skipped
    const HWND innerWnd = plainWindow(WS_CHILD, plainChild);
    ASSERT_TRUE(owner.SubclassWindow(ownerWnd));
    ASSERT_TRUE(top.SubclassWindow(topWnd));
    ASSERT_TRUE(middle.SubclassWindow(middleWnd));
    ASSERT_TRUE(inner.SubclassWindow(innerWnd));

    PostMessage(innerWnd, WM_USER + 1, 0, 0);
    pump();
    // The owner of the top-level window is not part of the chain.
    EXPECT_EQ(order, (std::vector<std::string>{"inner", "middle", "top"}));
    EXPECT_EQ(seenOf(WM_USER + 1).size(), 1u);

    // A window that swallows a message ends the chain and keeps it from its procedure.
    order.clear();
    PostMessage(innerWnd, WM_USER + 2, 0, 0);
    pump();
    EXPECT_EQ(order, (std::vector<std::string>{"inner", "middle"}));
    EXPECT_TRUE(seenOf(WM_USER + 2).empty());

    // Sent messages do not pass the chain.
    order.clear();
    SendMessage(innerWnd, WM_USER + 1, 0, 0);
    EXPECT_TRUE(order.empty());
}

} // namespace
} // namespace mfc_test
