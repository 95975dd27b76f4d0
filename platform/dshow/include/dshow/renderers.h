// Class ids of the layer's own filters that CoCreateInstance makes.
#pragma once

#include <dshow/com.h>

extern const CLSID CLSID_NullRenderer;        // accepts any type, discards every sample
extern const CLSID CLSID_VideoMixingRenderer; // draws RGB24 video into its window (IVideoWindow)
extern const CLSID CLSID_AVIDec;              // YUY2, UYVY and I420 to bottom-up RGB24
