// Whole text files read and written by the commands: profile files and the profiles kept
// across a firmware download.
#pragma once

#include <string>

#include "quilanctl/Failure.h"

namespace quilanctl {

Outcome ReadTextFile(const std::string& path, std::string& text);
Outcome WriteTextFile(const std::string& path, const std::string& text);

}  // namespace quilanctl
