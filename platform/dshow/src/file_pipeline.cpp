// FilePipeline on GStreamer: playbin with an appsink for BGR video and the default audio sink.
//
// The pipeline never goes below PAUSED once open, so a stopped graph keeps its place in the file and
// its current frame. Bus messages are read synchronously on the thread that posts them; only the end
// of the stream and errors while streaming are passed on.
#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <new>

#include <dshow/errors.h>
#include <dshow/graph.h>

#include "file_pipeline.h"
#include "gst_ready.h"

namespace platform::dshow {
namespace {

constexpr GstClockTime kPrerollLimit = 10 * GST_SECOND;
// playbin flags: video, audio, software volume and video as decoded (the video bin below converts it);
// no subtitles or visualisation.
constexpr guint kPlayFlags = 0x1 | 0x2 | 0x10 | 0x40;

// Some AVI headers give a pixel ratio of -1/1, which the converter refuses; frames here are
// drawn by size only, so such a ratio becomes 1/1.
GstPadProbeReturn squarePixels(GstPad*, GstPadProbeInfo* info, gpointer) {
    GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
    if (GST_EVENT_TYPE(event) != GST_EVENT_CAPS)
        return GST_PAD_PROBE_OK;
    GstCaps* caps = nullptr;
    gst_event_parse_caps(event, &caps);
    gint numerator = 1;
    gint denominator = 1;
    GstStructure* format = gst_caps_get_size(caps) > 0 ? gst_caps_get_structure(caps, 0) : nullptr;
    if (!format || !gst_structure_get_fraction(format, "pixel-aspect-ratio", &numerator, &denominator) ||
        (numerator > 0 && denominator > 0))
        return GST_PAD_PROBE_OK;
    GstCaps* fixed = gst_caps_copy(caps);
    gst_caps_set_simple(fixed, "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, nullptr);
    gst_event_unref(event);
    GST_PAD_PROBE_INFO_DATA(info) = gst_event_new_caps(fixed);
    gst_caps_unref(fixed);
    return GST_PAD_PROBE_OK;
}

// Whether the system offers an audio output. Asking the device providers prints nothing, where opening
// the default sink without a device makes the sound libraries report on stderr. Asked once per process:
// a provider that finds no sound server keeps what it allocated for the attempt.
bool audioOutputExists() {
    static const bool found = [] {
        GstDeviceMonitor* monitor = gst_device_monitor_new();
        gst_device_monitor_add_filter(monitor, "Audio/Sink", nullptr);
        GList* devices = gst_device_monitor_get_devices(monitor);
        const bool any = devices != nullptr;
        g_list_free_full(devices, gst_object_unref);
        gst_object_unref(monitor);
        return any;
    }();
    return found;
}

// GStreamer starts and joins its streaming threads through GLib's own locks, which the thread checker
// cannot see. The thread that builds and ends a pipeline and every callback on a streaming thread pass
// through this counter, which states that ordering in C++ terms. Statically initialised, so no plain
// write to it races with a callback.
constinit std::atomic<unsigned> handoff{0};

void handOver() {
    handoff.fetch_add(1, std::memory_order_acq_rel);
}

// A callback's stay on a streaming thread, handed over on the way in and on the way out.
struct Callback {
    Callback() { handOver(); }
    ~Callback() { handOver(); }
    Callback(const Callback&) = delete;
    Callback& operator=(const Callback&) = delete;
};

} // namespace

struct FilePipeline::Native {
    GstElement* playbin = nullptr;
    GstElement* frames = nullptr; // the appsink, with a reference
    FrameHandler onFrame;
    EventHandler onEvent;
    std::atomic<bool> streaming{false}; // errors count as events only after the preroll of open()

    Native(FrameHandler frame, EventHandler event) : onFrame(std::move(frame)), onEvent(std::move(event)) {}
    Native(const Native&) = delete;
    Native& operator=(const Native&) = delete;

    // Setting NULL joins every streaming thread before the handlers go.
    ~Native() {
        if (playbin) {
            gst_element_set_state(playbin, GST_STATE_NULL);
            handOver();
            GstBus* bus = gst_element_get_bus(playbin);
            gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
            gst_object_unref(bus);
            gst_object_unref(playbin);
        }
        if (frames)
            gst_object_unref(frames);
    }

