// COM initialisation, the class table, reference counting and strings.
#include <thread>

#include <gtest/gtest.h>

#include <dshow/class_table.h>
#include <dshow/com_object.h>
#include <dshow/com_ptr.h>
#include <dshow/dshow.h>
#include <dshow/filter_base.h>
#include <win32/format_message.h>
#include <win32/local_memory.h>

#include "com_test_support.h"

namespace {

using namespace platform::dshow;

// Runs `body` on a fresh thread, so the test's own COM state stays untouched.
template <class Body>
void onNewThread(Body body) {
    std::thread(body).join();
}

TEST(CoInitializeTest, CountsPerThreadAndRefusesTheOtherMode) {
    onNewThread([] {
        EXPECT_EQ(CoInitialize(nullptr), S_OK);
        EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
        CoUninitialize();
        // Still initialised once: objects can be made.
        IUnknown* graph = nullptr;
        EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                   reinterpret_cast<void**>(&graph)),
                  S_OK);
        graph->Release();
        CoUninitialize();
        EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                                   reinterpret_cast<void**>(&graph)),
                  CO_E_NOTINITIALIZED);
        EXPECT_EQ(graph, nullptr);
        // The count does not go below zero; a new first call is S_OK in either mode.
        CoUninitialize();
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
        CoUninitialize();
    });
    // Another thread's initialisation does not reach this one.
    onNewThread([] { EXPECT_EQ(CoInitialize(nullptr), S_OK); });
}

using CoCreateInstanceTest = testing_dshow::ComTest;

TEST_F(CoCreateInstanceTest, MakesEveryBuiltInClass) {
    struct Case {
        const char* name;
        const CLSID& clsid;
        const IID& iid;
    } cases[] = {
        {"device enumerator", CLSID_SystemDeviceEnum, IID_ICreateDevEnum},
        {"filter graph", CLSID_FilterGraph, IID_IGraphBuilder},
        {"capture graph builder", CLSID_CaptureGraphBuilder2, IID_ICaptureGraphBuilder2},
        {"sample grabber", CLSID_SampleGrabber, IID_ISampleGrabber},
        {"null renderer", CLSID_NullRenderer, IID_IBaseFilter},
        {"AVI decompressor", CLSID_AVIDec, IID_IBaseFilter},
    };
    for (const Case& c : cases) {
        ComPtr<IUnknown> object;
        EXPECT_EQ(CoCreateInstance(c.clsid, nullptr, CLSCTX_INPROC_SERVER, c.iid, object.putVoid()), S_OK) << c.name;
        EXPECT_TRUE(object) << c.name;
    }
}

TEST_F(CoCreateInstanceTest, ReportsEachMisuse) {
    const CLSID unknown = {0x1, 0x2, 0x3, {4, 5, 6, 7, 8, 9, 10, 11}};
    ComPtr<IUnknown> outer;
    CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, outer.putVoid());
    struct Case {
        const char* name;
        const CLSID& clsid;
        IUnknown* outer;
        DWORD context;
        const IID& iid;
        HRESULT expected;
    } cases[] = {
        {"unknown class", unknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, REGDB_E_CLASSNOTREG},
        {"aggregation", CLSID_FilterGraph, outer.get(), CLSCTX_INPROC_SERVER, IID_IUnknown, CLASS_E_NOAGGREGATION},
        {"local server only", CLSID_FilterGraph, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, REGDB_E_CLASSNOTREG},
        {"missing interface", CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, E_NOINTERFACE},
    };
    for (const Case& c : cases) {
        void* object = reinterpret_cast<void*>(1);
        EXPECT_EQ(CoCreateInstance(c.clsid, c.outer, c.context, c.iid, &object), c.expected) << c.name;
        EXPECT_EQ(object, nullptr) << c.name;
    }
    EXPECT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, nullptr), E_POINTER);
}

TEST_F(CoCreateInstanceTest, RegisteredClassHidesTheBuiltInUntilUnregistered) {
    int made = 0;
    int token = registerClass(CLSID_NullRenderer, [&](REFIID, void** object) {
        ++made;
        *object = nullptr;
        return E_OUTOFMEMORY;
    });
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.putVoid()),
              E_OUTOFMEMORY);
    EXPECT_EQ(made, 1);
    unregisterClass(token);
    EXPECT_EQ(CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, filter.putVoid()),
              S_OK);
    EXPECT_EQ(made, 1);
}

// A counted object that records its destruction.
class Probe final : public ComObject<IBaseFilter> {
public:
    explicit Probe(bool& gone) : gone_(gone) {}
    ~Probe() override { gone_ = true; }
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Stop() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Pause() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetState(DWORD, FILTER_STATE*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR, IPin**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph*, LPCWSTR) override { return S_OK; }

private:
    bool& gone_;
};

