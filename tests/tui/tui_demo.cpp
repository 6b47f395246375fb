// A small program that shows a property sheet with every kind of control in the terminal, for
// trying the terminal front end by hand and for the test that runs it in a pseudo-terminal.
//
//   tui_demo            the sheet; exits 0 after OK, 3 after Cancel
//   tui_demo --message  a message box only; exits with the button chosen
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/sys/Time.h"
#include "platform/tui/TemplateCells.h"
#include "platform/ui/Button.h"
#include "platform/ui/DropDownList.h"
#include "platform/ui/Edit.h"
#include "platform/ui/FileDialog.h"
#include "platform/ui/HelpViewer.h"
#include "platform/ui/ImageList.h"
#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ProgressBar.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/Static.h"
#include "platform/ui/UpDown.h"
#include "platform/ui/WaitCursor.h"

namespace {

using tui::Cells;
using tui::Line;
using ui::ControlKind;
namespace style = ui::style;

constexpr std::uint32_t kCardsPage = 1;
constexpr std::uint32_t kDownloadPage = 2;
constexpr std::uint32_t kCardIcon = 142;
constexpr std::uint32_t kFirstFrame = 200;
constexpr int kFrames = 12;

enum : int {
    kList = 1009,
    kRefresh = 1004,
    kMessage = 1005,
    kBrowse = 1006,
    kWait = 1007,
    kName = 1010,
    kDefault = 1011,
    kSwitch = 1012,
    kPicture = 2003,
    kProgress = 2000,
    kTimeLine = 2001,
    kRetries = 2010,
};

// A sheet of paper flying from a folder to a card, as characters.
ui::Image Frame(int index) {
    std::vector<std::string> rows(4, std::string(46, ' '));
    rows[2].replace(0, 6, " ____ ");
    rows[3].replace(0, 6, "|____|");
    rows[2].replace(38, 8, " ______ ");
    rows[3].replace(38, 8, "[=CARD=]");
    double t = static_cast<double>(index) / (kFrames - 1);
    int column = 2 + static_cast<int>(t * 38);
    int row = 2 - static_cast<int>(std::lround(2 * std::sin(t * 3.14159265)));
    rows[row].replace(column, 2, "[]");
    return {272, 60, rows};
}

const ui::Module& DemoModule() {
    static const ui::Module* module = [] {
        auto* m = new ui::Module("tui_demo");
        m->AddStrings({{ui::kTitleString, "Quilan ISDN T/A Configuration Tool"}});
        m->AddIcon(134, {32, 16, {".----.", "|####|"}});
        m->AddIcon(kCardIcon, {16, 16, {"[==]"}});
        for (int i = 0; i < kFrames; ++i) {
            m->AddPicture(kFirstFrame + i, Frame(i));
        }
        ui::DialogTemplate cards;
        cards.id = kCardsPage;
        cards.title = "General";
        cards.cx = 70 * ui::kBaseUnitX;
        cards.cy = 16 * ui::kBaseUnitY;
        ui::ControlTemplate icon = Line(ControlKind::Icon, -1, "", Cells(1, 0, 6, 2));
        icon.resource = 134;
        ui::ControlTemplate switches =
            Line(ControlKind::DropDownList, kSwitch, "", Cells(10, 11, 30, 5));
        switches.initialData = {"National ISDN-1", "AT&T 5ESS", "Northern Telecom DMS-100"};
        cards.controls = {
            icon,
            Line(ControlKind::Text, -1,
                 "The following Quilan ISDN T/A cards are installed on this computer.",
                 Cells(8, 0, 60, 2)),
            Line(ControlKind::ListView, kList, "", Cells(1, 2, 50, 6),
                 style::kReportView | style::kSingleSelection | style::kNoColumnHeader |
                     style::kAlignLeft | style::kEditLabels),
            Line(ControlKind::PushButton, kRefresh, "&Refresh", Cells(53, 2, 16, 1),
                 style::kDefaultButton),
            Line(ControlKind::PushButton, kMessage, "&Message", Cells(53, 4, 16, 1)),
            Line(ControlKind::PushButton, kBrowse, "&Browse...", Cells(53, 6, 16, 1)),
            Line(ControlKind::Text, -1, "&Name:", Cells(1, 9, 8, 1)),
            Line(ControlKind::Edit, kName, "", Cells(10, 9, 30, 1), style::kAutoHScroll),
            Line(ControlKind::CheckBox, kDefault, "&Default profile", Cells(42, 9, 24, 1)),
            Line(ControlKind::Text, -1, "&Switch:", Cells(1, 11, 8, 1)),
            switches,
            Line(ControlKind::PushButton, kWait, "&Wait", Cells(53, 11, 16, 1)),
            Line(ControlKind::GroupBox, -1, "Profile Properties", Cells(1, 13, 68, 3)),
            Line(ControlKind::Text, -1, "Tab moves, Space presses, arrows choose, F1 is help.",
                 Cells(3, 14, 64, 1)),
        };
        m->AddDialog(cards);

        ui::DialogTemplate download;
        download.id = kDownloadPage;
        download.title = "Download";
        download.cx = 70 * ui::kBaseUnitX;
        download.cy = 16 * ui::kBaseUnitY;
        ui::ControlTemplate picture = Line(ControlKind::Picture, kPicture, "", Cells(1, 0, 46, 4));
        picture.resource = kFirstFrame;
        download.controls = {
            picture,
            Line(ControlKind::Text, -1, "Transferring ROM0NA.ELM to the Quilan ISDN T/A",
                 Cells(1, 5, 60, 1)),
            Line(ControlKind::ProgressBar, kProgress, "", Cells(1, 7, 43, 1)),
            Line(ControlKind::Text, kTimeLine, "", Cells(1, 9, 60, 1)),
            Line(ControlKind::Text, -1, "&Retries:", Cells(1, 11, 9, 1)),
            Line(ControlKind::Edit, kRetries, "3", Cells(11, 11, 6, 1), style::kDigitsOnly),
            Line(ControlKind::UpDown, -1, "", Cells(17, 11, 1, 2),
                 style::kAutoBuddy | style::kSetBuddyNumber | style::kArrowKeys),
            Line(ControlKind::EtchedLine, -1, "", Cells(1, 14, 68, 1)),
        };
        m->AddDialog(download);
        return m;
    }();
    return *module;
}

std::filesystem::path HelpFile() {
    static const std::filesystem::path file = [] {
        std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("tui_demo-" + std::to_string(getpid()) + ".hlp");
        std::ofstream out(path);
        out << "@topic 0x5000 Terminal demo\n";
        for (int i = 1; i <= 30; ++i) {
            out << "Help line " << i << ": PgDn and PgUp scroll this text, Esc closes it.\n";
        }
        return path;
    }();
    return file;
}

// Help shows the demo's help topic, on every page.
class DemoPage : public ui::PropertyPage {
  public:
    explicit DemoPage(std::uint32_t templateId) : ui::PropertyPage(DemoModule(), templateId) {}

