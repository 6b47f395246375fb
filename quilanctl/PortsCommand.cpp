#include <cstdio>

#include "platform/sys/Root.h"
#include "quilanctl/Commands.h"
#include "quilanctl/PortMap.h"

namespace quilanctl {

namespace {

void PrintMap(const CPortMap& map) {
    for (const CPortMap::Entry& entry : map.List()) {
        std::printf("%-6s %s\n", entry.name.c_str(), entry.device ? entry.device->c_str() : "-");
    }
}

// "COMn=DEVICE" maps, "COMn=" removes.
Outcome Change(CPortMap& map, const std::string& assignment) {
    std::size_t equals = assignment.find('=');
    std::string name = assignment.substr(0, equals);
    if (equals == std::string::npos) {
        return Failure{kUsage, assignment + ": expected COMn=DEVICE or COMn="};
    }
    std::string device = assignment.substr(equals + 1);
    if (device.empty()) {
        return map.Remove(name);
    }
    std::filesystem::path mapped;
    Outcome failed = map.Set(name, device, mapped);
    if (!failed && mapped != device) {
        std::printf("%s: %s is mapped by its stable name %s\n", name.c_str(), device.c_str(),
                    mapped.c_str());
    }
    return failed;
}

}  // namespace

int RunPorts(const Arguments& arguments) {
    CPortMap map(sys::Root());
    for (const std::string& assignment : arguments) {
        if (Outcome failed = Change(map, assignment)) {
            return failed->code == kUsage ? UsageError(failed->message) : Report(*failed);
        }
    }
    PrintMap(map);
    return kSuccess;
}

}  // namespace quilanctl
