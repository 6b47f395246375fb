#include "TestModule.h"

#include "platform/ui/Window.h"

namespace test {

using ui::ControlKind;
using ui::Rect;
namespace style = ui::style;

const ui::Module& Library() {
    static const ui::Module* module = [] {
        auto* library = new ui::Module("test");
        library->AddStrings({{ui::kTitleString, "Test Library"}, {10, "Text ten"}});
        library->AddIcon(5, ui::Image{16, 16, {"[]"}});
        library->AddDialog(ui::DialogTemplate{
            kFormDialog,
            "Form",
            200,
            160,
            style::kCaption | style::kSystemMenu,
            {
                {ControlKind::Icon, -1, "", Rect{4, 4, 16, 16}, 0, 5},
                {ControlKind::Edit, kNumber, "", Rect{40, 4, 40, 12}, style::kDigitsOnly},
                {ControlKind::Text, kLabel, "&Label:", Rect{4, 20, 30, 8}},
                {ControlKind::Edit, kName, "", Rect{40, 20, 80, 12}, style::kAutoHScroll},
                {ControlKind::Edit, kLater, "", Rect{40, 36, 80, 12}},
                {ControlKind::CheckBox, kOption, "&Option", Rect{4, 52, 60, 10}},
                {ControlKind::DropDownList,
                 kRegion,
                 "",
                 Rect{4, 66, 100, 40},
                 style::kSorted,
                 0,
                 {"North America", "International (Excl. North America)"}},
                {ControlKind::ListView, kRows, "", Rect{4, 84, 120, 40},
                 style::kReportView | style::kSingleSelection | style::kNoColumnHeader |
                     style::kEditLabels},
                {ControlKind::Edit, kSpinEdit, "", Rect{130, 4, 30, 12}, style::kDigitsOnly},
                {ControlKind::UpDown, kSpin, "", Rect{160, 4, 8, 12},
                 style::kAutoBuddy | style::kSetBuddyNumber | style::kArrowKeys |
                     style::kNoThousands},
                {ControlKind::PushButton, kOpen, "Ne&sted", Rect{130, 20, 50, 14}},
                {ControlKind::PushButton, ui::kIdOk, "OK", Rect{90, 140, 50, 14},
                 style::kDefaultButton},
                {ControlKind::PushButton, ui::kIdCancel, "Cancel", Rect{145, 140, 50, 14}},
            }});
        for (auto [id, title] :
             {std::pair{kPageA, "First"}, {kPageB, "Second"}, {kPageC, "Third"}}) {
            library->AddDialog(ui::DialogTemplate{
                id,
                title,
                180,
                100,
                0,
                {
                    {ControlKind::Text, -1, "Value:", Rect{4, 4, 30, 8}},
                    {ControlKind::Edit, kPageEdit, "", Rect{40, 4, 60, 12}},
                    {ControlKind::CheckBox, kPageCheck, "&Check", Rect{4, 20, 60, 10}},
                }});
        }
        library->AddDialog(
            ui::DialogTemplate{kEmptyDialog, "Detecting", 120, 32, style::kCaption, {}});
        return library;
    }();
    return *module;
}

const ui::Module& OtherLibrary() {
    static const ui::Module* module = [] {
        auto* library = new ui::Module("other");
        library->AddStrings({{ui::kTitleString, "Other Library"}, {10, "Other ten"}});
        return library;
    }();
    return *module;
}

}  // namespace test
