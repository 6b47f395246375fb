// Dialog templates: what a library's resources say about a dialog and its controls.
//
// Templates are data: a library writes them as tables and registers them in its Module. They
// are read, never changed, once registered.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/Geometry.h"

namespace ui {

enum class ControlKind {
    Text,        // static text
    GroupBox,    // frame with a caption around other controls
    EtchedLine,  // horizontal etched line
    Icon,        // an icon of the library (resource id)
    Picture,     // a picture of the library (resource id), shown at its own size
    Edit,
    PushButton,  // style kDefaultButton for the default push button
    CheckBox,    // ticks itself when clicked
    DropDownList,
    ListView,
    UpDown,
    ProgressBar,
};

// Style flags of templates; each applies to the kinds named.
namespace style {
inline constexpr std::uint32_t kHidden = 1u << 0;           // any control: starts hidden
inline constexpr std::uint32_t kDisabled = 1u << 1;         // any control: starts disabled
inline constexpr std::uint32_t kDefaultButton = 1u << 2;    // PushButton
inline constexpr std::uint32_t kDigitsOnly = 1u << 3;       // Edit: typing accepts digits only
inline constexpr std::uint32_t kAutoHScroll = 1u << 4;      // Edit: scrolls instead of stopping
inline constexpr std::uint32_t kSorted = 1u << 5;           // DropDownList: entries kept sorted
inline constexpr std::uint32_t kReportView = 1u << 6;       // ListView: rows in columns
inline constexpr std::uint32_t kSingleSelection = 1u << 7;  // ListView
inline constexpr std::uint32_t kNoColumnHeader = 1u << 8;   // ListView
inline constexpr std::uint32_t kEditLabels = 1u << 9;       // ListView: rename in place
inline constexpr std::uint32_t kAlignLeft = 1u << 10;       // ListView
inline constexpr std::uint32_t kAutoBuddy = 1u << 11;  // UpDown: attaches to the control before it
inline constexpr std::uint32_t kSetBuddyNumber = 1u << 12;  // UpDown: sets the buddy's number
inline constexpr std::uint32_t kArrowKeys = 1u << 13;       // UpDown: Up/Down in the buddy step it
inline constexpr std::uint32_t kNoThousands = 1u << 14;     // UpDown: no thousands separator
inline constexpr std::uint32_t kKeepFocus = 1u << 15;       // PushButton: a click leaves the focus
// Dialogs.
inline constexpr std::uint32_t kCaption = 1u << 16;     // a title bar
inline constexpr std::uint32_t kSystemMenu = 1u << 17;  // a close box on the title bar
}  // namespace style

struct ControlTemplate {
    ControlTemplate() = default;
    ControlTemplate(ControlKind kind_, int id_, std::string text_, Rect rect_,
                    std::uint32_t style_ = 0, std::uint32_t resource_ = 0,
                    std::vector<std::string> initialData_ = {})
        : kind(kind_),
          id(id_),
          text(std::move(text_)),
          rect(rect_),
          style(style_),
          resource(resource_),
          initialData(std::move(initialData_)) {}

    ControlKind kind = ControlKind::Text;
    int id = -1;  // -1: a control the code never addresses
    std::string text;
    Rect rect;
    std::uint32_t style = 0;
    std::uint32_t resource = 0;            // Icon, Picture: the image's resource id
    std::vector<std::string> initialData;  // DropDownList: its entries
};

struct DialogTemplate {
    std::uint32_t id = 0;
    std::string title;
    int cx = 0;  // dialog units
    int cy = 0;
    std::uint32_t style = style::kCaption;
    std::vector<ControlTemplate> controls;  // in tab order
};

}  // namespace ui
