// Communications ports: line settings, time-outs, purging, error state and modem lines of a COM handle.
#pragma once

#include <win32/kernel_base.h>

// A port is opened with CreateFile("COMn" or "\\.\COMn", n from 1) and read with ReadFile under its
// time-outs; it names the tty from the serial-port seam, else $ORVANEL_COM<n>, else /dev/ttyS<n-1>.
// Opening takes an exclusive lock on the tty: a port in use, or the tty of the system console, fails with
// ERROR_ACCESS_DENIED. The functions
// below fail with ERROR_INVALID_HANDLE for anything but an open port handle. Any thread.

#ifndef MAXDWORD
#define MAXDWORD 0xFFFFFFFFu
#endif

#define NOPARITY 0
#define ODDPARITY 1
#define EVENPARITY 2
#define MARKPARITY 3
#define SPACEPARITY 4
#define ONESTOPBIT 0
#define ONE5STOPBITS 1
#define TWOSTOPBITS 2

// Line settings. Only the fields a termios line has are kept: speed, frame, parity checking and flow
// control; the flags are 0 or 1.
struct DCB {
    DWORD DCBlength;
    DWORD BaudRate;
    DWORD fBinary : 1;
    DWORD fParity : 1;      // parity of received bytes is checked
    DWORD fOutxCtsFlow : 1; // CTS/RTS hardware flow control
    DWORD fOutX : 1;        // XON/XOFF on sending
    DWORD fInX : 1;         // XON/XOFF on receiving
    BYTE ByteSize;          // 5 to 8
    BYTE Parity;            // NOPARITY ... SPACEPARITY
    BYTE StopBits;          // ONESTOPBIT or TWOSTOPBITS
};
typedef DCB* LPDCB;

// Reads the tty's settings. FALSE with the device's error when it is no terminal.
BOOL GetCommState(HANDLE port, LPDCB dcb);
// Applies the settings to a raw line (no echo, no line editing, no translation of bytes). FALSE with
// ERROR_INVALID_PARAMETER for a speed the tty has no rate for, a byte size outside 5 to 8, an unknown
// parity or ONE5STOPBITS; the line then keeps its settings.
BOOL SetCommState(HANDLE port, LPDCB dcb);

// Milliseconds. A read ends when `ReadTotalTimeoutMultiplier` x bytes + `ReadTotalTimeoutConstant` have
// passed since it began (no limit when both are 0), or when `ReadIntervalTimeout` passes after a byte
// without the next one (0: unused); MAXDWORD interval with both total values 0 returns at once with what
// is there. The write values are kept; writes are not offered on a port.
struct COMMTIMEOUTS {
    DWORD ReadIntervalTimeout;
    DWORD ReadTotalTimeoutMultiplier;
    DWORD ReadTotalTimeoutConstant;
    DWORD WriteTotalTimeoutMultiplier;
    DWORD WriteTotalTimeoutConstant;
};
typedef COMMTIMEOUTS* LPCOMMTIMEOUTS;

// New ports have every time-out 0: a read waits for all its bytes.
BOOL SetCommTimeouts(HANDLE port, LPCOMMTIMEOUTS timeouts);

#define PURGE_TXABORT 0x0001u
#define PURGE_RXABORT 0x0002u
#define PURGE_TXCLEAR 0x0004u
#define PURGE_RXCLEAR 0x0008u

// Drops received (PURGE_RXCLEAR) and unsent (PURGE_TXCLEAR) bytes; with synchronous I/O only there is
// nothing to abort.
BOOL PurgeComm(HANDLE port, DWORD flags);

// Queue sizes of the line.
struct COMSTAT {
    DWORD cbInQue;  // received bytes not yet read
    DWORD cbOutQue; // bytes not yet sent
};
typedef COMSTAT* LPCOMSTAT;

// Writes the line errors (none are recorded on a tty: always 0) and, where given, the queue sizes.
BOOL ClearCommError(HANDLE port, LPDWORD errors, LPCOMSTAT status);

#define MS_CTS_ON 0x0010u
#define MS_DSR_ON 0x0020u
#define MS_RING_ON 0x0040u
#define MS_RLSD_ON 0x0080u

// The modem input lines as MS_* bits; the ring line comes from the serial-port seam while it is set.
// FALSE with the device's error for a tty without modem lines (a pseudo-terminal).
BOOL GetCommModemStatus(HANDLE port, LPDWORD status);
