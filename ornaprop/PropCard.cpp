#include "ornaprop/PropCard.h"

#include "ornaprop/HelpTopic.h"
#include "ornaprop/Resources.h"
#include "platform/ui/DataExchange.h"

namespace {

constexpr int kIdPort = 1001;

}  // namespace

CPropCard::CPropCard() : ui::PropertyPage(ornaprop::ThisModule(), ornaprop::kIddCard) {}

int CPropCard::Init(CAppletSheet* sheet, const std::string& port) {
    m_pSheet = sheet;
    m_strPort = port;
    return 1;
}

void CPropCard::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Text(kIdPort, m_strPort);
}

bool CPropCard::OnCommand(int id, int code) {
    if (id == ui::kHelpCommand) {
        ornaprop::ShowHelpTopic(*this, ornaprop::kHelpCard);
        return true;
    }
    return ui::PropertyPage::OnCommand(id, code);
}
