// The framework, Win32 and library headers every file of the program uses.
#pragma once

#include <mfc/mfc.h>
#include <win32/kernel.h>
#include <win32/user.h>

#include "resource.h"
