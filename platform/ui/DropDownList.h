// Drop-down lists: the user picks one entry of a list. Entries from the template's initial data
// are added when the control is created, in order (sorted when the style says so).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Control.h"

namespace ui {

class QUILAN_EXPORT DropDownList : public Control {
  public:
    WindowKind Kind() const override { return WindowKind::DropDownList; }

    int Count() const { return static_cast<int>(m_entries.size()); }
    int AddString(std::string_view text);  // sorted lists keep their order; returns the index
    int InsertString(int index, std::string_view text);  // -1: at the end; never sorts
    bool DeleteString(int index);
    void ResetContent();
    std::string ItemText(int index) const;  // empty for a bad index
    bool SetItemText(int index, std::string_view text);
    bool SetItemData(int index, std::uintptr_t data);
    std::uintptr_t ItemData(int index) const;    // 0 for a bad index
    int FindExact(std::string_view text) const;  // -1 when absent

    int CurSel() const { return m_nSelection; }  // -1: none
    bool SetCurSel(int index);                   // -1 clears; a bad index clears and fails

    // The user picks an entry: it becomes the selection and the parent gets kSelectionChange.
    bool Choose(int index);

  protected:
    void Setup(const ControlTemplate& line, const Module& module) override;

  private:
    struct Entry {
        std::string text;
        std::uintptr_t data = 0;
    };
    std::vector<Entry> m_entries;
    int m_nSelection = -1;
};

}  // namespace ui
