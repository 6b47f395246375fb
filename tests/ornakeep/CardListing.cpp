#include "tests/ornakeep/CardListing.h"

#include <cstring>
#include <tuple>

namespace cardlisting {
namespace {

std::string Digit(int n) {
    return std::to_string(n);
}

void Copy(char (&field)[100], const std::string& text) {
    std::strncpy(field, text.c_str(), sizeof field - 1);
}

const char* const kSwitchPrimary[] = {"9", "1", "0"};
const char* const kSwitchAlternate[] = {"255", "0", "1"};
const char* const kProtocolText[] = {"95", "2", "96"};
const int kProtocol[] = {10, 11, 12};
const char* const kDataOverVoice[] = {"3", "0", "3"};

}  // namespace

Registers SampleRegisters(int n, bool northAmerica) {
    const std::string d = Digit(n);
    Registers r = {
        {"!C1=", kSwitchPrimary[n]}, {"!C11=", kSwitchAlternate[n]},
        {"!N1=", "555010" + d},      {"!N2=", "555020" + d},
        {"!N11=", "666010" + d},     {"!N21=", "666020" + d},
        {"!N3=", "*7" + d},          {"!N4=", "#8" + d},
        {"!N31=", "*9" + d},         {"!N41=", "#6" + d},
    };
    if (northAmerica) {
        r.insert(r.end(), {{"!C6=", "015550" + d + "0101"},
                           {"!C7=", "015550" + d + "0202"},
                           {"!C61=", "016660" + d + "0101"},
                           {"!C71=", "016660" + d + "0202"},
                           {"!C4=", Digit(n % 2)},
                           {"!C5=", Digit((n + 1) % 2)},
                           {"!C41=", "1"},
                           {"!C51=", "0"},
                           {"!C2=", Digit(n == 1)}});
    }
    r.insert(r.end(), {{"!O", kDataOverVoice[n]},
                       {"%P5=", Digit(n != 1)},
                       {"%P6=", Digit(30 + n)},
                       {"%P7=", Digit(6 + n)},
                       {"%A2=", kProtocolText[n]}});
    return r;
}

std::string Lines(const Registers& registers, int perLine) {
    std::string text;
    int onLine = 0;
    for (const auto& [token, value] : registers) {
        if (onLine > 0) {
            text += ' ';
        }
        text += token + value;
        if (++onLine == perLine) {
            text += "\r\n";
            onLine = 0;
        }
    }
    if (onLine > 0) {
        text += "\r\n";
    }
    return text;
}

std::string Listing(const std::string& section0, const std::string& section1,
                    const std::string& section2) {
    return "AT&V\r\n"
           "ACTIVE PROFILE:\r\n"
           "E1 V1 &K3 &Y2 !C1=4 !C11=4 !N1=999 !N2=999 !O0 %P5=0 %P6=99 %P7=99 %A2=2\r\n"
           "\r\n"
           "STORED PROFILE 0:\r\n" +
           section0 + "\r\nSTORED PROFILE 1:\r\n" + section1 + "\r\nSTORED PROFILE 2:\r\n" +
           section2 +
           "\r\nTELEPHONE NUMBERS:\r\n"
           "&Y2 !C1=4 !N1=111 !C2=1\r\n"
           "\r\nOK\r\n";
}

std::string SampleListing(bool northAmerica) {
    return Listing(Lines(SampleRegisters(0, northAmerica)), Lines(SampleRegisters(1, northAmerica)),
                   Lines(SampleRegisters(2, northAmerica)));
}

_STOREDPROFILE SampleProfile(int n, bool northAmerica) {
    const std::string d = Digit(n);
    _STOREDPROFILE p{};
    p.Primary.SwitchType = std::stoi(kSwitchPrimary[n]);
    p.Alternate.SwitchType = std::stoi(kSwitchAlternate[n]);
    Copy(p.Primary.Number1, "555010" + d);
    Copy(p.Primary.Number2, "555020" + d);
    Copy(p.Alternate.Number1, "666010" + d);
    Copy(p.Alternate.Number2, "666020" + d);
    Copy(p.Primary.Number3, "*7" + d);
    Copy(p.Primary.Number4, "#8" + d);
    Copy(p.Alternate.Number3, "*9" + d);
    Copy(p.Alternate.Number4, "#6" + d);
    if (northAmerica) {
        Copy(p.Primary.Spid1, "015550" + d + "0101");
        Copy(p.Primary.Spid2, "015550" + d + "0202");
        Copy(p.Alternate.Spid1, "016660" + d + "0101");
        Copy(p.Alternate.Spid2, "016660" + d + "0202");
        p.Primary.NoSpid1 = n % 2;
        p.Primary.NoSpid2 = (n + 1) % 2;
        p.Alternate.NoSpid1 = 1;
        p.Alternate.NoSpid2 = 0;
        p.AutoSpidLocation = n == 1;
    }
    p.DataOverVoice = n != 1;
    p.Bacp = n != 1;
    p.InitialBillingInterval = static_cast<std::uint16_t>(30 + n);
    p.BillingInterval = static_cast<std::uint16_t>(6 + n);
    p.Protocol = kProtocol[n];
    return p;
}

::testing::AssertionResult SameProfile(const _STOREDPROFILE& got, const _STOREDPROFILE& want) {
    std::string differs;
    const auto number = [&](const char* name, std::int64_t g, std::int64_t w) {
        if (differs.empty() && g != w) {
            differs =
                std::string(name) + ": " + std::to_string(g) + " instead of " + std::to_string(w);
        }
    };
    const auto text = [&](const char* name, const char* g, const char* w) {
        if (differs.empty() && std::strcmp(g, w) != 0) {
            differs = std::string(name) + ": \"" + g + "\" instead of \"" + w + "\"";
        }
    };
    for (const auto& [g, w, where] : {std::tuple{&got.Primary, &want.Primary, "Primary."},
                                      std::tuple{&got.Alternate, &want.Alternate, "Alternate."}}) {
        const std::string at = where;
        number((at + "SwitchType").c_str(), g->SwitchType, w->SwitchType);
        text((at + "Number1").c_str(), g->Number1, w->Number1);
        text((at + "Number2").c_str(), g->Number2, w->Number2);
        text((at + "Number3").c_str(), g->Number3, w->Number3);
        text((at + "Number4").c_str(), g->Number4, w->Number4);
        text((at + "Spid1").c_str(), g->Spid1, w->Spid1);
        text((at + "Spid2").c_str(), g->Spid2, w->Spid2);
        number((at + "NoSpid1").c_str(), g->NoSpid1, w->NoSpid1);
        number((at + "NoSpid2").c_str(), g->NoSpid2, w->NoSpid2);
    }
    number("Protocol", got.Protocol, want.Protocol);
    number("DataOverVoice", got.DataOverVoice, want.DataOverVoice);
    number("Bacp", got.Bacp, want.Bacp);
    number("AutoSpidLocation", got.AutoSpidLocation, want.AutoSpidLocation);
    number("InitialBillingInterval", got.InitialBillingInterval, want.InitialBillingInterval);
    number("BillingInterval", got.BillingInterval, want.BillingInterval);
    if (!differs.empty()) {
        return ::testing::AssertionFailure() << differs;
    }
    return ::testing::AssertionSuccess();
}

std::string Report(int defaultProfile) {
    return "AT>VC\r\n"
           "E1 Q0 V1 X4 &C1 &D2 &K3 &Y" +
           Digit(defaultProfile) +
           " !C1=9 %P5=1\r\n"
           "\r\nOK\r\n";
}

std::string VersionReply(bool northAmerica) {
    return std::string("ATI4\r\nQuilan ISDN T/A, ISDN(") + (northAmerica ? "NI-1" : "EURO") +
           ",V3.10)\r\n\r\nOK\r\n";
}

}  // namespace cardlisting
