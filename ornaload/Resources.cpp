#include "ornaload/Resources.h"

#include <string>
#include <utility>
#include <vector>

#include "ornaload/AnimationPictures.h"

namespace ornaload {

namespace {

using ui::ControlKind;
using ui::ControlTemplate;
using ui::DialogTemplate;
namespace style = ui::style;

void AddStrings(ui::Module& module) {
    module.AddStrings({
        {kIdsTimeout, "ERR0015 : Timeout occured waiting for response from the Quilan ISDN T/A."},
        {kIdsAdapterError,
         "ERR0016 : Error occured on the Quilan ISDN T/A during download.\nDownload aborted."},
        {kIdsTransferring, "Transferring %s to the Quilan ISDN T/A"},
        {kIdsTimeMinutes, "Est. time remaining: %d min %d secs (%.1f KB copied)"},
        {kIdsTimeSeconds, "Est. time remaining: %d secs (%.1f KB copied)"},
        {kIdsElmFilter, "ELM Files (*.elm) | *.elm ||"},
        {kIdsElmExtension, "ELM"},
        {kIdsNoMemory, "ERR0001 : Error occured due to a lack of memory."},
        {kIdsOpenFailed, "ERR0013 : Error occured opening the specified ELM file."},
        {kIdsInvalidFile, "ERR0014 : Error - invalid ELM file format."},
        {kIdsElmPattern, "*.elm"},
        {kIdsNoFileName, "ERR0021 : Error occured since no file was specified to download."},
        {kIdsNorthAmerica, "North America"},
        {kIdsInternational, "International ( Excl. North America )"},
        {kIdsSameFirmware,
         "WARN0004 : The firmware to  be downloaded is the same as the firmware on the card. \n"
         "  Firmware : %1!s! ( Version %2!s! ). \n  Proceed?"},
        {kIdsOtherFirmware,
         "WARN0005 : The firmware to be downloaded is different from the firmware on the card. "
         "\n  Card : %1!s! ( Version %2!s!) \n  ELM : %3!s! ( Version %4!s!) \n  Proceed?"},
        {kIdsBadVersion,
         "ERR0022 : Error occurred reading the version information from the ELM file. Proceed?"},
        {kIdsBadType,
         "ERR0023 : Error occurred reading the firmware type of the ELM file. Proceed?"},
        {kIdsPleaseWait, "Please Wait ....."},
        {kIdsComplete, "Transfer Complete. Please Wait ....."},
        {kIdsTitle, "Quilan ISDN T/A Configuration Tool"},
        {kIdsFinishFailed, "ERR0024 : Error occured terminating the download."},
    });
}

// Both dialogs sit on the terminal's grid (4 x 8 dialog units a cell).
DialogTemplate FileDialog() {
    DialogTemplate dialog;
    dialog.id = kIddFile;
    dialog.title = "Download";
    dialog.cx = 229;
    dialog.cy = 81;
    dialog.style = style::kCaption | style::kSystemMenu;
    dialog.controls = {
        ControlTemplate(ControlKind::Icon, -1, "", {8, 8, 32, 16}, 0, kIconElm),
        ControlTemplate(ControlKind::Text, -1,
                        "Type the name of the ELM which you want to download to the Quilan "
                        "ISDN T/A.",
                        {48, 8, 172, 16}),
        ControlTemplate(ControlKind::Text, -1, "File :", {8, 40, 24, 8}),
        ControlTemplate(ControlKind::Edit, 1002, "", {36, 40, 184, 8}, style::kAutoHScroll),
        ControlTemplate(ControlKind::PushButton, 1, "&Download", {60, 60, 52, 8},
                        style::kDefaultButton),
        ControlTemplate(ControlKind::PushButton, 2, "&Cancel", {116, 60, 52, 8}),
        ControlTemplate(ControlKind::PushButton, 1004, "&Browse...", {172, 60, 52, 8}),
    };
    return dialog;
}

// A caption and no system menu: Cancel is the only way out for the user.
DialogTemplate ProgressDialog() {
    DialogTemplate dialog;
    dialog.id = kIddProgress;
    dialog.title = "Download";
    dialog.cx = 238;
    dialog.cy = 85;
    dialog.style = style::kCaption;
    dialog.controls = {
        ControlTemplate(ControlKind::Picture, 1003, "", {8, 8, 176, 32}, 0, FrameBitmap(1)),
        ControlTemplate(ControlKind::Text, 1002, "", {8, 48, 224, 8}),
        ControlTemplate(ControlKind::ProgressBar, 1000, "", {8, 60, 168, 8}),
        ControlTemplate(ControlKind::PushButton, 2, "&Cancel", {184, 60, 48, 8}),
        ControlTemplate(ControlKind::Text, 1001, "", {8, 72, 224, 8}),
    };
    return dialog;
}

// A document sheet with gears and the letters "ELM".
ui::Image ElmIcon() {
    ui::Image image;
    image.width = 32;
    image.height = 32;
    image.rows = {"|ELM \\ ", "|o*o*o|"};
    return image;
}

ui::Module MakeModule() {
    ui::Module module("ornaload");
    AddStrings(module);
    module.AddDialog(FileDialog());
    module.AddDialog(ProgressDialog());
    module.AddIcon(kIconElm, ElmIcon());
    AddAnimationPictures(module);
    return module;
}

}  // namespace

const ui::Module& ThisModule() {
    static const ui::Module module = MakeModule();
    return module;
}

}  // namespace ornaload
