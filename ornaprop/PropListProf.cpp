#include "ornaprop/PropListProf.h"

#include <cstring>
#include <new>
#include <string_view>

#include "Storage.h"
#include "ornaprop/AppletSheet.h"
#include "ornaprop/HelpTopic.h"
#include "ornaprop/ProfileAdvanced.h"
#include "ornaprop/ProfileResources.h"
#include "ornaprop/PropNAProfile.h"
#include "ornaprop/PropROWProfile.h"
#include "ornaprop/Resources.h"
#include "platform/registry/Key.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/DropDownList.h"
#include "platform/ui/ListView.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/WaitCursor.h"

using namespace ornaprop;

namespace {

constexpr int kConfigure = 1003;
constexpr int kProfileList = 1070;
constexpr int kDefaultProfile = 1072;

constexpr int kProfileCount = 3;
constexpr int kColumnWidth = 12 * ui::kBaseUnitX;
constexpr int kNoImage = -1;

constexpr const char kProfileNamesKey[] = "SOFTWARE\\Corvane\\Quilan ISDN T/A \\ProfileNames";
constexpr const char* kNameValues[kProfileCount] = {"Profile0", "Profile1", "Profile2"};
constexpr const char* kDefaultNames[kProfileCount] = {"Profile 0", "Profile 1", "Profile 2"};
// A name and its terminating zero; longer ones are refused at rename and not read.
constexpr std::size_t kNameBuffer = 260;

void Message(std::uint32_t id) {
    ui::MessageBox(ThisModule(), id);
}

bool IsProfileNumber(std::uintptr_t number) {
    return number < static_cast<std::uintptr_t>(kProfileCount);
}

// The registry file cannot hold a line break or NUL.
bool IsStorableName(const std::string& name) {
    return name.find_first_of(std::string_view("\n\r\0", 3)) == std::string::npos;
}

}  // namespace

CPropListProf::CPropListProf() : ui::PropertyPage(ThisModule(), kIddProfileList) {}

CPropListProf::~CPropListProf() = default;

int CPropListProf::InitProfiles(const std::string& portName, CStorage* storage, int northAmerica) {
    m_strPortName = portName;
    m_pStorage = storage;
    m_bNorthAmerica = northAmerica != 0;
    std::memset(&m_CardProfiles, 0, sizeof m_CardProfiles);
    if (!ReadCard()) {
        Message(kIdsReadProfilesFailed);
        return 0;
    }
    return 1;
}

bool CPropListProf::ReadCard() {
    ui::WaitCursor busy;
    bool bRead = m_pStorage->Open(m_strPortName.c_str()) == 0 &&
                 m_pStorage->ReadProfiles(m_CardProfiles) == 0;
    m_pStorage->Close();
    return bRead;
}

// The message comes after the wait cursor has gone: the thread waits for the user then.
bool CPropListProf::WriteCard() {
    std::uint32_t failure = 0;
    {
        ui::WaitCursor busy;
        if (m_pStorage->Open(m_strPortName.c_str()) != 0) {
            failure = kIdsPortBusy;
        } else if (m_pStorage->WriteProfiles(m_CardProfiles) != 0) {
            failure = kIdsWriteProfilesFailed;
        }
        m_pStorage->Close();
    }
    if (failure != 0) {
        Message(failure);
        return false;
    }
    return true;
}

void CPropListProf::DoDataExchange(ui::DataExchange& exchange) {
    exchange.Control(kProfileList, m_ProfileList);
    exchange.Control(kDefaultProfile, m_DefaultProfileCombo);
}

bool CPropListProf::OnInitDialog() {
    ui::PropertyPage::OnInitDialog();
    if (!m_ProfileList || !m_DefaultProfileCombo) {
        return true;
    }
    m_ProfileList->InsertColumn(0, "", kColumnWidth);
    ReadProfileNames();
    FillDefaultProfileList();
    FillProfileList();
    return true;
}

