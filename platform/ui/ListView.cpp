#include "platform/ui/ListView.h"

#include <algorithm>

namespace ui {

int ListView::InsertColumn(int index, std::string_view text, int width) {
    if (index < 0 || index > static_cast<int>(m_columns.size())) {
        index = static_cast<int>(m_columns.size());
    }
    m_columns.insert(m_columns.begin() + index, Column{std::string(text), width});
    Changed();
    return index;
}

int ListView::InsertItem(int index, std::string_view text, int image) {
    if (index < 0) {
        return -1;
    }
    index = std::min(index, ItemCount());
    m_items.insert(m_items.begin() + index, Item{std::string(text), image, 0, 0});
    if (m_nRenaming >= index) {
        ++m_nRenaming;
    }
    Changed();
    return index;
}

bool ListView::DeleteItem(int index) {
    if (!Valid(index)) {
        return false;
    }
    if (m_nRenaming == index) {
        m_nRenaming = -1;
    } else if (m_nRenaming > index) {
        --m_nRenaming;
    }
    m_items.erase(m_items.begin() + index);
    Changed();
    return true;
}

void ListView::DeleteAllItems() {
    m_items.clear();
    m_nRenaming = -1;
    Changed();
}

std::string ListView::ItemText(int index) const {
    return Valid(index) ? m_items[index].text : std::string();
}

bool ListView::SetItemText(int index, std::string_view text) {
    if (!Valid(index)) {
        return false;
    }
    m_items[index].text = std::string(text);
    Changed();
    return true;
}

int ListView::ItemImage(int index) const {
    return Valid(index) ? m_items[index].image : -1;
}

bool ListView::SetItemData(int index, std::uintptr_t data) {
    if (!Valid(index)) {
        return false;
    }
    m_items[index].data = data;
    return true;
}

std::uintptr_t ListView::ItemData(int index) const {
    return Valid(index) ? m_items[index].data : 0;
}

unsigned ListView::ItemState(int index, unsigned mask) const {
    return Valid(index) ? m_items[index].state & mask : 0;
}

bool ListView::SetItemState(int index, unsigned state, unsigned mask) {
    if (!Valid(index)) {
        return false;
    }
    // One selected row and one focused row at most.
    for (unsigned flag : {kItemSelected, kItemFocused}) {
        if ((mask & flag) && (state & flag) &&
            (flag == kItemFocused || (Style() & style::kSingleSelection))) {
            for (Item& item : m_items) {
                item.state &= ~flag;
            }
        }
    }
    m_items[index].state = (m_items[index].state & ~mask) | (state & mask);
    Changed();
    return true;
}

int ListView::FirstSelected() const {
    for (int i = 0; i < ItemCount(); ++i) {
        if (m_items[i].state & kItemSelected) {
            return i;
        }
    }
    return -1;
}

int ListView::FocusedItem() const {
    for (int i = 0; i < ItemCount(); ++i) {
        if (m_items[i].state & kItemFocused) {
            return i;
        }
    }
    return -1;
}

bool ListView::ClickItem(int index, MouseButton button, bool bDouble) {
    if (!Exists() || !IsEnabled() || !IsVisible()) {
        return false;
    }
    SetFocus();
    if (IsRenaming()) {
        EndRename(false);
    }
    UserSelect(index);
    int code = button == MouseButton::Left ? (bDouble ? kItemDoubleClick : kItemClick)
                                           : (bDouble ? kItemRightDoubleClick : kItemRightClick);
    Notification notification;
    notification.code = code;
    notification.item = Valid(index) ? index : -1;
    NotifyParent(notification);
    return true;
}

bool ListView::MoveSelection(int delta) {
    if (!IsEnabled() || ItemCount() == 0) {
        return false;
    }
    int from = FocusedItem() >= 0 ? FocusedItem() : FirstSelected();
    int to = from < 0 ? 0 : std::clamp(from + delta, 0, ItemCount() - 1);
    UserSelect(to);
    return true;
}

void ListView::UserSelect(int index) {
    bool bChanged = Valid(index) ? ItemState(index, kItemSelected) == 0 : FirstSelected() >= 0;
    if (Valid(index)) {
        SetItemState(index, kItemSelected | kItemFocused, kItemSelected | kItemFocused);
    } else {
        for (int i = 0; i < ItemCount(); ++i) {
            SetItemState(i, 0, kItemSelected);
        }
    }
    if (bChanged) {
        Notification notification;
        notification.code = kItemChanged;
        notification.item = Valid(index) ? index : -1;
        NotifyParent(notification);
    }
}

bool ListView::BeginRename(int index) {
    if (!Exists() || !IsEnabled() || !(Style() & style::kEditLabels) || !Valid(index)) {
        return false;
    }
    if (IsRenaming()) {
        EndRename(true);
    }
    Notification notification;
    notification.code = kBeginLabelEdit;
    notification.item = index;
    if (NotifyParent(notification) != 0) {
        return false;  // refused
    }
    m_nRenaming = index;
    m_renameText = m_items[index].text;
    Changed();
    return true;
}

void ListView::EndRename(bool bCancel) {
    if (!IsRenaming()) {
        return;
    }
    int index = m_nRenaming;
    std::string text = std::move(m_renameText);
    m_nRenaming = -1;
    m_renameText.clear();
    Changed();
    Notification notification;
    notification.code = kEndLabelEdit;
    notification.item = index;
    notification.text = bCancel ? nullptr : &text;
    // The row may have been replaced by the handler; only a kept label on the same row is set.
    if (NotifyParent(notification) != 0 && !bCancel && Valid(index)) {
        SetItemText(index, text);
    }
}

}  // namespace ui
