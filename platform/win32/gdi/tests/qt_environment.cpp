// A Qt application for the whole test program: fonts and text need one.
#include <QGuiApplication>
#include <gtest/gtest.h>
#include <memory>

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "win32_gdi_tests";
        static char* argv[] = {name, nullptr};
        app_ = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { app_.reset(); }

private:
    std::unique_ptr<QGuiApplication> app_;
};

[[maybe_unused]] const auto* environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

} // namespace
