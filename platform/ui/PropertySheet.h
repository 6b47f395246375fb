// Property sheets: pages under tabs, with OK, Cancel, Help and (unless flagged off) Apply.
//
// The sheet object belongs to its opener, who adds the pages, runs DoModal on the user-interface
// thread, removes the pages and destroys the sheet. While it runs:
//   - the start page is created and shown first; a page's window is created when it is first
//     shown, then OnInitDialog and, each time it is shown, OnSetActive;
//   - changing tabs asks the active page OnKillActive, which may refuse;
//   - OK asks the active page OnKillActive; when it agrees, every page whose window exists gets
//     OnOK, in page order, and the sheet ends with kIdOk; when it refuses the sheet stays open;
//   - Cancel (also Esc and a close request) gives every created page OnCancel and ends the
//     sheet with kIdCancel;
//   - Help (also F1) sends kHelpCommand to the active page; the focus stays where it was.
// The sheet's own controls are its buttons: kIdOk, kIdCancel, kIdApply (absent with SetNoApply),
// kIdHelpButton.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Button.h"
#include "platform/ui/PropertyPage.h"
#include "platform/ui/Window.h"

namespace ui {

class QUILAN_EXPORT PropertySheet : public Window {
  public:
    PropertySheet(std::string title, Window* parent, int startPage = 0);
    ~PropertySheet() override;
    WindowKind Kind() const override { return WindowKind::PropertySheet; }

    Window* ParentWindow() const { return m_pParentWindow; }
    const std::string& Title() const { return m_title; }
    void SetNoApply(bool bNoApply) { m_bNoApply = bNoApply; }
    bool HasApply() const { return !m_bNoApply; }

    void AddPage(PropertyPage* page);
    void RemovePage(PropertyPage* page);  // its window, if any, is destroyed
    void RemovePage(int index);
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    PropertyPage* Page(int index) const;
    int ActiveIndex() const { return m_nActive; }
    PropertyPage* ActivePage() const { return Page(m_nActive); }

    // kIdOk or kIdCancel; -1 when there is no page or the start page cannot be created.
    int DoModal();
    bool IsEnded() const { return m_bEnded; }

    // Shows another page, as the user picking its tab: false when the active page refuses to
    // be left or the page cannot be created.
    bool SetActivePage(int index);
    // The user presses one of the sheet's buttons.
    void PressButton(int id);

  protected:
    // After the sheet's window, its buttons and the start page exist, before the sheet is
    // shown. Base: true. A derived sheet may move itself here (Move, Bounds).
    virtual bool OnInitDialog();

    bool OnCommand(int id, int code) override;
    void OnClose() override;

  private:
    bool ShowPage(int index);
    void Ok();
    void Cancel();
    void EndSheet(int code);
    void UpdateHelpButton();

    std::string m_title;
    Window* m_pParentWindow;
    int m_nStart;
    int m_nActive = -1;
    bool m_bNoApply = false;
    bool m_bEnded = false;
    int m_nResult = 0;
    std::vector<PropertyPage*> m_pages;
    std::vector<std::unique_ptr<Button>> m_buttons;
};

}  // namespace ui
