// Area header of the window-manager stand-in: windows, messages, input, painting, message boxes, controls.
#pragma once

#include <win32/message_box.h>
#include <win32/user_controls.h>
#include <win32/user_input.h>
#include <win32/user_message.h>
#include <win32/user_paint.h>
#include <win32/user_window.h>
