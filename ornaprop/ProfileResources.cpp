#include "ornaprop/ProfileResources.h"

#include <string>
#include <vector>

#include "ornaprop/Resources.h"

namespace ornaprop {

namespace {

using ui::ControlKind;
using ui::ControlTemplate;
namespace style = ui::style;

void AddStrings(ui::Module& module) {
    module.AddStrings({
        {kIdsReadProfilesFailed,
         "ERR0004 : Error occured retrieving profiles from the selected Quilan ISDN T/A."},
        {kIdsWriteProfilesFailed,
         "ERR0005 : Error occured while saving profiles to the Quilan ISDN T/A."},
        {kIdsBadNumber,
         "ERR0007 : Invalid ISDN Number configured.\nPlease enter digits in the range 0 - 9, '#' "
         "or '*'."},
        {kIdsBadSpid,
         "ERR0008 : Invalid SPID configured.\nPlease enter digits in the range 0 - 9."},
        {kIdsPortBusy,
         "ERR0010 : Error occured trying to open the COM port. Ensure that no other application is "
         "already using the COM port."},
        {kIdsNumberTooLong,
         "ERR0019 : Value entered for the ISDN Number is too long.\nMaximum length of the ISDN "
         "Number is 20 characters."},
        {kIdsSpidTooLong,
         "ERR0020 : Value entered for the SPID is too long.\nMaximum length of the SPID is 20 "
         "digits."},
        {kIdsNamesNotSaved, "ERR0025 : Error saving profile names to registry."},
        {kIdsSelectProfile, "WARN0001 : Please select a profile to configure."},
        {kIdsNameTooLong, "WARN0007 : The profile name entered is too long."},
        {kIdsNameEmpty, "WARN0008 : The profile name may not be empty."},
        {kIdsSecondNumberEmpty,
         "WARN009 : Please enter a second telephone/SPID number if you have one and if not disable "
         "the check \"Enable 2nd Number\"."},
        {kIdsSamePrimarySpid,
         "WARN010 : In the Primary Location the same telephone number and SPID are entered for "
         "both. The next time you configure this profile you will see that the telephone number "
         "and  SPID appear only in the 1st-Number section with the 2nd-Number section "
         "disabled.\n"},
        {kIdsSameAlternateSpid,
         "WARN011 : In the Alternate Location the same telephone number  and SPID are entered for "
         "both. The next time you configure this profile you will see that the telephone number "
         "and SPID appear only in the 1st-Number section with the 2nd-Number section disabled."},
        {kIdsSamePrimary,
         "WARN010 : In the Primary Location the same telephone number is entered for both. The "
         "next time you configure this profile you will see that the telephone number appears "
         "only in the 1st-Number section with the 2nd-Number section disabled."},
        {kIdsSameAlternate,
         "WARN011 : In the Alternate Location the same telephone number is entered for both. The "
         "next time you configure this profile you will see that the telephone number appears "
         "only in the 1st-Number section with the 2nd-Number section disabled."},
        {kIdsNameUnstorable,
         "WARN012 : The profile name may not contain a line break or a NUL character."},
        {kIdsPrimaryLocation, "Primary Location"},
        {kIdsAlternateLocation, "Alternate Location"},
        {kIdsConfiguration, " Configuration"},
    });
}

ui::DialogTemplate Page(std::uint32_t id, std::string title, int cx,
                        std::vector<ControlTemplate> controls) {
    ui::DialogTemplate dialog;
    dialog.id = id;
    dialog.title = std::move(title);
    dialog.cx = cx;
    dialog.cy = 152;
    dialog.style = 0;
    dialog.controls = std::move(controls);
    return dialog;
}

const std::vector<std::string> kProtocols = {"PPP", "V.120", "Multilink PPP"};

// Layouts sit on the terminal's grid (4 x 8 dialog units a cell); with its sheet's chrome a
// page of 276 x 152 fits 80 x 24 cells. The order of the lines is the tab order.
ui::DialogTemplate ProfileListPage() {
    return Page(
        kIddProfileList, "General", 235,
        {
            {ControlKind::Icon, 1008, "", {8, 8, 32, 16}, 0, kIconCard},
            {ControlKind::Text,
             -1,
             "The following profiles can be configured on this Quilan ISDN T/A.",
             {48, 8, 180, 16}},
            {ControlKind::GroupBox, -1, "Configure &Profiles", {8, 32, 220, 64}},
            {ControlKind::Text, -1, "Please select a profile to configure:", {16, 40, 204, 8}},
            {ControlKind::ListView,
             1070,
             "",
             {16, 48, 116, 40},
             style::kReportView | style::kSingleSelection | style::kNoColumnHeader |
                 style::kEditLabels | style::kAlignLeft},
            {ControlKind::PushButton, 1003, "&Configure Profile ", {136, 64, 88, 8}},
            {ControlKind::GroupBox, -1, "&Default Profile", {8, 96, 220, 52}},
            {ControlKind::Text,
             -1,
             "Please select the profile which will be restored as the active configuration "
             "when this Quilan ISDN T/A is reset:",
             {16, 104, 204, 24}},
            // One empty entry, which the page replaces with the names.
            {ControlKind::DropDownList, 1072, "", {16, 128, 124, 8}, 0, 0, {""}},
        });
}

ui::DialogTemplate NorthAmericaLocationPage() {
    return Page(kIddNorthAmericaLocation, "", 276,
                {
                    {ControlKind::CheckBox, 1082, "&Enable Alternate Location:", {8, 8, 132, 8}},
                    {ControlKind::Text,
                     1084,
                     "Please enter the necessary ISDN configuration to connect using this profile.",
                     {8, 8, 260, 16}},
                    {ControlKind::Text, 1083, "&Local switch type:", {8, 24, 132, 8}},
                    {ControlKind::DropDownList,
                     1045,
                     "",
                     {144, 24, 124, 8},
                     0,
                     0,
                     {"North America (Auto-Detect)", "AT&T (5ESS)", "National ISDN-1 (NI-1)"}},
                    {ControlKind::Text, 1080, "Connect using this &protocol:", {8, 32, 132, 8}},
                    {ControlKind::DropDownList, 1048, "", {144, 32, 124, 8}, 0, 0, kProtocols},
                    {ControlKind::GroupBox, 1074, "1st Number", {8, 48, 264, 32}},
                    {ControlKind::Text, 1078, "&Telephone Number:", {16, 56, 124, 8}},
                    {ControlKind::Edit, 1056, "", {144, 56, 120, 8}},
                    {ControlKind::CheckBox, 1101, "&Service Profile ID (SPID):", {16, 64, 124, 8}},
                    {ControlKind::Edit, 1073, "", {144, 64, 120, 8}},
                    {ControlKind::GroupBox, 1075, "2nd Number", {8, 88, 264, 40}},
                    {ControlKind::CheckBox, 1098, "Ena&ble 2nd Number", {16, 96, 124, 8}},
                    {ControlKind::Text, 1076, "Telephone &Number:", {16, 104, 124, 8}},
                    {ControlKind::Edit, 1061, "", {144, 104, 120, 8}},
                    {ControlKind::CheckBox, 1102, "Service Profile &ID (SPID):", {16, 112, 124, 8}},
                    {ControlKind::Edit, 1016, "", {144, 112, 120, 8}},
                });
}

ui::DialogTemplate InternationalLocationPage() {
    return Page(kIddInternationalLocation, "", 276,
                {
                    {ControlKind::CheckBox, 1082, "&Enable Alternate Location:", {8, 8, 132, 8}},
                    {ControlKind::Text,
                     1084,
                     "Please enter the necessary ISDN configuration to connect using this profile.",
                     {8, 8, 260, 16}},
                    {ControlKind::Text, 1083, "&Local switch type:", {8, 24, 132, 8}},
                    {ControlKind::DropDownList,
                     1045,
                     "",
                     {144, 24, 124, 8},
                     0,
                     0,
                     {"Europe (EuroISDN)", "Australia (TPH1962)", "Japan (INS-Net 64)"}},
                    {ControlKind::Text, 1080, "Connect using this &protocol:", {8, 32, 132, 8}},
                    {ControlKind::DropDownList, 1048, "", {144, 32, 124, 8}, 0, 0, kProtocols},
                    {ControlKind::GroupBox, 1074, "1st Number", {8, 48, 264, 24}},
                    {ControlKind::Text, 1078, "&Telephone Number:", {16, 56, 124, 8}},
                    {ControlKind::Edit, 1056, "", {144, 56, 120, 8}},
                    {ControlKind::GroupBox, 1075, "2nd Number", {8, 80, 264, 32}},
                    {ControlKind::CheckBox, 1098, "Ena&ble 2nd Number", {16, 88, 124, 8}},
                    {ControlKind::Text, 1076, "Telephone &Number:", {16, 96, 124, 8}},
                    {ControlKind::Edit, 1061, "", {144, 96, 120, 8}},
                });
}

constexpr std::uint32_t kIntervalEdit = style::kDigitsOnly;
constexpr std::uint32_t kIntervalUpDown =
    style::kAutoBuddy | style::kSetBuddyNumber | style::kArrowKeys | style::kNoThousands;

ui::DialogTemplate AdvancedPage() {
    return Page(
        kIddAdvanced, "Advanced", 276,
        {
            {ControlKind::GroupBox, -1, "ISDN Settings", {8, 8, 264, 32}},
            {ControlKind::CheckBox,
             1104,
             "&Bandwidth Allocation Control Protocol (BACP) /",
             {16, 16, 248, 8}},
            {ControlKind::Text, -1, "Bandwidth on Demand (BOD)", {32, 24, 232, 8}},
            {ControlKind::GroupBox, -1, "ISDN Cost Reduction Timers", {8, 48, 264, 32}},
            {ControlKind::Text, -1, "&Initial Billing Interval (secs):", {16, 56, 140, 8}},
            {ControlKind::Edit, 1001, "", {160, 56, 36, 8}, kIntervalEdit},
            {ControlKind::UpDown, 1107, "", {196, 56, 8, 8}, kIntervalUpDown},
            {ControlKind::Text, -1, "Bi&lling Interval (secs):", {16, 64, 140, 8}},
            {ControlKind::Edit, 1109, "", {160, 64, 36, 8}, kIntervalEdit | style::kAutoHScroll},
            {ControlKind::UpDown, 1108, "", {196, 64, 8, 8}, kIntervalUpDown},
            {ControlKind::GroupBox, 1100, "Data Over Voice Settings", {8, 88, 264, 24}},
            {ControlKind::CheckBox, 1099, "Data Over &Voice (DOV)", {16, 96, 248, 8}},
            {ControlKind::GroupBox, 1105, "&AutoSPID Settings", {8, 120, 264, 32}},
            {ControlKind::Text,
             1106,
             "Indicate the location in which the AutoSPID settings will be saved:",
             {16, 128, 160, 16}},
            {ControlKind::DropDownList,
             1103,
             "",
             {184, 128, 80, 8},
             0,
             0,
             {"Primary", "Alternate"}},
        });
}

}  // namespace

void AddProfileResources(ui::Module& module) {
    AddStrings(module);
    module.AddDialog(ProfileListPage());
    module.AddDialog(NorthAmericaLocationPage());
    module.AddDialog(InternationalLocationPage());
    module.AddDialog(AdvancedPage());
}

}  // namespace ornaprop
