// The advanced page against emulated cards: the interval limits and their messages, which
// controls BACP and the initial interval enable, the North American settings hidden for
// international switch types, and values passing through disabled and hidden controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ProfileSheet.h"

namespace profiles {
namespace {

constexpr const char kNotANumber[] = "Please enter a positive integer.";
constexpr const char kOutOfRange[] = "Please enter an integer between 0 and 65535.";

bool Sent(const tasim::Adapter& card, const std::string& command) {
    const std::vector<std::string> commands = card.Commands();
    return std::find(commands.begin(), commands.end(), command) != commands.end();
}

struct LimitRow {
    const char* name;
    void (*script)(ui::HeadlessUser&);
    const char* message;  // null: accepted, and `sent` reaches the card
    int focus;
    const char* sent;
};

void PrintTo(const LimitRow& row, std::ostream* out) {
    *out << row.name;
}

class IntervalLimitTest : public ProfileSheetTest,
                          public ::testing::WithParamInterface<LimitRow> {};

TEST_P(IntervalLimitTest, AcceptsZeroTo65535) {
    const LimitRow& row = GetParam();
    StartCard(tasim::Region::NorthAmerica);
    _CARDPROFILES record = Stored();
    record.Profiles[0].Bacp = 1;
    Store(record);
    OpenConfiguration(0).ChooseTab(kAdvancedTab);
    row.script(m_user);
    m_user.Click(ui::kIdOk);
    if (row.message) {
        m_user.Answer(ui::kIdOk)
            .Then([&] {
                EXPECT_EQ(m_user.Title(), "Profile 0 Configuration");
                EXPECT_EQ(Messages(), std::vector<std::string>{row.message});
                EXPECT_EQ(m_user.MessageBoxes()[0].request.title,
                          "Quilan ISDN T/A Configuration Tool");
                EXPECT_EQ(m_user.FocusId(), row.focus);
                EXPECT_TRUE(m_user.IsAllSelected(row.focus));
            })
            .Click(ui::kIdCancel);
    }
    m_user.Then([&] { m_pCard->ClearRecording(); }).Click(ui::kIdOk).Click(ui::kIdCancel);
    RunApplet();
    if (row.message) {
        EXPECT_TRUE(m_pCard->Commands().empty());
    } else {
        EXPECT_TRUE(Messages().empty());
        EXPECT_TRUE(Sent(*m_pCard, row.sent)) << row.sent;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Intervals, IntervalLimitTest,
    ::testing::Values(
        LimitRow{
            "ArrowsStopAt32000",
            [](ui::HeadlessUser& u) { u.Type(kInitialInterval, "31998").Arrow(kInitialSpin, 5); },
            nullptr, 0, "AT%P5=1%P6=32000%P7=60\r"},
        LimitRow{
            "ArrowFromATypedNumberAboveTheRange",
            [](ui::HeadlessUser& u) { u.Type(kBillingInterval, "40000").Arrow(kBillingSpin, -1); },
            nullptr, 0, "AT%P5=1%P6=60%P7=32000\r"},
        LimitRow{"TypedLargest", [](ui::HeadlessUser& u) { u.Type(kInitialInterval, "65535"); },
                 nullptr, 0, "AT%P5=1%P6=65535%P7=60\r"},
        LimitRow{"FiveDigitsAtMost",
                 [](ui::HeadlessUser& u) { u.Type(kBillingInterval, "1234567"); }, nullptr, 0,
                 "AT%P5=1%P6=60%P7=12345\r"},
        LimitRow{"DigitsOnly", [](ui::HeadlessUser& u) { u.Type(kInitialInterval, "4x5 -"); },
                 nullptr, 0, "AT%P5=1%P6=45%P7=60\r"},
        LimitRow{"Zero", [](ui::HeadlessUser& u) { u.Type(kInitialInterval, "0"); }, nullptr, 0,
                 "AT%P5=1%P6=0%P7=60\r"},
        LimitRow{"AboveLargest", [](ui::HeadlessUser& u) { u.Type(kInitialInterval, "65536"); },
                 kOutOfRange, kInitialInterval, nullptr},
        LimitRow{"BillingAboveLargest",
                 [](ui::HeadlessUser& u) { u.Type(kBillingInterval, "99999"); }, kOutOfRange,
                 kBillingInterval, nullptr},
        LimitRow{"Empty", [](ui::HeadlessUser& u) { u.Type(kInitialInterval, ""); }, kNotANumber,
                 kInitialInterval, nullptr},
        // Disabled edits take part in the exchange like the others.
        LimitRow{"EmptyWithBacpOff",
                 [](ui::HeadlessUser& u) { u.Type(kBillingInterval, "").Untick(kBacp); },
                 kNotANumber, kBillingInterval, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileSheetTest, BacpAndTheInitialIntervalEnableTheIntervals) {
    struct Step {
        const char* what;
        void (*act)(ui::HeadlessUser&);
        bool bInitial;
        bool bBilling;
    };
    const Step steps[] = {
        {"BACP off", [](ui::HeadlessUser&) {}, false, false},
        {"BACP on, initial interval 0", [](ui::HeadlessUser& u) { u.Tick(kBacp); }, true, false},
        {"an initial interval", [](ui::HeadlessUser& u) { u.Type(kInitialInterval, "5"); }, true,
         true},
        {"the initial interval 0 again",
         [](ui::HeadlessUser& u) { u.Type(kInitialInterval, "00"); }, true, false},
        {"by the arrow", [](ui::HeadlessUser& u) { u.Arrow(kInitialSpin, 1); }, true, true},
        {"BACP off again", [](ui::HeadlessUser& u) { u.Untick(kBacp); }, false, false},
        {"BACP on with an initial interval", [](ui::HeadlessUser& u) { u.Tick(kBacp); }, true,
         true},
    };
    StartCard(tasim::Region::International);
    _CARDPROFILES record = Stored();
    record.Profiles[2].Bacp = 0;
    record.Profiles[2].InitialBillingInterval = 0;
    record.Profiles[2].BillingInterval = 30;
    Store(record);
    OpenConfiguration(2).ChooseTab(kAdvancedTab).Then([&] {
        EXPECT_EQ(m_user.Text(kInitialInterval), "0");
        EXPECT_EQ(m_user.Text(kBillingInterval), "30");
    });
    for (const Step& step : steps) {
        step.act(m_user);
        m_user.Then([&] {
            SCOPED_TRACE(step.what);
            EXPECT_EQ(m_user.IsEnabled(kInitialInterval), step.bInitial);
            EXPECT_EQ(m_user.IsEnabled(kInitialSpin), step.bInitial);
            EXPECT_EQ(m_user.IsEnabled(kBillingInterval), step.bBilling);
            EXPECT_EQ(m_user.IsEnabled(kBillingSpin), step.bBilling);
        });
    }
    m_user.Click(ui::kIdOk)
        .Then([&] { m_pCard->ClearRecording(); })
        .Click(ui::kIdOk)
        .Click(ui::kIdCancel);
    RunApplet();
    std::vector<std::string> expected = FactoryWrite(tasim::Region::International, 0);
    expected[23] = "AT%P5=1%P6=1%P7=30\r";  // profile 2's intervals
    EXPECT_EQ(m_pCard->Commands(), expected);
}

struct SwitchRow {
    const char* name;
    const char* code;
    bool bShown;
};

void PrintTo(const SwitchRow& row, std::ostream* out) {
    *out << row.name;
}

class NorthAmericanSettingsTest : public ProfileSheetTest,
                                  public ::testing::WithParamInterface<SwitchRow> {};

TEST_P(NorthAmericanSettingsTest, ShownOrHiddenByThePrimarySwitchType) {
    StartCard(tasim::Region::NorthAmerica);
    m_pCard->SetRegister(0, "!C1", GetParam().code);
    OpenConfiguration(0)
        .ChooseTab(kAdvancedTab)
        .Then([&] {
            for (int id : {kDovGroup, kDov, kAutoSpidGroup, kAutoSpidText, kAutoSpidLocation}) {
                EXPECT_EQ(m_user.IsVisible(id), GetParam().bShown) << id;
            }
            EXPECT_TRUE(m_user.IsVisible(kBacp));
            EXPECT_EQ(m_user.Items(kAutoSpidLocation),
                      (std::vector<std::string>{"Primary", "Alternate"}));
        })
        .Click(ui::kIdCancel)
        .Click(ui::kIdCancel)
        .Click(ui::kIdCancel);
    RunApplet();
}

INSTANTIATE_TEST_SUITE_P(
    Codes, NorthAmericanSettingsTest,
    ::testing::Values(SwitchRow{"AutoDetect", "9", true}, SwitchRow{"Att5ess", "1", true},
                      SwitchRow{"NationalIsdn", "0", true}, SwitchRow{"EuroIsdn", "2", false},
                      SwitchRow{"Tph1962", "3", false}, SwitchRow{"InsNet64", "4", false},
                      SwitchRow{"UnknownCode", "7", true}),
    [](const auto& info) { return std::string(info.param.name); });

class PassThroughTest : public ProfileSheetTest,
                        public ::testing::WithParamInterface<tasim::Region> {};

// Hidden and disabled controls keep the stored values: BACP off leaves both intervals as they
// are, an international switch type hides Data Over Voice and the AutoSPID location.
TEST_P(PassThroughTest, DisabledAndHiddenControlsKeepTheStoredValues) {
    const bool bNorthAmerica = GetParam() == tasim::Region::NorthAmerica;
    StartCard(GetParam());
    _CARDPROFILES record = Stored();
    _STOREDPROFILE& profile = record.Profiles[0];
    profile.Primary.SwitchType = 2;
    profile.DataOverVoice = 1;
    profile.AutoSpidLocation = 1;
    profile.Bacp = 0;
    profile.InitialBillingInterval = 45;
    profile.BillingInterval = 15;
    Store(record);
    OpenConfiguration(0)
        .ChooseTab(kAdvancedTab)
        .Then([&] {
            EXPECT_FALSE(m_user.IsVisible(kDov));
            EXPECT_FALSE(m_user.IsEnabled(kInitialInterval));
            EXPECT_EQ(m_user.Text(kInitialInterval), "45");
        })
        .Tick(kBacp)
        .Untick(kBacp)
        .Click(ui::kIdOk)
        .Then([&] { m_pCard->ClearRecording(); })
        .Click(ui::kIdOk)
        .Click(ui::kIdCancel);
    RunApplet();
    ASSERT_FALSE(m_pCard->Commands().empty()) << "the page was changed";
    EXPECT_TRUE(Sent(*m_pCard, "AT!O3\r"));
    EXPECT_TRUE(Sent(*m_pCard, "AT%P5=0%P6=45%P7=15\r"));
    EXPECT_EQ(Sent(*m_pCard, "AT!C2=1\r"), bNorthAmerica);
}

INSTANTIATE_TEST_SUITE_P(Regions, PassThroughTest,
                         ::testing::Values(tasim::Region::NorthAmerica,
                                           tasim::Region::International),
                         [](const auto& info) {
                             return info.param == tasim::Region::NorthAmerica ? "NorthAmerica"
                                                                              : "International";
                         });

// A location the list does not offer shows no entry and is sent back as stored, never as -1.
// (The emulator, like the firmware, takes only 0 and 1 and answers the write with ERROR.)
TEST_F(ProfileSheetTest, AutoSpidLocationOutsideTheListIsKept) {
    StartCard(tasim::Region::NorthAmerica);
    m_pCard->SetRegister(0, "!C2", "5");
    OpenConfiguration(0)
        .ChooseTab(kAdvancedTab)
        .Then([&] { EXPECT_EQ(m_user.Selection(kAutoSpidLocation), -1); })
        .Tick(kDov)
        .Click(ui::kIdOk)
        .Click(ui::kIdOk)
        .Answer(ui::kIdOk)
        .Click(ui::kIdCancel)
        .Click(ui::kIdCancel);
    RunApplet();
    EXPECT_TRUE(Sent(*m_pCard, "AT!C2=5\r"));
    EXPECT_FALSE(Sent(*m_pCard, "AT!C2=-1\r"));
}

}  // namespace
}  // namespace profiles
