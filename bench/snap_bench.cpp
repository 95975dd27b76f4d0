// Snap at 1280 x 1024 from the command to the closed JPEG file, on the real main dialog and the simulated
// camera: with frames on a stepped clock, not counting the camera's own rendering (the command's work), and
// on the live 15 fps stream (what the user waits, with the camera library's 200 ms polls); against writing
// one camera frame with CJpegFile alone.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <devices/simulated_camera.h>
#include <seams/seams.h>
#include <testing/stepped_frames.h>
#include <win32/clock.h>

#include "orvanel_app.h"
#include "orvanel_dlg.h"
#include "program_resources.h"

namespace {

namespace fs = std::filesystem;

constexpr int kWidth = 1280;
constexpr int kHeight = 1024;

// A program folder of its own with the files the dialog needs, taken from beside this program.
class ProgramFolder {
public:
    ProgramFolder() : path_(fs::temp_directory_path() / "orvanel_snap_bench")
    {
        fs::remove_all(path_);
        fs::create_directories(path_ / "snaps");
        const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
        for (const char* file : {"main.bmp", "image.bmp", "1280.bmp", "640.bmp", "readme.txt", "folder.wav"})
            fs::copy_file(bin / file, path_ / file);
        fs::copy(bin / "resources", path_ / "resources", fs::copy_options::recursive);
        std::ofstream(path_ / "Orvanel.ini") << "[Orvanel]\n";
        platform::seams::setProgramPath((path_ / "Orvanel").string());
        platform::seams::setRegistryFile((path_ / "registry.ini").string());
        platform::seams::setSystemLanguage(0x0409);
        platform::seams::setSoundRecord(&sounds_);
        platform::seams::setScreenSize(kWidth, kHeight);
        platform::devices::SimulatedCamera::resetAll();
        RegisterProgramResources();
    }
    ~ProgramFolder()
    {
        platform::seams::setSoundRecord(nullptr);
        platform::seams::setRegistryFile("");
        platform::seams::setProgramPath("");
        fs::remove_all(path_);
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    fs::path Snaps() const { return path_ / "snaps"; }

private:
    fs::path path_;
    std::vector<platform::seams::SoundCall> sounds_;
};

std::function<void(COrvanelDlg&)> g_during;
COrvanelDlg* g_dialog = nullptr;

void CALLBACK RunDuring(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    g_during(*g_dialog);
    g_dialog->SendMessage(WM_CLOSE);
}

// Runs the main dialog and calls `during` once its modal loop runs; the dialog then closes.
void RunDialog(const std::function<void(COrvanelDlg&)>& during)
{
    COrvanelDlg dlg;
    theApp.m_pMainWnd = &dlg;
    g_dialog = &dlg;
    g_during = during;
    ::SetTimer(nullptr, 0, 10, RunDuring);
    dlg.DoModal();
    theApp.m_pMainWnd = nullptr;
    g_dialog = nullptr;
}

// Snaps into JPEG files, removing each file outside the timing so that every name is new.
void SnapLoop(benchmark::State& state, COrvanelDlg& dlg, const fs::path& snaps)
{
    dlg.m_strSavePath = CString((snaps.string() + "/").c_str());
    HWND snap = dlg.GetDlgItem(IDC_BUTTON_SNAP)->GetSafeHwnd();
    for (auto _ : state) {
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BUTTON_SNAP, BN_CLICKED), reinterpret_cast<LPARAM>(snap));
        state.PauseTiming();
        fs::remove_all(snaps / dlg.m_strDayFolder.str());
        state.ResumeTiming();
    }
}

void BM_SnapSteppedFrames(benchmark::State& state)
{
    ProgramFolder folder;
    RunDialog([&](COrvanelDlg& dlg) {
        auto camera = platform::devices::SimulatedCamera::primary();
        camera.setSteppedMode(true);
        {
            auto* clock = dynamic_cast<platform::SteppedClock*>(&platform::activeClock());
            // The camera rendering and streaming its frame is not the command's work.
            platform::testing::SteppedFrames frames(*clock, 200, [&] {
                state.PauseTiming();
                camera.deliverFrames(1);
                state.ResumeTiming();
            });
            SnapLoop(state, dlg, folder.Snaps());
        }
        camera.setSteppedMode(false);
    });
}
BENCHMARK(BM_SnapSteppedFrames)->Unit(benchmark::kMillisecond);

void BM_SnapLiveCamera(benchmark::State& state)
{
    ProgramFolder folder;
    RunDialog([&](COrvanelDlg& dlg) { SnapLoop(state, dlg, folder.Snaps()); });
}
BENCHMARK(BM_SnapLiveCamera)->Unit(benchmark::kMillisecond)->Iterations(20);

// The camera's picture of one frame, packed top-down R, G, B, written as the Snap command writes it.
void BM_EncodeFrameOnly(benchmark::State& state)
{
    platform::devices::SimulatedCamera::resetAll();
    const auto frame = platform::devices::SimulatedCamera::primary().renderNow(
        platform::devices::VideoFormat{platform::devices::PixelFormat::Rgb24, kWidth, kHeight});
    std::vector<unsigned char> rgb(frame.bytes.begin(), frame.bytes.end());
    CJpegFile jpeg;
    jpeg.VertFlipBuf(rgb.data(), kWidth * 3, kHeight);
    jpeg.BGRFromRGB(rgb.data(), kWidth, kHeight);
    const std::string path = (fs::temp_directory_path() / "orvanel_snap_bench.jpg").string();
    for (auto _ : state)
        benchmark::DoNotOptimize(jpeg.RGBToJpegFile(path.c_str(), rgb.data(), kWidth, kHeight, 1, 70));
    fs::remove(path);
}
BENCHMARK(BM_EncodeFrameOnly)->Unit(benchmark::kMillisecond);

} // namespace
