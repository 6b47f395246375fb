// The base of every control: a child window made from a template line.
#pragma once

#include "platform/ui/Module.h"
#include "platform/ui/Template.h"
#include "platform/ui/Window.h"

namespace ui {

class QUILAN_EXPORT Control : public Window {
  public:
    // Creates the control as a child of `parent`; images come from `module`.
    void Create(Window* parent, const ControlTemplate& line, const Module& module);

    // A control the Tab key stops at (when enabled and visible).
    virtual bool IsTabStop() const { return true; }

  protected:
    virtual void Setup(const ControlTemplate& line, const Module& module);
};

}  // namespace ui
