// The shared card list in one process: detection scans against emulated adapters on real
// pseudo-terminals, look-ups, flags, bad contents of the shared memory, and the change message.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

#include "Adapters.h"
#include "CardInfo.h"
#include "CardList.h"
#include "platform/sys/Messages.h"
#include "platform/sys/NamedMutex.h"

namespace {

tasim::Config OtherMake() {
    tasim::Config config;
    config.ident = "Hayes Smartmodem Optima 288";
    return config;
}

TEST(CardListTest, StartsWithTenEmptySlots) {
    CTestRoot root;
    CCardList list;
    for (int slot = 0; slot < 10; ++slot) {
        SCOPED_TRACE(slot);
        _CardInfo info{};
        ASSERT_EQ(list.GetPortInfo(slot, info), 0);
        EXPECT_EQ(std::string(info.szPort), "COM" + std::to_string(slot + 1));
        EXPECT_EQ(info.nConfigFlag, 0);
        EXPECT_EQ(info.nInserted, 0);
        EXPECT_EQ(info.SoftwareVer.nMajor, 0);
        EXPECT_STREQ(info.SoftwareVer.szBuild, "");
        EXPECT_EQ(info.VersionType, VERSIONTYPE_NI1);
    }
    _CardInfo cards[10];
    int count = 10;
    EXPECT_EQ(list.GetCardInfoList(cards, count), 0);
    EXPECT_EQ(count, 0);
}

TEST(CardListTest, WithoutAdaptersEveryPortIsProbedAndNothingFound) {
    CTestRoot root;
    CCardList list;
    EXPECT_EQ(list.FindInsertedCard(0), -1) << "no ports at all";
    EXPECT_EQ(list.FindRemovedCard(0), -1);

    // Modems of another make on all ten ports: each must be asked who it is.
    std::vector<std::unique_ptr<tasim::Adapter>> modems;
    for (int n = 1; n <= 10; ++n) {
        modems.push_back(StartAdapter(root, "COM" + std::to_string(n), OtherMake()));
    }
    EXPECT_EQ(list.FindInsertedCard(0), -1);
    for (int n = 0; n < 10; ++n) {
        EXPECT_TRUE(Received(*modems[n], "ATI8\r")) << "COM" << n + 1 << " not probed";
    }
}

TEST(CardListTest, AnAdapterOnCom3IsFoundOnceThenRemoved) {
    CTestRoot root;
    auto adapter = StartAdapter(root, "COM3");
    CCardList list;
    EXPECT_EQ(list.FindInsertedCard(0), 2);
    EXPECT_EQ(list.FindInsertedCard(3), -1);

    _CardInfo info{};
    ASSERT_EQ(list.GetPortInfo(2, info), 0);
    EXPECT_EQ(info.nInserted, 1);
    EXPECT_EQ(info.SoftwareVer.nMajor, 3);
    EXPECT_EQ(info.SoftwareVer.nMinor, 10);
    EXPECT_STREQ(info.SoftwareVer.szBuild, "05");
    EXPECT_EQ(info.VersionType, VERSIONTYPE_NI1);

    adapter->ClearRecording();
    EXPECT_EQ(list.FindInsertedCard(0), -1) << "an inserted slot is not probed again";
    EXPECT_TRUE(adapter->Commands().empty());

    // Still there: refreshed, kept inserted.
    EXPECT_EQ(list.FindRemovedCard(0), -1);
    EXPECT_TRUE(Received(*adapter, "ATI3\r"));
    ASSERT_EQ(list.SetCardConfigFlag(2, 5), 0);

    adapter->Stop();
    EXPECT_EQ(list.FindRemovedCard(0), 2);
    EXPECT_EQ(list.FindRemovedCard(3), -1);
    ASSERT_EQ(list.GetPortInfo(2, info), 0);
    EXPECT_EQ(info.nInserted, 0);
    EXPECT_EQ(info.nConfigFlag, 0);
    EXPECT_EQ(info.SoftwareVer.nMajor, 0);
    EXPECT_EQ(info.SoftwareVer.nMinor, 0);
    EXPECT_EQ(info.VersionType, VERSIONTYPE_NI1);
    CSharedView view;
    EXPECT_STREQ(view->Slots[2].SoftwareVer.szBuild, "05") << "version texts are kept";
    EXPECT_STREQ(view->Slots[2].SoftwareVer.szVersionText, "3.10.05");
}

TEST(CardListTest, PortsThatGiveNoCardAreNotInserted) {
    CTestRoot root;
    auto other = StartAdapter(root, "COM1", OtherMake());
    auto ours = StartAdapter(root, "COM2");
    CCardInfo holder;  // COM2 in use by someone else
    ASSERT_EQ(holder.OpenConnection("COM2"), 0);
    CCardList list;
    EXPECT_EQ(list.FindInsertedCard(0), -1);
    holder.CloseConnection();
    EXPECT_EQ(list.FindInsertedCard(0), 1) << "free again";
}

TEST(CardListTest, CardInfoListWithAShortArray) {
    CTestRoot root;
    auto com3 = StartAdapter(root, "COM3");
    tasim::Config euro;
    euro.region = tasim::Region::International;
    auto com5 = StartAdapter(root, "COM5", euro);
    CCardList list;
    ASSERT_EQ(list.FindInsertedCard(0), 2);
    ASSERT_EQ(list.FindInsertedCard(3), 4);

    _CardInfo cards[2];
    std::memset(cards, 0, sizeof cards);
    std::strcpy(cards[0].SoftwareVer.szVersionText, "caller's");
    int count = 1;
    EXPECT_EQ(list.GetCardInfoList(cards, count), 2008);
    EXPECT_EQ(count, 1);

    count = 2;
    ASSERT_EQ(list.GetCardInfoList(cards, count), 0);
    EXPECT_EQ(count, 2);
    EXPECT_STREQ(cards[0].szPort, "COM3");
    EXPECT_STREQ(cards[1].szPort, "COM5");
    EXPECT_EQ(cards[1].VersionType, VERSIONTYPE_EURO);
    EXPECT_STREQ(cards[0].SoftwareVer.szBuild, "05");
    EXPECT_STREQ(cards[0].SoftwareVer.szVersionText, "caller's") << "not transferred";
}

TEST(CardListTest, LookUpsAndFlagsByIndexAndByName) {
    CTestRoot root;
    CCardList list;
    char com3[] = "com3";
    char com10[] = "COM10";
    char unknown[] = "COM11";
    char prefix[] = "COM";
    ASSERT_EQ(list.SetCardConfigFlag(com10, 4), 0);
    ASSERT_EQ(list.SetCardConfigFlag(2, 6), 0);

    _CardInfo info{};
    ASSERT_EQ(list.GetPortInfo(com3, info), 0);
    EXPECT_STREQ(info.szPort, "COM3");
    EXPECT_EQ(info.nConfigFlag, 6);
    ASSERT_EQ(list.GetPortInfo(9, info), 0);
    EXPECT_EQ(info.nConfigFlag, 4);

    struct Row {
        const char* name;
        std::int32_t result;
    };
    for (const Row& row :
         {Row{"slot -1", list.GetPortInfo(-1, info)}, Row{"slot 10", list.GetPortInfo(10, info)},
          Row{"unknown name", list.GetPortInfo(unknown, info)},
          Row{"a prefix of a name", list.GetPortInfo(prefix, info)},
          Row{"null name", list.GetPortInfo(static_cast<char*>(nullptr), info)},
          Row{"flag slot -1", list.SetCardConfigFlag(-1, 1)},
          Row{"flag slot 10", list.SetCardConfigFlag(10, 1)},
          Row{"flag unknown name", list.SetCardConfigFlag(unknown, 1)}}) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.result, 2008);
    }
    EXPECT_EQ(list.FindInsertedCard(-1), -1);
    EXPECT_EQ(list.FindInsertedCard(10), -1);
    EXPECT_EQ(list.FindRemovedCard(10), -1);
}

