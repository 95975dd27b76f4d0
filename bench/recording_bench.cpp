// Cost of one recorded 1280x1024 frame on the simulated camera (YUY2, raw and JPEG-encoded), against a
// stepped frame that no graph takes.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include <devices/simulated_camera.h>
#include <testing/message_box.h>
#include <testing/registry_file.h>
#include <win32/registry.h>
#include <win32/user.h>

#include <camera/korvib.h>

namespace {

constexpr int kFramesPerFile = 60;

// A camera at 1280x1024 in stepped mode with its settings in a scratch registry file.
class BenchCamera {
public:
    explicit BenchCamera(const char* compressor)
        : folder_(std::filesystem::temp_directory_path() / "korvib_recording_bench"),
          camera_(platform::devices::SimulatedCamera::primary()), boxes_(IDOK) {
        std::filesystem::create_directories(folder_);
        platform::seams::setRegistryFile((folder_ / "registry.ini").string());
        platform::devices::SimulatedCamera::resetAll();
        camera_.setSteppedMode(true);
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
    platform::testing::MessageBoxRecorder boxes_;
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

} // namespace
