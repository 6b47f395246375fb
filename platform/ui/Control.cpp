#include "platform/ui/Control.h"

namespace ui {

void Control::Create(Window* parent, const ControlTemplate& line, const Module& module) {
    Window::Create(parent, line.id, line.text, line.rect, line.style);
    Setup(line, module);
}

void Control::Setup(const ControlTemplate&, const Module&) {}

}  // namespace ui
