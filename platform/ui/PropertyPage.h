// A page of a property sheet: a dialog template shown under a tab.
//
// The page object belongs to whoever adds it to a sheet and must outlive the sheet's DoModal.
// Its window is created when the page is first shown (OnInitDialog then runs once) and
// destroyed when the sheet ends. A page that was never shown gets none of the events.
#pragma once

#include <string>

#include "platform/ui/Dialog.h"

namespace ui {

class PropertySheet;

class QUILAN_EXPORT PropertyPage : public Dialog {
  public:
    // The tab shows `caption`, or the template's title when it is empty.
    PropertyPage(const Module& module, std::uint32_t templateId, std::string caption = {});
    WindowKind Kind() const override { return WindowKind::PropertyPage; }

    std::string Caption() const;
    // The sheet's Help button is enabled while a page with help is active; it sends the page
    // the command kHelpCommand.
    void SetHasHelp(bool bHasHelp) { m_bHasHelp = bHasHelp; }
    bool HasHelp() const { return m_bHasHelp; }
    PropertySheet* Sheet() const { return m_pSheet; }

  protected:
    // Each time the page is shown. Base: exchanges the members into the controls; true.
    virtual bool OnSetActive();
    // Before another page is shown, and on OK for the active page. Base: exchange with checks;
    // false keeps the page (and the sheet) open.
    virtual bool OnKillActive();
    // On OK, for every page whose window exists, after the active one was left. Base: nothing.
    void OnOK() override;
    // On Cancel, for every page whose window exists. Base: nothing.
    void OnCancel() override;

  private:
    friend class PropertySheet;

    std::string m_caption;
    bool m_bHasHelp = false;
    PropertySheet* m_pSheet = nullptr;
};

}  // namespace ui
