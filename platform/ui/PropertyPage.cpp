#include "platform/ui/PropertyPage.h"

namespace ui {

PropertyPage::PropertyPage(const Module& module, std::uint32_t templateId, std::string caption)
    : Dialog(module, templateId), m_caption(std::move(caption)) {}

std::string PropertyPage::Caption() const {
    if (!m_caption.empty()) {
        return m_caption;
    }
    const DialogTemplate* dialog = GetModule().Dialog(TemplateId());
    return dialog ? dialog->title : std::string();
}

bool PropertyPage::OnSetActive() {
    UpdateData(false);
    return true;
}

bool PropertyPage::OnKillActive() {
    return UpdateData(true);
}

void PropertyPage::OnOK() {}

void PropertyPage::OnCancel() {}

}  // namespace ui
