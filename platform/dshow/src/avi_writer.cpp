// AviWriter on GStreamer: appsrc (bottom-up rows turned over, frames stamped by capture time), videorate
// for the file's constant rate, the encoder, avimux and filesink. Nothing here waits without a bound: the
// start waits for the pipeline to play, a frame for room in the queue, the close for the end of stream.
#include "avi_writer.h"
#include "gst_ready.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>

#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

namespace platform::dshow {
namespace {

constexpr GstClockTime kStartLimit = 5 * GST_SECOND;
constexpr GstClockTime kCloseLimit = 10 * GST_SECOND;
constexpr auto kRoomWait = std::chrono::milliseconds(500);
// The queue ahead of the encoder holds a second of frames, at least four, within a byte limit.
constexpr double kQueuedSeconds = 1.0;
constexpr std::size_t kQueuedFramesMin = 4;
constexpr std::size_t kQueueBytesMax = std::size_t{96} << 20;
constexpr LONGLONG kHundredNanoseconds = 100;

// Why the file of `path` could not be opened: its folder is missing, or it may not be written there.
HRESULT openFailure(const std::string& path) {
    std::error_code error;
    const bool folder = std::filesystem::is_directory(std::filesystem::path(path).parent_path(), error);
    return folder ? E_ACCESSDENIED : HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
}

} // namespace

struct AviWriter::Pipeline {
    GstElement* pipeline = nullptr;
    GstAppSrc* source = nullptr;
    std::size_t frameBytes = 0;
    std::size_t rowBytes = 0; // nonzero: rows arrive bottom-up and are turned over
    std::size_t queueBytes = 0;
    GstClockTime frameTime = 0;
    bool haveFirst = false;
    LONGLONG firstTime = 0;
    LONGLONG lastTime = 0;
    Counts counts;

    std::mutex lock;                // orders the wake-ups below with the waits on `moved`
    std::condition_variable moved;  // a queued frame left the queue, or the pipeline failed
    std::atomic<bool> failed{false};
    std::atomic<bool> fileRefused{false}; // the sink could not open the file for writing

    ~Pipeline() {
        if (source)
            gst_object_unref(source);
        if (pipeline) {
            gst_element_set_state(pipeline, GST_STATE_NULL);
            GstBus* bus = gst_element_get_bus(pipeline);
            gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
            gst_object_unref(bus);
            gst_object_unref(pipeline);
        }
    }

    void wake() {
        { std::lock_guard guard(lock); }
        moved.notify_all();
    }
    bool hasRoom() const {
        return gst_app_src_get_current_level_bytes(source) + frameBytes <= queueBytes;
    }

