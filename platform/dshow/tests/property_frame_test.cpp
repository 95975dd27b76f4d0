// The modal property frame: pages made by class, given the objects, applied on OK and Apply only.
#include <vector>

#include <gtest/gtest.h>

#include <win32/user.h>

#include <dshow/class_table.h>
#include <dshow/com_object.h>
#include <dshow/property_pages.h>
#include <dshow/renderers.h>

#include "graph_support.h"

namespace {

using namespace platform::dshow;
using namespace testing_dshow;

const CLSID kPageClass = {0x6A2F0C11, 0x5B3E, 0x4D7A, {0x8C, 0x42, 0x19, 0xE0, 0x3B, 0x77, 0x05, 0xD4}};

// What the page saw; the page presses the frame's buttons itself by posting them to its parent.
struct PageLog {
    std::vector<UINT> press;
    int applied = 0;
    int deactivated = 0;
    ULONG objects = 0;
    bool released = false;
    bool modal = false;
    RECT area{};
};

class ScriptedPage final : public ComObject<IPropertyPage> {
public:
    explicit ScriptedPage(PageLog& log) : log_(log) {}
    HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override {
        info->pszTitle = nullptr;
        info->size = SIZE{200, 120};
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) override {
        if (count == 0) {
            log_.released = true;
            objects_.clear();
            return S_OK;
        }
        log_.objects = count;
        objects_.assign(objects, objects + count);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT rect, BOOL modal) override {
        log_.area = *rect;
        log_.modal = modal != FALSE;
        for (UINT id : log_.press)
            PostMessage(parent, WM_COMMAND, id, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Deactivate() override {
        ++log_.deactivated;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Apply() override {
        ++log_.applied;
        return S_OK;
    }

private:
    PageLog& log_;
    std::vector<ComPtr<IUnknown>> objects_;
};

class PropertyFrameTest : public ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        token_ = registerClass(kPageClass, [this](REFIID riid, void** object) {
            auto page = ComPtr<ScriptedPage>::adopt(new ScriptedPage(log_));
            return page->QueryInterface(riid, object);
        });
        object_ = create<IUnknown>(CLSID_NullRenderer);
    }
    void TearDown() override {
        unregisterClass(token_);
        object_.reset();
        ComTest::TearDown();
    }
    HRESULT show(const CLSID& page) {
        IUnknown* objects[] = {object_.get()};
        return OleCreatePropertyFrame(nullptr, 30, 30, nullptr, 1, objects, 1, &page, 0, 0, nullptr);
    }

    PageLog log_;
    int token_ = 0;
    ComPtr<IUnknown> object_;
};

TEST_F(PropertyFrameTest, ApplyAndOkApplyTheCancelledFrameDoesNot) {
    struct Case {
        const char* name;
        std::vector<UINT> press;
        int applied;
    } cases[] = {
        {"ok", {IDOK}, 1},
        {"cancel", {IDCANCEL}, 0},
        {"apply then cancel", {0x3021, IDCANCEL}, 1},
        {"apply then ok", {0x3021, IDOK}, 2},
    };
    for (const Case& c : cases) {
        log_ = PageLog{};
        log_.press = c.press;
        ASSERT_EQ(show(kPageClass), S_OK) << c.name;
        EXPECT_EQ(log_.applied, c.applied) << c.name;
        EXPECT_EQ(log_.objects, 1u) << c.name;
        EXPECT_TRUE(log_.modal) << c.name;
        EXPECT_EQ(log_.deactivated, 1) << c.name;
        EXPECT_TRUE(log_.released) << c.name;
        EXPECT_EQ(log_.area.right - log_.area.left, 200) << c.name;
        EXPECT_EQ(log_.area.bottom - log_.area.top, 120) << c.name;
    }
}

TEST_F(PropertyFrameTest, UnknownPageClassOrMissingObjectsShowNothing) {
    const CLSID unknown = {0x1, 0x2, 0x3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(show(unknown), REGDB_E_CLASSNOTREG);
    EXPECT_EQ(OleCreatePropertyFrame(nullptr, 0, 0, nullptr, 0, nullptr, 1, &kPageClass, 0, 0, nullptr), E_INVALIDARG);
    EXPECT_EQ(log_.objects, 0u);
}

} // namespace
