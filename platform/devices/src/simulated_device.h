// One simulated bridge-chip camera: chip, bus, lens, picture knobs, frame clock, stream and logs.
#pragma once

#include "bounded_log.h"
#include "capture_source.h"
#include "chip_registers.h"
#include "frame_renderer.h"
#include "frame_ticker.h"
#include "i2c_bus.h"
#include "lens_mechanics.h"
#include "picture.h"
#include "proc_amp.h"
#include "property_channel.h"

#include <devices/simulated_camera.h>
#include <win32/clock.h>

#include <deque>
#include <mutex>

namespace platform::devices {

// Every public member may be called from any thread; the frame sink runs on the streaming thread
// (live mode) or on the thread calling deliverFrames (stepped mode), without the state lock held,
// so it may call back into the device.
class SimulatedDevice : public CaptureSource, private ChipBackend {
public:
    // The knobs a device starts with: the deterministic chart tests rely on, or the live look of the
    // program the user starts (sensor noise, a mild colour cast, a frame counter, the amplifier applied).
    enum class Defaults { Test, Live };

    explicit SimulatedDevice(Defaults defaults = Defaults::Test);
    ~SimulatedDevice() override;
    SimulatedDevice(const SimulatedDevice&) = delete;
    SimulatedDevice& operator=(const SimulatedDevice&) = delete;

    // Power-on state, test-default knobs, empty logs; leaves stepped mode. The stream keeps running.
    void reset();

    HRESULT propertySet(ULONG id, const void* data) override;
    HRESULT propertyGet(ULONG id, void* data) override;

    // Capture formats: the four pixel formats at 640x480 and 1280x1024, less the refused ones.
    bool setFormat(const VideoFormat& format) override;
    VideoFormat format() const override;
    std::vector<VideoFormat> capabilities() const override;
    CompressionKnobs compression() const override;

    // The live thread, or deliverFrames in stepped mode, feeds the sink, rendering into the target's
    // buffer when it gives one. The stream never fails.
    void startStream(FrameSink sink, FrameTarget target, StreamFailed failed) override;
    void startStream(FrameSink sink) { startStream(std::move(sink), nullptr, nullptr); }
    void stopStream() override;
    void setSteppedMode(bool stepped);
    bool deliverFrames(unsigned n);
    bool setFrameRate(double fps);
    double frameRate() const override;

    // Values are stored and read back; they shape the picture while the amplifier is applied.
    std::optional<ProcAmpRange> procAmpRange(LONG property) const override { return ProcAmp::range(property); }
    bool setProcAmp(LONG property, LONG value) override;
    std::optional<LONG> procAmp(LONG property) const override;
    // Renders one frame of `format` from the present state, neither counted nor delivered.
    CapturedFrame renderNow(const VideoFormat& format) const;

    // Everything the knobs and observations of the test API reach; rebuilt by reset().
    struct State {
        State(ChipBackend& backend, Defaults defaults);
        ChipRegisters chip;
        I2cBus bus;
        LensMechanics lens;
        PropertyChannel channel;
        PictureParams picture;
        Light light = Light::Neutral;
        std::optional<Scene> scene; // unset: the chart in stepped mode, the natural scene live
        double lightLevel = 1;
        double sensitivity[3] = {1, 1, 1}; // blue, green, red
        unsigned latency = 1;
        VideoFormat format{PixelFormat::Yuy2, 1280, 1024};
        std::vector<VideoFormat> refused;
        CompressionKnobs compression;
        double fps = 15;
        uint64_t frameIndex = 0; // last frame rendered
        unsigned keepCount = 1;
        std::deque<CapturedFrame> kept;
        BoundedLog<MotorMove> moves;
        BoundedLog<RegisterWrite> writes;
        BoundedLog<GpioWrite> gpioWrites;
        ProcAmp procAmp;
        bool amplifierApplied = false;
        bool frameCounter = false;
    };

    // Runs `use` on the state under the lock, after moving the lens up to now. Any thread.
    template <class F> auto withState(F&& use) const
    {
        std::lock_guard guard(mutex_);
        const_cast<SimulatedDevice*>(this)->advanceToNow();
        return use(*state_);
    }

private:
    // ChipBackend, called with mutex_ held.
    void chipRead(BYTE reg, BYTE count, BYTE* out) override;
    void chipWrite(BYTE reg, BYTE count, const BYTE* in) override;
    HRESULT i2cRead(BYTE address, BYTE reg, BYTE count, BYTE* out) override;
    HRESULT i2cWrite(BYTE address, BYTE reg, BYTE count, const BYTE* in) override;
    bool answers(BYTE address) override;
    WORD idWord(BYTE address) override;

    // Moves the lens over the time since the last update. mutex_ held.
    void advanceToNow();
    void deliverOne();
    PictureParams paramsFor(const SensorExposure& sensor, uint64_t frame) const;
    void logMove(int direction, unsigned steps, bool gpio);
    void startTicker();

    // Locks are taken in the order streamMutex_, deliverMutex_, mutex_.
    mutable std::mutex mutex_; // guards state_, steppedFrames_, lastUpdateMs_, stepped_, ownClockInstalled_
    std::unique_ptr<State> state_;
    uint64_t steppedFrames_ = 0;
    uint64_t lastUpdateMs_ = 0;
    bool stepped_ = false;
    SteppedClock ownClock_;
    bool ownClockInstalled_ = false;

    std::mutex deliverMutex_; // guards sink_, target_, frameBuffer_, renderer_; held while the sink runs
    FrameSink sink_;
    FrameTarget target_;
    std::vector<BYTE> frameBuffer_;
    FrameRenderer renderer_;
    mutable std::mutex renderNowMutex_; // guards nowRenderer_
    mutable FrameRenderer nowRenderer_;
    FrameTicker ticker_; // started and stopped only under streamMutex_
    std::mutex streamMutex_; // serialises starting and stopping the stream
};

} // namespace platform::devices
