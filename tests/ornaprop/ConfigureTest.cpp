// The configuration interface and its main sheet, and the help of the cards page, run through
// the headless driver in a root of their own.
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "AppletRoot.h"
#include "ConfigureIF.h"
#include "platform/help/HelpFile.h"
#include "platform/ui/HeadlessUser.h"
#include "platform/ui/HelpViewer.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/ListView.h"
#include "platform/ui/Window.h"

namespace {

constexpr const char kMainTitle[] = "Quilan ISDN T/A Properties";
constexpr const char kBoxTitle[] = "Quilan ISDN T/A Configuration Tool";
constexpr const char kHelpFailed[] = "ERR0006 : Error occured opening the help file.";

// Runs the whole interface as the applet does.
std::int32_t RunApplet(ui::HeadlessUser& user) {
    CConfigureIF configure;
    EXPECT_EQ(configure.InitializeCfg(nullptr), 0);
    std::int32_t status = configure.StartCfg();
    EXPECT_EQ(configure.TerminateCfg(), 0);
    EXPECT_TRUE(user.ScriptDone());
    EXPECT_EQ(user.Problems(), std::vector<std::string>{});
    return status;
}

TEST(ConfigureTest, TerminateAndStartWithoutSheet) {
    CAppletRoot root;
    ui::HeadlessUser user;
    user.Then([] { ADD_FAILURE() << "something was shown"; });
    CConfigureIF configure;
    EXPECT_EQ(configure.TerminateCfg(), 0);
    EXPECT_NE(configure.StartCfg(), 0);
    EXPECT_FALSE(user.ScriptDone());
    EXPECT_TRUE(user.MessageBoxes().empty());
    EXPECT_EQ(configure.TerminateCfg(), 0);
}

TEST(ConfigureTest, MainSheetHoldsOnlyTheCardsPageWithoutApply) {
    CAppletRoot root;
    auto card = root.Card("COM2");
    ui::HeadlessUser user;
    user.WaitUntil([&] { return user.Title() == kMainTitle && user.Items(1009).size() == 1; })
        .Then([&] {
            EXPECT_EQ(user.Tabs(), std::vector<std::string>{"General"});
            EXPECT_FALSE(user.Has(ui::kIdApply));
            for (int button : {ui::kIdOk, ui::kIdCancel, ui::kIdHelpButton}) {
                EXPECT_TRUE(user.IsEnabled(button)) << button;
            }
            struct Row {
                int id;
                ui::WindowKind kind;
                const char* text;
            };
            for (const Row& row : {
                     Row{1008, ui::WindowKind::Icon, ""},
                     Row{1009, ui::WindowKind::ListView, ""},
                     Row{1004, ui::WindowKind::PushButton, "&Refresh"},
                     Row{1003, ui::WindowKind::PushButton, "&Properties"},
                     Row{1087, ui::WindowKind::GroupBox, "Profile Properties"},
                     Row{1002, ui::WindowKind::PushButton, "Pr&ofile Properties"},
                 }) {
                SCOPED_TRACE(row.id);
                ui::Window* control = user.Find(row.id);
                ASSERT_NE(control, nullptr);
                EXPECT_EQ(control->Kind(), row.kind);
                EXPECT_EQ(control->Text(), row.text);
            }
            EXPECT_EQ(user.Items(1009),
                      std::vector<std::string>{"Corvane Quilan ISDN T/A ( COM2 )"});
            auto* list = dynamic_cast<ui::ListView*>(user.Find(1009));
            ASSERT_NE(list, nullptr);
            EXPECT_FALSE(list->HasHeader());
            ASSERT_EQ(list->Columns().size(), 1u);
            EXPECT_EQ(list->Columns()[0].width, 35 * ui::kBaseUnitX);
            ASSERT_NE(list->Images(), nullptr);
            EXPECT_EQ(list->Images()->Count(), 2);
            EXPECT_EQ(list->ItemImage(0), 0);
        })
        .Click(ui::kIdOk);
    EXPECT_EQ(RunApplet(user), 0);
}

struct MissingHelp {
    const char* name;
    bool bDirectoryKey;
    std::vector<std::string> values;
};

void PrintTo(const MissingHelp& row, std::ostream* out) {
    *out << row.name;
}

class HelpMissingTest : public ::testing::TestWithParam<MissingHelp> {};

TEST_P(HelpMissingTest, ShowsErr0006AndTheSheetStays) {
    CAppletRoot root(GetParam().values, GetParam().bDirectoryKey);
    ui::HeadlessUser user(ui::HeadlessUser::Clock::Manual);
    user.Click(ui::kIdHelpButton)
        .Answer(ui::kIdOk)
        .Then([&] {
            EXPECT_EQ(user.Title(), kMainTitle);
            EXPECT_EQ(ui::OpenHelpViewer(), nullptr);
            ASSERT_EQ(user.MessageBoxes().size(), 1u);
            const ui::MessageBoxRequest& box = user.MessageBoxes()[0].request;
            EXPECT_EQ(box.text, kHelpFailed);
            EXPECT_EQ(box.title, kBoxTitle);
            EXPECT_EQ(box.buttons, ui::Buttons::Ok);
            EXPECT_EQ(box.icon, ui::Icon::Exclamation);
        })
        .Press(ui::Key::F1)
        .Answer(ui::kIdOk)
        .Then([&] { EXPECT_EQ(user.MessageBoxes().size(), 2u) << "F1 is Help too"; })
        .Click(ui::kIdCancel);
    EXPECT_EQ(RunApplet(user), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, HelpMissingTest,
    ::testing::Values(
        MissingHelp{"NoDirectoryKey", false, {}},
        MissingHelp{"NoHelpDirectoryValue", true, {"\"ElmDirectory\"=\"/tmp/\""}},
        // 260 bytes hold at most 259 characters and the terminating zero.
        MissingHelp{
            "HelpDirectoryTooLong", true, {"\"HelpDirectory\"=\"/" + std::string(259, 'h') + "\""}},
        MissingHelp{"NoHelpFileThere", true, {"\"HelpDirectory\"=\"/nonexistent/\""}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HelpTest, HelpButtonShowsTheCardsTopic) {
    CAppletRoot root({std::string("\"HelpDirectory\"=\"") + QUILAN_HELP_DIR + "\""});
    ui::HeadlessUser user(ui::HeadlessUser::Clock::Manual);
    user.Click(ui::kIdHelpButton)
        .Then([&] {
            ui::HelpViewer* viewer = ui::OpenHelpViewer();
            ASSERT_NE(viewer, nullptr);
            EXPECT_EQ(viewer->TopicNumber(), 0x5000u);
            EXPECT_EQ(viewer->File(), std::filesystem::path(QUILAN_HELP_DIR) / "QLN_CPL.HLP");
            EXPECT_NE(viewer->TopicText().find("Detecting Cards"), std::string::npos);
            EXPECT_EQ(std::filesystem::current_path(),
                      std::filesystem::path(QUILAN_HELP_DIR).parent_path())
                << "the help directory becomes the current directory";
            EXPECT_TRUE(user.MessageBoxes().empty());
            viewer->Close();
        })
        .Click(ui::kIdCancel);
    EXPECT_EQ(RunApplet(user), 0);
}

// After help, asked for by key or by button, the control the user was on has the focus again.
TEST(HelpTest, FocusGoesBackToTheCardListAfterHelp) {
    CAppletRoot root({std::string("\"HelpDirectory\"=\"") + QUILAN_HELP_DIR + "\""});
    auto card = root.Card("COM2");
    ui::HeadlessUser user;
    auto closeHelp = [&] {
        ui::HelpViewer* viewer = ui::OpenHelpViewer();
        ASSERT_NE(viewer, nullptr);
        viewer->Close();
        EXPECT_EQ(user.FocusId(), 1009);
    };
    user.WaitUntil([&] { return user.Title() == kMainTitle && user.Items(1009).size() == 1; })
        .Then([&] { EXPECT_EQ(user.FocusId(), 1009); })
        .Press(ui::Key::F1)
        .Then(closeHelp)
        .Click(ui::kIdHelpButton)
        .Then(closeHelp)
        .Click(ui::kIdCancel);
    EXPECT_EQ(RunApplet(user), 0);
}

// The help file the build places for the installation has a topic for every page.
TEST(HelpTest, HelpFileHasATopicForEveryPage) {
    for (std::uint32_t number : {0x5000u, 0x5100u, 0x5200u, 0x5300u, 0x5400u}) {
        SCOPED_TRACE(number);
        help::Topic topic;
        ASSERT_EQ(help::FindHelpTopic(std::filesystem::path(QUILAN_HELP_DIR) / "QLN_CPL.HLP",
                                      number, topic),
                  help::Status::Ok);
        EXPECT_FALSE(topic.title.empty());
        EXPECT_FALSE(topic.text.empty());
    }
}

}  // namespace
