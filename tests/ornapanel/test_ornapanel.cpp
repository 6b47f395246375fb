// ornapanel.cpl loaded as the host loads it, over the real configuration shell with no card
// present: its message table, its information record, the three calls of each opening whatever
// they answer, and two openings in one loaded file.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "ConfigureSpy.h"
#include "platform/cpl/ControlPanel.h"
#include "platform/ui/HeadlessUser.h"

namespace fs = std::filesystem;

namespace {

const std::string kMainSheet = "Quilan ISDN T/A Properties";
const std::string kInitError = "An error occured while initialising the applet.";
const std::string kTerminateError = "An error occured while terminating the applet.";

class Ornapanel : public ::testing::Test {
  protected:
    void SetUp() override {
        // A system root of the test's own with no port: no card is found.
        char pattern[] = "/tmp/ornapanel_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_root = pattern;
        fs::create_directory(m_root / "ports");
        setenv("QUILAN_ROOT", m_root.c_str(), 1);
        spy::Calls().clear();
        spy::failSheetAllocation = false;
        spy::startAnswer.reset();
        spy::terminateAnswer.reset();

        m_library = dlopen(ORNAPANEL_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_library, nullptr) << dlerror();
        m_proc = reinterpret_cast<CplAppletProc>(dlsym(m_library, kCplAppletSymbol));
        ASSERT_NE(m_proc, nullptr);
    }
    void TearDown() override {
        if (m_library) {
            dlclose(m_library);
        }
        fs::remove_all(m_root);
    }

    std::int32_t Send(std::uint32_t message, std::intptr_t lParam1 = 0, std::intptr_t lParam2 = 0) {
        return m_proc(0, message, lParam1, lParam2);
    }

    std::vector<std::string> CallNames() const {
        std::vector<std::string> names;
        for (const spy::Call& call : spy::Calls()) {
            names.push_back(call.name);
        }
        return names;
    }

    fs::path m_root;
    void* m_library = nullptr;
    CplAppletProc m_proc = nullptr;
};

// Closes the main sheet once it is shown, noting that it was. The tests run the toolkit on a
// clock that stands still, so the cards page's detection, which waits for a timer, never
// starts: these tests are about the applet's calls, not about the page.
void CloseMainSheet(ui::HeadlessUser& user, int* shown) {
    user.WaitUntil([&user] { return user.Title() == kMainSheet && user.Has(1009); })
        .Then([&user, shown] {
            ++*shown;
            EXPECT_EQ(user.Tabs(), std::vector<std::string>{"General"});
        })
        .Click(ui::kIdCancel);
}

}  // namespace

TEST_F(Ornapanel, MessagesOutsideTheTableAndTheSimpleOnesGiveTheirAnswers) {
    struct Row {
        std::uint32_t message;
        std::int32_t answer;
    };
    const Row rows[] = {
        {0, 1},          {9, 1},        {0xFFFFFFFFu, 1}, {CPL_INIT, 1}, {CPL_GETCOUNT, 1},
        {CPL_SELECT, 1}, {CPL_STOP, 1}, {CPL_EXIT, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE("message " + std::to_string(row.message));
        EXPECT_EQ(Send(row.message, 0, 0), row.answer);
    }
    EXPECT_TRUE(spy::Calls().empty());  // none of them opens anything
}

TEST_F(Ornapanel, InquireFillsNothing) {
    // Whatever record the host passes, old-style or new-style, stays as it was.
    unsigned char record[sizeof(_NewCplInfo)];
    std::memset(record, 0x5A, sizeof record);
    EXPECT_EQ(Send(CPL_INQUIRE, 0, reinterpret_cast<std::intptr_t>(record)), 0);
    for (unsigned char byte : record) {
        ASSERT_EQ(byte, 0x5A);
    }
}

TEST_F(Ornapanel, NewInquireGivesTheAdaptersNameDescriptionAndIcon) {
    _NewCplInfo info;
    std::memset(&info, 0x5A, sizeof info);
    EXPECT_EQ(Send(CPL_NEWINQUIRE, 0, reinterpret_cast<std::intptr_t>(&info)), 0);
    EXPECT_EQ(info.dwSize, 244u);
    EXPECT_EQ(info.dwFlags, 0u);
    EXPECT_EQ(info.dwHelpContext, 0u);
    EXPECT_EQ(info.lData, 0);
    EXPECT_STREQ(info.szName, "Quilan ISDN Terminal Adapter");
    EXPECT_STREQ(info.szInfo, "Changes Quilan ISDN T/A card properties.");
    EXPECT_STREQ(info.szHelpFile, "");
    const ui::Image* icon = CplIconImage(info.hIcon);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->width, 32);
    EXPECT_FALSE(icon->rows.empty());
}

