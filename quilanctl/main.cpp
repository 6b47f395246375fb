// quilanctl: the Quilan ISDN T/A configuration tool for scripts (see quilanctl(1)).
//
//   quilanctl list [--json]
//   quilanctl profiles get COMn [-o FILE]
//   quilanctl profiles set COMn FILE
//   quilanctl firmware COMn FILE.ELM [--keep-profiles] [--yes]
//   quilanctl ports [COMn=DEVICE | COMn= ...]
#include <iostream>

#include "quilanctl/Commands.h"
#include "quilanctl/ExitCode.h"

int main(int argc, char** argv) {
    using namespace quilanctl;
    Arguments arguments(argv + 1, argv + argc);
    if (arguments.empty()) {
        return UsageError("no command given");
    }
    std::string command = arguments.front();
    Arguments rest(arguments.begin() + 1, arguments.end());
    if (command == "--help" || command == "-h") {
        PrintUsage(std::cout);
        return kSuccess;
    }
    if (command == "list") {
        return RunList(rest);
    }
    if (command == "profiles" && !rest.empty()) {
        Arguments after(rest.begin() + 1, rest.end());
        if (rest.front() == "get") {
            return RunProfilesGet(after);
        }
        if (rest.front() == "set") {
            return RunProfilesSet(after);
        }
        return UsageError("profiles: expected get or set");
    }
    if (command == "firmware") {
        return RunFirmware(rest);
    }
    if (command == "ports") {
        return RunPorts(rest);
    }
    return UsageError("unknown command \"" + command + "\"");
}