TEST(CardListTest, CardNamesOfAllTenSlots) {
    CTestRoot root;
    CCardList list;
    EXPECT_STREQ(list.GetCardName(0), "COM1") << "slot 0 has a name too";
    EXPECT_STREQ(list.GetCardName(2), "COM3");
    EXPECT_STREQ(list.GetCardName(9), "COM10");
    EXPECT_EQ(list.GetCardName(-1), nullptr);
    EXPECT_EQ(list.GetCardName(10), nullptr);
}

TEST(CardListTest, APortNameWithoutItsNulIsNeverOverrun) {
    CTestRoot root;
    CCardList list;
    ASSERT_STREQ(list.GetCardName(3), "COM4");
    CSharedView view;
    // Another process of the root wrote a name that fills its array, and numbers behind it.
    std::memset(view->Slots[3].szPort, 'X', sizeof view->Slots[3].szPort);
    view->Slots[3].nConfigFlag = 0x41414141;
    std::memset(view->Slots[3].SoftwareVer.szBuild, 'Y', sizeof view->Slots[3].SoftwareVer.szBuild);

    EXPECT_EQ(list.GetCardName(3), nullptr);
    _CardInfo info{};
    ASSERT_EQ(list.GetPortInfo(3, info), 0);
    EXPECT_EQ(std::strlen(info.szPort), sizeof info.szPort - 1);
    EXPECT_EQ(std::strlen(info.SoftwareVer.szBuild), sizeof info.SoftwareVer.szBuild - 1);
    char com4[] = "COM4";
    EXPECT_EQ(list.GetPortInfo(com4, info), 2008);
    EXPECT_EQ(list.FindInsertedCard(3), -1);
    view->Slots[3].nInserted = 1;
    EXPECT_EQ(list.FindRemovedCard(3), 3) << "a port of that name cannot be opened";
}

