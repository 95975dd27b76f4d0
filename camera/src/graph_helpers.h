// Graph building helpers shared by device construction, the preview and recording.
#pragma once

#include <dshow/capture.h>
#include <dshow/device_enum.h>

namespace korvib {

// Creates the capture graph builder and a filter graph bound to it. E_POINTER for a null out pointer;
// else the failing creation's HRESULT (nothing kept) or the graph's creation result.
HRESULT CreateCaptureGraph(IGraphBuilder** graph, ICaptureGraphBuilder2** builder);

// Reads the moniker's FriendlyName as an ANSI string (LocalFree it; null when it is no text or cannot be
// converted); the HRESULT of a failing step. Any thread with COM initialised.
HRESULT ReadFriendlyName(IMoniker* moniker, char** name);

// Binds the first device of `category` whose FriendlyName equals `friendlyName` without regard to case
// (any device when it is null). Returns the failing HRESULT, or S_OK with *filter untouched when no
// device matches.
HRESULT FindFilterByName(REFCLSID category, const char* friendlyName, IBaseFilter** filter);

// Creates a filter of `clsid` and adds it to the graph under `name` (null: no name). E_POINTER for a null
// graph or out pointer; else the creation or AddFilter result (*filter null on failure).
HRESULT AddFilterByClsid(IGraphBuilder* graph, REFCLSID clsid, LPCWSTR name, IBaseFilter** filter);

// Disconnects and removes every filter downstream of `filter`, depth first; the filter itself stays.
void RemoveDownstream(IGraphBuilder* graph, IBaseFilter* filter);

} // namespace korvib
