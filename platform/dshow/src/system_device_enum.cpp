// The System Device Enumerator: monikers for the devices of a category.
#include <new>

#include <dshow/com_object.h>
#include <dshow/com_ptr.h>
#include <dshow/device_enum.h>

#include "builtin_classes.h"
#include "device_catalog_list.h"
#include "list_enumerator.h"
#include "property_bag.h"

namespace platform::dshow {
namespace {

// One device: its property bag and its binding.
class DeviceMoniker final : public ComObject<IMoniker> {
public:
    explicit DeviceMoniker(DeviceEntry entry) : entry_(std::move(entry)) {}

    HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx*, IMoniker*, REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (!entry_.bindToObject)
            return MK_E_NOOBJECT;
        return entry_.bindToObject(riid, object);
    }

    HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx*, IMoniker*, REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        try {
            auto bag = ComPtr<PropertyBag>::adopt(new PropertyBag);
            bag->setString(L"FriendlyName", entry_.friendlyName);
            bag->setString(L"DevicePath", entry_.devicePath);
            return bag->QueryInterface(riid, object);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }

    // "@device:" followed by the device path.
    HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx*, IMoniker*, LPOLESTR* name) override {
        if (!name)
            return E_POINTER;
        std::wstring text = L"@device:" + entry_.devicePath;
        *name = static_cast<LPOLESTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(OLECHAR)));
        if (!*name)
            return E_OUTOFMEMORY;
        text.copy(*name, text.size());
        (*name)[text.size()] = 0;
        return S_OK;
    }

private:
    DeviceEntry entry_;
};

using MonikerEnumerator = ListEnumerator<IEnumMoniker, IMoniker>;

class SystemDeviceEnum final : public ComObject<ICreateDevEnum> {
public:
    // S_FALSE with no enumerator for an empty category.
    HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID category, IEnumMoniker** monikers, DWORD) override {
        if (!monikers)
            return E_POINTER;
        *monikers = nullptr;
        try {
            std::vector<ComPtr<IMoniker>> list;
            for (DeviceEntry& entry : listDevices(category))
                list.push_back(ComPtr<IMoniker>::adopt(new DeviceMoniker(std::move(entry))));
            if (list.empty())
                return S_FALSE;
            *monikers = new MonikerEnumerator(std::move(list));
            return S_OK;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }
};

} // namespace

HRESULT createSystemDeviceEnum(REFIID riid, void** object) { return createObject<SystemDeviceEnum>(riid, object); }

} // namespace platform::dshow
