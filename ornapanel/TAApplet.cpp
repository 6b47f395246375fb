#include "ornapanel/TAApplet.h"

#include <cstring>
#include <string>

#include "ornapanel/PanelResources.h"
#include "platform/ui/MessageBox.h"

namespace {

template <std::size_t N>
void CopyText(char (&field)[N], const std::string& text) {
    std::strncpy(field, text.c_str(), N - 1);
    field[N - 1] = '\0';
}

}  // namespace

// The library's applet, alive while the file is loaded.
CTAApplet theApplet;

std::int32_t CTAApplet::OnDblClk(sys::WindowHandle hwndCPl, std::uint32_t, std::intptr_t) {
    ui::Window* parent = CplWindowObject(hwndCPl);
    // Each step runs whatever the one before answered: TerminateCfg must always release what
    // InitializeCfg made.
    if (m_configure.InitializeCfg(parent) != 0) {
        ui::MessageBox(PanelModule(), IDS_INIT_ERROR, ui::kOk);
    }
    if (m_configure.StartCfg() != 0) {
        ui::MessageBox(PanelModule(), IDS_INIT_ERROR, ui::kOk);
    }
    if (m_configure.TerminateCfg() != 0) {
        ui::MessageBox(PanelModule(), IDS_TERMINATE_ERROR, ui::kOk);
    }
    return 0;
}

std::int32_t CTAApplet::OnNewInquire(std::uint32_t, _NewCplInfo* pInfo) {
    const ui::Module& module = PanelModule();
    *pInfo = _NewCplInfo{};
    pInfo->dwSize = sizeof(_NewCplInfo);
    pInfo->dwFlags = 0;
    pInfo->dwHelpContext = 0;
    pInfo->lData = 0;
    pInfo->hIcon = CplLoadIcon(module, IDI_APPLET);
    CopyText(pInfo->szName, module.String(IDS_APPLET_NAME));
    CopyText(pInfo->szInfo, module.String(IDS_APPLET_INFO));
    pInfo->szHelpFile[0] = '\0';
    return 0;
}
