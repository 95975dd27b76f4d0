// Files and folders: the program's file name, folders, attributes, deletion and plain file handles.
#pragma once

#include <win32/kernel_base.h>

// Every path argument is a Windows path, mapped with platform::toNativePath; sharing modes and security
// attributes have no meaning on this system and are accepted as given. Any thread.

// The program's full path with "\" separators ("/work/bin/Orvanel" gives "\work\bin\Orvanel"), from
// /proc/self/exe or the program-path seam. Every module handle names the program, since the libraries
// are loaded with it. A short buffer gets size - 1 characters and the NUL; the result is then `size` with
// ERROR_INSUFFICIENT_BUFFER. 0 on failure.
DWORD GetModuleFileName(HMODULE module, LPTSTR buffer, DWORD size);

// Creates one folder. FALSE with ERROR_ALREADY_EXISTS when something of that name exists, or
// ERROR_PATH_NOT_FOUND when the folder above it does not.
BOOL CreateDirectory(LPCTSTR path, LPSECURITY_ATTRIBUTES security);

#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFFu
#define FILE_ATTRIBUTE_READONLY 0x00000001u
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u

// FILE_ATTRIBUTE_DIRECTORY for a folder, FILE_ATTRIBUTE_ARCHIVE for a file (with FILE_ATTRIBUTE_READONLY
// when it has no write permission for its owner); INVALID_FILE_ATTRIBUTES with ERROR_FILE_NOT_FOUND or
// ERROR_PATH_NOT_FOUND when nothing is there.
DWORD GetFileAttributes(LPCTSTR path);

// Deletes a file; FALSE with ERROR_FILE_NOT_FOUND, or ERROR_ACCESS_DENIED for a folder.
BOOL DeleteFile(LPCTSTR path);

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u
#define CREATE_NEW 1u
#define CREATE_ALWAYS 2u
#define OPEN_EXISTING 3u
#define OPEN_ALWAYS 4u
#define TRUNCATE_EXISTING 5u

struct OVERLAPPED; // asynchronous I/O is not offered: only NULL is accepted
typedef OVERLAPPED* LPOVERLAPPED;

// Opens or creates a file for GENERIC_READ and/or GENERIC_WRITE as `disposition` says; CREATE_ALWAYS and
// OPEN_ALWAYS on an existing file succeed with ERROR_ALREADY_EXISTS. INVALID_HANDLE_VALUE with the error
// on failure. The handle is closed with CloseHandle.
HANDLE CreateFile(LPCTSTR path, DWORD access, DWORD shareMode, LPSECURITY_ATTRIBUTES security,
                  DWORD disposition, DWORD flagsAndAttributes, HANDLE templateFile);
// Synchronous reads and writes at the file position; *done gets the byte count (0 at the end of the file).
// FALSE with ERROR_INVALID_HANDLE, ERROR_ACCESS_DENIED (not opened for it), ERROR_INVALID_PARAMETER
// (overlapped I/O) or the device's error.
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytes, LPDWORD done, LPOVERLAPPED overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytes, LPDWORD done, LPOVERLAPPED overlapped);
