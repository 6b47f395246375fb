// The dialogs of the profile pages as the user gets them: every control the pages address,
// with its kind and text, and a layout that fits the terminal without visible controls
// overlapping.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ProfileSheet.h"
#include "platform/ui/Geometry.h"
#include "platform/ui/PropertySheet.h"

namespace profiles {
namespace {

struct ControlRow {
    int id;
    ui::WindowKind kind;
    const char* text;
};

struct PageRow {
    const char* name;
    tasim::Region region;
    int tab;  // -1: the profile list page
    std::vector<ControlRow> controls;
};

void PrintTo(const PageRow& row, std::ostream* out) {
    *out << row.name;
}

using K = ui::WindowKind;

// Both location dialogs share these; the North American one adds the SPID controls.
std::vector<ControlRow> LocationControls(bool bNorthAmerica) {
    std::vector<ControlRow> rows = {
        {kAltEnabled, K::CheckBox, "&Enable Alternate Location:"},
        {kPrimaryText, K::Text,
         "Please enter the necessary ISDN configuration to connect using this profile."},
        {kSwitchLabel, K::Text, "&Local switch type:"},
        {kSwitchType, K::DropDownList, ""},
        {kProtocolLabel, K::Text, "Connect using this &protocol:"},
        {kProtocol, K::DropDownList, ""},
        {kFirstGroup, K::GroupBox, "1st Number"},
        {kNumber1Label, K::Text, "&Telephone Number:"},
        {kNumber1, K::Edit, nullptr},
        {kSecondGroup, K::GroupBox, "2nd Number"},
        {kSecondNumber, K::CheckBox, "Ena&ble 2nd Number"},
        {kNumber2Label, K::Text, "Telephone &Number:"},
        {kNumber2, K::Edit, nullptr},
    };
    if (bNorthAmerica) {
        rows.push_back({kSpid1Box, K::CheckBox, "&Service Profile ID (SPID):"});
        rows.push_back({kSpid1, K::Edit, nullptr});
        rows.push_back({kSpid2Box, K::CheckBox, "Service Profile &ID (SPID):"});
        rows.push_back({kSpid2, K::Edit, nullptr});
    }
    return rows;
}

const std::vector<ControlRow> kAdvancedControls = {
    {kBacp, K::CheckBox, "&Bandwidth Allocation Control Protocol (BACP) /"},
    {kInitialInterval, K::Edit, nullptr},
    {kInitialSpin, K::UpDown, ""},
    {kBillingInterval, K::Edit, nullptr},
    {kBillingSpin, K::UpDown, ""},
    {kDovGroup, K::GroupBox, "Data Over Voice Settings"},
    {kDov, K::CheckBox, "Data Over &Voice (DOV)"},
    {kAutoSpidGroup, K::GroupBox, "&AutoSPID Settings"},
    {kAutoSpidText, K::Text, "Indicate the location in which the AutoSPID settings will be saved:"},
    {kAutoSpidLocation, K::DropDownList, ""},
};

class PageTemplateTest : public ProfileSheetTest, public ::testing::WithParamInterface<PageRow> {};

TEST_P(PageTemplateTest, HoldsItsControlsAndFitsTheTerminal) {
    const PageRow& row = GetParam();
    StartCard(row.region);
    if (row.tab < 0) {
        OpenProfiles();
    } else {
        OpenConfiguration(0).ChooseTab(row.tab);
    }
    m_user.Then([&] {
        for (const ControlRow& control : row.controls) {
            SCOPED_TRACE(control.id);
            ui::Window* window = m_user.Find(control.id);
            ASSERT_NE(window, nullptr);
            EXPECT_EQ(window->Kind(), control.kind);
            if (control.text) {
                EXPECT_EQ(window->Text(), control.text);
            }
        }
        auto* sheet = dynamic_cast<ui::PropertySheet*>(m_user.Active());
        ASSERT_NE(sheet, nullptr);
        const ui::Window* page = sheet->ActivePage();
        // The room a page has on an 80 x 24 terminal, its sheet's chrome included.
        EXPECT_LE(page->Bounds().cx, 296);
        EXPECT_LE(page->Bounds().cy, 155);
        std::vector<const ui::Window*> shown;
        for (const ui::Window* child : page->Children()) {
            SCOPED_TRACE(child->Id());
            const ui::Rect& r = child->Bounds();
            EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.cx <= page->Bounds().cx &&
                        r.y + r.cy <= page->Bounds().cy);
            if (child->IsVisible() && child->Kind() != K::GroupBox) {
                shown.push_back(child);
            }
        }
        for (std::size_t i = 0; i < shown.size(); ++i) {
            ui::CellRect a = ui::DialogUnitsToCells(shown[i]->Bounds());
            for (std::size_t j = i + 1; j < shown.size(); ++j) {
                ui::CellRect b = ui::DialogUnitsToCells(shown[j]->Bounds());
                bool bOverlap = a.column < b.column + b.columns &&
                                b.column < a.column + a.columns && a.row < b.row + b.rows &&
                                b.row < a.row + a.rows;
                EXPECT_FALSE(bOverlap) << shown[i]->Id() << " and " << shown[j]->Id();
            }
        }
    });
    if (row.tab >= 0) {
        m_user.Click(ui::kIdCancel);
    }
    m_user.Click(ui::kIdCancel).Click(ui::kIdCancel);
    RunApplet();
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PageTemplateTest,
    ::testing::Values(PageRow{"ProfileList",
                              tasim::Region::NorthAmerica,
                              -1,
                              {{1008, K::Icon, ""},
                               {kProfileList, K::ListView, ""},
                               {kConfigure, K::PushButton, "&Configure Profile "},
                               {kDefaultProfile, K::DropDownList, ""}}},
                      PageRow{"NorthAmericaPrimary", tasim::Region::NorthAmerica, kPrimaryTab,
                              LocationControls(true)},
                      PageRow{"NorthAmericaAlternate", tasim::Region::NorthAmerica, kAlternateTab,
                              LocationControls(true)},
                      PageRow{"InternationalPrimary", tasim::Region::International, kPrimaryTab,
                              LocationControls(false)},
                      PageRow{"InternationalAlternate", tasim::Region::International, kAlternateTab,
                              LocationControls(false)},
                      PageRow{"Advanced", tasim::Region::NorthAmerica, kAdvancedTab,
                              kAdvancedControls}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace profiles
