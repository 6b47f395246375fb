#include <iostream>

#include "quilanctl/Commands.h"
#include "quilanctl/ExitCode.h"
#include "quilanctl/PortMap.h"

namespace quilanctl {

void PrintUsage(std::ostream& out) {
    out << "usage: quilanctl list [--json]\n"
           "       quilanctl profiles get COMn [-o FILE]\n"
           "       quilanctl profiles set COMn FILE\n"
           "       quilanctl firmware COMn FILE.ELM [--keep-profiles] [--yes]\n"
           "       quilanctl ports [COMn=DEVICE | COMn= ...]\n";
}

int UsageError(const std::string& problem) {
    std::cerr << "quilanctl: " << problem << " (quilanctl --help shows the usage)" << std::endl;
    return kUsage;
}

bool PortArgument(const std::string& argument, std::string& port) {
    std::optional<std::string> name = CPortMap::CanonicalName(argument);
    if (name) {
        port = *name;
    }
    return name.has_value();
}

}  // namespace quilanctl
