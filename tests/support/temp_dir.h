#pragma once
// A fresh directory for one test, removed with everything in it when the test ends.

#include <filesystem>
#include <string>

namespace velmark::testing {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

    // Writes bytes to a file in the directory and returns its full path.
    std::string write(const std::string& name, const std::string& bytes) const;
    // Reads a whole file as bytes.
    static std::string read(const std::string& path);

private:
    std::filesystem::path m_path;
};

}  // namespace velmark::testing
