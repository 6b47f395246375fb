#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "TestModule.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/HeadlessUser.h"
#include "platform/ui/HelpViewer.h"
#include "platform/ui/PropertySheet.h"

namespace {

class TestPage : public ui::PropertyPage {
  public:
    TestPage(std::uint32_t templateId, std::string caption = {})
        : PropertyPage(test::Library(), templateId, std::move(caption)) {}

    std::string m_strValue;
    bool m_bCheck = false;
    int refusals = 0;  // how many times leaving is refused
    int inits = 0, activations = 0, leaves = 0, oks = 0, cancels = 0, helps = 0;
    std::function<void()> onHelp;

  protected:
    void DoDataExchange(ui::DataExchange& dx) override {
        dx.Text(test::kPageEdit, m_strValue);
        dx.Check(test::kPageCheck, m_bCheck);
    }
    bool OnInitDialog() override {
        ++inits;
        return PropertyPage::OnInitDialog();
    }
    bool OnSetActive() override {
        ++activations;
        return PropertyPage::OnSetActive();
    }
    bool OnKillActive() override {
        ++leaves;
        if (refusals > 0) {
            --refusals;
            return false;
        }
        return PropertyPage::OnKillActive();
    }
    void OnOK() override { ++oks; }
    void OnCancel() override { ++cancels; }
    bool OnCommand(int id, int code) override {
        if (id == ui::kHelpCommand) {
            ++helps;
            if (onHelp) {
                onHelp();
            }
            return true;
        }
        return PropertyPage::OnCommand(id, code);
    }
};

TEST(PropertySheet, AUserFillsTwoPagesAndPressesOk) {
    ui::HeadlessUser user;
    TestPage primary(test::kPageA, "Primary Location");
    TestPage advanced(test::kPageB);  // its tab shows the template's title
    primary.SetHasHelp(true);
    primary.m_strValue = "loaded";
    ui::PropertySheet sheet("Office Configuration", nullptr);
    sheet.SetNoApply(true);
    sheet.AddPage(&primary);
    sheet.AddPage(&advanced);

    user.Then([&] {
            EXPECT_EQ(user.Title(), "Office Configuration");
            EXPECT_EQ(user.Tabs(), (std::vector<std::string>{"Primary Location", "Second"}));
            EXPECT_EQ(user.ActiveTab(), 0);
            EXPECT_TRUE(user.Has(ui::kIdOk));
            EXPECT_TRUE(user.Has(ui::kIdCancel));
            EXPECT_TRUE(user.IsEnabled(ui::kIdHelpButton));
            EXPECT_FALSE(user.Has(ui::kIdApply));
            EXPECT_EQ(user.Text(test::kPageEdit), "loaded");
            EXPECT_FALSE(advanced.Exists());  // created when first shown
        })
        .Type(test::kPageEdit, "Office")
        .Tick(test::kPageCheck)
        .ChooseTab(1)
        .Then([&] {
            EXPECT_EQ(user.ActiveTab(), 1);
            EXPECT_FALSE(user.IsEnabled(ui::kIdHelpButton));  // this page has no help
            EXPECT_EQ(user.Text(test::kPageEdit), "");
        })
        .Type(test::kPageEdit, "Home")
        .Click(ui::kIdOk);
    EXPECT_EQ(sheet.DoModal(), ui::kIdOk);
    EXPECT_TRUE(user.Problems().empty()) << user.Problems().front();
    EXPECT_EQ(primary.m_strValue, "Office");
    EXPECT_TRUE(primary.m_bCheck);
    EXPECT_EQ(advanced.m_strValue, "Home");
    EXPECT_EQ(primary.inits, 1);
    EXPECT_EQ(primary.oks, 1);
    EXPECT_EQ(advanced.oks, 1);
    EXPECT_EQ(primary.cancels + advanced.cancels, 0);
    EXPECT_FALSE(sheet.Exists());
    EXPECT_FALSE(primary.Exists());
    sheet.RemovePage(&primary);
    sheet.RemovePage(&advanced);
    EXPECT_EQ(sheet.PageCount(), 0);
}

TEST(PropertySheet, APageThatRefusesToBeLeftKeepsTheSheetOpen) {
    ui::HeadlessUser user;
    TestPage first(test::kPageA);
    TestPage second(test::kPageB);
    first.refusals = 2;
    ui::PropertySheet sheet("Profiles", nullptr);
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    user.ChooseTab(1)
        .Then([&] { EXPECT_EQ(user.ActiveTab(), 0); })
        .Click(ui::kIdOk)
        .Then([&] {
            EXPECT_FALSE(sheet.IsEnded());
            EXPECT_EQ(first.oks, 0);
            EXPECT_EQ(user.Title(), "Profiles");
        })
        .Click(ui::kIdOk);  // now the page lets go
    EXPECT_EQ(sheet.DoModal(), ui::kIdOk);
    EXPECT_EQ(first.leaves, 3);
    EXPECT_EQ(first.oks, 1);
    EXPECT_EQ(second.inits, 0);  // never shown: no window, no events
    EXPECT_EQ(second.oks, 0);
    EXPECT_TRUE(user.Problems().empty());
}

TEST(PropertySheet, PagesNeverShownGetNoOkAndNoCancel) {
    for (int button : {ui::kIdOk, ui::kIdCancel}) {
        SCOPED_TRACE(button);
        ui::HeadlessUser user;
        TestPage pages[3] = {TestPage(test::kPageA), TestPage(test::kPageB),
                             TestPage(test::kPageC)};
        ui::PropertySheet sheet("Three", nullptr, 1);  // starts on the second page
        for (TestPage& page : pages) {
            sheet.AddPage(&page);
        }
        user.Then([&] { EXPECT_EQ(user.ActiveTab(), 1); }).ChooseTab(0).Click(button);
        EXPECT_EQ(sheet.DoModal(), button);
        bool bOk = button == ui::kIdOk;
        EXPECT_EQ(pages[0].oks, bOk ? 1 : 0);
        EXPECT_EQ(pages[1].oks, bOk ? 1 : 0);
        EXPECT_EQ(pages[0].cancels, bOk ? 0 : 1);
        EXPECT_EQ(pages[1].cancels, bOk ? 0 : 1);
        EXPECT_EQ(pages[2].inits + pages[2].oks + pages[2].cancels + pages[2].activations, 0);
        EXPECT_EQ(pages[1].activations, 1);
        EXPECT_EQ(pages[0].activations, 1);
    }
}

TEST(PropertySheet, HelpGoesToTheActivePageAsItsCommand) {
    ui::HeadlessUser user;
    TestPage first(test::kPageA);
    TestPage second(test::kPageB);
    first.SetHasHelp(true);
    ui::PropertySheet sheet("Help", nullptr);
    sheet.SetNoApply(true);
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    ui::KeyEvent nextTab;
    nextTab.key = ui::Key::PageDown;
    nextTab.bCtrl = true;
    user.Click(ui::kIdHelpButton)
        .Press(ui::Key::F1)
        .Press(nextTab)
        .Then([&] { EXPECT_EQ(user.ActiveTab(), 1); })
        .Press(ui::Key::F1)  // this page has no help: nothing happens
        .Press(ui::Key::Escape);
    EXPECT_EQ(sheet.DoModal(), ui::kIdCancel);
    EXPECT_EQ(first.helps, 2);
    EXPECT_EQ(second.helps, 0);
}

// Help is about the control the user is on: however it was asked for and however the viewer
// closes, that control has the focus again afterwards. The viewer is left beside the sheet, as
// the headless driver does, or run modally, as the terminal does.
TEST(PropertySheet, FocusGoesBackAfterHelp) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("sheet-help-" + std::to_string(getpid()));
    std::ofstream(file) << "@topic 0x5000 Cards\nThe cards page.\n";
    struct Row {
        const char* what;
        bool bF1;
        bool bModal;
        std::vector<ui::Key> closeKeys;  // in the modal viewer
    };
    const Row rows[] = {
        {"Help button, viewer beside the sheet", false, false, {}},
        {"F1, viewer beside the sheet", true, false, {}},
        {"F1, modal viewer closed with Esc", true, true, {ui::Key::Escape}},
        {"Help button, modal viewer closed by its button",
         false,
         true,
         {ui::Key::Tab, ui::Key::Enter}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ui::HeadlessUser user;
        TestPage page(test::kPageA);
        page.SetHasHelp(true);
        page.onHelp = [&] {
            ASSERT_TRUE(ui::ShowHelp(&page, file, 0x5000));
            if (row.bModal) {
                ui::OpenHelpViewer()->RunModal();
            }
        };
        ui::PropertySheet sheet("Help", nullptr);
        sheet.AddPage(&page);
        user.Tick(test::kPageCheck).Then([&] { EXPECT_EQ(user.FocusId(), test::kPageCheck); });
        if (row.bF1) {
            user.Press(ui::Key::F1);
        } else {
            user.Click(ui::kIdHelpButton);
        }
        for (ui::Key key : row.closeKeys) {
            user.Press(key);
        }
        user.Then([&] {
                if (ui::HelpViewer* viewer = user.Help(); viewer && !row.bModal) {
                    viewer->Close();
                }
                EXPECT_EQ(user.Help(), nullptr);
                EXPECT_EQ(user.FocusId(), test::kPageCheck);
            })
            .Press(ui::Key::Escape);
        EXPECT_EQ(sheet.DoModal(), ui::kIdCancel);
        EXPECT_EQ(page.helps, 1);
        EXPECT_TRUE(user.Problems().empty()) << user.Problems().front();
    }
    std::filesystem::remove(file);
}

TEST(PropertySheet, ACloseRequestCancels) {
    ui::HeadlessUser user;
    TestPage page(test::kPageA);
    ui::PropertySheet sheet("Close", nullptr);
    sheet.AddPage(&page);
    user.Then([&] { sheet.Post(ui::kCloseMessage); });
    EXPECT_EQ(sheet.DoModal(), ui::kIdCancel);
    EXPECT_EQ(page.cancels, 1);
}

TEST(PropertySheet, InitialisationMayMoveTheSheetByOffsets) {
    class OffsetSheet : public ui::PropertySheet {
      public:
        OffsetSheet() : PropertySheet("Moved", nullptr) {}
        int m_nX = 0, m_nY = 0;

      protected:
        bool OnInitDialog() override {
            PropertySheet::OnInitDialog();
            ui::Rect placement = Bounds();
            Move(placement.x + m_nX, placement.y + m_nY);
            return true;
        }
    };
    ui::HeadlessUser user;
    TestPage page(test::kPageA);
    OffsetSheet sheet;
    sheet.m_nX = 12;
    sheet.m_nY = -3;
    sheet.AddPage(&page);
    ui::Rect seen;
    user.Then([&] { seen = user.Active()->Bounds(); }).Press(ui::Key::Escape);
    sheet.DoModal();
    EXPECT_EQ(seen.x, 12);
    EXPECT_EQ(seen.y, -3);
    EXPECT_GE(seen.cx, 180);  // room for the widest page
}

TEST(PropertySheet, WithoutPagesItDoesNotRun) {
    ui::HeadlessUser user;
    ui::PropertySheet sheet("Empty", nullptr);
    EXPECT_EQ(sheet.DoModal(), -1);
}

}  // namespace
