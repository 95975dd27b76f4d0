// Area header of the GDI stand-in: objects, device contexts, drawing, bitmaps and text.
#pragma once

#include <win32/gdi_bitmap.h>
#include <win32/gdi_dc.h>
#include <win32/gdi_draw.h>
#include <win32/gdi_objects.h>
#include <win32/gdi_text.h>
