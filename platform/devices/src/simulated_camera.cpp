// The test API: thin forwarding onto one simulated device's state.
#include <devices/simulated_camera.h>

#include "device_registry.h"

namespace platform::devices {

using State = SimulatedDevice::State;

SimulatedCamera::SimulatedCamera(std::shared_ptr<SimulatedDevice> device) : device_(std::move(device)) {}

SimulatedCamera SimulatedCamera::primary() { return SimulatedCamera(primaryDevice()); }

void SimulatedCamera::resetAll()
{
    primaryDevice()->reset();
    setPrimaryHidden(false);
    setDecoyList({});
    setScriptedV4l2Camera(nullptr);
}

void SimulatedCamera::setNoDevice(bool none) { setPrimaryHidden(none); }

void SimulatedCamera::setDecoys(std::vector<Decoy> decoys) { setDecoyList(std::move(decoys)); }

void SimulatedCamera::setV4l2Camera(V4l2Io* io) { setScriptedV4l2Camera(io); }

SimulatedCamera SimulatedCamera::decoy(std::size_t index) { return SimulatedCamera(decoyDevice(index)); }

void SimulatedCamera::setSteppedMode(bool stepped) { device_->setSteppedMode(stepped); }
bool SimulatedCamera::deliverFrames(unsigned n) { return device_->deliverFrames(n); }
bool SimulatedCamera::setFrameRate(double fps) { return device_->setFrameRate(fps); }
uint64_t SimulatedCamera::frameCount() const
{
    return device_->withState([](State& s) { return s.frameIndex; });
}
void SimulatedCamera::keepFrames(unsigned count)
{
    device_->withState([count](State& s) {
        s.keepCount = count;
        while (s.kept.size() > count)
            s.kept.pop_front();
    });
}
std::vector<CapturedFrame> SimulatedCamera::lastFrames() const
{
    return device_->withState([](State& s) { return std::vector<CapturedFrame>(s.kept.begin(), s.kept.end()); });
}
CapturedFrame SimulatedCamera::renderNow(const VideoFormat& format) const { return device_->renderNow(format); }

void SimulatedCamera::setLight(Light colour)
{
    device_->withState([colour](State& s) { s.light = colour; });
}
bool SimulatedCamera::setLightLevel(double level)
{
    if (!(level >= 0))
        return false;
    device_->withState([level](State& s) { s.lightLevel = level; });
    return true;
}
void SimulatedCamera::setFocusPeak(double position)
{
    device_->withState([position](State& s) { s.picture.peak = position; });
}
bool SimulatedCamera::setFocusRange(double range)
{
    if (!(range > 0))
        return false;
    device_->withState([range](State& s) { s.picture.range = range; });
    return true;
}
bool SimulatedCamera::setChartAmplitude(double amplitude)
{
    if (!(amplitude >= 0 && amplitude <= 0.5))
        return false;
    device_->withState([amplitude](State& s) { s.picture.amplitude = amplitude; });
    return true;
}
bool SimulatedCamera::setNoise(double sigma, uint32_t noiseKey)
{
    if (!(sigma >= 0))
        return false;
    device_->withState([sigma, noiseKey](State& s) {
        s.picture.noiseSigma = sigma;
        s.picture.noiseKey = noiseKey;
    });
    return true;
}
void SimulatedCamera::setBlackLevel(double level)
{
    device_->withState([level](State& s) { s.picture.blackLevel = level; });
}
void SimulatedCamera::setUniformFrames(bool uniform)
{
    device_->withState([uniform](State& s) { s.picture.uniform = uniform; });
}
void SimulatedCamera::setScene(Scene scene)
{
    device_->withState([scene](State& s) { s.scene = scene; });
}
void SimulatedCamera::setAmplifierApplied(bool applied) {
    device_->withState([applied](State& s) { s.amplifierApplied = applied; });
}
bool SimulatedCamera::setSensitivity(double red, double green, double blue)
{
    if (!(red > 0 && green > 0 && blue > 0))
        return false;
    device_->withState([=](State& s) {
        s.sensitivity[0] = blue;
        s.sensitivity[1] = green;
        s.sensitivity[2] = red;
    });
    return true;
}
void SimulatedCamera::setFrameCounter(bool shown)
{
    device_->withState([shown](State& s) { s.frameCounter = shown; });
}
VideoFormat SimulatedCamera::format() const { return device_->format(); }
void SimulatedCamera::setRefusedFormats(std::vector<VideoFormat> formats)
{
    device_->withState([&formats](State& s) { s.refused = std::move(formats); });
}

void SimulatedCamera::setCompression(const CompressionKnobs& knobs)
{
    device_->withState([&knobs](State& s) { s.compression = knobs; });
}

void SimulatedCamera::setSensorPresent(bool present)
{
    device_->withState([present](State& s) { s.bus.sensorPresent = present; });
}
void SimulatedCamera::setMotorPresent(bool present)
{
    device_->withState([present](State& s) { s.bus.motorPresent = present; });
}
void SimulatedCamera::setNack(BYTE address, bool nack)
{
    device_->withState([address, nack](State& s) {
        if (nack)
            s.bus.nacking.insert(address);
        else
            s.bus.nacking.erase(address);
    });
}
bool SimulatedCamera::setSensorLatency(unsigned frames)
{
    if (frames < 1 || frames > 3)
        return false;
    device_->withState([frames](State& s) { s.latency = frames; });
    return true;
}
void SimulatedCamera::setProbeOverride(std::optional<bool> answers)
{
    device_->withState([answers](State& s) { s.channel.setProbeOverride(answers); });
}
void SimulatedCamera::addFault(const FaultRule& rule)
{
    device_->withState([&rule](State& s) { s.channel.addFault(rule); });
}
void SimulatedCamera::setStrictMode(bool strict)
{
    device_->withState([strict](State& s) { s.channel.setStrictMode(strict); });
}
std::vector<StrictViolation> SimulatedCamera::strictViolations() const
{
    return device_->withState([](State& s) { return s.channel.violations(); });
}
void SimulatedCamera::setKeyAddresses(ULONG keyAddress, ULONG keyPseudoAddress)
{
    device_->withState([=](State& s) { s.channel.setKeyAddresses(keyAddress, keyPseudoAddress); });
}
void SimulatedCamera::queueKey(const KeyEntry& key)
{
    device_->withState([&key](State& s) { s.chip.queueKey(key); });
}

bool SimulatedCamera::setTravel(unsigned steps)
{
    if (steps == 0)
        return false;
    device_->withState([steps](State& s) { s.lens.setTravel(steps); });
    return true;
}
bool SimulatedCamera::setMotorSpeed(double stepsPerMs)
{
    if (!(stepsPerMs > 0))
        return false;
    device_->withState([stepsPerMs](State& s) { s.bus.motor.setSpeed(stepsPerMs); });
    return true;
}
bool SimulatedCamera::setGpioSpeed(double stepsPerMs)
{
    if (!(stepsPerMs > 0))
        return false;
    device_->withState([stepsPerMs](State& s) { s.lens.setGpioSpeed(stepsPerMs); });
    return true;
}
void SimulatedCamera::setMotorStuckBusy(bool stuck)
{
    device_->withState([stuck](State& s) { s.bus.motor.setStuckBusy(stuck); });
}
void SimulatedCamera::setMotorIgnoresMoves(bool ignore)
{
    device_->withState([ignore](State& s) { s.bus.motor.setIgnoresMoves(ignore); });
}
void SimulatedCamera::setLensPosition(double position)
{
    device_->withState([position](State& s) { s.lens.setPosition(position); });
}
void SimulatedCamera::setStopOverride(StopOverride mode, BYTE byte)
{
    device_->withState([mode, byte](State& s) { s.chip.setStopOverride(mode, byte); });
}
void SimulatedCamera::setStopZone(unsigned steps)
{
    device_->withState([steps](State& s) { s.lens.setStopZone(steps); });
}

double SimulatedCamera::lensPosition() const
{
    return device_->withState([](State& s) { return s.lens.position(); });
}
std::vector<MotorMove> SimulatedCamera::motorMoves() const
{
    return device_->withState([](State& s) { return s.moves.entries(); });
}
std::vector<RegisterWrite> SimulatedCamera::registerWrites() const
{
    return device_->withState([](State& s) { return s.writes.entries(); });
}
std::vector<GpioWrite> SimulatedCamera::gpioWrites() const
{
    return device_->withState([](State& s) { return s.gpioWrites.entries(); });
}
unsigned SimulatedCamera::probeCount() const
{
    return device_->withState([](State& s) { return s.channel.probeCount(); });
}
std::vector<PropertyCall> SimulatedCamera::propertyCalls() const
{
    return device_->withState([](State& s) { return s.channel.calls(); });
}
BYTE SimulatedCamera::chipRegister(BYTE reg) const
{
    return device_->withState([reg](State& s) { return s.chip.peek(reg, s.lens.stopLines()); });
}
unsigned SimulatedCamera::i2cRegister(BYTE address, BYTE reg) const
{
    return device_->withState([address, reg](State& s) -> unsigned {
        return address == kSensorAddress ? s.bus.sensor.value(reg) : s.bus.motor.value(reg);
    });
}
void SimulatedCamera::clearLogs()
{
    device_->withState([](State& s) {
        s.moves.clear();
        s.writes.clear();
        s.gpioWrites.clear();
        s.channel.clearLogs();
    });
}

HRESULT SimulatedCamera::propertySet(ULONG id, const void* data) { return device_->propertySet(id, data); }
HRESULT SimulatedCamera::propertyGet(ULONG id, void* data) { return device_->propertyGet(id, data); }

} // namespace platform::devices
