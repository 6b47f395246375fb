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

#include "platform/serial/Port.h"
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
    static constexpr std::uint32_t kWriteTimeoutMs = 1000;  // the port's write time-out

    CSerialPort();
    ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // The write and read events (0 or kEventCreate); the owner calls CreateIoEvents once after
    // construction and CloseIoEvents before destruction (the destructor also closes them).
    std::int32_t CreateIoEvents();
    void CloseIoEvents();

    // Registers the owner's sink (0, or kBadSink leaving the previous sink in place). The
    // owner changes the sink only while it is not waiting for a reply; the acknowledgement
    // event may be kNoHandle.
    std::int32_t SetResponseSink(char* buffer, std::int32_t capacity, sys::Handle doneEvent,
                                 std::atomic<std::int32_t>* status, std::int32_t mode,
                                 sys::Handle ackEvent);
    void ClearResponseSink();

    // Opens "COMn", starts the reader, sends the set-up command and lets its answer pass
    // (kSettleMs): 0, kOpenFailed (at once for a missing, foreign or busy port), kThreadFailed
    // or kLineSettings. Close ends the reader (also one blocked in a wait), drops DTR, discards
    // what was received and closes; always 0, and harmless on a closed channel.
    std::int32_t Open(const char* portName);
    std::int32_t Close();
    // Writes every byte and waits until they have left: 0, kWriteRefused (rejected at once)
    // or kPendingFailed (failed or timed out after kWriteTimeoutMs).
    std::int32_t Write(const void* bytes, std::uint32_t length);
    // Reader thread only: at most `largest` of the bytes already waiting; 0 or kReadFailed.
    std::int32_t Read(void* buffer, std::uint32_t largest, std::uint32_t& count);
    // Sends "AT\r" with a sink of its own (replacing and then clearing the owner's) and waits
    // up to kPingWaitMs for any final result: 0 or kNoAnswer.
    std::int32_t Ping();

  private:
    // One direction's I/O record with its event from CreateIoEvents. The platform completes
    // reads and writes synchronously, so nothing waits on the event.
    struct IoRecord {
        sys::Handle hEvent = sys::kNoHandle;
    };

    std::int32_t ConfigureLine();
    void ReaderThread();
    // Hands the collected text to the sink: 0 when it was delivered or dropped, kIncomplete
    // while a reply without its final result line is still being collected.
    std::int32_t DeliverResponse(const char* text, int count);
    // Reports a reader failure to the sink and empties the collection.
    void ReportFailure(std::int32_t status, int& collected);
    void WaitForAcknowledgement(sys::Handle ackEvent);
    static bool EndsWithFinalResult(const char* text, int count);

    // Owner thread only, except the flags and the sink, which the reader reads while it runs.
    serial::Port m_hComm;
    std::atomic<std::int32_t> m_bRunning{0};
    std::atomic<std::int32_t> m_bActive{0};
    std::uint8_t m_nByteSize = 8;
    std::uint8_t m_nFlowFlags = 4;
    std::uint8_t m_nParity = 0;
    std::uint8_t m_nStopBits = 0;
    std::uint32_t m_nBaudRate = 115200;
    sys::Handle m_hThread = sys::kNoHandle;      // joined and closed by Close
    std::atomic<std::uint32_t> m_dwThreadId{0};  // cleared by the reader as it ends
    IoRecord m_ovWrite;
    IoRecord m_ovRead;
    std::atomic<sys::Handle> m_hDoneEvent{sys::kNoHandle};
    std::atomic<sys::Handle> m_hAckEvent{sys::kNoHandle};
    std::atomic<std::atomic<std::int32_t>*> m_pStatus{nullptr};
    std::atomic<char*> m_pszResponse{nullptr};
    std::atomic<std::int32_t> m_nResponseCapacity{0};
    std::atomic<std::int32_t> m_nDeliveryMode{DELIVER_ON_FINAL_RESULT};
    sys::Handle m_hPingEvent = sys::kNoHandle;
    char m_szPingReply[260] = {};
    std::atomic<std::int32_t> m_nPingStatus{0};
};
