#include "support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

#include "run/start_directory_lock.h"

namespace velmark::testing {
namespace {

std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int statusOf(int waitStatus) {
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : 128 + WTERMSIG(waitStatus);
}

}  // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::filesystem::path& workingDirectory,
                           const std::filesystem::path& captureDirectory)
    : m_outPath(captureDirectory / "stdout"), m_errPath(captureDirectory / "stderr") {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& word : arguments) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);

    m_pid = ::fork();
    if (m_pid < 0)
        throw std::runtime_error("fork failed");
    if (m_pid == 0) {
        const int outFd = ::open(m_outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int errFd = ::open(m_errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (outFd < 0 || errFd < 0 || ::chdir(workingDirectory.c_str()) != 0 ||
            ::dup2(outFd, 1) < 0 || ::dup2(errFd, 2) < 0) {
            ::_exit(126);
        }
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
}

ChildProcess::~ChildProcess() {
    if (m_status < 0 && m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        Wait();
    }
}

int ChildProcess::Wait() {
    if (m_status >= 0)
        return m_status;
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0) {
        if (errno != EINTR)
            throw std::runtime_error("waitpid failed");
    }
    m_status = statusOf(status);
    return m_status;
}

void ChildProcess::Kill(int signal) {
    if (m_status < 0)
        ::kill(m_pid, signal);
}

bool ChildProcess::Running() {
    if (m_status >= 0)
        return false;
    int status = 0;
    if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
        m_status = statusOf(status);
        return false;
    }
    return true;
}

std::string ChildProcess::Out() const {
    return readAll(m_outPath);
}
std::string ChildProcess::Err() const {
    return readAll(m_errPath);
}

bool StartDirectoryLocked(const std::filesystem::path& startDirectory) {
    const std::string path = (startDirectory / kStartDirectoryLockName).string();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

bool WaitUntilStartDirectoryLocked(const std::filesystem::path& startDirectory,
                                   std::chrono::seconds within) {
    const auto giveUp = std::chrono::steady_clock::now() + within;
    while (!StartDirectoryLocked(startDirectory)) {
        if (std::chrono::steady_clock::now() >= giveUp)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace velmark::testing
