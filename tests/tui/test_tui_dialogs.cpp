// The terminal's own dialogs, run as a user would: message boxes and the file-open dialog.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "TuiTestKit.h"
#include "platform/tui/FileOpenDialog.h"
#include "platform/tui/MessageBoxDialog.h"
#include "platform/ui/HeadlessUser.h"
#include "platform/ui/Window.h"

namespace {

using namespace tuitest;
namespace fs = std::filesystem;

ui::MessageBoxRequest Request(ui::Buttons buttons, ui::Icon icon, int defaultButton) {
    ui::MessageBoxRequest request;
    request.title = "Quilan ISDN T/A Configuration Tool";
    request.text = "ERR0006 : Error occured opening the help file.";
    request.buttons = buttons;
    request.icon = icon;
    request.defaultButton = defaultButton;
    return request;
}

TEST(MessageBox, LooksLikeABoxWithItsIconTextAndButtons) {
    ui::MessageBoxRequest request = Request(ui::Buttons::YesNo, ui::Icon::Question, ui::kIdNo);
    request.text =
        "WARN0002 : Please select a Quilan ISDN T/A from the list of installed cards "
        "before pressing the button & going on.";
    Painted painted;
    ui::HeadlessUser user;
    user.Then([&] {
            Paint(painted, {user.Active()});
            ui::CellRect frame = tui::Painter::FrameOf(*user.Active(), 80, 24);
            EXPECT_LE(frame.columns, 80);
            std::vector<std::string> box = painted.Block(frame);
            EXPECT_NE(box[0].find("- Quilan ISDN T/A Configuration Tool -"), std::string::npos)
                << painted.text;
            EXPECT_EQ(box[0].find("[x]"), std::string::npos);  // a question needs an answer
            EXPECT_NE(box[2].find("|  /---\\  WARN0002 : Please select"), std::string::npos)
                << painted.text;
            EXPECT_NE(box[3].find("|  | ? |  installed cards"), std::string::npos) << painted.text;
            EXPECT_NE(painted.text.find("pressing the button & going on."), std::string::npos)
                << painted.text;
            EXPECT_NE(painted.text.find("[ Yes ]"), std::string::npos) << painted.text;
            EXPECT_NE(painted.text.find("< No >"), std::string::npos) << painted.text;
            EXPECT_EQ(user.FocusId(), ui::kIdNo);
        })
        .Press(ui::Key::Enter);
    EXPECT_EQ(tui::MessageBoxDialog(request).Run(), ui::kIdNo);
    EXPECT_TRUE(user.Problems().empty());
}

TEST(MessageBox, AnswersTable) {
    struct Row {
        const char* what;
        ui::Buttons buttons;
        int defaultButton;
        std::function<void(ui::HeadlessUser&)> act;
        int expected;
    };
    const Row rows[] = {
        {"ok by enter", ui::Buttons::Ok, ui::kIdOk,
         [](ui::HeadlessUser& u) { u.Press(ui::Key::Enter); }, ui::kIdOk},
        {"ok box escape", ui::Buttons::Ok, ui::kIdOk,
         [](ui::HeadlessUser& u) { u.Press(ui::Key::Escape); }, ui::kIdCancel},
        {"ok-cancel escape", ui::Buttons::OkCancel, ui::kIdOk,
         [](ui::HeadlessUser& u) { u.Press(ui::Key::Escape); }, ui::kIdCancel},
        {"ok-cancel click cancel", ui::Buttons::OkCancel, ui::kIdOk,
         [](ui::HeadlessUser& u) { u.Click(ui::kIdCancel); }, ui::kIdCancel},
        {"yes-no enter on yes", ui::Buttons::YesNo, ui::kIdYes,
         [](ui::HeadlessUser& u) { u.Press(ui::Key::Enter); }, ui::kIdYes},
        {"yes-no escape", ui::Buttons::YesNo, ui::kIdYes,
         [](ui::HeadlessUser& u) { u.Press(ui::Key::Escape); }, ui::kIdNo},
        {"yes-no alt-n", ui::Buttons::YesNo, ui::kIdYes,
         [](ui::HeadlessUser& u) { u.PressAlt('n'); }, ui::kIdNo},
        {"yes-no tab then space", ui::Buttons::YesNo, ui::kIdYes,
         [](ui::HeadlessUser& u) { u.Press(ui::Key::Tab).Press(ui::Key::Space); }, ui::kIdNo},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ui::HeadlessUser user;
        row.act(user);
        EXPECT_EQ(
            tui::MessageBoxDialog(Request(row.buttons, ui::Icon::Exclamation, row.defaultButton))
                .Run(),
            row.expected);
        EXPECT_TRUE(user.Problems().empty());
    }
}

TEST(MessageBox, EveryIconIsDrawnAndNoneLeavesRoomForText) {
    for (ui::Icon icon :
         {ui::Icon::Stop, ui::Icon::Question, ui::Icon::Exclamation, ui::Icon::Information}) {
        ui::Image image = tui::MessageBoxIcon(icon);
        EXPECT_EQ(image.rows.size(), 3u);
        for (const std::string& row : image.rows) {
            EXPECT_EQ(row.size(), 5u);
        }
    }
    ui::DialogTemplate plain =
        tui::MessageBoxTemplate(Request(ui::Buttons::Ok, ui::Icon::None, ui::kIdOk));
    for (const ui::ControlTemplate& line : plain.controls) {
        EXPECT_NE(line.kind, ui::ControlKind::Icon);
        if (line.id == tui::kMessageTextId) {
            EXPECT_EQ(ui::DialogUnitsToCells(line.rect).column, 2);
        }
    }
}

TEST(MessageBox, LongTextStillFitsTheTerminal) {
    ui::MessageBoxRequest request = Request(ui::Buttons::OkCancel, ui::Icon::Stop, ui::kIdOk);
    request.text.clear();
    for (int i = 0; i < 100; ++i) {
        request.text += "word" + std::to_string(i) + " ";
    }
    request.text += "\nsecond paragraph";
    ui::DialogTemplate box = tui::MessageBoxTemplate(request);
    ui::CellRect cells = ui::DialogUnitsToCells({0, 0, box.cx, box.cy});
    EXPECT_LE(cells.columns + 2, 80);
    EXPECT_LE(cells.rows + 2, 24);
}

class FileDialog : public ::testing::Test {
  protected:
    void SetUp() override {
        root = fs::temp_directory_path() / ("tui-files-" + std::to_string(getpid()));
        fs::create_directories(root / "sub");
        for (const char* name : {"ROM0NA.ELM", "b.elm", "notes.txt", ".hidden.elm"}) {
            std::ofstream(root / name) << "x";
        }
        std::ofstream(root / "sub" / "d.elm") << "x";
        request.title = "Open";
        request.filters = {{"ELM Files (*.elm)", "*.elm"}, {"All (*.*)", "*.*"}};
        request.defaultExtension = "ELM";
        request.initialName = "*.elm";
        request.initialDirectory = root.string();
    }
    void TearDown() override { fs::remove_all(root); }