    void deliver(GstSample* sample) {
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        GstVideoInfo info;
        GstMapInfo map;
        if (buffer && gst_video_info_from_caps(&info, gst_sample_get_caps(sample)) &&
            gst_buffer_map(buffer, &map, GST_MAP_READ)) {
            std::size_t stride = static_cast<std::size_t>(GST_VIDEO_INFO_PLANE_STRIDE(&info, 0));
            LONG width = GST_VIDEO_INFO_WIDTH(&info);
            LONG height = GST_VIDEO_INFO_HEIGHT(&info);
            if (map.size >= stride * static_cast<std::size_t>(height))
                onFrame(VideoFrame{map.data, stride, width, height});
            gst_buffer_unmap(buffer, &map);
        }
    }

    static GstFlowReturn newPreroll(GstAppSink* sink, gpointer self) {
        const Callback stay;
        if (GstSample* sample = gst_app_sink_pull_preroll(sink)) {
            static_cast<Native*>(self)->deliver(sample);
            gst_sample_unref(sample);
        }
        return GST_FLOW_OK;
    }

    static GstFlowReturn newSample(GstAppSink* sink, gpointer self) {
        const Callback stay;
        if (GstSample* sample = gst_app_sink_pull_sample(sink)) {
            static_cast<Native*>(self)->deliver(sample);
            gst_sample_unref(sample);
        }
        return GST_FLOW_OK;
    }

    static GstBusSyncReply busMessage(GstBus*, GstMessage* message, gpointer data) {
        auto* self = static_cast<Native*>(data);
        const Callback stay;
        if (self->streaming) {
            if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS)
                self->onEvent(EC_COMPLETE);
            else if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR)
                self->onEvent(EC_ERRORABORT);
        }
        return GST_BUS_DROP;
    }

    // Builds the playbin for `uri` with audio on the default device or, when `silent`, on a fake sink
    // that keeps real time. False when an element is missing.
    bool build(const gchar* uri, bool silent) {
        playbin = gst_element_factory_make("playbin", nullptr);
        GstElement* video = gst_parse_bin_from_description(
            "videoconvert name=convert ! appsink name=frames sync=true caps=video/x-raw,format=BGR", TRUE,
            nullptr);
        GstElement* audio = gst_element_factory_make(silent ? "fakesink" : "autoaudiosink", nullptr);
        if (!playbin || !video || !audio) {
            if (video)
                gst_object_unref(video);
            if (audio)
                gst_object_unref(audio);
            return false;
        }
        if (silent)
            g_object_set(audio, "sync", TRUE, nullptr);
        frames = gst_bin_get_by_name(GST_BIN(video), "frames");
        GstElement* convert = gst_bin_get_by_name(GST_BIN(video), "convert");
        GstPad* convertInput = gst_element_get_static_pad(convert, "sink");
        gst_pad_add_probe(convertInput, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, squarePixels, nullptr, nullptr);
        gst_object_unref(convertInput);
        gst_object_unref(convert);
        GstAppSinkCallbacks callbacks{};
        callbacks.new_preroll = newPreroll;
        callbacks.new_sample = newSample;
        gst_app_sink_set_callbacks(GST_APP_SINK(frames), &callbacks, this, nullptr);
        g_object_set(playbin, "uri", uri, "flags", kPlayFlags, "video-sink", video, "audio-sink", audio,
                     nullptr);
        GstBus* bus = gst_element_get_bus(playbin);
        gst_bus_set_sync_handler(bus, busMessage, this, nullptr);
        gst_object_unref(bus);
        handOver();
        return true;
    }

