#include "link/ReplyParser.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <limits>
#include <string_view>

namespace CReplyParser {

namespace {

struct ResultCode {
    const char* text;
    std::int32_t code;
};
// Searched in this order; names compared without regard to letter case.
constexpr ResultCode kResultCodes[] = {
    {"OK", 0},
    {"ERROR", kResultError},
};

constexpr const char kFinalLineTemplate[] = "\nRC\r\n";
constexpr int kFinalLineFields = 25;

bool IsOneOf(char c, const char* set) {
    return c != '\0' && std::strchr(set, c) != nullptr;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

// A leading optional sign and digits; text without digits counts 0. Saturates at the limits.
std::int32_t Decimal(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t kLimit = std::numeric_limits<std::int32_t>::max();
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = std::min<std::int64_t>(value * 10 + (text[i] - '0'), kLimit + 1);
    }
    if (negative) {
        return static_cast<std::int32_t>(-value);
    }
    return static_cast<std::int32_t>(std::min(value, kLimit));
}

// The text from `from` up to, not including, the first of `stops` (or to its end).
std::string_view Until(std::string_view text, std::size_t from, const char* stops) {
    std::size_t end = from;
    while (end < text.size() && !IsOneOf(text[end], stops)) {
        ++end;
    }
    return text.substr(from, end - from);
}

// Copies what fits of `text` into a zero-terminated field of `size` bytes.
void CopyField(std::string_view text, char* field, std::size_t size) {
    std::size_t length = std::min(text.size(), size - 1);
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

}  // namespace

std::int32_t GetFinalResultCode(const char* reply) {
    std::string_view text = reply ? reply : "";
    std::size_t last = text.rfind('\n');
    if (last == std::string_view::npos || last == 0) {
        return kResultError;
    }
    std::size_t before = text.rfind('\n', last - 1);
    if (before == std::string_view::npos) {
        return kResultError;
    }
    std::string fields[kFinalLineFields];
    std::string resultCode;
    std::int32_t matched =
        MatchTemplate(reply + before, kFinalLineTemplate, fields, kFinalLineFields, resultCode);
    if (matched != 0) {
        return matched;
    }
    for (const ResultCode& row : kResultCodes) {
        if (EqualIgnoringCase(resultCode, row.text)) {
            return row.code;
        }
    }
    return kUnknownResult;
}

std::int32_t MatchTemplate(const char* text, const char* pattern, std::string* fields,
                           int fieldCount, std::string& resultCode) {
    if (!text || !pattern || (!fields && fieldCount >= 1)) {
        return kMissingOrInvalid;
    }
    std::string_view t = text;
    std::string_view p = pattern;
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < t.size()) {
        if (j >= p.size()) {
            return kMismatch;  // the text goes on after the template's end
        }
        if (p[j] == '%') {
            std::string_view digits = Until(p, j + 1, FIELD_DELIMITERS);
            j += 1 + digits.size();
            std::int32_t index = Decimal(digits);
            if (index < 0 || index >= fieldCount) {
                return kFieldIndex;
            }
            std::string_view field = Until(t, i, FIELD_DELIMITERS);
            fields[index] = field;
            i += field.size();
            // The delimiters at i and j are passed over below without being compared.
        } else if (p[j] == 'R' && j + 1 < p.size() && p[j + 1] == 'C') {
            std::string_view code = Until(t, i, "\r");
            resultCode = code;
            i += code.size();
            j += 2;
        } else if (std::toupper(static_cast<unsigned char>(p[j])) !=
                   std::toupper(static_cast<unsigned char>(t[i]))) {
            return kMismatch;
        }
        ++i;
        ++j;
    }
    return 0;
}

std::int32_t ExtractToken(const char* text, int start, const char* delimiters, std::string& token) {
    if (start < 0 || !text || !delimiters) {
        return kResultError;
    }
    std::string_view t = text;
    if (static_cast<std::size_t>(start) > t.size()) {
        return 0;
    }
    std::size_t end = static_cast<std::size_t>(start);
    while (end < t.size() && !IsOneOf(t[end], delimiters)) {
        ++end;
    }
    if (end < t.size()) {
        token = t.substr(static_cast<std::size_t>(start), end - static_cast<std::size_t>(start));
    }
    return 0;
}

std::int32_t ParseSoftwareVersion(const char* reply, _SoftwareVer& version) {
    version.nMajor = 0;
    version.nMinor = 0;
    version.szBuild[0] = '\0';
    version.szVersionText[0] = '\0';
    std::int32_t result = GetFinalResultCode(reply);
    if (result != 0) {
        return result;
    }
    std::string_view text = reply;
    std::size_t v = text.find('V');
    if (v == std::string_view::npos) {
        return kMissingOrInvalid;
    }
    CopyField(Until(text, v + 1, "\r"), version.szVersionText, sizeof version.szVersionText);
    std::string token;
    ExtractToken(reply, static_cast<int>(v + 1), VERSION_DELIMITERS, token);
    version.nMajor = Decimal(token);
    std::size_t dot = text.find('.');
    if (dot == std::string_view::npos) {
        return kMissingOrInvalid;
    }
    token.clear();
    ExtractToken(reply, static_cast<int>(dot + 1), VERSION_DELIMITERS, token);
    version.nMinor = Decimal(token);
    std::size_t second = text.find('.', dot + 1);
    if (second != std::string_view::npos) {
        CopyField(Until(text, second + 1, "\r"), version.szBuild, sizeof version.szBuild);
    }
    return 0;
}

std::int32_t ParseVersionType(const char* reply, _ISDN_VERSIONTYPE& type) {
    if (GetFinalResultCode(reply) != 0) {
        return kMissingOrInvalid;
    }
    constexpr std::string_view kMarker = "ISDN(";
    std::string_view text = reply;
    std::size_t at = text.find(kMarker);
    if (at == std::string_view::npos) {
        return kMissingOrInvalid;
    }
    std::string token;
    if (ExtractToken(reply, static_cast<int>(at + kMarker.size()), SETTING_DELIMITERS, token) !=
        0) {
        return kMissingOrInvalid;
    }
    token = token.substr(0, token.find(','));
    if (EqualIgnoringCase(token, "NI-1")) {
        type = VERSIONTYPE_NI1;
        return 0;
    }
    if (token == "EURO") {
        type = VERSIONTYPE_EURO;
        return 0;
    }
    return kMissingOrInvalid;
}

std::int32_t ParseInfoLine(const char* reply, char* line, std::size_t size) {
    std::int32_t result = GetFinalResultCode(reply);
    if (result != 0) {
        return result;
    }
    if (line && size > 0) {
        CopyField(Until(reply, 1, "\r\n"), line, size);
    }
    return 0;
}

}  // namespace CReplyParser
