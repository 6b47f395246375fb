// The file-open dialog: the front end asks the user for a file; the toolkit applies the
// default extension and the initial directory and checks that the path and the file exist,
// showing a message and asking again when they do not.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/FrontEnd.h"

namespace ui {

inline constexpr unsigned kHideReadOnly = 0x0004;
inline constexpr unsigned kPathMustExist = 0x0800;
inline constexpr unsigned kFileMustExist = 0x1000;

class QUILAN_EXPORT FileDialog {
  public:
    // `filter` is "description|pattern|description|pattern||" (blanks around each part are
    // dropped); `defaultExtension` is without the dot.
    FileDialog(std::string defaultExtension, std::string initialName, unsigned flags,
               std::string filter, Window* owner = nullptr);

    void SetInitialDirectory(std::string directory) { m_request.initialDirectory = directory; }
    const OpenFileRequest& Request() const { return m_request; }

    // kIdOk when the user chose a file (PathName), kIdCancel otherwise.
    int DoModal();
    const std::string& PathName() const { return m_path; }

  private:
    OpenFileRequest m_request;
    std::string m_path;
};

// "A|a|B|b||" into its pairs.
QUILAN_EXPORT std::vector<FileFilter> ParseFileFilter(const std::string& filter);

}  // namespace ui
