// GetCommState, SetCommState and SetCommTimeouts: a port's DCB on the tty's termios settings.
#include "serial_port.h"

#include <termios.h>

using platform::kernel::comPortWith;
using platform::kernel::makeRawLine;
using platform::kernel::setLastErrorFromTty;

namespace {

struct Rate {
    DWORD baud;
    speed_t speed;
};

constexpr Rate kRates[] = {{110, B110},     {300, B300},     {600, B600},       {1200, B1200},
                           {2400, B2400},   {4800, B4800},   {9600, B9600},     {19200, B19200},
                           {38400, B38400}, {57600, B57600}, {115200, B115200}, {230400, B230400}};

constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};

bool speedOf(DWORD baud, speed_t* speed) {
    for (const Rate& rate : kRates) {
        if (rate.baud == baud) {
            *speed = rate.speed;
            return true;
        }
    }
    return false;
}

// 5 to 8 for the CSIZE bits of c_cflag.
BYTE byteSizeOf(tcflag_t cflag) {
    BYTE size = 5;
    while (size < 8 && kSizes[size - 5] != (cflag & CSIZE))
        ++size;
    return size;
}

// 0 for a speed without a row.
DWORD baudOf(speed_t speed) {
    for (const Rate& rate : kRates) {
        if (rate.speed == speed)
            return rate.baud;
    }
    return 0;
}

// The parity bits of c_cflag for a DCB parity.
tcflag_t parityFlags(BYTE parity) {
    switch (parity) {
    case ODDPARITY:
        return PARENB | PARODD;
    case EVENPARITY:
        return PARENB;
    case MARKPARITY:
        return PARENB | CMSPAR | PARODD;
    case SPACEPARITY:
        return PARENB | CMSPAR;
    default:
        return 0;
    }
}

BYTE parityOf(tcflag_t cflag) {
    if (!(cflag & PARENB))
        return NOPARITY;
    if (cflag & CMSPAR)
        return cflag & PARODD ? MARKPARITY : SPACEPARITY;
    return cflag & PARODD ? ODDPARITY : EVENPARITY;
}

} // namespace

namespace platform::kernel {

void makeRawLine(termios& line) {
    constexpr tcflag_t frame = CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS;
    constexpr tcflag_t input = INPCK | IXON | IXOFF;
    const tcflag_t cflag = line.c_cflag & frame, iflag = line.c_iflag & input;
    cfmakeraw(&line);
    line.c_cflag = (line.c_cflag & ~frame) | cflag | CLOCAL | CREAD;
    line.c_iflag = (line.c_iflag & ~input) | iflag;
    line.c_cc[VMIN] = 1;
    line.c_cc[VTIME] = 0;
}

} // namespace platform::kernel

BOOL GetCommState(HANDLE handle, LPDCB dcb) {
    auto port = comPortWith(handle, dcb);
    if (!port)
        return FALSE;
    termios line{};
    if (tcgetattr(port->fd, &line) != 0) {
        setLastErrorFromTty();
        return FALSE;
    }
    *dcb = DCB{};
    dcb->DCBlength = sizeof(DCB);
    dcb->BaudRate = baudOf(cfgetospeed(&line));
    dcb->fBinary = 1;
    dcb->fParity = (line.c_iflag & INPCK) != 0;
    dcb->fOutxCtsFlow = (line.c_cflag & CRTSCTS) != 0;
    dcb->fOutX = (line.c_iflag & IXON) != 0;
    dcb->fInX = (line.c_iflag & IXOFF) != 0;
    dcb->ByteSize = byteSizeOf(line.c_cflag);
    dcb->Parity = parityOf(line.c_cflag);
    dcb->StopBits = line.c_cflag & CSTOPB ? TWOSTOPBITS : ONESTOPBIT;
    return TRUE;
}

BOOL SetCommState(HANDLE handle, LPDCB dcb) {
    auto port = comPortWith(handle, dcb);
    if (!port)
        return FALSE;
    speed_t speed = B0;
    if (!speedOf(dcb->BaudRate, &speed) || dcb->ByteSize < 5 || dcb->ByteSize > 8 ||
        dcb->Parity > SPACEPARITY || (dcb->StopBits != ONESTOPBIT && dcb->StopBits != TWOSTOPBITS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    termios line{};
    if (tcgetattr(port->fd, &line) != 0) {
        setLastErrorFromTty();
        return FALSE;
    }
    line.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    line.c_cflag |= kSizes[dcb->ByteSize - 5] | parityFlags(dcb->Parity);
    if (dcb->StopBits == TWOSTOPBITS)
        line.c_cflag |= CSTOPB;
    if (dcb->fOutxCtsFlow)
        line.c_cflag |= CRTSCTS;
    line.c_iflag &= ~(INPCK | IXON | IXOFF);
    line.c_iflag |= (dcb->fParity ? INPCK : 0) | (dcb->fOutX ? IXON : 0) | (dcb->fInX ? IXOFF : 0);
    makeRawLine(line);
    if (cfsetispeed(&line, speed) != 0 || cfsetospeed(&line, speed) != 0 ||
        tcsetattr(port->fd, TCSANOW, &line) != 0) {
        setLastErrorFromTty();
        return FALSE;
    }
    return TRUE;
}

BOOL SetCommTimeouts(HANDLE handle, LPCOMMTIMEOUTS timeouts) {
    auto port = comPortWith(handle, timeouts);
    if (!port)
        return FALSE;
    std::lock_guard guard(port->lock);
    port->timeouts = *timeouts;
    return TRUE;
}
