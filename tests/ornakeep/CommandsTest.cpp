// The writer's commands as text: formats, suffixes, region rule and refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "ornakeep/ProfileCommands.h"
#include "tests/ornakeep/CardListing.h"

using ProfileCommands::FormatProfiles;
using ProfileCommands::FormatStoredProfile;

namespace {

std::vector<std::string> ProfileCommandsOf(const _STOREDPROFILE& profile, int n, int region) {
    std::vector<std::string> commands;
    EXPECT_EQ(FormatStoredProfile(profile, n, region, commands), 0);
    return commands;
}

_CARDPROFILES SampleCard(bool northAmerica) {
    _CARDPROFILES card{};
    for (int n = 0; n < 3; ++n) {
        card.Profiles[n] = cardlisting::SampleProfile(n, northAmerica);
    }
    card.DefaultProfile = 1;
    card.NorthAmerica = northAmerica ? 1 : 0;
    return card;
}

}  // namespace

TEST(ProfileCommands, NorthAmericanProfileInOrder) {
    _STOREDPROFILE p = cardlisting::SampleProfile(0, true);
    p.Primary.NoSpid1 = -2;
    p.InitialBillingInterval = 65535;
    EXPECT_EQ(ProfileCommandsOf(p, 2, 1), (std::vector<std::string>{
                                              "AT!C1=9!C11=255%A2=95\r",
                                              "AT!N1=5550100!N2=5550200\r",
                                              "AT!N11=6660100!N21=6660200\r",
                                              "AT!N3=*70!N4=#80\r",
                                              "AT!N31=*90!N41=#60\r",
                                              "AT!C6=01555000101!C7=01555000202\r",
                                              "AT!C61=01666000101!C71=01666000202\r",
                                              "AT!C4=-2!C5=1\r",
                                              "AT!C41=1!C51=0\r",
                                              "AT!C2=0\r",
                                              "AT!O3\r",
                                              "AT%P5=1%P6=65535%P7=6\r",
                                              "AT&W2\r",
                                          }));
}

// Only the exact flag 1 sends the North-America-only registers, whatever they hold.
TEST(ProfileCommands, OtherCardsGetEightCommandsAProfile) {
    for (const int flag : {0, 2, -1}) {
        SCOPED_TRACE(flag);
        const std::vector<std::string> commands =
            ProfileCommandsOf(cardlisting::SampleProfile(1, true), 0, flag);
        EXPECT_EQ(commands, (std::vector<std::string>{
                                "AT!C1=1!C11=0%A2=2\r",
                                "AT!N1=5550101!N2=5550201\r",
                                "AT!N11=6660101!N21=6660201\r",
                                "AT!N3=*71!N4=#81\r",
                                "AT!N31=*91!N41=#61\r",
                                "AT!O0\r",
                                "AT%P5=0%P6=31%P7=7\r",
                                "AT&W0\r",
                            }));
    }
}

TEST(ProfileCommands, ProtocolSuffixes) {
    const struct {
        std::int32_t protocol;
        const char* first;
    } rows[] = {{10, "AT!C1=2!C11=254%A2=95\r"}, {11, "AT!C1=2!C11=254%A2=2\r"},
                {12, "AT!C1=2!C11=254%A2=96\r"}, {0, "AT!C1=2!C11=254\r"},
                {13, "AT!C1=2!C11=254\r"},       {95, "AT!C1=2!C11=254\r"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.protocol);
        _STOREDPROFILE p{};
        p.Primary.SwitchType = 2;
        p.Alternate.SwitchType = 254;
        p.Protocol = row.protocol;
        EXPECT_EQ(ProfileCommandsOf(p, 0, 0).front(), row.first);
    }
}

TEST(ProfileCommands, DataOverVoiceAndEmptyNumbers) {
    for (const std::int32_t dov : {1, 2, -1, 3}) {
        _STOREDPROFILE p{};
        p.DataOverVoice = dov;
        EXPECT_EQ(ProfileCommandsOf(p, 0, 0)[5], "AT!O3\r") << dov;
    }
    const _STOREDPROFILE cleared{};
    const std::vector<std::string> commands = ProfileCommandsOf(cleared, 0, 1);
    EXPECT_EQ(commands[0], "AT!C1=0!C11=0\r");
    EXPECT_EQ(commands[1], "AT!N1=!N2=\r");
    EXPECT_EQ(commands[5], "AT!C6=!C7=\r");
    EXPECT_EQ(commands[10], "AT!O0\r");
    EXPECT_EQ(commands[11], "AT%P5=0%P6=0%P7=0\r");
}

