// A second process for the card-list tests. One command per run; results go to standard output,
// one line each, flushed at once so that the test can follow along.
//   scan-inserted START        FindInsertedCard(START)
//   set-flag PORT FLAG [stay]  SetCardConfigFlag(PORT, FLAG); with "stay" then wait for EOF
//   get-flag PORT              "<result> <nConfigFlag>" of GetPortInfo(PORT)
//   list-when-told             "ready", then after one input line "<result> <count>" of
//                              GetCardInfoList with ten elements
//   window                     registers a window for card changes, "registered", then prints
//                              "<message> <wParam> <lParam>" of the first message it handles
#include <cstdio>
#include <cstdlib>
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
    std::cerr << "ornaslot_peer: unknown command\n";
    return 2;
}
