// The one property-sheet class of the configuration tool.
//
// Every opener follows the same conventions: it creates the sheet with a title, a parent window
// and start page 0, flags it without Apply (OK, Cancel and Help remain), gives each page the Help
// flag, adds the pages, sets both offsets to 0, runs the sheet modally, removes the pages and
// destroys the sheet. The opener owns the sheet and its pages; everything runs on the
// user-interface thread.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/PropertySheet.h"

class CAppletSheet : public ui::PropertySheet {
  public:
    CAppletSheet(std::string title, ui::Window* parent, int startPage = 0);
    ~CAppletSheet() override;

    // Moves the sheet from where it would be placed, in pixels; set directly by the opener.
    std::int32_t m_nHorizontalOffset = 0;
    std::int32_t m_nVerticalOffset = 0;

  protected:
    // Moves the sheet by the offsets, keeping its size, then shows it.
    bool OnInitDialog() override;
};
