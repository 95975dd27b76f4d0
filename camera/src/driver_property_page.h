// The capture driver's own property page, shown in a modal property frame.
#pragma once

#include <dshow/com.h>

namespace korvib {

// Class id of the driver's property page.
extern const CLSID CLSID_DriverPropertyPage;

// Shows the driver's page for `source` (the capture filter, not null) at (30, 30) without owner and returns
// when the frame closes. A filter without ISpecifyPropertyPages or a frame that fails shows the COM error
// box. GUI thread.
void ShowDriverPropertyPage(IUnknown* source);

} // namespace korvib
