#include "input/byte_source.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "core/errors.h"

namespace velmark {

namespace {

// Large enough that a log of 200,000 QSOs (some 66 MB) is read in about a thousand calls.
constexpr std::size_t kChunkSize = 64 * 1024;

}  // namespace

ByteSource ByteSource::OpenFile(const std::string& path) {
    ByteSource source;
    source.m_name = path;
    errno = 0;
    source.m_file.reset(std::fopen(path.c_str(), "rb"));
    if (!source.m_file) {
        throw FileError::FromErrno(path);
    }
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) {
        throw FileError(error.message() + ": " + path, path);
    }
    source.m_size = static_cast<std::int64_t>(size);
    source.m_buffer.resize(kChunkSize);
    return source;
}

ByteSource ByteSource::FromString(std::string bytes, std::string name) {
    ByteSource source;
    source.m_name = std::move(name);
    source.m_size = static_cast<std::int64_t>(bytes.size());
    source.m_buffer.assign(bytes.begin(), bytes.end());
    source.m_filled = source.m_buffer.size();
    return source;
}

bool ByteSource::refill() {
    if (!m_file) {
        return false;  // a string source holds all its bytes from the start
    }
    errno = 0;
    const std::size_t read = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file.get());
    if (read == 0 && std::ferror(m_file.get())) {
        throw FileError::FromErrno(m_name);
    }
    m_next = 0;
    m_filled = read;
    return read > 0;
}

}  // namespace velmark
