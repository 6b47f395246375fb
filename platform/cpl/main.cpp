// quilan-control: the Control Panel host.
//
//   quilan-control                 the applets of every *.cpl in the applet folder
//                                  ($QUILAN_CPL_DIR, else the folder of the host's own
//                                  libraries, where the applet files are installed)
//   quilan-control --dir DIR       the applets of every *.cpl in DIR
//   quilan-control FILE.cpl        opens the file's first applet at once and ends with it
//
// Exit status 0, 1 when an applet file given on the command line cannot be loaded, 2 on bad
// usage.
#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/cpl/ControlPanel.h"
#include "platform/cpl/Cpl.h"

namespace fs = std::filesystem;

namespace {

fs::path DefaultAppletFolder() {
    if (const char* dir = std::getenv("QUILAN_CPL_DIR"); dir && *dir) {
        return dir;
    }
    // The applet files lie beside the host's interface library, in the build and installed.
    Dl_info library{};
    if (dladdr(reinterpret_cast<void*>(&CplIconImage), &library) == 0 || !library.dli_fname) {
        return ".";
    }
    return fs::path(library.dli_fname).parent_path();
}

std::vector<fs::path> AppletFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().extension() == ".cpl") {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

int Usage() {
    std::fprintf(stderr, "usage: quilan-control [--dir DIR | FILE.cpl]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::vector<fs::path> files;
    bool bOpenAtOnce = false;
    if (args.empty()) {
        files = AppletFiles(DefaultAppletFolder());
    } else if (args.size() == 2 && args[0] == "--dir") {
        files = AppletFiles(args[1]);
    } else if (args.size() == 1 && args[0].starts_with("-")) {
        return Usage();
    } else if (args.size() == 1) {
        files.push_back(fs::absolute(args[0]));
        bOpenAtOnce = true;
    } else {
        return Usage();
    }

    CControlPanel panel(std::move(files), bOpenAtOnce);
    panel.DoModal();
    return bOpenAtOnce && !panel.Failures().empty() ? 1 : 0;
}
