#include "ornaprop/PropROWProfile.h"

#include <utility>

#include "ornaprop/HelpTopic.h"
#include "ornaprop/LocationControls.h"
#include "ornaprop/NumberRules.h"
#include "ornaprop/PageControls.h"
#include "ornaprop/ProfileFields.h"
#include "ornaprop/ProfileResources.h"
#include "ornaprop/Resources.h"
#include "platform/ui/Button.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/DropDownList.h"
#include "platform/ui/MessageBox.h"

using namespace ornaprop;
using namespace ornaprop::location;

namespace {

// The switch type list's codes; every code it does not offer (254, 255 and the North American
// ones included) shows the first entry.
constexpr std::span<const std::int32_t> kSwitchCodes = kInternationalSwitchCodes;
constexpr ShownCode kSwitchShown[] = {{2, 0}, {3, 1}, {4, 2}};

}  // namespace

CPropROWProfile::CPropROWProfile(std::string caption)
    : ui::PropertyPage(ThisModule(), kIddInternationalLocation, std::move(caption)) {}

void CPropROWProfile::SetProfile(int location, _STOREDPROFILE* profile) {
    m_nLocation = location;
    m_pProfile = profile;
    m_bAltEnabled = false;
}

_PROFILELOCATION& CPropROWProfile::Location() const {
    return IsAlternate() ? m_pProfile->Alternate : m_pProfile->Primary;
}

bool CPropROWProfile::IsLocationActive() const {
    return !IsAlternate() || m_bAltEnabled;
}

bool CPropROWProfile::IsMultilinkSelected() const {
    return m_cbProtocol && m_cbProtocol->CurSel() == kMultilinkEntry;
}

bool CPropROWProfile::IsSecondNumberInUse() const {
    return m_btnSecondNumber && m_btnSecondNumber->IsChecked() && m_btnSecondNumber->IsEnabled();
}

void CPropROWProfile::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Control(kSecondNumber, m_btnSecondNumber);
    exchange.Check(kSecondNumber, m_bSecondNumber);
    exchange.Control(kProtocol, m_cbProtocol);
    exchange.Control(kSwitchType, m_cbSwitchType);
    exchange.Text(kNumber1, m_strNumber1);
    CheckIsdnNumberIntl(exchange, m_strNumber1, *this, 1);
    exchange.Text(kNumber2, m_strNumber2);
    CheckIsdnNumberIntl(exchange, m_strNumber2, *this, 2);
    exchange.Check(kAltEnabled, m_bAltEnabled);
    // The 2nd number once more, so that a failing check leaves the focus in its edit rather
    // than on the alternate-location check box, which the primary page hides.
    exchange.Text(kNumber2, m_strNumber2);
    CheckSecondNumberIntl(exchange, *this);
}

void CPropROWProfile::EnableSecondArea(bool bOn) {
    EnableControls(*this, {kNumber2Label, kNumber2}, bOn);
}

// The label keeps its state.
void CPropROWProfile::DisableSecondControls() {
    EnableControls(*this, {kNumber2, kSecondNumber}, false);
}

// Runs only under "Multilink PPP": the 2nd number follows the 1st.
void CPropROWProfile::RefreshSecondArea() {
    FollowFirstNumber(HasText(*this, kNumber1));
}

void CPropROWProfile::FollowFirstNumber(bool bFirstGiven) {
    bool bUsable = bFirstGiven && IsMultilinkSelected();
    EnableControls(*this, {kSecondNumber}, bUsable);
    EnableSecondArea(bUsable && IsTicked(*this, kSecondNumber));
}

void CPropROWProfile::EnableLocation() {
    m_bAltEnabled = true;
    EnableControls(
        *this, {kFirstGroup, kSecondGroup, kNumber1Label, kNumber1, kSwitchLabel, kProtocolLabel},
        true);
    EnableControls(*this, {kProtocol, kSwitchType}, false);
    EnableControls(*this, {kNumber2Label}, true);
    FollowFirstNumber(HasText(*this, kNumber1));
}

void CPropROWProfile::DisableLocation() {
    m_bAltEnabled = false;
    EnableControls(*this,
                   {kFirstGroup, kNumber1Label, kNumber1, kSwitchType, kSwitchLabel, kProtocolLabel,
                    kProtocol, kSecondGroup, kNumber2Label, kSecondNumber},
                   false);
    EnableSecondArea(false);
}

void CPropROWProfile::ShowProtocol() {
    m_cbProtocol->SetCurSel(ProtocolEntry(m_pProfile->Protocol));
    if (!IsMultilinkSelected()) {
        DisableSecondControls();
    } else if (IsLocationActive()) {
        RefreshSecondArea();
    }
}

// Both pages show the primary location's switch type.
void CPropROWProfile::ShowSwitchType() {
    m_cbSwitchType->SetCurSel(EntryShowing(m_pProfile->Primary.SwitchType, kSwitchShown, 0));
}

void CPropROWProfile::LoadLocation() {
    const _PROFILELOCATION& location = Location();
    m_strNumber1 = FieldText(location.Number1);
    m_bFolded = IsFoldedInternational(location);
    m_strNumber2 = m_bFolded ? std::string() : FieldText(location.Number2);

    if (!IsAlternate()) {
        ShowSwitchType();
        ShowControl(*this, kPrimaryText, true);
        ShowControl(*this, kAltEnabled, false);
        return;
    }
    if (location.SwitchType != kAlternateDisabled) {
        EnableLocation();
    } else {
        DisableLocation();
    }
    EnableControls(*this, {kProtocol, kSwitchType}, false);
    ShowControl(*this, kPrimaryText, false);
    ShowControl(*this, kAltEnabled, true);
}

