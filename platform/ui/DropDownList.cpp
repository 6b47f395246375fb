#include "platform/ui/DropDownList.h"

#include <strings.h>
#include <algorithm>

namespace ui {

namespace {

int CompareNoCase(const std::string& a, std::string_view b) {
    return strcasecmp(a.c_str(), std::string(b).c_str());
}

}  // namespace

void DropDownList::Setup(const ControlTemplate& line, const Module&) {
    for (const std::string& entry : line.initialData) {
        AddString(entry);
    }
}

int DropDownList::AddString(std::string_view text) {
    if (!(Style() & style::kSorted)) {
        return InsertString(-1, text);
    }
    auto at = std::find_if(m_entries.begin(), m_entries.end(),
                           [&](const Entry& entry) { return CompareNoCase(entry.text, text) > 0; });
    return InsertString(static_cast<int>(at - m_entries.begin()), text);
}

int DropDownList::InsertString(int index, std::string_view text) {
    if (index < 0 || index > Count()) {
        index = Count();
    }
    m_entries.insert(m_entries.begin() + index, Entry{std::string(text), 0});
    if (m_nSelection >= index) {
        ++m_nSelection;
    }
    Changed();
    return index;
}

bool DropDownList::DeleteString(int index) {
    if (index < 0 || index >= Count()) {
        return false;
    }
    m_entries.erase(m_entries.begin() + index);
    if (m_nSelection == index) {
        m_nSelection = -1;
    } else if (m_nSelection > index) {
        --m_nSelection;
    }
    Changed();
    return true;
}

void DropDownList::ResetContent() {
    m_entries.clear();
    m_nSelection = -1;
    Changed();
}

std::string DropDownList::ItemText(int index) const {
    return index >= 0 && index < Count() ? m_entries[index].text : std::string();
}

bool DropDownList::SetItemText(int index, std::string_view text) {
    if (index < 0 || index >= Count()) {
        return false;
    }
    m_entries[index].text = std::string(text);
    Changed();
    return true;
}

bool DropDownList::SetItemData(int index, std::uintptr_t data) {
    if (index < 0 || index >= Count()) {
        return false;
    }
    m_entries[index].data = data;
    return true;
}

std::uintptr_t DropDownList::ItemData(int index) const {
    return index >= 0 && index < Count() ? m_entries[index].data : 0;
}

int DropDownList::FindExact(std::string_view text) const {
    for (int i = 0; i < Count(); ++i) {
        if (CompareNoCase(m_entries[i].text, text) == 0) {
            return i;
        }
    }
    return -1;
}

bool DropDownList::SetCurSel(int index) {
    bool bValid = index >= 0 && index < Count();
    int selection = bValid ? index : -1;
    if (selection != m_nSelection) {
        m_nSelection = selection;
        Changed();
    }
    return bValid || index == -1;
}

bool DropDownList::Choose(int index) {
    if (!Exists() || !IsEnabled() || !IsVisible() || index < 0 || index >= Count()) {
        return false;
    }
    SetFocus();
    SetCurSel(index);
    NotifyParent(kSelectionChange);
    return true;
}

}  // namespace ui
