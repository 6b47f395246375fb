// The "Card Properties" page against emulated adapters: what it shows, Download, the region
// change with the standard firmware files, and what it does when the card or the registry fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "AppletRoot.h"
#include "ConfigureIF.h"
#include "platform/ui/HeadlessUser.h"
#include "platform/ui/Window.h"

namespace {

constexpr int kList = 1009;
constexpr int kProperties = 1003;
constexpr int kPort = 1001;
constexpr int kVersion = 1040;
constexpr int kDownload = 1042;
constexpr int kRegion = 1093;
constexpr int kFileName = 1002;  // in the download's file dialog
constexpr int kInternational = 0;
constexpr int kNorthAmerica = 1;
constexpr char kStandardVersion[] = "3.11.02";

constexpr char kUnreadable[] =
    "ERR0003 : Error occured retrieving configuration information from the Quilan ISDN T/A.";
constexpr char kNotStarted[] = "ERR0012 : Error occured initializing the firmware download.";
constexpr char kNoDirectory[] =
    "ERR0017 : Error occured retrieving the ELM file location from the registry.";
constexpr char kChange[] =
    "WARN0003 : You are about to change the firmware on the card.\n All currently stored "
    "profiles will be lost. Proceed ?";
constexpr char kDone[] =
    "WARN006 : The download of the firmware has completed successfully. Please check your "
    "profile configurations as they may not have been preserved across different versions of "
    "firmware.";
constexpr char kTimeout[] =
    "ERR0015 : Timeout occured waiting for response from the Quilan ISDN T/A.";
constexpr char kAdapterError[] =
    "ERR0016 : Error occured on the Quilan ISDN T/A during download.\nDownload aborted.";
constexpr char kOpenFailed[] = "ERR0013 : Error occured opening the specified ELM file.";

std::string ElmDirectoryLine(const std::string& directory) {
    return "\"ElmDirectory\"=\"" + directory + "\"";
}

const std::string kStandardDirectory = QUILAN_ELM_DIR;

// The applet with a script that opens "Card Properties" for the first listed card.
void RunCardPage(ui::HeadlessUser& user, const std::function<void()>& onPage,
                 std::size_t cards = 1) {
    user.WaitUntil([&user, cards] { return user.Items(kList).size() == cards; }).Click(kProperties);
    onPage();
    CConfigureIF configure;
    ASSERT_EQ(configure.InitializeCfg(nullptr), 0);
    configure.StartCfg();
    configure.TerminateCfg();
    EXPECT_TRUE(user.ScriptDone());
    EXPECT_EQ(user.Problems(), std::vector<std::string>{});
}

std::vector<std::string> Boxes(const ui::HeadlessUser& user) {
    std::vector<std::string> texts;
    for (const auto& box : user.MessageBoxes()) {
        texts.push_back(box.request.text);
    }
    return texts;
}

int Count(const tasim::Adapter& card, const std::string& command) {
    auto commands = card.Commands();
    return static_cast<int>(std::count(commands.begin(), commands.end(), command));
}

TEST(CardPageTest, ShowsPortVersionAndRegionAndLocksOldFirmware) {
    CAppletRoot root({ElmDirectoryLine(kStandardDirectory)});
    auto card = root.Card("COM2", CardConfig("3.01.05", tasim::Region::International));
    ui::HeadlessUser user;
    RunCardPage(user, [&] {
        user.Then([&] {
                EXPECT_EQ(user.Title(), "Card Properties");
                EXPECT_EQ(user.Text(kPort), "COM2");
                EXPECT_EQ(user.Text(kVersion), "3.01.05");
                EXPECT_EQ(user.Items(kRegion),
                          (std::vector<std::string>{"International (Excl. North America)",
                                                    "North America"}));
                EXPECT_EQ(user.Selection(kRegion), kInternational);
                EXPECT_FALSE(user.IsEnabled(kDownload));
                EXPECT_FALSE(user.IsEnabled(kRegion));
            })
            .Click(ui::kIdOk)
            .Click(ui::kIdCancel);
    });
    EXPECT_EQ(Boxes(user), std::vector<std::string>{});
    EXPECT_EQ(Count(*card, "AT$Z\r"), 0);
}

TEST(CardPageTest, ChoosingTheCardsOwnRegionReadsTheCardAndAsksNothing) {
    CAppletRoot root({ElmDirectoryLine(kStandardDirectory)});
    auto card = root.Card("COM2");
    ui::HeadlessUser user;
    int reads = 0;
    RunCardPage(user, [&] {
        user.Then([&] {
                EXPECT_TRUE(user.IsEnabled(kDownload));
                EXPECT_EQ(user.Selection(kRegion), kNorthAmerica);
                reads = Count(*card, "ATI3\r");
            })
            .Choose(kRegion, kNorthAmerica)
            .Then([&] {
                EXPECT_EQ(Count(*card, "ATI3\r"), reads + 1);
                EXPECT_EQ(user.Selection(kRegion), kNorthAmerica);
            })
            .Click(ui::kIdCancel)
            .Click(ui::kIdCancel);
    });
    EXPECT_EQ(Boxes(user), std::vector<std::string>{});
    EXPECT_EQ(Count(*card, "AT$Z\r"), 0);
}

TEST(CardPageTest, NoToTheWarningPutsTheRegionBack) {
    CAppletRoot root({ElmDirectoryLine(kStandardDirectory)});
    auto card = root.Card("COM2");
    ui::HeadlessUser user;
    RunCardPage(user, [&] {
        user.Choose(kRegion, kInternational)
            .Answer(ui::kIdNo)
            .Then([&] { EXPECT_EQ(user.Selection(kRegion), kNorthAmerica); })
            .Click(ui::kIdCancel)
            .Click(ui::kIdCancel);
    });
    EXPECT_EQ(Boxes(user), std::vector<std::string>{kChange});
    EXPECT_EQ(Count(*card, "AT$Z\r"), 0);
}

// The folder's separator is put in where the value lacks it.
class RegionChangeTest : public ::testing::TestWithParam<std::string> {};

TEST_P(RegionChangeTest, DownloadsTheStandardFileWithoutAsking) {
    CAppletRoot root({ElmDirectoryLine(GetParam())});
    auto card = root.Card("COM2");
    ui::HeadlessUser user;
    RunCardPage(user, [&] {
        user.Choose(kRegion, kInternational)
            .Answer(ui::kIdYes)
            .Answer(ui::kIdOk)
            .Then([&] {
                EXPECT_EQ(user.Text(kVersion), kStandardVersion);
                EXPECT_EQ(user.Selection(kRegion), kInternational);
            })
            .Click(ui::kIdOk)
            .Click(ui::kIdCancel);
    });
    EXPECT_EQ(Boxes(user), (std::vector<std::string>{kChange, kDone}));
    EXPECT_TRUE(user.FileDialogs().empty());
    EXPECT_EQ(card->GetRegion(), tasim::Region::International);
    EXPECT_EQ(card->Version(), kStandardVersion);
}

INSTANTIATE_TEST_SUITE_P(ElmDirectory, RegionChangeTest,
                         ::testing::Values(kStandardDirectory,
                                           kStandardDirectory.substr(0, kStandardDirectory.size() -
                                                                            1)));

struct DirectoryCase {
    const char* name;
    std::vector<std::string> directoryValues;
    std::vector<std::string> boxes;
};

void PrintTo(const DirectoryCase& c, std::ostream* out) {
    *out << c.name;
}

class RegionDirectoryTest : public ::testing::TestWithParam<DirectoryCase> {};

TEST_P(RegionDirectoryTest, WithoutTheStandardFileNothingIsDownloaded) {
    CAppletRoot root(GetParam().directoryValues);
    auto card = root.Card("COM2");
    ui::HeadlessUser user;
    RunCardPage(user, [&] {
        user.Choose(kRegion, kInternational).Answer(ui::kIdYes);
        for (std::size_t i = 0; i < GetParam().boxes.size(); ++i) {
            user.Answer(ui::kIdOk);
        }
        user.Then([&] { EXPECT_EQ(user.Selection(kRegion), kNorthAmerica); })
            .Click(ui::kIdCancel)
            .Click(ui::kIdCancel);
    });
    std::vector<std::string> boxes = {kChange};
    boxes.insert(boxes.end(), GetParam().boxes.begin(), GetParam().boxes.end());
    EXPECT_EQ(Boxes(user), boxes);
    EXPECT_EQ(Count(*card, "AT$Z\r"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, RegionDirectoryTest,
    ::testing::Values(DirectoryCase{"NoValue", {"\"HelpDirectory\"=\"/x/\""}, {kNoDirectory}},
                      DirectoryCase{"EmptyValue", {ElmDirectoryLine("")}, {kNoDirectory}},
                      DirectoryCase{"FolderWithoutTheFile",
                                    {ElmDirectoryLine("/nonexistent/")},
                                    {kOpenFailed, kOpenFailed, kNotStarted}}),
    [](const ::testing::TestParamInfo<DirectoryCase>& info) { return info.param.name; });

TEST(CardPageTest, NoDirectoryKeyAtAll) {
    CAppletRoot root({}, false);
    auto card = root.Card("COM2");
    ui::HeadlessUser user;
    RunCardPage(user, [&] {
        user.Choose(kRegion, kInternational)
            .Answer(ui::kIdYes)
            .Answer(ui::kIdOk)
            .Then([&] { EXPECT_EQ(user.Selection(kRegion), kNorthAmerica); })
            .Click(ui::kIdCancel)
            .Click(ui::kIdCancel);
    });
    EXPECT_EQ(Boxes(user), (std::vector<std::string>{kChange, kNoDirectory}));
}

TEST(CardPageTest, DownloadOffersTheStandardFileAndCancelRereadsTheCard) {
    CAppletRoot root({ElmDirectoryLine(kStandardDirectory)});
    auto card = root.Card("COM2");
    ui::HeadlessUser user;
    int reads = 0;
    RunCardPage(user, [&] {
        user.Then([&] { reads = Count(*card, "ATI3\r"); })
            .Click(kDownload)
            .Then([&] {
                EXPECT_EQ(user.Title(), "Download");
                EXPECT_EQ(user.Text(kFileName), kStandardDirectory + "ROM0NA.ELM");
            })
            .Click(ui::kIdCancel)
            .Then([&] {
                EXPECT_EQ(user.Title(), "Card Properties");
                EXPECT_EQ(Count(*card, "ATI3\r"), reads + 1);
            })
            .Click(ui::kIdCancel)
            .Click(ui::kIdCancel);
    });
    EXPECT_EQ(Boxes(user), std::vector<std::string>{});
}

TEST(CardPageTest, GoodDownloadShowsTheNewVersion) {
    CAppletRoot root({ElmDirectoryLine(kStandardDirectory)});
    auto card = root.Card("COM2");
    ui::HeadlessUser user;
    RunCardPage(user, [&] {
        user.Click(kDownload)
            .Click(ui::kIdOk)    // Download, with the offered name
            .Answer(ui::kIdYes)  // WARN0005: another version
            .Answer(ui::kIdOk)   // WARN006
            .Then([&] {
                EXPECT_EQ(user.Title(), "Card Properties");
                EXPECT_EQ(user.Text(kVersion), kStandardVersion);
            })
            .Click(ui::kIdOk)
            .Click(ui::kIdCancel);
    });
    std::vector<std::string> boxes = Boxes(user);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].substr(0, 9), "WARN0005 ");
    EXPECT_EQ(boxes[1], kDone);
    EXPECT_EQ(user.MessageBoxes()[1].request.icon, ui::Icon::Information);
    EXPECT_EQ(card->Version(), kStandardVersion);
}

// A failed download leaves the list on the card's region, shows no success, and holds nothing:
// the sheet opens again at once.
TEST(CardPageTest, FailedRegionChangeKeepsTheRegionAndFreesThePort) {
    CAppletRoot root({ElmDirectoryLine(kStandardDirectory)});
    tasim::Config config;
    config.faults.cancelAtBlock = 2;
    auto card = root.Card("COM2", config);
    ui::HeadlessUser user;
    RunCardPage(user, [&] {
        user.Choose(kRegion, kInternational)
            .Answer(ui::kIdYes)
            .Answer(ui::kIdOk)  // ERR0016
            .Then([&] { EXPECT_EQ(user.Selection(kRegion), kNorthAmerica); })
            .Click(ui::kIdCancel)
            .Click(kProperties)
            .Then([&] { EXPECT_EQ(user.Text(kVersion), "3.10.05"); })
            .Click(ui::kIdCancel)
            .Click(ui::kIdCancel);
    });
    EXPECT_EQ(Boxes(user), (std::vector<std::string>{kChange, kAdapterError}));
    EXPECT_EQ(card->Version(), "3.10.05");
}

// Timed out, the adapter is left in its loader and no longer answers the queries: the page
// says so and keeps what it showed, the region list included.
TEST(CardPageTest, TimedOutRegionChangeKeepsThePagesValues) {
    CAppletRoot root({ElmDirectoryLine(kStandardDirectory)});
    tasim::Config config;
    config.faults.noAnswer.text = "$Load";
    auto card = root.Card("COM2", config);
    ui::HeadlessUser user;
    RunCardPage(user, [&] {
        user.Choose(kRegion, kInternational)
            .Answer(ui::kIdYes)
            .Answer(ui::kIdOk)  // ERR0015
            .Answer(ui::kIdOk)  // ERR0003
            .Then([&] {
                EXPECT_EQ(user.Selection(kRegion), kNorthAmerica);
                EXPECT_EQ(user.Text(kVersion), "3.10.05");
            })
            .Click(ui::kIdCancel)
            .Click(ui::kIdCancel);
    });
    EXPECT_EQ(Boxes(user), (std::vector<std::string>{kChange, kTimeout, kUnreadable}));
}

TEST(CardPageTest, CardThatStoppedAnsweringOpensNoSheet) {
    CAppletRoot root({ElmDirectoryLine(kStandardDirectory)});
    auto card = root.Card("COM2");
    ui::HeadlessUser user;
    user.WaitUntil([&user] { return user.Items(kList).size() == 1; })
        .Then([&] {
            tasim::Faults mute;
            mute.mute = true;
            card->SetFaults(mute);
        })
        .Click(kProperties)
        .Answer(ui::kIdOk)
        .Then([&] { EXPECT_EQ(user.Title(), "Quilan ISDN T/A Properties"); })
        .Click(ui::kIdCancel);
    CConfigureIF configure;
    ASSERT_EQ(configure.InitializeCfg(nullptr), 0);
    configure.StartCfg();
    configure.TerminateCfg();
    EXPECT_EQ(Boxes(user), std::vector<std::string>{kUnreadable});
    EXPECT_EQ(user.Problems(), std::vector<std::string>{});
}

}  // namespace