// A window on its own thread, pumping messages until told to stop.
class CWindowThread {
  public:
    CWindowThread() {
        std::atomic<bool> created{false};
        m_thread = std::thread([&] {
            m_window = sys::CreateWindowEndpoint(
                [this](std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
                    m_nMessage = message;
                    m_nWParam = wParam;
                    m_nLParam = lParam;
                    m_nHandled++;
                    return sys::MessageResult{0};
                });
            created = true;
            while (!m_bStop) {
                sys::PumpMessages(20);
            }
            sys::DestroyWindowEndpoint(m_window);
        });
        while (!created) {
            std::this_thread::yield();
        }
    }
    ~CWindowThread() {
        m_bStop = true;
        m_thread.join();
    }
    sys::WindowHandle Window() const { return m_window; }

    std::atomic<int> m_nHandled{0};
    std::atomic<std::uint32_t> m_nMessage{0};
    std::atomic<std::uintptr_t> m_nWParam{0};
    std::atomic<std::intptr_t> m_nLParam{0};

  private:
    std::atomic<sys::WindowHandle> m_window{0};
    std::atomic<bool> m_bStop{false};
    std::thread m_thread;
};

TEST(CardListTest, CardChangesAreSentToTheRegisteredWindow) {
    CTestRoot root;
    CCardList list;
    CWindowThread window;
    _CardInfo card{};
    std::strcpy(card.szPort, "COM10");
    card.nInserted = 1;
    card.nConfigFlag = 2;
    EXPECT_EQ(list.UpdateCtrlPanelApplet(card), 0);
    EXPECT_EQ(window.m_nHandled, 0) << "no window registered yet";

    ASSERT_EQ(list.RegisterCtrlApplet(window.Window()), 0);
    struct Row {
        const char* port;
        std::int32_t inserted;
        std::int32_t flag;
        std::uintptr_t wParam;
        std::intptr_t lParam;
    };
    for (const Row& row : {Row{"COM10", 1, 2, 10, 0x00020001}, Row{"COM1", 0, 0, 1, 0},
                           Row{"COM3", 0x10001, 0x12345, 3, 0x23450001}}) {
        SCOPED_TRACE(row.port);
        std::strcpy(card.szPort, row.port);
        card.nInserted = row.inserted;
        card.nConfigFlag = row.flag;
        int before = window.m_nHandled;
        EXPECT_EQ(list.UpdateCtrlPanelApplet(card), 0);
        EXPECT_EQ(window.m_nHandled, before + 1) << "handled before the call returns";
        EXPECT_EQ(window.m_nMessage, sys::RegisterWindowMessage("Talmont_Card_Change"));
        EXPECT_EQ(window.m_nWParam, row.wParam);
        EXPECT_EQ(window.m_nLParam, row.lParam);
    }

    ASSERT_EQ(list.DeregisterCtrlApplet(), 0);
    int before = window.m_nHandled;
    EXPECT_EQ(list.UpdateCtrlPanelApplet(card), 0);
    EXPECT_EQ(window.m_nHandled, before);
}

TEST(CardListTest, AHolderThatEndedFailsOneOperationAndTheNextWorks) {
    CTestRoot root;
    CCardList list;
    ASSERT_EQ(list.SetCardConfigFlag(4, 9), 0);
    std::thread([] {
        sys::NamedMutex lock("TALMONT_CARDLIST_MUTEX");
        ASSERT_EQ(lock.Lock(), sys::NamedMutex::LockResult::Acquired);
    }).join();
    _CardInfo info{};
    EXPECT_EQ(list.GetPortInfo(4, info), 2007);
    ASSERT_EQ(list.GetPortInfo(4, info), 0);
    EXPECT_EQ(info.nConfigFlag, 9);
}

}  // namespace
