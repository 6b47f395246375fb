#include "ComStorage.h"

#include <string>
#include <vector>

#include "link/ReplyParser.h"
#include "ornakeep/ProfileCommands.h"
#include "ornakeep/ProfileListing.h"

namespace {
constexpr const char kVersionQuery[] = "ATI4\r";
constexpr const char kListingQuery[] = "AT&V\r";
constexpr const char kReportQuery[] = "AT>VC\r";
}  // namespace

CComStorage::CComStorage() = default;

CComStorage::~CComStorage() = default;

std::int32_t CComStorage::Open(const char* portName) {
    const std::int32_t result = m_Session.Open(portName);
    if (result == 0) {
        return 0;
    }
    return result == CTASession::kEventFailure ? kEventFailed : kPortFailed;
}

std::int32_t CComStorage::Close() {
    return m_Session.Close();
}

std::int32_t CComStorage::CommandStep(const char* command) {
    if (m_Session.Send(command) != 0) {
        return kCommandFailed;
    }
    return m_Session.WaitForReply() == 0 ? 0 : kNoReply;
}

std::int32_t CComStorage::WritingStep(const char* command) {
    if (CommandStep(command) != 0) {
        return kCommandFailed;
    }
    const char* reply = m_Session.ReplyFromFirstLineFeed();
    if (reply == nullptr || CReplyParser::GetFinalResultCode(reply) != 0) {
        return kCommandFailed;
    }
    return 0;
}

std::int32_t CComStorage::QueryRegion(int& northAmerica) {
    if (CommandStep(kVersionQuery) != 0) {
        return kCommandFailed;
    }
    const char* reply = m_Session.ReplyFromFirstLineFeed();
    _ISDN_VERSIONTYPE type = VERSIONTYPE_EURO;
    if (reply == nullptr || CReplyParser::ParseVersionType(reply, type) != 0) {
        return kNoReply;
    }
    northAmerica = type == VERSIONTYPE_NI1 ? 1 : 0;
    return 0;
}

std::int32_t CComStorage::ReadProfiles(_CARDPROFILES& profiles) {
    int northAmerica = 0;
    if (QueryRegion(northAmerica) != 0) {
        return kReadFailed;
    }
    profiles.NorthAmerica = northAmerica;

    if (CommandStep(kListingQuery) != 0) {
        return kReadFailed;
    }
    // The reply buffer is reused by the next command.
    const std::string listing(m_Session.m_szReply);
    for (int n = 0; n < 3; ++n) {
        if (ProfileListing::ParseStoredProfile(n, listing, profiles.Profiles[n],
                                               profiles.NorthAmerica) != 0) {
            return kReadFailed;
        }
    }

    if (CommandStep(kReportQuery) != 0 ||
        ProfileListing::ParseDefaultProfile(m_Session.m_szReply, profiles) != 0) {
        return kReadFailed;
    }
    return 0;
}

std::int32_t CComStorage::WriteProfiles(_CARDPROFILES profiles) {
    std::vector<std::string> commands;
    if (ProfileCommands::FormatProfiles(profiles, commands) != 0) {
        return kCommandFailed;
    }
    for (const std::string& command : commands) {
        if (WritingStep(command.c_str()) != 0) {
            return kCommandFailed;
        }
    }
    return 0;
}

std::int32_t CComStorage::AttemptBACP(int& accepted) {
    if (CommandStep(ProfileCommands::FormatBacpProbe().c_str()) != 0) {
        return kCommandFailed;
    }
    const char* reply = m_Session.ReplyFromFirstLineFeed();
    m_nBacpAnswer = reply != nullptr && CReplyParser::GetFinalResultCode(reply) == 0 ? 1 : 0;
    accepted = m_nBacpAnswer;
    return 0;
}
