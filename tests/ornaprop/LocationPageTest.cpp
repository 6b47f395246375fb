// The two location pages against emulated cards: what a stored location shows (folding, the
// alternate location on and off, the switch types of each region), how the 2nd number follows
// the protocol and the 1st number, and what a saved location sends to the card.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "ProfileSheet.h"

namespace profiles {
namespace {

constexpr const char kPrimaryConfiguration[] = "Profile 0 Configuration";

void SetText(char (&field)[100], const char* text) {
    std::strncpy(field, text, sizeof field - 1);
}

// The emulator's factory profile 1 runs "Multilink PPP", profile 0 "PPP".
constexpr int kPppProfile = 0;
constexpr int kMultilinkProfile = 1;

void ExpectEnabled(const ui::HeadlessUser& user, std::initializer_list<int> ids, bool bEnabled) {
    for (int id : ids) {
        EXPECT_EQ(user.IsEnabled(id), bEnabled) << "control " << id;
    }
}

TEST_F(ProfileSheetTest, ClearedNorthAmericanLocationShowsNationalIsdnAndNoSecondNumber) {
    StartCard(tasim::Region::NorthAmerica);
    _CARDPROFILES record = Stored();
    record.Profiles[0] = _STOREDPROFILE{};
    record.Profiles[0].Protocol = 10;  // the card always has one
    Store(record);
    OpenConfiguration(0)
        .Then([&] {
            EXPECT_EQ(m_user.Title(), kPrimaryConfiguration);
            EXPECT_TRUE(m_user.IsVisible(kPrimaryText));
            EXPECT_FALSE(m_user.IsVisible(kAltEnabled));
            EXPECT_EQ(m_user.Items(kSwitchType),
                      (std::vector<std::string>{"North America (Auto-Detect)", "AT&T (5ESS)",
                                                "National ISDN-1 (NI-1)"}));
            EXPECT_EQ(m_user.Selection(kSwitchType), 2) << "National ISDN-1";
            EXPECT_EQ(m_user.Items(kProtocol),
                      (std::vector<std::string>{"PPP", "V.120", "Multilink PPP"}));
            EXPECT_EQ(m_user.Selection(kProtocol), 0);
            EXPECT_TRUE(m_user.IsChecked(kSpid1Box));
            EXPECT_TRUE(m_user.IsChecked(kSpid2Box));
            for (int edit : {kNumber1, kSpid1, kNumber2, kSpid2}) {
                EXPECT_EQ(m_user.Text(edit), "") << edit;
            }
            EXPECT_TRUE(m_user.IsChecked(kSecondNumber));
            ExpectEnabled(m_user, {kSecondNumber, kNumber2Label, kNumber2, kSpid2Box, kSpid2},
                          false);
            ExpectEnabled(m_user, {kSwitchType, kProtocol, kNumber1, kSpid1Box, kSpid1}, true);
        })
        .Click(ui::kIdCancel)
        .Click(ui::kIdCancel)
        .Click(ui::kIdCancel);
    RunApplet();
}

// One edit on a location page of each region: the card receives the number (with its blank)
// in both number registers, the 2nd number not being in use, and nothing else changes.
TEST_F(ProfileSheetTest, NorthAmericanNumberReachesTheCard) {
    StartCard(tasim::Region::NorthAmerica);
    OpenConfiguration(kPppProfile)
        .Type(kNumber1, "555 1234")
        .Click(ui::kIdOk)
        .Then([&] { m_pCard->ClearRecording(); })
        .Click(ui::kIdOk)
        .Click(ui::kIdCancel);
    RunApplet();
    std::vector<std::string> expected = FactoryWrite(tasim::Region::NorthAmerica, 0);
    expected[2] = "AT!N1=555 1234!N2=555 1234\r";
    EXPECT_EQ(m_pCard->Commands(), expected);
    EXPECT_EQ(m_pCard->Register(0, "!N1"), "5551234");
}

TEST_F(ProfileSheetTest, InternationalNumberAndSwitchTypeReachTheCard) {
    StartCard(tasim::Region::International);
    OpenConfiguration(kPppProfile)
        .Choose(kSwitchType, "Australia (TPH1962)")
        .Type(kNumber1, "0398765432")
        .Click(ui::kIdOk)
        .Then([&] { m_pCard->ClearRecording(); })
        .Click(ui::kIdOk)
        .Click(ui::kIdCancel);
    RunApplet();
    std::vector<std::string> expected = FactoryWrite(tasim::Region::International, 0);
    expected[1] = "AT!C1=3!C11=255%A2=95\r";
    expected[2] = "AT!N1=0398765432!N2=0398765432\r";
    EXPECT_EQ(m_pCard->Commands(), expected);
    EXPECT_EQ(m_pCard->Register(0, "!C1"), "3");
}

struct FoldRow {
    const char* name;
    const char* spid2;
    int noSpid1;
    int noSpid2;
    bool bFolded;
};

void PrintTo(const FoldRow& row, std::ostream* out) {
    *out << row.name;
}

class NorthAmericanFoldTest : public ProfileSheetTest,
                              public ::testing::WithParamInterface<FoldRow> {};

// The stored 2nd number repeats the 1st: shown as not used when the SPIDs agree too (or
// neither number uses one), and saved back as copies of the 1st.
TEST_P(NorthAmericanFoldTest, SecondNumberRepeatingTheFirstShowsAsNotUsed) {
    const FoldRow& row = GetParam();
    StartCard(tasim::Region::NorthAmerica);
    _CARDPROFILES record = Stored();
    _PROFILELOCATION& primary = record.Profiles[kMultilinkProfile].Primary;
    SetText(primary.Number1, "5551234");
    SetText(primary.Number2, "5551234");
    SetText(primary.Spid1, "01555123400");
    SetText(primary.Spid2, row.spid2);
    primary.NoSpid1 = row.noSpid1;
    primary.NoSpid2 = row.noSpid2;
    Store(record);
    OpenConfiguration(kMultilinkProfile)
        .Then([&] {
            EXPECT_EQ(m_user.IsChecked(kSecondNumber), !row.bFolded);
            EXPECT_TRUE(m_user.IsEnabled(kSecondNumber));
            EXPECT_EQ(m_user.IsEnabled(kNumber2), !row.bFolded);
            EXPECT_EQ(m_user.Text(kNumber2), row.bFolded ? "" : "5551234");
            EXPECT_EQ(m_user.Text(kSpid2), row.bFolded ? "" : row.spid2);
        })
        .Click(ui::kIdOk)
        .Choose(kDefaultProfile, 2)  // so that the record goes to the card
        .Then([&] { m_pCard->ClearRecording(); })
        .Click(ui::kIdOk)
        .Click(ui::kIdCancel);
    RunApplet();
    EXPECT_TRUE(Messages().empty()) << "an untouched page repeats nothing";
    const std::string spid2 = row.bFolded ? "01555123400" : row.spid2;
    const int noSpid2 = row.bFolded ? row.noSpid1 : row.noSpid2;
    std::vector<std::string> expected = FactoryWrite(tasim::Region::NorthAmerica, 2);
    expected[15] = "AT!N1=5551234!N2=5551234\r";
    expected[19] = "AT!C6=01555123400!C7=" + spid2 + "\r";
    expected[21] = "AT!C4=" + std::to_string(row.noSpid1) + "!C5=" + std::to_string(noSpid2) + "\r";
    EXPECT_EQ(m_pCard->Commands(), expected);
}

INSTANTIATE_TEST_SUITE_P(Stored, NorthAmericanFoldTest,
                         ::testing::Values(FoldRow{"SameSpid", "01555123400", 0, 0, true},
                                           FoldRow{"OtherSpid", "01555123499", 0, 0, false},
                                           FoldRow{"SpidOnlyOnTheSecond", "01555123400", 1, 0,
                                                   false},
                                           FoldRow{"NeitherUsesASpid", "01555123499", 1, 1, true}),
                         [](const auto& info) { return std::string(info.param.name); });

struct RepeatRow {
    const char* name;
    tasim::Region region;
    int tab;
    const char* message;
};

void PrintTo(const RepeatRow& row, std::ostream* out) {
    *out << row.name;
}

class RepeatedNumberTest : public ProfileSheetTest,
                           public ::testing::WithParamInterface<RepeatRow> {};

// A 2nd number typed equal to the 1st is stored as typed, with a note that it will show folded.
TEST_P(RepeatedNumberTest, IsStoredAndExplained) {
    const RepeatRow& row = GetParam();
    const bool bNorthAmerica = row.region == tasim::Region::NorthAmerica;
    StartCard(row.region);
    OpenConfiguration(kMultilinkProfile);
    if (row.tab == kAlternateTab) {
        m_user.ChooseTab(kAlternateTab).Tick(kAltEnabled);
    }
    m_user.Type(kNumber1, "5551234");
    if (bNorthAmerica) {
        m_user.Type(kSpid1, "0155512340");
    }
    m_user.Then([&] {
        EXPECT_TRUE(m_user.IsChecked(kSecondNumber));
        EXPECT_TRUE(m_user.IsEnabled(kNumber2));
    });
    m_user.Type(kNumber2, "5551234");
    if (bNorthAmerica) {
        m_user.Type(kSpid2, "0155512340");
    }
    m_user.Click(ui::kIdOk)
        .Answer(ui::kIdOk)
        .Then([&] { m_pCard->ClearRecording(); })
        .Click(ui::kIdOk)
        .Click(ui::kIdCancel);
    RunApplet();
    ASSERT_EQ(m_user.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_user.MessageBoxes()[0].request.text, row.message);
    EXPECT_EQ(m_user.MessageBoxes()[0].request.icon, ui::Icon::Information);
    const std::string numbers =
        row.tab == kAlternateTab ? "AT!N11=5551234!N21=5551234\r" : "AT!N1=5551234!N2=5551234\r";
    const std::vector<std::string> commands = m_pCard->Commands();
    EXPECT_NE(std::find(commands.begin(), commands.end(), numbers), commands.end());
}

INSTANTIATE_TEST_SUITE_P(
    Locations, RepeatedNumberTest,
    ::testing::Values(
        RepeatRow{"NorthAmericaPrimary", tasim::Region::NorthAmerica, kPrimaryTab,
                  "WARN010 : In the Primary Location the same telephone number and SPID are "
                  "entered for both. The next time you configure this profile you will see that "
                  "the telephone number and  SPID appear only in the 1st-Number section with the "
                  "2nd-Number section disabled.\n"},
        RepeatRow{"NorthAmericaAlternate", tasim::Region::NorthAmerica, kAlternateTab,
                  "WARN011 : In the Alternate Location the same telephone number  and SPID are "
                  "entered for both. The next time you configure this profile you will see that "
                  "the telephone number and SPID appear only in the 1st-Number section with the "
                  "2nd-Number section disabled."},
        RepeatRow{"InternationalPrimary", tasim::Region::International, kPrimaryTab,
                  "WARN010 : In the Primary Location the same telephone number is entered for "
                  "both. The next time you configure this profile you will see that the telephone "
                  "number appears only in the 1st-Number section with the 2nd-Number section "
                  "disabled."},
        RepeatRow{"InternationalAlternate", tasim::Region::International, kAlternateTab,
                  "WARN011 : In the Alternate Location the same telephone number is entered for "
                  "both. The next time you configure this profile you will see that the telephone "
                  "number appears only in the 1st-Number section with the 2nd-Number section "
                  "disabled."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileSheetTest, InternationalSecondNumberRepeatingTheFirstShowsAsNotUsed) {
    StartCard(tasim::Region::International);
    _CARDPROFILES record = Stored();
    SetText(record.Profiles[kMultilinkProfile].Primary.Number1, "0301234");
    SetText(record.Profiles[kMultilinkProfile].Primary.Number2, "0301234");
    SetText(record.Profiles[kMultilinkProfile].Alternate.Number1, "0305555");
    SetText(record.Profiles[kMultilinkProfile].Alternate.Number2, "0306666");
    record.Profiles[kMultilinkProfile].Alternate.SwitchType = 254;
    Store(record);
    OpenConfiguration(kMultilinkProfile)
        .Then([&] {
            EXPECT_FALSE(m_user.IsChecked(kSecondNumber));
            EXPECT_TRUE(m_user.IsEnabled(kSecondNumber));
            EXPECT_EQ(m_user.Text(kNumber2), "");
            EXPECT_FALSE(m_user.IsEnabled(kNumber2));
        })
        .ChooseTab(kAlternateTab)
        .Then([&] {
            EXPECT_TRUE(m_user.IsChecked(kAltEnabled));
            EXPECT_TRUE(m_user.IsChecked(kSecondNumber));
            EXPECT_EQ(m_user.Text(kNumber2), "0306666");
            EXPECT_TRUE(m_user.IsEnabled(kNumber2));
        })
        .Click(ui::kIdCancel)
        .Click(ui::kIdCancel)
        .Click(ui::kIdCancel);
    RunApplet();
}

TEST_F(ProfileSheetTest, DisabledAlternateLocationOpensGreyedAndEnablingItStoresTheSwitchType) {
    StartCard(tasim::Region::NorthAmerica);
    _CARDPROFILES record = Stored();
    SetText(record.Profiles[0].Alternate.Number1, "6660100");
    SetText(record.Profiles[0].Alternate.Number2, "6660100");
    record.Profiles[0].Alternate.SwitchType = 255;
    Store(record);
    OpenConfiguration(0)
        .ChooseTab(kAlternateTab)
        .Then([&] {
            EXPECT_TRUE(m_user.IsVisible(kAltEnabled));
            EXPECT_FALSE(m_user.IsVisible(kPrimaryText));
            EXPECT_FALSE(m_user.IsChecked(kAltEnabled));
            EXPECT_TRUE(m_user.IsEnabled(kAltEnabled));
            ExpectEnabled(m_user,
                          {kSwitchLabel, kSwitchType, kProtocolLabel, kProtocol, kFirstGroup,
                           kNumber1Label, kNumber1, kSpid1Box, kSpid1, kSecondGroup, kSecondNumber,
                           kNumber2Label, kNumber2, kSpid2Box, kSpid2},
                          false);
            EXPECT_EQ(m_user.Selection(kSwitchType), 0) << "North America (Auto-Detect)";
            EXPECT_EQ(m_user.Text(kNumber1), "6660100");
        })
        .Tick(kAltEnabled)
        .Then([&] {
            ExpectEnabled(m_user, {kSwitchType, kNumber1, kSpid1Box, kSpid1}, true);
            EXPECT_FALSE(m_user.IsEnabled(kProtocol)) << "the protocol is the primary page's";
            EXPECT_FALSE(m_user.IsEnabled(kSecondNumber)) << "PPP has no 2nd number";
        })
        .Type(kNumber1, "6660200")
        .Click(ui::kIdOk)
        .Then([&] { m_pCard->ClearRecording(); })
        .Click(ui::kIdOk)
        .Click(ui::kIdCancel);
    RunApplet();
    std::vector<std::string> expected = FactoryWrite(tasim::Region::NorthAmerica, 0);
    expected[1] = "AT!C1=9!C11=9%A2=95\r";
    expected[3] = "AT!N11=6660200!N21=6660200\r";
    EXPECT_EQ(m_pCard->Commands(), expected);
}

TEST_F(ProfileSheetTest, AlternateLocationSwitchedOffKeepsItsNumbers) {
    StartCard(tasim::Region::NorthAmerica);
    _CARDPROFILES record = Stored();
    SetText(record.Profiles[kMultilinkProfile].Alternate.Number1, "6660100");
    SetText(record.Profiles[kMultilinkProfile].Alternate.Number2, "6660200");
    SetText(record.Profiles[kMultilinkProfile].Alternate.Spid1, "0166601000");
    SetText(record.Profiles[kMultilinkProfile].Alternate.Spid2, "0166602000");
    record.Profiles[kMultilinkProfile].Alternate.SwitchType = 1;
    Store(record);
    OpenConfiguration(kMultilinkProfile)
        .ChooseTab(kAlternateTab)
        .Then([&] {
            EXPECT_TRUE(m_user.IsChecked(kAltEnabled));
            EXPECT_EQ(m_user.Selection(kSwitchType), 1) << "AT&T (5ESS)";
            EXPECT_EQ(m_user.Selection(kProtocol), 2) << "the primary page's protocol";
            EXPECT_FALSE(m_user.IsEnabled(kProtocol));
            ExpectEnabled(m_user, {kSecondNumber, kNumber2, kSpid2}, true);
        })
        .Untick(kAltEnabled)
        .Then([&] {
            ExpectEnabled(m_user, {kSwitchType, kNumber1, kSecondNumber, kNumber2, kSpid2}, false);
        })
        .Click(ui::kIdOk)
        .Then([&] { m_pCard->ClearRecording(); })
        .Click(ui::kIdOk)
        .Click(ui::kIdCancel);
    RunApplet();
    std::vector<std::string> expected = FactoryWrite(tasim::Region::NorthAmerica, 0);
    expected[14] = "AT!C1=9!C11=255%A2=96\r";
    expected[16] = "AT!N11=6660100!N21=6660200\r";
    expected[20] = "AT!C61=0166601000!C71=0166602000\r";
    EXPECT_EQ(m_pCard->Commands(), expected);
}

// The 2nd number under "Multilink PPP" only, once the 1st number, the 1st SPID or a cleared
// SPID box says the 1st number is given; "PPP" greys all of it.
TEST_F(ProfileSheetTest, NorthAmericanSecondNumberFollowsProtocolAndFirstNumber) {
    struct Step {
        const char* what;
        void (*act)(ui::HeadlessUser&);
        bool bCheckBox;
        bool bNumber;
    };
    const Step steps[] = {
        {"PPP", [](ui::HeadlessUser&) {}, false, false},
        {"Multilink without a 1st number",
         [](ui::HeadlessUser& u) { u.Choose(kProtocol, "Multilink PPP"); }, false, false},
        {"a 1st number", [](ui::HeadlessUser& u) { u.Type(kNumber1, "5"); }, true, true},
        {"the 2nd number unticked", [](ui::HeadlessUser& u) { u.Untick(kSecondNumber); }, true,
         false},
        {"ticked again", [](ui::HeadlessUser& u) { u.Tick(kSecondNumber); }, true, true},
        {"back to PPP", [](ui::HeadlessUser& u) { u.Choose(kProtocol, "PPP"); }, false, false},
        {"the 1st number gone, Multilink",
         [](ui::HeadlessUser& u) { u.Type(kNumber1, "").Choose(kProtocol, "Multilink PPP"); },
         false, false},
        {"a 1st SPID", [](ui::HeadlessUser& u) { u.Type(kSpid1, "0155"); }, true, true},
        {"the 1st SPID gone", [](ui::HeadlessUser& u) { u.Type(kSpid1, ""); }, false, false},
        {"the SPID box cleared", [](ui::HeadlessUser& u) { u.Untick(kSpid1Box); }, true, true},
    };
    StartCard(tasim::Region::NorthAmerica);
    OpenConfiguration(kPppProfile);
    for (const Step& step : steps) {
        step.act(m_user);
        m_user.Then([&] {
            SCOPED_TRACE(step.what);
            EXPECT_EQ(m_user.IsEnabled(kSecondNumber), step.bCheckBox);
            EXPECT_EQ(m_user.IsEnabled(kNumber2), step.bNumber);
            EXPECT_EQ(m_user.IsEnabled(kSpid2Box), step.bNumber);
        });
    }
    m_user.Then([&] { EXPECT_FALSE(m_user.IsEnabled(kSpid1)); })
        .Click(ui::kIdCancel)
        .Click(ui::kIdCancel)
        .Click(ui::kIdCancel);
    RunApplet();
}

TEST_F(ProfileSheetTest, SecondSpidBoxClearedStoresNoSpidWithTheTypedSpid) {
    StartCard(tasim::Region::NorthAmerica);
    OpenConfiguration(kMultilinkProfile)
        .Type(kNumber1, "5551234")
        .Type(kSpid1, "0155512340")
        .Type(kNumber2, "5554321")
        .Type(kSpid2, "0155543210")
        .Untick(kSpid2Box)
        .Then([&] { EXPECT_FALSE(m_user.IsEnabled(kSpid2)); })
        .Click(ui::kIdOk)
        .Then([&] { m_pCard->ClearRecording(); })
        .Click(ui::kIdOk)
        .Click(ui::kIdCancel);
    RunApplet();
    std::vector<std::string> expected = FactoryWrite(tasim::Region::NorthAmerica, 0);
    expected[15] = "AT!N1=5551234!N2=5554321\r";
    expected[19] = "AT!C6=0155512340!C7=0155543210\r";
    expected[21] = "AT!C4=0!C5=1\r";
    EXPECT_EQ(m_pCard->Commands(), expected);
}

struct SwitchRow {
    const char* name;
    std::int32_t primary;
    std::int32_t alternate;
    int shown;
    std::int32_t saved;  // the alternate's code after OK
};

void PrintTo(const SwitchRow& row, std::ostream* out) {
    *out << row.name;
}

class InternationalSwitchTest : public ProfileSheetTest,
                                public ::testing::WithParamInterface<SwitchRow> {};

// The alternate page shows the primary location's switch type with both lists greyed, also
// right after the primary page changed it, and stores only 254 or 255 of its own.
TEST_P(InternationalSwitchTest, AlternateShowsThePrimarysSwitchTypeAndStoresOnlyItsState) {
    const SwitchRow& row = GetParam();
    StartCard(tasim::Region::International);
    _CARDPROFILES record = Stored();
    record.Profiles[0].Primary.SwitchType = row.primary;
    record.Profiles[0].Alternate.SwitchType = row.alternate;
    Store(record);
    OpenConfiguration(0)
        .Then([&] {
            EXPECT_EQ(m_user.Items(kSwitchType),
                      (std::vector<std::string>{"Europe (EuroISDN)", "Australia (TPH1962)",
                                                "Japan (INS-Net 64)"}));
            EXPECT_EQ(m_user.Selection(kSwitchType), row.shown);
        })
        .ChooseTab(kAlternateTab)
        .Then([&] {
            EXPECT_EQ(m_user.Selection(kSwitchType), row.shown);
            EXPECT_EQ(m_user.IsChecked(kAltEnabled), row.alternate != 255);
            ExpectEnabled(m_user, {kSwitchType, kProtocol}, false);
        })
        .ChooseTab(kPrimaryTab)
        .Choose(kSwitchType, "Japan (INS-Net 64)")
        .ChooseTab(kAlternateTab)
        .Then([&] { EXPECT_EQ(m_user.Selection(kSwitchType), 2) << "at once"; })
        .Click(ui::kIdOk)
        .Then([&] { m_pCard->ClearRecording(); })
        .Click(ui::kIdOk)
        .Click(ui::kIdCancel);
    RunApplet();
    std::vector<std::string> expected = FactoryWrite(tasim::Region::International, 0);
    expected[1] = "AT!C1=4!C11=" + std::to_string(row.saved) + "%A2=95\r";
    EXPECT_EQ(m_pCard->Commands(), expected);
}

INSTANTIATE_TEST_SUITE_P(Codes, InternationalSwitchTest,
                         ::testing::Values(SwitchRow{"EuroIsdnAlternateOff", 2, 255, 0, 255},
                                           SwitchRow{"Tph1962AlternateOn", 3, 254, 1, 254},
                                           SwitchRow{"InsNet64AlternateOn", 4, 254, 2, 254},
                                           SwitchRow{"AlternateWithACodeOfItsOwn", 3, 2, 1, 254},
                                           SwitchRow{"NorthAmericanCode", 9, 255, 0, 255}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileSheetTest, InternationalSecondNumberFollowsProtocolAndFirstNumber) {
    StartCard(tasim::Region::International);
    OpenConfiguration(kMultilinkProfile)
        .Then([&] {
            EXPECT_TRUE(m_user.IsChecked(kSecondNumber)) << "an empty 1st number";
            ExpectEnabled(m_user, {kSecondNumber, kNumber2Label, kNumber2}, false);
        })
        .Type(kNumber1, "0301234")
        .Then([&] {
            ExpectEnabled(m_user, {kSecondNumber, kNumber2Label, kNumber2}, true);
        })
        .Choose(kProtocol, "PPP")
        .Then([&] {
            ExpectEnabled(m_user, {kSecondNumber, kNumber2}, false);
            EXPECT_TRUE(m_user.IsEnabled(kNumber2Label)) << "the label keeps its state";
        })
        .Click(ui::kIdCancel)
        .Click(ui::kIdCancel)
        .Click(ui::kIdCancel);
    RunApplet();
}

// A value that breaks the page's rules is shown as the card stores it, without a check.
TEST_F(ProfileSheetTest, StoredNumberOutsideTheRulesLoadsWithoutACheck) {
    StartCard(tasim::Region::NorthAmerica);
    m_pCard->SetRegister(1, "!N1", "555-1234");
    OpenConfiguration(1)
        .Then([&] {
            EXPECT_EQ(m_user.Text(kNumber1), "555-1234");
            EXPECT_TRUE(Messages().empty());
        })
        .Click(ui::kIdCancel)
        .Click(ui::kIdCancel)
        .Click(ui::kIdCancel);
    RunApplet();
    EXPECT_TRUE(Messages().empty());
}

// A switch type the list does not offer shows no entry and survives an OK that did not
// choose another; the advanced page then hides the North American settings.
TEST_F(ProfileSheetTest, StoredSwitchTypeOutsideTheListSurvives) {
    StartCard(tasim::Region::NorthAmerica);
    _CARDPROFILES record = Stored();
    record.Profiles[0].Primary.SwitchType = 2;  // EuroISDN on a North American card
    Store(record);
    OpenConfiguration(0)
        .Then([&] { EXPECT_EQ(m_user.Selection(kSwitchType), -1); })
        .Type(kNumber1, "5550000")
        .ChooseTab(kAdvancedTab)
        .Then([&] {
            EXPECT_FALSE(m_user.IsVisible(kDov));
            EXPECT_FALSE(m_user.IsVisible(kAutoSpidLocation));
        })
        .Click(ui::kIdOk)
        .Then([&] { m_pCard->ClearRecording(); })
        .Click(ui::kIdOk)
        .Click(ui::kIdCancel);
    RunApplet();
    std::vector<std::string> expected = FactoryWrite(tasim::Region::NorthAmerica, 0);
    expected[1] = "AT!C1=2!C11=255%A2=95\r";
    expected[2] = "AT!N1=5550000!N2=5550000\r";
    EXPECT_EQ(m_pCard->Commands(), expected);
}

}  // namespace
}  // namespace profiles
