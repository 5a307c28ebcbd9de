#pragma once
// The bytes of an input log, read one at a time through a large buffer. A log is code page 1250
// text taken as raw bytes: nothing is converted and no line end is translated, so every reader
// sees exactly what the logger wrote. A source is opened on a file or made from a string (tests,
// small in-memory logs); both behave alike.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace velmark {

class ByteSource {
  public:
    // What Get and Peek return when no byte is left.
    static constexpr int kEnd = -1;

    // Opens a file for reading; throws FileError with the system's message when it cannot.
    static ByteSource OpenFile(const std::string& path);
    // A source over the given bytes; its name appears in messages.
    static ByteSource FromString(std::string bytes, std::string name = "text");

    ByteSource(ByteSource&&) noexcept = default;
    ByteSource& operator=(ByteSource&&) noexcept = default;
    ~ByteSource() = default;

    // The next byte (0..255), or kEnd; reading past the end keeps returning kEnd.
    int Get() {
        if (m_next == m_filled && !refill()) {
            return kEnd;
        }
        const auto byte = static_cast<unsigned char>(m_buffer[m_next++]);
        countLine(byte);
        return byte;
    }

    // The byte that Get would return, without taking it.
    int Peek() {
        if (m_next == m_filled && !refill()) {
            return kEnd;
        }
        return static_cast<unsigned char>(m_buffer[m_next]);
    }

    // True when every byte has been taken.
    bool AtEnd() { return Peek() == kEnd; }

    // Number of the line the next byte lies on, from 1. CR LF, LF alone and CR alone each end
    // one line.
    int LineNumber() const { return m_line; }

    // Size of the whole source in bytes (the file's size for a file).
    std::int64_t Size() const { return m_size; }

    // The file's path, or the name given to a string source.
    const std::string& Name() const { return m_name; }

  private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    ByteSource() = default;
    bool refill();

    void countLine(unsigned char byte) {
        // A CR counts at once; an LF counts only when it does not complete a CR LF pair.
        if (byte == '\r' || (byte == '\n' && m_lastByte != '\r')) {
            ++m_line;
        }
        m_lastByte = byte;
    }

    std::unique_ptr<std::FILE, FileCloser> m_file;
    std::vector<char> m_buffer;
    std::size_t m_next = 0;
    std::size_t m_filled = 0;
    std::int64_t m_size = 0;
    int m_line = 1;
    unsigned char m_lastByte = 0;
    std::string m_name;
};

}  // namespace velmark
