#include "ornapanel/PanelApplet.h"

#include "ornapanel/PanelResources.h"

CPanelApplet* CPanelApplet::s_pThis = nullptr;

CPanelApplet::CPanelApplet() {
    s_pThis = this;
}

CPanelApplet::~CPanelApplet() {
    if (s_pThis == this) {
        s_pThis = nullptr;
    }
}

CPanelApplet* CPanelApplet::TheApplet() {
    return s_pThis;
}

std::int32_t CPanelApplet::OnDblClk(sys::WindowHandle, std::uint32_t, std::intptr_t) {
    return 0;
}

std::int32_t CPanelApplet::OnExit() {
    return 0;
}

std::int32_t CPanelApplet::OnGetCount() {
    return 1;
}

std::int32_t CPanelApplet::OnInit() {
    return 1;
}

std::int32_t CPanelApplet::OnNewInquire(std::uint32_t, _NewCplInfo* pInfo) {
    *pInfo = _NewCplInfo{};
    pInfo->dwSize = sizeof(_NewCplInfo);
    pInfo->hIcon = CplLoadIcon(PanelModule(), 1);
    return 0;
}

std::int32_t CPanelApplet::OnSelect(std::uint32_t, std::intptr_t) {
    return 1;
}

std::int32_t CPanelApplet::OnStop(std::uint32_t, std::intptr_t) {
    return 1;
}
