// The AVI multiplexer that ICaptureGraphBuilder2::SetOutputFileName adds: it writes its file itself.
#pragma once

#include <dshow/capture.h>
#include <dshow/com_ptr.h>

namespace platform::dshow {

// A new multiplexer writing `file` (a Windows path). E_POINTER, E_OUTOFMEMORY, E_INVALIDARG for an empty
// path.
HRESULT createAviMux(LPCOLESTR file, ComPtr<IBaseFilter>& mux);

} // namespace platform::dshow
