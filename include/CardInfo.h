// Identifies a Quilan ISDN T/A on a COM port and reads its firmware version and region.
//
// One object serves one probe or one scan over several ports in a row, on one thread: call
// OpenConnection; when it returned 0 any number of GetSoftwareVersion and GetVersionType; then
// CloseConnection in every case, after which the object may be opened on another port. The
// object owns its session (port, reader thread, reply buffer) for its whole life; the queries
// also store what they read into the shared card list under the card-list lock.
#pragma once

#include <cstdint>

#include "IsdnVersionType.h"
#include "SoftwareVer.h"
#include "link/TASession.h"
#include "platform/sys/Export.h"

class QUILAN_EXPORT CCardInfo {
  public:
    enum : std::int32_t {
        kNoReplyEvent = 2001,   // OpenConnection: the reply event cannot be created
        kPortFailed = 2002,     // OpenConnection: the port cannot be opened or configured
        kNotIdentified = 2003,  // OpenConnection: no supported adapter answers on the port
        kQueryFailed = 2005,    // a query cannot be sent or gets no good reply in time
        kBadReply = 2006,       // a query's reply cannot be parsed (an "ERROR" included)
    };

    CCardInfo();
    ~CCardInfo();
    CCardInfo(const CCardInfo&) = delete;
    CCardInfo& operator=(const CCardInfo&) = delete;

    // Opens a session on the port ("COM1" ... "COM10") and identifies the adapter there.
    std::int32_t OpenConnection(const char* portName);
    // Always 0; also after a failed OpenConnection.
    std::int32_t CloseConnection();
    // "ATI3": fills `version`; copies its numbers and build text into the port's list slot.
    std::int32_t GetSoftwareVersion(_SoftwareVer& version);
    // "ATI4": sets `type`; stores it into the port's list slot.
    std::int32_t GetVersionType(_ISDN_VERSIONTYPE& type);

  private:
    std::int32_t Identify();
    // Sends a query and waits for its reply: false on either failure.
    bool Exchange(const char* command);

    CTASession m_Session;
};
