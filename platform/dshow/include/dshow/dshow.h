// Everything the system's code uses of COM and the media graph.
#pragma once

#include <dshow/bridge_property.h>
#include <dshow/capture.h>
#include <dshow/com.h>
#include <dshow/device_enum.h>
#include <dshow/errors.h>
#include <dshow/filters.h>
#include <dshow/graph.h>
#include <dshow/media_type.h>
#include <dshow/moniker.h>
#include <dshow/oleauto.h>
#include <dshow/property_pages.h>
#include <dshow/renderers.h>
#include <dshow/sample_grabber.h>
