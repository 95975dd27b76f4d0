// Kernel objects: events, threads, waiting on them, and closing their handles.
#pragma once

#include <win32/kernel_base.h>

#define WAIT_OBJECT_0 0x00000000u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu

// An unnamed event, manual- or auto-reset (an auto-reset event wakes one waiter and clears itself).
// Named events are not supported: NULL with ERROR_NOT_SUPPORTED. Any thread.
HANDLE CreateEvent(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState, LPCTSTR name);
// FALSE with ERROR_INVALID_HANDLE for anything but an open event handle. Any thread.
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

// Waits until the object is signalled (an event; a thread once it has ended) or `milliseconds` have passed
// on the active clock (INFINITE: no limit; on a stepped clock the time moves only through its advances).
// WAIT_OBJECT_0, WAIT_TIMEOUT, or WAIT_FAILED with ERROR_INVALID_HANDLE. Any thread.
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);

typedef DWORD(WINAPI* LPTHREAD_START_ROUTINE)(LPVOID parameter);
#define CREATE_SUSPENDED 0x00000004u

// Starts `start(parameter)` on a new thread at once (CREATE_SUSPENDED is refused with
// ERROR_NOT_SUPPORTED); the stack size is left to the system. Writes the thread id where given.
// The handle signals when the thread has returned. NULL on failure. Any thread.
HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stackSize, LPTHREAD_START_ROUTINE start,
                    LPVOID parameter, DWORD flags, LPDWORD threadId);
// The calling thread's system-wide id. Any thread.
DWORD GetCurrentThreadId();

// Closes a handle of the kernel table (event, thread, file); a thread goes on running. FALSE with
// ERROR_INVALID_HANDLE for a closed or foreign handle. Any thread.
BOOL CloseHandle(HANDLE handle);
