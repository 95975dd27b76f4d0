// The capture filter's property page: the video processing amplifier's values on track bars.
#pragma once

#include <dshow/com.h>

namespace platform::devices {

// Class id of the page, listed by the simulated capture filter's ISpecifyPropertyPages.
extern const CLSID CLSID_ProcAmpPropertyPage;

// Control ids: the page's window in its frame, and per amplifier property p (VideoProcAmp_*) its track bar
// kProcAmpBarId + p and value text kProcAmpValueId + p.
constexpr int kProcAmpPageId = 0x500;
constexpr int kProcAmpBarId = 0x510;
constexpr int kProcAmpValueId = 0x520;

} // namespace platform::devices