void CPropROWProfile::SetSecondNumberStart() {
    bool bLocationOff = IsAlternate() && !m_bAltEnabled;
    if (m_strNumber1.empty()) {
        SetTick(*this, kSecondNumber, true);
        m_bSecondNumber = true;
        EnableControls(*this, {kSecondNumber}, false);
        EnableSecondArea(false);
    } else if (m_bFolded) {
        SetTick(*this, kSecondNumber, false);
        m_bSecondNumber = false;
        EnableControls(*this, {kSecondNumber}, !bLocationOff);
        EnableSecondArea(false);
    } else {
        SetTick(*this, kSecondNumber, true);
        m_bSecondNumber = true;
        EnableControls(*this, {kSecondNumber}, !bLocationOff);
        EnableSecondArea(!bLocationOff);
    }
}

bool CPropROWProfile::OnInitDialog() {
    ui::PropertyPage::OnInitDialog();
    LoadLocation();
    ShowProtocol();
    ShowSwitchType();
    UpdateData(false);
    SetSecondNumberStart();
    m_bModified = false;
    return true;
}

bool CPropROWProfile::OnSetActive() {
    // Both may have changed on the primary page.
    ShowProtocol();
    ShowSwitchType();
    UpdateData(false);
    return true;
}

void CPropROWProfile::StorePrimary() {
    _PROFILELOCATION& location = m_pProfile->Primary;
    CodeOfEntry(kSwitchCodes, m_cbSwitchType->CurSel(), location.SwitchType);
    StoreNumber(location.Number1, m_strNumber1);
    SetField(location.Number3, "");
    bool bSecondInUse = m_bSecondNumber && IsControlEnabled(*this, kSecondNumber);
    StoreNumber(location.Number2,
                bSecondInUse && !m_strNumber2.empty() ? m_strNumber2 : m_strNumber1);
    SetField(location.Number4, "");
    if (bSecondInUse && m_strNumber2 == m_strNumber1) {
        ui::MessageBox(ThisModule(), kIdsSamePrimary, ui::kOk | ui::kIconInformation);
    }
}

void CPropROWProfile::StoreAlternate() {
    _PROFILELOCATION& location = m_pProfile->Alternate;
    location.SwitchType = m_bAltEnabled ? kAlternateEnabled : kAlternateDisabled;
    StoreNumber(location.Number1, m_strNumber1);
    SetField(location.Number3, "");
    // A disabled location's 2nd number keeps the value it was loaded with.
    bool bOwnSecond = !m_strNumber2.empty() && m_bSecondNumber &&
                      (IsControlEnabled(*this, kSecondNumber) || !m_bAltEnabled);
    StoreNumber(location.Number2, bOwnSecond ? m_strNumber2 : m_strNumber1);
    SetField(location.Number4, "");
    if (m_bSecondNumber && IsControlEnabled(*this, kSecondNumber) && m_strNumber2 == m_strNumber1 &&
        m_bAltEnabled) {
        ui::MessageBox(ThisModule(), kIdsSameAlternate, ui::kOk | ui::kIconInformation);
    }
}

void CPropROWProfile::OnOK() {
    if (!UpdateData(true)) {
        return;
    }
    if (IsAlternate()) {
        StoreAlternate();
        return;
    }
    CodeOfEntry(kProtocolCodes, m_cbProtocol->CurSel(), m_pProfile->Protocol);
    StorePrimary();
}

void CPropROWProfile::OnCancel() {
    m_bModified = false;
}

void CPropROWProfile::OnProtocolChanged() {
    // Written at once, so that the alternate page shows it.
    if (!CodeOfEntry(kProtocolCodes, m_cbProtocol->CurSel(), m_pProfile->Protocol)) {
        return;
    }
    if (!IsMultilinkSelected()) {
        DisableSecondControls();
    } else if (IsLocationActive()) {
        RefreshSecondArea();
    }
    m_bModified = true;
}

void CPropROWProfile::OnSwitchTypeChanged() {
    // Written at once, so that the alternate page shows it.
    if (CodeOfEntry(kSwitchCodes, m_cbSwitchType->CurSel(), m_pProfile->Primary.SwitchType)) {
        m_bModified = true;
    }
}

void CPropROWProfile::OnSecondNumberClicked() {
    m_bSecondNumber = !m_bSecondNumber;
    EnableSecondArea(IsTicked(*this, kSecondNumber));
    EnableControls(*this, {kSecondNumber}, true);
    m_btnSecondNumber->SetFocus();
    m_bModified = true;
}

bool CPropROWProfile::OnCommand(int id, int code) {
    switch (id) {
        case kProtocol:
            if (code == ui::kSelectionChange) {
                OnProtocolChanged();
            }
            return true;
        case kSwitchType:
            if (code == ui::kSelectionChange) {
                OnSwitchTypeChanged();
            }
            return true;
        case kAltEnabled:
            if (IsAlternate()) {
                if (m_bAltEnabled) {
                    DisableLocation();
                } else {
                    EnableLocation();
                }
                m_bModified = true;
            }
            return true;
        case kNumber1:
            if (code == ui::kEditChange) {
                FollowFirstNumber(HasText(*this, kNumber1));
                m_bModified = true;
            }
            return true;
        case kNumber2:
            if (code == ui::kEditChange) {
                m_bModified = true;
            }
            return true;
        case kSecondNumber:
            OnSecondNumberClicked();
            return true;
        case ui::kHelpCommand:
            ShowHelpTopic(*this, kHelpLocation);
            return true;
        default:
            return ui::PropertyPage::OnCommand(id, code);
    }
}
