// Reusable implementations of IUnknown: interface lookup, an intrusive count, added interfaces.
#pragma once

#include <atomic>
#include <type_traits>

#include <dshow/com.h>

namespace platform::dshow {

// `object` as the interface `riid` when it is Interface or one of the interfaces Interface extends.
template <class Interface>
void* matchInterface(Interface* object, REFIID riid) {
    if (riid == InterfaceTraits<Interface>::iid())
        return object;
    using Base = typename InterfaceTraits<Interface>::Base;
    if constexpr (std::is_same_v<Base, IUnknown>)
        return nullptr;
    else
        return matchInterface<Base>(object, riid);
}

// QueryInterface over the listed interfaces (and those they extend); IUnknown is the first one.
// AddRef and Release are left to the derived class.
template <class First, class... Rest>
class ComInterfaces : public First, public Rest... {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (!object)
            return E_POINTER;
        *object = queryInterface(riid);
        if (!*object)
            return E_NOINTERFACE;
        static_cast<IUnknown*>(static_cast<First*>(this))->AddRef();
        return S_OK;
    }

protected:
    ComInterfaces() = default;
    ComInterfaces(const ComInterfaces&) = delete;
    ComInterfaces& operator=(const ComInterfaces&) = delete;
    virtual ~ComInterfaces() = default;

    // The interface pointer for riid without a reference, or null. Overriders add interfaces and fall
    // back to this.
    virtual void* queryInterface(REFIID riid) {
        if (riid == IID_IUnknown)
            return static_cast<IUnknown*>(static_cast<First*>(this));
        void* found = matchInterface<First>(this, riid);
        ((found = found ? found : matchInterface<Rest>(this, riid)), ...);
        return found;
    }
};

// A free-standing COM object: starts with one reference (the creator's) and deletes itself when the last
// one goes. Any thread.
template <class... Interfaces>
class ComObject : public ComInterfaces<Interfaces...> {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return references_.fetch_add(1, std::memory_order_relaxed) + 1; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG left = references_.fetch_sub(1, std::memory_order_acq_rel) - 1;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    ComObject() = default;

private:
    std::atomic<ULONG> references_{1};
};

// Adds interfaces to an implementation class `Base` (a ComObject, a filter or a pin base):
//   class CapturePin : public WithInterfaces<OutputPin, IAMStreamConfig> { ... };
template <class Base, class... Extra>
class WithInterfaces : public Base, public Extra... {
public:
    using Base::Base;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        return Base::QueryInterface(riid, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return Base::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return Base::Release(); }

protected:
    void* queryInterface(REFIID riid) override {
        void* found = nullptr;
        ((found = found ? found : matchInterface<Extra>(this, riid)), ...);
        return found ? found : Base::queryInterface(riid);
    }
};

} // namespace platform::dshow
