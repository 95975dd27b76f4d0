// TransformFilter: its two pins hand type checks and samples to the filter.
#include "owned_media_type.h"
#include "transform_filter.h"

namespace platform::dshow {
namespace {

class TransformInput final : public InputPin {
public:
    TransformInput(TransformFilter& owner) : InputPin(owner, L"Input"), owner_(owner) {}
    HRESULT checkMediaType(const AM_MEDIA_TYPE& type) override { return owner_.checkInputType(type); }
    HRESULT receive(IMediaSample* sample) override { return owner_.transform(sample); }

protected:
    // The output's types depend on the input: a new input type drops the output connection.
    void onDisconnected() override {
        if (auto* peer = owner_.output().connectedPin()) {
            peer->Disconnect();
            owner_.output().Disconnect();
        }
    }

private:
    TransformFilter& owner_;
};

class TransformOutput final : public OutputPin {
public:
    TransformOutput(TransformFilter& owner) : OutputPin(owner, L"Output"), owner_(owner) {}
    HRESULT getMediaType(int index, AM_MEDIA_TYPE* type) override {
        if (!owner_.input().isConnected())
            return VFW_S_NO_MORE_ITEMS;
        return owner_.getOutputType(index, type);
    }
    HRESULT checkMediaType(const AM_MEDIA_TYPE& type) override {
        if (!owner_.input().isConnected())
            return VFW_E_NOT_CONNECTED;
        return owner_.checkOutputType(type);
    }

private:
    TransformFilter& owner_;
};

} // namespace

TransformFilter::TransformFilter(const CLSID& clsid) : FilterBase(clsid) {
    input_ = addPin(std::make_unique<TransformInput>(*this));
    output_ = addPin(std::make_unique<TransformOutput>(*this));
}

HRESULT TransformFilter::checkOutputType(const AM_MEDIA_TYPE& type) {
    OwnedMediaType offered;
    if (getOutputType(0, &offered.get()) != S_OK)
        return VFW_E_TYPE_NOT_ACCEPTED;
    bool same = type.majortype == offered.get().majortype && type.subtype == offered.get().subtype;
    return same ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

} // namespace platform::dshow
