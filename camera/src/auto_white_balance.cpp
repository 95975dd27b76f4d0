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
constexpr int kLastCount = 80;

// Gains red, green, blue and the exposure, written in the order the sensor takes them.
void WriteAll(const int* gains, int exposure) {
    WriteSensor(KZ_REG_GAIN_RED, gains[0]);
    WriteSensor(KZ_REG_GAIN_GREEN1, gains[1]);
    WriteSensor(KZ_REG_GAIN_GREEN2, gains[1]);
    WriteSensor(KZ_REG_GAIN_BLUE, gains[2]);
    WriteSensor(KZ_REG_EXPOSURE, exposure);
}

} // namespace

// Runs on every 4th call. Finishes (switch off, results posted) when no gain moved and the gains are in
// the normal range, or after the 80th call; switches off without results when the parameters give no
// region or the sensor cannot be read.
void AutoWhiteBalance(BYTE* frame, int width, int height) {
    AutoLoopState& loops = AutoLoops();
    LoopRun run;
    if (!StartRun(loops.CountWhiteBalanceCall(), frame, width, height, true, &run)) {
        return;
    }
    const AutoParameters& parameters = run.parameters;
    const RegionSums& sums = run.sums;
    const int average[3] = {static_cast<int>(sums.red / sums.pixels), static_cast<int>(sums.green / sums.pixels),
                            static_cast<int>(sums.blue / sums.pixels)};
    DebugFormat("average: %d, %d, %d", average[0], average[1], average[2]);
    int step[3];
    for (int c = 0; c < 3; ++c) {
        step[c] = (parameters.awbTarget - average[c]) / parameters.awbDiff;
    }
    DebugFormat("step: %d, %d, %d", step[0], step[1], step[2]);

    int read[3] = {};
    int exposure = 0;
    if (!ReadSensor(KZ_REG_GAIN_RED, &read[0]) || !ReadSensor(KZ_REG_GAIN_GREEN1, &read[1]) ||
        !ReadSensor(KZ_REG_GAIN_BLUE, &read[2]) || !ReadSensor(KZ_REG_EXPOSURE, &exposure)) {
        loops.FinishWhiteBalance(nullptr, nullptr);
        return;
    }
    DebugFormat("read register: %d, %d, %d, %d", read[0], read[1], read[2], exposure);

    int gains[3] = {read[0], read[1], read[2]};
    if (step[0] != 0) {
        gains[0] = std::clamp(gains[0] + step[0], kGainMin, kGainMax);
        DebugFormat("write r: %d", gains[0]);
        WriteSensor(KZ_REG_GAIN_RED, gains[0]);
    }
    if (step[1] != 0) {
        gains[1] = std::clamp(gains[1] + step[1], kGainMin, kGainMax);
        DebugFormat("write g: %d", gains[1]);
        WriteSensor(KZ_REG_GAIN_GREEN1, gains[1]);
        WriteSensor(KZ_REG_GAIN_GREEN2, gains[1]);
    }
    if (step[2] != 0) {
        gains[2] = std::clamp(gains[2] + step[2], kGainMin, kGainMax);
        DebugFormat("write b: %d", gains[2]);
        WriteSensor(KZ_REG_GAIN_BLUE, gains[2]);
    }

    if (gains[0] + gains[1] + gains[2] < 40) {
        // Too dark: the gains go up and the exposure halves.
        for (int& gain : gains) {
            gain += gain < 10 ? 15 : 5;
        }
        int darker = exposure - exposure / 2;
        if (darker <= 1) {
            darker = 12;
        }
        WriteAll(gains, darker);
    } else if (*std::max_element(gains, gains + 3) > 60) {
        // Too bright: the gains come down, never below the sensor's minimum, and the exposure rises.
        for (int& gain : gains) {
            gain = std::max(kGainMin, gain - (gain <= 40 ? 10 : 20));
        }
        int brighter = exposure + 100;
        if (brighter >= 16383) {
            brighter = 16302;
        }
        WriteAll(gains, brighter);
    } else if ((step[0] == 0 && step[1] == 0 && step[2] == 0) || run.counter > kLastCount) {
        loops.FinishWhiteBalance(read, &exposure);
    }
}

} // namespace korvib
