#include "ornaprop/Resources.h"

#include <string>
#include <utility>
#include <vector>

#include "ornaprop/ProfileResources.h"

namespace ornaprop {

namespace {

using ui::ControlKind;
using ui::DialogTemplate;
namespace style = ui::style;

void AddStrings(ui::Module& module) {
    module.AddStrings({
        {kIdsTitle, "Quilan ISDN T/A Configuration Tool"},
        {kIdsMainSheet, "Quilan ISDN T/A Properties"},
        {kIdsCardItem, "Corvane Quilan ISDN T/A ( %s )"},
        {kIdsNoMemory, "ERR0001 : Error occured due to lack of memory."},
        {kIdsDetectFailed,
         "ERR0002 : Error occured attempting to detect installed Quilan ISDN T/As on the "
         "system."},
        {kIdsCardSheet, "Card Properties"},
        {kIdsCardUnreadable,
         "ERR0003 : Error occured retrieving configuration information from the Quilan ISDN "
         "T/A."},
        {kIdsDownloadFailed, "ERR0012 : Error occured initializing the firmware download."},
        {kIdsHelpFailed, "ERR0006 : Error occured opening the help file."},
        {kIdsSelectCard,
         "WARN0002 : Please select a Quilan ISDN T/A from the list of installed cards."},
        {kIdsRefreshFailed,
         "ERR0011 : Error occured during Refresh attempting to detect installed Quilan ISDN "
         "T/As on the system."},
        {kIdsProfilesInternational, "Profiles - International (Excl. North America)"},
        {kIdsProfilesNorthAmerica, "Profiles - North America"},
        {kIdsNoElmDirectory,
         "ERR0017 : Error occured retrieving the ELM file location from the registry."},
        {kIdsChangeFirmware,
         "WARN0003 : You are about to change the firmware on the card.\n All currently stored "
         "profiles will be lost. Proceed ?"},
        {kIdsDownloadComplete,
         "WARN006 : The download of the firmware has completed successfully. Please check your "
         "profile configurations as they may not have been preserved across different versions "
         "of firmware."},
    });
}

// One line of a template; a control the code never addresses has id -1.
ui::ControlTemplate Line(ControlKind kind, int id, std::string text, ui::Rect rect,
                         std::uint32_t lineStyle = 0, std::uint32_t resource = 0) {
    ui::ControlTemplate line;
    line.kind = kind;
    line.id = id;
    line.text = std::move(text);
    line.rect = rect;
    line.style = lineStyle;
    line.resource = resource;
    return line;
}

DialogTemplate Dialog(std::uint32_t id, std::string title, int cx, int cy,
                      std::uint32_t dialogStyle, std::vector<ui::ControlTemplate> controls) {
    DialogTemplate dialog;
    dialog.id = id;
    dialog.title = std::move(title);
    dialog.cx = cx;
    dialog.cy = cy;
    dialog.style = dialogStyle;
    dialog.controls = std::move(controls);
    return dialog;
}

// Layouts sit on the terminal's grid (4 x 8 dialog units a cell) so that a page and its
// sheet's chrome fit 80 x 24 cells.
DialogTemplate CardsPage() {
    return Dialog(
        kIddCards, "General", 235, 152, 0,
        {
            Line(ControlKind::Icon, 1008, "", {8, 8, 32, 16}, 0, kIconCard),
            Line(ControlKind::Text, -1,
                 "The following Quilan ISDN T/A cards are installed on this computer.",
                 {48, 8, 180, 16}),
            Line(ControlKind::ListView, 1009, "", {8, 32, 220, 40},
                 style::kReportView | style::kSingleSelection | style::kNoColumnHeader |
                     style::kAlignLeft),
            Line(ControlKind::PushButton, 1004, "&Refresh", {104, 80, 60, 8},
                 style::kDefaultButton),
            Line(ControlKind::PushButton, 1003, "&Properties", {168, 80, 60, 8}),
            Line(ControlKind::GroupBox, 1087, "Profile Properties", {8, 96, 220, 52}),
            Line(ControlKind::Text, 1088,
                 "Use the Profile Properties option to configure the locations from which you "
                 "can connect for the selected Quilan ISDN T/A.",
                 {16, 104, 116, 40}),
            Line(ControlKind::PushButton, 1002, "Pr&ofile Properties", {136, 116, 88, 8}),
        });
}

// A caption but no system menu and no buttons: the detection closes it.
DialogTemplate DetectCardsDialog() {
    return Dialog(kIddDetectCards, "Detecting Cards", 123, 35, style::kCaption,
                  {
                      Line(ControlKind::Icon, -1, "", {8, 8, 32, 16}, 0, kIconCardDetect),
                      Line(ControlKind::Text, -1, "Please wait.....", {48, 12, 68, 8}),
                  });
}

DialogTemplate CardPage() {
    return Dialog(
        kIddCard, "General", 235, 152, 0,
        {
            Line(ControlKind::Icon, 1008, "", {8, 8, 32, 16}, 0, kIconCard),
            Line(ControlKind::Text, -1, "Corvane Quilan ISDN T/A ", {48, 8, 180, 8}),
            Line(ControlKind::EtchedLine, -1, "", {8, 32, 220, 8}),
            Line(ControlKind::Text, -1, "Port :", {8, 40, 40, 8}),
            Line(ControlKind::Text, 1001, "", {52, 40, 60, 8}),
            Line(ControlKind::GroupBox, -1, "Software Version", {8, 56, 220, 32}),
            Line(ControlKind::Text, -1, "Version :", {16, 68, 40, 8}),
            Line(ControlKind::Text, 1040, "", {60, 68, 100, 8}),
            Line(ControlKind::PushButton, 1042, "&Download", {164, 68, 56, 8}),
            Line(ControlKind::GroupBox, 1091, "ISDN &Type", {8, 96, 220, 52}),
            Line(ControlKind::Text, 1092,
                 "The current card configuration allows worldwide connections to be made from "
                 "the following region:",
                 {16, 104, 204, 24}),
            ui::ControlTemplate(ControlKind::DropDownList, 1093, "", {16, 132, 204, 8},
                                style::kSorted, 0,
                                {"International (Excl. North America)", "North America"}),
        });
}

ui::Image Icon(int size, std::initializer_list<const char*> rows) {
    ui::Image image;
    image.width = size;
    image.height = size;
    for (const char* row : rows) {
        image.rows.emplace_back(row);
    }
    return image;
}

ui::Module MakeModule() {
    ui::Module module("ornaprop");
    AddStrings(module);
    module.AddDialog(CardsPage());
    module.AddDialog(DetectCardsDialog());
    module.AddDialog(CardPage());
    AddProfileResources(module);
    // A PC card seen from above: the connector at its top edge.
    module.AddIcon(kIconCard, Icon(32, {"+::::::+", "|QUILAN|"}));
    module.AddIcon(kIconCardSmall, Icon(16, {"[=]"}));
    module.AddIcon(kIconCardDetect, Icon(32, {"+::::::+", "| ISDN |"}));
    return module;
}

}  // namespace

const ui::Module& ThisModule() {
    static const ui::Module module = MakeModule();
    return module;
}

}  // namespace ornaprop
