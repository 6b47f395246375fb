#include "platform/ui/FrontEnd.h"

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/ui/UiThread.h"
#include "platform/ui/Unattended.h"

namespace ui {

namespace {

struct Choice {
    std::mutex mutex;
    std::function<std::unique_ptr<FrontEnd>()> terminalMaker;
    FrontEnd* chosen = nullptr;  // never destroyed: windows may outlive static destruction
};

Choice& TheChoice() {
    static Choice* choice = new Choice;
    return *choice;
}

bool WantsHeadless() {
    const char* frontEnd = std::getenv("QUILAN_FRONTEND");
    if (frontEnd && std::strcmp(frontEnd, "headless") == 0) {
        return true;
    }
    return !isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO);
}

}  // namespace

void SetTerminalFrontEndMaker(std::function<std::unique_ptr<FrontEnd>()> maker) {
    Choice& choice = TheChoice();
    std::lock_guard lock(choice.mutex);
    choice.terminalMaker = std::move(maker);
}

FrontEnd& ProcessFrontEnd() {
    Choice& choice = TheChoice();
    std::lock_guard lock(choice.mutex);
    if (!choice.chosen) {
        std::unique_ptr<FrontEnd> made;
        if (!WantsHeadless() && choice.terminalMaker) {
            made = choice.terminalMaker();
        }
        choice.chosen = made ? made.release() : new Unattended;
    }
    return *choice.chosen;
}

FrontEnd& CurrentFrontEnd() {
    return UiThread::Current().Front();
}

}  // namespace ui
