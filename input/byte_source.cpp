#include "input/byte_source.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/errors.h"

namespace velmark {

namespace {

// Large enough that a log of 200,000 QSOs (some 66 MB) is read in about a thousand calls.
constexpr std::size_t kChunkSize = 64 * 1024;

}  // namespace

ByteSource ByteSource::open(const std::string& path) {
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
    return source;
}

ByteSource ByteSource::OpenFile(const std::string& path) {
    ByteSource source = open(path);
    // The program's own files are code page 1250 unless a byte-order mark says UTF-8.
    source.decideEncoding(InputEncoding::Cp1250);
    if (source.m_hadBom) {
        source.start(true);
    }
    return source;
}

ByteSource ByteSource::OpenLog(const std::string& path, InputEncoding encoding) {
    ByteSource source = open(path);
    source.decideEncoding(encoding);
    return source;
}

ByteSource ByteSource::FromString(std::string bytes, std::string name, InputEncoding encoding) {
    ByteSource source;
    source.m_name = std::move(name);
    source.m_size = static_cast<std::int64_t>(bytes.size());
    source.m_string = std::move(bytes);
    source.decideEncoding(encoding);
    return source;
}

void ByteSource::decideEncoding(InputEncoding encoding) {
    bool utf8 = encoding == InputEncoding::Utf8;
    if (encoding == InputEncoding::Auto) {
        // One pass over the file before reading it: a log is UTF-8 only when all of it is.
        // Reading stops at the first byte that cannot be UTF-8, so a code page 1250 log with
        // Polish letters is decided at its first one.
        Utf8Validator validator;
        std::string chunk(kChunkSize, '\0');
        for (;;) {
            const std::size_t got = readRaw(chunk.data(), chunk.size());
            if (got == 0 || m_hadBom || !validator.Feed(std::string_view(chunk.data(), got))) {
                break;
            }
        }
        utf8 = m_hadBom || (validator.IsComplete() && validator.SawMultiByte());
    } else {
        // The first read tells whether a byte-order mark is there, and drops it.
        char first[3];
        readRaw(first, sizeof first);
    }
    start(utf8);
}

void ByteSource::start(bool utf8) {
    if (m_file) {
        errno = 0;
        if (std::fseek(m_file.get(), 0, SEEK_SET) != 0) {
            throw FileError::FromErrno(m_name);
        }
    }
    m_stringNext = 0;
    m_atStart = true;
    m_next = 0;
    m_filled = 0;
    m_buffer.clear();
    m_line = 1;
    m_lastByte = 0;
    m_utf8 = utf8;
    m_rawEnded = false;
    m_widths.clear();
    m_decoder = utf8 ? std::make_unique<Utf8ToCp1250Decoder>() : nullptr;
}

void ByteSource::Rewind() {
    start(m_utf8);
}

std::size_t ByteSource::readRaw(char* into, std::size_t size) {
    std::size_t got = 0;
    if (m_file) {
        errno = 0;
        got = std::fread(into, 1, size, m_file.get());
        if (got == 0 && std::ferror(m_file.get())) {
            throw FileError::FromErrno(m_name);
        }
    } else {
        got = std::min(size, m_string.size() - m_stringNext);
        std::memcpy(into, m_string.data() + m_stringNext, got);
        m_stringNext += got;
    }
    if (m_atStart) {
        m_atStart = false;
        m_hadBom = StartsWithUtf8Bom(std::string_view(into, got));
        if (m_hadBom) {
            std::memmove(into, into + kUtf8Bom.size(), got - kUtf8Bom.size());
            got -= kUtf8Bom.size();
        }
    }
    return got;
}

bool ByteSource::refill() {
    if (m_utf8) {
        return refillConverted();
    }
    m_buffer.resize(kChunkSize);
    const std::size_t read = readRaw(m_buffer.data(), m_buffer.size());
    m_next = 0;
    m_filled = read;
    return read > 0;
}

bool ByteSource::refillConverted() {
    m_buffer.clear();
    m_widths.clear();
    m_next = 0;
    // A chunk may end inside a character and give nothing yet; read on until text comes.
    while (m_buffer.empty() && !m_rawEnded) {
        m_raw.resize(kChunkSize);
        const std::size_t read = readRaw(m_raw.data(), m_raw.size());
        if (read == 0) {
            m_rawEnded = true;
            m_decoder->Finish(m_buffer, &m_widths);
        } else {
            m_decoder->Decode(std::string_view(m_raw.data(), read), m_buffer, &m_widths);
        }
    }
    m_filled = m_buffer.size();
    return m_filled > 0;
}

}  // namespace velmark
