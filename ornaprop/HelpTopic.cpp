#include "ornaprop/HelpTopic.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "ornaprop/Resources.h"
#include "platform/registry/Key.h"
#include "platform/ui/HelpViewer.h"
#include "platform/ui/MessageBox.h"

namespace ornaprop {

namespace {

constexpr const char kDirectoryKey[] = "SOFTWARE\\Corvane\\Quilan ISDN T/A \\Directory";
constexpr const char kHelpDirectoryValue[] = "HelpDirectory";
constexpr const char kHelpFile[] = "QLN_CPL.HLP";
constexpr std::size_t kMaxPath = 260;

}  // namespace

void ShowHelpTopic(ui::Window& page, std::uint32_t topic) {
    registry::Key key;
    if (key.Open(kDirectoryKey, registry::Access::Read) != registry::Status::Ok) {
        ui::MessageBox(ThisModule(), kIdsHelpFailed);
        return;
    }
    char directory[kMaxPath];
    if (key.QueryString(kHelpDirectoryValue, directory, sizeof directory) != registry::Status::Ok) {
        ui::MessageBox(ThisModule(), kIdsHelpFailed);
    } else {
        // A directory that cannot be entered is no failure here: the viewer then reports
        // whether it can read the file.
        std::error_code ignored;
        std::filesystem::current_path(directory, ignored);
        // The value is expected to end with a path separator.
        std::string path = std::string(directory) + kHelpFile;
        if (!ui::ShowHelp(&page, path, topic)) {
            ui::MessageBox(ThisModule(), kIdsHelpFailed);
        }
    }
    key.Close();
}

}  // namespace ornaprop
