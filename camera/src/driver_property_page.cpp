// The capture driver's property page in a modal property frame.
#include "driver_property_page.h"

#include <dshow/property_pages.h>

#include "error_boxes.h"

namespace korvib {

// {3607A27C-2A4E-4437-A8D5-D273689A04BC}
const CLSID CLSID_DriverPropertyPage = {
    0x3607A27C, 0x2A4E, 0x4437, {0xA8, 0xD5, 0xD2, 0x73, 0x68, 0x9A, 0x04, 0xBC}};

// The page list the filter would report is not asked for: the driver's one page is shown by its class.
void ShowDriverPropertyPage(IUnknown* source) {
    ISpecifyPropertyPages* pages = nullptr;
    HRESULT hr = source->QueryInterface(IID_ISpecifyPropertyPages, reinterpret_cast<void**>(&pages));
    if (FAILED(hr)) {
        ShowComError(hr);
    }
    if (hr != S_OK) {
        return;
    }
    IUnknown* objects[] = {source};
    hr = OleCreatePropertyFrame(nullptr, 30, 30, nullptr, 1, objects, 1, &CLSID_DriverPropertyPage, 0, 0,
                                nullptr);
    if (FAILED(hr)) {
        ShowComError(hr);
    }
    pages->Release();
}

} // namespace korvib
