// The Null Renderer: accepts any stream and discards its samples.
#include <dshow/renderers.h>

#include "builtin_classes.h"
#include "renderer_input.h"

namespace platform::dshow {
namespace {

class NullRenderer final : public FilterBase {
public:
    NullRenderer() : FilterBase(CLSID_NullRenderer) {
        addPin(std::make_unique<RendererInput>(*this, [](const AM_MEDIA_TYPE&) { return S_OK; },
                                               [](IMediaSample*) { return S_OK; }));
    }
};

} // namespace

HRESULT createNullRenderer(REFIID riid, void** object) { return createObject<NullRenderer>(riid, object); }

} // namespace platform::dshow
