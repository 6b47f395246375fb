// The base of the library's one applet. The Control Panel's messages reach it through
// CPlApplet, which forwards each to the object that was constructed last (TheApplet()).
//
// The order of the virtual operations is part of the applet's form and must not change. The
// object lives from the loading of the file to its unloading; every operation runs on the
// host's user-interface thread.
#pragma once

#include <cstdint>

#include "platform/cpl/Cpl.h"

class CPanelApplet {
  public:
    CPanelApplet();
    virtual ~CPanelApplet();
    CPanelApplet(const CPanelApplet&) = delete;
    CPanelApplet& operator=(const CPanelApplet&) = delete;

    // The user opens applet `nApplet`: 0.
    virtual std::int32_t OnDblClk(sys::WindowHandle hwndCPl, std::uint32_t nApplet,
                                  std::intptr_t lData);
    virtual std::int32_t OnExit();      // 0
    virtual std::int32_t OnGetCount();  // 1
    virtual std::int32_t OnInit();      // 1
    // Empty texts and icon resource 1: 0.
    virtual std::int32_t OnNewInquire(std::uint32_t nApplet, _NewCplInfo* pInfo);
    virtual std::int32_t OnSelect(std::uint32_t nApplet, std::intptr_t lData);  // 1
    virtual std::int32_t OnStop(std::uint32_t nApplet, std::intptr_t lData);    // 1

    // The library's applet; null before its construction and after its destruction.
    static CPanelApplet* TheApplet();

  private:
    static CPanelApplet* s_pThis;
};
