// A recording stand-in for the filter graph manager, registered under CLSID_FilterGraph for a test.
#pragma once

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include <dshow/class_table.h>
#include <dshow/com_object.h>
#include <dshow/graph.h>

namespace vidora_test {

// Every call is logged as "Name(arguments)"; GetState answers `state` with `stateResult`, the seeking
// queries `duration` and `position` with `seekingResult`. Interfaces in `refused` are not given.
class FakeGraph final
    : public platform::dshow::ComObject<IGraphBuilder, IMediaControl, IMediaEventEx, IVideoWindow,
                                        IMediaSeeking, IMediaPosition, IBasicVideo, IBasicAudio> {
public:
    struct Script {
        std::vector<std::string> log;
        std::set<std::string> refused; // interface names
        OAFilterState state = State_Stopped;
        HRESULT stateResult = S_OK;
        LONGLONG duration = 0;
        LONGLONG position = 0;
        HRESULT seekingResult = S_OK;
        LONG fullScreen = OAFALSE;
        int alive = 0; // fakes not yet destroyed
    };

    explicit FakeGraph(Script& script) : script_(script) { ++script_.alive; }
    ~FakeGraph() override { --script_.alive; }

    HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter*, LPCWSTR) override { return record("AddFilter"); }
    HRESULT STDMETHODCALLTYPE RemoveFilter(IBaseFilter*) override { return record("RemoveFilter"); }
    HRESULT STDMETHODCALLTYPE EnumFilters(IEnumFilters**) override { return record("EnumFilters"); }
    HRESULT STDMETHODCALLTYPE FindFilterByName(LPCWSTR, IBaseFilter**) override {
        return record("FindFilterByName");
    }
    HRESULT STDMETHODCALLTYPE ConnectDirect(IPin*, IPin*, const AM_MEDIA_TYPE*) override {
        return record("ConnectDirect");
    }
    HRESULT STDMETHODCALLTYPE Disconnect(IPin*) override { return record("Disconnect"); }
    HRESULT STDMETHODCALLTYPE Connect(IPin*, IPin*) override { return record("Connect"); }
    HRESULT STDMETHODCALLTYPE RenderFile(LPCWSTR file, LPCWSTR list) override {
        std::string narrow(file, file + std::char_traits<wchar_t>::length(file));
        return record("RenderFile(" + narrow + (list ? ",list)" : ",null)"));
    }

    HRESULT STDMETHODCALLTYPE Run() override { return record("Run"); }
    HRESULT STDMETHODCALLTYPE Pause() override { return record("Pause"); }
    HRESULT STDMETHODCALLTYPE Stop() override { return record("Stop"); }
    HRESULT STDMETHODCALLTYPE GetState(LONG timeoutMs, OAFilterState* state) override {
        script_.log.push_back("GetState(" + std::to_string(timeoutMs) + ")");
        *state = script_.state;
        return script_.stateResult;
    }
    HRESULT STDMETHODCALLTYPE StopWhenReady() override { return record("StopWhenReady"); }

    HRESULT STDMETHODCALLTYPE GetEvent(LONG*, LONG_PTR*, LONG_PTR*, LONG) override {
        return record("GetEvent");
    }
    HRESULT STDMETHODCALLTYPE FreeEventParams(LONG, LONG_PTR, LONG_PTR) override {
        return record("FreeEventParams");
    }
    HRESULT STDMETHODCALLTYPE SetNotifyWindow(OAHWND window, LONG message, LONG_PTR instance) override {
        return record("SetNotifyWindow(" + hex(window) + "," + hex(message) + "," + hex(instance) + ")");
    }

    HRESULT STDMETHODCALLTYPE put_Caption(const OLECHAR*) override { return record("put_Caption"); }
    HRESULT STDMETHODCALLTYPE get_Caption(BSTR*) override { return record("get_Caption"); }
    HRESULT STDMETHODCALLTYPE put_WindowStyle(LONG style) override {
        return record("put_WindowStyle(" + hex(style) + ")");
    }
    HRESULT STDMETHODCALLTYPE get_WindowStyle(LONG*) override { return record("get_WindowStyle"); }
    HRESULT STDMETHODCALLTYPE put_Visible(LONG visible) override {
        return record("put_Visible(" + std::to_string(visible) + ")");
    }
    HRESULT STDMETHODCALLTYPE get_Visible(LONG*) override { return record("get_Visible"); }
    HRESULT STDMETHODCALLTYPE put_Owner(OAHWND owner) override {
        return record("put_Owner(" + hex(owner) + ")");
    }
    HRESULT STDMETHODCALLTYPE get_Owner(OAHWND*) override { return record("get_Owner"); }
    HRESULT STDMETHODCALLTYPE put_MessageDrain(OAHWND drain) override {
        return record("put_MessageDrain(" + hex(drain) + ")");
    }
    HRESULT STDMETHODCALLTYPE get_MessageDrain(OAHWND*) override { return record("get_MessageDrain"); }
    HRESULT STDMETHODCALLTYPE put_FullScreenMode(LONG mode) override {
        script_.fullScreen = mode;
        return record("put_FullScreenMode(" + std::to_string(mode) + ")");
    }
    HRESULT STDMETHODCALLTYPE get_FullScreenMode(LONG* mode) override {
        *mode = script_.fullScreen;
        return record("get_FullScreenMode");
    }
    HRESULT STDMETHODCALLTYPE SetWindowForeground(LONG focus) override {
        return record("SetWindowForeground(" + std::to_string(focus) + ")");
    }
    HRESULT STDMETHODCALLTYPE SetWindowPosition(LONG left, LONG top, LONG width, LONG height) override {
        return record("SetWindowPosition(" + std::to_string(left) + "," + std::to_string(top) + "," +
                      std::to_string(width) + "," + std::to_string(height) + ")");
    }
    HRESULT STDMETHODCALLTYPE GetWindowPosition(LONG*, LONG*, LONG*, LONG*) override {
        return record("GetWindowPosition");
    }

