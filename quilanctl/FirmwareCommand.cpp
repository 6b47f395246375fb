#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <iostream>

#include "FileTransferIF.h"
#include "ornaprop/FirmwareLevels.h"
#include "platform/ui/FrontEndScope.h"
#include "quilanctl/CardAccess.h"
#include "quilanctl/Commands.h"
#include "quilanctl/DownloadFrontEnd.h"
#include "quilanctl/ProfileJson.h"
#include "quilanctl/TextFile.h"

namespace quilanctl {

namespace {

// The download's result while the progress dialog has not run: none of its exit codes.
constexpr std::int32_t kNotRun = 1;

struct Options {
    std::string port;
    std::string file;
    bool bKeepProfiles = false;
    bool bYes = false;
};

int g_nInterruptWrite = -1;

extern "C" void OnInterrupt(int) {
    char byte = 0;
    [[maybe_unused]] ssize_t written = write(g_nInterruptWrite, &byte, 1);
}

// While it lives, Ctrl-C and a termination request make its read end readable (the front end
// then cancels the download) instead of ending the process with the adapter in its loader.
class CInterruptPipe {
  public:
    CInterruptPipe() {
        if (pipe2(m_ends, O_NONBLOCK | O_CLOEXEC) != 0) {
            m_ends[0] = m_ends[1] = -1;
            return;
        }
        g_nInterruptWrite = m_ends[1];
        struct sigaction action = {};
        action.sa_handler = OnInterrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &m_previousInt);
        sigaction(SIGTERM, &action, &m_previousTerm);
    }
    ~CInterruptPipe() {
        if (m_ends[0] < 0) {
            return;
        }
        sigaction(SIGINT, &m_previousInt, nullptr);
        sigaction(SIGTERM, &m_previousTerm, nullptr);
        g_nInterruptWrite = -1;
        close(m_ends[0]);
        close(m_ends[1]);
    }
    CInterruptPipe(const CInterruptPipe&) = delete;
    CInterruptPipe& operator=(const CInterruptPipe&) = delete;

    int ReadEnd() const { return m_ends[0]; }

  private:
    int m_ends[2];
    struct sigaction m_previousInt = {};
    struct sigaction m_previousTerm = {};
};

bool ParseOptions(const Arguments& arguments, Options& options) {
    Arguments positional;
    for (const std::string& argument : arguments) {
        if (argument == "--keep-profiles") {
            options.bKeepProfiles = true;
        } else if (argument == "--yes") {
            options.bYes = true;
        } else if (argument.starts_with("-")) {
            return false;
        } else {
            positional.push_back(argument);
        }
    }
    if (positional.size() != 2) {
        return false;
    }
    options.port = positional[0];
    options.file = positional[1];
    return true;
}

std::string ResultMeaning(std::int32_t result) {
    switch (result) {
        case -2:
            return "the card cancelled it";
        case -3:
            return "the card stopped answering";
        default:
            return "it was cancelled, or the card failed its final check";
    }
}

// The profiles as a profile file in the temporary folder, so that nothing is lost whatever
// happens to the card; the file's name goes to `saved`.
Outcome SaveProfiles(const std::string& port, const _CARDPROFILES& profiles, std::string& saved) {
    std::filesystem::path folder = std::filesystem::temp_directory_path();
    std::string pattern = (folder / ("quilanctl-" + port + "-XXXXXX.json")).string();
    int descriptor = mkstemps(pattern.data(), 5);
    if (descriptor < 0) {
        return Failure{kFileError, pattern + ": the profiles cannot be saved"};
    }
    close(descriptor);
    saved = pattern;
    return WriteTextFile(saved, ProfilesToJson(profiles).dump(4) + "\n");
}

Outcome Download(const Options& options, const CardFirmware& firmware) {
    CInterruptPipe interrupt;
    CDownloadFrontEnd frontEnd(options.bYes, isatty(STDERR_FILENO) == 1, interrupt.ReadEnd());
    ui::FrontEndScope scope(frontEnd);
    std::string path = std::filesystem::absolute(options.file).string();
    CFileTransferIF transfer;
    std::int32_t result = kNotRun;
    std::int32_t status = transfer.InitializeXfer(nullptr);
    if (status == 0) {
        status = transfer.StartXfer(options.port.c_str(), firmware.version, firmware.type,
                                    path.c_str(), result);
    }
    transfer.TerminateXfer();
    if (status != 0) {
        return Failure{kDownloadFailed, options.port + ": the download could not start"};
    }
    if (result == kNotRun && frontEnd.Declined()) {
        return Failure{kRefused, options.file + ": the download was not confirmed"};
    }
    if (result == kNotRun) {
        return Failure{kRefused, options.file + ": the ELM file was refused" +
                                     (frontEnd.Messages().empty()
                                          ? std::string(" (it names no firmware version or type)")
                                          : std::string())};
    }
    if (result != 0) {
        return Failure{kDownloadFailed,
                       options.port + ": the download failed: " + ResultMeaning(result)};
    }
    return std::nullopt;
}

// After the download: the new firmware, and the profiles written back when asked and possible.
Outcome Restore(const Options& options, const _CARDPROFILES& profiles) {
    CardFirmware firmware;
    if (Outcome failed = ProbeCard(options.port, firmware)) {
        return failed;
    }
    std::cout << options.port << ": firmware " << firmware.version.szVersionText << " ("
              << RegionName(firmware.type) << ") downloaded" << std::endl;
    if (!options.bKeepProfiles) {
        return std::nullopt;
    }
    if (Outcome failed = CheckSameRegion(options.port, firmware, profiles, "the saved file")) {
        return failed;
    }
    if (Outcome failed = CheckHasProfiles(options.port, firmware)) {
        return failed;
    }
    return WriteCardProfiles(options.port, profiles);
}

}  // namespace

int RunFirmware(const Arguments& arguments) {
    Options options;
    if (!ParseOptions(arguments, options)) {
        return UsageError("firmware: expected COMn FILE.ELM [--keep-profiles] [--yes]");
    }
    if (!PortArgument(options.port, options.port)) {
        return UsageError(options.port + ": not a port name (COM1 ... COM10)");
    }
    CardFirmware firmware;
    if (Outcome failed = ProbeCard(options.port, firmware)) {
        return Report(*failed);
    }
    if (firmware.version.nMinor < ornaprop::kFirstReplaceableMinor) {
        return Report({kRefused, options.port + ": firmware " + firmware.version.szVersionText +
                                     " cannot be replaced"});
    }
    _CARDPROFILES profiles{};
    std::string saved;
    if (options.bKeepProfiles) {
        Outcome failed = CheckHasProfiles(options.port, firmware);
        if (!failed) {
            failed = ReadCardProfiles(options.port, profiles);
        }
        if (!failed) {
            failed = SaveProfiles(options.port, profiles, saved);
        }
        if (failed) {
            return Report(*failed);
        }
    }
    Outcome failed = Download(options, firmware);
    // A download that never started left the card, and its profiles, as they were.
    bool bCardUnchanged = failed && failed->code != kDownloadFailed;
    if (!failed) {
        failed = Restore(options, profiles);
    }
    if (!saved.empty() && (!failed || bCardUnchanged)) {
        std::filesystem::remove(saved);
        saved.clear();
    }
    if (failed) {
        int code = Report(*failed);
        if (!saved.empty()) {
            std::cerr << "quilanctl: the profiles read from " << options.port
                      << " before the download are kept in " << saved << std::endl;
        }
        return code;
    }
    return kSuccess;
}

}  // namespace quilanctl
