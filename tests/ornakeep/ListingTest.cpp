// The stored-profile listing as pure text: sections, tokens, conversions and failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

#include "ornakeep/ProfileListing.h"
#include "tests/ornakeep/CardListing.h"

using namespace cardlisting;
using ProfileListing::ParseDefaultProfile;
using ProfileListing::ParseRegisters;
using ProfileListing::ParseStoredProfile;

namespace {

bool SameBytes(const _STOREDPROFILE& a, const _STOREDPROFILE& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void ExpectProfile(const _STOREDPROFILE& got, const _STOREDPROFILE& want) {
    EXPECT_TRUE(SameProfile(got, want));
    EXPECT_TRUE(SameBytes(got, want));
}

// Parses one section on its own, framed by markers, as profile 0.
std::int32_t ParseSection(const std::string& section, _STOREDPROFILE& profile, int northAmerica) {
    return ParseStoredProfile(0, Listing(section, "x", "x"), profile, northAmerica);
}

Registers Without(Registers registers, const std::string& token) {
    std::erase_if(registers, [&](const auto& r) { return r.first == token; });
    return registers;
}

std::string WithValue(int n, bool northAmerica, const std::string& token,
                      const std::string& value) {
    Registers registers = SampleRegisters(n, northAmerica);
    for (auto& r : registers) {
        if (r.first == token) {
            r.second = value;
        }
    }
    return Lines(registers);
}

}  // namespace

TEST(ProfileListing, FullNorthAmericanListingFillsEveryField) {
    const std::string listing = SampleListing(true);
    for (int n = 0; n < 3; ++n) {
        SCOPED_TRACE("profile " + std::to_string(n));
        _STOREDPROFILE got{};
        ASSERT_EQ(ParseStoredProfile(n, listing, got, 1), 0);
        ExpectProfile(got, SampleProfile(n, true));
    }
}

TEST(ProfileListing, FullInternationalListingFillsItsFifteenRows) {
    const std::string listing = SampleListing(false);
    for (int n = 0; n < 3; ++n) {
        SCOPED_TRACE("profile " + std::to_string(n));
        _STOREDPROFILE got{};
        ASSERT_EQ(ParseStoredProfile(n, listing, got, 0), 0);
        ExpectProfile(got, SampleProfile(n, false));
    }
}

// The North-America-only registers are neither required nor read on another card, even when
// the listing holds them; only the exact flag 1 means North America.
TEST(ProfileListing, NorthAmericaOnlyFieldsKeepTheCallersValuesOnOtherCards) {
    for (const int flag : {0, 2, -1}) {
        for (const bool listed : {false, true}) {
            SCOPED_TRACE("flag " + std::to_string(flag) + (listed ? ", listed" : ", not listed"));
            _STOREDPROFILE got{};
            std::strcpy(got.Primary.Spid1, "keep");
            std::strcpy(got.Alternate.Spid2, "keep too");
            got.Primary.NoSpid2 = 7;
            got.Alternate.NoSpid1 = -3;
            got.AutoSpidLocation = 5;
            ASSERT_EQ(ParseStoredProfile(1, SampleListing(listed), got, flag), 0);
            _STOREDPROFILE want = SampleProfile(1, false);
            std::strcpy(want.Primary.Spid1, "keep");
            std::strcpy(want.Alternate.Spid2, "keep too");
            want.Primary.NoSpid2 = 7;
            want.Alternate.NoSpid1 = -3;
            want.AutoSpidLocation = 5;
            ExpectProfile(got, want);
        }
    }
}

TEST(ProfileListing, TokensInAnyOrderAndOnAnyLine) {
    std::mt19937 random(20260101);
    for (int round = 0; round < 8; ++round) {
        Registers registers = SampleRegisters(2, true);
        std::shuffle(registers.begin(), registers.end(), random);
        const int perLine = 1 + round % 5;
        SCOPED_TRACE(Lines(registers, perLine));
        _STOREDPROFILE got{};
        ASSERT_EQ(ParseSection(Lines(registers, perLine), got, 1), 0);
        ExpectProfile(got, SampleProfile(2, true));
    }
}

// Longer names listed before their prefixes: "!C11=" before "!C1=", "!N11=" before "!N1=".
TEST(ProfileListing, TokenNeverMatchesInsideALongerRegisterName) {
    Registers registers = SampleRegisters(0, true);
    std::reverse(registers.begin(), registers.end());
    _STOREDPROFILE got{};
    ASSERT_EQ(ParseSection(Lines(registers), got, 1), 0);
    ExpectProfile(got, SampleProfile(0, true));
}

TEST(ProfileListing, OnlyTheFirstOccurrenceCounts) {
    Registers registers = SampleRegisters(0, false);
    registers.push_back({"!C1=", "3"});
    registers.push_back({"!N1=", "42"});
    _STOREDPROFILE got{};
    ASSERT_EQ(ParseSection(Lines(registers), got, 0), 0);
    EXPECT_EQ(got.Primary.SwitchType, 9);
    EXPECT_STREQ(got.Primary.Number1, "5550100");
}

TEST(ProfileListing, MissingAutoSpidTokenFailsANorthAmericanRead) {
    const std::string listing =
        Listing(Lines(SampleRegisters(0, true)), Lines(Without(SampleRegisters(1, true), "!C2=")),
                Lines(SampleRegisters(2, true)));
    _CARDPROFILES card{};
    ASSERT_EQ(ParseStoredProfile(0, listing, card.Profiles[0], 1), 0);
    EXPECT_EQ(ParseStoredProfile(1, listing, card.Profiles[1], 1), 2006);
    // Rows before "!C2=" are stored, rows after it are not.
    EXPECT_EQ(card.Profiles[1].Alternate.NoSpid2, 0);
    EXPECT_EQ(card.Profiles[1].Alternate.NoSpid1, 1);
    EXPECT_STREQ(card.Profiles[1].Alternate.Spid2,
                 "0166601"
                 "0202");
    EXPECT_EQ(card.Profiles[1].InitialBillingInterval, 0);
    EXPECT_EQ(card.Profiles[1].Protocol, 0);
}

// Every required token, missing in turn, fails the section; the later rows stay untouched.
TEST(ProfileListing, EveryMissingTokenFailsTheSection) {
    for (const bool northAmerica : {true, false}) {
        for (const auto& [token, value] : SampleRegisters(0, northAmerica)) {
            SCOPED_TRACE(token + (northAmerica ? " (North America)" : " (International)"));
            _STOREDPROFILE got{};
            EXPECT_EQ(ParseSection(Lines(Without(SampleRegisters(0, northAmerica), token)), got,
                                   northAmerica),
                      2006);
            EXPECT_EQ(got.Protocol, 0);  // the last row is never reached
        }
    }
}

TEST(ProfileListing, DataOverVoiceIsOnOnlyForThree) {
    const struct {
        const char* listed;
        int want;
    } rows[] = {{"3", 1}, {"03", 1}, {"+3", 1}, {"0", 0}, {"1", 0}, {"", 0}, {"33", 0}, {"x3", 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string("!O") + row.listed);
        _STOREDPROFILE got{};
        got.DataOverVoice = 9;
        ASSERT_EQ(ParseSection(WithValue(1, false, "!O", row.listed), got, 0), 0);
        EXPECT_EQ(got.DataOverVoice, row.want);
    }
}

TEST(ProfileListing, ProtocolValues) {
    const struct {
        const char* listed;
        std::int32_t result;
        std::int32_t protocol;
    } rows[] = {{"95", 0, 10},  {"2", 0, 11},      {"96", 0, 12},     {"3", 2006, -1},
                {"", 2006, -1}, {"095", 2006, -1}, {"95x", 2006, -1}, {"10", 2006, -1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string("%A2=") + row.listed);
        _STOREDPROFILE got{};
        got.Protocol = -1;
        EXPECT_EQ(ParseSection(WithValue(0, true, "%A2=", row.listed), got, 1), row.result);
        EXPECT_EQ(got.Protocol, row.protocol);
        EXPECT_EQ(got.BillingInterval, 6);  // rows before "%A2=" are stored either way
    }
}

TEST(ProfileListing, DecimalConversions) {
    const struct {
        const char* token;
        const char* listed;
        std::int64_t want;
    } rows[] = {
        {"%P6=", "65536", 0},
        {"%P6=", "65535", 65535},
        {"%P6=", "65537", 1},
        {"%P6=", "70000", 4464},
        {"%P7=", "131078", 6},
        {"%P7=", "-1", 65535},
        {"!C1=", "", 0},
        {"!C1=", "-7", -7},
        {"!C1=", "12ab", 12},
        {"!C11=", "+254", 254},
        {"!C11=", "abc", 0},
        {"%P5=", "-", 0},
        {"%P5=", "2147483647", 2147483647},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.token) + row.listed);
        _STOREDPROFILE got{};
        ASSERT_EQ(ParseSection(WithValue(0, false, row.token, row.listed), got, 0), 0);
        const std::string token = row.token;
        const std::int64_t value = token == "%P6="    ? got.InitialBillingInterval
                                   : token == "%P7="  ? got.BillingInterval
                                   : token == "!C1="  ? got.Primary.SwitchType
                                   : token == "!C11=" ? got.Alternate.SwitchType
                                                      : got.Bacp;
        EXPECT_EQ(value, row.want);
    }
}

