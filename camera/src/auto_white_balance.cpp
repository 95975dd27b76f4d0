// Auto white balance: steps the red, green and blue gains towards the target and corrects the exposure
// when the gains show the scene too dark or too bright.
#include <algorithm>

#include <camera/korvib.h>

#include "auto_loop_steps.h"
#include "auto_loops.h"

namespace korvib {
namespace {

constexpr int kGainMin = 1;
constexpr int kGainMax = 63;
constexpr int kExposureMin = 1;
constexpr int kLastCount = 80;

// Gains red, green, blue and the exposure, written in the order the sensor takes them.
void WriteAll(const int (&gains)[3], int exposure) {
    WriteSensor(KZ_REG_GAIN_RED, gains[0]);
    WriteSensor(KZ_REG_GAIN_GREEN1, gains[1]);
    WriteSensor(KZ_REG_GAIN_GREEN2, gains[1]);
    WriteSensor(KZ_REG_GAIN_BLUE, gains[2]);
    WriteSensor(KZ_REG_EXPOSURE, exposure);
}

// Adds each colour's step to its gain, within the sensor's range, and writes the gains that moved.
void StepGains(const int (&step)[3], int (&gains)[3]) {
    static constexpr struct {
        const char* line;
        int reg;
        int twin; // -1: none
    } kColours[] = {{"write r: %d", KZ_REG_GAIN_RED, -1},
                    {"write g: %d", KZ_REG_GAIN_GREEN1, KZ_REG_GAIN_GREEN2},
                    {"write b: %d", KZ_REG_GAIN_BLUE, -1}};
    for (int c = 0; c < 3; ++c) {
        if (step[c] == 0) {
            continue;
        }
        gains[c] = std::clamp(gains[c] + step[c], kGainMin, kGainMax);
        DebugFormat(kColours[c].line, gains[c]);
        WriteSensor(kColours[c].reg, gains[c]);
        if (kColours[c].twin >= 0) {
            WriteSensor(kColours[c].twin, gains[c]);
        }
    }
}

// Too dark (gain sum below 40): gains up, exposure halved down to 1. Too bright (a gain above 60): gains
// down to 1 at least, exposure up. Writes everything and gives true when it corrected; false otherwise.
bool CorrectLevel(int (&gains)[3], int* exposure) {
    if (gains[0] + gains[1] + gains[2] < 40) {
        for (int& gain : gains) {
            gain += gain < 10 ? 15 : 5;
        }
        *exposure = std::max(kExposureMin, *exposure - *exposure / 2);
    } else if (*std::max_element(gains, gains + 3) > 60) {
        for (int& gain : gains) {
            gain = std::max(kGainMin, gain - (gain <= 40 ? 10 : 20));
        }
        *exposure += 100;
        if (*exposure >= 16383) {
            *exposure = 16302;
        }
    } else {
        return false;
    }
    WriteAll(gains, *exposure);
    return true;
}

} // namespace

// Finishes (switch off, the values now on the sensor posted) when no gain moved and none needed a
// correction, or after the 80th call whatever happened in it; switches off without results when the
// sensor cannot be read.
void AutoWhiteBalance(const LoopRun& run) {
    AutoLoopState& loops = AutoLoops();
    const AutoParameters& parameters = run.parameters;
    const RegionSums& sums = run.sums;
    const int average[3] = {static_cast<int>(sums.red / sums.pixels),
                            static_cast<int>(sums.green / sums.pixels),
                            static_cast<int>(sums.blue / sums.pixels)};
    DebugFormat("average: %d, %d, %d", average[0], average[1], average[2]);
    int step[3];
    for (int c = 0; c < 3; ++c) {
        step[c] = (parameters.awbTarget - average[c]) / parameters.awbDiff;
    }
    DebugFormat("step: %d, %d, %d", step[0], step[1], step[2]);

    int gains[3] = {};
    int exposure = 0;
    if (!ReadSensor(KZ_REG_GAIN_RED, &gains[0]) || !ReadSensor(KZ_REG_GAIN_GREEN1, &gains[1]) ||
        !ReadSensor(KZ_REG_GAIN_BLUE, &gains[2]) || !ReadSensor(KZ_REG_EXPOSURE, &exposure)) {
        loops.AbandonWhiteBalance();
        return;
    }
    DebugFormat("read register: %d, %d, %d, %d", gains[0], gains[1], gains[2], exposure);

    StepGains(step, gains);
    const bool corrected = CorrectLevel(gains, &exposure);
    const bool settled = !corrected && step[0] == 0 && step[1] == 0 && step[2] == 0;
    if (settled || run.counter > kLastCount) {
        loops.FinishWhiteBalance(gains, exposure);
    }
}

} // namespace korvib
