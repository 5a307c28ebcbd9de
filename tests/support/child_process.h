#pragma once
// A program run as a child process of the test, for tests of whole processes: the program's
// standard output and error go to files, and the test waits for it, or kills it at a moment of
// its choosing. Also the probe of the start-directory lock that such tests wait on.

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace velmark::testing {

class ChildProcess {
  public:
    // Starts program with the arguments in workingDirectory; its standard output and error
    // are written to files in captureDirectory.
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const std::filesystem::path& workingDirectory,
                 const std::filesystem::path& captureDirectory);
    // A child still running is killed and reaped, so no test leaves a process behind.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits for the end; the exit status, or 128 + the signal that ended it.
    int Wait();
    void Kill(int signal);
    bool Running();

    std::string Out() const;
    std::string Err() const;

  private:
    pid_t m_pid = -1;
    int m_status = -1;
    std::filesystem::path m_outPath;
    std::filesystem::path m_errPath;
};

// True when some process holds the lock of the start directory (the probe takes it for a
// moment when nobody does).
bool StartDirectoryLocked(const std::filesystem::path& startDirectory);

// Waits until a process holds the lock; false when none did within the time.
bool WaitUntilStartDirectoryLocked(const std::filesystem::path& startDirectory,
                                   std::chrono::seconds within = std::chrono::seconds(60));

}  // namespace velmark::testing
