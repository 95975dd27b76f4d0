// Capture graph building and the interfaces capture filters and their pins offer.
#pragma once

#include <dshow/graph.h>

extern const IID IID_ICaptureGraphBuilder2;
extern const IID IID_IFileSinkFilter;
extern const IID IID_IAMStreamConfig;
extern const IID IID_IAMVideoProcAmp;
extern const IID IID_IAMVideoCompression;
extern const IID IID_IAMVfwCompressDialogs;

extern const CLSID CLSID_CaptureGraphBuilder2;
extern const GUID PIN_CATEGORY_CAPTURE;
extern const GUID PIN_CATEGORY_PREVIEW;

struct IFileSinkFilter : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetFileName(LPCOLESTR file, const AM_MEDIA_TYPE* type) = 0;
    // File name in task memory; `type` (optional) receives a copy of the sink's type.
    virtual HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR* file, AM_MEDIA_TYPE* type) = 0;
};

// The thread that builds the graph.
struct ICaptureGraphBuilder2 : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetFiltergraph(IGraphBuilder* graph) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFiltergraph(IGraphBuilder** graph) = 0;
    // Adds a multiplexer of `type` writing `file` to the graph.
    virtual HRESULT STDMETHODCALLTYPE SetOutputFileName(const GUID* type, LPCOLESTR file, IBaseFilter** mux,
                                                        IFileSinkFilter** sink) = 0;
    // Looks for `riid` on `filter` (and its pins) when category is null, else on the filter's output pins
    // of that category; then downstream of them. E_NOINTERFACE when nothing has it.
    virtual HRESULT STDMETHODCALLTYPE FindInterface(const GUID* category, const GUID* type, IBaseFilter* filter,
                                                    REFIID riid, void** object) = 0;
    // Connects an output pin of `source` (a filter: its free pin of `category` and `type`; or a pin) through
    // `intermediate` (optional) to `sink`; a null sink renders to the default video renderer.
    virtual HRESULT STDMETHODCALLTYPE RenderStream(const GUID* category, const GUID* type, IUnknown* source,
                                                   IBaseFilter* intermediate, IBaseFilter* sink) = 0;
    virtual HRESULT STDMETHODCALLTYPE ControlStream(const GUID* category, const GUID* type, IBaseFilter* filter,
                                                    REFERENCE_TIME* start, REFERENCE_TIME* stop,
                                                    WORD startCookie, WORD stopCookie) = 0;
};

struct VIDEO_STREAM_CONFIG_CAPS {
    GUID guid;
    ULONG VideoStandard;
    SIZE InputSize;
    SIZE MinCroppingSize;
    SIZE MaxCroppingSize;
    int CropGranularityX;
    int CropGranularityY;
    int CropAlignX;
    int CropAlignY;
    SIZE MinOutputSize;
    SIZE MaxOutputSize;
    int OutputGranularityX;
    int OutputGranularityY;
    int StretchTapsX;
    int StretchTapsY;
    int ShrinkTapsX;
    int ShrinkTapsY;
    LONGLONG MinFrameInterval;
    LONGLONG MaxFrameInterval;
    LONG MinBitsPerSecond;
    LONG MaxBitsPerSecond;
};

// SetFormat while the pin is stopped and not connected; the caller's thread. GetFormat: any thread.
struct IAMStreamConfig : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetFormat(AM_MEDIA_TYPE* type) = 0;
    // The current (or preferred) format, in task memory for DeleteMediaType.
    virtual HRESULT STDMETHODCALLTYPE GetFormat(AM_MEDIA_TYPE** type) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNumberOfCapabilities(int* count, int* size) = 0;
    // `caps` points at `size` bytes (a VIDEO_STREAM_CONFIG_CAPS).
    virtual HRESULT STDMETHODCALLTYPE GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) = 0;
};

enum VideoProcAmpProperty {
    VideoProcAmp_Brightness = 0,
    VideoProcAmp_Contrast = 1,
    VideoProcAmp_Hue = 2,
    VideoProcAmp_Saturation = 3,
    VideoProcAmp_Sharpness = 4,
    VideoProcAmp_Gamma = 5,
    VideoProcAmp_ColorEnable = 6,
    VideoProcAmp_WhiteBalance = 7,
    VideoProcAmp_BacklightCompensation = 8,
    VideoProcAmp_Gain = 9,
};

enum VideoProcAmpFlags {
    VideoProcAmp_Flags_Auto = 0x1,
    VideoProcAmp_Flags_Manual = 0x2,
};

// Any thread.
struct IAMVideoProcAmp : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetRange(LONG property, LONG* min, LONG* max, LONG* step, LONG* defaultValue,
                                               LONG* capsFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Set(LONG property, LONG value, LONG flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Get(LONG property, LONG* value, LONG* flags) = 0;
};

enum CompressionCaps {
    CompressionCaps_CanQuality = 0x1,
    CompressionCaps_CanCrunch = 0x2,
    CompressionCaps_CanKeyFrame = 0x4,
    CompressionCaps_CanBFrame = 0x8,
    CompressionCaps_CanWindow = 0x10,
};

// The caller's thread.
struct IAMVideoCompression : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE put_KeyFrameRate(LONG rate) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_KeyFrameRate(LONG* rate) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_PFramesPerKeyFrame(LONG frames) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_PFramesPerKeyFrame(LONG* frames) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Quality(double quality) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Quality(double* quality) = 0;
    // Every pointer may be null; the strings take at most *versionBytes / *descriptionBytes bytes.
    virtual HRESULT STDMETHODCALLTYPE GetInfo(LPWSTR version, int* versionBytes, LPWSTR description,
                                              int* descriptionBytes, LONG* defaultKeyFrameRate,
                                              LONG* defaultPFramesPerKey, double* defaultQuality,
                                              LONG* capabilities) = 0;
};

enum VfwCompressDialogs {
    VfwCompressDialog_Config = 0x1,
    VfwCompressDialog_About = 0x2,
    VfwCompressDialog_QueryConfig = 0x4,
    VfwCompressDialog_QueryAbout = 0x8,
};

struct IAMVfwCompressDialogs : IUnknown {
    // Shows the dialog modally (owner may be null); the Query forms answer S_OK when it exists.
    virtual HRESULT STDMETHODCALLTYPE ShowDialog(int dialog, HWND owner) = 0;
};

ORV_INTERFACE(IFileSinkFilter, IUnknown);
ORV_INTERFACE(ICaptureGraphBuilder2, IUnknown);
ORV_INTERFACE(IAMStreamConfig, IUnknown);
ORV_INTERFACE(IAMVideoProcAmp, IUnknown);
ORV_INTERFACE(IAMVideoCompression, IUnknown);
ORV_INTERFACE(IAMVfwCompressDialogs, IUnknown);
