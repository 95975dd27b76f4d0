// FilterGraph's seeking, position, video and audio properties, passed to the first filter that has one.
#include "filter_graph.h"

namespace platform::dshow {

HRESULT FilterGraph::SetTimeFormat(const GUID* format) {
    return withFilterInterface<IMediaSeeking>([&](IMediaSeeking* s) { return s->SetTimeFormat(format); });
}
HRESULT FilterGraph::GetDuration(LONGLONG* duration) {
    return withFilterInterface<IMediaSeeking>([&](IMediaSeeking* s) { return s->GetDuration(duration); });
}
HRESULT FilterGraph::GetCurrentPosition(LONGLONG* position) {
    return withFilterInterface<IMediaSeeking>(
        [&](IMediaSeeking* s) { return s->GetCurrentPosition(position); });
}
HRESULT FilterGraph::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) {
    return withFilterInterface<IMediaSeeking>(
        [&](IMediaSeeking* s) { return s->SetPositions(current, currentFlags, stop, stopFlags); });
}
HRESULT FilterGraph::get_Duration(REFTIME* length) {
    return withFilterInterface<IMediaPosition>([&](IMediaPosition* p) { return p->get_Duration(length); });
}
HRESULT FilterGraph::get_CurrentPosition(REFTIME* time) {
    return withFilterInterface<IMediaPosition>(
        [&](IMediaPosition* p) { return p->get_CurrentPosition(time); });
}
HRESULT FilterGraph::put_CurrentPosition(REFTIME time) {
    return withFilterInterface<IMediaPosition>(
        [&](IMediaPosition* p) { return p->put_CurrentPosition(time); });
}
HRESULT FilterGraph::get_VideoWidth(LONG* width) {
    return withFilterInterface<IBasicVideo>([&](IBasicVideo* v) { return v->get_VideoWidth(width); });
}
HRESULT FilterGraph::get_VideoHeight(LONG* height) {
    return withFilterInterface<IBasicVideo>([&](IBasicVideo* v) { return v->get_VideoHeight(height); });
}
HRESULT FilterGraph::put_Volume(LONG volume) {
    return withFilterInterface<IBasicAudio>([&](IBasicAudio* a) { return a->put_Volume(volume); });
}
HRESULT FilterGraph::get_Volume(LONG* volume) {
    return withFilterInterface<IBasicAudio>([&](IBasicAudio* a) { return a->get_Volume(volume); });
}

} // namespace platform::dshow
