#include <gtest/gtest.h>

#include "FormDialog.h"
#include "platform/ui/HeadlessUser.h"
#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PropertySheet.h"

namespace {

TEST(DataExchange, NumberChecksShowTheToolkitMessagesAndKeepTheDialog) {
    struct Row {
        const char* text;
        const char* message;  // null: accepted
        unsigned value;
    };
    const Row rows[] = {
        {"", "Please enter a positive integer.", 0},
        {"   ", "Please enter a positive integer.", 0},
        {"abc", "Please enter a positive integer.", 0},
        {"12a", "Please enter a positive integer.", 0},
        {"-1", "Please enter a positive integer.", 0},
        {"65536", "Please enter an integer between 0 and 65535.", 0},
        {"99999", "Please enter an integer between 0 and 65535.", 0},
        {"0", nullptr, 0},
        {" 42 ", nullptr, 42},
        {"65535", nullptr, 65535},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string("\"") + row.text + "\"");
        ui::HeadlessUser user;
        test::FormDialog dialog;
        // Pasted, not typed: the edit takes digits only from the keyboard.
        user.Then([&] { dialog.Item(test::kNumber)->SetText(row.text); })
            .Type(test::kName, "typed")
            .Click(ui::kIdOk);
        if (row.message) {
            user.Answer(ui::kIdOk)
                .Then([&] {
                    EXPECT_FALSE(dialog.IsEnded());
                    EXPECT_EQ(user.FocusId(), test::kNumber);
                    EXPECT_TRUE(user.IsAllSelected(test::kNumber));
                })
                .Press(ui::Key::Escape);
        }
        int code = dialog.DoModal();
        EXPECT_TRUE(user.Problems().empty()) << user.Problems().front();
        if (row.message) {
            EXPECT_EQ(code, ui::kIdCancel);
            ASSERT_EQ(user.MessageBoxes().size(), 1u);
            const auto& box = user.MessageBoxes()[0].request;
            EXPECT_EQ(box.text, row.message);
            EXPECT_EQ(box.title, "Test Library");
            EXPECT_EQ(box.icon, ui::Icon::Exclamation);
            EXPECT_EQ(box.buttons, ui::Buttons::Ok);
            EXPECT_EQ(dialog.m_strName, "first");  // the rest of the exchange was abandoned
        } else {
            EXPECT_EQ(code, ui::kIdOk);
            EXPECT_TRUE(user.MessageBoxes().empty());
            EXPECT_EQ(dialog.m_nNumber, row.value);
            EXPECT_EQ(dialog.m_strName, "typed");
        }
    }
}

// A page with its own check after its edit, as the number rules do.
class CheckedPage : public ui::PropertyPage {
  public:
    CheckedPage() : PropertyPage(test::Library(), test::kPageA) {}
    std::string m_strValue;
    bool m_bCheck = false;
    int oks = 0;

  protected:
    void DoDataExchange(ui::DataExchange& dx) override {
        dx.Text(test::kPageEdit, m_strValue);
        if (dx.IsSaving() && m_strValue.find('x') != std::string::npos) {
            ui::MessageBoxText(GetModule(), "ERR0007 : Invalid ISDN Number configured.");
            dx.Fail();
        }
        dx.Check(test::kPageCheck, m_bCheck);
    }
    void OnOK() override { ++oks; }
};

TEST(DataExchange, AFailedPageCheckFocusesTheFieldAndOkDoesNotComplete) {
    ui::HeadlessUser user;
    CheckedPage page;
    page.m_strValue = "12x4";  // loading never checks
    ui::PropertySheet sheet("Location", nullptr);
    sheet.AddPage(&page);
    user.Then([&] { EXPECT_EQ(user.Text(test::kPageEdit), "12x4"); })
        .Tick(test::kPageCheck)
        .Click(test::kPageCheck)  // focus elsewhere, box cleared again
        .Tick(test::kPageCheck)
        .Click(ui::kIdOk)
        .Answer(ui::kIdOk)
        .Then([&] {
            EXPECT_FALSE(sheet.IsEnded());
            EXPECT_EQ(user.FocusId(), test::kPageEdit);
            EXPECT_TRUE(user.IsAllSelected(test::kPageEdit));
            EXPECT_FALSE(page.m_bCheck);  // exchanged after the failure: not taken
            EXPECT_EQ(page.oks, 0);
        })
        .Type(test::kPageEdit, "1234")
        .Click(ui::kIdOk);
    EXPECT_EQ(sheet.DoModal(), ui::kIdOk);
    EXPECT_TRUE(user.Problems().empty()) << user.Problems().front();
    EXPECT_EQ(page.m_strValue, "1234");
    EXPECT_TRUE(page.m_bCheck);
    EXPECT_EQ(page.oks, 1);
    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_EQ(user.MessageBoxes()[0].request.title, "Test Library");
}

TEST(DataExchange, ABoundControlMissingFromTheTemplateFailsTheExchange) {
    class Binding : public test::FormDialog {
      public:
        ui::Window* m_pRows = nullptr;
        ui::Window* m_pMissing = nullptr;

      protected:
        void DoDataExchange(ui::DataExchange& dx) override {
            ui::ListView* rows = nullptr;
            dx.Control(test::kRows, rows);
            m_pRows = rows;
            ui::ListView* wrongKind = nullptr;
            dx.Control(test::kName, wrongKind);  // an edit, not a list view
            m_pMissing = wrongKind;
        }
    };
    ui::HeadlessUser user;
    Binding dialog;
    user.Click(ui::kIdOk).Press(ui::Key::Escape);
    EXPECT_EQ(dialog.DoModal(), ui::kIdCancel);  // OK could not complete
    EXPECT_NE(dialog.m_pRows, nullptr);
    EXPECT_EQ(dialog.m_pMissing, nullptr);
}

}  // namespace
