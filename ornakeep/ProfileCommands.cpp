#include "ornakeep/ProfileCommands.h"

#include <cstdio>
#include <cstring>
#include <iterator>

namespace ProfileCommands {
namespace {

constexpr int kCommandSize = 400;

// A text field goes out unchanged, so it must end within its 100 bytes and hold no control
// character: a carriage return or line feed would end the command early on the wire.
template <std::size_t N>
const char* Text(const char (&field)[N]) {
    const void* end = std::memchr(field, '\0', N);
    if (end == nullptr) {
        return nullptr;
    }
    for (const char* c = field; c != end; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if (byte < 0x20 || byte == 0x7F) {
            return nullptr;
        }
    }
    return field;
}

// A profile or default-profile number outside 0 to 3 cannot be formatted.
bool ProfileNumber(int n) {
    return n >= 0 && n <= 3;
}

bool Missing(const char* text) {
    return text == nullptr;
}
bool Missing(long long) {
    return false;
}

template <typename... Values>
bool Print(std::string& out, const char* format, Values... values) {
    if ((Missing(values) || ...)) {
        return false;
    }
    char buffer[kCommandSize];
    const int length = std::snprintf(buffer, sizeof buffer, format, values...);
    if (length < 0 || length >= kCommandSize) {
        return false;
    }
    out.assign(buffer, static_cast<std::size_t>(length));
    return true;
}

// The protocol suffixes of the first command, in their order; at most one applies.
struct Suffix {
    std::int32_t protocol;
    const char* text;
};
constexpr Suffix kSuffixes[] = {{11, "%A2=2"}, {10, "%A2=95"}, {12, "%A2=96"}};

const char* SuffixText(const _STOREDPROFILE& p, int i) {
    return p.Protocol == kSuffixes[i].protocol ? kSuffixes[i].text : "";
}

using Formatter = bool (*)(std::string& out, const char* format, const _STOREDPROFILE& p, int n);

struct Command {
    const char* format;
    bool northAmericaOnly;
    Formatter print;
};

// Commands 1 to 13, sent in this order for each stored profile.
constexpr Command kProfileCommands[] = {
    {"AT!C1=%d!C11=%d%s%s%s\r", false,
     [](std::string& o, const char* f, const _STOREDPROFILE& p, int) {
         return Print(o, f, p.Primary.SwitchType, p.Alternate.SwitchType, SuffixText(p, 0),
                      SuffixText(p, 1), SuffixText(p, 2));
     }},
    {"AT!N1=%s!N2=%s\r", false,
     [](std::string& o, const char* f, const _STOREDPROFILE& p, int) {
         return Print(o, f, Text(p.Primary.Number1), Text(p.Primary.Number2));
     }},
    {"AT!N11=%s!N21=%s\r", false,
     [](std::string& o, const char* f, const _STOREDPROFILE& p, int) {
         return Print(o, f, Text(p.Alternate.Number1), Text(p.Alternate.Number2));
     }},
    {"AT!N3=%s!N4=%s\r", false,
     [](std::string& o, const char* f, const _STOREDPROFILE& p, int) {
         return Print(o, f, Text(p.Primary.Number3), Text(p.Primary.Number4));
     }},
    {"AT!N31=%s!N41=%s\r", false,
     [](std::string& o, const char* f, const _STOREDPROFILE& p, int) {
         return Print(o, f, Text(p.Alternate.Number3), Text(p.Alternate.Number4));
     }},
    {"AT!C6=%s!C7=%s\r", true,
     [](std::string& o, const char* f, const _STOREDPROFILE& p, int) {
         return Print(o, f, Text(p.Primary.Spid1), Text(p.Primary.Spid2));
     }},
    {"AT!C61=%s!C71=%s\r", true,
     [](std::string& o, const char* f, const _STOREDPROFILE& p, int) {
         return Print(o, f, Text(p.Alternate.Spid1), Text(p.Alternate.Spid2));
     }},
    {"AT!C4=%d!C5=%d\r", true,
     [](std::string& o, const char* f, const _STOREDPROFILE& p, int) {
         return Print(o, f, p.Primary.NoSpid1, p.Primary.NoSpid2);
     }},
    {"AT!C41=%d!C51=%d\r", true,
     [](std::string& o, const char* f, const _STOREDPROFILE& p, int) {
         return Print(o, f, p.Alternate.NoSpid1, p.Alternate.NoSpid2);
     }},
    {"AT!C2=%d\r", true,
     [](std::string& o, const char* f, const _STOREDPROFILE& p, int) {
         return Print(o, f, p.AutoSpidLocation);
     }},
    {"AT!O%d\r", false,
     [](std::string& o, const char* f, const _STOREDPROFILE& p, int) {
         return Print(o, f, p.DataOverVoice != 0 ? 3 : 0);
     }},
    {"AT%%P5=%d%%P6=%u%%P7=%u\r", false,
     [](std::string& o, const char* f, const _STOREDPROFILE& p, int) {
         return Print(o, f, p.Bacp, static_cast<unsigned>(p.InitialBillingInterval),
                      static_cast<unsigned>(p.BillingInterval));
     }},
    {"AT&W%d\r", false,
     [](std::string& o, const char* f, const _STOREDPROFILE&, int n) {
         return ProfileNumber(n) && Print(o, f, n);
     }},
};
static_assert(std::size(kProfileCommands) == 13);

// Commands 14, 15 and B.
constexpr const char* kSetDefault = "AT&Y%d\r";
constexpr const char* kResetInto = "ATZ%d\r";
constexpr const char* kBacpProbe = "AT%%P5=%d\r";

}  // namespace

std::int32_t FormatStoredProfile(const _STOREDPROFILE& profile, int n, std::int32_t northAmerica,
                                 std::vector<std::string>& commands) {
    std::vector<std::string> formatted;
    for (const Command& command : kProfileCommands) {
        if (command.northAmericaOnly && northAmerica != 1) {
            continue;
        }
        if (!command.print(formatted.emplace_back(), command.format, profile, n)) {
            return kNotFormatted;
        }
    }
    commands.insert(commands.end(), formatted.begin(), formatted.end());
    return 0;
}

std::int32_t FormatProfiles(const _CARDPROFILES& profiles, std::vector<std::string>& commands) {
    std::vector<std::string> formatted;
    for (int n = 0; n < 3; ++n) {
        if (FormatStoredProfile(profiles.Profiles[n], n, profiles.NorthAmerica, formatted) != 0) {
            return kNotFormatted;
        }
    }
    const int defaultProfile = profiles.DefaultProfile;
    if (!ProfileNumber(defaultProfile) ||
        !Print(formatted.emplace_back(), kSetDefault, defaultProfile) ||
        !Print(formatted.emplace_back(), kResetInto, defaultProfile)) {
        return kNotFormatted;
    }
    commands.insert(commands.end(), formatted.begin(), formatted.end());
    return 0;
}

std::string FormatBacpProbe() {
    std::string command;
    Print(command, kBacpProbe, 1);
    return command;
}

}  // namespace ProfileCommands
