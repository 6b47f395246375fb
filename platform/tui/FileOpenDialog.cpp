#include "platform/tui/FileOpenDialog.h"

#include <fnmatch.h>

#include <algorithm>
#include <system_error>

#include "platform/tui/TemplateCells.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/DropDownList.h"
#include "platform/ui/Edit.h"
#include "platform/ui/ListView.h"

namespace tui {

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kTemplate = 1;

ui::DialogTemplate Template(const std::string& title) {
    using ui::ControlKind;
    namespace style = ui::style;
    ui::DialogTemplate dialog;
    dialog.id = kTemplate;
    dialog.title = title;
    dialog.cx = 72 * ui::kBaseUnitX;
    dialog.cy = 19 * ui::kBaseUnitY;
    dialog.style = style::kCaption | style::kSystemMenu;
    dialog.controls = {
        Line(ControlKind::Text, -1, "Look in:", Cells(1, 0, 9, 1)),
        Line(ControlKind::Text, kFolderTextId, "", Cells(11, 0, 60, 1)),
        Line(ControlKind::ListView, kFileListId, "", Cells(1, 1, 70, 13),
             style::kReportView | style::kSingleSelection | style::kNoColumnHeader |
                 style::kAlignLeft),
        Line(ControlKind::Text, -1, "File &name:", Cells(1, 15, 14, 1)),
        Line(ControlKind::Edit, kFileNameId, "", Cells(16, 15, 40, 1), style::kAutoHScroll),
        Line(ControlKind::PushButton, ui::kIdOk, "&Open", Cells(59, 15, 12, 1),
             style::kDefaultButton),
        Line(ControlKind::Text, -1, "Files of &type:", Cells(1, 17, 14, 1)),
        Line(ControlKind::DropDownList, kFileTypeId, "", Cells(16, 17, 40, 6)),
        Line(ControlKind::PushButton, ui::kIdCancel, "Cancel", Cells(59, 17, 12, 1)),
    };
    return dialog;
}

bool HasWildcard(const std::string& name) {
    return name.find_first_of("*?") != std::string::npos;
}

std::string Trim(const std::string& text) {
    std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) {
        return {};
    }
    return text.substr(begin, text.find_last_not_of(' ') - begin + 1);
}

class Dialog : public ui::Dialog {
  public:
    Dialog(const ui::Module& module, const ui::OpenFileRequest& request, std::string& chosen)
        : ui::Dialog(module, kTemplate, request.owner), m_request(request), m_chosen(chosen) {}

  protected:
    bool OnInitDialog() override {
        std::error_code error;
        m_folder = m_request.initialDirectory.empty() ? fs::current_path(error)
                                                      : fs::path(m_request.initialDirectory);
        m_folder = fs::absolute(m_folder, error).lexically_normal();
        auto* types = ItemAs<ui::DropDownList>(kFileTypeId);
        for (const ui::FileFilter& filter : m_request.filters) {
            types->AddString(filter.description);
        }
        if (!m_request.filters.empty()) {
            types->SetCurSel(0);
            m_patterns = m_request.filters[0].pattern;
        }
        if (HasWildcard(m_request.initialName)) {
            m_patterns = m_request.initialName;
        }
        if (m_patterns.empty()) {
            m_patterns = "*";
        }
        auto* name = ItemAs<ui::Edit>(kFileNameId);
        name->SetText(m_request.initialName);
        Fill();
        name->SetFocus();
        name->SelectAll();
        return false;
    }

    void OnOK() override {
        std::string name = Trim(Item(kFileNameId)->Text());
        if (name.empty()) {
            return;
        }
        if (HasWildcard(name)) {
            m_patterns = name;
            Fill();
            return;
        }
        fs::path path = fs::path(name).is_absolute() ? fs::path(name) : m_folder / name;
        std::error_code error;
        if (fs::is_directory(path, error)) {
            Enter(path);
            return;
        }
        m_chosen = path.lexically_normal().string();
        EndDialog(ui::kIdOk);
    }

