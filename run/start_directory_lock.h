#pragma once
// One run at a time per start directory. Every run keeps its QSOs in the start directory's
// TYM.LOG and rewrites LISTA.UPO there, so two runs in the same directory would overwrite each
// other's files. A command that writes in the start directory holds this lock while it works:
// an advisory lock (flock) on the file ".velmark.lock" there, which the system releases when
// the process ends in any way, so a crash or a kill leaves no stale lock behind.

#include <chrono>
#include <optional>
#include <string>

namespace velmark {

class StartDirectoryLock {
  public:
    // Takes the lock of the start directory, waiting at most `wait` for another run to let go
    // (zero: not at all). Nothing when another run holds it. A start directory where this
    // process may not create the lock file is one where it can change nothing either (and a
    // missing one holds nothing to protect), so no lock is needed there: the lock is then taken
    // without a file. Throws FileError for other failures of the file system.
    static std::optional<StartDirectoryLock> Take(const std::string& startDirectory,
                                                  std::chrono::milliseconds wait);

    StartDirectoryLock(StartDirectoryLock&& other) noexcept;
    StartDirectoryLock& operator=(StartDirectoryLock&& other) noexcept;
    StartDirectoryLock(const StartDirectoryLock&) = delete;
    StartDirectoryLock& operator=(const StartDirectoryLock&) = delete;
    // Lets go of the lock.
    ~StartDirectoryLock();

  private:
    explicit StartDirectoryLock(int fd) : m_fd(fd) {}
    int m_fd = -1;
};

class TNazwyJezykowe;
class UserInterface;

// Takes the lock for a command. When another run holds it, shows the refusal naming the start
// directory in the error box and gives nothing: the command stops without touching a file.
std::optional<StartDirectoryLock> LockStartDirectoryFor(const std::string& startDirectory,
                                                        std::chrono::milliseconds wait,
                                                        const TNazwyJezykowe& texts,
                                                        UserInterface& ui);

// The name of the lock file in the start directory.
inline constexpr const char* kStartDirectoryLockName = ".velmark.lock";

// How long a short command (a DXCC list load, a search, bookmarks, saving a template) waits
// for another run to let go before it is refused; a sort or translation is refused at once.
inline constexpr std::chrono::milliseconds kShortCommandLockWait{5000};

}  // namespace velmark