TEST(ProfileCommands, WholeRecordInOrder) {
    for (const bool northAmerica : {true, false}) {
        SCOPED_TRACE(northAmerica ? "North America" : "International");
        const _CARDPROFILES card = SampleCard(northAmerica);
        std::vector<std::string> commands;
        ASSERT_EQ(FormatProfiles(card, commands), 0);
        std::vector<std::string> want;
        for (int n = 0; n < 3; ++n) {
            const auto profile = ProfileCommandsOf(card.Profiles[n], n, card.NorthAmerica);
            want.insert(want.end(), profile.begin(), profile.end());
        }
        want.push_back("AT&Y1\r");
        want.push_back("ATZ1\r");
        EXPECT_EQ(commands, want);
        EXPECT_EQ(commands.size(), northAmerica ? 41u : 26u);
    }
}

// A record that cannot go out as it stands yields no command at all.
TEST(ProfileCommands, UnsendableRecordsAreRefusedWhole) {
    const struct {
        const char* name;
        void (*spoil)(_CARDPROFILES&);
        bool refused;
    } rows[] = {
        {"default profile -1", [](_CARDPROFILES& c) { c.DefaultProfile = -1; }, true},
        {"default profile 4", [](_CARDPROFILES& c) { c.DefaultProfile = 4; }, true},
        {"default profile 3 still formats", [](_CARDPROFILES& c) { c.DefaultProfile = 3; }, false},
        {"number without its NUL",
         [](_CARDPROFILES& c) { std::memset(c.Profiles[2].Alternate.Number2, '5', 100); }, true},
        {"SPID without its NUL",
         [](_CARDPROFILES& c) { std::memset(c.Profiles[1].Primary.Spid1, '5', 100); }, true},
        {"carriage return in a number",
         [](_CARDPROFILES& c) { std::strcpy(c.Profiles[0].Primary.Number1, "555\rATZ"); }, true},
        {"line feed in a number",
         [](_CARDPROFILES& c) { std::strcpy(c.Profiles[2].Primary.Number4, "5\n5"); }, true},
        {"control character in a SPID",
         [](_CARDPROFILES& c) { std::strcpy(c.Profiles[1].Alternate.Spid2, "01\x01"); }, true},
        {"delete in a number",
         [](_CARDPROFILES& c) { std::strcpy(c.Profiles[0].Alternate.Number3, "\x7f"); }, true},
        {"8-bit character is text",
         [](_CARDPROFILES& c) { std::strcpy(c.Profiles[0].Primary.Number1, "\xe9"); }, false},
        {"99 characters fit",
         [](_CARDPROFILES& c) {
             std::memset(c.Profiles[0].Alternate.Number1, '9', 99);
             std::memset(c.Profiles[0].Alternate.Number2, '8', 99);
         },
         false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        _CARDPROFILES card = SampleCard(true);
        row.spoil(card);
        std::vector<std::string> commands = {"kept"};
        EXPECT_EQ(FormatProfiles(card, commands), row.refused ? 3001 : 0);
        if (row.refused) {
            EXPECT_EQ(commands, std::vector<std::string>{"kept"});
        } else {
            EXPECT_EQ(commands.size(), 42u);
        }
    }
}

// Fields an International card never receives may hold anything.
TEST(ProfileCommands, UnsentFieldsAreNotChecked) {
    _CARDPROFILES card = SampleCard(false);
    std::memset(card.Profiles[0].Primary.Spid1, '\r', 100);
    std::strcpy(card.Profiles[1].Alternate.Spid2, "\n");
    std::vector<std::string> commands;
    EXPECT_EQ(FormatProfiles(card, commands), 0);
    EXPECT_EQ(commands.size(), 26u);
}

TEST(ProfileCommands, LongestCommandsFit) {
    _STOREDPROFILE p{};
    std::memset(p.Alternate.Spid1, '1', 99);
    std::memset(p.Alternate.Spid2, '2', 99);
    const std::vector<std::string> commands = ProfileCommandsOf(p, 0, 1);
    EXPECT_EQ(commands[6],
              "AT!C61=" + std::string(99, '1') + "!C71=" + std::string(99, '2') + "\r");
    EXPECT_EQ(commands[6].size(), 211u);
}

TEST(ProfileCommands, BacpProbe) {
    EXPECT_EQ(ProfileCommands::FormatBacpProbe(), "AT%P5=1\r");
}
