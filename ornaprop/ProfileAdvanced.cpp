#include "ornaprop/ProfileAdvanced.h"

#include <cctype>
#include <cstdint>
#include <string>

#include "ornaprop/HelpTopic.h"
#include "ornaprop/PageControls.h"
#include "ornaprop/ProfileResources.h"
#include "ornaprop/Resources.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/Edit.h"
#include "platform/ui/UpDown.h"

using namespace ornaprop;

namespace {

constexpr int kBacp = 1104;
constexpr int kInitialInterval = 1001;
constexpr int kInitialSpin = 1107;
constexpr int kBillingInterval = 1109;
constexpr int kBillingSpin = 1108;
constexpr int kDovGroup = 1100;
constexpr int kDov = 1099;
constexpr int kAutoSpidGroup = 1105;
constexpr int kAutoSpidText = 1106;
constexpr int kAutoSpidLocation = 1103;

constexpr int kSpinLower = 0;
constexpr int kSpinUpper = 32000;
constexpr unsigned kLargestInterval = 65535;
constexpr std::size_t kIntervalDigits = 5;

// The switch types whose cards have Data Over Voice and AutoSPID, and those without; any other
// code leaves the controls as the dialog has them.
bool IsNorthAmericanSwitch(std::int32_t code) {
    return code == 0 || code == 1 || code == 9;
}

bool IsInternationalSwitch(std::int32_t code) {
    return code == 2 || code == 3 || code == 4;
}

// The edit's leading digits after optional blanks; 0 without digits.
unsigned LeadingNumber(const std::string& text) {
    std::size_t i = text.find_first_not_of(' ');
    unsigned number = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) &&
           number <= kLargestInterval;
         ++i) {
        number = number * 10 + static_cast<unsigned>(text[i] - '0');
    }
    return number;
}

}  // namespace

CProfileAdvanced::CProfileAdvanced() : ui::PropertyPage(ThisModule(), kIddAdvanced) {}

void CProfileAdvanced::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Control(kBillingSpin, m_spinBilling);
    exchange.Control(kInitialSpin, m_spinInitial);
    exchange.Check(kBacp, m_bBacp);
    exchange.Text(kInitialInterval, m_nInitialInterval);
    exchange.RangeCheck(m_nInitialInterval, 0, kLargestInterval);
    exchange.Text(kBillingInterval, m_nBillingInterval);
    exchange.RangeCheck(m_nBillingInterval, 0, kLargestInterval);
    exchange.Check(kDov, m_bDov);
    exchange.ListIndex(kAutoSpidLocation, m_nAutoSpidLocation);
}

bool CProfileAdvanced::OnInitDialog() {
    ui::PropertyPage::OnInitDialog();
    m_bBacp = m_pProfile->Bacp;
    m_nInitialInterval = m_pProfile->InitialBillingInterval;
    m_nBillingInterval = m_pProfile->BillingInterval;
    m_bDov = m_pProfile->DataOverVoice;
    m_nAutoSpidLocation = m_pProfile->AutoSpidLocation;

    m_spinInitial->SetRange(kSpinLower, kSpinUpper);
    m_spinBilling->SetRange(kSpinLower, kSpinUpper);
    for (int id : {kInitialInterval, kBillingInterval}) {
        if (auto* edit = ItemAs<ui::Edit>(id)) {
            edit->LimitText(kIntervalDigits);
        }
    }

    std::int32_t switchType = m_pProfile->Primary.SwitchType;
    if (IsNorthAmericanSwitch(switchType) || IsInternationalSwitch(switchType)) {
        for (int id : {kDov, kDovGroup, kAutoSpidGroup, kAutoSpidText, kAutoSpidLocation}) {
            ShowControl(*this, id, IsNorthAmericanSwitch(switchType));
        }
    }

    if (ui::Window* edit = Item(kInitialInterval)) {
        edit->SetText(std::to_string(m_nInitialInterval));
    }
    if (m_nInitialInterval == 0) {
        EnableControls(*this, {kBillingInterval, kBillingSpin}, false);
    }
    if (m_bBacp == 0) {
        EnableControls(*this, {kInitialInterval, kBillingInterval, kInitialSpin, kBillingSpin},
                       false);
    }
    // The other controls get their values when the page is shown.
    return true;
}

void CProfileAdvanced::OnOK() {
    if (!UpdateData(true)) {
        return;
    }
    m_pProfile->DataOverVoice = m_bDov;
    // A stored location that the list does not offer shows no entry; it stays as it was
    // rather than becoming -1, which no card takes.
    if (m_nAutoSpidLocation >= 0) {
        m_pProfile->AutoSpidLocation = m_nAutoSpidLocation;
    }
    m_pProfile->Bacp = m_bBacp;
    m_pProfile->InitialBillingInterval = static_cast<std::uint16_t>(m_nInitialInterval);
    m_pProfile->BillingInterval = static_cast<std::uint16_t>(m_nBillingInterval);
}

// A cancelled sheet changed nothing, so it marks nothing changed either.
void CProfileAdvanced::OnCancel() {
    m_bModified = false;
}

void CProfileAdvanced::OnBacpClicked() {
    if (!IsTicked(*this, kBacp)) {
        EnableControls(*this, {kInitialInterval, kBillingInterval, kInitialSpin, kBillingSpin},
                       false);
    } else {
        ui::Window* initial = Item(kInitialInterval);
        if (initial && LeadingNumber(initial->Text()) > 0) {
            EnableControls(*this, {kBillingInterval, kBillingSpin}, true);
        }
        EnableControls(*this, {kInitialInterval, kInitialSpin}, true);
    }
    m_bModified = true;
}

// The billing interval applies only after an initial interval.
void CProfileAdvanced::OnInitialIntervalChanged() {
    ui::Window* initial = Item(kInitialInterval);
    if (!initial || !Item(kBillingInterval)) {
        return;
    }
    EnableControls(*this, {kBillingInterval, kBillingSpin}, LeadingNumber(initial->Text()) != 0);
    m_bModified = true;
}

bool CProfileAdvanced::OnCommand(int id, int code) {
    switch (id) {
        case kBacp:
            OnBacpClicked();
            return true;
        case kInitialInterval:
            if (code == ui::kEditChange) {
                OnInitialIntervalChanged();
            }
            return true;
        case kBillingInterval:
        case kDov:
            m_bModified = true;
            return true;
        case kAutoSpidLocation:
            if (code == ui::kSelectionChange) {
                m_bModified = true;
            }
            return true;
        case ui::kHelpCommand:
            ShowHelpTopic(*this, kHelpAdvanced);
            return true;
        default:
            return ui::PropertyPage::OnCommand(id, code);
    }
}
