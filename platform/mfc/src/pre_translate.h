// The pre-translation chain, installed by the first window binding.
#pragma once

namespace platform::mfc {

// Plugs the pre-translation chain into the window layer's message loops (once). GUI thread.
void installPreTranslateChain();

} // namespace platform::mfc
