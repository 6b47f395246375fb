// Processes using the card list killed at random moments: while they start and attach to the
// shared list, while they hold the card-list lock (a scan holds it across ten probes), between
// operations. After every round the next process must get a working list: every slot reads back
// with its port name and a flag written reads back, after at most one report of an abandoned
// lock. Once with another process attached all along, so that the list and its lock live on
// through the kills, and once without, so that they start afresh.
#include <gtest/gtest.h>

#include <chrono>
#include <iostream>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "Peer.h"
#include "TestRoot.h"

namespace {

constexpr int kRounds = 50;
constexpr int kUsersPerRound = 3;

class CardListKills : public ::testing::TestWithParam<bool> {};

TEST_P(CardListKills, TheNextProcessGetsAWorkingList) {
    const bool keeperAttached = GetParam();
    CTestRoot root;
    std::unique_ptr<CPeer> keeper;
    if (keeperAttached) {
        keeper = std::make_unique<CPeer>(std::vector<std::string>{"set-flag", "COM5", "7", "stay"});
        ASSERT_EQ(keeper->ReadLine(), "0");
    }
    std::mt19937 random(keeperAttached ? 1401 : 1400);
    std::uniform_int_distribution<int> sinceStart(0, 40000);  // microseconds
    std::uniform_int_distribution<int> sinceReady(0, 5000);
    std::bernoulli_distribution waitForReady(0.5);

    int kills = 0;
    int abandoned = 0;
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::vector<std::unique_ptr<CPeer>> users;
        for (int i = 0; i < kUsersPerRound; ++i) {
            users.push_back(std::make_unique<CPeer>(std::vector<std::string>{"churn"}));
        }
        // The others go on using the list while each one is killed.
        for (auto& user : users) {
            int delay = sinceStart(random);
            if (waitForReady(random)) {
                ASSERT_EQ(user->ReadLine(), "ready");
                delay = sinceReady(random);
            }
            std::this_thread::sleep_for(std::chrono::microseconds(delay));
            user->Kill();
            ++kills;
        }
        CPeer next({"check"});
        std::string said = next.ReadLine();
        if (said == "abandoned") {
            ++abandoned;
            said = next.ReadLine();
        }
        EXPECT_EQ(said, "ok");
        EXPECT_EQ(next.Wait(), 0);
    }
    std::cout << "kill points tried: " << kills << " ("
              << (keeperAttached ? "another process attached all along" : "none attached between")
              << "; " << abandoned << " abandoned locks reported to the next process)\n";
}

INSTANTIATE_TEST_SUITE_P(Keeper, CardListKills, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "AnotherProcessAttached" : "NoneAttached";
                         });

}  // namespace
