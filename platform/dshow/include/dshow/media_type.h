// Media types: AM_MEDIA_TYPE with its format blocks, the video format header and the type GUIDs.
#pragma once

#include <dshow/com.h>
#include <win32/dib.h>

typedef LONGLONG REFERENCE_TIME; // 100-nanosecond units
#define MAXLONGLONG (static_cast<LONGLONG>(0x7FFFFFFFFFFFFFFFLL))

struct AM_MEDIA_TYPE {
    GUID majortype;
    GUID subtype;
    BOOL bFixedSizeSamples;
    BOOL bTemporalCompression;
    ULONG lSampleSize;
    GUID formattype;
    IUnknown* pUnk;
    ULONG cbFormat;
    BYTE* pbFormat; // task memory
};

struct VIDEOINFOHEADER {
    RECT rcSource;
    RECT rcTarget;
    DWORD dwBitRate;
    DWORD dwBitErrorRate;
    REFERENCE_TIME AvgTimePerFrame;
    BITMAPINFOHEADER bmiHeader;
};

extern const GUID MEDIATYPE_Video;
extern const GUID MEDIATYPE_Audio;

extern const GUID MEDIASUBTYPE_RGB8;
extern const GUID MEDIASUBTYPE_RGB555;
extern const GUID MEDIASUBTYPE_RGB565;
extern const GUID MEDIASUBTYPE_RGB24;
extern const GUID MEDIASUBTYPE_RGB32;
// FOURCC subtypes: Data1 is the code, the rest {xxxxxxxx-0000-0010-8000-00AA00389B71}.
extern const GUID MEDIASUBTYPE_YUY2;
extern const GUID MEDIASUBTYPE_UYVY;
extern const GUID MEDIASUBTYPE_I420;
extern const GUID MEDIASUBTYPE_Avi;

extern const GUID FORMAT_VideoInfo;

// The FOURCC subtype of a four-character code.
GUID FourccSubtype(DWORD fourcc);
#define ORV_FOURCC(a, b, c, d)                                                                               \
    (static_cast<DWORD>(static_cast<BYTE>(a)) | (static_cast<DWORD>(static_cast<BYTE>(b)) << 8) |           \
     (static_cast<DWORD>(static_cast<BYTE>(c)) << 16) | (static_cast<DWORD>(static_cast<BYTE>(d)) << 24))

// Frees the format block and the pUnk reference of a media type, leaving it without format. Any thread.
void FreeMediaType(AM_MEDIA_TYPE& type);
// Frees a media type from task memory with its format block (as GetFormat and enumerators hand out);
// null is ignored. Any thread.
void DeleteMediaType(AM_MEDIA_TYPE* type);
// Deep copy (format block in task memory); E_OUTOFMEMORY leaves *target without format. Any thread.
HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE* source);
// A deep copy in task memory for DeleteMediaType; null when memory runs out. Any thread.
AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* source);