    bool OnCommand(int id, int code) override {
        if (id == kFileTypeId && code == ui::kSelectionChange) {
            int chosen = ItemAs<ui::DropDownList>(kFileTypeId)->CurSel();
            if (chosen >= 0 && chosen < static_cast<int>(m_request.filters.size())) {
                m_patterns = m_request.filters[chosen].pattern;
                Fill();
            }
            return true;
        }
        return ui::Dialog::OnCommand(id, code);
    }

    ui::MessageResult OnNotify(const ui::Notification& notification) override {
        if (notification.id != kFileListId || notification.item < 0 ||
            notification.item >= static_cast<int>(m_entries.size())) {
            return 0;
        }
        const std::string& entry = m_entries[notification.item];
        bool bFolder = entry.back() == '/';
        if (notification.code == ui::kItemClick && !bFolder) {
            Item(kFileNameId)->SetText(entry);
        } else if (notification.code == ui::kItemDoubleClick) {
            if (bFolder) {
                Enter(m_folder / entry.substr(0, entry.size() - 1));
            } else {
                Item(kFileNameId)->SetText(entry);
                OnOK();
            }
        }
        return 0;
    }

  private:
    void Enter(const fs::path& folder) {
        m_folder = folder.lexically_normal();
        if (m_folder.has_filename() == false && m_folder != m_folder.root_path()) {
            m_folder = m_folder.parent_path();
        }
        std::string name = Item(kFileNameId)->Text();
        Item(kFileNameId)->SetText(HasWildcard(name) ? name : "");
        Fill();
    }

    void Fill() {
        Item(kFolderTextId)->SetText(m_folder.string());
        auto* list = ItemAs<ui::ListView>(kFileListId);
        list->DeleteAllItems();
        if (list->Columns().empty()) {
            list->InsertColumn(0, "Name", 68 * ui::kBaseUnitX);
        }
        m_entries = FolderEntries(m_folder, m_patterns);
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            list->InsertItem(static_cast<int>(i), m_entries[i], -1);
        }
    }

    const ui::OpenFileRequest& m_request;
    std::string& m_chosen;
    fs::path m_folder;
    std::string m_patterns;
    std::vector<std::string> m_entries;
};

}  // namespace

bool MatchesPatterns(const std::string& name, const std::string& patterns) {
    std::size_t start = 0;
    while (start <= patterns.size()) {
        std::size_t end = patterns.find(';', start);
        if (end == std::string::npos) {
            end = patterns.size();
        }
        std::string pattern = Trim(patterns.substr(start, end - start));
        if (!pattern.empty() && fnmatch(pattern.c_str(), name.c_str(), FNM_CASEFOLD) == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::vector<std::string> FolderEntries(const fs::path& folder, const std::string& patterns) {
    std::vector<std::string> folders;
    std::vector<std::string> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') {
            continue;
        }
        std::error_code kind;
        if (it->is_directory(kind)) {
            folders.push_back(name + "/");
        } else if (MatchesPatterns(name, patterns)) {
            files.push_back(name);
        }
    }
    std::sort(folders.begin(), folders.end());
    std::sort(files.begin(), files.end());
    std::vector<std::string> entries;
    if (folder.has_relative_path()) {
        entries.push_back("../");
    }
    entries.insert(entries.end(), folders.begin(), folders.end());
    entries.insert(entries.end(), files.begin(), files.end());
    return entries;
}

FileOpenDialog::FileOpenDialog(const ui::OpenFileRequest& request) : m_request(request) {
    m_module.AddDialog(Template(m_request.title.empty() ? "Open" : m_request.title));
}

bool FileOpenDialog::Run() {
    Dialog dialog(m_module, m_request, m_chosen);
    return dialog.DoModal() == ui::kIdOk;
}

}  // namespace tui
