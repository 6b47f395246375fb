#include "platform/serial/Port.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/sys/Root.h"
#include "platform/sys/Time.h"

namespace serial {

namespace {

struct Speed {
    std::uint32_t baudRate;
    speed_t code;
};
constexpr Speed kSpeeds[] = {
    {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
    {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
};

constexpr tcflag_t kDataBits[] = {CS5, CS6, CS7, CS8};  // for 5 ... 8 data bits

// The time left until a fixed point, for every wait loop of a write.
class Deadline {
  public:
    explicit Deadline(std::uint32_t ms)
        : m_end(std::chrono::steady_clock::now() + sys::Scaled(ms)) {}
    // Milliseconds left, rounded up; 0 once the point has passed.
    int LeftMs() const {
        auto left = m_end - std::chrono::steady_clock::now();
        if (left <= std::chrono::nanoseconds::zero()) {
            return 0;
        }
        return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
    }

  private:
    std::chrono::steady_clock::time_point m_end;
};

}  // namespace

Port::~Port() {
    Close();
}

bool Port::Open(std::string_view comName) {
    if (IsOpen()) {
        return false;
    }
    auto device = sys::ComPortDevice(comName);
    if (!device) {
        return false;
    }
    // Non-blocking, so that a port waiting for carrier cannot hold the open, and no write can
    // block beyond its time-out.
    int fd = ::open(device->c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    // Exclusive as serial tools lock a device: flock for every process (root included), and
    // TIOCEXCL so that other opens of the device fail too.
    if (!isatty(fd) || flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
        ::close(fd);
        return false;
    }
    int wake = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_wakeFd = wake;
    m_bReceiveMask = false;
    m_bHungUp = false;
    QueryStatus();  // starts the error counters from the driver's present values
    return true;
}

void Port::Close() {
    if (!IsOpen()) {
        return;
    }
    ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    ::close(m_wakeFd);
    m_fd = -1;
    m_wakeFd = -1;
}

bool Port::Configure(const LineSettings& settings) {
    termios tio{};
    if (tcgetattr(m_fd, &tio) != 0) {
        return false;
    }
    const Speed* speed = nullptr;
    for (const Speed& s : kSpeeds) {
        if (s.baudRate == settings.baudRate) {
            speed = &s;
        }
    }
    if (!speed || settings.dataBits < 5 || settings.dataBits > 8) {
        return false;
    }
    // Binary: no line editing, echo, signals or character translation in either direction.
    tio.c_iflag &= ~(IGNBRK | BRKINT | IGNPAR | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON |
                     IXOFF | IXANY);
    tio.c_iflag |= INPCK;
    tio.c_oflag &= ~OPOST;
    tio.c_lflag &= ~(ECHO | ECHOE | ECHOK | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= CREAD | CLOCAL | kDataBits[settings.dataBits - 5];
    if (settings.parity != Parity::None) {
        tio.c_cflag |= PARENB | (settings.parity == Parity::Odd ? PARODD : 0);
    }
    if (settings.stopBits == StopBits::Two) {
        tio.c_cflag |= CSTOPB;
    }
    if (settings.xonXoff) {
        tio.c_iflag |= IXON | IXOFF;
    }
    if (settings.rtsCts) {
        tio.c_cflag |= CRTSCTS;
    }
    tio.c_cc[VSTART] = static_cast<cc_t>(settings.xonChar);
    tio.c_cc[VSTOP] = static_cast<cc_t>(settings.xoffChar);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    cfsetispeed(&tio, speed->code);
    cfsetospeed(&tio, speed->code);
    return tcsetattr(m_fd, TCSANOW, &tio) == 0;
}

bool Port::SetDtr(bool on) {
    int bits = TIOCM_DTR;
    return ioctl(m_fd, on ? TIOCMBIS : TIOCMBIC, &bits) == 0;
}

void Port::Purge() {
    tcflush(m_fd, TCIOFLUSH);
}

void Port::PurgeReceived() {
    tcflush(m_fd, TCIFLUSH);
}

void Port::SetEventMask(bool receive) {
    if (m_bReceiveMask.exchange(receive) != receive) {
        Wake();
    }
}

void Port::Wake() {
    std::uint64_t one = 1;
    // Only fails when the counter is already huge, which wakes the reader just the same.
    [[maybe_unused]] ssize_t written = ::write(m_wakeFd, &one, sizeof one);
}

Event Port::WaitForEvent() {
    for (;;) {
        // A hung-up device stays readable for ever; once it has been reported, only a change of
        // the mask ends the wait.
        bool watch = m_bReceiveMask.load() && !m_bHungUp.load();
        pollfd fds[2] = {{m_wakeFd, POLLIN, 0}, {m_fd, POLLIN, 0}};
        if (poll(fds, watch ? 2 : 1, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            m_bHungUp = true;
            return Event::Failed;
        }
        if (fds[0].revents & POLLIN) {
            std::uint64_t count = 0;
            [[maybe_unused]] ssize_t got = ::read(m_wakeFd, &count, sizeof count);
            if (!m_bReceiveMask) {
                return Event::Released;
            }
            continue;  // the mask was set again: watch the device with it
        }
        if (!watch) {
            continue;
        }
        if (fds[1].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            m_bHungUp = true;
            return Event::Failed;
        }
        if (fds[1].revents & POLLIN) {
            return Event::Received;
        }
    }
}

Status Port::QueryStatus() {
    Status status;
    int waiting = 0;
    status.ok = ioctl(m_fd, FIONREAD, &waiting) == 0 && waiting >= 0;
    status.bytesWaiting = status.ok ? static_cast<std::uint32_t>(waiting) : 0;
    if (m_bHungUp) {
        status.errors |= kErrorHangUp;
    }
    // Only real serial drivers count line errors; a pseudo-terminal has none to report.
    serial_icounter_struct counts{};
    if (ioctl(m_fd, TIOCGICOUNT, &counts) == 0) {
        const int now[4] = {counts.overrun + counts.buf_overrun, counts.frame, counts.parity,
                            counts.brk};
        constexpr std::uint32_t bits[4] = {kErrorOverrun, kErrorFraming, kErrorParity, kErrorBreak};
        for (int i = 0; i < 4; ++i) {
            if (static_cast<std::uint32_t>(now[i]) != m_lastCounts[i]) {
                status.errors |= bits[i];
            }
            m_lastCounts[i] = static_cast<std::uint32_t>(now[i]);
        }
    }
    return status;
}

int Port::Read(void* buffer, std::size_t largest) {
    ssize_t count = ::read(m_fd, buffer, largest);
    if (count < 0) {
        return (errno == EAGAIN || errno == EINTR) ? 0 : -1;
    }
    return static_cast<int>(count);
}

WriteResult Port::Write(const void* bytes, std::size_t length, std::uint32_t timeoutMs) {
    Deadline deadline(timeoutMs);
    const char* next = static_cast<const char*>(bytes);
    bool first = true;
    while (length > 0) {
        ssize_t count = ::write(m_fd, next, length);
        if (count > 0) {
            next += count;
            length -= static_cast<std::size_t>(count);
            first = false;
            continue;
        }
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0 && errno != EAGAIN) {
            return first ? WriteResult::Refused : WriteResult::Failed;
        }
        first = false;
        // The queue is full or the peer sent XOFF: wait for room, not past the deadline.
        pollfd fd = {m_fd, POLLOUT, 0};
        int left = deadline.LeftMs();
        if (left == 0 || (poll(&fd, 1, left) < 0 && errno != EINTR) ||
            (fd.revents & (POLLHUP | POLLERR | POLLNVAL))) {
            return WriteResult::Failed;
        }
    }
    // Wait until the bytes have left, so that a purge afterwards cannot discard them: the
    // driver's queue first (it may be held by flow control, hence the deadline), then the
    // transmitter's last characters.
    for (int queued = 0; ioctl(m_fd, TIOCOUTQ, &queued) == 0 && queued > 0;) {
        if (deadline.LeftMs() == 0) {
            return WriteResult::Failed;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return tcdrain(m_fd) == 0 ? WriteResult::Done : WriteResult::Failed;
}

}  // namespace serial
