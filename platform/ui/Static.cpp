#include "platform/ui/Static.h"

namespace ui {

WindowKind Static::Kind() const {
    switch (m_kind) {
        case ControlKind::GroupBox:
            return WindowKind::GroupBox;
        case ControlKind::EtchedLine:
            return WindowKind::EtchedLine;
        case ControlKind::Icon:
            return WindowKind::Icon;
        case ControlKind::Picture:
            return WindowKind::Picture;
        default:
            return WindowKind::Text;
    }
}

void Static::SetImage(const Image* image, std::uint32_t id) {
    m_pImage = image;
    m_nImageId = id;
    Changed();
}

void Static::Setup(const ControlTemplate& line, const Module& module) {
    if (m_kind == ControlKind::Icon) {
        SetImage(module.Icon(line.resource), line.resource);
    } else if (m_kind == ControlKind::Picture) {
        SetImage(module.Picture(line.resource), line.resource);
    }
}

}  // namespace ui