    bool preroll() {
        if (gst_element_set_state(playbin, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE)
            return false;
        return gst_element_get_state(playbin, nullptr, nullptr, kPrerollLimit) == GST_STATE_CHANGE_SUCCESS;
    }
};

FilePipeline::FilePipeline(std::unique_ptr<Native> native) : native_(std::move(native)) {}

FilePipeline::~FilePipeline() = default;

// Without an audio output at the first open the file plays on a fake audio sink from the start. A file that
// does not preroll with the audio device is tried once more on the fake sink: a busy device plays silently, a
// file that cannot be played fails there too.
HRESULT FilePipeline::open(const std::string& path, FrameHandler onFrame, EventHandler onEvent,
                           std::unique_ptr<FilePipeline>& pipeline) {
    pipeline.reset();
    if (access(path.c_str(), R_OK) != 0)
        return VFW_E_NOT_FOUND;
    if (!gstreamerReady())
        return VFW_E_CANNOT_RENDER;
    gchar* uri = gst_filename_to_uri(path.c_str(), nullptr);
    if (!uri)
        return VFW_E_NOT_FOUND;
    std::unique_ptr<Native> native;
    try {
        const bool audioOutput = audioOutputExists();
        for (bool silent : {false, true}) {
            if (!silent && !audioOutput)
                continue;
            native = std::make_unique<Native>(onFrame, onEvent);
            if (native->build(uri, silent) && native->preroll())
                break;
            native.reset();
        }
    } catch (const std::bad_alloc&) {
        g_free(uri);
        return E_OUTOFMEMORY;
    }
    g_free(uri);
    if (!native)
        return VFW_E_CANNOT_RENDER;

    gint videoStreams = 0;
    gint audioStreams = 0;
    g_object_get(native->playbin, "n-video", &videoStreams, "n-audio", &audioStreams, nullptr);
    LONG width = 0;
    LONG height = 0;
    GstPad* pad = gst_element_get_static_pad(native->frames, "sink");
    if (GstCaps* caps = gst_pad_get_current_caps(pad)) {
        GstVideoInfo info;
        if (videoStreams > 0 && gst_video_info_from_caps(&info, caps)) {
            width = GST_VIDEO_INFO_WIDTH(&info);
            height = GST_VIDEO_INFO_HEIGHT(&info);
        }
        gst_caps_unref(caps);
    }
    gst_object_unref(pad);
    if (width <= 0 && audioStreams <= 0)
        return VFW_E_CANNOT_RENDER;

    native->streaming = true;
    pipeline.reset(new (std::nothrow) FilePipeline(std::move(native)));
    if (!pipeline)
        return E_OUTOFMEMORY;
    pipeline->width_ = width;
    pipeline->height_ = height;
    pipeline->hasAudio_ = audioStreams > 0;
    LONGLONG start = 0;
    if (SUCCEEDED(pipeline->position(&start)))
        pipeline->start_ = start;
    return S_OK;
}

HRESULT FilePipeline::play() {
    return gst_element_set_state(native_->playbin, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE ? E_FAIL
                                                                                                  : S_OK;
}

HRESULT FilePipeline::pause() {
    return gst_element_set_state(native_->playbin, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE ? E_FAIL
                                                                                                 : S_OK;
}

void FilePipeline::showCurrentFrame() {
    GstSample* sample = nullptr;
    g_object_get(native_->frames, "last-sample", &sample, nullptr);
    if (sample) {
        native_->deliver(sample);
        gst_sample_unref(sample);
    }
}

HRESULT FilePipeline::duration(LONGLONG* units) const {
    gint64 nanoseconds = 0;
    if (!gst_element_query_duration(native_->playbin, GST_FORMAT_TIME, &nanoseconds) || nanoseconds < 0)
        return E_FAIL;
    *units = nanoseconds / 100;
    return S_OK;
}

HRESULT FilePipeline::position(LONGLONG* units) const {
    gint64 nanoseconds = 0;
    if (!gst_element_query_position(native_->playbin, GST_FORMAT_TIME, &nanoseconds) || nanoseconds < 0)
        return E_FAIL;
    *units = std::max<LONGLONG>(nanoseconds / 100 - start_, 0);
    return S_OK;
}

HRESULT FilePipeline::seek(LONGLONG units, bool keyFrame) {
    LONGLONG end = 0;
    if (SUCCEEDED(duration(&end)))
        units = std::min(units, end);
    units = std::max<LONGLONG>(units, 0) + start_;
    auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | (keyFrame ? GST_SEEK_FLAG_KEY_UNIT : 0));
    if (!gst_element_seek_simple(native_->playbin, GST_FORMAT_TIME, flags, static_cast<gint64>(units) * 100))
        return E_FAIL;
    return gst_element_get_state(native_->playbin, nullptr, nullptr, kPrerollLimit) ==
                   GST_STATE_CHANGE_FAILURE
               ? E_FAIL
               : S_OK;
}

void FilePipeline::setVolume(double linear) {
    g_object_set(native_->playbin, "volume", linear, nullptr);
}

double FilePipeline::volume() const {
    gdouble linear = 1.0;
    g_object_get(native_->playbin, "volume", &linear, nullptr);
    return linear;
}

} // namespace platform::dshow
