// List views in report view: rows of one labelled column, with an icon, item data and the
// selected and focused states. With single selection, selecting a row clears the others. When
// the user moves the selection, by click or by arrow, the parent is told kItemChanged first, so
// that it can follow the selection whatever moved it. With
// kEditLabels the user may rename a row in place: kBeginLabelEdit (refused by a nonzero answer),
// typing, then kEndLabelEdit whose nonzero answer keeps the new label.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Control.h"
#include "platform/ui/FrontEnd.h"
#include "platform/ui/ImageList.h"

namespace ui {

inline constexpr unsigned kItemFocused = 0x1;
inline constexpr unsigned kItemSelected = 0x2;

class QUILAN_EXPORT ListView : public Control {
  public:
    WindowKind Kind() const override { return WindowKind::ListView; }

    struct Column {
        std::string text;
        int width = 0;  // pixels (dialog units)
    };

    void SetImageList(const ImageList* images) { m_pImages = images; }
    const ImageList* Images() const { return m_pImages; }
    int InsertColumn(int index, std::string_view text, int width);
    const std::vector<Column>& Columns() const { return m_columns; }
    bool HasHeader() const { return (Style() & style::kNoColumnHeader) == 0; }

    int ItemCount() const { return static_cast<int>(m_items.size()); }
    int InsertItem(int index, std::string_view text, int image);  // -1 on failure
    bool DeleteItem(int index);
    void DeleteAllItems();
    std::string ItemText(int index) const;
    bool SetItemText(int index, std::string_view text);
    int ItemImage(int index) const;
    bool SetItemData(int index, std::uintptr_t data);
    std::uintptr_t ItemData(int index) const;
    unsigned ItemState(int index, unsigned mask) const;
    bool SetItemState(int index, unsigned state, unsigned mask);
    int FirstSelected() const;  // -1: none
    int FocusedItem() const;

    // The user clicks a row (-1: below the rows) with a button, once or twice. A left or right
    // click selects and focuses the row (or clears the selection), then the parent is told of
    // the click.
    bool ClickItem(int index, MouseButton button, bool bDouble);
    // The user moves the selection with the arrows (delta rows).
    bool MoveSelection(int delta);

    // Renaming in place. BeginRename asks the parent; while it runs the label text is what the
    // user types (RenameText). EndRename(false) offers the text, EndRename(true) cancels.
    bool BeginRename(int index);
    bool IsRenaming() const { return m_nRenaming >= 0; }
    int RenamingItem() const { return m_nRenaming; }
    std::string& RenameText() { return m_renameText; }
    void EndRename(bool bCancel);

  private:
    struct Item {
        std::string text;
        int image = -1;
        std::uintptr_t data = 0;
        unsigned state = 0;
    };
    bool Valid(int index) const { return index >= 0 && index < ItemCount(); }
    // Selects and focuses the row, or clears the selection for -1, as the user does; tells the
    // parent kItemChanged when that changed the selection.
    void UserSelect(int index);

    const ImageList* m_pImages = nullptr;
    std::vector<Column> m_columns;
    std::vector<Item> m_items;
    int m_nRenaming = -1;
    std::string m_renameText;
};

}  // namespace ui
