// A second process for the card-list tests. One command per run; results go to standard output,
// one line each, flushed at once so that the test can follow along.
//   scan-inserted START        FindInsertedCard(START)
//   set-flag PORT FLAG [stay]  SetCardConfigFlag(PORT, FLAG); with "stay" then wait for EOF
//   get-flag PORT              "<result> <nConfigFlag>" of GetPortInfo(PORT)
//   list-when-told             "ready", then after one input line "<result> <count>" of
//                              GetCardInfoList with ten elements
//   window                     registers a window for card changes, "registered", then prints
//                              "<message> <wParam> <lParam>" of the first message it handles
//   churn                      uses the list until it is killed: flags, look-ups, lists and
//                              scans, saying "ready" after its first round
//   check                      "ok" when the list works: every slot reads back with its port
//                              name and sane values, and a flag written reads back; before it
//                              "abandoned" when the lock was left by a killed holder; otherwise
//                              what is wrong
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "CardList.h"
#include "platform/sys/Handle.h"
#include "platform/sys/Messages.h"

namespace {

void Say(const std::string& line) {
    std::cout << line << std::endl;
}

void WaitForInput() {
    std::string line;
    std::getline(std::cin, line);
}

int Window() {
    CCardList list;
    bool handled = false;
    sys::WindowHandle window = sys::CreateWindowEndpoint([&](std::uint32_t message,
                                                             std::uintptr_t wParam,
                                                             std::intptr_t lParam) {
        Say(std::to_string(message) + " " + std::to_string(wParam) + " " + std::to_string(lParam));
        handled = true;
        return sys::MessageResult{0};
    });
    if (list.RegisterCtrlApplet(window) != 0) {
        return 1;
    }
    Say("registered");
    while (!handled) {
        sys::PumpMessages(sys::kInfinite);
    }
    sys::DestroyWindowEndpoint(window);
    return 0;
}

[[noreturn]] void Churn() {
    CCardList list;
    for (std::uint32_t round = 0;; ++round) {
        const int slot = static_cast<int>(round % 10);
        list.SetCardConfigFlag(slot, static_cast<int>(round));
        _CardInfo info{};
        list.GetPortInfo(slot, info);
        _CardInfo cards[10] = {};
        int count = 10;
        list.GetCardInfoList(cards, count);
        if (round % 16 == 0) {
            list.FindInsertedCard(0);  // holds the lock across the probes of ten ports
        }
        if (round == 0) {
            Say("ready");
        }
    }
}

int Check() {
    CCardList list;
    _CardInfo info{};
    std::int32_t result = list.GetPortInfo(0, info);
    if (result == CCardList::kLockFailed) {
        Say("abandoned");
        result = list.GetPortInfo(0, info);
    }
    for (int slot = 0; slot < 10; ++slot) {
        if (slot > 0) {
            result = list.GetPortInfo(slot, info);
        }
        const std::string port = "COM" + std::to_string(slot + 1);
        if (result != 0 || port != info.szPort || (info.nInserted != 0 && info.nInserted != 1) ||
            (info.VersionType != VERSIONTYPE_EURO && info.VersionType != VERSIONTYPE_NI1)) {
            Say("slot " + std::to_string(slot) + ": result " + std::to_string(result) + ", port " +
                std::string(info.szPort, strnlen(info.szPort, sizeof info.szPort)));
            return 1;
        }
    }
    _CardInfo cards[10] = {};
    int count = 10;
    if (list.SetCardConfigFlag(9, 4711) != 0 || list.GetPortInfo(9, info) != 0 ||
        info.nConfigFlag != 4711 || list.GetCardInfoList(cards, count) != 0) {
        Say("a flag written does not read back");
        return 1;
    }
    Say("ok");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    CCardList list;
    if (command == "scan-inserted" && argc == 3) {
        Say(std::to_string(list.FindInsertedCard(std::atoi(argv[2]))));
        return 0;
    }
    if (command == "set-flag" && argc >= 4) {
        Say(std::to_string(list.SetCardConfigFlag(argv[2], std::atoi(argv[3]))));
        if (argc == 5 && std::string(argv[4]) == "stay") {
            WaitForInput();
        }
        return 0;
    }
    if (command == "get-flag" && argc == 3) {
        _CardInfo info{};
        std::int32_t result = list.GetPortInfo(argv[2], info);
        Say(std::to_string(result) + " " + std::to_string(info.nConfigFlag));
        return 0;
    }
    if (command == "list-when-told") {
        Say("ready");
        WaitForInput();
        _CardInfo cards[10] = {};
        int count = 10;
        std::int32_t result = list.GetCardInfoList(cards, count);
        Say(std::to_string(result) + " " + std::to_string(count));
        return 0;
    }
    if (command == "window") {
        return Window();
    }
    if (command == "churn") {
        Churn();
    }
    if (command == "check") {
        return Check();
    }
    std::cerr << "ornaslot_peer: unknown command\n";
    return 2;
}
