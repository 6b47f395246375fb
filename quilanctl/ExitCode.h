// The exit codes of quilanctl, as its manual page lists them.
#pragma once

namespace quilanctl {

enum ExitCode : int {
    kSuccess = 0,
    kFileError = 1,       // a file of ours cannot be read or written; the port map cannot change
    kUsage = 2,           // the command line is wrong
    kNoCard = 3,          // no such port, the port is busy, or no Quilan ISDN T/A answers there
    kCardError = 4,       // the card stopped answering or refused a command
    kRefused = 5,         // the input failed a check, or the download was not confirmed
    kDownloadFailed = 6,  // the firmware download did not complete
};

}  // namespace quilanctl