void CPropListProf::ReadProfileNames() {
    for (int i = 0; i < kProfileCount; ++i) {
        m_strProfileName[i] = kDefaultNames[i];
    }
    registry::Key key;
    if (key.Open(kProfileNamesKey, registry::Access::Read) != registry::Status::Ok) {
        return;
    }
    for (int i = 0; i < kProfileCount; ++i) {
        char name[kNameBuffer];
        std::size_t length = 0;
        if (key.QueryString(kNameValues[i], name, sizeof name, &length) == registry::Status::Ok) {
            m_strProfileName[i].assign(name, length);
        }
    }
    key.Close();
}

void CPropListProf::FillDefaultProfileList() {
    m_DefaultProfileCombo->DeleteString(0);  // the empty entry of the dialog's initial data
    for (int i = 0; i < kProfileCount; ++i) {
        int entry = m_DefaultProfileCombo->InsertString(i, m_strProfileName[i]);
        m_DefaultProfileCombo->SetItemData(entry, static_cast<std::uintptr_t>(i));
    }
    SelectDefaultProfileEntry();
}

void CPropListProf::SelectDefaultProfileEntry() {
    int selection = -1;
    for (int entry = 0; entry < m_DefaultProfileCombo->Count(); ++entry) {
        if (m_DefaultProfileCombo->ItemData(entry) ==
            static_cast<std::uintptr_t>(m_CardProfiles.DefaultProfile)) {
            selection = entry;
        }
    }
    m_DefaultProfileCombo->SetCurSel(selection);
}

void CPropListProf::FillProfileList() {
    for (int i = 0; i < kProfileCount; ++i) {
        int row = m_ProfileList->InsertItem(i, m_strProfileName[i], kNoImage);
        m_ProfileList->SetItemData(row, static_cast<std::uintptr_t>(i));
    }
    m_ProfileList->SetFocus();
    m_ProfileList->SetItemState(m_CardProfiles.DefaultProfile, ui::kItemSelected | ui::kItemFocused,
                                ui::kItemSelected | ui::kItemFocused);
}

void CPropListProf::Configure() {
    int row = m_ProfileList->FirstSelected();
    std::uintptr_t profile = m_ProfileList->ItemData(row);
    if (row < 0 || !IsProfileNumber(profile)) {
        Message(kIdsSelectProfile);
        return;
    }
    ConfigureProfile(static_cast<int>(profile),
                     m_ProfileList->ItemText(row).substr(0, kNameBuffer - 1));
    m_ProfileList->SetFocus();
}

void CPropListProf::ConfigureProfile(int profile, const std::string& name) {
    if (profile < 0 || profile >= kProfileCount) {
        return;
    }
    if (m_bNorthAmerica) {
        RunConfiguration<CPropNAProfile>(profile, name);
    } else {
        RunConfiguration<CPropROWProfile>(profile, name);
    }
}

template <class LocationPage>
void CPropListProf::RunConfiguration(int profile, const std::string& name) {
    LocationPage primary(ThisModule().String(kIdsPrimaryLocation));
    LocationPage alternate(ThisModule().String(kIdsAlternateLocation));
    CProfileAdvanced advanced;
    _STOREDPROFILE& edited = m_CardProfiles.Profiles[profile];
    primary.SetProfile(0, &edited);
    alternate.SetProfile(1, &edited);
    advanced.SetProfile(&edited);

    m_pConfigSheet.reset(new (std::nothrow) CAppletSheet(
        name + ThisModule().String(kIdsConfiguration), m_pParentSheet, 0));
    if (!m_pConfigSheet) {
        Message(kIdsNoMemory);
        return;
    }
    ui::PropertyPage* pages[] = {&primary, &alternate, &advanced};
    for (ui::PropertyPage* page : pages) {
        page->SetHasHelp(true);
    }
    m_pConfigSheet->SetNoApply(true);
    for (ui::PropertyPage* page : pages) {
        m_pConfigSheet->AddPage(page);
    }
    m_pConfigSheet->m_nHorizontalOffset = 0;
    m_pConfigSheet->m_nVerticalOffset = 0;

    // The primary page writes the protocol (and, for international cards, the switch type)
    // into the profile the moment they are chosen; a cancelled sheet takes that back.
    const _STOREDPROFILE before = edited;
    if (m_pConfigSheet->DoModal() != ui::kIdOk) {
        edited = before;
    }
    if (primary.IsModified() || alternate.IsModified() || advanced.IsModified()) {
        m_bProfilesChanged = true;
    }
    for (ui::PropertyPage* page : pages) {
        m_pConfigSheet->RemovePage(page);
    }
    m_pConfigSheet.reset();
}

