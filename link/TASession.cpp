#include "link/TASession.h"

#include <cstring>

#include "platform/sys/Handle.h"

CTASession::CTASession() {
    m_Port.CreateIoEvents();
}

CTASession::~CTASession() {
    Close();
    m_Port.CloseIoEvents();
}

std::int32_t CTASession::Open(const char* portName) {
    m_strPort = portName ? portName : "";
    m_hReplyEvent = sys::CreateEvent();
    if (m_hReplyEvent == sys::kNoHandle) {
        return kEventFailure;
    }
    m_Port.SetResponseSink(m_szReply, kReplyCapacity, m_hReplyEvent, &m_nReplyStatus,
                           CSerialPort::DELIVER_ON_FINAL_RESULT, sys::kNoHandle);
    return m_Port.Open(portName);
}

std::int32_t CTASession::Close() {
    m_Port.ClearResponseSink();
    m_Port.Close();
    if (m_hReplyEvent != sys::kNoHandle) {
        sys::CloseHandle(m_hReplyEvent);
        m_hReplyEvent = sys::kNoHandle;
    }
    return 0;
}

std::int32_t CTASession::Send(const char* command) {
    if (!command) {
        return CSerialPort::kWriteRefused;
    }
    return m_Port.Write(command, static_cast<std::uint32_t>(std::strlen(command)));
}

std::int32_t CTASession::WaitForReply() {
    m_nReplyStatus = 0;
    bool signaled = sys::Wait(m_hReplyEvent, kReplyWaitMs) == sys::WaitResult::Signaled;
    sys::ResetEvent(m_hReplyEvent);
    if (!signaled) {
        return kNoReply;
    }
    return m_nReplyStatus;
}

const char* CTASession::ReplyFromFirstLineFeed() const {
    return std::strchr(m_szReply, '\n');
}
