#include "support/file_obstacles.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmark::testing {
namespace {

// Sets or clears the immutable attribute; false when the file system or the process cannot.
bool setImmutable(const std::filesystem::path& file, bool on) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

}  // namespace

SmallFileSystem::SmallFileSystem(std::filesystem::path directory, std::uint64_t bytes)
    : m_directory(std::move(directory)) {
    std::error_code ignored;
    std::filesystem::create_directories(m_directory, ignored);
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    m_mounted =
        ::mount("tmpfs", m_directory.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
}

SmallFileSystem::~SmallFileSystem() {
    if (m_mounted)
        ::umount2(m_directory.c_str(), MNT_DETACH);
}

bool SmallFileSystem::MakeReadOnly() {
    return m_mounted && ::mount("tmpfs", m_directory.c_str(), "tmpfs",
                                MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) == 0;
}

ReadOnlyFile::ReadOnlyFile(std::filesystem::path file) : m_file(std::move(file)) {
    ::chmod(m_file.c_str(), 0444);
    if (::geteuid() == 0)
        m_immutable = setImmutable(m_file, true);
}

ReadOnlyFile::~ReadOnlyFile() {
    if (m_immutable)
        setImmutable(m_file, false);
    ::chmod(m_file.c_str(), 0644);
}

bool ReadOnlyFile::inForce() const {
    return ::access(m_file.c_str(), W_OK) != 0;
}

FileSizeLimit::FileSizeLimit(std::uint64_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &m_previous);
    // Without this the kernel ends the process with SIGXFSZ instead of failing the write.
    m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = m_previous;
    limited.rlim_cur = static_cast<rlim_t>(bytes);
    ::setrlimit(RLIMIT_FSIZE, &limited);
}

FileSizeLimit::~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &m_previous);
    std::signal(SIGXFSZ, m_previousHandler);
}

}  // namespace velmark::testing