    HRESULT STDMETHODCALLTYPE SetTimeFormat(const GUID* format) override {
        return record(*format == TIME_FORMAT_MEDIA_TIME ? "SetTimeFormat(media time)"
                                                        : "SetTimeFormat(other)");
    }
    HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG* duration) override {
        *duration = script_.duration;
        script_.log.push_back("GetDuration");
        return script_.seekingResult;
    }
    HRESULT STDMETHODCALLTYPE GetCurrentPosition(LONGLONG* position) override {
        *position = script_.position;
        script_.log.push_back("GetCurrentPosition");
        return script_.seekingResult;
    }
    HRESULT STDMETHODCALLTYPE SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                                           DWORD stopFlags) override {
        return record("SetPositions(" + std::to_string(*current) + "," + std::to_string(currentFlags) + "," +
                      (stop ? "stop" : "null") + "," + std::to_string(stopFlags) + ")");
    }

    HRESULT STDMETHODCALLTYPE get_Duration(REFTIME*) override { return record("get_Duration"); }
    HRESULT STDMETHODCALLTYPE get_CurrentPosition(REFTIME*) override { return record("get_CurrentPosition"); }
    HRESULT STDMETHODCALLTYPE put_CurrentPosition(REFTIME) override { return record("put_CurrentPosition"); }
    HRESULT STDMETHODCALLTYPE get_VideoWidth(LONG*) override { return record("get_VideoWidth"); }
    HRESULT STDMETHODCALLTYPE get_VideoHeight(LONG*) override { return record("get_VideoHeight"); }
    HRESULT STDMETHODCALLTYPE put_Volume(LONG) override { return record("put_Volume"); }
    HRESULT STDMETHODCALLTYPE get_Volume(LONG*) override { return record("get_Volume"); }

protected:
    // Logs each interface asked for by name; a refused one is not given.
    void* queryInterface(REFIID riid) override {
        const struct {
            const IID& iid;
            const char* name;
        } names[] = {{IID_IVideoWindow, "IVideoWindow"},     {IID_IMediaControl, "IMediaControl"},
                     {IID_IMediaEventEx, "IMediaEventEx"},   {IID_IBasicVideo, "IBasicVideo"},
                     {IID_IBasicAudio, "IBasicAudio"},       {IID_IMediaSeeking, "IMediaSeeking"},
                     {IID_IMediaPosition, "IMediaPosition"}, {IID_IGraphBuilder, "IGraphBuilder"}};
        for (const auto& entry : names) {
            if (entry.iid == riid) {
                script_.log.push_back(std::string("QueryInterface(") + entry.name + ")");
                if (script_.refused.count(entry.name))
                    return nullptr;
            }
        }
        return ComObject::queryInterface(riid);
    }

private:
    HRESULT record(const std::string& call) {
        script_.log.push_back(call);
        return S_OK;
    }
    template <class Value> static std::string hex(Value value) {
        char text[24];
        std::snprintf(text, sizeof text, "%llx",
                      static_cast<unsigned long long>(static_cast<LONG_PTR>(value)));
        return text;
    }

    Script& script_;
};

// Registers FakeGraph under CLSID_FilterGraph while it exists; `failure` makes creation fail instead.
class FakeGraphClass {
public:
    explicit FakeGraphClass(FakeGraph::Script& script, HRESULT failure = S_OK)
        : token_(platform::dshow::registerClass(CLSID_FilterGraph,
                                                [&script, failure](REFIID riid, void** object) {
                                                    if (FAILED(failure))
                                                        return failure;
                                                    auto* graph = new FakeGraph(script);
                                                    HRESULT hr = graph->QueryInterface(riid, object);
                                                    graph->Release();
                                                    return hr;
                                                })) {}
    ~FakeGraphClass() { platform::dshow::unregisterClass(token_); }
    FakeGraphClass(const FakeGraphClass&) = delete;
    FakeGraphClass& operator=(const FakeGraphClass&) = delete;

private:
    int token_;
};

} // namespace vidora_test
