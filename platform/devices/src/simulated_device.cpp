// The simulated device: lens integration over clock time, register latency, frame production and streaming.
#include "simulated_device.h"

#include <algorithm>
#include <cmath>

namespace platform::devices {
namespace {

bool offered(const SimulatedDevice::State& state, const VideoFormat& format)
{
    const bool size = (format.width == 640 && format.height == 480) || (format.width == 1280 && format.height == 1024);
    return size && std::find(state.refused.begin(), state.refused.end(), format) == state.refused.end();
}

// Live look: a few levels of noise, sensitivities that turn the power-on gains (R 31, G 21, B 40) into a
// slightly warm picture, the counter that shows the stream is running, and the amplifier applied. Nothing
// asks for kept frames.
void applyLiveDefaults(SimulatedDevice::State& s)
{
    s.picture.noiseSigma = 2;
    s.picture.noiseKey = 0x2820;
    s.sensitivity[0] = 0.8;
    s.sensitivity[1] = 1.75;
    s.sensitivity[2] = 1.3;
    s.frameCounter = true;
    s.amplifierApplied = true;
    s.keepCount = 0;
}

} // namespace

SimulatedDevice::State::State(ChipBackend& backend, Defaults defaults) : channel(backend)
{
    if (defaults == Defaults::Live)
        applyLiveDefaults(*this);
}

SimulatedDevice::SimulatedDevice(Defaults defaults)
    : state_(std::make_unique<State>(static_cast<ChipBackend&>(*this), defaults)), lastUpdateMs_(activeClock().nowMs())
{
}

SimulatedDevice::~SimulatedDevice()
{
    stopStream();
    setSteppedMode(false);
}

void SimulatedDevice::reset()
{
    setSteppedMode(false);
    std::lock_guard guard(mutex_);
    state_ = std::make_unique<State>(static_cast<ChipBackend&>(*this), Defaults::Test);
    lastUpdateMs_ = activeClock().nowMs();
    steppedFrames_ = 0;
}

HRESULT SimulatedDevice::propertySet(ULONG id, const void* data)
{
    std::lock_guard guard(mutex_);
    advanceToNow();
    return state_->channel.set(id, data);
}

HRESULT SimulatedDevice::propertyGet(ULONG id, void* data)
{
    std::lock_guard guard(mutex_);
    advanceToNow();
    return state_->channel.get(id, data);
}

bool SimulatedDevice::setFormat(const VideoFormat& format)
{
    std::lock_guard guard(mutex_);
    if (!offered(*state_, format))
        return false;
    state_->format = format;
    return true;
}

VideoFormat SimulatedDevice::format() const
{
    std::lock_guard guard(mutex_);
    return state_->format;
}

CompressionKnobs SimulatedDevice::compression() const
{
    std::lock_guard guard(mutex_);
    return state_->compression;
}

std::vector<VideoFormat> SimulatedDevice::capabilities() const
{
    std::vector<VideoFormat> list;
    for (PixelFormat pixels : {PixelFormat::Rgb24, PixelFormat::Yuy2, PixelFormat::I420, PixelFormat::Uyvy}) {
        list.push_back({pixels, 640, 480});
        list.push_back({pixels, 1280, 1024});
    }
    return list;
}

bool SimulatedDevice::setProcAmp(LONG property, LONG value)
{
    std::lock_guard guard(mutex_);
    return state_->procAmp.set(property, value);
}

std::optional<LONG> SimulatedDevice::procAmp(LONG property) const
{
    std::lock_guard guard(mutex_);
    return state_->procAmp.get(property);
}

// The lens moves by the controller's steps and by the GPIO drive over the time since the last
// update; a clock that was swapped for one with an earlier time only re-anchors.
void SimulatedDevice::advanceToNow()
{
    const uint64_t now = activeClock().nowMs();
    if (now <= lastUpdateMs_) {
        lastUpdateMs_ = now;
        return;
    }
    const double elapsed = double(now - lastUpdateMs_);
    lastUpdateMs_ = now;
    State& s = *state_;
    s.lens.move(s.bus.motor.run(elapsed));
    if (const int drive = gpioDriveDirection(s.chip.latch()))
        s.lens.move(drive * s.lens.gpioSpeed() * elapsed);
}

void SimulatedDevice::logMove(int direction, unsigned steps, bool gpio)
{
    state_->moves.push({lastUpdateMs_, direction, steps, gpio, state_->lens.position()});
}

void SimulatedDevice::chipRead(BYTE reg, BYTE count, BYTE* out)
{
    for (BYTE i = 0; i < count; ++i)
        out[i] = state_->chip.read(static_cast<BYTE>(reg + i), state_->lens.stopLines());
}

void SimulatedDevice::chipWrite(BYTE reg, BYTE count, const BYTE* in)
{
    State& s = *state_;
    for (BYTE i = 0; i < count; ++i) {
        const BYTE r = static_cast<BYTE>(reg + i);
        if (r != ChipRegisters::kGpioLatch) {
            s.chip.write(r, in[i]);
            continue;
        }
        const int before = gpioDriveDirection(s.chip.latch());
        s.chip.write(r, in[i]);
        s.gpioWrites.push({lastUpdateMs_, in[i]});
        const int after = gpioDriveDirection(s.chip.latch());
        if (after != before)
            logMove(after, 0, true);
    }
}

HRESULT SimulatedDevice::i2cRead(BYTE address, BYTE reg, BYTE count, BYTE* out)
{
    return state_->bus.read(address, reg, out, count);
}

// Sensor writes shape frames from the current frame plus the latency on; controller writes act now.
HRESULT SimulatedDevice::i2cWrite(BYTE address, BYTE reg, BYTE count, const BYTE* in)
{
    State& s = *state_;
    const uint64_t effective = address == kSensorAddress ? s.frameIndex + s.latency : s.frameIndex;
    const HRESULT hr = s.bus.write(address, reg, in, count, effective);
    if (hr != S_OK)
        return hr;
    const unsigned value = count == 2 ? unsigned(in[0] << 8 | in[1]) : in[0];
    s.writes.push({address, reg, value, s.frameIndex, effective});
    if (address == kMotorAddress && (reg == FocusMotor::kStepsFront || reg == FocusMotor::kStepsBack))
        logMove(value == 0 ? 0 : (reg == FocusMotor::kStepsFront ? 1 : -1), value, false);
    return hr;
}

bool SimulatedDevice::answers(BYTE address) { return state_->bus.answers(address); }

WORD SimulatedDevice::idWord(BYTE address) { return state_->bus.idWord(address); }

PictureParams SimulatedDevice::paramsFor(const SensorExposure& sensor, uint64_t frame) const
{
    const State& s = *state_;
    PictureParams p = s.picture;
    lightColour(s.light, s.lightLevel, p.light);
    for (int c = 0; c < 3; ++c)
        p.light[c] *= s.sensitivity[c];
    p.frameCounter = s.frameCounter;
    p.exposure = sensor.exposure;
    p.gain[0] = sensor.gainBlue;
    p.gain[1] = sensor.gainGreen;
    p.gain[2] = sensor.gainRed;
    p.position = s.lens.position();
    p.frameIndex = frame;
    p.scene = s.scene.value_or(stepped_ ? Scene::Chart : Scene::Natural);
    if (s.amplifierApplied)
        p.amplifier = s.procAmp.levels();
    return p;
}

// The frame's parameters are taken under the state lock; rendering runs outside it so that
// register calls from other threads are not held up by a frame.
void SimulatedDevice::deliverOne()
{
    std::lock_guard deliver(deliverMutex_);
    PictureParams params;
    FrameView view;
    {
        std::lock_guard guard(mutex_);
        advanceToNow();
        State& s = *state_;
        view.index = ++s.frameIndex;
        view.format = s.format;
        view.timeMs = lastUpdateMs_;
        params = paramsFor(s.bus.sensor.exposureFor(view.index), view.index);
    }
    view.size = frameBytes(view.format);
    BYTE* out = target_ ? target_(view.size) : nullptr;
    if (!out) {
        frameBuffer_.resize(view.size);
        out = frameBuffer_.data();
    }
    renderer_.render(params, view.format, out);
    view.data = out;
    {
        std::lock_guard guard(mutex_);
        State& s = *state_;
        if (s.keepCount > 0) {
            s.kept.push_back({view.format, std::vector<BYTE>(view.data, view.data + view.size), view.index, view.timeMs});
            while (s.kept.size() > s.keepCount)
                s.kept.pop_front();
        }
    }
    if (sink_)
        sink_(view);
}

CapturedFrame SimulatedDevice::renderNow(const VideoFormat& format) const
{
    PictureParams params;
    CapturedFrame frame{format, {}, 0, 0};
    {
        std::lock_guard guard(mutex_);
        const_cast<SimulatedDevice&>(*this).advanceToNow();
        State& s = *state_;
        frame.index = s.frameIndex + 1;
        frame.timeMs = lastUpdateMs_;
        params = paramsFor(s.bus.sensor.exposureFor(frame.index), frame.index);
    }
    frame.bytes.resize(frameBytes(format));
    std::lock_guard render(renderNowMutex_);
    nowRenderer_.render(params, format, frame.bytes.data());
    return frame;
}

void SimulatedDevice::startTicker()
{
    double fps;
    {
        std::lock_guard guard(mutex_);
        fps = state_->fps;
    }
    ticker_.start(fps, [this] { deliverOne(); });
}

void SimulatedDevice::startStream(FrameSink sink, FrameTarget target, StreamFailed)
{
    std::lock_guard stream(streamMutex_);
    {
        std::lock_guard deliver(deliverMutex_);
        sink_ = std::move(sink);
        target_ = std::move(target);
    }
    bool stepped;
    {
        std::lock_guard guard(mutex_);
        stepped = stepped_;
    }
    if (!stepped && !ticker_.running())
        startTicker();
}

void SimulatedDevice::stopStream()
{
    std::lock_guard stream(streamMutex_);
    ticker_.stop();
    std::lock_guard deliver(deliverMutex_);
    sink_ = nullptr;
    target_ = nullptr;
}

// Stepped mode runs on a stepped clock: the one installed, or this device's own.
void SimulatedDevice::setSteppedMode(bool stepped)
{
    std::lock_guard stream(streamMutex_);
    if (stepped)
        ticker_.stop();
    {
        std::lock_guard guard(mutex_);
        if (stepped == stepped_)
            return;
        stepped_ = stepped;
        if (stepped && !dynamic_cast<SteppedClock*>(&activeClock())) {
            installClock(&ownClock_);
            ownClockInstalled_ = true;
        } else if (!stepped && ownClockInstalled_) {
            if (&activeClock() == &ownClock_)
                installClock(nullptr);
            ownClockInstalled_ = false;
        }
        lastUpdateMs_ = activeClock().nowMs();
        steppedFrames_ = 0;
    }
    bool streaming;
    {
        std::lock_guard deliver(deliverMutex_);
        streaming = static_cast<bool>(sink_);
    }
    if (!stepped && streaming)
        startTicker();
}

// Each frame first advances the clock by one period (periods alternate so that n frames take
// n * 1000 / fps ms), then renders and delivers.
bool SimulatedDevice::deliverFrames(unsigned n)
{
    {
        std::lock_guard guard(mutex_);
        if (!stepped_)
            return false;
    }
    for (unsigned i = 0; i < n; ++i) {
        uint32_t step;
        {
            std::lock_guard guard(mutex_);
            if (!stepped_)
                return false;
            const double period = 1000.0 / state_->fps;
            const uint64_t k = steppedFrames_++;
            step = uint32_t(std::llround((k + 1) * period) - std::llround(k * period));
        }
        activeClock().sleepMs(step);
        deliverOne();
    }
    return true;
}

bool SimulatedDevice::setFrameRate(double fps)
{
    if (!(fps >= 1 && fps <= 60))
        return false;
    std::lock_guard stream(streamMutex_);
    {
        std::lock_guard guard(mutex_);
        state_->fps = fps;
        steppedFrames_ = 0;
    }
    if (ticker_.running()) {
        ticker_.stop();
        startTicker();
    }
    return true;
}

double SimulatedDevice::frameRate() const
{
    std::lock_guard guard(mutex_);
    return state_->fps;
}

} // namespace platform::devices
