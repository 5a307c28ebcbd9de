#include "output/output_sink.h"

#include <cerrno>

#include "core/errors.h"

namespace velmark {

namespace {
constexpr std::size_t kBufferSize = 64 * 1024;
}

FileSink::FileSink(std::string path) : m_path(std::move(path)) {
    m_file = std::fopen(m_path.c_str(), "wb");
    if (m_file == nullptr) {
        throw FileError::FromErrno(m_path);
    }
    m_buffer = std::make_unique<char[]>(kBufferSize);
    std::setvbuf(m_file, m_buffer.get(), _IOFBF, kBufferSize);
}

FileSink::~FileSink() {
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

void FileSink::Write(std::string_view bytes) {
    if (m_file == nullptr) {
        errno = EBADF;
        throw FileError::FromErrno(m_path);
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) {
        throw FileError::FromErrno(m_path);
    }
}

void FileSink::Close() {
    if (m_file == nullptr) {
        return;
    }
    std::FILE* file = m_file;
    m_file = nullptr;
    if (std::fclose(file) != 0) {
        throw FileError::FromErrno(m_path);
    }
}

}  // namespace velmark
