#pragma once
// The bytes of an input file, read one at a time through a large buffer. The readers always see
// code page 1250 text: a code page 1250 file is taken as raw bytes (nothing converted, no line end
// translated, so every reader sees exactly what the logger wrote), a UTF-8 file is converted as
// it is read. A byte-order mark at the start of a file is never part of the text. A source is
// opened on a file or made from a string (tests, small in-memory logs); both behave alike.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/text_encoding.h"

namespace velmark {

class ByteSource {
  public:
    // What Get and Peek return when no byte is left.
    static constexpr int kEnd = -1;

    // Opens one of the program's own files (name files, layouts): UTF-8 when it begins with a
    // byte-order mark, code page 1250 otherwise. Throws FileError with the system's message
    // when it cannot.
    static ByteSource OpenFile(const std::string& path);
    // Opens an input log in the given encoding; Auto reads the file once beforehand to decide.
    static ByteSource OpenLog(const std::string& path, InputEncoding encoding);
    // A source over the given bytes, read like a log in the given encoding; its name appears in
    // messages.
    static ByteSource FromString(std::string bytes, std::string name = "text",
                                 InputEncoding encoding = InputEncoding::Cp1250);

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

    // True when the file is UTF-8 and converted as it is read.
    bool IsUtf8() const { return m_utf8; }

    // How many bytes of the file the byte Get returned last stands for: its UTF-8 length in a
    // UTF-8 file, 1 otherwise.
    int LastWidth() const { return m_utf8 && m_next > 0 ? m_widths[m_next - 1] : 1; }

    // Characters of a UTF-8 file that code page 1250 could not hold, as far as it is read.
    Replacements Replaced() const { return m_decoder ? m_decoder->Replacements() : Replacements{}; }

    // Starts again from the first byte of the text (after a byte-order mark).
    void Rewind();

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
    static ByteSource open(const std::string& path);
    void decideEncoding(InputEncoding encoding);
    void start(bool utf8);
    bool refill();
    bool refillConverted();
    std::size_t readRaw(char* into, std::size_t size);

    void countLine(unsigned char byte) {
        // A CR counts at once; an LF counts only when it does not complete a CR LF pair.
        if (byte == '\r' || (byte == '\n' && m_lastByte != '\r')) {
            ++m_line;
        }
        m_lastByte = byte;
    }

    std::unique_ptr<std::FILE, FileCloser> m_file;
    std::string m_buffer;  // the text as the readers see it
    std::size_t m_next = 0;
    std::size_t m_filled = 0;
    std::int64_t m_size = 0;
    int m_line = 1;
    unsigned char m_lastByte = 0;
    std::string m_name;

    // A string source keeps its bytes here; m_stringNext is how far they are taken.
    std::string m_string;
    std::size_t m_stringNext = 0;
    // The next read is the first of the file's bytes: a byte-order mark there is dropped.
    bool m_atStart = true;
    bool m_hadBom = false;

    // UTF-8 files: the file's bytes are read into m_raw and converted into m_buffer, m_widths
    // holding each converted byte's UTF-8 length.
    bool m_utf8 = false;
    bool m_rawEnded = false;
    std::string m_raw;
    std::vector<unsigned char> m_widths;
    std::unique_ptr<Utf8ToCp1250Decoder> m_decoder;
};

}  // namespace velmark
