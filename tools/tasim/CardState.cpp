#include "tools/tasim/CardState.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>

namespace tasim {
namespace {

constexpr std::size_t kMaxDigits = 20;  // numbers and SPIDs the card keeps

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

std::optional<long> Decimal(std::string_view value, long largest) {
    if (value.empty() || value.size() > 6)
        return std::nullopt;
    long n = 0;
    for (char c : value) {
        if (c < '0' || c > '9')
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    if (n > largest)
        return std::nullopt;
    return n;
}

bool OneOf(long n, std::initializer_list<long> allowed) {
    return std::find(allowed.begin(), allowed.end(), n) != allowed.end();
}

long ToLong(const Registers& r, const char* name) {
    auto it = r.find(name);
    return it == r.end() ? 0 : std::strtol(it->second.c_str(), nullptr, 10);
}

void CopyText(const Registers& r, const char* name, char (&field)[100]) {
    auto it = r.find(name);
    std::string value = it == r.end() ? std::string() : it->second.substr(0, sizeof field - 1);
    std::memcpy(field, value.c_str(), value.size() + 1);
}

std::string Text(const char (&field)[100]) {
    return std::string(field, strnlen(field, 100));
}

}  // namespace

const std::vector<RegisterInfo>& RegisterTable() {
    using K = RegisterInfo;
    static const std::vector<RegisterInfo> table = {
        {"!C1", K::Switch, false},   {"!C11", K::AlternateSwitch, false},
        {"!N1", K::Number, false},   {"!N2", K::Number, false},
        {"!N11", K::Number, false},  {"!N21", K::Number, false},
        {"!N3", K::Number, false},   {"!N4", K::Number, false},
        {"!N31", K::Number, false},  {"!N41", K::Number, false},
        {"!C6", K::Spid, true},      {"!C7", K::Spid, true},
        {"!C61", K::Spid, true},     {"!C71", K::Spid, true},
        {"!C4", K::Flag, true},      {"!C5", K::Flag, true},
        {"!C41", K::Flag, true},     {"!C51", K::Flag, true},
        {"!C2", K::Flag, true},      {"!O", K::DataOverVoice, false},
        {"%P5", K::Bacp, false},     {"%P6", K::Interval, false},
        {"%P7", K::Interval, false}, {"%A2", K::Protocol, false},
    };
    return table;
}

const RegisterInfo* FindRegister(std::string_view name, Region region) {
    for (const RegisterInfo& info : RegisterTable()) {
        if (EqualNoCase(info.name, name)) {
            if (info.northAmericaOnly && region != Region::NorthAmerica)
                return nullptr;
            return &info;
        }
    }
    return nullptr;
}

std::optional<std::string> CheckValue(const RegisterInfo& info, std::string_view value,
                                      bool bacpSupported) {
    std::optional<long> n;
    switch (info.kind) {
        case RegisterInfo::Number:
        case RegisterInfo::Spid: {
            const char* allowed = info.kind == RegisterInfo::Number ? "0123456789#*" : "0123456789";
            if (value.size() > kMaxDigits ||
                value.find_first_not_of(allowed) != std::string_view::npos) {
                return std::nullopt;
            }
            return std::string(value);
        }
        case RegisterInfo::Switch:
            n = Decimal(value, 255);
            if (n && !OneOf(*n, {0, 1, 2, 3, 4, 9}))
                n.reset();
            break;
        case RegisterInfo::AlternateSwitch:
            n = Decimal(value, 255);
            if (n && !OneOf(*n, {0, 1, 2, 3, 4, 9, 254, 255}))
                n.reset();
            break;
        case RegisterInfo::Flag:
            n = Decimal(value, 1);
            break;
        case RegisterInfo::DataOverVoice:
            n = Decimal(value, 3);
            break;
        case RegisterInfo::Bacp:
            n = Decimal(value, bacpSupported ? 1 : 0);
            break;
        case RegisterInfo::Interval:
            n = Decimal(value, 65535);
            break;
        case RegisterInfo::Protocol:
            n = Decimal(value, 255);
            if (n && !OneOf(*n, {2, 95, 96}))
                n.reset();
            break;
    }
    if (!n)
        return std::nullopt;
    return std::to_string(*n);
}

Region RegionOf(std::string_view isdnText) {
    std::size_t at = isdnText.find("ISDN(");
    if (at == std::string_view::npos)
        return Region::International;
    std::string_view token = isdnText.substr(at + 5);
    token = token.substr(0, token.find_first_of("!%& \r,"));
    return EqualNoCase(token, "NI-1") ? Region::NorthAmerica : Region::International;
}

std::string DefaultIsdnText(Region region) {
    return region == Region::NorthAmerica ? "ISDN(NI-1,5ESS,S/T)" : "ISDN(EURO,ETSI,S/T)";
}

Registers FactoryProfile(Region region, int n) {
    static const char* const kProtocols[3] = {"95", "96", "2"};  // PPP, Multilink PPP, V.120
    Registers r = {
        {"!C1", region == Region::NorthAmerica ? "9" : "2"},
        {"!C11", "255"},
        {"!N1", ""},
        {"!N2", ""},
        {"!N11", ""},
        {"!N21", ""},
        {"!N3", ""},
        {"!N4", ""},
        {"!N31", ""},
        {"!N41", ""},
        {"!O", "0"},
        {"%P5", "0"},
        {"%P6", "60"},
        {"%P7", "60"},
        {"%A2", kProtocols[n % 3]},
    };
    if (region == Region::NorthAmerica) {
        for (const char* name : {"!C6", "!C7", "!C61", "!C71"})
            r[name] = "";
        for (const char* name : {"!C4", "!C5", "!C41", "!C51", "!C2"})
            r[name] = "0";
    }
    return r;
}

void CardState::ResetToFactory() {
    for (int n = 0; n < 3; ++n)
        stored[n] = FactoryProfile(GetRegion(), n);
    defaultProfile = 0;
    active = stored[0];
}

_STOREDPROFILE ToRecord(const Registers& r, Region region) {
    _STOREDPROFILE p{};
    p.Primary.SwitchType = static_cast<std::int32_t>(ToLong(r, "!C1"));
    p.Alternate.SwitchType = static_cast<std::int32_t>(ToLong(r, "!C11"));
    CopyText(r, "!N1", p.Primary.Number1);
    CopyText(r, "!N2", p.Primary.Number2);
    CopyText(r, "!N3", p.Primary.Number3);
    CopyText(r, "!N4", p.Primary.Number4);
    CopyText(r, "!N11", p.Alternate.Number1);
    CopyText(r, "!N21", p.Alternate.Number2);
    CopyText(r, "!N31", p.Alternate.Number3);
    CopyText(r, "!N41", p.Alternate.Number4);
    if (region == Region::NorthAmerica) {
        CopyText(r, "!C6", p.Primary.Spid1);
        CopyText(r, "!C7", p.Primary.Spid2);
        CopyText(r, "!C61", p.Alternate.Spid1);
        CopyText(r, "!C71", p.Alternate.Spid2);
        p.Primary.NoSpid1 = static_cast<std::int32_t>(ToLong(r, "!C4"));
        p.Primary.NoSpid2 = static_cast<std::int32_t>(ToLong(r, "!C5"));
        p.Alternate.NoSpid1 = static_cast<std::int32_t>(ToLong(r, "!C41"));
        p.Alternate.NoSpid2 = static_cast<std::int32_t>(ToLong(r, "!C51"));
        p.AutoSpidLocation = static_cast<std::int32_t>(ToLong(r, "!C2"));
    }
    p.DataOverVoice = ToLong(r, "!O") == 3 ? 1 : 0;
    p.Bacp = static_cast<std::int32_t>(ToLong(r, "%P5"));
    p.InitialBillingInterval = static_cast<std::uint16_t>(ToLong(r, "%P6"));
    p.BillingInterval = static_cast<std::uint16_t>(ToLong(r, "%P7"));
    auto protocol = r.find("%A2");
    std::string a2 = protocol == r.end() ? "" : protocol->second;
    p.Protocol = a2 == "95" ? 10 : a2 == "2" ? 11 : a2 == "96" ? 12 : 0;
    return p;
}

void ApplyRecord(const _STOREDPROFILE& p, Region region, Registers& r) {
    r["!C1"] = std::to_string(p.Primary.SwitchType);
    r["!C11"] = std::to_string(p.Alternate.SwitchType);
    r["!N1"] = Text(p.Primary.Number1);
    r["!N2"] = Text(p.Primary.Number2);
    r["!N3"] = Text(p.Primary.Number3);
    r["!N4"] = Text(p.Primary.Number4);
    r["!N11"] = Text(p.Alternate.Number1);
    r["!N21"] = Text(p.Alternate.Number2);
    r["!N31"] = Text(p.Alternate.Number3);
    r["!N41"] = Text(p.Alternate.Number4);
    if (region == Region::NorthAmerica) {
        r["!C6"] = Text(p.Primary.Spid1);
        r["!C7"] = Text(p.Primary.Spid2);
        r["!C61"] = Text(p.Alternate.Spid1);
        r["!C71"] = Text(p.Alternate.Spid2);
        r["!C4"] = std::to_string(p.Primary.NoSpid1);
        r["!C5"] = std::to_string(p.Primary.NoSpid2);
        r["!C41"] = std::to_string(p.Alternate.NoSpid1);
        r["!C51"] = std::to_string(p.Alternate.NoSpid2);
        r["!C2"] = std::to_string(p.AutoSpidLocation);
    }
    r["!O"] = p.DataOverVoice != 0 ? "3" : "0";
    r["%P5"] = std::to_string(p.Bacp);
    r["%P6"] = std::to_string(p.InitialBillingInterval);
    r["%P7"] = std::to_string(p.BillingInterval);
    if (p.Protocol == 10)
        r["%A2"] = "95";
    if (p.Protocol == 11)
        r["%A2"] = "2";
    if (p.Protocol == 12)
        r["%A2"] = "96";
}

// One line per item, tab-separated: "version\t<text>", "isdn\t<text>", "default\t<n>",
// "stored\t<n>\t<register>\t<value>".
bool LoadState(const std::filesystem::path& file, CardState& state) {
    std::ifstream in(file);
    if (!in)
        return false;
    CardState loaded;
    std::string line;
    while (std::getline(in, line)) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string item; std::getline(fields, item, '\t');)
            f.push_back(item);
        if (f.size() == 2 && f[0] == "version")
            loaded.version = f[1];
        if (f.size() == 2 && f[0] == "isdn")
            loaded.isdn = f[1];
        if (f.size() == 2 && f[0] == "default")
            loaded.defaultProfile = std::atoi(f[1].c_str());
        if (f.size() >= 3 && f[0] == "stored") {
            int n = std::atoi(f[1].c_str());
            if (n >= 0 && n < 3)
                loaded.stored[n][f[2]] = f.size() > 3 ? f[3] : "";
        }
    }
    if (loaded.version.empty() || loaded.isdn.empty())
        return false;
    if (loaded.defaultProfile < 0 || loaded.defaultProfile > 2)
        loaded.defaultProfile = 0;
    loaded.active = loaded.stored[loaded.defaultProfile];
    state = loaded;
    return true;
}

bool SaveState(const std::filesystem::path& file, const CardState& state) {
    std::filesystem::path temporary = file;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << "version\t" << state.version << "\nisdn\t" << state.isdn << "\ndefault\t"
            << state.defaultProfile << "\n";
        for (int n = 0; n < 3; ++n) {
            for (const auto& [name, value] : state.stored[n]) {
                out << "stored\t" << n << "\t" << name << "\t" << value << "\n";
            }
        }
        if (!out.flush())
            return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, file, error);
    return !error;
}

}  // namespace tasim
