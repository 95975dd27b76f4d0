// CGraphPlayer: one filter graph playing a media file, and the graph interfaces it holds.
#pragma once

#include <win32/types.h>

#include <dshow/graph.h>

// Every operation runs on the thread that created the player. Results: 1 success, 0 failure, unless
// stated.
class CGraphPlayer {
public:
    // Initialises COM on the calling thread; the destructor undoes it.
    CGraphPlayer();
    virtual ~CGraphPlayer();
    CGraphPlayer(const CGraphPlayer&) = delete;
    CGraphPlayer& operator=(const CGraphPlayer&) = delete;

    int CreateGraph();
    int AddToRot();
    int RemoveFromRot();
    int QueryInterfaces();
    int ReleaseInterfaces();
    int RenderFile(const char* path);
    int SetOwnerWindow(HWND owner);
    int SetNotifyWindow(HWND window);

    int IsRunning();
    int IsStopped();
    int IsPaused();
    int Run();
    int Stop();
    int Pause();

    int GetDuration(double* seconds);
    int GetCurrentPosition(double* seconds);
    int SetCurrentPosition(double seconds);

    int SetFullScreen(BOOL on);
    // 1 in full screen, else 0.
    int GetFullScreen();

private:
    friend class GraphPlayerProbe; // white-box tests read the members

    // The graph's state, or -1 when there is no graph or the query fails.
    LONG graphState();
    // Reads a seeking time (100-nanosecond units) as seconds into *seconds.
    int readSeconds(HRESULT (STDMETHODCALLTYPE IMediaSeeking::*query)(LONGLONG*), double* seconds);

    IGraphBuilder* m_pGraph;
    IMediaControl* m_pMediaControl;
    IMediaEventEx* m_pMediaEvent;
    IBasicVideo* m_pBasicVideo;
    IBasicAudio* m_pBasicAudio;
    IVideoWindow* m_pVideoWindow;
    IMediaSeeking* m_pMediaSeeking;
    IMediaPosition* m_pMediaPosition;
    DWORD m_dwRotRegister;
};
