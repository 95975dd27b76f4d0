// Releasing a held COM interface pointer and clearing it.
#pragma once

namespace korvib {

template <typename Interface>
void ReleaseAndClear(Interface*& pointer) {
    if (pointer != nullptr) {
        pointer->Release();
        pointer = nullptr;
    }
}

} // namespace korvib
