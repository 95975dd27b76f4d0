// The library's one LibraryState.
#include "library_state.h"

namespace korvib {

LibraryState& Library() {
    static LibraryState state;
    return state;
}

} // namespace korvib
