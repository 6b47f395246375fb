#include "ornakeep/ProfileListing.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "link/ReplyParser.h"

namespace ProfileListing {
namespace {

// Stores one register's value; false when the value is not acceptable (nothing stored then).
using Store = bool (*)(_STOREDPROFILE& profile, std::string_view value);

struct Register {
    const char* token;
    bool northAmericaOnly;
    Store store;
};

// Copies the value and its NUL; a value too long for the field keeps its first 99 characters.
template <std::size_t N>
bool Text(char (&field)[N], std::string_view value) {
    const std::size_t length = std::min(value.size(), N - 1);
    std::memcpy(field, value.data(), length);
    field[length] = '\0';
    return true;
}

bool Protocol(std::int32_t& field, std::string_view value) {
    struct Code {
        std::string_view text;
        std::int32_t protocol;
    };
    static constexpr Code kCodes[] = {{"95", 10}, {"2", 11}, {"96", 12}};
    for (const Code& code : kCodes) {
        if (value == code.text) {
            field = code.protocol;
            return true;
        }
    }
    return false;
}

// Looked for in this order within a section.
constexpr Register kRegisters[] = {
    {"!C1=", false,
     [](_STOREDPROFILE& p, std::string_view v) {
         p.Primary.SwitchType = Decimal(v);
         return true;
     }},
    {"!C11=", false,
     [](_STOREDPROFILE& p, std::string_view v) {
         p.Alternate.SwitchType = Decimal(v);
         return true;
     }},
    {"!N1=", false,
     [](_STOREDPROFILE& p, std::string_view v) { return Text(p.Primary.Number1, v); }},
    {"!N2=", false,
     [](_STOREDPROFILE& p, std::string_view v) { return Text(p.Primary.Number2, v); }},
    {"!N11=", false,
     [](_STOREDPROFILE& p, std::string_view v) { return Text(p.Alternate.Number1, v); }},
    {"!N21=", false,
     [](_STOREDPROFILE& p, std::string_view v) { return Text(p.Alternate.Number2, v); }},
    {"!N3=", false,
     [](_STOREDPROFILE& p, std::string_view v) { return Text(p.Primary.Number3, v); }},
    {"!N4=", false,
     [](_STOREDPROFILE& p, std::string_view v) { return Text(p.Primary.Number4, v); }},
    {"!N31=", false,
     [](_STOREDPROFILE& p, std::string_view v) { return Text(p.Alternate.Number3, v); }},
    {"!N41=", false,
     [](_STOREDPROFILE& p, std::string_view v) { return Text(p.Alternate.Number4, v); }},
    {"!C6=", true, [](_STOREDPROFILE& p, std::string_view v) { return Text(p.Primary.Spid1, v); }},
    {"!C7=", true, [](_STOREDPROFILE& p, std::string_view v) { return Text(p.Primary.Spid2, v); }},
    {"!C61=", true,
     [](_STOREDPROFILE& p, std::string_view v) { return Text(p.Alternate.Spid1, v); }},
    {"!C71=", true,
     [](_STOREDPROFILE& p, std::string_view v) { return Text(p.Alternate.Spid2, v); }},
    {"!C4=", true,
     [](_STOREDPROFILE& p, std::string_view v) {
         p.Primary.NoSpid1 = Decimal(v);
         return true;
     }},
    {"!C5=", true,
     [](_STOREDPROFILE& p, std::string_view v) {
         p.Primary.NoSpid2 = Decimal(v);
         return true;
     }},
    {"!C41=", true,
     [](_STOREDPROFILE& p, std::string_view v) {
         p.Alternate.NoSpid1 = Decimal(v);
         return true;
     }},
    {"!C51=", true,
     [](_STOREDPROFILE& p, std::string_view v) {
         p.Alternate.NoSpid2 = Decimal(v);
         return true;
     }},
    {"!C2=", true,
     [](_STOREDPROFILE& p, std::string_view v) {
         p.AutoSpidLocation = Decimal(v);
         return true;
     }},
    {"!O", false,
     [](_STOREDPROFILE& p, std::string_view v) {
         p.DataOverVoice = Decimal(v) == 3 ? 1 : 0;
         return true;
     }},
    {"%P5=", false,
     [](_STOREDPROFILE& p, std::string_view v) {
         p.Bacp = Decimal(v);
         return true;
     }},
    {"%P6=", false,
     [](_STOREDPROFILE& p, std::string_view v) {
         p.InitialBillingInterval = static_cast<std::uint16_t>(Decimal(v));
         return true;
     }},
    {"%P7=", false,
     [](_STOREDPROFILE& p, std::string_view v) {
         p.BillingInterval = static_cast<std::uint16_t>(Decimal(v));
         return true;
     }},
    {"%A2=", false, [](_STOREDPROFILE& p, std::string_view v) { return Protocol(p.Protocol, v); }},
};
static_assert(std::size(kRegisters) == 24);

// Profile n's section runs from marker n to marker n + 1.
constexpr const char* kMarkers[] = {
    "STORED PROFILE 0:", "STORED PROFILE 1:", "STORED PROFILE 2:", "TELEPHONE NUMBERS:"};

// The value after `token` within the NUL-terminated `text`, ended by a setting delimiter.
// A value that no delimiter ends before the text does is read as empty.
bool ValueAfter(const std::string& text, std::string_view token, std::string& value) {
    const std::size_t at = text.find(token);
    if (at == std::string::npos) {
        return false;
    }
    value.clear();
    return CReplyParser::ExtractToken(text.c_str(), static_cast<int>(at + token.size()),
                                      CReplyParser::SETTING_DELIMITERS, value) == 0;
}

}  // namespace

std::int32_t Decimal(std::string_view value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-')) {
        negative = value[i] == '-';
        ++i;
    }
    std::uint32_t magnitude = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        magnitude = magnitude * 10u + static_cast<std::uint32_t>(value[i] - '0');
    }
    return static_cast<std::int32_t>(negative ? 0u - magnitude : magnitude);
}

std::int32_t ParseRegisters(std::string_view section, _STOREDPROFILE& profile,
                            std::int32_t northAmerica) {
    const std::string text(section);
    std::string value;
    for (const Register& row : kRegisters) {
        if (row.northAmericaOnly && northAmerica != 1) {
            continue;
        }
        if (!ValueAfter(text, row.token, value) || !row.store(profile, value)) {
            return kTokenFailed;
        }
    }
    return 0;
}

std::int32_t ParseStoredProfile(int n, std::string_view listing, _STOREDPROFILE& profile,
                                std::int32_t northAmerica) {
    if (n < 0 || n > 2) {
        return kReadFailed;
    }
    const std::size_t start = listing.find(kMarkers[n]);
    const std::size_t end = listing.find(kMarkers[n + 1]);
    if (start == std::string_view::npos || end == std::string_view::npos || end <= start) {
        return kReadFailed;
    }
    return ParseRegisters(listing.substr(start, end - start), profile, northAmerica) == 0
               ? 0
               : kReadFailed;
}

std::int32_t ParseDefaultProfile(std::string_view report, _CARDPROFILES& profiles) {
    std::string value;
    if (!ValueAfter(std::string(report), "&Y", value)) {
        return kTokenFailed;
    }
    profiles.DefaultProfile = Decimal(value);
    return 0;
}

}  // namespace ProfileListing
