#include "platform/ui/Unattended.h"

#include <poll.h>

#include <cstdio>

namespace ui {

void WaitReadable(int descriptor, std::chrono::nanoseconds timeout) {
    int ms = -1;
    if (timeout.count() >= 0) {
        ms = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(timeout).count());
    }
    pollfd wake{descriptor, POLLIN, 0};
    poll(&wake, 1, ms);
}

std::string OneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\r') {
            continue;
        }
        line += c == '\n' ? ' ' : c;
    }
    return line;
}

InputEvent Unattended::WaitForInput(int wakeDescriptor, std::chrono::nanoseconds timeout) {
    WaitReadable(wakeDescriptor, timeout);
    return {};
}

int Unattended::MessageBox(const MessageBoxRequest& request) {
    std::string line = OneLine(request.text) + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    return request.defaultButton;
}

}  // namespace ui
