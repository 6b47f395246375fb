// A system root of its own for one test: a temporary directory with an empty ports/ folder
// (so that every COM port without an emulated adapter is really absent), made the process's
// QUILAN_ROOT for the test's life and removed afterwards. Child processes inherit it.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

class CTestRoot {
  public:
    CTestRoot() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quilan-slot-XXXXXX");
        m_path = mkdtemp(pattern.data());
        std::filesystem::create_directory(m_path / "ports");
        setenv("QUILAN_ROOT", m_path.c_str(), 1);
    }
    ~CTestRoot() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    CTestRoot(const CTestRoot&) = delete;
    CTestRoot& operator=(const CTestRoot&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

  private:
    std::filesystem::path m_path;
};
