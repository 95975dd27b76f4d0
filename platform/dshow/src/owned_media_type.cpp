// OwnedMediaType and media type matching.
#include <new>

#include "owned_media_type.h"

namespace platform::dshow {

OwnedMediaType::OwnedMediaType(const AM_MEDIA_TYPE& type) {
    if (FAILED(CopyMediaType(&type_, &type)))
        throw std::bad_alloc();
}

OwnedMediaType& OwnedMediaType::operator=(const OwnedMediaType& other) {
    if (this != &other) {
        AM_MEDIA_TYPE copy{};
        if (FAILED(CopyMediaType(&copy, &other.type_)))
            throw std::bad_alloc();
        FreeMediaType(type_);
        type_ = copy;
    }
    return *this;
}

bool matchesPartialType(const AM_MEDIA_TYPE& type, const AM_MEDIA_TYPE& pattern) {
    auto fits = [](const GUID& value, const GUID& wanted) { return wanted == GUID_NULL || value == wanted; };
    return fits(type.majortype, pattern.majortype) && fits(type.subtype, pattern.subtype) &&
           fits(type.formattype, pattern.formattype);
}

bool isFullType(const AM_MEDIA_TYPE& type) {
    return type.majortype != GUID_NULL && type.subtype != GUID_NULL && type.formattype != GUID_NULL;
}

} // namespace platform::dshow
