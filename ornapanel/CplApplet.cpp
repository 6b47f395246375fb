// The applet file's one export. Every message goes to the library's applet object; the table
// says which operation runs and what the Control Panel is answered.
#include <array>
#include <cstdint>
#include <type_traits>

#include "ornapanel/PanelApplet.h"

namespace {

using Action = std::int32_t (*)(CPanelApplet& applet, sys::WindowHandle hwndCPl,
                                std::intptr_t lParam1, std::intptr_t lParam2);

struct MessageEntry {
    std::uint32_t message;
    Action action;
};

std::uint32_t Applet(std::intptr_t lParam) {
    return static_cast<std::uint32_t>(lParam);
}

// CPL_INQUIRE is answered 0 without filling anything: the Control Panel then asks with
// CPL_NEWINQUIRE, which carries the name and the icon.
constexpr std::array<MessageEntry, 8> kMessages{{
    {CPL_INIT,
     [](CPanelApplet& a, sys::WindowHandle, std::intptr_t, std::intptr_t) { return a.OnInit(); }},
    {CPL_GETCOUNT, [](CPanelApplet& a, sys::WindowHandle, std::intptr_t,
                      std::intptr_t) { return a.OnGetCount(); }},
    {CPL_INQUIRE, [](CPanelApplet&, sys::WindowHandle, std::intptr_t,
                     std::intptr_t) { return std::int32_t{0}; }},
    {CPL_SELECT, [](CPanelApplet& a, sys::WindowHandle, std::intptr_t l1,
                    std::intptr_t l2) { return a.OnSelect(Applet(l1), l2); }},
    {CPL_DBLCLK, [](CPanelApplet& a, sys::WindowHandle w, std::intptr_t l1,
                    std::intptr_t l2) { return a.OnDblClk(w, Applet(l1), l2); }},
    {CPL_STOP, [](CPanelApplet& a, sys::WindowHandle, std::intptr_t l1,
                  std::intptr_t l2) { return a.OnStop(Applet(l1), l2); }},
    {CPL_EXIT,
     [](CPanelApplet& a, sys::WindowHandle, std::intptr_t, std::intptr_t) { return a.OnExit(); }},
    {CPL_NEWINQUIRE,
     [](CPanelApplet& a, sys::WindowHandle, std::intptr_t l1, std::intptr_t l2) {
         return a.OnNewInquire(Applet(l1), reinterpret_cast<_NewCplInfo*>(l2));
     }},
}};

}  // namespace

extern "C" QUILAN_EXPORT std::int32_t CPlApplet(sys::WindowHandle hwndCPl, std::uint32_t uMsg,
                                                std::intptr_t lParam1, std::intptr_t lParam2) {
    CPanelApplet* applet = CPanelApplet::TheApplet();
    for (const MessageEntry& entry : kMessages) {
        if (entry.message == uMsg) {
            return applet ? entry.action(*applet, hwndCPl, lParam1, lParam2) : 1;
        }
    }
    return 1;
}

// The export must keep the host's form.
static_assert(std::is_same_v<decltype(&CPlApplet), CplAppletProc>);
