// Test controls of the simulated bridge-chip camera: its device state, stepped frames, knobs, faults and logs.
#pragma once

#include <devices/video_format.h>
#include <win32/types.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace platform::devices {

class V4l2Io;

class SimulatedDevice;

// I2C addresses of the two bus devices, as the camera library passes them.
constexpr BYTE kSensorAddress = 0xBA;
constexpr BYTE kMotorAddress = 0x46;

// Property ids of the private interface.
constexpr ULONG kPropChipSelect = 4101;
constexpr ULONG kPropChipData = 4102;
constexpr ULONG kPropI2cSelect = 4103;
constexpr ULONG kPropI2cData = 4104;
constexpr ULONG kPropProbeAddress = 4107;
constexpr ULONG kPropProbeValue = 4115;
constexpr ULONG kPropProbeStatus = 4116;
constexpr ULONG kPropKeyAddress = 4135;
constexpr ULONG kPropKeyPseudoAddress = 4136;

// Results of failed bus transfers: no device answered, or it refused the byte count.
constexpr HRESULT kI2cNack = ORV_HRESULT(0x8007001Fu); // HRESULT_FROM_WIN32(ERROR_GEN_FAILURE)
constexpr HRESULT kI2cBadCount = E_INVALIDARG;

// One frame as it leaves the device (borrowed for the duration of a frame callback).
struct FrameView {
    VideoFormat format;
    const BYTE* data = nullptr;
    DWORD size = 0;
    uint64_t index = 0; // 1 for the first frame after power-on
    uint64_t timeMs = 0;
};

// A kept copy of a delivered frame.
struct CapturedFrame {
    VideoFormat format;
    std::vector<BYTE> bytes;
    uint64_t index = 0;
    uint64_t timeMs = 0;
};

enum class Light { Neutral, Warm, Cool };

// Scene under the chart: the plain chart, or colour patches and a grid around a neutral centre.
enum class Scene { Chart, Natural };

// What register 9 reports in bits 1 and 2 (or as a whole).
enum class StopOverride { None, Unknown, Byte };

// One entry of the key block: byte 0 toggle bit 7 and repeat count, byte 1 address, byte 2 code.
struct KeyEntry {
    BYTE toggleRepeat = 0;
    BYTE address = 0;
    BYTE code = 0;
};

// Fails matching private-interface calls: `skip` matching calls pass, then `count` fail with `result`.
struct FaultRule {
    enum class Call { Any, Set, Get };
    Call call = Call::Any;
    std::optional<ULONG> id; // every id when empty
    unsigned skip = 0;
    unsigned count = 1;
    HRESULT result = E_FAIL;
};

// A move started on the focus-motor controller or by a GPIO line change.
struct MotorMove {
    uint64_t timeMs = 0;
    int direction = 0;  // +1 towards the front end, -1 towards the back end, 0 stop
    unsigned steps = 0; // I2C moves: the step count written; GPIO drive: 0
    bool gpio = false;
    double position = 0; // lens position when the move started
};

// An I2C register write with the frame it was written in and the first frame it shapes.
struct RegisterWrite {
    BYTE address = 0;
    BYTE reg = 0;
    unsigned value = 0;
    uint64_t frameWritten = 0;
    uint64_t effectiveFrame = 0;
};

struct GpioWrite {
    uint64_t timeMs = 0;
    BYTE value = 0;
};

struct PropertyCall {
    uint64_t sequence = 0;
    std::thread::id thread;
    bool set = false;
    ULONG id = 0;
    std::vector<BYTE> in;  // bytes the caller passed (Set)
    std::vector<BYTE> out; // bytes returned (Get, on success)
    HRESULT result = S_OK;
};

// A strict-mode finding: a data call that did not directly follow its own thread's select.
struct StrictViolation {
    uint64_t sequence = 0;
    ULONG id = 0;
    std::thread::id thread;
};

// The capture pin's compression settings (IAMVideoCompression) as a driver may offer them.
struct CompressionKnobs {
    bool offered = true;   // the capture pin answers IAMVideoCompression
    bool infoFails = false; // GetInfo fails with E_FAIL
    LONG capabilities = 0x5; // CompressionCaps_*: quality (1) and key frames (4)
    LONG defaultKeyFrameRate = 15;
    LONG defaultPFrames = 0;
    double defaultQuality = 0.75;
    bool readsFail = false; // get_KeyFrameRate, get_PFramesPerKeyFrame and get_Quality fail with E_FAIL
};

// An extra entry of the video input list after the simulated device, for tests of device selection.
struct Decoy {
    std::string friendlyName;
    bool privateInterface = false; // when true it is a full simulated device of its own
};

