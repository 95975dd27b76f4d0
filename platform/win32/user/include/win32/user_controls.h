// Standard controls: their class names, styles, messages and notifications.
#pragma once

#include <win32/gdi_bitmap.h>
#include <win32/user_window.h>

#define WC_STATIC "STATIC"

// Static styles.
#define SS_LEFT 0x00000000L
#define SS_CENTER 0x00000001L
#define SS_RIGHT 0x00000002L
#define SS_BITMAP 0x0000000EL
#define SS_TYPEMASK 0x0000001FL
#define SS_NOPREFIX 0x00000080L
#define SS_NOTIFY 0x00000100L
#define SS_CENTERIMAGE 0x00000200L

// Static messages (image type IMAGE_BITMAP) and notifications (WM_COMMAND).
#define STM_SETIMAGE 0x0172
#define STM_GETIMAGE 0x0173
#define STN_CLICKED 0
#define STN_DBLCLK 1
