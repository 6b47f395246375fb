#include "link/SerialPort.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>
#include <new>

#include "platform/sys/Thread.h"
#include "platform/sys/Time.h"

namespace {

constexpr char kSetupCommand[] = "ATV1E1&K3\r\n";  // verbose results, echo, hardware flow
constexpr char kPingCommand[] = "AT\r";
constexpr std::uint32_t kBurstSize = 80;
// The reader's acknowledgement wait looks at the run flag this often, so that Close is never
// held by an owner that stopped acknowledging.
constexpr std::uint32_t kAckCheckMs = 100;

// What ConfigureLine makes of each bit of m_nFlowFlags. Bit 1 asks for DSR output flow control
// with DTR in handshake mode, which Linux terminals do not have; clear, DTR is simply on, as
// Open leaves it.
struct FlowBit {
    std::uint8_t bit;
    bool serial::LineSettings::*setting;
};
constexpr FlowBit kFlowBits[] = {
    {2, &serial::LineSettings::rtsCts},
    {4, &serial::LineSettings::xonXoff},
};

constexpr const char* kFinalResultTails[] = {"\r\nOK\r\n", "\r\nERROR\r\n"};

bool EndsWithIgnoringCase(const char* text, int count, const char* tail) {
    int length = static_cast<int>(std::strlen(tail));
    if (count < length) {
        return false;
    }
    const char* start = text + count - length;
    for (int i = 0; i < length; ++i) {
        if (std::toupper(static_cast<unsigned char>(start[i])) !=
            std::toupper(static_cast<unsigned char>(tail[i]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

CSerialPort::CSerialPort() = default;

CSerialPort::~CSerialPort() {
    Close();
    CloseIoEvents();
}

std::int32_t CSerialPort::CreateIoEvents() {
    m_ovWrite.hEvent = sys::CreateEvent();
    if (m_ovWrite.hEvent == sys::kNoHandle) {
        return kEventCreate;
    }
    m_ovRead.hEvent = sys::CreateEvent();
    if (m_ovRead.hEvent == sys::kNoHandle) {
        sys::CloseHandle(m_ovWrite.hEvent);
        m_ovWrite.hEvent = sys::kNoHandle;
        return kEventCreate;
    }
    return 0;
}

void CSerialPort::CloseIoEvents() {
    for (IoRecord* record : {&m_ovWrite, &m_ovRead}) {
        if (record->hEvent != sys::kNoHandle) {
            sys::CloseHandle(record->hEvent);
            record->hEvent = sys::kNoHandle;
        }
    }
}

std::int32_t CSerialPort::SetResponseSink(char* buffer, std::int32_t capacity,
                                          sys::Handle doneEvent, std::atomic<std::int32_t>* status,
                                          std::int32_t mode, sys::Handle ackEvent) {
    if (!buffer || capacity <= 0 || doneEvent == sys::kNoHandle || !status) {
        return kBadSink;
    }
    // The buffer is withdrawn first and published last, so that a reader that sees a buffer
    // also sees the capacity that goes with it (DeliverResponse checks it has not changed).
    m_pszResponse = nullptr;
    m_nResponseCapacity = capacity;
    m_nDeliveryMode = mode;
    m_hAckEvent = ackEvent;
    m_pStatus = status;
    m_hDoneEvent = doneEvent;
    m_pszResponse = buffer;
    return 0;
}

void CSerialPort::ClearResponseSink() {
    m_pszResponse = nullptr;
    m_hDoneEvent = sys::kNoHandle;
    m_hAckEvent = sys::kNoHandle;
    m_pStatus = nullptr;
    m_nResponseCapacity = 0;
    m_nDeliveryMode = DELIVER_ON_FINAL_RESULT;
}

std::int32_t CSerialPort::Open(const char* portName) {
    if (!portName || m_hComm.IsOpen() || !m_hComm.Open(portName)) {
        return kOpenFailed;
    }
    // The received-characters event only; the platform's queues have a fixed size; both
    // directions start empty. Reads never wait and writes have kWriteTimeoutMs (see Write).
    m_hComm.SetEventMask(true);
    m_hComm.Purge();
    if (ConfigureLine() != 0) {
        m_bRunning = 0;
        m_hComm.Close();
        return kLineSettings;
    }
    m_bRunning = 1;
    std::uint32_t threadId = 0;
    sys::Handle thread = sys::CreateThread([this] { ReaderThread(); }, &threadId);
    if (thread == sys::kNoHandle) {
        m_bRunning = 0;
        m_hComm.Close();
        return kThreadFailed;
    }
    sys::RaiseThreadPriority(thread);
    m_hThread = thread;
    m_dwThreadId = threadId;
    m_hComm.SetDtr(true);  // a pseudo-terminal has no modem lines: not a failure
    Write(kSetupCommand, sizeof kSetupCommand - 1);
    // The answer to the set-up command arrives now and is dropped: m_bActive is still 0.
    sys::Sleep(kSettleMs);
    m_bActive = 1;
    return 0;
}

std::int32_t CSerialPort::ConfigureLine() {
    serial::LineSettings settings;
    settings.baudRate = m_nBaudRate;
    settings.dataBits = m_nByteSize;
    static constexpr serial::Parity kParities[] = {serial::Parity::None, serial::Parity::Odd,
                                                   serial::Parity::Even};
    if (m_nParity >= std::size(kParities) || (m_nStopBits != 0 && m_nStopBits != 2)) {
        return kLineSettings;  // mark and space parity, one and a half stop bits: not on Linux
    }
    settings.parity = kParities[m_nParity];
    settings.stopBits = m_nStopBits == 0 ? serial::StopBits::One : serial::StopBits::Two;
    for (const FlowBit& flow : kFlowBits) {
        settings.*flow.setting = (m_nFlowFlags & flow.bit) != 0;
    }
    settings.xonChar = 0x11;
    settings.xoffChar = 0x13;
    return m_hComm.Configure(settings) ? 0 : kLineSettings;
}

std::int32_t CSerialPort::Close() {
    m_bRunning = 0;
    m_bActive = 0;
    if (!m_hComm.IsOpen()) {
        return 0;
    }
    m_hComm.SetEventMask(false);  // ends the reader's pending wait
    sys::Sleep(0);
    // Joined through its handle: the reader may even have ended before Open stored its id.
    sys::Wait(m_hThread, sys::kInfinite);
    sys::CloseHandle(m_hThread);
    m_hThread = sys::kNoHandle;
    m_dwThreadId = 0;
    m_hComm.SetDtr(false);
    // Writes have drained before they returned, so only received bytes are left to discard;
    // every written byte reaches the other side, also the EOT written just before a close.
    m_hComm.PurgeReceived();
    m_hComm.Close();
    return 0;
}

std::int32_t CSerialPort::Write(const void* bytes, std::uint32_t length) {
    if (!m_hComm.IsOpen()) {
        return kWriteRefused;
    }
    // A failed write is a failure whatever the port's error state says: a removed device must
    // not look like a good write.
    switch (m_hComm.Write(bytes, length, kWriteTimeoutMs)) {
        case serial::WriteResult::Done:
            return 0;
        case serial::WriteResult::Refused:
            return kWriteRefused;
        case serial::WriteResult::Failed:
            break;
    }
    return kPendingFailed;
}

std::int32_t CSerialPort::Read(void* buffer, std::uint32_t largest, std::uint32_t& count) {
    count = 0;
    serial::Status status = m_hComm.QueryStatus();
    if (!status.ok || (status.errors & serial::kErrorHangUp)) {
        return kReadFailed;
    }
    std::uint32_t wanted = std::min(status.bytesWaiting, largest);
    if (wanted == 0) {
        return 0;
    }
    int got = m_hComm.Read(buffer, wanted);
    if (got < 0) {
        return kReadFailed;  // reported whatever the error state says, as for Write
    }
    count = static_cast<std::uint32_t>(got);
    return 0;
}

std::int32_t CSerialPort::Ping() {
    m_nPingStatus = 0;
    m_hPingEvent = sys::CreateEvent();
    if (m_hPingEvent == sys::kNoHandle) {
        return kNoAnswer;
    }
    SetResponseSink(m_szPingReply, sizeof m_szPingReply, m_hPingEvent, &m_nPingStatus,
                    DELIVER_ON_FINAL_RESULT, sys::kNoHandle);
    Write(kPingCommand, sizeof kPingCommand - 1);
    bool answered =
        sys::Wait(m_hPingEvent, kPingWaitMs) == sys::WaitResult::Signaled && m_nPingStatus == 0;
    sys::CloseHandle(m_hPingEvent);
    m_hPingEvent = sys::kNoHandle;
    ClearResponseSink();
    return answered ? 0 : kNoAnswer;
}

void CSerialPort::ReaderThread() {
    m_hComm.SetEventMask(true);
    std::unique_ptr<char[]> collection(new (std::nothrow) char[kCollectSize]);
    if (collection) {
        char* collected = collection.get();
        int count = 0;
        collected[0] = '\0';
        while (m_bRunning) {
            serial::Event event = m_hComm.WaitForEvent();
            if (event == serial::Event::Failed && m_pStatus.load() && m_bActive == 1) {
                ReportFailure(kReadFailed, count);
            }
            while (event == serial::Event::Received) {
                char burst[kBurstSize];
                std::uint32_t got = 0;
                std::int32_t result = Read(burst, kBurstSize, got);
                if (got == 0 && result == 0) {
                    break;
                }
                // The text and its terminating zero must stay below the buffer's size.
                if (count + static_cast<int>(got) >= kCollectSize - 1) {
                    result = kReadFailed;
                } else if (got > 0) {
                    std::memcpy(collected + count, burst, got);
                    count += static_cast<int>(got);
                    collected[count] = '\0';
                }
                // A good burst leaves the status word alone: owners clear it before each wait,
                // and a good burst right after an overflow must not hide it from an owner that
                // the overflow has just woken.
                if (result != 0 && m_bActive == 1) {
                    ReportFailure(result, count);
                }
                if (got == 0) {
                    break;  // a failed read, reported above
                }
            }
            if (count > 0 && DeliverResponse(collected, count) == 0) {
                count = 0;
                collected[0] = '\0';
            }
        }
    }
    m_dwThreadId = 0;
}

void CSerialPort::ReportFailure(std::int32_t status, int& collected) {
    if (std::atomic<std::int32_t>* word = m_pStatus) {
        *word = status;
    }
    if (sys::Handle done = m_hDoneEvent) {
        sys::SetEvent(done);
    }
    collected = 0;
}

std::int32_t CSerialPort::DeliverResponse(const char* text, int count) {
    sys::Handle done = m_hDoneEvent;
    if (done == sys::kNoHandle || m_bActive != 1) {
        return 0;
    }
    std::int32_t mode = m_nDeliveryMode;
    if (mode == DELIVER_ON_FINAL_RESULT) {
        if (!EndsWithFinalResult(text, count)) {
            return kIncomplete;
        }
    } else if (mode != DELIVER_EACH_CHUNK) {
        return 0;
    }
    char* buffer = m_pszResponse;
    std::int32_t capacity = m_nResponseCapacity;
    std::atomic<std::int32_t>* status = m_pStatus;
    if (!buffer || !status || m_pszResponse != buffer) {
        return 0;  // the sink is being replaced: the text is dropped, never written astray
    }
    if (count + 1 > capacity) {
        *status = kReplyTooLong;
        sys::SetEvent(done);
    } else {
        std::memcpy(buffer, text, static_cast<std::size_t>(count) + 1);
        sys::Sleep(kDeliveryPauseMs);
        sys::SetEvent(done);
    }
    if (sys::Handle ack = m_hAckEvent) {
        WaitForAcknowledgement(ack);
    }
    return 0;
}

void CSerialPort::WaitForAcknowledgement(sys::Handle ackEvent) {
    while (m_bRunning) {
        if (sys::Wait(ackEvent, kAckCheckMs) != sys::WaitResult::Timeout) {
            break;
        }
    }
    sys::ResetEvent(ackEvent);
}

bool CSerialPort::EndsWithFinalResult(const char* text, int count) {
    if (count < 2 || (text[count - 1] != '\r' && text[count - 2] != '\r')) {
        return false;
    }
    return std::any_of(std::begin(kFinalResultTails), std::end(kFinalResultTails),
                       [&](const char* tail) { return EndsWithIgnoringCase(text, count, tail); });
}
