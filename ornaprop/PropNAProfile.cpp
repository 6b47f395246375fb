#include "ornaprop/PropNAProfile.h"

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

// The switch type list's codes; a disabled alternate location (255) shows the first entry;
// other codes leave the selection as it is.
constexpr std::span<const std::int32_t> kSwitchCodes = kNorthAmericaSwitchCodes;
constexpr ShownCode kSwitchShown[] = {{0, 2}, {1, 1}, {9, 0}, {kAlternateDisabled, 0}};
constexpr int kKeepSelection = -2;

}  // namespace

CPropNAProfile::CPropNAProfile(std::string caption)
    : ui::PropertyPage(ThisModule(), kIddNorthAmericaLocation, std::move(caption)) {}

void CPropNAProfile::SetProfile(int location, _STOREDPROFILE* profile) {
    m_nLocation = location;
    m_pProfile = profile;
    m_bAltEnabled = false;
}

_PROFILELOCATION& CPropNAProfile::Location() const {
    return IsAlternate() ? m_pProfile->Alternate : m_pProfile->Primary;
}

bool CPropNAProfile::IsLocationActive() const {
    return !IsAlternate() || m_bAltEnabled;
}

bool CPropNAProfile::IsMultilinkSelected() const {
    return m_cbProtocol && m_cbProtocol->CurSel() == kMultilinkEntry;
}

bool CPropNAProfile::IsSecondNumberInUse() const {
    return m_btnSecondNumber && m_btnSecondNumber->IsChecked() && m_btnSecondNumber->IsEnabled();
}

bool CPropNAProfile::IsSecondSpidTicked() const {
    return IsTicked(*this, kSpid2Box);
}

void CPropNAProfile::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Control(kSecondNumber, m_btnSecondNumber);
    exchange.Check(kSecondNumber, m_bSecondNumber);
    exchange.Check(kSpid1Box, m_bSpid1);
    exchange.Check(kSpid2Box, m_bSpid2);
    exchange.Control(kProtocol, m_cbProtocol);
    exchange.Control(kSwitchType, m_cbSwitchType);
    exchange.Text(kSpid1, m_strSpid1);
    exchange.Text(kNumber1, m_strNumber1);
    CheckIsdnNumber(exchange, m_strNumber1, *this, 1);
    // Each SPID is exchanged again right before its check, so that a failing check leaves the
    // focus in the SPID's edit.
    exchange.Text(kSpid1, m_strSpid1);
    CheckSpid(exchange, m_strSpid1, *this, 1);
    exchange.Text(kSpid2, m_strSpid2);
    exchange.Text(kNumber2, m_strNumber2);
    CheckIsdnNumber(exchange, m_strNumber2, *this, 2);
    exchange.Text(kSpid2, m_strSpid2);
    CheckSpid(exchange, m_strSpid2, *this, 2);
    exchange.Check(kAltEnabled, m_bAltEnabled);
}

void CPropNAProfile::EnableSecondArea(bool bOn) {
    EnableControls(*this, {kNumber2Label, kNumber2, kSecondNumber, kSpid2Box}, bOn);
    EnableControls(*this, {kSpid2}, bOn && IsTicked(*this, kSpid2Box));
}

void CPropNAProfile::DisableSecondControls() {
    EnableControls(*this, {kNumber2Label, kNumber2, kSpid2Box, kSpid2, kSecondNumber}, false);
}

void CPropNAProfile::RefreshSecondArea() {
    if (!HasText(*this, kNumber1) && !HasText(*this, kSpid1) && IsTicked(*this, kSpid1Box)) {
        bool bCheckBoxEnabled = IsControlEnabled(*this, kSecondNumber);
        EnableSecondArea(false);
        EnableControls(*this, {kSecondNumber}, bCheckBoxEnabled);
    } else {
        EnableSecondArea(IsTicked(*this, kSecondNumber));
        EnableControls(*this, {kSecondNumber}, true);
    }
}

void CPropNAProfile::FollowFirstNumber(bool bFirstGiven) {
    if (bFirstGiven && IsMultilinkSelected()) {
        EnableSecondArea(IsTicked(*this, kSecondNumber));
        EnableControls(*this, {kSecondNumber}, true);
    } else {
        EnableSecondArea(false);
        EnableControls(*this, {kSecondNumber}, false);
    }
}

