// The table of encoders that record: each keeps up with 1280x1024 frames at 15 frames a second and takes
// both capture sizes at the camera's rates. Of the others GStreamer offers, DV, H.263, MPEG-1/2 and
// OpenMAX refuse those sizes or rates, and JPEG 2000 and lossless JPEG fall far behind the camera.
#include "known_encoders.h"

#include <gst/gst.h>

#include "gst_ready.h"

namespace platform::dshow {
namespace {

constexpr int kBits = 1;
constexpr int kKilobits = 1000;

const KnownEncoder kEncoders[] = {
    {"jpegenc", "", "quality", nullptr, nullptr, 0},
    {"avenc_mjpeg", "", nullptr, nullptr, "bitrate", kBits},
    {"x264enc", "speed-preset=ultrafast tune=zerolatency", nullptr, "key-int-max", "bitrate", kKilobits},
    {"openh264enc", "", nullptr, "gop-size", "bitrate", kBits},
    {"vp8enc", "deadline=1", nullptr, "keyframe-max-dist", "target-bitrate", kBits},
    {"avenc_mpeg4", "", nullptr, "gop-size", "bitrate", kBits},
    {"avenc_msmpeg4", "", nullptr, "gop-size", "bitrate", kBits},
    {"avenc_msmpeg4v2", "", nullptr, "gop-size", "bitrate", kBits},
    {"avenc_wmv1", "", nullptr, "gop-size", "bitrate", kBits},
    {"avenc_wmv2", "", nullptr, "gop-size", "bitrate", kBits},
    {"avenc_h263p", "", nullptr, "gop-size", "bitrate", kBits},
    {"avenc_huffyuv", "", nullptr, nullptr, nullptr, 0},
    {"pngenc", "", nullptr, nullptr, nullptr, 0},
    {"avenc_png", "", nullptr, nullptr, nullptr, 0},
};

void appendProperty(std::string& text, const char* property, long long value) {
    if (property && value >= 0)
        text += std::string(" ") + property + "=" + std::to_string(value);
}

// The default of an integer property of `element`'s class; -1 when it has none.
long long propertyDefault(const char* element, const char* property) {
    GstElementFactory* found = property ? gst_element_factory_find(element) : nullptr;
    if (!found)
        return -1;
    // The element's type exists once its plugin is loaded.
    auto* factory = GST_ELEMENT_FACTORY(gst_plugin_feature_load(GST_PLUGIN_FEATURE(found)));
    gst_object_unref(found);
    if (!factory)
        return -1;
    long long value = -1;
    const GType type = gst_element_factory_get_element_type(factory);
    if (auto* elementClass = type ? static_cast<GObjectClass*>(g_type_class_ref(type)) : nullptr) {
        if (GParamSpec* param = g_object_class_find_property(elementClass, property)) {
            GValue wide = G_VALUE_INIT;
            g_value_init(&wide, G_TYPE_INT64);
            if (g_value_transform(g_param_spec_get_default_value(param), &wide))
                value = g_value_get_int64(&wide);
            g_value_unset(&wide);
        }
        g_type_class_unref(elementClass);
    }
    gst_object_unref(factory);
    return value;
}

int narrow(long long value) {
    return value < 0 || value > 0x7FFFFFFF ? -1 : static_cast<int>(value);
}

} // namespace

CompressorSettings KnownEncoder::defaults() const {
    CompressorSettings settings;
    settings.quality = narrow(propertyDefault(element, quality));
    settings.keyFrameInterval = narrow(propertyDefault(element, keyFrames));
    const long long rate = propertyDefault(element, bitRate);
    settings.bitRateKbps = rate < 0 ? -1 : narrow(rate * bitsPerUnit / 1000);
    return settings;
}

std::string KnownEncoder::description(const CompressorSettings& settings) const {
    std::string text = element;
    if (*options)
        text += std::string(" ") + options;
    appendProperty(text, quality, settings.quality);
    appendProperty(text, keyFrames, settings.keyFrameInterval);
    if (settings.bitRateKbps >= 0)
        appendProperty(text, bitRate, static_cast<long long>(settings.bitRateKbps) * 1000 / bitsPerUnit);
    return text;
}

std::vector<const KnownEncoder*> installedEncoders() {
    std::vector<const KnownEncoder*> installed;
    if (!gstreamerReady())
        return installed;
    for (const KnownEncoder& encoder : kEncoders) {
        if (GstElementFactory* factory = gst_element_factory_find(encoder.element)) {
            installed.push_back(&encoder);
            gst_object_unref(factory);
        }
    }
    return installed;
}

} // namespace platform::dshow
