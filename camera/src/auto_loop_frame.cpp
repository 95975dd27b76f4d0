// RunAutoLoops: the loops switched on take their step on one frame, each measuring it unmarked.
#include "auto_loop_steps.h"
#include "auto_loops.h"

namespace korvib {

// Exposure measures the frame before white balance marks its region, or it would settle ten levels high
// while both run.
void RunAutoLoops(BYTE* frame, int width, int height) {
    AutoLoopState& loops = AutoLoops();
    LoopRun balance;
    LoopRun exposure;
    const bool balanceWorks = loops.WhiteBalanceOn() && StartRun(frame, width, height, true, &balance);
    const bool exposureWorks = loops.ExposureOn() && StartRun(frame, width, height, false, &exposure);
    if (balanceWorks) {
        AutoWhiteBalance(balance);
    }
    if (exposureWorks) {
        AutoExposure(exposure);
    }
    if (balanceWorks) {
        MarkRegion(frame, width, balance.region);
    }
    if (exposureWorks) {
        MarkRegion(frame, width, exposure.region);
    }
}

} // namespace korvib
