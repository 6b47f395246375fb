#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "FormDialog.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/HeadlessUser.h"
#include "platform/ui/HelpViewer.h"
#include "platform/ui/MessageBox.h"

namespace {

namespace fs = std::filesystem;

TEST(MessageBox, TitledWithTheCallersLibraryWithTheOverviewsIcons) {
    struct Row {
        const ui::Module& module;
        unsigned type;
        int answer;
        const char* title;
        ui::Buttons buttons;
        ui::Icon icon;
        int defaultButton;
    };
    const Row rows[] = {
        {test::Library(), ui::kOk, ui::kIdOk, "Test Library", ui::Buttons::Ok,
         ui::Icon::Exclamation, ui::kIdOk},
        {test::OtherLibrary(), ui::kOk, ui::kIdOk, "Other Library", ui::Buttons::Ok,
         ui::Icon::Exclamation, ui::kIdOk},
        {test::Library(), ui::kYesNo, ui::kIdNo, "Test Library", ui::Buttons::YesNo,
         ui::Icon::Question, ui::kIdYes},
        {test::OtherLibrary(), ui::kYesNo | ui::kDefaultButton2, ui::kIdYes, "Other Library",
         ui::Buttons::YesNo, ui::Icon::Question, ui::kIdNo},
        {test::Library(), ui::kOk | ui::kIconInformation, ui::kIdOk, "Test Library",
         ui::Buttons::Ok, ui::Icon::Information, ui::kIdOk},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.title) + " type " + std::to_string(row.type));
        ui::HeadlessUser user;
        user.Answer(row.answer);
        EXPECT_EQ(ui::MessageBox(row.module, 10, row.type), row.answer);
        ASSERT_EQ(user.MessageBoxes().size(), 1u);
        const ui::MessageBoxRequest& box = user.MessageBoxes()[0].request;
        EXPECT_EQ(box.title, row.title);
        EXPECT_EQ(box.text, row.module.String(10));  // from the caller's own string table
        EXPECT_EQ(box.buttons, row.buttons);
        EXPECT_EQ(box.icon, row.icon);
        EXPECT_EQ(box.defaultButton, row.defaultButton);
        EXPECT_TRUE(user.Problems().empty());
    }
}

TEST(MessageBox, AnAnswerTheBoxDoesNotHaveIsReported) {
    ui::HeadlessUser user;
    user.Answer(ui::kIdYes).Then([] {});
    EXPECT_EQ(ui::MessageBoxText(test::Library(), "Only OK"), ui::kIdOk);  // the default
    ASSERT_EQ(user.Problems().size(), 1u);
    EXPECT_NE(user.Problems()[0].find("Only OK"), std::string::npos);
    // A box the script did not expect while other steps remain.
    EXPECT_EQ(ui::MessageBoxText(test::Library(), "Unexpected", ui::kYesNo), ui::kIdYes);
    ASSERT_EQ(user.Problems().size(), 2u);
    EXPECT_NE(user.Problems()[1].find("unexpected message box \"Unexpected\""), std::string::npos);
    EXPECT_FALSE(user.MessageBoxes()[1].bScripted);
}

