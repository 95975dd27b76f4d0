// Area header of the kernel-side system services: everything a system source needs from the kernel.
#pragma once

#include <win32/clock.h>
#include <win32/codepage.h>
#include <win32/debug_output.h>
#include <win32/files.h>
#include <win32/format_message.h>
#include <win32/kernel_base.h>
#include <win32/language.h>
#include <win32/local_memory.h>
#include <win32/native_path.h>
#include <win32/profile.h>
#include <win32/registry.h>
#include <win32/serial.h>
#include <win32/shell.h>
#include <win32/sound.h>
#include <win32/sync.h>
#include <win32/timing.h>
