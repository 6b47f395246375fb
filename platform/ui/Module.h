// A library's resources: its string table, dialog templates, icons and pictures.
//
// Each library that shows windows owns one Module (usually a function-local static returned by
// its own ThisModule()) and fills it before its first window, e.g. on first use. Dialogs,
// message boxes and data exchange take the Module they belong to, so message boxes are titled
// with that library's string 57344 and texts come from its own table. Filling happens on one
// thread before use; afterwards any thread may read.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/sys/Export.h"
#include "platform/ui/Template.h"

namespace ui {

inline constexpr std::uint32_t kTitleString = 57344;  // every library's message box title

// An icon or picture: its size in pixels and its look in characters, row by row (what a
// terminal draws).
struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::string> rows;
};

class QUILAN_EXPORT Module {
  public:
    explicit Module(std::string name);

    const std::string& Name() const { return m_name; }

    void AddStrings(std::initializer_list<std::pair<std::uint32_t, std::string_view>> strings);
    void AddDialog(DialogTemplate dialog);
    void AddIcon(std::uint32_t id, Image image);
    void AddPicture(std::uint32_t id, Image image);

    bool HasString(std::uint32_t id) const { return m_strings.contains(id); }
    std::string String(std::uint32_t id) const;            // empty when absent
    const DialogTemplate* Dialog(std::uint32_t id) const;  // null when absent
    const Image* Icon(std::uint32_t id) const;
    const Image* Picture(std::uint32_t id) const;

  private:
    std::string m_name;
    std::map<std::uint32_t, std::string> m_strings;
    std::map<std::uint32_t, DialogTemplate> m_dialogs;
    std::map<std::uint32_t, Image> m_icons;
    std::map<std::uint32_t, Image> m_pictures;
};

// The toolkit's own resources (the help viewer's template).
QUILAN_EXPORT const Module& ToolkitModule();

}  // namespace ui
