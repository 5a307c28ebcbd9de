#include "core/tym_log.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

#include "core/errors.h"

namespace velmark {

namespace {

// A run appends up to 200,000 records of 2052 bytes one by one, so they are written in blocks.
// 64 KiB, not more: with 1 MiB blocks the kernel's copying of 410 MB into the page cache took
// twice the system time on the benchmark machine, the block no longer fitting the CPU caches.
constexpr std::size_t kBufferSize = 64 * 1024;

}  // namespace

TymLog::TymLog(std::string path, std::string shortReadText)
    : m_path(std::move(path)), m_shortReadText(std::move(shortReadText)) {}

TymLog::~TymLog() {
    if (m_file != nullptr) {
        std::fclose(m_file);  // a destructor cannot report; Close() is the checked way
    }
}

void TymLog::open(const char* mode) {
    if (m_file != nullptr) {
        Close();
    }
    errno = 0;
    m_file = std::fopen(m_path.c_str(), mode);
    if (m_file == nullptr) {
        throw FileError::FromErrno(m_path);
    }
    if (m_buffer == nullptr) {
        m_buffer = std::make_unique<char[]>(kBufferSize);
    }
    std::setvbuf(m_file, m_buffer.get(), _IOFBF, kBufferSize);
    m_lastAccess = Access::None;
}

void TymLog::CreateEmpty() {
    open("w+b");
}

void TymLog::OpenForReading() {
    open("rb");
}

void TymLog::requireOpen() {
    if (m_file == nullptr) {
        errno = EBADF;
        throw FileError::FromErrno(m_path);
    }
}

void TymLog::seek(std::int64_t offset, int origin) {
    errno = 0;
    if (std::fseek(m_file, static_cast<long>(offset), origin) != 0) {
        throw FileError::FromErrno(m_path);
    }
}

void TymLog::Append(const QsoRecord& record) {
    requireOpen();
    // stdio needs a seek between reading and writing; appending always writes at the end.
    if (m_lastAccess == Access::Read) {
        seek(0, SEEK_END);
    }
    m_lastAccess = Access::Write;
    const QsoRecord::Bytes bytes = record.Serialize();
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) {
        throw FileError::FromErrno(m_path);
    }
}

QsoRecord TymLog::ReadByQsoNr(std::int32_t qsoNr) {
    QsoRecord record;
    ReadByQsoNr(qsoNr, record);
    return record;
}

void TymLog::ReadByQsoNr(std::int32_t qsoNr, QsoRecord& record) {
    requireOpen();
    if (qsoNr < 1) {
        throw std::out_of_range("QsoNr " + std::to_string(qsoNr) + " has no record");
    }
    // Appended records may still sit in the stdio buffer.
    if (m_lastAccess == Access::Write) {
        errno = 0;
        if (std::fflush(m_file) != 0) {
            throw FileError::FromErrno(m_path);
        }
    }
    // One positioned read past the stdio buffer. The output phase reads every record this way,
    // in sorted order: through stdio each seek would refill the whole buffer for one record,
    // and a seek and a read are two system calls where this is one.
    QsoRecord::Bytes bytes{};
    const off_t offset = static_cast<off_t>(qsoNr - 1) * static_cast<off_t>(QsoRecord::kSize);
    std::size_t got = 0;
    while (got < bytes.size()) {
        errno = 0;
        const ssize_t read = ::pread(::fileno(m_file), bytes.data() + got, bytes.size() - got,
                                     offset + static_cast<off_t>(got));
        if (read < 0 && errno == EINTR) {
            continue;
        }
        if (read < 0) {
            throw FileError::FromErrno(m_path);
        }
        if (read == 0) {
            throw shortReadError();
        }
        got += static_cast<std::size_t>(read);
    }
    record.DeserializeFrom(bytes);
}

void TymLog::Rewind() {
    requireOpen();
    seek(0, SEEK_SET);
    m_lastAccess = Access::None;
}

bool TymLog::ReadNext(QsoRecord& record) {
    requireOpen();
    if (m_lastAccess == Access::Write) {
        seek(0, SEEK_CUR);
    }
    m_lastAccess = Access::Read;
    return readRecord(record);
}

bool TymLog::readRecord(QsoRecord& record) {
    QsoRecord::Bytes bytes{};
    errno = 0;
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), m_file);
    if (got == bytes.size()) {
        record.DeserializeFrom(bytes);
        return true;
    }
    if (std::ferror(m_file) != 0) {
        throw FileError::FromErrno(m_path);
    }
    if (got != 0) {
        throw shortReadError();  // the file ends inside a record
    }
    return false;
}

FileError TymLog::shortReadError() const {
    if (!m_shortReadText.empty()) {
        return FileError(m_shortReadText + ": " + m_path, m_path);
    }
    errno = EIO;
    return FileError::FromErrno(m_path);
}

std::int64_t TymLog::SizeInBytes() {
    if (m_file != nullptr) {
        errno = 0;
        if (std::fflush(m_file) != 0) {
            throw FileError::FromErrno(m_path);
        }
    }
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(m_path, error);
    if (error) {
        throw FileError(error.message() + ": " + m_path, m_path);
    }
    return static_cast<std::int64_t>(size);
}

void TymLog::Close() {
    if (m_file == nullptr) {
        return;
    }
    std::FILE* file = m_file;
    m_file = nullptr;
    errno = 0;
    // fclose flushes the buffered appends: a full disk shows up here.
    if (std::fclose(file) != 0) {
        throw FileError::FromErrno(m_path);
    }
}

void TymLog::Delete() {
    Close();
    errno = 0;
    if (std::remove(m_path.c_str()) != 0) {
        throw FileError::FromErrno(m_path);
    }
}

}  // namespace velmark
