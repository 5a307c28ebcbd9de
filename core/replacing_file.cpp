#include "core/replacing_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <filesystem>

#include "core/errors.h"

namespace velmark {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kBufferSize = 64 * 1024;
constexpr std::string_view kTemporarySuffix = ".velmark-tmp";

// ".<name>.<pid>.velmark-tmp" beside the target.
std::string temporaryPathFor(const fs::path& target) {
    const std::string name = "." + target.filename().string() + "." + std::to_string(::getpid()) +
                             std::string(kTemporarySuffix);
    return (target.parent_path() / name).string();
}

// The process id a temporary file name carries, or 0 when the name is not one of ours.
pid_t ownerOf(std::string_view name) {
    if (name.size() <= kTemporarySuffix.size() || name.front() != '.' ||
        !name.ends_with(kTemporarySuffix))
        return 0;
    name.remove_suffix(kTemporarySuffix.size());
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0)
        return 0;
    const std::string_view digits = name.substr(dot + 1);
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
    return error == std::errc() && end == digits.data() + digits.size() && pid > 0 ? pid : 0;
}

bool processRuns(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

// A symbolic link is written through: the file it names gets the new version, and the link
// stays a link.
fs::path followLink(const fs::path& path) {
    std::error_code error;
    if (fs::is_symlink(path, error)) {
        const fs::path resolved = fs::weakly_canonical(path, error);
        if (!error)
            return resolved;
    }
    return path;
}

// Devices and pipes cannot be replaced by a rename; they are written directly.
bool writtenInPlace(const fs::path& target) {
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    return !error && fs::exists(status) && !fs::is_regular_file(status);
}

}  // namespace

int RemoveStaleTemporaryFiles(const std::string& folder) {
    int removed = 0;
    std::error_code error;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, error), end; !error && it != end;
         it.increment(error)) {
        const pid_t owner = ownerOf(it->path().filename().string());
        if (owner == 0 || owner == ::getpid() || processRuns(owner))
            continue;
        std::error_code removeError;
        if (fs::remove(it->path(), removeError))
            ++removed;
    }
    return removed;
}

ReplacingFile::ReplacingFile(std::string path, Durability durability)
    : m_path(std::move(path)), m_target(followLink(m_path).string()), m_durability(durability) {
    m_inPlace = writtenInPlace(m_target);
    if (m_inPlace) {
        m_temporaryPath = m_target;
        m_file = std::fopen(m_target.c_str(), "wb");
    } else {
        RemoveStaleTemporaryFiles(fs::path(m_target).parent_path().string());
        m_temporaryPath = temporaryPathFor(m_target);
        const int fd =
            ::open(m_temporaryPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        m_file = fd < 0 ? nullptr : ::fdopen(fd, "wb");
        if (fd >= 0 && m_file == nullptr)
            ::close(fd);
    }
    if (m_file == nullptr)
        throw FileError::FromErrno(m_path);
    m_buffer = std::make_unique<char[]>(kBufferSize);
    std::setvbuf(m_file, m_buffer.get(), _IOFBF, kBufferSize);
}

ReplacingFile::~ReplacingFile() {
    if (m_file != nullptr)
        std::fclose(m_file);
    if (!m_committed && !m_inPlace)
        ::unlink(m_temporaryPath.c_str());
}

void ReplacingFile::Write(std::string_view bytes) {
    if (m_file == nullptr) {
        errno = EBADF;
        throw FileError::FromErrno(m_path);
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size())
        throw FileError::FromErrno(m_path);
}

void ReplacingFile::Finish() {
    if (m_file == nullptr)
        return;
    std::FILE* file = m_file;
    m_file = nullptr;
    bool closed = true;
    if (m_durability == Durability::SyncThenRename && !m_inPlace)
        closed = std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
    closed = std::fclose(file) == 0 && closed;
    m_buffer.reset();
    if (!closed)
        throw FileError::FromErrno(m_path);
}

void ReplacingFile::Commit() {
    if (m_committed)
        return;
    Finish();
    if (!m_inPlace) {
        // The new file takes the old one's permissions, as rewriting it in place would keep them.
        struct stat old {};
        if (::stat(m_target.c_str(), &old) == 0)
            ::chmod(m_temporaryPath.c_str(), old.st_mode & 07777);
        if (::rename(m_temporaryPath.c_str(), m_target.c_str()) != 0)
            throw FileError::FromErrno(m_path);
    }
    m_committed = true;
}

void ReplaceFileContents(const std::string& path, std::string_view bytes, Durability durability) {
    ReplacingFile file(path, durability);
    file.Write(bytes);
    file.Commit();
}

}  // namespace velmark