    // GStreamer's threads: an error fails every later write; each frame leaving the queue makes room.
    static GstBusSyncReply onMessage(GstBus*, GstMessage* message, gpointer self) {
        if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
            auto* pipeline = static_cast<Pipeline*>(self);
            GError* error = nullptr;
            gst_message_parse_error(message, &error, nullptr);
            if (error && error->domain == GST_RESOURCE_ERROR && error->code == GST_RESOURCE_ERROR_OPEN_WRITE)
                pipeline->fileRefused = true;
            if (error)
                g_error_free(error);
            pipeline->failed = true;
            pipeline->wake();
        }
        return GST_BUS_PASS;
    }
    static GstPadProbeReturn onFrameLeft(GstPad*, GstPadProbeInfo*, gpointer self) {
        static_cast<Pipeline*>(self)->wake();
        return GST_PAD_PROBE_OK;
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
    std::string description = "appsrc name=frames ! " + caps.caps + " ! videorate ! ";
    if (!encoder.empty())
        description += "videoconvert ! " + encoder + " ! ";
    description += "avimux ! filesink name=file async=false";
    auto built = std::make_unique<Pipeline>();
    GError* error = nullptr;
    built->pipeline = gst_parse_launch(description.c_str(), &error);
    if (error) {
        g_error_free(error);
        return E_FAIL;
    }
    GstBus* bus = gst_element_get_bus(built->pipeline);
    gst_bus_set_sync_handler(bus, Pipeline::onMessage, built.get(), nullptr);
    gst_object_unref(bus);
    GstElement* file = gst_bin_get_by_name(GST_BIN(built->pipeline), "file");
    g_object_set(file, "location", path.c_str(), nullptr);
    gst_object_unref(file);
    built->source = GST_APP_SRC(gst_bin_get_by_name(GST_BIN(built->pipeline), "frames"));
    GstPad* leaving = gst_element_get_static_pad(GST_ELEMENT(built->source), "src");
    gst_pad_add_probe(leaving, GST_PAD_PROBE_TYPE_BUFFER, Pipeline::onFrameLeft, built.get(), nullptr);
    gst_object_unref(leaving);

    GstCaps* frameCaps = gst_caps_from_string(caps.caps.c_str());
    if (!frameCaps)
        return E_FAIL;
    gint numerator = 0;
    gint denominator = 1;
    gst_structure_get_fraction(gst_caps_get_structure(frameCaps, 0), "framerate", &numerator, &denominator);
    built->frameTime = numerator > 0 ? gst_util_uint64_scale(GST_SECOND, denominator, numerator) : 0;
    gst_app_src_set_caps(built->source, frameCaps);
    gst_caps_unref(frameCaps);
    const double framesPerSecond = numerator > 0 ? double(numerator) / denominator : 30.0;
    const auto queuedFrames =
        std::max(kQueuedFramesMin, static_cast<std::size_t>(framesPerSecond * kQueuedSeconds));
    built->queueBytes = std::max(2 * caps.frameBytes, std::min(queuedFrames * caps.frameBytes, kQueueBytesMax));
    // A live source and a sink that needs no first frame: the pipeline plays at once, a push never blocks.
    g_object_set(built->source, "format", GST_FORMAT_TIME, "is-live", TRUE, "block", FALSE, "max-bytes",
                 guint64(built->queueBytes), nullptr);
    built->frameBytes = caps.frameBytes;
    built->rowBytes = caps.bottomUp ? caps.frameBytes / caps.height : 0;
    if (gst_element_set_state(built->pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE)
        return built->fileRefused ? openFailure(path) : E_FAIL;
    GstState reached = GST_STATE_NULL;
    const GstStateChangeReturn change = gst_element_get_state(built->pipeline, &reached, nullptr, kStartLimit);
    if (change == GST_STATE_CHANGE_FAILURE || reached != GST_STATE_PLAYING || built->failed)
        return E_FAIL;
    pipeline_ = std::move(built);
    return S_OK;
}

HRESULT AviWriter::write(const BYTE* data, std::size_t size, LONGLONG time) {
    if (!pipeline_)
        return E_UNEXPECTED;
    Pipeline& p = *pipeline_;
    if (!data || size < p.frameBytes)
        return E_INVALIDARG;
    {
        std::unique_lock lock(p.lock);
        p.moved.wait_for(lock, kRoomWait, [&] { return p.failed || p.hasRoom(); });
    }
    if (p.failed) {
        ++p.counts.dropped;
        return E_FAIL;
    }
    if (!p.hasRoom()) {
        ++p.counts.dropped;
        return S_FALSE;
    }
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, p.frameBytes, nullptr);
    if (!buffer)
        return E_OUTOFMEMORY;
    if (p.rowBytes == 0) {
        gst_buffer_fill(buffer, 0, data, p.frameBytes);
    } else {
        // GStreamer rows run top-down.
        const std::size_t rows = p.frameBytes / p.rowBytes;
        for (std::size_t row = 0; row < rows; ++row)
            gst_buffer_fill(buffer, row * p.rowBytes, data + (rows - 1 - row) * p.rowBytes, p.rowBytes);
    }
    // The first frame starts the file; later ones sit where they were captured.
    if (time < 0)
        time = p.haveFirst ? p.lastTime + static_cast<LONGLONG>(p.frameTime) / kHundredNanoseconds : 0;
    p.lastTime = time;
    if (!p.haveFirst) {
        p.haveFirst = true;
        p.firstTime = time;
    }
    GST_BUFFER_PTS(buffer) = static_cast<GstClockTime>(std::max<LONGLONG>(0, time - p.firstTime)) *
                             kHundredNanoseconds;
    GST_BUFFER_DURATION(buffer) = p.frameTime;
    if (gst_app_src_push_buffer(p.source, buffer) != GST_FLOW_OK) {
        ++p.counts.dropped;
        return E_FAIL;
    }
    ++p.counts.written;
    return S_OK;
}

HRESULT AviWriter::close(Counts* counts) {
    if (!pipeline_)
        return S_OK;
    std::unique_ptr<Pipeline> closing = std::move(pipeline_);
    if (counts)
        *counts = closing->counts;
    if (closing->failed)
        return E_FAIL;
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