class TempDir : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("quilan-ui-" + std::to_string(getpid()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    void Write(const std::string& name, const std::string& text) {
        std::ofstream(m_dir / name) << text;
    }
    fs::path m_dir;
};

using FileDialogTest = TempDir;

TEST_F(FileDialogTest, TheChosenFileMustExistAndGetsTheDefaultExtension) {
    Write("ROM0NA.ELM", "x");
    ui::HeadlessUser user;
    ui::FileDialog dialog("ELM", "*.elm",
                          ui::kHideReadOnly | ui::kPathMustExist | ui::kFileMustExist,
                          "ELM Files (*.elm) | *.elm ||");
    dialog.SetInitialDirectory(m_dir.string());
    user.ChooseFile("missing")
        .Answer(ui::kIdOk)
        .ChooseFile("/no/such/directory/x.elm")
        .Answer(ui::kIdOk)
        .ChooseFile("ROM0NA");
    EXPECT_EQ(dialog.DoModal(), ui::kIdOk);
    EXPECT_EQ(dialog.PathName(), (m_dir / "ROM0NA.ELM").string());
    EXPECT_TRUE(user.Problems().empty()) << user.Problems().front();
    ASSERT_EQ(user.MessageBoxes().size(), 2u);
    EXPECT_NE(user.MessageBoxes()[0].request.text.find("File not found"), std::string::npos);
    EXPECT_NE(user.MessageBoxes()[1].request.text.find("Path does not exist"), std::string::npos);
    ASSERT_EQ(user.FileDialogs().size(), 3u);
    const ui::OpenFileRequest& request = user.FileDialogs()[0];
    EXPECT_EQ(request.initialName, "*.elm");
    EXPECT_EQ(request.initialDirectory, m_dir.string());
    EXPECT_EQ(request.defaultExtension, "ELM");
    ASSERT_EQ(request.filters.size(), 1u);
    EXPECT_EQ(request.filters[0].pattern, "*.elm");
    EXPECT_TRUE(request.bFileMustExist && request.bPathMustExist && request.bHideReadOnly);
}

TEST_F(FileDialogTest, CancelGivesCancel) {
    ui::HeadlessUser user;
    ui::FileDialog dialog("ELM", "*.elm", ui::kFileMustExist, "ELM Files (*.elm) | *.elm ||");
    user.CancelFileDialog();
    EXPECT_EQ(dialog.DoModal(), ui::kIdCancel);
    EXPECT_TRUE(dialog.PathName().empty());
}

using HelpViewerTest = TempDir;

TEST_F(HelpViewerTest, ShowsATopicOrReportsAMissingOne) {
    Write("QLN_CPL.HLP",
          "Notes for the author.\n@topic 0x5000 Cards\nThe cards page.\n"
          "@topic 0x5100 Profiles\nEach card stores three profiles.\nName them.\n");
    fs::path file = m_dir / "QLN_CPL.HLP";
    ui::HeadlessUser user;
    test::FormDialog dialog;
    std::vector<bool> shown;
    dialog.onOpen = [&] {
        shown.push_back(ui::ShowHelp(&dialog, file, 0x5100));
        shown.push_back(ui::ShowHelp(&dialog, file, 0x5300));
        shown.push_back(ui::ShowHelp(&dialog, m_dir / "ABSENT.HLP", 0x5000));
    };
    user.Click(test::kOpen)
        .Then([&] {
            ui::HelpViewer* viewer = user.Help();
            ASSERT_NE(viewer, nullptr);
            EXPECT_EQ(viewer->TopicNumber(), 0x5100u);
            EXPECT_EQ(viewer->Text(), "Profiles");
            EXPECT_EQ(viewer->Item(ui::HelpViewer::kTextId)->Text(),
                      "Each card stores three profiles.\nName them.");
            EXPECT_EQ(viewer->Owner(), &dialog);
            viewer->Close();
            EXPECT_EQ(user.Help(), nullptr);
        })
        .Press(ui::Key::Escape);
    dialog.DoModal();
    EXPECT_EQ(shown, (std::vector<bool>{true, false, false}));
    EXPECT_TRUE(user.Problems().empty());
}

TEST(Unattended, MessageBoxesTakeTheirDefaultAndGoToStandardErrorOnOneLine) {
    setenv("QUILAN_FRONTEND", "headless", 1);
    int answer = 0;
    int fileAnswer = 0;
    int code = 0;
    testing::internal::CaptureStderr();
    // A thread of its own: no headless script there, so the process's front end runs it.
    std::thread([&] {
        class Asking : public test::FormDialog {
          public:
            int* answer;
            int* fileAnswer;

          protected:
            bool OnInitDialog() override {
                SetTimer(1, 100);
                return FormDialog::OnInitDialog();
            }
            void OnTimer(std::uint32_t) override {
                KillTimer(1);
                *answer = ui::MessageBoxText(
                    test::Library(), "WARN0003 : You are about to change.\n Proceed ?", ui::kYesNo);
                ui::FileDialog files("ELM", "*.elm", ui::kFileMustExist, "");
                *fileAnswer = files.DoModal();
                EndDialog(5);
            }
        };
        Asking dialog;
        dialog.answer = &answer;
        dialog.fileAnswer = &fileAnswer;
        code = dialog.DoModal();
    }).join();
    std::string text = testing::internal::GetCapturedStderr();
    EXPECT_EQ(code, 5);
    EXPECT_EQ(answer, ui::kIdYes);
    EXPECT_EQ(fileAnswer, ui::kIdCancel);
    EXPECT_EQ(text, "WARN0003 : You are about to change.  Proceed ?\n");
}

}  // namespace