TEST(ProfileListing, EmptyValuesAreLegal) {
    const std::string section =
        "!C1=!C11= !N1=!N2=!N11= !N21= !N3=\r\n!N4=!N31=!N41=!O %P5=%P6=%P7=%A2=2\r\n";
    _STOREDPROFILE got{};
    std::strcpy(got.Primary.Number1, "old");
    std::strcpy(got.Alternate.Number2, "old");
    got.Primary.SwitchType = 4;
    got.InitialBillingInterval = 8;
    ASSERT_EQ(ParseSection(section, got, 0), 0);
    EXPECT_STREQ(got.Primary.Number1, "");
    EXPECT_STREQ(got.Alternate.Number2, "");
    EXPECT_EQ(got.Primary.SwitchType, 0);
    EXPECT_EQ(got.InitialBillingInterval, 0);
    EXPECT_EQ(got.Protocol, 11);
}

// Nothing beyond a field is written: the field after it in the record keeps its bytes.
TEST(ProfileListing, LongTextIsCutToItsField) {
    const std::string number(150, '7');
    _STOREDPROFILE got{};
    std::memset(got.Primary.Number3, 'S', sizeof got.Primary.Number3);
    std::memset(got.Alternate.Spid2, 'S', sizeof got.Alternate.Spid2 - 1);
    Registers registers = SampleRegisters(0, false);
    for (auto& [token, value] : registers) {
        if (token == "!N1=" || token == "!N41=") {
            value = number;
        }
    }
    ASSERT_EQ(ParseSection(Lines(registers), got, 0), 0);
    EXPECT_EQ(std::string(got.Primary.Number1), number.substr(0, 99));
    EXPECT_EQ(std::string(got.Alternate.Number4), number.substr(0, 99));
    EXPECT_STREQ(got.Primary.Number3, "*70");
    EXPECT_EQ(std::string(got.Primary.Number3 + 4, 96), std::string(96, 'S'));
    EXPECT_EQ(std::string(got.Alternate.Spid2), std::string(99, 'S'));
}

