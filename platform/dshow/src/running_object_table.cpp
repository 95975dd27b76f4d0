// The running object table and item monikers.
#include <algorithm>
#include <cwchar>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include <dshow/com_object.h>
#include <dshow/com_ptr.h>
#include <dshow/moniker.h>

#include "list_enumerator.h"

namespace platform::dshow {
namespace {

// A new task-memory copy of `text`, or null.
LPOLESTR taskString(const std::wstring& text) {
    auto* copy = static_cast<LPOLESTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(OLECHAR)));
    if (copy) {
        text.copy(copy, text.size());
        copy[text.size()] = 0;
    }
    return copy;
}

// The display name of a moniker, or empty when it has none.
std::wstring displayName(IMoniker* moniker) {
    LPOLESTR name = nullptr;
    if (!moniker || FAILED(moniker->GetDisplayName(nullptr, nullptr, &name)) || !name)
        return {};
    std::wstring text(name);
    CoTaskMemFree(name);
    return text;
}

class ItemMoniker final : public ComObject<IMoniker> {
public:
    explicit ItemMoniker(std::wstring name) : name_(std::move(name)) {}

    // Items name running objects; they bind through the running object table only.
    HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx*, IMoniker*, REFIID, void** object) override {
        if (object)
            *object = nullptr;
        return MK_E_NOOBJECT;
    }
    HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx*, IMoniker*, REFIID, void** object) override {
        if (object)
            *object = nullptr;
        return MK_E_NOOBJECT;
    }
    HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx*, IMoniker*, LPOLESTR* name) override {
        if (!name)
            return E_POINTER;
        *name = taskString(name_);
        return *name ? S_OK : E_OUTOFMEMORY;
    }

private:
    std::wstring name_;
};

// Entries by display name. A weak entry holds a plain pointer, a keep-alive one a reference.
class RunningObjectTable final : public IRunningObjectTable {
public:
    // The table lives as long as the process: its count never ends it.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IRunningObjectTable) {
            *object = static_cast<IRunningObjectTable*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE Register(DWORD flags, IUnknown* object, IMoniker* name,
                                       DWORD* cookie) override {
        if (!object || !name || !cookie)
            return E_INVALIDARG;
        std::wstring key = displayName(name);
        try {
            std::lock_guard guard(lock_);
            bool keepAlive = (flags & ROTFLAGS_REGISTRATIONKEEPSALIVE) != 0;
            entries_.push_back({nextCookie_, std::move(key), object, keepAlive});
            if (keepAlive)
                object->AddRef();
            *cookie = nextCookie_++;
            return S_OK;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }

    HRESULT STDMETHODCALLTYPE Revoke(DWORD cookie) override {
        IUnknown* held = nullptr;
        {
            std::lock_guard guard(lock_);
            auto it = std::find_if(entries_.begin(), entries_.end(),
                                   [&](const Entry& e) { return e.cookie == cookie; });
            if (it == entries_.end())
                return E_INVALIDARG;
            if (it->keepAlive)
                held = it->object;
            entries_.erase(it);
        }
        if (held)
            held->Release();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE IsRunning(IMoniker* name) override {
        std::wstring key = displayName(name);
        std::lock_guard guard(lock_);
        return find(key) ? S_OK : S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE GetObject(IMoniker* name, IUnknown** object) override {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        std::wstring key = displayName(name);
        std::lock_guard guard(lock_);
        const Entry* entry = find(key);
        if (!entry)
            return MK_E_UNAVAILABLE;
        entry->object->AddRef();
        *object = entry->object;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE EnumRunning(IEnumMoniker** monikers) override {
        if (!monikers)
            return E_POINTER;
        *monikers = nullptr;
        try {
            std::vector<ComPtr<IMoniker>> names;
            {
                std::lock_guard guard(lock_);
                for (const Entry& e : entries_)
                    names.push_back(ComPtr<IMoniker>::adopt(new ItemMoniker(e.name)));
            }
            *monikers = new ListEnumerator<IEnumMoniker, IMoniker>(std::move(names));
            return S_OK;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }

private:
    struct Entry {
        DWORD cookie;
        std::wstring name;
        IUnknown* object;
        bool keepAlive;
    };

    const Entry* find(const std::wstring& key) const {
        for (const Entry& e : entries_)
            if (!key.empty() && e.name == key)
                return &e;
        return nullptr;
    }

    std::mutex lock_; // guards entries_ and nextCookie_
    std::vector<Entry> entries_;
    DWORD nextCookie_ = 1;
};

} // namespace
} // namespace platform::dshow

HRESULT GetRunningObjectTable(DWORD reserved, IRunningObjectTable** table) {
    if (!table)
        return E_POINTER;
    *table = nullptr;
    if (reserved != 0)
        return E_INVALIDARG;
    static auto* instance = new platform::dshow::RunningObjectTable;
    *table = instance;
    return S_OK;
}

HRESULT CreateItemMoniker(LPCOLESTR delimiter, LPCOLESTR item, IMoniker** moniker) {
    if (!moniker)
        return E_POINTER;
    *moniker = nullptr;
    try {
        std::wstring name = std::wstring(delimiter ? delimiter : L"") + (item ? item : L"");
        *moniker = new platform::dshow::ItemMoniker(std::move(name));
        return S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}
