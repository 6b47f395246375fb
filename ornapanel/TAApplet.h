// The Quilan ISDN T/A applet: one applet, named after the adapter, that runs the configuration
// user interface. One object exists, a global of the library, alive while the file is loaded;
// each CPL_DBLCLK runs one complete initialise-start-terminate cycle of its CConfigureIF.
#pragma once

#include "ConfigureIF.h"
#include "ornapanel/PanelApplet.h"

class CTAApplet : public CPanelApplet {
  public:
    // Runs InitializeCfg, StartCfg and TerminateCfg in this order whatever they answer,
    // showing the initialising or terminating error for each that fails: 0.
    std::int32_t OnDblClk(sys::WindowHandle hwndCPl, std::uint32_t nApplet,
                          std::intptr_t lData) override;
    // The adapter's name, description and icon: 0.
    std::int32_t OnNewInquire(std::uint32_t nApplet, _NewCplInfo* pInfo) override;

  private:
    CConfigureIF m_configure;
};
