#include "run/start_directory_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <thread>
#include <utility>

#include "core/errors.h"
#include "core/user_interface.h"
#include "settings/text_table.h"

namespace velmark {
namespace {

constexpr std::chrono::milliseconds kRetryInterval{50};

// Opens (creating it if need be) the lock file; -1 when this process may not write in the
// directory at all, or there is no such directory (the command then reports its missing files).
int openLockFile(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EACCES) {
        // Another user's lock file: flock needs only a descriptor, not the right to write.
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    }
    if (fd < 0 && errno != EACCES && errno != EROFS && errno != EPERM && errno != ENOENT &&
        errno != ENOTDIR)
        throw FileError::FromErrno(path);
    return fd;
}

}  // namespace

std::optional<StartDirectoryLock> StartDirectoryLock::Take(const std::string& startDirectory,
                                                           std::chrono::milliseconds wait) {
    const std::string path = startDirectory + "/" + kStartDirectoryLockName;
    const int fd = openLockFile(path);
    if (fd < 0)
        return StartDirectoryLock(-1);
    const auto giveUp = std::chrono::steady_clock::now() + wait;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK) {
            const FileError error = FileError::FromErrno(path);
            ::close(fd);
            throw error;
        }
        if (std::chrono::steady_clock::now() >= giveUp) {
            ::close(fd);
            return std::nullopt;
        }
        std::this_thread::sleep_for(kRetryInterval);
    }
    return StartDirectoryLock(fd);
}

std::optional<StartDirectoryLock> LockStartDirectoryFor(const std::string& startDirectory,
                                                        std::chrono::milliseconds wait,
                                                        const TNazwyJezykowe& texts,
                                                        UserInterface& ui) {
    auto lock = StartDirectoryLock::Take(startDirectory, wait);
    if (!lock) {
        ui.ErrorBox(texts.MsgStartDirectoryBusy + startDirectory + "\r" + texts.MsgTryWhenFinished);
    }
    return lock;
}

StartDirectoryLock::StartDirectoryLock(StartDirectoryLock&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)) {}

StartDirectoryLock& StartDirectoryLock::operator=(StartDirectoryLock&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

StartDirectoryLock::~StartDirectoryLock() {
    // Closing the descriptor releases the lock.
    if (m_fd >= 0)
        ::close(m_fd);
}

}  // namespace velmark
