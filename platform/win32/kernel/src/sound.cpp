// sndPlaySound on a GStreamer playbin; one sound at a time. An asynchronous sound is set up and played
// on a thread of its own, so the caller goes on at once.
#include <win32/native_path.h>
#include <win32/sound.h>

#include <seams/sound_shell.h>

#include <gst/gst.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <functional>
#include <thread>
#include <vector>

namespace {

constexpr GstClockTime prerollLimit = 5 * GST_SECOND;
constexpr GstClockTime stopCheck = 50 * GST_MSECOND; // how soon a waiting sound sees it was stopped

using StopFlag = std::shared_ptr<std::atomic<bool>>;

// The threads of asynchronous sounds. A stopped sound's thread ends on its own within a stop check; the
// process's exit stops the current one and waits up to a second for the threads, so none still plays
// while the libraries it uses are torn down. A thread stuck in the system (opening a pipe nobody writes)
// is left to the exit.
class SoundThreads {
public:
    ~SoundThreads() {
        std::lock_guard guard(lock_);
        stopCurrent();
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        for (Entry& entry : threads_) {
            while (!*entry.finished && std::chrono::steady_clock::now() < end)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            if (*entry.finished)
                entry.thread.join();
            else
                entry.thread.detach();
        }
    }
    // Stops the current sound, if any. The caller holds lock().
    void stopCurrent() {
        if (current_)
            *current_ = true;
        current_.reset();
    }
    // Starts `run` on a thread of its own as the current sound. The caller holds lock().
    void start(const std::function<void(const std::atomic<bool>& stop)>& run) {
        std::erase_if(threads_, [](Entry& entry) {
            if (!*entry.finished)
                return false;
            entry.thread.join();
            return true;
        });
        current_ = std::make_shared<std::atomic<bool>>(false);
        auto finished = std::make_shared<std::atomic<bool>>(false);
        threads_.push_back({std::thread([run, stop = current_, finished] {
                                run(*stop);
                                *finished = true;
                            }),
                            finished});
    }
    std::mutex& lock() { return lock_; }

private:
    struct Entry {
        std::thread thread;
        StopFlag finished;
    };
    std::mutex lock_; // guards current_ and threads_, and serialises the calls
    StopFlag current_; // the asynchronous sound playing now
    std::vector<Entry> threads_;
};

SoundThreads& soundThreads() {
    static SoundThreads threads;
    return threads;
}

// A paused playbin for the file, or null when it does not preroll (or `stop` came first). With `silent`,
// audio goes to a fake sink (no audio device).
GstElement* preparedPipeline(const std::string& path, bool silent, const std::atomic<bool>& stop) {
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
    for (GstClockTime waited = 0; waited < prerollLimit && !stop; waited += stopCheck) {
        const GstStateChangeReturn state = gst_element_get_state(pipeline, nullptr, nullptr, stopCheck);
        if (state == GST_STATE_CHANGE_SUCCESS)
            return pipeline;
        if (state != GST_STATE_CHANGE_ASYNC)
            break;
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return nullptr;
}

// Waits until the end of the stream, an error or `stop`.
void waitForEnd(GstElement* pipeline, const std::atomic<bool>& stop) {
    GstBus* bus = gst_element_get_bus(pipeline);
    while (!stop) {
        GstMessage* message = gst_bus_timed_pop_filtered(
            bus, stopCheck, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
        if (message) {
            gst_message_unref(message);
            break;
        }
    }
    gst_object_unref(bus);
}

// Plays the file to its end; false when it cannot be played. A file that does not preroll on the audio
// device is tried once more on a fake sink: a missing device plays silently, a file that cannot be played
// fails there too.
bool play(const std::string& path, const std::atomic<bool>& stop) {
    if (!gst_init_check(nullptr, nullptr, nullptr))
        return false;
    GstElement* pipeline = preparedPipeline(path, false, stop);
    if (!pipeline && !stop)
        pipeline = preparedPipeline(path, true, stop);
    if (!pipeline)
        return false;
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    waitForEnd(pipeline, stop);
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return true;
}

} // namespace

BOOL sndPlaySound(LPCTSTR sound, UINT flags) {
    if ((flags & ~(SND_ASYNC | SND_NODEFAULT)) != 0)
        return FALSE;
    const std::string native = sound ? platform::toNativePath(sound) : std::string();
    const bool exists = sound && access(native.c_str(), R_OK) == 0;
    if (platform::seams::recordSound({sound ? sound : "", flags}))
        return !sound || exists;

    SoundThreads& threads = soundThreads();
    std::lock_guard guard(threads.lock());
    threads.stopCurrent();
    if (!sound)
        return TRUE;
    if (!exists)
        return FALSE;
    if (flags & SND_ASYNC) {
        threads.start([native](const std::atomic<bool>& stop) { play(native, stop); });
        return TRUE;
    }
    const std::atomic<bool> never{false};
    return play(native, never) ? TRUE : FALSE;
}
