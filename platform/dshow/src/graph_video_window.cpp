// FilterGraph's IVideoWindow: every call goes to the first filter in the graph that has the interface.
#include "filter_graph.h"

namespace platform::dshow {

HRESULT FilterGraph::put_Caption(const OLECHAR* caption) {
    return withVideoWindow([&](IVideoWindow* w) { return w->put_Caption(caption); });
}
HRESULT FilterGraph::get_Caption(BSTR* caption) {
    return withVideoWindow([&](IVideoWindow* w) { return w->get_Caption(caption); });
}
HRESULT FilterGraph::put_WindowStyle(LONG style) {
    return withVideoWindow([&](IVideoWindow* w) { return w->put_WindowStyle(style); });
}
HRESULT FilterGraph::get_WindowStyle(LONG* style) {
    return withVideoWindow([&](IVideoWindow* w) { return w->get_WindowStyle(style); });
}
HRESULT FilterGraph::put_Visible(LONG visible) {
    return withVideoWindow([&](IVideoWindow* w) { return w->put_Visible(visible); });
}
HRESULT FilterGraph::get_Visible(LONG* visible) {
    return withVideoWindow([&](IVideoWindow* w) { return w->get_Visible(visible); });
}
HRESULT FilterGraph::put_Owner(OAHWND owner) {
    return withVideoWindow([&](IVideoWindow* w) { return w->put_Owner(owner); });
}
HRESULT FilterGraph::get_Owner(OAHWND* owner) {
    return withVideoWindow([&](IVideoWindow* w) { return w->get_Owner(owner); });
}
HRESULT FilterGraph::put_MessageDrain(OAHWND drain) {
    return withVideoWindow([&](IVideoWindow* w) { return w->put_MessageDrain(drain); });
}
HRESULT FilterGraph::get_MessageDrain(OAHWND* drain) {
    return withVideoWindow([&](IVideoWindow* w) { return w->get_MessageDrain(drain); });
}
HRESULT FilterGraph::put_FullScreenMode(LONG fullScreen) {
    return withVideoWindow([&](IVideoWindow* w) { return w->put_FullScreenMode(fullScreen); });
}
HRESULT FilterGraph::get_FullScreenMode(LONG* fullScreen) {
    return withVideoWindow([&](IVideoWindow* w) { return w->get_FullScreenMode(fullScreen); });
}
HRESULT FilterGraph::SetWindowForeground(LONG focus) {
    return withVideoWindow([&](IVideoWindow* w) { return w->SetWindowForeground(focus); });
}
HRESULT FilterGraph::SetWindowPosition(LONG left, LONG top, LONG width, LONG height) {
    return withVideoWindow([&](IVideoWindow* w) { return w->SetWindowPosition(left, top, width, height); });
}
HRESULT FilterGraph::GetWindowPosition(LONG* left, LONG* top, LONG* width, LONG* height) {
    return withVideoWindow([&](IVideoWindow* w) { return w->GetWindowPosition(left, top, width, height); });
}

} // namespace platform::dshow