void CPropListProf::Rename(int row, const std::string* text) {
    if (!text) {
        return;  // the edit was cancelled
    }
    if (text->size() >= kNameBuffer) {
        Message(kIdsNameTooLong);
        return;
    }
    if (text->empty()) {
        Message(kIdsNameEmpty);
        return;
    }
    // OK would lose such a name silently: the registry file cannot hold it.
    if (!IsStorableName(*text)) {
        Message(kIdsNameUnstorable);
        return;
    }
    if (row < 0 || row >= m_ProfileList->ItemCount()) {
        return;
    }
    std::uintptr_t profile = m_ProfileList->ItemData(row);
    if (!IsProfileNumber(profile)) {
        return;
    }
    const std::string name = *text;  // the list's own copy goes with the row
    m_ProfileList->DeleteItem(row);
    int inserted = m_ProfileList->InsertItem(row, name, kNoImage);
    m_ProfileList->SetItemData(inserted, profile);
    for (int entry = 0; entry < m_DefaultProfileCombo->Count(); ++entry) {
        if (m_DefaultProfileCombo->ItemData(entry) == profile) {
            m_DefaultProfileCombo->SetItemText(entry, name);
        }
    }
    SelectDefaultProfileEntry();
    m_strProfileName[profile] = name;
}

void CPropListProf::OnDefaultProfileChanged() {
    int entry = m_DefaultProfileCombo->CurSel();
    std::uintptr_t profile = m_DefaultProfileCombo->ItemData(entry);
    if (entry < 0 || !IsProfileNumber(profile)) {
        return;
    }
    m_CardProfiles.DefaultProfile = static_cast<std::int32_t>(profile);
    m_bProfilesChanged = true;
}

bool CPropListProf::OnKillActive() {
    if (m_bProfilesChanged && !WriteCard()) {
        return false;
    }
    return ui::PropertyPage::OnKillActive();
}

void CPropListProf::OnOK() {
    // The key belongs to the installation: it is never created here.
    registry::Key key;
    if (key.Open(kProfileNamesKey, registry::Access::Write) != registry::Status::Ok) {
        Message(kIdsNamesNotSaved);
        return;
    }
    bool bSaved = true;
    for (int i = 0; i < kProfileCount; ++i) {
        bSaved =
            key.SetString(kNameValues[i], m_strProfileName[i]) == registry::Status::Ok && bSaved;
    }
    key.Close();
    // A registry file that cannot be written loses the names as surely as a missing key.
    if (!bSaved) {
        Message(kIdsNamesNotSaved);
    }
}

bool CPropListProf::OnCommand(int id, int code) {
    switch (id) {
        case kConfigure:
            Configure();
            return true;
        case kDefaultProfile:
            if (code == ui::kSelectionChange) {
                OnDefaultProfileChanged();
            }
            return true;
        case ui::kHelpCommand:
            ShowHelpTopic(*this, kHelpProfileList);
            return true;
        default:
            return ui::PropertyPage::OnCommand(id, code);
    }
}

ui::MessageResult CPropListProf::OnNotify(const ui::Notification& notification) {
    if (notification.id != kProfileList) {
        return ui::PropertyPage::OnNotify(notification);
    }
    switch (notification.code) {
        case ui::kItemDoubleClick:
            Configure();
            return 0;
        case ui::kEndLabelEdit:
            Rename(notification.item, notification.text);
            return 0;  // the page has replaced the row itself
        default:
            return ui::PropertyPage::OnNotify(notification);
    }
}
