// What a step of a command reports when it cannot go on: the exit code and one line for the
// user (without the program's name).
#pragma once

#include <iostream>
#include <optional>
#include <string>

#include "quilanctl/ExitCode.h"

namespace quilanctl {

struct Failure {
    ExitCode code;
    std::string message;
};

// Nothing when the step succeeded.
using Outcome = std::optional<Failure>;

// Tells the user on standard error, one line, and gives the exit code.
inline int Report(const Failure& failure) {
    std::cerr << "quilanctl: " << failure.message << std::endl;
    return failure.code;
}

}  // namespace quilanctl
