// Auto exposure: trims the sensor's exposure until the region's mean is near the target.
#include <algorithm>

#include <camera/korvib.h>

#include "auto_loop_steps.h"
#include "auto_loops.h"

namespace korvib {

// Finishes (switch off, exposure posted) when the mean is within the divisor of the target or after the
// 80th call; switches off without a result when the exposure cannot be read.
void AutoExposure(const LoopRun& run) {
    AutoLoopState& loops = AutoLoops();
    const RegionSums& sums = run.sums;
    const int mean = static_cast<int>((sums.red + sums.green + sums.blue) / (sums.pixels * 3));
    const int step = (run.parameters.aeTarget - mean) / run.parameters.aeDiff;
    int exposure = 0;
    if (!ReadSensor(KZ_REG_EXPOSURE, &exposure)) {
        loops.AbandonExposure();
        return;
    }
    if (step != 0 && run.counter <= 80) {
        const int trimmed = std::clamp(exposure + step, 1, 16383);
        DebugFormat("write e: %d", trimmed);
        WriteSensor(KZ_REG_EXPOSURE, trimmed);
        return;
    }
    loops.FinishExposure(exposure);
}

} // namespace korvib
