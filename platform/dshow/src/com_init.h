// Private view of the per-thread COM state.
#pragma once

namespace platform::dshow {

// Whether the calling thread holds at least one COM initialisation.
bool comInitialisedOnThisThread();

} // namespace platform::dshow