  protected:
    bool OnCommand(int id, int code) override {
        if (id != ui::kHelpCommand) {
            return ui::PropertyPage::OnCommand(id, code);
        }
        if (!ui::ShowHelp(this, HelpFile(), 0x5000)) {
            ui::MessageBoxText(DemoModule(), "ERR0006 : Error occured opening the help file.");
        }
        return true;
    }
};

class CardsPage : public DemoPage {
  public:
    CardsPage() : DemoPage(kCardsPage) {}

  protected:
    bool OnInitDialog() override {
        m_images.Create(16, 16, true, 2, 10);
        m_images.Add(DemoModule().Icon(kCardIcon));
        auto* list = ItemAs<ui::ListView>(kList);
        list->SetImageList(&m_images);
        list->InsertColumn(0, "", 35 * ui::kBaseUnitX);
        for (const char* port : {"COM2", "COM5", "COM7"}) {
            int row = list->InsertItem(list->ItemCount(),
                                       std::string("Corvane Quilan ISDN T/A ( ") + port + " )", 0);
            list->SetItemData(row, static_cast<std::uintptr_t>(row));
        }
        list->SetItemState(0, ui::kItemSelected | ui::kItemFocused,
                           ui::kItemSelected | ui::kItemFocused);
        ItemAs<ui::DropDownList>(kSwitch)->SetCurSel(0);
        ItemAs<ui::Edit>(kName)->SetText("Office");
        list->SetFocus();
        return false;
    }

    bool OnCommand(int id, int code) override {
        switch (id) {
            case kMessage:
                ui::MessageBoxText(DemoModule(),
                                   "WARN0002 : Please select a Quilan ISDN T/A from the list of "
                                   "installed cards.",
                                   ui::kOkCancel);
                return true;
            case kBrowse: {
                ui::FileDialog dialog("ELM", "*.elm", ui::kHideReadOnly | ui::kFileMustExist,
                                      "ELM Files (*.elm) | *.elm ||", this);
                if (dialog.DoModal() == ui::kIdOk) {
                    Item(kName)->SetText(dialog.PathName());
                }
                return true;
            }
            case kWait: {
                ui::WaitCursor wait;
                sys::Sleep(1500);
                return true;
            }
            default:
                return DemoPage::OnCommand(id, code);
        }
    }

  private:
    ui::ImageList m_images;
};

class DownloadPage : public DemoPage {
  public:
    DownloadPage() : DemoPage(kDownloadPage) {}

  protected:
    bool OnInitDialog() override {
        SetTimer(2, 100);
        return true;
    }

    void OnTimer(std::uint32_t) override {
        m_nStep = (m_nStep + 1) % 101;
        ItemAs<ui::ProgressBar>(kProgress)->SetPos(m_nStep);
        ItemAs<ui::Static>(kPicture)->SetImage(
            DemoModule().Picture(kFirstFrame + m_nStep % kFrames), kFirstFrame + m_nStep % kFrames);
        Item(kTimeLine)->SetText("Est. time remaining: " + std::to_string((100 - m_nStep) / 10) +
                                 " secs (" + std::to_string(m_nStep * 2) + ".0 KB copied)");
    }

  private:
    int m_nStep = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--message") == 0) {
        int answer = ui::MessageBoxText(DemoModule(), "Do you want to continue?", ui::kYesNo);
        return answer;
    }
    CardsPage cards;
    DownloadPage download;
    cards.SetHasHelp(true);
    download.SetHasHelp(true);
    int code;
    {
        ui::PropertySheet sheet("Quilan ISDN T/A Properties", nullptr);
        sheet.SetNoApply(true);
        sheet.AddPage(&cards);
        sheet.AddPage(&download);
        code = sheet.DoModal();
        sheet.RemovePage(&download);
        sheet.RemovePage(&cards);
    }
    std::filesystem::remove(HelpFile());
    std::printf("tui_demo: the sheet ended with %s\n", code == ui::kIdOk ? "OK" : "Cancel");
    return code == ui::kIdOk ? 0 : 3;
}
