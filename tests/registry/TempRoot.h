// A system root of its own for one test: a fresh directory named by QUILAN_ROOT, removed after.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>

#include "platform/registry/Status.h"

namespace registry {
// Failures name the status as a number rather than as raw bytes.
inline void PrintTo(Status status, std::ostream* out) {
    *out << "Status " << static_cast<int>(status);
}
}  // namespace registry

class TempRoot : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quilan-reg-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_root = pattern;
        setenv("QUILAN_ROOT", m_root.c_str(), 1);
    }
    void TearDown() override { std::filesystem::remove_all(m_root); }

    std::filesystem::path HiveFile() const { return m_root / "registry.reg"; }

    void WriteHive(const std::string& text) const {
        std::ofstream(HiveFile(), std::ios::binary) << text;
    }

    std::string ReadHive() const {
        std::ifstream in(HiveFile(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::filesystem::path m_root;
};

// The keys the installation writes.
inline constexpr const char* kDirectoryKey = "SOFTWARE\\Corvane\\Quilan ISDN T/A \\Directory";
inline constexpr const char* kProfileNamesKey = "SOFTWARE\\Corvane\\Quilan ISDN T/A \\ProfileNames";

inline constexpr const char* kInstalledHive =
    "REGEDIT4\n"
    "\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quilan ISDN T/A \\Directory]\n"
    "\"ElmDirectory\"=\"/usr/share/quilan/elm/\"\n"
    "\"HelpDirectory\"=\"/usr/share/quilan/help/\"\n"
    "\n"
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Corvane\\Quilan ISDN T/A \\ProfileNames]\n"
    "\"Profile0\"=\"Office\"\n";
