// OwnedMediaType: an AM_MEDIA_TYPE value that frees its format block.
#pragma once

#include <dshow/media_type.h>

namespace platform::dshow {

class OwnedMediaType {
public:
    OwnedMediaType() = default;
    // Deep copy; throws std::bad_alloc when the format block cannot be copied.
    explicit OwnedMediaType(const AM_MEDIA_TYPE& type);
    OwnedMediaType(const OwnedMediaType& other) : OwnedMediaType(other.type_) {}
    OwnedMediaType(OwnedMediaType&& other) noexcept : type_(other.type_) { other.type_ = AM_MEDIA_TYPE{}; }
    OwnedMediaType& operator=(const OwnedMediaType& other);
    ~OwnedMediaType() { FreeMediaType(type_); }

    const AM_MEDIA_TYPE& get() const { return type_; }
    AM_MEDIA_TYPE& get() { return type_; }

private:
    AM_MEDIA_TYPE type_{};
};

// Whether `type` matches `pattern`, whose GUID_NULL fields match anything.
bool matchesPartialType(const AM_MEDIA_TYPE& type, const AM_MEDIA_TYPE& pattern);
// Whether a type names its major type, subtype and format type (a type to connect with as it is).
bool isFullType(const AM_MEDIA_TYPE& type);

} // namespace platform::dshow
