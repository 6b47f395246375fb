// Templates that the front end builds for itself (message boxes, the file dialog) are laid out
// in cells; these turn cells into the dialog units of a template.
#pragma once

#include <cstdint>
#include <string>

#include "platform/ui/Geometry.h"
#include "platform/ui/Template.h"

namespace tui {

inline ui::Rect Cells(int column, int row, int columns, int rows) {
    return {column * ui::kBaseUnitX, row * ui::kBaseUnitY, columns * ui::kBaseUnitX,
            rows * ui::kBaseUnitY};
}

inline ui::ControlTemplate Line(ui::ControlKind kind, int id, std::string text,
                                const ui::Rect& rect, std::uint32_t style = 0) {
    ui::ControlTemplate line;
    line.kind = kind;
    line.id = id;
    line.text = std::move(text);
    line.rect = rect;
    line.style = style;
    return line;
}

}  // namespace tui