TEST(ReferenceCountTest, ObjectLivesUntilItsLastReference) {
    bool gone = false;
    auto first = ComPtr<IBaseFilter>::adopt(new Probe(gone));
    ComPtr<IMediaFilter> base;
    ASSERT_EQ(first.as(base), S_OK); // an interface the filter interface extends
    ComPtr<IPersist> persist;
    ASSERT_EQ(first.as(persist), S_OK);
    ComPtr<IBaseFilter> moved = std::move(first);
    EXPECT_FALSE(first);
    EXPECT_EQ(moved->AddRef(), 4u);
    EXPECT_EQ(moved->Release(), 3u);
    moved.reset();
    base.reset();
    EXPECT_FALSE(gone);
    persist.reset();
    EXPECT_TRUE(gone);
}

TEST(ReferenceCountTest, QueryInterfaceGivesOneIdentityAndRefusesOthers) {
    bool gone = false;
    auto filter = ComPtr<IBaseFilter>::adopt(new Probe(gone));
    ComPtr<IUnknown> a, b;
    ComPtr<IPersist> persist;
    filter.as(a);
    filter.as(persist);
    persist.as(b);
    EXPECT_EQ(a.get(), b.get());
    ComPtr<IPin> pin;
    EXPECT_EQ(filter.as(pin), E_NOINTERFACE);
    EXPECT_FALSE(pin);
    EXPECT_EQ(filter->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
}

// Pins live inside their filter: a reference to a pin keeps the filter alive.
class PinOwner final : public FilterBase {
public:
    explicit PinOwner(bool& gone) : FilterBase(GUID_NULL), gone_(gone) {
        struct Pin final : InputPin {
            using InputPin::InputPin;
            HRESULT checkMediaType(const AM_MEDIA_TYPE&) override { return S_OK; }
            HRESULT receive(IMediaSample*) override { return S_OK; }
        };
        addPin(std::make_unique<Pin>(*this, L"In"));
    }
    ~PinOwner() override { gone_ = true; }

private:
    bool& gone_;
};

TEST(ReferenceCountTest, PinSharesItsFiltersCount) {
    bool gone = false;
    auto filter = ComPtr<IBaseFilter>::adopt(new PinOwner(gone));
    ComPtr<IPin> pin;
    ASSERT_EQ(filter->FindPin(L"In", pin.put()), S_OK);
    filter.reset();
    EXPECT_FALSE(gone);
    PIN_INFO info{};
    ASSERT_EQ(pin->QueryPinInfo(&info), S_OK);
    EXPECT_STREQ(info.achName, L"In");
    EXPECT_EQ(info.dir, PINDIR_INPUT);
    info.pFilter->Release();
    pin.reset();
    EXPECT_TRUE(gone);
}

TEST(BstrTest, KeepsLengthAndEmbeddedZeros) {
    BSTR text = SysAllocStringLen(L"ab\0cd", 5);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(SysStringLen(text), 5u);
    EXPECT_EQ(text[3], L'c');
    EXPECT_EQ(text[5], L'\0');
    SysFreeString(text);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);

    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    value.bstrVal = SysAllocString(L"USB 2820 Video");
    EXPECT_EQ(VariantClear(&value), S_OK); // frees the string (checked by the sanitizer build)
    EXPECT_EQ(value.vt, VT_EMPTY);
}

// Every failure code the COM and media layer returns has a system text, so an error box never comes up empty.
TEST(ErrorTextTest, EveryFailureCodeOfTheLayerHasAText) {
    const HRESULT codes[] = {
        E_FAIL,
        E_INVALIDARG,
        E_NOINTERFACE,
        E_NOTIMPL,
        E_OUTOFMEMORY,
        E_POINTER,
        E_UNEXPECTED,
        E_ABORT,
        CLASS_E_NOAGGREGATION,
        REGDB_E_CLASSNOTREG,
        CO_E_NOTINITIALIZED,
        MK_E_NOOBJECT,
        MK_E_UNAVAILABLE,
        DISP_E_TYPEMISMATCH,
        VFW_E_INVALIDMEDIATYPE,
        VFW_E_NEED_OWNER,
        VFW_E_ALREADY_CONNECTED,
        VFW_E_NO_ACCEPTABLE_TYPES,
        VFW_E_INVALID_DIRECTION,
        VFW_E_NOT_CONNECTED,
        VFW_E_NO_ALLOCATOR,
        VFW_E_NOT_FOUND,
        VFW_E_CANNOT_CONNECT,
        VFW_E_CANNOT_RENDER,
        VFW_E_NOT_STOPPED,
        VFW_E_WRONG_STATE,
        VFW_E_TYPE_NOT_ACCEPTED,
        VFW_E_DUPLICATE_NAME,
        VFW_E_NOT_IN_GRAPH,
        VFW_E_NO_TRANSPORT,
        VFW_E_SAMPLE_TIME_NOT_SET,
    };
    for (HRESULT code : codes) {
        char* text = nullptr;
        const DWORD length = FormatMessage(
            FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, static_cast<DWORD>(code),
            MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0, nullptr);
        EXPECT_GT(length, 2u) << std::hex << static_cast<DWORD>(code);
        LocalFree(text);
    }
}

} // namespace
