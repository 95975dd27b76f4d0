// sndPlaySound on a GStreamer playbin; one sound at a time.
#include <win32/native_path.h>
#include <win32/sound.h>

#include <testing/sound_shell.h>

#include <gst/gst.h>
#include <unistd.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

namespace {

constexpr GstClockTime prerollLimit = 5 * GST_SECOND;

// One playing sound: its pipeline, and the thread that waits for its end (asynchronous sounds).
class Playback {
public:
    explicit Playback(GstElement* pipeline) : pipeline_(pipeline) {}
    ~Playback() {
        stop_ = true;
        if (waiter_.joinable())
            waiter_.join();
        gst_element_set_state(pipeline_, GST_STATE_NULL);
        gst_object_unref(pipeline_);
    }
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;

    // Waits until the end of the stream, an error or stop().
    void waitForEnd() {
        GstBus* bus = gst_element_get_bus(pipeline_);
        while (!stop_) {
            GstMessage* message = gst_bus_timed_pop_filtered(
                bus, 50 * GST_MSECOND, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
            if (message) {
                gst_message_unref(message);
                break;
            }
        }
        gst_object_unref(bus);
    }
    void waitInBackground() {
        waiter_ = std::thread([this] { waitForEnd(); });
    }

private:
    GstElement* pipeline_;
    std::atomic<bool> stop_{false};
    std::thread waiter_;
};

std::mutex playing; // guards current, and serialises the calls
// Never destroyed: a sound may still play while the process exits.
std::unique_ptr<Playback>& current() {
    static auto* playback = new std::unique_ptr<Playback>;
    return *playback;
}

// A paused playbin for the file, or null when it does not preroll. With `silent`, audio goes to a fake
// sink (no audio device).
GstElement* preparedPipeline(const std::string& path, bool silent) {
    gchar* uri = gst_filename_to_uri(path.c_str(), nullptr);
    GstElement* pipeline = gst_element_factory_make("playbin", nullptr);
    if (!uri || !pipeline) {
        g_free(uri);
        if (pipeline)
            gst_object_unref(pipeline);
        return nullptr;
    }
    g_object_set(pipeline, "uri", uri, nullptr);
    g_free(uri);
    // No video window for a file that also holds pictures.
    g_object_set(pipeline, "video-sink", gst_element_factory_make("fakesink", nullptr), nullptr);
    if (silent)
        g_object_set(pipeline, "audio-sink", gst_element_factory_make("fakesink", nullptr), nullptr);
    gst_element_set_state(pipeline, GST_STATE_PAUSED);
    if (gst_element_get_state(pipeline, nullptr, nullptr, prerollLimit) == GST_STATE_CHANGE_SUCCESS)
        return pipeline;
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return nullptr;
}

} // namespace

BOOL sndPlaySound(LPCTSTR sound, UINT flags) {
    if ((flags & ~(SND_ASYNC | SND_NODEFAULT)) != 0)
        return FALSE;
    const std::string native = sound ? platform::toNativePath(sound) : std::string();
    const bool exists = sound && access(native.c_str(), R_OK) == 0;
    if (platform::seams::recordSound({sound ? sound : "", flags}))
        return !sound || exists;

    std::lock_guard guard(playing);
    current().reset();
    if (!sound)
        return TRUE;
    if (!exists || !gst_init_check(nullptr, nullptr, nullptr))
        return FALSE;
    // A file that does not preroll on the audio device is tried once more on a fake sink: a missing
    // device plays silently, a file that cannot be played fails there too.
    GstElement* pipeline = preparedPipeline(native, false);
    if (!pipeline)
        pipeline = preparedPipeline(native, true);
    if (!pipeline)
        return FALSE;
    auto playback = std::make_unique<Playback>(pipeline);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    if (flags & SND_ASYNC) {
        playback->waitInBackground();
        current() = std::move(playback);
    } else {
        playback->waitForEnd();
    }
    return TRUE;
}
