// The host against an applet file that records what it hears: the messages and their order,
// the records it reads back, opening from the list, and the program started on a file.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/cpl/ControlPanel.h"
#include "platform/ui/HeadlessUser.h"
#include "platform/ui/ListView.h"

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {

class CplHost : public ::testing::Test {
  protected:
    void SetUp() override {
        char pattern[] = "/tmp/cpl_host_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        m_log = m_dir / "messages.log";
        setenv("TEST_APPLET_LOG", m_log.c_str(), 1);
        unsetenv("TEST_APPLET_INIT");
        unsetenv("TEST_APPLET_COUNT");
    }
    void TearDown() override { fs::remove_all(m_dir); }

    Lines Log() const {
        Lines lines;
        std::ifstream in(m_log);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }

    fs::path m_dir;
    fs::path m_log;
};

const Lines kLoadTwo = {
    "INIT live",         "GETCOUNT live",  "INQUIRE 0 live",
    "NEWINQUIRE 0 live", "INQUIRE 1 live", "NEWINQUIRE 1 live",
};
const Lines kUnloadTwo = {"STOP 0 100 live", "STOP 1 101 live", "EXIT live"};

Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

}  // namespace

TEST_F(CplHost, ListsTheAppletsAndOpensThemByDoubleClickAndEnter) {
    const std::string longName(32, 'N');  // the applet filled the field without a NUL
    ui::HeadlessUser user;
    user.Then([&] {
            EXPECT_EQ(user.Items(CControlPanel::kIdList), (Lines{"Test applet 0", longName}));
            EXPECT_EQ(user.Text(CControlPanel::kIdDescription), "Applet number 0");
            auto* list = dynamic_cast<ui::ListView*>(user.Find(CControlPanel::kIdList));
            ASSERT_NE(list, nullptr);
            const ui::Image* icon = list->Images()->Get(list->ItemImage(1));
            ASSERT_NE(icon, nullptr);
            EXPECT_EQ(icon->rows, Lines{"<T>"});
        })
        .DoubleClickItem(CControlPanel::kIdList, 1)
        .Then([&] { EXPECT_EQ(user.Text(CControlPanel::kIdDescription), "Applet number 1"); })
        .Press(ui::Key::Up)
        .Wait(500)  // the description follows the arrows on the panel's timer
        .Then([&] { EXPECT_EQ(user.Text(CControlPanel::kIdDescription), "Applet number 0"); })
        .Press(ui::Key::Enter)
        .Click(ui::kIdCancel);

    CControlPanel panel({TEST_APPLET_PATH}, false);
    EXPECT_EQ(panel.DoModal(), ui::kIdCancel);

    EXPECT_EQ(
        Log(),
        Join({kLoadTwo, {"DBLCLK 1 101 live parent", "DBLCLK 0 100 live parent"}, kUnloadTwo}));
    EXPECT_TRUE(user.Problems().empty()) << user.Problems().front();
}

TEST_F(CplHost, MessagesAtLoadingFollowTheAppletsAnswers) {
    struct Row {
        const char* name;
        const char* init;
        const char* count;
        Lines messages;
        bool bListed;
    };
    const Row rows[] = {
        {"refused at start: released with no further message", "0", "2", {"INIT live"}, false},
        {"no applet: told to exit", "1", "0", {"INIT live", "GETCOUNT live", "EXIT live"}, false},
        {"one applet",
         "1",
         "1",
         {"INIT live", "GETCOUNT live", "INQUIRE 0 live", "NEWINQUIRE 0 live", "STOP 0 100 live",
          "EXIT live"},
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fs::remove(m_log);
        setenv("TEST_APPLET_INIT", row.init, 1);
        setenv("TEST_APPLET_COUNT", row.count, 1);
        ui::HeadlessUser user;
        if (!row.bListed) {
            user.Answer(ui::kIdOk);  // the host says why the file is not listed
        }
        user.Then([&] {
                EXPECT_EQ(user.Items(CControlPanel::kIdList).empty(), !row.bListed);
                EXPECT_EQ(user.IsEnabled(ui::kIdOk), row.bListed);
            })
            .Click(ui::kIdCancel);
        CControlPanel panel({TEST_APPLET_PATH}, false);
        panel.DoModal();
        EXPECT_EQ(Log(), row.messages);
        EXPECT_EQ(user.MessageBoxes().size(), row.bListed ? 0u : 1u);
        EXPECT_TRUE(user.Problems().empty());
    }
}

TEST_F(CplHost, FilesThatAreNoAppletsAreReportedAndTheOthersListed) {
    const fs::path bogus = m_dir / "bogus.cpl";
    std::ofstream(bogus) << "not a library\n";
    ui::HeadlessUser user;
    user.Answer(ui::kIdOk)
        .Answer(ui::kIdOk)
        .Then([&] { EXPECT_EQ(user.Items(CControlPanel::kIdList).size(), 2u); })
        .Click(ui::kIdCancel);
    CControlPanel panel({bogus, NOT_AN_APPLET_PATH, TEST_APPLET_PATH}, false);
    panel.DoModal();

    ASSERT_EQ(panel.Failures().size(), 2u);
    EXPECT_NE(panel.Failures()[1].find("no CPlApplet"), std::string::npos);
    EXPECT_EQ(user.MessageBoxes().size(), 2u);
    EXPECT_EQ(Log(), Join({kLoadTwo, kUnloadTwo}));
}

TEST_F(CplHost, StartedOnAFileItOpensTheFirstAppletAtOnceAndEnds) {
    ui::HeadlessUser user;  // no steps: nobody touches the panel
    CControlPanel panel({TEST_APPLET_PATH}, true);
    EXPECT_EQ(panel.DoModal(), ui::kIdOk);
    EXPECT_EQ(Log(), Join({kLoadTwo, {"DBLCLK 0 100 live parent"}, kUnloadTwo}));
}

TEST_F(CplHost, TheProgramOpensTheAppletFileItIsGiven) {
    struct Row {
        std::string file;
        int status;
        Lines messages;
    };
    const Row rows[] = {
        {TEST_APPLET_PATH, 0, Join({kLoadTwo, {"DBLCLK 0 100 live parent"}, kUnloadTwo})},
        {(m_dir / "missing.cpl").string(), 1, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        fs::remove(m_log);
        const std::string command = "QUILAN_FRONTEND=headless QUILAN_ROOT='" + m_dir.string() +
                                    "' '" + std::string(HOST_PATH) + "' '" + row.file +
                                    "' 2>/dev/null </dev/null";
        int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), row.status);
        EXPECT_EQ(Log(), row.messages);
    }
}
