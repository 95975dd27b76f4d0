// VideoCompressor and the list of known GStreamer video encoders behind the compressor category.
#include "video_compressor.h"

#include <algorithm>
#include <new>

#include <gst/gst.h>

#include <win32/codepage.h>

#include "builtin_classes.h"
#include "compressor_config_dialog.h"
#include "compressor_settings.h"
#include "raw_video_caps.h"

namespace platform::dshow {
namespace {

// {5B0D7E1A-3C44-4F8E-9A61-2E7C0B9D4F13}
const CLSID kCompressorClass = {0x5B0D7E1A, 0x3C44, 0x4F8E, {0x9A, 0x61, 0x2E, 0x7C, 0x0B, 0x9D, 0x4F, 0x13}};

// UTF-8 text as a wide string; empty when it is not UTF-8.
std::wstring widen(const std::string& text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 1)
        return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide.data(), length);
    wide.pop_back();
    return wide;
}

// The factory's long name, else the element name.
std::string longName(const char* element) {
    GstElementFactory* factory = gst_element_factory_find(element);
    if (!factory)
        return element;
    const char* name = gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_LONGNAME);
    std::string text = name ? name : element;
    gst_object_unref(factory);
    return text;
}

} // namespace

VideoCompressor::VideoCompressor(std::string name, const KnownEncoder& encoder)
    : WithInterfaces(kCompressorClass), name_(std::move(name)), encoder_(encoder) {}

std::string VideoCompressor::encoderDescription() const {
    return encoder_.description(keptSettings(name_));
}

HRESULT VideoCompressor::checkInputType(const AM_MEDIA_TYPE& type) {
    RawVideoCaps caps;
    return rawVideoCaps(type, caps) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

// The input's own type: the frames pass unchanged to the multiplexer, which encodes them.
HRESULT VideoCompressor::getOutputType(int index, AM_MEDIA_TYPE* type) {
    if (index > 0)
        return VFW_S_NO_MORE_ITEMS;
    return CopyMediaType(type, &input().connectionType());
}

HRESULT VideoCompressor::transform(IMediaSample* sample) {
    return output().deliver(sample);
}

HRESULT VideoCompressor::ShowDialog(int dialog, HWND owner) {
    if (dialog == VfwCompressDialog_QueryConfig)
        return S_OK;
    if (dialog != VfwCompressDialog_Config)
        return E_NOTIMPL;
    try {
        CompressorSettings settings = keptSettings(name_);
        const HRESULT hr = showCompressorConfig(owner, name_, encoder_, settings);
        if (hr == S_OK)
            keepSettings(name_, settings);
        return FAILED(hr) ? hr : S_OK;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}

void* VideoCompressor::queryInterface(REFIID riid) {
    if (riid == IID_IAMVfwCompressDialogs && !encoder_.configurable())
        return nullptr;
    return WithInterfaces::queryInterface(riid);
}

std::vector<DeviceEntry> videoCompressorDevices() {
    std::vector<DeviceEntry> devices;
    for (const KnownEncoder* encoder : installedEncoders()) {
        const std::string name = longName(encoder->element);
        devices.push_back({widen(name), L"gst:" + widen(encoder->element),
                           [name, encoder](REFIID riid, void** object) -> HRESULT {
                               auto* raw = new (std::nothrow) VideoCompressor(name, *encoder);
                               if (!raw)
                                   return E_OUTOFMEMORY;
                               ComPtr<VideoCompressor> compressor = ComPtr<VideoCompressor>::adopt(raw);
                               return compressor->QueryInterface(riid, object);
                           }});
    }
    std::sort(devices.begin(), devices.end(),
              [](const DeviceEntry& a, const DeviceEntry& b) { return a.friendlyName < b.friendlyName; });
    return devices;
}

} // namespace platform::dshow
