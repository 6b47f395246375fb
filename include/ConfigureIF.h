// The configuration user interface as the applet reaches it: create the main sheet, run it
// modally, destroy it. Used by one user-interface thread; call InitializeCfg, StartCfg (once),
// TerminateCfg, in this order.
#pragma once

#include <cstdint>

#include "platform/sys/Export.h"

namespace ui {
class Window;
}
class CAppletSheet;

class QUILAN_EXPORT CConfigureIF {
  public:
    CConfigureIF();
    ~CConfigureIF();
    CConfigureIF(const CConfigureIF&) = delete;
    CConfigureIF& operator=(const CConfigureIF&) = delete;

    // Creates the main sheet (not yet shown) with `parent` as its parent; 0, or 2000.
    std::int32_t InitializeCfg(ui::Window* parent);
    // Runs the main sheet with the cards page until the user closes it; 0, or nonzero (and
    // nothing shown) when there is no sheet.
    std::int32_t StartCfg();
    // Destroys the main sheet if there is one; always 0.
    std::int32_t TerminateCfg();

  private:
    CAppletSheet* m_pSheet = nullptr;
};
