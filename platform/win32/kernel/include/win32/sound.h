// Playing a sound file: sndPlaySound.
#pragma once

#include <win32/kernel_base.h>

#define SND_SYNC 0x0000u
#define SND_ASYNC 0x0001u
#define SND_NODEFAULT 0x0002u

// Plays the WAV (or other audio) file named by the Windows path `sound`; a new sound stops the one
// playing, and NULL just stops it. SND_SYNC returns when the sound has ended; SND_ASYNC returns at once
// and the sound is opened and played in the background (a file that cannot be played plays nothing).
// With no audio device the sound plays silently and the call succeeds. There is no system default
// sound, so a missing file, or one SND_SYNC cannot play, gives FALSE with or without SND_NODEFAULT;
// other flags give FALSE. The sound seam records the calls instead. Any thread.
BOOL sndPlaySound(LPCTSTR sound, UINT flags);
