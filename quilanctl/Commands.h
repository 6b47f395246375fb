// The commands of quilanctl. Each takes the arguments after its name (for "profiles", after
// "get" or "set"), does its work on the card through the device libraries, tells the user what
// went wrong on standard error and returns the exit code (ExitCode.h).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace quilanctl {

using Arguments = std::vector<std::string>;

int RunList(const Arguments& arguments);
int RunProfilesGet(const Arguments& arguments);
int RunProfilesSet(const Arguments& arguments);
int RunFirmware(const Arguments& arguments);
int RunPorts(const Arguments& arguments);

// The usage text, and the one line of a usage error.
void PrintUsage(std::ostream& out);
int UsageError(const std::string& problem);

// Sets `port` to "COM1" ... "COM10" for a port name in any letter case; false otherwise.
bool PortArgument(const std::string& argument, std::string& port);

}  // namespace quilanctl
