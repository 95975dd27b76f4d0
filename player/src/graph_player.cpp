// CGraphPlayer: the graph, its interfaces, rendering the file and attaching the video and notify windows.
#include <cstddef>
#include <memory>
#include <new>

#include <win32/codepage.h>
#include <win32/user.h>

#include <player/vidora.h>

#include "graph_player.h"

namespace {

// Releases a held interface and clears the member.
template <class Interface> void releaseAndClear(Interface*& pointer) {
    if (pointer) {
        pointer->Release();
        pointer = nullptr;
    }
}

} // namespace

CGraphPlayer::CGraphPlayer()
    : m_pGraph(nullptr), m_pMediaControl(nullptr), m_pMediaEvent(nullptr), m_pBasicVideo(nullptr),
      m_pBasicAudio(nullptr), m_pVideoWindow(nullptr), m_pMediaSeeking(nullptr), m_pMediaPosition(nullptr),
      m_dwRotRegister(0) {
    CoInitialize(nullptr);
}

CGraphPlayer::~CGraphPlayer() {
    CoUninitialize();
}

// Makes the graph manager, enters it in the running object table and takes its interfaces. 0 when the
// graph cannot be made (m_pGraph stays null) or an interface is missing.
int CGraphPlayer::CreateGraph() {
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(&m_pGraph)))) {
        m_pGraph = nullptr;
        return 0;
    }
    AddToRot();
    return QueryInterfaces();
}

// Asks for all seven interfaces even when one is missing; 1 only when every query succeeded.
int CGraphPlayer::QueryInterfaces() {
    if (!m_pGraph)
        return 0;
    HRESULT combined = m_pGraph->QueryInterface(IID_IVideoWindow, reinterpret_cast<void**>(&m_pVideoWindow));
    combined |= m_pGraph->QueryInterface(IID_IMediaControl, reinterpret_cast<void**>(&m_pMediaControl));
    combined |= m_pGraph->QueryInterface(IID_IMediaEventEx, reinterpret_cast<void**>(&m_pMediaEvent));
    combined |= m_pGraph->QueryInterface(IID_IBasicVideo, reinterpret_cast<void**>(&m_pBasicVideo));
    combined |= m_pGraph->QueryInterface(IID_IBasicAudio, reinterpret_cast<void**>(&m_pBasicAudio));
    combined |= m_pGraph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&m_pMediaSeeking));
    combined |= m_pGraph->QueryInterface(IID_IMediaPosition, reinterpret_cast<void**>(&m_pMediaPosition));
    if (m_pMediaSeeking)
        m_pMediaSeeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
    return SUCCEEDED(combined) ? 1 : 0;
}

// The video window leaves the caller's window before it is released; the table entry goes before the
// graph.
int CGraphPlayer::ReleaseInterfaces() {
    releaseAndClear(m_pMediaSeeking);
    releaseAndClear(m_pMediaControl);
    releaseAndClear(m_pMediaEvent);
    releaseAndClear(m_pBasicVideo);
    releaseAndClear(m_pBasicAudio);
    if (m_pVideoWindow) {
        m_pVideoWindow->put_Visible(OAFALSE);
        m_pVideoWindow->put_MessageDrain(0);
        m_pVideoWindow->put_Owner(0);
        releaseAndClear(m_pVideoWindow);
    }
    releaseAndClear(m_pMediaPosition);
    RemoveFromRot();
    releaseAndClear(m_pGraph);
    return 1;
}

// Builds the playback chain for the path. Paths are UTF-8 here whatever the system language, so the
// conversion does not follow the system code page; the buffer takes a path of any length.
int CGraphPlayer::RenderFile(const char* path) {
    if (!m_pGraph || !path)
        return 0;
    const int chars = MultiByteToWideChar(CP_UTF8, 0, path, -1, nullptr, 0);
    if (chars == 0)
        return 0;
    std::unique_ptr<WCHAR[]> wide(new (std::nothrow) WCHAR[static_cast<std::size_t>(chars)]);
    if (!wide || MultiByteToWideChar(CP_UTF8, 0, path, -1, wide.get(), chars) == 0)
        return 0;
    return SUCCEEDED(m_pGraph->RenderFile(wide.get(), nullptr)) ? 1 : 0;
}

// Makes the video window a child filling the owner's client area as it is now, and cues the first frame
// with the graph left stopped. A null owner hides the window and leaves its size alone.
int CGraphPlayer::SetOwnerWindow(HWND owner) {
    if (!m_pVideoWindow)
        return 0;
    m_pVideoWindow->put_Visible(OAFALSE);
    m_pVideoWindow->put_Owner(reinterpret_cast<OAHWND>(owner));
    m_pVideoWindow->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    if (!owner)
        return 1;
    RECT client{};
    GetClientRect(owner, &client);
    m_pVideoWindow->SetWindowPosition(0, 0, client.right, client.bottom);
    m_pVideoWindow->put_Visible(OATRUE);
    m_pVideoWindow->SetWindowForeground(OATRUE);
    if (m_pMediaControl)
        m_pMediaControl->StopWhenReady();
    return 1;
}

// Graph events post WM_PLAYER_EVENT to `window`, and input reaching the video window goes there.
int CGraphPlayer::SetNotifyWindow(HWND window) {
    if (!m_pMediaEvent)
        return 0;
    m_pMediaEvent->SetNotifyWindow(reinterpret_cast<OAHWND>(window), WM_PLAYER_EVENT, 0);
    if (m_pVideoWindow)
        m_pVideoWindow->put_MessageDrain(reinterpret_cast<OAHWND>(window));
    return 1;
}
