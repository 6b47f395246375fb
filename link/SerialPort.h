// The byte channel to an adapter on a COM port, with one reader thread per open port.
//
// Thread contract: the owner's thread calls Open, Close, Write, SetResponseSink,
// ClearResponseSink and Ping; the reader thread (started by Open, ended by Close) calls Read and
// delivers replies into the owner's sink: buffer, status word, done event, and in chunk mode it
// then waits for the acknowledgement event. The owner owns the sink objects; the channel keeps
// them only between SetResponseSink and ClearResponseSink.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/sys/Handle.h"

class CSerialPort {
public:
    enum : std::int32_t {
        DELIVER_ON_FINAL_RESULT = 0,  // a reply is handed over when it ends with OK or ERROR
        DELIVER_EACH_CHUNK = 1,       // whatever arrived is handed over after each receive event
    };
    enum : std::int32_t {
        kEventCreate = 3000,
        kOpenFailed = 3002,
        kThreadFailed = 3003,
        kLineSettings = 3004,
        kReadFailed = 3005,
        kWriteRefused = 3006,
        kPendingFailed = 3007,
        kBadSink = 3008,
        kReplyTooLong = 3009,
        kIncomplete = 3010,
        kNoAnswer = 3011,
    };
    static constexpr int kCollectSize = 2500;
    static constexpr std::uint32_t kSettleMs = 1500;
    static constexpr std::uint32_t kDeliveryPauseMs = 50;
    static constexpr std::uint32_t kPingWaitMs = 20000;

    CSerialPort();
    ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    std::int32_t CreateIoEvents();
    void CloseIoEvents();

    std::int32_t SetResponseSink(char* buffer, std::int32_t capacity, sys::Handle doneEvent,
                                 std::atomic<std::int32_t>* status, std::int32_t mode,
                                 sys::Handle ackEvent);
    void ClearResponseSink();

    std::int32_t Open(const char* portName);
    std::int32_t Close();
    std::int32_t Write(const void* bytes, std::uint32_t length);
    std::int32_t Read(void* buffer, std::uint32_t largest, std::uint32_t& count);
    std::int32_t Ping();

private:
    // The fields of the channel, in their documented order, go here.
};
