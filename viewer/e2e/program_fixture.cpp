// The end-to-end fixture: server, program, main window, and the checks every test ends with.
#include "program_fixture.h"

#include <filesystem>
#include <thread>

namespace e2e {
namespace {

constexpr char kMainWindow[] = "Korvi Camera Viewer";
// The captions of the right-hand panel, which F7 switches in every mode.
const QRect kCaptions(815, 60, 200, 120);

} // namespace

bool hasDetail(const QImage& image) {
    if (image.isNull())
        return false;
    const QRgb first = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != first)
                return true;
    return false;
}

double changedShare(const QImage& image, const QImage& other) {
    if (image.size() != other.size() || image.isNull())
        return 1.0;
    long changed = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            changed += image.pixel(x, y) != other.pixel(x, y);
    return static_cast<double>(changed) / (static_cast<double>(image.width()) * image.height());
}

void ProgramTest::SetUp() {
    server_ = std::make_unique<XServer>();
    program_ = std::make_unique<ProgramRun>(server_->displayName(), environment());
    const auto main = server_->findWindow(kMainWindow, 20s);
    ASSERT_TRUE(main) << "the main window did not appear\n" << program_->output();
    main_ = *main;
    ASSERT_TRUE(waitFor([&] { return hasDetail(shot(kCaptions.x(), kCaptions.y(), 200, 40)); }, 10s))
        << "the main window was never painted";
    std::this_thread::sleep_for(300ms);
}

void ProgramTest::TearDown() {
    if (HasFatalFailure() || !program_->running())
        return;
    expectAnswers();
}

XWindow ProgramTest::opens(const std::function<void()>& action, std::chrono::milliseconds timeout) {
    const std::vector<XWindow> before = server_->windows();
    action();
    std::vector<XWindow> added;
    waitFor([&] { return !(added = server_->windowsBesides(before)).empty(); }, timeout);
    if (added.empty()) {
        ADD_FAILURE() << "no window opened";
        return {};
    }
    // Let it finish painting; a popup that came and went on the way (a completion list) is not it.
    std::this_thread::sleep_for(400ms);
    added = server_->windowsBesides(before);
    if (added.empty()) {
        ADD_FAILURE() << "the window that opened closed again";
        return {};
    }
    return added.back();
}

bool ProgramTest::closes(const XWindow& window, std::chrono::milliseconds timeout) {
    return waitFor(
        [&] {
            for (const XWindow& w : server_->windows())
                if (w.id == window.id)
                    return false;
            return true;
        },
        timeout);
}

void ProgramTest::expectAnswers() {
    ASSERT_TRUE(program_->running()) << "the program ended\n" << program_->output();
    server_->moveTo(QPoint(1275, 1020));
    std::this_thread::sleep_for(200ms);
    const auto captions = [&] { return shot(kCaptions.x(), kCaptions.y(), kCaptions.width(), kCaptions.height()); };
    const QImage before = captions();
    key("F7");
    EXPECT_TRUE(waitFor([&] { return captions() != before; }, 3s)) << "F7 did not switch the language";
    key("F7");
    EXPECT_TRUE(waitFor([&] { return captions() == before; }, 3s)) << "F7 did not switch the language back";
}

void ProgramTest::expectIdle() {
    const double start = program_->cpuSeconds();
    std::this_thread::sleep_for(1s);
    EXPECT_LT(program_->cpuSeconds() - start, 0.8) << "the program keeps a core busy";
}

void ProgramTest::saveShot(const std::string& name) {
    const std::filesystem::path folder = ORVANEL_E2E_SHOTS;
    std::filesystem::create_directories(folder);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string file = std::string(test->test_suite_name()) + "_" + test->name() + "_" + name + ".png";
    for (char& c : file)
        if (c == '/')
            c = '_';
    server_->shot().save(QString::fromStdString((folder / file).string()));
}

} // namespace e2e
