// The card list between real processes: one list for all, a process killed while it holds the
// lock, the list starting afresh when the last process is gone, the lock held across a scan's
// nested updates, and the change message to a window of another process.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <future>
#include <thread>

#include "Adapters.h"
#include "CardList.h"
#include "Peer.h"
#include "platform/sys/Messages.h"

namespace {

// Waits (in real time, bounded) until the adapter has received `command`.
bool AwaitCommand(const tasim::Adapter& adapter, const std::string& command) {
    for (int i = 0; i < 2000 && !Received(adapter, command); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return Received(adapter, command);
}

TEST(CardListProcessesTest, TwoProcessesSeeOneList) {
    CTestRoot root;
    auto adapter = StartAdapter(root, "COM3");
    CCardList list;
    ASSERT_EQ(list.SetCardConfigFlag(5, 3), 0);

    EXPECT_EQ(CPeer({"set-flag", "COM5", "7"}).ReadLine(), "0");
    _CardInfo info{};
    ASSERT_EQ(list.GetPortInfo(4, info), 0);
    EXPECT_EQ(info.nConfigFlag, 7);
    EXPECT_EQ(CPeer({"get-flag", "com6"}).ReadLine(), "0 3");

    // A scan in the other process finds the card that this process then lists.
    EXPECT_EQ(CPeer({"scan-inserted", "0"}).ReadLine(), "2");
    _CardInfo cards[10];
    int count = 10;
    ASSERT_EQ(list.GetCardInfoList(cards, count), 0);
    ASSERT_EQ(count, 1);
    EXPECT_STREQ(cards[0].szPort, "COM3");
    EXPECT_EQ(cards[0].SoftwareVer.nMinor, 10);
}

TEST(CardListProcessesTest, AProcessKilledWhileHoldingTheLockDoesNotBlockTheNext) {
    CTestRoot root;
    // COM1 keeps the other process's scan waiting for an answer, with the lock held.
    tasim::Config silent;
    silent.faults.noAnswer.text = "ATI8";
    auto adapter = StartAdapter(root, "COM1", silent);
    CCardList list;
    ASSERT_EQ(list.SetCardConfigFlag(0, 8), 0);

    CPeer scanner({"scan-inserted", "0"});
    ASSERT_TRUE(AwaitCommand(*adapter, "ATI8\r"));
    scanner.Kill();

    _CardInfo info{};
    EXPECT_EQ(list.GetPortInfo(0, info), 2007) << "the abandoned lock is reported once";
    ASSERT_EQ(list.GetPortInfo(0, info), 0);
    EXPECT_EQ(info.nConfigFlag, 8);
    EXPECT_EQ(CPeer({"get-flag", "COM1"}).ReadLine(), "0 8") << "and others get it too";
}

TEST(CardListProcessesTest, TheListStartsAfreshWhenTheLastProcessIsGone) {
    CTestRoot root;  // this process never touches the list here
    {
        CPeer setter({"set-flag", "COM5", "7"});
        EXPECT_EQ(setter.ReadLine(), "0");
        EXPECT_EQ(setter.Wait(), 0);
    }
    EXPECT_EQ(CPeer({"get-flag", "COM5"}).ReadLine(), "0 0") << "after a normal exit";

    {
        CPeer setter({"set-flag", "COM5", "7", "stay"});
        EXPECT_EQ(setter.ReadLine(), "0");
        EXPECT_EQ(CPeer({"get-flag", "COM5"}).ReadLine(), "0 7") << "while it is attached";
        setter.Kill();
    }
    EXPECT_EQ(CPeer({"get-flag", "COM5"}).ReadLine(), "0 0") << "after it was killed";
}

TEST(CardListProcessesTest, TheLockIsHeldAcrossAScansNestedUpdates) {
    CTestRoot root;
    // The region query goes unanswered, so the scan waits after its version update.
    tasim::Config config;
    config.faults.noAnswer.text = "ATI4";
    auto adapter = StartAdapter(root, "COM3", config);
    CPeer reader({"list-when-told"});
    ASSERT_EQ(reader.ReadLine(), "ready");

    CCardList list;
    auto scan = std::async(std::launch::async, [&] { return list.FindInsertedCard(0); });
    ASSERT_TRUE(AwaitCommand(*adapter, "ATI4\r"));
    reader.WriteLine("go");  // the version update has taken and released the lock once
    EXPECT_EQ(scan.get(), 2);
    EXPECT_EQ(reader.ReadLine(), "0 1") << "the other process got in before the scan ended";
}

TEST(CardListProcessesTest, CardChangesReachAWindowOfAnotherProcess) {
    CTestRoot root;
    CCardList list;
    CPeer window({"window"});
    ASSERT_EQ(window.ReadLine(), "registered");

    _CardInfo card{};
    std::strcpy(card.szPort, "COM10");
    card.nInserted = 1;
    card.nConfigFlag = 2;
    EXPECT_EQ(list.UpdateCtrlPanelApplet(card), 0);
    // Synchronous: the other process has handled it (and said so) before the call returned.
    EXPECT_TRUE(window.HasOutput());
    std::string expected = std::to_string(sys::RegisterWindowMessage("Talmont_Card_Change")) +
                           " 10 " + std::to_string(0x00020001);
    EXPECT_EQ(window.ReadLine(), expected);
    EXPECT_EQ(window.Wait(), 0);
}

}  // namespace
