// The number and SPID rules on the location pages, as tables of typed values: the message,
// the control that gets the focus, and that nothing of a refused value reaches the card.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "ProfileSheet.h"

namespace profiles {
namespace {

constexpr const char kBadNumber[] =
    "ERR0007 : Invalid ISDN Number configured.\nPlease enter digits in the range 0 - 9, '#' or "
    "'*'.";
constexpr const char kLongNumber[] =
    "ERR0019 : Value entered for the ISDN Number is too long.\nMaximum length of the ISDN Number "
    "is 20 characters.";
constexpr const char kBadSpid[] =
    "ERR0008 : Invalid SPID configured.\nPlease enter digits in the range 0 - 9.";
constexpr const char kLongSpid[] =
    "ERR0020 : Value entered for the SPID is too long.\nMaximum length of the SPID is 20 digits.";
constexpr const char kSecondEmpty[] =
    "WARN009 : Please enter a second telephone/SPID number if you have one and if not disable the "
    "check \"Enable 2nd Number\".";

constexpr int kPppProfile = 0;
constexpr int kMultilinkProfile = 1;

const std::string kTwentyDigits = "12345678901234567890";

struct ValueRow {
    const char* name;
    std::string value;
    const char* message;  // null: accepted
};

// Rows for both kinds of number field.
std::vector<ValueRow> NumberRows() {
    return {
        {"SevenDigitsAndABlank", "555 1234", nullptr},
        {"TwentyDigitsAndBlanks", " 12345 67890 12345 67890 ", nullptr},
        {"DigitsStarAndHash", "*70#5551234", nullptr},
        {"OnlyBlanks", "    ", nullptr},
        // 20 significant characters, 99 in all: the most that fits the record's field.
        {"LongestThatFits", kTwentyDigits + std::string(79, ' '), nullptr},
        {"TwentyOneDigits", kTwentyDigits + "1", kLongNumber},
        {"ThreeHundredDigits", std::string(300, '5'), kLongNumber},
        {"TwentyDigitsInAHundredCharacters", kTwentyDigits + std::string(80, ' '), kLongNumber},
        {"Hyphen", "555-1234", kBadNumber},
        {"Plus", "+4930123", kBadNumber},
        {"Parenthesis", "(030)123", kBadNumber},
        {"Comma", "555,1234", kBadNumber},
        {"Letter", "555a1234", kBadNumber},
        {"ByteAbove127", "555\xE9", kBadNumber},
        {"BadCharacterBeforeTooLong", std::string(30, '1') + "x", kBadNumber},
    };
}

std::vector<ValueRow> SpidRows() {
    return {
        {"FourteenDigits", "01555123400000", nullptr},
        {"DigitsAndBlanks", "0155 5123 400", nullptr},
        {"TwentyOneDigits", kTwentyDigits + "0", kLongSpid},
        {"TwentyDigitsInAHundredCharacters", kTwentyDigits + std::string(80, ' '), kLongSpid},
        {"Letter", "0155a", kBadSpid},
        {"Hash", "0155#", kBadSpid},
        {"Star", "*0155", kBadSpid},
        {"ByteAbove127", "\xC3\xA9", kBadSpid},
    };
}

struct FieldCase {
    const char* name;
    tasim::Region region;
    int profile;
    int field;  // the edit typed into; also where the focus must land
    ValueRow row;
};

void PrintTo(const FieldCase& field, std::ostream* out) {
    *out << field.name << "/" << field.row.name;
}

class FieldRuleTest : public ProfileSheetTest, public ::testing::WithParamInterface<FieldCase> {};

// A refused value keeps the user on the page with the value selected in its edit; an
// accepted one is sent to the card exactly as typed.
TEST_P(FieldRuleTest, RefusesOrSendsTheValue) {
    const FieldCase& field = GetParam();
    StartCard(field.region);
    OpenConfiguration(field.profile);
    if (field.field == kNumber2 || field.field == kSpid2) {
        m_user.Type(kNumber1, "5550000");  // the 2nd number is usable once the 1st is given
        if (field.field == kNumber2) {
            m_user.Type(kNumber2, "5551111");  // replaced below; not equal to the 1st
        }
    }
    m_user.Type(field.field, field.row.value).Click(ui::kIdOk);
    if (field.row.message) {
        m_user.Answer(ui::kIdOk)
            .Then([&] {
                EXPECT_EQ(m_user.Title(),
                          "Profile " + std::to_string(field.profile) + " Configuration")
                    << "the sheet stays";
                EXPECT_EQ(Messages(), std::vector<std::string>{field.row.message});
                EXPECT_EQ(m_user.FocusId(), field.field);
                EXPECT_TRUE(m_user.IsAllSelected(field.field));
                EXPECT_EQ(m_user.Text(field.field), field.row.value);
            })
            .Click(ui::kIdCancel);
    }
    m_user.Then([&] { m_pCard->ClearRecording(); }).Click(ui::kIdOk).Click(ui::kIdCancel);
    RunApplet();
    if (field.row.message) {
        EXPECT_TRUE(m_pCard->Commands().empty()) << "nothing of it reaches the card";
        return;
    }
    EXPECT_TRUE(Messages().empty());
    const std::vector<std::string> commands = m_pCard->Commands();
    const std::string& value = field.row.value;
    auto sent = [&](const std::string& command) {
        return std::find(commands.begin(), commands.end(), command) != commands.end();
    };
    switch (field.field) {
        case kNumber1:
            EXPECT_TRUE(sent("AT!N1=" + value + "!N2=" + value + "\r"));
            break;
        case kSpid1:
            EXPECT_TRUE(sent("AT!C6=" + value + "!C7=" + value + "\r"));
            break;
        case kNumber2:
            EXPECT_TRUE(sent("AT!N1=5550000!N2=" + value + "\r"));
            break;
        case kSpid2:
            EXPECT_TRUE(sent("AT!C6=!C7=" + value + "\r"));
            break;
    }
}

std::vector<FieldCase> FieldCases() {
    std::vector<FieldCase> cases;
    auto add = [&](const char* name, tasim::Region region, int profile, int field,
                   const std::vector<ValueRow>& rows) {
        for (const ValueRow& row : rows) {
            cases.push_back({name, region, profile, field, row});
        }
    };
    add("NorthAmericaNumber1", tasim::Region::NorthAmerica, kPppProfile, kNumber1, NumberRows());
    add("NorthAmericaSpid1", tasim::Region::NorthAmerica, kPppProfile, kSpid1, SpidRows());
    add("InternationalNumber1", tasim::Region::International, kPppProfile, kNumber1, NumberRows());
    // The 2nd fields undergo their checks under "Multilink PPP" with the 2nd number in use.
    add("NorthAmericaNumber2", tasim::Region::NorthAmerica, kMultilinkProfile, kNumber2,
        {{"Digits", "5552222", nullptr},
         {"Letter", "555x", kBadNumber},
         {"TwentyOneDigits", kTwentyDigits + "2", kLongNumber}});
    add("NorthAmericaSpid2", tasim::Region::NorthAmerica, kMultilinkProfile, kSpid2,
        {{"Digits", "0155522220", nullptr},
         {"Letter", "0155x", kBadSpid},
         {"TwentyOneDigits", kTwentyDigits + "2", kLongSpid}});
    add("InternationalNumber2", tasim::Region::International, kMultilinkProfile, kNumber2,
        {{"Digits", "5552222", nullptr},
         {"Hyphen", "555-2222", kBadNumber},
         {"TwentyOneDigits", kTwentyDigits + "2", kLongNumber}});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Values, FieldRuleTest, ::testing::ValuesIn(FieldCases()),
                         [](const auto& info) {
                             return std::string(info.param.name) + "_" + info.param.row.name;
                         });

struct ScriptRow {
    const char* name;
    tasim::Region region;
    int profile;
    void (*script)(ui::HeadlessUser&);
    const char* message;  // null: accepted
    int focus;
};

void PrintTo(const ScriptRow& row, std::ostream* out) {
    *out << row.name;
}

class CheckOrderTest : public ProfileSheetTest, public ::testing::WithParamInterface<ScriptRow> {};

// When a check runs at all, and which fault of several is reported.
TEST_P(CheckOrderTest, ReportsTheFirstFaultOrAccepts) {
    const ScriptRow& row = GetParam();
    StartCard(row.region);
    OpenConfiguration(row.profile);
    row.script(m_user);
    m_user.Click(ui::kIdOk);
    if (row.message) {
        m_user.Answer(ui::kIdOk)
            .Then([&] {
                EXPECT_EQ(Messages(), std::vector<std::string>{row.message});
                EXPECT_EQ(m_user.FocusId(), row.focus);
            })
            .Click(ui::kIdCancel);
    } else {
        m_user.Then([&] {
            EXPECT_TRUE(Messages().empty());
            EXPECT_NE(m_user.Title().find("Profiles - "), std::string::npos) << "accepted";
        });
    }
    m_user.Click(ui::kIdCancel).Click(ui::kIdCancel);
    RunApplet();
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CheckOrderTest,
    ::testing::Values(
        ScriptRow{"BadNumberAndBadSpidReportTheNumber", tasim::Region::NorthAmerica, kPppProfile,
                  [](ui::HeadlessUser& u) { u.Type(kNumber1, "555-1").Type(kSpid1, "x"); },
                  kBadNumber, kNumber1},
        ScriptRow{"NationalIsdnWithAnEmptySpid", tasim::Region::NorthAmerica, kPppProfile,
                  [](ui::HeadlessUser& u) {
                      u.Choose(kSwitchType, "National ISDN-1 (NI-1)").Type(kNumber1, "5551234");
                  },
                  nullptr, 0},
        ScriptRow{"SecondNumberAndSpidEmpty", tasim::Region::NorthAmerica, kMultilinkProfile,
                  [](ui::HeadlessUser& u) { u.Type(kNumber1, "5551234"); }, kSecondEmpty, kNumber2},
        ScriptRow{"SecondNumberEmptyWithoutSpid", tasim::Region::NorthAmerica, kMultilinkProfile,
                  [](ui::HeadlessUser& u) { u.Type(kNumber1, "5551234").Untick(kSpid2Box); },
                  nullptr, 0},
        // Left in their fields, then greyed by "PPP": no check looks at them.
        ScriptRow{"BadSecondFieldsUnderPpp", tasim::Region::NorthAmerica, kMultilinkProfile,
                  [](ui::HeadlessUser& u) {
                      u.Type(kNumber1, "5551234")
                          .Type(kNumber2, "abc")
                          .Type(kSpid2, "xyz")
                          .Choose(kProtocol, "PPP");
                  },
                  nullptr, 0},
        ScriptRow{"BadSecondFieldsWithTheSecondNumberUnticked", tasim::Region::NorthAmerica,
                  kMultilinkProfile,
                  [](ui::HeadlessUser& u) {
                      u.Type(kNumber1, "5551234").Type(kNumber2, "abc").Untick(kSecondNumber);
                  },
                  nullptr, 0},
        ScriptRow{"InternationalSecondNumberEmpty", tasim::Region::International, kMultilinkProfile,
                  [](ui::HeadlessUser& u) { u.Type(kNumber1, "5551234"); }, kSecondEmpty, kNumber2},
        ScriptRow{"InternationalBothNumbersEmpty", tasim::Region::International, kMultilinkProfile,
                  [](ui::HeadlessUser&) {}, nullptr, 0},
        ScriptRow{"InternationalBadSecondUnderV120", tasim::Region::International,
                  kMultilinkProfile,
                  [](ui::HeadlessUser& u) {
                      u.Type(kNumber1, "5551234").Type(kNumber2, "abc").Choose(kProtocol, "V.120");
                  },
                  nullptr, 0},
        ScriptRow{"AlternateNumberChecked", tasim::Region::NorthAmerica, kPppProfile,
                  [](ui::HeadlessUser& u) {
                      u.ChooseTab(kAlternateTab).Tick(kAltEnabled).Type(kNumber1, "555#x");
                  },
                  kBadNumber, kNumber1}),
    [](const auto& info) { return std::string(info.param.name); });

class DisabledAlternateTest : public ProfileSheetTest,
                              public ::testing::WithParamInterface<tasim::Region> {};

// No check runs on a disabled alternate location, and what its edits were given while it was
// enabled does not reach the record unless it keeps the rules: the stored number stays.
TEST_P(DisabledAlternateTest, RunsNoCheckAndStoresNothingThatBreaksTheRules) {
    StartCard(GetParam());
    _CARDPROFILES record = Stored();
    std::strncpy(record.Profiles[0].Alternate.Number1, "6660100", 99);
    std::strncpy(record.Profiles[0].Alternate.Number2, "6660100", 99);
    Store(record);
    OpenConfiguration(0)
        .ChooseTab(kAlternateTab)
        .Tick(kAltEnabled)
        .Type(kNumber1, "666-0100 and more")
        .Untick(kAltEnabled)
        .Click(ui::kIdOk)
        .Then([&] {
            EXPECT_TRUE(Messages().empty());
            m_pCard->ClearRecording();
        })
        .Choose(kDefaultProfile, 1)
        .Click(ui::kIdOk)
        .Click(ui::kIdCancel);
    RunApplet();
    const std::vector<std::string> commands = m_pCard->Commands();
    EXPECT_EQ(CommandStarting(commands, "AT!N11="), "AT!N11=6660100!N21=6660100\r");
    EXPECT_EQ(CommandStarting(commands, "AT!C1="), GetParam() == tasim::Region::NorthAmerica
                                                       ? "AT!C1=9!C11=255%A2=95\r"
                                                       : "AT!C1=2!C11=255%A2=95\r");
}

INSTANTIATE_TEST_SUITE_P(Regions, DisabledAlternateTest,
                         ::testing::Values(tasim::Region::NorthAmerica,
                                           tasim::Region::International),
                         [](const auto& info) {
                             return info.param == tasim::Region::NorthAmerica ? "NorthAmerica"
                                                                              : "International";
                         });

}  // namespace
}  // namespace profiles
