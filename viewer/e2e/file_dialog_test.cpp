// The file dialogs list any folder a user can reach without stalling the program.
#include "program_fixture.h"

#include <thread>

namespace e2e {
namespace {

using FileDialogTest = ProgramTest;

// /proc holds files that block a reader (kmsg): the dialog must list it and still close on Escape.
TEST_F(FileDialogTest, BrowsingToProcLeavesTheDialogAnswering) {
    const XWindow dialog = opens([&] { click(845, 495); });
    ASSERT_NE(dialog.id, 0u);
    x().type("/proc/");
    key("Return");
    std::this_thread::sleep_for(1s);
    saveShot("proc");
    key("Escape"); // the name field's completion list, when it shows the folder, goes first
    if (!closes(dialog, 2s))
        key("Escape");
    EXPECT_TRUE(closes(dialog, 5s)) << "the dialog hangs on /proc";
}

} // namespace
} // namespace e2e
