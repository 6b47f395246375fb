#include "ornaprop/PropListProf.h"

#include "ornaprop/HelpTopic.h"
#include "ornaprop/Resources.h"
#include "platform/ui/DataExchange.h"

namespace {

constexpr int kIdPort = 1001;

}  // namespace

CPropListProf::CPropListProf()
    : ui::PropertyPage(ornaprop::ThisModule(), ornaprop::kIddProfileList) {}

int CPropListProf::InitProfiles(const std::string& portName, CStorage* storage, int northAmerica) {
    m_strPortName = portName;
    m_pStorage = storage;
    m_bNorthAmerica = northAmerica;
    return 1;
}

void CPropListProf::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Text(kIdPort, m_strPortName);
}

bool CPropListProf::OnCommand(int id, int code) {
    if (id == ui::kHelpCommand) {
        ornaprop::ShowHelpTopic(*this, ornaprop::kHelpProfileList);
        return true;
    }
    return ui::PropertyPage::OnCommand(id, code);
}
