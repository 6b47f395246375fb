#include "ConfigureIF.h"

#include <new>

#include "ornaprop/AppletSheet.h"
#include "ornaprop/PropCards.h"
#include "ornaprop/Resources.h"

namespace {

constexpr std::int32_t kNoSheet = 2000;

}  // namespace

CConfigureIF::CConfigureIF() = default;

CConfigureIF::~CConfigureIF() {
    TerminateCfg();
}

std::int32_t CConfigureIF::InitializeCfg(ui::Window* parent) {
    TerminateCfg();
    m_pSheet = new (std::nothrow)
        CAppletSheet(ornaprop::ThisModule().String(ornaprop::kIdsMainSheet), parent, 0);
    return m_pSheet ? 0 : kNoSheet;
}

std::int32_t CConfigureIF::StartCfg() {
    // Without a sheet there is nothing to show; the applet reports the failure itself.
    if (!m_pSheet) {
        return kNoSheet;
    }
    CPropCards page;
    page.m_pMainSheet = m_pSheet;
    m_pSheet->SetNoApply(true);
    page.SetHasHelp(true);
    m_pSheet->AddPage(&page);
    m_pSheet->m_nHorizontalOffset = 0;
    m_pSheet->m_nVerticalOffset = 0;
    m_pSheet->DoModal();
    m_pSheet->RemovePage(&page);
    return 0;
}

std::int32_t CConfigureIF::TerminateCfg() {
    delete m_pSheet;
    m_pSheet = nullptr;
    return 0;
}
