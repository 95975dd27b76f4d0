// The layer's own classes in the class table.
#include <dshow/capture.h>
#include <dshow/device_enum.h>
#include <dshow/renderers.h>
#include <dshow/sample_grabber.h>

#include "builtin_classes.h"
#include "filter_graph.h"

namespace platform::dshow {

HRESULT createSystemDeviceEnum(REFIID riid, void** object);
HRESULT createCaptureGraphBuilder(REFIID riid, void** object);
HRESULT createSampleGrabber(REFIID riid, void** object);
HRESULT createNullRenderer(REFIID riid, void** object);
HRESULT createAviDecompressor(REFIID riid, void** object);
HRESULT createVideoRenderer(REFIID riid, void** object);

const std::vector<BuiltinClass>& builtinClasses() {
    static const std::vector<BuiltinClass> classes{
        {CLSID_SystemDeviceEnum, createSystemDeviceEnum},
        {CLSID_FilterGraph, createObject<FilterGraph>},
        {CLSID_CaptureGraphBuilder2, createCaptureGraphBuilder},
        {CLSID_SampleGrabber, createSampleGrabber},
        {CLSID_NullRenderer, createNullRenderer},
        {CLSID_AVIDec, createAviDecompressor},
        {CLSID_VideoMixingRenderer, createVideoRenderer},
    };
    return classes;
}

} // namespace platform::dshow
