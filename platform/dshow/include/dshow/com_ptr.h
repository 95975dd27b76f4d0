// ComPtr: an owning smart pointer for COM interfaces.
#pragma once

#include <cstddef>
#include <utility>

#include <dshow/com.h>

namespace platform::dshow {

// Holds one reference. Construction from a raw pointer adds a reference; adopt() takes over one.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    ComPtr(T* p) : p_(p) {
        if (p_)
            p_->AddRef();
    }
    ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ~ComPtr() { reset(); }

    ComPtr& operator=(const ComPtr& other) {
        ComPtr(other).swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& other) noexcept {
        ComPtr(std::move(other)).swap(*this);
        return *this;
    }

    // Takes over the reference that `p` carries.
    static ComPtr adopt(T* p) {
        ComPtr result;
        result.p_ = p;
        return result;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    T& operator*() const { return *p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // Same interface pointer.
    bool operator==(const ComPtr& other) const { return p_ == other.p_; }

    // Releases the held reference and gives the slot for an out parameter.
    T** put() {
        reset();
        return &p_;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }

    // Gives up the reference without releasing it.
    T* detach() { return std::exchange(p_, nullptr); }
    void reset() {
        if (T* p = std::exchange(p_, nullptr))
            p->Release();
    }
    void swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }

    // Hands a new reference to an out parameter (null gives E_POINTER).
    HRESULT copyTo(T** out) const {
        if (!out)
            return E_POINTER;
        *out = p_;
        if (p_)
            p_->AddRef();
        return S_OK;
    }

    // QueryInterface for `riid` into `out`.
    template <class U>
    HRESULT as(ComPtr<U>& out) const {
        if (!p_)
            return E_POINTER;
        return p_->QueryInterface(InterfaceTraits<U>::iid(), out.putVoid());
    }

private:
    T* p_ = nullptr;
};

} // namespace platform::dshow
