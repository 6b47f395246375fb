// The profile list page against an emulated card: the names from the registry and their
// rules, the default profile, what OK writes to the card and the registry and what Cancel
// does not, and the card or registry failing on the way.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "ComStorage.h"
#include "ProfileSheet.h"
#include "platform/registry/Key.h"
#include "platform/ui/HelpViewer.h"
#include "platform/ui/WaitCursor.h"

namespace profiles {
namespace {

constexpr const char kHiveWithoutNames[] =
    "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quilan ISDN T/A \\Directory]\n\n";
constexpr const char kNamesNotSaved[] = "ERR0025 : Error saving profile names to registry.";

struct NameRow {
    const char* name;
    bool bKey;
    std::vector<std::pair<std::string, std::string>> values;
    std::vector<std::string> shown;
};

void PrintTo(const NameRow& row, std::ostream* out) {
    *out << row.name;
}

class ProfileNamesTest : public ProfileSheetTest, public ::testing::WithParamInterface<NameRow> {};

TEST_P(ProfileNamesTest, RowsAndDefaultListShowTheStoredNamesOrTheirDefaults) {
    const NameRow& row = GetParam();
    if (!row.bKey) {
        WriteHive(kHiveWithoutNames);
    }
    for (const auto& [value, name] : row.values) {
        SetProfileName(value, name);
    }
    StartCard(tasim::Region::NorthAmerica);
    _CARDPROFILES record = Stored();
    record.DefaultProfile = 2;
    Store(record);
    OpenProfiles()
        .Then([&] {
            EXPECT_EQ(m_user.Title(), kNorthAmericaTitle);
            EXPECT_EQ(m_user.Items(kProfileList), row.shown);
            EXPECT_EQ(m_user.Items(kDefaultProfile), row.shown) << "the empty entry is gone";
            EXPECT_EQ(m_user.Selection(kProfileList), 2) << "the default profile's row";
            EXPECT_EQ(m_user.Selection(kDefaultProfile), 2);
            EXPECT_EQ(m_user.FocusId(), kProfileList);
        })
        .Click(ui::kIdCancel)
        .Click(ui::kIdCancel);
    RunApplet();
}

INSTANTIATE_TEST_SUITE_P(
    Registry, ProfileNamesTest,
    ::testing::Values(
        NameRow{"NoKey", false, {}, kFactoryNames}, NameRow{"NoValues", true, {}, kFactoryNames},
        NameRow{
            "OnlyProfile1", true, {{"Profile1", "Office"}}, {"Profile 0", "Office", "Profile 2"}},
        // 260 bytes hold at most 259 characters and the terminating zero.
        NameRow{"TooLongAndLongest",
                true,
                {{"Profile0", std::string(260, 'a')}, {"Profile2", std::string(259, 'z')}},
                {"Profile 0", "Profile 1", std::string(259, 'z')}},
        NameRow{"EmptyValue", true, {{"Profile0", ""}}, {"", "Profile 1", "Profile 2"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct RenameRow {
    const char* name;
    std::string text;
    const char* message;  // null: the name is taken
};

void PrintTo(const RenameRow& row, std::ostream* out) {
    *out << row.name;
}

class RenameTest : public ProfileSheetTest, public ::testing::WithParamInterface<RenameRow> {};

// The default profile's row is renamed: the drop-down list follows and keeps its selection.
TEST_P(RenameTest, TakesTheNameOrKeepsTheOldOne) {
    const RenameRow& row = GetParam();
    StartCard(tasim::Region::NorthAmerica);
    _CARDPROFILES record = Stored();
    record.DefaultProfile = 1;
    Store(record);
    OpenProfiles().Rename(kProfileList, 1, row.text);
    if (row.message) {
        m_user.Answer(ui::kIdOk);
    }
    m_user
        .Then([&] {
            std::vector<std::string> names = kFactoryNames;
            if (!row.message) {
                names[1] = row.text;
                EXPECT_TRUE(Messages().empty());
                EXPECT_EQ(m_user.Selection(kProfileList), -1) << "the new row is not selected";
            } else {
                EXPECT_EQ(Messages(), std::vector<std::string>{row.message});
            }
            EXPECT_EQ(m_user.Items(kProfileList), names);
            EXPECT_EQ(m_user.Items(kDefaultProfile), names);
            EXPECT_EQ(m_user.Selection(kDefaultProfile), 1);
        })
        .Click(ui::kIdOk)
        .Click(ui::kIdCancel);
    RunApplet();
    EXPECT_EQ(ProfileName("Profile1"), row.message ? "Profile 1" : row.text);
}

INSTANTIATE_TEST_SUITE_P(
    Names, RenameTest,
    ::testing::Values(
        RenameRow{"Plain", "Home Office", nullptr},
        RenameRow{"Longest", std::string(259, 'n'), nullptr},
        RenameRow{"OnlyBlanks", "  ", nullptr}, RenameRow{"HighBytes", "B\xC3\xBCro", nullptr},
        RenameRow{"TooLong", std::string(260, 'n'),
                  "WARN0007 : The profile name entered is too long."},
        RenameRow{"Empty", "", "WARN0008 : The profile name may not be empty."},
        RenameRow{"LineBreak", "Home\nOffice",
                  "WARN012 : The profile name may not contain a line break or a NUL character."},
        RenameRow{"Nul", std::string("Home\0Office", 11),
                  "WARN012 : The profile name may not contain a line break or a NUL character."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileSheetTest, CancelledRenameKeepsTheName) {
    StartCard(tasim::Region::International);
    OpenProfiles()
        .CancelRename(kProfileList, 0)
        .Then([&] {
            EXPECT_EQ(m_user.Title(), kInternationalTitle);
            EXPECT_EQ(m_user.Items(kProfileList), kFactoryNames);
            EXPECT_EQ(m_user.Selection(kProfileList), 0);
        })
        .Click(ui::kIdCancel)
        .Click(ui::kIdCancel);
    RunApplet();
    EXPECT_TRUE(Messages().empty());
}

TEST_F(ProfileSheetTest, RenameAloneSavesTheNamesWithoutTouchingTheCard) {
    StartCard(tasim::Region::NorthAmerica);
    OpenProfiles()
        .Rename(kProfileList, 0, "Office")
        .Rename(kProfileList, 2, "Travel")
        .Then([&] { m_pCard->ClearRecording(); })
        .Click(ui::kIdOk)
        .Then([&] {
            EXPECT_EQ(m_user.Title(), kMainTitle);
            EXPECT_TRUE(m_pCard->Commands().empty()) << "no card access";
            EXPECT_EQ(ProfileName("Profile0"), "Office");
            EXPECT_EQ(ProfileName("Profile1"), "Profile 1");
            EXPECT_EQ(ProfileName("Profile2"), "Travel");
        })
        .Click(kProfileProperties)
        .Then([&] {
            EXPECT_EQ(m_user.Items(kProfileList),
                      (std::vector<std::string>{"Office", "Profile 1", "Travel"}));
        })
        .Click(ui::kIdCancel)
        .Click(ui::kIdCancel);
    RunApplet();
}

TEST_F(ProfileSheetTest, OkWithoutTheNamesKeyShowsErr0025AndNeverCreatesIt) {
    WriteHive(kHiveWithoutNames);
    StartCard(tasim::Region::NorthAmerica);
    OpenProfiles()
        .Rename(kProfileList, 0, "Office")
        .Click(ui::kIdOk)
        .Answer(ui::kIdOk)
        .Then([&] { EXPECT_EQ(m_user.Title(), kMainTitle) << "the sheet closes"; })
        .Click(ui::kIdCancel);
    RunApplet();
    EXPECT_EQ(Messages(), std::vector<std::string>{kNamesNotSaved});
    EXPECT_EQ(ReadHive(), kHiveWithoutNames);
}

struct HiveFault {
    const char* name;
    void (*make)(const std::filesystem::path& hive);
    std::vector<std::string> shown;
};

void PrintTo(const HiveFault& row, std::ostream* out) {
    *out << row.name;
}

class RegistryFaultTest : public ProfileSheetTest,
                          public ::testing::WithParamInterface<HiveFault> {};

TEST_P(RegistryFaultTest, NamesFallBackOrStayAndOkShowsErr0025) {
    SetProfileName("Profile0", "Office");
    GetParam().make(Hive());
    const std::string before = ReadHive();
    StartCard(tasim::Region::NorthAmerica);
    OpenProfiles()
        .Then([&] { EXPECT_EQ(m_user.Items(kProfileList), GetParam().shown); })
        .Rename(kProfileList, 1, "Home")
        .Click(ui::kIdOk)
        .Answer(ui::kIdOk)
        .Then([&] { EXPECT_EQ(m_user.Title(), kMainTitle); })
        .Click(ui::kIdCancel);
    RunApplet();
    EXPECT_EQ(Messages(), std::vector<std::string>{kNamesNotSaved});
    EXPECT_EQ(ReadHive(), before);
    EXPECT_EQ(std::filesystem::exists(Hive()), !before.empty()) << "never created";
}

INSTANTIATE_TEST_SUITE_P(
    Hive, RegistryFaultTest,
    ::testing::Values(HiveFault{"Missing",
                                [](const std::filesystem::path& hive) {
                                    std::filesystem::remove(hive);
                                },
                                kFactoryNames},
                      HiveFault{"Unparsable",
                                [](const std::filesystem::path& hive) {
                                    std::ofstream(hive, std::ios::trunc)
                                        << "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SO";
                                },
                                kFactoryNames},
                      // The file can be read but not replaced: its lock cannot be taken.
                      HiveFault{"CannotBeWritten",
                                [](const std::filesystem::path& hive) {
                                    std::filesystem::path lock = hive;
                                    lock += ".lock";
                                    std::filesystem::remove(lock);
                                    std::filesystem::create_directory(lock);
                                },
                                {"Office", "Profile 1", "Profile 2"}}),
    [](const auto& info) { return std::string(info.param.name); });

class RegionTest : public ProfileSheetTest, public ::testing::WithParamInterface<tasim::Region> {};

TEST_P(RegionTest, DefaultProfileAloneWritesTheWholeRecord) {
    StartCard(GetParam());
    OpenProfiles()
        .Choose(kDefaultProfile, 2)
        .Then([&] { m_pCard->ClearRecording(); })
        .Click(ui::kIdOk)
        .Then([&] { EXPECT_FALSE(ui::IsWaitCursorShown()); })
        .Click(ui::kIdCancel);
    RunApplet();
    EXPECT_EQ(m_pCard->Commands(), FactoryWrite(GetParam(), 2));
    EXPECT_EQ(m_pCard->DefaultProfile(), 2);
    EXPECT_TRUE(Messages().empty());
}

TEST_P(RegionTest, ConfigurationOkWithoutChangesWritesNothing) {
    StartCard(GetParam());
    const _CARDPROFILES before = Stored();
    OpenConfiguration(1)
        .Then([&] {
            EXPECT_EQ(m_user.Title(), "Profile 1 Configuration");
            EXPECT_EQ(m_user.Tabs(), (std::vector<std::string>{"Primary Location",
                                                               "Alternate Location", "Advanced"}));
            EXPECT_EQ(m_user.ActiveTab(), kPrimaryTab);
            EXPECT_FALSE(m_user.Has(ui::kIdApply));
        })
        .ChooseTab(kAlternateTab)
        .ChooseTab(kAdvancedTab)
        .Click(ui::kIdOk)
        .Then([&] { m_pCard->ClearRecording(); })
        .Click(ui::kIdOk)
        .Click(ui::kIdCancel);
    RunApplet();
    EXPECT_TRUE(m_pCard->Commands().empty());
    EXPECT_TRUE(Messages().empty());
    _CARDPROFILES after = Stored();
    EXPECT_EQ(std::memcmp(&after, &before, sizeof after), 0);
}

// Everything a configuration sheet changed, including what the primary page writes into the
// profile at once (protocol, international switch type), goes with its Cancel.
TEST_P(RegionTest, CancelledConfigurationChangesNothing) {
    const bool bNorthAmerica = GetParam() == tasim::Region::NorthAmerica;
    StartCard(GetParam());
    OpenConfiguration(0).Choose(kProtocol, "V.120");
    if (!bNorthAmerica) {
        m_user.Choose(kSwitchType, "Japan (INS-Net 64)");
    }
    m_user.Type(kNumber1, "5551234")
        .ChooseTab(kAlternateTab)
        .Then([&] {
            EXPECT_EQ(m_user.Selection(kProtocol), 1) << "the alternate page shows it";
            if (!bNorthAmerica) {
                EXPECT_EQ(m_user.Selection(kSwitchType), 2);
            }
        })
        .ChooseTab(kAdvancedTab)
        .Tick(kBacp)
        .Type(kBillingInterval, "30")
        .Click(ui::kIdCancel)
        .Then([&] {
            EXPECT_EQ(m_user.Title(), bNorthAmerica ? kNorthAmericaTitle : kInternationalTitle);
        })
        .Click(kConfigure)
        .Then([&] {
            EXPECT_EQ(m_user.Selection(kProtocol), 0) << "PPP again";
            EXPECT_EQ(m_user.Selection(kSwitchType), 0);
            EXPECT_EQ(m_user.Text(kNumber1), "");
        })
        .Click(ui::kIdCancel)
        .Then([&] { m_pCard->ClearRecording(); })
        .Click(ui::kIdOk)
        .Click(ui::kIdCancel);
    RunApplet();
    EXPECT_TRUE(m_pCard->Commands().empty()) << "the cancelled sheet marked nothing changed";
}

TEST_P(RegionTest, CancelOfTheProfilesSheetWritesNothing) {
    StartCard(GetParam());
    const _CARDPROFILES before = Stored();
    const std::string hive = ReadHive();
    OpenConfiguration(0)
        .Type(kNumber1, "5551234")
        .Click(ui::kIdOk)
        .Choose(kDefaultProfile, 1)
        .Rename(kProfileList, 2, "Travel")
        .Then([&] { m_pCard->ClearRecording(); })
        .Click(ui::kIdCancel)
        .Then([&] { EXPECT_EQ(m_user.Title(), kMainTitle); })
        .Click(ui::kIdCancel);
    RunApplet();
    EXPECT_TRUE(m_pCard->Commands().empty());
    EXPECT_EQ(ReadHive(), hive);
    _CARDPROFILES after = Stored();
    EXPECT_EQ(std::memcmp(&after, &before, sizeof after), 0);
}

INSTANTIATE_TEST_SUITE_P(Regions, RegionTest,
                         ::testing::Values(tasim::Region::NorthAmerica,
                                           tasim::Region::International),
                         [](const auto& info) {
                             return info.param == tasim::Region::NorthAmerica ? "NorthAmerica"
                                                                              : "International";
                         });

TEST_F(ProfileSheetTest, ConfigureNeedsASelectedRowAndADoubleClickDoesTheSame) {
    StartCard(tasim::Region::NorthAmerica);
    OpenProfiles()
        .Rename(kProfileList, 0, "Office")
        .Click(kConfigure)
        .Answer(ui::kIdOk)
        .Then([&] {
            EXPECT_EQ(Messages(),
                      std::vector<std::string>{"WARN0001 : Please select a profile to configure."});
            EXPECT_EQ(m_user.Title(), kNorthAmericaTitle);
        })
        .DoubleClickItem(kProfileList, 0)
        .Then([&] {
            EXPECT_EQ(m_user.Title(), "Office Configuration");
            EXPECT_EQ(m_user.Tabs().size(), 3u);
        })
        .Click(ui::kIdCancel)
        .Then([&] { EXPECT_EQ(m_user.FocusId(), kProfileList); })
        .Click(ui::kIdCancel)
        .Click(ui::kIdCancel);
    RunApplet();
}

TEST_F(ProfileSheetTest, CardThatCannotBeReadShowsErr0004AndNoSheet) {
    struct Row {
        const char* what;
        tasim::Faults faults;
    };
    tasim::Faults error;
    error.error.text = "AT&V";
    tasim::Faults silent;
    silent.noAnswer.text = "AT>VC";
    StartCard(tasim::Region::NorthAmerica);
    m_user.WaitUntil(
        [&] { return m_user.Title() == kMainTitle && m_user.Items(kCardList).size() == 1; });
    for (const Row& row : {Row{"listing answered ERROR", error}, Row{"no report", silent}}) {
        m_user.Then([&, row] { m_pCard->SetFaults(row.faults); })
            .Click(kProfileProperties)
            .Answer(ui::kIdOk)
            .Then([&, row] {
                SCOPED_TRACE(row.what);
                EXPECT_EQ(m_user.Title(), kMainTitle);
                EXPECT_EQ(LastMessage(),
                          "ERR0004 : Error occured retrieving profiles from the selected Quilan "
                          "ISDN T/A.");
                EXPECT_FALSE(ui::IsWaitCursorShown());
            });
    }
    m_user.Click(ui::kIdCancel);
    RunApplet();
    EXPECT_EQ(Messages().size(), 2u);
}

struct WriteFault {
    const char* name;
    const char* message;
    tasim::Faults faults;
    bool bHoldPort;
};

void PrintTo(const WriteFault& row, std::ostream* out) {
    *out << row.name;
}

tasim::Faults ErrorAt(const char* command) {
    tasim::Faults faults;
    faults.error.text = command;
    return faults;
}

tasim::Faults Mute() {
    tasim::Faults faults;
    faults.mute = true;
    return faults;
}

constexpr const char kPortBusy[] =
    "ERR0010 : Error occured trying to open the COM port. Ensure that no other application is "
    "already using the COM port.";
constexpr const char kWriteFailed[] =
    "ERR0005 : Error occured while saving profiles to the Quilan ISDN T/A.";

class WriteFaultTest : public ProfileSheetTest, public ::testing::WithParamInterface<WriteFault> {};

// The sheet stays for another OK or a Cancel; Cancel then leaves without writing anything more.
TEST_P(WriteFaultTest, OkKeepsTheSheetOpenAndCancelLeaves) {
    const WriteFault& row = GetParam();
    StartCard(tasim::Region::NorthAmerica);
    CComStorage holder;
    OpenProfiles()
        .Choose(kDefaultProfile, 2)
        .Rename(kProfileList, 0, "Office")
        .Then([&] {
            m_pCard->SetFaults(row.faults);
            if (row.bHoldPort) {
                ASSERT_EQ(holder.Open("COM2"), 0);
            }
        })
        .Click(ui::kIdOk)
        .Answer(ui::kIdOk)
        .Then([&] {
            EXPECT_EQ(m_user.Title(), kNorthAmericaTitle) << "the sheet stays";
            EXPECT_EQ(Messages(), std::vector<std::string>{row.message});
            EXPECT_FALSE(ui::IsWaitCursorShown());
            m_pCard->ClearRecording();
        })
        .Click(ui::kIdCancel)
        .Then([&] { EXPECT_EQ(m_user.Title(), kMainTitle); })
        .Click(ui::kIdCancel);
    RunApplet();
    holder.Close();
    EXPECT_EQ(CommandStarting(m_pCard->Commands(), "AT"), "") << "nothing after Cancel";
    EXPECT_EQ(m_pCard->DefaultProfile(), 0) << "the card was not reset into the new default";
    EXPECT_EQ(ProfileName("Profile0"), "<absent>") << "names are saved only after the card";
}

INSTANTIATE_TEST_SUITE_P(
    Card, WriteFaultTest,
    ::testing::Values(WriteFault{"PortInUse", kPortBusy, {}, true},
                      WriteFault{"ProfileRefused", kWriteFailed, ErrorAt("AT&W1"), false},
                      WriteFault{"CardStopsAnswering", kWriteFailed, Mute(), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProfileSheetTest, OkAgainAfterErr0010WritesOnceThePortIsFree) {
    StartCard(tasim::Region::International);
    CComStorage holder;
    OpenProfiles()
        .Choose(kDefaultProfile, 1)
        .Then([&] { ASSERT_EQ(holder.Open("COM2"), 0); })
        .Click(ui::kIdOk)
        .Answer(ui::kIdOk)
        .Then([&] {
            EXPECT_EQ(m_user.Title(), kInternationalTitle);
            holder.Close();
            m_pCard->ClearRecording();
        })
        .Click(ui::kIdOk)
        .Then([&] { EXPECT_EQ(m_user.Title(), kMainTitle); })
        .Click(ui::kIdCancel);
    RunApplet();
    EXPECT_EQ(Messages(), std::vector<std::string>{kPortBusy});
    EXPECT_EQ(m_pCard->Commands(), FactoryWrite(tasim::Region::International, 1));
}

struct HelpRow {
    const char* name;
    int tab;  // -1: the profile list page
    std::uint32_t topic;
    const char* mentions;  // the topic describes the page as built
};

void PrintTo(const HelpRow& row, std::ostream* out) {
    *out << row.name;
}

class ProfileHelpTest : public ProfileSheetTest, public ::testing::WithParamInterface<HelpRow> {};

TEST_P(ProfileHelpTest, HelpShowsThePagesTopic) {
    {
        registry::Key key;
        ASSERT_EQ(
            key.Open("SOFTWARE\\Corvane\\Quilan ISDN T/A \\Directory", registry::Access::Write),
            registry::Status::Ok);
        ASSERT_EQ(key.SetString("HelpDirectory", QUILAN_HELP_DIR), registry::Status::Ok);
    }
    StartCard(tasim::Region::NorthAmerica);
    if (GetParam().tab < 0) {
        OpenProfiles();
    } else {
        OpenConfiguration(0).ChooseTab(GetParam().tab);
    }
    m_user.Press(ui::Key::F1)
        .Then([&] {
            ui::HelpViewer* viewer = ui::OpenHelpViewer();
            ASSERT_NE(viewer, nullptr);
            EXPECT_EQ(viewer->TopicNumber(), GetParam().topic);
            EXPECT_NE(viewer->TopicText().find(GetParam().mentions), std::string::npos);
            viewer->Close();
        })
        .Press(ui::Key::Escape);
    if (GetParam().tab >= 0) {
        m_user.Press(ui::Key::Escape);
    }
    m_user.Press(ui::Key::Escape);
    RunApplet();
    EXPECT_TRUE(Messages().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Pages, ProfileHelpTest,
    ::testing::Values(HelpRow{"ProfileList", -1, 0x5100, "press F2"},
                      HelpRow{"PrimaryLocation", kPrimaryTab, 0x5200, "Enable 2nd Number"},
                      HelpRow{"AlternateLocation", kAlternateTab, 0x5200,
                              "Enable Alternate Location"},
                      HelpRow{"Advanced", kAdvancedTab, 0x5400, "Billing Interval"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace profiles