TEST_F(Ornapanel, OpeningMakesTheThreeCallsWhateverTheyAnswer) {
    struct Row {
        const char* name;
        bool bFailAllocation;
        std::optional<std::int32_t> start;
        std::optional<std::int32_t> terminate;
        int sheetsShown;
        std::vector<std::string> boxes;
    };
    const Row rows[] = {
        {"all succeed", false, {}, {}, 1, {}},
        // Without a sheet StartCfg shows nothing and fails too: the error comes twice.
        {"InitializeCfg fails", true, {}, {}, 0, {kInitError, kInitError}},
        {"StartCfg fails", false, 5, {}, 1, {kInitError}},
        {"TerminateCfg fails", false, {}, 7, 1, {kTerminateError}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        spy::Calls().clear();
        spy::failSheetAllocation = row.bFailAllocation;
        spy::startAnswer = row.start;
        spy::terminateAnswer = row.terminate;

        ui::HeadlessUser user(ui::HeadlessUser::Clock::Manual);
        int shown = 0;
        if (row.sheetsShown) {
            CloseMainSheet(user, &shown);
        }
        for (std::size_t i = 0; i < row.boxes.size(); ++i) {
            user.Answer(ui::kIdOk);
        }
        EXPECT_EQ(Send(CPL_DBLCLK, 0, 0), 0);

        EXPECT_EQ(CallNames(),
                  (std::vector<std::string>{"InitializeCfg", "StartCfg", "TerminateCfg"}));
        EXPECT_EQ(shown, row.sheetsShown);
        std::vector<std::string> texts;
        for (const auto& box : user.MessageBoxes()) {
            texts.push_back(box.request.text);
            EXPECT_EQ(box.request.title, "Quilan ISDN T/A Configuration Tool");
            EXPECT_EQ(box.request.buttons, ui::Buttons::Ok);
            EXPECT_EQ(box.request.icon, ui::Icon::Exclamation);
        }
        EXPECT_EQ(texts, row.boxes);
        EXPECT_TRUE(user.ScriptDone());
        EXPECT_TRUE(user.Problems().empty()) << user.Problems().front();
    }
}

TEST_F(Ornapanel, TheHostOpensItTwiceWithTheSameConfigurationObject) {
    ui::HeadlessUser user(ui::HeadlessUser::Clock::Manual);
    int shown = 0;
    user.Then([&] {
        EXPECT_EQ(user.Items(CControlPanel::kIdList),
                  std::vector<std::string>{"Quilan ISDN Terminal Adapter"});
        EXPECT_EQ(user.Text(CControlPanel::kIdDescription),
                  "Changes Quilan ISDN T/A card properties.");
    });
    user.DoubleClickItem(CControlPanel::kIdList, 0);
    CloseMainSheet(user, &shown);
    user.Press(ui::Key::Enter);
    CloseMainSheet(user, &shown);
    user.Click(ui::kIdCancel);

    CControlPanel panel({ORNAPANEL_PATH}, false);
    panel.DoModal();

    EXPECT_EQ(shown, 2);
    EXPECT_TRUE(user.MessageBoxes().empty());
    EXPECT_TRUE(user.Problems().empty()) << user.Problems().front();
    // Two full cycles, each parented on the host's window, on one object. The host has
    // unloaded the file, whose applet released its sheet once more on the way out.
    ASSERT_GE(spy::Calls().size(), 6u);
    const std::vector<std::string> cycle = {"InitializeCfg", "StartCfg", "TerminateCfg"};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE("cycle " + std::to_string(i + 1));
        EXPECT_EQ(spy::Calls()[3 * i].parent, static_cast<ui::Window*>(&panel));
        for (int j = 0; j < 3; ++j) {
            EXPECT_EQ(spy::Calls()[3 * i + j].name, cycle[j]);
        }
    }
}
