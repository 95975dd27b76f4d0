// Function keys and the buttons of both panels, used as a person does.
#include "program_fixture.h"

namespace e2e {
namespace {

using KeysTest = ProgramTest;

TEST_F(KeysTest, StartsAndAnswers) {
    expectIdle();
}

} // namespace
} // namespace e2e
