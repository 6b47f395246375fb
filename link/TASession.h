// One command-and-reply conversation with an adapter over one channel.
//
// Owned and used by one thread at a time; the channel's reader thread fills m_szReply and
// m_nReplyStatus and then sets m_hReplyEvent. Commands end with a single carriage return.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "link/SerialPort.h"
#include "platform/sys/Handle.h"

class CTASession {
  public:
    enum : std::int32_t {
        kEventFailure = 3000,  // the reply event cannot be created (the port is not touched)
        kNoReply = 3011,       // no complete reply within 5000 ms
    };
    static constexpr std::uint32_t kReplyWaitMs = 5000;
    static constexpr int kReplyCapacity = 5000;

    CTASession();
    ~CTASession();
    CTASession(const CTASession&) = delete;
    CTASession& operator=(const CTASession&) = delete;

    // 0, kEventFailure, or the channel's own Open code (3002, 3003, 3004).
    std::int32_t Open(const char* portName);
    // Always 0; also safe after a failed Open.
    std::int32_t Close();
    // Writes the command without its terminating zero; nonzero when the channel refused it.
    std::int32_t Send(const char* command);
    // 0 when a complete reply is in m_szReply; kNoReply, or the reader's nonzero status (3005,
    // 3009), otherwise. The event is reset in every case.
    std::int32_t WaitForReply();
    // The delivered reply from its first line feed on, or null when it has none.
    const char* ReplyFromFirstLineFeed() const;

    std::string m_strPort;
    CSerialPort m_Port;
    sys::Handle m_hReplyEvent = sys::kNoHandle;
    char m_szReply[kReplyCapacity] = {};
    std::atomic<std::int32_t> m_nReplyStatus{0};
};
