#include "CardInfo.h"

#include <cstring>
#include <string_view>

#include "link/ReplyParser.h"
#include "ornaslot/CardListArea.h"

namespace {

constexpr const char kIdentifyCommand[] = "ATI8\r";
constexpr const char kVersionCommand[] = "ATI3\r";
constexpr const char kRegionCommand[] = "ATI4\r";

constexpr std::string_view kCompany = "Corvane";
// The misspelled form is what the adapters shipped with; the corrected one is accepted too.
constexpr std::string_view kProductNames[] = {"Quilan ISDN Terminal Adpater",
                                              "Quilan ISDN Terminal Adapter"};

// The company name at the start, letter case ignored; a product name at the end, exactly.
bool IsSupportedAdapter(std::string_view line) {
    if (line.size() < kCompany.size() ||
        !EqualsIgnoringCase(line.substr(0, kCompany.size()), kCompany)) {
        return false;
    }
    for (std::string_view product : kProductNames) {
        if (line.ends_with(product)) {
            return true;
        }
    }
    return false;
}

// The parser wants the reply from its first line feed; a reply without one parses as empty.
const char* ParsableReply(const CTASession& session) {
    const char* reply = session.ReplyFromFirstLineFeed();
    return reply ? reply : "";
}

}  // namespace

CCardInfo::CCardInfo() = default;

CCardInfo::~CCardInfo() = default;

std::int32_t CCardInfo::OpenConnection(const char* portName) {
    std::int32_t result = m_Session.Open(portName ? portName : "");
    if (result == CTASession::kEventFailure) {
        return kNoReplyEvent;
    }
    if (result != 0) {
        return kPortFailed;
    }
    return Identify() == 0 ? 0 : kNotIdentified;
}

std::int32_t CCardInfo::CloseConnection() {
    return m_Session.Close();
}

bool CCardInfo::Exchange(const char* command) {
    return m_Session.Send(command) == 0 && m_Session.WaitForReply() == 0;
}

std::int32_t CCardInfo::Identify() {
    if (!Exchange(kIdentifyCommand)) {
        return kNotIdentified;
    }
    char line[CTASession::kReplyCapacity];
    if (CReplyParser::ParseInfoLine(ParsableReply(m_Session), line, sizeof line) != 0) {
        return kNotIdentified;
    }
    return IsSupportedAdapter(line) ? 0 : kNotIdentified;
}

std::int32_t CCardInfo::GetSoftwareVersion(_SoftwareVer& version) {
    if (!Exchange(kVersionCommand)) {
        return kQueryFailed;
    }
    if (CReplyParser::ParseSoftwareVersion(ParsableReply(m_Session), version) != 0) {
        return kBadReply;
    }
    CCardListLock lock;
    if (lock.Held()) {
        for (_CardInfo& slot : lock.Data().Slots) {
            if (EqualsIgnoringCase(BoundedText(slot.szPort), m_Session.m_strPort)) {
                slot.SoftwareVer.nMajor = version.nMajor;
                slot.SoftwareVer.nMinor = version.nMinor;
                if (&slot.SoftwareVer != &version) {
                    std::memcpy(slot.SoftwareVer.szBuild, version.szBuild,
                                sizeof slot.SoftwareVer.szBuild);
                }
            }
        }
    }
    return 0;
}

std::int32_t CCardInfo::GetVersionType(_ISDN_VERSIONTYPE& type) {
    if (!Exchange(kRegionCommand)) {
        return kQueryFailed;
    }
    if (CReplyParser::ParseVersionType(ParsableReply(m_Session), type) != 0) {
        return kBadReply;
    }
    CCardListLock lock;
    if (lock.Held()) {
        for (_CardInfo& slot : lock.Data().Slots) {
            if (EqualsIgnoringCase(BoundedText(slot.szPort), m_Session.m_strPort)) {
                slot.VersionType = type;
            }
        }
    }
    return 0;
}
