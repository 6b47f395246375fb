// quilan-regedit: how the installation and the demo put keys and values into the hive of
// $QUILAN_ROOT (the system itself only opens keys that exist).
//
//   quilan-regedit KEY [NAME=VALUE ...]   create KEY unless it exists, then set each value
//   quilan-regedit --query KEY NAME       print the value NAME of KEY
//
// KEY is relative to HKEY_LOCAL_MACHINE, e.g. "SOFTWARE\Corvane\Quilan ISDN T/A \Directory".
// A value name ends at the first "=". Exit status 0 on success, 1 on failure, 2 on bad usage.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/Key.h"

namespace {

const char* Describe(registry::Status status) {
    switch (status) {
        case registry::Status::Ok:
            return "done";
        case registry::Status::NotFound:
            return "no such key or value";
        case registry::Status::Unreadable:
            return "the registry file cannot be read or parsed";
        case registry::Status::MoreData:
            return "the value is too long";
        case registry::Status::AccessDenied:
            return "access denied";
        case registry::Status::NotOpen:
            return "key not open";
        case registry::Status::InvalidData:
            return "a line break or NUL cannot be stored";
        case registry::Status::WriteFailed:
            return "the registry file cannot be written";
    }
    return "failure";
}

int Fail(std::string_view what, registry::Status status) {
    std::fprintf(stderr, "quilan-regedit: %.*s: %s\n", static_cast<int>(what.size()), what.data(),
                 Describe(status));
    return 1;
}

int Query(const char* path, const char* name) {
    registry::Key key;
    registry::Status status = key.Open(path, registry::Access::Read);
    if (status != registry::Status::Ok) {
        return Fail(path, status);
    }
    std::size_t length = 0;
    std::vector<char> buffer(1);
    status = key.QueryString(name, buffer.data(), buffer.size(), &length);
    if (status == registry::Status::MoreData) {
        buffer.resize(length + 1);
        status = key.QueryString(name, buffer.data(), buffer.size(), &length);
    }
    if (status != registry::Status::Ok) {
        return Fail(name, status);
    }
    std::printf("%s\n", buffer.data());
    return 0;
}

int Set(const char* path, char** assignments, int count) {
    registry::Status status = registry::Key::Create(path);
    registry::Key key;
    if (status == registry::Status::Ok) {
        status = key.Open(path, registry::Access::Write);
    }
    if (status != registry::Status::Ok) {
        return Fail(path, status);
    }
    for (int i = 0; i < count; ++i) {
        std::string_view assignment = assignments[i];
        std::size_t equals = assignment.find('=');
        if (equals == std::string_view::npos) {
            std::fprintf(stderr, "quilan-regedit: %s: expected NAME=VALUE\n", assignments[i]);
            return 2;
        }
        status = key.SetString(assignment.substr(0, equals), assignment.substr(equals + 1));
        if (status != registry::Status::Ok) {
            return Fail(assignment.substr(0, equals), status);
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--query") == 0) {
        return Query(argv[2], argv[3]);
    }
    if (argc >= 2 && argv[1][0] != '-') {
        return Set(argv[1], argv + 2, argc - 2);
    }
    std::fprintf(stderr,
                 "usage: quilan-regedit KEY [NAME=VALUE ...]\n"
                 "       quilan-regedit --query KEY NAME\n");
    return 2;
}
