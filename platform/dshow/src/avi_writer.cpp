// AviWriter on GStreamer: appsrc (bottom-up rows turned over), the encoder, avimux and filesink.
#include "avi_writer.h"
#include "gst_ready.h"

#include <cstring>

#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

namespace platform::dshow {
namespace {

constexpr GstClockTime kCloseLimit = 30 * GST_SECOND;
constexpr guint64 kQueuedFrames = 8;

} // namespace

struct AviWriter::Pipeline {
    GstElement* pipeline = nullptr;
    GstAppSrc* source = nullptr;
    std::size_t frameBytes = 0;
    std::size_t rowBytes = 0; // nonzero: rows arrive bottom-up and are turned over
    GstClockTime frameTime = 0;
    guint64 frames = 0;

    ~Pipeline() {
        if (source)
            gst_object_unref(source);
        if (pipeline) {
            gst_element_set_state(pipeline, GST_STATE_NULL);
            gst_object_unref(pipeline);
        }
    }
};

AviWriter::AviWriter() = default;

AviWriter::~AviWriter() {
    close();
}

bool AviWriter::muxAccepts(const RawVideoCaps& caps) {
    if (!gstreamerReady())
        return false;
    GstElementFactory* factory = gst_element_factory_find("avimux");
    if (!factory)
        return false;
    GstCaps* offered = gst_caps_from_string(caps.caps.c_str());
    bool accepted = false;
    for (const GList* item = gst_element_factory_get_static_pad_templates(factory); item; item = item->next) {
        auto* pad = static_cast<GstStaticPadTemplate*>(item->data);
        if (pad->direction != GST_PAD_SINK || !offered)
            continue;
        GstCaps* taken = gst_static_pad_template_get_caps(pad);
        accepted = accepted || gst_caps_can_intersect(taken, offered);
        gst_caps_unref(taken);
    }
    if (offered)
        gst_caps_unref(offered);
    gst_object_unref(factory);
    return accepted;
}

HRESULT AviWriter::open(const RawVideoCaps& caps, const std::string& encoder, const std::string& path) {
    close();
    if (!gstreamerReady())
        return E_FAIL;
    // The caps on the first link make avimux give a video pad.
    std::string description = "appsrc name=frames format=time ! " + caps.caps + " ! ";
    if (!encoder.empty())
        description += "videoconvert ! " + encoder + " ! ";
    description += "avimux ! filesink name=file";
    auto built = std::make_unique<Pipeline>();
    GError* error = nullptr;
    built->pipeline = gst_parse_launch(description.c_str(), &error);
    if (error) {
        g_error_free(error);
        return E_FAIL;
    }
    GstElement* file = gst_bin_get_by_name(GST_BIN(built->pipeline), "file");
    g_object_set(file, "location", path.c_str(), nullptr);
    gst_object_unref(file);
    built->source = GST_APP_SRC(gst_bin_get_by_name(GST_BIN(built->pipeline), "frames"));
    GstCaps* frameCaps = gst_caps_from_string(caps.caps.c_str());
    if (!frameCaps)
        return E_FAIL;
    gint numerator = 0;
    gint denominator = 1;
    gst_structure_get_fraction(gst_caps_get_structure(frameCaps, 0), "framerate", &numerator, &denominator);
    built->frameTime = numerator > 0 ? gst_util_uint64_scale(GST_SECOND, denominator, numerator) : 0;
    gst_app_src_set_caps(built->source, frameCaps);
    gst_caps_unref(frameCaps);
    g_object_set(built->source, "block", TRUE, "max-bytes", guint64(caps.frameBytes * kQueuedFrames),
                 nullptr);
    built->frameBytes = caps.frameBytes;
    built->rowBytes = caps.bottomUp ? caps.frameBytes / caps.height : 0;
    if (gst_element_set_state(built->pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return E_FAIL;
    pipeline_ = std::move(built);
    return S_OK;
}

HRESULT AviWriter::write(const BYTE* data, std::size_t size) {
    if (!pipeline_)
        return E_UNEXPECTED;
    if (!data || size < pipeline_->frameBytes)
        return E_INVALIDARG;
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, pipeline_->frameBytes, nullptr);
    if (!buffer)
        return E_OUTOFMEMORY;
    if (pipeline_->rowBytes == 0) {
        gst_buffer_fill(buffer, 0, data, pipeline_->frameBytes);
    } else {
        // GStreamer rows run top-down.
        const std::size_t rows = pipeline_->frameBytes / pipeline_->rowBytes;
        for (std::size_t row = 0; row < rows; ++row)
            gst_buffer_fill(buffer, row * pipeline_->rowBytes, data + (rows - 1 - row) * pipeline_->rowBytes,
                            pipeline_->rowBytes);
    }
    GST_BUFFER_PTS(buffer) = pipeline_->frames * pipeline_->frameTime;
    GST_BUFFER_DURATION(buffer) = pipeline_->frameTime;
    ++pipeline_->frames;
    return gst_app_src_push_buffer(pipeline_->source, buffer) == GST_FLOW_OK ? S_OK : E_FAIL;
}

HRESULT AviWriter::close() {
    if (!pipeline_)
        return S_OK;
    std::unique_ptr<Pipeline> closing = std::move(pipeline_);
    gst_app_src_end_of_stream(closing->source);
    GstBus* bus = gst_element_get_bus(closing->pipeline);
    GstMessage* message = gst_bus_timed_pop_filtered(
        bus, kCloseLimit, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    gst_object_unref(bus);
    const bool complete = message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
    if (message)
        gst_message_unref(message);
    return complete ? S_OK : E_FAIL;
}

} // namespace platform::dshow
