// The loader's XMODEM receiver for one transfer: 128-byte blocks, CRC-16 or 8-bit checksum.
//
// Bytes in, bytes to send back out; the caller supplies the clock and calls Tick when the
// deadline has passed. The receiver asks with "C" or NAK every 3 s until the first block
// comes, NAKs a block that does not come whole within 10 s, and gives up (CAN CAN) after ten
// unanswered requests or NAKs in a row. Owned by the adapter's serving thread.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tools/tasim/Adapter.h"

namespace tasim {

class XmodemReceiver {
  public:
    using Clock = std::chrono::steady_clock;
    enum class Outcome {
        Running,
        Complete,   // EOT acknowledged
        Cancelled,  // CAN sent or received, or the receiver gave up
        HangUp,     // the hang-up fault fired
    };

    XmodemReceiver(XmodemMode mode, const Faults& faults, Clock::time_point now);

    std::string Begin();  // the first request, "C" or NAK
    // Takes bytes until the transfer ends; `used` tells how many were taken.
    std::string Feed(std::string_view bytes, Clock::time_point now, std::size_t& used);
    std::string Tick(Clock::time_point now);

    Clock::time_point Deadline() const { return m_deadline; }
    Outcome GetOutcome() const { return m_outcome; }
    const std::string& Data() const { return m_data; }  // blocks taken, in order
    bool Silent() const { return m_silent; }

    static std::uint16_t Crc16(std::string_view data);

  private:
    std::string OnBlock();

    XmodemMode m_mode;
    Faults m_faults;
    Outcome m_outcome = Outcome::Running;
    bool m_started = false;  // a first block has come
    bool m_silent = false;
    std::string m_block;  // the block being collected, from its SOH on
    std::string m_data;
    int m_taken = 0;  // blocks taken so far
    int m_naksOfFaultBlock = 0;
    int m_naksOfEot = 0;
    int m_retries = 0;
    Clock::time_point m_deadline;
};

}  // namespace tasim
