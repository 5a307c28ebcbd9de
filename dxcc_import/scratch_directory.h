#pragma once
// A private directory under the system's temporary directory for the trial lists of an import
// and the LISTA.UPO their loading writes, removed with everything in it at the end.

#include <filesystem>
#include <string>

namespace velmark::dxcc_import {

class ScratchDirectory {
  public:
    // Throws FileError when the directory cannot be made.
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    std::string path() const { return m_path.string(); }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

  private:
    std::filesystem::path m_path;
};

}  // namespace velmark::dxcc_import
