// AviMux: one video input written to an AVI file through AviWriter, with IFileSinkFilter for its name.
//
//   Stopped --Pause/Run (file opened)--> Paused/Running --Stop (end of stream, index written)--> Stopped
#include "avi_mux.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <utility>

#include <win32/codepage.h>
#include <win32/debug_output.h>
#include <win32/native_path.h>

#include <dshow/filter_base.h>
#include <dshow/recording_counts.h>

#include "avi_writer.h"
#include "builtin_classes.h"
#include "raw_video_caps.h"
#include "video_compressor.h"

namespace platform::dshow {
namespace {

// {8E1C25D4-6F0B-4A3D-B7E2-91C4D05A6F28}
const CLSID kAviMuxClass = {0x8E1C25D4, 0x6F0B, 0x4A3D, {0xB7, 0xE2, 0x91, 0xC4, 0xD0, 0x5A, 0x6F, 0x28}};

std::atomic<std::uint64_t> lastWritten{0};
std::atomic<std::uint64_t> lastDropped{0};

// Keeps the closed file's counts and tells the debugger of dropped frames.
void reportCounts(const AviWriter::Counts& counts) {
    lastWritten.store(counts.written, std::memory_order_relaxed);
    lastDropped.store(counts.dropped, std::memory_order_relaxed);
    if (counts.dropped > 0)
        OutputDebugString(("AVI recording: " + std::to_string(counts.dropped) + " frames dropped, " +
                           std::to_string(counts.written) + " written\n")
                              .c_str());
}

class AviMux;

class MuxInput final : public InputPin {
public:
    explicit MuxInput(AviMux& owner);
    HRESULT checkMediaType(const AM_MEDIA_TYPE& type) override;
    HRESULT receive(IMediaSample* sample) override;

protected:
    HRESULT onConnected() override;

private:
    AviMux& owner_;
};

class AviMux final : public WithInterfaces<FilterBase, IFileSinkFilter> {
public:
    AviMux() : WithInterfaces(kAviMuxClass) { input_ = addPin(std::make_unique<MuxInput>(*this)); }

    HRESULT STDMETHODCALLTYPE SetFileName(LPCOLESTR file, const AM_MEDIA_TYPE*) override {
        if (!file)
            return E_POINTER;
        if (state() != State_Stopped)
            return VFW_E_NOT_STOPPED;
        try {
            std::wstring name(file);
            if (name.empty())
                return E_INVALIDARG;
            file_ = std::move(name);
            return S_OK;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }

    HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR* file, AM_MEDIA_TYPE* type) override {
        if (!file)
            return E_POINTER;
        *file = static_cast<LPOLESTR>(CoTaskMemAlloc((file_.size() + 1) * sizeof(OLECHAR)));
        if (!*file)
            return E_OUTOFMEMORY;
        std::memcpy(*file, file_.c_str(), (file_.size() + 1) * sizeof(OLECHAR));
        if (type)
            *type = AM_MEDIA_TYPE{};
        return S_OK;
    }

    // The compressor feeding the input, null for none; set while connecting.
    const VideoCompressor* compressor = nullptr;

    // Streaming thread.
    HRESULT write(const BYTE* data, std::size_t size, LONGLONG time) {
        std::lock_guard guard(writerLock_);
        return writer_.write(data, size, time);
    }

protected:
    // Opens the file for the connected stream; an unconnected multiplexer writes nothing.
    HRESULT onPause() override {
        RawVideoCaps caps;
        if (!input_->isConnected() || !rawVideoCaps(input_->connectionType(), caps))
            return S_OK;
        const int bytes = WideCharToMultiByte(CP_UTF8, 0, file_.c_str(), -1, nullptr, 0, nullptr, nullptr);
        if (bytes <= 1)
            return E_FAIL;
        try {
            std::string path(static_cast<std::size_t>(bytes), '\0');
            WideCharToMultiByte(CP_UTF8, 0, file_.c_str(), -1, path.data(), bytes, nullptr, nullptr);
            path.pop_back();
            const std::string encoder = compressor ? compressor->encoderDescription() : std::string();
            std::lock_guard guard(writerLock_);
            const HRESULT hr = writer_.open(caps, encoder, platform::toNativePath(path));
            fileOpen_ = SUCCEEDED(hr);
            return hr;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }

    // The sources have stopped: the stream ends and the file gets its index.
    void onStop() override {
        AviWriter::Counts counts;
        bool closed = false;
        {
            std::lock_guard guard(writerLock_);
            static_cast<void>(writer_.close(&counts));
            closed = std::exchange(fileOpen_, false);
        }
        if (closed)
            reportCounts(counts);
    }

private:
    MuxInput* input_ = nullptr;
    std::wstring file_;
    std::mutex writerLock_; // guards writer_ and fileOpen_ between the streaming thread and state changes
    AviWriter writer_;
    bool fileOpen_ = false;
};

MuxInput::MuxInput(AviMux& owner) : InputPin(owner, L"Input 01"), owner_(owner) {}

HRESULT MuxInput::checkMediaType(const AM_MEDIA_TYPE& type) {
    RawVideoCaps caps;
    return rawVideoCaps(type, caps) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

// A compressor upstream gives its encoder; raw frames must be a format avimux stores as it is.
HRESULT MuxInput::onConnected() {
    auto* peer = dynamic_cast<PinBase*>(connectedPin());
    owner_.compressor = peer ? dynamic_cast<const VideoCompressor*>(&peer->filter()) : nullptr;
    if (owner_.compressor)
        return S_OK;
    RawVideoCaps caps;
    return rawVideoCaps(connectionType(), caps) && AviWriter::muxAccepts(caps) ? S_OK
                                                                               : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT MuxInput::receive(IMediaSample* sample) {
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)))
        return E_POINTER;
    REFERENCE_TIME start = 0;
    REFERENCE_TIME end = 0;
    if (FAILED(sample->GetTime(&start, &end)))
        start = -1;
    return owner_.write(data, static_cast<std::size_t>(sample->GetActualDataLength()), start);
}

} // namespace

HRESULT createAviMux(LPCOLESTR file, ComPtr<IBaseFilter>& mux) {
    mux.reset();
    auto* raw = new (std::nothrow) AviMux();
    if (!raw)
        return E_OUTOFMEMORY;
    ComPtr<AviMux> created = ComPtr<AviMux>::adopt(raw);
    HRESULT hr = created->SetFileName(file, nullptr);
    if (FAILED(hr))
        return hr;
    mux = ComPtr<IBaseFilter>(static_cast<IBaseFilter*>(created.get()));
    return S_OK;
}

RecordingCounts lastRecordingCounts() {
    return {lastWritten.load(std::memory_order_relaxed), lastDropped.load(std::memory_order_relaxed)};
}

} // namespace platform::dshow
