// VideoCompressor and the list of GStreamer video encoders behind the compressor category.
#include "video_compressor.h"

#include <algorithm>
#include <new>

#include <gst/gst.h>

#include <win32/codepage.h>

#include "builtin_classes.h"
#include "gst_ready.h"
#include "raw_video_caps.h"

namespace platform::dshow {
namespace {

// {5B0D7E1A-3C44-4F8E-9A61-2E7C0B9D4F13}
const CLSID kCompressorClass = {0x5B0D7E1A, 0x3C44, 0x4F8E, {0x9A, 0x61, 0x2E, 0x7C, 0x0B, 0x9D, 0x4F, 0x13}};

// UTF-8 text as a wide string; empty when it is not UTF-8.
std::wstring widen(const char* text) {
    const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (length <= 1)
        return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    wide.pop_back();
    return wide;
}

// avimux's video input caps, or null.
GstCaps* muxVideoCaps() {
    GstElementFactory* mux = gst_element_factory_find("avimux");
    if (!mux)
        return nullptr;
    GstCaps* caps = nullptr;
    for (const GList* item = gst_element_factory_get_static_pad_templates(mux); item; item = item->next) {
        auto* pad = static_cast<GstStaticPadTemplate*>(item->data);
        if (pad->direction == GST_PAD_SINK && std::string_view(pad->name_template).starts_with("video"))
            caps = gst_static_pad_template_get_caps(pad);
    }
    gst_object_unref(mux);
    return caps;
}

} // namespace

VideoCompressor::VideoCompressor(std::string element)
    : TransformFilter(kCompressorClass), element_(std::move(element)) {}

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

std::vector<DeviceEntry> videoCompressorDevices() {
    std::vector<DeviceEntry> devices;
    if (!gstreamerReady())
        return devices;
    GstCaps* muxCaps = muxVideoCaps();
    if (!muxCaps)
        return devices;
    GList* encoders =
        gst_element_factory_list_get_elements(GST_ELEMENT_FACTORY_TYPE_VIDEO_ENCODER, GST_RANK_NONE);
    for (GList* item = encoders; item; item = item->next) {
        auto* factory = static_cast<GstElementFactory*>(item->data);
        if (!gst_element_factory_can_src_any_caps(factory, muxCaps))
            continue;
        const std::string element = gst_plugin_feature_get_name(GST_PLUGIN_FEATURE(factory));
        const char* longName = gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_LONGNAME);
        devices.push_back({widen(longName ? longName : element.c_str()), L"gst:" + widen(element.c_str()),
                           [element](REFIID riid, void** object) -> HRESULT {
                               auto* raw = new (std::nothrow) VideoCompressor(element);
                               if (!raw)
                                   return E_OUTOFMEMORY;
                               ComPtr<VideoCompressor> compressor = ComPtr<VideoCompressor>::adopt(raw);
                               return compressor->QueryInterface(riid, object);
                           }});
    }
    gst_plugin_feature_list_free(encoders);
    gst_caps_unref(muxCaps);
    std::sort(devices.begin(), devices.end(),
              [](const DeviceEntry& a, const DeviceEntry& b) { return a.friendlyName < b.friendlyName; });
    return devices;
}

} // namespace platform::dshow