TEST(ProfileListing, MarkersAndSections) {
    const std::string s0 = Lines(SampleRegisters(0, false));
    const std::string s1 = Lines(SampleRegisters(1, false));
    const std::string s2 = Lines(SampleRegisters(2, false));
    const struct {
        const char* name;
        std::string listing;
        std::int32_t results[3];
    } rows[] = {
        {"all in order", Listing(s0, s1, s2), {0, 0, 0}},
        {"1 before 0",
         "STORED PROFILE 1:\r\n" + s1 + "STORED PROFILE 0:\r\n" + s0 + "STORED PROFILE 2:\r\n" +
             s2 + "TELEPHONE NUMBERS:\r\n\r\nOK\r\n",
         {2006, 0, 0}},
        {"2 before 1",
         "STORED PROFILE 0:\r\n" + s0 + "STORED PROFILE 2:\r\n" + s2 + "STORED PROFILE 1:\r\n" +
             s1 + "TELEPHONE NUMBERS:\r\n\r\nOK\r\n",
         {0, 2006, 0}},
        {"no telephone numbers",
         "STORED PROFILE 0:\r\n" + s0 + "STORED PROFILE 1:\r\n" + s1 + "STORED PROFILE 2:\r\n" +
             s2 + "\r\nOK\r\n",
         {0, 0, 2006}},
        {"no profile 0",
         "STORED PROFILE 1:\r\n" + s1 + "STORED PROFILE 2:\r\n" + s2 +
             "TELEPHONE NUMBERS:\r\n\r\nOK\r\n",
         {2006, 0, 0}},
        {"marker in lower case",
         "STORED PROFILE 0:\r\n" + s0 + "STORED PROFILE 1:\r\n" + s1 + "stored PROFILE 2:\r\n" +
             s2 + "TELEPHONE NUMBERS:\r\n\r\nOK\r\n",
         {0, 2006, 2006}},
        {"ERROR instead of a listing", "AT&V\r\nERROR\r\n", {2006, 2006, 2006}},
        // What follows "TELEPHONE NUMBERS:" is never read into profile 2.
        {"profile 2 registers after the numbers",
         "STORED PROFILE 0:\r\n" + s0 + "STORED PROFILE 1:\r\n" + s1 +
             "STORED PROFILE 2:\r\nTELEPHONE NUMBERS:\r\n" + s2 + "\r\nOK\r\n",
         {0, 0, 2006}},
    };
    for (const auto& row : rows) {
        for (int n = 0; n < 3; ++n) {
            SCOPED_TRACE(std::string(row.name) + ", profile " + std::to_string(n));
            _STOREDPROFILE got{};
            EXPECT_EQ(ParseStoredProfile(n, row.listing, got, 0), row.results[n]);
            if (row.results[n] == 0) {
                ExpectProfile(got, SampleProfile(n, false));
            }
        }
    }
}

TEST(ProfileListing, DefaultProfileComesFromTheReport) {
    for (const int n : {0, 1, 2}) {
        _CARDPROFILES card{};
        card.DefaultProfile = 9;
        ASSERT_EQ(ParseDefaultProfile(Report(n), card), 0);
        EXPECT_EQ(card.DefaultProfile, n);
    }
    _CARDPROFILES card{};
    card.DefaultProfile = 9;
    EXPECT_EQ(ParseDefaultProfile("AT>VC\r\nE1 Q0 V1\r\n\r\nOK\r\n", card), 3001);
    EXPECT_EQ(card.DefaultProfile, 9);
    EXPECT_EQ(ParseDefaultProfile("AT>VC\r\n&Y\r\n\r\nOK\r\n", card), 0);
    EXPECT_EQ(card.DefaultProfile, 0);
}
