// Turns the text of an adapter reply into results. Pure functions, no state.
//
// Every operation takes the reply from its first line feed on (the echoed command skipped) and
// returns 0 or one of the codes below. The numbers overlap the channel's, with other meanings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "IsdnVersionType.h"
#include "SoftwareVer.h"

namespace CReplyParser {

enum : std::int32_t {
    kResultError = 3000,       // final result "ERROR"; fewer than two line feeds; negative start
    kMissingOrInvalid = 3001,  // argument missing; version or region reply unusable
    kMismatch = 3002,          // a text character differs from the template
    kUnknownResult = 3003,     // the final result text is not "OK" or "ERROR"
    kFieldIndex = 3004,        // a template field index is not less than the field count
};

inline constexpr const char FIELD_DELIMITERS[] = "=,().\r";
inline constexpr const char SETTING_DELIMITERS[] = "!%& \r";
inline constexpr const char VERSION_DELIMITERS[] = ". \r";

// The code of the reply's last line: "OK" 0, "ERROR" 3000 (letter case ignored).
std::int32_t GetFinalResultCode(const char* reply);

// Matches `text` against `pattern` ("%<n>" fills field n, "RC" the result-code text).
std::int32_t MatchTemplate(const char* text, const char* pattern, std::string* fields,
                           int fieldCount, std::string& resultCode);

// The text from `start` up to the first character of `delimiters`; `token` is left as it was
// when no delimiter follows.
std::int32_t ExtractToken(const char* text, int start, const char* delimiters, std::string& token);

std::int32_t ParseSoftwareVersion(const char* reply, _SoftwareVer& version);
std::int32_t ParseVersionType(const char* reply, _ISDN_VERSIONTYPE& type);

// The first line of an information reply into `line` (at most size - 1 characters).
std::int32_t ParseInfoLine(const char* reply, char* line, std::size_t size);

}  // namespace CReplyParser
