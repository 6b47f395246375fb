// Dialogs built from a library's template and run modally until they end with a code.
//
// The object is built by its owner (on the stack, typically) and outlives its window: DoModal
// creates the window with its controls, runs the dialog's initialisation and a modal loop on
// the calling thread, destroys the window when the dialog has ended and returns the code.
// The controls belong to the dialog's window; page code reaches them with Item/ItemAs or binds
// them in its data exchange.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/ui/Control.h"
#include "platform/ui/Module.h"
#include "platform/ui/Window.h"

namespace ui {

class Button;
class DataExchange;

class QUILAN_EXPORT Dialog : public Window {
  public:
    // `parent` owns the dialog's window while it runs; null lets the toolkit choose (the
    // innermost modal window of the thread, if any).
    Dialog(const Module& module, std::uint32_t templateId, Window* parent = nullptr);
    WindowKind Kind() const override { return WindowKind::Dialog; }

    const Module& GetModule() const { return m_module; }
    std::uint32_t TemplateId() const { return m_nTemplateId; }
    Window* ParentWindow() const { return m_pParentWindow; }

    // The code given to EndDialog; -1 when the template is missing.
    int DoModal();
    void EndDialog(int code);
    bool IsEnded() const { return m_bEnded; }

    // Exchanges the members with the controls (see DataExchange.h); false when a check failed.
    bool UpdateData(bool bSaveAndValidate);

    // The template's default push button, when it has one.
    Button* DefaultButton() const;

  protected:
    // Base: exchanges the members into the controls; true puts the focus on the first control
    // the Tab key stops at, false means the dialog has placed the focus itself.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(DataExchange& exchange);
    // Base OnOK: exchange with checks, then EndDialog(kIdOk) when they passed.
    virtual void OnOK();
    // Base OnCancel: EndDialog(kIdCancel). Esc and close requests come here too.
    virtual void OnCancel();

    bool OnCommand(int id, int code) override;
    void OnClose() override;

    // Creates the window and its controls from the template; false when the template is absent.
    bool CreateFromTemplate(Window* parent, Window* owner);
    void StartFocus();

  private:
    const Module& m_module;
    std::uint32_t m_nTemplateId;
    Window* m_pParentWindow;
    std::vector<std::unique_ptr<Control>> m_controls;
    bool m_bEnded = false;
    int m_nResult = 0;
};

}  // namespace ui
