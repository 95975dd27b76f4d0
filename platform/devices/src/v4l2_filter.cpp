// Binding a V4L2 camera: a capture filter over a V4L2 source, without the chip's private interface.
#include "v4l2_filter.h"

#include "capture_filter.h"
#include "v4l2_source.h"

namespace platform::devices {

HRESULT bindV4l2Filter(const std::string& path, V4l2Io& io, REFIID riid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    auto source = V4l2Source::open(path, io);
    if (!source)
        return HRESULT_FROM_WIN32(ERROR_NOT_READY);
    return bindCaptureFilter(std::move(source), false, riid, object);
}

} // namespace platform::devices
