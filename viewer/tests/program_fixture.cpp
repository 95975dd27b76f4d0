// The end-to-end fixture: program folder, seams, the modal run of the main dialog.
#include "program_fixture.h"

#include <cctype>
#include <chrono>
#include <fstream>
#include <string>

#include <unistd.h>

#include <win32/message_loop.h>

#include "orvanel_app.h"
#include "program_resources.h"

namespace {

const char* const kProgramFiles[] = {"main.bmp",   "image.bmp",  "1280.bmp",   "640.bmp",
                                     "readme.txt", "folder.wav", "Orvanel.ini"};

std::function<void(COrvanelDlg&)> g_during;
COrvanelDlg* g_dialog = nullptr;

// Runs g_during once, on the first tick of the run's timer.
void CALLBACK RunDuring(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    const std::function<void(COrvanelDlg&)> during = std::move(g_during);
    g_during = nullptr;
    if (during && g_dialog != nullptr)
        during(*g_dialog);
}

// Removes what a run left in the queue (a WM_QUIT posted again for an outer loop, stray posts).
void DrainQueue() {
    MSG msg;
    while (::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        if (msg.message != WM_QUIT)
            ::DispatchMessage(&msg);
}

} // namespace

void ProgramTest::SetUp() {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::string safe;
    for (char c : name)
        safe += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    // The process id keeps runs of the same test from two builds at once apart.
    folder_ = std::filesystem::temp_directory_path() /
              ("orvanel_program_" + safe + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    const std::filesystem::path source(ORVANEL_PROGRAM_FOLDER);
    for (const char* file : kProgramFiles)
        std::filesystem::copy_file(source / file, folder_ / file);
    std::filesystem::copy(source / "resources", folder_ / "resources",
                          std::filesystem::copy_options::recursive);
    WriteSettings("[Orvanel]\n");

    platform::seams::setProgramPath((folder_ / "Orvanel").string());
    platform::seams::setRegistryFile((folder_ / "registry.ini").string());
    platform::seams::setSystemLanguage(0x0409);
    platform::seams::setScreenSize(1280, 1024);
    platform::devices::SimulatedCamera::resetAll();
    boxes_ = std::make_unique<platform::seams::MessageBoxRecorder>(IDOK);
    platform::seams::setFileDialogAnswer(
        [this](const platform::seams::FileDialogCall& call) -> std::optional<std::string> {
            fileDialogCalls_.push_back(call);
            if (fileAnswers_.empty())
                return std::nullopt;
            std::optional<std::string> answer = fileAnswers_.front();
            fileAnswers_.pop_front();
            return answer;
        });
    RegisterProgramResources();
}

void ProgramTest::TearDown() {
    DrainQueue();
    platform::seams::setFileDialogAnswer(nullptr);
    if (clock_ != nullptr) {
        platform::installClock(nullptr);
        clock_.reset();
    }
    boxes_.reset();
    platform::devices::SimulatedCamera::resetAll();
    platform::seams::setScreenSize(0, 0);
    platform::seams::setSystemLanguage(std::nullopt);
    platform::seams::setRegistryFile("");
    platform::seams::setProgramPath("");
    std::filesystem::remove_all(folder_);
}

INT_PTR ProgramTest::RunDialog(const std::function<void(COrvanelDlg&)>& during) {
    INT_PTR result = 0;
    {
        COrvanelDlg dlg;
        theApp.m_pMainWnd = &dlg;
        g_dialog = &dlg;
        g_during = during;
        // A run that start-up ends never ticks: its timer must not run the next run's `during` as well.
        const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, RunDuring);
        if (clock_ != nullptr)
            clock_->advance(10);
        result = dlg.DoModal();
        ::KillTimer(nullptr, timer);
        g_during = nullptr;
        g_dialog = nullptr;
        theApp.m_pMainWnd = nullptr;
    }
    DrainQueue();
    return result;
}

bool ProgramTest::WaitFor(const std::function<bool()>& done, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    // A timer keeps the loop waking while nothing else arrives.
    const UINT_PTR tick = ::SetTimer(nullptr, 0, 10, nullptr);
    platform::user::runModalLoop([&] { return done() || std::chrono::steady_clock::now() >= end; });
    ::KillTimer(nullptr, tick);
    return done();
}

platform::SteppedClock& ProgramTest::UseSteppedClock() {
    clock_ = std::make_unique<platform::SteppedClock>();
    platform::installClock(clock_.get());
    return *clock_;
}

std::string ProgramTest::SystemPath(const char* name) const {
    std::string path = File(name).string();
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

void ProgramTest::ChooseFile(const std::optional<std::string>& name) {
    fileAnswers_.push_back(name ? std::optional<std::string>(SystemPath(name->c_str())) : std::nullopt);
}

void ProgramTest::WriteSettings(const std::string& text) const {
    std::ofstream(folder_ / "Orvanel.ini", std::ios::binary | std::ios::trunc) << text;
}

std::string ProgramTest::SettingsValue(const char* key) const {
    char value[512] = {};
    ::GetPrivateProfileString("Orvanel", key, "", value, sizeof value,
                              (folder_ / "Orvanel.ini").string().c_str());
    return value;
}

CRect ControlRect(COrvanelDlg& dlg, int id) {
    CRect rect;
    dlg.GetDlgItem(id)->GetWindowRect(rect);
    dlg.ScreenToClient(rect);
    return rect;
}

void Click(COrvanelDlg& dlg, int id) {
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                    reinterpret_cast<LPARAM>(dlg.GetDlgItem(id)->GetSafeHwnd()));
}

namespace {

int g_modalMarker = 0;
std::function<void(HWND)> g_inModal;

// Runs g_inModal on the dialog holding the focus once it has the item g_modalMarker.
void CALLBACK ActInModal(HWND, UINT, UINT_PTR id, DWORD) {
    HWND focus = ::GetFocus();
    HWND dialog = focus != nullptr ? ::GetParent(focus) : nullptr;
    if (dialog == nullptr || ::GetDlgItem(dialog, g_modalMarker) == nullptr)
        return; // not up yet
    ::KillTimer(nullptr, id);
    auto act = std::move(g_inModal);
    g_inModal = nullptr;
    act(dialog);
}

} // namespace

std::string ItemText(HWND dialog, int id) {
    char text[256] = {};
    ::GetWindowText(id == 0 ? dialog : ::GetDlgItem(dialog, id), text, sizeof text);
    return text;
}

bool WithModalDialog(COrvanelDlg& dlg, int button, int marker, std::function<void(HWND)> act) {
    g_modalMarker = marker;
    g_inModal = std::move(act);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 10, ActInModal);
    Click(dlg, button);
    const bool ran = !g_inModal;
    if (!ran) {
        ::KillTimer(nullptr, timer);
        g_inModal = nullptr;
    }
    return ran;
}