    fs::path root;
    ui::OpenFileRequest request;
};

TEST_F(FileDialog, ListsFoldersAndMatchingFilesLetterCaseIgnored) {
    EXPECT_EQ(tui::FolderEntries(root, "*.elm"),
              (std::vector<std::string>{"../", "sub/", "ROM0NA.ELM", "b.elm"}));
    EXPECT_EQ(tui::FolderEntries(root, "*.txt;*.ELM"),
              (std::vector<std::string>{"../", "sub/", "ROM0NA.ELM", "b.elm", "notes.txt"}));
    EXPECT_EQ(tui::FolderEntries("/", "*.nothing").front(), "bin/");  // no ".." at the root
    EXPECT_EQ(tui::FolderEntries(root / "absent", "*"), std::vector<std::string>{"../"});
}

TEST_F(FileDialog, DoubleClickEntersAFolderAndChoosesAFile) {
    ui::HeadlessUser user;
    user.Then([&] {
            EXPECT_EQ(user.Text(tui::kFolderTextId), root.string());
            EXPECT_EQ(user.Items(tui::kFileListId),
                      (std::vector<std::string>{"../", "sub/", "ROM0NA.ELM", "b.elm"}));
            EXPECT_EQ(user.Text(tui::kFileNameId), "*.elm");
            EXPECT_EQ(user.FocusId(), tui::kFileNameId);
            EXPECT_EQ(user.Title(), "Open");
        })
        .DoubleClickItem(tui::kFileListId, 1)
        .Then([&] {
            EXPECT_EQ(user.Text(tui::kFolderTextId), (root / "sub").string());
            EXPECT_EQ(user.Items(tui::kFileListId), (std::vector<std::string>{"../", "d.elm"}));
        })
        .DoubleClickItem(tui::kFileListId, 0)
        .Then([&] { EXPECT_EQ(user.Text(tui::kFolderTextId), root.string()); })
        .ClickItem(tui::kFileListId, 2)
        .Then([&] { EXPECT_EQ(user.Text(tui::kFileNameId), "ROM0NA.ELM"); })
        .DoubleClickItem(tui::kFileListId, 3);
    tui::FileOpenDialog dialog(request);
    ASSERT_TRUE(dialog.Run());
    EXPECT_EQ(dialog.Chosen(), (root / "b.elm").string());
    EXPECT_TRUE(user.Problems().empty());
}

TEST_F(FileDialog, TypedNamesPatternsAndTypes) {
    ui::HeadlessUser user;
    user.Type(tui::kFileNameId, "*.txt")
        .Press(ui::Key::Enter)
        .Then([&] {
            EXPECT_EQ(user.Items(tui::kFileListId),
                      (std::vector<std::string>{"../", "sub/", "notes.txt"}));
        })
        .Choose(tui::kFileTypeId, 0)
        .Then([&] { EXPECT_EQ(user.Items(tui::kFileListId).size(), 4u); })
        .Type(tui::kFileNameId, "sub")
        .Click(ui::kIdOk)
        .Then([&] { EXPECT_EQ(user.Text(tui::kFolderTextId), (root / "sub").string()); })
        .Type(tui::kFileNameId, "new")
        .Press(ui::Key::Enter);
    tui::FileOpenDialog dialog(request);
    ASSERT_TRUE(dialog.Run());
    // Relative to the folder shown; the toolkit adds the extension and checks it exists.
    EXPECT_EQ(dialog.Chosen(), (root / "sub" / "new").string());
    EXPECT_TRUE(user.Problems().empty());
}

TEST_F(FileDialog, CancelChoosesNothing) {
    ui::HeadlessUser user;
    user.Press(ui::Key::Escape);
    tui::FileOpenDialog dialog(request);
    EXPECT_FALSE(dialog.Run());
    EXPECT_TRUE(dialog.Chosen().empty());
}

TEST_F(FileDialog, FitsTheTerminal) {
    ui::HeadlessUser user;
    Painted painted;
    user.Then([&] {
            ui::CellRect frame = tui::Painter::FrameOf(*user.Active(), 80, 24);
            EXPECT_LE(frame.columns, 80);
            EXPECT_LE(frame.rows, 24);
            Paint(painted, {user.Active()});
            EXPECT_NE(painted.text.find("ROM0NA.ELM"), std::string::npos) << painted.text;
            EXPECT_NE(painted.text.find("[ELM Files (*.elm)"), std::string::npos);
            EXPECT_NE(painted.text.find("< Open >"), std::string::npos);
        })
        .Press(ui::Key::Escape);
    tui::FileOpenDialog(request).Run();
}

}  // namespace