// What the 1st SPID's box means for its edit and for the 2nd number.
void CPropNAProfile::ApplySpid1Box() {
    if (IsTicked(*this, kSpid1Box)) {
        EnableControls(*this, {kSpid1}, true);
        FollowFirstNumber(HasText(*this, kNumber1) || HasText(*this, kSpid1));
        return;
    }
    EnableControls(*this, {kSpid1}, false);
    if (IsMultilinkSelected()) {
        EnableSecondArea(IsTicked(*this, kSecondNumber));
        EnableControls(*this, {kSecondNumber}, true);
    }
}

void CPropNAProfile::EnableLocation() {
    m_bAltEnabled = true;
    EnableControls(
        *this, {kFirstGroup, kSecondGroup, kNumber1Label, kNumber1, kSwitchLabel, kProtocolLabel},
        true);
    EnableControls(*this, {kProtocol}, false);
    EnableControls(*this, {kSwitchType, kSpid1Box}, true);
    ApplySpid1Box();
    EnableControls(*this, {kNumber2Label, kSpid2Box}, true);
    FollowFirstNumber(HasText(*this, kNumber1) || HasText(*this, kSpid1));
}

void CPropNAProfile::DisableLocation() {
    m_bAltEnabled = false;
    EnableControls(
        *this,
        {kFirstGroup, kNumber1Label, kNumber1, kSpid1Box, kSpid1, kSwitchType, kSwitchLabel,
         kProtocolLabel, kProtocol, kSecondGroup, kNumber2Label, kSpid2Box},
        false);
    EnableSecondArea(false);
    EnableControls(*this, {kSecondNumber}, false);
}

void CPropNAProfile::ShowProtocol() {
    m_cbProtocol->SetCurSel(ProtocolEntry(m_pProfile->Protocol));
    if (!IsMultilinkSelected()) {
        DisableSecondControls();
    } else if (IsLocationActive()) {
        RefreshSecondArea();
    }
}

void CPropNAProfile::LoadLocation() {
    const _PROFILELOCATION& location = Location();
    m_strNumber1 = FieldText(location.Number1);
    m_strSpid1 = FieldText(location.Spid1);
    m_bSpid1 = location.NoSpid1 == 0;
    m_bSpid2 = location.NoSpid2 == 0;
    EnableControls(*this, {kSpid1}, m_bSpid1);
    EnableControls(*this, {kSpid2}, m_bSpid2);
    SetTick(*this, kSpid1Box, m_bSpid1);
    SetTick(*this, kSpid2Box, m_bSpid2);

    m_bFolded = IsFoldedNorthAmerica(location);
    m_strNumber2 = m_bFolded ? std::string() : FieldText(location.Number2);
    m_strSpid2 = m_bFolded ? std::string() : FieldText(location.Spid2);

    if (int entry = EntryShowing(location.SwitchType, kSwitchShown, kKeepSelection);
        entry != kKeepSelection) {
        m_cbSwitchType->SetCurSel(entry);
    }

    if (!IsAlternate()) {
        ShowControl(*this, kPrimaryText, true);
        ShowControl(*this, kAltEnabled, false);
        return;
    }
    if (location.SwitchType != kAlternateDisabled) {
        EnableLocation();
    } else {
        DisableLocation();
    }
    EnableControls(*this, {kProtocol}, false);
    ShowControl(*this, kPrimaryText, false);
    ShowControl(*this, kAltEnabled, true);
}

void CPropNAProfile::SetSecondNumberStart() {
    bool bLocationOff = IsAlternate() && !m_bAltEnabled;
    if (m_strNumber1.empty() && m_strSpid1.empty() && m_bSpid1) {
        SetTick(*this, kSecondNumber, true);
        m_bSecondNumber = true;
        EnableSecondArea(false);
    } else if (m_bFolded) {
        SetTick(*this, kSecondNumber, false);
        m_bSecondNumber = false;
        EnableSecondArea(false);
        EnableControls(*this, {kSecondNumber}, !bLocationOff);
    } else {
        SetTick(*this, kSecondNumber, true);
        m_bSecondNumber = true;
        EnableControls(*this, {kSecondNumber}, !bLocationOff);
    }
}

bool CPropNAProfile::OnInitDialog() {
    ui::PropertyPage::OnInitDialog();
    LoadLocation();
    // The edits still hold the empty texts of the first exchange here; OnSetActive, right
    // after, sets the 2nd number's controls from the loaded values.
    ShowProtocol();
    SetSecondNumberStart();
    UpdateData(false);
    m_bModified = false;
    return true;
}

