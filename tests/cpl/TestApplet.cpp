// A small applet file for the host's tests. It appends one line per message it receives to the
// file named by $TEST_APPLET_LOG:
//   INIT | GETCOUNT | EXIT                       "<message> <window>"
//   INQUIRE n | NEWINQUIRE n                     "<message> <n> <window>"
//   DBLCLK n lData | STOP n lData | SELECT n lData "<message> <n> <lData> <window> [parent]"
// where <window> says whether the host's window was alive ("live" or "dead") and DBLCLK adds
// "parent" when the window object could be found. $TEST_APPLET_INIT=0 refuses CPL_INIT;
// $TEST_APPLET_COUNT sets the number of applets (2 by default). Applet 1's name fills its whole
// field with no terminating NUL, as a careless applet might.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/cpl/Cpl.h"

namespace {

const ui::Module& Module() {
    static const ui::Module module = [] {
        ui::Module m("test_applet");
        m.AddIcon(7, ui::Image{32, 32, {"<T>"}});
        return m;
    }();
    return module;
}

int EnvNumber(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

void Log(const std::string& line) {
    const char* path = std::getenv("TEST_APPLET_LOG");
    if (!path) {
        return;
    }
    if (FILE* file = std::fopen(path, "a")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

std::string Window(sys::WindowHandle hwnd) {
    return sys::IsWindowEndpoint(hwnd) ? "live" : "dead";
}

}  // namespace

extern "C" QUILAN_EXPORT std::int32_t CPlApplet(sys::WindowHandle hwnd, std::uint32_t message,
                                                std::intptr_t lParam1, std::intptr_t lParam2) {
    const std::string n = std::to_string(lParam1);
    const std::string data = std::to_string(lParam2);
    switch (message) {
        case CPL_INIT:
            Log("INIT " + Window(hwnd));
            return EnvNumber("TEST_APPLET_INIT", 1);
        case CPL_GETCOUNT:
            Log("GETCOUNT " + Window(hwnd));
            return EnvNumber("TEST_APPLET_COUNT", 2);
        case CPL_INQUIRE:
            Log("INQUIRE " + n + " " + Window(hwnd));
            return 0;
        case CPL_NEWINQUIRE: {
            Log("NEWINQUIRE " + n + " " + Window(hwnd));
            auto* info = reinterpret_cast<_NewCplInfo*>(lParam2);
            info->dwSize = sizeof(_NewCplInfo);
            info->lData = static_cast<std::int32_t>(100 + lParam1);
            info->hIcon = CplLoadIcon(Module(), 7);
            if (lParam1 == 1) {
                std::memset(info->szName, 'N', sizeof info->szName);
            } else {
                std::snprintf(info->szName, sizeof info->szName, "Test applet %d",
                              static_cast<int>(lParam1));
            }
            std::snprintf(info->szInfo, sizeof info->szInfo, "Applet number %d",
                          static_cast<int>(lParam1));
            return 0;
        }
        case CPL_DBLCLK:
            Log("DBLCLK " + n + " " + data + " " + Window(hwnd) +
                (CplWindowObject(hwnd) ? " parent" : ""));
            return 0;
        case CPL_SELECT:
            Log("SELECT " + n + " " + data + " " + Window(hwnd));
            return 0;
        case CPL_STOP:
            Log("STOP " + n + " " + data + " " + Window(hwnd));
            return 0;
        case CPL_EXIT:
            Log("EXIT " + Window(hwnd));
            return 0;
    }
    return 0;
}
