// The file-open dialog as the terminal shows it: a toolkit dialog with the folder's entries,
// the file name and the file types.
//
// The list shows ".." (except at the root), the sub-folders (ending in '/') and the files that
// match the chosen type's patterns, letter case ignored as on the platform whose files these
// are. A click on a file copies its name into the name field; a double click opens a folder or
// chooses a file. Open with a folder's name goes into it, with a pattern ("*.txt") lists by it,
// and otherwise chooses the name: relative names are taken from the folder shown. The toolkit
// then applies the default extension and checks that the file exists. Used on the
// user-interface thread; one object per dialog.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/ui/FrontEnd.h"
#include "platform/ui/Module.h"

namespace tui {

// Control ids of the dialog.
inline constexpr int kFolderTextId = 1100;
inline constexpr int kFileListId = 1101;
inline constexpr int kFileNameId = 1102;
inline constexpr int kFileTypeId = 1103;

// The entries of `folder` as the list shows them, in order. Pure apart from reading the folder.
std::vector<std::string> FolderEntries(const std::filesystem::path& folder,
                                       const std::string& patterns);
// True when the name matches one of the ';'-separated patterns, letter case ignored.
bool MatchesPatterns(const std::string& name, const std::string& patterns);

class FileOpenDialog {
  public:
    explicit FileOpenDialog(const ui::OpenFileRequest& request);
    // Runs the dialog modally; false when the user cancelled.
    bool Run();
    const std::string& Chosen() const { return m_chosen; }

  private:
    ui::OpenFileRequest m_request;
    ui::Module m_module{"file dialog"};
    std::string m_chosen;
};

}  // namespace tui