bool CPropNAProfile::OnSetActive() {
    ShowProtocol();  // the primary page may have changed it
    UpdateData(false);
    return true;
}

void CPropNAProfile::StoreLocation() {
    _PROFILELOCATION& location = Location();
    CodeOfEntry(kSwitchCodes, m_cbSwitchType->CurSel(), location.SwitchType);
    bool bLocationOff = IsAlternate() && !m_bAltEnabled;
    if (bLocationOff) {
        location.SwitchType = kAlternateDisabled;
    }
    location.NoSpid1 = m_bSpid1 ? 0 : 1;
    location.NoSpid2 = m_bSpid2 ? 0 : 1;
    StoreNumber(location.Number1, m_strNumber1);
    SetField(location.Number3, "");
    StoreSpid(location.Spid1, m_strSpid1);

    m_bSecondInUse = IsControlEnabled(*this, kSecondNumber) && m_bSecondNumber;
    // A disabled location's 2nd number keeps the values it was loaded with.
    if (m_bSecondInUse || (bLocationOff && m_bSecondNumber)) {
        StoreNumber(location.Number2, m_strNumber2);
        StoreSpid(location.Spid2, m_strSpid2);
    } else {
        StoreNumber(location.Number2, m_strNumber1);
        StoreSpid(location.Spid2, m_strSpid1);
        location.NoSpid2 = location.NoSpid1;
    }
    SetField(location.Number4, "");

    if (m_bSecondInUse && RepeatsFirstNumber(m_strNumber1, m_strSpid1, m_bSpid1, m_strNumber2,
                                             m_strSpid2, m_bSpid2)) {
        ui::MessageBox(ThisModule(), IsAlternate() ? kIdsSameAlternateSpid : kIdsSamePrimarySpid,
                       ui::kOk | ui::kIconInformation);
    }
}

void CPropNAProfile::OnOK() {
    if (!UpdateData(true)) {
        return;
    }
    if (!IsAlternate()) {
        CodeOfEntry(kProtocolCodes, m_cbProtocol->CurSel(), m_pProfile->Protocol);
    }
    StoreLocation();
}

void CPropNAProfile::OnCancel() {
    m_bModified = false;
}

void CPropNAProfile::OnProtocolChanged() {
    // Written at once, so that the alternate page shows it.
    if (!CodeOfEntry(kProtocolCodes, m_cbProtocol->CurSel(), m_pProfile->Protocol)) {
        return;
    }
    if (IsMultilinkSelected()) {
        RefreshSecondArea();
    } else {
        DisableSecondControls();
    }
    m_bModified = true;
}

void CPropNAProfile::OnSecondNumberClicked() {
    m_bSecondNumber = !m_bSecondNumber;
    EnableSecondArea(IsTicked(*this, kSecondNumber));
    EnableControls(*this, {kSecondNumber}, true);
    m_btnSecondNumber->SetFocus();
    m_bModified = true;
}

bool CPropNAProfile::OnCommand(int id, int code) {
    switch (id) {
        case kProtocol:
            if (code == ui::kSelectionChange) {
                OnProtocolChanged();
            }
            return true;
        case kSwitchType:
            if (code == ui::kSelectionChange) {
                m_bModified = true;  // the code is stored at OK
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
        case kSpid1:
            if (code == ui::kEditChange) {
                FollowFirstNumber(HasText(*this, kNumber1) || !IsTicked(*this, kSpid1Box) ||
                                  HasText(*this, kSpid1));
                m_bModified = true;
            }
            return true;
        case kNumber2:
        case kSpid2:
            if (code == ui::kEditChange) {
                m_bModified = true;
            }
            return true;
        case kSecondNumber:
            OnSecondNumberClicked();
            return true;
        case kSpid1Box:
            ApplySpid1Box();
            m_bModified = true;
            return true;
        case kSpid2Box:
            EnableControls(*this, {kSpid2}, IsTicked(*this, kSpid2Box));
            m_bModified = true;
            return true;
        case ui::kHelpCommand:
            ShowHelpTopic(*this, kHelpLocation);
            return true;
        default:
            return ui::PropertyPage::OnCommand(id, code);
    }
}
