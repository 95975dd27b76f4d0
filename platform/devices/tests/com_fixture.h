// Fixture for tests of the capture filter through COM: the video input list, bound filters and a sink filter.
#pragma once

#include "sim_fixture.h"

#include <dshow/bridge_property.h>
#include <dshow/capture.h>
#include <dshow/com_ptr.h>
#include <dshow/device_enum.h>
#include <dshow/filter_base.h>

#include <mutex>
#include <string>

namespace platform::devices::testing {

using dshow::ComPtr;

// Records every sample that reaches it. Samples arrive on the streaming thread.
class SinkPin : public dshow::InputPin {
public:
    explicit SinkPin(dshow::FilterBase& filter) : InputPin(filter, L"In") {}
    HRESULT checkMediaType(const AM_MEDIA_TYPE& type) override { return type.majortype == MEDIATYPE_Video ? S_OK : S_FALSE; }
    HRESULT receive(IMediaSample* sample) override
    {
        std::lock_guard guard(mutex);
        REFERENCE_TIME start = 0, end = 0;
        sample->GetTime(&start, &end);
        starts.push_back(start);
        lengths.push_back(sample->GetActualDataLength());
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        last.assign(data, data + sample->GetActualDataLength());
        return S_OK;
    }
    std::size_t count()
    {
        std::lock_guard guard(mutex);
        return starts.size();
    }

    std::mutex mutex; // guards the records below
    std::vector<REFERENCE_TIME> starts;
    std::vector<LONG> lengths;
    std::vector<BYTE> last;
};

class SinkFilter : public dshow::FilterBase {
public:
    SinkFilter() : FilterBase(GUID_NULL) { in = addPin(std::make_unique<SinkPin>(*this)); }
    SinkPin* in;
};

class ComFixture : public SimFixture {
protected:
    ComFixture() : SimFixture(SimulatedCamera::primary()) {}
    void SetUp() override
    {
        SimulatedCamera::resetAll();
        SimFixture::SetUp();
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    }
    void TearDown() override
    {
        CoUninitialize();
        SimFixture::TearDown();
        SimulatedCamera::resetAll();
    }

    // Friendly names of the video input category, in order.
    std::vector<std::wstring> listedNames()
    {
        std::vector<std::wstring> names;
        for (auto& moniker : monikers()) {
            ComPtr<IPropertyBag> bag;
            EXPECT_EQ(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.putVoid()), S_OK);
            VARIANT v;
            VariantInit(&v);
            EXPECT_EQ(bag->Read(L"FriendlyName", &v, nullptr), S_OK);
            names.emplace_back(v.bstrVal);
            VariantClear(&v);
        }
        return names;
    }
    std::vector<ComPtr<IMoniker>> monikers()
    {
        std::vector<ComPtr<IMoniker>> list;
        ComPtr<ICreateDevEnum> devices;
        EXPECT_EQ(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                   devices.putVoid()),
                  S_OK);
        ComPtr<IEnumMoniker> each;
        if (devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, each.put(), 0) != S_OK)
            return list;
        ComPtr<IMoniker> moniker;
        while (each->Next(1, moniker.put(), nullptr) == S_OK)
            list.push_back(moniker);
        return list;
    }
    ComPtr<IBaseFilter> bind(std::size_t index)
    {
        ComPtr<IBaseFilter> filter;
        auto list = monikers();
        EXPECT_LT(index, list.size());
        if (index < list.size()) {
            EXPECT_EQ(list[index]->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter.putVoid()), S_OK);
        }
        return filter;
    }
    static IPin* pinOf(const ComPtr<IBaseFilter>& filter, std::size_t index)
    {
        return static_cast<dshow::FilterBase*>(filter.get())->pin(index);
    }
    template <class I> static ComPtr<I> query(IUnknown* object)
    {
        ComPtr<I> out;
        object->QueryInterface(dshow::InterfaceTraits<I>::iid(), out.putVoid());
        return out;
    }

    // A media type patched the way the camera library patches the pin's format for one table row.
    static AM_MEDIA_TYPE* patchedType(IAMStreamConfig* config, const GUID& subtype, WORD bits, LONG w, LONG h)
    {
        AM_MEDIA_TYPE* type = nullptr;
        EXPECT_EQ(config->GetFormat(&type), S_OK);
        auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type->pbFormat);
        type->subtype = subtype;
        info->bmiHeader.biBitCount = bits;
        info->bmiHeader.biCompression = subtype.Data1;
        info->bmiHeader.biWidth = w;
        info->bmiHeader.biHeight = h;
        info->bmiHeader.biSizeImage = DWORD(h * ((w * bits + 31) / 32) * 4);
        type->lSampleSize = info->bmiHeader.biSizeImage;
        return type;
    }
};

} // namespace platform::devices::testing
