// Static controls: text, group box, etched line, icon and picture. They never notify.
#pragma once

#include <cstdint>

#include "platform/ui/Control.h"

namespace ui {

class QUILAN_EXPORT Static : public Control {
  public:
    explicit Static(ControlKind kind) : m_kind(kind) {}
    WindowKind Kind() const override;
    bool IsTabStop() const override { return false; }

    // Icon and picture: what is shown (null for nothing) and its resource id. The image belongs
    // to a Module and outlives the control.
    const Image* GetImage() const { return m_pImage; }
    std::uint32_t ImageId() const { return m_nImageId; }
    void SetImage(const Image* image, std::uint32_t id);

  protected:
    void Setup(const ControlTemplate& line, const Module& module) override;

  private:
    ControlKind m_kind;
    const Image* m_pImage = nullptr;
    std::uint32_t m_nImageId = 0;
};

}  // namespace ui
