// RendererInput: the input pin of a renderer, checking types and taking samples through two functions.
#pragma once

#include <functional>

#include <dshow/filter_base.h>

namespace platform::dshow {

class RendererInput final : public InputPin {
public:
    using Check = std::function<HRESULT(const AM_MEDIA_TYPE&)>;
    using Render = std::function<HRESULT(IMediaSample*)>;

    RendererInput(FilterBase& filter, Check check, Render render)
        : InputPin(filter, L"In"), check_(std::move(check)), render_(std::move(render)) {}

    HRESULT checkMediaType(const AM_MEDIA_TYPE& type) override { return check_(type); }
    HRESULT receive(IMediaSample* sample) override { return render_(sample); }

private:
    Check check_;
    Render render_;
};

} // namespace platform::dshow
