// The System Device Enumerator over the device catalog.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <dshow/com_ptr.h>
#include <dshow/device_catalog.h>
#include <dshow/dshow.h>

#include "com_test_support.h"
#include "graph_support.h"

namespace {

using namespace platform::dshow;

// A category no provider of the layer fills.
const GUID kTestCategory = {0x2F6A1C3E, 0x8B4D, 0x4E71, {0x9C, 0x05, 0x6D, 0x3B, 0x7A, 0x18, 0xE2, 0x94}};

class DeviceEnumTest : public testing_dshow::ComTest {
protected:
    void SetUp() override {
        ComTest::SetUp();
        ASSERT_EQ(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                   devices_.putVoid()),
                  S_OK);
    }
    void TearDown() override {
        for (int token : tokens_)
            unregisterDeviceProvider(token);
        devices_.reset();
        ComTest::TearDown();
    }
    void provide(const GUID& category, std::vector<DeviceEntry> entries) {
        tokens_.push_back(registerDeviceProvider(category, [entries] { return entries; }));
    }
    // FriendlyName of each moniker the category lists, in order.
    std::vector<std::wstring> names(const GUID& category) {
        std::vector<std::wstring> result;
        ComPtr<IEnumMoniker> list;
        if (devices_->CreateClassEnumerator(category, list.put(), 0) != S_OK)
            return result;
        IMoniker* moniker = nullptr;
        while (list->Next(1, &moniker, nullptr) == S_OK) {
            result.push_back(testing_dshow::friendlyName(moniker));
            moniker->Release();
        }
        return result;
    }

    ComPtr<ICreateDevEnum> devices_;
    std::vector<int> tokens_;
};

TEST_F(DeviceEnumTest, EmptyCategoryGivesFalseAndNoEnumerator) {
    IEnumMoniker* list = reinterpret_cast<IEnumMoniker*>(1);
    EXPECT_EQ(devices_->CreateClassEnumerator(kTestCategory, &list, 0), S_FALSE);
    EXPECT_EQ(list, nullptr);
}

TEST_F(DeviceEnumTest, ListsProvidersInRegistrationOrderPerCategory) {
    provide(CLSID_VideoInputDeviceCategory, {{L"USB 2820 Video", L"sim:0", nullptr}});
    provide(kTestCategory, {{L"MJPEG Compressor", L"enc:mjpeg", nullptr}});
    provide(CLSID_VideoInputDeviceCategory,
            {{L"USB 2861 Video", L"sim:1", nullptr}, {L"Webcam", L"/dev/video0", nullptr}});
    EXPECT_EQ(names(CLSID_VideoInputDeviceCategory),
              (std::vector<std::wstring>{L"USB 2820 Video", L"USB 2861 Video", L"Webcam"}));
    EXPECT_EQ(names(kTestCategory), (std::vector<std::wstring>{L"MJPEG Compressor"}));
    unregisterDeviceProvider(tokens_.front());
    EXPECT_EQ(names(CLSID_VideoInputDeviceCategory), (std::vector<std::wstring>{L"USB 2861 Video", L"Webcam"}));
}

TEST_F(DeviceEnumTest, ProviderIsAskedAgainForEachEnumeration) {
    std::vector<DeviceEntry> current;
    tokens_.push_back(registerDeviceProvider(CLSID_VideoInputDeviceCategory, [&] { return current; }));
    EXPECT_TRUE(names(CLSID_VideoInputDeviceCategory).empty());
    current.push_back({L"Hot-plugged", L"/dev/video2", nullptr});
    EXPECT_EQ(names(CLSID_VideoInputDeviceCategory), (std::vector<std::wstring>{L"Hot-plugged"}));
}

TEST_F(DeviceEnumTest, MonikerBindsPropertiesAndTheDeviceObject) {
    ComPtr<IBaseFilter> renderer;
    ASSERT_EQ(CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, renderer.putVoid()),
              S_OK);
    IBaseFilter* device = renderer.get();
    provide(CLSID_VideoInputDeviceCategory,
            {{L"USB 2820 Video", L"sim:0", [device](REFIID riid, void** object) { return device->QueryInterface(riid, object); }},
             {L"Broken", L"sim:9", nullptr}});
    ComPtr<IEnumMoniker> list;
    ASSERT_EQ(devices_->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, list.put(), 0), S_OK);
    IMoniker* monikers[3] = {};
    ULONG fetched = 0;
    EXPECT_EQ(list->Next(3, monikers, &fetched), S_FALSE); // only two were there
    ASSERT_EQ(fetched, 2u);
    auto first = ComPtr<IMoniker>::adopt(monikers[0]);
    auto second = ComPtr<IMoniker>::adopt(monikers[1]);

    ComPtr<IPropertyBag> bag;
    ASSERT_EQ(first->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.putVoid()), S_OK);
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    ASSERT_EQ(bag->Read(L"DevicePath", &value, nullptr), S_OK);
    EXPECT_STREQ(value.bstrVal, L"sim:0");
    VariantClear(&value);
    value.vt = VT_I4;
    EXPECT_EQ(bag->Read(L"FriendlyName", &value, nullptr), DISP_E_TYPEMISMATCH);
    value.vt = VT_EMPTY;
    EXPECT_EQ(bag->Read(L"Description", &value, nullptr), E_INVALIDARG);

    ComPtr<IBaseFilter> bound;
    ASSERT_EQ(first->BindToObject(nullptr, nullptr, IID_IBaseFilter, bound.putVoid()), S_OK);
    EXPECT_EQ(bound.get(), device);
    EXPECT_EQ(second->BindToObject(nullptr, nullptr, IID_IBaseFilter, bound.putVoid()), MK_E_NOOBJECT);
    EXPECT_FALSE(bound);

    // Reset starts the walk again.
    IMoniker* again = nullptr;
    EXPECT_EQ(list->Next(1, &again, nullptr), S_FALSE);
    EXPECT_EQ(list->Reset(), S_OK);
    ASSERT_EQ(list->Next(1, &again, nullptr), S_OK);
    again->Release();
}

} // namespace
