// PropertyBag: named VARIANT values behind IPropertyBag.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include <dshow/com_object.h>
#include <dshow/moniker.h>

namespace platform::dshow {

class PropertyBag final : public ComObject<IPropertyBag> {
public:
    PropertyBag() = default;
    ~PropertyBag() override;

    // Stores a string property. Throws std::bad_alloc.
    void setString(const std::wstring& name, const std::wstring& value);

    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) override;
    HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) override;

private:
    std::mutex lock_; // guards values_
    std::map<std::wstring, VARIANT> values_;
};

} // namespace platform::dshow
