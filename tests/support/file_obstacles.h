#pragma once
// Ways to make a write fail for real, for the tests of write failures: a file system that is
// nearly full or read-only, a file that may not be written, and a limit on the size of any file
// this process writes. Tests run as root too, where permissions alone stop nothing, so each
// obstacle says whether it is in force and a test skips when it is not.

#include <sys/resource.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <string>

namespace velmark::testing {

// A tmpfs of a given size mounted on a directory (created if needed) for the obstacle's
// lifetime. Mounting needs the right to mount; without it mounted() is false and nothing
// changes. Declare it after the TempDir that holds the directory, so it is unmounted first.
class SmallFileSystem {
  public:
    SmallFileSystem(std::filesystem::path directory, std::uint64_t bytes);
    ~SmallFileSystem();
    SmallFileSystem(const SmallFileSystem&) = delete;
    SmallFileSystem& operator=(const SmallFileSystem&) = delete;

    bool mounted() const { return m_mounted; }
    // Remounts it read-only, keeping what was written; false when that is refused.
    bool MakeReadOnly();

  private:
    std::filesystem::path m_directory;
    bool m_mounted = false;
};

// A file that this process may not write while the obstacle lives: mode 0444 and, for root,
// which permissions do not stop, the immutable attribute where the file system has it.
class ReadOnlyFile {
  public:
    explicit ReadOnlyFile(std::filesystem::path file);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // True when writing the file is refused (the check the program itself makes).
    bool inForce() const;

  private:
    std::filesystem::path m_file;
    bool m_immutable = false;
};

// Every file this process writes is cut at a size limit while the obstacle lives: a write past
// it fails with "File too large", as a disk that fills up mid-write fails with "No space left".
class FileSizeLimit {
  public:
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

}  // namespace velmark::testing