// A handle on one simulated device's state. Copies share the device. Every member: any thread.
class SimulatedCamera {
public:
    // The simulated device of the process: the same state for every filter bound from its moniker. It
    // starts with the live look of the program (noise 2 with key 0x2820, sensitivities red 1.3, green 1.75,
    // blue 0.8, the frame counter, the amplifier applied, no kept frames); every other device, and this one
    // after resetAll, starts with the test defaults (no noise, equal sensitivities, no counter, amplifier off,
    // one kept frame).
    static SimulatedCamera primary();
    // Power-on state and test-default knobs for the primary device; clears its logs, the decoys and the
    // no-device switch, and leaves stepped mode. Test set-up only, while no stream runs.
    static void resetAll();
    // Hides the simulated device: the video input list then holds only decoys and V4L2 cameras.
    static void setNoDevice(bool none);
    static void setDecoys(std::vector<Decoy> decoys);
    // Puts a V4L2 camera reached through `io` in the simulated device's place in the video input list,
    // under its name, as a chosen /dev/videoN takes it; null, and resetAll, put the simulated device
    // back. `io` outlives every filter bound from it.
    static void setV4l2Camera(V4l2Io* io);
    // The device behind decoy `index`, which must be below the number of decoys set.
    static SimulatedCamera decoy(std::size_t index);

    explicit SimulatedCamera(std::shared_ptr<SimulatedDevice> device);
    // The device itself, for this library's own tests.
    SimulatedDevice& device() const { return *device_; }

    // Frames and time. Stepped mode stops the streaming thread and installs a stepped clock unless
    // one is installed already; deliverFrames(n) then renders n frames on the calling thread, each
    // advancing the clock by one frame period, and hands each to the running stream (if any).
    void setSteppedMode(bool stepped);
    // Renders n frames; false (nothing done) outside stepped mode.
    bool deliverFrames(unsigned n);
    // Frames per second of the live stream and of the stepped period; false for fps outside 1..60.
    bool setFrameRate(double fps);
    uint64_t frameCount() const;
    // Copies of the last `count` frames are kept (default 1).
    void keepFrames(unsigned count);
    std::vector<CapturedFrame> lastFrames() const;
    // Renders one frame of `format` from the present state without delivering or counting it.
    CapturedFrame renderNow(const VideoFormat& format) const;

    // Picture knobs. Those returning bool refuse (false, nothing changed) values outside their range.
    void setLight(Light colour);
    bool setLightLevel(double level);         // L >= 0, default 1
    void setFocusPeak(double position);       // p*, default 240
    bool setFocusRange(double range);         // R > 0, default 400
    bool setChartAmplitude(double amplitude); // A in 0..0.5, default 0.15
    bool setNoise(double sigma, uint32_t noiseKey); // sigma >= 0; 0 switches noise off
    void setBlackLevel(double level);
    void setUniformFrames(bool uniform);
    // Until set, stepped frames show the chart and live frames the natural scene.
    void setScene(Scene scene);
    // Whether the video processing amplifier's values shape the picture (test default off: they are only
    // stored).
    void setAmplifierApplied(bool applied);
    // Per-channel sensor sensitivity, a factor on the light each channel sees; each must be positive.
    bool setSensitivity(double red, double green, double blue);
    // Whether the natural scene shows the frame counter "FRAME nnnnnn" below its caption.
    void setFrameCounter(bool shown);
    // The capture format in force (what the capture pin's SetFormat last accepted).
    VideoFormat format() const;
    // Sizes or formats SetFormat refuses in addition to the ones the device never offers.
    void setRefusedFormats(std::vector<VideoFormat> formats);
    // The compression settings of capture pins made from now on.
    void setCompression(const CompressionKnobs& knobs);

    // Bus and chip knobs.
    void setSensorPresent(bool present);
    void setMotorPresent(bool present);
    void setNack(BYTE address, bool nack);
    // Frames between a sensor write and the first frame it shapes: 1 (default) to 3; false otherwise.
    bool setSensorLatency(unsigned frames);
    void setProbeOverride(std::optional<bool> answers);
    void addFault(const FaultRule& rule);
    void setStrictMode(bool strict);
    std::vector<StrictViolation> strictViolations() const;
    void setKeyAddresses(ULONG keyAddress, ULONG keyPseudoAddress);
    void queueKey(const KeyEntry& key);

    // Mechanics knobs; speeds must be positive and the travel at least one step (else false).
    bool setTravel(unsigned steps);        // P, default 360
    bool setMotorSpeed(double stepsPerMs); // I2C moves, default 1
    bool setGpioSpeed(double stepsPerMs);  // GPIO drive, default 1
    void setMotorStuckBusy(bool stuck);
    void setMotorIgnoresMoves(bool ignore);
    // Default 180; clamped to the travel.
    void setLensPosition(double position);
    void setStopOverride(StopOverride mode, BYTE byte = 0);
    void setStopZone(unsigned steps);

    // Observation. Each log keeps its newest 65536 entries.
    double lensPosition() const;
    std::vector<MotorMove> motorMoves() const;
    std::vector<RegisterWrite> registerWrites() const;
    std::vector<GpioWrite> gpioWrites() const;
    unsigned probeCount() const;
    std::vector<PropertyCall> propertyCalls() const;
    // Chip register and I2C register values as stored (no side effects, no log entry).
    BYTE chipRegister(BYTE reg) const;
    unsigned i2cRegister(BYTE address, BYTE reg) const;
    void clearLogs();

    // Private-interface calls as the COM object makes them.
    HRESULT propertySet(ULONG id, const void* data);
    HRESULT propertyGet(ULONG id, void* data);

private:
    std::shared_ptr<SimulatedDevice> device_;
};

} // namespace platform::devices
