// Cost of one recorded 1280x1024 frame on the simulated camera (YUY2, raw and JPEG-encoded), against a
// stepped frame that no graph takes; and live recordings at 1280x1024: CPU time per recorded second and
// the frames lost, raw, MJPEG and H.264.
#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>

#include <dshow/recording_counts.h>

#include <devices/simulated_camera.h>
#include <seams/message_box.h>
#include <seams/registry_file.h>
#include <win32/registry.h>
#include <win32/user.h>

#include <camera/korvib.h>

namespace {

constexpr int kFramesPerFile = 60;

// A camera at 1280x1024 in stepped mode with its settings in a scratch registry file.
class BenchCamera {
public:
    explicit BenchCamera(const char* compressor, bool stepped = true)
        : folder_(std::filesystem::temp_directory_path() / "korvib_recording_bench"),
          camera_(platform::devices::SimulatedCamera::primary()), boxes_(IDOK) {
        std::filesystem::create_directories(folder_);
        platform::seams::setRegistryFile((folder_ / "registry.ini").string());
        platform::devices::SimulatedCamera::resetAll();
        camera_.setSteppedMode(stepped);
        HKEY key = nullptr;
        RegCreateKeyEx(HKEY_LOCAL_MACHINE, "SOFTWARE\\Veltrane\\Camera\\Korvi", 0, nullptr,
                       REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        RegSetValueEx(key, "Compressor", 0, REG_SZ, reinterpret_cast<const BYTE*>(compressor),
                      static_cast<DWORD>(std::string(compressor).size() + 1));
        RegCloseKey(key);
        KZ_Initial(&handle_, nullptr, 1);
        KZ_SetParam(handle_, KZ_PARAM_WIDTH, 1280);
        KZ_SetParam(handle_, KZ_PARAM_HEIGHT, 1024);
    }
    ~BenchCamera() {
        KZ_UnInitial(&handle_);
        camera_.setSteppedMode(false);
        platform::seams::setRegistryFile("");
        std::filesystem::remove_all(folder_);
    }
    bool Start() { return KZ_StartCapture(handle_, (folder_ / "clip.avi").c_str()) == KZ_OK; }
    void Stop() { KZ_StopCapture(handle_); }
    platform::devices::SimulatedCamera& Camera() { return camera_; }

private:
    std::filesystem::path folder_;
    platform::devices::SimulatedCamera camera_;
    platform::seams::MessageBoxRecorder boxes_;
    KZ_HANDLE handle_ = nullptr;
};

void BM_SteppedFrameAlone(benchmark::State& state) {
    BenchCamera bench("");
    for (auto _ : state) {
        bench.Camera().deliverFrames(1);
    }
}
BENCHMARK(BM_SteppedFrameAlone)->Unit(benchmark::kMillisecond)->UseRealTime();

// One frame rendered, delivered and written; every kFramesPerFile frames the file is closed (the encoder
// and multiplexer drained, the index written) and the next one started, all timed.
void RecordFrames(benchmark::State& state, const char* compressor) {
    BenchCamera bench(compressor);
    if (!bench.Start()) {
        state.SkipWithError("the recording did not start");
        return;
    }
    int frames = 0;
    for (auto _ : state) {
        bench.Camera().deliverFrames(1);
        if (++frames % kFramesPerFile == 0) {
            bench.Stop();
            bench.Start();
        }
    }
    bench.Stop();
}

void BM_RecordFrameRaw(benchmark::State& state) {
    RecordFrames(state, "No Compressor");
}
BENCHMARK(BM_RecordFrameRaw)->Unit(benchmark::kMillisecond)->Iterations(3 * kFramesPerFile)->UseRealTime();

void BM_RecordFrameJpeg(benchmark::State& state) {
    RecordFrames(state, "JPEG image encoder");
}
BENCHMARK(BM_RecordFrameJpeg)->Unit(benchmark::kMillisecond)->Iterations(3 * kFramesPerFile)->UseRealTime();

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Live recordings of two seconds from the camera streaming at its own 15 frames a second, as the program
// records. Counters: CPU seconds of the whole process per recorded second (camera, graph, encoder,
// multiplexer, the start and the stop), and per recording the frames the camera should have given while
// it streamed (expected), those it gave (delivered), those the writer dropped and those the file lacks
// (lost: expected less written).
void RecordLive(benchmark::State& state, const char* compressor) {
    constexpr double kFramesPerSecond = 15.0;
    constexpr auto kLength = std::chrono::seconds(2);
    BenchCamera bench(compressor, false);
    double cpu = 0;
    double recorded = 0;
    double expected = 0;
    double delivered = 0;
    double dropped = 0;
    double lost = 0;
    for (auto _ : state) {
        const std::uint64_t framesBefore = bench.Camera().frameCount();
        const double cpuBefore = ProcessCpuSeconds();
        if (!bench.Start()) {
            state.SkipWithError("the recording did not start");
            return;
        }
        // From the running graph to the stop: the time the camera streams into the file.
        const auto start = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(kLength);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        bench.Stop();
        cpu += ProcessCpuSeconds() - cpuBefore;
        recorded += seconds;
        const auto counts = platform::dshow::lastRecordingCounts();
        expected += seconds * kFramesPerSecond;
        delivered += static_cast<double>(bench.Camera().frameCount() - framesBefore);
        dropped += static_cast<double>(counts.dropped);
        lost += seconds * kFramesPerSecond - static_cast<double>(counts.written);
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["cpu_per_second"] = cpu / recorded;
    state.counters["expected"] = expected / runs;
    state.counters["delivered"] = delivered / runs;
    state.counters["dropped"] = dropped / runs;
    state.counters["lost"] = lost / runs;
}

void BM_LiveRecordingRaw(benchmark::State& state) {
    RecordLive(state, "No Compressor");
}
BENCHMARK(BM_LiveRecordingRaw)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_LiveRecordingMjpeg(benchmark::State& state) {
    RecordLive(state, "JPEG image encoder");
}
BENCHMARK(BM_LiveRecordingMjpeg)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// H.264 gives the smallest files of the listed lossy encoders at a like picture.
void BM_LiveRecordingH264(benchmark::State& state) {
    RecordLive(state, "x264 H.264 Encoder");
}
BENCHMARK(BM_LiveRecordingH264)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace
