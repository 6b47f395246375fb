// The cards page against emulated adapters: the listing before and after a detection, the
// profile controls by firmware level, the sheets it opens, and "Detecting Cards" cut short.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "AppletRoot.h"
#include "CardList.h"
#include "ConfigureIF.h"
#include "platform/sys/NamedMutex.h"
#include "platform/sys/Time.h"
#include "platform/ui/HeadlessUser.h"
#include "platform/ui/Window.h"

namespace {

constexpr const char kMainTitle[] = "Quilan ISDN T/A Properties";
constexpr const char kDetecting[] = "Detecting Cards";
constexpr const char kSelectCard[] =
    "WARN0002 : Please select a Quilan ISDN T/A from the list of installed cards.";
constexpr int kList = 1009;
constexpr int kProfileProperties = 1002;
constexpr int kProperties = 1003;
constexpr int kRefresh = 1004;
constexpr int kProfileGroup = 1087;
constexpr int kProfileText = 1088;

std::string ItemText(const std::string& port) {
    return "Corvane Quilan ISDN T/A ( " + port + " )";
}

std::int32_t RunApplet(ui::HeadlessUser& user) {
    CConfigureIF configure;
    EXPECT_EQ(configure.InitializeCfg(nullptr), 0);
    std::int32_t status = configure.StartCfg();
    EXPECT_EQ(configure.TerminateCfg(), 0);
    EXPECT_TRUE(user.ScriptDone());
    EXPECT_EQ(user.Problems(), std::vector<std::string>{});
    return status;
}

// The main sheet once its first detection has listed `count` cards.
std::function<bool()> Listed(ui::HeadlessUser& user, std::size_t count) {
    return
        [&user, count] { return user.Title() == kMainTitle && user.Items(kList).size() == count; };
}

void ExpectProfileControls(const ui::HeadlessUser& user, bool bEnabled) {
    for (int id : {kProfileProperties, kProfileGroup, kProfileText}) {
        EXPECT_EQ(user.IsEnabled(id), bEnabled) << id;
    }
}

TEST(CardsPageTest, StoredCardShowsFirstAndGoesWhenItNoLongerAnswers) {
    CAppletRoot root;
    {
        auto card = root.Card("COM3");
        ASSERT_EQ(CCardList().FindInsertedCard(0), 2);
    }
    // The clock stands still: the first look is before the detection's timer.
    ui::HeadlessUser user(ui::HeadlessUser::Clock::Manual);
    user.Then([&] {
            EXPECT_EQ(user.Items(kList), std::vector<std::string>{ItemText("COM3")});
            EXPECT_EQ(user.Selection(kList), 0);
            EXPECT_TRUE(user.IsEnabled(kProperties));
        })
        .Wait(100)
        .WaitUntil(Listed(user, 0))
        .Then([&] {
            EXPECT_FALSE(user.IsEnabled(kProperties));
            EXPECT_FALSE(user.IsEnabled(kProfileProperties));
        })
        .Click(ui::kIdCancel);
    EXPECT_EQ(RunApplet(user), 0);
}

TEST(CardsPageTest, ProfileControlsFollowTheSelectedCardsMinorVersion) {
    CAppletRoot root;
    auto minor3 = root.Card("COM2", CardConfig("3.03.05", tasim::Region::NorthAmerica));
    auto minor4 = root.Card("COM5", CardConfig("3.04.01", tasim::Region::NorthAmerica));
    ui::HeadlessUser user;
    user.WaitUntil(Listed(user, 2)).Then([&] {
        EXPECT_EQ(user.Items(kList),
                  (std::vector<std::string>{ItemText("COM2"), ItemText("COM5")}));
        EXPECT_EQ(user.Selection(kList), 0);
        EXPECT_TRUE(user.IsEnabled(kProperties));
        ExpectProfileControls(user, false);
    });
    struct Row {
        const char* what;
        void (*act)(ui::HeadlessUser&, int);
        int item;
        bool bEnabled;
    };
    const Row rows[] = {
        {"click minor 4", [](ui::HeadlessUser& u, int i) { u.ClickItem(kList, i); }, 1, true},
        {"right click minor 3", [](ui::HeadlessUser& u, int i) { u.RightClickItem(kList, i); }, 0,
         false},
        {"right double click minor 4",
         [](ui::HeadlessUser& u, int i) { u.RightDoubleClickItem(kList, i); }, 1, true},
        {"click below the rows keeps the state",
         [](ui::HeadlessUser& u, int i) { u.ClickItem(kList, i); }, -1, true},
        {"click minor 3", [](ui::HeadlessUser& u, int i) { u.ClickItem(kList, i); }, 0, false},
    };
    for (const Row& row : rows) {
        row.act(user, row.item);
        user.Then([&user, &row] {
            SCOPED_TRACE(row.what);
            ExpectProfileControls(user, row.bEnabled);
        });
    }
    user.Click(ui::kIdOk);
    EXPECT_EQ(RunApplet(user), 0);
}

// The arrows move the selection as clicks do, and the profile controls follow it across the
// boundary between minor versions 3 and 4 both ways; the profiles sheet opens from the keyboard
// for the card selected, and not for a card without profiles.
TEST(CardsPageTest, ProfileControlsFollowTheArrowKeys) {
    CAppletRoot root;
    auto minor4 = root.Card("COM1", CardConfig("3.04.01", tasim::Region::NorthAmerica));
    auto minor3 = root.Card("COM3", CardConfig("3.03.05", tasim::Region::International));
    auto minor10 = root.Card("COM10", CardConfig("3.10.05", tasim::Region::NorthAmerica));
    ui::HeadlessUser user;
    user.WaitUntil(Listed(user, 3)).Then([&] {
        EXPECT_EQ(user.FocusId(), kList);
        EXPECT_EQ(user.Selection(kList), 0);
        ExpectProfileControls(user, true);
    });
    struct Row {
        const char* what;
        ui::Key key;
        int selected;
        bool bEnabled;
    };
    const Row rows[] = {
        {"down to minor 3", ui::Key::Down, 1, false},
        {"down to minor 10", ui::Key::Down, 2, true},
        {"down at the last card", ui::Key::Down, 2, true},
        {"up to minor 3", ui::Key::Up, 1, false},
        {"up to minor 4", ui::Key::Up, 0, true},
    };
    for (const Row& row : rows) {
        user.Press(row.key).Then([&user, &row] {
            SCOPED_TRACE(row.what);
            EXPECT_EQ(user.Selection(kList), row.selected);
            ExpectProfileControls(user, row.bEnabled);
        });
    }
    user.PressAlt('o')
        .Then([&] {
            EXPECT_EQ(user.Title(), "Profiles - North America");
            EXPECT_TRUE(Received(*minor4, "AT&V\r")) << "COM1's profiles";
        })
        .Click(ui::kIdCancel)
        .Then([&] { EXPECT_EQ(user.FocusId(), kList); })
        .Press(ui::Key::Down)
        .PressAlt('o')
        .Then([&] { EXPECT_EQ(user.Title(), kMainTitle) << "no profiles below minor 4"; })
        .Press(ui::Key::Down)
        .PressAlt('o')
        .Then([&] {
            EXPECT_EQ(user.Title(), "Profiles - North America");
            EXPECT_TRUE(Received(*minor10, "AT&V\r")) << "COM10's profiles";
            EXPECT_FALSE(Received(*minor3, "AT&V\r"));
        })
        .Click(ui::kIdCancel)
        .Click(ui::kIdCancel);
    EXPECT_EQ(RunApplet(user), 0);
}

// Holds the card-list lock on a thread of its own, as a scan does, until the page waits for it
// with the busy mark up. The page's thread is blocked then, so only another thread sees it.
class CListHolder {
  public:
    explicit CListHolder(const ui::HeadlessUser& user) : m_user(user) {}
    ~CListHolder() {
        if (m_thread.joinable()) {
            m_thread.join();
        }
    }

    // Returns once the lock is held; it is given back when the busy mark has appeared `marks`
    // times in all and is up, or after a long while when it never does.
    void Take(int marks) {
        std::promise<bool> held;
        std::future<bool> taken = held.get_future();
        m_thread = std::thread([this, marks, held = std::move(held)]() mutable {
            sys::NamedMutex lock("TALMONT_CARDLIST_MUTEX");
            bool bHeld = lock.Lock() == sys::NamedMutex::LockResult::Acquired;
            held.set_value(bHeld);
            if (!bHeld) {
                return;
            }
            auto seen = [&] { return m_user.BusyMarks() >= marks && m_user.IsBusy(); };
            const auto deadline = std::chrono::steady_clock::now() + sys::Scaled(60000);
            while (!seen() && std::chrono::steady_clock::now() < deadline) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            m_bSawBusy.store(seen());
            lock.Unlock();
        });
        ASSERT_TRUE(taken.get());
    }
    bool SawBusy() const { return m_bSawBusy.load(); }

  private:
    const ui::HeadlessUser& m_user;
    std::thread m_thread;
    std::atomic<bool> m_bSawBusy{false};
};

TEST(CardsPageTest, BusyWhileTheCutShortPageWaitsForTheCardListThenListed) {
    CAppletRoot root;
    auto first = root.Card("COM2");
    auto second = root.Card("COM5");
    // Known from an earlier detection: the page lists both, whether the scan or the page has
    // the list first once it is free.
    CCardList cards;
    for (int slot = cards.FindInsertedCard(0); slot != -1;
         slot = cards.FindInsertedCard(slot + 1)) {
    }
    // The clock stands still: the first look is after the first listing, before the detection.
    ui::HeadlessUser user(ui::HeadlessUser::Clock::Manual);
    CListHolder holder(user);
    user.Then([&] {
            EXPECT_FALSE(user.IsBusy());
            // The detection's own busy mark, then the page's while it waits for the list.
            holder.Take(user.BusyMarks() + 2);
        })
        .Wait(100)
        .WaitUntil([&] { return user.Title() == kDetecting; })
        .Press(ui::Key::Escape)
        .Then([&] {
            EXPECT_TRUE(holder.SawBusy()) << "the page waited for the list without a busy mark";
            EXPECT_FALSE(user.IsBusy());
            EXPECT_EQ(user.Items(kList),
                      (std::vector<std::string>{ItemText("COM2"), ItemText("COM5")}));
        })
        .Click(ui::kIdCancel);
    EXPECT_EQ(RunApplet(user), 0);
}

TEST(CardsPageTest, ProfilesSheetTitleFollowsTheCardsRegion) {
    CAppletRoot root;
    auto international = root.Card("COM2", CardConfig("3.10.05", tasim::Region::International));
    auto northAmerica = root.Card("COM5", CardConfig("3.10.05", tasim::Region::NorthAmerica));
    ui::HeadlessUser user;
    user.WaitUntil(Listed(user, 2))
        .Click(kProfileProperties)
        .Then([&] {
            EXPECT_EQ(user.Title(), "Profiles - International (Excl. North America)");
            EXPECT_EQ(user.Tabs(), std::vector<std::string>{"General"});
            EXPECT_FALSE(user.Has(ui::kIdApply));
            EXPECT_TRUE(Received(*international, "AT&V\r")) << "the selected card's profiles";
            EXPECT_FALSE(Received(*northAmerica, "AT&V\r"));
        })
        .Click(ui::kIdCancel)
        .ClickItem(kList, 1)
        .Click(kProfileProperties)
        .Then([&] {
            EXPECT_EQ(user.Title(), "Profiles - North America");
            EXPECT_TRUE(Received(*northAmerica, "AT&V\r"));
        })
        .Click(ui::kIdOk)
        .Then([&] {
            EXPECT_EQ(user.Title(), kMainTitle);
            EXPECT_EQ(user.Selection(kList), 1) << "the list is not refilled";
        })
        .Click(ui::kIdCancel);
    EXPECT_EQ(RunApplet(user), 0);
}

TEST(CardsPageTest, CardPropertiesOpensForTheSelectedCardAndTheListIsRebuilt) {
    CAppletRoot root;
    auto first = root.Card("COM2");
    auto second = root.Card("COM5");
    ui::HeadlessUser user;
    user.WaitUntil(Listed(user, 2))
        .Click(kProperties)
        .Then([&] {
            EXPECT_EQ(user.Title(), "Card Properties");
            EXPECT_EQ(user.Tabs(), std::vector<std::string>{"General"});
            EXPECT_FALSE(user.Has(ui::kIdApply));
            EXPECT_EQ(user.Text(1001), "COM2");
        })
        .Click(ui::kIdOk)
        .DoubleClickItem(kList, 1)
        .Then([&] {
            EXPECT_EQ(user.Title(), "Card Properties") << "a double click opens the same sheet";
            EXPECT_EQ(user.Text(1001), "COM5");
        })
        .Click(ui::kIdCancel)
        .Then([&] {
            EXPECT_EQ(user.Items(kList),
                      (std::vector<std::string>{ItemText("COM2"), ItemText("COM5")}));
            EXPECT_EQ(user.Selection(kList), 0) << "rebuilt, the first card selected again";
        })
        .Click(ui::kIdCancel);
    EXPECT_EQ(RunApplet(user), 0);
}

class NoSelectionTest : public ::testing::TestWithParam<int> {};

TEST_P(NoSelectionTest, WarnsAndOpensNothing) {
    CAppletRoot root;
    auto card = root.Card("COM2");
    ui::HeadlessUser user;
    user.WaitUntil(Listed(user, 1))
        .ClickItem(kList, -1)
        .Click(GetParam())
        .Answer(ui::kIdOk)
        .Then([&] {
            EXPECT_EQ(user.Title(), kMainTitle);
            ASSERT_EQ(user.MessageBoxes().size(), 1u);
            EXPECT_EQ(user.MessageBoxes()[0].request.text, kSelectCard);
        })
        .Click(ui::kIdCancel);
    EXPECT_EQ(RunApplet(user), 0);
}

INSTANTIATE_TEST_SUITE_P(Buttons, NoSelectionTest,
                         ::testing::Values(kProperties, kProfileProperties));

// Escape or Enter end "Detecting Cards" at once while the scan runs on. To keep the scan going
// past that point, the test's thread (the user-interface thread) holds the card-list lock from
// the start: the scan waits for it, while the page, re-entering it on the same thread, lists
// what the card list holds at that moment. Once the lock is released the scan runs its course;
// it must neither close anything when it ends nor outlive the page.
class DetectionCutShortTest : public ::testing::TestWithParam<ui::Key> {
  protected:
    void SetUp() override {
        // Each card leaves its firmware query unanswered: a probe takes a full reply time-out.
        m_slow.faults.noAnswer.text = "ATI3";
        ASSERT_EQ(m_lock.Lock(), sys::NamedMutex::LockResult::Acquired);
    }
    void TearDown() override { Release(); }
    void Release() {
        if (m_bHeld) {
            m_lock.Unlock();
            m_bHeld = false;
        }
    }

    CAppletRoot m_root;
    tasim::Config m_slow;
    sys::NamedMutex m_lock{"TALMONT_CARDLIST_MUTEX"};
    bool m_bHeld = true;
};

TEST_P(DetectionCutShortTest, PageWaitsForTheScanWhenItGoesAway) {
    auto first = m_root.Card("COM2", m_slow);
    auto last = m_root.Card("COM5", m_slow);
    ui::HeadlessUser user;
    user.WaitUntil([&] { return user.Title() == kDetecting; })
        .Press(GetParam())
        .Then([&] {
            EXPECT_EQ(user.Title(), kMainTitle) << "closed at once";
            EXPECT_TRUE(user.Items(kList).empty()) << "listed before the scan found anything";
            EXPECT_FALSE(Received(*first, "ATI8\r"));
            Release();
        })
        .Click(ui::kIdCancel);
    EXPECT_EQ(RunApplet(user), 0);
    // The scan's last command goes out only after its last reply time-out: it had ended.
    EXPECT_TRUE(Received(*last, "ATI4\r"));
    _CardInfo cards[10];
    int count = 10;
    ASSERT_EQ(CCardList().GetCardInfoList(cards, count), 0);
    EXPECT_EQ(count, 2);
}

TEST_P(DetectionCutShortTest, RefreshWaitsForTheScanThenDetectsAfresh) {
    auto card = m_root.Card("COM2", m_slow);
    auto probes = [&] {
        auto commands = card->Commands();
        return std::count(commands.begin(), commands.end(), "ATI8\r");
    };
    ui::HeadlessUser user;
    user.WaitUntil([&] { return user.Title() == kDetecting; })
        .Press(GetParam())
        .Then([&] { Release(); })
        .Click(kRefresh)
        .WaitUntil(Listed(user, 1))
        .Then([&] {
            EXPECT_EQ(user.Items(kList), std::vector<std::string>{ItemText("COM2")});
            // The first scan found the card, the second one checked that it is still there.
            EXPECT_EQ(probes(), 2);
        })
        .Wait(200)
        .Then([&] { EXPECT_EQ(user.Title(), kMainTitle) << "no late close request"; })
        .Click(ui::kIdCancel);
    EXPECT_EQ(RunApplet(user), 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, DetectionCutShortTest,
                         ::testing::Values(ui::Key::Escape, ui::Key::Enter), [](const auto& info) {
                             return info.param == ui::Key::Escape ? "Escape" : "Enter";
                         });

}  // namespace
