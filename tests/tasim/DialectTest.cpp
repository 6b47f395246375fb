// The emulator's AT dialect, spoken over a real pseudo-terminal and read back with the device
// link's own reply parsers.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "link/ReplyParser.h"
#include "platform/sys/Time.h"
#include "tests/tasim/PtyPeer.h"
#include "tools/tasim/Adapter.h"

namespace {

using tasim::Region;

const char* FromLineFeed(const std::string& reply) {
    std::size_t lf = reply.find('\n');
    return lf == std::string::npos ? "" : reply.c_str() + lf;
}

std::int32_t Result(const std::string& reply) {
    return CReplyParser::GetFinalResultCode(FromLineFeed(reply));
}

tasim::Config ConfigFor(Region region) {
    tasim::Config config;
    config.region = region;
    return config;
}

// An adapter on COM3 of a fresh root, with the computer's side opened and set up as the
// channel does it.
class Card {
  public:
    explicit Card(tasim::Config config = {}) : adapter(std::move(config)) {
        started = adapter.Start(root.path(), "COM3");
        peer = std::make_unique<PtyPeer>(root.Port("COM3"));
        setup = peer->Command("ATV1E1&K3\r\n");
    }
    TempRoot root;
    tasim::Adapter adapter;
    bool started = false;
    std::unique_ptr<PtyPeer> peer;
    std::string setup;
};

// The register commands exactly as the profile writer formats them, for one profile.
std::vector<std::string> WriterCommands(const _STOREDPROFILE& p, int n, bool northAmerica) {
    char buffer[400];
    std::vector<std::string> out;
    auto add = [&](int length) { out.emplace_back(buffer, static_cast<std::size_t>(length)); };
    add(std::snprintf(buffer, sizeof buffer, "AT!C1=%d!C11=%d%s%s%s\r", p.Primary.SwitchType,
                      p.Alternate.SwitchType, p.Protocol == 11 ? "%A2=2" : "",
                      p.Protocol == 10 ? "%A2=95" : "", p.Protocol == 12 ? "%A2=96" : ""));
    add(std::snprintf(buffer, sizeof buffer, "AT!N1=%s!N2=%s\r", p.Primary.Number1,
                      p.Primary.Number2));
    add(std::snprintf(buffer, sizeof buffer, "AT!N11=%s!N21=%s\r", p.Alternate.Number1,
                      p.Alternate.Number2));
    add(std::snprintf(buffer, sizeof buffer, "AT!N3=%s!N4=%s\r", p.Primary.Number3,
                      p.Primary.Number4));
    add(std::snprintf(buffer, sizeof buffer, "AT!N31=%s!N41=%s\r", p.Alternate.Number3,
                      p.Alternate.Number4));
    if (northAmerica) {
        add(std::snprintf(buffer, sizeof buffer, "AT!C6=%s!C7=%s\r", p.Primary.Spid1,
                          p.Primary.Spid2));
        add(std::snprintf(buffer, sizeof buffer, "AT!C61=%s!C71=%s\r", p.Alternate.Spid1,
                          p.Alternate.Spid2));
        add(std::snprintf(buffer, sizeof buffer, "AT!C4=%d!C5=%d\r", p.Primary.NoSpid1,
                          p.Primary.NoSpid2));
        add(std::snprintf(buffer, sizeof buffer, "AT!C41=%d!C51=%d\r", p.Alternate.NoSpid1,
                          p.Alternate.NoSpid2));
        add(std::snprintf(buffer, sizeof buffer, "AT!C2=%d\r", p.AutoSpidLocation));
    }
    add(std::snprintf(buffer, sizeof buffer, "AT!O%d\r", p.DataOverVoice != 0 ? 3 : 0));
    add(std::snprintf(buffer, sizeof buffer, "AT%%P5=%d%%P6=%u%%P7=%u\r", p.Bacp,
                      p.InitialBillingInterval, p.BillingInterval));
    add(std::snprintf(buffer, sizeof buffer, "AT&W%d\r", n));
    return out;
}

_STOREDPROFILE SampleProfile(bool northAmerica) {
    _STOREDPROFILE p{};
    p.Primary.SwitchType = northAmerica ? 1 : 3;
    p.Alternate.SwitchType = northAmerica ? 9 : 254;
    std::strcpy(p.Primary.Number1, "5551234");
    std::strcpy(p.Primary.Number2, "5555678#");
    std::strcpy(p.Alternate.Number1, "*6912345678901234567");
    std::strcpy(p.Alternate.Number2, "*6912345678901234567");
    if (northAmerica) {
        std::strcpy(p.Primary.Spid1, "01555123400");
        std::strcpy(p.Primary.Spid2, "01555567800");
        std::strcpy(p.Alternate.Spid1, "0155512340011111111");
        p.Primary.NoSpid2 = 1;
        p.Alternate.NoSpid1 = 1;
        p.AutoSpidLocation = 1;
    }
    p.Protocol = 12;
    p.DataOverVoice = 1;
    p.Bacp = 1;
    p.InitialBillingInterval = 65535;
    p.BillingInterval = 6;
    return p;
}

TEST(Dialect, ReplyHasEchoLineFeedInformationAndFinalLine) {
    Card card;
    ASSERT_TRUE(card.started);
    EXPECT_EQ(card.setup, "ATV1E1&K3\r\nOK\r\n");
    // The line feed that ended the set-up command starts no new command.
    EXPECT_EQ(card.peer->Command("ATI3\r"), "ATI3\r\nV3.10.05\r\n\r\nOK\r\n");
    EXPECT_EQ(card.peer->Command("AT&W0\r"), "AT&W0\r\nOK\r\n");
    EXPECT_EQ(card.peer->Command("ATQQ\r"), "ATQQ\r\nERROR\r\n");
    EXPECT_EQ(card.adapter.Commands(),
              (std::vector<std::string>{"ATV1E1&K3\r", "ATI3\r", "AT&W0\r", "ATQQ\r"}));
    EXPECT_EQ(card.adapter.Received(), "ATV1E1&K3\r\nATI3\rAT&W0\rATQQ\r");
}

struct IdentityRow {
    const char* name;
    Region region;
    const char* ident;  // empty: the adapter's own line
    const char* version;
    _ISDN_VERSIONTYPE type;
    const char* expectedIdent;
};

class Identity : public testing::TestWithParam<IdentityRow> {};

TEST_P(Identity, QueriesParseWithTheLinkParsers) {
    const IdentityRow& row = GetParam();
    tasim::Config config = ConfigFor(row.region);
    config.ident = row.ident;
    config.version = row.version;
    Card card(config);
    ASSERT_TRUE(card.started);

    char line[300] = {};
    std::string i8 = card.peer->Command("ATI8\r");
    ASSERT_EQ(CReplyParser::ParseInfoLine(FromLineFeed(i8), line, sizeof line), 0) << i8;
    EXPECT_STREQ(line, row.expectedIdent);

    _SoftwareVer version{};
    std::string i3 = card.peer->Command("ATI3\r");
    ASSERT_EQ(CReplyParser::ParseSoftwareVersion(FromLineFeed(i3), version), 0) << i3;
    EXPECT_STREQ(version.szVersionText, row.version);

    _ISDN_VERSIONTYPE type = static_cast<_ISDN_VERSIONTYPE>(7);
    std::string i4 = card.peer->Command("ATI4\r");
    ASSERT_EQ(CReplyParser::ParseVersionType(FromLineFeed(i4), type), 0) << i4;
    EXPECT_EQ(type, row.type);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Identity,
    testing::Values(IdentityRow{"NorthAmerica", Region::NorthAmerica, "", "3.10.05",
                                VERSIONTYPE_NI1, "Corvane Quilan ISDN Terminal Adapter"},
                    IdentityRow{"International", Region::International, "", "2.4", VERSIONTYPE_EURO,
                                "Corvane Quilan ISDN Terminal Adapter"},
                    IdentityRow{"Misspelled", Region::NorthAmerica,
                                "CORVANE Quilan ISDN Terminal Adpater", "3.9.1", VERSIONTYPE_NI1,
                                "CORVANE Quilan ISDN Terminal Adpater"},
                    IdentityRow{"OtherMake", Region::International, "Acme 56k Voice Modem", "1.0.0",
                                VERSIONTYPE_EURO, "Acme 56k Voice Modem"}),
    [](const testing::TestParamInfo<IdentityRow>& info) { return info.param.name; });

TEST(Dialect, VersionFieldsOfTheDefaultVersion) {
    Card card;
    _SoftwareVer version{};
    ASSERT_EQ(
        CReplyParser::ParseSoftwareVersion(FromLineFeed(card.peer->Command("ATI3\r")), version), 0);
    EXPECT_EQ(version.nMajor, 3);
    EXPECT_EQ(version.nMinor, 10);
    EXPECT_STREQ(version.szBuild, "05");
}

// The reader's tokens; rows 11 to 19 exist on North American firmware only.
const std::vector<std::pair<const char*, const char*>> kTokens = {
    {"!C1=", "!C1"},   {"!C11=", "!C11"}, {"!N1=", "!N1"},   {"!N2=", "!N2"},   {"!N11=", "!N11"},
    {"!N21=", "!N21"}, {"!N3=", "!N3"},   {"!N4=", "!N4"},   {"!N31=", "!N31"}, {"!N41=", "!N41"},
    {"!C6=", "!C6"},   {"!C7=", "!C7"},   {"!C61=", "!C61"}, {"!C71=", "!C71"}, {"!C4=", "!C4"},
    {"!C5=", "!C5"},   {"!C41=", "!C41"}, {"!C51=", "!C51"}, {"!C2=", "!C2"},   {"!O", "!O"},
    {"%P5=", "%P5"},   {"%P6=", "%P6"},   {"%P7=", "%P7"},   {"%A2=", "%A2"},
};

void ExpectListingMatches(const std::string& listing, const tasim::Adapter& adapter,
                          bool northAmerica) {
    const std::string markers[4] = {
        "STORED PROFILE 0:", "STORED PROFILE 1:", "STORED PROFILE 2:", "TELEPHONE NUMBERS:"};
    for (int n = 0; n < 3; ++n) {
        SCOPED_TRACE("profile " + std::to_string(n));
        std::size_t start = listing.find(markers[n]);
        std::size_t end = listing.find(markers[n + 1]);
        ASSERT_NE(start, std::string::npos);
        ASSERT_NE(end, std::string::npos);
        ASSERT_LT(start, end);
        std::string section = listing.substr(start, end - start);
        for (std::size_t row = 0; row < kTokens.size(); ++row) {
            const auto& [token, name] = kTokens[row];
            SCOPED_TRACE(token);
            bool naOnly = row >= 10 && row <= 18;
            std::size_t at = section.find(token);
            if (naOnly && !northAmerica) {
                EXPECT_EQ(at, std::string::npos);
                continue;
            }
            ASSERT_NE(at, std::string::npos);
            std::string value;
            ASSERT_EQ(CReplyParser::ExtractToken(section.c_str(),
                                                 static_cast<int>(at + std::strlen(token)),
                                                 CReplyParser::SETTING_DELIMITERS, value),
                      0);
            EXPECT_EQ(value, adapter.Register(n, name));
        }
    }
}

TEST(Dialect, StoredProfileListingHoldsEveryRegisterOfEachProfile) {
    for (Region region : {Region::NorthAmerica, Region::International}) {
        bool na = region == Region::NorthAmerica;
        SCOPED_TRACE(na ? "North America" : "International");
        Card card(ConfigFor(region));
        for (const std::string& c : WriterCommands(SampleProfile(na), 2, na)) {
            ASSERT_EQ(Result(card.peer->Command(c)), 0) << c;
        }
        std::string listing = card.peer->Command("AT&V\r");
        EXPECT_EQ(Result(listing), 0);
        ExpectListingMatches(listing, card.adapter, na);
        EXPECT_EQ(listing.find("&Y"), std::string::npos);
        EXPECT_EQ(card.adapter.Register(2, "!N11"), "*6912345678901234567");
    }
}

TEST(Dialect, FullListingFitsOneReplyOfTheDeviceLink) {
    Card card;
    _STOREDPROFILE p{};
    const char* longest = "12345678901234567890";
    for (char* field :
         {p.Primary.Number1, p.Primary.Number2, p.Primary.Number3, p.Primary.Number4,
          p.Alternate.Number1, p.Alternate.Number2, p.Alternate.Number3, p.Alternate.Number4,
          p.Primary.Spid1, p.Primary.Spid2, p.Alternate.Spid1, p.Alternate.Spid2}) {
        std::strcpy(field, longest);
    }
    p.Protocol = 10;
    for (int n = 0; n < 3; ++n) {
        for (const std::string& c : WriterCommands(p, n, true)) {
            ASSERT_EQ(Result(card.peer->Command(c)), 0) << c;
        }
    }
    std::string listing = card.peer->Command("AT&V\r");
    EXPECT_EQ(Result(listing), 0);
    EXPECT_LE(listing.size(), 2498u);
    ExpectListingMatches(listing, card.adapter, true);
}

TEST(Dialect, ConfigurationReportNamesTheDefaultProfile) {
    Card card;
    for (const char* n : {"2", "0", "1"}) {
        SCOPED_TRACE(n);
        ASSERT_EQ(Result(card.peer->Command(std::string("AT&Y") + n + "\r")), 0);
        std::string report = card.peer->Command("AT>VC\r");
        ASSERT_EQ(Result(report), 0);
        std::size_t at = report.find("&Y");
        ASSERT_NE(at, std::string::npos);
        std::string value;
        ASSERT_EQ(CReplyParser::ExtractToken(report.c_str(), static_cast<int>(at + 2),
                                             CReplyParser::SETTING_DELIMITERS, value),
                  0);
        EXPECT_EQ(value, n);
    }
    EXPECT_EQ(card.adapter.DefaultProfile(), 1);
}

TEST(Dialect, WriterSequenceStoresProfilesThatReadBackAsTheRecord) {
    for (Region region : {Region::NorthAmerica, Region::International}) {
        bool na = region == Region::NorthAmerica;
        SCOPED_TRACE(na ? "North America" : "International");
        Card card(ConfigFor(region));
        _CARDPROFILES record{};
        for (int n = 0; n < 3; ++n) {
            record.Profiles[n] = SampleProfile(na);
            record.Profiles[n].Protocol = 10 + n;
            record.Profiles[n].BillingInterval = static_cast<std::uint16_t>(100 * n);
        }
        record.Profiles[1].DataOverVoice = 0;
        record.DefaultProfile = 2;
        record.NorthAmerica = na ? 1 : 0;
        std::vector<std::string> sent;
        for (int n = 0; n < 3; ++n) {
            for (const std::string& c : WriterCommands(record.Profiles[n], n, na))
                sent.push_back(c);
        }
        sent.push_back("AT&Y2\r");
        sent.push_back("ATZ2\r");
        EXPECT_EQ(sent.size(), na ? 41u : 26u);
        for (const std::string& c : sent)
            ASSERT_EQ(Result(card.peer->Command(c)), 0) << c;

        _CARDPROFILES stored = card.adapter.CardProfiles();
        EXPECT_EQ(std::memcmp(&stored, &record, sizeof record), 0);
        _STOREDPROFILE active = card.adapter.ActiveProfile();
        EXPECT_EQ(std::memcmp(&active, &record.Profiles[2], sizeof active), 0);
    }
}

TEST(Dialect, ResetLoadsTheChosenProfileIntoTheActiveConfiguration) {
    Card card;
    ASSERT_EQ(Result(card.peer->Command("AT!C1=0%P6=7\r")), 0);
    ASSERT_EQ(Result(card.peer->Command("AT&W1\r")), 0);
    EXPECT_EQ(card.adapter.Register(1, "%P6"), "7");
    EXPECT_EQ(card.adapter.Register(0, "%P6"), "60");
    ASSERT_EQ(Result(card.peer->Command("ATZ0\r")), 0);
    EXPECT_EQ(card.adapter.Register(-1, "%P6"), "60");
    ASSERT_EQ(Result(card.peer->Command("ATZ1\r")), 0);
    EXPECT_EQ(card.adapter.Register(-1, "!C1"), "0");
}

struct BadRow {
    const char* command;
    Region region;
    bool bacp;
};

class Malformed : public testing::TestWithParam<BadRow> {};

TEST_P(Malformed, AnswersErrorAndChangesNothing) {
    const BadRow& row = GetParam();
    tasim::Config config = ConfigFor(row.region);
    config.bacp = row.bacp;
    Card card(config);
    _CARDPROFILES before = card.adapter.CardProfiles();
    _STOREDPROFILE activeBefore = card.adapter.ActiveProfile();
    int defaultBefore = card.adapter.DefaultProfile();

    SCOPED_TRACE(row.command);
    std::string reply = card.peer->Command(row.command);
    EXPECT_EQ(Result(reply), CReplyParser::kResultError) << reply;

    _CARDPROFILES after = card.adapter.CardProfiles();
    _STOREDPROFILE activeAfter = card.adapter.ActiveProfile();
    EXPECT_EQ(std::memcmp(&before, &after, sizeof before), 0);
    EXPECT_EQ(std::memcmp(&activeBefore, &activeAfter, sizeof activeAfter), 0);
    EXPECT_EQ(card.adapter.DefaultProfile(), defaultBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Malformed,
    testing::Values(BadRow{"ATX\r", Region::NorthAmerica, true},
                    BadRow{"AT!C1=7\r", Region::NorthAmerica, true},
                    BadRow{"AT!C1=\r", Region::NorthAmerica, true},
                    BadRow{"AT!C1=254\r", Region::NorthAmerica, true},
                    BadRow{"AT!C1=9!C11=256\r", Region::NorthAmerica, true},
                    BadRow{"AT!C1=9!C11=255%A2=3\r", Region::NorthAmerica, true},
                    BadRow{"AT!C1=9!C11=255&W1%A2=97\r", Region::NorthAmerica, true},
                    BadRow{"AT!N1=555-1234!N2=\r", Region::NorthAmerica, true},
                    BadRow{"AT!N1=123456789012345678901!N2=\r", Region::NorthAmerica, true},
                    BadRow{"AT!N1=1!N2=2!N5=3\r", Region::NorthAmerica, true},
                    BadRow{"AT!C6=12#!C7=\r", Region::NorthAmerica, true},
                    BadRow{"AT!C4=2!C5=0\r", Region::NorthAmerica, true},
                    BadRow{"AT!C6=1!C7=2\r", Region::International, true},
                    BadRow{"AT!C2=0\r", Region::International, true},
                    BadRow{"AT!O4\r", Region::NorthAmerica, true},
                    BadRow{"AT!O\r", Region::NorthAmerica, true},
                    BadRow{"AT%P5=1%P6=65536%P7=0\r", Region::NorthAmerica, true},
                    BadRow{"AT%P5=1%P6=-1%P7=0\r", Region::NorthAmerica, true},
                    BadRow{"AT%P5=1\r", Region::NorthAmerica, false},
                    BadRow{"AT%P5=2%P6=0%P7=0\r", Region::International, true},
                    BadRow{"AT&W3\r", Region::NorthAmerica, true},
                    BadRow{"AT&Y3\r", Region::NorthAmerica, true},
                    BadRow{"ATZ3\r", Region::NorthAmerica, true},
                    BadRow{"ATI5\r", Region::NorthAmerica, true},
                    BadRow{"AT>VD\r", Region::NorthAmerica, true}),
    [](const testing::TestParamInfo<BadRow>& info) { return "Row" + std::to_string(info.index); });

TEST(Dialect, BacpAnswerFollowsTheConfiguration) {
    for (bool bacp : {true, false}) {
        tasim::Config config;
        config.bacp = bacp;
        Card card(config);
        EXPECT_EQ(Result(card.peer->Command("AT%P5=1\r")), bacp ? 0 : CReplyParser::kResultError);
        EXPECT_EQ(Result(card.peer->Command("AT%P5=0\r")), 0);
    }
}

TEST(Dialect, EchoAndVerboseCanBeSwitchedOff) {
    Card card;
    EXPECT_EQ(card.peer->Command("ATE0\r"), "ATE0\r\nOK\r\n");
    EXPECT_EQ(card.peer->Command("ATI3\r"), "\r\nV3.10.05\r\n\r\nOK\r\n");
    card.peer->Write("ATV0\r");
    EXPECT_EQ(card.peer->ReadUntil("0\r"), "\r0\r");
    card.peer->Write("ATV1E1\r");
    EXPECT_EQ(card.peer->ReadUntil("OK\r\n"), "\r\nOK\r\n");
    EXPECT_EQ(card.peer->Command("AT\r"), "AT\r\nOK\r\n");
}

TEST(Dialect, StateFileKeepsProfilesAcrossRuns) {
    TempRoot root;
    tasim::Config config;
    config.stateFile = root.path() / "card.state";
    {
        tasim::Adapter adapter(config);
        ASSERT_TRUE(adapter.Start(root.path(), "COM5"));
        PtyPeer peer(root.Port("COM5"));
        ASSERT_EQ(Result(peer.Command("AT!N1=4711!N2=\r")), 0);
        ASSERT_EQ(Result(peer.Command("AT&W2\r")), 0);
        ASSERT_EQ(Result(peer.Command("AT&Y2\r")), 0);
    }
    config.version = "9.9.9";  // a fresh card would have this; the card's memory wins
    tasim::Adapter again(config);
    ASSERT_TRUE(again.Start(root.path(), "COM5"));
    EXPECT_EQ(again.Register(2, "!N1"), "4711");
    EXPECT_EQ(again.DefaultProfile(), 2);
    EXPECT_EQ(again.Register(-1, "!N1"), "4711");
    EXPECT_EQ(again.Version(), "3.10.05");
}

}  // namespace
