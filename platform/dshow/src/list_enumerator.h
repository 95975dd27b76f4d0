// ListEnumerator: the IEnumXxx implementation over a snapshot list, shared by every enumerator.
#pragma once

#include <vector>

#include <dshow/com_object.h>
#include <dshow/com_ptr.h>

#include "owned_media_type.h"

namespace platform::dshow {

// A new reference for the caller.
template <class Item>
Item* handOut(const ComPtr<Item>& item) {
    item->AddRef();
    return item.get();
}
// A copy in task memory for DeleteMediaType, null when memory runs out.
inline AM_MEDIA_TYPE* handOut(const OwnedMediaType& item) { return CreateMediaType(&item.get()); }

// Walks `items` (taken at creation). Next gives S_FALSE when fewer than asked were left, E_OUTOFMEMORY
// when an item could not be handed out. Any thread, one at a time.
template <class Interface, class Item, class Stored = ComPtr<Item>>
class ListEnumerator final : public ComObject<Interface> {
public:
    explicit ListEnumerator(std::vector<Stored> items) : items_(std::move(items)) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG count, Item** out, ULONG* fetched) override {
        if (!out || (count > 1 && !fetched))
            return E_POINTER;
        ULONG given = 0;
        HRESULT result = S_OK;
        while (given < count && next_ < items_.size()) {
            Item* item = handOut(items_[next_]);
            if (!item) {
                result = E_OUTOFMEMORY;
                break;
            }
            out[given++] = item;
            ++next_;
        }
        if (fetched)
            *fetched = given;
        if (FAILED(result))
            return result;
        return given == count ? S_OK : S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        std::size_t left = items_.size() - next_;
        next_ += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }

    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = 0;
        return S_OK;
    }

private:
    std::vector<Stored> items_;
    std::size_t next_ = 0;
};

} // namespace platform::dshow
