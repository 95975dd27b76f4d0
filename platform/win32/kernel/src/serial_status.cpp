// PurgeComm, ClearCommError and GetCommModemStatus: a port's queues and modem lines on tty ioctls.
#include "serial_port.h"

#include <seams/serial_ports.h>

#include <sys/ioctl.h>
#include <termios.h>

using platform::kernel::comPortOf;
using platform::kernel::comPortWith;
using platform::kernel::setLastErrorFromTty;

BOOL PurgeComm(HANDLE handle, DWORD flags) {
    auto port = comPortOf(handle);
    if (!port)
        return FALSE;
    if (flags & ~(PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const bool rx = flags & PURGE_RXCLEAR, tx = flags & PURGE_TXCLEAR;
    if ((rx || tx) && tcflush(port->fd, rx && tx ? TCIOFLUSH : rx ? TCIFLUSH : TCOFLUSH) != 0) {
        setLastErrorFromTty();
        return FALSE;
    }
    return TRUE;
}

BOOL ClearCommError(HANDLE handle, LPDWORD errors, LPCOMSTAT status) {
    auto port = comPortOf(handle);
    if (!port)
        return FALSE;
    if (errors)
        *errors = 0;
    if (status) {
        int in = 0, out = 0;
        if (ioctl(port->fd, TIOCINQ, &in) != 0 || ioctl(port->fd, TIOCOUTQ, &out) != 0) {
            setLastErrorFromTty();
            return FALSE;
        }
        status->cbInQue = static_cast<DWORD>(in);
        status->cbOutQue = static_cast<DWORD>(out);
    }
    return TRUE;
}

BOOL GetCommModemStatus(HANDLE handle, LPDWORD status) {
    auto port = comPortWith(handle, status);
    if (!port)
        return FALSE;
    if (const auto ring = platform::seams::comPortRing(port->number)) {
        *status = *ring ? MS_RING_ON : 0;
        return TRUE;
    }
    int lines = 0;
    if (ioctl(port->fd, TIOCMGET, &lines) != 0) {
        setLastErrorFromTty();
        return FALSE;
    }
    *status = (lines & TIOCM_CTS ? MS_CTS_ON : 0) | (lines & TIOCM_DSR ? MS_DSR_ON : 0) |
              (lines & TIOCM_RI ? MS_RING_ON : 0) | (lines & TIOCM_CD ? MS_RLSD_ON : 0);
    return TRUE;
}
