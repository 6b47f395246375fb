#include "quilanctl/TextFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>

namespace quilanctl {

namespace {

Failure FileFailure(const std::string& path) {
    return {kFileError, path + ": " + std::strerror(errno)};
}

}  // namespace

Outcome ReadTextFile(const std::string& path, std::string& text) {
    errno = 0;
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return FileFailure(path);
    }
    text.assign(std::istreambuf_iterator<char>(file), {});
    if (file.bad()) {
        return FileFailure(path);
    }
    return std::nullopt;
}

Outcome WriteTextFile(const std::string& path, const std::string& text) {
    errno = 0;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file) {
        file << text;
        file.close();
    }
    if (!file) {
        return FileFailure(path);
    }
    return std::nullopt;
}

}  // namespace quilanctl
