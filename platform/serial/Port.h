// A COM port on termios: exclusive open, line settings, modem lines, purge, and a receive wait
// that another thread can release.
//
// Thread contract: one owner thread calls Open, Close, Configure, SetDtr, Purge and Write; one
// reader thread calls WaitForEvent, QueryStatus and Read while the port is open. SetEventMask
// may be called from either thread; clearing the mask releases a pending WaitForEvent. Close
// must not run while the reader may still touch the port (the owner ends its reader first).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/sys/Export.h"

namespace serial {

enum class Parity : std::uint8_t { None, Odd, Even };
enum class StopBits : std::uint8_t { One, Two };

struct LineSettings {
    std::uint32_t baudRate = 115200;
    std::uint8_t dataBits = 8;
    Parity parity = Parity::None;
    StopBits stopBits = StopBits::One;
    bool xonXoff = false;  // XON/XOFF in both directions
    bool rtsCts = false;   // CTS output flow control, RTS in handshake mode
    char xonChar = 0x11;
    char xoffChar = 0x13;
};

// Error bits of QueryStatus; reading them clears them, so each error is reported once.
enum : std::uint32_t {
    kErrorHangUp = 1u << 0,  // the device is gone: pty master closed, adapter unplugged
    kErrorOverrun = 1u << 1,
    kErrorFraming = 1u << 2,
    kErrorParity = 1u << 3,
    kErrorBreak = 1u << 4,
};

struct Status {
    bool ok = false;                 // false when the port could not be queried at all
    std::uint32_t errors = 0;        // kError* bits seen since the last query
    std::uint32_t bytesWaiting = 0;  // received bytes ready to read
};

enum class Event {
    Received,  // received bytes are waiting
    Released,  // the event mask was cleared (Close clears it to end the wait)
    Failed,    // the device hung up; later waits block until the mask changes
};

enum class WriteResult { Done, Refused, Failed };

class QUILAN_EXPORT Port {
  public:
    Port() = default;
    ~Port();
    Port(const Port&) = delete;
    Port& operator=(const Port&) = delete;

    // Opens "COM1" ... "COM10" through the port map, exclusively: a port that is in use,
    // missing or not a terminal fails at once. The event mask starts cleared.
    bool Open(std::string_view comName);
    bool IsOpen() const { return m_fd >= 0; }
    void Close();

    // Applies the settings in raw (binary) mode; false when the device refuses them.
    bool Configure(const LineSettings& settings);
    // Raises or drops DTR; false where the device has no modem lines (a pseudo-terminal).
    bool SetDtr(bool on);
    // Discards both queues.
    void Purge();
    // Discards what was received and not yet read. On a pseudo-terminal, discarding the output
    // queue would also throw away what the other side has not read yet.
    void PurgeReceived();

    // Asks for the received-characters event (true) or for none (false); clearing it releases
    // a pending WaitForEvent, from any thread.
    void SetEventMask(bool receive);
    // Blocks until one of the Event reasons holds. Never returns at once twice in a row for a
    // hung-up device, so a reader looping on it does not spin.
    Event WaitForEvent();

    Status QueryStatus();
    // Reads at most `largest` bytes that are already waiting; the count, or -1 on failure.
    int Read(void* buffer, std::size_t largest);
    // Writes every byte and waits until they have left, for at most `timeoutMs` (scaled).
    // Refused: the device rejected the write at once; Failed: it failed or timed out later.
    WriteResult Write(const void* bytes, std::size_t length, std::uint32_t timeoutMs);

  private:
    void Wake();

    int m_fd = -1;
    int m_wakeFd = -1;  // eventfd written when the event mask changes
    std::atomic<bool> m_bReceiveMask{false};
    std::atomic<bool> m_bHungUp{false};
    std::uint32_t m_lastCounts[4] = {};  // overrun, framing, parity, break counters of the driver
};

}  // namespace serial
