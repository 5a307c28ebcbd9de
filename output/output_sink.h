#pragma once
// Where the output writers put their bytes. The writers only ever call Write, so a run writes
// through files while a test can put a sink in their place (one that keeps the bytes, or one
// that fails after a given number of bytes to prove that a failed write stops the run).

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace velmark {

// The line end of every text file the program writes.
inline constexpr std::string_view kLineEnd = "\r\n";

class OutputSink {
  public:
    virtual ~OutputSink() = default;

    // Writes bytes as they are; a failure throws FileError.
    virtual void Write(std::string_view bytes) = 0;

    // Writes a text and the line end.
    void WriteLine(std::string_view text) {
        Write(text);
        Write(kLineEnd);
    }
};

// A file created anew (an existing file is replaced), written through a buffer. Every failure,
// including one that only shows when the buffer is flushed, throws FileError with the system's
// message and the file's path.
class FileSink : public OutputSink {
  public:
    explicit FileSink(std::string path);
    // Closes the file if Close was not called; a failure here cannot be reported, so the normal
    // road always ends with Close and only an exception already under way gets here open.
    ~FileSink() override;
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    void Write(std::string_view bytes) override;
    // Flushes the buffer and closes the file, reporting a failed flush (a full disk, say).
    void Close();

    const std::string& path() const { return m_path; }

  private:
    std::string m_path;
    std::FILE* m_file = nullptr;
    std::unique_ptr<char[]> m_buffer;
};

}  // namespace velmark
