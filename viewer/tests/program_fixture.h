// Fixture for end-to-end tests: the program's files in a temporary program folder, recorded message boxes,
// a 1280 x 1024 screen, English, a fresh registry and simulated camera, and the real main dialog run modally.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <devices/simulated_camera.h>
#include <seams/file_dialog.h>
#include <seams/seams.h>
#include <win32/clock.h>

#include "orvanel_dlg.h"

class ProgramTest : public ::testing::Test {
public:
    // Pumps messages until `done` holds or `timeoutMs` of real time pass; returns `done()`.
    static bool WaitFor(const std::function<bool()>& done, int timeoutMs = 5000);

protected:
    void SetUp() override;
    void TearDown() override;

    // Runs a fresh main dialog modally. `during` runs once the modal loop has started (unless start-up
    // ended the loop first); it ends the dialog itself or leaves that to the caller's close. Returns the
    // DoModal result; the dialog is destroyed before RunDialog returns.
    INT_PTR RunDialog(const std::function<void(COrvanelDlg&)>& during);

    std::filesystem::path File(const char* name) const { return folder_ / name; }
    // A file of the test's folder in the system's form, with "\" between the names.
    std::string SystemPath(const char* name) const;
    // The next file dialog chooses `name` in the test's folder (in the system's form), or cancels for no
    // value; a dialog with no answer queued cancels. Every dialog is kept in FileDialogCalls().
    void ChooseFile(const std::optional<std::string>& name);
    const std::vector<platform::seams::FileDialogCall>& FileDialogCalls() const { return fileDialogCalls_; }
    // Replaces the settings file's contents.
    void WriteSettings(const std::string& text) const;
    // The value of a key of section Orvanel ("" when missing).
    std::string SettingsValue(const char* key) const;

    // Puts the program on a virtual clock, kept until TearDown: its timers and the camera's frames then
    // move only when the test advances it. Before RunDialog.
    platform::SteppedClock& UseSteppedClock();

    platform::seams::MessageBoxRecorder& Boxes() { return *boxes_; }
    platform::devices::SimulatedCamera Camera() { return platform::devices::SimulatedCamera::primary(); }

private:
    std::filesystem::path folder_;
    std::unique_ptr<platform::seams::MessageBoxRecorder> boxes_;
    std::unique_ptr<platform::SteppedClock> clock_;
    std::deque<std::optional<std::string>> fileAnswers_;
    std::vector<platform::seams::FileDialogCall> fileDialogCalls_;
};

// A control's rectangle in the dialog's client coordinates.
CRect ControlRect(COrvanelDlg& dlg, int id);
// Sends a button's click notification to the dialog, as a click on it does.
void Click(COrvanelDlg& dlg, int id);
// The text of a dialog's item `id`, or of the dialog itself for id 0.
std::string ItemText(HWND dialog, int id);
// Clicks `button` and runs `act` on the modal dialog it opens, known by its item `marker`, once that dialog
// has the focus; `act` ends the dialog. False when no such dialog came up while the click ran.
bool WithModalDialog(COrvanelDlg& dlg, int button, int marker, std::function<void(HWND)> act);
