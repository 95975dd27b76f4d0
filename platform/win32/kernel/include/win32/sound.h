// Playing a sound file: sndPlaySound.
#pragma once

#include <win32/kernel_base.h>

#define SND_SYNC 0x0000u
#define SND_ASYNC 0x0001u
#define SND_NODEFAULT 0x0002u

// Plays the WAV (or other audio) file named by the Windows path `sound`; a new sound stops the one
// playing, and NULL just stops it. SND_SYNC returns when the sound has ended, SND_ASYNC once it has
// started. With no audio device the sound plays silently and the call succeeds. There is no system
// default sound, so a file that is missing or cannot be played gives FALSE with or without
// SND_NODEFAULT; other flags give FALSE. The sound seam records the calls instead. Any thread.
BOOL sndPlaySound(LPCTSTR sound, UINT flags);
