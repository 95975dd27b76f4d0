// The source filter that RenderFile puts at the head of a playback graph.
#pragma once

#include <dshow/com_ptr.h>
#include <dshow/filters.h>

namespace platform::dshow {

// A filter playing the media file `path` (a Windows path): an RGB24 "Video" output pin when the file has
// video, its audio played by the filter itself, and IMediaSeeking, IMediaPosition, IBasicVideo and
// IBasicAudio for the file. Errors as FilePipeline::open. The thread that builds the graph.
HRESULT openFileSource(LPCWSTR path, ComPtr<IBaseFilter>& source);

} // namespace platform::dshow
