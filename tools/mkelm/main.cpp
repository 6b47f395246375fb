// mkelm: builds synthetic ELM firmware files, or checks one.
//
//   mkelm --out FILE [--size N] [--version TEXT] [--version-at N] [--isdn TEXT] [--isdn-at N]
//         [--record N] [--seed N] [--break checksum|length|truncated]
//   mkelm --standard DIR     writes DIR/ROM0NA.ELM and DIR/ROM0ROW.ELM
//   mkelm --check FILE       exit 0 when the records are well formed; prints the two texts
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>

#include "tools/mkelm/ElmFile.h"

namespace {

void Write(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + path.string());
}

int Check(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "mkelm: cannot open " << path << "\n";
        return 2;
    }
    std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    mkelm::ElmTexts texts = mkelm::FindTexts(file);
    bool ok = mkelm::IsWellFormed(file);
    std::cout << path.string() << ": " << (ok ? "records well formed" : "invalid ELM file format")
              << ", version " << texts.version.value_or("(none)") << ", type "
              << texts.isdn.value_or("(none)") << "\n";
    return ok ? 0 : 1;
}

std::size_t Number(const std::string& text) {
    std::size_t used = 0;
    unsigned long long value = std::stoull(text, &used, 0);
    if (used != text.size())
        throw std::invalid_argument("not a number: " + text);
    return static_cast<std::size_t>(value);
}

int Usage() {
    std::cerr
        << "usage: mkelm --out FILE [--size N] [--version TEXT] [--version-at N] [--isdn TEXT]"
           " [--isdn-at N] [--record N] [--seed N] [--break checksum|length|truncated]\n"
           "       mkelm --standard DIR\n"
           "       mkelm --check FILE\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::map<std::string, std::string> options;
    for (int i = 1; i < argc; ++i) {
        std::string name = argv[i];
        if (name.rfind("--", 0) != 0 || i + 1 >= argc)
            return Usage();
        options[name.substr(2)] = argv[++i];
    }
    try {
        if (options.count("check"))
            return Check(options["check"]);
        if (options.count("standard")) {
            std::filesystem::path dir = options["standard"];
            std::filesystem::create_directories(dir);
            Write(dir / "ROM0NA.ELM", mkelm::BuildElm(mkelm::StandardNorthAmerica()));
            Write(dir / "ROM0ROW.ELM", mkelm::BuildElm(mkelm::StandardInternational()));
            return 0;
        }
        if (!options.count("out"))
            return Usage();
        mkelm::ElmLayout layout;
        for (const auto& [name, value] : options) {
            if (name == "out")
                continue;
            if (name == "size")
                layout.size = Number(value);
            else if (name == "version")
                layout.version = value;
            else if (name == "version-at")
                layout.versionAt = Number(value);
            else if (name == "isdn")
                layout.isdn = value;
            else if (name == "isdn-at")
                layout.isdnAt = Number(value);
            else if (name == "record")
                layout.recordSize = Number(value);
            else if (name == "seed")
                layout.seed = static_cast<unsigned>(Number(value));
            else if (name == "break") {
                if (value == "checksum")
                    layout.breakWith = mkelm::Break::Checksum;
                else if (value == "length")
                    layout.breakWith = mkelm::Break::Length;
                else if (value == "truncated")
                    layout.breakWith = mkelm::Break::Truncated;
                else
                    return Usage();
            } else {
                return Usage();
            }
        }
        Write(options["out"], mkelm::BuildElm(layout));
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "mkelm: " << e.what() << "\n";
        return 1;
    }
}
